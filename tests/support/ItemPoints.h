#pragma once

// Where a player's click lands on a hidden item.

#include "engine/math/Vec2.h"

class HiddenObject;

namespace testing {

// The world point on an opaque part of the item's hit mask nearest the mask's centre (where a drop
// of the spray reveals it); the item's centre when it has no mask.
cocos2d::Vec2 maskPoint(const HiddenObject* item);

}  // namespace testing
