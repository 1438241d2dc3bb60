// The fly layer on the staged resource tree under a real director over a windowless view, stepped with
// a fixed dt and a fixed seed. Pointer moves and touches go through the real event dispatcher, with a
// board stand-in below the fly that claims every touch the fly lets through. As on the level screen,
// the layer sits at (0, 0) of a screen node centred on the visible area.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "engine/actions/Speed.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/events/EventMouse.h"
#include "engine/events/EventTouch.h"
#include "engine/events/Touch.h"
#include "engine/platform/FileUtils.h"
#include "engine/platform/GLView.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrameCache.h"

#include "GameSound.h"
#include "Settings.h"
#include "TextTable.h"
#include "nodes/FlyNode.h"
#include "ui/FactoryNodeRegistry.h"
#include "ui/JsonDocumentCache.h"
#include "ui/NodeFromJson.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Director;
using cocos2d::Node;
using cocos2d::RefPtr;
using cocos2d::Vec2;

constexpr float kFrame = 1.0f / 60.0f;
constexpr float kHalfWidth = 640.0f;
constexpr float kHalfHeight = 405.0f;

class FlyNodeTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        resetServices();
        useResourceRoot(std::string(KESTROVA_RESOURCE_DIR));
        Director::destroyInstance();
        cocos2d::GLView* view = cocos2d::GLView::createHeadless(1280, 810);
        view->setDesignResolutionSize(1280, 810, cocos2d::ResolutionPolicy::SHOW_ALL);
        Director::getInstance()->setOpenGLView(view);
        _scene = cocos2d::Scene::create();
        Director::getInstance()->runWithScene(_scene);
        step(kFrame);

        _screen = Node::create();
        _screen->setPosition(visibleCenter());
        _scene->addChild(_screen);
        // The board lies below the fly and takes whatever touch reaches it.
        Node* board = Node::create();
        _screen->addChild(board);
        auto* listener = cocos2d::EventListenerTouchOneByOne::create();
        listener->onTouchBegan = [this](cocos2d::Touch*, cocos2d::Event*) {
            ++_boardTouches;
            return true;
        };
        Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener,
                                                                                              board);
    }

    void TearDown() override {
        cocos2d::setLogSink({});
        Director::destroyInstance();
        resetServices();
        cocos2d::FileUtils::destroyInstance();
        if (!_tree.empty()) {
            std::error_code ec;
            fs::remove_all(_tree, ec);
        }
    }

    static void resetServices() {
        cocos2d::SpriteFrameCache::destroyInstance();
        JsonDocumentCache::destroyInstance();
        FactoryNodeRegistry::destroyInstance();
        TextTable::destroyInstance();
        Settings::destroyInstance();
        GameSound::destroyInstance();
    }

    static void useResourceRoot(const std::string& root) {
        cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
        files->setResourceRoot(root + "/");
        files->setSearchPaths({"src", "res"});
        files->purgeCachedEntries();
    }

    // The staged tree without some of its folders: every other folder of "res" is linked in.
    void useTreeWithout(const std::set<std::string>& missing) {
        std::string pattern = (fs::temp_directory_path() / "kestrova-fly-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        _tree = pattern;
        fs::create_directories(_tree / "res");
        for (const fs::directory_entry& entry :
             fs::directory_iterator(fs::path(KESTROVA_RESOURCE_DIR) / "res")) {
            if (missing.count(entry.path().filename().string()) == 0) {
                fs::create_symlink(entry.path(), _tree / "res" / entry.path().filename());
            }
        }
        useResourceRoot(_tree.string());
    }

    FlyNode* addFly(unsigned seed) {
        std::srand(seed);
        FlyNode* fly = FlyNode::create();
        if (fly != nullptr) {
            _screen->addChild(fly);
            fly->setOnSwat([this](const Vec2& at) {
                ++_swats;
                _swatAt = at;
            });
        }
        return fly;
    }

    static void step(float seconds) {
        const int frames = std::max(1, static_cast<int>(std::lround(seconds / kFrame)));
        for (int i = 0; i < frames; ++i) {
            Director::getInstance()->stepFrame(kFrame);
        }
    }

    // Steps until the fly is inside the screen and wandering, at most a minute.
    static bool untilWanderingOnScreen(FlyNode* fly) {
        for (int i = 0; i < 60 * 60; ++i) {
            Node* body = fly->getFly();
            if (body != nullptr && fly->canFlee() && inside(body->getPosition(), 40.0f) &&
                std::fabs(body->getScale() - FlyNode::kFlyScale) < 1e-4f) {
                return true;
            }
            step(kFrame);
        }
        return false;
    }

    static bool inside(const Vec2& layerPoint, float margin = 0.0f) {
        return std::fabs(layerPoint.x) <= kHalfWidth - margin &&
               std::fabs(layerPoint.y) <= kHalfHeight - margin;
    }

    // Where a node of the layer is on the screen, in design points.
    static Vec2 onScreen(const Vec2& layerPoint) { return layerPoint + visibleCenter(); }

    static void moveMouse(const Vec2& screenPoint) {
        cocos2d::EventMouse event(cocos2d::EventMouse::MouseEventType::MOUSE_MOVE);
        event.setCursorPosition(screenPoint.x, screenPoint.y);
        Director::getInstance()->getEventDispatcher()->dispatchEvent(&event);
    }

    // A touch that begins and ends at a screen point.
    static void tap(const Vec2& screenPoint) {
        RefPtr<cocos2d::Touch> touch(cocos2d::Touch::create(0, Vec2(screenPoint.x, 810.0f - screenPoint.y)));
        for (auto code : {cocos2d::EventTouch::EventCode::BEGAN, cocos2d::EventTouch::EventCode::ENDED}) {
            cocos2d::EventTouch event;
            event.setEventCode(code);
            event.setTouches({touch.get()});
            Director::getInstance()->getEventDispatcher()->dispatchEvent(&event);
        }
    }

    std::vector<std::string>& captureLog() {
        _log.clear();
        cocos2d::setLogSink([this](cocos2d::LogLevel, const std::string& line) { _log.push_back(line); });
        return _log;
    }

    int logCount(const std::string& text) const {
        int count = 0;
        for (const std::string& line : _log) {
            count += line == text ? 1 : 0;
        }
        return count;
    }

    cocos2d::Scene* _scene = nullptr;
    Node* _screen = nullptr;
    int _boardTouches = 0;
    int _swats = 0;
    Vec2 _swatAt;
    fs::path _tree;
    std::vector<std::string> _log;
};

