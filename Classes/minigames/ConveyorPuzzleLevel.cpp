#include "minigames/ConveyorPuzzleLevel.h"

#include "engine/base/Log.h"

#include "MinigameKind.h"
#include "minigames/MinigameLevelFile.h"
#include "minigames/MinigameLevels.h"

namespace {

float bounded(int32_t level, const char* name, float value, float max, float fallback) {
    if (value > 0.0f && value <= max) {
        return value;
    }
    cocos2d::log("ConveyorPuzzle level %d: %s %g is out of range, using %g", level, name,
                 static_cast<double>(value), static_cast<double>(fallback));
    return fallback;
}

}  // namespace

ConveyorPuzzleLevel ConveyorPuzzleLevel::load(int32_t level) {
    MinigameLevelFile file;
    file.load(minigameLevelPath(static_cast<int32_t>(MinigameKind::ConveyorPuzzle), level), "Level");
    return fromFile(level, file);
}

ConveyorPuzzleLevel ConveyorPuzzleLevel::fromFile(int32_t level, const MinigameLevelFile& file) {
    ConveyorPuzzleLevel record;
    record.level = level;
    if (!file.isLoaded()) {
        return record;
    }
    const MinigameLevelElement& root = file.root();
    record.gameTime = bounded(level, "gametime", root.floatAttribute("gametime", kDefaultGameTime),
                              kMaxGameTime, kDefaultGameTime);
    record.speed =
        bounded(level, "speed", root.floatAttribute("speed", kDefaultSpeed), kMaxSpeed, kDefaultSpeed);
    record.illicitPercent = root.floatAttribute("wrongitemspercent", kDefaultIllicitPercent);
    record.coin = root.hasAttribute("coin") ? root.flagAttribute("coin") : true;
    return record;
}
