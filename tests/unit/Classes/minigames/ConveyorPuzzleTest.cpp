// The conveyor sorter on the real engine over a windowless view, with the staged resource tree: the
// game is driven as its host drives it, update once a frame and touches in world coordinates.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/platform/FileUtils.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SpriteFrameCache.h"

#include "GameSound.h"
#include "MinigameLevel.h"
#include "Profile.h"
#include "Settings.h"
#include "minigames/ConveyorPuzzle.h"
#include "minigames/ConveyorPuzzleRules.h"
#include "minigames/CurrentMinigame.h"
#include "ui/JsonDocumentCache.h"
#include "ui/NodeFromJson.h"
#include "../../engine/HeadlessEngine.h"
#include "../SaveTestSupport.h"

namespace {

using cocos2d::Vec2;
constexpr int32_t kAccepted = ConveyorPuzzleRules::kAcceptedTag;
constexpr int32_t kIllicit = ConveyorPuzzleRules::kIllicitTag;
constexpr int32_t kCoin = ConveyorPuzzleRules::kCoinTag;

class ConveyorPuzzleTest : public enginetest::HeadlessEngine {
protected:
    void SetUp() override {
        HeadlessEngine::SetUp();
        resetCaches();
        savetest::resetGameState();
        cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
        files->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
        files->setSearchPaths({"src", "res"});
        files->addSearchPath(_levels.path(), true);
        std::filesystem::create_directories(_levels.file("minigamelevels"));
        currentMinigameKind = 3;
        currentMinigameLevel = 0;
        std::srand(5);
        _scene = cocos2d::Scene::create();
        director()->runWithScene(_scene);
        step(1);
    }

    void TearDown() override {
        _game = nullptr;
        director()->end();
        step(1);
        HeadlessEngine::TearDown();
        resetCaches();
        savetest::resetGameState();
    }

    static void resetCaches() {
        cocos2d::SpriteFrameCache::destroyInstance();
        JsonDocumentCache::destroyInstance();
        cocos2d::FileUtils::destroyInstance();
    }

    static Profile& profile() { return Settings::getInstance().getCurrentUser(); }
    static void demonstrationSeen() {
        profile().shownTutorials.push_back(ConveyorPuzzle::kDemonstrationTutorial);
    }

    void writeLevel(int32_t level, const std::string& attributes) {
        std::ofstream(_levels.file("minigamelevels/ConveyorPuzzle_" + std::to_string(level) + ".xml"))
            << "<Level " << attributes << "/>";
        cocos2d::FileUtils::getInstance()->purgeCachedEntries();
    }

    ConveyorPuzzle* start(int32_t level) {
        currentMinigameLevel = level;
        _game = ConveyorPuzzle::create();
        EXPECT_NE(_game, nullptr);
        if (_game != nullptr) {
            _game->setPosition(visibleCenter());
            _scene->addChild(_game);
        }
        return _game;
    }

    // Frames as the host runs them: the game's update, then the engine's frame.
    void frames(int n) {
        for (int i = 0; i < n && _game != nullptr; ++i) {
            _game->update(enginetest::kFrame);
            step(1);
        }
    }
    void seconds(float s) { frames(static_cast<int>(s * 60.0f + 0.5f)); }

    // Runs until the oldest item is on the screen.
    void untilAnItemIsInView() {
        for (int i = 0; i < 600 && (_game->getItems().empty() || frontX() < _game->getSpawnX() + 10.0f);
             ++i) {
            frames(1);
        }
    }
    float frontX() const { return _game->getItems().front()->getPositionX(); }

    // A vertical swipe of dy design points over the belt.
    void swipe(float dy, float startY = 0.0f) {
        const Vec2 start = _game->getUi()->convertToWorldSpace(Vec2(0.0f, startY));
        _game->touchBegan(start);
        _game->touchEnded(start + Vec2(30.0f, dy));
    }

    static std::vector<MinigameLevel>& wins() { return profile().world.minigameWins; }

