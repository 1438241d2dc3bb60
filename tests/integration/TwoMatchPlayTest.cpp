// The safe door played on the real engine with a real GL view: the game runs in a test scene under a
// stand-in for its host that does what the host does (update every frame, the first touch of a gesture
// forwarded in world coordinates), and the player's touches are injected where real ones enter.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "Driver.h"
#include "MinigamePlayHost.h"
#include "MinigameLevel.h"
#include "Profile.h"
#include "Settings.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/events/Touch.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SpriteFrameCache.h"
#include "ScreenTestSupport.h"
#include "minigames/CurrentMinigame.h"
#include "minigames/MinigameScreen.h"
#include "minigames/TwoMatch.h"
#include "minigames/TwoMatchPipe.h"
#include "ui/NodeFromJson.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Vec2;

constexpr const char* kTileList = "Minigames/TwoMatch/Tiles_atlas.xml";
// The colour of the stand-in picture a fixture description gives kind 1.
const cocos2d::Color4B kPlainTile(200, 40, 160, 255);

void writeText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

using minigametest::Host;

std::vector<int32_t> sortedKinds(const TwoMatchGrid& grid) {
    std::vector<int32_t> kinds;
    for (int32_t column = 0; column < TwoMatchGrid::kColumns; ++column) {
        for (int32_t row = 0; row < TwoMatchGrid::kRows; ++row) {
            if (grid.kind(column, row) != TwoMatchGrid::kEmpty) {
                kinds.push_back(grid.kind(column, row));
            }
        }
    }
    return kinds;
}

// The mean absolute difference of two same-sized frame grabs, per channel, 0 to 255.
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

// A square of the view around a design point, in drawable pixels from the top-left.
cocos2d::Rect around(const Vec2& point, float size) {
    return cocos2d::Rect(point.x - size / 2, 810.0f - point.y - size / 2, size, size);
}

class TwoMatchPlayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
        files->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
        files->setSearchPaths({"src", "res"});
        const std::filesystem::path home(testing::Driver::scratchPath("xdg-two-match"));
        std::filesystem::create_directories(home);
        ::setenv("XDG_DATA_HOME", home.c_str(), 1);
    }

    void SetUp() override {
        Settings::destroyInstance();
        Settings::getInstance().getCurrentUser() = Profile();
        currentMinigameKind = 0;
    }

    void TearDown() override {
        if (HasFailure()) {
            screenshot("failed");
        }
        if (_scene != nullptr) {
            _scene->removeAllChildren();
            driver().stepFrames(1);
        }
        if (_overridden) {
            // The fixture's list goes, so that the next door loads the staged one.
            cocos2d::SpriteFrameCache::getInstance()->removeSpriteFramesFromFile(kTileList);
            driver().stopCapturingLog();
            screentest::useStagedResources();
        }
        Settings::destroyInstance();
    }

    // A tile sheet whose frame list lacks the frame of kind 1, in a folder searched before the staged
    // resources, as a broken build or a hand-edited list would leave it. With `describedTile` the
    // folder also holds a copy of the game's description in which "tile_1" is a plain image of its
    // own, so that the description still has the element when the sheet has not.
    void useSheetWithoutTile1(const std::string& name, bool describedTile) {
        cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
        // Frames loaded from the staged list would stand in for the missing one.
        cocos2d::SpriteFrameCache::getInstance()->removeSpriteFramesFromFile(kTileList);
        const fs::path folder(testing::Driver::scratchPath(name));
        std::string list = files->getStringFromFile(kTileList);
        const size_t from = list.find("<key>tile_1.png</key>");
        const size_t to = list.find("</dict>", from);
        ASSERT_NE(from, std::string::npos) << "the staged list has no tile_1.png";
        ASSERT_NE(to, std::string::npos);
        list.erase(from, to + std::string("</dict>").size() - from);
        writeText(folder / kTileList, list);
        if (describedTile) {
            std::string description = files->getStringFromFile("Minigames/TwoMatch/ccnode.json");
            const std::string tex = "\"Tiles/tile_1.png\"";
            const size_t at = description.find(tex);
            ASSERT_NE(at, std::string::npos) << "the description's tile_1 is no sheet frame";
            description.replace(at, tex.size(), "\"tile_1_plain.png\"");
            writeText(folder / "Minigames/TwoMatch/ccnode.json", description);
            std::vector<unsigned char> pixels;
            for (int i = 0; i < 96 * 96; ++i) {
                pixels.insert(pixels.end(), {kPlainTile.r, kPlainTile.g, kPlainTile.b, kPlainTile.a});
            }
            cocos2d::RefPtr<cocos2d::Image> plain(cocos2d::Image::create());
            ASSERT_TRUE(plain->initWithRawData(pixels.data(), pixels.size(), 96, 96));
            ASSERT_TRUE(plain->saveToFile((folder / "Minigames/TwoMatch/tile_1_plain.png").string()));
        }
        screentest::useStagedResources(folder.string() + "/");
        _overridden = true;
    }

    // Every tile on the door shows a picture and is found where it stands.
    void expectEveryTileDrawnAndTappable(const std::string& when) {
        for (int32_t row = 0; row < TwoMatchGrid::kRows; ++row) {
            for (int32_t column = 0; column < TwoMatchGrid::kColumns; ++column) {
                const TwoMatchPipe* tile = _game->getTile(column, row);
                if (tile == nullptr) {
                    continue;
                }
                EXPECT_GT(tile->getTileSprite()->getContentSize().width, 0.0f)
                    << when << ": tile " << column << "," << row << " of kind " << tile->getKind();
                EXPECT_EQ(_game->tileAt(cell(column, row)), tile)
                    << when << ": tile " << column << "," << row << " of kind " << tile->getKind();
            }
        }
    }

    static testing::Driver& driver() { return testing::Driver::get(); }

    void start(int32_t level, unsigned seed) {
        std::srand(seed);
        currentMinigameLevel = level;
        _scene = cocos2d::Scene::create();
        cocos2d::Director::getInstance()->replaceScene(_scene);
        _host = Host::create();
        _scene->addChild(_host);
        restart();
    }

    // A new game of the current level in place of the running one.
    void restart() {
        _game = TwoMatch::create();
        ASSERT_NE(_game, nullptr);
        _game->setPosition(visibleCenter());
        _host->setGame(_game);
        driver().stepFrames(1);
    }

    void screenshot(const std::string& what) {
        driver().saveScreenshot(testing::Driver::outputPath(
            std::string("TwoMatch_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
            what + ".png"));
    }

    Vec2 cell(int32_t column, int32_t row) const {
        return _game->getChildByName("UI")
            ->getChildByName("slots_place")
            ->convertToWorldSpace(_game->cellCentre(column, row));
    }

    // Waits until the door takes touches again, or is decided.
    void settle() {
        for (int i = 0; i < 120 && _game->isInputLocked() && _game->getState() == MinigameState::Playing;
             ++i) {
            driver().stepFrames(1);
        }
    }

    struct Pair {
        int32_t c1, r1, c2, r2;
    };

    // A player who wants the bottom row gone: a pair with a tile of the bottom row if there is one,
    // else a pair that takes nothing from above the bottom row's remaining tiles, else any pair.
    std::optional<Pair> choosePair() const {
        const TwoMatchGrid kinds = _game->getKindGrid();
        const auto [o1, o2] = _game->getOrder();
        std::vector<Pair> pairs;
        for (int32_t row = 0; row < TwoMatchGrid::kRows; ++row) {
            for (int32_t column = 0; column < TwoMatchGrid::kColumns; ++column) {
                if (kinds.isValidPair(column, row, column + 1, row, o1, o2)) {
                    pairs.push_back({column, row, column + 1, row});
                }
                if (kinds.isValidPair(column, row, column, row + 1, o1, o2)) {
                    pairs.push_back({column, row, column, row + 1});
                }
            }
        }
        if (pairs.empty()) {
            return std::nullopt;
        }
        auto score = [&kinds](const Pair& p) {
            int s = 0;
            for (const auto& [c, r] : {std::pair{p.c1, p.r1}, std::pair{p.c2, p.r2}}) {
                if (r == 0) {
                    s += 10;
                } else if (r == 1 && kinds.kind(c, 0) != TwoMatchGrid::kEmpty) {
                    s -= 5;  // would cut a bottom tile off from above
                }
            }
            return s;
        };
        Pair best = pairs.front();
        for (const Pair& p : pairs) {
            if (score(p) > score(best)) {
                best = p;
            }
        }
        return best;
    }

    // Plays the running door as a player would until it opens or is lost; alternates taps and drags.
    void playUntilDecided(int& moves, bool& dragged) {
        while (_game->getState() == MinigameState::Playing && moves < 400) {
            settle();
            if (_game->getState() != MinigameState::Playing) {
                break;
            }
            // A door that takes touches has every tile at rest in its cell.
            for (int32_t row = 0; row < TwoMatchGrid::kRows; ++row) {
                for (int32_t column = 0; column < TwoMatchGrid::kColumns; ++column) {
                    if (const TwoMatchPipe* tile = _game->getTile(column, row)) {
                        ASSERT_LT(tile->getPosition().distance(_game->cellCentre(column, row)), 0.5f)
                            << "move " << moves << ": tile " << column << "," << row << " still slides";
                    }
                }
            }
            const std::optional<Pair> pair = choosePair();
            ASSERT_TRUE(pair.has_value()) << "a door without a pair is lost";
            if (moves % 2 == 0) {
                cocos2d::RefPtr<cocos2d::Image> plain =
                    driver().readPixels(around(cell(pair->c1, pair->r1), 104));
                driver().tap(cell(pair->c1, pair->r1));
                driver().stepFrames(1);
                ASSERT_EQ(_game->getSelectedTile(), _game->getTile(pair->c1, pair->r1));
                cocos2d::RefPtr<cocos2d::Image> framed =
                    driver().readPixels(around(cell(pair->c1, pair->r1), 104));
                EXPECT_GT(meanDifference(plain.get(), framed.get()), 3.0) << "the selection frame shows";
                driver().tap(cell(pair->c2, pair->r2));
            } else {
                // A drag from the first tile onto its partner.
                driver().touchBegan(cell(pair->c1, pair->r1));
                driver().stepFrames(1);
                driver().touchMoved((cell(pair->c1, pair->r1) + cell(pair->c2, pair->r2)) * 0.5f);
                driver().stepFrames(1);
                driver().touchMoved(cell(pair->c2, pair->r2));
                driver().stepFrames(1);
                driver().touchEnded(cell(pair->c2, pair->r2));
                dragged = true;
            }
            driver().stepFrames(1);
            ASSERT_TRUE(_game->isInputLocked()) << "move " << moves << " made no pair";
            if (moves == 1) {
                driver().stepFrames(4);
                screenshot("match");
            }
            driver().stepFrames(12);
            EXPECT_EQ(_game->getKindBag().size() + 2, sortedKinds(_game->getKindGrid()).size())
                << "the bag is the grid less the order";
            ++moves;
        }
    }

    cocos2d::Scene* _scene = nullptr;
    Host* _host = nullptr;
    TwoMatch* _game = nullptr;
    bool _overridden = false;
};

