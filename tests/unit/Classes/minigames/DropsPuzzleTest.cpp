// The drop catcher's rules on the real engine over a windowless view: its real description and
// sheets from the staged resource tree, its level files written into a temporary resource root that
// is searched first.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/2d/ParticleSystemQuad.h"
#include "engine/base/RefPtr.h"
#include "engine/platform/FileUtils.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SpriteFrameCache.h"

#include "GameSound.h"
#include "minigames/CurrentMinigame.h"
#include "minigames/DropsPuzzle.h"
#include "ui/JsonDocumentCache.h"
#include "ui/NodeFromJson.h"
#include "../../engine/HeadlessEngine.h"
#include "../SaveTestSupport.h"

namespace {

using cocos2d::Node;
using cocos2d::Vec2;
using Lane = DropsPuzzle::LaneState;

class DropsPuzzleTest : public enginetest::HeadlessEngine {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        HeadlessEngine::SetUp();
        resetServices();
        cocos2d::FileUtils::getInstance()->setResourceRoot(_folder.path());
        cocos2d::FileUtils::getInstance()->setSearchPaths({std::string(KESTROVA_RESOURCE_DIR) + "/res/"});
        std::filesystem::create_directories(_folder.file("minigamelevels"));
        savetest::resetGameState();
        currentMinigameKind = 2;
        currentMinigameLevel = 5;
        std::srand(7);
        scene = cocos2d::Scene::create();
        director()->runWithScene(scene);
        step();
    }

    void TearDown() override {
        game = nullptr;
        cocos2d::setLogSink({});
        director()->end();
        step();
        HeadlessEngine::TearDown();
        resetServices();
        savetest::resetGameState();
    }

    static void resetServices() {
        cocos2d::SpriteFrameCache::destroyInstance();
        JsonDocumentCache::destroyInstance();
        GameSound::destroyInstance();
        cocos2d::FileUtils::destroyInstance();
    }

    // Level 5 of the drop catcher, the level the tests play.
    void writeLevel(float time, int looseCount, float fall, float grow) {
        std::string text =
            "<Level time=\"" + std::to_string(time) + "\" loosecount=\"" + std::to_string(looseCount) + "\">";
        for (int lane = 0; lane < 4; ++lane) {
            text +=
                "<Lane falltime=\"" + std::to_string(fall) + "\" gentime=\"" + std::to_string(grow) + "\"/>";
        }
        writeText("minigamelevels/DropsPuzzle_5.xml", text + "</Level>");
    }

    void writeText(const std::string& path, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(_folder.file(path)).parent_path());
        savetest::writeFileText(_folder.file(path), text);
        cocos2d::FileUtils::getInstance()->purgeCachedEntries();
    }

    // The game on the scene, centred on the view as its host places it.
    DropsPuzzle* start() {
        game = DropsPuzzle::create();
        if (game != nullptr) {
            game->setPosition(visibleCenter());
            scene->addChild(game.get());
        }
        return game.get();
    }

    // One frame as the host runs it: the engine's frame (actions), then the game's update.
    void frame(int n = 1) {
        for (int i = 0; i < n; ++i) {
            step();
            if (game) {
                game->update(enginetest::kFrame);
            }
        }
    }
    void seconds(float s) { frame(static_cast<int>(std::lround(s * 60.0f))); }

    // A world point of the drops layer.
    Vec2 world(const Vec2& layerPoint) const {
        return game->getDropsLayer()->convertToWorldSpace(layerPoint);
    }

    // Drags the cart by its centre so that its x becomes `x` (in the "UI" space).
    void dragCartTo(float x) {
        Node* cart = game->getCart();
        const Vec2 grab = game->getUI()->convertToWorldSpace(cart->getPosition());
        game->touchBegan(grab);
        game->touchMoved(grab + Vec2(x - cart->getPositionX(), 0.0f));
        game->touchEnded(grab + Vec2(x - cart->getPositionX(), 0.0f));
    }

    cocos2d::Scene* scene = nullptr;
    cocos2d::RefPtr<DropsPuzzle> game;
    savetest::TempFolder _folder;
};

