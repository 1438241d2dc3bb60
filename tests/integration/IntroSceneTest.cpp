#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "Driver.h"
#include "RunningScreen.h"
#include "NodeBoxes.h"
#include "ScreenTestSupport.h"
#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Scene.h"
#include "engine/scene/TransitionFade.h"
#include "engine/ui/Button.h"

#include "Profile.h"
#include "Settings.h"
#include "TextTable.h"
#include "UserData.h"
#include "ui/CreditsScreen.h"
#include "ui/GameScreen.h"
#include "ui/IntroScene.h"
#include "ui/NodeFromJson.h"

namespace {

using cocos2d::Director;
using cocos2d::Vec2;
using testing::runningScreen;

constexpr int kFps = 60;

// The slideshow faded in as its callers start it, over the staged slides.
class IntroSceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        screentest::useStagedResources();
        screentest::loadEnglishTexts();
        UserData::getInstance() = UserData{};
        Settings::getInstance().createUser(u"Ann");
        Settings::getInstance().getCurrentUser().storyLevel = -1;
        Director::getInstance()->replaceScene(cocos2d::Scene::create());
        driver().stepFrames(70);
    }

    IntroScene* start(bool intro) {
        IntroScene* scene = IntroScene::create();
        EXPECT_NE(scene, nullptr);
        if (intro) {
            scene->startIntro();
        } else {
            scene->startOutro();
        }
        Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(0.3f, scene));
        // The fade, then the scene runs on its own.
        driver().stepFrames(20);
        EXPECT_EQ(Director::getInstance()->getRunningScene(), scene);
        return scene;
    }

    // Frames until the slide on screen is not `index` any more; -1 when it stays for `limit` frames.
    int framesUntilSlideChanges(IntroScene* scene, int index, int limit) {
        for (int frame = 1; frame <= limit; ++frame) {
            driver().stepFrames(1);
            if (scene->getFrameIndex() != index) {
                return frame;
            }
        }
        return -1;
    }

    Vec2 skipCentre(IntroScene* scene) {
        cocos2d::Node* skip = scene->getSkipButton();
        return skip->getParent()->convertToWorldSpace(skip->getPosition());
    }

    // Whether the show has handed the game on: the fade into the next screen runs instead of it.
    static bool handedOn(IntroScene* scene) { return Director::getInstance()->getRunningScene() != scene; }

    // The level reached once: it runs, and no level before it was made and dropped.
    static bool inTheOnlyLevel(const std::vector<std::string>& log) {
        return runningScreen<GameScreen>() != nullptr && !screentest::hasLine(log, "=== GameScreen::~GameScreen ===");
    }

    testing::Driver& driver() { return testing::Driver::get(); }
};

TEST_F(IntroSceneTest, WithoutInputEachSlideStaysItsSecondsAndTheDemoLevelFollowsTheNinth) {
    const std::vector<std::string>& log = driver().captureLog();
    IntroScene* scene = start(true);
    ASSERT_EQ(scene->getFrameCount(), 9);
    EXPECT_EQ(scene->getDurations(), (std::vector<float>{11, 12, 7, 11, 9, 10, 9, 8, 10}));
    // Each slide's timer starts when it is put in; it ends the slide, and 0.1 s later (black) the
    // next slide is put in. The first slide's clock started while the scene faded in.
    const int seconds[] = {11, 12, 7, 11, 9, 10, 9, 8};
    int sinceChange = 20;
    for (int i = 0; i < 8; ++i) {
        const int frames = framesUntilSlideChanges(scene, i, (seconds[i] + 1) * kFps);
        ASSERT_GT(frames, 0) << "slide " << i + 1;
        EXPECT_NEAR(frames + sinceChange, seconds[i] * kFps + 6, i == 0 ? 20 : 2) << "slide " << i + 1;
        EXPECT_EQ(scene->getFader()->getOpacity(), 255) << "black while the slides change";
        driver().stepFrames(7);
        EXPECT_EQ(scene->getFader()->getOpacity(), 0) << "and back within 0.1 s";
        EXPECT_TRUE(scene->areTapsAccepted());
        sinceChange = 7;
    }
    EXPECT_FALSE(handedOn(scene));
    driver().stepFrames(10 * kFps - 7 - 3);
    EXPECT_FALSE(handedOn(scene));
    driver().stepFrames(6);
    EXPECT_TRUE(handedOn(scene));
    const PictureKey demo{"demo", "Vesquino"};
    EXPECT_EQ(Settings::getInstance().getCurrentUser().currentPicture, demo);
    // The last slide stays on screen while the level fades in.
    ASSERT_NE(scene->getCurrentSlide(), nullptr);
    EXPECT_GT(scene->getCurrentSlide()->getChildrenCount(), 0u);
    // Over 1.0 s the demo picture's level fades in; nothing is saved on the way.
    driver().stepFrames(kFps + 5);
    GameScreen* level = runningScreen<GameScreen>();
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->getLevelPath(), "demo/Vesquino");
    EXPECT_EQ(screentest::countLinesStartingWith(log, "UserDataIO::saveUserData"), 0);
    driver().stopCapturingLog();
}

