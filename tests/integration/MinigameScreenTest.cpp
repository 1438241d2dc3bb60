// The minigame screen on the real engine: pushed over a stand-in level scene as the selection popup
// pushes it, driven frame by frame, with touches, fingers and keys injected where real ones enter, and
// the profile saved into a scratch XDG folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <typeinfo>
#include <vector>

#include "Driver.h"
#include "ScreenTestSupport.h"
#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/platform/FileUtils.h"
#include "engine/scene/Layer.h"
#include "engine/scene/Scene.h"

#include "MinigameLevel.h"
#include "Profile.h"
#include "Settings.h"
#include "UserDataIO.h"
#include "minigames/ColorMatch.h"
#include "minigames/ConveyorPuzzle.h"
#include "minigames/CurrentMinigame.h"
#include "minigames/DropsPuzzle.h"
#include "minigames/JigsawPuzzle.h"
#include "minigames/MinigameBase.h"
#include "minigames/MinigameScreen.h"
#include "ui/GalleryScreen.h"
#include "minigames/TwoMatch.h"
#include "minigames/TwoMatchGrid.h"
#include "ui/ChatScreen.h"
#include "ui/NodeFromJson.h"
#include "ui/TutorialScreen.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Director;
using cocos2d::EventKeyboard;
using cocos2d::Vec2;

constexpr int kRestartFrames = 90;   // 1.5 s
constexpr int kLeaveFrames = 600;    // 10 s

// The centre of a node in world space, where a tap hits it.
Vec2 centreOf(const cocos2d::Node* node) {
    const cocos2d::Size size = node->getContentSize();
    return node->convertToWorldSpace(Vec2(size.width / 2, size.height / 2));
}

// Rows top to bottom; a digit is a tile of that kind, '.' a gap.
TwoMatchGrid doorOf(const std::vector<std::string>& rows) {
    TwoMatchGrid kinds;
    for (size_t line = 0; line < rows.size(); ++line) {
        for (size_t column = 0; column < rows[line].size(); ++column) {
            if (rows[line][column] != '.') {
                kinds.set(static_cast<int32_t>(column), static_cast<int32_t>(rows.size() - 1 - line),
                          rows[line][column] - '0');
            }
        }
    }
    return kinds;
}

// The gallery the screen was left for, once the fade into it has ended.
GalleryScreen* runningGallery() {
    cocos2d::Scene* running = Director::getInstance()->getRunningScene();
    if (running == nullptr || running->isTransition()) {
        return nullptr;
    }
    for (cocos2d::Node* child : running->getChildren()) {
        if (auto* gallery = dynamic_cast<GalleryScreen*>(child)) {
            return gallery;
        }
    }
    return nullptr;
}

class MinigameScreenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        screentest::useStagedResources();
        screentest::loadEnglishTexts();
        const fs::path home(testing::Driver::scratchPath("xdg-minigame-screen"));
        fs::create_directories(home);
        ::setenv("XDG_DATA_HOME", home.c_str(), 1);
    }

    void SetUp() override {
        Settings::destroyInstance();
        Profile& profile = Settings::getInstance().getCurrentUser();
        profile = Profile();
        profile.minigameLevels = {0, 0, 0, 0, 0};
        profile.currentPicture.country = "France";
        profile.shownTutorials = {MinigameScreen::kTwoMatchTutorial};
        level.open();
    }

    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string("MinigameScreen_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                "_failed.png"));
        }
        driver().stopCapturingLog();
        Director::getInstance()->popToRootScene();
        driver().stepFrames(1);
        Director::getInstance()->replaceScene(cocos2d::Scene::create());
        driver().stepFrames(2);
        Settings::destroyInstance();
    }

    static testing::Driver& driver() { return testing::Driver::get(); }

    // As the selection popup launches a game: the globals first, then the screen pushed over the level.
    MinigameScreen* open(int32_t kind, int32_t gameLevel, bool withLauncher = true) {
        currentMinigameKind = kind;
        currentMinigameLevel = gameLevel;
        MinigameScreen* screen = MinigameScreen::create();
        if (screen == nullptr) {
            ADD_FAILURE() << "no screen";
            return nullptr;
        }
        if (withLauncher) {
            screen->setOnFinished([this](bool won) { results.push_back(won); });
        }
        cocos2d::Scene* scene = cocos2d::Scene::create();
        scene->addChild(screen);
        Director::getInstance()->pushScene(scene);
        driver().stepFrames(2);
        return screen;
    }

    static cocos2d::Node* part(MinigameScreen* screen, const char* name) {
        return screen->getUi()->getChildByName(name);
    }

    static std::string savePath() {
        return cocos2d::FileUtils::getInstance()->getWritablePath() + "UserData.bin";
    }

    // What the save file holds for the current profile, read back from the disk.
    static Profile savedProfile() {
        UserDataIO::loadUserData();
        return Settings::getInstance().getCurrentUser();
    }

    // A world point on a cell of the running door.
    static Vec2 cellOf(TwoMatch* door, int32_t column, int32_t row) {
        return door->getChildByName("UI")->getChildByName("slots_place")->convertToWorldSpace(
            door->cellCentre(column, row));
    }

    // Waits for the door to take touches again.
    static void settle(TwoMatch* door) {
        for (int i = 0; i < 120 && door->isInputLocked() && door->getState() == MinigameState::Playing; ++i) {
            driver().stepFrames(1);
        }
    }

    screentest::WhiteScene level;
    std::vector<bool> results;
};

