#include <cmath>
#include <functional>
#include <string>

#include "engine/actions/BezierTo.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeIn.h"
#include "engine/actions/FadeOut.h"
#include "engine/actions/FadeTo.h"
#include "engine/actions/MoveBy.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/RemoveSelf.h"
#include "engine/actions/RotateBy.h"
#include "engine/actions/RotateTo.h"
#include "engine/actions/ScaleTo.h"
#include "engine/actions/SkewTo.h"
#include "engine/actions/TintTo.h"
#include "ActionStage.h"

namespace {

using cocos2d::Color3B;
using cocos2d::Node;
using cocos2d::RefPtr;
using cocos2d::Vec2;

// One leaf action: how the node starts, the action, the step (of 1/60 s) on which it must end, and
// the node's state half-way and at the end.
struct LeafCase {
    const char* name;
    std::function<void(Node*)> prepare;
    std::function<cocos2d::Action*()> make;
    int endStep;
    std::function<void(Node*)> checkHalfWay;
    std::function<void(Node*)> checkEnd;
};

void expectPosition(Node* n, float x, float y) {
    EXPECT_NEAR(n->getPositionX(), x, 1e-3f);
    EXPECT_NEAR(n->getPositionY(), y, 1e-3f);
}

class IntervalActionsTest : public enginetest::ActionStage {};

TEST_F(IntervalActionsTest, EachActionEndsOnItsStepInItsEndState) {
    const LeafCase cases[] = {
        {"MoveTo", [](Node* n) { n->setPosition(10, 10); },
         [] { return cocos2d::MoveTo::create(0.5f, Vec2(110, 50)); }, 30,
         [](Node* n) { expectPosition(n, 60, 30); },
         [](Node* n) { EXPECT_EQ(n->getPosition(), Vec2(110, 50)) << "lands exactly on the target"; }},
        {"MoveBy", [](Node* n) { n->setPosition(10, 10); },
         [] { return cocos2d::MoveBy::create(1.0f, Vec2(-40, 80)); }, 60,
         [](Node* n) { expectPosition(n, -10, 50); }, [](Node* n) { expectPosition(n, -30, 90); }},
        {"ScaleTo uniform", [](Node* n) { n->setScale(2.0f, 0.5f); },
         [] { return cocos2d::ScaleTo::create(0.5f, 1.0f); }, 30,
         [](Node* n) {
             EXPECT_NEAR(n->getScaleX(), 1.5f, 1e-4f);
             EXPECT_NEAR(n->getScaleY(), 0.75f, 1e-4f);
         },
         [](Node* n) {
             EXPECT_EQ(n->getScaleX(), 1.0f);
             EXPECT_EQ(n->getScaleY(), 1.0f);
         }},
        {"ScaleTo per axis (mirror)", [](Node* n) { n->setScale(1.0f); },
         [] { return cocos2d::ScaleTo::create(0.2f, -1.0f, 0.6f); }, 12,
         [](Node* n) {
             EXPECT_NEAR(n->getScaleX(), 0.0f, 1e-3f);
             EXPECT_NEAR(n->getScaleY(), 0.8f, 1e-3f);
         },
         [](Node* n) {
             EXPECT_EQ(n->getScaleX(), -1.0f);
             EXPECT_FLOAT_EQ(n->getScaleY(), 0.6f);
         }},
        {"RotateTo the short way over 0", [](Node* n) { n->setRotation(350.0f); },
         [] { return cocos2d::RotateTo::create(0.5f, 10.0f); }, 30,
         [](Node* n) {
             // 20 degrees clockwise through 0, not 340 back: half-way stands on 0 (or 360).
             const float r = n->getRotation();
             EXPECT_TRUE(std::abs(r) < 0.01f || std::abs(r - 360.0f) < 0.01f) << r;
         },
         [](Node* n) { EXPECT_EQ(n->getRotation(), 10.0f); }},
        {"RotateTo back to 0 from a negative tilt", [](Node* n) { n->setRotation(-50.0f); },
         [] { return cocos2d::RotateTo::create(0.5f, 0.0f); }, 30,
         [](Node* n) { EXPECT_NEAR(n->getRotation(), -25.0f, 1e-3f); },
         [](Node* n) { EXPECT_EQ(n->getRotation(), 0.0f); }},
        {"RotateTo exactly half a turn goes clockwise", [](Node* n) { n->setRotation(0.0f); },
         [] { return cocos2d::RotateTo::create(0.5f, -180.0f); }, 30,
         [](Node* n) {
             EXPECT_NEAR(n->getRotation(), -270.0f, 1e-3f) << "(-180, 180]: +180, ending on -180";
         },
         [](Node* n) { EXPECT_EQ(n->getRotation(), -180.0f); }},
        {"RotateBy a full turn", [](Node* n) { n->setRotation(15.0f); },
         [] { return cocos2d::RotateBy::create(0.5f, 360.0f); }, 30,
         [](Node* n) { EXPECT_NEAR(n->getRotation(), 195.0f, 1e-3f); },
         [](Node* n) { EXPECT_FLOAT_EQ(n->getRotation(), 375.0f); }},
        {"SkewTo", [](Node* n) { n->setSkewX(10.0f); },
         [] { return cocos2d::SkewTo::create(0.2f, 0.0f, 4.0f); }, 12,
         [](Node* n) {
             EXPECT_NEAR(n->getSkewX(), 5.0f, 1e-3f);
             EXPECT_NEAR(n->getSkewY(), 2.0f, 1e-3f);
         },
         [](Node* n) {
             EXPECT_EQ(n->getSkewX(), 0.0f);
             EXPECT_EQ(n->getSkewY(), 4.0f);
         }},
        {"FadeIn from the current opacity", [](Node* n) { n->setOpacity(55); },
         [] { return cocos2d::FadeIn::create(0.5f); }, 30, [](Node* n) { EXPECT_EQ(n->getOpacity(), 155); },
         [](Node* n) { EXPECT_EQ(n->getOpacity(), 255); }},
        {"FadeOut", [](Node* n) { n->setOpacity(200); }, [] { return cocos2d::FadeOut::create(0.5f); }, 30,
         [](Node* n) { EXPECT_EQ(n->getOpacity(), 100); }, [](Node* n) { EXPECT_EQ(n->getOpacity(), 0); }},
        {"FadeTo", [](Node* n) { n->setOpacity(128); }, [] { return cocos2d::FadeTo::create(0.5f, 255); }, 30,
         [](Node* n) { EXPECT_NEAR(n->getOpacity(), 191.5, 1.0); },
         [](Node* n) { EXPECT_EQ(n->getOpacity(), 255); }},
        {"TintTo", [](Node* n) { n->setColor(Color3B(255, 255, 255)); },
         [] { return cocos2d::TintTo::create(0.5f, 250, 100, 100); }, 30,
         [](Node* n) {
             EXPECT_NEAR(n->getColor().r, 252.5, 1.0);
             EXPECT_NEAR(n->getColor().g, 177.5, 1.0);
             EXPECT_NEAR(n->getColor().b, 177.5, 1.0);
         },
         [](Node* n) { EXPECT_EQ(n->getColor(), Color3B(250, 100, 100)); }},
        {"BezierTo through absolute control points", [](Node* n) { n->setPosition(0, 0); },
         [] {
             cocos2d::ccBezierConfig c;
             c.controlPoint_1 = Vec2(-300, 100);
             c.controlPoint_2 = Vec2(300, -700);
             c.endPosition = Vec2(80, 40);
             return cocos2d::BezierTo::create(0.5f, c);
         },
         30,
         // B(1/2) = (P0 + 3 P1 + 3 P2 + P3) / 8.
         [](Node* n) { expectPosition(n, 10.0f, -220.0f); },
         [](Node* n) { EXPECT_EQ(n->getPosition(), Vec2(80, 40)); }},
        {"DelayTime changes nothing", [](Node* n) { n->setPosition(3, 4); },
         [] { return cocos2d::DelayTime::create(0.5f); }, 30, [](Node* n) { expectPosition(n, 3, 4); },
         [](Node* n) { expectPosition(n, 3, 4); }},
        {"DelayTime of 0 ends on the first step", [](Node*) {},
         [] { return cocos2d::DelayTime::create(0.0f); }, 1, nullptr, [](Node*) {}},
    };
    for (const LeafCase& c : cases) {
        SCOPED_TRACE(c.name);
        RefPtr<Node> target = Node::create();
        scene->addChild(target);
        c.prepare(target);
        RefPtr<cocos2d::Action> action = c.make();
        target->runAction(action);
        if (c.checkHalfWay) {
            step(c.endStep / 2);
            c.checkHalfWay(target);
            step(c.endStep - c.endStep / 2 - 1);
        } else {
            step(c.endStep - 1);
        }
        EXPECT_NE(action->getTarget(), nullptr) << "still running one step before its end";
        step();
        EXPECT_EQ(action->getTarget(), nullptr) << "ended on step " << c.endStep;
        c.checkEnd(target);
        target->removeFromParent();
    }
}

TEST_F(IntervalActionsTest, StartValuesAreTakenWhenTheActionStartsNotWhenItIsCreated) {
    RefPtr<cocos2d::Action> move = cocos2d::MoveTo::create(0.5f, Vec2(100, 0));
    RefPtr<cocos2d::Action> fade = cocos2d::FadeIn::create(0.5f);
    node->setPosition(60, 0);
    node->setOpacity(0);
    node->runAction(move);
    node->runAction(fade);
    step(15);
    expectPosition(node, 80, 0);
    EXPECT_NEAR(node->getOpacity(), 128, 1);
}

TEST_F(IntervalActionsTest, InstantActionsRunOnTheirFirstStep) {
    int calls = 0;
    node->runAction(cocos2d::CallFunc::create([&calls] { ++calls; }));
    EXPECT_EQ(calls, 0) << "nothing happens inside runAction";
    step();
    EXPECT_EQ(calls, 1);
    step(3);
    EXPECT_EQ(calls, 1) << "once";

    struct Removal {
        bool cleanup;
        int stopsAfter;
    };
    for (const Removal r : {Removal{true, 1}, Removal{false, 0}}) {
        SCOPED_TRACE(r.cleanup ? "RemoveSelf with cleanup" : "RemoveSelf without cleanup");
        RefPtr<Node> target = Node::create();
        scene->addChild(target);
        RefPtr<enginetest::VolumeFade> fade = enginetest::VolumeFade::create(10.0f, 0.0f, 1.0f);
        target->runAction(fade);
        target->runAction(cocos2d::RemoveSelf::create(r.cleanup));
        step();
        EXPECT_EQ(target->getParent(), nullptr);
        EXPECT_FALSE(target->isRunning());
        EXPECT_EQ(fade->stops, r.stopsAfter) << "cleanup stops the target's other actions";
    }
}

}  // namespace
