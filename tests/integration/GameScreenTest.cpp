#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BoardTestStage.h"
#include "DefectTools.h"
#include "ItemPoints.h"
#include "LevelScreenFixture.h"
#include "RunningScreen.h"
#include "NodeBoxes.h"
#include "ScreenTestSupport.h"
#include "DebugKeySequence.h"
#include "GameSound.h"
#include "PictureProgress.h"
#include "ProgressQueries.h"
#include "Settings.h"
#include "engine/2d/Label.h"
#include "engine/2d/ParticleSystemQuad.h"
#include "engine/2d/ProgressTimer.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/scene/Scene.h"
#include "engine/ui/Widget.h"
#include "gameBoard/FlaskLiquid.h"
#include "gameBoard/GameBoard.h"
#include "gameBoard/GameTutorialsLayer.h"
#include "gameBoard/HiddenObject.h"
#include "nodes/LevelNode.h"
#include "minigames/MinigamesSelectionScreen.h"
#include "nodes/FlyNode.h"
#include "nodes/LevelStatistic.h"
#include "nodes/OptionsScreen.h"
#include "nodes/RestoreToolSelector.h"
#include "ui/FactoryClasses.h"
#include "ui/GalleryScreen.h"
#include "ui/GameScreen.h"
#include "ui/MapScreen.h"
#include "ui/PopupScreenBase.h"
#include "ui/TopLayer.h"
#include "ui/TutorialScreen.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Node;
using cocos2d::Vec2;

using testing::maskPoint;
using testing::runningScreen;
using testing::toolFor;

class GameScreenTest : public screentest::LevelScreenFixture {
protected:
    static void SetUpTestSuite() { setUpSuite("game-screen"); }

    void TearDown() override {
        if (HasFailure()) {
            saveShot("failed");
        }
        LevelScreenFixture::TearDown();
    }

    static testing::Driver& driver() { return testing::Driver::get(); }

