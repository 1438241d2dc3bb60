#pragma once

#include "engine/math/Vec2.h"

namespace cocos2d {

struct Size {
    float width = 0.0f;
    float height = 0.0f;

    constexpr Size() = default;
    constexpr Size(float w, float h) : width(w), height(h) {}
    explicit constexpr Size(const Vec2& v) : width(v.x), height(v.y) {}

    void setSize(float w, float h) {
        width = w;
        height = h;
    }
    bool equals(const Size& o) const { return width == o.width && height == o.height; }
    explicit operator Vec2() const { return Vec2(width, height); }

    constexpr Size operator+(const Size& o) const { return Size(width + o.width, height + o.height); }
    constexpr Size operator-(const Size& o) const { return Size(width - o.width, height - o.height); }
    constexpr Size operator*(float s) const { return Size(width * s, height * s); }
    constexpr Size operator/(float s) const { return Size(width / s, height / s); }
    bool operator==(const Size& o) const { return equals(o); }
    bool operator!=(const Size& o) const { return !equals(o); }

    static const Size ZERO;
};

}  // namespace cocos2d
