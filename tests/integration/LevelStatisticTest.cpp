#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BoardTestStage.h"
#include "PictureProgress.h"
#include "ScreenTestSupport.h"
#include "Settings.h"
#include "engine/2d/Label.h"
#include "engine/2d/ParticleSystem.h"
#include "engine/base/Director.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/RichText.h"
#include "nodes/LevelStatistic.h"
#include "ui/FactoryClasses.h"
#include "ui/NodeFromJson.h"
#include "ui/PopupScreenBase.h"

namespace {

using cocos2d::Node;
using cocos2d::Vec2;

class LevelStatisticTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        boardtest::useResources();
        boardtest::useTemporaryDataHome("level-statistic");
        registerFactoryClasses();
    }

    void SetUp() override {
        screentest::loadEnglishTexts();
        Profile& profile = boardtest::freshProfile(5, "USA", "HarborDawn");
        Settings::getInstance().initNewProfile(profile);
        profile.storyLevel = 5;
        profile.currentPicture = PictureKey{"USA", "HarborDawn"};
        PictureProgress& record = profile.world.pictures["HarborDawn"];
        record.path = "HarborDawn";
        record.dropsUsed = 14;
        record.restoredCount = 6;
        record.mistakes = 0;
        record.flies = 2;
        record.time = 75.5f;

        scene = cocos2d::Scene::create();
        Node* screen = Node::create();
        screen->setPosition(visibleCenter());
        scene->addChild(screen);
        container = PopupScreenBase::create();
        screen->addChild(container);
        NodeFromJson description("ui/LevelStatistic");
        panel = dynamic_cast<LevelStatistic*>(description.createNode("LevelStatistic"));
        ASSERT_NE(panel, nullptr);
        container->addChild(panel);
        cocos2d::Director::getInstance()->replaceScene(scene);
        driver().stepFrames(1);
    }

    void TearDown() override {
        if (HasFailure()) {
            saveShot("failed");
        }
        cocos2d::Director::getInstance()->replaceScene(cocos2d::Scene::create());
        driver().stepFrames(2);
        Settings::destroyInstance();
    }

    static testing::Driver& driver() { return testing::Driver::get(); }
    void wait(float seconds) { driver().stepFrames(static_cast<int>(seconds * 60.0f + 0.5f)); }

    void saveShot(const std::string& what) {
        driver().saveScreenshot(testing::Driver::outputPath(
            std::string("LevelStatistic_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
            "_" + what + ".png"));
    }

    std::string text(const std::string& line) const {
        Node* node = panel->getChildByName(line);
        auto* label = node != nullptr ? dynamic_cast<cocos2d::Label*>(node->getChildByName("lbl")) : nullptr;
        return label != nullptr ? label->getString() : "<none>";
    }

    static int particlesIn(const Node* node) {
        int n = 0;
        for (Node* child : node->getChildren()) {
            n += dynamic_cast<cocos2d::ParticleSystem*>(child) != nullptr ? 1 : 0;
        }
        return n;
    }

    // A lit HUD star as the level screen hands it over.
    Node* handOverStar(int tag, const Vec2& at) {
        cocos2d::Sprite* star = cocos2d::Sprite::create("ui/LevelStatistic/LevelStatistic_atlas.png");
        if (star == nullptr) {
            star = cocos2d::Sprite::create();
        }
        star->setPosition(at);
        star->setTag(tag);
        panel->addChild(star);
        return star;
    }

    Node* litOf(int slot) const {
        return panel->getChildByName("statStars")->getChildByTag(slot)->getChildByTag(1);
    }

    cocos2d::Scene* scene = nullptr;
    PopupScreenBase* container = nullptr;
    LevelStatistic* panel = nullptr;
};

