#pragma once

#include "engine/math/Rect.h"

namespace cocos2d {
class Node;
}

// Where nodes lie on the screen, for tests that check a layout.
namespace testing {

// The node's own content rectangle as it lies in world space (the bounds of its four corners).
cocos2d::Rect screenBox(const cocos2d::Node* node);

// What the player sees of a node: a leaf's own rectangle, a group's the union of what its visible
// children show (the loader's groups measure their children from their centre, not their content box).
cocos2d::Rect shownBox(const cocos2d::Node* node);

// Whether two boxes share more than half a point each way: boxes that only touch do not overlap.
bool overlaps(const cocos2d::Rect& a, const cocos2d::Rect& b);

}  // namespace testing
