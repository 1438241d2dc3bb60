#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "Driver.h"
#include "RunningScreen.h"
#include "ImageBytes.h"
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

// The real launch from a first start, with some staged files hidden by damaged ones in an override
// folder searched before the resource tree.
class DamagedSplashLaunch {
public:
    DamagedSplashLaunch(const std::string& name, const std::function<void(const fs::path& overrides)>& damage)
        : _root(fs::temp_directory_path() / ("kestrova-" + name + "-" + std::to_string(::getpid()))) {
        fs::remove_all(_root);
        fs::create_directories(_root / "data");
        fs::create_directories(_root / "overrides");
        damage(_root / "overrides");
        ::setenv("XDG_DATA_HOME", (_root / "data").c_str(), 1);
        cocos2d::Application::setAppName("Kestrova");
        cocos2d::FileUtils::destroyInstance();
        cocos2d::FileUtils::getInstance()->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
        cocos2d::FileUtils::getInstance()->setSearchPaths({(_root / "overrides").string()});
        UserData::getInstance() = UserData{};
        Settings::destroyInstance();
        TextTable::destroyInstance();
        Director::destroyInstance();
    }

    ~DamagedSplashLaunch() {
        testing::Driver::get().stopCapturingLog();
        Director::destroyInstance();
        _app.reset();
        std::error_code error;
        fs::remove_all(_root, error);
    }

    // The log from before the launch on.
    const std::vector<std::string>& launch() {
        const std::vector<std::string>& log = testing::Driver::get().captureLog();
        _app = std::make_unique<AppDelegate>();
        _launched = testing::Driver::get().launch(*_app);
        return log;
    }

    bool launched() const { return _launched; }

    // The loading screen once the splash has led to it, or null (with a failure) after `gameSeconds`.
    LoadingScreen* waitForLoadingScreen(float gameSeconds) {
        return testing::stepUntilRunning<LoadingScreen>(gameSeconds);
    }

private:
    fs::path _root;
    std::unique_ptr<AppDelegate> _app;
    bool _launched = false;
};

// A splash list that does not parse: the splash scene is the first scene the director runs, and the
// game must still reach the loading screen from it.
TEST(SplashLaunchTest, ABrokenSplashListAtLaunchStillLeadsToTheLoadingScreen) {
    DamagedSplashLaunch launch("splash-launch", [](const fs::path& overrides) {
        fs::create_directories(overrides / "splash");
        std::ofstream(overrides / "splash" / "splashdata.xml", std::ios::binary) << "<Document><img";
    });
    const std::vector<std::string>& log = launch.launch();
    ASSERT_TRUE(launch.launched());
    EXPECT_EQ(screentest::countLinesStartingWith(log, "Load splash/splashdata.xml list: "), 1);

    LoadingScreen* loading = launch.waitForLoadingScreen(5.0f);
    ASSERT_NE(loading, nullptr);
    EXPECT_TRUE(testing::stepUntil(
        "the loading screen to finish", [loading] { return loading->isFinished(); }, 10.0f));
    // A first start: the nameless default player is asked for a name.
    EXPECT_TRUE(screentest::hasLine(log, "loading -> new player"));
}

// A splash picture whose header claims 65500 x 65500 pixels (some 16 GiB decoded) is refused from its
// header in one line that names it, and the game goes on to the loading screen as it does without it.
TEST(SplashLaunchTest, ASplashPictureClaimingAHugeSizeIsRefusedInOneLineAndTheGameGoesOn) {
    DamagedSplashLaunch launch("huge-image-launch", [](const fs::path& overrides) {
        imagebytes::write(overrides / "splash" / "title.jpg", imagebytes::jpegClaiming(65500, 65500));
    });
    const std::vector<std::string>& log = launch.launch();
    ASSERT_TRUE(launch.launched());

    ASSERT_NE(launch.waitForLoadingScreen(10.0f), nullptr);
    std::vector<std::string> named;
    for (const std::string& line : log) {
        if (line.find("title.jpg") != std::string::npos) {
            named.push_back(line);
        }
    }
    ASSERT_EQ(named.size(), 1u) << (named.empty() ? std::string() : named.back());
    EXPECT_NE(named[0].find("splash/title.jpg"), std::string::npos) << named[0];
    EXPECT_NE(named[0].find("65500x65500"), std::string::npos) << named[0];
}

}  // namespace
