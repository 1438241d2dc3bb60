#include <string>
#include <vector>

#include "engine/actions/Action.h"
#include "engine/base/RefPtr.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"
#include "../HeadlessEngine.h"

namespace {

using cocos2d::Node;
using cocos2d::RefPtr;
using cocos2d::Scene;

using Log = std::vector<std::string>;

// A scene that records its life cycle and its destruction.
class LoggedScene : public Scene {
public:
    static LoggedScene* create(const std::string& name, Log* log) {
        auto* s = new LoggedScene();
        s->init();
        s->setName(name);
        s->_log = log;
        s->autorelease();
        return s;
    }
    void onEnter() override {
        Scene::onEnter();
        _log->push_back(getName() + ".onEnter");
    }
    void onEnterTransitionDidFinish() override {
        Scene::onEnterTransitionDidFinish();
        _log->push_back(getName() + ".didFinish");
    }
    void onExitTransitionDidStart() override {
        Scene::onExitTransitionDidStart();
        _log->push_back(getName() + ".didStart");
    }
    void onExit() override {
        Scene::onExit();
        _log->push_back(getName() + ".onExit");
    }
    void cleanup() override {
        Scene::cleanup();
        _log->push_back(getName() + ".cleanup");
    }
    ~LoggedScene() override { _log->push_back(getName() + ".destroyed"); }

private:
    Log* _log = nullptr;
};

// A minimal fade-like transition over `frames` frames: the covered or replaced scene stays alive
// until the end, then the incoming scene takes the transition's slot.
class StepTransition : public Scene {
public:
    static StepTransition* create(Scene* incoming, int frames) {
        auto* t = new StepTransition();
        t->init();
        t->_incoming = incoming;
        t->_frames = frames;
        t->autorelease();
        return t;
    }
    bool isTransition() const override { return true; }
    void takeOutgoingScene(Scene* outgoing, bool leavesStack) override {
        _outgoing = outgoing;
        _leaves = leavesStack;
    }
    void onEnter() override {
        Scene::onEnter();
        if (_outgoing) {
            _outgoing->onExitTransitionDidStart();
        }
        _incoming->onEnter();
        schedule([this](float) {
            if (--_frames > 0) {
                return;
            }
            unschedule("fade");
            if (_outgoing) {
                _outgoing->onExit();
                if (_leaves) {
                    _outgoing->cleanup();
                }
            }
            _outgoing.reset();
            onExit();
            cleanup();
            _incoming->onEnterTransitionDidFinish();
            cocos2d::Director::getInstance()->finishTransition(this, _incoming);
        }, "fade");
    }

private:
    RefPtr<Scene> _incoming;
    RefPtr<Scene> _outgoing;
    bool _leaves = false;
    int _frames = 1;
};

// Runs a function on its first step.
class Call : public cocos2d::ActionInstant {
public:
    static Call* create(std::function<void()> f) {
        auto* c = new Call();
        c->_f = std::move(f);
        c->autorelease();
        return c;
    }
    void update(float) override { _f(); }

private:
    std::function<void()> _f;
};

class DirectorTest : public enginetest::HeadlessEngine {
protected:
    Log log;
};

TEST_F(DirectorTest, RunWithSceneEntersAtTheSafePointThenFinishesAtOnce) {
    director()->runWithScene(LoggedScene::create("a", &log));
    EXPECT_EQ(director()->getRunningScene(), nullptr) << "null until the first scene has entered";
    step();
    EXPECT_EQ(log, (Log{"a.onEnter", "a.didFinish"}));
    ASSERT_NE(director()->getRunningScene(), nullptr);
}

TEST_F(DirectorTest, ReplaceSceneBeforeRunWithSceneActsAsTheFirstSceneAndAnExtraRunIsIgnored) {
    auto& lines = captureLog();
    director()->replaceScene(LoggedScene::create("early", &log));
    director()->runWithScene(LoggedScene::create("late", &log));
    step();
    EXPECT_EQ(director()->getRunningScene()->getName(), "early");
    EXPECT_EQ(log, (Log{"early.onEnter", "early.didFinish", "late.destroyed"}))
        << "the ignored scene never enters and dies with the frame's pool";
    EXPECT_EQ(lines.size(), 2u) << "one line for each odd request";
}

TEST_F(DirectorTest, APlainReplaceExitsCleansAndReleasesTheOldScene) {
    director()->runWithScene(LoggedScene::create("a", &log));
    step();
    log.clear();
    director()->replaceScene(LoggedScene::create("b", &log));
    step();
    EXPECT_EQ(log, (Log{"a.didStart", "a.onExit", "a.cleanup", "a.destroyed", "b.onEnter", "b.didFinish"}));
}

TEST_F(DirectorTest, ALaterRequestReplacesAPendingOneWhichNeverEnters) {
    director()->runWithScene(LoggedScene::create("a", &log));
    step();
    log.clear();
    director()->replaceScene(LoggedScene::create("dropped", &log));
    director()->replaceScene(LoggedScene::create("kept", &log));
    step();
    EXPECT_EQ(log, (Log{"a.didStart", "a.onExit", "a.cleanup", "a.destroyed", "kept.onEnter", "kept.didFinish",
                        "dropped.destroyed"}));
}

TEST_F(DirectorTest, PopSceneWithOneSceneDoesNothing) {
    director()->runWithScene(LoggedScene::create("a", &log));
    step();
    log.clear();
    auto& lines = captureLog();
    director()->popScene();
    step();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(director()->getRunningScene()->getName(), "a");
    EXPECT_EQ(lines.size(), 1u);
}

TEST_F(DirectorTest, PushingWithAFadeKeepsTheCoveredSceneAliveAndNotCleanedUp) {
    auto* level = LoggedScene::create("level", &log);
    director()->runWithScene(level);
    step();
    int levelTimer = 0;
    level->schedule([&levelTimer](float) { ++levelTimer; }, "timer");
    log.clear();
    auto* credits = LoggedScene::create("credits", &log);
    director()->pushScene(StepTransition::create(credits, 3));
    step();
    EXPECT_TRUE(director()->isSceneTransitionRunning());
    step(3);
    EXPECT_FALSE(director()->isSceneTransitionRunning());
    EXPECT_EQ(director()->getRunningScene(), credits);
    EXPECT_EQ(log, (Log{"level.didStart", "credits.onEnter", "level.onExit", "credits.didFinish"}));
    const int timerAtCover = levelTimer;
    step(3);
    EXPECT_EQ(levelTimer, timerAtCover) << "covered: paused";
    log.clear();
    director()->popScene();
    step();
    EXPECT_EQ(log, (Log{"credits.didStart", "credits.onExit", "credits.cleanup", "credits.destroyed",
                        "level.onEnter", "level.didFinish"}));
    step();
    EXPECT_GT(levelTimer, timerAtCover) << "its timers go on where they stopped";
}

TEST_F(DirectorTest, ARequestDuringATransitionWaitsForItsEnd) {
    director()->runWithScene(LoggedScene::create("a", &log));
    step();
    director()->replaceScene(StepTransition::create(LoggedScene::create("b", &log), 4));
    step();
    director()->replaceScene(LoggedScene::create("c", &log));
    step(2);
    EXPECT_TRUE(director()->isSceneTransitionRunning());
    step(3);
    EXPECT_EQ(director()->getRunningScene()->getName(), "c");
}

TEST_F(DirectorTest, PopToRootReentersTheRootAndRunsTheActionStartedMeanwhile) {
    auto* root = LoggedScene::create("root", &log);
    director()->runWithScene(root);
    step();
    Node* container = Node::create();
    root->addChild(container);
    director()->pushScene(LoggedScene::create("minigame", &log));
    step();
    bool ran = false;
    container->runAction(Call::create([&ran] { ran = true; }));
    step(2);
    EXPECT_FALSE(ran) << "the covered root is paused";
    log.clear();
    director()->popToRootScene();
    step();
    EXPECT_EQ(log, (Log{"minigame.didStart", "minigame.onExit", "minigame.cleanup", "minigame.destroyed",
                        "root.onEnter", "root.didFinish"}));
    step();
    EXPECT_TRUE(ran);
}

TEST_F(DirectorTest, SceneChangesFromInsideCallbacksApplyAtTheSafePoint) {
    auto* a = LoggedScene::create("a", &log);
    director()->runWithScene(a);
    step();
    a->scheduleOnce([&](float) {
        director()->replaceScene(LoggedScene::create("b", &log));
        EXPECT_EQ(director()->getRunningScene(), a) << "not yet";
    }, 0.0f, "go");
    step();
    EXPECT_EQ(director()->getRunningScene()->getName(), "b");
}

TEST_F(DirectorTest, NotificationNodeIsDrawnButNeverEnteredByTheDirector) {
    Log nodeLog;
    Node* top = Node::create();
    director()->setNotificationNode(top);
    director()->runWithScene(Scene::create());
    step();
    EXPECT_FALSE(top->isRunning());
    top->onEnter();
    int ticks = 0;
    top->schedule([&ticks](float) { ++ticks; }, "t");
    step(2);
    EXPECT_EQ(ticks, 2);
    director()->pause();
    step(2);
    EXPECT_EQ(ticks, 2) << "its timers pause with the director";
    director()->resume();
    top->onExit();
}

TEST_F(DirectorTest, EndTearsDownEveryScenesTopFirstAtTheEndOfTheFrame) {
    director()->runWithScene(LoggedScene::create("root", &log));
    step();
    director()->pushScene(LoggedScene::create("top", &log));
    step();
    log.clear();
    bool handlerRan = false;
    director()->addTeardownHandler([&handlerRan] { handlerRan = true; });
    director()->end();
    EXPECT_FALSE(director()->hasEnded());
    step();
    EXPECT_TRUE(director()->hasEnded());
    EXPECT_TRUE(handlerRan);
    EXPECT_EQ(log, (Log{"top.didStart", "top.onExit", "top.cleanup", "top.destroyed", "root.cleanup",
                        "root.destroyed"}));
    EXPECT_EQ(director()->getOpenGLView(), nullptr);
}

}  // namespace
