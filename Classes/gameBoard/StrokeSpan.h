#pragma once

#include <vector>

#include "engine/math/Rect.h"
#include "engine/math/Vec2.h"

// A stretch of one straight move of a touch, as fractions of the move: 0 at its start, 1 at its end.
// Fractions stay the same in every space the move is carried into, so the stretches that lie on
// different objects compare directly.
struct StrokeSpan {
    float from = 0.0f;
    float to = 0.0f;

    bool isPoint() const { return to <= from; }
};

// The stretch of the move from `a` to `b` that lies in `box`, edges included; false when the move
// passes beside it. A move that did not move is the point `a`.
bool spanInBox(const cocos2d::Rect& box, const cocos2d::Vec2& a, const cocos2d::Vec2& b, StrokeSpan& span);

// What is left of `span` once the stretches in `taken` are cut out of it. A point span is kept when no
// taken stretch holds it; of a longer span only pieces of some length are kept.
std::vector<StrokeSpan> spanWithout(const StrokeSpan& span, const std::vector<StrokeSpan>& taken);