TEST_F(IntroSceneTest, ASlideIsBuiltWhenShownWithItsBubbleTextsAndDroppedWithItsImages) {
    IntroScene* scene = start(true);
    IntroLayer* first = scene->getCurrentSlide();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->getFolder(), "intro/frame1");
    EXPECT_EQ(first->getPosition(), visibleCenter());
    cocos2d::Node* bubbles = first->getChildren().at(0)->getChildByName("Bubbles");
    ASSERT_NE(bubbles, nullptr);
    auto* bubble = dynamic_cast<cocos2d::Label*>(bubbles->getChildByName("f1_b1"));
    ASSERT_NE(bubble, nullptr);
    EXPECT_EQ(bubble->getString(), TextTable::getInstance().getText("intro", "f1_b1"));
    EXPECT_NE(bubble->getString(), "intro.f1_b1");

    cocos2d::TextureCache* cache = Director::getInstance()->getTextureCache();
    const std::string image = cocos2d::FileUtils::getInstance()->fullPathForFilename("intro/frame1/slide.jpg");
    EXPECT_NE(cache->getTextureForKey(image), nullptr);
    // Only the slide on screen is built: the next one has nothing yet.
    driver().tap(Vec2(640, 405));
    driver().stepFrames(8);
    ASSERT_EQ(scene->getFrameIndex(), 1);
    EXPECT_EQ(first->getParent(), nullptr);
    EXPECT_EQ(first->getChildrenCount(), 0u);
    EXPECT_EQ(cache->getTextureForKey(image), nullptr);
    EXPECT_EQ(scene->getFrameContainer()->getChildrenCount(), 1u);
    driver().saveScreenshot(driver().outputPath("intro-slide2.png"));
}

TEST_F(IntroSceneTest, TheSkipButtonCoversNoCaptionBubbleOnAnySlide) {
    IntroScene* scene = start(true);
    cocos2d::Node* skip = scene->getSkipButton();
    ASSERT_NE(skip, nullptr);
    const cocos2d::Rect skipBox = testing::screenBox(skip);
    // The caption's paper reaches 22 px past its text box on every side.
    constexpr float kPaper = 22.0f;
    for (int index = 0; index < scene->getFrameCount(); ++index) {
        ASSERT_EQ(scene->getFrameIndex(), index);
        IntroLayer* slide = scene->getCurrentSlide();
        ASSERT_NE(slide, nullptr);
        cocos2d::Node* bubbles = slide->getChildren().at(0)->getChildByName("Bubbles");
        ASSERT_NE(bubbles, nullptr) << slide->getFolder();
        for (cocos2d::Node* caption : bubbles->getChildren()) {
            cocos2d::Rect paper = testing::screenBox(caption);
            paper = cocos2d::Rect(paper.getMinX() - kPaper, paper.getMinY() - kPaper, paper.size.width + 2 * kPaper,
                                  paper.size.height + 2 * kPaper);
            EXPECT_FALSE(testing::overlaps(paper, skipBox)) << slide->getFolder() << " " << caption->getName();
        }
        driver().tap(Vec2(640, 405));
        driver().stepFrames(8);
    }
}

TEST_F(IntroSceneTest, ATapEndsOnlyTheSlideOnScreenAndTapsDuringTheFadeAreIgnored) {
    const std::vector<std::string>& log = driver().captureLog();
    IntroScene* scene = start(true);
    driver().tap(Vec2(300, 300));
    driver().stepFrames(1);
    EXPECT_FALSE(scene->areTapsAccepted());
    // A second tap while the screen is black does nothing.
    driver().tap(Vec2(300, 300));
    driver().stepFrames(7);
    EXPECT_EQ(scene->getFrameIndex(), 1);
    driver().stepFrames(30);
    EXPECT_EQ(scene->getFrameIndex(), 1);

    for (int i = 1; i < 8; ++i) {
        driver().tap(Vec2(300, 300));
        driver().stepFrames(14);
    }
    ASSERT_EQ(scene->getFrameIndex(), 8);
    EXPECT_FALSE(handedOn(scene));
    driver().tap(Vec2(300, 300));
    driver().stepFrames(1);
    EXPECT_TRUE(handedOn(scene));
    driver().tap(Vec2(300, 300));
    driver().stepFrames(12 * kFps);
    EXPECT_TRUE(inTheOnlyLevel(log)) << "the show ends once";
    driver().stopCapturingLog();
}

