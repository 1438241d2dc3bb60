#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "Driver.h"
#include "ScreenTestSupport.h"
#include "engine/base/Director.h"
#include "engine/platform/Application.h"
#include "engine/platform/FileUtils.h"
#include "engine/scene/Scene.h"

#include "AppDelegate.h"
#include "Settings.h"
#include "TextTable.h"
#include "UserData.h"
#include "ui/LoadingScreen.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Director;

// The real launch with a splash list that does not parse: the splash scene is the first scene the
// director runs, and the game must still reach the loading screen from it.
TEST(SplashLaunchTest, ABrokenSplashListAtLaunchStillLeadsToTheLoadingScreen) {
    const fs::path root =
        fs::temp_directory_path() / ("kestrova-splash-launch-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "data");
    fs::create_directories(root / "overrides" / "splash");
    std::ofstream(root / "overrides" / "splash" / "splashdata.xml", std::ios::binary) << "<Document><img";
    ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    cocos2d::Application::setAppName("Kestrova");
    cocos2d::FileUtils::destroyInstance();
    cocos2d::FileUtils::getInstance()->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
    cocos2d::FileUtils::getInstance()->setSearchPaths({(root / "overrides").string()});
    UserData::getInstance() = UserData{};
    Settings::destroyInstance();
    TextTable::destroyInstance();
    Director::destroyInstance();

    auto& driver = testing::Driver::get();
    auto app = std::make_unique<AppDelegate>();
    const std::vector<std::string>& log = driver.captureLog();
    ASSERT_TRUE(driver.launch(*app));
    EXPECT_EQ(screentest::countLinesStartingWith(log, "Load splash/splashdata.xml list: "), 1);

    LoadingScreen* loading = nullptr;
    for (int frame = 0; frame < 300 && loading == nullptr; ++frame) {
        driver.stepFrames(1);
        cocos2d::Scene* running = Director::getInstance()->getRunningScene();
        if (running != nullptr && !running->isTransition() && running->getChildrenCount() > 0) {
            loading = dynamic_cast<LoadingScreen*>(running->getChildren().at(0));
        }
    }
    ASSERT_NE(loading, nullptr);
    // The decoder thread gets a little time between frames (five seconds at most).
    for (int frame = 0; frame < 1000 && !loading->isFinished(); ++frame) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        driver.stepFrames(1);
    }
    EXPECT_TRUE(loading->isFinished());
    // A first start: the nameless default player is asked for a name.
    EXPECT_TRUE(screentest::hasLine(log, "loading -> new player"));
    driver.stopCapturingLog();

    Director::destroyInstance();
    app.reset();
    std::error_code error;
    fs::remove_all(root, error);
}

}  // namespace
