#include <string>
#include <vector>

#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeOut.h"
#include "engine/actions/MoveBy.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/Repeat.h"
#include "engine/actions/RepeatForever.h"
#include "engine/actions/ScaleTo.h"
#include "engine/actions/Sequence.h"
#include "engine/actions/Spawn.h"
#include "engine/actions/Speed.h"
#include "engine/actions/TintTo.h"
#include "ActionStage.h"

namespace {

using cocos2d::CallFunc;
using cocos2d::DelayTime;
using cocos2d::MoveBy;
using cocos2d::RefPtr;
using cocos2d::Sequence;
using cocos2d::Spawn;
using cocos2d::Vec2;
using enginetest::VolumeFade;
using Log = std::vector<std::string>;

class CompositeActionsTest : public enginetest::ActionStage {
protected:
    // A call that logs the number of the step it runs in, counted from markStart().
    CallFunc* record(const std::string& what) {
        return CallFunc::create([this, what] {
            const int inProgress = static_cast<int>(director()->getTotalFrames()) + 1 - _start;
            log.push_back(what + "@" + std::to_string(inProgress));
        });
    }
    void markStart() { _start = static_cast<int>(director()->getTotalFrames()); }
    Log log;

private:
    int _start = 0;
};

TEST_F(CompositeActionsTest, SequenceSplitsTimeExactlyAndRunsInstantsOnTheStepTheyAreReached) {
    // With steps of 0.1 s: the first move ends inside step 3, and the second gets the 0.05 s left.
    node->runAction(
        Sequence::create(MoveBy::create(0.25f, Vec2(100, 0)), MoveBy::create(0.25f, Vec2(0, 100)), nullptr));
    step(3, 0.1f);
    EXPECT_NEAR(node->getPositionX(), 100.0f, 1e-3f);
    EXPECT_NEAR(node->getPositionY(), 20.0f, 1e-3f);

    // Boundaries on accumulated sixtieths: each call fires on the step its delay ends, not one later,
    // though 45 sixtieths add up to a little less than 0.75 s.
    RefPtr<cocos2d::Node> other = cocos2d::Node::create();
    scene->addChild(other);
    markStart();
    other->runAction(Sequence::create(DelayTime::create(0.75f), record("a"), record("b"),
                                      DelayTime::create(0.25f), record("c"), nullptr));
    step(61);
    EXPECT_EQ(log, (Log{"a@45", "b@45", "c@60"}));
}

TEST_F(CompositeActionsTest, ACallAfterAVeryShortFadeRunsOnTheStepTheFadeEnds) {
    node->setOpacity(255);
    int seenOpacity = -1;
    int calls = 0;
    node->runAction(Sequence::create(cocos2d::FadeOut::create(0.01f), CallFunc::create([&] {
                                         seenOpacity = node->getOpacity();
                                         ++calls;
                                     }),
                                     nullptr));
    step();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seenOpacity, 0) << "the fade reached its end state before the call";
}

TEST_F(CompositeActionsTest, SubActionsTakeTheirStartValuesWhenReached) {
    node->setPosition(0, 0);
    node->runAction(Sequence::create(MoveBy::create(0.5f, Vec2(50, 0)),
                                     CallFunc::create([this] { node->setPosition(0, 500); }),
                                     cocos2d::MoveTo::create(0.5f, Vec2(0, 0)), nullptr));
    step(45);
    EXPECT_NEAR(node->getPositionY(), 250.0f, 1e-2f) << "MoveTo starts from where the call put the node";
    EXPECT_NEAR(node->getPositionX(), 0.0f, 1e-3f);
}

TEST_F(CompositeActionsTest, SpawnLastsAsLongAsItsLongestActionAndEndsTheOthersOnTheirOwnStep) {
    auto* shortFade = VolumeFade::create(0.25f, 0.0f, 1.0f, &log);
    auto* longFade = VolumeFade::create(0.5f, 1.0f, 0.0f, &log);
    RefPtr<Spawn> spawn = Spawn::create(shortFade, longFade, nullptr);
    EXPECT_FLOAT_EQ(spawn->getDuration(), 0.5f);
    node->runAction(spawn);
    step(14);
    EXPECT_EQ(shortFade->stops, 0);
    step();
    EXPECT_EQ(shortFade->stops, 1) << "stopped on the step its 0.25 s ran out";
    EXPECT_FLOAT_EQ(shortFade->volume, 1.0f);
    EXPECT_NEAR(longFade->volume, 0.5f, 1e-4f);
    EXPECT_EQ(stepsUntilDone(spawn), 15);
    EXPECT_FLOAT_EQ(longFade->volume, 0.0f);
    EXPECT_EQ(shortFade->stops, 1);
    EXPECT_EQ(longFade->stops, 1);
    EXPECT_EQ(shortFade->updates, 15) << "a finished action is left alone";
}

