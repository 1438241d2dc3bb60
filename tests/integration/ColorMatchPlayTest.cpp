// The colour merging board on a real GL view with the staged resource tree, driven through injected
// touches the way its host drives it: a level played to a win by looking at the board, a board filled
// to a loss, and what it draws.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Driver.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/events/Touch.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SpriteFrameCache.h"

#include "GameSound.h"
#include "MinigameLevel.h"
#include "Profile.h"
#include "Settings.h"
#include "UserData.h"
#include "minigames/ColorMatch.h"
#include "minigames/ColorMatchGrid.h"
#include "minigames/ColorMatchPipe.h"
#include "minigames/CurrentMinigame.h"
#include "ui/JsonDocumentCache.h"
#include "ui/NodeFromJson.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Color4B;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Vec2;
using Cell = ColorMatchGrid::Cell;

constexpr float kCentreX = 1280 / 2.0f;
constexpr float kCentreY = 810 / 2.0f;

// What the host does for a game: one update per frame with the state read right after it, and the
// first touch of a gesture forwarded with its world location.
class TestHost : public cocos2d::Node {
public:
    static TestHost* create() {
        auto* host = new TestHost();
        host->init();
        host->autorelease();
        return host;
    }

    void start(MinigameBase* game) {
        if (_game != nullptr) {
            _game->cleanup();
            removeChild(_game, true);
        }
        _game = game;
        addChild(game, 1);
        game->setPosition(kCentreX, kCentreY);
        _updates = 0;
    }

    bool init() override {
        cocos2d::Node::init();
        scheduleUpdate();
        auto* listener = cocos2d::EventListenerTouchAllAtOnce::create();
        listener->onTouchesBegan = [this](const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
            if (!_touching && _game != nullptr && !touches.empty()) {
                _touching = true;
                _touchId = touches.front()->getID();
                _game->touchBegan(touches.front()->getLocation());
            }
        };
        auto ended = [this](const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
            for (cocos2d::Touch* touch : touches) {
                if (_touching && _game != nullptr && touch->getID() == _touchId) {
                    _touching = false;
                    _game->touchEnded(touch->getLocation());
                }
            }
        };
        listener->onTouchesEnded = ended;
        listener->onTouchesCancelled = ended;
        getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, this);
        return true;
    }

    void update(float dt) override {
        if (_game != nullptr) {
            _game->update(dt);
            ++_updates;
        }
    }

    int updates() const { return _updates; }

private:
    MinigameBase* _game = nullptr;
    bool _touching = false;
    int _touchId = -1;
    int _updates = 0;
};

int pipeCount(const ColorMatchGrid& grid) {
    return 16 - static_cast<int>(grid.freeCells().size());
}

class ColorMatchPlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        cocos2d::FileUtils::destroyInstance();
        cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
        files->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
        _levels = fs::path(testing::Driver::scratchPath("colormatch-levels"));
        fs::remove_all(_levels);
        fs::create_directories(_levels / "minigamelevels");
        files->setSearchPaths({_levels.string() + "/", "src", "res"});
        UserData::getInstance() = UserData{};
        Settings::destroyInstance();
        currentMinigameKind = 1;
        currentMinigameLevel = 0;
        std::srand(7);
        _scene = cocos2d::Scene::create();
        _scene->addChild(cocos2d::LayerColor::create(Color4B(20, 20, 20, 255), 1280, 810), -10);
        _host = TestHost::create();
        _scene->addChild(_host);
        cocos2d::Director::getInstance()->replaceScene(_scene);
        driver().stepFrames(1);
    }

    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".png"));
        }
        driver().stopCapturingLog();
        cocos2d::Director::getInstance()->replaceScene(cocos2d::Scene::create());
        driver().stepFrames(2);
        fs::remove_all(_levels);
    }

    static testing::Driver& driver() { return testing::Driver::get(); }

    void writeLevel(int level, const std::string& text) {
        std::ofstream(_levels / "minigamelevels" / ("ColorMatch_" + std::to_string(level) + ".xml")) << text;
        cocos2d::FileUtils::getInstance()->purgeCachedEntries();
    }

    ColorMatch* startGame(int level) {
        currentMinigameLevel = level;
        ColorMatch* game = ColorMatch::create();
        if (game != nullptr) {
            _host->start(game);
            driver().stepFrames(1);
        }
        return game;
    }

    // A swipe of the first finger from one point of the screen to another (design points, y up).
    void swipe(const Vec2& from, const Vec2& to) {
        driver().touchBegan(from);
        driver().stepFrames(1);
        driver().touchMoved((from + to) * 0.5f);
        driver().stepFrames(1);
        driver().touchEnded(to);
        driver().stepFrames(1);
    }

    void swipe(ColorMatchDirection direction, float length = 200.0f) {
        const Vec2 centre(kCentreX, kCentreY);
        Vec2 offset;
        switch (direction) {
            case ColorMatchDirection::Up:
                offset = Vec2(0, length);
                break;
            case ColorMatchDirection::Down:
                offset = Vec2(0, -length);
                break;
            case ColorMatchDirection::Left:
                offset = Vec2(-length, 0);
                break;
            case ColorMatchDirection::Right:
                offset = Vec2(length, 0);
                break;
        }
        swipe(centre - offset * 0.5f, centre + offset * 0.5f);
    }

    // Frames until the board takes input again or the level is decided; -1 after two seconds.
    int settle(ColorMatch* game) {
        for (int frame = 1; frame <= 120; ++frame) {
            driver().stepFrames(1);
            if (game->getState() != MinigameState::Waiting) {
                return frame;
            }
        }
        return -1;
    }

    static std::vector<MinigameLevel>& wins() {
        return Settings::getInstance().getCurrentUser().world.minigameWins;
    }

    // The mean colour of a square of the screen around a design point.
    static Color4B meanAround(const Vec2& designPoint, float half) {
        RefPtr<cocos2d::Image> image = driver().readPixels(
            Rect(designPoint.x - half, 810.0f - designPoint.y - half, half * 2.0f, half * 2.0f));
        if (!image) {
            return Color4B(0, 0, 0, 0);
        }
        long sum[3] = {0, 0, 0};
        const int n = image->getWidth() * image->getHeight();
        for (int y = 0; y < image->getHeight(); ++y) {
            for (int x = 0; x < image->getWidth(); ++x) {
                const Color4B c = image->getPixel(x, y);
                sum[0] += c.r;
                sum[1] += c.g;
                sum[2] += c.b;
            }
        }
        return Color4B(static_cast<uint8_t>(sum[0] / n), static_cast<uint8_t>(sum[1] / n),
                       static_cast<uint8_t>(sum[2] / n), 255);
    }

    static Vec2 screenPointOf(ColorMatch* game, const Cell& cell) {
        return game->convertToWorldSpace(game->cellPosition(cell.column, cell.row));
    }

    fs::path _levels;
    cocos2d::Scene* _scene = nullptr;
    TestHost* _host = nullptr;
};

// The smears' y positions as the description lays them out.
struct ScaleLayout {
    float first = 0.0f;
    float step = 0.0f;
    float centre = 0.0f;
};

ScaleLayout describedScale() {
    NodeFromJson loader("Minigames/ColorMatch");
    RefPtr<cocos2d::Node> ui(loader.createNode("UI"));
    ScaleLayout layout;
    if (ui && ui->getChildByName("smear_0") && ui->getChildByName("smear_1") &&
        ui->getChildByName("smear_9")) {
        layout.first = ui->getChildByName("smear_0")->getPositionY();
        layout.step = layout.first - ui->getChildByName("smear_1")->getPositionY();
        layout.centre = (layout.first + ui->getChildByName("smear_9")->getPositionY()) / 2.0f;
    }
    return layout;
}

int brightness(const Color4B& c) {
    return (c.r + c.g + c.b) / 3;
}

