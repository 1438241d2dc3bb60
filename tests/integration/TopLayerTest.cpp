#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Driver.h"
#include "ScreenTestSupport.h"
#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/events/EventDispatcher.h"
#include "engine/platform/FileUtils.h"
#include "engine/platform/GLView.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/Button.h"

#include "Profile.h"
#include "Settings.h"
#include "UserData.h"
#include "ui/TopLayer.h"

namespace {

using cocos2d::Director;
using cocos2d::RefPtr;
using cocos2d::Vec2;

// The layer installed as the launch installs it, over a white scene that counts the touches it gets.
class TopLayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        screentest::useStagedResources();
        screentest::loadEnglishTexts();
        UserData::getInstance() = UserData{};
        Settings::getInstance().createUser(u"Ann");
        white.open();
        layer = TopLayer::create();
        ASSERT_NE(layer, nullptr);
        Director::getInstance()->setNotificationNode(layer);
        layer->onEnter();
        driver().stepFrames(1);
    }

    void TearDown() override {
        layer->onExit();
        Director::getInstance()->setNotificationNode(nullptr);
        if (cocos2d::GLView* view = Director::getInstance()->getOpenGLView()) {
            view->setCursorVisible(true);
        }
    }

    testing::Driver& driver() { return testing::Driver::get(); }

    cocos2d::Node* window() const {
        cocos2d::Node* confirmation = layer->getConfirmationLayer();
        for (cocos2d::Node* child : confirmation->getChildren()) {
            if (child->getChildByName("Yes") != nullptr || child->getChildByName("No") != nullptr) {
                return child;
            }
        }
        return nullptr;
    }

    // The centre of a button of the open window on the screen.
    Vec2 buttonCentre(const std::string& name) const {
        cocos2d::Node* button = window()->getChildByName(name);
        const cocos2d::Size size = button->getContentSize();
        return button->convertToWorldSpace(Vec2(size.width / 2.0f, size.height / 2.0f));
    }

    screentest::WhiteScene white;
    TopLayer* layer = nullptr;
};

TEST_F(TopLayerTest, TheConfirmationSwallowsTouchesAndEachAnswerActsOnce) {
    struct Case {
        const char* button;
        int yesCalls;
    };
    for (const Case c : {Case{"Yes", 1}, Case{"No", 0}}) {
        int yesCalls = 0;
        const std::vector<std::string>& log = driver().captureLog();
        layer->showConfirmation("exit_game_confirm", [&] { ++yesCalls; });
        driver().stepFrames(1);
        ASSERT_TRUE(layer->isConfirmationOpen());
        EXPECT_TRUE(screentest::hasLine(log, "show confirmation: 'exit_game_confirm'"));
        driver().stopCapturingLog();
        ASSERT_NE(window(), nullptr);
        auto* text = dynamic_cast<cocos2d::Label*>(window()->getChildByName("exit_confirmation"));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->getString(), "Close the museum for today?");

        // Outside the buttons, everywhere: nothing under the window hears a thing.
        const int before = white.touches;
        for (const Vec2& p : {Vec2(20, 20), Vec2(640, 405), Vec2(1260, 790), Vec2(640, 600)}) {
            driver().tap(p);
            driver().stepFrames(1);
        }
        EXPECT_EQ(white.touches, before);
        EXPECT_TRUE(layer->isConfirmationOpen());

        driver().tap(buttonCentre(c.button));
        driver().stepFrames(2);
        EXPECT_FALSE(layer->isConfirmationOpen()) << c.button;
        EXPECT_EQ(yesCalls, c.yesCalls) << c.button;
        // Closed: touches reach the scene again, and nothing runs a second time.
        driver().tap(Vec2(640, 405));
        driver().stepFrames(2);
        EXPECT_EQ(white.touches, before + 1);
        EXPECT_EQ(yesCalls, c.yesCalls) << c.button;
    }
}

