#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "Driver.h"
#include "ScreenTestSupport.h"
#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/events/EventKeyboard.h"
#include "engine/platform/Application.h"
#include "engine/platform/FileUtils.h"
#include "engine/platform/GLViewImpl.h"
#include "engine/scene/Scene.h"

#include "AppDelegate.h"
#include "GameSound.h"
#include "Profile.h"
#include "Settings.h"
#include "TextTable.h"
#include "UserData.h"
#include "UserDataIO.h"
#include "ui/SplashScreen.h"
#include "ui/TopLayer.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Director;
using cocos2d::Vec2;
using Key = cocos2d::EventKeyboard::KeyCode;

// The real delegate launched on the staged tree with a saved windowed player, in a temporary XDG data
// folder. The cases run in order: the last one ends the game.
class TopLayerLaunchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root = fs::temp_directory_path() / ("kestrova-toplayer-launch-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "data");
        ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
        cocos2d::Application::setAppName("Kestrova");
        cocos2d::FileUtils::destroyInstance();
        cocos2d::FileUtils::getInstance()->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");

        UserData::getInstance() = UserData{};
        Settings::getInstance().createUser(u"Ann");
        Settings::getInstance().getCurrentUser().fullscreen = false;
        Settings::getInstance().getCurrentUser().musicVolume = 0.25f;
        Settings::getInstance().getCurrentUser().soundVolume = 0.75f;
        ASSERT_TRUE(UserDataIO::saveUserData());
        UserData::getInstance() = UserData{};
        Settings::destroyInstance();
        TextTable::destroyInstance();

        Director::destroyInstance();
        app = std::make_unique<AppDelegate>();
        launched = testing::Driver::get().launch(*app);
        testing::Driver::get().stepFrames(2);
    }

    static void TearDownTestSuite() {
        Director::destroyInstance();
        app.reset();
        std::error_code error;
        fs::remove_all(root, error);
    }

    void SetUp() override { ASSERT_TRUE(launched); }

    testing::Driver& driver() { return testing::Driver::get(); }
    TopLayer* topLayer() { return dynamic_cast<TopLayer*>(Director::getInstance()->getNotificationNode()); }
    SplashScreen* splash() {
        cocos2d::Scene* running = Director::getInstance()->getRunningScene();
        if (running == nullptr || running->getChildrenCount() == 0) {
            return nullptr;
        }
        return dynamic_cast<SplashScreen*>(running->getChildren().at(0));
    }
    Vec2 buttonCentre(const std::string& name) {
        for (cocos2d::Node* child : topLayer()->getConfirmationLayer()->getChildren()) {
            if (cocos2d::Node* button = child->getChildByName(name)) {
                const cocos2d::Size size = button->getContentSize();
                return button->convertToWorldSpace(Vec2(size.width / 2.0f, size.height / 2.0f));
            }
        }
        ADD_FAILURE() << "no button " << name;
        return Vec2::ZERO;
    }
    std::string confirmationText() {
        for (cocos2d::Node* child : topLayer()->getConfirmationLayer()->getChildren()) {
            if (auto* label = dynamic_cast<cocos2d::Label*>(child->getChildByName("exit_confirmation"))) {
                return label->getString();
            }
        }
        return "";
    }

    static fs::path root;
    static std::unique_ptr<AppDelegate> app;
    static bool launched;
};

fs::path TopLayerLaunchTest::root;
std::unique_ptr<AppDelegate> TopLayerLaunchTest::app;
bool TopLayerLaunchTest::launched = false;