// Every occupied cell has one pipe node of its colour standing at the cell's centre with a picture, and
// no empty cell has one.
void expectPipesMatchTheGrid(ColorMatch* game) {
    const ColorMatchGrid& grid = game->getGrid();
    for (int32_t column = 0; column < 4; ++column) {
        for (int32_t row = 0; row < 4; ++row) {
            SCOPED_TRACE("cell " + std::to_string(column) + "," + std::to_string(row));
            const int32_t colour = grid.colourAt(Cell{column, row});
            ColorMatchPipe* pipe = game->pipeAt(column, row);
            if (colour == ColorMatchGrid::kEmpty) {
                EXPECT_EQ(pipe, nullptr);
                continue;
            }
            ASSERT_NE(pipe, nullptr);
            EXPECT_EQ(pipe->getColour(), colour);
            EXPECT_EQ(pipe->getColumn(), column);
            EXPECT_EQ(pipe->getRow(), row);
            EXPECT_NE(pipe->getSprite(), nullptr);
            EXPECT_EQ(pipe->getPosition(), game->cellPosition(column, row));
            EXPECT_FLOAT_EQ(pipe->getScale(), 1.0f);
            EXPECT_EQ(pipe->getParent(), game);
        }
    }
}

TEST_F(ColorMatchPlayTest, LevelZeroShowsTheScaleUpToItsTargetAndItsStartingPipes) {
    ColorMatch* game = startGame(0);
    ASSERT_NE(game, nullptr);
    driver().stepFrames(2);
    driver().saveScreenshot(testing::Driver::outputPath("ColorMatch_level0.png"));
    EXPECT_EQ(game->getState(), MinigameState::Playing);
    EXPECT_EQ(game->getTargetColour(), 3);
    EXPECT_EQ(game->getLevel().startColors, (std::vector<int32_t>{1, 1, 2}));
    EXPECT_EQ(pipeCount(game->getGrid()), 3);
    expectPipesMatchTheGrid(game);

    // Smears 0 to 3 keep their spacing, centred on the middle of the full scale; 4 to 9 are hidden.
    const ScaleLayout layout = describedScale();
    ASSERT_GT(layout.step, 0.0f);
    for (int32_t i = 0; i < 10; ++i) {
        ASSERT_NE(game->getSmear(i), nullptr);
        EXPECT_EQ(game->getSmear(i)->isVisible(), i < 4) << i;
    }
    EXPECT_FLOAT_EQ(game->getSmear(0)->getPositionY() - game->getSmear(1)->getPositionY(), layout.step);
    EXPECT_FLOAT_EQ((game->getSmear(0)->getPositionY() + game->getSmear(3)->getPositionY()) / 2.0f,
                    layout.centre);

    // Pipes are drawn in their cells, the other cells show the dark board.
    for (int32_t column = 0; column < 4; ++column) {
        for (int32_t row = 0; row < 4; ++row) {
            const int level = brightness(meanAround(screenPointOf(game, Cell{column, row}), 30.0f));
            if (game->getGrid().colourAt(Cell{column, row}) == ColorMatchGrid::kEmpty) {
                EXPECT_LT(level, 90) << column << "," << row;
            } else {
                EXPECT_GT(level, 150) << column << "," << row;
            }
        }
    }
}

// Chooses the swipe a careful player would make: the one that reaches the highest colour, then merges
// most, then leaves most room.
std::optional<ColorMatchDirection> bestMove(const ColorMatchGrid& grid) {
    std::optional<ColorMatchDirection> best;
    int bestScore = -1;
    for (const ColorMatchDirection d : {ColorMatchDirection::Down, ColorMatchDirection::Left,
                                        ColorMatchDirection::Right, ColorMatchDirection::Up}) {
        ColorMatchGrid copy = grid;
        const ColorMatchGrid::MoveResult result = copy.move(d);
        if (!result.changed) {
            continue;
        }
        int merges = 0;
        for (const auto& step : result.steps) {
            merges += step.kind == ColorMatchGrid::Step::Kind::Merge ? 1 : 0;
        }
        const int score = copy.topColour() * 1000 + merges * 50 + static_cast<int>(copy.freeCells().size());
        if (score > bestScore) {
            bestScore = score;
            best = d;
        }
    }
    return best;
}