TEST_F(MinigameScreenTest, ADoorThePlayerOpensIsReportedWonAndItsLevelAdvanced) {
    Settings::getInstance().getCurrentUser().minigameLevels[0] = 0;
    MinigameScreen* screen = open(0, 0);  // level 0 locks the bottom row
    ASSERT_NE(screen, nullptr);
    auto* door = dynamic_cast<TwoMatch*>(screen->getGame());
    ASSERT_NE(door, nullptr);
    // The bottom row holds nothing but the order's pair: taking it trips the one locked tumbler.
    door->layOut(doorOf({"2.2.2.2", ".2.2.2.", "2.2.2.2", ".2.2.2.", "01....."}), 0, 1);
    settle(door);
    ASSERT_EQ(door->getState(), MinigameState::Playing);
    driver().tap(cellOf(door, 0, 0));
    driver().stepFrames(1);
    driver().tap(cellOf(door, 1, 0));
    for (int i = 0; i < 600 && !screen->isEnded(); ++i) {
        driver().stepFrames(1);
    }
    ASSERT_TRUE(screen->isEnded());
    EXPECT_EQ(door->getState(), MinigameState::Won);
    EXPECT_FALSE(screen->isSkipped());
    EXPECT_EQ(Settings::getInstance().getCurrentUser().minigameLevels[0], 1);
    driver().stepFrames(30);
    driver().saveScreenshot(testing::Driver::outputPath("MinigameScreen_door_open.png"));
    driver().tap(Vec2(640, 600));
    driver().stepFrames(2);
    EXPECT_EQ(results, std::vector<bool>{true});
}

TEST_F(MinigameScreenTest, ADoorThePlayerLosesStartsAgainAtTheSameLevel) {
    MinigameScreen* screen = open(0, 2);  // level 2 locks row 1
    ASSERT_NE(screen, nullptr);
    auto* door = dynamic_cast<TwoMatch*>(screen->getGame());
    ASSERT_NE(door, nullptr);
    // One pair of the order's kinds; every other tile a lone kind 2, so the next order finds no pair.
    door->layOut(doorOf({"2.2.2.2", ".2.2.2.", "2.2.2.2", ".2.2.2.", "01..2.2"}), 0, 1);
    settle(door);
    driver().tap(cellOf(door, 0, 0));
    driver().stepFrames(1);
    driver().tap(cellOf(door, 1, 0));
    for (int i = 0; i < 120 && !screen->isEnded(); ++i) {
        driver().stepFrames(1);
    }
    ASSERT_TRUE(screen->isEnded());
    EXPECT_EQ(door->getState(), MinigameState::Lost);
    EXPECT_TRUE(part(screen, "LooseAnim")->isVisible());
    driver().stepFrames(kRestartFrames + 2);
    EXPECT_FALSE(screen->isEnded());
    ASSERT_NE(screen->getGame(), nullptr);
    EXPECT_EQ(screen->getGame()->getState(), MinigameState::Playing);
    EXPECT_EQ(screen->getLevel(), 2);
    auto* again = dynamic_cast<TwoMatch*>(screen->getGame());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->getTumbler(1), 1) << "the new door is level 2's again";
    EXPECT_TRUE(results.empty());
    EXPECT_TRUE(Settings::getInstance().getCurrentUser().world.minigameWins.empty());
}

