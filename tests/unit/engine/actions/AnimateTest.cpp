#include <vector>

#include "engine/actions/Animate.h"
#include "engine/actions/Animation.h"
#include "engine/actions/RepeatForever.h"
#include "engine/actions/Speed.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrame.h"
#include "ActionStage.h"

namespace {

using cocos2d::Animate;
using cocos2d::Animation;
using cocos2d::RefPtr;
using cocos2d::Sprite;
using cocos2d::SpriteFrame;

// Four frames side by side on one sheet, told apart by their rectangles.
class AnimateTest : public enginetest::ActionStage {
protected:
    void SetUp() override {
        ActionStage::SetUp();
        sheet = cocos2d::Texture2D::create();
        std::vector<unsigned char> pixels(64 * 16 * 4, 255);
        sheet->initWithData(pixels.data(), 64, 16);
        for (int i = 0; i < 4; ++i) {
            frames.pushBack(SpriteFrame::create(sheet, cocos2d::Rect(16.0f * i, 0, 16, 16)));
        }
        sprite = Sprite::createWithSpriteFrame(frames.at(0));
        scene->addChild(sprite);
    }
    // The index of the frame the sprite shows, or -1.
    int shown() const {
        for (size_t i = 0; i < frames.size(); ++i) {
            if (sprite->isFrameDisplayed(frames.at(i))) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    RefPtr<cocos2d::Texture2D> sheet;
    cocos2d::Vector<SpriteFrame*> frames;
    Sprite* sprite = nullptr;
};

TEST_F(AnimateTest, ShowsTheFrameThatTheProgressFallsInAndKeepsTheLastOne) {
    Animation* animation = Animation::createWithSpriteFrames(frames, 0.1f, 2);
    EXPECT_FLOAT_EQ(animation->getDuration(), 0.8f) << "frames x delay x loops";
    RefPtr<Animate> animate = Animate::create(animation);
    EXPECT_FLOAT_EQ(animate->getDuration(), 0.8f);
    sprite->runAction(animate);
    // Sampled in the middle of each 0.1 s frame, over both loops.
    std::vector<int> seen;
    for (int i = 0; i < 8; ++i) {
        step(i == 0 ? 3 : 6);
        seen.push_back(shown());
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 0, 1, 2, 3}));
    EXPECT_EQ(stepsUntilDone(animate), 48 - 45);
    EXPECT_EQ(shown(), 3) << "the original frame is not restored";
}

TEST_F(AnimateTest, AtTenMillisecondsAFrameEachSixtiethSkipsFrames) {
    RefPtr<Animate> animate = Animate::create(Animation::createWithSpriteFrames(frames, 0.01f));
    sprite->runAction(animate);
    std::vector<int> seen;
    for (int i = 0; i < 3; ++i) {
        step();
        seen.push_back(shown());
    }
    // t = 0.42, 0.83, 1: units 1, 3, then the last.
    EXPECT_EQ(seen, (std::vector<int>{1, 3, 3}));
    EXPECT_EQ(animate->getTarget(), nullptr);
}

TEST_F(AnimateTest, TheWingsRepeatForeverUnderASpeedThatSlowsThemAlmostToAStop) {
    auto* wings = cocos2d::Speed::create(
        cocos2d::RepeatForever::create(Animate::create(Animation::createWithSpriteFrames(frames, 0.01f))),
        1.0f);
    sprite->runAction(wings);
    step(30);
    wings->setSpeed(0.01f);
    const int before = shown();
    step(20);
    EXPECT_EQ(shown(), before) << "20 steps at 0.01 cover a third of one 10 ms frame";
    step(70);
    EXPECT_EQ(shown(), (before + 1) % 4) << "90 steps at 0.01 move on by 15 ms: the next frame";
    EXPECT_NE(wings->getTarget(), nullptr);
}

TEST_F(AnimateTest, ANodeThatIsNotASpriteAndAMissingAnimationAreHandled) {
    EXPECT_EQ(Animate::create(nullptr), nullptr);
    RefPtr<Animate> animate = Animate::create(Animation::createWithSpriteFrames(frames, 0.1f));
    node->runAction(animate);
    EXPECT_EQ(stepsUntilDone(animate), 24);
    RefPtr<Animate> empty = Animate::create(Animation::createWithSpriteFrames({}, 0.1f));
    sprite->runAction(empty);
    EXPECT_EQ(stepsUntilDone(empty), 1);
    EXPECT_EQ(shown(), 0);
}

}  // namespace
