#include "gameBoard/LevelReward.h"

#include <algorithm>

#include "PictureProgress.h"

namespace LevelReward {

Settlement settle(PictureProgress& record, const Play& play) {
    Settlement result;
    if (play.earnedRounded - record.earnedTotal < kMinimumGain) {
        return result;
    }
    result.paid = true;
    int32_t reward = play.runningReward;
    record.earnedPart = play.hasDamage ? play.earnedPenalty : 0;
    if (play.hasFlask) {
        const float bonus = static_cast<float>(play.fullPrice) * 0.01f * (play.flaskPercent / 100.0f);
        if (bonus > 0.0f) {
            result.liquidBonus = static_cast<int32_t>(bonus);
            reward += result.liquidBonus;
        }
    }
    const int32_t delta = reward - record.earnedTotal;
    record.lastGain = delta > 0 ? delta : 0;
    record.earnedTotal = reward;
    result.gain = record.lastGain;
    result.reward = reward;
    return result;
}

float rewardPercent(int32_t reward, int32_t fullPrice) {
    // A picture without a price (a broken pack entry) shows no stars rather than dividing by 0.
    if (fullPrice <= 0) {
        return 0.0f;
    }
    return static_cast<float>(reward) / static_cast<float>(fullPrice) * 100.0f;
}

float partialFill(int star, float percent) {
    const float top = static_cast<float>(star) * kStarStep;
    const float bottom = top - kStarStep;
    const float reached = std::clamp(percent, bottom, top) - bottom;
    return static_cast<float>(static_cast<int32_t>(reached * kPartialFillFactor));
}

bool isStarLit(int star, float percent, bool hasDamage) {
    const bool above = percent > static_cast<float>(star) * kStarStep;
    return star == 3 ? above && !hasDamage : above;
}

void recordStars(PictureProgress& record, int32_t& storyLevel, int32_t litStars) {
    if (record.state == 0) {
        if (storyLevel >= 0) {
            ++storyLevel;
        }
        record.firstStars = litStars;
        record.bestStars = litStars;
    } else if (litStars > record.bestStars) {
        record.firstStars = litStars - record.bestStars;
        record.bestStars = litStars;
    }
}

void recordEnd(PictureProgress& record, bool hasDamage, int32_t itemsRestored, int32_t itemsOnLevel,
               int32_t totalItems) {
    ++record.state;
    if (!hasDamage && itemsRestored >= itemsOnLevel &&
        static_cast<int64_t>(record.restoredHistory.size()) >= totalItems) {
        record.finished = true;
    }
}

}  // namespace LevelReward
