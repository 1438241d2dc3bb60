#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "Driver.h"
#include "GalleryTestStage.h"
#include "ScreenTestSupport.h"
#include "engine/2d/Label.h"
#include "engine/base/RefPtr.h"
#include "engine/platform/FileUtils.h"
#include "engine/scene/Scene.h"
#include "ui/EvidenceAddingScreen.h"
#include "ui/NodeFromJson.h"
#include "ui/TutorialScreen.h"

namespace {

using cocos2d::Node;
using cocos2d::Vec2;

constexpr int kFrames3s = 180;

class EvidenceAddingScreenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gallerytest::useResources("evidence-popup"); }

    void SetUp() override {
        gallerytest::freshPlayer("USA");
        Settings::getInstance().addEvidence("ticket");
        scene = gallerytest::openScene();
        // Stands where a screen stands: at the centre of the visible area.
        screen = Node::create();
        screen->setPosition(visibleCenter());
        scene->addChild(screen);
    }

    void TearDown() override {
        if (HasFailure()) {
            testing::Driver::get().saveScreenshot(testing::Driver::outputPath(
                std::string("EvidenceAddingScreen_") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png"));
        }
        Settings::destroyInstance();
    }

    EvidenceAddingScreen* show(const std::string& name) {
        popup = EvidenceAddingScreen::create();
        if (popup == nullptr) {
            return nullptr;
        }
        keep = popup;
        screen->addChild(popup);
        popup->show(name, target);
        popup->setOnEvidenceClosed([this] { ++closed; });
        testing::Driver::get().stepFrames(1);
        return popup;
    }

    static void tap() {
        testing::Driver::get().tap(Vec2(640, 300));
        testing::Driver::get().stepFrames(1);
    }

    static TutorialScreen* tutorialIn(Node* node) {
        for (Node* child : node->getChildren()) {
            if (auto* tutorial = dynamic_cast<TutorialScreen*>(child)) {
                return tutorial;
            }
        }
        return nullptr;
    }

    cocos2d::Scene* scene = nullptr;
    Node* screen = nullptr;
    EvidenceAddingScreen* popup = nullptr;
    cocos2d::RefPtr<EvidenceAddingScreen> keep;
    Vec2 target{1085.0f, 755.0f};
    int closed = 0;
};

TEST_F(EvidenceAddingScreenTest, TheItemGrowsWithItsMessageAndIsShownOnlyOnce) {
    ASSERT_NE(show("ticket"), nullptr);
    EXPECT_TRUE(Settings::getInstance().getCurrentUser().newestEvidence.empty());
    Node* item = popup->getEvidence();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->getName(), "evidence_ticket");
    EXPECT_EQ(item->getParent(), popup->getMessagePlace()->getChildByTag(EvidenceAddingScreen::kHolderTag));
    EXPECT_LT(item->getScale(), 0.2f);
    Node* container = popup->getMessagePlace()->getChildByName("message_container");
    ASSERT_NE(container, nullptr);
    EXPECT_EQ(container->getOpacity(), 0);
    auto* label = dynamic_cast<cocos2d::Label*>(container->getChildByName("message_label"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getString(), TextTable::getInstance().getText("Cabinet", "evidence_ticket_message"));
    EXPECT_NE(label->getString().find("steamer ticket"), std::string::npos);

    testing::Driver::get().stepFrames(50);
    EXPECT_FLOAT_EQ(item->getScale(), 1.0f);
    EXPECT_EQ(container->getOpacity(), 255);
    testing::Driver::get().saveScreenshot(testing::Driver::outputPath("EvidenceAddingScreen_ticket.png"));
}

TEST_F(EvidenceAddingScreenTest, TapsCloseItOnlyAfterThreeSecondsAndOnlyOnce) {
    ASSERT_NE(show("ticket"), nullptr);
    tap();
    testing::Driver::get().stepFrames(kFrames3s - 10);
    tap();
    EXPECT_FALSE(popup->canClose());
    EXPECT_FALSE(popup->isClosing());
    testing::Driver::get().stepFrames(10);
    EXPECT_TRUE(popup->canClose());

    Node* item = popup->getEvidence();
    tap();
    EXPECT_FALSE(popup->canClose());
    EXPECT_EQ(popup->getTarget(), Vec2(target.x, target.y - EvidenceAddingScreen::kTargetDrop));
    tap();
    testing::Driver::get().stepFrames(30);
    EXPECT_EQ(closed, 0);
    testing::Driver::get().stepFrames(32);
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(popup->isClosing());
    // The item arrived where the cabinet button is, shrunk.
    const Vec2 arrived = popup->getMessagePlace()->convertToNodeSpace(
        item->getParent()->convertToWorldSpace(item->getPosition()));
    EXPECT_NEAR(arrived.x, popup->getTarget().x, 1.0f);
    EXPECT_NEAR(arrived.y, popup->getTarget().y, 1.0f);
    EXPECT_NEAR(item->getScale(), 0.1f, 0.01f);
    testing::Driver::get().stepFrames(5);
    EXPECT_EQ(popup->getParent(), nullptr);
    EXPECT_EQ(closed, 1);
}

TEST_F(EvidenceAddingScreenTest, TheFirstEvidenceExplainsItselfOnceAndSavesThat) {
    Profile& profile = Settings::getInstance().getCurrentUser();
    profile.shownTutorials.erase(std::remove(profile.shownTutorials.begin(), profile.shownTutorials.end(), 13),
                                 profile.shownTutorials.end());
    const std::string save = cocos2d::FileUtils::getInstance()->getWritablePath() + "UserData.bin";
    std::filesystem::remove(save);
    ASSERT_NE(show("ticket"), nullptr);
    TutorialScreen* tutorial = tutorialIn(popup);
    ASSERT_NE(tutorial, nullptr);
    EXPECT_EQ(tutorial->getTutorialId(), 13);
    EXPECT_TRUE(Settings::getInstance().isTutorialShown(13));
    EXPECT_TRUE(std::filesystem::exists(save));

    Settings::getInstance().addEvidence("letter");
    popup->removeFromParent();
    ASSERT_NE(show("letter"), nullptr);
    EXPECT_EQ(tutorialIn(popup), nullptr);
}

TEST_F(EvidenceAddingScreenTest, AnItemTheCabinetLacksIsLoggedAndThePopupStillCloses) {
    std::vector<std::string>& log = testing::Driver::get().captureLog();
    ASSERT_NE(show("no_such_item"), nullptr);
    EXPECT_EQ(popup->getEvidence(), nullptr);
    EXPECT_TRUE(screentest::hasLine(log, "EvidenceAddingScreen: no 'evidence_no_such_item' to show"));
    testing::Driver::get().stepFrames(kFrames3s);
    tap();
    testing::Driver::get().stepFrames(62);
    EXPECT_EQ(closed, 1);
    testing::Driver::get().stopCapturingLog();
}

}  // namespace