TEST_F(DropsPuzzleTest, StartsPlayingWithLanesLaidOutFromTheDescription) {
    writeLevel(40.0f, 7, 1.4f, 1.0f);
    ASSERT_NE(start(), nullptr);
    EXPECT_EQ(game->getState(), MinigameState::Playing);
    EXPECT_FALSE(game->isInputLocked());
    EXPECT_FLOAT_EQ(game->getTimeLeft(), 40.0f);
    EXPECT_EQ(game->getMisses(), 0);
    EXPECT_EQ(game->getLevel().looseCount, 7);
    Node* layer = game->getDropsLayer();
    for (int lane = 0; lane < 4; ++lane) {
        SCOPED_TRACE(lane);
        Node* drop = layer->getChildByName("drop_" + std::to_string(lane));
        Node* spot = layer->getChildByName("spot_" + std::to_string(lane));
        ASSERT_NE(drop, nullptr);
        ASSERT_NE(spot, nullptr);
        EXPECT_FALSE(drop->isVisible());
        EXPECT_FALSE(spot->isVisible());
        // The template hangs from its top centre where it stood: the description's frame (y 105..185,
        // lanes 220 apart from x 280; spots at y 525..565) in the layer's centre-origin space.
        EXPECT_EQ(game->getDropHome(lane), Vec2(-330.0f + 220.0f * lane, 300.0f));
        EXPECT_EQ(game->getSpotPlace(lane), Vec2(-330.0f + 220.0f * lane, -140.0f));
        EXPECT_EQ(game->getLaneState(lane), Lane::Idle);
        EXPECT_EQ(game->getLaneDrop(lane), nullptr);
        EXPECT_GE(game->getLaneTimer(lane), 0.3f);
        EXPECT_LE(game->getLaneTimer(lane), 3.27f);
    }
    EXPECT_FLOAT_EQ(game->getCartMinX(), game->getCart()->getPositionX() - 450.0f);
    EXPECT_FLOAT_EQ(game->getCartMaxX(), game->getCart()->getPositionX() + 450.0f);
}

TEST_F(DropsPuzzleTest, ADropGrowsAtItsHomeThenWaitsThenFallsToAboveItsSpot) {
    writeLevel(0.01f, 10, 1.0f, 0.5f);  // no lane starts by itself
    ASSERT_NE(start(), nullptr);
    dragCartTo(game->getCartMaxX());  // away from lanes 0 to 2
    game->growDrop(1);
    Node* drop = game->getLaneDrop(1);
    ASSERT_NE(drop, nullptr);
    EXPECT_EQ(game->getLaneState(1), Lane::Growing);
    EXPECT_EQ(drop->getParent(), game->getDropsLayer());
    EXPECT_EQ(drop->getLocalZOrder(), 3);
    EXPECT_EQ(drop->getTag(), 1);
    EXPECT_EQ(drop->getAnchorPoint(), Vec2(0.5f, 1.0f));
    EXPECT_EQ(drop->getPosition(), game->getDropHome(1));
    EXPECT_FLOAT_EQ(drop->getScale(), 0.0f);
    EXPECT_GE(game->getLaneTimer(1), 0.0f);
    EXPECT_LT(game->getLaneTimer(1), 2.0f);
    seconds(0.25f);
    EXPECT_NEAR(drop->getScale(), 0.5f, 0.05f);
    seconds(0.3f);
    EXPECT_EQ(game->getLaneState(1), Lane::Ready);
    EXPECT_FLOAT_EQ(drop->getScale(), 1.0f);
    EXPECT_EQ(drop->getPosition(), game->getDropHome(1)) << "a ready drop waits at home";
    // The first fall waits for the fall clock, which started with the game: at 0.7 s. Time is over, so
    // nothing else starts meanwhile.
    int waited = 0;
    while (game->getLaneState(1) == Lane::Ready && waited < 60) {
        frame();
        ++waited;
    }
    ASSERT_EQ(game->getLaneState(1), Lane::Falling);
    EXPECT_NEAR(static_cast<float>(waited) / 60.0f, 0.7f - 0.55f, 1.5f / 60.0f);
    seconds(0.5f);
    // Halfway from its home to just above its spot.
    EXPECT_NEAR(drop->getPositionY(),
                (game->getDropHome(1).y + game->getSpotPlace(1).y + DropsPuzzle::kLandingLift) / 2.0f, 12.0f);
    EXPECT_FLOAT_EQ(drop->getPositionX(), game->getDropHome(1).x);
    seconds(0.45f);
    EXPECT_EQ(game->getLaneState(1), Lane::Falling);
    seconds(0.1f);
    EXPECT_EQ(game->getMisses(), 1);
    EXPECT_EQ(game->getLaneState(1), Lane::Idle);
    EXPECT_EQ(game->getLaneDrop(1), nullptr);
}

