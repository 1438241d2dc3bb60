#pragma once

#include <cmath>

namespace cocos2d {

// A 2D point or vector in design units.
struct Vec2 {
    float x = 0.0f;
    float y = 0.0f;

    constexpr Vec2() = default;
    constexpr Vec2(float xx, float yy) : x(xx), y(yy) {}

    void set(float xx, float yy) {
        x = xx;
        y = yy;
    }
    bool isZero() const { return x == 0.0f && y == 0.0f; }

    float length() const { return std::sqrt(x * x + y * y); }
    float lengthSquared() const { return x * x + y * y; }
    float distance(const Vec2& o) const { return (*this - o).length(); }
    float distanceSquared(const Vec2& o) const { return (*this - o).lengthSquared(); }
    float dot(const Vec2& o) const { return x * o.x + y * o.y; }
    float cross(const Vec2& o) const { return x * o.y - y * o.x; }
    // The unit vector in the same direction; the zero vector stays zero.
    Vec2 getNormalized() const {
        const float len = length();
        return len > 0.0f ? Vec2(x / len, y / len) : Vec2();
    }
    void normalize() { *this = getNormalized(); }
    // Angle of the vector in radians, counter-clockwise from +x.
    float getAngle() const { return std::atan2(y, x); }
    Vec2 getMidpoint(const Vec2& o) const { return Vec2((x + o.x) * 0.5f, (y + o.y) * 0.5f); }
    Vec2 lerp(const Vec2& target, float t) const { return *this + (target - *this) * t; }
    bool equals(const Vec2& o) const { return x == o.x && y == o.y; }
    bool fuzzyEquals(const Vec2& o, float variance) const {
        return std::fabs(x - o.x) <= variance && std::fabs(y - o.y) <= variance;
    }

    constexpr Vec2 operator+(const Vec2& o) const { return Vec2(x + o.x, y + o.y); }
    constexpr Vec2 operator-(const Vec2& o) const { return Vec2(x - o.x, y - o.y); }
    constexpr Vec2 operator-() const { return Vec2(-x, -y); }
    constexpr Vec2 operator*(float s) const { return Vec2(x * s, y * s); }
    constexpr Vec2 operator/(float s) const { return Vec2(x / s, y / s); }
    Vec2& operator+=(const Vec2& o) {
        x += o.x;
        y += o.y;
        return *this;
    }
    Vec2& operator-=(const Vec2& o) {
        x -= o.x;
        y -= o.y;
        return *this;
    }
    Vec2& operator*=(float s) {
        x *= s;
        y *= s;
        return *this;
    }
    Vec2& operator/=(float s) {
        x /= s;
        y /= s;
        return *this;
    }
    bool operator==(const Vec2& o) const { return x == o.x && y == o.y; }
    bool operator!=(const Vec2& o) const { return !(*this == o); }

    static const Vec2 ZERO;
    static const Vec2 ONE;
    static const Vec2 UNIT_X;
    static const Vec2 UNIT_Y;
    static const Vec2 ANCHOR_MIDDLE;
    static const Vec2 ANCHOR_BOTTOM_LEFT;
    static const Vec2 ANCHOR_TOP_LEFT;
    static const Vec2 ANCHOR_BOTTOM_RIGHT;
    static const Vec2 ANCHOR_TOP_RIGHT;
    static const Vec2 ANCHOR_MIDDLE_LEFT;
    static const Vec2 ANCHOR_MIDDLE_RIGHT;
    static const Vec2 ANCHOR_MIDDLE_TOP;
    static const Vec2 ANCHOR_MIDDLE_BOTTOM;
};

constexpr Vec2 operator*(float s, const Vec2& v) { return Vec2(v.x * s, v.y * s); }

using Point = Vec2;

}  // namespace cocos2d
