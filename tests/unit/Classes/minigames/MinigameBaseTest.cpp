#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "engine/actions/DelayTime.h"
#include "engine/base/RefPtr.h"

#include "MinigameLevel.h"
#include "Profile.h"
#include "Settings.h"
#include "minigames/CurrentMinigame.h"
#include "minigames/MinigameBase.h"
#include "../../engine/HeadlessEngine.h"
#include "../SaveTestSupport.h"

namespace {

// The smallest game: the base's behaviour and nothing else.
class BareGame : public MinigameBase {
public:
    static BareGame* create() {
        auto* game = new (std::nothrow) BareGame();
        if (game != nullptr && game->init()) {
            game->autorelease();
            return game;
        }
        delete game;
        return nullptr;
    }
};

class MinigameBaseTest : public enginetest::HeadlessEngine {
protected:
    void SetUp() override {
        HeadlessEngine::SetUp();
        savetest::resetGameState();
        currentMinigameKind = 2;
        currentMinigameLevel = 5;
    }
    void TearDown() override {
        savetest::resetGameState();
        HeadlessEngine::TearDown();
    }
    static std::vector<MinigameLevel>& wins() {
        return Settings::getInstance().getCurrentUser().world.minigameWins;
    }
};

TEST_F(MinigameBaseTest, ANewGamePlaysAndTakesInput) {
    cocos2d::RefPtr<BareGame> game(BareGame::create());
    ASSERT_TRUE(game);
    EXPECT_EQ(game->getState(), MinigameState::Playing);
    EXPECT_FALSE(game->isInputLocked());
    EXPECT_FALSE(game->isRestart());
    EXPECT_TRUE(game->takesInput());
    EXPECT_TRUE(game->touchBegan({1, 2}));
    EXPECT_TRUE(game->touchMoved({1, 2}));
    EXPECT_TRUE(game->touchEnded({1, 2}));
    game->setState(MinigameState::Waiting);
    EXPECT_FALSE(game->takesInput());
    game->setState(MinigameState::Playing);
    game->setInputLocked(true);
    EXPECT_FALSE(game->takesInput());
}

TEST_F(MinigameBaseTest, AWinLocksInputAndRecordsTheCurrentKindAndLevelWithoutSaving) {
    cocos2d::RefPtr<BareGame> game(BareGame::create());
    wins().push_back(MinigameLevel{0, 1});
    game->win();
    EXPECT_EQ(game->getState(), MinigameState::Won);
    EXPECT_TRUE(game->isInputLocked());
    EXPECT_EQ(wins(), (std::vector<MinigameLevel>{{0, 1}, {2, 5}}));
}

TEST_F(MinigameBaseTest, ADecidedLevelStaysDecided) {
    struct Case {
        const char* what;
        void (*first)(MinigameBase&);
        void (*then)(MinigameBase&);
        MinigameState state;
        size_t wins;
    };
    auto win = [](MinigameBase& g) { g.win(); };
    auto lose = [](MinigameBase& g) { g.lose(); };
    auto play = [](MinigameBase& g) { g.setState(MinigameState::Playing); };
    auto finish = [](MinigameBase& g) { g.setState(MinigameState::Finishing); };
    const std::vector<Case> cases = {
        // A Skip while a loss is pending, then the pending loss.
        {"win then lose", win, lose, MinigameState::Won, 1},
        // A Skip during a finishing delay, then the game's own delayed win: one record only.
        {"win then win", win, win, MinigameState::Won, 1},
        {"lose then win", lose, win, MinigameState::Lost, 0},
        {"win then playing", win, play, MinigameState::Won, 1},
        {"lose then finishing", lose, finish, MinigameState::Lost, 0},
        {"finishing then win", finish, win, MinigameState::Won, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        wins().clear();
        cocos2d::RefPtr<BareGame> game(BareGame::create());
        c.first(*game);
        c.then(*game);
        EXPECT_EQ(game->getState(), c.state);
        EXPECT_EQ(wins().size(), c.wins);
    }
}

TEST_F(MinigameBaseTest, WonAndLostComeOnlyFromWinAndLose) {
    cocos2d::RefPtr<BareGame> game(BareGame::create());
    savetest::LogCapture log;
    game->setState(MinigameState::Won);
    game->setState(MinigameState::Lost);
    EXPECT_EQ(game->getState(), MinigameState::Playing);
    EXPECT_TRUE(wins().empty());
    EXPECT_EQ(log.lines.size(), 2u);
}

TEST_F(MinigameBaseTest, StopCancelsTheGamesPendingActionsAndLocksInputInAnyState) {
    for (const MinigameState state :
         {MinigameState::Playing, MinigameState::Waiting, MinigameState::Finishing}) {
        cocos2d::RefPtr<BareGame> game(BareGame::create());
        game->setState(state);
        game->runAction(cocos2d::DelayTime::create(5.0f));
        ASSERT_EQ(game->getNumberOfRunningActions(), 1);
        game->stop();
        EXPECT_EQ(game->getNumberOfRunningActions(), 0);
        EXPECT_TRUE(game->isInputLocked());
        EXPECT_EQ(game->getState(), state);
    }
}

TEST_F(MinigameBaseTest, TheBaseDestructorLogsItsBanner) {
    savetest::LogCapture log;
    ASSERT_NE(BareGame::create(), nullptr);
    step(1);  // the frame drains the autorelease pool, which held the only reference
    EXPECT_TRUE(log.contains("=== MinigameBase::~MinigameBase ==="));
}

}  // namespace
