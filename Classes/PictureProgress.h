#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "DamageRecord.h"

namespace Core {
class CInputStream;
class COutputStream;
}  // namespace Core

enum class PictureState : int32_t {
    Locked = -1,
    // Unlocked and never played to an end; n >= 1 counts the level's endings while not finished.
    Unlocked = 0,
};

// The player's record of one picture.
struct PictureProgress {
    // Fully restored with no damage left.
    bool finished = false;
    int32_t earnedTotal = 0;
    int32_t dropsUsed = 0;
    int32_t lastGain = 0;
    int32_t firstStars = 0;
    int32_t flies = 0;
    int32_t priceRate = 0;
    int32_t maxArea = 0;
    int32_t minArea = 0;
    int32_t restoredCount = 0;
    std::pair<int32_t, int32_t> reservedPair{0, 0};
    // The picture's path, its key in the world's map.
    std::string path;
    // Player-made damage left on the picture.
    std::vector<DamageRecord> damage;
    int32_t mistakes = 0;
    int32_t earnedPart = 0;
    std::vector<int32_t> reservedRolls;
    // Seconds played in the last play.
    float time = 0.0f;
    // Names of the items restored in earlier plays.
    std::unordered_set<std::string> restoredHistory;
    int32_t bestStars = 0;
    // A PictureState, or the number of endings.
    int32_t state = 0;

    static constexpr uint32_t kMinSavedBytes = 78;

    void write(const std::shared_ptr<Core::COutputStream>& out) const;
    void read(const std::shared_ptr<Core::CInputStream>& in);

    bool operator==(const PictureProgress&) const = default;
};
