// The drop catcher played on the real engine with a GL view: the shipped level files and art, touches
// injected where the platform's events enter, a small host that drives the game as the minigame
// screen does (its update each frame, the first touch of a gesture forwarded in world coordinates),
// and what reaches the screen read back.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Driver.h"
#include "MinigamePlayHost.h"
#include "MinigameLevel.h"
#include "Profile.h"
#include "Settings.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/events/Touch.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"
#include "engine/scene/Scene.h"
#include "minigames/CurrentMinigame.h"
#include "minigames/DropsPuzzle.h"
#include "ui/NodeFromJson.h"

namespace {

using cocos2d::Vec2;

using minigametest::Host;

class DropsPuzzlePlayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
        files->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
        files->setSearchPaths({"src", "res"});
        const std::string home = testing::Driver::scratchPath("xdg-drops");
        std::filesystem::create_directories(home);
        setenv("XDG_DATA_HOME", home.c_str(), 1);
    }

    void SetUp() override {
        Settings::destroyInstance();
        Settings::getInstance().getCurrentUser() = Profile();
        currentMinigameKind = 2;
        std::srand(3);
    }

    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string("DropsPuzzle_") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png"));
        }
        if (_leftHeld) {
            driver().touchEnded(_finger);
        }
        cocos2d::Director::getInstance()->replaceScene(cocos2d::Scene::create());
        driver().stepFrames(2);
        Settings::destroyInstance();
    }

    static testing::Driver& driver() { return testing::Driver::get(); }

    DropsPuzzle* start(int level) {
        currentMinigameLevel = level;
        cocos2d::Scene* scene = cocos2d::Scene::create();
        game = DropsPuzzle::create();
        if (game == nullptr) {
            return nullptr;
        }
        Host* host = Host::create(game);
        host->setPosition(visibleCenter());
        scene->addChild(host);
        cocos2d::Director::getInstance()->replaceScene(scene);
        driver().stepFrames(2);
        return game;
    }

    // Window pixels (from the top-left) of a point of the drops layer.
    Vec2 pixelOf(const Vec2& layerPoint) const {
        const Vec2 world = game->getDropsLayer()->convertToWorldSpace(layerPoint);
        return Vec2(world.x, 810.0f - world.y);
    }

    // Puts the finger down on the cart's centre and keeps it there.
    void grabCart() {
        _finger = game->getUI()->convertToWorldSpace(game->getCart()->getPosition());
        driver().touchBegan(_finger);
        _leftHeld = true;
        driver().stepFrames(1);
        ASSERT_TRUE(game->isDragging());
    }

    // Moves the held finger so that the cart's centre comes to x (in the "UI" space).
    void moveCartTo(float x) {
        _finger = game->getUI()->convertToWorldSpace(Vec2(x, game->getCart()->getPositionY()));
        driver().touchMoved(_finger);
    }

    // The mean colour of a small square of the last frame.
    cocos2d::Color4B meanColor(const Vec2& pixel, int half = 6) {
        cocos2d::RefPtr<cocos2d::Image> image =
            driver().readPixels(cocos2d::Rect(pixel.x - half, pixel.y - half, 2 * half, 2 * half));
        long sum[3] = {0, 0, 0};
        const int n = image->getWidth() * image->getHeight();
        const unsigned char* data = image->getData();
        for (int i = 0; i < n; ++i) {
            for (int c = 0; c < 3; ++c) {
                sum[c] += data[i * 4 + c];
            }
        }
        return cocos2d::Color4B(static_cast<GLubyte>(sum[0] / n), static_cast<GLubyte>(sum[1] / n),
                                static_cast<GLubyte>(sum[2] / n), 255);
    }

    static bool near(const cocos2d::Color4B& a, const cocos2d::Color4F& b, int tolerance) {
        return std::abs(a.r - static_cast<int>(b.r * 255)) <= tolerance &&
               std::abs(a.g - static_cast<int>(b.g * 255)) <= tolerance &&
               std::abs(a.b - static_cast<int>(b.b * 255)) <= tolerance;
    }

    DropsPuzzle* game = nullptr;
    Vec2 _finger;
    bool _leftHeld = false;
};