TEST_F(MinigameScreenTest, EachKindRunsItsGameUnderTheFrameWithTheCuratorInTheCorner) {
    struct Case {
        int32_t kind;
        const std::type_info& game;
    };
    const Case cases[] = {
        {0, typeid(TwoMatch)}, {1, typeid(ColorMatch)}, {2, typeid(DropsPuzzle)},
        {3, typeid(ConveyorPuzzle)}, {4, typeid(JigsawPuzzle)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        MinigameScreen* screen = open(c.kind, 2);
        ASSERT_NE(screen, nullptr);
        const MinigameBase* game = screen->getGame();
        ASSERT_NE(game, nullptr);
        EXPECT_EQ(typeid(*game), c.game);
        EXPECT_EQ(screen->getGame()->getParent(), screen);
        EXPECT_EQ(screen->getGame()->getLocalZOrder(), MinigameScreen::kGameZOrder);
        EXPECT_EQ(screen->getUi()->getLocalZOrder(), MinigameScreen::kUiZOrder);
        EXPECT_EQ(screen->getKind(), c.kind);
        EXPECT_EQ(screen->getLevel(), 2);
        EXPECT_EQ(currentMinigameLevel, 2);
        EXPECT_FALSE(screen->isEnded());
        EXPECT_FALSE(screen->getGame()->isDecided());
        EXPECT_FALSE(part(screen, "WinAnim")->isVisible());
        EXPECT_FALSE(part(screen, "LooseAnim")->isVisible());
        EXPECT_EQ(screen->getResultTextPosition(), part(screen, "WinAnim")->getPosition());

        // The small avatar of the picture's country, its lower-left corner on the place's and its
        // top no higher than the bar it sits in.
        cocos2d::Node* place = part(screen, "avatarPlace");
        cocos2d::Node* avatar = part(screen, "avatar_France_small");
        ASSERT_NE(avatar, nullptr);
        EXPECT_EQ(avatar->getPosition() - avatar->getAnchorPointInPoints() * avatar->getScale(),
                  place->getPosition() - place->getAnchorPointInPoints());
        EXPECT_LE(avatar->getBoundingBox().getMaxY(), part(screen, "bar")->getBoundingBox().getMaxY() + 0.01f);

        driver().stepFrames(30);
        driver().saveScreenshot(
            testing::Driver::outputPath("MinigameScreen_kind" + std::to_string(c.kind) + ".png"));
        Director::getInstance()->popToRootScene();
        driver().stepFrames(2);
        ASSERT_EQ(Director::getInstance()->getRunningScene(), level.scene);
    }
}

TEST_F(MinigameScreenTest, AWinAdvancesAndSavesTheKindsLevelWrappingAtItsLast) {
    struct Case {
        int32_t kind, level, next;
    };
    const Case cases[] = {{0, 7, 0}, {1, 3, 4}, {4, 89, 0}, {4, 7, 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + "/" + std::to_string(c.level));
        Settings::getInstance().getCurrentUser().minigameLevels = {0, 0, 0, 0, 0};
        Settings::getInstance().getCurrentUser().minigameLevels[c.kind] = c.level;
        Settings::getInstance().getCurrentUser().world.minigameWins.clear();
        fs::remove(savePath());
        MinigameScreen* screen = open(c.kind, c.level);
        ASSERT_NE(screen, nullptr);

        screen->getGame()->win();  // as the game does when its level is solved
        driver().stepFrames(1);
        EXPECT_TRUE(screen->isEnded());
        EXPECT_EQ(screen->getLevel(), c.next);
        EXPECT_EQ(Settings::getInstance().getCurrentUser().minigameLevels[c.kind], c.next);
        ASSERT_TRUE(fs::exists(savePath())) << "a win is a save point";
        const Profile saved = savedProfile();
        ASSERT_EQ(saved.minigameLevels.size(), 5u);
        EXPECT_EQ(saved.minigameLevels[c.kind], c.next);
        ASSERT_EQ(saved.world.minigameWins.size(), 1u);
        EXPECT_EQ(saved.world.minigameWins[0].kind, c.kind);
        EXPECT_EQ(saved.world.minigameWins[0].level, c.level);

        // The curator congratulates, in the corner layout, without dimming the game.
        cocos2d::Node* chatPlace = part(screen, "chat_place");
        ASSERT_EQ(chatPlace->getChildrenCount(), 1u);
        auto* chat = dynamic_cast<ChatScreen*>(chatPlace->getChildren().at(0));
        ASSERT_NE(chat, nullptr);
        EXPECT_TRUE(chat->isClosable());
        EXPECT_EQ(chat->getDimBackground(), nullptr);
        auto* text = dynamic_cast<cocos2d::Label*>(
            chat->getMessageNode()->getChildByName("message")->getChildByName("Text"));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->getString(), "Well done! That earns you one more hint.");
        Director::getInstance()->popToRootScene();
        driver().stepFrames(2);
        EXPECT_TRUE(results.empty()) << "left without the screen's own exit";
    }
}

