// The jigsaw's rules on the real engine over a windowless view: its real description from the staged
// resource tree; level files and pictures written into a temporary resource root that is searched
// first.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/base/RefPtr.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrameCache.h"

#include "GameSound.h"
#include "MinigameLevel.h"
#include "Profile.h"
#include "Settings.h"
#include "minigames/CurrentMinigame.h"
#include "minigames/JigsawPipe.h"
#include "minigames/JigsawPuzzle.h"
#include "ui/JsonDocumentCache.h"
#include "ui/NodeFromJson.h"
#include "../../engine/HeadlessEngine.h"
#include "../SaveTestSupport.h"

namespace {

using cocos2d::Vec2;

class JigsawPuzzleTest : public enginetest::HeadlessEngine {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        HeadlessEngine::SetUp();
        resetServices();
        cocos2d::FileUtils::getInstance()->setResourceRoot(_folder.path());
        cocos2d::FileUtils::getInstance()->setSearchPaths({std::string(KESTROVA_RESOURCE_DIR) + "/res/"});
        std::filesystem::create_directories(_folder.file("minigamelevels"));
        savetest::resetGameState();
        currentMinigameKind = 4;
        currentMinigameLevel = 12;
        std::srand(11);
        scene = cocos2d::Scene::create();
        director()->runWithScene(scene);
        step();
    }

    void TearDown() override {
        game = nullptr;
        cocos2d::setLogSink({});
        director()->end();
        step();
        HeadlessEngine::TearDown();
        resetServices();
        savetest::resetGameState();
    }

    static void resetServices() {
        cocos2d::SpriteFrameCache::destroyInstance();
        JsonDocumentCache::destroyInstance();
        GameSound::destroyInstance();
        cocos2d::FileUtils::destroyInstance();
    }

    void writeText(const std::string& path, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(_folder.file(path)).parent_path());
        savetest::writeFileText(_folder.file(path), text);
        cocos2d::FileUtils::getInstance()->purgeCachedEntries();
    }

    // A picture whose every pixel tells where it lies: red is x / 4, green is y / 4 (from the top).
    void writePicture(const std::string& path, int width, int height) {
        std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                unsigned char* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
                p[0] = static_cast<unsigned char>(x / 4);
                p[1] = static_cast<unsigned char>(y / 4);
                p[2] = 0;
                p[3] = 255;
            }
        }
        cocos2d::RefPtr<cocos2d::Image> image(cocos2d::Image::create());
        ASSERT_TRUE(image->initWithRawData(pixels.data(), pixels.size(), width, height));
        std::filesystem::create_directories(std::filesystem::path(_folder.file(path)).parent_path());
        ASSERT_TRUE(image->saveToFile(_folder.file(path)));
        cocos2d::FileUtils::getInstance()->purgeCachedEntries();
    }

    // Level 12 of the jigsaw, the level the tests play.
    void writeLevel(int width, int height, int pipeSize, const std::string& picture) {
        writeText("minigamelevels/JigsawPuzzle.xml",
                  "<Levels><Level number=\"12\" width=\"" + std::to_string(width) + "\" height=\"" +
                      std::to_string(height) + "\" pipesize=\"" + std::to_string(pipeSize) +
                      "\" picturename=\"" + picture + "\"/></Levels>");
    }

    JigsawPuzzle* start() {
        game = JigsawPuzzle::create();
        if (game != nullptr) {
            game->setPosition(visibleCenter());
            scene->addChild(game.get());
        }
        return game.get();
    }

    Vec2 worldOf(const Vec2& picturePoint) const {
        return game->getPicture()->convertToWorldSpace(picturePoint);
    }
    Vec2 cellWorld(int column, int row) const { return worldOf(game->cellPosition(column, row)); }

    void tapCell(int column, int row) {
        game->touchBegan(cellWorld(column, row));
        game->touchEnded(cellWorld(column, row));
    }

    // Frames until the glide of a swap is over and input is free again (or `limit` frames).
    int waitForInput(int limit = 120) {
        for (int f = 1; f <= limit; ++f) {
            step();
            if (!game->isInputLocked()) {
                return f;
            }
        }
        return -1;
    }

    std::pair<int, int> cellOfTile(int homeColumn, int homeRow) const {
        for (int i = 0; i < game->getColumns(); ++i) {
            for (int j = 0; j < game->getRows(); ++j) {
                const JigsawPipe* tile = game->tileAt(i, j);
                if (tile->homeColumn == homeColumn && tile->homeRow == homeRow) {
                    return {i, j};
                }
            }
        }
        return {-1, -1};
    }

    // Taps pairs until every tile is home; the number of swaps it took.
    int solveByTaps() {
        int swaps = 0;
        for (int i = 0; i < game->getColumns(); ++i) {
            for (int j = 0; j < game->getRows(); ++j) {
                const JigsawPipe* tile = game->tileAt(i, j);
                if (tile->homeColumn == i && tile->homeRow == j) {
                    continue;
                }
                const auto [ci, cj] = cellOfTile(i, j);
                tapCell(ci, cj);
                tapCell(i, j);
                ++swaps;
                if (game->getState() == MinigameState::Playing) {
                    EXPECT_GT(waitForInput(), 0);
                }
            }
        }
        return swaps;
    }

    cocos2d::Scene* scene = nullptr;
    cocos2d::RefPtr<JigsawPuzzle> game;
    savetest::TempFolder _folder;
};

