// The reagent flask built from the staged "ui/Game" description under a real director over a
// windowless view, with the real audio service on SDL's dummy driver. Time is stepped with a fixed dt:
// the director's frames run the flask's animations, and the test feeds the flask's own update the way
// the level screen does.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "engine/2d/ParticleSystemQuad.h"
#include "engine/2d/ProgressTimer.h"
#include "engine/audio/AudioEngine.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/platform/FileUtils.h"
#include "engine/platform/GLView.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SpriteFrameCache.h"

#include "GameSound.h"
#include "Settings.h"
#include "TextTable.h"
#include "gameBoard/FlaskLiquid.h"
#include "ui/FactoryClasses.h"
#include "ui/FactoryNodeRegistry.h"
#include "ui/JsonDocumentCache.h"
#include "ui/NodeFromJson.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Director;
using cocos2d::Node;
using cocos2d::RefPtr;
using cocos2d::Vec2;
using cocos2d::experimental::AudioEngine;
using cocos2d::experimental::AudioState;

constexpr float kFrame = 1.0f / 60.0f;

class FlaskLiquidTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        resetServices();
        useResourceRoot(std::string(KESTROVA_RESOURCE_DIR));
        Director::destroyInstance();
        cocos2d::GLView* view = cocos2d::GLView::createHeadless(1280, 810);
        view->setDesignResolutionSize(1280, 810, cocos2d::ResolutionPolicy::SHOW_ALL);
        Director::getInstance()->setOpenGLView(view);
        registerFactoryClasses();
        _scene = cocos2d::Scene::create();
        Director::getInstance()->runWithScene(_scene);
        Director::getInstance()->stepFrame(kFrame);
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
        std::string pattern = (fs::temp_directory_path() / "kestrova-flask-XXXXXX").string();
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

    // The flask as the level's HUD holds it, on the running scene.
    FlaskLiquid* hudFlask() {
        NodeFromJson loader("ui/Game");
        Node* node = loader.createNode("dropsProgres");
        auto* flask = dynamic_cast<FlaskLiquid*>(node);
        if (flask != nullptr) {
            _scene->addChild(flask);
        }
        return flask;
    }

    // A flask with no children at all.
    FlaskLiquid* bareFlask() {
        FlaskLiquid* flask = FlaskLiquid::create();
        _scene->addChild(flask);
        return flask;
    }

    // Seconds of frames, with the level screen's call of the flask's update in each.
    static void play(FlaskLiquid* flask, float seconds) {
        const int frames = static_cast<int>(std::lround(seconds / kFrame));
        for (int i = 0; i < frames; ++i) {
            Director::getInstance()->stepFrame(kFrame);
            flask->update(kFrame);
        }
    }

    // Frames without the flask's update: a paused level, or a flask that is not started.
    static void frames(float seconds) {
        const int n = static_cast<int>(std::lround(seconds / kFrame));
        for (int i = 0; i < n; ++i) {
            Director::getInstance()->stepFrame(kFrame);
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
    fs::path _tree;
    std::vector<std::string> _log;
};

TEST_F(FlaskLiquidTest, TheDescriptionBuildsAFlaskWhoseFillerGrowsUpwardsUnderItsFrame) {
    FlaskLiquid* flask = hudFlask();
    ASSERT_NE(flask, nullptr) << "\"FlaskLiquid\" is a registered class";
    EXPECT_EQ(flask->getName(), "dropsProgres");
    cocos2d::ProgressTimer* filler = flask->getFiller();
    ASSERT_NE(filler, nullptr);
    EXPECT_EQ(filler->getBarChangeRate(), Vec2(0.0f, 1.0f));
    EXPECT_EQ(filler->getMidpoint(), Vec2(0.0f, 0.0f)) << "from the bottom edge";
    ASSERT_NE(flask->getChildByName("ramka"), nullptr);
    EXPECT_EQ(flask->getChildByName("ramka")->getLocalZOrder(), FlaskLiquid::kFrameZOrder);
    EXPECT_GT(FlaskLiquid::kFrameZOrder, filler->getLocalZOrder());
    EXPECT_NE(flask->getChildByTag(FlaskLiquid::kSurfaceTag), nullptr);

    // Constructed: stopped, nothing held, no warning, no surface yet.
    EXPECT_TRUE(flask->isStopped());
    EXPECT_EQ(flask->getDropsUsed(), 0);
    EXPECT_EQ(flask->getMaxDrops(), 0);
    EXPECT_EQ(flask->getAvailable(), 0.0f);
    EXPECT_EQ(flask->getSoundId(), GameSound::getInvalidAudioId());
    EXPECT_EQ(flask->getSurface(), nullptr);
}

TEST_F(FlaskLiquidTest, TheFillPerCentAndTheTwoEmptyTestsFollowTheDropsLeft) {
    struct Case {
        int capacity;
        float drops;
        float percent;
        bool isEmpty;
        bool reportsEmpty;
    };
    const Case cases[] = {
        {32, 0.3f, 0.9375f, true, true},     // below 1 %: the next refresh empties the flask
        {32, 0.35f, 1.09375f, true, false},  // just above 1 %: only the drop test says empty
        {200, 1.5f, 0.75f, false, true},     // reported empty while more than a drop is left
        {20, 0.9f, 4.5f, true, false},       // under a drop, yet far from 1 %
        {20, 10.0f, 50.0f, false, false},
        {10, 15.0f, 100.0f, false, false},  // above the capacity shows full
        {10, -3.0f, 0.0f, true, true},      // below nothing shows nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.capacity) + " / " + std::to_string(c.drops));
        FlaskLiquid* flask = hudFlask();
        ASSERT_NE(flask, nullptr);
        int reports = 0;
        flask->setOnEmpty([&reports] { ++reports; });
        flask->setup(0, c.capacity, 60.0f);
        flask->addDrops(c.drops);
        EXPECT_NEAR(flask->getPercent(), c.percent, 1e-4f);
        EXPECT_NEAR(flask->getFiller()->getPercentage(), c.percent, 1e-4f);
        EXPECT_EQ(flask->isEmpty(), c.isEmpty);
        EXPECT_EQ(reports, c.reportsEmpty ? 1 : 0);
        flask->removeFromParent();
    }
}

TEST_F(FlaskLiquidTest, TheOpeningFillHoldsTheDrainThenTheFlaskRunsWithItsSurface) {
    FlaskLiquid* flask = hudFlask();
    ASSERT_NE(flask, nullptr);
    std::vector<std::string>& log = captureLog();
    flask->setup(9, 12, 60.0f);
    EXPECT_FALSE(flask->isStopped());
    EXPECT_FLOAT_EQ(flask->getDrainPerSecond(), 0.2f);
    flask->start();
    EXPECT_TRUE(flask->isStopped());
    EXPECT_EQ(logCount("liquid percent on start: 75"), 1) << testing::PrintToString(log);

    // The filler rises to the whole per cent in 0.8 s while nothing drains.
    play(flask, 0.4f);
    EXPECT_FLOAT_EQ(flask->getAvailable(), 9.0f);
    EXPECT_NEAR(flask->getFiller()->getPercentage(), 37.5f, 1.5f);
    EXPECT_EQ(flask->getSurface(), nullptr);
    play(flask, 0.4f + kFrame);
    EXPECT_FALSE(flask->isStopped());
    Node* surface = flask->getSurface();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface, flask->getChildByTag(FlaskLiquid::kSurfaceTag));
    EXPECT_TRUE(surface->isCascadeOpacityEnabled());
    for (int tag : {FlaskLiquid::kFirstParticlesTag, FlaskLiquid::kSecondParticlesTag}) {
        auto* particles = dynamic_cast<cocos2d::ParticleSystemQuad*>(surface->getChildByTag(tag));
        ASSERT_NE(particles, nullptr) << tag;
        EXPECT_EQ(particles->getPosition(), Vec2::ZERO);
        EXPECT_EQ(particles->getLocalZOrder(), 0);
    }
    EXPECT_EQ(surface->getChildrenCount(), 2);

    // Running: 0.2 drops a second.
    const float before = flask->getAvailable();
    play(flask, 10.0f);
    EXPECT_NEAR(flask->getAvailable(), before - 2.0f, 1e-3f);
    EXPECT_NEAR(flask->getPercent(), 100.0f / 12.0f * flask->getAvailable(), 1e-4f);
    EXPECT_FLOAT_EQ(flask->getFiller()->getPercentage(), flask->getPercent());

    // A second opening leaves one pair of particles, not two.
    flask->start();
    frames(FlaskLiquid::kFillSeconds + kFrame);
    EXPECT_EQ(surface->getChildrenCount(), 2);
}

