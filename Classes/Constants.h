#pragma once

// Design constants shared by every source file. Each file holds its own copy of the same values;
// nothing changes them at run time.

#include <utility>

#include "engine/base/Types.h"
#include "engine/math/Rect.h"
#include "engine/math/Size.h"
#include "engine/math/Vec2.h"

// The design resolution: the window size, the full-screen thresholds and the area always shown.
constexpr cocos2d::Size kDesignSize{1280.0f, 810.0f};
// The node colour of erasable objects drawn with their own shader.
constexpr cocos2d::Color3B kMagentaColor{255, 0, 255};
// Where the tutorial popup places a step's arrow.
constexpr cocos2d::Rect kTutorialArrowRect{160.0f, 160.0f, 90.0f, 90.0f};
constexpr std::pair<float, float> kUnitSize{1.0f, 1.0f};
constexpr cocos2d::Vec2 kCenterAnchor{0.5f, 0.5f};
constexpr float kShortInterval = 0.1f;