    void saveShot(const std::string& what) {
        driver().saveScreenshot(testing::Driver::outputPath(
            std::string("GameScreen_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
            what + ".png"));
    }

    // A player with the content packs read, at a story level, on a picture.
    Profile& player(int storyLevel, const std::string& country, const std::string& picture) {
        Profile& profile = playerOn(storyLevel, country, picture);
        profile.shownTutorials.push_back(9);
        return profile;
    }

    // HarborDawn priced at 1,000 coins, of which earlier plays earned `earnedPart` without ending it.
    Profile& harborDawnEarned(int earnedPart) {
        Profile& profile = player(5, "USA", "HarborDawn");
        PackPicture* pack = findPackPicture(profile.currentPicture);
        EXPECT_NE(pack, nullptr);
        if (pack != nullptr) {
            pack->coins = 1000;
        }
        PictureProgress& record = profile.world.pictures["HarborDawn"];
        record.path = "HarborDawn";
        record.earnedPart = earnedPart;
        return profile;
    }

    GameScreen* open() {
        EXPECT_NE(showLevel(), nullptr);
        driver().stepFrames(2);
        return screen;
    }

    void wait(float seconds) { driver().stepFrames(static_cast<int>(seconds * 60.0f) + 1); }

    // The opening: panels slide in, input opens at 1.4 s.
    void passOpening() { wait(1.5f); }

    Node* hud(int panel, const std::string& name) const {
        Node* p = screen->getHudRoot()->getChildByTag(panel);
        return p != nullptr ? p->getChildByName(name) : nullptr;
    }

    cocos2d::ui::Widget* button(int panel, const std::string& name) const {
        return dynamic_cast<cocos2d::ui::Widget*>(hud(panel, name));
    }

    static Vec2 centre(const Node* node) {
        const cocos2d::Size size = node->getContentSize();
        return node->convertToWorldSpace(Vec2(size.width / 2.0f, size.height / 2.0f));
    }

    void click(const Node* node) {
        driver().tap(centre(node));
        driver().stepFrames(2);
    }

    HiddenObject* item(const std::string& name) const {
        auto& items = level()->getItems();
        auto found = items.find(name);
        return found == items.end() ? nullptr : found->second;
    }

    // The tool bar's own button for a tool, as the player clicks it.
    void chooseTool(int tool) {
        if (screen->getToolBar()->getCurrent() != tool) {
            click(screen->getToolBar()->getButton(tool));
        }
        ASSERT_EQ(screen->getToolBar()->getCurrent(), tool);
    }

    void rub(const Node* node, float spacing) {
        const cocos2d::Rect box = node->getBoundingBox();
        auto world = [this](Vec2 p) { return level()->convertToWorldSpace(p); };
        driver().touchBegan(world(Vec2(box.getMinX() + 2, box.getMinY() + 2)));
        driver().stepFrames(1);
        bool right = true;
        for (float y = box.getMinY() + 2; y < box.getMaxY(); y += spacing) {
            const float x0 = right ? box.getMinX() + 2 : box.getMaxX() - 2;
            const float x1 = right ? box.getMaxX() - 2 : box.getMinX() + 2;
            for (int i = 0; i <= 6; ++i) {
                driver().touchMoved(world(Vec2(x0 + (x1 - x0) * i / 6.0f, y)));
                driver().stepFrames(1);
            }
            right = !right;
        }
        driver().touchEnded(world(Vec2(box.getMidX(), box.getMaxY() - 2)));
        driver().stepFrames(1);
    }

    // A drop on the item, then its own tool over it until it is restored.
    void restore(HiddenObject* it) {
        chooseTool(1);
        driver().tap(maskPoint(it));
        wait(0.3f);
        ASSERT_EQ(it->getState(), HiddenObjectState::Revealed) << it->getName();
        chooseTool(toolFor(it->getKind()));
        for (int pass = 0; pass < 4 && it->getState() == HiddenObjectState::Revealed; ++pass) {
            rub(it, pass % 2 == 0 ? 8.0f : 5.0f);
        }
        ASSERT_EQ(it->getState(), HiddenObjectState::Restored) << it->getName();
    }

    // Every item of the picture but `keep` restored in earlier plays.
    void restoredBefore(Profile& profile, const std::vector<std::string>& keep) {
        PictureProgress& record = profile.world.pictures[profile.currentPicture.picture];
        record.path = profile.currentPicture.picture;
        record.state = 1;
        const std::vector<std::string> all{"lanternpost", "barrels", "crates", "anchor", "bollard", "dog",
                                           "basket", "ropecoil", "bucket", "rowboat", "buoy", "canoe",
                                           "sailboat", "duck", "swan", "floatbarrel", "steamship", "yawl",
                                           "lighthouse", "gull", "gulltwo", "gullthree", "balloon", "moon",
                                           "lifering"};
        for (const std::string& name : all) {
            if (std::find(keep.begin(), keep.end(), name) == keep.end()) {
                record.restoredHistory.insert(name);
            }
        }
    }

    static int countLines(const std::vector<std::string>& log, const std::string& line) {
        return static_cast<int>(std::count(log.begin(), log.end(), line));
    }

    // A knife stroke on bare canvas: a miss that leaves a cut.
    void knifeMiss() {
        chooseTool(4);
        const Vec2 canvas = bareCanvas();
        driver().touchBegan(canvas);
        driver().stepFrames(1);
        driver().touchMoved(canvas + Vec2(40, 0));
        driver().stepFrames(1);
        driver().touchEnded(canvas + Vec2(40, 0));
        driver().stepFrames(2);
    }

    OptionsScreen* optionsPanel() const {
        PopupScreenBase* container = popupContainer();
        if (container == nullptr) {
            return nullptr;
        }
        for (Node* child : container->getChildren()) {
            if (auto* options = dynamic_cast<OptionsScreen*>(child)) {
                return options;
            }
        }
        return nullptr;
    }

    PopupScreenBase* popupContainer() const {
        for (Node* child : screen->getChildren()) {
            if (auto* popup = dynamic_cast<PopupScreenBase*>(child)) {
                return popup;
            }
        }
        return nullptr;
    }

    LevelStatistic* resultPopup() const {
        PopupScreenBase* container = popupContainer();
        if (container == nullptr) {
            return nullptr;
        }
        for (Node* child : container->getChildren()) {
            if (auto* stat = dynamic_cast<LevelStatistic*>(child)) {
                return stat;
            }
        }
        return nullptr;
    }

    static bool saveExists() {
        return fs::exists(fs::path(Settings::getInstance().getWritablePath()) / "UserData.bin");
    }
    static void removeSave() {
        fs::remove(fs::path(Settings::getInstance().getWritablePath()) / "UserData.bin");
    }

    // Steps frames until a T runs (the result's delay and the 1.0 s fade out of the level take
    // less than 3 s) and reports whether one does.
    template <typename T>
    bool leftFor() {
        return testing::stepUntilRunning<T>(3.0f) != nullptr;
    }
};

TEST_F(GameScreenTest, ALevelOpensLockedFramedAndCountedThenPlays) {
    player(5, "USA", "HarborDawn");
    const std::vector<std::string>& log = driver().captureLog();
    ASSERT_NE(open(), nullptr);
    GameBoard* board = screen->getBoard();
    ASSERT_NE(screen->getFlask(), nullptr);
    ASSERT_NE(screen->getToolBar(), nullptr);
    EXPECT_EQ(screen->getLevelPath(), "USA/HarborDawn");
    EXPECT_EQ(screen->getTutorials(), nullptr) << "story level 5 with the needle's tutorial shown";

    // Scale 1 from story level 4: every one of the 25 items plays.
    const int total = board->getTotalItems();
    EXPECT_EQ(total, 25);
    EXPECT_EQ(board->getItemsOnLevel(), 25);
    EXPECT_EQ(screen->getFlask()->getMaxDrops(), 27);
    EXPECT_TRUE(screentest::hasLine(log, "drops 27 / 27, items 25 / 25, time 150.00, timeScale 1.00"));
    driver().stopCapturingLog();

    // Locked through the opening: no clock, no buttons, no tools.
    EXPECT_TRUE(screen->isPaused());
    EXPECT_FALSE(button(4, "Options")->isEnabled());
    EXPECT_FALSE(button(3, "paletteBtn")->isEnabled());
    EXPECT_TRUE(screen->getToolBar()->isLocked());
    wait(1.0f);
    EXPECT_TRUE(screen->isPaused());
    EXPECT_FLOAT_EQ(screen->getElapsedTime(), 0.0f);
    wait(0.5f);
    EXPECT_FALSE(screen->isPaused());
    EXPECT_TRUE(button(4, "Options")->isEnabled());
    EXPECT_TRUE(button(3, "paletteBtn")->isEnabled());
    EXPECT_TRUE(button(2, "HintBtn")->isEnabled() && button(2, "HintBtn")->isVisible());
    EXPECT_FALSE(button(2, "minigamesBtn")->isVisible());
    EXPECT_FALSE(screen->getToolBar()->isLocked());

    auto* counter = dynamic_cast<cocos2d::Label*>(hud(2, "hint_label"));
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(counter->getString(), "3");
    auto* score = dynamic_cast<cocos2d::Label*>(screen->getScoreLabel());
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(score->getString(), "$0");
    for (int slot = 1; slot <= 3; ++slot) {
        ASSERT_NE(screen->getHudStar(slot), nullptr);
        EXPECT_FLOAT_EQ(screen->getHudStar(slot)->getPercentage(), 0.0f);
    }
    EXPECT_NE(screen->getChildByName("flyNode"), nullptr);
    // The level's progress node is kept in the score panel but shows nothing: no bar that never fills.
    Node* progress = hud(1, "levelProgress");
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(static_cast<int>(progress->getDisplayedOpacity()), 0);

    // The picture is framed by four sides and four corners.
    int borderPieces = 0;
    for (Node* child : level()->getChildren()) {
        auto* sprite = dynamic_cast<cocos2d::Sprite*>(child);
        borderPieces += sprite != nullptr && dynamic_cast<GameObjectBase*>(child) == nullptr &&
                                child->getRotation() != 0.0f
                            ? 1
                            : 0;
    }
    EXPECT_GE(borderPieces, 5);

    // The clock and the flask run while playing and stand still under a popup.
    const float opened = screen->getElapsedTime();
    wait(1.0f);
    EXPECT_NEAR(screen->getElapsedTime() - opened, 1.0f, 0.05f);
    const float before = screen->getFlask()->getAvailable();
    wait(1.0f);
    EXPECT_LT(screen->getFlask()->getAvailable(), before);
    PopupScreenBase* popup = screen->openPopupLayer(false);
    ASSERT_NE(popup, nullptr);
    const float frozen = screen->getElapsedTime();
    const float frozenDrops = screen->getFlask()->getAvailable();
    wait(1.0f);
    EXPECT_FLOAT_EQ(screen->getElapsedTime(), frozen);
    EXPECT_FLOAT_EQ(screen->getFlask()->getAvailable(), frozenDrops);
    popup->close();
    driver().stepFrames(2);
    EXPECT_FALSE(screen->isPaused());
    wait(0.5f);
    EXPECT_GT(screen->getElapsedTime(), frozen);
    saveShot("playing");
}

TEST_F(GameScreenTest, RestoringTheLastItemWinsAndTheResultPaysAndSavesOnOk) {
    Profile& profile = player(5, "USA", "HarborDawn");
    restoredBefore(profile, {"steamship"});
    profile.money = 100;
    removeSave();
    ASSERT_NE(open(), nullptr);
    passOpening();
    GameBoard* board = screen->getBoard();
    ASSERT_EQ(board->getItemsOnLevel(), 1);
    HiddenObject* ship = item("steamship");
    ASSERT_NE(ship, nullptr);

    const float dropsBefore = screen->getFlask()->getAvailable();
    const std::vector<std::string>& log = driver().captureLog();
    restore(ship);
    EXPECT_EQ(board->getItemsRestored(), 1);
    EXPECT_TRUE(screen->isFinished()) << "no damage left and every item of the play restored";
    EXPECT_FALSE(screen->getFlask()->isEmpty());
    // The drop spent on the hit came back with the item; only time drained the flask.
    EXPECT_GT(screen->getFlask()->getAvailable(), dropsBefore - 1.0f);
    EXPECT_TRUE(screen->isPaused());
    EXPECT_TRUE(screen->getToolBar()->isLocked());

    const int32_t running = board->getReward();
    EXPECT_GT(running, 0);
    const int litInHud = screen->countLitStars();
    wait(1.0f);
    LevelStatistic* result = resultPopup();
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->getPictureName(), "HarborDawn");
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(result->getChildByTag(i) != nullptr, i <= litInHud) << "star " << i;
    }

    const PictureProgress& record = profile.world.pictures["HarborDawn"];
    EXPECT_EQ(record.restoredCount, 1);
    EXPECT_EQ(record.state, 2);
    EXPECT_TRUE(record.finished) << "every item of the picture is in its history now";
    EXPECT_EQ(record.restoredHistory.count("steamship"), 1u);
    EXPECT_GE(record.earnedTotal, running) << "the unused reagent adds its bonus";
    EXPECT_EQ(profile.money, 100 + record.lastGain);
    EXPECT_EQ(profile.storyLevel, 5) << "not the picture's first ended play";
    EXPECT_TRUE(screentest::hasLine(log, "total reward: " + std::to_string(record.earnedTotal)));
    driver().stopCapturingLog();

    wait(4.5f);
    saveShot("result");
    auto* badge = result->getChildByName("reward");
    ASSERT_NE(badge, nullptr);
    auto* reward = dynamic_cast<cocos2d::Label*>(badge->getChildByName("lbl"));
    ASSERT_NE(reward, nullptr);
    EXPECT_EQ(reward->getString(), "$" + std::to_string(record.earnedTotal));

    EXPECT_FALSE(saveExists());
    click(result->getChildByName("ok_btn"));
    EXPECT_TRUE(saveExists());
    // A second OK neither saves again nor leaves twice.
    removeSave();
    click(result->getChildByName("ok_btn"));
    EXPECT_FALSE(saveExists());
    EXPECT_TRUE(leftFor<GalleryScreen>());
    cocos2d::Scene* gallery = cocos2d::Director::getInstance()->getRunningScene();
    wait(1.1f);
    EXPECT_EQ(cocos2d::Director::getInstance()->getRunningScene(), gallery) << "no second fade";
}

