#pragma once

#include <algorithm>
#include <cmath>

#include "engine/base/GLTypes.h"
#include "engine/math/Vec2.h"

namespace cocos2d::actionprogress {

// Composites end a child on the step where its local time reaches its duration minus this, as a
// top-level interval action does.
constexpr float kEpsilon = 1e-5f;

// Exact at both ends, so that a To action lands on its target value.
inline float lerp(float from, float to, float t) {
    return from * (1.0f - t) + to * t;
}

inline Vec2 lerp(const Vec2& from, const Vec2& to, float t) {
    return Vec2(lerp(from.x, to.x, t), lerp(from.y, to.y, t));
}

// Opacities and colour channels: an overshooting ease may carry a value past 0..255.
inline GLubyte toByte(float value) {
    return static_cast<GLubyte>(std::lround(std::clamp(value, 0.0f, 255.0f)));
}

// A child's progress inside a composite whose own progress is `parentT`. While the parent stays within
// [0, 1] the child does too (and ends exactly at 1 with it); when an ease carries the parent outside,
// the child is carried with it so that moves and scales extrapolate.
inline float childProgress(float local, float parentT) {
    if (parentT < 0.0f || parentT > 1.0f) {
        return local;
    }
    if (parentT >= 1.0f) {
        return 1.0f;
    }
    return std::clamp(local, 0.0f, 1.0f);
}

}  // namespace cocos2d::actionprogress