TEST_F(TwoMatchPlayTest, ADoorWhoseTileHasNoPictureAnywhereIsLostOnceAndLeftThroughBack) {
    useSheetWithoutTile1("two-match-no-tile-1", false);
    ASSERT_FALSE(HasFatalFailure());
    screentest::loadEnglishTexts();
    Profile& profile = Settings::getInstance().getCurrentUser();
    profile.currentPicture.country = "France";
    profile.shownTutorials = {MinigameScreen::kTwoMatchTutorial};
    std::vector<std::string>& log = driver().captureLog();
    std::srand(7);
    currentMinigameLevel = 0;
    MinigameScreen* screen = MinigameScreen::create();
    ASSERT_NE(screen, nullptr) << "the screen comes up to tell the player";
    std::vector<bool> results;
    screen->setOnFinished([&results](bool won) { results.push_back(won); });
    _scene = cocos2d::Scene::create();
    _scene->addChild(screen);
    cocos2d::Director::getInstance()->replaceScene(_scene);
    driver().stepFrames(2);
    auto* game = dynamic_cast<TwoMatch*>(screen->getGame());
    ASSERT_NE(game, nullptr);
    // Held, so that a door started in its place could not take its address.
    const cocos2d::RefPtr<TwoMatch> firstDoor(game);
    // No door that can be neither won nor lost: the level ends, and the screen shows the loss.
    EXPECT_EQ(game->getState(), MinigameState::Lost);
    EXPECT_TRUE(screen->isEnded());
    const cocos2d::Node* lossText = screen->getUi()->getChildByName("LooseAnim");
    ASSERT_NE(lossText, nullptr);
    EXPECT_TRUE(lossText->isVisible());
    for (int32_t row = 0; row < TwoMatchGrid::kRows; ++row) {
        for (int32_t column = 0; column < TwoMatchGrid::kColumns; ++column) {
            if (const TwoMatchPipe* tile = game->getTile(column, row)) {
                EXPECT_NE(tile->getKind(), 1) << "no tile stands on the door without its picture";
            }
        }
    }

    // Starting the same door again would only lose it again: long after the restart would have come,
    // the first loss is still on the screen, and Skip and Reset change nothing.
    for (const char* button : {"Skip", "Reset"}) {
        if (const cocos2d::Node* widget = screen->getUi()->getChildByName(button)) {
            driver().tap(widget->convertToWorldSpace(
                Vec2(widget->getContentSize().width / 2, widget->getContentSize().height / 2)));
            driver().stepFrames(2);
        }
    }
    driver().stepFrames(5 * 60);
    EXPECT_EQ(screen->getGame(), game) << "the lost door was started again";
    EXPECT_EQ(game->getState(), MinigameState::Lost);
    EXPECT_TRUE(screen->isStranded());
    EXPECT_TRUE(lossText->isVisible()) << "the loss is left on the screen";
    EXPECT_GT(lossText->getDisplayedOpacity(), 200);
    EXPECT_EQ(screentest::countLinesStartingWith(log, "TwoMatch: no picture for \"tile_1\""), 1);
    EXPECT_TRUE(Settings::getInstance().getCurrentUser().world.minigameWins.empty()) << "Skip won nothing";
    screenshot("lost");

    // Back leaves, and the launcher hears of no win.
    const cocos2d::Node* back = screen->getUi()->getChildByName("Menu");
    ASSERT_NE(back, nullptr);
    driver().tap(back->convertToWorldSpace(Vec2(back->getContentSize().width / 2, back->getContentSize().height / 2)));
    driver().stepFrames(2);
    EXPECT_EQ(results, std::vector<bool>{false});
}

