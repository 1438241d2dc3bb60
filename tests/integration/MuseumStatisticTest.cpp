#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Driver.h"
#include "GalleryTestStage.h"
#include "engine/2d/Label.h"
#include "engine/base/RefPtr.h"
#include "engine/scene/Scene.h"
#include "engine/ui/Widget.h"
#include "nodes/MuseumStatistic.h"
#include "ui/NodeFromJson.h"
#include "ui/PopupScreenBase.h"

namespace {

using cocos2d::Node;

constexpr int kUsaPrice = 49500;  // the two USA pictures' coins times 0.99

class MuseumStatisticTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gallerytest::useResources("museum-statistic"); }

    void SetUp() override {
        Profile& profile = gallerytest::freshPlayer("USA");
        unlockCountry("USA");
        setCountryState("USA", static_cast<int32_t>(CountryState::Opened));
        profile.progressIndex = 0;
        scene = gallerytest::openScene();
    }

    void TearDown() override {
        if (HasFailure()) {
            testing::Driver::get().saveScreenshot(testing::Driver::outputPath(
                std::string("MuseumStatistic_") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png"));
        }
        Settings::destroyInstance();
    }

    // The panel in a bare container over the scene, as the gallery opens it.
    MuseumStatistic* open() {
        container = PopupScreenBase::create();
        container->setPosition(visibleCenter());
        scene->addChild(container);
        NodeFromJson description("ui/MuseumStatistic");
        auto* panel = dynamic_cast<MuseumStatistic*>(description.createNode("MuseumStatUI"));
        if (panel != nullptr) {
            panel->setCallback([this](int result) { results.push_back(result); });
            container->addChild(panel);
        }
        testing::Driver::get().stepFrames(2);
        return panel;
    }

    static std::string line(MuseumStatistic* panel, const std::string& name) {
        auto* label = dynamic_cast<cocos2d::Label*>(panel->getChildByName(name));
        return label != nullptr ? label->getString() : "<none>";
    }

    static void tapCentre(Node* node) {
        const cocos2d::Size size = node->getContentSize();
        testing::Driver::get().tap(node->convertToWorldSpace(cocos2d::Vec2(size.width / 2, size.height / 2)));
        testing::Driver::get().stepFrames(3);
    }

    cocos2d::Scene* scene = nullptr;
    PopupScreenBase* container = nullptr;
    std::vector<int> results;
};

TEST_F(MuseumStatisticTest, PlayTimeShowsAsMinutesAndPaddedSeconds) {
    struct Case {
        float seconds;
        const char* text;
    };
    const Case cases[] = {{0.0f, "0:00"}, {59.5f, "0:59"}, {60.0f, "1:00"}, {3725.9f, "62:05"}, {609.0f, "10:09"}};
    for (const Case& c : cases) {
        EXPECT_EQ(MuseumStatistic::formatTime(c.seconds), c.text) << c.seconds;
    }
}

TEST_F(MuseumStatisticTest, TheLinesSumThePlayedPicturesOfTheCountry) {
    PictureProgress& harbor = gallerytest::picture("HarborDawn");
    harbor.time = 3700.0f;
    harbor.restoredCount = 4;
    harbor.mistakes = 2;
    harbor.dropsUsed = 10;
    harbor.earnedTotal = 800;
    PictureProgress& prairie = gallerytest::picture("PrairieWind");
    prairie.time = 25.9f;
    prairie.restoredCount = 1;
    prairie.mistakes = 3;
    prairie.dropsUsed = 5;
    // Another country's picture never counts here.
    gallerytest::picture("FoggyBridge").restoredCount = 50;
    Settings::getInstance().getCurrentUser().money = 1000;

    MuseumStatistic* panel = open();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->getPrice(), kUsaPrice);
    EXPECT_EQ(line(panel, "museum_stat_caption"), "The Collection");
    EXPECT_EQ(line(panel, "stat_1"), "Restoration time: 62:05");
    EXPECT_EQ(line(panel, "stat_2"), "Items restored: 5");
    EXPECT_EQ(line(panel, "stat_3"), "Wrong moves: 5");
    EXPECT_EQ(line(panel, "stat_4"), "Reagent drops used: 15");
    EXPECT_EQ(line(panel, "stat_5"), "Paintings restored: 1 / 2");
    EXPECT_EQ(line(panel, "stat_6"), "Collection price $ 49500");
    EXPECT_EQ(line(panel, "stat_7"), "Your savings $ 1000");
    // The country's icon from the map's sheet sits on its place.
    EXPECT_EQ(panel->getChildByName("country_icon")->getChildrenCount(), 1);
    testing::Driver::get().stepFrames(1);
    testing::Driver::get().saveScreenshot(testing::Driver::outputPath("MuseumStatistic_usa.png"));
}

