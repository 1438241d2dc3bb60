#include "minigames/ConveyorPuzzleRules.h"

#include <cmath>
#include <cstdlib>

namespace ConveyorPuzzleRules {

namespace {

int32_t drawIndex(int32_t count, int32_t last) {
    int32_t index = std::rand() % count;
    while (index == last) {
        index = std::rand() % count;
    }
    return index;
}

}  // namespace

Item drawItem(float illicitPercent, int32_t& lastAccepted, int32_t& lastIllicit) {
    const int32_t roll = std::rand() % 100;
    if (static_cast<float>(roll) > illicitPercent) {
        lastAccepted = drawIndex(kAcceptedPictures, lastAccepted);
        return Item{"accepted_" + std::to_string(lastAccepted), kAcceptedTag};
    }
    lastIllicit = drawIndex(kIllicitPictures, lastIllicit);
    return Item{"illicit_" + std::to_string(lastIllicit), kIllicitTag};
}

SwipeResult judgeSwipe(int32_t tag, const cocos2d::Vec2& start, const cocos2d::Vec2& end) {
    // Truncated toward zero as a whole number; compared in double so no travel can overflow.
    const double dy = std::trunc(static_cast<double>(end.y) - static_cast<double>(start.y));
    if (!(std::fabs(dy) >= kSwipeDistance)) {
        return SwipeResult::TooShort;
    }
    if (tag == kCoinTag) {
        return SwipeResult::Coin;
    }
    const bool down = end.y <= start.y;
    return (down && tag == kAcceptedTag) || (!down && tag == kIllicitTag) ? SwipeResult::Correct
                                                                          : SwipeResult::Mistake;
}

}  // namespace ConveyorPuzzleRules