TEST_F(ColorMatchPlayTest, LevelZeroPlayedToAWinByLookingAtTheBoard) {
    ColorMatch* game = startGame(0);
    ASSERT_NE(game, nullptr);
    int moves = 0;
    while (game->getState() == MinigameState::Playing && moves < 200) {
        const std::optional<ColorMatchDirection> move = bestMove(game->getGrid());
        ASSERT_TRUE(move) << "no swipe changes the board";
        ColorMatchGrid expected = game->getGrid();
        const ColorMatchGrid::MoveResult result = expected.move(*move);
        int merges = 0;
        for (const auto& step : result.steps) {
            merges += step.kind == ColorMatchGrid::Step::Kind::Merge ? 1 : 0;
        }
        const int before = pipeCount(game->getGrid());
        swipe(*move);
        ++moves;
        ASSERT_EQ(game->getState(), MinigameState::Waiting) << "move " << moves;
        ASSERT_GT(settle(game), 0);
        if (game->getState() == MinigameState::Won) {
            EXPECT_EQ(pipeCount(game->getGrid()), before - merges);
            break;
        }
        ASSERT_EQ(game->getState(), MinigameState::Playing);
        // The move as the rules make it, then one new pipe of colour 0.
        EXPECT_EQ(pipeCount(game->getGrid()), before - merges + 1);
        driver().stepFrames(15);  // the last animations end
        expectPipesMatchTheGrid(game);
    }
    driver().saveScreenshot(testing::Driver::outputPath("ColorMatch_won.png"));
    EXPECT_EQ(game->getState(), MinigameState::Won);
    EXPECT_TRUE(game->isInputLocked());
    EXPECT_GE(game->getGrid().topColour(), 3);
    EXPECT_EQ(wins(), (std::vector<MinigameLevel>{{1, 0}}));
    EXPECT_GT(moves, 3);
    // A decided board takes no more swipes.
    const std::string before = std::to_string(pipeCount(game->getGrid()));
    swipe(ColorMatchDirection::Up);
    swipe(ColorMatchDirection::Left);
    driver().stepFrames(30);
    EXPECT_EQ(std::to_string(pipeCount(game->getGrid())), before);
    EXPECT_EQ(wins().size(), 1u);
}

TEST_F(ColorMatchPlayTest, AFullBoardThatNoSwipeCanChangeLoses) {
    // Fifteen pipes of eight colours below the target. The seed is chosen so that the pipes fall with
    // no pair side by side and the hole at an edge; then one swipe slides a pipe into the hole, the new
    // pipe fills the last cell, and no swipe could change the board any more.
    const std::vector<int32_t> names = {2, 3, 4, 5, 6, 7, 8, 9, 2, 3, 4, 5, 6, 7, 8};
    std::string level = "<Level maxcolor=\"10\">";
    for (const int32_t name : names) {
        level += "<" + std::to_string(name) + "/>";
    }
    writeLevel(5, level + "</Level>");
    ColorMatchDirection still = ColorMatchDirection::Down;
    ColorMatchDirection moving = ColorMatchDirection::Down;
    unsigned seed = 0;
    for (unsigned candidate = 1; candidate < 5000 && seed == 0; ++candidate) {
        std::srand(candidate);
        ColorMatchGrid board;
        for (const int32_t name : names) {
            board.place(name - 1, std::rand());
        }
        bool haveStill = false;
        bool haveMoving = false;
        for (const ColorMatchDirection d : {ColorMatchDirection::Down, ColorMatchDirection::Left,
                                            ColorMatchDirection::Right, ColorMatchDirection::Up}) {
            ColorMatchGrid copy = board;
            const bool changed = copy.move(d).changed;
            (changed ? moving : still) = d;
            (changed ? haveMoving : haveStill) = true;
        }
        if (haveStill && haveMoving) {
            board.move(moving);
            board.place(0, std::rand());
            seed = board.isStuck() ? candidate : 0;
        }
    }
    ASSERT_NE(seed, 0u);
    std::srand(seed);
    ColorMatch* game = startGame(5);
    ASSERT_NE(game, nullptr);
    ASSERT_EQ(game->getGrid().freeCells().size(), 1u);

    // Towards a side where every pipe already lies: nothing happens at all.
    swipe(still);
    driver().stepFrames(30);
    EXPECT_EQ(game->getState(), MinigameState::Playing);
    EXPECT_EQ(pipeCount(game->getGrid()), 15);

    // A pipe slides into the hole and the new pipe takes the cell it left: a loss, once it has grown.
    swipe(moving);
    EXPECT_EQ(game->getState(), MinigameState::Waiting);
    ASSERT_GT(settle(game), 0);
    driver().saveScreenshot(testing::Driver::outputPath("ColorMatch_lost.png"));
    EXPECT_EQ(game->getState(), MinigameState::Lost);
    EXPECT_TRUE(game->isInputLocked());
    EXPECT_EQ(pipeCount(game->getGrid()), 16);
    EXPECT_TRUE(game->getGrid().isStuck());
    EXPECT_TRUE(wins().empty());
}

