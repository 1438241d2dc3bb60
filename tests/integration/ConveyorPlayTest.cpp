// The conveyor sorter played on the real engine with a real GL view and the real mixer (SDL's dummy
// audio driver where there is no device): the game runs in a test scene under a stand-in for its host
// that does what the host does (update every frame, the first touch of a gesture forwarded in world
// coordinates), and the player's swipes are injected where real touches enter.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "Driver.h"
#include "MinigamePlayHost.h"
#include "MinigameLevel.h"
#include "Profile.h"
#include "Settings.h"
#include "engine/2d/Label.h"
#include "engine/audio/AudioEngine.h"
#include "engine/base/Director.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/events/Touch.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"
#include "engine/scene/Scene.h"
#include "minigames/ConveyorPuzzle.h"
#include "minigames/ConveyorPuzzleRules.h"
#include "minigames/CurrentMinigame.h"
#include "ui/NodeFromJson.h"

namespace {

using cocos2d::Vec2;
using cocos2d::experimental::AudioEngine;
using cocos2d::experimental::AudioState;

using minigametest::Host;

double meanDifference(const cocos2d::Image* a, const cocos2d::Image* b) {
    if (a == nullptr || b == nullptr || a->getDataLen() != b->getDataLen() || a->getDataLen() == 0) {
        ADD_FAILURE() << "frame grabs differ in size";
        return 0.0;
    }
    double sum = 0.0;
    for (size_t i = 0; i < a->getDataLen(); ++i) {
        sum += std::abs(static_cast<int>(a->getData()[i]) - static_cast<int>(b->getData()[i]));
    }
    return sum / static_cast<double>(a->getDataLen());
}

class ConveyorPlayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
        files->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
        files->setSearchPaths({"src", "res"});
        const std::filesystem::path home(testing::Driver::scratchPath("xdg-conveyor"));
        std::filesystem::create_directories(home);
        ::setenv("XDG_DATA_HOME", home.c_str(), 1);
    }

    void SetUp() override {
        Settings::destroyInstance();
        Settings::getInstance().getCurrentUser() = Profile();
        currentMinigameKind = 3;
        _scene = cocos2d::Scene::create();
        cocos2d::Director::getInstance()->replaceScene(_scene);
        _host = Host::create();
        _scene->addChild(_host);
        driver().stepFrames(1);
    }

    void TearDown() override {
        if (HasFailure()) {
            screenshot("failed");
        }
        _scene->removeAllChildren();
        driver().stepFrames(1);
        Settings::destroyInstance();
    }

    static testing::Driver& driver() { return testing::Driver::get(); }

    ConveyorPuzzle* start(int32_t level, unsigned seed, bool restart = false) {
        std::srand(seed);
        currentMinigameLevel = level;
        ConveyorPuzzle* game = ConveyorPuzzle::create();
        EXPECT_NE(game, nullptr);
        if (game != nullptr) {
            game->setPosition(visibleCenter());
            _host->setGame(game, restart);
            _game = game;
        }
        driver().stepFrames(1);
        return game;
    }

    void screenshot(const std::string& what) {
        driver().saveScreenshot(testing::Driver::outputPath(
            std::string("Conveyor_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
            what + ".png"));
    }

    // A swipe over the middle of the belt, as a finger makes it: down, a move, up three frames later.
    void swipe(float dy) {
        const Vec2 from = visibleCenter() + Vec2(-100.0f, 0.0f);
        driver().touchBegan(from);
        driver().stepFrames(1);
        driver().touchMoved(from + Vec2(10.0f, dy * 0.5f));
        driver().stepFrames(1);
        driver().touchEnded(from + Vec2(20.0f, dy));
        driver().stepFrames(1);
    }

    // The oldest item once it is well into the screen's right half, else null.
    cocos2d::Node* oldestInView() const {
        if (_game->getItems().empty()) {
            return nullptr;
        }
        cocos2d::Node* item = _game->getItems().front();
        return item->getPositionX() > 100.0f ? item : nullptr;
    }

    static bool playing(int32_t audioId) {
        return audioId != AudioEngine::INVALID_AUDIO_ID &&
               AudioEngine::getState(audioId) == AudioState::PLAYING;
    }

    cocos2d::Scene* _scene = nullptr;
    Host* _host = nullptr;
    ConveyorPuzzle* _game = nullptr;
};