TEST_F(GameScreenTest, NeedleMissesDrainTheFlaskUntilTheLevelIsLost) {
    Profile& profile = player(5, "USA", "HarborDawn");
    restoredBefore(profile, {"steamship", "lighthouse"});
    ASSERT_NE(open(), nullptr);
    passOpening();
    FlaskLiquid* flask = screen->getFlask();
    // Two items in play: 2 + 2 drops of the whole picture's 25 + 2.
    EXPECT_EQ(flask->getMaxDrops(), 27);
    EXPECT_NEAR(flask->getAvailable(), 4.0f, 0.1f);
    chooseTool(5);
    const Vec2 canvas = bareCanvas();
    int strokes = 0;
    while (!screen->isFinished() && strokes < 10) {
        driver().touchBegan(canvas);
        driver().stepFrames(1);
        driver().touchMoved(canvas + Vec2(20, 5));
        driver().stepFrames(1);
        driver().touchEnded(canvas + Vec2(20, 5));
        driver().stepFrames(2);
        ++strokes;
        EXPECT_EQ(level()->getDamageList().size(), 0u) << "the needle leaves nothing";
        EXPECT_EQ(screen->getToolBar()->getHighlighted(), -1) << "and nudges no tool";
    }
    EXPECT_TRUE(screen->isFinished());
    EXPECT_LE(strokes, 4);
    EXPECT_EQ(screen->getBoard()->getMistakes(), strokes);
    wait(1.0f);
    ASSERT_NE(resultPopup(), nullptr);
    const PictureProgress& record = profile.world.pictures["HarborDawn"];
    EXPECT_EQ(record.mistakes, strokes);
    EXPECT_FALSE(record.finished);
    EXPECT_EQ(record.state, 2);
    EXPECT_EQ(record.earnedTotal, 0) << "a play that restored nothing pays nothing";
}

TEST_F(GameScreenTest, TheCoinsOfAnErasedItemFlyIntoTheMoneyCounter) {
    harborDawnEarned(0);
    ASSERT_NE(open(), nullptr);
    passOpening();
    // The score panel stands over the counter's amount, where the coins fly; what it holds stands where
    // it always stood on the screen (world points, y up, on the 1280 x 810 screen).
    Node* score = screen->getHudRoot()->getChildByTag(1);
    ASSERT_NE(score, nullptr);
    const cocos2d::Rect counter = testing::screenBox(screen->getScoreLabel());
    EXPECT_TRUE(counter.equals(cocos2d::Rect(206, 744, 190, 48)))
        << counter.getMinX() << ", " << counter.getMinY() << " " << counter.size.width << " x "
        << counter.size.height;
    const std::pair<const char*, Vec2> places[] = {{"panel_img", {206, 760}},
                                                   {"levelProgress", {122, 728}},
                                                   {"avatarPlace", {80, 440}},
                                                   {"chat_place", {470, 560}}};
    for (const auto& [name, where] : places) {
        Node* part = score->getChildByName(name);
        ASSERT_NE(part, nullptr) << name;
        const Vec2 at = score->convertToWorldSpace(part->getPosition());
        EXPECT_NEAR(at.x, where.x, 0.01) << name;
        EXPECT_NEAR(at.y, where.y, 0.01) << name;
    }
    for (int slot = 1; slot <= 3; ++slot) {
        const cocos2d::Rect star = testing::screenBox(screen->getHudStar(slot));
        EXPECT_NEAR(star.getMinX(), 24 + 60 * (slot - 1), 0.01);
        EXPECT_NEAR(star.getMaxY(), 810 - 14, 0.01);
    }

    HiddenObject* it = item("rowboat");
    ASSERT_NE(it, nullptr);
    restore(it);
    ASSERT_GT(screen->getBoard()->getReward(), 0);
    saveShot("coins");
    // Flown in 0.53 s, the coins glitter a while where they came down.
    wait(0.6f);
    int flights = 0;
    for (Node* child : screen->getChildren()) {
        if (dynamic_cast<cocos2d::ParticleSystemQuad*>(child) == nullptr) {
            continue;
        }
        ++flights;
        const Vec2 end = screen->convertToWorldSpace(child->getPosition());
        EXPECT_TRUE(counter.containsPoint(end)) << "the coins came down at " << end.x << ", " << end.y;
    }
    EXPECT_EQ(flights, 1);
}

