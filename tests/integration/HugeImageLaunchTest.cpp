#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Driver.h"
#include "ImageBytes.h"
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

// The real launch with a splash picture whose header claims 65500 x 65500 pixels (some 16 GiB
// decoded): it is refused from its header in one line that names it, and the game goes on to the
// loading screen as it does without that picture.
TEST(HugeImageLaunchTest, ASplashPictureClaimingAHugeSizeIsRefusedInOneLineAndTheGameGoesOn) {
    const fs::path root =
        fs::temp_directory_path() / ("kestrova-huge-image-launch-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "data");
    imagebytes::write(root / "overrides" / "splash" / "title.jpg", imagebytes::jpegClaiming(65500, 65500));
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

    LoadingScreen* loading = nullptr;
    for (int frame = 0; frame < 600 && loading == nullptr; ++frame) {
        driver.stepFrames(1);
        cocos2d::Scene* running = Director::getInstance()->getRunningScene();
        if (running != nullptr && !running->isTransition() && running->getChildrenCount() > 0) {
            loading = dynamic_cast<LoadingScreen*>(running->getChildren().at(0));
        }
    }
    ASSERT_NE(loading, nullptr);
    std::vector<std::string> named;
    for (const std::string& line : log) {
        if (line.find("title.jpg") != std::string::npos) {
            named.push_back(line);
        }
    }
    ASSERT_EQ(named.size(), 1u) << (named.empty() ? std::string() : named.back());
    EXPECT_NE(named[0].find("splash/title.jpg"), std::string::npos) << named[0];
    EXPECT_NE(named[0].find("65500x65500"), std::string::npos) << named[0];
    driver.stopCapturingLog();

    Director::destroyInstance();
    app.reset();
    std::error_code error;
    fs::remove_all(root, error);
}

}  // namespace