TEST(JigsawLayoutTest, TilesFitThePictureWithEvenMargins) {
    struct Case {
        int wide, high, columns, rows, pipeSize;
        bool ok;
        int cell, marginX, marginY;
    };
    const std::vector<Case> cases = {
        {1000, 600, 5, 3, 0, true, 200, 0, 0},
        {1000, 600, 4, 4, 0, true, 150, 200, 0},
        {960, 600, 10, 6, 0, true, 96, 0, 12},
        {960, 600, 3, 2, -5, true, 300, 30, 0},
        {960, 600, 3, 2, 100, true, 100, 330, 200},
        {960, 600, 3, 2, 300, true, 300, 30, 0},
        // Tiles too large for the picture would be cut from outside its texture.
        {960, 600, 3, 2, 301, true, 300, 30, 0},
        {101, 51, 2, 1, 0, true, 50, 0, 0},
        {3, 2, 3, 2, 0, true, 1, 0, 0},
        {2, 2, 3, 2, 0, false, 0, 0, 0},
        {0, 600, 3, 2, 0, false, 0, 0, 0},
        {960, 600, 0, 2, 0, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.wide) + "x" + std::to_string(c.high) + " " + std::to_string(c.columns) +
                     "x" + std::to_string(c.rows) + " /" + std::to_string(c.pipeSize));
        JigsawPuzzle::Layout layout;
        ASSERT_EQ(JigsawPuzzle::layoutFor(c.wide, c.high, c.columns, c.rows, c.pipeSize, layout), c.ok);
        if (c.ok) {
            EXPECT_EQ(layout.cellSize, c.cell);
            EXPECT_EQ(layout.marginX, c.marginX);
            EXPECT_EQ(layout.marginY, c.marginY);
        }
    }
}