int mergesOf(const ColorMatchGrid::MoveResult& result) {
    int merges = 0;
    for (const auto& step : result.steps) {
        merges += step.kind == ColorMatchGrid::Step::Kind::Merge ? 1 : 0;
    }
    return merges;
}

// The first swipe whose move merges exactly that many pairs (0: slides only), if any.
std::optional<ColorMatchDirection> moveWithMerges(const ColorMatchGrid& grid, int merges) {
    for (const ColorMatchDirection d : {ColorMatchDirection::Down, ColorMatchDirection::Left,
                                        ColorMatchDirection::Right, ColorMatchDirection::Up}) {
        ColorMatchGrid copy = grid;
        const auto result = copy.move(d);
        if (result.changed && mergesOf(result) == merges) {
            return d;
        }
    }
    return std::nullopt;
}

TEST_F(ColorMatchPlayTest, AMoveWaitsForItsAnimationsBeforeTheNewPipeAndTheNextSwipe) {
    writeLevel(6, "<Level maxcolor=\"10\"><1/><4/><7/></Level>");
    ColorMatch* game = startGame(6);
    ASSERT_NE(game, nullptr);
    // Frames from the swipe's release until the new pipe appears, and until input is taken again.
    struct Timing {
        int spawn = -1;
        int play = -1;
    };
    auto timeMove = [&](ColorMatchDirection d) {
        ColorMatchGrid copy = game->getGrid();
        const int expected = pipeCount(game->getGrid()) - mergesOf(copy.move(d)) + 1;
        swipe(d);
        Timing timing;
        for (int frame = 1; frame <= 90; ++frame) {
            if (timing.spawn < 0 && pipeCount(game->getGrid()) == expected) {
                timing.spawn = frame;
            }
            if (game->getState() == MinigameState::Playing) {
                timing.play = frame;
                break;
            }
            driver().stepFrames(1);
        }
        return timing;
    };
    // No pair on the board: a move that only slides. 0.2 s to the new pipe (12 frames at 60 per
    // second, one of them the release's own), then 0.25 s until input is taken again.
    const std::optional<ColorMatchDirection> slide = moveWithMerges(game->getGrid(), 0);
    ASSERT_TRUE(slide);
    const Timing sliding = timeMove(*slide);
    EXPECT_NEAR(sliding.spawn, 12, 1);
    EXPECT_NEAR(sliding.play - sliding.spawn, 15, 1);

    // Play on until a move merges one pair: 0.4 s to the new pipe, then 0.25 s.
    bool timedMerge = false;
    for (int moves = 0; moves < 30 && !timedMerge; ++moves) {
        if (const auto merge = moveWithMerges(game->getGrid(), 1)) {
            const Timing merging = timeMove(*merge);
            EXPECT_NEAR(merging.spawn, 24, 1);
            EXPECT_NEAR(merging.play - merging.spawn, 15, 1);
            timedMerge = true;
        } else if (const auto any = bestMove(game->getGrid())) {
            swipe(*any);
            ASSERT_GT(settle(game), 0);
        }
    }
    EXPECT_TRUE(timedMerge);
}

