// The safe door on the real engine over a windowless view, with the staged resource tree: touches are
// given to the game as its host gives them, in world coordinates, and time runs in frames of 1/60 s.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/platform/FileUtils.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SpriteFrameCache.h"

#include "MinigameLevel.h"
#include "Profile.h"
#include "Settings.h"
#include "minigames/CurrentMinigame.h"
#include "minigames/TwoMatch.h"
#include "minigames/TwoMatchPipe.h"
#include "ui/JsonDocumentCache.h"
#include "ui/NodeFromJson.h"
#include "../../engine/HeadlessEngine.h"
#include "../SaveTestSupport.h"

namespace {

using cocos2d::Vec2;

// A door drawn as it looks: five rows of seven cells, the top row first; a digit is a tile's kind, a
// dot an empty cell.
TwoMatchGrid door(const std::vector<std::string>& picture) {
    TwoMatchGrid grid;
    for (size_t line = 0; line < picture.size(); ++line) {
        const int32_t row = TwoMatchGrid::kRows - 1 - static_cast<int32_t>(line);
        for (size_t column = 0; column < picture[line].size(); ++column) {
            const char c = picture[line][column];
            grid.set(static_cast<int32_t>(column), row, c == '.' ? TwoMatchGrid::kEmpty : c - '0');
        }
    }
    return grid;
}

std::vector<int32_t> sortedKinds(const TwoMatchGrid& grid) {
    std::vector<int32_t> kinds;
    for (int32_t column = 0; column < TwoMatchGrid::kColumns; ++column) {
        for (int32_t row = 0; row < TwoMatchGrid::kRows; ++row) {
            if (grid.kind(column, row) != TwoMatchGrid::kEmpty) {
                kinds.push_back(grid.kind(column, row));
            }
        }
    }
    std::sort(kinds.begin(), kinds.end());
    return kinds;
}

class TwoMatchTest : public enginetest::HeadlessEngine {
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
        currentMinigameKind = 0;
        currentMinigameLevel = 0;
        std::srand(7);
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

    // A level file of the test's own, found before the shipped one.
    void writeLevel(int32_t level, const std::string& text) {
        std::ofstream(_levels.file("minigamelevels/TwoMatch_" + std::to_string(level) + ".xml")) << text;
        cocos2d::FileUtils::getInstance()->purgeCachedEntries();
    }

    TwoMatch* start(int32_t level) {
        currentMinigameLevel = level;
        _game = TwoMatch::create();
        EXPECT_NE(_game, nullptr);
        if (_game != nullptr) {
            _game->setPosition(visibleCenter());
            _scene->addChild(_game);
        }
        return _game;
    }

    // Where the player sees a cell.
    Vec2 cell(int32_t column, int32_t row) const {
        cocos2d::Node* layer = _game->getChildByName("UI")->getChildByName("slots_place");
        return layer->convertToWorldSpace(_game->cellCentre(column, row));
    }

    void tap(int32_t column, int32_t row) {
        _game->touchBegan(cell(column, row));
        _game->touchEnded(cell(column, row));
    }

    static void seconds(float s) { step(static_cast<int>(s * 60.0f + 0.5f)); }

    static std::vector<MinigameLevel>& wins() {
        return Settings::getInstance().getCurrentUser().world.minigameWins;
    }

    int tileCount() const { return static_cast<int>(sortedKinds(_game->getKindGrid()).size()); }

    // The bag is the grid's kinds without the order's two.
    void expectBagMatchesGrid() const {
        std::vector<int32_t> expected = sortedKinds(_game->getKindGrid());
        for (const int32_t kind : {_game->getOrder().first, _game->getOrder().second}) {
            auto it = std::find(expected.begin(), expected.end(), kind);
            ASSERT_NE(it, expected.end()) << "the order's kind " << kind << " is on the grid";
            expected.erase(it);
        }
        std::vector<int32_t> bag = _game->getKindBag();
        std::sort(bag.begin(), bag.end());
        EXPECT_EQ(bag, expected);
    }