TEST_F(JigsawPuzzleTest, ThePictureIsCutIntoTilesDealtOnceEachOverTheGrid) {
    writePicture("pictures/wide.png", 1000, 600);
    writeLevel(4, 4, 0, "pictures/wide.png");
    ASSERT_NE(start(), nullptr);
    EXPECT_EQ(game->getState(), MinigameState::Playing);
    EXPECT_FALSE(game->isInputLocked());
    EXPECT_EQ(game->getPictureFile(), "pictures/wide.png");
    ASSERT_EQ(game->getCellSize(), 150);
    // The picture shows only the 600 x 600 the tiles are cut from, so cell (0, 0) sits in its corner.
    EXPECT_EQ(game->getBoardOrigin(), Vec2(75, 75));
    cocos2d::Sprite* picture = game->getPicture();
    EXPECT_EQ(picture->getParent(), game.get());
    EXPECT_EQ(picture->getPosition(), Vec2(0, JigsawPuzzle::kBoardLift));
    EXPECT_EQ(picture->getTextureRect(), cocos2d::Rect(200.0f, 0.0f, 600.0f, 600.0f));
    EXPECT_EQ(picture->getContentSize(), cocos2d::Size(600.0f, 600.0f));
    ASSERT_EQ(game->getTiles().size(), 16u);
    std::set<const JigsawPipe*> dealt;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const JigsawPipe* tile = game->tileAt(i, j);
            ASSERT_NE(tile, nullptr);
            dealt.insert(tile);
            EXPECT_EQ(tile->getPosition(), Vec2(150.0f * i + 75.0f, 150.0f * j + 75.0f));
        }
    }
    EXPECT_EQ(dealt.size(), 16u) << "every tile dealt once";
    size_t index = 0;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            SCOPED_TRACE(std::to_string(i) + "," + std::to_string(j));
            const JigsawPipe* tile = game->getTiles()[index++];
            EXPECT_EQ(tile->homeColumn, i) << "cut column by column";
            EXPECT_EQ(tile->homeRow, j);
            EXPECT_EQ(tile->getParent(), picture);
            EXPECT_EQ(tile->getLocalZOrder(), 1);
            EXPECT_EQ(tile->getTexture(), picture->getTexture());
            // Texture rows count from the top: the bottom row of the grid is the texture's last band.
            EXPECT_EQ(tile->getTextureRect(),
                      cocos2d::Rect(200.0f + 150.0f * i, 150.0f * (3 - j), 150.0f, 150.0f));
        }
    }
    EXPECT_EQ(game->tileAt(4, 0), nullptr);
    EXPECT_EQ(game->tileAt(0, -1), nullptr);
}

TEST_F(JigsawPuzzleTest, TheSilhouetteIsTheDarkenedBackgroundBehindTheBoard) {
    writePicture("pictures/wide.png", 1000, 600);
    writeLevel(5, 3, 0, "pictures/wide.png");
    ASSERT_NE(start(), nullptr);
    auto* background = dynamic_cast<cocos2d::Sprite*>(game->getBackground());
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->getParent(), game.get());
    cocos2d::Sprite* silhouette = game->getSilhouette();
    ASSERT_NE(silhouette, nullptr);
    EXPECT_EQ(silhouette->getParent(), game->getPicture());
    EXPECT_EQ(silhouette->getLocalZOrder(), 0);
    EXPECT_EQ(silhouette->getTexture(), background->getTexture());
    EXPECT_EQ(silhouette->getColor(), cocos2d::Color3B(80, 80, 80));
    // The background is 1280 x 810 and the picture 1000 x 600 with no margins, raised above the centre:
    // the board lies 140 pixels in from the background's sides and 105 less the lift from its top.
    EXPECT_EQ(silhouette->getTextureRect(),
              cocos2d::Rect(140.0f, 105.0f - JigsawPuzzle::kBoardLift, 1000.0f, 600.0f));
    EXPECT_EQ(silhouette->getPosition(), Vec2(500.0f, 300.0f));
}

TEST_F(JigsawPuzzleTest, TheBorderFramesThePictureOnItsFourEdges) {
    writePicture("pictures/wide.png", 1000, 600);
    writeLevel(5, 3, 0, "pictures/wide.png");
    ASSERT_NE(start(), nullptr);
    std::vector<cocos2d::Node*> sides;
    std::vector<cocos2d::Node*> corners;
    for (cocos2d::Node* child : game->getPicture()->getChildren()) {
        if (child->getName() == "border_side") {
            sides.push_back(child);
        } else if (child->getName() == "border_corner") {
            corners.push_back(child);
        }
    }
    ASSERT_EQ(sides.size(), 4u);
    ASSERT_EQ(corners.size(), 4u);
    struct Piece {
        Vec2 anchor;
        float rotation;
        float scaleX;
        Vec2 position;
    };
    const float sw = sides[0]->getContentSize().width;
    const std::vector<Piece> expectedSides = {{{0, 0}, -90, 599 / sw, {1, 1}},
                                              {{1, 0}, 90, 599 / sw, {999, 1}},
                                              {{0, 0}, 0, 999 / sw, {1, 599}},
                                              {{1, 0}, 180, 999 / sw, {1, 1}}};
    const std::vector<Piece> expectedCorners = {{{1, 0}, -90, 1, {1, 1}},
                                                {{1, 0}, 0, 1, {1, 599}},
                                                {{1, 0}, 90, 1, {999, 599}},
                                                {{1, 0}, 180, 1, {999, 1}}};
    for (size_t k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        for (const auto& [node, piece] :
             {std::pair{sides[k], expectedSides[k]}, std::pair{corners[k], expectedCorners[k]}}) {
            EXPECT_EQ(node->getLocalZOrder(), 3);
            EXPECT_EQ(node->getAnchorPoint(), piece.anchor);
            EXPECT_FLOAT_EQ(node->getRotation(), piece.rotation);
            EXPECT_FLOAT_EQ(node->getScaleX(), piece.scaleX);
            EXPECT_EQ(node->getPosition(), piece.position);
        }
    }
}

