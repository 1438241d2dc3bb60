// The minigame selection on the real engine, opened as the level opens it: the panel inside a bare
// popup container on a stand-in level screen, its buttons tapped, the chosen game's screen pushed over
// the level's scene and left again through its own buttons.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Driver.h"
#include "ScreenTestSupport.h"
#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/scene/Layer.h"
#include "engine/scene/Scene.h"
#include "engine/ui/Widget.h"

#include "Profile.h"
#include "Settings.h"
#include "minigames/CurrentMinigame.h"
#include "minigames/MinigameBase.h"
#include "minigames/MinigameScreen.h"
#include "ui/GalleryScreen.h"
#include "minigames/MinigamesSelectionScreen.h"
#include "ui/NodeFromJson.h"
#include "ui/PopupScreenBase.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Director;
using cocos2d::Vec2;

const char* const kContainers[] = {"TwoMatchBtnCont", "ColorMatchBtnCont", "DropsPuzzleBtnCont",
                                   "ConveyorPuzzleBtnCont", "JigsawPuzzleBtnCont"};

Vec2 centreOf(const cocos2d::Node* node) {
    const cocos2d::Size size = node->getContentSize();
    return node->convertToWorldSpace(Vec2(size.width / 2, size.height / 2));
}

// The gallery the screen was left for, once the fade into it has ended.
GalleryScreen* runningGallery() {
    cocos2d::Scene* running = Director::getInstance()->getRunningScene();
    if (running == nullptr || running->isTransition()) {
        return nullptr;
    }
    for (cocos2d::Node* child : running->getChildren()) {
        if (auto* gallery = dynamic_cast<GalleryScreen*>(child)) {
            return gallery;
        }
    }
    return nullptr;
}

class MinigamesSelectionScreenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        screentest::useStagedResources();
        screentest::loadEnglishTexts();
        const fs::path home(testing::Driver::scratchPath("xdg-minigame-selection"));
        fs::create_directories(home);
        ::setenv("XDG_DATA_HOME", home.c_str(), 1);
    }

    void SetUp() override {
        Settings::destroyInstance();
        Profile& profile = Settings::getInstance().getCurrentUser();
        profile = Profile();
        profile.minigameLevels = {0, 0, 0, 0, 0};
        profile.currentPicture.country = "Spain";
        profile.shownTutorials = {MinigameScreen::kTwoMatchTutorial};
        // What the level does when it starts: every kind playable once more.
        for (int32_t kind = 0; kind < 5; ++kind) {
            profile.minigameAvailability[kind] = true;
        }
        level.open();
        screen = cocos2d::Layer::create();
        screen->setPosition(visibleCenter());
        level.scene->addChild(screen);
    }

    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string("MinigamesSelection_") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_failed.png"));
        }
        Director::getInstance()->popToRootScene();
        driver().stepFrames(1);
        Director::getInstance()->replaceScene(cocos2d::Scene::create());
        driver().stepFrames(2);
        Settings::destroyInstance();
    }

    static testing::Driver& driver() { return testing::Driver::get(); }

    // As the level opens it: create, the result handler, a bare container, the panel inside.
    MinigamesSelectionScreen* openPanel(bool withCallback = true) {
        panel = MinigamesSelectionScreen::create();
        if (panel == nullptr) {
            ADD_FAILURE() << "no panel";
            return nullptr;
        }
        if (withCallback) {
            panel->setCallback([this](bool won) { results.push_back(won); });
        }
        container = PopupScreenBase::create();
        screen->addChild(container);
        container->addChild(panel);
        driver().stepFrames(15);
        return panel;
    }

    cocos2d::Node* buttonContainer(int32_t kind) const {
        return panel->getUi()->getChildByName("PuzzleButtons")->getChildByName(kContainers[kind]);
    }
    cocos2d::ui::Widget* button(int32_t kind) const {
        return dynamic_cast<cocos2d::ui::Widget*>(buttonContainer(kind)->getChildByName("Button"));
    }

    MinigameScreen* runningMinigame() const {
        cocos2d::Scene* running = Director::getInstance()->getRunningScene();
        if (running == nullptr || running->getChildrenCount() == 0) {
            return nullptr;
        }
        return dynamic_cast<MinigameScreen*>(running->getChildren().at(0));
    }

    // Taps a kind's button and returns the game's screen that came up over the level.
    MinigameScreen* launch(int32_t kind) {
        driver().tap(centreOf(button(kind)));
        driver().stepFrames(2);
        return runningMinigame();
    }

    screentest::WhiteScene level;
    cocos2d::Layer* screen = nullptr;
    PopupScreenBase* container = nullptr;
    MinigamesSelectionScreen* panel = nullptr;
    std::vector<bool> results;
};

