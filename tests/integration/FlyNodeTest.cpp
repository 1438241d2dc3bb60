// The fly on a real GL view, with the pointer and the clicks injected as the platform's own events.
// As on the level screen, the fly's layer sits at (0, 0) of a screen node centred on the visible area,
// above a board stand-in that takes every touch the fly lets through. What is drawn is read back.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "Driver.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/math/Rect.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"

#include "TextTable.h"
#include "nodes/FlyNode.h"
#include "ui/NodeFromJson.h"

namespace {

using cocos2d::Color4B;
using cocos2d::Director;
using cocos2d::Node;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Vec2;

// A light wall, so that the dark fly and its blot stand out.
const Color4B kWall(214, 206, 188, 255);

class FlyNodeTest : public ::testing::Test {
protected:
    void SetUp() override {
        cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
        files->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
        files->setSearchPaths({"src", "res"});
        TextTable::getInstance().loadTexts("texts", "en", true);

        scene = cocos2d::Scene::create();
        scene->addChild(cocos2d::LayerColor::create(kWall, 1280, 810), -10);
        screen = Node::create();
        screen->setPosition(visibleCenter());
        scene->addChild(screen);
        Node* board = Node::create();
        screen->addChild(board);
        auto* listener = cocos2d::EventListenerTouchOneByOne::create();
        listener->onTouchBegan = [this](cocos2d::Touch*, cocos2d::Event*) {
            ++boardTouches;
            return true;
        };
        Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener,
                                                                                              board);
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(2);
        // The pointer waits in a corner until a test moves it.
        driver().mouseMove(Vec2(1279.0f, 1.0f));
        driver().stepFrames(1);
    }

    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".png"));
        }
    }

    static testing::Driver& driver() { return testing::Driver::get(); }
    static void seconds(float s) {
        driver().stepFrames(std::max(1, static_cast<int>(std::lround(s * 60.0f))));
    }

    FlyNode* addFly(unsigned seed) {
        std::srand(seed);
        FlyNode* layer = FlyNode::create();
        EXPECT_NE(layer, nullptr);
        if (layer != nullptr) {
            screen->addChild(layer);
            layer->setOnSwat([this](const Vec2& at) {
                ++swats;
                swatAt = at;
            });
        }
        return layer;
    }

    // Where a point of the fly's layer is on the screen (design points, which are the window's pixels).
    static Vec2 onScreen(const Vec2& layerPoint) { return layerPoint + visibleCenter(); }

    static bool inside(const Vec2& layerPoint, float margin) {
        return std::fabs(layerPoint.x) <= 640.0f - margin && std::fabs(layerPoint.y) <= 405.0f - margin;
    }

    // Steps until the fly wanders well inside the screen and away from the parked pointer.
    static bool untilWanderingOnScreen(FlyNode* layer) {
        for (int i = 0; i < 90 * 60; ++i) {
            Node* body = layer->getFly();
            if (body != nullptr && layer->canFlee() && inside(body->getPosition(), 60.0f) &&
                std::fabs(body->getScale() - FlyNode::kFlyScale) < 1e-4f) {
                return true;
            }
            driver().stepFrames(1);
        }
        return false;
    }

    // How much a square of the screen around a design point differs from the bare wall, 0..765.
    static float unlikeWall(const Vec2& screenPoint, float half) {
        const Rect rect(screenPoint.x - half, 810.0f - screenPoint.y - half, 2 * half, 2 * half);
        RefPtr<cocos2d::Image> image = driver().readPixels(rect);
        if (!image) {
            ADD_FAILURE() << "no pixels";
            return 0.0f;
        }
        float sum = 0.0f;
        for (int y = 0; y < image->getHeight(); ++y) {
            for (int x = 0; x < image->getWidth(); ++x) {
                const Color4B c = image->getPixel(x, y);
                sum += std::fabs(float(c.r) - kWall.r) + std::fabs(float(c.g) - kWall.g) +
                       std::fabs(float(c.b) - kWall.b);
            }
        }
        return sum / static_cast<float>(image->getWidth() * image->getHeight());
    }

    cocos2d::Scene* scene = nullptr;
    Node* screen = nullptr;
    int boardTouches = 0;
    int swats = 0;
    Vec2 swatAt;
};

TEST_F(FlyNodeTest, TheFlyIsDrawnWanderingOverTheScreen) {
    FlyNode* layer = addFly(41);
    ASSERT_NE(layer, nullptr);
    ASSERT_TRUE(untilWanderingOnScreen(layer));
    driver().saveScreenshot(testing::Driver::outputPath("FlyNode_wandering.png"));
    for (int look = 0; look < 8; ++look) {
        SCOPED_TRACE(look);
        const Vec2 at = layer->getFly()->getPosition();
        EXPECT_TRUE(inside(at, 0.0f)) << at.x << ", " << at.y;
        EXPECT_GT(unlikeWall(onScreen(at), 8.0f), 60.0f) << "the fly is drawn where it is";
        EXPECT_LT(unlikeWall(onScreen(at) + Vec2(0.0f, 60.0f), 8.0f), 5.0f) << "and only there";
        seconds(2.5f);
    }
    EXPECT_EQ(boardTouches, 0);
}

