#pragma once

#include <cstdint>
#include <vector>

#include "engine/math/Vec2.h"

// The grey mask a reagent drop is tested against: one value per pixel of the item's half-size mask
// frame, rows from the top, in the mask sprite's node space.
struct HitMask {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> grey;

    // Greys (R + G + B) / 3 of w x h RGBA bytes, rows from the top. Fewer bytes than that give an
    // empty mask.
    void build(const uint8_t* rgba, size_t length, int w, int h);
    // A point in the mask sprite's node space: strictly inside, and the grey there above 128.
    bool hit(const cocos2d::Vec2& local) const;
};
