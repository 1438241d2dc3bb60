#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "engine/actions/ActionEase.h"
#include "engine/actions/FadeIn.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/ScaleTo.h"
#include "engine/actions/Spawn.h"
#include "engine/actions/TintTo.h"
#include "ActionStage.h"

namespace {

using cocos2d::ActionInterval;
using cocos2d::MoveTo;
using cocos2d::RefPtr;
using cocos2d::Vec2;

// One ease over a 1 s move from x = 0 to x = 1000, stepped by sixtieths: the curve read back from
// the node at its documented points.
struct EaseCase {
    const char* name;
    std::function<ActionInterval*(ActionInterval*)> wrap;
    std::vector<std::pair<int, float>> pointsAtStep;  // step (of 60) -> f(step / 60)
    float lowest;                                     // over every step
    float highest;
};

class EaseTest : public enginetest::ActionStage {};

TEST_F(EaseTest, EachEaseFollowsItsCurveAndEndsExactlyOnTheTarget) {
    const EaseCase cases[] = {
        {"EaseIn rate 1 is linear",
         [](ActionInterval* a) { return cocos2d::EaseIn::create(a, 1.0f); },
         {{15, 0.25f}, {30, 0.5f}},
         0.0f,
         1.0f},
        {"EaseIn rate 5",
         [](ActionInterval* a) { return cocos2d::EaseIn::create(a, 5.0f); },
         {{30, 0.03125f}, {45, 0.2373047f}},
         0.0f,
         1.0f},
        {"EaseOut rate 2",
         [](ActionInterval* a) { return cocos2d::EaseOut::create(a, 2.0f); },
         {{15, 0.5f}, {30, 0.7071068f}},
         0.0f,
         1.0f},
        {"EaseSineOut",
         [](ActionInterval* a) { return cocos2d::EaseSineOut::create(a); },
         {{30, 0.7071068f}, {20, 0.5f}},
         0.0f,
         1.0f},
        {"EaseExponentialOut",
         [](ActionInterval* a) { return cocos2d::EaseExponentialOut::create(a); },
         {{30, 0.96875f}, {6, 0.5f}},
         0.0f,
         1.0f},
        // The back eases overshoot by about 10 %.
        {"EaseBackOut",
         [](ActionInterval* a) { return cocos2d::EaseBackOut::create(a); },
         {{30, 1.0876975f}},
         0.0f,
         1.0999f},
        {"EaseBackInOut",
         [](ActionInterval* a) { return cocos2d::EaseBackInOut::create(a); },
         {{30, 0.5f}, {15, -0.0996818f}, {45, 1.0996818f}},
         -0.1f,
         1.1f},
    };
    for (const EaseCase& c : cases) {
        SCOPED_TRACE(c.name);
        RefPtr<cocos2d::Node> target = cocos2d::Node::create();
        scene->addChild(target);
        RefPtr<cocos2d::Action> eased = c.wrap(MoveTo::create(1.0f, Vec2(1000, 0)));
        ASSERT_TRUE(eased);
        target->runAction(eased);
        float lowest = 0.0f;
        float highest = 0.0f;
        for (int i = 1; i <= 60; ++i) {
            step();
            const float f = target->getPositionX() / 1000.0f;
            lowest = std::min(lowest, f);
            highest = std::max(highest, f);
            for (const auto& [at, expected] : c.pointsAtStep) {
                if (at == i) {
                    EXPECT_NEAR(f, expected, 2e-4f) << "at step " << i;
                }
            }
        }
        EXPECT_EQ(target->getPositionX(), 1000.0f) << "f(1) = 1 exactly";
        EXPECT_EQ(eased->getTarget(), nullptr) << "the ease lasts as long as what it wraps";
        EXPECT_NEAR(lowest, c.lowest, 2e-3f);
        EXPECT_NEAR(highest, c.highest, 2e-3f);
        target->removeFromParent();
    }
}

TEST_F(EaseTest, FadesAndTintsUnderAnOvershootingEaseStayWithinTheirRange) {
    // The gallery marker: opacity 0, scale 0.1, then EaseBackInOut of a spawn of FadeIn and ScaleTo.
    node->setOpacity(0);
    node->setScale(0.1f);
    node->setColor(cocos2d::Color3B(0, 0, 0));
    node->runAction(cocos2d::EaseBackInOut::create(
        cocos2d::Spawn::create(cocos2d::FadeIn::create(0.5f), cocos2d::ScaleTo::create(0.5f, 1.0f),
                               cocos2d::TintTo::create(0.5f, 255, 255, 255), nullptr)));
    std::vector<int> opacities;
    std::vector<int> reds;
    float highestScale = 0.0f;
    float lowestScale = 1.0f;
    for (int i = 0; i < 30; ++i) {
        step();
        opacities.push_back(node->getOpacity());
        reds.push_back(node->getColor().r);
        highestScale = std::max(highestScale, node->getScaleX());
        lowestScale = std::min(lowestScale, node->getScaleX());
    }
    // A value that wrapped around a byte would make these sequences fall somewhere.
    EXPECT_TRUE(std::is_sorted(opacities.begin(), opacities.end()));
    EXPECT_TRUE(std::is_sorted(reds.begin(), reds.end()));
    EXPECT_EQ(opacities.front(), 0) << "held at 0 through the dip";
    EXPECT_EQ(opacities[24], 255) << "held at 255 through the overshoot";
    EXPECT_EQ(opacities.back(), 255);
    EXPECT_EQ(reds.back(), 255);
    // The scale itself is not clamped: it goes past both ends.
    EXPECT_LT(lowestScale, 0.1f);
    EXPECT_GT(highestScale, 1.05f);
    EXPECT_FLOAT_EQ(node->getScaleX(), 1.0f);
}

}  // namespace
