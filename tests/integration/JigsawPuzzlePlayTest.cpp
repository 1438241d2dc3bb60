// The jigsaw played on the real engine with a GL view: the shipped level file, pictures and art,
// touches injected where the platform's events enter, a small host that drives the game as the
// minigame screen does, and what reaches the screen compared with the picture's own pixels.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
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
#include "engine/scene/Sprite.h"
#include "minigames/CurrentMinigame.h"
#include "minigames/JigsawPipe.h"
#include "minigames/JigsawPuzzle.h"
#include "ui/NodeFromJson.h"

namespace {

using cocos2d::Color4B;
using cocos2d::RefPtr;
using cocos2d::Vec2;

using minigametest::Host;

class JigsawPuzzlePlayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
        files->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
        files->setSearchPaths({"src", "res"});
        const std::string home = testing::Driver::scratchPath("xdg-jigsaw");
        std::filesystem::create_directories(home);
        setenv("XDG_DATA_HOME", home.c_str(), 1);
    }

    void SetUp() override {
        Settings::destroyInstance();
        Settings::getInstance().getCurrentUser() = Profile();
        currentMinigameKind = 4;
        std::srand(5);
    }

    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string("JigsawPuzzle_") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png"));
        }
        cocos2d::Director::getInstance()->replaceScene(cocos2d::Scene::create());
        driver().stepFrames(2);
        Settings::destroyInstance();
    }

    static testing::Driver& driver() { return testing::Driver::get(); }

    JigsawPuzzle* start(int level) {
        currentMinigameLevel = level;
        cocos2d::Scene* scene = cocos2d::Scene::create();
        game = JigsawPuzzle::create();
        if (game == nullptr) {
            return nullptr;
        }
        Host* host = Host::create(game);
        host->setPosition(visibleCenter());
        scene->addChild(host);
        cocos2d::Director::getInstance()->replaceScene(scene);
        driver().stepFrames(2);
        picture = RefPtr<cocos2d::Image>(cocos2d::Image::create());
        const std::string path =
            cocos2d::FileUtils::getInstance()->fullPathForFilename(game->getPictureFile());
        if (!picture->initWithImageFile(path)) {
            ADD_FAILURE() << "cannot read " << path;
        }
        return game;
    }

    Vec2 worldOf(const Vec2& picturePoint) const {
        return game->getPicture()->convertToWorldSpace(picturePoint);
    }
    Vec2 cellWorld(int column, int row) const { return worldOf(game->cellPosition(column, row)); }

    // The picture's pixel at a point of the picture's space: the part of the texture the picture
    // shows, with texture rows from the top.
    Color4B picturePixel(const Vec2& p) const {
        const cocos2d::Rect shown = game->getPicture()->getTextureRect();
        return picture->getPixel(static_cast<int>(shown.origin.x + p.x),
                                 static_cast<int>(shown.origin.y + shown.size.height) - 1 - static_cast<int>(p.y));
    }

    // The screen's pixel at a point of the picture's space, from the last frame.
    Color4B screenPixel(const RefPtr<cocos2d::Image>& frame, const Vec2& p) const {
        const Vec2 w = worldOf(p);
        return frame->getPixel(static_cast<int>(w.x), 810 - 1 - static_cast<int>(w.y));
    }

    static int difference(const Color4B& a, const Color4B& b) {
        return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
    }

    RefPtr<cocos2d::Image> wholeFrame() { return driver().readPixels(cocos2d::Rect(0, 0, 1280, 810)); }

    // Where on the picture the tile now in cell (i, j) came from, for a point `d` inside the cell
    // (from its bottom-left corner).
    Vec2 homePointOf(int i, int j, const Vec2& d) const {
        const JigsawPipe* tile = game->tileAt(i, j);
        const float c = static_cast<float>(game->getCellSize());
        const Vec2 cellCorner = game->cellPosition(tile->homeColumn, tile->homeRow) - Vec2(c / 2, c / 2);
        return cellCorner + d;
    }

    // Samples of every cell: the largest difference between what the screen shows and the picture's
    // pixels of the tile's own home.
    int worstCellDifference(const RefPtr<cocos2d::Image>& frame) const {
        const float c = static_cast<float>(game->getCellSize());
        int worst = 0;
        for (int i = 0; i < game->getColumns(); ++i) {
            for (int j = 0; j < game->getRows(); ++j) {
                const Vec2 corner = game->cellPosition(i, j) - Vec2(c / 2, c / 2);
                for (const Vec2 d : {Vec2(3.5f, 3.5f), Vec2(c / 2 + 0.5f, c / 3 + 0.5f),
                                     Vec2(c - 3.5f, c - 3.5f), Vec2(c / 4 + 0.5f, c - 10.5f)}) {
                    worst = std::max(worst, difference(screenPixel(frame, corner + d),
                                                       picturePixel(homePointOf(i, j, d))));
                }
            }
        }
        return worst;
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

    void waitWhileLocked() {
        for (int f = 0; f < 120 && game->isInputLocked() && game->getState() == MinigameState::Playing; ++f) {
            driver().stepFrames(1);
        }
    }

    JigsawPuzzle* game = nullptr;
    RefPtr<cocos2d::Image> picture;
};