TEST_F(MinigameScreenTest, ClosingTheWinChatLeavesAtOnceAndReportsAWinOnce) {
    MinigameScreen* screen = open(2, 0);
    ASSERT_NE(screen, nullptr);
    std::vector<std::string>& log = driver().captureLog();
    screen->getGame()->win();
    driver().stepFrames(30);
    driver().saveScreenshot(testing::Driver::outputPath("MinigameScreen_win_chat.png"));
    EXPECT_TRUE(results.empty());

    driver().tap(Vec2(640, 600));
    driver().stepFrames(2);
    EXPECT_EQ(results, std::vector<bool>{true});
    EXPECT_EQ(Director::getInstance()->getRunningScene(), level.scene);
    EXPECT_EQ(screentest::countLinesStartingWith(log, "=== MinigameScreen::~MinigameScreen ==="), 1);
    EXPECT_EQ(screentest::countLinesStartingWith(log, "after clear"), 1) << "leaving releases the game";

    // The 10 s timer died with the chat's close: nothing more reaches the launcher.
    driver().stepFrames(kLeaveFrames + 30);
    EXPECT_EQ(results.size(), 1u);
}

TEST_F(MinigameScreenTest, WithoutTouchingTheChatTheScreenIsLeftAfterTenSeconds) {
    MinigameScreen* screen = open(1, 0);
    ASSERT_NE(screen, nullptr);
    screen->getGame()->win();
    driver().stepFrames(kLeaveFrames - 10);
    EXPECT_TRUE(results.empty());
    driver().stepFrames(20);
    EXPECT_EQ(results, std::vector<bool>{true});
    EXPECT_EQ(Director::getInstance()->getRunningScene(), level.scene);
}

TEST_F(MinigameScreenTest, SkipAdvancesAndSavesTheLevelButReportsNoWin) {
    Settings::getInstance().getCurrentUser().minigameLevels[3] = 5;
    fs::remove(savePath());
    MinigameScreen* screen = open(3, 5);
    ASSERT_NE(screen, nullptr);

    driver().tap(centreOf(part(screen, "Skip")));
    driver().stepFrames(2);
    EXPECT_TRUE(screen->isSkipped());
    EXPECT_TRUE(screen->isEnded());
    EXPECT_EQ(screen->getGame()->getState(), MinigameState::Won);
    EXPECT_EQ(Settings::getInstance().getCurrentUser().minigameLevels[3], 6);
    const std::vector<MinigameLevel>& wins = Settings::getInstance().getCurrentUser().world.minigameWins;
    ASSERT_EQ(wins.size(), 1u);
    EXPECT_EQ(wins[0].kind, 3);
    EXPECT_EQ(wins[0].level, 5);
    EXPECT_TRUE(fs::exists(savePath()));
    EXPECT_EQ(part(screen, "chat_place")->getChildrenCount(), 1u);

    driver().tap(Vec2(640, 600));
    driver().stepFrames(2);
    EXPECT_EQ(results, std::vector<bool>{false});
    EXPECT_EQ(Director::getInstance()->getRunningScene(), level.scene);
}