TEST_F(TopLayerTest, OnlyTheFirstOfTwoConfirmationsIsShownAndOnlyItsActionRuns) {
    std::vector<int> ran;
    layer->showConfirmation("exit_game_confirm", [&] { ran.push_back(1); });
    layer->showConfirmation("delete_profile", [&] { ran.push_back(2); });
    driver().stepFrames(1);
    auto* text = dynamic_cast<cocos2d::Label*>(window()->getChildByName("exit_confirmation"));
    EXPECT_EQ(text->getString(), "Close the museum for today?");
    driver().tap(buttonCentre("Yes"));
    driver().stepFrames(2);
    EXPECT_EQ(ran, std::vector<int>{1});
}

TEST_F(TopLayerTest, TheYesActionMayOpenTheNextConfirmation) {
    bool second = false;
    layer->showConfirmation("change_user_confirm",
                            [&] { layer->showConfirmation("delete_profile", [&] { second = true; }); });
    driver().stepFrames(1);
    driver().tap(buttonCentre("Yes"));
    driver().stepFrames(2);
    ASSERT_TRUE(layer->isConfirmationOpen());
    auto* text = dynamic_cast<cocos2d::Label*>(window()->getChildByName("exit_confirmation"));
    EXPECT_EQ(text->getString(), "Delete this restorer and all of their work?");
    driver().tap(buttonCentre("Yes"));
    driver().stepFrames(2);
    EXPECT_TRUE(second);
}

TEST_F(TopLayerTest, EveryConfirmationOfTheGameAsksItsOwnQuestion) {
    struct Case {
        const char* key;
        const char* question;
    };
    const Case cases[] = {
        {"exit_game_confirm", "Close the museum for today?"},
        {"exit_level_confirm", "Leave this painting now? Today's work on it will not be paid."},
        {"change_user_confirm", "Switch to this restorer?"},
        {"delete_profile", "Delete this restorer and all of their work?"},
        {"set_wallpaper_confirm", "Hang this painting on your desktop as a wallpaper?"},
    };
    for (const Case& c : cases) {
        layer->showConfirmation(c.key, [] {});
        driver().stepFrames(1);
        ASSERT_NE(window(), nullptr) << c.key;
        auto* text = dynamic_cast<cocos2d::Label*>(window()->getChildByName("exit_confirmation"));
        ASSERT_NE(text, nullptr) << c.key;
        EXPECT_EQ(text->getString(), c.question) << c.key;
        driver().tap(buttonCentre("No"));
        driver().stepFrames(2);
        EXPECT_FALSE(layer->isConfirmationOpen()) << c.key;
    }
}

TEST_F(TopLayerTest, TheConfirmationsSnapshotIsFreedWithTheWindow) {
    layer->showConfirmation("exit_game_confirm", [] {});
    driver().stepFrames(1);
    cocos2d::Node* snapshot = layer->getConfirmationLayer()->getChildByTag(TopLayer::kSnapshotTag);
    ASSERT_NE(snapshot, nullptr);
    RefPtr<cocos2d::Node> watch(snapshot);
    EXPECT_EQ(snapshot->getReferenceCount(), 2u);
    driver().tap(buttonCentre("No"));
    driver().stepFrames(2);
    EXPECT_EQ(snapshot->getReferenceCount(), 1u);
}

TEST_F(TopLayerTest, ThePauseOverlayCoversTheGameSwallowsTheNextTouchAndLeavesNothingBehind) {
    layer->setCursor("cursor_0");
    layer->showPause();
    driver().stepFrames(1);
    ASSERT_NE(layer->getPauseNode(), nullptr);
    EXPECT_TRUE(layer->getPauseNode()->isVisible());
    EXPECT_EQ(layer->getCursorLayer()->getOpacity(), 0);
    // The white game shows through only as a blur under the black: far from white at the edges.
    cocos2d::Node* snapshot = layer->getPauseNode()->getChildByTag(TopLayer::kSnapshotTag);
    ASSERT_NE(snapshot, nullptr);
    RefPtr<cocos2d::Node> watch(snapshot);
    EXPECT_EQ(snapshot->getReferenceCount(), 2u);

    const int before = white.touches;
    driver().tap(Vec2(300, 300));
    driver().stepFrames(1);
    EXPECT_EQ(white.touches, before);
    driver().tap(Vec2(300, 300));
    driver().stepFrames(1);
    EXPECT_EQ(white.touches, before + 1);

    layer->hidePause();
    driver().stepFrames(2);
    EXPECT_FALSE(layer->getPauseNode()->isVisible());
    EXPECT_EQ(layer->getPauseNode()->getChildByTag(TopLayer::kSnapshotTag), nullptr);
    EXPECT_EQ(snapshot->getReferenceCount(), 1u);
    EXPECT_EQ(layer->getCursorLayer()->getOpacity(), 255);
    EXPECT_GT(screentest::colourAt(Vec2(300, 300)).r, 250);
}

