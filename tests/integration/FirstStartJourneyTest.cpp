#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "BoardTestStage.h"
#include "Driver.h"
#include "RunningScreen.h"
#include "ScreenTestSupport.h"
#include "engine/base/Director.h"
#include "engine/events/EventKeyboard.h"
#include "engine/scene/Scene.h"

#include "GameSound.h"
#include "PictureKey.h"
#include "Profile.h"
#include "Settings.h"
#include "UserData.h"
#include "nodes/NewUserPopup.h"
#include "ui/FactoryClasses.h"
#include "ui/GameScreen.h"
#include "ui/IntroScene.h"
#include "ui/LoadingScreen.h"
#include "ui/TopLayer.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Director;
using testing::runningScreen;
using testing::stepUntilRunning;
using KeyCode = cocos2d::EventKeyboard::KeyCode;

testing::Driver& driver() {
    return testing::Driver::get();
}

// A first start on the staged game, from the loading screen to the first level, with only the
// player's own input: a name typed and Enter, then Skip on the intro.
TEST(FirstStartJourneyTest, ANewPlayerNamesThemselvesSkipsTheIntroAndPlaysTheDemoLevel) {
    boardtest::useTemporaryDataHome("first-start-journey");
    screentest::useStagedResources();
    screentest::loadEnglishTexts();
    registerFactoryClasses();
    UserData::getInstance() = UserData{};
    GameSound::destroyInstance();
    TopLayer* top = TopLayer::create();
    ASSERT_NE(top, nullptr);
    Director::getInstance()->setNotificationNode(top);
    top->onEnter();

    // The store as a first start leaves it: one nameless player who has not played the intro.
    Settings::getInstance().ensureDefaultUser();
    Settings::getInstance().getCurrentUser().storyLevel = -1;
    cocos2d::Scene* scene = cocos2d::Scene::create();
    LoadingScreen* loading = LoadingScreen::create();
    ASSERT_NE(loading, nullptr);
    scene->addChild(loading);
    Director::getInstance()->replaceScene(scene);
    driver().stepFrames(1);
    ASSERT_TRUE(testing::stepUntil(
        "the loading screen to finish", [loading] { return loading->isFinished(); }, 10.0f));
    ASSERT_NE(dynamic_cast<NewUserPopup*>(loading->getNewUserPopup()), nullptr);

    const std::vector<std::string>& log = driver().captureLog();
    for (char ch : std::string("Zoe")) {
        driver().text(std::string(1, ch));
    }
    driver().stepFrames(1);
    driver().key(KeyCode::KEY_KP_ENTER, true);
    driver().key(KeyCode::KEY_KP_ENTER, false);
    driver().stepFrames(1);

    IntroScene* intro = stepUntilRunning<IntroScene>(3.0f);
    ASSERT_NE(intro, nullptr) << "the name starts the intro";
    EXPECT_EQ(intro->getFrameIndex(), 0);
    ASSERT_NE(intro->getSkipButton(), nullptr);
    // Skip takes taps once the first slide has faded in.
    driver().stepFrames(20);
    cocos2d::Node* skip = intro->getSkipButton();
    driver().tap(skip->getParent()->convertToWorldSpace(skip->getPosition()));
    driver().stepFrames(1);

    GameScreen* level = stepUntilRunning<GameScreen>(3.0f);
    ASSERT_NE(level, nullptr) << "Skip leads into the demo level";
    EXPECT_EQ(level->getLevelPath(), "demo/Vesquino");
    EXPECT_EQ(Director::getInstance()->getRunningScene()->getChildrenCount(), 1u);

    // The new player is the current one, on the demo picture and still before the story.
    EXPECT_EQ(UserData::getInstance().currentUserName, u"Zoe");
    const Profile& zoe = Settings::getInstance().getCurrentUser();
    EXPECT_EQ(zoe.storyLevel, -1);
    const PictureKey demo{"demo", "Vesquino"};
    EXPECT_EQ(zoe.currentPicture, demo);
    // Nothing is written on the way: the player is first saved when the intro level ends.
    EXPECT_EQ(screentest::countLinesStartingWith(log, "UserDataIO::saveUserData"), 0);
    EXPECT_FALSE(fs::exists(fs::path(Settings::getInstance().getWritablePath()) / "UserData.bin"));
    driver().stopCapturingLog();

    Director::getInstance()->replaceScene(cocos2d::Scene::create());
    driver().stepFrames(2);
    top->onExit();
    Director::getInstance()->setNotificationNode(nullptr);
}

}  // namespace
