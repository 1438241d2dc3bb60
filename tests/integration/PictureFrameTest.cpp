#include <gtest/gtest.h>

#include <string>

#include "Driver.h"
#include "GalleryTestStage.h"
#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/scene/Scene.h"
#include "nodes/PictureFrame.h"
#include "ui/NodeFromJson.h"

namespace {

using cocos2d::Node;

class PictureFrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gallerytest::useResources("picture-frame"); }

    void SetUp() override {
        gallerytest::freshPlayer("USA");
        gallerytest::loadThumbnails("USA");
        scene = gallerytest::openScene();
    }

    void TearDown() override {
        if (HasFailure()) {
            testing::Driver::get().saveScreenshot(testing::Driver::outputPath(
                std::string("PictureFrame_") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png"));
        }
        Settings::destroyInstance();
    }

    // A frame from the gallery's description, as the list builds it, standing in the scene.
    PictureFrame* makeFrame() {
        NodeFromJson description("ui/GalleryDynamic");
        auto* frame = dynamic_cast<PictureFrame*>(description.createNode("PictureFrame"));
        if (frame != nullptr) {
            frame->setPosition(640, 405);
            scene->addChild(frame);
        }
        return frame;
    }

    static std::string priceText(PictureFrame* frame) {
        Node* price = frame->getChildByName("price");
        auto* label = price ? dynamic_cast<cocos2d::Label*>(price->getChildByName("priceLabel")) : nullptr;
        return label ? label->getString() : "<none>";
    }

    cocos2d::Scene* scene = nullptr;
};

TEST_F(PictureFrameTest, LockAndPriceFollowThePicturesState) {
    struct Case {
        const char* name;
        int state;
        bool newlyUnlocked;
        int earned;
        bool lock;
        const char* price;
    };
    const Case cases[] = {
        {"locked", -1, false, 0, true, "<none>"},
        {"never played", 0, false, 0, false, "$0"},
        {"played", 2, false, 1234, false, "$1234"},
        {"just unlocked", 0, true, 0, true, "$0"},
    };
    for (const Case& c : cases) {
        PictureProgress& record = gallerytest::picture("PrairieWind");
        record.state = c.state;
        record.earnedTotal = c.earned;
        Settings::getInstance().getCurrentUser().world.lastUnlockedPicture = c.newlyUnlocked ? "PrairieWind" : "";
        PictureFrame* frame = makeFrame();
        ASSERT_NE(frame, nullptr);
        EXPECT_FALSE(frame->setPicture({"USA", "PrairieWind"})) << c.name;
        EXPECT_EQ(frame->getName(), "PrairieWind");
        EXPECT_EQ(frame->getPictureKey(), (PictureKey{"USA", "PrairieWind"}));
        EXPECT_EQ(frame->getChildByName("levelclosed") != nullptr, c.lock) << c.name;
        EXPECT_EQ(priceText(frame), c.price) << c.name;
        EXPECT_EQ(frame->isLocked(), c.state < 0) << c.name;
        // The thumbnail comes from the country's sheet.
        EXPECT_EQ(frame->getChildByName("iconPlace")->getChildrenCount(), 1) << c.name;
        frame->removeFromParent();
    }
}

TEST_F(PictureFrameTest, BestStarsLightTheStarsUpToThem) {
    for (int best = 0; best <= 3; ++best) {
        gallerytest::picture("HarborDawn").bestStars = best;
        PictureFrame* frame = makeFrame();
        ASSERT_NE(frame, nullptr);
        frame->setPicture({"USA", "HarborDawn"});
        int stars = 0;
        for (Node* child : frame->getChildren()) {
            if (child->getName() != "Star") {
                continue;
            }
            ++stars;
            EXPECT_EQ(child->getChildByName("levelstare")->isVisible(), child->getTag() <= best)
                << "best " << best << ", star " << child->getTag();
        }
        EXPECT_EQ(stars, 3);
        frame->removeFromParent();
    }
}

TEST_F(PictureFrameTest, TheLastPlaysGainIsReportedOnceAndClearedInTheRecord) {
    struct Case {
        int lastGain;
        int firstStars;
        bool earned;
    };
    const Case cases[] = {{0, 0, false}, {500, 0, true}, {0, 2, true}, {500, 1, true}};
    for (const Case& c : cases) {
        PictureProgress& record = gallerytest::picture("HarborDawn");
        record.lastGain = c.lastGain;
        record.firstStars = c.firstStars;
        record.bestStars = 2;
        PictureFrame* frame = makeFrame();
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->setPicture({"USA", "HarborDawn"}), c.earned) << c.lastGain << "/" << c.firstStars;
        EXPECT_EQ(record.lastGain, 0);
        EXPECT_EQ(record.firstStars, 0);
        EXPECT_EQ(record.bestStars, 2);
        // The next list build has nothing left to show.
        PictureFrame* again = makeFrame();
        EXPECT_FALSE(again->setPicture({"USA", "HarborDawn"}));
        frame->removeFromParent();
        again->removeFromParent();
    }
}

