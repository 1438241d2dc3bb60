#include <cmath>
#include <limits>
#include <vector>

#include "../HeadlessEngine.h"
#include "engine/2d/ProgressTimer.h"
#include "engine/2d/ProgressTo.h"
#include "engine/base/RefPtr.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"

namespace {

using cocos2d::ProgressTimer;
using cocos2d::ProgressTo;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Size;
using cocos2d::Sprite;
using cocos2d::Vec2;

class ProgressTimerTest : public enginetest::HeadlessEngine {
protected:
    void SetUp() override {
        HeadlessEngine::SetUp();
        scene = cocos2d::Scene::create();
        director()->runWithScene(scene);
        step();
    }
    ProgressTimer* makeTimer() {
        Sprite* bar = Sprite::create();
        bar->setTextureRect(Rect(0, 0, 200, 20));
        bar->setPosition(500, 500);  // ignored by the timer
        return ProgressTimer::create(bar);
    }
    cocos2d::Scene* scene = nullptr;
};

TEST_F(ProgressTimerTest, StartsEmptyTakesTheSpritesSizeAndClampsThePercentage) {
    ProgressTimer* timer = makeTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->getPercentage(), 0.0f);
    EXPECT_EQ(timer->getContentSize(), Size(200, 20));
    EXPECT_EQ(timer->getAnchorPoint(), Vec2(0.5f, 0.5f));
    timer->setPosition(100, 50);
    // The bounding box covers the whole sprite whatever the percentage.
    EXPECT_EQ(timer->getBoundingBox(), Rect(0, 40, 200, 20));
    struct Case {
        float set, expected;
    };
    const std::vector<Case> cases = {{37.5f, 37.5f},
                                     {150.0f, 100.0f},
                                     {-5.0f, 0.0f},
                                     {std::numeric_limits<float>::quiet_NaN(), 0.0f},
                                     {std::numeric_limits<float>::infinity(), 0.0f}};
    for (const Case& c : cases) {
        timer->setPercentage(c.set);
        EXPECT_EQ(timer->getPercentage(), c.expected) << c.set;
    }
    timer->setMidpoint(Vec2(-1, 2));
    EXPECT_EQ(timer->getMidpoint(), Vec2(0, 1));
    timer->setBarChangeRate(Vec2(0, 3));
    EXPECT_EQ(timer->getBarChangeRate(), Vec2(0, 1));

    auto& log = captureLog();
    EXPECT_EQ(ProgressTimer::create(nullptr), nullptr);
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(ProgressTimerTest, ProgressToMovesFromTheCurrentValueAndEndsExactlyOnItsLastStep) {
    ProgressTimer* timer = makeTimer();
    scene->addChild(timer);
    timer->setPercentage(20);
    // 30 steps of 1/60 finish a 0.5 s action.
    timer->runAction(ProgressTo::create(0.5f, 80));
    step(15);
    EXPECT_NEAR(timer->getPercentage(), 50.0f, 0.01f);
    step(14);
    EXPECT_LT(timer->getPercentage(), 80.0f);
    step(1);
    EXPECT_EQ(timer->getPercentage(), 80.0f);
    EXPECT_EQ(timer->getNumberOfRunningActions(), 0);

    // More than 100 is asked for by a notification; the timer stops at 100.
    timer->runAction(ProgressTo::create(1.0f, 250));
    step(60);
    EXPECT_EQ(timer->getPercentage(), 100.0f);
}

TEST_F(ProgressTimerTest, ProgressToOnAnotherNodeDoesNothingButLog) {
    cocos2d::Node* node = cocos2d::Node::create();
    scene->addChild(node);
    auto& log = captureLog();
    node->runAction(ProgressTo::create(0.1f, 50));
    step(10);
    EXPECT_EQ(log.size(), 1u);
    EXPECT_EQ(node->getNumberOfRunningActions(), 0);
}

}  // namespace