TEST_F(FlaskLiquidTest, AFullFlaskDrainsInItsTimeAndReportsEmptyBelowOnePerCent) {
    // The level screen's numbers for 10 items at story level 0 with one saved damage: 32 of 32 drops
    // over 180 s.
    FlaskLiquid* flask = hudFlask();
    ASSERT_NE(flask, nullptr);
    int reportedAtFrame = -1;
    int reports = 0;
    int frame = 0;
    flask->setOnEmpty([&] {
        if (reports++ == 0) {
            reportedAtFrame = frame;
        }
    });
    flask->setup(32, 32, 180.0f);
    for (frame = 1; frame <= 200 * 60 && reports == 0; ++frame) {
        Director::getInstance()->stepFrame(kFrame);
        flask->update(kFrame);
    }
    // Below 1 % means below 0.32 drops: (32 - 0.32) / (32 / 180) s.
    EXPECT_NEAR(reportedAtFrame / 60.0, 178.2, 2.0 / 60.0);
    EXPECT_LT(flask->getPercent(), 1.0f);
    EXPECT_TRUE(flask->isEmpty());

    // The flask keeps no note of its report: every later refresh below 1 % reports again.
    flask->update(kFrame);
    flask->refresh();
    EXPECT_EQ(reports, 3);
}

