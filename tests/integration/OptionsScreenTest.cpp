#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Driver.h"
#include "GameSound.h"
#include "NodeBoxes.h"
#include "ScreenTestSupport.h"
#include "Settings.h"
#include "UserData.h"
#include "engine/2d/Label.h"
#include "engine/2d/ProgressTimer.h"
#include "engine/base/Director.h"
#include "engine/platform/GLView.h"
#include "engine/scene/Scene.h"
#include "engine/ui/CheckBox.h"
#include "engine/ui/Widget.h"

#include "nodes/ChooseUserScreen.h"
#include "nodes/OptionsScreen.h"
#include "ui/CreditsScreen.h"
#include "ui/FactoryClasses.h"
#include "ui/NodeFromJson.h"
#include "ui/PopupScreenBase.h"
#include "ui/TopLayer.h"

namespace {

using cocos2d::Director;
using cocos2d::Node;
using cocos2d::Vec2;

constexpr int kAppearFrames = 15;

// The panel as the gallery opens it: built from its description inside a bare popup container on a
// screen-centred layer, over the always-on-top layer the launch installs.
class OptionsScreenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { registerFactoryClasses(); }

    void SetUp() override {
        screentest::useStagedResources();
        screentest::loadEnglishTexts();
        UserData::getInstance() = UserData{};
        Settings::getInstance().createUser(u"Ann");
        Settings::getInstance().setReturnScreen("gallery");
        top = TopLayer::create();
        ASSERT_NE(top, nullptr);
        Director::getInstance()->setNotificationNode(top);
        top->onEnter();
        open();
    }

    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string("OptionsScreen_") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png"));
        }
        top->onExit();
        Director::getInstance()->setNotificationNode(nullptr);
        if (cocos2d::GLView* view = Director::getInstance()->getOpenGLView()) {
            view->setCursorVisible(true);
        }
        Settings::destroyInstance();
    }

    void open() {
        scene = cocos2d::Scene::create();
        screen = Node::create();
        screen->setPosition(visibleCenter());
        scene->addChild(screen);
        container = PopupScreenBase::create();
        screen->addChild(container);
        NodeFromJson description("ui/OptionsScreen");
        panel = dynamic_cast<OptionsScreen*>(description.createNode("UI"));
        ASSERT_NE(panel, nullptr);
        container->addChild(panel);
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(kAppearFrames);
    }

    static testing::Driver& driver() { return testing::Driver::get(); }

    Node* child(const std::string& path) const {
        Node* node = panel;
        size_t from = 0;
        while (node != nullptr && from <= path.size()) {
            const size_t slash = path.find('/', from);
            node = node->getChildByName(path.substr(from, slash - from));
            if (slash == std::string::npos) {
                break;
            }
            from = slash + 1;
        }
        return node;
    }

    // Clicks a widget where the player sees it.
    void click(const std::string& path) {
        Node* widget = child(path);
        ASSERT_NE(widget, nullptr) << path;
        const cocos2d::Size size = widget->getContentSize();
        driver().tap(widget->convertToWorldSpace(Vec2(size.width / 2, size.height / 2)));
        driver().stepFrames(2);
    }

    Profile& profile() { return Settings::getInstance().getCurrentUser(); }

    TopLayer* top = nullptr;
    cocos2d::Scene* scene = nullptr;
    Node* screen = nullptr;
    PopupScreenBase* container = nullptr;
    OptionsScreen* panel = nullptr;
};