TEST_F(ConveyorPlayTest, AFirstGameShowsTheDemonstrationThenAPlayerSortsEveryItemAndWins) {
    ASSERT_NE(start(0, 424242), nullptr);  // 40 s at 220 px/s, with the coin
    const int32_t belt = _game->getBeltSound();
    EXPECT_TRUE(playing(belt));
    ASSERT_EQ(_game->getState(), MinigameState::Waiting) << "the demonstration runs";
    driver().stepFrames(60 * 3);
    screenshot("demonstration");
    // A swipe during the demonstration sorts nothing.
    swipe(-200.0f);
    EXPECT_EQ(_game->getItems().size(), 1u);
    driver().stepFrames(60 * 3);
    ASSERT_EQ(_game->getState(), MinigameState::Playing);
    EXPECT_TRUE(Settings::getInstance().isTutorialShown(ConveyorPuzzle::kDemonstrationTutorial));

    // The belt's pattern scrolls.
    const cocos2d::Rect beltStrip(200, 405 + 40, 200, 16);
    cocos2d::RefPtr<cocos2d::Image> before = driver().readPixels(beltStrip);
    driver().stepFrames(7);
    EXPECT_GT(meanDifference(before.get(), driver().readPixels(beltStrip).get()), 2.0);

    int sorted = 0;
    bool coinSeen = false;
    bool midShot = false;
    for (int frame = 0; frame < 60 * 60 && _game->getState() == MinigameState::Playing; ++frame) {
        if (cocos2d::Node* item = oldestInView()) {
            coinSeen = coinSeen || item->getTag() == ConveyorPuzzleRules::kCoinTag;
            const cocos2d::RefPtr<cocos2d::Node> held(item);
            swipe(item->getTag() == ConveyorPuzzleRules::kIllicitTag ? 160.0f : -160.0f);
            const auto& items = _game->getItems();
            ASSERT_EQ(std::find(items.begin(), items.end(), held.get()), items.end())
                << "the swipe sorted the oldest item";
            ++sorted;
            if (!midShot && sorted == 12) {
                driver().stepFrames(8);
                screenshot("play");
                midShot = true;
            }
            continue;
        }
        driver().stepFrames(1);
    }
    EXPECT_EQ(_game->getMistakes(), 0);
    EXPECT_TRUE(coinSeen) << "the coin comes 30 s in";
    EXPECT_GT(sorted, 30);
    ASSERT_EQ(_game->getState(), MinigameState::Finishing);
    EXPECT_TRUE(_game->getItems().empty());
    EXPECT_EQ(_game->getCounter()->getString(), "0");
    driver().stepFrames(32);
    EXPECT_EQ(_game->getState(), MinigameState::Won);
    EXPECT_FALSE(playing(belt)) << "the belt is quiet once the level is won";
    EXPECT_EQ(Settings::getInstance().getCurrentUser().world.minigameWins,
              (std::vector<MinigameLevel>{{3, 0}}));
    screenshot("won");
}

TEST_F(ConveyorPlayTest, ThreeWrongSwipesLoseAndTheBeltStops) {
    Settings::getInstance().getCurrentUser().shownTutorials.push_back(ConveyorPuzzle::kDemonstrationTutorial);
    ASSERT_NE(start(7, 99), nullptr);  // the fastest level
    ASSERT_EQ(_game->getState(), MinigameState::Playing);
    EXPECT_FALSE(_game->getUi()->getChildByName("conveyor_gun")->isVisible());
    const int32_t belt = _game->getBeltSound();
    EXPECT_TRUE(playing(belt));
    int wrong = 0;
    for (int frame = 0; frame < 60 * 20 && wrong < 3; ++frame) {
        if (cocos2d::Node* item = oldestInView()) {
            const bool coin = item->getTag() == ConveyorPuzzleRules::kCoinTag;
            swipe(item->getTag() == ConveyorPuzzleRules::kIllicitTag ? -160.0f : 160.0f);
            wrong += coin ? 0 : 1;
            EXPECT_EQ(_game->getMistakes(), wrong);
            if (wrong == 2) {
                screenshot("two_mistakes");
            }
            continue;
        }
        driver().stepFrames(1);
    }
    ASSERT_EQ(_game->getMistakes(), 3);
    // The swipe's last frame already counts towards the half second.
    EXPECT_EQ(_game->getState(), MinigameState::Waiting);
    EXPECT_TRUE(playing(belt)) << "the belt runs through the short delay";
    driver().stepFrames(30);
    EXPECT_EQ(_game->getState(), MinigameState::Lost);
    EXPECT_FALSE(playing(belt));
    EXPECT_TRUE(Settings::getInstance().getCurrentUser().world.minigameWins.empty());
    screenshot("lost");
}

TEST_F(ConveyorPlayTest, ARestartStopsTheOldBeltBeforeTheNewGameStartsItsOwn) {
    Settings::getInstance().getCurrentUser().shownTutorials.push_back(ConveyorPuzzle::kDemonstrationTutorial);
    ASSERT_NE(start(2, 3), nullptr);
    driver().stepFrames(30);
    const int32_t oldBelt = _game->getBeltSound();
    ASSERT_TRUE(playing(oldBelt));
    ASSERT_NE(start(2, 3, true), nullptr);
    const int32_t newBelt = _game->getBeltSound();
    EXPECT_NE(newBelt, oldBelt);
    EXPECT_FALSE(playing(oldBelt));
    EXPECT_TRUE(playing(newBelt));
    // The restarted game still finds its sheets: its items have pictures.
    driver().stepFrames(90);
    ASSERT_FALSE(_game->getItems().empty());
    EXPECT_GT(_game->getItems().front()->getContentSize().width, 0.0f);
    // Leaving stops the belt too.
    _game->stop();
    EXPECT_FALSE(playing(newBelt));
}

}  // namespace
