#include <string>
#include <vector>

#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/Sequence.h"
#include "engine/base/RefPtr.h"
#include "engine/scene/Scene.h"
#include "engine/scene/TransitionFade.h"
#include "../HeadlessEngine.h"

namespace {

using cocos2d::RefPtr;
using cocos2d::Scene;
using cocos2d::TransitionFade;
using Log = std::vector<std::string>;

// A scene that records its life cycle, its timer ticks, its drawing and its destruction.
class Stage : public Scene {
public:
    static Stage* create(const std::string& name, Log* log) {
        auto* s = new Stage();
        s->init();
        s->setName(name);
        s->_log = log;
        s->autorelease();
        return s;
    }
    void onEnter() override {
        Scene::onEnter();
        note("onEnter");
    }
    void onEnterTransitionDidFinish() override {
        Scene::onEnterTransitionDidFinish();
        note("didFinish");
    }
    void onExitTransitionDidStart() override {
        Scene::onExitTransitionDidStart();
        note("didStart");
    }
    void onExit() override {
        Scene::onExit();
        note("onExit");
    }
    void cleanup() override {
        Scene::cleanup();
        note("cleanup");
    }
    void visit(cocos2d::Renderer* renderer, const cocos2d::Mat4& transform, uint32_t flags) override {
        ++draws;
        Scene::visit(renderer, transform, flags);
    }
    using Scene::visit;
    ~Stage() override { note("destroyed"); }