TEST_F(GameScreenTest, TheFinishButtonEndsTheLevelOnceAndTheFirstEndStepsTheStory) {
    Profile& profile = player(5, "USA", "HarborDawn");
    ASSERT_NE(open(), nullptr);
    passOpening();
    click(button(3, "paletteBtn"));
    ASSERT_TRUE(screen->isFinished());
    screen->finishLevel();
    screen->onFinishButton();
    wait(0.8f);
    EXPECT_EQ(resultPopup(), nullptr) << "the result waits 0.9 s";
    wait(0.2f);
    ASSERT_NE(resultPopup(), nullptr);
    int containers = 0;
    for (Node* child : screen->getChildren()) {
        containers += dynamic_cast<PopupScreenBase*>(child) != nullptr ? 1 : 0;
    }
    EXPECT_EQ(containers, 1);
    const PictureProgress& record = profile.world.pictures["HarborDawn"];
    EXPECT_EQ(record.state, 1);
    EXPECT_EQ(record.bestStars, 0);
    EXPECT_EQ(profile.storyLevel, 6) << "a picture's first ended play";
    EXPECT_EQ(screen->countLitStars(), 0);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(resultPopup()->getChildByTag(i), nullptr);
    }
}

TEST_F(GameScreenTest, LitHudStarsMoveIntoTheResultAndAreRecorded) {
    // Earlier plays earned 70 % of the price but the picture never ended: two stars from the start.
    Profile& profile = harborDawnEarned(700);
    const PictureProgress& record = profile.world.pictures.at("HarborDawn");
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(screen->countLitStars(), 2);
    EXPECT_FLOAT_EQ(screen->getHudStar(1)->getPercentage(), 100.0f);
    EXPECT_FLOAT_EQ(screen->getHudStar(2)->getPercentage(), 100.0f);
    // 70 - 66.6 = 3.4 per cent into the third star's step, three times over.
    EXPECT_FLOAT_EQ(screen->getHudStar(3)->getPercentage(), 10.0f);
    EXPECT_EQ(dynamic_cast<cocos2d::Label*>(screen->getScoreLabel())->getString(), "$700");
    passOpening();

    const std::vector<std::string>& log = driver().captureLog();
    click(button(3, "paletteBtn"));
    wait(1.0f);
    LevelStatistic* result = resultPopup();
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(screentest::hasLine(log, " star 2 moved to statistics"));
    EXPECT_TRUE(screentest::hasLine(log, " star 1 moved to statistics"));
    EXPECT_TRUE(screentest::hasLine(log, "2 stars saved to statistics"));
    driver().stopCapturingLog();
    EXPECT_NE(result->getChildByTag(1), nullptr);
    EXPECT_NE(result->getChildByTag(2), nullptr);
    EXPECT_EQ(result->getChildByTag(3), nullptr);
    EXPECT_EQ(screen->getHudStar(1), nullptr) << "the star left the HUD";
    EXPECT_NE(screen->getHudStar(3), nullptr);
    EXPECT_EQ(record.firstStars, 2);
    EXPECT_EQ(record.bestStars, 2);
    EXPECT_EQ(record.earnedPart, 0) << "no damage: nothing withheld";
    EXPECT_GE(record.earnedTotal, 700);
    EXPECT_EQ(profile.money, record.lastGain);
    wait(1.5f);
    saveShot("stars");
}

TEST_F(GameScreenTest, HintsRunOutIntoTheMinigamesButtonWhileAMinigameIsLeft) {
    Profile& profile = player(5, "USA", "HarborDawn");
    ASSERT_NE(open(), nullptr);
    passOpening();
    GameBoard* board = screen->getBoard();
    auto* counter = dynamic_cast<cocos2d::Label*>(hud(2, "hint_label"));
    for (int hint = 3; hint >= 1; --hint) {
        click(button(2, "HintBtn"));
        wait(2.0f);
        EXPECT_TRUE(board->isHintShowing());
        // The next touch on the picture puts the hint away.
        driver().tap(bareCanvas());
        driver().stepFrames(2);
        ASSERT_FALSE(board->isHintShowing());
        EXPECT_EQ(counter->getString(), std::to_string(hint - 1));
    }
    EXPECT_FALSE(button(2, "HintBtn")->isVisible());
    EXPECT_TRUE(button(2, "minigamesBtn")->isVisible());
    EXPECT_TRUE(button(2, "minigamesBtn")->isEnabled());

    // The selection opens over the level and holds it; closing it lets the level go on.
    click(button(2, "minigamesBtn"));
    PopupScreenBase* container = popupContainer();
    ASSERT_NE(container, nullptr);
    MinigamesSelectionScreen* selection = nullptr;
    for (Node* child : container->getChildren()) {
        selection = selection != nullptr ? selection : dynamic_cast<MinigamesSelectionScreen*>(child);
    }
    ASSERT_NE(selection, nullptr);
    EXPECT_TRUE(screen->isPaused());
    saveShot("minigames");
    selection->onCloseButton();
    wait(0.2f);
    EXPECT_EQ(popupContainer(), nullptr);
    EXPECT_FALSE(screen->isPaused());

    // A won minigame gives a hint back.
    screen->onMinigameResult(true);
    EXPECT_EQ(board->getHintsLeft(), 1);
    EXPECT_TRUE(button(2, "HintBtn")->isVisible());

    // No hints and every minigame played: the hint button stays, and pressing it does nothing.
    board->setHintsLeft(0);
    for (auto& [kind, available] : profile.minigameAvailability) {
        available = false;
    }
    screen->updateHintCounter();
    EXPECT_TRUE(button(2, "HintBtn")->isVisible());
    EXPECT_FALSE(button(2, "minigamesBtn")->isVisible());
    click(button(2, "HintBtn"));
    driver().stepFrames(5);
    EXPECT_FALSE(board->isHintShowing());
    EXPECT_EQ(board->getHintsLeft(), 0);
}

TEST_F(GameScreenTest, StoryLevelZeroTriplesTheFlaskHidesTheFlyAndQueuesTheThemes) {
    Profile& profile = player(0, "USA", "HarborDawn");
    PictureProgress& record = profile.world.pictures["HarborDawn"];
    record.path = "HarborDawn";
    record.damage.push_back(DamageRecord{1, 600, 300, 3, 1});
    // The loading screen queued one of the themes already.
    GameSound::getInstance().addToPlaylist("Music/theme_3");
    const std::vector<std::string>& log = driver().captureLog();
    ASSERT_NE(open(), nullptr);
    GameBoard* board = screen->getBoard();
    EXPECT_EQ(board->getItemsOnLevel(), 10);
    EXPECT_EQ(level()->getDamageList().size(), 1u);
    // The first play prices ten items: 10 x 3 + 2 = 32 at most, the smaller of 10 x 3 + 1 + 2 = 33
    // and 32 at the start, 10 x 6 x 3 s.
    EXPECT_TRUE(screentest::hasLine(log, "drops 32 / 32, items 10 / 10, time 180.00, timeScale 3.00"));
    driver().stopCapturingLog();
    EXPECT_FALSE(screen->getChildByName("flyNode")->isVisible());
    // Each theme is queued once, also when the level is played again.
    const std::vector<std::string> themes{"Music/theme_2", "Music/theme_3", "Music/theme_4", "Music/theme_5"};
    for (int play = 1; play <= 2; ++play) {
        if (play == 2) {
            ASSERT_NE(open(), nullptr);
        }
        const std::vector<std::string>& playlist = GameSound::getInstance().getPlaylist();
        EXPECT_EQ(playlist.size(), themes.size()) << "play " << play;
        for (const std::string& theme : themes) {
            EXPECT_EQ(std::count(playlist.begin(), playlist.end(), theme), 1) << theme << ", play " << play;
        }
    }
}