    savetest::TempFolder _levels;
    cocos2d::Scene* _scene = nullptr;
    TwoMatch* _game = nullptr;
};

TEST_F(TwoMatchTest, ANewDoorIsFullTakesTouchesAtOnceAndLocksTheLevelsRows) {
    ASSERT_NE(start(5), nullptr);  // rows 0, 1 and 2
    EXPECT_EQ(_game->getState(), MinigameState::Playing);
    EXPECT_FALSE(_game->isInputLocked());
    EXPECT_EQ(tileCount(), 35);
    for (int32_t row = 0; row < TwoMatch::kRows; ++row) {
        for (int32_t column = 0; column < TwoMatch::kColumns; ++column) {
            TwoMatchPipe* tile = _game->getTile(column, row);
            ASSERT_NE(tile, nullptr);
            EXPECT_EQ(tile->getColumn(), column);
            EXPECT_EQ(tile->getRow(), row);
            EXPECT_GE(tile->getKind(), 0);
            EXPECT_LT(tile->getKind(), 3);
            EXPECT_EQ(_game->tileAt(cell(column, row)), tile) << column << " " << row;
        }
    }
    expectBagMatchesGrid();
    cocos2d::Node* ui = _game->getChildByName("UI");
    for (int32_t row = 0; row < TwoMatch::kRows; ++row) {
        EXPECT_EQ(_game->getTumbler(row), row <= 2 ? 1 : 0) << row;
        EXPECT_EQ(ui->getChildByName("pintle_" + std::to_string(row))->isVisible(), row <= 2) << row;
    }
    EXPECT_TRUE(ui->getChildByName("indicator_wrong")->isVisible());
    EXPECT_FALSE(ui->getChildByName("indicator_correct")->isVisible());
    EXPECT_FALSE(_game->getChildByName("hinge_open")->isVisible());
    // The gaps between tiles and the space beside the door hit nothing.
    EXPECT_EQ(_game->tileAt(cell(0, 0) + Vec2(52, 0)), nullptr);
    EXPECT_EQ(_game->tileAt(cell(0, 0) - Vec2(104, 0)), nullptr);
    seconds(1.0f);
    EXPECT_EQ(_game->getState(), MinigameState::Playing) << "a full random door has a pair";
}

TEST_F(TwoMatchTest, TapsSelectDeselectAndSwitchTheSelection) {
    ASSERT_NE(start(1), nullptr);
    _game->layOut(door({
                      "2222222",
                      "2222222",
                      "2222222",
                      "0222222",
                      "1022222",
                  }),
                  0, 1);
    seconds(0.4f);
    ASSERT_EQ(_game->getState(), MinigameState::Playing);
    struct Case {
        const char* what;
        Vec2 point;
        const TwoMatchPipe* selectedAfter;
    };
    TwoMatchPipe* a = _game->getTile(0, 0);
    TwoMatchPipe* far = _game->getTile(5, 3);
    TwoMatchPipe* diagonal = _game->getTile(1, 1);
    TwoMatchPipe* nonMatching = _game->getTile(2, 0);
    const std::vector<Case> cases = {
        {"a tile", cell(0, 0), a},
        {"the same tile again", cell(0, 0), nullptr},
        {"a tile", cell(0, 0), a},
        {"a gap between tiles", cell(0, 0) + Vec2(52, 52), nullptr},
        {"a tile", cell(0, 0), a},
        {"off the door", Vec2(5, 5), nullptr},
        {"a tile", cell(0, 0), a},
        {"a far tile takes the selection", cell(5, 3), far},
        {"a neighbour that does not fit the order", cell(5, 4), _game->getTile(5, 4)},
        {"a tile", cell(1, 0), _game->getTile(1, 0)},
        {"its neighbour of the wrong kind", cell(2, 0), nonMatching},
        {"a tile", cell(0, 1), _game->getTile(0, 1)},
        {"its diagonal of the order's other kind", cell(1, 1) + Vec2(0, 0), diagonal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        _game->touchBegan(c.point);
        _game->touchEnded(c.point);
        EXPECT_EQ(_game->getSelectedTile(), c.selectedAfter);
        for (int32_t row = 0; row < TwoMatch::kRows; ++row) {
            for (int32_t column = 0; column < TwoMatch::kColumns; ++column) {
                const TwoMatchPipe* tile = _game->getTile(column, row);
                EXPECT_EQ(tile->isSelected(), tile == c.selectedAfter);
                EXPECT_EQ(tile->getSelectionSprite()->isVisible(), tile == c.selectedAfter);
            }
        }
    }
    EXPECT_EQ(tileCount(), 35) << "no pair was made";
}

TEST_F(TwoMatchTest, APairRemovesBothTilesLocksInputUntilTheNextOrderIsCheckedAndKeepsTheBag) {
    ASSERT_NE(start(2), nullptr);  // row 1 locked
    _game->layOut(door({
                      "0000000",
                      "1111111",
                      "2222222",
                      "0120120",
                      "2101201",
                  }),
                  0, 2);
    seconds(0.4f);
    TwoMatchPipe* first = _game->getTile(0, 0);  // kind 2, under a kind 0
    tap(0, 0);
    EXPECT_EQ(_game->getSelectedTile(), first);
    _game->touchBegan(cell(0, 1));
    EXPECT_TRUE(_game->isInputLocked());
    EXPECT_FALSE(first->isSelected());
    // While the pair is removed no touch starts anything.
    _game->touchEnded(cell(0, 1));
    _game->touchBegan(cell(0, 4));
    _game->touchEnded(cell(0, 4));
    seconds(0.1f);
    EXPECT_LT(first->getScaleX(), 0.6f) << "shrinking";
    EXPECT_EQ(_game->getTile(0, 0), first);
    seconds(0.1f);
    EXPECT_EQ(_game->getTile(0, 0), nullptr);
    EXPECT_EQ(_game->getTile(0, 1), nullptr);
    EXPECT_EQ(_game->getSelectedTile(), nullptr);
    EXPECT_EQ(tileCount(), 33);
    EXPECT_EQ(_game->getTumbler(1), 1) << "its row still has tiles";
    expectBagMatchesGrid();
    EXPECT_TRUE(_game->isInputLocked()) << "the new order comes in";
    _game->touchBegan(cell(0, 4));
    _game->touchEnded(cell(0, 4));
    EXPECT_EQ(_game->getSelectedTile(), nullptr);
    seconds(0.3f);
    EXPECT_FALSE(_game->isInputLocked());
}

TEST_F(TwoMatchTest, APairMadeAtOnceOnANewDoorStillLocksTheNextOrderForItsWholeDelay) {
    ASSERT_NE(start(2), nullptr);
    ASSERT_FALSE(_game->isInputLocked()) << "the first door takes touches at once";
    // The first pair the order allows, made in the door's first frames, while the first order's
    // check is still pending.
    const TwoMatchGrid kinds = _game->getKindGrid();
    const auto [o1, o2] = _game->getOrder();
    int32_t c1 = -1, r1 = -1, c2 = -1, r2 = -1;
    for (int32_t row = 0; row < TwoMatch::kRows && c1 < 0; ++row) {
        for (int32_t column = 0; column < TwoMatch::kColumns && c1 < 0; ++column) {
            if (kinds.isValidPair(column, row, column + 1, row, o1, o2)) {
                c1 = column, r1 = row, c2 = column + 1, r2 = row;
            } else if (kinds.isValidPair(column, row, column, row + 1, o1, o2)) {
                c1 = column, r1 = row, c2 = column, r2 = row + 1;
            }
        }
    }
    ASSERT_GE(c1, 0) << "seed 7's first door has a pair";
    tap(c1, r1);
    tap(c2, r2);
    ASSERT_TRUE(_game->isInputLocked());
    seconds(0.17f);  // removed; the next order comes in, its check 0.3 s away
    ASSERT_EQ(tileCount(), 33);
    for (int frame = 0; frame < 17; ++frame) {
        step(1);
        EXPECT_TRUE(_game->isInputLocked()) << "frame " << frame << " of the next order's 0.3 s";
    }
    seconds(0.05f);
    EXPECT_FALSE(_game->isInputLocked());
}

TEST_F(TwoMatchTest, DraggingFromASelectedTileOntoItsPartnerMakesThePairWithoutLifting) {
    ASSERT_NE(start(3), nullptr);
    _game->layOut(door({
                      "1111111",
                      "1111111",
                      "1111111",
                      "1111111",
                      "0211111",
                  }),
                  2, 0);
    seconds(0.4f);
    // A move over a tile that does not fit, then onto the partner, all in one press.
    _game->touchBegan(cell(0, 0));
    ASSERT_EQ(_game->getSelectedTile(), _game->getTile(0, 0));
    _game->touchMoved(cell(0, 1));
    EXPECT_FALSE(_game->isInputLocked());
    _game->touchMoved(cell(1, 0));
    EXPECT_TRUE(_game->isInputLocked());
    _game->touchEnded(cell(1, 0));
    seconds(0.2f);
    EXPECT_EQ(tileCount(), 33);

    // Moving over a partner after the finger was lifted makes nothing.
    seconds(0.4f);
    _game->layOut(door({
                      "1111111",
                      "1111111",
                      "1111111",
                      "1111111",
                      "0211111",
                  }),
                  2, 0);
    seconds(0.4f);
    _game->touchBegan(cell(0, 0));
    _game->touchEnded(cell(0, 0));
    _game->touchMoved(cell(1, 0));
    EXPECT_FALSE(_game->isInputLocked());
    EXPECT_EQ(tileCount(), 35);
}

TEST_F(TwoMatchTest, ClearingTheLockedBottomRowOfTheBuiltInLevelOpensTheDoorAndWins) {
    writeLevel(4, "<Level><0/>");  // not well-formed: the built-in level locks row 0
    savetest::LogCapture log;
    ASSERT_NE(start(4), nullptr);
    EXPECT_EQ(_game->getLevel().lockedRows, std::vector<int32_t>{0});
    _game->layOut(door({
                      "0000000",
                      "1111111",
                      "2222222",
                      "0000000",
                      "..12...",
                  }),
                  1, 2);
    seconds(0.4f);
    tap(2, 0);
    tap(3, 0);
    seconds(0.2f);
    EXPECT_EQ(_game->getTumbler(0), 0) << "tripped";
    // The rows above closed up and a new row came in from the top.
    EXPECT_EQ(tileCount(), 35);
    EXPECT_EQ(_game->getTile(0, 0)->getKind(), 0);
    EXPECT_EQ(_game->getTile(0, 1)->getKind(), 2);
    EXPECT_EQ(_game->getTile(0, 3)->getKind(), 0);
    EXPECT_EQ(_game->getTile(4, 0)->getRow(), 0);
    expectBagMatchesGrid();
    seconds(0.35f);
    EXPECT_EQ(_game->getState(), MinigameState::Waiting) << "the handle turns";
    EXPECT_TRUE(_game->isInputLocked());
    EXPECT_TRUE(wins().empty());
    seconds(2.4f);
    EXPECT_EQ(_game->getState(), MinigameState::Waiting);
    seconds(0.2f);
    EXPECT_EQ(_game->getState(), MinigameState::Won);
    EXPECT_EQ(wins(), (std::vector<MinigameLevel>{{0, 4}}));
    EXPECT_TRUE(_game->getChildByName("hinge_open")->isVisible());
    EXPECT_EQ(_game->getChildByName("hinge_closed")->getOpacity(), 0);
    EXPECT_NEAR(_game->getChildByName("UI")->getChildByName("handle_dinamic")->getRotation(), -50.0f, 0.01f);
}

TEST_F(TwoMatchTest, ALevelWithoutALockedRowOpensTheDoorRightAfterTheFirstOrder) {
    writeLevel(6, "<Level><7/></Level>");
    ASSERT_NE(start(6), nullptr);
    EXPECT_TRUE(_game->getLevel().lockedRows.empty());
    EXPECT_EQ(_game->getState(), MinigameState::Playing);
    seconds(0.3f);
    EXPECT_EQ(_game->getState(), MinigameState::Waiting);
    seconds(2.55f);
    EXPECT_EQ(_game->getState(), MinigameState::Won);
}

TEST_F(TwoMatchTest, NoPairForTheOrderWhileATumblerIsLockedLosesTheLevel) {
    struct Case {
        const char* what;
        std::vector<std::string> door;
        int32_t order1, order2;
        MinigameState state;
    };
    const std::vector<Case> cases = {
        {"only diagonal partners",
         {"0101010", "1010101", "0101010", "1010101", "0101010"},
         0,
         0,
         MinigameState::Lost},
        {"the order's kinds apart",
         {"2222222", "2222222", "2222222", "2222222", "0.1...."},
         0,
         1,
         MinigameState::Lost},
        {"one pair left",
         {"2121212", "1212121", "2121212", "1212121", "0021212"},
         0,
         0,
         MinigameState::Playing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(start(0), nullptr);
        _game->layOut(door(c.door), c.order1, c.order2);
        EXPECT_EQ(_game->getState(), MinigameState::Playing);
        seconds(0.35f);
        EXPECT_EQ(_game->getState(), c.state);
        EXPECT_EQ(_game->getTumbler(0), 1);
        _game->removeFromParent();
    }
}

TEST_F(TwoMatchTest, TwoRowsEmptiedByOneMatchTripBothTumblersAndTwoRowsComeIn) {
    writeLevel(1, "<Level><0/><1/><3/></Level>");
    ASSERT_NE(start(1), nullptr);
    _game->layOut(door({
                      "0000000",
                      "1111111",
                      "2222222",
                      "..1....",
                      "..2....",
                  }),
                  1, 2);
    seconds(0.4f);
    cocos2d::Node* pintle = _game->getChildByName("UI")->getChildByName("pintle_0");
    const float x = pintle->getPositionX();
    _game->touchBegan(cell(2, 1));
    _game->touchMoved(cell(2, 0));
    _game->touchEnded(cell(2, 0));
    seconds(0.2f);
    EXPECT_EQ(_game->getTumbler(0), 0);
    EXPECT_EQ(_game->getTumbler(1), 0);
    EXPECT_EQ(_game->getTumbler(3), 1) << "the tumbler stays with its row number";
    EXPECT_EQ(tileCount(), 35);
    EXPECT_EQ(_game->getTile(6, 0)->getKind(), 2);
    EXPECT_EQ(_game->getTile(6, 1)->getKind(), 1);
    EXPECT_EQ(_game->getTile(6, 2)->getKind(), 0);
    seconds(0.5f);
    EXPECT_FLOAT_EQ(pintle->getPositionX(), x + 100.0f) << "slid aside";
    expectBagMatchesGrid();
    for (int32_t row = 3; row < 5; ++row) {
        for (int32_t column = 0; column < TwoMatch::kColumns; ++column) {
            EXPECT_EQ(_game->getTile(column, row)->getPosition(), _game->cellCentre(column, row));
        }
    }
}

TEST_F(TwoMatchTest, StoppingTheGameWhileTheDoorOpensCancelsItsWin) {
    writeLevel(6, "<Level/>");
    ASSERT_NE(start(6), nullptr);
    seconds(1.0f);
    ASSERT_EQ(_game->getState(), MinigameState::Waiting);
    _game->stop();
    seconds(3.0f);
    EXPECT_EQ(_game->getState(), MinigameState::Waiting);
    EXPECT_TRUE(wins().empty());
}

TEST_F(TwoMatchTest, AWinGivenDuringAMatchStaysTheOneResult) {
    ASSERT_NE(start(0), nullptr);
    _game->layOut(door({
                      "0101010",
                      "1010101",
                      "0101010",
                      "1010101",
                      "0101010",
                  }),
                  0, 1);
    seconds(0.4f);
    tap(0, 0);
    tap(1, 0);
    _game->win();  // the host's Skip, while the pair is removed
    seconds(3.0f);
    EXPECT_EQ(_game->getState(), MinigameState::Won);
    EXPECT_EQ(wins().size(), 1u);
}

TEST_F(TwoMatchTest, LeavingReleasesTheDoorsSheetsAndARestartKeepsThem) {
    for (const bool restart : {true, false}) {
        SCOPED_TRACE(restart ? "restart" : "leave");
        ASSERT_NE(start(0), nullptr);
        ASSERT_NE(cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName("tile_1.png"), nullptr);
        _game->setRestart(restart);
        savetest::LogCapture log;
        _game->removeFromParent();
        _game = nullptr;
        step(1);
        EXPECT_TRUE(log.contains("~TwoMatch"));
        EXPECT_TRUE(log.contains("=== MinigameBase::~MinigameBase ==="));
        const auto afterClear =
            std::count_if(log.lines.begin(), log.lines.end(),
                          [](const std::string& line) { return line.rfind("after clear\n", 0) == 0; });
        EXPECT_EQ(afterClear, restart ? 0 : 1);
        EXPECT_EQ(cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName("tile_1.png") != nullptr,
                  restart);
        EXPECT_EQ(cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName("tm_door.png") != nullptr,
                  restart);
    }
}

TEST_F(TwoMatchTest, AnyLevelFileGivesADoorThatStartsWithItsLocksOnTheDoor) {
    struct Case {
        std::string text;
        std::vector<int32_t> rows;
    };
    const std::vector<Case> cases = {
        {"", {0}},
        {"<Level", {0}},
        {"<Level><99999999999999/><-3/><4/></Level>", {4}},
        {std::string("<Level>") + std::string(50000, 'x') + "</Level>", {0}},
        {"<Level><2/><2/><2/></Level>", {2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        writeLevel(7, c.text);
        ASSERT_NE(start(7), nullptr);
        EXPECT_EQ(_game->getLevel().lockedRows, c.rows);
        for (int32_t row = 0; row < TwoMatch::kRows; ++row) {
            const bool locked = std::find(c.rows.begin(), c.rows.end(), row) != c.rows.end();
            EXPECT_EQ(_game->getTumbler(row), locked ? 1 : 0) << row;
        }
        EXPECT_EQ(_game->getTumbler(-1), 0);
        EXPECT_EQ(_game->getTumbler(5), 0);
        seconds(0.4f);
        EXPECT_EQ(_game->getState(), MinigameState::Playing);
        _game->removeFromParent();
        _game = nullptr;
        step(1);
    }
}

}  // namespace