TEST_F(FlaskLiquidTest, DropsGoOutOneAtATimeAndComeBackByTheAmount) {
    FlaskLiquid* flask = hudFlask();
    ASSERT_NE(flask, nullptr);
    flask->setup(10, 20, 120.0f);
    captureLog();
    flask->useDrop();
    flask->useDrop();
    flask->addDrops(1.0f);
    flask->addDrops(0.5f);
    EXPECT_EQ(flask->getDropsUsed(), 2) << "only sprays and misses count";
    EXPECT_FLOAT_EQ(flask->getAvailable(), 9.5f);
    EXPECT_FLOAT_EQ(flask->getFiller()->getPercentage(), 47.5f);
    EXPECT_EQ(logCount("1.00 drop added, now available = 9.00"), 1);
    EXPECT_EQ(logCount("0.50 drop added, now available = 9.50"), 1);
    // Stopped (before the opening fill ends, or by the owner's pause) it does not drain.
    flask->start();
    play(flask, 0.5f);
    EXPECT_FLOAT_EQ(flask->getAvailable(), 9.5f);
}

TEST_F(FlaskLiquidTest, TheSurfaceRidesOnTheLiquidWithinItsLimits) {
    struct Case {
        float drops;  // of 100
        float share;  // of the filler's height, from its bottom edge
    };
    const Case cases[] = {{50.0f, 0.5f}, {150.0f, 0.975f}, {99.0f, 0.975f}, {1.5f, 0.02f}, {30.0f, 0.3f}};
    FlaskLiquid* flask = hudFlask();
    ASSERT_NE(flask, nullptr);
    flask->setup(50, 100, 1000.0f);
    flask->start();
    frames(FlaskLiquid::kFillSeconds + kFrame);
    Node* surface = flask->getSurface();
    ASSERT_NE(surface, nullptr);
    cocos2d::ProgressTimer* filler = flask->getFiller();
    const float height = filler->getBoundingBox().size.height;
    ASSERT_GT(height, 0.0f);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.drops);
        flask->addDrops(c.drops - flask->getAvailable());
        const Vec2 bottom = filler->getPosition() - Vec2(0.0f, height * 0.5f);
        EXPECT_NEAR(surface->getPositionY(), bottom.y + c.share * height, 1e-3f);
        EXPECT_NEAR(surface->getPositionX(), filler->getPositionX(), 1e-4f);
    }
}