TEST_F(PictureFrameTest, TheCountryPicksTheFrameStyleAndTheFinishedMarkShowsOnlyWhenFinished) {
    struct Case {
        const char* country;
        int style;
    };
    const Case cases[] = {{"USA", 1}, {"UnitedKingdom", 2}, {"Spain", 3}, {"Austria", 1}, {"demo", 0}};
    for (const Case& c : cases) {
        Settings::getInstance().getCurrentUser().currentPicture.country = c.country;
        EXPECT_EQ(PictureFrame::frameStyleOf(c.country), c.style);
        PictureFrame* frame = makeFrame();
        ASSERT_NE(frame, nullptr);
        Node* styles = frame->getChildByName("frame");
        for (Node* style : styles->getChildren()) {
            EXPECT_EQ(style->isVisible(), style->getTag() == c.style) << c.country << " " << style->getName();
        }
        EXPECT_FALSE(frame->getChildByTag(9)->isVisible());
        frame->removeFromParent();
    }
    gallerytest::picture("HarborDawn").finished = true;
    PictureFrame* finished = makeFrame();
    finished->setPicture({"USA", "HarborDawn"});
    EXPECT_TRUE(finished->getChildByTag(9)->isVisible());
}

TEST_F(PictureFrameTest, TheUnlockAnimationOpensTheLockOnce) {
    Profile& profile = Settings::getInstance().getCurrentUser();
    gallerytest::picture("PrairieWind").state = 0;
    profile.world.lastUnlockedPicture = "PrairieWind";
    PictureFrame* frame = makeFrame();
    ASSERT_NE(frame, nullptr);
    frame->setPicture({"USA", "PrairieWind"});
    Node* lock = frame->getChildByName("levelclosed");
    ASSERT_NE(lock, nullptr);
    const float top = lock->getPositionY() + lock->getContentSize().height * 0.5f;

    frame->playUnlockAnimation();
    EXPECT_TRUE(profile.world.lastUnlockedPicture.empty());
    EXPECT_FLOAT_EQ(lock->getPositionY(), top);
    EXPECT_EQ(lock->getAnchorPoint(), cocos2d::Vec2(0.5f, 1.0f));
    // A second call while it opens changes nothing.
    frame->playUnlockAnimation();
    EXPECT_FLOAT_EQ(lock->getPositionY(), top);
    testing::Driver::get().stepFrames(30);
    EXPECT_LT(lock->getScaleY(), 0.7f);
    testing::Driver::get().stepFrames(40);
    EXPECT_EQ(frame->getChildByName("levelclosed"), nullptr);

    // Built again, the picture is like any unlocked one.
    PictureFrame* again = makeFrame();
    again->setPicture({"USA", "PrairieWind"});
    EXPECT_EQ(again->getChildByName("levelclosed"), nullptr);
    EXPECT_EQ(priceText(again), "$0");
    // Without a lock there is nothing to open, and nothing breaks.
    again->playUnlockAnimation();
}

TEST_F(PictureFrameTest, TheCoinStartsAtTheFirstStar) {
    PictureFrame* frame = makeFrame();
    ASSERT_NE(frame, nullptr);
    frame->setPicture({"USA", "HarborDawn"});
    Node* star = frame->getChildByTag(1);
    ASSERT_NE(star, nullptr);
    EXPECT_EQ(frame->getStarWorldPosition(), frame->convertToWorldSpace(star->getPosition()));
    star->setName("NotAStar");
    EXPECT_EQ(frame->getStarWorldPosition(), cocos2d::Vec2::ZERO);
}

}  // namespace
