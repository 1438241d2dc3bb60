#include <string>
#include <vector>

#include "engine/actions/Action.h"
#include "engine/actions/ActionManager.h"
#include "engine/base/RefPtr.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"
#include "../HeadlessEngine.h"

namespace {

using cocos2d::ActionInterval;
using cocos2d::Node;
using cocos2d::RefPtr;
using cocos2d::Scene;

// A user-written interval action, as the game derives them: records every update and its stop.
class Probe : public ActionInterval {
public:
    static Probe* create(float duration, std::vector<std::string>* log, const std::string& name) {
        auto* p = new Probe();
        p->initWithDuration(duration);
        p->_log = log;
        p->_name = name;
        p->autorelease();
        return p;
    }
    void startWithTarget(Node* target) override {
        ActionInterval::startWithTarget(target);
        _log->push_back(_name + " start");
    }
    void update(float t) override {
        lastT = t;
        ++updates;
        if (onUpdate) {
            onUpdate(t);
        }
    }
    void stop() override {
        ++stops;
        _log->push_back(_name + " stop");
        ActionInterval::stop();
    }

    float lastT = -1.0f;
    int updates = 0;
    int stops = 0;
    std::function<void(float)> onUpdate;

private:
    std::vector<std::string>* _log = nullptr;
    std::string _name;
};

class ActionManagerTest : public enginetest::HeadlessEngine {
protected:
    void SetUp() override {
        HeadlessEngine::SetUp();
        scene = Scene::create();
        director()->runWithScene(scene);
        step();
        node = Node::create();
        scene->addChild(node);
    }
    Scene* scene = nullptr;
    Node* node = nullptr;
    std::vector<std::string> log;
};

TEST_F(ActionManagerTest, ThirtyStepsOfASixtiethFinishAHalfSecondActionExactly) {
    RefPtr<Probe> probe = Probe::create(0.5f, &log, "p");
    node->runAction(probe);
    step(29);
    EXPECT_FALSE(probe->isDone());
    EXPECT_LT(probe->lastT, 1.0f);
    step(1);
    EXPECT_TRUE(probe->isDone());
    EXPECT_FLOAT_EQ(probe->lastT, 1.0f);
    EXPECT_EQ(probe->stops, 1);
    EXPECT_EQ(node->getNumberOfRunningActions(), 0);
    step(2);
    EXPECT_EQ(probe->updates, 30) << "no step after the end";
}

TEST_F(ActionManagerTest, FirstStepCountsItsDeltaAndZeroDurationFinishesOnIt) {
    RefPtr<Probe> timed = Probe::create(1.0f, &log, "timed");
    RefPtr<Probe> instant = Probe::create(0.0f, &log, "zero");
    node->runAction(timed);
    node->runAction(instant);
    EXPECT_EQ(timed->updates, 0) << "nothing happens inside runAction";
    step();
    EXPECT_NEAR(timed->lastT, 1.0f / 60.0f, 1e-6f);
    EXPECT_TRUE(instant->isDone());
    EXPECT_FLOAT_EQ(instant->lastT, 1.0f);
}

TEST_F(ActionManagerTest, StopRunsOnceOnEveryKindOfEarlyRemoval) {
    struct Case {
        const char* what;
        std::function<void(Node*, Probe*)> remove;
    };
    const Case cases[] = {
        {"stopAction", [](Node* n, Probe* p) { n->stopAction(p); }},
        {"stopActionByTag", [](Node* n, Probe*) { n->stopActionByTag(7); }},
        {"stopAllActions", [](Node* n, Probe*) { n->stopAllActions(); }},
        {"cleanup", [](Node* n, Probe*) { n->cleanup(); }},
        {"removeFromParent", [](Node* n, Probe*) { n->removeFromParent(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RefPtr<Node> target = Node::create();
        scene->addChild(target);
        RefPtr<Probe> probe = Probe::create(5.0f, &log, "p");
        probe->setTag(7);
        target->runAction(probe);
        step();
        c.remove(target, probe);
        step(2);
        EXPECT_EQ(probe->stops, 1);
        EXPECT_EQ(probe->updates, 1);
        EXPECT_EQ(probe->getTarget(), nullptr);
        target->removeFromParent();
    }
}

TEST_F(ActionManagerTest, StopActionByTagRemovesOnlyTheFirstMatch) {
    RefPtr<Probe> first = Probe::create(5.0f, &log, "first");
    RefPtr<Probe> second = Probe::create(5.0f, &log, "second");
    first->setTag(11);
    second->setTag(11);
    node->runAction(first);
    node->runAction(second);
    node->stopActionByTag(11);
    EXPECT_EQ(first->stops, 1);
    EXPECT_EQ(second->stops, 0);
    EXPECT_EQ(node->getActionByTag(11), second.get());
    // The game removes every tagged action in a loop.
    while (cocos2d::Action* a = node->getActionByTag(11)) {
        node->stopAction(a);
    }
    EXPECT_EQ(node->getNumberOfRunningActions(), 0);
}

TEST_F(ActionManagerTest, ADestroyedNodeDropsItsActionsWithoutStop) {
    RefPtr<Probe> probe = Probe::create(5.0f, &log, "p");
    node->runAction(probe);
    step();
    node->removeFromParentAndCleanup(false);  // no cleanup: the node dies with its last reference
    step();
    EXPECT_EQ(probe->stops, 0);
    EXPECT_EQ(director()->getActionManager()->getNumberOfRunningActions(), 0);
}

TEST_F(ActionManagerTest, ActionsOnANodeNotYetRunningWaitAndCaptureAtRunAction) {
    RefPtr<Node> later = Node::create();
    RefPtr<Probe> probe = Probe::create(1.0f, &log, "p");
    later->runAction(probe);
    EXPECT_EQ(log, (std::vector<std::string>{"p start"})) << "start values are captured at runAction";
    step(5);
    EXPECT_EQ(probe->updates, 0);
    scene->addChild(later);
    step();
    EXPECT_EQ(probe->updates, 1);
}

TEST_F(ActionManagerTest, ANodeTakenOffStageHoldsItsActionsAndGoesOnWhereItStopped) {
    // As under a pushed scene: the node leaves without cleanup, stays alive, and comes back.
    RefPtr<Node> panel = Node::create();
    scene->addChild(panel);
    RefPtr<Probe> probe = Probe::create(1.0f, &log, "p");
    panel->runAction(probe);
    step(30);
    EXPECT_NEAR(probe->lastT, 0.5f, 1e-5f);
    panel->removeFromParentAndCleanup(false);
    step(100);
    EXPECT_EQ(probe->updates, 30) << "held while off stage";
    EXPECT_EQ(probe->stops, 0);
    scene->addChild(panel);
    step();
    EXPECT_NEAR(probe->lastT, 31.0f / 60.0f, 1e-5f) << "one step further, no jump";
    step(29);
    EXPECT_EQ(probe->getTarget(), nullptr);
    EXPECT_EQ(probe->stops, 1);
    EXPECT_EQ(probe->lastT, 1.0f);
}

TEST_F(ActionManagerTest, ACallbackMayRemoveItsOwnTargetMidStep) {
    RefPtr<Probe> probe = Probe::create(1.0f, &log, "p");
    probe->onUpdate = [this](float) { node->removeFromParent(); };
    node->runAction(probe);
    step();
    EXPECT_EQ(probe->stops, 1) << "the removal's cleanup stopped it";
    EXPECT_EQ(scene->getChildrenCount(), 0);
    step();
    EXPECT_EQ(probe->updates, 1);
}

TEST_F(ActionManagerTest, AnActionAddedDuringATickFirstStepsInTheNext) {
    RefPtr<Probe> added;
    RefPtr<Probe> starter = Probe::create(0.0f, &log, "starter");
    starter->onUpdate = [&](float) {
        added = Probe::create(1.0f, &log, "added");
        node->runAction(added);
    };
    node->runAction(starter);
    step();
    ASSERT_TRUE(added);
    EXPECT_EQ(added->updates, 0);
    step();
    EXPECT_EQ(added->updates, 1);
}

TEST_F(ActionManagerTest, DirectorPauseFreezesActionsAndResumeGoesOnWithoutAJump) {
    RefPtr<Probe> probe = Probe::create(1.0f, &log, "p");
    node->runAction(probe);
    director()->mainLoop();
    const float before = probe->getElapsed();
    director()->pause();
    director()->mainLoop();
    director()->mainLoop();
    EXPECT_FLOAT_EQ(probe->getElapsed(), before);
    director()->resume();
    director()->mainLoop();
    EXPECT_NEAR(probe->getElapsed() - before, director()->getAnimationInterval(), 1e-6f);
}

TEST_F(ActionManagerTest, ManyActionsRunOnOneNodeInOrderOfAddition) {
    std::vector<std::string> order;
    for (const char* name : {"a", "b", "c"}) {
        Probe* p = Probe::create(1.0f, &log, name);
        p->onUpdate = [&order, name](float) { order.push_back(name); };
        node->runAction(p);
    }
    step();
    EXPECT_EQ(order, (std::vector<std::string>{"a", "b", "c"}));
}

}  // namespace