// A finger held past the slide's own end lets the next slide have its full time, and on the last
// slide the show does not end a second time when it is lifted.
TEST_F(IntroSceneTest, AFingerHeldPastTheSlidesEndDoesNotEndTheNextSlideOrTheShowTwice) {
    const std::vector<std::string>& log = driver().captureLog();
    IntroScene* scene = start(true);
    for (int i = 0; i < 7; ++i) {
        driver().tap(Vec2(300, 300));
        driver().stepFrames(14);
    }
    ASSERT_EQ(scene->getFrameIndex(), 7);
    driver().touchBegan(Vec2(300, 300));
    driver().stepFrames(8 * kFps + 20);
    ASSERT_EQ(scene->getFrameIndex(), 8);
    driver().touchEnded(Vec2(300, 300));
    driver().stepFrames(2);
    EXPECT_EQ(scene->getFrameIndex(), 8);
    EXPECT_TRUE(scene->areTapsAccepted());

    driver().touchBegan(Vec2(300, 300));
    driver().stepFrames(10 * kFps + 20);
    EXPECT_TRUE(handedOn(scene));
    driver().touchEnded(Vec2(300, 300));
    driver().stepFrames(kFps + 5);
    EXPECT_TRUE(inTheOnlyLevel(log));
    driver().stopCapturingLog();
}

TEST_F(IntroSceneTest, SkipEndsTheShowAtOnceExceptWhileTheSlidesChange) {
    struct Case {
        int tapsFirst;
        bool duringFade;
        bool ends;
    };
    const Case cases[] = {{0, false, true}, {4, false, true}, {8, false, true}, {2, true, false}};
    for (const Case& c : cases) {
        SetUp();
        driver().captureLog();
        IntroScene* scene = start(true);
        ASSERT_NE(scene->getSkipButton(), nullptr);
        auto* skip = dynamic_cast<cocos2d::ui::Button*>(scene->getSkipButton());
        ASSERT_NE(skip, nullptr);
        EXPECT_EQ(skip->getTitleText(), "Skip");
        EXPECT_EQ(skip->getOpacity(), 150);
        for (int i = 0; i < c.tapsFirst; ++i) {
            driver().tap(Vec2(300, 300));
            driver().stepFrames(14);
        }
        if (c.duringFade) {
            driver().tap(Vec2(300, 300));
            driver().stepFrames(2);
        }
        const int index = scene->getFrameIndex();
        driver().tap(skipCentre(scene));
        driver().stepFrames(1);
        EXPECT_EQ(handedOn(scene), c.ends) << c.tapsFirst;
        if (c.ends) {
            EXPECT_EQ(scene->getFrameIndex(), index) << "the slide stays, emptied";
            EXPECT_EQ(scene->getCurrentSlide()->getChildrenCount(), 0u);
            EXPECT_FALSE(scene->areTapsAccepted());
        }
        driver().stopCapturingLog();
    }
}

TEST_F(IntroSceneTest, TheOutroHasNoSkipIgnoresTapsAndOpensTheCreditsAfterTenSeconds) {
    driver().captureLog();
    IntroScene* scene = start(false);
    EXPECT_EQ(scene->getFrameCount(), 1);
    EXPECT_EQ(scene->getSkipButton(), nullptr);
    ASSERT_NE(scene->getCurrentSlide(), nullptr);
    EXPECT_EQ(scene->getCurrentSlide()->getFolder(), "intro/outro1");
    driver().tap(Vec2(300, 300));
    driver().stepFrames(10 * kFps - 30);
    EXPECT_FALSE(handedOn(scene));
    EXPECT_EQ(scene->getFrameIndex(), 0);
    driver().stepFrames(12);
    EXPECT_TRUE(handedOn(scene));
    // The credits fade in over 0.5 s.
    driver().stepFrames(kFps / 2 - 5);
    EXPECT_EQ(runningScreen<CreditsScreen>(), nullptr);
    driver().stepFrames(10);
    EXPECT_NE(runningScreen<CreditsScreen>(), nullptr);
    driver().stopCapturingLog();
}

TEST_F(IntroSceneTest, TheSceneReleasesEverySlideWhenItGoes) {
    const std::vector<std::string>& log = driver().captureLog();
    {
        IntroScene* scene = start(true);
        driver().tap(Vec2(300, 300));
        driver().stepFrames(14);
        ASSERT_EQ(scene->getFrameIndex(), 1);
    }
    Director::getInstance()->replaceScene(cocos2d::Scene::create());
    driver().stepFrames(3);
    EXPECT_TRUE(screentest::hasLine(log, "=== IntroScene::~IntroScene ==="));
    driver().stopCapturingLog();
}

}  // namespace
