#include "gameBoard/BoardPricing.h"

#include <algorithm>

namespace BoardPricing {

namespace {

constexpr int32_t kItemsPerStoryStep = 5;
constexpr int32_t kStoryLevelBase = 2;
constexpr int32_t kLastCountedStoryLevel = 3;

}  // namespace

int32_t weight(int32_t area, int32_t minArea, int32_t maxArea) {
    return std::max(maxArea - area, minArea);
}

Rate rateFor(std::vector<int32_t> areas) {
    Rate rate;
    if (areas.empty()) {
        return rate;
    }
    std::sort(areas.begin(), areas.end());
    rate.minArea = areas.front();
    rate.maxArea = areas.back();
    for (int32_t area : areas) {
        rate.priceRate += weight(area, rate.minArea, rate.maxArea);
    }
    return rate;
}

int32_t itemPrice(int32_t fullPrice, const Rate& rate, int32_t area) {
    if (rate.priceRate <= 0) {
        return 0;
    }
    const float perWeight = static_cast<float>(fullPrice) / static_cast<float>(rate.priceRate);
    return static_cast<int32_t>(perWeight * static_cast<float>(weight(area, rate.minArea, rate.maxArea)));
}

Counts itemsForLevel(int32_t storyLevel, int32_t pictureState, int32_t totalItems, int32_t itemsInPlay) {
    Counts counts{itemsInPlay, totalItems};
    if (storyLevel >= 0 && storyLevel <= kLastCountedStoryLevel) {
        counts.totalItems = (storyLevel + kStoryLevelBase) * kItemsPerStoryStep;
        if (pictureState == 0) {
            counts.itemsOnLevel = std::min(counts.totalItems, itemsInPlay);
        }
    }
    return counts;
}

int32_t damagePenalty(int32_t amount, size_t damageCount) {
    float share = 0.0f;
    if (damageCount == 1) {
        share = 0.2f;
    } else if (damageCount >= 2 && damageCount <= 5) {
        share = 0.4f;
    } else if (damageCount >= 6) {
        share = 0.6f;
    }
    return static_cast<int32_t>(static_cast<float>(amount) * share);
}

int32_t earnedRounded(float earned) {
    return static_cast<int32_t>(earned + 0.5f);
}

int32_t flyBonus(int32_t fullPrice, int32_t fliesKilled) {
    return fullPrice * fliesKilled / 100;
}

int32_t reward(float earned, int32_t fullPrice, int32_t fliesKilled, size_t damageCount) {
    const int32_t e = earnedRounded(earned);
    return std::max(0, e + flyBonus(fullPrice, fliesKilled) - damagePenalty(e, damageCount));
}

}  // namespace BoardPricing