TEST_F(DropsPuzzleTest, ReadyLanesFallLowestFirstAtMostOnePerFallGap) {
    writeLevel(0.01f, 10, 3.0f, 0.2f);
    ASSERT_NE(start(), nullptr);
    game->growDrop(3);
    game->growDrop(0);
    game->growDrop(2);
    // Let them grow without the game's update, so that all three are ready at one moment.
    step(30);
    ASSERT_EQ(game->getLaneState(0), Lane::Ready);
    ASSERT_EQ(game->getLaneState(2), Lane::Ready);
    ASSERT_EQ(game->getLaneState(3), Lane::Ready);
    std::vector<int> order;
    std::vector<int> frames;
    for (int f = 1; f <= 200 && order.size() < 3; ++f) {
        game->updateLanes(enginetest::kFrame);
        for (int lane : {0, 2, 3}) {
            if (game->getLaneState(lane) == Lane::Falling &&
                std::find(order.begin(), order.end(), lane) == order.end()) {
                order.push_back(lane);
                frames.push_back(f);
            }
        }
        step();
    }
    EXPECT_EQ(order, (std::vector<int>{0, 2, 3}));
    ASSERT_EQ(frames.size(), 3u);
    // The clock started at 0 with the game: the first fall comes at 0.7 s, each next one 0.7 s later.
    EXPECT_EQ(frames[0], 42);
    EXPECT_EQ(frames[1] - frames[0], 42);
    EXPECT_EQ(frames[2] - frames[1], 42);
}