TEST_F(JigsawPuzzlePlayTest, EachDealtTileShowsItsOwnPieceOfThePicture) {
    ASSERT_NE(start(10), nullptr);
    ASSERT_EQ(game->getColumns(), 4);
    ASSERT_EQ(game->getRows(), 3);
    ASSERT_EQ(game->getCellSize(), 200);
    driver().stepFrames(1);
    driver().saveScreenshot(testing::Driver::outputPath("JigsawPuzzle_dealt.png"));
    EXPECT_LE(worstCellDifference(wholeFrame()), 6);
    // The picture is cut down to the grid (its middle 800 x 600), so the tiles fill the frame edge to
    // edge and no strip of the picture shows beside them.
    EXPECT_EQ(game->getPicture()->getTextureRect(), cocos2d::Rect(80.0f, 0.0f, 800.0f, 600.0f));
    EXPECT_EQ(game->getPicture()->getContentSize(), cocos2d::Size(800.0f, 600.0f));
}

TEST_F(JigsawPuzzlePlayTest, APlayerWhoSwapsTilesByTapsAndDragsRestoresThePictureAndWins) {
    ASSERT_NE(start(10), nullptr);
    const float c = static_cast<float>(game->getCellSize());
    bool dragged = false;
    int swaps = 0;
    for (int i = 0; i < game->getColumns(); ++i) {
        for (int j = 0; j < game->getRows(); ++j) {
            const JigsawPipe* tile = game->tileAt(i, j);
            if (tile->homeColumn == i && tile->homeRow == j) {
                continue;
            }
            const auto [ci, cj] = cellOfTile(i, j);
            if (!dragged) {
                // The first swap by dragging the tile that belongs here from its cell onto this one.
                const Vec2 from = cellWorld(ci, cj) + Vec2(c / 5, -c / 6);
                const Vec2 to = cellWorld(i, j) + Vec2(c / 5, -c / 6);
                driver().touchBegan(from);
                driver().stepFrames(1);
                JigsawPipe* moving = game->getSelectedTile();
                ASSERT_NE(moving, nullptr);
                for (int k = 1; k <= 8; ++k) {
                    driver().touchMoved(from + (to - from) * (k / 16.0f));
                    driver().stepFrames(1);
                }
                EXPECT_TRUE(game->isDragging());
                // Halfway, the tile is under the finger, tinted, and its cell shows the dark plate.
                const RefPtr<cocos2d::Image> frame = wholeFrame();
                driver().saveScreenshot(testing::Driver::outputPath("JigsawPuzzle_drag.png"));
                const Vec2 vacated = game->cellPosition(ci, cj) + Vec2(-c / 2 + 4.5f, c / 2 - 4.5f);
                const Vec2 w = worldOf(vacated);
                const Color4B seen = frame->getPixel(static_cast<int>(w.x), 810 - 1 - static_cast<int>(w.y));
                RefPtr<cocos2d::Image> back(cocos2d::Image::create());
                ASSERT_TRUE(back->initWithImageFile(cocos2d::FileUtils::getInstance()->fullPathForFilename(
                    "Minigames/JigsawPuzzle/background.jpg")));
                const Color4B wall = back->getPixel(static_cast<int>(w.x), 810 - 1 - static_cast<int>(w.y));
                const Color4B darkened(wall.r * 80 / 255, wall.g * 80 / 255, wall.b * 80 / 255, 255);
                EXPECT_LE(difference(seen, darkened), 9)
                    << int(seen.r) << "," << int(seen.g) << "," << int(seen.b) << " for a wall of "
                    << int(wall.r) << "," << int(wall.g) << "," << int(wall.b);
                const Vec2 held = moving->getPosition() + Vec2(c / 2 - 6.5f, c / 2 - 6.5f);
                const Color4B own =
                    picturePixel(Vec2(c * i, c * j) + Vec2(c - 6.5f, c - 6.5f));
                const Color4B tinted = screenPixel(frame, held);
                EXPECT_LE(std::abs(tinted.r - own.r) + std::abs(tinted.b - own.b), 8);
                EXPECT_LE(std::abs(tinted.g - own.g * 200 / 255), 5) << "tinted (255, 200, 255)";
                for (int k = 9; k <= 16; ++k) {
                    driver().touchMoved(from + (to - from) * (k / 16.0f));
                    driver().stepFrames(1);
                }
                driver().touchEnded(to);
                driver().stepFrames(1);
                dragged = true;
            } else {
                driver().tap(cellWorld(ci, cj));
                driver().stepFrames(1);
                driver().tap(cellWorld(i, j));
                driver().stepFrames(1);
            }
            ++swaps;
            EXPECT_EQ(game->tileAt(i, j)->homeColumn, i);
            EXPECT_EQ(game->tileAt(i, j)->homeRow, j);
            waitWhileLocked();
        }
    }
    ASSERT_GT(swaps, 1) << "a dealt grid with something to do";
    ASSERT_TRUE(game->isSolved());
    for (int f = 0; f < 90 && game->getState() != MinigameState::Won; ++f) {
        driver().stepFrames(1);
    }
    ASSERT_EQ(game->getState(), MinigameState::Won);
    EXPECT_EQ(Settings::getInstance().getCurrentUser().world.minigameWins,
              (std::vector<MinigameLevel>{{4, 10}}));
    driver().saveScreenshot(testing::Driver::outputPath("JigsawPuzzle_won.png"));
    // Restored: every cell shows the picture's own pixels at that place.
    const RefPtr<cocos2d::Image> frame = wholeFrame();
    int worst = 0;
    for (float y = 2.5f; y < 600.0f; y += 23.0f) {
        for (float x = 2.5f; x < 800.0f; x += 29.0f) {
            worst = std::max(worst, difference(screenPixel(frame, Vec2(x, y)), picturePixel(Vec2(x, y))));
        }
    }
    EXPECT_LE(worst, 6);
}

