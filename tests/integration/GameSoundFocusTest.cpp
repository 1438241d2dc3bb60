// The real delegate launched on the staged resource tree with real audio (SDL's dummy driver): the
// profile's volumes reach the audio service, and losing the window's focus pauses the music and the
// playing effects, which go on where they were when the focus comes back.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "Driver.h"
#include "engine/audio/AudioEngine.h"
#include "engine/base/Director.h"
#include "engine/platform/Application.h"
#include "engine/platform/FileUtils.h"
#include "engine/scene/Node.h"

#include "AppDelegate.h"
#include "GameSound.h"
#include "Settings.h"
#include "TextTable.h"
#include "UserData.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Director;
using cocos2d::experimental::AudioEngine;
using cocos2d::experimental::AudioState;

class GameSoundFocusTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        root = fs::temp_directory_path() / ("kestrova-sound-focus-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "data");
        ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
        cocos2d::Application::setAppName("Kestrova");
        cocos2d::FileUtils::destroyInstance();
        cocos2d::FileUtils::getInstance()->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
        UserData::getInstance() = UserData{};
        Settings::destroyInstance();
        TextTable::destroyInstance();
        GameSound::destroyInstance();

        Director::destroyInstance();
        app = std::make_unique<AppDelegate>();
        launched = testing::Driver::get().launch(*app);
        // The always-on-top layer's place: a plain node, entered by hand as the launch will do.
        topLayer = cocos2d::Node::create();
        Director::getInstance()->setNotificationNode(topLayer);
        topLayer->onEnter();
        testing::Driver::get().stepFrames(2);
    }

    static void TearDownTestSuite() {
        topLayer->onExit();
        Director::destroyInstance();
        app.reset();
        GameSound::destroyInstance();
        std::error_code error;
        fs::remove_all(root, error);
    }

    void SetUp() override { ASSERT_TRUE(launched); }
    static testing::Driver& driver() { return testing::Driver::get(); }

    static fs::path root;
    static std::unique_ptr<AppDelegate> app;
    static bool launched;
    static cocos2d::Node* topLayer;
};

fs::path GameSoundFocusTest::root;
std::unique_ptr<AppDelegate> GameSoundFocusTest::app;
bool GameSoundFocusTest::launched = false;
cocos2d::Node* GameSoundFocusTest::topLayer = nullptr;

TEST_F(GameSoundFocusTest, TheLaunchAppliesTheProfilesVolumes) {
    // No save yet: the first player's new-profile volumes.
    EXPECT_FLOAT_EQ(GameSound::getInstance().getMusicVolume(), 0.4f);
    EXPECT_FLOAT_EQ(GameSound::getInstance().getSoundVolume(), 1.0f);
}

TEST_F(GameSoundFocusTest, LosingFocusPausesTheMusicAndThePlayingEffectsUntilItReturns) {
    GameSound& sound = GameSound::getInstance();
    sound.addToPlaylist("Music/theme_1");
    sound.startPlaylist();
    const int music = sound.getMusicId();
    ASSERT_NE(music, GameSound::getInvalidAudioId());
    const int tool = sound.playEffect("tool_eraser", true);
    ASSERT_NE(tool, GameSound::getInvalidAudioId());
    driver().stepFrames(10);
    const float musicVolume = AudioEngine::getVolume(music);

    driver().focusLost();
    driver().stepFrames(30);
    EXPECT_EQ(AudioEngine::getState(music), AudioState::PAUSED);
    EXPECT_EQ(AudioEngine::getState(tool), AudioState::PAUSED);
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(music), musicVolume) << "the fade-in waits with the director";

    driver().focusGained();
    driver().stepFrames(2);
    EXPECT_EQ(AudioEngine::getState(music), AudioState::PLAYING);
    EXPECT_EQ(AudioEngine::getState(tool), AudioState::PLAYING);
    EXPECT_EQ(sound.getMusicId(), music);
    driver().stepFrames(60);
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(music), 0.4f) << "then reaches the music volume";
    sound.stopEffect(tool, false);
}

}  // namespace
