#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "Driver.h"
#include "engine/base/Director.h"
#include "engine/events/EventKeyboard.h"
#include "engine/platform/Application.h"
#include "engine/platform/FileUtils.h"
#include "engine/platform/GLViewImpl.h"

#include "AppDelegate.h"
#include "Profile.h"
#include "Settings.h"
#include "UserData.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Director;
using Key = cocos2d::EventKeyboard::KeyCode;

// A first start: no save files, an empty resource tree. The default player is made full screen, so
// the window opens full screen.
TEST(AppFirstStartTest, WithoutSavesTheWindowOpensFullScreenAndAltEnterLeavesIt) {
    const fs::path root = fs::temp_directory_path() / ("kestrova-first-start-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "Resources");
    fs::create_directories(root / "data");
    ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    cocos2d::Application::setAppName("Kestrova");
    cocos2d::FileUtils::destroyInstance();
    cocos2d::FileUtils::getInstance()->setResourceRoot((root / "Resources").string() + "/");

    Director::destroyInstance();
    auto app = std::make_unique<AppDelegate>();
    auto& driver = testing::Driver::get();
    ASSERT_TRUE(driver.launch(*app));
    driver.stepFrames(2);

    cocos2d::GLViewImpl* view = driver.view();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->getViewName(), "Kestrova");
    EXPECT_TRUE(view->isFullscreen());
    EXPECT_EQ(view->getDesignResolutionSize().width, 1280.0f);
    EXPECT_EQ(view->getDesignResolutionSize().height, 810.0f);
    EXPECT_EQ(UserData::getInstance().profiles.size(), 1u);
    EXPECT_TRUE(UserData::getInstance().currentUserName.empty());
    EXPECT_TRUE(Settings::getInstance().getCurrentUser().fullscreen);
    EXPECT_TRUE(Settings::getInstance().isFullscreen());

    driver.key(Key::KEY_ALT, true);
    driver.key(Key::KEY_KP_ENTER, true);
    driver.key(Key::KEY_KP_ENTER, false);
    driver.key(Key::KEY_ALT, false);
    driver.stepFrames(2);
    EXPECT_FALSE(Settings::getInstance().getCurrentUser().fullscreen);
    const bool screenTakesAWindow = view->getFullscreenWidth() >= 1280 || view->getFullscreenHeight() >= 810;
    EXPECT_EQ(view->isFullscreen(), !screenTakesAWindow)
        << view->getFullscreenWidth() << " x " << view->getFullscreenHeight();
    if (screenTakesAWindow) {
        EXPECT_EQ(view->getFrameSize().width, 1280.0f);
        EXPECT_EQ(view->getFrameSize().height, 810.0f);
    }

    Director::destroyInstance();
    app.reset();
    std::error_code error;
    fs::remove_all(root, error);
}

}  // namespace
