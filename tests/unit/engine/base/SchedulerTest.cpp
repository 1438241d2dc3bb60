#include <string>
#include <vector>

#include "engine/actions/Action.h"
#include "engine/base/RefPtr.h"
#include "engine/base/Scheduler.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"
#include "../HeadlessEngine.h"

namespace {

using cocos2d::Node;
using cocos2d::RefPtr;
using cocos2d::Scene;

class SchedulerTest : public enginetest::HeadlessEngine {
protected:
    void SetUp() override {
        HeadlessEngine::SetUp();
        scene = Scene::create();
        director()->runWithScene(scene);
        step();  // the scene enters at the safe point of this frame
        ASSERT_TRUE(scene->isRunning());
    }

    // Frames (1-based) on which `fired` grew during `frames` steps.
    std::vector<int> firingFrames(const int& fired, int frames) {
        std::vector<int> result;
        for (int frame = 1; frame <= frames; ++frame) {
            const int before = fired;
            step();
            if (fired != before) {
                result.push_back(frame);
            }
        }
        return result;
    }

    Scene* scene = nullptr;
};

TEST_F(SchedulerTest, TimersFireOnTheFramesTheirIntervalRepeatAndDelayGive) {
    struct Case {
        const char* what;
        float interval;
        unsigned int repeat;
        float delay;
        std::vector<int> frames;
    };
    const Case cases[] = {
        {"every frame", 0.0f, cocos2d::CC_REPEAT_FOREVER, 0.0f, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {"every 0.05 s (3 frames)", 0.05f, cocos2d::CC_REPEAT_FOREVER, 0.0f, {3, 6, 9, 12, 15}},
        {"once after 0.1 s (6 frames)", 0.0f, 0, 0.1f, {6}},
        {"delay 0.05 then every 0.1, three times in all", 0.1f, 2, 0.05f, {3, 9, 15}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RefPtr<Node> node = Node::create();
        scene->addChild(node);
        int fired = 0;
        node->schedule([&fired](float) { ++fired; }, c.interval, c.repeat, c.delay, "timer");
        const std::vector<int> frames = firingFrames(fired, 15);
        EXPECT_EQ(frames, c.frames);
        node->removeFromParent();
    }
}

TEST_F(SchedulerTest, OnceTimerReachesItsDelayDespiteFloatRounding) {
    // Thirty steps of 1/60 must reach 0.5 s.
    Node* node = Node::create();
    scene->addChild(node);
    int firedOn = 0;
    int frame = 0;
    node->scheduleOnce([&](float) { firedOn = frame; }, 0.5f, "half");
    for (frame = 1; frame <= 40; ++frame) {
        step();
    }
    EXPECT_EQ(firedOn, 30);
}

TEST_F(SchedulerTest, UnschedulingFromInsideACallbackIncludingItselfIsSafe) {
    Node* node = Node::create();
    scene->addChild(node);
    std::vector<std::string> calls;
    node->schedule([&](float) {
        calls.push_back("a");
        node->unschedule("a");
        node->unschedule("b");  // a later timer of the same tick is cancelled before it runs
    }, "a");
    node->schedule([&](float) { calls.push_back("b"); }, "b");
    step(3);
    EXPECT_EQ(calls, (std::vector<std::string>{"a"}));
}

TEST_F(SchedulerTest, EntryScheduledInsideACallbackFirstRunsInTheNextTick) {
    Node* node = Node::create();
    scene->addChild(node);
    std::vector<std::string> calls;
    node->scheduleOnce([&](float) {
        calls.push_back("outer");
        node->schedule([&](float) { calls.push_back("inner"); }, "inner");
    }, 0.0f, "outer");
    step();
    EXPECT_EQ(calls, (std::vector<std::string>{"outer"}));
    step();
    EXPECT_EQ(calls, (std::vector<std::string>{"outer", "inner"}));
}

TEST_F(SchedulerTest, OrderWithinATickIsActionsThenUpdatesByPriorityThenTimers) {
    std::vector<std::string> order;
    struct Updater : Node {
        std::vector<std::string>* order = nullptr;
        std::string name;
        void update(float) override { order->push_back(name); }
    };
    auto makeUpdater = [&](const std::string& name, int priority) {
        auto* n = new Updater();
        n->init();
        n->autorelease();
        n->order = &order;
        n->name = name;
        scene->addChild(n);
        n->scheduleUpdateWithPriority(priority);
        return n;
    };
    Node* timerNode = Node::create();
    scene->addChild(timerNode);
    timerNode->schedule([&](float) { order.push_back("timer"); }, "t");
    makeUpdater("update 0 first", 0);
    makeUpdater("update -5", -5);
    makeUpdater("update 0 second", 0);

    struct Recorder : cocos2d::ActionInterval {
        std::vector<std::string>* order = nullptr;
        void update(float) override { order->push_back("action"); }
    };
    auto* action = new Recorder();
    action->initWithDuration(10.0f);
    action->order = &order;
    action->autorelease();
    timerNode->runAction(action);

    step();
    EXPECT_EQ(order, (std::vector<std::string>{"action", "update -5", "update 0 first", "update 0 second", "timer"}));
}

TEST_F(SchedulerTest, EntriesOfANodeWaitUntilItEntersAndPauseWhenItExits) {
    RefPtr<Node> node = Node::create();
    int fired = 0;
    node->schedule([&fired](float) { ++fired; }, "count");
    step(3);
    EXPECT_EQ(fired, 0) << "not running yet";
    scene->addChild(node);
    step(2);
    EXPECT_EQ(fired, 2);
    node->removeFromParentAndCleanup(false);
    step(2);
    EXPECT_EQ(fired, 2) << "paused while off stage";
    scene->addChild(node);
    step(1);
    EXPECT_EQ(fired, 3) << "resumed by onEnter";
    node->removeFromParent();  // cleanup removes the timer
    scene->addChild(node);
    step(2);
    EXPECT_EQ(fired, 3);
}

TEST_F(SchedulerTest, ExplicitPauseAndResumeByTarget) {
    Node* node = Node::create();
    scene->addChild(node);
    int fired = 0;
    node->schedule([&fired](float) { ++fired; }, "count");
    step();
    director()->getScheduler()->pauseTarget(node);
    step(3);
    director()->getScheduler()->resumeTarget(node);
    step();
    EXPECT_EQ(fired, 2);
}

TEST_F(SchedulerTest, UnscheduleCancelsExactlyThatKey) {
    Node* node = Node::create();
    scene->addChild(node);
    int a = 0;
    int b = 0;
    node->schedule([&a](float) { ++a; }, "a");
    node->schedule([&b](float) { ++b; }, "b");
    node->unschedule("a");
    step(2);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 2);
    node->unscheduleAllCallbacks();
    step();
    EXPECT_EQ(b, 2);
}

TEST_F(SchedulerTest, MainThreadQueueRunsInOrderEvenWhilePaused) {
    std::vector<int> seen;
    director()->pause();
    auto* scheduler = director()->getScheduler();
    scheduler->runOnMainThread([&] {
        seen.push_back(1);
        // Queued while the queue runs: waits for the next frame.
        director()->getScheduler()->runOnMainThread([&] { seen.push_back(3); });
    });
    scheduler->runOnMainThread([&] { seen.push_back(2); });
    step();
    EXPECT_EQ(seen, (std::vector<int>{1, 2}));
    step();
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
}

TEST_F(SchedulerTest, DirectorPauseStopsTicksAndResumeHasNoLargeDelta) {
    Node* node = Node::create();
    scene->addChild(node);
    std::vector<float> deltas;
    node->schedule([&deltas](float dt) { deltas.push_back(dt); }, "dt");
    director()->mainLoop();
    director()->pause();
    for (int i = 0; i < 3; ++i) {
        director()->mainLoop();
    }
    const size_t whilePaused = deltas.size();
    director()->resume();
    director()->mainLoop();
    ASSERT_EQ(whilePaused, 1u);
    ASSERT_EQ(deltas.size(), 2u);
    EXPECT_FLOAT_EQ(deltas.back(), director()->getAnimationInterval());
}

}  // namespace