TEST_F(FlaskLiquidTest, TheEmptyAnimationRunsTheFillerDownAndSinksTheSurfaceWithoutItsParticles) {
    FlaskLiquid* flask = hudFlask();
    ASSERT_NE(flask, nullptr);
    int reports = 0;
    flask->setOnEmpty([&reports] { ++reports; });
    flask->setup(3, 30, 1000.0f);
    flask->start();
    frames(FlaskLiquid::kFillSeconds + kFrame);
    Node* surface = flask->getSurface();
    ASSERT_NE(surface, nullptr);
    ASSERT_EQ(surface->getChildrenCount(), 2);

    flask->useDrop();
    flask->useDrop();
    flask->addDrops(-0.9f);  // 0.1 of 30 drops: 0.33 %
    EXPECT_EQ(reports, 1);
    frames(0.5f);
    // A report halfway through restarts the animation rather than running a second one beside it.
    flask->refresh();
    EXPECT_EQ(reports, 2);
    EXPECT_EQ(surface->getNumberOfRunningActions(), 1);
    frames(0.5f);
    EXPECT_EQ(surface->getChildrenCount(), 2) << "the particles go when the surface has sunk";
    frames(FlaskLiquid::kEmptySeconds - 0.5f + kFrame);
    cocos2d::ProgressTimer* filler = flask->getFiller();
    EXPECT_FLOAT_EQ(filler->getPercentage(), 0.0f);
    const float height = filler->getBoundingBox().size.height;
    EXPECT_NEAR(surface->getPositionY(), filler->getPositionY() - height * 0.5f * 0.98f, 1e-3f);
    EXPECT_EQ(surface->getChildrenCount(), 0);
    EXPECT_EQ(reports, 2) << "only refreshes report";
}

TEST_F(FlaskLiquidTest, ALevelEndingWhileTheFlaskStillFillsLeavesItDry) {
    FlaskLiquid* flask = hudFlask();
    ASSERT_NE(flask, nullptr);
    flask->setup(12, 12, 60.0f);
    flask->start();
    frames(0.3f);
    flask->playEmptyAnimation();
    play(flask, 1.5f);
    EXPECT_FLOAT_EQ(flask->getFiller()->getPercentage(), 0.0f) << "the rise does not finish after the end";
    EXPECT_TRUE(flask->isStopped());
    EXPECT_FLOAT_EQ(flask->getAvailable(), 12.0f);
    EXPECT_EQ(flask->getSurface(), nullptr);
    EXPECT_EQ(flask->getChildByTag(FlaskLiquid::kSurfaceTag)->getChildrenCount(), 0) << "no bubbles in it";
}

TEST_F(FlaskLiquidTest, TheWarningLoopsOnceBetweenOneAndTenPerCentAndStopsWhenItIsOver) {
    FlaskLiquid* flask = hudFlask();
    ASSERT_NE(flask, nullptr);
    flask->setup(50, 100, 1000.0f);
    captureLog();

    flask->addDrops(-45.0f);  // 5 %
    const int first = flask->getSoundId();
    ASSERT_NE(first, GameSound::getInvalidAudioId());
    EXPECT_EQ(AudioEngine::getState(first), AudioState::PLAYING);
    EXPECT_TRUE(AudioEngine::isLoop(first));
    flask->useDrop();  // 4 %
    play(flask, 1.0f);
    EXPECT_EQ(flask->getSoundId(), first);
    EXPECT_EQ(logCount("playEffect time_end"), 1) << "no second sound while one plays";

    // Refilled out of the band, the alarm stops; back in it, it starts again.
    flask->addDrops(20.0f);
    EXPECT_EQ(flask->getSoundId(), GameSound::getInvalidAudioId());
    EXPECT_EQ(AudioEngine::getState(first), AudioState::ERROR);
    flask->addDrops(-20.0f);
    const int second = flask->getSoundId();
    ASSERT_NE(second, GameSound::getInvalidAudioId());
    EXPECT_EQ(logCount("playEffect time_end"), 2);

    // Below 1 % the empty animation stops it.
    flask->addDrops(0.5f - flask->getAvailable());
    EXPECT_EQ(flask->getSoundId(), GameSound::getInvalidAudioId());
    EXPECT_EQ(AudioEngine::getState(second), AudioState::ERROR);
    EXPECT_EQ(logCount("playEffect time_end"), 2);
}