TEST_F(GameScreenTest, TheIntroLevelHasNoFlaskNorCounterAndEndsOnTheMap) {
    Profile& profile = player(-1, "demo", "");
    profile.shownTutorials = {1, 2, 3};
    removeSave();
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(screen->getLevelPath(), "demo/Vesquino");
    EXPECT_TRUE(profile.shownTutorials.empty()) << "the intro's tutorials show again";
    EXPECT_EQ(screen->getFlask(), nullptr);
    EXPECT_EQ(screen->getHudRoot()->getChildByName("dropsProgres"), nullptr);
    EXPECT_EQ(screen->getHudRoot()->getChildByTag(1)->getChildByName("levelProgress"), nullptr);
    EXPECT_FALSE(hud(2, "hint_label")->isVisible());
    EXPECT_EQ(screen->getBoard()->getHintsLeft(), -1);
    passOpening();
    EXPECT_FALSE(screen->isPaused());
    EXPECT_FALSE(button(3, "paletteBtn")->isEnabled()) << "its tutorials enable it";
    EXPECT_FALSE(button(2, "HintBtn")->isEnabled());
    EXPECT_TRUE(button(4, "Options")->isEnabled());

    // The curator sits in the score panel.
    bool avatar = false;
    for (Node* child : screen->getHudRoot()->getChildByTag(1)->getChildren()) {
        avatar = avatar || child->getName() == "avatar_demo_small";
    }
    EXPECT_TRUE(avatar);

    // No win or loss test: a drop and misses change nothing.
    screen->onMiss(Vec2(100, 100), ToolState::Needle);
    EXPECT_FALSE(screen->isFinished());

    const int32_t moneyBefore = profile.money;
    screen->finishLevel();
    EXPECT_EQ(popupContainer(), nullptr) << "no result popup";
    EXPECT_TRUE(leftFor<MapScreen>());
    EXPECT_EQ(profile.currentPicture.country, "USA");
    EXPECT_FALSE(isCountryLocked("USA"));
    EXPECT_TRUE(saveExists());
    EXPECT_EQ(profile.money, moneyBefore) << "the intro computes no reward";
    EXPECT_EQ(profile.storyLevel, 0) << "the map's first visit starts the story";
}

TEST_F(GameScreenTest, ANewPlayerWithoutACurrentPictureIsOnTheDemoPicture) {
    // The profile chooser opens the level for a player below the intro's end, whose profile names no
    // picture yet.
    Profile& profile = player(-1, "", "");
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(screen->getLevelPath(), "demo/Vesquino");
    EXPECT_EQ(profile.currentPicture.country, "demo");
    EXPECT_EQ(profile.currentPicture.picture, "Vesquino");
    EXPECT_EQ(screen->getBoard()->pictureRecord().path, "Vesquino");
    EXPECT_EQ(profile.world.pictures.count(""), 0u) << "nothing is recorded under an empty name";
    bool avatar = false;
    for (Node* child : screen->getHudRoot()->getChildByTag(1)->getChildren()) {
        avatar = avatar || child->getName() == "avatar_demo_small";
    }
    EXPECT_TRUE(avatar) << "the curator is found under the demo country";
}

TEST_F(GameScreenTest, StarsThatAreNotLitNeverShowFull) {
    harborDawnEarned(1000);
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(screen->countLitStars(), 3);
    passOpening();
    // Each cut withholds more of the reward: 80 % with one, 60 % with two.
    struct Step {
        int lit;
        float shown[3];
    };
    const Step steps[] = {{2, {100.0f, 100.0f, 40.0f}}, {1, {100.0f, 80.0f, 0.0f}}};
    for (const Step& step : steps) {
        knifeMiss();
        wait(1.2f);
        const size_t cuts = level()->getDamageList().size();
        SCOPED_TRACE(std::to_string(cuts) + " cuts");
        ASSERT_EQ(cuts, static_cast<size_t>(&step - steps + 1));
        EXPECT_EQ(screen->countLitStars(), step.lit);
        for (int i = 1; i <= 3; ++i) {
            EXPECT_FLOAT_EQ(screen->getHudStar(i)->getPercentage(), step.shown[i - 1]) << "star " << i;
        }
    }
}

TEST_F(GameScreenTest, EveryEndPlaysOneEndSound) {
    enum class End { MissEmptiesTheFlask, LastItemOnAnEmptyFlask, FinishThenEmptyFlask };
    struct Case {
        const char* what;
        End end;
        int wins;
        int losses;
    };
    const Case cases[] = {{"a miss empties the flask", End::MissEmptiesTheFlask, 0, 1},
                          {"the last item erased on an empty flask", End::LastItemOnAnEmptyFlask, 0, 1},
                          {"the finish button, then the flask runs dry", End::FinishThenEmptyFlask, 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Profile& profile = player(5, "USA", "HarborDawn");
        restoredBefore(profile, {"steamship"});
        ASSERT_NE(open(), nullptr);
        passOpening();
        FlaskLiquid* flask = screen->getFlask();
        ASSERT_NE(flask, nullptr);
        const std::vector<std::string>& log = driver().captureLog();
        switch (c.end) {
            case End::MissEmptiesTheFlask: {
                // One drop left; a needle miss spends it.
                flask->setup(1, flask->getMaxDrops(), 1000.0f);
                chooseTool(5);
                const Vec2 canvas = bareCanvas();
                driver().touchBegan(canvas);
                driver().stepFrames(1);
                driver().touchMoved(canvas + Vec2(20, 5));
                driver().stepFrames(1);
                driver().touchEnded(canvas + Vec2(20, 5));
                driver().stepFrames(2);
                break;
            }
            case End::LastItemOnAnEmptyFlask: {
                // The item's drop still leaves the flask empty, although every item is restored.
                screen->getBoard()->solveAll();
                flask->setup(-1, flask->getMaxDrops(), 1000.0f);
                HiddenObject* last = level()->getItems().begin()->second;
                screen->onItemErased(last, centre(last));
                break;
            }
            case End::FinishThenEmptyFlask:
                click(button(3, "paletteBtn"));
                screen->onFlaskEmpty();
                screen->onFinishButton();
                break;
        }
        wait(0.3f);
        EXPECT_TRUE(screen->isFinished());
        EXPECT_EQ(countLines(log, "playEffect HO_Win"), c.wins);
        EXPECT_EQ(countLines(log, "playEffect Minigames/MG_LooseSound"), c.losses);
        driver().stopCapturingLog();
        wait(1.0f);
    }
}

TEST_F(GameScreenTest, TheMinigamesButtonOpensNothingOnceTheLevelHasEnded) {
    Profile& profile = player(5, "USA", "HarborDawn");
    ASSERT_NE(open(), nullptr);
    passOpening();
    screen->getBoard()->setHintsLeft(0);
    screen->updateHintCounter();
    ASSERT_TRUE(button(2, "minigamesBtn")->isVisible());
    click(button(3, "paletteBtn"));
    ASSERT_TRUE(screen->isFinished());
    // In the pause before the result.
    click(button(2, "minigamesBtn"));
    EXPECT_EQ(popupContainer(), nullptr) << "no selection over the finished level";
    EXPECT_TRUE(screen->isPaused());
    screen->onMinigameResult(true);
    EXPECT_TRUE(screen->isPaused()) << "a late minigame result does not let the level run";
    wait(1.0f);
    EXPECT_NE(resultPopup(), nullptr);
    EXPECT_EQ(profile.world.pictures["HarborDawn"].state, 1);
}

TEST_F(GameScreenTest, LeavingThroughTheExitConfirmationSavesTheDamageButNoReward) {
    Profile& profile = player(5, "USA", "HarborDawn");
    removeSave();
    ASSERT_NE(open(), nullptr);
    passOpening();
    // A brush stroke on bare canvas leaves a blot, which the board records at once.
    chooseTool(3);
    const Vec2 canvas = bareCanvas();
    driver().touchBegan(canvas);
    driver().stepFrames(1);
    driver().touchMoved(canvas + Vec2(30, 10));
    driver().stepFrames(1);
    driver().touchEnded(canvas + Vec2(30, 10));
    driver().stepFrames(2);
    ASSERT_EQ(level()->getDamageList().size(), 1u);
    EXPECT_EQ(screen->getToolBar()->getHighlighted(), RestoreToolSelector::toolForDefect(static_cast<int>(DefectKind::Blot)))
        << "the miss nudges the knife";

    const int32_t moneyBefore = profile.money;
    click(button(4, "Options"));
    OptionsScreen* options = optionsPanel();
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(screen->isPaused());
    EXPECT_EQ(Settings::getInstance().getReturnScreen(), "game");
    click(options->getChildByName("exit"));
    ASSERT_TRUE(top->isConfirmationOpen());
    Node* yes = nullptr;
    for (Node* child : top->getConfirmationLayer()->getChildren()) {
        yes = yes != nullptr ? yes : child->getChildByName("Yes");
    }
    ASSERT_NE(yes, nullptr);
    click(yes);
    EXPECT_TRUE(leftFor<GalleryScreen>());
    EXPECT_TRUE(saveExists());
    const PictureProgress& record = profile.world.pictures["HarborDawn"];
    EXPECT_EQ(record.damage.size(), 1u);
    EXPECT_EQ(record.state, 0);
    EXPECT_EQ(profile.money, moneyBefore);
    EXPECT_EQ(profile.storyLevel, 5);
}

}  // namespace