TEST_F(OptionsScreenTest, ThePanelShowsTheProfilesOptionsAndGrowsIntoPlace) {
    profile().musicVolume = 0.7f;
    profile().soundVolume = 0.2f;
    profile().customCursor = false;
    profile().fullscreen = true;
    open();
    EXPECT_FLOAT_EQ(panel->getScale(), 1.0f);
    EXPECT_EQ(panel->getPosition(), Vec2::ZERO);
    ASSERT_NE(panel->getMusicFiller(), nullptr);
    ASSERT_NE(panel->getSoundFiller(), nullptr);
    ASSERT_NE(panel->getFullscreenCheckBox(), nullptr);
    ASSERT_NE(panel->getCustomCursorCheckBox(), nullptr);
    EXPECT_NE(panel->getMusicFiller(), panel->getSoundFiller());
    EXPECT_NEAR(panel->getMusicFiller()->getPercentage(), 70.0f, 1e-3f);
    EXPECT_NEAR(panel->getSoundFiller()->getPercentage(), 20.0f, 1e-3f);
    EXPECT_TRUE(panel->getFullscreenCheckBox()->isSelected());
    EXPECT_FALSE(panel->getCustomCursorCheckBox()->isSelected());
    auto* fullscreenLabel = dynamic_cast<cocos2d::Label*>(child("full_sceen/label"));
    auto* cursorLabel = dynamic_cast<cocos2d::Label*>(child("custom_cursor/label"));
    ASSERT_NE(fullscreenLabel, nullptr);
    ASSERT_NE(cursorLabel, nullptr);
    EXPECT_EQ(fullscreenLabel->getString(), "Full screen");
    EXPECT_EQ(cursorLabel->getString(), "Restorer's cursor");

    // Freshly built it starts small and grows back to full size.
    auto* fresh = dynamic_cast<OptionsScreen*>(NodeFromJson("ui/OptionsScreen").createNode("UI"));
    ASSERT_NE(fresh, nullptr);
    EXPECT_FLOAT_EQ(fresh->getScale(), 0.4f);
    driver().saveScreenshot(testing::Driver::outputPath("OptionsScreen_panel.png"));
}

TEST_F(OptionsScreenTest, VolumeButtonsStepByATenthClampAtTheEndsAndReachTheSoundService) {
    struct Case {
        const char* button;
        bool music;
        float start;
        int presses;
        float expected;
    };
    const Case cases[] = {
        {"music/plusMusicBtn", true, 1.0f, 1, 1.0f},
        {"music/minusMusicBtn", true, 0.0f, 1, 0.0f},
        {"music/plusMusicBtn", true, 0.4f, 6, 1.0f},
        {"music/minusMusicBtn", true, 0.4f, 2, 0.2f},
        // Four steps leave a float a hair off zero; the fifth clamps it to exactly zero.
        {"music/minusMusicBtn", true, 0.4f, 5, 0.0f},
        {"sound/plusBtn", false, 0.5f, 1, 0.6f},
        {"sound/minusSoundBtn", false, 1.0f, 3, 0.7f},
        {"sound/minusSoundBtn", false, 0.05f, 1, 0.0f},
    };
    for (const Case& c : cases) {
        (c.music ? profile().musicVolume : profile().soundVolume) = c.start;
        const float other = c.music ? profile().soundVolume : profile().musicVolume;
        for (int i = 0; i < c.presses; ++i) {
            click(c.button);
        }
        const float value = c.music ? profile().musicVolume : profile().soundVolume;
        cocos2d::ProgressTimer* bar = c.music ? panel->getMusicFiller() : panel->getSoundFiller();
        const float service =
            c.music ? GameSound::getInstance().getMusicVolume() : GameSound::getInstance().getSoundVolume();
        EXPECT_NEAR(value, c.expected, 1e-5f) << c.button << " x" << c.presses;
        EXPECT_GE(value, 0.0f) << c.button;
        EXPECT_LE(value, 1.0f) << c.button;
        EXPECT_NEAR(bar->getPercentage(), value * 100.0f, 1e-3f) << c.button;
        EXPECT_FLOAT_EQ(service, value) << c.button;
        EXPECT_FLOAT_EQ(c.music ? profile().soundVolume : profile().musicVolume, other) << c.button;
    }
    profile().musicVolume = 0.4f;
    for (int i = 0; i < 5; ++i) {
        click("music/minusMusicBtn");
    }
    EXPECT_EQ(profile().musicVolume, 0.0f);
}