TEST_F(TwoMatchPlayTest, ATileMissingFromTheSheetIsDrawnFromTheDescription) {
    useSheetWithoutTile1("two-match-described-tile-1", true);
    ASSERT_FALSE(HasFatalFailure());
    start(2, 3);  // level 2 locks row 1
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(_game->getState(), MinigameState::Playing);
    expectEveryTileDrawnAndTappable("first door");
    // Tiles made the way new rows are, from the sheet: kind 1 falls back on the description.
    TwoMatchGrid kinds;
    for (int32_t row = 1; row < TwoMatchGrid::kRows; ++row) {
        for (int32_t column = 0; column < TwoMatchGrid::kColumns; ++column) {
            kinds.set(column, row, 1);
        }
    }
    kinds.set(0, 0, 1);
    kinds.set(1, 0, 1);
    _game->layOut(kinds, 1, 1);
    settle();
    ASSERT_EQ(_game->getState(), MinigameState::Playing);
    expectEveryTileDrawnAndTappable("laid-out door");
    driver().stepFrames(1);
    const cocos2d::Color4B shown = screentest::colourAt(cell(3, 2));
    EXPECT_NEAR(shown.r, kPlainTile.r, 8);
    EXPECT_NEAR(shown.g, kPlainTile.g, 8);
    EXPECT_NEAR(shown.b, kPlainTile.b, 8);
    // The bottom pair taken: the bottom row empties and a new row comes in from the top.
    driver().tap(cell(0, 0));
    driver().stepFrames(1);
    driver().tap(cell(1, 0));
    driver().stepFrames(1);
    ASSERT_TRUE(_game->isInputLocked()) << "the pair was made";
    driver().stepFrames(30);
    settle();
    bool newKind1 = false;
    for (int32_t column = 0; column < TwoMatchGrid::kColumns; ++column) {
        ASSERT_NE(_game->getTile(column, TwoMatchGrid::kRows - 1), nullptr);
        newKind1 = newKind1 || _game->getTile(column, TwoMatchGrid::kRows - 1)->getKind() == 1;
    }
    EXPECT_TRUE(newKind1) << "the new row, drawn with this seed, holds a tile of kind 1";
    expectEveryTileDrawnAndTappable("after a new row");
    screenshot("described");
}