    savetest::TempFolder _levels;
    cocos2d::Scene* _scene = nullptr;
    ConveyorPuzzle* _game = nullptr;
};

TEST_F(ConveyorPuzzleTest, TheBeltStartsWithOneItemOffTheLeftEdgeAndTheTimeOfTheLevel) {
    demonstrationSeen();
    writeLevel(2, "gametime=\"12.5\" speed=\"240\" wrongitemspercent=\"30\" coin=\"false\"");
    ASSERT_NE(start(2), nullptr);
    EXPECT_EQ(_game->getState(), MinigameState::Playing);
    EXPECT_FALSE(_game->isInputLocked());
    EXPECT_FLOAT_EQ(_game->getExitX(), 640.0f);
    EXPECT_FLOAT_EQ(_game->getSpawnX(), -640.0f);
    EXPECT_EQ(_game->getCounter()->getString(), "12");
    EXPECT_EQ(_game->getBelt()->getChildrenCount(), 21);
    EXPECT_FALSE(_game->getUi()->getChildByName("conveyor_gun")->isVisible());
    EXPECT_FALSE(_game->getUi()->getChildByName("conveyor_palette")->isVisible());
    ASSERT_EQ(_game->getItems().size(), 1u);
    cocos2d::Node* first = _game->getItems().front();
    EXPECT_NE(first->getTag(), kCoin);
    const float width = first->getBoundingBox().size.width;
    EXPECT_LE(first->getPositionX(), -640.0f - width - 10.0f);
    EXPECT_GE(first->getPositionX(), -640.0f - width - 29.0f);
    EXPECT_FLOAT_EQ(first->getPositionY(), _game->getBelt()->getPositionY());

    const float x = first->getPositionX();
    const float beltX = _game->getBelt()->getPositionX();
    frames(30);
    EXPECT_NEAR(first->getPositionX(), x + 120.0f, 0.01f);
    EXPECT_NEAR(_game->getTimeLeft(), 12.0f, 0.001f);
    EXPECT_EQ(_game->getCounter()->getString(), "12");
    frames(1);
    EXPECT_EQ(_game->getCounter()->getString(), "11") << "whole seconds, cut down";
    EXPECT_GT(_game->getBelt()->getPositionX(), beltX - 0.01f);
    EXPECT_LE(_game->getBelt()->getPositionX(), beltX + ConveyorPuzzle::kSegmentSpacing);
    // Items follow one another at a gap of their width plus 10 to 29 points.
    seconds(3.0f);
    const auto& items = _game->getItems();
    ASSERT_GE(items.size(), 2u);
    for (size_t i = 1; i < items.size(); ++i) {
        const float gap = items[i - 1]->getPositionX() - items[i]->getPositionX();
        const float w = items[i]->getBoundingBox().size.width;
        EXPECT_GE(gap, w + 10.0f - 5.0f) << i;  // the newest spawns within a frame's travel of the edge
        EXPECT_LE(gap, w + 29.0f + 5.0f) << i;
    }
}

TEST_F(ConveyorPuzzleTest, EachSwipeSortsTheOldestItemAsItsTagAsks) {
    demonstrationSeen();
    writeLevel(1, "gametime=\"60\" speed=\"100\" coin=\"false\"");
    struct Case {
        const char* what;
        int32_t tag;
        float dy;
        float startY;
        bool sorted;
        int32_t mistakes;
    };
    const std::vector<Case> cases = {
        {"accepted down", kAccepted, -100, 0, true, 0},
        {"accepted up", kAccepted, 100, 0, true, 1},
        {"illicit up", kIllicit, 120, 0, true, 0},
        {"illicit down", kIllicit, -120, 0, true, 1},
        {"coin down", kCoin, -100, 0, true, 0},
        {"coin up", kCoin, 100, 0, true, 0},
        {"99 points down", kAccepted, -99, 0, false, 0},
        {"99 points up", kIllicit, 99, 0, false, 0},
        {"begun above the band", kIllicit, 200, 271, false, 0},
        {"begun at the band's top", kIllicit, 200, 270, true, 0},
        {"begun below the band", kAccepted, -200, -300, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(start(1), nullptr);
        untilAnItemIsInView();
        cocos2d::RefPtr<cocos2d::Node> oldest(_game->getItems().front());
        oldest->setTag(c.tag);
        const size_t before = _game->getItems().size();
        swipe(c.dy, c.startY);
        EXPECT_EQ(_game->getMistakes(), c.mistakes);
        EXPECT_EQ(_game->getItems().size(), c.sorted ? before - 1 : before);
        EXPECT_EQ(std::find(_game->getItems().begin(), _game->getItems().end(), oldest.get()) ==
                      _game->getItems().end(),
                  c.sorted);
        if (c.sorted) {
            EXPECT_EQ(_game->getPickedItem(), nullptr);
            frames(20);
            EXPECT_EQ(oldest->getParent(), nullptr) << "flown off and removed";
        } else if (c.startY == 0) {
            EXPECT_EQ(_game->getPickedItem(), oldest.get()) << "stays on the belt, picked";
        }
        _game->removeFromParent();
        _game = nullptr;
        step(1);
    }
}

TEST_F(ConveyorPuzzleTest, ASortableItemLeavingUnsortedIsAMistakeAndTheThirdLosesHalfASecondLater) {
    demonstrationSeen();
    writeLevel(3, "gametime=\"60\" speed=\"600\" coin=\"false\"");
    ASSERT_NE(start(3), nullptr);
    const int32_t belt = _game->getBeltSound();
    // Every item rides off the right edge: a coin among them costs nothing.
    int coins = 0;
    for (int i = 0; i < 60 * 20 && _game->getState() == MinigameState::Playing; ++i) {
        if (coins == 0 && _game->getItems().size() >= 2) {
            _game->getItems()[1]->setTag(kCoin);
            coins = 1;
        }
        frames(1);
    }
    EXPECT_EQ(_game->getMistakes(), 3);
    EXPECT_EQ(_game->getState(), MinigameState::Waiting);
    EXPECT_EQ(_game->getBeltSound(), belt) << "the belt runs on through the short delay";
    // Half a second, give or take the frame in which the mistake was made.
    frames(27);
    EXPECT_EQ(_game->getState(), MinigameState::Waiting);
    frames(4);
    EXPECT_EQ(_game->getState(), MinigameState::Lost);
    EXPECT_EQ(_game->getBeltSound(), GameSound::getInvalidAudioId());
    EXPECT_TRUE(wins().empty());
}

TEST_F(ConveyorPuzzleTest, WhenTheTimeIsOverTheBeltMustEmptyBeforeTheWin) {
    demonstrationSeen();
    writeLevel(4, "gametime=\"1\" speed=\"300\" coin=\"true\"");
    ASSERT_NE(start(4), nullptr);
    seconds(1.05f);
    EXPECT_FLOAT_EQ(_game->getTimeLeft(), 0.0f);
    EXPECT_EQ(_game->getCounter()->getString(), "0");
    ASSERT_FALSE(_game->getItems().empty());
    const size_t left = _game->getItems().size();
    frames(10);
    EXPECT_EQ(_game->getItems().size(), left) << "no item spawns after the time";
    EXPECT_EQ(_game->getState(), MinigameState::Playing);
    // Sort what is left, correctly, as it comes into view.
    for (int i = 0; i < 600 && !_game->getItems().empty(); ++i) {
        if (frontX() > _game->getSpawnX() + 10.0f) {
            swipe(_game->getItems().front()->getTag() == kIllicit ? 150.0f : -150.0f);
        }
        frames(1);
    }
    EXPECT_EQ(_game->getMistakes(), 0);
    EXPECT_EQ(_game->getState(), MinigameState::Finishing);
    frames(27);
    EXPECT_EQ(_game->getState(), MinigameState::Finishing);
    frames(4);
    EXPECT_EQ(_game->getState(), MinigameState::Won);
    EXPECT_EQ(wins(), (std::vector<MinigameLevel>{{3, 4}}));
    EXPECT_EQ(_game->getBeltSound(), GameSound::getInvalidAudioId());
}

TEST_F(ConveyorPuzzleTest, AThirdMistakeAsTheLastItemLeavesAfterTheTimeIsALossNotAWin) {
    demonstrationSeen();
    writeLevel(5, "gametime=\"0.4\" speed=\"900\" coin=\"false\"");
    ASSERT_NE(start(5), nullptr);
    seconds(0.45f);
    ASSERT_FLOAT_EQ(_game->getTimeLeft(), 0.0f);
    ASSERT_GE(_game->getItems().size(), 3u);
    // Two wrong swipes and any others right, then the last item rides off unsorted: the third mistake
    // empties the belt.
    while (_game->getItems().size() > 1) {
        untilAnItemIsInView();
        _game->getItems().front()->setTag(kAccepted);
        swipe(_game->getMistakes() < 2 ? 150.0f : -150.0f);
    }
    ASSERT_EQ(_game->getMistakes(), 2);
    _game->getItems().front()->setTag(kIllicit);
    for (int i = 0; i < 600 && _game->getState() == MinigameState::Playing; ++i) {
        frames(1);
    }
    EXPECT_TRUE(_game->getItems().empty());
    EXPECT_EQ(_game->getState(), MinigameState::Waiting);
    frames(40);
    EXPECT_EQ(_game->getState(), MinigameState::Lost);
    EXPECT_TRUE(wins().empty());
}

TEST_F(ConveyorPuzzleTest, TheCoinIsTheFirstItemSpawnedThirtySecondsIn) {
    demonstrationSeen();
    writeLevel(0, "gametime=\"40\" speed=\"300\" coin=\"true\"");
    ASSERT_NE(start(0), nullptr);
    // Held, so that no later item can take a sorted one's address.
    std::vector<cocos2d::RefPtr<cocos2d::Node>> seen(_game->getItems().begin(), _game->getItems().end());
    int coinsBefore30 = 0;
    cocos2d::Node* firstAfter30 = nullptr;
    for (int frame = 0; frame < 60 * 36; ++frame) {
        frames(1);
        // Keep the belt clear of mistakes: sort whatever is in view.
        if (!_game->getItems().empty() && frontX() > 0.0f) {
            cocos2d::Node* item = _game->getItems().front();
            swipe(item->getTag() == kIllicit ? 150.0f : -150.0f);
        }
        for (cocos2d::Node* item : _game->getItems()) {
            if (std::any_of(seen.begin(), seen.end(), [item](const auto& s) { return s.get() == item; })) {
                continue;
            }
            seen.emplace_back(item);
            if (frame < 60 * 30 - 1) {
                coinsBefore30 += item->getTag() == kCoin ? 1 : 0;
            } else if (firstAfter30 == nullptr) {
                firstAfter30 = item;
            }
        }
    }
    EXPECT_EQ(coinsBefore30, 0);
    ASSERT_NE(firstAfter30, nullptr);
    EXPECT_EQ(firstAfter30->getTag(), kCoin);
    EXPECT_EQ(firstAfter30->getName(), "coin");
    EXPECT_EQ(_game->getMistakes(), 0);
}

TEST_F(ConveyorPuzzleTest, TheDemonstrationRunsOnceAProfileAndHoldsTheGameForSixSeconds) {
    writeLevel(6, "gametime=\"40\" speed=\"300\" coin=\"false\"");
    ASSERT_NE(start(6), nullptr);
    EXPECT_EQ(_game->getState(), MinigameState::Waiting);
    EXPECT_TRUE(_game->isInputLocked());
    EXPECT_TRUE(Settings::getInstance().isTutorialShown(ConveyorPuzzle::kDemonstrationTutorial));
    EXPECT_EQ(profile().shownTutorials.size(), 1u);
    cocos2d::Node* gun = _game->getUi()->getChildByName("conveyor_gun");
    const float x = _game->getItems().front()->getPositionX();
    seconds(1.1f);
    EXPECT_GT(gun->getScale(), 1.0f) << "the gun pulses";
    swipe(-150.0f);
    seconds(4.8f);
    EXPECT_EQ(_game->getState(), MinigameState::Waiting);
    EXPECT_FLOAT_EQ(_game->getTimeLeft(), 40.0f) << "no time runs while waiting";
    EXPECT_FLOAT_EQ(_game->getItems().front()->getPositionX(), x) << "nothing moves";
    EXPECT_EQ(_game->getMistakes(), 0);
    seconds(0.2f);
    EXPECT_EQ(_game->getState(), MinigameState::Playing);
    EXPECT_FALSE(_game->isInputLocked());
    EXPECT_TRUE(gun->isVisible());
    EXPECT_TRUE(_game->getUi()->getChildByName("conveyor_palette")->isVisible());
    EXPECT_EQ(_game->getItems().size(), 1u) << "the swipe during the demonstration sorted nothing";

    _game->removeFromParent();
    step(1);
    ASSERT_NE(start(6), nullptr);
    EXPECT_EQ(_game->getState(), MinigameState::Playing);
    EXPECT_FALSE(_game->getUi()->getChildByName("conveyor_gun")->isVisible());
    EXPECT_EQ(profile().shownTutorials.size(), 1u);
}

TEST_F(ConveyorPuzzleTest, StopQuietsTheBeltAndLeavingReleasesTheSheetsUnlessRestarting) {
    demonstrationSeen();
    ASSERT_NE(start(0), nullptr);
    _game->stop();
    EXPECT_EQ(_game->getBeltSound(), GameSound::getInvalidAudioId());
    EXPECT_TRUE(_game->isInputLocked());
    const float x = _game->getItems().front()->getPositionX();
    frames(10);
    EXPECT_FLOAT_EQ(_game->getItems().front()->getPositionX(), x);

    for (const bool restart : {true, false}) {
        SCOPED_TRACE(restart ? "restart" : "leave");
        _game->removeFromParent();
        _game = nullptr;
        step(1);
        ASSERT_NE(start(0), nullptr);
        ASSERT_NE(cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName("accepted_1.png"), nullptr);
        _game->setRestart(restart);
        savetest::LogCapture log;
        _game->removeFromParent();
        _game = nullptr;
        step(1);
        EXPECT_TRUE(log.contains("~ConveyorPuzzle"));
        const auto afterClear =
            std::count_if(log.lines.begin(), log.lines.end(),
                          [](const std::string& line) { return line.rfind("after clear\n", 0) == 0; });
        EXPECT_EQ(afterClear, restart ? 0 : 1);
        EXPECT_EQ(cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName("accepted_1.png") != nullptr,
                  restart);
        ASSERT_NE(start(0), nullptr);
    }
}

TEST_F(ConveyorPuzzleTest, AnyLevelFileGivesAGameThatStartsAndRunsItsBeltToTheRight) {
    demonstrationSeen();
    const std::vector<std::string> files = {
        "",
        "<Level",
        "<Level gametime=\"-40\" speed=\"-300\" wrongitemspercent=\"-1e30\"/>",
        "<Level gametime=\"1e38\" speed=\"1e38\" wrongitemspercent=\"1e38\" coin=\"true\"/>",
        "<Level gametime=\"nan\" speed=\"inf\"/>",
        "<Level speed=\"2\"/>",
        "<Level><Level gametime=\"1\"/></Level>",
    };
    for (size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i]);
        std::ofstream(_levels.file("minigamelevels/ConveyorPuzzle_6.xml")) << files[i];
        cocos2d::FileUtils::getInstance()->purgeCachedEntries();
        ASSERT_NE(start(6), nullptr);
        const ConveyorPuzzleLevel& level = _game->getLevel();
        EXPECT_GT(level.gameTime, 0.0f);
        EXPECT_LE(level.gameTime, ConveyorPuzzleLevel::kMaxGameTime);
        EXPECT_GT(level.speed, 0.0f);
        EXPECT_LE(level.speed, ConveyorPuzzleLevel::kMaxSpeed);
        const float x = _game->getItems().front()->getPositionX();
        const float time = _game->getTimeLeft();
        seconds(0.5f);
        EXPECT_EQ(_game->getState(), MinigameState::Playing);
        EXPECT_GT(_game->getItems().front()->getPositionX(), x);
        EXPECT_LT(_game->getTimeLeft(), time);
        _game->removeFromParent();
        _game = nullptr;
        step(1);
    }
}

}  // namespace