TEST_F(JigsawPuzzleTest, PointsFindTheirCellsAndNothingOutsideTheGrid) {
    writePicture("pictures/wide.png", 1000, 600);
    writeLevel(4, 4, 0, "pictures/wide.png");  // cells of 150 over the shown 600 x 600
    ASSERT_NE(start(), nullptr);
    struct Case {
        Vec2 point;
        bool inside;
        int column, row;
    };
    const std::vector<Case> cases = {
        {{75, 75}, true, 0, 0},      {{0, 0}, true, 0, 0},           {{149.9f, 149.9f}, true, 0, 0},
        {{150, 150}, true, 1, 1},    {{599.9f, 599.9f}, true, 3, 3}, {{-0.1f, 300}, false, 0, 0},
        {{300, -0.1f}, false, 0, 0}, {{600, 300}, false, 0, 0},      {{300, 600}, false, 0, 0},
        {{-1e9f, 5}, false, 0, 0},   {{1e30f, 1e30f}, false, 0, 0},  {{std::nanf(""), 10}, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.point.x) + "," + std::to_string(c.point.y));
        int column = -7;
        int row = -7;
        ASSERT_EQ(game->cellAt(c.point, column, row), c.inside);
        if (c.inside) {
            EXPECT_EQ(column, c.column);
            EXPECT_EQ(row, c.row);
        }
    }
}

TEST_F(JigsawPuzzleTest, TapsSelectUnselectAndSwapWithAGlideThatLocksInput) {
    writePicture("pictures/wide.png", 1000, 600);
    writeLevel(4, 4, 0, "pictures/wide.png");
    ASSERT_NE(start(), nullptr);
    JigsawPipe* a = game->tileAt(0, 0);
    JigsawPipe* b = game->tileAt(3, 2);
    JigsawPipe* other = game->tileAt(1, 1);

    tapCell(0, 0);
    EXPECT_EQ(game->getSelectedTile(), a);
    EXPECT_EQ(a->getColor(), cocos2d::Color3B(255, 200, 255));
    EXPECT_EQ(a->getLocalZOrder(), 4);
    EXPECT_EQ(other->getLocalZOrder(), 1);
    tapCell(0, 0);
    EXPECT_EQ(game->getSelectedTile(), nullptr);
    EXPECT_EQ(a->getColor(), cocos2d::Color3B::WHITE);

    // A tap beside the grid unselects.
    tapCell(0, 0);
    game->touchBegan(worldOf(Vec2(-100, 300)));
    game->touchEnded(worldOf(Vec2(-100, 300)));
    EXPECT_EQ(game->getSelectedTile(), nullptr);
    EXPECT_EQ(a->getColor(), cocos2d::Color3B::WHITE);

    tapCell(0, 0);
    tapCell(3, 2);
    EXPECT_EQ(game->getSelectedTile(), nullptr);
    EXPECT_EQ(a->getColor(), cocos2d::Color3B::WHITE);
    EXPECT_EQ(game->tileAt(3, 2), a);
    EXPECT_EQ(game->tileAt(0, 0), b);
    EXPECT_EQ(a->getPosition(), game->cellPosition(3, 2)) << "the selected tile jumps";
    EXPECT_EQ(b->getPosition(), game->cellPosition(3, 2)) << "the other glides from there";
    EXPECT_EQ(b->getLocalZOrder(), 2);
    EXPECT_TRUE(game->isInputLocked());
    // No touch counts during the glide.
    game->touchBegan(cellWorld(1, 1));
    EXPECT_EQ(game->getSelectedTile(), nullptr);
    // 3000 pixels a second over the diagonal from (3, 2) to (0, 0).
    const float seconds = Vec2(450, 300).length() / 3000.0f;
    const int frames = waitForInput();
    EXPECT_NEAR(frames, seconds * 60.0f, 1.5f);
    EXPECT_EQ(b->getPosition(), game->cellPosition(0, 0));
    EXPECT_EQ(game->getState(), MinigameState::Playing);
    tapCell(1, 1);
    EXPECT_EQ(game->getSelectedTile(), other);
}