namespace {

void setDebugMode(bool on) {
    if (DebugKeySequence::getInstance().isDebugMode() != on) {
        for (char c : std::string("klomber")) {
            DebugKeySequence::getInstance().feedDebugKey(c);
        }
    }
}

}  // namespace

TEST_F(GameScreenTest, TheOptionsPanelHoldsTheLevelUntilItIsClosed) {
    player(5, "USA", "HarborDawn");
    ASSERT_NE(open(), nullptr);
    passOpening();
    chooseTool(1);
    click(button(4, "Options"));
    OptionsScreen* options = optionsPanel();
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(screen->isPaused());
    EXPECT_EQ(screen->getToolBar()->getCurrent(), 0) << "no tool under a popup";
    EXPECT_EQ(options->getChildByName("profiles"), nullptr) << "the level's layout";
    const float clock = screen->getElapsedTime();
    wait(0.5f);
    EXPECT_FLOAT_EQ(screen->getElapsedTime(), clock);
    saveShot("options");
    click(options->getChildByName("CloseButton"));
    wait(0.2f);
    EXPECT_FALSE(screen->isPaused());
    EXPECT_EQ(popupContainer(), nullptr);
    wait(0.3f);
    EXPECT_GT(screen->getElapsedTime(), clock);
}

TEST_F(GameScreenTest, DebugKeysSolveThePictureAndEraseAHintedItem) {
    setDebugMode(true);
    Profile& profile = player(5, "USA", "HarborDawn");
    ASSERT_NE(open(), nullptr);
    // The picture's name is shown at the bottom.
    auto* name = dynamic_cast<cocos2d::Label*>(screen->getChildren().back());
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->getString(), "HarborDawn");
    passOpening();

    // A: one item erased at once, for one drop.
    const float drops = screen->getFlask()->getAvailable();
    driver().key(cocos2d::EventKeyboard::KeyCode::KEY_A, true);
    driver().key(cocos2d::EventKeyboard::KeyCode::KEY_A, false);
    driver().stepFrames(2);
    EXPECT_EQ(screen->getBoard()->getItemsRestored(), 1);
    // The drop spent, and the erased item's drop back.
    EXPECT_NEAR(screen->getFlask()->getAvailable(), drops, 0.2f);
    EXPECT_GT(screen->getBoard()->getEarned(), 0.0f);

    // End: solved, won and ended.
    driver().stepFrames(8);
    driver().key(cocos2d::EventKeyboard::KeyCode::KEY_END, true);
    driver().key(cocos2d::EventKeyboard::KeyCode::KEY_END, false);
    driver().stepFrames(2);
    EXPECT_TRUE(screen->isFinished());
    EXPECT_EQ(screen->countLitStars(), 3);
    wait(1.0f);
    ASSERT_NE(resultPopup(), nullptr);
    const PictureProgress& record = profile.world.pictures["HarborDawn"];
    EXPECT_TRUE(record.finished);
    EXPECT_EQ(record.bestStars, 3);
    setDebugMode(false);
}

TEST_F(GameScreenTest, ALevelSolvedDuringItsOpeningStaysLocked) {
    setDebugMode(true);
    player(5, "USA", "HarborDawn");
    ASSERT_NE(open(), nullptr);
    driver().key(cocos2d::EventKeyboard::KeyCode::KEY_END, true);
    driver().key(cocos2d::EventKeyboard::KeyCode::KEY_END, false);
    driver().stepFrames(2);
    ASSERT_TRUE(screen->isFinished());
    passOpening();
    EXPECT_TRUE(screen->isPaused()) << "the opening does not unlock an ended level";
    EXPECT_TRUE(screen->getToolBar()->isLocked());
    EXPECT_NE(resultPopup(), nullptr);
    setDebugMode(false);
}

TEST_F(GameScreenTest, WithoutItsResultPanelTheLevelStillPaysSavesAndLeaves) {
    const fs::path overrides = fs::path(testing::Driver::scratchPath("no-result-panel"));
    fs::create_directories(overrides / "ui" / "LevelStatistic");
    {
        std::ofstream empty(overrides / "ui" / "LevelStatistic" / "ccnode.json");
        empty << R"({"nodes": [{"name": "other", "x": 0, "y": 0, "w": 10, "h": 10}]})";
    }
    screentest::useStagedResources(overrides.string());
    Profile& profile = player(5, "USA", "HarborDawn");
    removeSave();
    ASSERT_NE(open(), nullptr);
    passOpening();
    click(button(3, "paletteBtn"));
    EXPECT_EQ(popupContainer(), nullptr);
    EXPECT_TRUE(leftFor<GalleryScreen>()) << "not stuck on a locked screen";
    EXPECT_TRUE(saveExists());
    EXPECT_EQ(profile.world.pictures["HarborDawn"].state, 1);
    boardtest::useResources();
}