TEST_F(FlyNodeTest, EachFlySpawnsAboveTheScreenWithItsEyesAndBeatingWings) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        FlyNode* layer = addFly(seed);
        ASSERT_NE(layer, nullptr);
        EXPECT_EQ(layer->getName(), "flyNode");
        EXPECT_EQ(_screen->getChildByName("flyNode"), layer);
        auto* body = dynamic_cast<cocos2d::Sprite*>(layer->getFly());
        ASSERT_NE(body, nullptr);
        EXPECT_EQ(body->getParent(), layer);
        EXPECT_FLOAT_EQ(body->getScale(), FlyNode::kFlyScale);
        // Above the top edge, and over the screen's width rather than beside it.
        EXPECT_FLOAT_EQ(body->getPositionY(), 810.0f);
        EXPECT_GE(body->getPositionX(), -kHalfWidth);
        EXPECT_LT(body->getPositionX(), kHalfWidth);
        ASSERT_NE(layer->getEyes(), nullptr);
        EXPECT_EQ(layer->getEyes()->getParent(), body);
        EXPECT_EQ(layer->getEyes()->getAnchorPoint(), Vec2::ZERO);
        ASSERT_NE(layer->getWingSpeed(), nullptr);
        EXPECT_FLOAT_EQ(layer->getWingSpeed()->getSpeed(), FlyNode::kWingsFlying);
        EXPECT_TRUE(layer->canFlee());
        EXPECT_TRUE(layer->isSwattable());
        EXPECT_EQ(layer->getFleeTarget(), Vec2::ZERO) << "the first flight ends at the screen's centre";
        // The first hop does not carry the fly further up, away from the screen.
        EXPECT_LT(std::fabs(layer->getHop().x), 100.0f);
        EXPECT_LE(layer->getHop().y, 0.0f);
        EXPECT_GT(layer->getHop().y, -100.0f);

        // The wings beat: the frames change from one step to the next.
        std::set<float> shown;
        for (int i = 0; i < 6; ++i) {
            step(kFrame);
            shown.insert(body->getTextureRect().origin.x);
        }
        EXPECT_GE(shown.size(), 2u);
        layer->removeFromParent();
    }
}