TEST_F(JigsawPuzzleTest, DragsMoveTheTileUnderTheFingerAndDropItOnACellOrBackHome) {
    writePicture("pictures/wide.png", 1000, 600);
    writeLevel(4, 4, 0, "pictures/wide.png");
    ASSERT_NE(start(), nullptr);
    struct Case {
        const char* what;
        Vec2 move;  // picture pixels from the grab point, which lies off the tile's centre
        bool selectedAfter;
        bool swapped;
    };
    const std::vector<Case> cases = {
        {"a short drag", {12, 12}, true, false},  // 17 px: still a tap
        {"a long drag home", {40, 0}, false, false},
        {"dropped beside the grid", {-300, 0}, false, false},
        {"dropped below the grid", {0, -260}, false, false},
        {"dropped on the next column", {150, 20}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        JigsawPipe* tile = game->tileAt(1, 1);
        JigsawPipe* neighbour = game->tileAt(2, 1);
        const Vec2 grab = game->cellPosition(1, 1) + Vec2(30, -40);
        game->touchBegan(worldOf(grab));
        ASSERT_EQ(game->getSelectedTile(), tile);
        for (int k = 1; k <= 4; ++k) {
            game->touchMoved(worldOf(grab + c.move * (k / 4.0f)));
        }
        game->touchMoved(worldOf(grab + c.move));
        if (c.move.length() >= 20.0f) {
            EXPECT_TRUE(game->isDragging());
            EXPECT_EQ(tile->getPosition(), game->cellPosition(1, 1) + c.move)
                << "the grab point stays under the finger";
        } else {
            EXPECT_FALSE(game->isDragging());
            EXPECT_EQ(tile->getPosition(), game->cellPosition(1, 1));
        }
        game->touchEnded(worldOf(grab + c.move));
        EXPECT_EQ(game->getSelectedTile() != nullptr, c.selectedAfter);
        if (c.swapped) {
            EXPECT_EQ(game->tileAt(2, 1), tile);
            EXPECT_EQ(game->tileAt(1, 1), neighbour);
            EXPECT_EQ(tile->getPosition(), game->cellPosition(2, 1));
            EXPECT_GT(waitForInput(), 0);
            EXPECT_EQ(neighbour->getPosition(), game->cellPosition(1, 1));
        } else {
            EXPECT_EQ(game->tileAt(1, 1), tile);
            EXPECT_EQ(tile->getPosition(), game->cellPosition(1, 1));
        }
        if (game->getSelectedTile() != nullptr) {
            tapCell(1, 1);  // unselect for the next case
        }
        ASSERT_EQ(game->getSelectedTile(), nullptr);
    }
}

TEST_F(JigsawPuzzleTest, SolvingWinsHalfASecondAfterTheLastGlide) {
    writePicture("pictures/wide.png", 1000, 600);
    writeLevel(3, 2, 0, "pictures/wide.png");
    for (int attempt = 0; attempt < 50; ++attempt) {
        ASSERT_NE(start(), nullptr);
        if (!game->isSolved()) {
            break;
        }
        game->removeFromParent();
        game = nullptr;
    }
    ASSERT_FALSE(game->isSolved());
    // Swap into place all but the last pair, then the last swap.
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 2; ++j) {
            const JigsawPipe* tile = game->tileAt(i, j);
            if (tile->homeColumn == i && tile->homeRow == j) {
                continue;
            }
            const auto [ci, cj] = cellOfTile(i, j);
            tapCell(ci, cj);
            tapCell(i, j);
            if (!game->isSolved()) {
                EXPECT_GT(waitForInput(), 0);
                EXPECT_EQ(game->getState(), MinigameState::Playing);
            }
        }
    }
    ASSERT_TRUE(game->isSolved());
    EXPECT_EQ(game->getState(), MinigameState::Playing) << "until the glide ends";
    int finishing = -1;
    int won = -1;
    for (int f = 1; f <= 120 && won < 0; ++f) {
        step();
        if (finishing < 0 && game->getState() == MinigameState::Finishing) {
            finishing = f;
        }
        if (game->getState() == MinigameState::Won) {
            won = f;
        }
        // Touches start nothing from the solved grid on.
        EXPECT_FALSE(game->touchBegan(cellWorld(0, 0)));
    }
    ASSERT_GT(finishing, 0);
    EXPECT_EQ(won - finishing, 30);
    EXPECT_TRUE(game->isInputLocked());
    EXPECT_EQ(Settings::getInstance().getCurrentUser().world.minigameWins,
              (std::vector<MinigameLevel>{{4, 12}}));
}

