#pragma once

#include "engine/base/Types.h"
#include "engine/math/Vec2.h"

namespace cocos2d {

struct Tex2F {
    float u = 0.0f;
    float v = 0.0f;
};

// One vertex as the renderer takes it: world position (design units), premultiplied colour, texture
// coordinate.
struct V2F_C4B_T2F {
    Vec2 vertices;
    Color4B colors;
    Tex2F texCoords;
};

// Corners of a quad: bottom-left, bottom-right, top-left, top-right.
struct V2F_C4B_T2F_Quad {
    V2F_C4B_T2F bl;
    V2F_C4B_T2F br;
    V2F_C4B_T2F tl;
    V2F_C4B_T2F tr;
};

}  // namespace cocos2d