TEST_F(MinigameScreenTest, ALossShowsItsTextAndStartsTheSameLevelAgainKeepingTheCaches) {
    MinigameScreen* screen = open(0, 4);
    ASSERT_NE(screen, nullptr);
    std::vector<std::string>& log = driver().captureLog();
    screen->getGame()->lose();  // as the door does when no pair fits
    driver().stepFrames(1);
    EXPECT_TRUE(screen->isEnded());
    auto* text = dynamic_cast<cocos2d::Label*>(part(screen, "LooseAnim"));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isVisible());
    EXPECT_EQ(text->getString(), "Not this time!");
    EXPECT_GT(text->getPositionY(), screen->getResultTextPosition().y + 400.0f) << "it comes from above";

    // While the loss plays out, nothing of the player's reaches the screen.
    driver().tap(centreOf(part(screen, "Skip")));
    driver().tap(centreOf(part(screen, "Reset")));
    driver().tap(centreOf(part(screen, "Menu")));
    driver().key(EventKeyboard::KeyCode::KEY_BACKSPACE, true);
    driver().key(EventKeyboard::KeyCode::KEY_BACKSPACE, false);
    driver().stepFrames(44);
    EXPECT_FALSE(screen->isSkipped());
    EXPECT_FALSE(screen->isLeaving());
    EXPECT_TRUE(results.empty());
    EXPECT_EQ(screen->getGame()->getState(), MinigameState::Lost);
    EXPECT_EQ(screentest::countLinesStartingWith(log, "~TwoMatch"), 0);
    // At rest where results come to rest, at its own size.
    EXPECT_LT(text->getPosition().distance(screen->getResultTextPosition()), 1.0f);
    EXPECT_NEAR(text->getScale(), 1.0f, 0.01f);
    driver().saveScreenshot(testing::Driver::outputPath("MinigameScreen_loss.png"));

    driver().stepFrames(kRestartFrames - 45 + 2);
    EXPECT_FALSE(screen->isEnded());
    EXPECT_FALSE(text->isVisible());
    ASSERT_NE(screen->getGame(), nullptr);
    EXPECT_EQ(screen->getGame()->getState(), MinigameState::Playing);
    EXPECT_EQ(screen->getLevel(), 4);
    EXPECT_EQ(currentMinigameLevel, 4);
    EXPECT_EQ(screentest::countLinesStartingWith(log, "~TwoMatch"), 1);
    EXPECT_EQ(screentest::countLinesStartingWith(log, "after clear"), 0) << "a restart keeps the caches";
    EXPECT_EQ(Settings::getInstance().getCurrentUser().minigameLevels[0], 0) << "a loss advances nothing";
    EXPECT_TRUE(results.empty());
}

TEST_F(MinigameScreenTest, ASkipInTheFrameAGameWasDecidedLeavesItsResultAlone) {
    // Lost, with Skip pressed before the screen saw the loss: the loss plays out, and the level's
    // next real win is reported as a win.
    MinigameScreen* screen = open(1, 0);
    ASSERT_NE(screen, nullptr);
    screen->getGame()->lose();
    driver().tap(centreOf(part(screen, "Skip")));
    driver().stepFrames(1);
    EXPECT_FALSE(screen->isSkipped());
    EXPECT_TRUE(Settings::getInstance().getCurrentUser().world.minigameWins.empty());
    driver().stepFrames(kRestartFrames + 2);
    ASSERT_FALSE(screen->isEnded());
    screen->getGame()->win();
    driver().stepFrames(1);
    driver().tap(Vec2(640, 600));
    driver().stepFrames(2);
    EXPECT_EQ(results, std::vector<bool>{true});

    // Won, with Skip in the same frame: still a real win.
    results.clear();
    screen = open(1, 1);
    ASSERT_NE(screen, nullptr);
    screen->getGame()->win();
    driver().tap(centreOf(part(screen, "Skip")));
    driver().stepFrames(1);
    EXPECT_FALSE(screen->isSkipped());
    driver().tap(Vec2(640, 600));
    driver().stepFrames(2);
    EXPECT_EQ(results, std::vector<bool>{true});
}