TEST_F(JigsawPuzzleTest, ADealThatHappensToBeSolvedIsNotWonUntilASwapSolvesIt) {
    writePicture("pictures/wide.png", 1000, 600);
    writeLevel(2, 1, 0, "pictures/wide.png");
    for (int attempt = 0; attempt < 50; ++attempt) {
        ASSERT_NE(start(), nullptr);
        if (game->isSolved()) {
            break;
        }
        game->removeFromParent();
        game = nullptr;
    }
    ASSERT_TRUE(game->isSolved());
    step(60);
    EXPECT_EQ(game->getState(), MinigameState::Playing);
    tapCell(0, 0);
    tapCell(1, 0);
    EXPECT_GT(waitForInput(), 0);
    EXPECT_FALSE(game->isSolved());
    tapCell(0, 0);
    tapCell(1, 0);
    step(60);
    EXPECT_EQ(game->getState(), MinigameState::Won);
}

TEST_F(JigsawPuzzleTest, NoTouchStartsAnythingWhileLockedOrNotPlaying) {
    writePicture("pictures/wide.png", 1000, 600);
    writeLevel(4, 4, 0, "pictures/wide.png");
    ASSERT_NE(start(), nullptr);
    for (const auto& [locked, state] :
         {std::pair{true, MinigameState::Playing}, std::pair{false, MinigameState::Waiting},
          std::pair{false, MinigameState::Finishing}}) {
        SCOPED_TRACE(static_cast<int>(state));
        game->setInputLocked(locked);
        game->setState(state);
        EXPECT_FALSE(game->touchBegan(cellWorld(1, 1)));
        EXPECT_EQ(game->getSelectedTile(), nullptr);
    }
    game->setInputLocked(false);
    game->setState(MinigameState::Playing);
    tapCell(1, 1);
    ASSERT_NE(game->getSelectedTile(), nullptr);
    game->setInputLocked(true);
    EXPECT_FALSE(game->touchEnded(cellWorld(2, 2)));
    EXPECT_NE(game->getSelectedTile(), nullptr) << "a release while locked changes nothing";
}