TEST_F(DropsPuzzlePlayTest, APlayerWhoFollowsEveryFallingDropWinsTheFirstLevel) {
    ASSERT_NE(start(0), nullptr);
    ASSERT_FLOAT_EQ(game->getLevel().time, 30.0f);
    grabCart();
    bool sawFallingDrop = false;
    bool sawCatch = false;
    int frames = 0;
    while (game->getState() == MinigameState::Playing && frames < 60 * 45) {
        // Follow the falling drop that is lowest.
        cocos2d::Node* lowest = nullptr;
        for (int lane = 0; lane < 4; ++lane) {
            cocos2d::Node* drop = game->getLaneDrop(lane);
            if (drop != nullptr && game->getLaneState(lane) == DropsPuzzle::LaneState::Falling &&
                (lowest == nullptr || drop->getPositionY() < lowest->getPositionY())) {
                lowest = drop;
            }
        }
        if (lowest != nullptr) {
            moveCartTo(lowest->getPositionX() +
                       (game->getCart()->getPositionX() - game->getCartBack()->getPositionX()));
            const int lane = lowest->getTag();
            const float halfway =
                (game->getDropHome(lane).y + game->getSpotPlace(lane).y + DropsPuzzle::kLandingLift) / 2.0f;
            if (!sawFallingDrop && lowest->getPositionY() < halfway) {
                // Halfway down, the drop is on the screen in its lane's colour.
                sawFallingDrop = true;
                driver().stepFrames(1);
                ++frames;
                const Vec2 body =
                    pixelOf(lowest->getPosition() + Vec2(8.0f, -lowest->getContentSize().height * 0.8f));
                const cocos2d::Color4B seen = meanColor(body, 4);
                EXPECT_TRUE(near(seen, game->getLaneColor(lane), 60))
                    << "lane " << lane << " drop shows " << int(seen.r) << "," << int(seen.g) << ","
                    << int(seen.b);
                driver().saveScreenshot(testing::Driver::outputPath("DropsPuzzle_play.png"));
                continue;
            }
        }
        driver().stepFrames(1);
        ++frames;
        if (!sawCatch && game->getCartBack()->getChildrenCount() > 0) {
            sawCatch = true;
            driver().stepFrames(4);  // the splash spreads
            frames += 4;
            driver().saveScreenshot(testing::Driver::outputPath("DropsPuzzle_catch.png"));
        }
    }
    EXPECT_TRUE(sawFallingDrop);
    EXPECT_TRUE(sawCatch);
    EXPECT_EQ(game->getState(), MinigameState::Won);
    EXPECT_EQ(game->getMisses(), 0);
    EXPECT_NEAR(frames / 60.0f, 30.0f, 3.5f) << "won once the time was over and the last drop caught";
    EXPECT_EQ(Settings::getInstance().getCurrentUser().world.minigameWins,
              (std::vector<MinigameLevel>{{2, 0}}));
    driver().saveScreenshot(testing::Driver::outputPath("DropsPuzzle_won.png"));
}

TEST_F(DropsPuzzlePlayTest, APlayerWhoParksTheCartLosesTheLastLevelWithSpotsInTheMissedLanes) {
    ASSERT_NE(start(7), nullptr);
    ASSERT_EQ(game->getLevel().looseCount, 5);
    grabCart();
    moveCartTo(game->getCartMaxX() + 300.0f);  // the cart stops at its travel, over lane 3
    driver().stepFrames(1);
    EXPECT_FLOAT_EQ(game->getCart()->getPositionX(), game->getCartMaxX());
    int frames = 0;
    int waitingAt = -1;
    while (game->getState() != MinigameState::Lost && frames < 60 * 45) {
        driver().stepFrames(1);
        ++frames;
        if (waitingAt < 0 && game->getState() == MinigameState::Waiting) {
            waitingAt = frames;
            EXPECT_EQ(game->getMisses(), 5);
        }
    }
    ASSERT_EQ(game->getState(), MinigameState::Lost);
    EXPECT_EQ(frames - waitingAt, 30);
    EXPECT_TRUE(Settings::getInstance().getCurrentUser().world.minigameWins.empty());
    driver().stepFrames(20);  // the last spots have grown
    driver().saveScreenshot(testing::Driver::outputPath("DropsPuzzle_lost.png"));
    // Spots lie in the lanes the cart never reached, in their lanes' colours; lane 3 was caught.
    int spotted = 0;
    for (int lane = 0; lane < 3; ++lane) {
        const cocos2d::Color4B seen = meanColor(pixelOf(game->getSpotPlace(lane)));
        if (near(seen, game->getLaneColor(lane), 60)) {
            ++spotted;
        }
    }
    EXPECT_GE(spotted, 2) << "five misses over three lanes";
    const cocos2d::Color4B lane3 = meanColor(pixelOf(game->getSpotPlace(3)));
    EXPECT_FALSE(near(lane3, game->getLaneColor(3), 40)) << "no spot under the cart";
}

TEST_F(DropsPuzzlePlayTest, TheCartFollowsTheFingerOnTheScreen) {
    ASSERT_NE(start(2), nullptr);
    const Vec2 cartBefore = pixelOf(game->getUI()->convertToNodeSpace(
        game->getUI()->convertToWorldSpace(game->getCart()->getPosition())));
    const cocos2d::Color4B onCart = meanColor(cartBefore);
    grabCart();
    moveCartTo(game->getCart()->getPositionX() - 330.0f);
    driver().stepFrames(2);
    EXPECT_FLOAT_EQ(game->getCart()->getPositionX(), game->getCartMinX() + 120.0f);
    // Where the cart was, the wall shows now; where it went, the cart.
    const cocos2d::Color4B vacated = meanColor(cartBefore);
    const cocos2d::Color4B arrived = meanColor(cartBefore - Vec2(330.0f, 0.0f));
    auto differs = [](const cocos2d::Color4B& a, const cocos2d::Color4B& b) {
        return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) > 30;
    };
    EXPECT_TRUE(differs(onCart, vacated));
    EXPECT_FALSE(differs(onCart, arrived));
    driver().touchEnded(_finger);
    _leftHeld = false;
    driver().stepFrames(1);
    EXPECT_FALSE(game->isDragging());
}

}  // namespace