TEST_F(FlyNodeTest, ThePointerComingNearMakesTheFlyFlee) {
    FlyNode* layer = addFly(43);
    ASSERT_NE(layer, nullptr);
    ASSERT_TRUE(untilWanderingOnScreen(layer));
    Node* body = layer->getFly();
    const Vec2 end = layer->getFleeTarget();
    driver().mouseMove(onScreen(body->getPosition() + Vec2(-50.0f, 30.0f)));
    driver().stepFrames(2);
    EXPECT_FALSE(layer->canFlee());
    driver().mouseMove(Vec2(1279.0f, 1.0f));
    seconds(2.1f);
    EXPECT_TRUE(body->getPosition().fuzzyEquals(end, 0.01f))
        << body->getPositionX() << ", " << body->getPositionY();
    EXPECT_GT(unlikeWall(onScreen(end), 8.0f), 60.0f) << "drawn where the flight ended";
}

TEST_F(FlyNodeTest, ASwatHitsTheFlyOnceLeavesABlotAndANewFlyFollows) {
    FlyNode* layer = addFly(47);
    ASSERT_NE(layer, nullptr);
    ASSERT_TRUE(untilWanderingOnScreen(layer));
    const Vec2 p = layer->getFly()->getPosition();
    driver().tap(onScreen(p));
    driver().stepFrames(1);
    EXPECT_EQ(swats, 1);
    EXPECT_TRUE(swatAt.fuzzyEquals(onScreen(p), 1.0f));
    EXPECT_EQ(boardTouches, 0);

    seconds(0.15f);
    driver().saveScreenshot(testing::Driver::outputPath("FlyNode_swatter.png"));
    EXPECT_NE(layer->getChildByTag(FlyNode::kSwatterTag), nullptr);
    // The swatter's head comes down over the fly.
    EXPECT_GT(unlikeWall(onScreen(p), 12.0f), 60.0f);

    seconds(0.5f);
    driver().saveScreenshot(testing::Driver::outputPath("FlyNode_blot.png"));
    EXPECT_EQ(layer->getChildByTag(FlyNode::kSwatterTag), nullptr);
    ASSERT_NE(layer->getFly(), nullptr);
    EXPECT_EQ(layer->getFly()->getName(), "fly_blot");
    EXPECT_GT(unlikeWall(onScreen(p), 12.0f), 60.0f) << "the blot lies where the fly was";

    // A click on the blot is the board's.
    driver().tap(onScreen(p));
    driver().stepFrames(1);
    EXPECT_EQ(swats, 1);
    EXPECT_EQ(boardTouches, 1);

    seconds(1.8f);
    EXPECT_LT(unlikeWall(onScreen(p), 12.0f), 5.0f) << "the blot has faded away";
    EXPECT_TRUE(layer->isSwattable());
    EXPECT_NE(layer->getFly()->getName(), "fly_blot");
    EXPECT_EQ(swats, 1);
}

TEST_F(FlyNodeTest, ASwatBesideTheFlyMissesAndAQuickSecondClickReachesTheBoard) {
    FlyNode* layer = addFly(53);
    ASSERT_NE(layer, nullptr);
    ASSERT_TRUE(untilWanderingOnScreen(layer));
    // The pointer passing beside the fly sends it off; a click where it was misses.
    const Vec2 beside = onScreen(layer->getFly()->getPosition() + Vec2(45.0f, 0.0f));
    driver().tap(beside);
    driver().stepFrames(1);
    EXPECT_EQ(swats, 0);
    EXPECT_EQ(boardTouches, 1);
    EXPECT_FALSE(layer->canFlee());

    // Two clicks in quick succession on the fly: the first swats it, the second goes on to the board.
    const Vec2 at = onScreen(layer->getFly()->getPosition());
    driver().tap(at);
    driver().tap(at);
    driver().stepFrames(1);
    EXPECT_EQ(swats, 1);
    EXPECT_EQ(boardTouches, 2);
}

TEST_F(FlyNodeTest, CalledToTheCentreTheFlyArrivesOnceAndIsSwattedThere) {
    FlyNode* layer = addFly(59);
    ASSERT_NE(layer, nullptr);
    int arrivals = 0;
    layer->flyToCenter([&arrivals] { ++arrivals; });
    seconds(2.1f);
    EXPECT_EQ(arrivals, 1);
    driver().saveScreenshot(testing::Driver::outputPath("FlyNode_centre.png"));
    EXPECT_GT(unlikeWall(visibleCenter(), 8.0f), 60.0f) << "the fly waits in the middle of the screen";

    // Clicks in its first second there go to the board.
    driver().tap(visibleCenter());
    driver().stepFrames(1);
    EXPECT_EQ(swats, 0);
    EXPECT_EQ(boardTouches, 1);

    seconds(1.0f);
    driver().tap(visibleCenter());
    driver().stepFrames(1);
    EXPECT_EQ(swats, 1);
    EXPECT_EQ(boardTouches, 1);
    EXPECT_EQ(arrivals, 1);
}

}  // namespace