TEST_F(MinigamesSelectionScreenTest, ButtonsShowTheNextLevelsAndOnlyTheAvailableKindsOpen) {
    Profile& profile = Settings::getInstance().getCurrentUser();
    profile.minigameLevels = {0, 7, 3, 0, 89};
    profile.minigameAvailability = {{0, true}, {1, false}, {2, true}, {4, true}};  // 3 missing
    const char* const labels[] = {"1", "8", "4", "1", "90"};
    const bool open[] = {true, false, true, false, true};

    panel = MinigamesSelectionScreen::create();
    ASSERT_NE(panel, nullptr);
    EXPECT_FLOAT_EQ(panel->getUi()->getScale(), 0.5f) << "it pops in";
    container = PopupScreenBase::create();
    screen->addChild(container);
    container->addChild(panel);
    driver().stepFrames(15);
    EXPECT_FLOAT_EQ(panel->getUi()->getScale(), 1.0f);

    for (int32_t kind = 0; kind < 5; ++kind) {
        SCOPED_TRACE(kContainers[kind]);
        auto* label = dynamic_cast<cocos2d::Label*>(buttonContainer(kind)->getChildByName("LabelLevel"));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->getString(), labels[kind]);
        EXPECT_EQ(button(kind)->isEnabled(), open[kind]);
        cocos2d::Node* closedMark = buttonContainer(kind)->getChildByName("mini_frame")->getChildByTag(1);
        EXPECT_EQ(closedMark == nullptr, open[kind]);
    }
    EXPECT_TRUE(profile.minigameAvailability.find(3) == profile.minigameAvailability.end())
        << "looking adds nothing";
    driver().saveScreenshot(testing::Driver::outputPath("MinigamesSelection_open.png"));

    // A closed kind's button does nothing.
    driver().tap(centreOf(button(1)));
    driver().stepFrames(2);
    EXPECT_FALSE(panel->isLaunching());
    EXPECT_EQ(Director::getInstance()->getRunningScene(), level.scene);
}

TEST_F(MinigamesSelectionScreenTest, TheChosenGameIsPushedOverTheLevelAndTwoQuickTapsLaunchOne) {
    Settings::getInstance().getCurrentUser().minigameLevels = {0, 0, 5, 0, 0};
    ASSERT_NE(openPanel(), nullptr);
    driver().tap(centreOf(button(2)));
    driver().tap(centreOf(button(4)));
    driver().stepFrames(2);
    MinigameScreen* game = runningMinigame();
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->getKind(), 2);
    EXPECT_EQ(game->getLevel(), 5);
    EXPECT_EQ(currentMinigameKind, 2);
    EXPECT_EQ(currentMinigameLevel, 5);
    EXPECT_EQ(Director::getInstance()->getSceneCount(), 2) << "the level stays underneath";
    EXPECT_TRUE(panel->isLaunching());
    EXPECT_TRUE(results.empty());
    driver().stepFrames(20);
    driver().saveScreenshot(testing::Driver::outputPath("MinigamesSelection_game.png"));
}

TEST_F(MinigamesSelectionScreenTest, AWonGameIsReportedAndItsKindStaysClosedInThisLevel) {
    ASSERT_NE(openPanel(), nullptr);
    cocos2d::RefPtr<PopupScreenBase> heldContainer(container);
    MinigameScreen* game = launch(2);
    ASSERT_NE(game, nullptr);
    game->getGame()->win();  // as the drop catcher does when its level is done
    driver().stepFrames(2);
    driver().tap(Vec2(640, 600));  // closes the congratulation
    driver().stepFrames(3);

    EXPECT_EQ(results, std::vector<bool>{true});
    EXPECT_EQ(Director::getInstance()->getRunningScene(), level.scene);
    const Profile& profile = Settings::getInstance().getCurrentUser();
    EXPECT_FALSE(profile.minigameAvailability.at(2));
    EXPECT_TRUE(heldContainer->isClosing());
    EXPECT_EQ(heldContainer->getParent(), nullptr) << "the panel's container closed";
    heldContainer = nullptr;

    // The level's next opening of the panel.
    ASSERT_NE(openPanel(), nullptr);
    for (int32_t kind = 0; kind < 5; ++kind) {
        EXPECT_EQ(button(kind)->isEnabled(), kind != 2) << kContainers[kind];
    }
    auto* label = dynamic_cast<cocos2d::Label*>(buttonContainer(2)->getChildByName("LabelLevel"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->getString(), "2") << "the won level was advanced";
}

TEST_F(MinigamesSelectionScreenTest, LeavingOrSkippingReportsNoWinAndClosesAllTheSame) {
    for (const char* way : {"Menu", "Skip"}) {
        SCOPED_TRACE(way);
        results.clear();
        ASSERT_NE(openPanel(), nullptr);
        cocos2d::RefPtr<PopupScreenBase> heldContainer(container);
        MinigameScreen* game = launch(1);
        ASSERT_NE(game, nullptr);
        driver().tap(centreOf(game->getUi()->getChildByName(way)));
        driver().stepFrames(2);
        if (std::string(way) == "Skip") {
            driver().tap(Vec2(640, 600));
            driver().stepFrames(3);
        }
        EXPECT_EQ(results, std::vector<bool>{false});
        EXPECT_EQ(Director::getInstance()->getRunningScene(), level.scene);
        EXPECT_TRUE(Settings::getInstance().getCurrentUser().minigameAvailability.at(1));
        EXPECT_EQ(heldContainer->getParent(), nullptr);
    }
}

TEST_F(MinigamesSelectionScreenTest, TheCloseButtonClosesWithoutAReport) {
    ASSERT_NE(openPanel(), nullptr);
    cocos2d::RefPtr<PopupScreenBase> heldContainer(container);
    driver().tap(centreOf(panel->getUi()->getChildByName("CloseButton")));
    driver().stepFrames(3);
    EXPECT_EQ(heldContainer->getParent(), nullptr);
    EXPECT_TRUE(results.empty());
    EXPECT_EQ(Director::getInstance()->getRunningScene(), level.scene);
}

TEST_F(MinigamesSelectionScreenTest, WithoutACallbackTheGameReplacesTheLevelAndLeavesToTheGallery) {
    ASSERT_NE(openPanel(false), nullptr);
    driver().tap(centreOf(button(0)));
    driver().stepFrames(70);
    MinigameScreen* game = runningMinigame();
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(Director::getInstance()->getSceneCount(), 1) << "the level's scene was replaced";
    driver().tap(centreOf(game->getUi()->getChildByName("Menu")));
    driver().stepFrames(70);
    EXPECT_NE(runningGallery(), nullptr);
}

}  // namespace
