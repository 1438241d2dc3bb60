#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Driver.h"
#include "ScreenTestSupport.h"
#include "engine/base/Director.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"

#include "GameSound.h"
#include "Settings.h"
#include "UserData.h"
#include "ui/LoadingScreen.h"
#include "ui/SplashScreen.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Director;
using cocos2d::Vec2;

void writePng(const fs::path& path, unsigned char r, unsigned char g, unsigned char b) {
    std::vector<unsigned char> rgba(64 * 64 * 4);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgba[i] = r;
        rgba[i + 1] = g;
        rgba[i + 2] = b;
        rgba[i + 3] = 255;
    }
    cocos2d::Image image;
    ASSERT_TRUE(image.initWithRawData(rgba.data(), rgba.size(), 64, 64, false));
    ASSERT_TRUE(image.saveToFile(path.string()));
}

// Splash lists of our own over the staged tree, which gives the loading screen its look.
class SplashScreenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        overrides = testing::Driver::scratchPath("splash-overrides");
        fs::remove_all(overrides);
        fs::create_directories(fs::path(overrides) / "splash");
        writePng(fs::path(overrides) / "splash" / "red.png", 255, 0, 0);
        writePng(fs::path(overrides) / "splash" / "green.png", 0, 255, 0);
    }

    void SetUp() override {
        UserData::getInstance() = UserData{};
        Settings::getInstance().createUser(u"Ann");
        Settings::getInstance().getCurrentUser().storyLevel = 0;
        screentest::useStagedResources(overrides);
        screentest::loadEnglishTexts();
    }

    void writeList(const std::string& text, bool present = true) {
        const fs::path list = fs::path(overrides) / "splash" / "splashdata.xml";
        fs::remove(list);
        if (present) {
            std::ofstream(list, std::ios::binary) << text;
        }
        cocos2d::FileUtils::getInstance()->purgeCachedEntries();
    }

    // The splash in a fresh scene that replaces the running one, as a scene change makes it.
    SplashScreen* start() {
        cocos2d::Scene* scene = cocos2d::Scene::create();
        SplashScreen* splash = SplashScreen::create();
        EXPECT_NE(splash, nullptr);
        scene->addChild(splash);
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(1);
        return splash;
    }

    // Frames until the change to the loading screen has begun; -1 after ten seconds.
    int framesUntilLeaving(SplashScreen* splash) {
        for (int frame = 0; frame < 600; ++frame) {
            if (splash->isLeaving()) {
                return frame;
            }
            driver().stepFrames(1);
        }
        return -1;
    }

    // True once the running scene holds the loading screen (the fade ended).
    bool reachesLoadingScreen() {
        for (int frame = 0; frame < 120; ++frame) {
            driver().stepFrames(1);
            cocos2d::Scene* running = Director::getInstance()->getRunningScene();
            if (running != nullptr && !running->isTransition() && running->getChildrenCount() > 0 &&
                dynamic_cast<LoadingScreen*>(running->getChildren().at(0)) != nullptr) {
                return true;
            }
        }
        return false;
    }

    testing::Driver& driver() { return testing::Driver::get(); }

    static std::string overrides;
};

std::string SplashScreenTest::overrides;

TEST_F(SplashScreenTest, ImagesCrossFadeInTurnAndTheLoadingScreenFollows) {
    struct Case {
        const char* list;
        int leavesAfter;
        const char* why;
    };
    const Case cases[] = {
        {"<Document><img filename=\"red.png\" timeToShow=\"2.0\"/></Document>", 150,
         "one image: 0.5 + 2.0 s"},
        {"<Document><a filename=\"red.png\" timeToShow=\"1.0\"/><b filename=\"green.png\" timeToShow=\"1\"/>"
         "</Document>",
         180, "two images: 0.5 + 1.0 twice"},
        {"<Document><img filename=\"red.png\"/></Document>", 30, "no time: only the fade"},
    };
    for (const Case& c : cases) {
        writeList(c.list);
        SplashScreen* splash = start();
        // The first image is there at once.
        EXPECT_EQ(splash->getEntries().front().sprite->getOpacity(), 255) << c.why;
        EXPECT_GT(screentest::colourAt(Vec2(640, 405)).r, 250) << c.why;
        const int frames = framesUntilLeaving(splash);
        EXPECT_NEAR(frames, c.leavesAfter, 2) << c.why;
        EXPECT_TRUE(reachesLoadingScreen()) << c.why;
    }
}

