#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Driver.h"
#include "FrameWaits.h"
#include "ScreenTestSupport.h"
#include "engine/2d/ProgressTimer.h"
#include "engine/base/Director.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Scene.h"

#include "GameSound.h"
#include "Profile.h"
#include "Settings.h"
#include "UserData.h"
#include "ui/LoadingScreen.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Director;

void writePng(const fs::path& path) {
    std::vector<unsigned char> rgba(16 * 16 * 4, 200);
    cocos2d::Image image;
    ASSERT_TRUE(image.initWithRawData(rgba.data(), rgba.size(), 16, 16, false));
    ASSERT_TRUE(image.saveToFile(path.string()));
}

void writeDescription(const fs::path& folder, const std::vector<std::string>& textures) {
    fs::create_directories(folder);
    std::string nodes;
    for (size_t i = 0; i < textures.size(); ++i) {
        nodes += (i ? "," : "") + std::string("{\"name\":\"n") + std::to_string(i) +
                 "\",\"x\":0,\"y\":0,\"w\":16,\"h\":16,\"tex\":\"" + textures[i] + "\"}";
    }
    std::ofstream(folder / "ccnode.json", std::ios::binary) << "{\"nodes\":[" << nodes << "]}";
}

// The four preloaded descriptions replaced by small ones of our own: seven distinct images in all,
// one of them named twice, one missing and one a sheet frame that names no file.
class LoadingScreenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sevenImages = testing::Driver::scratchPath("loading-seven");
        noImages = testing::Driver::scratchPath("loading-none");
        fs::remove_all(sevenImages);
        fs::remove_all(noImages);
        const fs::path seven(sevenImages);
        writeDescription(seven / "ui/Map", {"a.png", "b.png", "a.png", "c.png"});
        writeDescription(seven / "ui/Gallery", {"d.png", "missing.png"});
        writeDescription(seven / "ui/GalleryDynamic", {"Sheet/frame_1"});
        writeDescription(seven / "ui/Game", {"e.png"});
        for (const char* image :
             {"ui/Map/a.png", "ui/Map/b.png", "ui/Map/c.png", "ui/Gallery/d.png", "ui/Game/e.png"}) {
            writePng(seven / image);
        }
        const fs::path none(noImages);
        for (const char* folder : {"ui/Map", "ui/Gallery", "ui/GalleryDynamic", "ui/Game"}) {
            writeDescription(none / folder, {});
        }
    }

    void SetUp() override {
        UserData::getInstance() = UserData{};
        Settings::getInstance().createUser(u"Ann");
        GameSound::destroyInstance();
        screentest::loadEnglishTexts();
    }

    void use(const std::string& overrides) { screentest::useStagedResources(overrides); }

    // The screen in a fresh scene that replaces the running one.
    LoadingScreen* start() {
        // A screen of an earlier case goes first: its destructor drops the images both share.
        Director::getInstance()->replaceScene(cocos2d::Scene::create());
        driver().stepFrames(2);
        cocos2d::Scene* scene = cocos2d::Scene::create();
        LoadingScreen* screen = LoadingScreen::create();
        EXPECT_NE(screen, nullptr);
        scene->addChild(screen);
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(1);
        return screen;
    }

    // Frames until the screen is done (FrameWaits.h).
    bool finish(LoadingScreen* screen) {
        return testing::stepUntil(
            "the loading screen to finish", [screen] { return screen->isFinished(); }, 10.0f);
    }

    testing::Driver& driver() { return testing::Driver::get(); }

    static std::string sevenImages;
    static std::string noImages;
};

std::string LoadingScreenTest::sevenImages;
std::string LoadingScreenTest::noImages;

TEST_F(LoadingScreenTest, EachImageIsLoadedOnceAndTheBarShowsWholePercentages) {
    use(sevenImages);
    cocos2d::Scene* scene = cocos2d::Scene::create();
    LoadingScreen* screen = LoadingScreen::create();
    scene->addChild(screen);
    EXPECT_EQ(screen->getTexturePaths().size(), 7u);
    ASSERT_NE(screen->getProgressBar(), nullptr);
    EXPECT_FLOAT_EQ(screen->getProgressBar()->getPercentage(), 0.0f);
    std::vector<float> shown;
    for (int i = 0; i < 7; ++i) {
        screen->onTextureLoaded(nullptr);
        shown.push_back(screen->getProgressBar()->getPercentage());
    }
    EXPECT_EQ(shown, (std::vector<float>{14, 28, 42, 57, 71, 85, 100}));
    EXPECT_TRUE(screen->isFinished());
}

TEST_F(LoadingScreenTest, FailedImagesStillFillTheBarToTheEnd) {
    use(sevenImages);
    Settings::getInstance().getCurrentUser().storyLevel = 0;
    const std::vector<std::string>& log = driver().captureLog();
    LoadingScreen* screen = start();
    ASSERT_TRUE(finish(screen));
    EXPECT_FLOAT_EQ(screen->getLoadedCount(), 7.0f);
    EXPECT_FLOAT_EQ(screen->getProgressBar()->getPercentage(), 100.0f);
    EXPECT_TRUE(screentest::hasLine(log, "level = 0"));
    EXPECT_TRUE(screentest::hasLine(log, "loading -> map"));
    driver().stopCapturingLog();
    cocos2d::TextureCache* cache = Director::getInstance()->getTextureCache();
    for (const char* loaded :
         {"ui/Map/a.png", "ui/Map/b.png", "ui/Map/c.png", "ui/Gallery/d.png", "ui/Game/e.png"}) {
        EXPECT_NE(cache->getTextureForKey(cocos2d::FileUtils::getInstance()->fullPathForFilename(loaded)),
                  nullptr)
            << loaded;
    }
}

