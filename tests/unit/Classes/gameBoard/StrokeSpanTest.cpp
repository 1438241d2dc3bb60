#include <gtest/gtest.h>

#include <vector>

#include "gameBoard/StrokeSpan.h"

namespace {

using cocos2d::Rect;
using cocos2d::Vec2;

TEST(StrokeSpanTest, TheStretchOfAMoveInABoxIsFoundAtAnySpeed) {
    // The box of an item at 775..845 (its height 300..400), as in a fast sweep over it.
    const Rect box(775, 300, 70, 100);
    struct Case {
        const char* what;
        Vec2 a, b;
        bool crosses;
        float from, to;
    };
    const Case cases[] = {
        {"both ends beside it, on opposite sides", {758, 350}, {862, 350}, true, 17.0f / 104, 87.0f / 104},
        {"from beside it into it", {758, 350}, {800, 350}, true, 17.0f / 42, 1.0f},
        {"from inside out of it", {800, 350}, {900, 350}, true, 0.0f, 0.45f},
        {"wholly inside", {780, 310}, {840, 390}, true, 0.0f, 1.0f},
        {"across a corner only", {770, 390}, {790, 410}, true, 0.25f, 0.5f},
        {"through the corner point", {765, 390}, {785, 410}, true, 0.5f, 0.5f},
        {"along an edge", {700, 300}, {900, 300}, true, 75.0f / 200, 145.0f / 200},
        {"beside it, parallel", {760, 250}, {760, 450}, false, 0, 0},
        {"past the corner, missing it", {760, 395}, {780, 415}, false, 0, 0},
        {"a still touch on it", {800, 350}, {800, 350}, true, 0.0f, 0.0f},
        {"a still touch beside it", {700, 350}, {700, 350}, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StrokeSpan span;
        ASSERT_EQ(spanInBox(box, c.a, c.b, span), c.crosses);
        if (c.crosses) {
            EXPECT_NEAR(span.from, c.from, 1e-5);
            EXPECT_NEAR(span.to, c.to, 1e-5);
        }
    }
}

TEST(StrokeSpanTest, CuttingOutTakenStretchesLeavesTheRest) {
    struct Case {
        const char* what;
        StrokeSpan span;
        std::vector<StrokeSpan> taken;
        std::vector<StrokeSpan> left;
    };
    const Case cases[] = {
        {"nothing taken", {0.2f, 0.8f}, {}, {{0.2f, 0.8f}}},
        {"taken elsewhere", {0.2f, 0.5f}, {{0.6f, 0.9f}}, {{0.2f, 0.5f}}},
        {"taken in the middle", {0.2f, 0.8f}, {{0.4f, 0.5f}}, {{0.2f, 0.4f}, {0.5f, 0.8f}}},
        {"taken over one end", {0.2f, 0.8f}, {{0.0f, 0.5f}}, {{0.5f, 0.8f}}},
        {"taken whole", {0.2f, 0.8f}, {{0.1f, 0.9f}}, {}},
        {"taken in two places", {0.0f, 1.0f}, {{0.1f, 0.2f}, {0.7f, 1.0f}}, {{0.0f, 0.1f}, {0.2f, 0.7f}}},
        {"touching at one end only", {0.5f, 0.8f}, {{0.2f, 0.5f}}, {{0.5f, 0.8f}}},
        {"a point taken", {0.3f, 0.3f}, {{0.3f, 0.6f}}, {}},
        {"a point beside what was taken", {0.3f, 0.3f}, {{0.4f, 0.6f}}, {{0.3f, 0.3f}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<StrokeSpan> left = spanWithout(c.span, c.taken);
        ASSERT_EQ(left.size(), c.left.size());
        for (size_t i = 0; i < left.size(); ++i) {
            EXPECT_FLOAT_EQ(left[i].from, c.left[i].from);
            EXPECT_FLOAT_EQ(left[i].to, c.left[i].to);
        }
    }
}

}  // namespace
