#include <string>
#include <vector>

#include "engine/actions/ActionManager.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeOut.h"
#include "engine/actions/MoveBy.h"
#include "engine/actions/RepeatForever.h"
#include "engine/actions/RotateBy.h"
#include "engine/actions/Sequence.h"
#include "engine/actions/Spawn.h"
#include "ActionStage.h"

namespace {

using cocos2d::CallFunc;
using cocos2d::DelayTime;
using cocos2d::MoveBy;
using cocos2d::Node;
using cocos2d::RefPtr;
using cocos2d::Sequence;
using cocos2d::Vec2;
using enginetest::VolumeFade;
using Log = std::vector<std::string>;

// A node that counts its destruction.
class CountedNode : public Node {
public:
    static CountedNode* create(int* destroyed) {
        auto* n = new CountedNode();
        n->init();
        n->_destroyed = destroyed;
        n->autorelease();
        return n;
    }
    ~CountedNode() override { ++*_destroyed; }

private:
    int* _destroyed = nullptr;
};

class ActionCallbacksTest : public enginetest::ActionStage {
protected:
    Log log;
    int destroyed = 0;
};

TEST_F(ActionCallbacksTest, ACallRemovingItsOwnNodeMidSequenceEndsTheSequenceThere) {
    struct Case {
        const char* name;
        bool throughParent;  // the fly's swatter: the layer removes the child with tag 11
    };
    for (const Case c : {Case{"removeFromParent", false}, Case{"parent removes by tag", true}}) {
        SCOPED_TRACE(c.name);
        destroyed = 0;
        Node* layer = Node::create();
        scene->addChild(layer);
        CountedNode* swatter = CountedNode::create(&destroyed);
        layer->addChild(swatter, 1, 11);
        auto* fade = VolumeFade::create(5.0f, 0.0f, 1.0f);
        swatter->runAction(fade);
        bool after = false;
        swatter->runAction(Sequence::create(MoveBy::create(0.1f, Vec2(10, 0)), CallFunc::create([&] {
                                                if (c.throughParent) {
                                                    layer->removeChildByTag(11);
                                                } else {
                                                    swatter->removeFromParent();
                                                }
                                            }),
                                            CallFunc::create([&after] { after = true; }),
                                            MoveBy::create(0.1f, Vec2(10, 0)), nullptr));
        RefPtr<VolumeFade> keepFade(fade);
        step(6);
        EXPECT_EQ(destroyed, 1) << "the node died at the end of the step that removed it";
        EXPECT_FALSE(after) << "nothing after the removing call runs";
        EXPECT_EQ(fade->stops, 1) << "the removal's cleanup stopped its other actions";
        step(10);
        EXPECT_EQ(director()->getActionManager()->getNumberOfRunningActions(), 0);
        layer->removeFromParent();
    }
}

TEST_F(ActionCallbacksTest, ACallThatStopsEveryActionOfItsTargetAndRunsANewOne) {
    // The fly: when the pointer comes near it stops all its actions, restarts its wings and flees.
    node->setPosition(0, 0);
    auto* wings = VolumeFade::create(10.0f, 0.0f, 1.0f);
    RefPtr<VolumeFade> keepWings(wings);
    node->runAction(wings);
    RefPtr<cocos2d::Action> flight;
    int restPlayed = 0;
    node->runAction(Sequence::create(CallFunc::create([&] {
                                         node->stopAllActions();
                                         flight = MoveBy::create(0.5f, Vec2(0, 100));
                                         node->runAction(flight);
                                     }),
                                     CallFunc::create([&restPlayed] { ++restPlayed; }),
                                     MoveBy::create(0.5f, Vec2(100, 0)), nullptr));
    step();
    EXPECT_EQ(restPlayed, 0) << "the stopped sequence does nothing more in that step";
    EXPECT_EQ(wings->stops, 1);
    ASSERT_TRUE(flight);
    EXPECT_EQ(node->getPosition(), Vec2(0, 0)) << "the new action starts in the next tick";
    EXPECT_EQ(node->getNumberOfRunningActions(), 1);
    step();
    EXPECT_NEAR(node->getPositionY(), 100.0f / 30.0f, 1e-3f);
    EXPECT_EQ(node->getPositionX(), 0.0f);
    step(40);
    EXPECT_EQ(restPlayed, 0);
}

TEST_F(ActionCallbacksTest, ASpawnStoppedFromInsideStopsEachRunningPartOnce) {
    auto* fade = VolumeFade::create(1.0f, 0.0f, 1.0f, &log);
    RefPtr<VolumeFade> keep(fade);
    cocos2d::Spawn* spawn = nullptr;
    spawn =
        cocos2d::Spawn::create(fade,
                               Sequence::create(DelayTime::create(0.1f),
                                                CallFunc::create([&] { node->stopAction(spawn); }), nullptr),
                               nullptr);
    node->runAction(spawn);
    step(10);
    const int updates = fade->updates;
    EXPECT_EQ(log, (Log{"fade stop"}));
    step(5);
    EXPECT_EQ(fade->updates, updates);
    EXPECT_EQ(fade->stops, 1);
}

TEST_F(ActionCallbacksTest, ATaggedTimerIsReplacedByTagAndACancelledFadeStopsOnce) {
    // The track-end timer (tag 11) and the music fade inside it.
    int ended = 0;
    auto* fade = VolumeFade::create(0.7f, 0.4f, 0.0f, &log);
    RefPtr<VolumeFade> keep(fade);
    auto* timer =
        Sequence::create(fade, DelayTime::create(3.0f), CallFunc::create([&ended] { ++ended; }), nullptr);
    timer->setTag(11);
    node->runAction(timer);
    step(10);
    node->stopActionByTag(11);
    EXPECT_EQ(log, (Log{"fade stop"})) << "the running part of the cancelled sequence stops";
    auto* next =
        Sequence::create(DelayTime::create(0.5f), CallFunc::create([&ended] { ended += 10; }), nullptr);
    next->setTag(11);
    node->runAction(next);
    EXPECT_EQ(node->getActionByTag(11), next);
    step(240);
    EXPECT_EQ(ended, 10) << "only the replacement fired";
    EXPECT_EQ(fade->stops, 1);
    EXPECT_EQ(node->getActionByTag(11), nullptr);
}

TEST_F(ActionCallbacksTest, APopupRemovedWithoutCleanupDiesThoughItsChildRunsForever) {
    // The popup closes with a very short fade and a call that removes it without cleanup.
    CountedNode* popup = CountedNode::create(&destroyed);
    CountedNode* arrow = CountedNode::create(&destroyed);
    popup->addChild(arrow);
    scene->addChild(popup);
    arrow->runAction(cocos2d::RepeatForever::create(cocos2d::RotateBy::create(0.6f, 30.0f)));
    step(5);
    popup->runAction(Sequence::create(cocos2d::FadeOut::create(0.01f),
                                      CallFunc::create([popup] { popup->removeFromParentAndCleanup(false); }),
                                      nullptr));
    step();
    EXPECT_EQ(destroyed, 2) << "the actions do not keep their targets alive";
    EXPECT_EQ(scene->getChildrenCount(), 1) << "only the stage's own node is left";
    EXPECT_EQ(director()->getActionManager()->getNumberOfRunningActions(), 0);
}

TEST_F(ActionCallbacksTest, ASequenceWaitsForItsNodeToEnterAndForTheDirectorToResume) {
    int fired = 0;
    RefPtr<Node> later = Node::create();
    later->runAction(
        Sequence::create(DelayTime::create(0.5f), CallFunc::create([&fired] { ++fired; }), nullptr));
    step(40);
    EXPECT_EQ(fired, 0) << "held while the node is not running";
    scene->addChild(later);
    step(20);
    director()->pause();
    step(100);
    EXPECT_EQ(fired, 0) << "frozen while the director is paused";
    director()->resume();
    step(9);
    EXPECT_EQ(fired, 0);
    step();
    EXPECT_EQ(fired, 1) << "30 running steps in all: no jump and no loss across the pause";
}

}  // namespace