TEST_F(TopLayerTest, ATouchAfterTheOverlayIsSwallowedEvenWhenFocusCameBackFirst) {
    layer->showPause();
    layer->hidePause();
    driver().stepFrames(1);
    const int before = white.touches;
    driver().tap(Vec2(640, 405));
    driver().stepFrames(1);
    EXPECT_EQ(white.touches, before);
    driver().tap(Vec2(640, 405));
    driver().stepFrames(1);
    EXPECT_EQ(white.touches, before + 1);
}

TEST_F(TopLayerTest, TheCustomCursorFollowsThePointerAndTheProfilesChoice) {
    Settings::getInstance().getCurrentUser().cursorName = "cursor_0";
    layer->setCustomCursorEnabled(true);
    cocos2d::GLView* view = Director::getInstance()->getOpenGLView();
    EXPECT_FALSE(view->isCursorVisible());
    ASSERT_NE(layer->getCursorNode(), nullptr);
    EXPECT_TRUE(layer->getCursorLayer()->isVisible());
    EXPECT_EQ(layer->getCursorNode()->getAnchorPoint(), Vec2(0, 1));

    for (const Vec2& p : {Vec2(200, 600), Vec2(900, 150)}) {
        driver().mouseMove(p);
        driver().stepFrames(1);
        EXPECT_NEAR(layer->getMousePosition().x, p.x, 1.0f);
        EXPECT_NEAR(layer->getMousePosition().y, p.y, 1.0f);
        EXPECT_EQ(layer->getCursorLayer()->getPosition(), layer->getMousePosition());
        // Its top-left corner hangs at the pointer: drawn just below and right of it, not above.
        EXPECT_LT(screentest::colourAt(p + Vec2(8, -12)).b, 200) << p.x;
        EXPECT_GT(screentest::colourAt(p + Vec2(-10, 10)).b, 250) << p.x;
    }
    // Hidden with the overlay, still tracked, back at the pointer afterwards.
    layer->showPause();
    driver().mouseMove(Vec2(500, 500));
    driver().stepFrames(1);
    EXPECT_EQ(layer->getCursorLayer()->getPosition(), layer->getMousePosition());
    layer->hidePause();

    layer->setCustomCursorEnabled(false);
    EXPECT_TRUE(view->isCursorVisible());
    EXPECT_FALSE(layer->getCursorLayer()->isVisible());
    EXPECT_NE(layer->getCursorNode(), nullptr);
}

TEST_F(TopLayerTest, CursorNamesPickTheirPictureAndAnUnknownOneKeepsThePrevious) {
    struct Case {
        const char* name;
        bool changes;
        Vec2 anchor;
    };
    const Case cases[] = {
        {"", true, Vec2(0, 1)},
        {"cursor_tool_3", true, Vec2(0, 0)},
        {"cursor_that_is_not_there", false, Vec2(0, 0)},
        {"cursor_0", true, Vec2(0, 1)},
    };
    for (const Case& c : cases) {
        cocos2d::Node* before = layer->getCursorNode();
        const std::vector<std::string>& log = driver().captureLog();
        layer->setCursor(c.name);
        cocos2d::Node* after = layer->getCursorNode();
        ASSERT_NE(after, nullptr) << c.name;
        EXPECT_EQ(after != before, c.changes) << c.name;
        EXPECT_EQ(after->getAnchorPoint(), c.anchor) << c.name;
        EXPECT_EQ(after->getParent(), layer->getCursorLayer()) << c.name;
        EXPECT_EQ(layer->getCursorLayer()->getChildrenCount(), 1) << c.name;
        EXPECT_EQ(screentest::countLinesStartingWith(log, "setCursor: no cursor"), c.changes ? 0 : 1)
            << c.name;
        driver().stopCapturingLog();
    }
}