TEST_F(MinigameScreenTest, ResetStartsANewGameOfTheSameLevel) {
    MinigameScreen* screen = open(2, 6);
    ASSERT_NE(screen, nullptr);
    std::vector<std::string>& log = driver().captureLog();
    driver().tap(centreOf(part(screen, "Reset")));
    driver().stepFrames(2);
    EXPECT_EQ(screentest::countLinesStartingWith(log, "~DropsPuzzle"), 1);
    EXPECT_EQ(screentest::countLinesStartingWith(log, "after clear"), 0);
    const MinigameBase* game = screen->getGame();
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(typeid(*game), typeid(DropsPuzzle));
    EXPECT_EQ(screen->getLevel(), 6);
    EXPECT_FALSE(screen->isEnded());
    EXPECT_TRUE(results.empty());
}

TEST_F(MinigameScreenTest, MenuAndBackspaceLeaveWithoutAWinAndReportOnceEvenTogether) {
    struct Case {
        const char* name;
        bool menu, backspace;
    };
    const Case cases[] = {{"menu", true, false}, {"backspace", false, true}, {"both", true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        results.clear();
        MinigameScreen* screen = open(4, 0);
        ASSERT_NE(screen, nullptr);
        std::vector<std::string>& log = driver().captureLog();
        if (c.menu) {
            driver().tap(centreOf(part(screen, "Menu")));
        }
        if (c.backspace) {
            driver().key(EventKeyboard::KeyCode::KEY_A, true);
            driver().key(EventKeyboard::KeyCode::KEY_A, false);
            driver().key(EventKeyboard::KeyCode::KEY_BACKSPACE, true);
            driver().key(EventKeyboard::KeyCode::KEY_BACKSPACE, false);
        }
        driver().stepFrames(3);
        EXPECT_EQ(results, std::vector<bool>{false});
        EXPECT_EQ(Director::getInstance()->getRunningScene(), level.scene);
        EXPECT_EQ(screentest::countLinesStartingWith(log, "after clear"), 1);
        EXPECT_EQ(Settings::getInstance().getCurrentUser().minigameLevels[4], 0);
        EXPECT_TRUE(Settings::getInstance().getCurrentUser().world.minigameWins.empty());
    }
}

TEST_F(MinigameScreenTest, OnlyTheFirstFingerReachesTheGame) {
    MinigameScreen* screen = open(0, 1);
    ASSERT_NE(screen, nullptr);
    auto* door = dynamic_cast<TwoMatch*>(screen->getGame());
    ASSERT_NE(door, nullptr);
    driver().stepFrames(30);
    auto cell = [door](int32_t column, int32_t row) {
        return door->getChildByName("UI")->getChildByName("slots_place")->convertToWorldSpace(
            door->cellCentre(column, row));
    };
    TwoMatchPipe* first = door->getTile(0, 2);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(door->getTile(4, 4), nullptr);

    driver().fingerDown(11, cell(0, 2));
    driver().stepFrames(1);
    ASSERT_TRUE(screen->isTouching());
    const int32_t tracked = screen->getTouchId();
    EXPECT_EQ(door->getSelectedTile(), first);

    // A second finger, on a tile far from the first, would take the selection if it reached the door.
    driver().fingerDown(12, cell(4, 4));
    driver().stepFrames(1);
    driver().fingerMoved(12, cell(3, 4));
    driver().stepFrames(1);
    EXPECT_EQ(door->getSelectedTile(), first);
    driver().fingerUp(12, cell(3, 4));
    driver().stepFrames(1);
    EXPECT_TRUE(screen->isTouching()) << "lifting the second finger ends nothing";
    EXPECT_EQ(screen->getTouchId(), tracked);
    EXPECT_EQ(door->getSelectedTile(), first);

    driver().fingerUp(11, cell(0, 2));
    driver().stepFrames(1);
    EXPECT_FALSE(screen->isTouching());
    EXPECT_EQ(screen->getTouchId(), MinigameScreen::kNoTouch);

    // The next gesture is tracked again.
    driver().touchBegan(cell(4, 4));
    driver().stepFrames(1);
    EXPECT_TRUE(screen->isTouching());
    driver().touchEnded(cell(4, 4));
    driver().stepFrames(1);
    EXPECT_FALSE(screen->isTouching());
}

TEST_F(MinigameScreenTest, TheDoorsTutorialShowsOnceAndIsSaved) {
    Settings::getInstance().getCurrentUser().shownTutorials.clear();
    fs::remove(savePath());
    MinigameScreen* screen = open(0, 0);
    ASSERT_NE(screen, nullptr);
    auto* tutorial = dynamic_cast<TutorialScreen*>(screen->getChildren().back());
    ASSERT_NE(tutorial, nullptr);
    EXPECT_EQ(tutorial->getTutorialId(), MinigameScreen::kTwoMatchTutorial);
    EXPECT_EQ(tutorial->getLocalZOrder(), MinigameScreen::kTutorialZOrder);
    EXPECT_TRUE(Settings::getInstance().isTutorialShown(MinigameScreen::kTwoMatchTutorial));
    ASSERT_TRUE(fs::exists(savePath()));
    const Profile saved = savedProfile();
    EXPECT_NE(std::find(saved.shownTutorials.begin(), saved.shownTutorials.end(),
                        MinigameScreen::kTwoMatchTutorial),
              saved.shownTutorials.end());
    screen = dynamic_cast<MinigameScreen*>(Director::getInstance()->getRunningScene()->getChildren().at(0));
    ASSERT_NE(screen, nullptr);
    driver().stepFrames(20);
    driver().saveScreenshot(testing::Driver::outputPath("MinigameScreen_tutorial.png"));

    // Neither a restart nor a later start shows it again.
    auto tutorials = [](MinigameScreen* s) {
        int n = 0;
        for (cocos2d::Node* child : s->getChildren()) {
            n += dynamic_cast<TutorialScreen*>(child) != nullptr ? 1 : 0;
        }
        return n;
    };
    const int before = tutorials(screen);
    screen->startMinigame(0, 0);
    EXPECT_EQ(tutorials(screen), before);
    Director::getInstance()->popToRootScene();
    driver().stepFrames(2);
    MinigameScreen* again = open(0, 1);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(tutorials(again), 0);
}

TEST_F(MinigameScreenTest, WithoutALauncherTheScreenFadesToTheGallery) {
    MinigameScreen* screen = open(1, 0, false);
    ASSERT_NE(screen, nullptr);
    driver().tap(centreOf(part(screen, "Menu")));
    driver().stepFrames(2);
    EXPECT_TRUE(Director::getInstance()->isSceneTransitionRunning());
    driver().stepFrames(50);
    EXPECT_EQ(runningGallery(), nullptr) << "the fade takes 1.0 s";
    driver().stepFrames(20);
    EXPECT_NE(runningGallery(), nullptr);
    EXPECT_TRUE(results.empty());
}

TEST_F(MinigameScreenTest, AMissingCuratorIsLoggedAndAMissingFrameGivesNoScreen) {
    Settings::getInstance().getCurrentUser().currentPicture.country = "Atlantis";
    std::vector<std::string>& log = driver().captureLog();
    MinigameScreen* screen = open(2, 0);
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(screentest::hasLine(log, "courator image not found: 'avatar_Atlantis_small'"));
    EXPECT_NE(screen->getGame(), nullptr) << "the screen works without its avatar";
    Director::getInstance()->popToRootScene();
    driver().stepFrames(2);

    const std::string overrides = testing::Driver::scratchPath("minigame-screen-overrides");
    fs::create_directories(fs::path(overrides) / "ui" / "Minigames");
    {
        std::FILE* f = std::fopen((fs::path(overrides) / "ui" / "Minigames" / "ccnode.json").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("{\"nodes\": [{\"name\": \"Frame\", \"x\": 0, \"y\": 0, \"w\": 10, \"h\": 10}]}", f);
        std::fclose(f);
    }
    screentest::useStagedResources(overrides);
    currentMinigameKind = 2;
    currentMinigameLevel = 0;
    log.clear();
    EXPECT_EQ(MinigameScreen::create(), nullptr);
    EXPECT_TRUE(screentest::hasLine(log, "MinigameScreen: ui/Minigames has no \"UI\""));
    screentest::useStagedResources();
}

}  // namespace