TEST_F(SplashScreenTest, TheSecondImageBeginsToAppearWhenTheFirstHasHadItsTime) {
    writeList(
        "<Document><a filename=\"red.png\" timeToShow=\"1.0\"/><b filename=\"green.png\" timeToShow=\"1.0\"/>"
        "</Document>");
    SplashScreen* splash = start();
    driver().stepFrames(86);
    EXPECT_EQ(splash->getEntries()[1].sprite->getOpacity(), 0);
    driver().stepFrames(8);
    EXPECT_GT(splash->getEntries()[1].sprite->getOpacity(), 0);
    driver().stepFrames(30);
    EXPECT_GT(screentest::colourAt(Vec2(640, 405)).g, 250);
    EXPECT_LT(screentest::colourAt(Vec2(640, 405)).r, 5);
    EXPECT_TRUE(reachesLoadingScreen());
}

TEST_F(SplashScreenTest, ATapLeavesAtOnceAndOnlyOnce) {
    writeList(
        "<Document><a filename=\"red.png\" timeToShow=\"5\"/><b filename=\"green.png\" timeToShow=\"5\"/>"
        "</Document>");
    SplashScreen* splash = start();
    driver().stepFrames(5);
    const std::vector<std::string>& log = driver().captureLog();
    driver().tap(Vec2(640, 405));
    driver().stepFrames(1);
    EXPECT_TRUE(splash->isLeaving());
    driver().tap(Vec2(640, 405));
    driver().stepFrames(1);
    EXPECT_TRUE(reachesLoadingScreen());
    // One loading screen was made.
    EXPECT_EQ(screentest::countLinesStartingWith(log, "ScreenBase::init"), 1);
    driver().stopCapturingLog();
}

TEST_F(SplashScreenTest, OnlyAnImageMarkedExactlyTrueLetsItsSuccessorBeginOnATap) {
    struct Case {
        const char* skip;
        bool successorStarts;
    };
    for (const Case c : {Case{"true", true}, Case{"True", false}, Case{"1", false}, Case{"", false}}) {
        writeList(std::string("<Document><a filename=\"red.png\" timeToShow=\"5\" skip=\"") + c.skip +
                  "\"/><b filename=\"green.png\" timeToShow=\"5\"/></Document>");
        SplashScreen* splash = start();
        driver().stepFrames(40);
        ASSERT_TRUE(splash->isShowing());
        EXPECT_EQ(splash->getEntries()[0].skip, c.successorStarts) << c.skip;
        driver().tap(Vec2(640, 405));
        driver().stepFrames(5);
        EXPECT_TRUE(splash->isLeaving());
        EXPECT_EQ(splash->getEntries()[1].sprite->getOpacity() > 0, c.successorStarts)
            << '"' << c.skip << '"';
        EXPECT_TRUE(reachesLoadingScreen());
    }
}

TEST_F(SplashScreenTest, ABadListIsLoggedOnceAndTheLoadingScreenStillFollows) {
    struct Case {
        const char* text;
        bool present;
        int loadLines;
        const char* why;
    };
    const Case cases[] = {
        {"<Document><img filename=\"red.png\"", true, 1, "truncated"},
        {"", true, 1, "empty file"},
        {"", false, 1, "no file"},
        {"<Images><img filename=\"red.png\" timeToShow=\"1\"/></Images>", true, 1, "no Document"},
        {"<Document/>", true, 1, "no images"},
        {"<Document><!-- none -->text</Document>", true, 1, "only a comment and text"},
        {"<Document><img filename=\"gone.png\" timeToShow=\"1\"/><img/></Document>", true, 0,
         "every image missing"},
        {"\x01\x02\xff\xfe<<>>", true, 1, "garbage"},
    };
    for (const Case& c : cases) {
        writeList(c.text, c.present);
        // Without the staged tree behind it, a missing list is missing (the loading screen then has
        // no look of its own, and still ends).
        if (!c.present) {
            cocos2d::FileUtils::getInstance()->setSearchPaths({overrides});
            cocos2d::FileUtils::getInstance()->purgeCachedEntries();
        } else {
            screentest::useStagedResources(overrides);
        }
        const std::vector<std::string>& log = driver().captureLog();
        SplashScreen* splash = start();
        EXPECT_EQ(screentest::countLinesStartingWith(log, "Load splash/splashdata.xml list: "), c.loadLines)
            << c.why;
        driver().stopCapturingLog();
        EXPECT_TRUE(splash->getEntries().empty()) << c.why;
        EXPECT_GE(framesUntilLeaving(splash), 0) << c.why;
        EXPECT_TRUE(reachesLoadingScreen()) << c.why;
    }
}

TEST_F(SplashScreenTest, AMissingImageAmongGoodOnesIsSkipped) {
    writeList(
        "<Document><a filename=\"gone.png\" timeToShow=\"1\"/><b filename=\"green.png\" timeToShow=\"1\"/>"
        "</Document>");
    SplashScreen* splash = start();
    ASSERT_EQ(splash->getEntries().size(), 1u);
    EXPECT_EQ(splash->getEntries()[0].fileName, "green.png");
    EXPECT_NEAR(framesUntilLeaving(splash), 90, 2);
}

}  // namespace