TEST_F(LevelStatisticTest, TheStatisticsCountUpFlyIntoTheBadgeAndTheRewardCounts) {
    panel->show("HarborDawn", 1234);
    EXPECT_EQ(text("time"), "1:15");
    EXPECT_EQ(text("drops"), "0");
    EXPECT_EQ(text("reward"), "$0");
    auto* header = dynamic_cast<cocos2d::Label*>(panel->getChildByName("header"));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->getString(), "Harbor at Dawn");
    EXPECT_EQ(panel->getChildByName("fun_facts"), nullptr) << "the rich text takes the placeholder's place";
    bool rich = false;
    for (Node* child : panel->getChildren()) {
        rich = rich || dynamic_cast<cocos2d::ui::RichText*>(child) != nullptr;
    }
    EXPECT_TRUE(rich);
    for (int slot = 1; slot <= 3; ++slot) {
        EXPECT_FALSE(litOf(slot)->isVisible());
    }
    // The picture's evidence item is the player's now.
    EXPECT_EQ(Settings::getInstance().getCurrentUser().evidence.entries.count("ticket"), 1u);

    Node* badge = panel->getChildByName("reward");
    const Vec2 badgePlace = panel->getChildByName("reward_place")->getPosition();
    EXPECT_TRUE(badge->getPosition().equals(badgePlace));
    EXPECT_FLOAT_EQ(badge->getScale(), 0.5f);

    wait(1.1f);
    EXPECT_EQ(text("drops"), "14");
    EXPECT_EQ(text("items"), "6");
    EXPECT_EQ(text("flies"), "2");
    EXPECT_EQ(text("defects"), "0") << "a 0 does not count";
    EXPECT_GE(particlesIn(panel->getChildByName("drops")), 1) << "a counted line bursts";
    EXPECT_EQ(particlesIn(panel->getChildByName("defects")), 0);
    EXPECT_EQ(text("reward"), "$0") << "the reward waits for the lines";
    saveShot("counted");

    wait(2.0f);
    EXPECT_NE(text("reward"), "$0");
    wait(1.2f);
    EXPECT_EQ(text("reward"), "$1234");
    EXPECT_FLOAT_EQ(badge->getScale(), 1.0f);
    EXPECT_FLOAT_EQ(panel->getChildByName("drops")->getScale(), 0.0f) << "the lines flew into the badge";
    EXPECT_TRUE(panel->getChildByName("drops")->getPosition().equals(badgePlace));
}

TEST_F(LevelStatisticTest, ARewardOfNothingShowsNoughtAndKnownEvidenceStaysKnown) {
    Settings::getInstance().addEvidence("ticket");
    Settings::getInstance().getCurrentUser().evidence.entries["ticket"].state = 7;
    panel->show("HarborDawn", 0);
    wait(4.5f);
    EXPECT_EQ(text("reward"), "$0");
    EXPECT_EQ(Settings::getInstance().getCurrentUser().evidence.entries["ticket"].state, 7);
}

TEST_F(LevelStatisticTest, HandedOverStarsFlyIntoTheirSlotsOneAfterTheOther) {
    panel->show("HarborDawn", 500);
    Node* first = handOverStar(1, Vec2(-500, 350));
    Node* second = handOverStar(2, Vec2(-440, 350));
    const Vec2 home = panel->getPosition();
    const std::vector<std::string>& log = driver().captureLog();
    panel->moveStars();
    EXPECT_TRUE(screentest::hasLine(log, "LevelStatistic::moveStars"));
    EXPECT_TRUE(screentest::hasLine(log, "playEffect stat_stars_fly"));
    driver().stopCapturingLog();

    wait(0.68f);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(litOf(1)->isVisible());
    wait(0.05f);
    EXPECT_FALSE(first->isVisible()) << "landed at 0.7 s";
    EXPECT_TRUE(litOf(1)->isVisible());
    EXPECT_TRUE(second->isVisible());
    EXPECT_FALSE(litOf(2)->isVisible());
    wait(0.12f);
    EXPECT_FALSE(second->isVisible()) << "landed 0.13 s later";
    EXPECT_TRUE(litOf(2)->isVisible());
    EXPECT_FALSE(litOf(3)->isVisible());
    saveShot("landed");
    wait(0.5f);
    EXPECT_TRUE(panel->getPosition().equals(home)) << "the jolts end where the panel stood";
}

TEST_F(LevelStatisticTest, WithoutStarsNothingFliesAndNothingSounds) {
    panel->show("HarborDawn", 10);
    const Vec2 home = panel->getPosition();
    const std::vector<std::string>& log = driver().captureLog();
    panel->moveStars();
    wait(0.9f);
    EXPECT_FALSE(screentest::hasLine(log, "playEffect stat_stars_fly"));
    driver().stopCapturingLog();
    EXPECT_TRUE(panel->getPosition().equals(home));
    for (int slot = 1; slot <= 3; ++slot) {
        EXPECT_FALSE(litOf(slot)->isVisible());
    }
}

TEST_F(LevelStatisticTest, OkClosesItsContainerAndAPictureNoPackListsStillShows) {
    Settings::getInstance().getCurrentUser().currentPicture = PictureKey{"Nowhere", "Unknown"};
    const size_t evidenceBefore = Settings::getInstance().getCurrentUser().evidence.entries.size();
    panel->show("Unknown", 3);
    EXPECT_EQ(Settings::getInstance().getCurrentUser().evidence.entries.size(), evidenceBefore);
    EXPECT_EQ(text("time"), "0:00") << "no record: an empty one";
    Node* ok = panel->getChildByName("ok_btn");
    ASSERT_NE(ok, nullptr);
    const cocos2d::Size size = ok->getContentSize();
    driver().tap(ok->convertToWorldSpace(Vec2(size.width / 2, size.height / 2)));
    driver().stepFrames(2);
    EXPECT_TRUE(container->isClosing());
}

}  // namespace
