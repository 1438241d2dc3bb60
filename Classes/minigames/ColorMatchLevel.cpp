#include "minigames/ColorMatchLevel.h"

#include <algorithm>
#include <string>

#include "engine/base/Log.h"

#include "MinigameKind.h"
#include "minigames/ColorMatchGrid.h"
#include "minigames/MinigameLevelFile.h"
#include "minigames/MinigameLevels.h"

ColorMatchLevel::ColorMatchLevel(int32_t levelNumber) : ColorMatchLevel() {
    level = levelNumber;
    const std::string path = minigameLevelPath(static_cast<int32_t>(MinigameKind::ColorMatch), levelNumber);
    MinigameLevelFile file;
    if (!file.load(path, "Level")) {
        return;
    }
    const MinigameLevelElement& root = file.root();
    std::string problems;
    const int32_t read = root.intAttribute("maxcolor", kDefaultMaxColor);
    if (!root.hasAttribute("maxcolor")) {
        problems += " no maxcolor, using " + std::to_string(kDefaultMaxColor) + ";";
    }
    maxColor = std::clamp(read, kMinMaxColor, kMaxMaxColor);
    if (maxColor != read) {
        problems += " maxcolor " + std::to_string(read) + " is outside 1 to 10, using " +
                    std::to_string(maxColor) + ";";
    }
    startColors.clear();
    int32_t badColours = 0;
    int32_t beyondBoard = 0;
    for (const MinigameLevelElement& child : root.children()) {
        const int32_t number = child.nameNumber();
        if (number < 1 || number > ColorMatchGrid::kColours) {
            ++badColours;
        } else if (startColors.size() >= static_cast<size_t>(ColorMatchGrid::kCells)) {
            ++beyondBoard;
        } else {
            startColors.push_back(number);
        }
    }
    if (badColours > 0) {
        problems += " " + std::to_string(badColours) + " starting pipes not named 1 to 10 left out;";
    }
    if (beyondBoard > 0) {
        problems += " " + std::to_string(beyondBoard) + " starting pipes beyond the sixteenth left out;";
    }
    if (!problems.empty()) {
        problems.pop_back();
        cocos2d::log("ColorMatch level %s:%s", path.c_str(), problems.c_str());
    }
}