    int draws = 0;

private:
    void note(const std::string& what) { _log->push_back(getName() + "." + what); }
    Log* _log = nullptr;
};

class TransitionFadeTest : public enginetest::HeadlessEngine {
protected:
    Stage* start(const std::string& name) {
        Stage* s = Stage::create(name, &log);
        director()->runWithScene(s);
        step();
        log.clear();
        return s;
    }
    Log log;
};

TEST_F(TransitionFadeTest, AReplaceThroughAFadeKeepsBothScenesRunningAndSwapsThemAtTheEnd) {
    Stage* gallery = start("gallery");
    int galleryTicks = 0;
    gallery->schedule([&galleryTicks](float) { ++galleryTicks; }, "page timer");
    Stage* map = Stage::create("map", &log);
    int mapTicks = 0;
    map->schedule([&mapTicks](float) { ++mapTicks; }, "slide timer");

    bool galleryActionFired = false;
    director()->replaceScene(TransitionFade::create(0.5f, map));
    step();
    EXPECT_EQ(log, (Log{"gallery.didStart", "map.onEnter"}));
    gallery->runAction(
        cocos2d::Sequence::create(cocos2d::DelayTime::create(0.2f),
                                  cocos2d::CallFunc::create([&] { galleryActionFired = true; }), nullptr));
    EXPECT_TRUE(director()->isSceneTransitionRunning());
    EXPECT_TRUE(gallery->isRunning()) << "the outgoing scene keeps running until it leaves";
    log.clear();

    step(29);
    EXPECT_TRUE(director()->isSceneTransitionRunning());
    EXPECT_EQ(galleryTicks, 30) << "it ticked in the frame that started the fade too";
    EXPECT_EQ(mapTicks, 29) << "the incoming scene's timers run during the fade";
    EXPECT_TRUE(galleryActionFired) << "and so do the outgoing scene's actions";
    EXPECT_TRUE(log.empty());

    step();  // the 30th tick ends a 0.5 s fade
    EXPECT_EQ(log, (Log{"gallery.onExit", "gallery.cleanup", "gallery.destroyed", "map.didFinish"}));
    EXPECT_EQ(director()->getRunningScene(), map);
    EXPECT_FALSE(director()->isSceneTransitionRunning());
    EXPECT_EQ(director()->getSceneCount(), 1);
}

TEST_F(TransitionFadeTest, TheFirstHalfDrawsTheOutgoingSceneAndTheSecondHalfTheIncomingOne) {
    Stage* before = start("before");
    Stage* after = Stage::create("after", &log);
    director()->replaceScene(TransitionFade::create(1.0f, after));
    step();
    before->draws = 0;
    step(29);
    EXPECT_EQ(before->draws, 29);
    EXPECT_EQ(after->draws, 0);
    step(2);  // over the midpoint
    EXPECT_GE(after->draws, 1);
    EXPECT_EQ(before->draws + after->draws, 31) << "one of the two each frame";
    step(28);
    EXPECT_TRUE(director()->isSceneTransitionRunning());
    EXPECT_EQ(before->draws + after->draws, 59);
    step();
    EXPECT_EQ(director()->getRunningScene(), after);
}

TEST_F(TransitionFadeTest, PushingThroughAFadeCoversTheSceneAndPopReturnsToIt) {
    Stage* level = start("level");
    int levelTicks = 0;
    level->schedule([&levelTicks](float) { ++levelTicks; }, "clock");
    Stage* credits = Stage::create("credits", &log);
    director()->pushScene(TransitionFade::create(0.5f, credits));
    step(31);
    EXPECT_EQ(log, (Log{"level.didStart", "credits.onEnter", "level.onExit", "credits.didFinish"}));
    EXPECT_EQ(director()->getSceneCount(), 2);
    EXPECT_EQ(director()->getRunningScene(), credits);
    const int covered = levelTicks;
    step(10);
    EXPECT_EQ(levelTicks, covered) << "covered, not cleaned up: paused";
    log.clear();

    director()->popScene();
    step();
    EXPECT_EQ(log, (Log{"credits.didStart", "credits.onExit", "credits.cleanup", "credits.destroyed",
                        "level.onEnter", "level.didFinish"}));
    step();
    EXPECT_EQ(levelTicks, covered + 1) << "its timer goes on where it stopped";
}

TEST_F(TransitionFadeTest, ThePauseFreezesTheFadeAndAZeroFadeEndsAtTheFirstTick) {
    start("a");
    Stage* b = Stage::create("b", &log);
    director()->replaceScene(TransitionFade::create(0.5f, b));
    step(11);
    director()->pause();
    step(100);
    EXPECT_TRUE(director()->isSceneTransitionRunning());
    director()->resume();
    step(19);
    EXPECT_TRUE(director()->isSceneTransitionRunning());
    step();
    EXPECT_EQ(director()->getRunningScene(), b);

    log.clear();
    Stage* c = Stage::create("c", &log);
    director()->replaceScene(TransitionFade::create(0.0f, c));
    step();
    EXPECT_TRUE(director()->isSceneTransitionRunning()) << "started at the safe point";
    step();
    EXPECT_EQ(director()->getRunningScene(), c);
    EXPECT_EQ(log, (Log{"b.didStart", "c.onEnter", "b.onExit", "b.cleanup", "b.destroyed", "c.didFinish"}));
}

TEST_F(TransitionFadeTest, ASceneChangeAskedForInsideTheFadeOrItsEndWaitsAndThenApplies) {
    start("splash");
    Stage* loading = Stage::create("loading", &log);
    director()->replaceScene(TransitionFade::create(0.3f, loading));
    step(5);
    // Asked for by an action of the incoming scene in the middle of the fade.
    Stage* map = Stage::create("map", &log);
    RefPtr<Stage> keepMap(map);
    loading->runAction(cocos2d::CallFunc::create(
        [map] { cocos2d::Director::getInstance()->replaceScene(TransitionFade::create(0.3f, map)); }));
    step(5);
    auto* fade = dynamic_cast<cocos2d::TransitionScene*>(director()->getRunningScene());
    ASSERT_NE(fade, nullptr);
    EXPECT_EQ(fade->getInScene(), loading) << "the request waits";
    log.clear();
    step(9);
    // The first fade ended in that tick; the second starts at the same frame's safe point.
    EXPECT_EQ(log, (Log{"splash.onExit", "splash.cleanup", "splash.destroyed", "loading.didFinish",
                        "loading.didStart", "map.onEnter"}));
    step(18);
    EXPECT_EQ(director()->getRunningScene(), map);
}

TEST_F(TransitionFadeTest, EndingTheDirectorDuringAFadeTakesBothScenesDown) {
    start("old");
    director()->replaceScene(TransitionFade::create(1.0f, Stage::create("new", &log)));
    step(10);
    log.clear();
    cocos2d::Director::destroyInstance();
    EXPECT_EQ(log, (Log{"old.onExit", "new.didStart", "new.onExit", "old.cleanup", "new.cleanup",
                        "old.destroyed", "new.destroyed"}));
}

TEST_F(TransitionFadeTest, AFadeAsTheFirstSceneComesInFromBlack) {
    // The splash screen may ask for its fade before any scene runs.
    Stage* first = Stage::create("first", &log);
    director()->replaceScene(TransitionFade::create(0.5f, first));
    step();
    EXPECT_EQ(log, (Log{"first.onEnter"}));
    EXPECT_TRUE(director()->isSceneTransitionRunning());
    step(14);
    EXPECT_EQ(first->draws, 0) << "the first half has nothing to darken";
    step(16);
    EXPECT_EQ(log, (Log{"first.onEnter", "first.didFinish"}));
    EXPECT_EQ(director()->getRunningScene(), first);
    EXPECT_EQ(director()->getSceneCount(), 1);
}

TEST_F(TransitionFadeTest, ANullSceneGivesNoTransition) {
    auto& lines = captureLog();
    EXPECT_EQ(TransitionFade::create(1.0f, nullptr), nullptr);
    EXPECT_EQ(lines.size(), 1u);
}

}  // namespace