TEST_F(FlyNodeTest, OnceEnteredTheFlyWandersAndFliesOnlyInsideTheScreen) {
    for (unsigned seed : {3u, 17u, 29u, 101u, 2024u}) {
        SCOPED_TRACE(seed);
        FlyNode* layer = addFly(seed);
        ASSERT_NE(layer, nullptr);
        bool entered = false;
        int flights = 0;
        int framesInside = 0;
        Vec2 target = layer->getFleeTarget();
        for (int i = 0; i < 120 * 60; ++i) {
            step(kFrame);
            const Vec2 at = layer->getFly()->getPosition();
            EXPECT_LT(std::fabs(layer->getHop().x), 100.0f);
            EXPECT_LT(std::fabs(layer->getHop().y), 100.0f);
            if (layer->getFleeTarget() != target) {
                target = layer->getFleeTarget();
                ++flights;
                EXPECT_TRUE(inside(target)) << target.x << ", " << target.y;
            }
            if (!entered) {
                entered = inside(at);
                continue;
            }
            ++framesInside;
            if (!inside(at)) {
                ADD_FAILURE() << "left the screen at " << at.x << ", " << at.y << " after " << i << " frames";
                break;
            }
        }
        EXPECT_TRUE(entered);
        EXPECT_GT(framesInside, 100 * 60);
        EXPECT_GT(flights, 3) << "a third of the decisions start a flight";
        layer->removeFromParent();
    }
}

TEST_F(FlyNodeTest, ThePointerNearTheFlyStartsAFlightThatThePointerCannotRestart) {
    FlyNode* layer = addFly(7);
    ASSERT_NE(layer, nullptr);
    ASSERT_TRUE(untilWanderingOnScreen(layer));
    Node* body = layer->getFly();
    const Vec2 end = layer->getFleeTarget();

    // Out of reach: nothing happens.
    moveMouse(onScreen(body->getPosition() + Vec2(0.0f, 110.0f)));
    step(kFrame);
    EXPECT_TRUE(layer->canFlee());

    moveMouse(onScreen(body->getPosition() + Vec2(60.0f, 0.0f)));
    step(kFrame);
    EXPECT_FALSE(layer->canFlee());
    // The eyes look at the pointer, four units its way.
    EXPECT_NEAR(layer->getEyes()->getPositionX(), 4.0f, 0.05f);
    EXPECT_NEAR(layer->getEyes()->getPositionY(), 0.0f, 0.3f);
    step(kFrame);
    EXPECT_NE(layer->getFleeTarget(), end) << "the next flight's end is drawn as this one starts";

    // Chasing the fly does not restart its flight: it lands where the flight was going.
    for (int i = 0; i < 105; ++i) {
        moveMouse(onScreen(body->getPosition() + Vec2(20.0f, 20.0f)));
        step(kFrame);
        ASSERT_FALSE(layer->canFlee()) << i;
    }
    // The pointer left behind, the flight ends where it was going; the fly rests there a moment.
    moveMouse(onScreen(end + Vec2(end.x < 0.0f ? 300.0f : -300.0f, 0.0f)));
    step(0.3f);
    EXPECT_TRUE(body->getPosition().fuzzyEquals(end, 1e-3f))
        << body->getPositionX() << ", " << body->getPositionY();
    EXPECT_TRUE(layer->canFlee());
    EXPECT_NEAR(body->getScale(), FlyNode::kFlyScale, 1e-4f);
    EXPECT_FLOAT_EQ(layer->getWingSpeed()->getSpeed(), FlyNode::kWingsResting);
}

