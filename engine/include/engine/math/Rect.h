#pragma once

#include "engine/math/Size.h"
#include "engine/math/Vec2.h"

namespace cocos2d {

// An axis-aligned rectangle: origin is the corner with the smallest coordinates.
struct Rect {
    Vec2 origin;
    Size size;

    constexpr Rect() = default;
    constexpr Rect(float x, float y, float w, float h) : origin(x, y), size(w, h) {}
    constexpr Rect(const Vec2& pos, const Size& dimension) : origin(pos), size(dimension) {}

    void setRect(float x, float y, float w, float h) {
        origin.set(x, y);
        size.setSize(w, h);
    }

    float getMinX() const { return origin.x; }
    float getMidX() const { return origin.x + size.width * 0.5f; }
    float getMaxX() const { return origin.x + size.width; }
    float getMinY() const { return origin.y; }
    float getMidY() const { return origin.y + size.height * 0.5f; }
    float getMaxY() const { return origin.y + size.height; }

    // Inclusive on all four edges.
    bool containsPoint(const Vec2& p) const {
        return p.x >= getMinX() && p.x <= getMaxX() && p.y >= getMinY() && p.y <= getMaxY();
    }
    // True when the rectangles overlap or touch.
    bool intersectsRect(const Rect& r) const {
        return !(getMaxX() < r.getMinX() || r.getMaxX() < getMinX() || getMaxY() < r.getMinY() ||
                 r.getMaxY() < getMinY());
    }
    Rect unionWithRect(const Rect& r) const;
    // The overlap, or a rectangle of zero size when there is none.
    Rect intersection(const Rect& r) const;
    bool equals(const Rect& r) const { return origin == r.origin && size == r.size; }
    bool operator==(const Rect& r) const { return equals(r); }
    bool operator!=(const Rect& r) const { return !equals(r); }

    static const Rect ZERO;
};

}  // namespace cocos2d