TEST_F(JigsawPuzzlePlayTest, TheFrameSurroundsThePictureOnTheScreen) {
    ASSERT_NE(start(0), nullptr);
    driver().stepFrames(1);
    const RefPtr<cocos2d::Image> frame = wholeFrame();
    // Just outside each edge of the picture the moulding differs from the wall behind; far outside,
    // the wall shows.
    RefPtr<cocos2d::Image> back(cocos2d::Image::create());
    ASSERT_TRUE(back->initWithImageFile(
        cocos2d::FileUtils::getInstance()->fullPathForFilename("Minigames/JigsawPuzzle/background.jpg")));
    const cocos2d::Size size = game->getPicture()->getContentSize();
    auto wallAt = [&](const Vec2& p) {
        const Vec2 w = worldOf(p);
        return back->getPixel(static_cast<int>(w.x), 810 - 1 - static_cast<int>(w.y));
    };
    for (const Vec2 p : {Vec2(-6.5f, size.height / 2), Vec2(size.width + 5.5f, size.height / 3),
                         Vec2(size.width / 2, size.height + 5.5f), Vec2(size.width / 3, -6.5f)}) {
        SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
        EXPECT_GT(difference(screenPixel(frame, p), wallAt(p)), 30) << "moulding";
    }
    for (const Vec2 p : {Vec2(-60.5f, size.height / 2), Vec2(size.width / 2, size.height + 60.5f)}) {
        EXPECT_LE(difference(screenPixel(frame, p), wallAt(p)), 6) << "wall";
    }
    driver().saveScreenshot(testing::Driver::outputPath("JigsawPuzzle_level0.png"));
}

}  // namespace