TEST_F(MuseumStatisticTest, PayIsOfferedOnlyWhenTheMoneyCoversAnOpenCollection) {
    struct Case {
        const char* name;
        int money;
        bool completed;
        bool pay;
        bool red;
    };
    const Case cases[] = {
        {"exactly the price", kUsaPrice, false, true, false},
        {"one short", kUsaPrice - 1, false, false, true},
        {"rich", kUsaPrice * 3, false, true, false},
        {"bought", kUsaPrice * 3, true, false, false},
    };
    for (const Case& c : cases) {
        Settings::getInstance().getCurrentUser().money = c.money;
        setCountryState("USA", static_cast<int32_t>(c.completed ? CountryState::Completed : CountryState::Opened));
        MuseumStatistic* panel = open();
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->getChildByName("pay") != nullptr, c.pay) << c.name;
        Node* balance = panel->getChildByName("stat_7");
        if (c.completed) {
            EXPECT_EQ(balance, nullptr) << c.name;
            EXPECT_EQ(panel->getChildByName("icons")->getChildByTag(7), nullptr) << c.name;
            EXPECT_EQ(line(panel, "stat_6"), "Collection bought for $ 49500") << c.name;
        } else {
            ASSERT_NE(balance, nullptr) << c.name;
            EXPECT_EQ(balance->getColor() == cocos2d::Color3B(255, 0, 0), c.red) << c.name;
            EXPECT_NE(panel->getChildByName("icons")->getChildByTag(7), nullptr) << c.name;
        }
        container->removeFromParent();
    }
}

TEST_F(MuseumStatisticTest, PayingCompletesTheCountryAndOpensTheNextOne) {
    Profile& profile = Settings::getInstance().getCurrentUser();
    profile.money = kUsaPrice;
    MuseumStatistic* panel = open();
    ASSERT_NE(panel, nullptr);
    Node* pay = panel->getChildByName("pay");
    ASSERT_NE(pay, nullptr);
    EXPECT_EQ(panel->getChildByName("pay") != nullptr, true);
    // Held: the closed container and its panel go at once.
    cocos2d::RefPtr<Node> balance(panel->getChildByName("stat_7"));
    cocos2d::RefPtr<PopupScreenBase> keep(container);
    tapCentre(pay);

    EXPECT_EQ(results, std::vector<int>{MuseumStatistic::kPaidAndUnlocked});
    EXPECT_EQ(profile.money, 0);
    EXPECT_TRUE(isCountryCompleted("USA"));
    EXPECT_FALSE(isPictureLocked("FoggyBridge"));
    EXPECT_FALSE(isCountryLocked("UnitedKingdom"));
    EXPECT_EQ(profile.world.lastUnlockedPicture, "FoggyBridge");
    EXPECT_TRUE(container->isClosing());
    ASSERT_NE(balance, nullptr);
    EXPECT_EQ(dynamic_cast<cocos2d::Label*>(balance.get())->getString(), "Your savings $ 0");
    EXPECT_EQ(balance->getColor(), cocos2d::Color3B(2, 105, 78));
}

TEST_F(MuseumStatisticTest, TheLastCountryUnlocksNothingAndMovesTheProgressMessageOn) {
    Profile& profile = Settings::getInstance().getCurrentUser();
    profile.currentPicture.country = "Austria";
    unlockCountry("Austria");
    const int before = profile.progressIndex;
    profile.money = getCollectionPrice("Austria") + 5;
    MuseumStatistic* panel = open();
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(panel->getChildByName("pay"), nullptr);
    tapCentre(panel->getChildByName("pay"));
    EXPECT_EQ(results, std::vector<int>{MuseumStatistic::kPaidNothingUnlocked});
    EXPECT_EQ(profile.money, 5);
    EXPECT_EQ(profile.progressIndex, before + 1);
    EXPECT_TRUE(isCountryCompleted("Austria"));
}

TEST_F(MuseumStatisticTest, ClosingWithoutPayingReportsNothingAndSpendsNothing) {
    Profile& profile = Settings::getInstance().getCurrentUser();
    profile.money = kUsaPrice * 2;
    MuseumStatistic* panel = open();
    ASSERT_NE(panel, nullptr);
    cocos2d::RefPtr<PopupScreenBase> keep(container);
    tapCentre(panel->getChildByName("CloseButton"));
    EXPECT_EQ(results, std::vector<int>{MuseumStatistic::kNothingPaid});
    EXPECT_EQ(profile.money, kUsaPrice * 2);
    EXPECT_FALSE(isCountryCompleted("USA"));
    EXPECT_TRUE(container->isClosing());
}

TEST_F(MuseumStatisticTest, PayChecksTheMoneyAgainWhenItIsPressed) {
    Profile& profile = Settings::getInstance().getCurrentUser();
    profile.money = kUsaPrice;
    MuseumStatistic* panel = open();
    ASSERT_NE(panel, nullptr);
    profile.money = kUsaPrice - 100;
    panel->onPay(nullptr);
    EXPECT_EQ(results, std::vector<int>{MuseumStatistic::kNothingPaid});
    EXPECT_EQ(profile.money, kUsaPrice - 100);
    EXPECT_FALSE(isCountryCompleted("USA"));
}

}  // namespace