TEST_F(LoadingScreenTest, NothingToLoadFinishesAtOnce) {
    use(noImages);
    LoadingScreen* screen = start();
    EXPECT_TRUE(screen->getTexturePaths().empty());
    EXPECT_TRUE(screen->isFinished());
}

TEST_F(LoadingScreenTest, TheProfileChoosesWhereTheScreenLeadsAndWhichTracksItQueues) {
    struct Case {
        int32_t storyLevel;
        std::u16string name;
        const char* line;
        size_t tracks;
        bool barStays;
    };
    const Case cases[] = {
        {0, u"Ann", "loading -> map", 5, true},
        {7, u"", "loading -> map", 5, true},
        {-1, u"Ann", "loading -> intro", 1, true},
        {-1, u"", "loading -> new player", 1, false},
    };
    use(sevenImages);
    for (const Case& c : cases) {
        // The earlier case's destination enters (and may change its profile) before this case's.
        Director::getInstance()->replaceScene(cocos2d::Scene::create());
        driver().stepFrames(70);
        GameSound::destroyInstance();
        Settings::getInstance().createUser(c.name);
        Settings::getInstance().getCurrentUser().storyLevel = c.storyLevel;
        const std::vector<std::string>& log = driver().captureLog();
        LoadingScreen* screen = start();
        ASSERT_TRUE(finish(screen)) << c.line;
        EXPECT_TRUE(screentest::hasLine(log, c.line)) << c.line;
        EXPECT_TRUE(screentest::hasLine(log, "level = " + std::to_string(c.storyLevel))) << c.line;
        driver().stopCapturingLog();
        const std::vector<std::string>& playlist = GameSound::getInstance().getPlaylist();
        ASSERT_EQ(playlist.size(), c.tracks) << c.line;
        EXPECT_EQ(playlist.front(), "Music/theme_1");
        if (c.tracks == 5) {
            EXPECT_EQ(playlist.back(), "Music/theme_5");
        }
        EXPECT_EQ(screen->getProgressBar() != nullptr, c.barStays) << c.line;
        EXPECT_EQ(screen->getUiNode()->getChildByName("loadingProgresBorder") != nullptr, c.barStays)
            << c.line;
        EXPECT_EQ(screen->getUiNode()->getChildByName("Orvel") != nullptr, c.barStays) << c.line;
        EXPECT_NE(screen->getUiNode()->getChildByName("back"), nullptr);
    }
}

TEST_F(LoadingScreenTest, TheGamesOwnTreeFillsTheDrawnBarToTheEnd) {
    // The staged tree as shipped: its map, gallery and level descriptions, sheet frames included.
    screentest::useStagedResources();
    screentest::loadEnglishTexts();
    Settings::getInstance().getCurrentUser().storyLevel = 0;
    LoadingScreen* screen = start();
    ASSERT_FALSE(screen->getTexturePaths().empty());
    ASSERT_TRUE(finish(screen));
    EXPECT_FLOAT_EQ(screen->getLoadedCount(), static_cast<float>(screen->getTexturePaths().size()));
    ASSERT_NE(screen->getProgressBar(), nullptr);
    EXPECT_FLOAT_EQ(screen->getProgressBar()->getPercentage(), 100.0f);

    // The filler's right end, just inside the border: drawn when full, not when empty.
    const cocos2d::Vec2 rightEnd(940.0f, 138.0f);
    driver().stepFrames(1);
    driver().saveScreenshot(testing::Driver::outputPath("loading-screen-full.png"));
    const cocos2d::Color4B full = screentest::colourAt(rightEnd);
    screen->getProgressBar()->setPercentage(0.0f);
    driver().stepFrames(1);
    const cocos2d::Color4B empty = screentest::colourAt(rightEnd);
    EXPECT_GT(std::abs(full.r - empty.r) + std::abs(full.g - empty.g) + std::abs(full.b - empty.b), 60)
        << "full " << int(full.r) << "," << int(full.g) << "," << int(full.b) << " empty " << int(empty.r)
        << "," << int(empty.g) << "," << int(empty.b);
}

TEST_F(LoadingScreenTest, TheScreensOwnImagesLeaveTheCacheWithIt) {
    use(noImages);
    const std::vector<std::string>& log = driver().captureLog();
    start();
    cocos2d::TextureCache* cache = Director::getInstance()->getTextureCache();
    const std::string background =
        cocos2d::FileUtils::getInstance()->fullPathForFilename("ui/Loading/loading_bg.jpg");
    EXPECT_NE(cache->getTextureForKey(background), nullptr);
    Director::getInstance()->replaceScene(cocos2d::Scene::create());
    driver().stepFrames(2);
    EXPECT_TRUE(screentest::hasLine(log, "=== LoadingScreen::~LoadingScreen ==="));
    driver().stopCapturingLog();
    EXPECT_EQ(cache->getTextureForKey(background), nullptr);
}

}  // namespace
