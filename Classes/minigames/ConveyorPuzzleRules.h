#pragma once

#include <cstdint>
#include <string>

#include "engine/math/Vec2.h"

// The conveyor sorter's rules that need no node: which item comes next and what a swipe does to the
// item it sorts. Items carry their sort direction as their tag.
namespace ConveyorPuzzleRules {

// Swiped down.
inline constexpr int32_t kAcceptedTag = 1;
// Swiped up.
inline constexpr int32_t kIllicitTag = -1;
// Collected by any swipe, never a mistake.
inline constexpr int32_t kCoinTag = 0;
inline constexpr int32_t kAcceptedPictures = 8;
inline constexpr int32_t kIllicitPictures = 11;
// Vertical travel a swipe needs, in whole pixels.
inline constexpr int32_t kSwipeDistance = 100;

struct Item {
    std::string name;
    int32_t tag = kAcceptedTag;
    bool operator==(const Item&) const = default;
};

// The next sortable item, from the C library's rand: illicit when rand() % 100 is at most the
// percentage, else accepted; its picture never repeats the last one of its sort (the last indices are
// updated, -1 before the first).
Item drawItem(float illicitPercent, int32_t& lastAccepted, int32_t& lastIllicit);

enum class SwipeResult {
    // Under kSwipeDistance vertically: the item stays on the belt.
    TooShort,
    Coin,
    Correct,
    Mistake,
};

// What a swipe from start to end (world points) does to an item with this tag. A swipe that ends level
// with its start or lower goes down.
SwipeResult judgeSwipe(int32_t tag, const cocos2d::Vec2& start, const cocos2d::Vec2& end);

}  // namespace ConveyorPuzzleRules
