#include "gameBoard/StrokeSpan.h"

#include <algorithm>

namespace {

// Narrows [t0, t1] to where p + t * d stays on the inner side of one edge (p + t * d <= limit along
// the edge's axis, given as d = delta and q = limit - p); false when nothing is left.
bool clipEdge(float delta, float q, float& t0, float& t1) {
    if (delta == 0.0f) {
        return q >= 0.0f;
    }
    const float t = q / delta;
    if (delta > 0.0f) {
        t1 = std::min(t1, t);
    } else {
        t0 = std::max(t0, t);
    }
    return t0 <= t1;
}

}  // namespace

bool spanInBox(const cocos2d::Rect& box, const cocos2d::Vec2& a, const cocos2d::Vec2& b, StrokeSpan& span) {
    const cocos2d::Vec2 d = b - a;
    float t0 = 0.0f;
    float t1 = 1.0f;
    // Each edge in turn, written as "this coordinate stays at or below a limit".
    if (!clipEdge(d.x, box.getMaxX() - a.x, t0, t1) || !clipEdge(-d.x, a.x - box.getMinX(), t0, t1) ||
        !clipEdge(d.y, box.getMaxY() - a.y, t0, t1) || !clipEdge(-d.y, a.y - box.getMinY(), t0, t1)) {
        return false;
    }
    span.from = t0;
    // A touch that did not move is its one point.
    span.to = d.x == 0.0f && d.y == 0.0f ? t0 : t1;
    return true;
}

std::vector<StrokeSpan> spanWithout(const StrokeSpan& span, const std::vector<StrokeSpan>& taken) {
    if (span.isPoint()) {
        for (const StrokeSpan& t : taken) {
            if (t.from <= span.from && span.from <= t.to) {
                return {};
            }
        }
        return {span};
    }
    std::vector<StrokeSpan> left{span};
    for (const StrokeSpan& t : taken) {
        std::vector<StrokeSpan> next;
        for (const StrokeSpan& piece : left) {
            if (t.to <= piece.from || t.from >= piece.to) {
                next.push_back(piece);
                continue;
            }
            if (t.from > piece.from) {
                next.push_back({piece.from, t.from});
            }
            if (t.to < piece.to) {
                next.push_back({t.to, piece.to});
            }
        }
        left = std::move(next);
    }
    return left;
}
