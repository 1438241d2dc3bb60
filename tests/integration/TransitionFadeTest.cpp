#include <gtest/gtest.h>

#include <string>

#include "Driver.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerMouse.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/events/EventMouse.h"
#include "engine/renderer/Image.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"
#include "engine/scene/TransitionFade.h"

namespace {

using cocos2d::Color4B;
using cocos2d::Director;
using cocos2d::LayerColor;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Scene;
using cocos2d::Vec2;

// The mean colour of a 10 x 10 window square around a design point (the window is the design size).
Color4B meanAround(const Vec2& designPoint) {
    RefPtr<cocos2d::Image> image =
        testing::Driver::get().readPixels(Rect(designPoint.x - 5, 810 - designPoint.y - 5, 10, 10));
    if (!image) {
        return Color4B(0, 0, 0, 0);
    }
    long sum[3] = {0, 0, 0};
    const int n = image->getWidth() * image->getHeight();
    for (int y = 0; y < image->getHeight(); ++y) {
        for (int x = 0; x < image->getWidth(); ++x) {
            const Color4B c = image->getPixel(x, y);
            sum[0] += c.r;
            sum[1] += c.g;
            sum[2] += c.b;
        }
    }
    return Color4B(static_cast<GLubyte>(sum[0] / n), static_cast<GLubyte>(sum[1] / n),
                   static_cast<GLubyte>(sum[2] / n), 255);
}

void expectColour(const Vec2& at, int r, int g, int b, int tolerance, const std::string& what) {
    const Color4B c = meanAround(at);
    EXPECT_NEAR(c.r, r, tolerance) << what;
    EXPECT_NEAR(c.g, g, tolerance) << what;
    EXPECT_NEAR(c.b, b, tolerance) << what;
}

// A full-screen scene of one colour.
Scene* solidScene(const Color4B& colour) {
    Scene* scene = Scene::create();
    scene->addChild(LayerColor::create(colour, 1280, 810));
    return scene;
}

const Vec2 kCentre(640, 405);
const Vec2 kBadge(150, 150);    // a high-global-z square of the outgoing scene
const Vec2 kCursor(1150, 700);  // a square of the notification node

class TransitionFadeTest : public ::testing::Test {
protected:
    void SetUp() override {
        director()->replaceScene(solidScene(Color4B(255, 0, 0, 255)));
        driver().stepFrames(2);
        LayerColor* cursor = LayerColor::create(Color4B(255, 255, 255, 255), 40, 40);
        cursor->setPosition(kCursor - Vec2(20, 20));
        director()->setNotificationNode(cursor);
    }
    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".png"));
        }
        director()->setNotificationNode(nullptr);
    }
    static testing::Driver& driver() { return testing::Driver::get(); }
    static Director* director() { return Director::getInstance(); }
};

TEST_F(TransitionFadeTest, AReplaceFadesThroughBlackOverEverythingTheScenesDrawAndBlocksTaps) {
    Scene* outgoing = solidScene(Color4B(255, 0, 0, 255));
    LayerColor* badge = LayerColor::create(Color4B(0, 0, 255, 255), 60, 60);
    badge->setPosition(kBadge - Vec2(30, 30));
    badge->setGlobalZOrder(5.0f);
    outgoing->addChild(badge);
    director()->replaceScene(outgoing);
    driver().stepFrames(1);

    Scene* incoming = solidScene(Color4B(0, 255, 0, 255));
    int taps = 0;
    auto* listener = cocos2d::EventListenerTouchOneByOne::create();
    listener->onTouchBegan = [&taps](cocos2d::Touch*, cocos2d::Event*) {
        ++taps;
        return true;
    };
    director()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, incoming);
    int moves = 0;
    auto* mouse = cocos2d::EventListenerMouse::create();
    mouse->onMouseMove = [&moves](cocos2d::EventMouse*) { ++moves; };
    director()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(mouse, incoming);

    director()->replaceScene(cocos2d::TransitionFade::create(1.0f, incoming));
    driver().stepFrames(1);  // the fade starts at this frame's safe point and draws at 0
    expectColour(kCentre, 255, 0, 0, 3, "start: the outgoing scene");
    expectColour(kBadge, 0, 0, 255, 3, "start: its badge");

    driver().stepFrames(15);
    driver().saveScreenshot(testing::Driver::outputPath("transition_fade_quarter.png"));
    expectColour(kCentre, 128, 0, 0, 6, "a quarter: the outgoing scene half dark");
    expectColour(kBadge, 0, 0, 128, 6, "a quarter: the badge half dark as well");

    driver().stepFrames(15);
    driver().saveScreenshot(testing::Driver::outputPath("transition_fade_midpoint.png"));
    expectColour(kCentre, 0, 0, 0, 3, "the midpoint is black");
    expectColour(kBadge, 0, 0, 0, 3, "black covers a node of higher global z");
    expectColour(kCursor, 255, 255, 255, 3, "the notification node stays above the black");
    driver().tap(kCentre);
    driver().stepFrames(1);  // the tap is polled and dispatched in this frame
    EXPECT_EQ(taps, 0) << "input is off during the fade";
    const int movesBefore = moves;
    driver().mouseMove(Vec2(300, 300));
    driver().stepFrames(1);
    EXPECT_GT(moves, movesBefore) << "mouse moves still reach the scenes under the fade";

    driver().stepFrames(13);
    expectColour(kCentre, 0, 128, 0, 6, "three quarters: the incoming scene half dark");

    driver().stepFrames(15);
    EXPECT_EQ(director()->getRunningScene(), incoming);
    expectColour(kCentre, 0, 255, 0, 3, "the end: the incoming scene");
    driver().tap(kCentre);
    driver().stepFrames(1);
    EXPECT_EQ(taps, 1) << "input is back once the fade has ended";
}

TEST_F(TransitionFadeTest, PushedCreditsFadeInOverTheLevelAndPopStraightBackToIt) {
    Scene* level = solidScene(Color4B(200, 200, 0, 255));
    director()->replaceScene(level);
    driver().stepFrames(1);
    director()->pushScene(cocos2d::TransitionFade::create(0.5f, solidScene(Color4B(0, 0, 200, 255))));
    driver().stepFrames(16);
    expectColour(kCentre, 0, 0, 0, 3, "the midpoint of the push is black");
    driver().stepFrames(15);
    expectColour(kCentre, 0, 0, 200, 3, "the credits");
    EXPECT_EQ(director()->getSceneCount(), 2);
    director()->popScene();
    driver().stepFrames(1);
    EXPECT_EQ(director()->getRunningScene(), level);
    expectColour(kCentre, 200, 200, 0, 3, "back in the level at once");
}

}  // namespace