TEST_F(DropsPuzzleTest, DropsAreCaughtInsideTheWidenedCartBackAndNowhereElse) {
    writeLevel(0.01f, 10, 1.0f, 0.2f);
    ASSERT_NE(start(), nullptr);
    const cocos2d::Rect box = game->getCartBack()->getBoundingBox();
    const cocos2d::Rect zone = game->catchZone();
    EXPECT_FLOAT_EQ(zone.getMinX(), box.getMinX() - 10.0f);
    EXPECT_FLOAT_EQ(zone.getMaxX(), box.getMaxX() + 10.0f);
    EXPECT_FLOAT_EQ(zone.getMinY(), box.getMinY() - 30.0f);
    EXPECT_FLOAT_EQ(zone.getMaxY(), box.getMaxY());
    struct Case {
        const char* what;
        Vec2 at;
        bool caught;
    };
    const float midX = box.getMidX();
    const float midY = box.getMidY();
    const std::vector<Case> cases = {
        {"centre", {midX, midY}, true},
        {"9 px left of the box", {box.getMinX() - 9.5f, midY}, true},
        {"11 px left of the box", {box.getMinX() - 10.5f, midY}, false},
        {"9 px right of the box", {box.getMaxX() + 9.5f, midY}, true},
        {"11 px right of the box", {box.getMaxX() + 10.5f, midY}, false},
        {"29 px below the box", {midX, box.getMinY() - 29.5f}, true},
        {"31 px below the box", {midX, box.getMinY() - 30.5f}, false},
        {"just inside the top", {midX, box.getMaxY() - 0.5f}, true},
        {"just above the top", {midX, box.getMaxY() + 0.5f}, false},
        {"below and beside", {box.getMinX() - 9.5f, box.getMinY() - 29.5f}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        game->growDrop(2);
        Node* drop = game->getLaneDrop(2);
        ASSERT_NE(drop, nullptr);
        drop->stopAllActions();
        drop->setPosition(c.at);
        const ssize_t particlesBefore = game->getCartBack()->getChildrenCount();
        const int missesBefore = game->getMisses();
        game->catchDrops();
        if (c.caught) {
            EXPECT_EQ(game->getLaneDrop(2), nullptr);
            EXPECT_EQ(game->getLaneState(2), Lane::Idle);
            ASSERT_EQ(game->getCartBack()->getChildrenCount(), particlesBefore + 1);
            auto* splash =
                dynamic_cast<cocos2d::ParticleSystemQuad*>(game->getCartBack()->getChildren().back());
            ASSERT_NE(splash, nullptr);
            EXPECT_EQ(splash->getLocalZOrder(), 1);
            EXPECT_EQ(splash->getPosition(), Vec2(game->getCartBack()->getContentSize().width / 2.0f, 25.0f));
            const cocos2d::Color4F lane = game->getLaneColor(2);
            EXPECT_NEAR(lane.r, 212.0f / 255.0f, 1e-4);
            EXPECT_NEAR(lane.g, 57.0f / 255.0f, 1e-4);
            EXPECT_NEAR(lane.b, 38.0f / 255.0f, 1e-4);
            EXPECT_FLOAT_EQ(splash->getStartColor().r, lane.r);
            EXPECT_FLOAT_EQ(splash->getEndColor().b, lane.b);
            EXPECT_FLOAT_EQ(splash->getEndColor().a, 1.0f);
            EXPECT_EQ(game->getMisses(), missesBefore);
        } else {
            EXPECT_EQ(game->getLaneDrop(2), drop);
            EXPECT_EQ(game->getCartBack()->getChildrenCount(), particlesBefore);
            game->dropLanded(drop, 2);  // clear the lane for the next case
            step(20);
        }
    }
    step(120);
    EXPECT_EQ(game->getCartBack()->getChildrenCount(), 0) << "each splash removes itself when it is done";
}

TEST_F(DropsPuzzleTest, AMissedDropShrinksAwayAndLeavesASpotForGood) {
    writeLevel(0.01f, 10, 0.5f, 0.1f);
    ASSERT_NE(start(), nullptr);
    dragCartTo(game->getCartMaxX());
    Node* layer = game->getDropsLayer();
    const ssize_t before = layer->getChildrenCount();
    game->growDrop(0);
    cocos2d::RefPtr<Node> drop(game->getLaneDrop(0));
    seconds(0.2f);
    game->dropFall(0);
    EXPECT_FLOAT_EQ(game->getFallClock(), 0.0f);
    seconds(0.5f);
    frame();
    EXPECT_EQ(game->getMisses(), 1);
    EXPECT_EQ(game->getLaneState(0), Lane::Idle);
    EXPECT_EQ(drop->getPosition(), game->getSpotPlace(0) + Vec2(0.0f, 20.0f));
    ASSERT_EQ(layer->getChildrenCount(), before + 2) << "the shrinking drop and its spot";
    Node* spot = nullptr;
    for (Node* child : layer->getChildren()) {
        if (child != drop.get() && child->getName().empty()) {
            spot = child;
        }
    }
    ASSERT_NE(spot, nullptr);
    EXPECT_EQ(spot->getLocalZOrder(), 1);
    EXPECT_EQ(spot->getPosition(), game->getSpotPlace(0));
    EXPECT_EQ(spot->getAnchorPoint(), Vec2(0.5f, 0.5f));
    EXPECT_LT(spot->getScale(), 0.3f);
    seconds(0.3f);
    EXPECT_FLOAT_EQ(spot->getScale(), 1.0f);
    EXPECT_FLOAT_EQ(drop->getScale(), 0.0f);
    EXPECT_EQ(drop->getParent(), nullptr) << "the drop is gone";
    EXPECT_EQ(spot->getParent(), layer);
    EXPECT_EQ(layer->getChildrenCount(), before + 1);
    seconds(3.0f);
    EXPECT_EQ(spot->getParent(), layer) << "spots stay";
}

TEST_F(DropsPuzzleTest, TheMissThatReachesTheLooseCountLosesHalfASecondLater) {
    for (const int looseCount : {0, 1, 3}) {
        SCOPED_TRACE(looseCount);
        writeLevel(60.0f, looseCount, 0.3f, 0.1f);
        ASSERT_NE(start(), nullptr);
        dragCartTo(game->getCartMaxX());  // only lane 3 can be caught
        int decidedFrame = -1;
        int lostFrame = -1;
        for (int f = 0; f < 60 * 30 && lostFrame < 0; ++f) {
            frame();
            if (decidedFrame < 0 && game->getState() == MinigameState::Waiting) {
                decidedFrame = f;
                EXPECT_EQ(game->getMisses(), looseCount);
            }
            if (game->getState() == MinigameState::Lost) {
                lostFrame = f;
            }
        }
        ASSERT_GE(decidedFrame, 0);
        if (looseCount == 0) {
            EXPECT_EQ(decidedFrame, 0) << "a count of 0 loses at once";
        }
        EXPECT_EQ(lostFrame - decidedFrame, 30);
        EXPECT_TRUE(game->isInputLocked());
        const float timeLeft = game->getTimeLeft();
        frame(10);
        EXPECT_FLOAT_EQ(game->getTimeLeft(), timeLeft) << "a decided game no longer updates";
        game->removeFromParent();
        game = nullptr;
    }
}

TEST_F(DropsPuzzleTest, TheLevelIsWonOnlyWhenTheTimeIsOverAndTheLastDropIsGone) {
    writeLevel(1.0f, 100, 1.5f, 0.3f);
    ASSERT_NE(start(), nullptr);
    // Every lane starts once within the second: the timers are at most 3.27 s, so force them early.
    for (int lane = 0; lane < 4; ++lane) {
        game->growDrop(lane);
    }
    seconds(1.05f);
    ASSERT_LE(game->getTimeLeft(), 0.0f);
    EXPECT_EQ(game->getState(), MinigameState::Playing);
    int live = 0;
    for (int lane = 0; lane < 4; ++lane) {
        live += game->getLaneDrop(lane) != nullptr ? 1 : 0;
    }
    EXPECT_GT(live, 0) << "drops that started before the end go on";
    int wonFrame = -1;
    for (int f = 0; f < 60 * 10 && wonFrame < 0; ++f) {
        const bool dropsLeft =
            game->getLaneDrop(0) || game->getLaneDrop(1) || game->getLaneDrop(2) || game->getLaneDrop(3);
        frame();
        if (game->getState() == MinigameState::Won) {
            wonFrame = f;
            EXPECT_TRUE(dropsLeft) << "won in the frame the last drop went";
        } else {
            for (int lane = 0; lane < 4; ++lane) {
                EXPECT_NE(game->getLaneState(lane), Lane::Growing) << "no new drop after the time";
            }
        }
    }
    ASSERT_GE(wonFrame, 0);
    EXPECT_TRUE(game->isInputLocked());
    EXPECT_EQ(Settings::getInstance().getCurrentUser().world.minigameWins,
              (std::vector<MinigameLevel>{{2, 5}}));
}

TEST_F(DropsPuzzleTest, TheCartFollowsTheGrabPointAndStopsAtItsTravel) {
    writeLevel(30.0f, 10, 1.0f, 1.0f);
    ASSERT_NE(start(), nullptr);
    Node* cart = game->getCart();
    Node* back = game->getCartBack();
    const float startX = cart->getPositionX();
    const float offset = startX - back->getPositionX();
    struct Case {
        float grabDx;
        float moveDx;
        float expectedX;
    };
    for (const Case& c : {Case{0.0f, 100.0f, startX + 100.0f}, Case{-90.0f, -200.0f, startX - 200.0f},
                          Case{80.0f, 449.0f, startX + 449.0f}, Case{80.0f, 700.0f, startX + 450.0f},
                          Case{-100.0f, -900.0f, startX - 450.0f}}) {
        SCOPED_TRACE(c.grabDx + c.moveDx);
        cart->setPositionX(startX);
        back->setPositionX(startX - offset);
        const Vec2 grab = game->getUI()->convertToWorldSpace(cart->getPosition() + Vec2(c.grabDx, 10.0f));
        game->touchBegan(grab);
        EXPECT_TRUE(game->isDragging());
        game->touchMoved(grab + Vec2(c.moveDx / 2.0f, 30.0f));
        game->touchMoved(grab + Vec2(c.moveDx, -20.0f));
        EXPECT_FLOAT_EQ(cart->getPositionX(), c.expectedX);
        EXPECT_FLOAT_EQ(cart->getPositionX() - back->getPositionX(), offset)
            << "the catching zone moves along";
        if (c.expectedX == startX + c.moveDx) {
            // The grab point stays under the finger.
            EXPECT_NEAR(
                game->getUI()->convertToNodeSpace(grab + Vec2(c.moveDx, 0.0f)).x - cart->getPositionX(),
                c.grabDx, 1e-3);
        }
        game->touchEnded(grab + Vec2(c.moveDx, 0.0f));
        EXPECT_FALSE(game->isDragging());
        EXPECT_FALSE(game->isPressed());
    }
}

TEST_F(DropsPuzzleTest, NoDragStartsOffTheCartWhileLockedOrWhileALossIsPending) {
    writeLevel(30.0f, 10, 1.0f, 1.0f);
    ASSERT_NE(start(), nullptr);
    Node* cart = game->getCart();
    const Vec2 onCart = game->getUI()->convertToWorldSpace(cart->getPosition());
    const float startX = cart->getPositionX();
    struct Case {
        const char* what;
        Vec2 at;
        bool locked;
        MinigameState state;
    };
    const std::vector<Case> cases = {
        {"above the cart", onCart + Vec2(0.0f, cart->getContentSize().height), false, MinigameState::Playing},
        {"beside the cart", onCart + Vec2(cart->getContentSize().width, 0.0f), false, MinigameState::Playing},
        {"input locked", onCart, true, MinigameState::Playing},
        {"loss pending", onCart, false, MinigameState::Waiting},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        game->setInputLocked(c.locked);
        game->setState(c.state);
        game->touchBegan(c.at);
        EXPECT_TRUE(game->isPressed());
        EXPECT_FALSE(game->isDragging());
        game->touchMoved(c.at + Vec2(200.0f, 0.0f));
        EXPECT_FLOAT_EQ(cart->getPositionX(), startX);
        game->touchEnded(c.at + Vec2(200.0f, 0.0f));
    }
}

TEST_F(DropsPuzzleTest, NothingAdvancesUnlessPlayingWithInputFree) {
    writeLevel(30.0f, 10, 1.0f, 1.0f);
    ASSERT_NE(start(), nullptr);
    game->setInputLocked(true);
    frame(30);
    EXPECT_FLOAT_EQ(game->getTimeLeft(), 30.0f);
    EXPECT_FLOAT_EQ(game->getFallClock(), 0.0f);
    game->setInputLocked(false);
    game->setState(MinigameState::Waiting);
    frame(30);
    EXPECT_FLOAT_EQ(game->getTimeLeft(), 30.0f);
    game->setState(MinigameState::Playing);
    frame(30);
    EXPECT_NEAR(game->getTimeLeft(), 29.5f, 1e-3);
}

TEST_F(DropsPuzzleTest, StopFreezesTheDropsAndCancelsAPendingLoss) {
    writeLevel(30.0f, 1, 1.0f, 0.1f);
    ASSERT_NE(start(), nullptr);
    dragCartTo(game->getCartMaxX());
    game->growDrop(0);
    game->growDrop(1);
    seconds(0.2f);
    game->dropFall(0);
    seconds(0.3f);
    Node* falling = game->getLaneDrop(0);
    Node* waiting = game->getLaneDrop(1);
    ASSERT_NE(falling, nullptr);
    game->stop();
    EXPECT_TRUE(game->isInputLocked());
    const Vec2 at = falling->getPosition();
    step(120);
    EXPECT_EQ(falling->getPosition(), at);
    EXPECT_EQ(waiting->getNumberOfRunningActions(), 0);
    EXPECT_EQ(game->getMisses(), 0);

    // A loss that is pending when the host stops the game never comes.
    game->removeFromParent();
    game = nullptr;
    writeLevel(30.0f, 0, 1.0f, 0.1f);
    ASSERT_NE(start(), nullptr);
    frame();
    ASSERT_EQ(game->getState(), MinigameState::Waiting);
    game->stop();
    step(60);
    EXPECT_EQ(game->getState(), MinigameState::Waiting);
}

TEST_F(DropsPuzzleTest, LeavingReleasesTheGamesResourcesButARestartKeepsThem) {
    writeLevel(30.0f, 10, 1.0f, 1.0f);
    for (const bool restart : {true, false}) {
        SCOPED_TRACE(restart);
        ASSERT_NE(start(), nullptr);
        ASSERT_NE(cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName("drop_2.png"), nullptr);
        game->setRestart(restart);
        savetest::LogCapture log;
        game->removeFromParent();
        game = nullptr;
        step();
        std::vector<std::string> banners;
        for (const std::string& line : log.lines) {
            if (line == "~DropsPuzzle" || line.rfind("after clear\n", 0) == 0 ||
                line.rfind("=== MinigameBase::~MinigameBase ===", 0) == 0) {
                banners.push_back(line.substr(0, line.find('\n')));
            }
        }
        if (restart) {
            EXPECT_EQ(banners,
                      (std::vector<std::string>{"~DropsPuzzle", "=== MinigameBase::~MinigameBase ==="}));
            EXPECT_NE(cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName("drop_2.png"), nullptr);
        } else {
            EXPECT_EQ(banners, (std::vector<std::string>{"~DropsPuzzle", "after clear",
                                                         "=== MinigameBase::~MinigameBase ==="}));
            EXPECT_EQ(cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName("drop_2.png"), nullptr);
        }
    }
}

TEST_F(DropsPuzzleTest, ADescriptionWithoutWhatTheGameNeedsFailsItsCreateWithOneLine) {
    writeLevel(30.0f, 10, 1.0f, 1.0f);
    struct Case {
        const char* what;
        std::string description;
        const char* line;
    };
    const std::string drops =
        "{\"name\":\"drop_0\",\"x\":0,\"y\":0,\"w\":6,\"h\":8},"
        "{\"name\":\"drop_1\",\"x\":0,\"y\":0,\"w\":6,\"h\":8},"
        "{\"name\":\"drop_2\",\"x\":0,\"y\":0,\"w\":6,\"h\":8},"
        "{\"name\":\"drop_3\",\"x\":0,\"y\":0,\"w\":6,\"h\":8},"
        "{\"name\":\"spot_0\",\"x\":0,\"y\":0,\"w\":6,\"h\":8},"
        "{\"name\":\"spot_1\",\"x\":0,\"y\":0,\"w\":6,\"h\":8},"
        "{\"name\":\"spot_3\",\"x\":0,\"y\":0,\"w\":6,\"h\":8}";
    const std::vector<Case> cases = {
        {"no UI", "{\"nodes\":[{\"name\":\"background\",\"x\":0,\"y\":0,\"w\":8,\"h\":8}]}", "no \"UI\""},
        {"no drops layer", "{\"nodes\":[{\"name\":\"UI\",\"x\":0,\"y\":0,\"w\":8,\"h\":8}]}",
         "no \"drops_layer\""},
        {"no cart back",
         "{\"nodes\":[{\"name\":\"UI\",\"x\":0,\"y\":0,\"w\":8,\"h\":8,\"nodes\":[{\"name\":\"drops_layer\","
         "\"x\":0,"
         "\"y\":0,\"w\":8,\"h\":8},{\"name\":\"cart\",\"x\":0,\"y\":0,\"w\":8,\"h\":8}]}]}",
         "no \"cart_back\""},
        {"no spot 2",
         "{\"nodes\":[{\"name\":\"UI\",\"x\":0,\"y\":0,\"w\":8,\"h\":8,\"nodes\":[{\"name\":\"drops_layer\","
         "\"x\":0,"
         "\"y\":0,\"w\":8,\"h\":8,\"nodes\":[{\"name\":\"cart_back\",\"x\":0,\"y\":0,\"w\":8,\"h\":8}," +
             drops + "]},{\"name\":\"cart\",\"x\":0,\"y\":0,\"w\":8,\"h\":8}]}]}",
         "no \"spot_2\""},
        {"not JSON", "{\"nodes\":[", "no \"UI\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        JsonDocumentCache::destroyInstance();
        writeText("Minigames/DropsPuzzle/ccnode.json", c.description);
        savetest::LogCapture log;
        EXPECT_EQ(DropsPuzzle::create(), nullptr);
        bool found = false;
        for (const std::string& line : log.lines) {
            found =
                found || line == std::string("DropsPuzzle: Minigames/DropsPuzzle/ccnode.json has ") + c.line;
        }
        EXPECT_TRUE(found);
        step();
    }
}

}  // namespace