TEST_F(TopLayerLaunchTest, TheLayerIsTheEnteredNotificationNodeOverTheSplashWithTheProfilesCursor) {
    // The saved player's volumes reach the sound service at launch, with the cursor.
    EXPECT_FLOAT_EQ(GameSound::getInstance().getMusicVolume(), 0.25f);
    EXPECT_FLOAT_EQ(GameSound::getInstance().getSoundVolume(), 0.75f);
    ASSERT_NE(topLayer(), nullptr);
    EXPECT_TRUE(topLayer()->isRunning());
    ASSERT_NE(splash(), nullptr);
    EXPECT_EQ(splash()->getEntries().size(), 2u);
    // A new player's profile has the custom cursor on.
    EXPECT_FALSE(driver().view()->isCursorVisible());
    ASSERT_NE(topLayer()->getCursorNode(), nullptr);
    driver().mouseMove(Vec2(400, 300));
    driver().stepFrames(1);
    EXPECT_NEAR(topLayer()->getCursorLayer()->getPositionX(), 400.0f, 1.0f);
    EXPECT_NEAR(topLayer()->getCursorLayer()->getPositionY(), 300.0f, 1.0f);
}

TEST_F(TopLayerLaunchTest, LosingFocusShowsThePauseOverlayAndTheFirstTapAfterItIsSwallowed) {
    driver().focusLost();
    driver().stepFrames(1);
    EXPECT_TRUE(Director::getInstance()->isPaused());
    ASSERT_NE(topLayer()->getPauseNode(), nullptr);
    EXPECT_TRUE(topLayer()->getPauseNode()->isVisible());
    EXPECT_EQ(topLayer()->getCursorLayer()->getOpacity(), 0);
    driver().saveScreenshot(testing::Driver::outputPath("toplayer-launch-pause.png"));
    driver().focusGained();
    driver().stepFrames(1);
    EXPECT_FALSE(Director::getInstance()->isPaused());
    EXPECT_FALSE(topLayer()->getPauseNode()->isVisible());
    EXPECT_EQ(topLayer()->getCursorLayer()->getOpacity(), 255);

    // The splash leaves on a tap: the first one after the overlay does not reach it.
    ASSERT_NE(splash(), nullptr);
    driver().tap(Vec2(640, 405));
    driver().stepFrames(1);
    ASSERT_NE(splash(), nullptr);
    EXPECT_FALSE(splash()->isLeaving());
}

TEST_F(TopLayerLaunchTest, EscAsksToExitAndNoReturnsToTheGame) {
    driver().key(Key::KEY_ESCAPE, true);
    driver().stepFrames(1);
    EXPECT_FALSE(topLayer()->isConfirmationOpen());
    driver().key(Key::KEY_ESCAPE, false);
    driver().stepFrames(1);
    ASSERT_TRUE(topLayer()->isConfirmationOpen());
    EXPECT_EQ(confirmationText(), "Close the museum for today?");
    driver().saveScreenshot(testing::Driver::outputPath("toplayer-launch-confirmation.png"));
    // Under the window nothing hears a tap: the splash stays.
    driver().tap(Vec2(640, 700));
    driver().stepFrames(1);
    ASSERT_NE(splash(), nullptr);
    EXPECT_FALSE(splash()->isLeaving());
    driver().tap(buttonCentre("No"));
    driver().stepFrames(2);
    EXPECT_FALSE(topLayer()->isConfirmationOpen());
    EXPECT_FALSE(Director::getInstance()->isEndRequested());
}

TEST_F(TopLayerLaunchTest, TheCloseButtonAsksToExitAndYesSavesAndEnds) {
    Settings::getInstance().getCurrentUser().money = 777;
    driver().closeRequest();
    driver().stepFrames(1);
    ASSERT_TRUE(topLayer()->isConfirmationOpen());
    EXPECT_FALSE(driver().view()->isClosePending());
    // A second request while the window is open changes nothing.
    driver().closeRequest();
    driver().stepFrames(1);
    TopLayer* layer = topLayer();
    driver().tap(buttonCentre("Yes"));
    driver().stepFrames(1);
    EXPECT_TRUE(Director::getInstance()->isEndRequested() || Director::getInstance()->hasEnded());
    EXPECT_FALSE(layer == topLayer() && layer->isRunning());

    UserData::getInstance() = UserData{};
    UserDataIO::loadUserData();
    EXPECT_EQ(UserData::getInstance().profiles.at(u"Ann").money, 777);
}

}  // namespace
