#include "minigames/MinigameLevels.h"

#include <array>
#include <cstddef>

#include "engine/base/Log.h"

#include "MinigameKind.h"
#include "Profile.h"

namespace {

constexpr std::array<const char*, kMinigameKindCount> kNames = {"TwoMatch", "ColorMatch", "DropsPuzzle",
                                                                "ConveyorPuzzle", "JigsawPuzzle"};
constexpr int32_t kLevelsPerFileGame = 8;
constexpr int32_t kJigsawLevels = 90;

bool isKind(int32_t kind) {
    return kind >= 0 && kind < kMinigameKindCount;
}

}  // namespace

int32_t minigameLevelCount(int32_t kind) {
    if (!isKind(kind)) {
        return 0;
    }
    return kind == static_cast<int32_t>(MinigameKind::JigsawPuzzle) ? kJigsawLevels : kLevelsPerFileGame;
}

bool isMinigameLevel(int32_t kind, int32_t level) {
    return level >= 0 && level < minigameLevelCount(kind);
}

int32_t nextMinigameLevel(int32_t kind, int32_t level) {
    if (!isMinigameLevel(kind, level) || level + 1 >= minigameLevelCount(kind)) {
        return 0;
    }
    return level + 1;
}

const char* minigameName(int32_t kind) {
    return isKind(kind) ? kNames[static_cast<size_t>(kind)] : "";
}

std::string minigameFolder(int32_t kind) {
    return std::string("Minigames/") + minigameName(kind);
}

std::string minigameLevelPath(int32_t kind, int32_t level) {
    if (kind == static_cast<int32_t>(MinigameKind::JigsawPuzzle)) {
        return "minigamelevels/JigsawPuzzle.xml";
    }
    return std::string("minigamelevels/") + minigameName(kind) + "_" + std::to_string(level) + ".xml";
}

int32_t minigameLevelOf(const Profile& profile, int32_t kind) {
    if (!isKind(kind) || static_cast<size_t>(kind) >= profile.minigameLevels.size()) {
        return 0;
    }
    const int32_t level = profile.minigameLevels[static_cast<size_t>(kind)];
    if (!isMinigameLevel(kind, level)) {
        cocos2d::log("Minigame %s: saved level %d is not one of its levels, playing level 0",
                     minigameName(kind), level);
        return 0;
    }
    return level;
}

void setMinigameLevel(Profile& profile, int32_t kind, int32_t level) {
    if (!isKind(kind)) {
        return;
    }
    if (profile.minigameLevels.size() < static_cast<size_t>(kMinigameKindCount)) {
        profile.minigameLevels.resize(static_cast<size_t>(kMinigameKindCount), 0);
    }
    profile.minigameLevels[static_cast<size_t>(kind)] = level;
}