TEST_F(GameScreenTest, AnIdlePlayerPastHalfwayIsPointedAtTheFinish) {
    Profile& profile = player(5, "USA", "HarborDawn");
    restoredBefore(profile, {"steamship", "lighthouse"});
    ASSERT_NE(open(), nullptr);
    passOpening();
    Node* finish = screen->getHudRoot()->getChildByTag(3);
    // Reagent enough for a long wait.
    screen->getFlask()->addDrops(20.0f);
    const std::vector<std::string>& log = driver().captureLog();
    wait(16.0f);
    EXPECT_FALSE(screentest::hasLine(log, "Do nothing")) << "nothing restored yet";
    restore(item("steamship"));
    EXPECT_FALSE(screen->isFinished());
    wait(16.0f);
    EXPECT_TRUE(screentest::hasLine(log, "Do nothing"));
    driver().stopCapturingLog();
    bool tinted = false;
    for (int frame = 0; frame < 40; ++frame) {
        driver().stepFrames(1);
        tinted = tinted || finish->getColor().g < 200;
    }
    EXPECT_TRUE(tinted);
    wait(1.0f);
    EXPECT_FLOAT_EQ(finish->getScale(), 1.0f) << "two pulses, then at rest";
}

// --- the in-game tutorials -------------------------------------------------------------------------

namespace {

class GameTutorialsTest : public GameScreenTest {
protected:
    int openTutorial() const {
        TutorialScreen* open = screen->getTutorials()->getOpenTutorial();
        return open != nullptr ? open->getTutorialId() : 0;
    }

    // A drop on an item through the tool bar's spray.
    void spray(HiddenObject* it) {
        chooseTool(1);
        driver().tap(maskPoint(it));
        wait(0.3f);
        ASSERT_EQ(it->getState(), HiddenObjectState::Revealed) << it->getName();
    }

    void erase(HiddenObject* it) {
        chooseTool(toolFor(it->getKind()));
        for (int pass = 0; pass < 4 && it->getState() == HiddenObjectState::Revealed; ++pass) {
            rub(it, pass % 2 == 0 ? 8.0f : 5.0f);
        }
        ASSERT_EQ(it->getState(), HiddenObjectState::Restored) << it->getName();
        wait(0.5f);
    }

    // Whether the board ignores the player: a spray drop on bare canvas counts no miss.
    bool inputPaused(GameBoard* board) {
        const int32_t before = board->getMistakes();
        const int tool = screen->getToolBar()->getCurrent();
        board->selectTool(1);
        driver().tap(bareCanvas());
        wait(0.4f);
        board->selectTool(tool);
        return board->getMistakes() == before;
    }
};

TEST_F(GameTutorialsTest, TheIntroWalksThroughEveryToolAndEndsWithTheCuratorAndTheFinish) {
    Profile& profile = player(-1, "demo", "");
    profile.shownTutorials = {1, 2, 6};
    ASSERT_NE(open(), nullptr);
    ASSERT_NE(screen->getTutorials(), nullptr);
    RestoreToolSelector* tools = screen->getToolBar();
    wait(1.1f);
    EXPECT_EQ(openTutorial(), 1) << "shown again: the intro forgot the shown tutorials";
    EXPECT_EQ(tools->getAllowed(), 1) << "the spray only";
    EXPECT_EQ(screen->getBoard()->getForcedItem(), "kestrova");
    passOpening();

    HiddenObject* kestrova = item("kestrova");
    HiddenObject* headphones = item("headphones");
    HiddenObject* teacup = item("teacup");
    ASSERT_TRUE(kestrova != nullptr && headphones != nullptr && teacup != nullptr);

    spray(kestrova);
    EXPECT_EQ(openTutorial(), 2);
    EXPECT_EQ(tools->getAllowed(), 4) << "the knife for the blot";
    // Another tool's selection leaves the knife's tutorial open.
    screen->getTutorials()->onToolSelected(3);
    EXPECT_EQ(openTutorial(), 2);
    chooseTool(4);
    EXPECT_EQ(openTutorial(), 0);
    erase(kestrova);
    EXPECT_EQ(openTutorial(), 6);
    EXPECT_EQ(screen->getBoard()->getForcedItem(), "headphones");

    spray(headphones);
    EXPECT_EQ(openTutorial(), 3);
    EXPECT_EQ(tools->getAllowed(), 3) << "the brush for the scrape";
    erase(headphones);
    EXPECT_EQ(openTutorial(), 7);
    EXPECT_TRUE(inputPaused(screen->getBoard()));
    EXPECT_EQ(tools->getCurrent(), 1);
    EXPECT_TRUE(button(2, "HintBtn")->isEnabled());

    click(button(2, "HintBtn"));
    wait(2.0f);
    EXPECT_TRUE(screen->getBoard()->isHintShowing());
    EXPECT_FALSE(inputPaused(screen->getBoard()));
    EXPECT_EQ(openTutorial(), 5);

    spray(teacup);
    EXPECT_EQ(openTutorial(), 4);
    EXPECT_EQ(tools->getAllowed(), 2) << "the eraser for the dirt";
    erase(teacup);
    EXPECT_EQ(openTutorial(), 41);
    Node* chatPlace = screen->getHudRoot()->getChildByTag(1)->getChildByName("chat_place");
    ASSERT_NE(chatPlace, nullptr);
    EXPECT_EQ(chatPlace->getChildrenCount(), 1);
    EXPECT_FALSE(button(2, "HintBtn")->isEnabled());
    EXPECT_TRUE(button(3, "paletteBtn")->isEnabled());
    EXPECT_FALSE(screen->isFinished()) << "the intro has no win test";
    saveShot("curator");

    const std::vector<std::string>& log = driver().captureLog();
    click(button(3, "paletteBtn"));
    EXPECT_TRUE(screen->isFinished());
    EXPECT_EQ(screen->getTutorials()->getOpenTutorial(), nullptr);
    EXPECT_EQ(chatPlace->getChildrenCount(), 0);
    EXPECT_FALSE(screentest::hasLine(log, "try to close Courator")) << "closed without its callback";
    driver().stopCapturingLog();
    EXPECT_TRUE(leftFor<MapScreen>());
}

TEST_F(GameTutorialsTest, ATwoStepLessonNeedsTwoClosingEventsAndIntroMissesPulseNothing) {
    const fs::path overrides = fs::path(testing::Driver::scratchPath("two-step-tutorials"));
    fs::create_directories(overrides / "tutorials");
    {
        std::ofstream twoSteps(overrides / "tutorials" / "tutorial_1.xml");
        twoSteps << R"(<?xml version="1.0" encoding="utf-8"?>
<Items>
  <step x="125" y="508" alignx="r" aligny="t" dir="r" textid="1" nofader="1"/>
  <step x="300" y="300" alignx="r" aligny="t" dir="l" textid="2" nofader="1"/>
</Items>)";
    }
    screentest::useStagedResources(overrides.string());
    player(-1, "demo", "");
    ASSERT_NE(open(), nullptr);
    passOpening();
    ASSERT_EQ(openTutorial(), 1);
    GameTutorialsLayer* tutorials = screen->getTutorials();
    EXPECT_FALSE(tutorials->closeTutorial(1)) << "the first event advances it";
    EXPECT_EQ(openTutorial(), 1);
    EXPECT_EQ(tutorials->getOpenTutorial()->getCurrentStep(), 1);
    EXPECT_FALSE(tutorials->closeTutorial(2)) << "another number closes nothing";
    EXPECT_EQ(openTutorial(), 1);
    EXPECT_TRUE(tutorials->closeTutorial(1));
    EXPECT_EQ(openTutorial(), 0);