TEST_F(CompositeActionsTest, RepeatRestartsTheInnerActionWithTheLeftoverTime) {
    node->setPosition(0, 0);
    RefPtr<cocos2d::Repeat> repeat = cocos2d::Repeat::create(MoveBy::create(0.25f, Vec2(100, 0)), 3);
    EXPECT_FLOAT_EQ(repeat->getDuration(), 0.75f);
    node->runAction(repeat);
    step(3, 0.1f);
    EXPECT_NEAR(node->getPositionX(), 120.0f, 1e-3f) << "round two began from round one's end";
    step(4, 0.1f);
    EXPECT_NEAR(node->getPositionX(), 280.0f, 1e-3f);
    EXPECT_NE(repeat->getTarget(), nullptr);
    step(1, 0.1f);
    EXPECT_EQ(repeat->getTarget(), nullptr);
    EXPECT_NEAR(node->getPositionX(), 300.0f, 1e-3f);

    // The game's pulse, 0.625 s a round: twice a spawn of a tint and a scale sequence, each ending
    // where it began.
    RefPtr<cocos2d::Node> panel = cocos2d::Node::create();
    scene->addChild(panel);
    auto pulse = [] {
        return Spawn::create(
            Sequence::create(cocos2d::TintTo::create(0.25f, 250, 100, 100), DelayTime::create(0.0625f),
                             cocos2d::TintTo::create(0.25f, 255, 255, 255), DelayTime::create(0.0625f),
                             nullptr),
            Sequence::create(cocos2d::ScaleTo::create(0.25f, 1.05f), DelayTime::create(0.0625f),
                             cocos2d::ScaleTo::create(0.25f, 1.0f), DelayTime::create(0.0625f), nullptr),
            nullptr);
    };
    RefPtr<cocos2d::Action> twice = cocos2d::Repeat::create(pulse(), 2);
    panel->runAction(twice);
    step(53);  // 0.883 s: round two's first tint has ended, its delay runs
    EXPECT_EQ(panel->getColor(), cocos2d::Color3B(250, 100, 100));
    EXPECT_FLOAT_EQ(panel->getScaleX(), 1.05f);
    EXPECT_EQ(stepsUntilDone(twice), 75 - 53);
    EXPECT_EQ(panel->getColor(), cocos2d::Color3B::WHITE);
    EXPECT_FLOAT_EQ(panel->getScaleX(), 1.0f);
}

TEST_F(CompositeActionsTest, RepeatForeverCarriesLeftoverTimeAndCoversWholeRoundsInALongStep) {
    node->setPosition(0, 0);
    RefPtr<cocos2d::RepeatForever> forever =
        cocos2d::RepeatForever::create(MoveBy::create(0.25f, Vec2(100, 0)));
    node->runAction(forever);
    step(10, 0.1f);
    EXPECT_NEAR(node->getPositionX(), 400.0f, 1e-2f) << "four rounds in one second";
    EXPECT_FALSE(forever->isDone());

    // A round of 4 ms inside one sixtieth: every round it covers runs, and rounds add up over time.
    int rounds = 0;
    RefPtr<cocos2d::Node> other = cocos2d::Node::create();
    scene->addChild(other);
    other->runAction(cocos2d::RepeatForever::create(
        Sequence::create(DelayTime::create(0.004f), CallFunc::create([&rounds] { ++rounds; }), nullptr)));
    step();
    EXPECT_EQ(rounds, 4);
    step(59);
    EXPECT_NEAR(rounds, 250, 1);
}

TEST_F(CompositeActionsTest, SpeedScalesTheStepAndANewSpeedAppliesFromTheNextStep) {
    node->setPosition(0, 0);
    RefPtr<cocos2d::Speed> speed = cocos2d::Speed::create(MoveBy::create(1.0f, Vec2(100, 0)), 0.5f);
    node->runAction(speed);
    step(60);
    EXPECT_NEAR(node->getPositionX(), 50.0f, 1e-2f);
    speed->setSpeed(2.0f);
    EXPECT_FLOAT_EQ(speed->getSpeed(), 2.0f);
    EXPECT_EQ(stepsUntilDone(speed), 15) << "the other half at double speed";
    EXPECT_FLOAT_EQ(node->getPositionX(), 100.0f);

    // Speed over a RepeatForever is never done; nearly still at 0.01.
    RefPtr<cocos2d::Speed> wings =
        cocos2d::Speed::create(cocos2d::RepeatForever::create(MoveBy::create(0.1f, Vec2(0, 10))), 0.01f);
    node->runAction(wings);
    step(60);
    EXPECT_NEAR(node->getPositionY(), 1.0f, 1e-2f);
    wings->setSpeed(1.0f);
    step(6);
    EXPECT_NEAR(node->getPositionY(), 11.0f, 1e-2f);
    EXPECT_NE(wings->getTarget(), nullptr);
}

TEST_F(CompositeActionsTest, UserActionsInsideASequenceStopOnceBeforeTheNextStarts) {
    // The music fade-out, then the call that stops the track.
    RefPtr<VolumeFade> fade = VolumeFade::create(0.7f, 0.4f, 0.0f, &log);
    node->runAction(
        Sequence::create(fade, CallFunc::create([this] { log.push_back("stop track"); }), nullptr));
    step(41);
    EXPECT_TRUE(log.empty());
    step();
    EXPECT_EQ(log, (Log{"fade stop", "stop track"}));
    EXPECT_FLOAT_EQ(fade->volume, 0.0f);
    EXPECT_EQ(fade->stops, 1);
}

TEST_F(CompositeActionsTest, NullsEndTheListAndAnEmptyListGivesNothing) {
    auto& lines = captureLog();
    EXPECT_EQ(Sequence::create(nullptr), nullptr);
    EXPECT_EQ(Spawn::create(nullptr), nullptr);
    EXPECT_TRUE(lines.empty());
    // A failed create in the middle of a list: what comes after it is left out, with one line.
    RefPtr<Sequence> cut =
        Sequence::create(DelayTime::create(1.0f), nullptr, DelayTime::create(2.0f), nullptr);
    ASSERT_TRUE(cut);
    EXPECT_FLOAT_EQ(cut->getDuration(), 1.0f);
    EXPECT_EQ(lines.size(), 1u);
    EXPECT_EQ(cocos2d::Repeat::create(nullptr, 2), nullptr);
    EXPECT_EQ(cocos2d::RepeatForever::create(nullptr), nullptr);
    EXPECT_EQ(cocos2d::Speed::create(nullptr, 1.0f), nullptr);
}

}  // namespace