TEST_F(ColorMatchPlayTest, ATouchBegunWhileTheBoardWaitsIsMeasuredFromTheLastAcceptedStart) {
    writeLevel(2, "<Level maxcolor=\"10\"><1/><2/><3/><4/><5/></Level>");
    ColorMatch* game = startGame(2);
    ASSERT_NE(game, nullptr);
    std::optional<ColorMatchDirection> first = bestMove(game->getGrid());
    ASSERT_TRUE(first);
    const Vec2 start(kCentreX - 100, kCentreY);
    driver().touchBegan(start);
    driver().stepFrames(1);
    const Vec2 firstEnd = start + (*first == ColorMatchDirection::Left    ? Vec2(-150, 0)
                                   : *first == ColorMatchDirection::Right ? Vec2(150, 0)
                                   : *first == ColorMatchDirection::Up    ? Vec2(0, 150)
                                                                          : Vec2(0, -150));
    driver().touchEnded(firstEnd);
    driver().stepFrames(1);
    ASSERT_EQ(game->getState(), MinigameState::Waiting);
    // Begun while waiting, 300 above the accepted start: its start is not recorded.
    driver().touchBegan(start + Vec2(0, 300));
    driver().stepFrames(1);
    ASSERT_GT(settle(game), 0);
    ASSERT_EQ(game->getState(), MinigameState::Playing);
    // Ended 260 right of the accepted start (and 300 below the refused one): a move to the right.
    ColorMatchGrid right = game->getGrid();
    ColorMatchGrid down = game->getGrid();
    ASSERT_TRUE(right.move(ColorMatchDirection::Right).changed);
    down.move(ColorMatchDirection::Down);
    bool movesDiffer = false;
    for (int32_t i = 0; i < 16; ++i) {
        movesDiffer = movesDiffer || right.colourAt(Cell{i / 4, i % 4}) != down.colourAt(Cell{i / 4, i % 4});
    }
    ASSERT_TRUE(movesDiffer) << "measured from the refused start the swipe would be the same move";
    driver().touchEnded(start + Vec2(260, 0));
    driver().stepFrames(1);
    EXPECT_EQ(game->getState(), MinigameState::Waiting);
    for (int32_t i = 0; i < 16; ++i) {
        EXPECT_EQ(game->getGrid().colourAt(Cell{i / 4, i % 4}), right.colourAt(Cell{i / 4, i % 4})) << i;
    }
}

TEST_F(ColorMatchPlayTest, BrokenAndHostileLevelFilesStillGiveAPlayableBoard) {
    writeLevel(3, "<Level maxcolor=\"5\"><1/>");
    std::string crowded = "<Level maxcolor=\"77\">";
    for (int i = 0; i < 30; ++i) {
        crowded += "<3/>";
    }
    writeLevel(4, crowded + "<0/><-4/><123456789012/></Level>");
    std::vector<std::string>& log = driver().captureLog();

    ColorMatch* broken = startGame(3);
    ASSERT_NE(broken, nullptr);
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& line) {
                                return line.rfind("Load minigamelevels/ColorMatch_3.xml list: ", 0) == 0;
                            }),
              1);
    EXPECT_EQ(broken->getTargetColour(), 3);
    EXPECT_EQ(pipeCount(broken->getGrid()), 2);
    EXPECT_EQ(broken->getGrid().topColour(), 1);
    expectPipesMatchTheGrid(broken);

    log.clear();
    ColorMatch* crowdedGame = startGame(4);
    ASSERT_NE(crowdedGame, nullptr);
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& line) { return line.rfind("ColorMatch level ", 0) == 0; }),
              1);
    EXPECT_EQ(crowdedGame->getTargetColour(), 9);
    EXPECT_EQ(pipeCount(crowdedGame->getGrid()), 16);
    for (int32_t i = 0; i < 10; ++i) {
        EXPECT_TRUE(crowdedGame->getSmear(i)->isVisible()) << i;
    }
    expectPipesMatchTheGrid(crowdedGame);
    // Sixteen pipes of colour 2: every swipe merges.
    swipe(ColorMatchDirection::Left);
    ASSERT_GT(settle(crowdedGame), 0);
    EXPECT_EQ(crowdedGame->getState(), MinigameState::Playing);
    EXPECT_EQ(pipeCount(crowdedGame->getGrid()), 9);
    driver().stepFrames(15);
    expectPipesMatchTheGrid(crowdedGame);
}