TEST_F(FlaskLiquidTest, ADestroyedFlaskStopsItsWarning) {
    RefPtr<FlaskLiquid> flask(hudFlask());
    ASSERT_TRUE(flask);
    flask->setup(5, 100, 1000.0f);
    flask->refresh();
    const int id = flask->getSoundId();
    ASSERT_NE(id, GameSound::getInvalidAudioId());
    flask->removeFromParent();
    flask = nullptr;
    frames(kFrame);  // the autorelease pool lets go of it too
    EXPECT_EQ(AudioEngine::getState(id), AudioState::ERROR);
}

TEST_F(FlaskLiquidTest, AFlaskWithoutAFillerNeitherShowsNorTestsAnything) {
    FlaskLiquid* flask = bareFlask();
    int reports = 0;
    flask->setOnEmpty([&reports] { ++reports; });
    flask->setup(1, 10, 10.0f);
    flask->start();
    play(flask, 15.0f);
    flask->useDrop();
    EXPECT_LT(flask->getAvailable(), 0.0f);
    EXPECT_EQ(flask->getPercent(), 0.0f);
    EXPECT_TRUE(flask->isEmpty());
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(flask->getSurface(), nullptr);
    EXPECT_EQ(flask->getSoundId(), GameSound::getInvalidAudioId());
}

TEST_F(FlaskLiquidTest, NumbersThatWouldBreakTheFlaskAreLoggedAndHeldSafe) {
    // No time for the capacity: without care the first frame divides the flask by zero and the
    // level is lost before it starts.
    {
        FlaskLiquid* flask = hudFlask();
        ASSERT_NE(flask, nullptr);
        int reports = 0;
        flask->setOnEmpty([&reports] { ++reports; });
        std::vector<std::string>& log = captureLog();
        flask->setup(2, 2, 0.0f);
        EXPECT_EQ(log.size(), 1u);
        EXPECT_EQ(flask->getDrainPerSecond(), 0.0f);
        play(flask, 5.0f);
        EXPECT_FLOAT_EQ(flask->getAvailable(), 2.0f);
        EXPECT_FLOAT_EQ(flask->getPercent(), 100.0f);
        EXPECT_EQ(reports, 0);
        flask->removeFromParent();
    }
    // No capacity: 0 %, never a number that is not one.
    {
        FlaskLiquid* flask = hudFlask();
        ASSERT_NE(flask, nullptr);
        captureLog();
        flask->setup(0, 0, 10.0f);
        EXPECT_EQ(flask->getPercent(), 0.0f);
        flask->start();
        EXPECT_EQ(logCount("liquid percent on start: 0"), 1);
        flask->removeFromParent();
    }
    // Before set-up the flask is empty at 0 %, and running empty without a callback is no crash.
    {
        FlaskLiquid* flask = hudFlask();
        ASSERT_NE(flask, nullptr);
        EXPECT_EQ(flask->getPercent(), 0.0f);
        flask->refresh();
        flask->setup(1, 10, 10.0f);
        flask->useDrop();
        EXPECT_FLOAT_EQ(flask->getFiller()->getPercentage(), 0.0f);
    }
}

TEST_F(FlaskLiquidTest, WithoutItsSoundAndParticlesTheFlaskAsksOnceAndRunsOn) {
    useTreeWithout({"audio", "particles"});
    FlaskLiquid* flask = hudFlask();
    ASSERT_NE(flask, nullptr);
    flask->setup(5, 100, 100.0f);
    flask->start();
    captureLog();
    play(flask, 2.0f);
    ASSERT_NE(flask->getSurface(), nullptr);
    EXPECT_EQ(flask->getSurface()->getChildrenCount(), 0);
    EXPECT_LT(flask->getPercent(), 10.0f);
    EXPECT_EQ(flask->getSoundId(), GameSound::getInvalidAudioId());
    // A sound that cannot play is not asked for again on every frame of the warning.
    EXPECT_EQ(logCount("playEffect time_end"), 1);
}

}  // namespace