    tutorials->onMiss(Vec2(300, 300), ToolState::Sray);
    EXPECT_EQ(screen->getHudRoot()->getChildByTag(2)->getActionByTag(GameTutorialsLayer::kPulseTag), nullptr);
}

TEST_F(GameTutorialsTest, TheFirstKnifeMissShowsTheCutLessonAndItsMarker) {
    Profile& profile = player(0, "USA", "HarborDawn");
    profile.shownTutorials.clear();
    ASSERT_NE(open(), nullptr);
    ASSERT_NE(screen->getTutorials(), nullptr);
    passOpening();
    chooseTool(4);
    const Vec2 canvas = bareCanvas();
    driver().touchBegan(canvas);
    driver().stepFrames(1);
    driver().touchMoved(canvas + Vec2(40, 0));
    driver().stepFrames(1);
    driver().touchEnded(canvas + Vec2(40, 0));
    driver().stepFrames(2);
    EXPECT_EQ(openTutorial(), 9);
    Node* marker = level()->getChildByName("cut_tutorial");
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(marker->getOpacity(), 0);

    chooseTool(5);
    EXPECT_EQ(openTutorial(), 0);
    // From half to full and back, for ever.
    int lowest = 255;
    int highest = 0;
    for (int frame = 0; frame < 50; ++frame) {
        driver().stepFrames(1);
        lowest = std::min<int>(lowest, marker->getOpacity());
        highest = std::max<int>(highest, marker->getOpacity());
    }
    EXPECT_LE(lowest, 135);
    EXPECT_GE(highest, 250);

    // A second knife miss: the lesson was had, no second marker.
    screen->getTutorials()->onMiss(canvas, ToolState::Knife);
    int markers = 0;
    for (Node* child : level()->getChildren()) {
        markers += child->getName() == "cut_tutorial" ? 1 : 0;
    }
    EXPECT_EQ(markers, 1);
    screen->getTutorials()->onDamageFixed(nullptr, canvas);
    EXPECT_EQ(level()->getChildByName("cut_tutorial"), nullptr);
}

TEST_F(GameTutorialsTest, AMissedDropPulsesTheHintPanelUntilTheNextHit) {
    player(2, "USA", "HarborDawn");
    ASSERT_NE(open(), nullptr);
    passOpening();
    Node* hintPanel = screen->getHudRoot()->getChildByTag(2);
    chooseTool(1);
    driver().tap(bareCanvas());
    wait(0.5f);
    EXPECT_NE(hintPanel->getActionByTag(GameTutorialsLayer::kPulseTag), nullptr);
    ASSERT_FALSE(level()->getItems().empty());
    HiddenObject* target = level()->getItems().begin()->second;
    driver().tap(maskPoint(target));
    wait(0.3f);
    EXPECT_EQ(hintPanel->getActionByTag(GameTutorialsLayer::kPulseTag), nullptr);
    EXPECT_FLOAT_EQ(hintPanel->getScale(), 1.0f);
}

TEST_F(GameTutorialsTest, AStoppedHintPulseLeavesThePanelWhite) {
    // The pulse is stopped by a hit and by a shown hint, wherever its tint happens to be.
    for (const bool byHint : {false, true}) {
        SCOPED_TRACE(byHint ? "a hint" : "a hit");
        player(2, "USA", "HarborDawn");
        ASSERT_NE(open(), nullptr);
        passOpening();
        Node* hintPanel = screen->getHudRoot()->getChildByTag(2);
        chooseTool(1);
        driver().tap(bareCanvas());
        wait(0.4f);
        ASSERT_NE(hintPanel->getActionByTag(GameTutorialsLayer::kPulseTag), nullptr);
        // Halfway through the flush.
        for (int frame = 0; frame < 60 && hintPanel->getColor().g > 180; ++frame) {
            driver().stepFrames(1);
        }
        ASSERT_LT(hintPanel->getColor().g, 255) << "the pulse tints the panel";
        if (byHint) {
            click(button(2, "HintBtn"));
            wait(1.0f);
        } else {
            driver().tap(maskPoint(level()->getItems().begin()->second));
            wait(0.3f);
        }
        ASSERT_EQ(hintPanel->getActionByTag(GameTutorialsLayer::kPulseTag), nullptr);
        driver().stepFrames(2);
        EXPECT_EQ(hintPanel->getColor(), cocos2d::Color3B::WHITE);
    }
}

TEST_F(GameTutorialsTest, TheFlyLessonHoldsTheBoardUntilTheFlyIsSwatted) {
    player(1, "USA", "HarborDawn");
    ASSERT_NE(open(), nullptr);
    auto* fly = dynamic_cast<FlyNode*>(screen->getChildByName("flyNode"));
    ASSERT_NE(fly, nullptr);
    wait(2.2f);
    EXPECT_EQ(openTutorial(), 8);
    EXPECT_TRUE(inputPaused(screen->getBoard()));
    wait(1.2f);
    ASSERT_NE(fly->getFly(), nullptr);
    driver().tap(fly->getFly()->getParent()->convertToWorldSpace(fly->getFly()->getPosition()));
    driver().stepFrames(3);
    EXPECT_EQ(screen->getBoard()->getFliesKilled(), 1);
    EXPECT_EQ(openTutorial(), 0);
    EXPECT_FALSE(inputPaused(screen->getBoard()));
}

TEST_F(GameTutorialsTest, ABrokenLessonFileNeitherHoldsTheBoardNorBlocksTheNextLesson) {
    const fs::path overrides = fs::path(testing::Driver::scratchPath("broken-tutorials"));
    fs::create_directories(overrides / "tutorials");
    {
        std::ofstream broken(overrides / "tutorials" / "tutorial_8.xml");
        broken << "<Items><step x=";
    }
    screentest::useStagedResources(overrides.string());
    player(1, "USA", "HarborDawn");
    ASSERT_NE(open(), nullptr);
    wait(3.5f);
    EXPECT_EQ(openTutorial(), 0);
    EXPECT_FALSE(inputPaused(screen->getBoard())) << "nothing would ever let the board go";
    EXPECT_TRUE(screen->getTutorials()->showTutorial(2));
    EXPECT_EQ(openTutorial(), 2);
    boardtest::useResources();
}

}  // namespace