TEST_F(FlyNodeTest, AClickOnTheFlySwatsItOnceAndANewFlyComesAfterTheBlot) {
    FlyNode* layer = addFly(11);
    ASSERT_NE(layer, nullptr);
    ASSERT_TRUE(untilWanderingOnScreen(layer));
    captureLog();
    Node* body = layer->getFly();
    const Vec2 p = body->getPosition();
    tap(onScreen(p));
    EXPECT_EQ(_swats, 1);
    EXPECT_EQ(_swatAt, onScreen(p)) << "the click's own location";
    EXPECT_EQ(_boardTouches, 0) << "the claimed touch never reaches the board";
    EXPECT_FALSE(layer->isSwattable());
    EXPECT_FALSE(layer->canFlee());

    Node* swatter = layer->getChildByTag(FlyNode::kSwatterTag);
    ASSERT_NE(swatter, nullptr);
    EXPECT_EQ(swatter->getName(), "fly_swatter");
    EXPECT_EQ(swatter->getLocalZOrder(), FlyNode::kSwatterZOrder);
    EXPECT_TRUE(swatter->getPosition().fuzzyEquals(p + Vec2(30.0f, -177.0f), 1e-3f));
    EXPECT_EQ(swatter->getScaleY(), 0.0f);
    EXPECT_EQ(swatter->getRotation(), -10.0f);
    EXPECT_EQ(swatter->getSkewX(), 10.0f);
    ASSERT_NE(swatter->getChildByName("fly_swatter_clap_effect"), nullptr);
    EXPECT_EQ(swatter->getChildByName("fly_swatter_clap_effect")->getScale(), 0.0f);
    ASSERT_NE(swatter->getChildByName("fly_swatter_shadow"), nullptr);
    EXPECT_EQ(swatter->getChildByName("fly_swatter_shadow")->getOpacity(), 0);

    step(0.1f + kFrame);
    EXPECT_EQ(logCount("playEffect slap"), 1);
    EXPECT_EQ(layer->getFly(), body) << "the fly lies under the swatter until the slap lands";

    step(0.1f);
    Node* blot = layer->getFly();
    ASSERT_NE(blot, nullptr);
    EXPECT_NE(blot, body);
    EXPECT_EQ(blot->getName(), "fly_blot");
    EXPECT_EQ(blot->getParent(), layer);
    EXPECT_TRUE(blot->getPosition().fuzzyEquals(p, 1e-3f));
    ASSERT_NE(layer->getEyes(), nullptr);
    EXPECT_EQ(layer->getEyes()->getName(), "fly_blot_eyes");
    EXPECT_EQ(layer->getWingSpeed(), nullptr);
    EXPECT_FLOAT_EQ(swatter->getScaleY(), 1.0f);
    EXPECT_FLOAT_EQ(swatter->getSkewX(), 0.0f);

    // The blot is not swattable: the click goes on to the board.
    tap(onScreen(p));
    EXPECT_EQ(_swats, 1);
    EXPECT_EQ(_boardTouches, 1);

    step(0.2f + kFrame);
    EXPECT_EQ(layer->getChildByTag(FlyNode::kSwatterTag), nullptr) << "the swatter is gone after 0.4 s";

    // 2.0 s of blot and 0.2 s of fading: then a new fly above the screen.
    step(1.9f);
    EXPECT_EQ(layer->getFly(), blot);
    step(0.1f + 2 * kFrame);
    Node* next = layer->getFly();
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next, blot);
    EXPECT_TRUE(layer->isSwattable());
    EXPECT_GT(next->getPositionY(), kHalfHeight);
    EXPECT_EQ(layer->getChildrenCount(), 1) << "the blot has gone";

    // Several flies can be swatted in one level.
    ASSERT_TRUE(untilWanderingOnScreen(layer));
    tap(onScreen(layer->getFly()->getPosition()));
    EXPECT_EQ(_swats, 2);
    EXPECT_EQ(_boardTouches, 1);
}

TEST_F(FlyNodeTest, OnlyAClickInsideTheFlyIsClaimed) {
    struct Case {
        Vec2 offset;  // from the fly's centre, in design points
        bool claimed;
    };
    // The fly is 64 x 64 at scale 0.7: 22.4 each way.
    const Case cases[] = {
        {Vec2(0.0f, 0.0f), true},   {Vec2(21.0f, 21.0f), true},  {Vec2(-21.0f, -21.0f), true},
        {Vec2(24.0f, 0.0f), false}, {Vec2(0.0f, -24.0f), false}, {Vec2(80.0f, 80.0f), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.offset.x) + ", " + std::to_string(c.offset.y));
        FlyNode* layer = addFly(5);
        ASSERT_NE(layer, nullptr);
        _swats = 0;
        _boardTouches = 0;
        ASSERT_TRUE(untilWanderingOnScreen(layer));
        tap(onScreen(layer->getFly()->getPosition() + c.offset));
        EXPECT_EQ(_swats, c.claimed ? 1 : 0);
        EXPECT_EQ(_boardTouches, c.claimed ? 0 : 1);
        layer->removeFromParent();
    }
}

TEST_F(FlyNodeTest, TheFlyCalledToTheCentreArrivesOnceAndHearsClicksASecondLater) {
    FlyNode* layer = addFly(13);
    ASSERT_NE(layer, nullptr);
    int arrivals = 0;
    layer->flyToCenter([&arrivals] { ++arrivals; });
    EXPECT_FALSE(layer->canFlee());
    Node* body = layer->getFly();
    const Vec2 from = body->getPosition();

    step(1.0f);
    EXPECT_EQ(arrivals, 0);
    EXPECT_LT(body->getPosition().length(), from.length());
    step(1.0f + kFrame);
    EXPECT_EQ(arrivals, 1);
    EXPECT_EQ(body->getPosition(), Vec2::ZERO);

    // For a second after arriving the layer hears nothing: the click reaches the board.
    step(0.5f);
    tap(visibleCenter());
    EXPECT_EQ(_swats, 0);
    EXPECT_EQ(_boardTouches, 1);

    // It stays in the centre, the pointer beside it or not, until it is swatted.
    step(0.5f + 3 * kFrame);
    moveMouse(visibleCenter() + Vec2(30.0f, 0.0f));
    step(5.0f);
    EXPECT_EQ(body->getPosition(), Vec2::ZERO);
    EXPECT_FALSE(layer->canFlee());
    EXPECT_EQ(arrivals, 1);
    tap(visibleCenter());
    EXPECT_EQ(_swats, 1);
    EXPECT_EQ(_boardTouches, 1);
}