TEST_F(TwoMatchPlayTest, APlayerClearsTheLockedBottomRowAndTheDoorOpens) {
    start(0, 20240611);  // level 0 locks the bottom row
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(_game->getTumbler(0), 1);
    screenshot("start");
    // Between the tiles the door shows; once it is open, the painting behind it.
    const Vec2 gap = (cell(2, 2) + cell(3, 2)) * 0.5f;
    cocos2d::RefPtr<cocos2d::Image> closedDoor = driver().readPixels(around(gap, 6));
    // The door's tiles and orders are random: a player may lose a door, and the host then starts the
    // same level again, as it does here.
    int moves = 0;
    bool dragged = false;
    int attempts = 1;
    for (; attempts <= 10; ++attempts) {
        playUntilDecided(moves, dragged);
        ASSERT_FALSE(HasFatalFailure());
        if (_game->getState() != MinigameState::Lost) {
            break;
        }
        restart();
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_EQ(_game->getTumbler(0), 1);
    }
    EXPECT_TRUE(dragged);
    ASSERT_EQ(_game->getState(), MinigameState::Waiting)
        << "after " << moves << " moves, " << attempts << " doors";
    EXPECT_EQ(_game->getTumbler(0), 0);
    driver().stepFrames(60);
    screenshot("open");
    driver().stepFrames(100);
    EXPECT_EQ(_game->getState(), MinigameState::Won);
    EXPECT_EQ(Settings::getInstance().getCurrentUser().world.minigameWins,
              (std::vector<MinigameLevel>{{0, 0}}));
    cocos2d::RefPtr<cocos2d::Image> openDoor = driver().readPixels(around(gap, 6));
    EXPECT_GT(meanDifference(closedDoor.get(), openDoor.get()), 20.0) << "the painting shows through";
}

TEST_F(TwoMatchPlayTest, APairThatLeavesNoPairForTheNextOrderLosesTheLevel) {
    start(2, 1);  // level 2 locks row 1
    ASSERT_FALSE(HasFatalFailure());
    // One pair of the order's kinds at the bottom left; every other tile a kind 2 with no kind 2 beside
    // it, so the next order, drawn from nothing but 2s, finds no pair.
    TwoMatchGrid kinds;
    const std::vector<std::string> rows = {"2.2.2.2", ".2.2.2.", "2.2.2.2", ".2.2.2.", "01..2.2"};
    for (size_t line = 0; line < rows.size(); ++line) {
        for (size_t column = 0; column < rows[line].size(); ++column) {
            if (rows[line][column] != '.') {
                kinds.set(static_cast<int32_t>(column), 4 - static_cast<int32_t>(line),
                          rows[line][column] - '0');
            }
        }
    }
    _game->layOut(kinds, 0, 1);
    settle();
    ASSERT_EQ(_game->getState(), MinigameState::Playing);
    driver().tap(cell(0, 0));
    driver().stepFrames(1);
    driver().tap(cell(1, 0));
    driver().stepFrames(20);
    EXPECT_EQ(_game->getOrder(), std::make_pair(2, 2));
    EXPECT_EQ(_game->getState(), MinigameState::Playing) << "decided once the new order is in";
    driver().stepFrames(12);
    EXPECT_EQ(_game->getState(), MinigameState::Lost);
    EXPECT_EQ(_game->getTumbler(1), 1);
    screenshot("lost");
    // A lost door takes no more touches.
    driver().tap(cell(4, 0));
    driver().stepFrames(1);
    EXPECT_EQ(_game->getSelectedTile(), nullptr);
    EXPECT_TRUE(Settings::getInstance().getCurrentUser().world.minigameWins.empty());
}

}  // namespace