TEST_F(ColorMatchPlayTest, ASwipeBegunWhileInputIsLockedStartsNothing) {
    ColorMatch* game = startGame(0);
    ASSERT_NE(game, nullptr);
    const std::optional<ColorMatchDirection> move = bestMove(game->getGrid());
    ASSERT_TRUE(move);
    const ColorMatchGrid before = game->getGrid();
    game->setInputLocked(true);
    swipe(*move);
    driver().stepFrames(30);
    EXPECT_EQ(game->getState(), MinigameState::Playing);
    for (int32_t i = 0; i < 16; ++i) {
        EXPECT_EQ(game->getGrid().colourAt(Cell{i / 4, i % 4}), before.colourAt(Cell{i / 4, i % 4})) << i;
    }
    game->setInputLocked(false);
    swipe(*move);
    EXPECT_EQ(game->getState(), MinigameState::Waiting);
}

TEST_F(ColorMatchPlayTest, StopCancelsThePendingEndOfAMove) {
    ColorMatch* game = startGame(0);
    ASSERT_NE(game, nullptr);
    const std::optional<ColorMatchDirection> move = bestMove(game->getGrid());
    ASSERT_TRUE(move);
    ColorMatchGrid expected = game->getGrid();
    expected.move(*move);
    swipe(*move);
    ASSERT_EQ(game->getState(), MinigameState::Waiting);
    game->stop();
    driver().stepFrames(90);
    EXPECT_EQ(game->getState(), MinigameState::Waiting);
    EXPECT_TRUE(game->isInputLocked());
    EXPECT_EQ(pipeCount(game->getGrid()), pipeCount(expected));  // no new pipe
    // The pipes' own animations ran to their end.
    expectPipesMatchTheGrid(game);
}

TEST_F(ColorMatchPlayTest, ANewBoardReleasesAndReloadsItsResourcesEvenOnARestart) {
    ColorMatch* first = startGame(0);
    ASSERT_NE(first, nullptr);
    std::vector<std::string>& log = driver().captureLog();
    first->setRestart(true);
    ColorMatch* second = ColorMatch::create();
    ASSERT_NE(second, nullptr);
    log.clear();
    // The host's order: the old board goes, then the new one is created; here the new one already
    // exists, so its frames are released under it. Its new pipes must still get their pictures.
    _host->start(second);
    driver().stepFrames(1);
    const auto count = [&](const std::string& prefix) {
        return std::count_if(log.begin(), log.end(),
                             [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
    };
    EXPECT_EQ(count("~ColorMatch"), 1);
    EXPECT_EQ(count("after clear\n"), 1);
    EXPECT_EQ(count("=== MinigameBase::~MinigameBase ==="), 1);
    EXPECT_EQ(cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName("pipe_0.png"), nullptr);

    const std::optional<ColorMatchDirection> move = bestMove(second->getGrid());
    ASSERT_TRUE(move);
    swipe(*move);
    ASSERT_GT(settle(second), 0);
    driver().stepFrames(15);
    expectPipesMatchTheGrid(second);
    driver().saveScreenshot(testing::Driver::outputPath("ColorMatch_restarted.png"));
}

}  // namespace