TEST_F(FlyNodeTest, ACallToTheCentreDuringASwatLeavesTheBlotToItsEnd) {
    FlyNode* layer = addFly(31);
    ASSERT_NE(layer, nullptr);
    ASSERT_TRUE(untilWanderingOnScreen(layer));
    tap(onScreen(layer->getFly()->getPosition()));
    step(0.5f);
    Node* blot = layer->getFly();
    ASSERT_EQ(blot->getName(), "fly_blot");
    int arrivals = 0;
    layer->flyToCenter([&arrivals] { ++arrivals; });
    step(2.0f);
    EXPECT_EQ(arrivals, 0);
    ASSERT_NE(layer->getFly(), nullptr);
    EXPECT_NE(layer->getFly(), blot) << "the next fly came";
    EXPECT_TRUE(layer->isSwattable());
    // The layer still hears clicks.
    ASSERT_TRUE(untilWanderingOnScreen(layer));
    tap(onScreen(layer->getFly()->getPosition()));
    EXPECT_EQ(_swats, 2);
}

TEST_F(FlyNodeTest, TheBlotsEyesLookAtThePointerFromWhereTheyAreDrawn) {
    NodeFromJson parts("ui/Game");
    RefPtr<Node> reference(parts.createNode("fly_blot"));
    ASSERT_TRUE(reference);
    const Vec2 rest = reference->getChildByName("fly_blot_eyes")->getPosition();

    FlyNode* layer = addFly(19);
    ASSERT_NE(layer, nullptr);
    ASSERT_TRUE(untilWanderingOnScreen(layer));
    const Vec2 p = layer->getFly()->getPosition();
    tap(onScreen(p));
    step(0.2f + kFrame);
    ASSERT_EQ(layer->getEyes()->getName(), "fly_blot_eyes");
    for (const Vec2& direction : {Vec2(1.0f, 0.0f), Vec2(0.0f, -1.0f), Vec2(-0.6f, 0.8f)}) {
        moveMouse(onScreen(p + direction * 300.0f));
        step(kFrame);
        const Vec2 offset = layer->getEyes()->getPosition() - rest;
        EXPECT_NEAR(offset.x, 4.0f * direction.x, 0.1f);
        EXPECT_NEAR(offset.y, 4.0f * direction.y, 0.1f);
    }
}

TEST_F(FlyNodeTest, WithoutItsPartsAFlyIsStillSwattedAndComesBack) {
    useTreeWithout({"ui"});
    FlyNode* layer = addFly(23);
    ASSERT_NE(layer, nullptr);
    ASSERT_TRUE(untilWanderingOnScreen(layer));
    tap(onScreen(layer->getFly()->getPosition()));
    EXPECT_EQ(_swats, 1);
    EXPECT_EQ(layer->getChildByTag(FlyNode::kSwatterTag), nullptr);
    step(0.2f + kFrame);
    EXPECT_EQ(layer->getFly(), nullptr) << "no blot to show";
    step(2.2f + 3 * kFrame);
    ASSERT_NE(layer->getFly(), nullptr);
    EXPECT_TRUE(layer->isSwattable());
}

TEST_F(FlyNodeTest, WithoutItsSheetThereIsNoFlyAndEveryClickReachesTheBoard) {
    useTreeWithout({"fly"});
    captureLog();
    FlyNode* layer = addFly(29);
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->getFly(), nullptr);
    EXPECT_EQ(logCount("FlyNode: [fly/fly.plist] has no fly frame, no fly is shown"), 1);
    step(10.0f);
    moveMouse(visibleCenter());
    tap(visibleCenter());
    layer->flyToCenter([] { FAIL() << "no fly arrives"; });
    step(3.0f);
    EXPECT_EQ(_swats, 0);
    EXPECT_EQ(_boardTouches, 1);
}

}  // namespace
