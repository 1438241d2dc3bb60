#include "minigames/DropsPuzzleLevel.h"

#include <cstddef>

#include "engine/base/Log.h"

#include "MinigameKind.h"
#include "minigames/MinigameLevelElement.h"
#include "minigames/MinigameLevelFile.h"
#include "minigames/MinigameLevels.h"

namespace {

// A lane's seconds: the default when missing or not a number, else bounded.
float laneSeconds(const MinigameLevelElement& lane, const char* attribute, size_t index,
                  const std::string& path) {
    if (!lane.hasAttribute(attribute)) {
        cocos2d::log("%s: lane %d has no \"%s\", using %g s", path.c_str(), static_cast<int>(index),
                     attribute, static_cast<double>(DropsPuzzleLevel::kDefaultLaneSeconds));
        return DropsPuzzleLevel::kDefaultLaneSeconds;
    }
    float value = 0.0f;
    if (!MinigameLevelElement::readFloat(lane.attribute(attribute), value)) {
        cocos2d::log("%s: lane %d \"%s\" is not a number, using %g s", path.c_str(), static_cast<int>(index),
                     attribute, static_cast<double>(DropsPuzzleLevel::kDefaultLaneSeconds));
        return DropsPuzzleLevel::kDefaultLaneSeconds;
    }
    // NaN never gets here (readFloat refuses it), so the comparisons below decide every value.
    float bounded = value;
    if (value < DropsPuzzleLevel::kMinLaneSeconds) {
        bounded = DropsPuzzleLevel::kMinLaneSeconds;
    } else if (value > DropsPuzzleLevel::kMaxLaneSeconds) {
        bounded = DropsPuzzleLevel::kMaxLaneSeconds;
    }
    if (bounded != value) {
        cocos2d::log("%s: lane %d \"%s\" %g is out of bounds, using %g s", path.c_str(),
                     static_cast<int>(index), attribute, static_cast<double>(value),
                     static_cast<double>(bounded));
    }
    return bounded;
}

}  // namespace

DropsPuzzleLevel DropsPuzzleLevel::defaults(int32_t level) {
    DropsPuzzleLevel record;
    record.level = level;
    record.fallTimes.assign(kLaneCount, kDefaultLaneSeconds);
    record.growTimes.assign(kLaneCount, kDefaultLaneSeconds);
    return record;
}

std::string DropsPuzzleLevel::pathFor(int32_t level) {
    return minigameLevelPath(static_cast<int32_t>(MinigameKind::DropsPuzzle), level);
}

DropsPuzzleLevel DropsPuzzleLevel::read(int32_t level) {
    const std::string path = pathFor(level);
    MinigameLevelFile file;
    file.load(path, "Level");
    return fromFile(file, level, path);
}

DropsPuzzleLevel DropsPuzzleLevel::fromFile(const MinigameLevelFile& file, int32_t level,
                                            const std::string& path) {
    DropsPuzzleLevel record = defaults(level);
    if (!file.isLoaded()) {
        return record;
    }
    const MinigameLevelElement& root = file.root();

    if (!root.hasAttribute("loosecount")) {
        cocos2d::log("%s: no \"loosecount\", using %d", path.c_str(), kDefaultLooseCount);
    } else {
        record.looseCount = root.intAttribute("loosecount", kDefaultLooseCount);
        if (record.looseCount < 0) {
            // A negative count loses at once, exactly as 0 does; say so and keep the record plain.
            cocos2d::log("%s: \"loosecount\" %d is negative, using 0", path.c_str(), record.looseCount);
            record.looseCount = 0;
        }
    }

    float time = 0.0f;
    if (!root.hasAttribute("time")) {
        cocos2d::log("%s: no \"time\", using %g s", path.c_str(), static_cast<double>(kDefaultTime));
    } else if (!MinigameLevelElement::readFloat(root.attribute("time"), time) || !(time > 0.0f)) {
        cocos2d::log("%s: \"time\" \"%s\" is not a positive number, using %g s", path.c_str(),
                     root.attribute("time").c_str(), static_cast<double>(kDefaultTime));
    } else if (time > kMaxTime) {
        cocos2d::log("%s: \"time\" %g is out of bounds, using %g s", path.c_str(), static_cast<double>(time),
                     static_cast<double>(kMaxTime));
        record.time = kMaxTime;
    } else {
        record.time = time;
    }

    // Lanes are the child elements in document order; runs of text between them are no lanes.
    size_t lanes = 0;
    for (const MinigameLevelElement& child : root.children()) {
        if (child.name().empty()) {
            continue;
        }
        if (lanes < static_cast<size_t>(kLaneCount)) {
            record.fallTimes[lanes] = laneSeconds(child, "falltime", lanes, path);
            record.growTimes[lanes] = laneSeconds(child, "gentime", lanes, path);
        }
        ++lanes;
    }
    if (lanes < static_cast<size_t>(kLaneCount)) {
        cocos2d::log("%s: %d of %d lanes, the others fall and grow in %g s", path.c_str(),
                     static_cast<int>(lanes), kLaneCount, static_cast<double>(kDefaultLaneSeconds));
    }
    return record;
}