TEST_F(TopLayerTest, AConfirmationThatCannotBeAnsweredIsNotShown) {
    struct Case {
        const char* description;
        bool shown;
        const char* why;
    };
    const Case cases[] = {
        {R"({"nodes":[{"name":"Other","x":0,"y":0,"w":10,"h":10}]})", false, "no window"},
        {R"({"nodes":[{"name":"ConfirmationWindow","x":0,"y":0,"w":320,"h":240}]})", false, "no answers"},
        {"{\"nodes\":[", false, "malformed"},
        {R"({"nodes":[{"name":"ConfirmationWindow","x":0,"y":0,"w":320,"h":240,"nodes":[)"
         R"({"name":"No","x":0,"y":0,"w":100,"h":50,"button":1,"nodes":[)"
         R"({"name":"normal","tex":"Confirmation/cf_btn_no.png","state":"normal"}]}]}]})",
         true, "a window with only No"},
    };
    const std::string overrides = testing::Driver::scratchPath("confirmation-overrides");
    std::filesystem::create_directories(overrides + "/ui/Confirmation");
    screentest::useStagedResources(overrides);
    for (const Case& c : cases) {
        std::ofstream(overrides + "/ui/Confirmation/ccnode.json", std::ios::binary | std::ios::trunc)
            << c.description;
        cocos2d::FileUtils::getInstance()->purgeCachedEntries();
        bool ran = false;
        layer->showConfirmation("exit_game_confirm", [&] { ran = true; });
        driver().stepFrames(1);
        EXPECT_EQ(layer->isConfirmationOpen(), c.shown) << c.why;
        const int before = white.touches;
        driver().tap(Vec2(900, 700));
        driver().stepFrames(1);
        EXPECT_EQ(white.touches, before + (c.shown ? 0 : 1)) << c.why;
        if (c.shown) {
            driver().tap(buttonCentre("No"));
            driver().stepFrames(2);
            EXPECT_FALSE(layer->isConfirmationOpen()) << c.why;
        }
        EXPECT_FALSE(ran) << c.why;
    }
}

TEST_F(TopLayerTest, SettingsReachesTheLayersCursorWithoutTouchingTheProfile) {
    Settings& settings = Settings::getInstance();
    Profile& profile = settings.getCurrentUser();
    profile.cursorName = "cursor_0";
    settings.setCursor("cursor_tool_2");
    ASSERT_NE(layer->getCursorNode(), nullptr);
    EXPECT_EQ(layer->getCursorNode()->getAnchorPoint(), Vec2(0, 0));
    EXPECT_EQ(profile.cursorName, "cursor_0");
    settings.applyUserCursor();
    EXPECT_EQ(layer->getCursorNode()->getAnchorPoint(), Vec2(0, 1));

    // Applying a player's options switches the custom cursor as the profile says (the window stays).
    cocos2d::GLView* view = Director::getInstance()->getOpenGLView();
    profile.fullscreen = settings.isFullscreen();
    profile.customCursor = false;
    settings.applyCurrentUser();
    EXPECT_TRUE(view->isCursorVisible());
    EXPECT_FALSE(layer->getCursorLayer()->isVisible());
    profile.customCursor = true;
    settings.applyCurrentUser();
    EXPECT_FALSE(view->isCursorVisible());
    EXPECT_TRUE(layer->getCursorLayer()->isVisible());
    settings.setCustomCursorEnabled(false);
    EXPECT_TRUE(profile.customCursor);
}

TEST_F(TopLayerTest, AFreedLayerLeavesNoListenerBehind) {
    cocos2d::EventDispatcher* dispatcher = Director::getInstance()->getEventDispatcher();
    const size_t withOne = dispatcher->getListenerCount();
    {
        RefPtr<TopLayer> other(TopLayer::create());
        EXPECT_EQ(dispatcher->getListenerCount(), withOne + 2);
    }
    driver().stepFrames(1);
    EXPECT_EQ(dispatcher->getListenerCount(), withOne);
    driver().mouseMove(Vec2(10, 10));
    driver().stepFrames(1);
}

}  // namespace