TEST_F(JigsawPuzzleTest, AGlideThatEndsAfterTheHostStoppedTheGameNeitherFreesInputNorWins) {
    writePicture("pictures/wide.png", 1000, 600);
    writeLevel(2, 1, 0, "pictures/wide.png");
    for (int attempt = 0; attempt < 50; ++attempt) {
        ASSERT_NE(start(), nullptr);
        if (!game->isSolved()) {
            break;
        }
        game->removeFromParent();
        game = nullptr;
    }
    ASSERT_FALSE(game->isSolved());
    tapCell(0, 0);
    tapCell(1, 0);  // the solving swap
    game->stop();
    step(120);
    EXPECT_TRUE(game->isInputLocked());
    EXPECT_EQ(game->getState(), MinigameState::Playing);
    EXPECT_TRUE(Settings::getInstance().getCurrentUser().world.minigameWins.empty());

    // A Skip during the last glide wins once; the glide's own win changes nothing.
    game->removeFromParent();
    game = nullptr;
    for (int attempt = 0; attempt < 50; ++attempt) {
        ASSERT_NE(start(), nullptr);
        if (!game->isSolved()) {
            break;
        }
        game->removeFromParent();
        game = nullptr;
    }
    tapCell(0, 0);
    tapCell(1, 0);
    game->win();
    step(120);
    EXPECT_EQ(game->getState(), MinigameState::Won);
    EXPECT_EQ(Settings::getInstance().getCurrentUser().world.minigameWins.size(), 1u);
}

TEST_F(JigsawPuzzleTest, ALevelThatCannotBeCutPlaysTheDefaultLevel) {
    writePicture("pictures/tiny.png", 2, 2);
    struct Case {
        const char* what;
        std::string picture;
        const char* line;
    };
    for (const Case& c :
         {Case{"missing picture", "pictures/none.png", "cannot be cut from pictures/none.png"},
          Case{"picture smaller than the grid", "pictures/tiny.png",
               "cannot be cut from pictures/tiny.png"}}) {
        SCOPED_TRACE(c.what);
        writeLevel(3, 2, 0, c.picture);
        savetest::LogCapture log;
        ASSERT_NE(start(), nullptr);
        EXPECT_EQ(game->getPictureFile(), "Scenes/demo/Vesquino/background.jpg");
        EXPECT_EQ(game->getColumns(), 3);
        EXPECT_EQ(game->getRows(), 2);
        EXPECT_EQ(game->getTiles().size(), 6u);
        EXPECT_EQ(game->getState(), MinigameState::Playing);
        bool said = false;
        for (const std::string& line : log.lines) {
            said = said || line.find(c.line) != std::string::npos;
        }
        EXPECT_TRUE(said);
        game->removeFromParent();
        game = nullptr;
        step();
    }
}

TEST_F(JigsawPuzzleTest, LeavingReleasesTheGamesImagesAndThePictureButARestartKeepsThem) {
    writePicture("pictures/wide.png", 1000, 600);
    writeLevel(3, 2, 0, "pictures/wide.png");
    cocos2d::TextureCache* textures = director()->getTextureCache();
    const std::string picture = cocos2d::FileUtils::getInstance()->fullPathForFilename("pictures/wide.png");
    for (const bool restart : {true, false}) {
        SCOPED_TRACE(restart);
        ASSERT_NE(start(), nullptr);
        ASSERT_NE(textures->getTextureForKey(picture), nullptr);
        game->setRestart(restart);
        savetest::LogCapture log;
        game->removeFromParent();
        game = nullptr;
        step();
        std::vector<std::string> banners;
        for (const std::string& line : log.lines) {
            if (line == "~JigsawPuzzle" || line.rfind("after clear\n", 0) == 0 ||
                line.rfind("=== MinigameBase::~MinigameBase ===", 0) == 0) {
                banners.push_back(line.substr(0, line.find('\n')));
            }
        }
        if (restart) {
            EXPECT_EQ(banners,
                      (std::vector<std::string>{"~JigsawPuzzle", "=== MinigameBase::~MinigameBase ==="}));
            EXPECT_NE(textures->getTextureForKey(picture), nullptr);
        } else {
            EXPECT_EQ(banners, (std::vector<std::string>{"~JigsawPuzzle", "after clear",
                                                         "=== MinigameBase::~MinigameBase ==="}));
            EXPECT_EQ(textures->getTextureForKey(picture), nullptr);
            EXPECT_EQ(textures->getTextureForKey(cocos2d::FileUtils::getInstance()->fullPathForFilename(
                          "Minigames/JigsawPuzzle/background.jpg")),
                      nullptr);
        }
    }
}

}  // namespace
