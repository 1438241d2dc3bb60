#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Driver.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/events/EventKeyboard.h"
#include "engine/platform/Application.h"
#include "engine/platform/FileUtils.h"
#include "engine/platform/GLViewImpl.h"
#include "engine/renderer/Image.h"

#include "AppDelegate.h"
#include "DebugKeySequence.h"
#include "Profile.h"
#include "Settings.h"
#include "TextTable.h"
#include "UserData.h"
#include "UserDataIO.h"
#include "ui/FactoryNodeRegistry.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Director;
using Key = cocos2d::EventKeyboard::KeyCode;

std::string fixture(const std::string& relative) {
    return std::string(KESTROVA_TEST_DATA_DIR) + "/" + relative;
}

std::string readText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool hasLine(const std::vector<std::string>& log, const std::string& line) {
    for (const std::string& l : log) {
        if (l == line) {
            return true;
        }
    }
    return false;
}

bool hasLineContaining(const std::vector<std::string>& log, const std::string& part) {
    for (const std::string& l : log) {
        if (l.find(part) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// A real resource tree and a real XDG data folder, both temporary, with a saved windowed player
// whose profile holds no pack yet; then the real delegate launched on them. The delegate makes its
// own window: the driver's is dropped first.
class AppStartTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root = fs::temp_directory_path() / ("kestrova-app-start-" + std::to_string(::getpid()));
        fs::remove_all(root);
        const fs::path resources = root / "Resources";
        fs::create_directories(resources / "res" / "Scenes");
        fs::create_directories(resources / "res" / "texts");
        fs::create_directories(root / "data");
        for (const char* name : {"packs.xml", "pack.xml", "texts-en.xml"}) {
            fs::copy_file(fixture(std::string("packs/basic/") + name), resources / "res" / "Scenes" / name);
        }
        fs::copy_file(fixture("texts/start/texts-en.xml"), resources / "res" / "texts" / "texts-en.xml");
        std::ofstream(resources / "res" / "lang", std::ios::binary) << "en";
        std::vector<unsigned char> pixels(16 * 16 * 4, 200);
        cocos2d::RefPtr<cocos2d::Image> icon = cocos2d::Image::create();
        ASSERT_TRUE(icon->initWithRawData(pixels.data(), pixels.size(), 16, 16));
        ASSERT_TRUE(icon->saveToFile((resources / "res" / "icon.png").string()));

        ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
        cocos2d::Application::setAppName("Kestrova");
        cocos2d::FileUtils::destroyInstance();
        cocos2d::FileUtils::getInstance()->setResourceRoot(resources.string() + "/");

        // The saved store: one windowed player without packs.
        UserData::getInstance() = UserData{};
        Settings::getInstance().createUser(u"Ann");
        Profile& ann = Settings::getInstance().getCurrentUser();
        ann.fullscreen = false;
        ann.money = 250;
        ann.packs.clear();
        ann.world = WorldProgress{};
        ASSERT_TRUE(UserDataIO::saveUserData());
        UserData::getInstance() = UserData{};
        Settings::destroyInstance();
        TextTable::destroyInstance();

        Director::destroyInstance();
        app = std::make_unique<AppDelegate>();
        auto& driver = testing::Driver::get();
        const std::vector<std::string>& log = driver.captureLog();
        launched = driver.launch(*app);
        launchLog = log;
        driver.stepFrames(2);
    }

    static void TearDownTestSuite() {
        Director::destroyInstance();
        app.reset();
        std::error_code error;
        fs::remove_all(root, error);
    }

    void SetUp() override { ASSERT_TRUE(launched); }

    testing::Driver& driver() { return testing::Driver::get(); }
    cocos2d::GLViewImpl* view() { return driver().view(); }
    std::string savePath(const std::string& name) { return Settings::getInstance().getWritablePath() + name; }

    static fs::path root;
    static std::unique_ptr<AppDelegate> app;
    static bool launched;
    static std::vector<std::string> launchLog;
};

fs::path AppStartTest::root;
std::unique_ptr<AppDelegate> AppStartTest::app;
bool AppStartTest::launched = false;
std::vector<std::string> AppStartTest::launchLog;

TEST_F(AppStartTest, AWindowedProfileOpensA1280x810WindowTitledKestrova) {
    ASSERT_NE(view(), nullptr);
    EXPECT_EQ(view()->getViewName(), "Kestrova");
    EXPECT_FALSE(view()->isFullscreen());
    EXPECT_EQ(view()->getFrameSize().width, 1280.0f);
    EXPECT_EQ(view()->getFrameSize().height, 810.0f);
    EXPECT_EQ(view()->getDesignResolutionSize().width, 1280.0f);
    EXPECT_EQ(view()->getDesignResolutionSize().height, 810.0f);
    EXPECT_EQ(view()->getResolutionPolicy(), cocos2d::ResolutionPolicy::SHOW_ALL);
    EXPECT_FLOAT_EQ(Director::getInstance()->getAnimationInterval(), 1.0f / 60.0f);
    EXPECT_FALSE(Settings::getInstance().isFullscreen());
    EXPECT_NE(Director::getInstance()->getRunningScene(), nullptr);
    // The window was given the program's icon: no complaint about it.
    EXPECT_FALSE(hasLineContaining(launchLog, "icon")) << "icon";
}

TEST_F(AppStartTest, TheSavedPlayerTheTextsAndThePacksAreLoaded) {
    const Profile& ann = Settings::getInstance().getCurrentUser();
    EXPECT_EQ(UserData::getInstance().currentUserName, u"Ann");
    EXPECT_EQ(ann.money, 250);
    ASSERT_EQ(ann.packs.size(), 1u);
    EXPECT_EQ(ann.packs[0].packVersion, "7");
    EXPECT_EQ(ann.world.pictures.size(), 3u);
    EXPECT_EQ(TextTable::getInstance().getText("ui", "exit_game_confirm"), "Close the museum for today?");
    EXPECT_EQ(TextTable::getInstance().lookup("ProgressMessages.progress_1"), "Beta is open.");
    // The texts come before the packs, which merge theirs into them.
    size_t texts = launchLog.size();
    size_t packs = launchLog.size();
    for (size_t i = 0; i < launchLog.size(); ++i) {
        if (launchLog[i] == "loadTexts" && texts == launchLog.size()) {
            texts = i;
        }
        if (launchLog[i] == "DataPackReader load") {
            packs = i;
        }
    }
    EXPECT_LT(texts, packs);
    EXPECT_LT(packs, launchLog.size());
}

// Descriptions can name the game's own node classes once the launch has run.
TEST_F(AppStartTest, TheLaunchRegistersTheNodeClassesForTheDescriptions) {
    for (const char* name : {"RestoreToolSelector", "FlaskLiquid"}) {
        EXPECT_NE(FactoryNodeRegistry::getInstance().find(name), nullptr) << name;
    }
}

TEST_F(AppStartTest, TypedKeysReachTheDelegateThroughItsKeyboardListener) {
    const bool before = DebugKeySequence::getInstance().isDebugMode();
    for (const Key key :
         {Key::KEY_X, Key::KEY_K, Key::KEY_L, Key::KEY_O, Key::KEY_M, Key::KEY_B, Key::KEY_E, Key::KEY_R}) {
        driver().key(key, true);
        driver().key(key, false);
        driver().stepFrames(1);
    }
    EXPECT_NE(DebugKeySequence::getInstance().isDebugMode(), before);
    EXPECT_EQ(Director::getInstance()->isDisplayStats(), DebugKeySequence::getInstance().isDebugMode());
}

TEST_F(AppStartTest, AltEnterSwitchesToFullScreenAndOutAsTheScreenAllows) {
    const auto altEnter = [this] {
        driver().key(Key::KEY_ALT, true);
        driver().key(Key::KEY_KP_ENTER, true);
        driver().key(Key::KEY_KP_ENTER, false);
        driver().key(Key::KEY_ALT, false);
        driver().stepFrames(2);
    };
    altEnter();
    EXPECT_TRUE(Settings::getInstance().getCurrentUser().fullscreen);
    EXPECT_TRUE(Settings::getInstance().isFullscreen());
    EXPECT_TRUE(view()->isFullscreen());
    EXPECT_EQ(view()->getDesignResolutionSize().width, 1280.0f);

    altEnter();
    EXPECT_FALSE(Settings::getInstance().getCurrentUser().fullscreen);
    EXPECT_FALSE(Settings::getInstance().isFullscreen());
    const bool screenTakesAWindow =
        view()->getFullscreenWidth() >= 1280 || view()->getFullscreenHeight() >= 810;
    EXPECT_EQ(view()->isFullscreen(), !screenTakesAWindow);
    if (screenTakesAWindow) {
        EXPECT_EQ(view()->getFrameSize().width, 1280.0f);
        EXPECT_EQ(view()->getFrameSize().height, 810.0f);
    }
    EXPECT_EQ(view()->getResolutionPolicy(), cocos2d::ResolutionPolicy::SHOW_ALL);
}

TEST_F(AppStartTest, FocusLossPausesTheGameAndItsReturnResumesIt) {
    std::vector<std::string>& log = driver().captureLog();
    driver().focusLost();
    driver().stepFrames(1);
    EXPECT_TRUE(hasLine(log, "\t* LostFocus"));
    EXPECT_TRUE(Director::getInstance()->isPaused());
    driver().focusGained();
    driver().stepFrames(1);
    EXPECT_TRUE(hasLine(log, "\t* ResumeFocus"));
    EXPECT_FALSE(Director::getInstance()->isPaused());
    EXPECT_FALSE(Director::getInstance()->isAnimationStopped());
}

TEST_F(AppStartTest, EnteringTheBackgroundSavesThePlayersProgress) {
    Settings::getInstance().getCurrentUser().money = 4321;
    std::vector<std::string>& log = driver().captureLog();
    driver().minimize();
    driver().stepFrames(1);
    EXPECT_TRUE(hasLine(log, "\t* applicationDidEnterBackground"));
    EXPECT_TRUE(Director::getInstance()->isPaused());
    EXPECT_TRUE(Director::getInstance()->isAnimationStopped());

    const UserData running = UserData::getInstance();
    UserData::getInstance() = UserData{};
    UserDataIO::loadUserData();
    EXPECT_EQ(UserData::getInstance().profiles.at(u"Ann").money, 4321);
    EXPECT_EQ(readText(savePath("UserData.bin")), readText(savePath("UserDataSecondary.bin")));
    UserData::getInstance() = running;

    driver().restore();
    driver().stepFrames(1);
    EXPECT_TRUE(hasLine(log, "\t* applicationWillEnterForeground"));
    EXPECT_FALSE(Director::getInstance()->isPaused());
    EXPECT_FALSE(Director::getInstance()->isAnimationStopped());
}

// Closing the window never ends the game by itself: the close is discarded.
TEST_F(AppStartTest, ACloseRequestIsDiscardedAndTheLoopGoesOn) {
    const unsigned int frames = Director::getInstance()->getTotalFrames();
    driver().closeRequest();
    driver().stepFrames(3);
    EXPECT_FALSE(Director::getInstance()->isEndRequested());
    EXPECT_FALSE(Director::getInstance()->hasEnded());
    ASSERT_NE(view(), nullptr);
    EXPECT_FALSE(view()->isClosePending());
    EXPECT_GT(Director::getInstance()->getTotalFrames(), frames);
}

TEST_F(AppStartTest, AResizedWindowKeepsTheDesignResolution) {
    std::vector<std::string>& log = driver().captureLog();
    driver().resize(1000, 700);
    driver().stepFrames(2);
    EXPECT_TRUE(hasLine(log, "size changed"));
    EXPECT_EQ(view()->getDesignResolutionSize().width, 1280.0f);
    EXPECT_EQ(view()->getDesignResolutionSize().height, 810.0f);
    EXPECT_EQ(view()->getResolutionPolicy(), cocos2d::ResolutionPolicy::SHOW_ALL);
}

}  // namespace