TEST_F(OptionsScreenTest, TheCheckBoxesSwitchTheCursorAndRecordTheFullScreenChoice) {
    ASSERT_TRUE(profile().customCursor);
    top->setCustomCursorEnabled(true);
    cocos2d::GLView* view = Director::getInstance()->getOpenGLView();
    click("custom_cursor/check_box_customcursor");
    EXPECT_FALSE(profile().customCursor);
    EXPECT_FALSE(panel->getCustomCursorCheckBox()->isSelected());
    EXPECT_FALSE(top->getCursorLayer()->isVisible());
    EXPECT_TRUE(view->isCursorVisible());
    click("custom_cursor/check_box_customcursor");
    EXPECT_TRUE(profile().customCursor);
    EXPECT_TRUE(top->getCursorLayer()->isVisible());
    EXPECT_FALSE(view->isCursorVisible());

    // Leaving full screen while the view is already a window only records the choice.
    ASSERT_TRUE(profile().fullscreen);
    ASSERT_FALSE(Settings::getInstance().isFullscreen());
    const cocos2d::Size frame = view->getFrameSize();
    click("full_sceen/check_box_fullscreen");
    EXPECT_FALSE(profile().fullscreen);
    EXPECT_FALSE(panel->getFullscreenCheckBox()->isSelected());
    EXPECT_EQ(view->getFrameSize().width, frame.width);
    EXPECT_EQ(view->getFrameSize().height, frame.height);
}

TEST_F(OptionsScreenTest, CloseAndExitActOnTheContainerAndTheGamesConfirmation) {
    click("exit");
    EXPECT_TRUE(top->isConfirmationOpen());
    // No: the game goes on and the panel stays.
    int closed = 0;
    container->setOnClose([&closed] { ++closed; });
    auto* no = top->getConfirmationLayer();
    ASSERT_NE(no, nullptr);
    for (Node* window : no->getChildren()) {
        if (Node* button = window->getChildByName("No")) {
            const cocos2d::Size size = button->getContentSize();
            driver().tap(button->convertToWorldSpace(Vec2(size.width / 2, size.height / 2)));
        }
    }
    driver().stepFrames(2);
    EXPECT_FALSE(top->isConfirmationOpen());
    EXPECT_EQ(closed, 0);

    click("CloseButton");
    driver().stepFrames(3);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(container->getParent(), nullptr);
}

TEST_F(OptionsScreenTest, InTheLevelThereIsNoChooserAndExitRunsTheLevelsOwnAction) {
    const float creditsX = child("credits")->getPositionX();
    const float exitX = child("exit")->getPositionX();
    panel->setInGameLayout();
    EXPECT_EQ(child("profiles"), nullptr);
    EXPECT_FLOAT_EQ(child("credits")->getPositionX(), creditsX + 84.0f);
    EXPECT_FLOAT_EQ(child("exit")->getPositionX(), exitX - 84.0f);
    int leaves = 0;
    panel->setExitCallback([&leaves](cocos2d::Ref*) { ++leaves; });
    click("exit");
    EXPECT_EQ(leaves, 1);
    EXPECT_FALSE(top->isConfirmationOpen());
}

// Everything on the panel but its close button, which sits on the corner of the frame, stands inside
// the frame: within the panel art's box less its brass rim and the fine line inside the rim.
void expectInsideTheFrame(const Node* panelNode, const std::string& layout) {
    constexpr float kFrameWidth = 26.0f;
    const Node* art = panelNode->getChildByName("panel");
    ASSERT_NE(art, nullptr) << layout;
    const cocos2d::Rect box = testing::screenBox(art);
    const cocos2d::Rect inner(box.getMinX() + kFrameWidth, box.getMinY() + kFrameWidth,
                              box.size.width - 2 * kFrameWidth, box.size.height - 2 * kFrameWidth);
    for (const Node* part : panelNode->getChildren()) {
        if (part == art || part->getName() == "CloseButton" || !part->isVisible()) {
            continue;
        }
        const cocos2d::Rect shown = testing::shownBox(part);
        EXPECT_TRUE(shown.getMinX() >= inner.getMinX() && shown.getMaxX() <= inner.getMaxX() &&
                    shown.getMinY() >= inner.getMinY() && shown.getMaxY() <= inner.getMaxY())
            << layout << ": \"" << part->getName() << "\" at (" << shown.getMinX() << ", " << shown.getMinY()
            << ") to (" << shown.getMaxX() << ", " << shown.getMaxY() << ") reaches past the frame, whose inside is ("
            << inner.getMinX() << ", " << inner.getMinY() << ") to (" << inner.getMaxX() << ", " << inner.getMaxY()
            << ")";
    }
}

