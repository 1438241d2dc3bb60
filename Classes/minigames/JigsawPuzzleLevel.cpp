#include "minigames/JigsawPuzzleLevel.h"

#include <cmath>
#include <vector>

#include "engine/base/Log.h"

#include "MinigameKind.h"
#include "minigames/MinigameLevelElement.h"
#include "minigames/MinigameLevelFile.h"
#include "minigames/MinigameLevels.h"

namespace {

// A size as the file means it: the number, truncated; false when the text holds no such number.
bool readSize(const MinigameLevelElement& element, const char* attribute, int32_t& size) {
    float value = 0.0f;
    if (!element.hasAttribute(attribute) ||
        !MinigameLevelElement::readFloat(element.attribute(attribute), value)) {
        return false;
    }
    const float whole = std::trunc(value);
    // Beyond these the conversion to an integer is undefined; no size is anywhere near them.
    if (whole < -1.0e6f || whole > 1.0e6f) {
        return false;
    }
    size = static_cast<int32_t>(whole);
    return true;
}

}  // namespace

JigsawPuzzleLevel JigsawPuzzleLevel::defaults(int32_t number) {
    JigsawPuzzleLevel level;
    level.number = number;
    return level;
}

std::string JigsawPuzzleLevel::path() {
    return minigameLevelPath(static_cast<int32_t>(MinigameKind::JigsawPuzzle), 0);
}

JigsawPuzzleLevel JigsawPuzzleLevel::read(int32_t number) {
    const std::string file = path();
    MinigameLevelFile levels;
    levels.load(file, "Levels");
    return fromFile(levels, number, file);
}

JigsawPuzzleLevel JigsawPuzzleLevel::fromFile(const MinigameLevelFile& file, int32_t number,
                                              const std::string& path) {
    JigsawPuzzleLevel level = defaults(number);
    if (!file.isLoaded()) {
        return level;
    }
    const MinigameLevelElement* chosen = nullptr;
    bool inLevels = false;
    for (const MinigameLevelElement& child : file.root().children()) {
        if (child.name().empty()) {
            continue;  // a run of text
        }
        inLevels = inLevels || child.name() == "Level";
        if (inLevels && child.hasAttribute("number") && child.intAttribute("number", 0) == number) {
            chosen = &child;
        }
    }
    if (chosen == nullptr) {
        cocos2d::log("%s: no level %d, playing %d x %d tiles of %s", path.c_str(), number, level.width,
                     level.height, level.pictureName.c_str());
        return level;
    }
    level.found = true;

    int32_t columns = 0;
    int32_t rows = 0;
    const bool sized = readSize(*chosen, "width", columns) && readSize(*chosen, "height", rows);
    if (!sized || columns < 1 || rows < 1 || columns > kMaxSide || rows > kMaxSide || columns * rows < 2) {
        cocos2d::log("%s: level %d has a grid of \"%s\" x \"%s\", playing %d x %d", path.c_str(), number,
                     chosen->attribute("width").c_str(), chosen->attribute("height").c_str(), level.width,
                     level.height);
    } else {
        level.width = columns;
        level.height = rows;
    }

    int32_t pipeSize = 0;
    if (chosen->hasAttribute("pipesize") &&
        (!readSize(*chosen, "pipesize", pipeSize) || pipeSize > kMaxPipeSize)) {
        cocos2d::log("%s: level %d has the tile size \"%s\", fitting the tiles to the picture", path.c_str(),
                     number, chosen->attribute("pipesize").c_str());
        pipeSize = 0;
    }
    level.pipeSize = pipeSize > 0 ? pipeSize : 0;

    const std::string picture = chosen->attribute("picturename");
    if (picture.empty()) {
        cocos2d::log("%s: level %d names no picture, playing %s", path.c_str(), number,
                     level.pictureName.c_str());
    } else {
        level.pictureName = picture;
    }
    return level;
}