TEST_F(OptionsScreenTest, EveryControlStandsInsideThePanelsFrameInBothLayoutsAndInTheChooser) {
    expectInsideTheFrame(panel, "the gallery's options");
    driver().saveScreenshot(testing::Driver::outputPath("OptionsScreen_gallery_layout.png"));
    panel->setInGameLayout();
    driver().stepFrames(1);
    expectInsideTheFrame(panel, "the level's options");
    EXPECT_FALSE(testing::overlaps(testing::screenBox(child("credits")), testing::screenBox(child("exit"))))
        << "the level's Credits and Exit overlap";
    driver().saveScreenshot(testing::Driver::outputPath("OptionsScreen_level_layout.png"));
    auto* chooser = dynamic_cast<ChooseUserScreen*>(NodeFromJson("ui/OptionsScreen").createNode("ChooseUser"));
    ASSERT_NE(chooser, nullptr);
    container->addChild(chooser);
    panel->setVisible(false);
    driver().stepFrames(2);
    expectInsideTheFrame(chooser, "the player list");
}

TEST_F(OptionsScreenTest, CreditsReplaceTheGalleryButArePushedOverTheLevel) {
    Director* director = Director::getInstance();
    const ssize_t scenes = director->getSceneCount();
    click("credits");
    driver().stepFrames(40);
    EXPECT_EQ(director->getSceneCount(), scenes);
    ASSERT_NE(director->getRunningScene(), nullptr);
    EXPECT_NE(director->getRunningScene(), scene);
    EXPECT_NE(dynamic_cast<CreditsScreen*>(director->getRunningScene()->getChildren().at(0)), nullptr);

    Settings::getInstance().setReturnScreen("game");
    open();
    cocos2d::Scene* level = scene;
    click("credits");
    driver().stepFrames(40);
    EXPECT_EQ(director->getSceneCount(), scenes + 1);
    auto* credits = dynamic_cast<CreditsScreen*>(director->getRunningScene()->getChildren().at(0));
    ASSERT_NE(credits, nullptr);
    // Leaving pops back into the level beneath.
    credits->leave();
    driver().stepFrames(2);
    EXPECT_EQ(director->getRunningScene(), level);
    EXPECT_EQ(director->getSceneCount(), scenes);
}

TEST_F(OptionsScreenTest, TheProfilesButtonOpensTheChooserInPlaceOfThePanelAndItsCloseBringsThePanelBack) {
    click("profiles");
    ChooseUserScreen* chooser = nullptr;
    for (Node* node : container->getChildren()) {
        if (auto* found = dynamic_cast<ChooseUserScreen*>(node)) {
            chooser = found;
        }
    }
    ASSERT_NE(chooser, nullptr);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(panel->getParent(), container);

    auto* close = dynamic_cast<cocos2d::ui::Widget*>(chooser->getChildByName("CloseButton"));
    ASSERT_NE(close, nullptr);
    const cocos2d::Size size = close->getContentSize();
    driver().tap(close->convertToWorldSpace(Vec2(size.width / 2, size.height / 2)));
    driver().stepFrames(2);
    EXPECT_TRUE(panel->isVisible());
    for (Node* node : container->getChildren()) {
        EXPECT_EQ(dynamic_cast<ChooseUserScreen*>(node), nullptr);
    }
    // The panel still answers: the chooser opens again.
    click("profiles");
    EXPECT_FALSE(panel->isVisible());
}

}  // namespace
