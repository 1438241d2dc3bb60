#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "BoardTestStage.h"
#include "DefectTools.h"
#include "PictureProgress.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/TextureCache.h"
#include "gameBoard/BoardPricing.h"
#include "gameBoard/CBaseState.h"
#include "gameBoard/CellGrid.h"
#include "gameBoard/DamageFactory.h"
#include "gameBoard/PixelReadback.h"
#include "gameBoard/SewGameObject.h"

namespace {

using boardtest::Stage;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Vec2;

// The tool whose stroke removes a defect.
using testing::toolFor;

// A level-node point of the picture under no item and no damage.
Vec2 bareCanvas(const Stage& stage) {
    const cocos2d::Size size = stage.level()->getContentSize();
    for (float y = 40; y < size.height - 40; y += 20) {
        for (float x = 40; x < size.width - 40; x += 20) {
            const Rect probe(x - 40, y - 40, 80, 80);
            bool free = true;
            for (auto& [name, item] : stage.level()->getItems()) {
                free = free && !item->getBoundingBox().intersectsRect(probe);
            }
            for (EraseableGameObject* damage : stage.level()->getDamageList()) {
                free = free && !damage->getBoundingBox().intersectsRect(probe);
            }
            if (free) {
                return Vec2(x, y);
            }
        }
    }
    ADD_FAILURE() << "no bare canvas";
    return Vec2(10, 10);
}

double meanDifference(const cocos2d::Image* a, const cocos2d::Image* b) {
    if (a == nullptr || b == nullptr || a->getDataLen() != b->getDataLen() || a->getDataLen() == 0) {
        return 0.0;
    }
    double sum = 0.0;
    for (size_t i = 0; i < a->getDataLen(); ++i) {
        sum += std::abs(int(a->getData()[i]) - int(b->getData()[i]));
    }
    return sum / static_cast<double>(a->getDataLen());
}

Rect windowRect(const Stage& stage, const cocos2d::Node* node) {
    const Rect box = node->getBoundingBox();
    const Vec2 lowerLeft = stage.world(box.origin);
    return Rect(lowerLeft.x, 810.0f - lowerLeft.y - box.size.height, box.size.width, box.size.height);
}

class BoardPlayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        boardtest::useResources();
        boardtest::useTemporaryDataHome("board-play");
    }

    void SetUp() override { std::srand(7); }

    void TearDown() override {
        if (HasFailure()) {
            Stage::driver().saveScreenshot(testing::Driver::outputPath(
                std::string("BoardPlay_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                ".png"));
        }
        stage.close();
        Settings::destroyInstance();
    }

    // Drops reagent on the item and waits for the drop to land.
    void reveal(HiddenObject* item) {
        stage.board->selectTool(1);
        stage.driver().tap(stage.maskPoint(item));
        stage.wait(0.3f);
    }

    // Rubs the item with its own tool until it is restored, at most a few passes.
    void restore(HiddenObject* item) {
        stage.board->selectTool(toolFor(item->getKind()));
        for (int pass = 0; pass < 4 && item->getState() == HiddenObjectState::Revealed; ++pass) {
            stage.rub(item, pass % 2 == 0 ? 8.0f : 5.0f);
        }
    }

    Stage stage;
};

struct Picture {
    const char* path;
    const char* country;
    const char* name;
    const char* item;
};

const Picture kPictures[] = {{"demo/Vesquino", "demo", "Vesquino", "headphones"},
                             {"USA/HarborDawn", "USA", "HarborDawn", "steamship"}};

TEST_F(BoardPlayTest, ADropRevealsTheItemAndTheRightToolRestoresIt) {
    for (const Picture& picture : kPictures) {
        SCOPED_TRACE(picture.path);
        boardtest::freshProfile(5, picture.country, picture.name);
        stage.events.clear();
        stage.open(picture.path);
        HiddenObject* item = stage.item(picture.item);
        ASSERT_NE(item, nullptr);
        const int area = item->getArea();
        const float earnedBefore = stage.board->getEarned();
        RefPtr<cocos2d::Image> before = stage.driver().readPixels(windowRect(stage, item));

        stage.board->selectTool(1);
        stage.driver().tap(stage.maskPoint(item));
        stage.driver().stepFrames(3);
        EXPECT_NE(stage.level()->getChildByName("drop"), nullptr) << "the drop falls";
        stage.wait(0.3f);
        EXPECT_EQ(stage.level()->getChildByName("drop"), nullptr) << "and is gone once it landed";
        ASSERT_EQ(stage.eventNames(), std::vector<std::string>{"hit"});
        EXPECT_EQ(stage.events[0].name, picture.item);
        EXPECT_EQ(item->getState(), HiddenObjectState::Revealed);
        EXPECT_EQ(stage.board->getCurrentItem(), item);
        EXPECT_EQ(item->getKind() == DefectKind::Dirt, area < GameBoard::kDirtAreaLimit);
        stage.driver().stepFrames(2);
        RefPtr<cocos2d::Image> revealed = stage.driver().readPixels(windowRect(stage, item));
        EXPECT_GT(meanDifference(before.get(), revealed.get()), 4.0) << "the defect shows on the item";

        // The finishing stroke is the one that leaves no more than `allowed` opaque cells.
        int dirtyWhenErased = -1;
        bool currentWhenErased = false;
        stage.board->setOnItemErased([&](HiddenObject* erased, Vec2) {
            dirtyWhenErased = erased->getGrid().countDirty();
            currentWhenErased = stage.board->getCurrentItem() == erased;
            stage.events.push_back({"erased", erased->getName(), {}});
        });
        // A stroke across a corner only does not finish it.
        stage.board->selectTool(toolFor(item->getKind()));
        const Rect box = item->getBoundingBox();
        stage.stroke(stage.world(Vec2(box.getMinX() + 4, box.getMinY() + 4)),
                     stage.world(Vec2(box.getMinX() + 20, box.getMinY() + 8)));
        EXPECT_EQ(item->getState(), HiddenObjectState::Revealed);
        EXPECT_GT(item->getGrid().countDirty(), item->getAllowed());
        EXPECT_EQ(stage.board->getMistakes(), 0) << "a stroke on the revealed item is no miss";

        restore(item);
        ASSERT_EQ(item->getState(), HiddenObjectState::Restored);
        EXPECT_LE(dirtyWhenErased, item->getAllowed());
        EXPECT_GE(dirtyWhenErased, 0);
        EXPECT_EQ(stage.eventNames(), (std::vector<std::string>{"hit", "erased", "tool"}));
        EXPECT_EQ(stage.events.back().value, 1);
        EXPECT_EQ(stage.events.back().name, "false");
        EXPECT_EQ(stage.board->getItemsRestored(), 1);
        const BoardPricing::Rate rate{stage.board->getPriceRate(), stage.board->getMinArea(),
                                      stage.board->getMaxArea()};
        EXPECT_FLOAT_EQ(
            stage.board->getEarned() - earnedBefore,
            static_cast<float>(BoardPricing::itemPrice(stage.board->getFullPicturePrice(), rate, area)));
        EXPECT_EQ(stage.board->getRestoredNames(), std::vector<std::string>{picture.item});
        EXPECT_EQ(stage.board->pictureRecord().restoredHistory.count(picture.item), 0u);
        stage.board->saveRestoredItems();
        EXPECT_EQ(stage.board->pictureRecord().restoredHistory.count(picture.item), 1u);

        // Still current while it fades out; then out of the map, invisible and inactive.
        EXPECT_TRUE(currentWhenErased);
        stage.wait(0.5f);
        EXPECT_EQ(stage.board->getCurrentItem(), nullptr);
        EXPECT_EQ(stage.item(picture.item), nullptr);
        EXPECT_FALSE(item->isActive());
        EXPECT_FALSE(item->isVisible());
        stage.close();
    }
}

TEST_F(BoardPlayTest, DirtLiesOnTheItemAndNotOnItsFaintParts) {
    boardtest::freshProfile(5, "USA", "HarborDawn");
    stage.open("USA/HarborDawn");
    HiddenObject* item = stage.item("duck");
    ASSERT_NE(item, nullptr);
    ASSERT_LT(item->getArea(), GameBoard::kDirtAreaLimit) << "a small item: its defect is dirt";
    const Rect window = windowRect(stage, item);
    RefPtr<cocos2d::Image> before = stage.driver().readPixels(window);
    reveal(item);
    ASSERT_EQ(item->getKind(), DefectKind::Dirt);
    stage.wait(1.0f);  // the drop's splash is gone
    RefPtr<cocos2d::Image> after = stage.driver().readPixels(window);

    // The item's pixels in the sheet, from the image file: where they are barely there (the soft edge,
    // the faint reflection) the grime must not light the picture up.
    cocos2d::Image sheet;
    ASSERT_TRUE(sheet.initWithImageFile(cocos2d::FileUtils::getInstance()->fullPathForFilename(
        "Scenes/USA/HarborDawn/textures_atlas.png")));
    cocos2d::SpriteFrame* frame =
        cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName(item->getFrameName());
    ASSERT_NE(frame, nullptr);
    const Rect rect = frame->getRect();
    double lighter = 0.0;
    int faint = 0;
    for (int y = 0; y < static_cast<int>(rect.size.height) && y < after->getHeight(); ++y) {
        for (int x = 0; x < static_cast<int>(rect.size.width) && x < after->getWidth(); ++x) {
            const int alpha =
                sheet.getPixel(static_cast<int>(rect.origin.x) + x, static_cast<int>(rect.origin.y) + y).a;
            if (alpha == 0 || alpha >= 26) {
                continue;
            }
            const cocos2d::Color4B a = after->getPixel(x, y);
            const cocos2d::Color4B b = before->getPixel(x, y);
            lighter += (a.r + a.g + a.b - b.r - b.g - b.b) / 3.0;
            ++faint;
        }
    }
    ASSERT_GT(faint, 20) << "the item has faint pixels to look at";
    EXPECT_LT(lighter / faint, 6.0) << "faint parts of a dirty item turn pale";
}

TEST_F(BoardPlayTest, AStrokeThatRestoresNothingLeavesItsDamageAndCountsAMiss) {
    struct Case {
        int tool;
        DefectKind kind;
        bool midpoint;
    };
    const Case cases[] = {{3, DefectKind::Blot, false},
                          {2, DefectKind::Scrape, false},
                          {4, DefectKind::Cut, true},
                          {5, DefectKind::None, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE("tool " + std::to_string(c.tool));
        boardtest::freshProfile(5, "USA", "HarborDawn");
        stage.events.clear();
        stage.open("USA/HarborDawn");
        stage.board->selectTool(c.tool);
        const Vec2 start = bareCanvas(stage);
        const Vec2 end = start + Vec2(30, 10);
        stage.stroke(stage.world(start), stage.world(end));

        ASSERT_EQ(stage.eventNames(), std::vector<std::string>{"miss"});
        EXPECT_EQ(stage.events[0].value, c.tool);
        const Vec2 expected = c.midpoint ? (start + end) * 0.5f : end;
        EXPECT_NEAR(stage.events[0].position.x, stage.world(expected).x, 0.01);
        EXPECT_NEAR(stage.events[0].position.y, stage.world(expected).y, 0.01);
        EXPECT_EQ(stage.board->getMistakes(), 1);

        const auto& damage = stage.level()->getDamageList();
        const std::vector<DamageRecord>& records = stage.board->pictureRecord().damage;
        if (c.kind == DefectKind::None) {
            EXPECT_TRUE(damage.empty());
            EXPECT_TRUE(records.empty());
        } else {
            ASSERT_EQ(damage.size(), 1u);
            ASSERT_EQ(records.size(), 1u);
            EraseableGameObject* made = damage.front();
            EXPECT_EQ(made->getKind(), c.kind);
            EXPECT_NEAR(made->getPositionX(), expected.x, 1.0);
            EXPECT_NEAR(made->getPositionY(), expected.y, 1.0);
            EXPECT_EQ(records[0].toolId, c.tool);
            EXPECT_EQ(records[0].x, static_cast<int>(expected.x));
            EXPECT_EQ(records[0].y, static_cast<int>(expected.y));
            EXPECT_EQ(records[0].id, made->getTag());
            EXPECT_GE(records[0].variant, 1);
            EXPECT_LE(records[0].variant, 3);
            if (c.kind == DefectKind::Cut) {
                EXPECT_EQ(records[0].variant, 2) << "before the cut tutorial the cut is variant 2";
                EXPECT_NE(dynamic_cast<SewGameObject*>(made), nullptr);
            }
            // A second stroke ending on the damage counts nothing and leaves nothing.
            stage.stroke(stage.world(bareCanvas(stage)), stage.centreOf(made));
            EXPECT_EQ(stage.board->getMistakes(), 1);
            EXPECT_EQ(damage.size(), 1u);
        }
        stage.close();
    }
}

TEST_F(BoardPlayTest, WhatCountsAsAMissAtTheEndOfAStroke) {
    boardtest::freshProfile(5, "USA", "HarborDawn");
    stage.open("USA/HarborDawn");
    // Ending off the picture: no miss, whatever the tool.
    for (int tool = 2; tool <= 5; ++tool) {
        stage.board->selectTool(tool);
        stage.stroke(stage.world(bareCanvas(stage)), Vec2(60, 400));
    }
    EXPECT_TRUE(stage.events.empty());
    EXPECT_EQ(stage.board->getMistakes(), 0);

    // A brush stroke that strokes a scrape and ends on bare canvas: no miss, no blot.
    stage.board->selectTool(2);
    const Vec2 start = bareCanvas(stage);
    stage.stroke(stage.world(start), stage.world(start + Vec2(20, 0)));
    ASSERT_EQ(stage.level()->getDamageList().size(), 1u);
    EraseableGameObject* scrape = stage.level()->getDamageList().front();
    stage.events.clear();
    stage.board->selectTool(3);
    const Rect box = scrape->getBoundingBox();
    stage.stroke(stage.world(Vec2(box.getMaxX() - 3, box.getMidY())),
                 stage.world(Vec2(box.getMaxX() + 60, box.getMidY())));
    ASSERT_TRUE(scrape->isActive()) << "stroked at its edge only";
    EXPECT_TRUE(stage.events.empty());
    EXPECT_EQ(stage.level()->getDamageList().size(), 1u);

    // A drop on bare canvas counts its miss when it lands, 0.2 s after the touch ended.
    stage.board->selectTool(1);
    stage.driver().tap(stage.world(bareCanvas(stage)));
    stage.driver().stepFrames(6);
    EXPECT_TRUE(stage.events.empty());
    stage.driver().stepFrames(10);
    EXPECT_EQ(stage.eventNames(), std::vector<std::string>{"miss"});
    EXPECT_EQ(stage.events[0].value, 1);
    // Off the picture the spray only refuses.
    stage.driver().tap(Vec2(40, 40));
    stage.wait(0.3f);
    EXPECT_EQ(stage.events.size(), 1u);
}

TEST_F(BoardPlayTest, TheRightToolMendsDamageAndTheRecordGoes) {
    struct Case {
        int missTool;
        int mendTool;
    };
    for (const Case& c : {Case{3, 4}, Case{2, 3}, Case{4, 5}}) {
        SCOPED_TRACE("damage of tool " + std::to_string(c.missTool));
        boardtest::freshProfile(5, "USA", "PrairieWind");
        stage.events.clear();
        stage.open("USA/PrairieWind");
        stage.board->selectTool(c.missTool);
        const Vec2 start = bareCanvas(stage);
        stage.stroke(stage.world(start), stage.world(start + Vec2(40, 0)));
        ASSERT_EQ(stage.level()->getDamageList().size(), 1u);
        EraseableGameObject* damage = stage.level()->getDamageList().front();
        RefPtr<EraseableGameObject> keep(damage);
        stage.events.clear();

        // A tool of another kind strokes it in vain and counts no miss: the stroke ends on damage.
        stage.board->selectTool(c.missTool);
        stage.rub(damage);
        EXPECT_TRUE(damage->isActive());
        EXPECT_TRUE(stage.events.empty());

        stage.board->selectTool(c.mendTool);
        for (int pass = 0; pass < 4 && damage->isActive(); ++pass) {
            stage.rub(damage, pass % 2 == 0 ? 6.0f : 3.0f);
        }
        ASSERT_FALSE(damage->isActive());
        // Mended during the touch (the record goes 0.01 s later), the spray asked for at its end.
        stage.wait(0.05f);
        EXPECT_EQ(stage.eventNames(), (std::vector<std::string>{"fixed", "tool"}));
        EXPECT_EQ(stage.events[0].position, Vec2::ZERO);
        EXPECT_EQ(stage.events[0].value, static_cast<int>(damage->getKind()));
        EXPECT_EQ(stage.events[1].value, 1);
        EXPECT_TRUE(stage.board->pictureRecord().damage.empty());
        EXPECT_TRUE(stage.level()->getDamageList().empty());
        EXPECT_FALSE(stage.board->hasDamage());
        stage.wait(0.4f);
        EXPECT_EQ(damage->getParent(), nullptr) << "faded out and removed";
        stage.close();
    }
}

TEST_F(BoardPlayTest, StrokesReadNoPixelsBack) {
    boardtest::freshProfile(5, "USA", "HarborDawn");
    stage.open("USA/HarborDawn");
    HiddenObject* item = stage.item("rowboat");
    ASSERT_NE(item, nullptr);
    reveal(item);
    ASSERT_EQ(item->getState(), HiddenObjectState::Revealed);
    stage.board->selectTool(toolFor(item->getKind()) == 2 ? 3 : 2);  // a tool that does not fit
    stage.board->selectTool(toolFor(item->getKind()));
    PixelReadback::resetCounters();
    const Rect box = item->getBoundingBox();
    stage.driver().touchBegan(stage.world(Vec2(box.getMinX() + 2, box.getMidY())));
    for (int i = 0; i < 60; ++i) {
        stage.driver().touchMoved(stage.world(Vec2(box.getMinX() + 2 + (i % 30) * box.size.width / 32,
                                                   box.getMinY() + 4 + (i / 30) * box.size.height / 3)));
        stage.driver().stepFrames(1);
    }
    stage.driver().touchEnded(stage.world(Vec2(box.getMidX(), box.getMidY())));
    stage.driver().stepFrames(1);
    EXPECT_EQ(PixelReadback::counters().reads, 0u);
    EXPECT_LT(item->getGrid().countDirty(), item->getArea()) << "the strokes did rub";
}

// The grid of an uneven frame, built from the image file on the CPU.
CellGrid gridFromFile(const std::string& sheetImage, const std::string& frameName, int cellSize,
                      int percent) {
    cocos2d::Image image;
    EXPECT_TRUE(image.initWithImageFile(cocos2d::FileUtils::getInstance()->fullPathForFilename(sheetImage)));
    cocos2d::SpriteFrame* frame = cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName(frameName);
    CellGrid grid;
    if (frame == nullptr) {
        ADD_FAILURE() << frameName;
        return grid;
    }
    const Rect rect = frame->getRect();
    const int w = static_cast<int>(rect.size.width);
    const int h = static_cast<int>(rect.size.height);
    std::vector<uint8_t> rgba;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const cocos2d::Color4B c =
                image.getPixel(static_cast<int>(rect.origin.x) + x, static_cast<int>(rect.origin.y) + y);
            rgba.insert(rgba.end(), {c.r, c.g, c.b, c.a});
        }
    }
    grid.build(rgba.data(), w, h, false, cellSize, percent);
    return grid;
}

bool sameCells(const CellGrid& a, const CellGrid& b, std::string& where) {
    if (a.getCols() != b.getCols() || a.getRows() != b.getRows()) {
        where = "sizes differ";
        return false;
    }
    for (int col = 0; col < a.getCols(); ++col) {
        for (int row = 0; row < a.getRows(); ++row) {
            if (a.isClean(col, row) != b.isClean(col, row)) {
                where = "cell " + std::to_string(col) + "," + std::to_string(row);
                return false;
            }
        }
    }
    return true;
}

// Every cell clean in `b` is clean in `a` too.
bool cleanWhereverCleaned(const CellGrid& a, const CellGrid& b, std::string& where) {
    for (int col = 0; col < b.getCols(); ++col) {
        for (int row = 0; row < b.getRows(); ++row) {
            if (b.isClean(col, row) && !a.isClean(col, row)) {
                where = "cell " + std::to_string(col) + "," + std::to_string(row);
                return false;
            }
        }
    }
    return true;
}

bool upDownSymmetric(const CellGrid& grid) {
    for (int col = 0; col < grid.getCols(); ++col) {
        for (int row = 0; row < grid.getRows(); ++row) {
            if (grid.isClean(col, row) != grid.isClean(col, grid.getRows() - 1 - row)) {
                return false;
            }
        }
    }
    return true;
}

TEST_F(BoardPlayTest, TheCellGridMatchesTheImageFileFromTheSheetAndFromARenderTexture) {
    boardtest::freshProfile(5, "USA", "HarborDawn");
    stage.open("USA/HarborDawn");
    int checked = 0;
    for (const char* name :
         {"blot_1.png", "blot_2.png", "blot_3.png", "scrape_1.png", "scrape_2.png", "scrape_3.png"}) {
        SCOPED_TRACE(name);
        const CellGrid expected = gridFromFile("ui/Game/UI_atlas.png", name, 10, 60);
        if (upDownSymmetric(expected)) {
            continue;  // a mirrored grid would pass unnoticed
        }
        ++checked;
        EraseableGameObject* fromSheet = EraseableGameObject::createWithSpriteFrameName(name);
        ASSERT_NE(fromSheet, nullptr);
        EXPECT_EQ(fromSheet->getArea(), expected.getArea());
        std::string where;
        EXPECT_TRUE(
            sameCells(fromSheet->getGrid(), gridFromFile("ui/Game/UI_atlas.png", name, 10, 85), where))
            << "sheet: " << where;

        // Drawn into a render texture by the factory, well inside the picture.
        const int variant = name[std::string(name).find('_') + 1] - '0';
        const Vec2 middle(stage.level()->getContentSize().width / 2,
                          stage.level()->getContentSize().height / 2);
        EraseableGameObject* drawn = std::string(name).rfind("blot", 0) == 0
                                         ? createBlot(stage.board, middle, variant, 100 + checked, false)
                                         : createScrape(stage.board, middle, variant, 100 + checked, false);
        ASSERT_NE(drawn, nullptr);
        EXPECT_TRUE(sameCells(drawn->getGrid(), expected, where)) << "render texture: " << where;
    }
    EXPECT_GE(checked, 2) << "too few uneven frames to tell a mirrored grid";
}

// What one straight stroke left on an object.
struct StrokeResult {
    CellGrid cells;
    bool finished = false;
};

TEST_F(BoardPlayTest, AStrokeCountsWhatItWipesAtAnySpeed) {
    // The object under the stroke, made afresh for each row, and the tool that mends it (0: the
    // item's own).
    struct Target {
        const char* what;
        EraseableGameObject* (*damage)(GameBoard*, const Vec2&, int, int, bool);
        int tool;
        bool finishes;
    };
    const Target targets[] = {{"a revealed item", nullptr, 0, true},
                              {"a blot under the knife", createBlot, 4, false},
                              {"a cut under the needle", createCut, 5, true}};
    for (const Target& target : targets) {
        std::vector<StrokeResult> results;
        for (const int events : {2, 5, 40}) {
            SCOPED_TRACE(std::string(target.what) + ", " + std::to_string(events) + " events");
            std::srand(7);
            boardtest::freshProfile(5, "USA", "HarborDawn");
            stage.open("USA/HarborDawn");
            HiddenObject* item = nullptr;
            EraseableGameObject* object = nullptr;
            if (target.damage == nullptr) {
                item = stage.item("rowboat");
                ASSERT_NE(item, nullptr);
                reveal(item);
                stage.board->selectTool(toolFor(item->getKind()));
                object = item;
            } else {
                stage.board->selectTool(target.tool);
                object = target.damage(stage.board, bareCanvas(stage), 1, stage.board->nextDamageId(), false);
            }
            ASSERT_NE(object, nullptr);
            // A finished object fades out and leaves the level while the stroke goes on.
            const RefPtr<EraseableGameObject> hold(object);
            // Along the middle, end to end.
            const Rect box = object->getBoundingBox();
            const Vec2 from = stage.world(Vec2(box.getMinX() + 4, box.getMidY()));
            const Vec2 to = stage.world(Vec2(box.getMaxX() - 4, box.getMidY()));
            stage.stroke(from, to, events - 1);
            StrokeResult result;
            result.cells = object->getGrid();
            result.finished =
                item != nullptr ? item->getState() == HiddenObjectState::Restored : !object->isActive();
            EXPECT_EQ(result.finished, target.finishes);
            // Rubbed from its first column to its last.
            const CellGrid& cells = result.cells;
            const int row = static_cast<int>((object->getContentSize().height / 2) / cells.getCellSize());
            EXPECT_TRUE(cells.isClean(0, row) && cells.isClean(cells.getCols() - 1, row));
            EXPECT_LT(cells.countDirty(), object->getArea());
            EXPECT_EQ(stage.board->getMistakes(), 0) << "a stroke on its object is no miss";
            if (!results.empty()) {
                std::string where;
                EXPECT_EQ(result.finished, results.front().finished) << "the same erase result";
                EXPECT_TRUE(sameCells(result.cells, results.front().cells, where))
                    << "the same cells: " << where;
            }
            results.push_back(result);
            stage.close();
        }
    }
}

// Reveals the item with the defect of `kind`: the board draws its choice from rand(), so the seed
// is picked to give it.
void revealAs(Stage& stage, HiddenObject* item, DefectKind kind) {
    unsigned seed = 1;
    if (kind != DefectKind::Dirt) {
        for (std::srand(seed); std::rand() % 2 + 2 != static_cast<int>(kind); std::srand(++seed)) {
        }
    }
    std::srand(seed);
    stage.board->hitItem(item, stage.centreOf(item));
}

TEST_F(BoardPlayTest, ASweepAcrossAnObjectRubsWhatASlowStrokeWouldAndIsNoMiss) {
    // The object under the sweep, made afresh for every stroke: a revealed item of the tool's kind, or
    // damage of the tool's kind on an empty stretch of sky.
    struct Target {
        const char* what;
        int tool;
        const char* item;
        DefectKind kind;
        EraseableGameObject* (*damage)(GameBoard*, const Vec2&, int, int, bool);
    };
    const Target targets[] = {{"eraser on a dirty item", 2, "yawl", DefectKind::Dirt, nullptr},
                              {"knife on a blotted item", 4, "steamship", DefectKind::Blot, nullptr},
                              {"brush on a scraped item", 3, "steamship", DefectKind::Scrape, nullptr},
                              {"knife on a blot", 4, nullptr, DefectKind::Blot, createBlot},
                              {"brush on a scrape", 3, nullptr, DefectKind::Scrape, createScrape},
                              {"needle on a cut", 5, nullptr, DefectKind::Cut, createCut}};
    // Straight paths by the object's box (level-node space): a whole point to start from, and a whole
    // step that the slow stroke takes `steps` times, one move a step, as a slow hand moves the mouse
    // pixel by pixel. The sweep walks the same path in `moves` moves.
    struct Sweep {
        const char* what;
        Vec2 (*start)(const Rect&);
        Vec2 step;
        int (*steps)(const Rect&);
        int moves;
        bool crosses;
    };
    const Sweep sweeps[] = {
        {"both ends outside, on opposite sides",
         [](const Rect& b) { return Vec2(std::floor(b.getMinX()) - 17, std::floor(b.getMidY())); },
         Vec2(1, 0), [](const Rect& b) { return static_cast<int>(b.size.width) + 35; }, 1, true},
        {"one end outside",
         [](const Rect& b) { return Vec2(std::floor(b.getMinX()) - 17, std::floor(b.getMidY()) + 17); },
         Vec2(1, -1), [](const Rect&) { return 40; }, 1, true},
        {"grazing a corner",
         [](const Rect& b) { return Vec2(std::floor(b.getMinX()) - 20, std::floor(b.getMaxY()) - 33); },
         Vec2(1, 1), [](const Rect&) { return 53; }, 1, true},
        {"beside it",
         [](const Rect& b) { return Vec2(std::floor(b.getMinX()) - 30, std::floor(b.getMidY()) - 25); },
         Vec2(0, 1), [](const Rect&) { return 50; }, 1, false},
        {"both ends outside, in 40 moves",
         [](const Rect& b) { return Vec2(std::floor(b.getMinX()) - 17, std::floor(b.getMidY())); },
         Vec2(1, 0), [](const Rect& b) { return static_cast<int>(b.size.width) + 35; }, 40, true},
    };
    struct Outcome {
        CellGrid cells;
        bool finished = false;
        int mistakes = 0;
        size_t otherDamage = 0;
    };
    for (const Target& target : targets) {
        for (const Sweep& sweep : sweeps) {
            SCOPED_TRACE(std::string(target.what) + ", " + sweep.what);
            // The slow stroke first, then the sweep, each on a fresh board.
            Outcome outcomes[2];
            for (int run = 0; run < 2; ++run) {
                boardtest::freshProfile(5, "USA", "HarborDawn");
                stage.open("USA/HarborDawn");
                HiddenObject* item = nullptr;
                EraseableGameObject* object = nullptr;
                if (target.item != nullptr) {
                    item = stage.item(target.item);
                    ASSERT_NE(item, nullptr);
                    revealAs(stage, item, target.kind);
                    ASSERT_EQ(item->getKind(), target.kind);
                    object = item;
                } else {
                    object =
                        target.damage(stage.board, Vec2(500, 490), 1, stage.board->nextDamageId(), false);
                }
                ASSERT_NE(object, nullptr);
                // A finished object fades out and leaves the level while the stroke goes on.
                const RefPtr<EraseableGameObject> hold(object);
                stage.board->selectTool(target.tool);
                const Rect box = object->getBoundingBox();
                const Vec2 from = sweep.start(box);
                const int steps = sweep.steps(box);
                const Vec2 to = from + sweep.step * static_cast<float>(steps);
                if (run == 0) {
                    // Several events to a frame keep the test quick; each is a move of its own.
                    stage.driver().touchBegan(stage.world(from));
                    stage.driver().stepFrames(1);
                    for (int i = 1; i <= steps; ++i) {
                        stage.driver().touchMoved(stage.world(from + sweep.step * static_cast<float>(i)));
                        if (i % 20 == 0) {
                            stage.driver().stepFrames(1);
                        }
                    }
                    stage.driver().stepFrames(1);
                    stage.driver().touchEnded(stage.world(to));
                    stage.driver().stepFrames(1);
                } else {
                    stage.stroke(stage.world(from), stage.world(to), sweep.moves);
                }
                Outcome& outcome = outcomes[run];
                outcome.cells = object->getGrid();
                outcome.finished =
                    item != nullptr ? item->getState() == HiddenObjectState::Restored : !object->isActive();
                outcome.mistakes = stage.board->getMistakes();
                for (EraseableGameObject* damage : stage.level()->getDamageList()) {
                    outcome.otherDamage += damage != object ? 1 : 0;
                }
                stage.close();
            }
            const Outcome& slow = outcomes[0];
            const Outcome& fast = outcomes[1];
            EXPECT_EQ(fast.finished, slow.finished);
            std::string where;
            if (slow.finished && target.item == nullptr) {
                // Finished damage takes no more strokes, so the slow stroke stops rubbing it there.
                EXPECT_TRUE(cleanWhereverCleaned(fast.cells, slow.cells, where)) << where;
            } else {
                EXPECT_TRUE(sameCells(fast.cells, slow.cells, where))
                    << "the cells the slow stroke rubs: " << where;
            }
            EXPECT_EQ(fast.mistakes, slow.mistakes);
            EXPECT_EQ(fast.otherDamage, slow.otherDamage);
            if (sweep.crosses) {
                if (sweep.step.y == 0.0f) {
                    EXPECT_LT(fast.cells.countDirty(), fast.cells.getArea())
                        << "a sweep along the middle rubs";
                }
                EXPECT_EQ(fast.mistakes, 0) << "a stroke across its object is no miss";
                EXPECT_EQ(fast.otherDamage, 0u) << "and leaves no damage";
            } else {
                EXPECT_EQ(fast.mistakes, 1) << "a stroke beside it is a miss, as ever";
                EXPECT_EQ(fast.cells.countDirty(), fast.cells.getArea());
            }
        }
    }
}

TEST_F(BoardPlayTest, OverlappingDamageGivesItsOverlapToTheOlderAndASweepRubsEachItCrosses) {
    boardtest::freshProfile(5, "USA", "HarborDawn");
    // Two blots side by side, the younger over the older's right part.
    struct Run {
        CellGrid older, younger;
    };
    std::vector<Run> runs;
    auto play = [&](const std::function<void(const Rect&, const Rect&)>& strokes) {
        stage.open("USA/HarborDawn");
        EraseableGameObject* older =
            createBlot(stage.board, Vec2(470, 490), 1, stage.board->nextDamageId(), false);
        ASSERT_NE(older, nullptr);
        const float w = older->getContentSize().width;
        EraseableGameObject* younger =
            createBlot(stage.board, Vec2(470 + w * 0.6f, 490), 1, stage.board->nextDamageId(), false);
        ASSERT_NE(younger, nullptr);
        const RefPtr<EraseableGameObject> holdOlder(older);
        const RefPtr<EraseableGameObject> holdYounger(younger);
        stage.board->selectTool(4);
        strokes(older->getBoundingBox(), younger->getBoundingBox());
        runs.push_back({older->getGrid(), younger->getGrid()});
        EXPECT_EQ(stage.board->getMistakes(), 0);
        EXPECT_EQ(stage.level()->getDamageList().size(), 2u) << "no more damage, none finished";
        stage.close();
    };
    // A still touch where both lie: the older takes it.
    play([&](const Rect& older, const Rect& younger) {
        const Vec2 overlap = stage.world(Vec2((younger.getMinX() + older.getMaxX()) / 2, older.getMidY()));
        stage.driver().touchBegan(overlap);
        stage.driver().stepFrames(1);
        stage.driver().touchEnded(overlap);
        stage.driver().stepFrames(1);
    });
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_LT(runs[0].older.countDirty(), runs[0].older.getArea());
    EXPECT_EQ(runs[0].younger.countDirty(), runs[0].younger.getArea());
    // One row across both, slowly and in one sweep from beside the older to beside the younger.
    for (int moves : {0, 1}) {
        play([&](const Rect& older, const Rect& younger) {
            const Vec2 from(std::floor(older.getMinX()) - 17, std::floor(older.getMidY()) + 5);
            const int steps = static_cast<int>(younger.getMaxX() - from.x) + 17;
            const Vec2 to = from + Vec2(static_cast<float>(steps), 0);
            stage.stroke(stage.world(from), stage.world(to), moves == 0 ? steps : moves);
        });
    }
    ASSERT_EQ(runs.size(), 3u);
    std::string where;
    EXPECT_TRUE(sameCells(runs[2].older, runs[1].older, where)) << "the older: " << where;
    EXPECT_TRUE(sameCells(runs[2].younger, runs[1].younger, where)) << "the younger: " << where;
    EXPECT_LT(runs[2].younger.countDirty(), runs[2].younger.getArea()) << "the sweep rubbed the younger too";
}

bool contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST_F(BoardPlayTest, AToolReplacedFromItsOwnHandlerOutlivesTheHandler) {
    boardtest::freshProfile(5, "USA", "HarborDawn");
    stage.open("USA/HarborDawn");
    std::vector<std::string>& log = stage.driver().captureLog();

    // As the intro's tutorial does: the item's erase, reported from inside the tool's stroke, selects
    // the spray at once. The tool's handler then still runs, so the tool must not be gone yet.
    HiddenObject* item = stage.item("steamship");
    ASSERT_NE(item, nullptr);
    reveal(item);
    ASSERT_EQ(item->getState(), HiddenObjectState::Revealed);
    const int tool = toolFor(item->getKind());
    const std::string toolGone = "~CBaseState " + std::to_string(tool);
    bool goneInsideHandler = true;
    stage.board->setOnItemErased([&](HiddenObject*, Vec2) {
        stage.board->selectTool(1);
        goneInsideHandler = contains(log, toolGone);
    });
    restore(item);
    ASSERT_EQ(item->getState(), HiddenObjectState::Restored);
    EXPECT_FALSE(goneInsideHandler);
    EXPECT_TRUE(contains(log, toolGone)) << "released once the event is done";
    EXPECT_EQ(stage.board->getState()->getToolId(), ToolState::Sray);

    // The same through the end of a touch: mending asks for the spray from the tool's own handler.
    stage.followToolChange = true;
    stage.board->selectTool(2);
    const Vec2 start = bareCanvas(stage);
    stage.stroke(stage.world(start), stage.world(start + Vec2(20, 0)));
    ASSERT_EQ(stage.level()->getDamageList().size(), 1u);
    RefPtr<EraseableGameObject> scrape(stage.level()->getDamageList().front());
    stage.board->selectTool(3);
    log.clear();
    bool brushGoneInsideHandler = true;
    stage.board->setOnToolChange([&](int toolId, bool) {
        stage.board->selectTool(toolId);
        brushGoneInsideHandler = contains(log, "~CBaseState 3");
    });
    for (int pass = 0; pass < 4 && scrape->isActive(); ++pass) {
        stage.rub(scrape.get(), 4.0f);
    }
    EXPECT_FALSE(scrape->isActive());
    EXPECT_FALSE(brushGoneInsideHandler);
    EXPECT_TRUE(contains(log, "~CBaseState 3"));
    stage.driver().stopCapturingLog();

    // A drop, then another tool before the drop lands: the drop still lands.
    HiddenObject* other = stage.item("rowboat");
    ASSERT_NE(other, nullptr);
    stage.wait(0.5f);
    stage.board->selectTool(1);
    stage.events.clear();
    stage.driver().tap(stage.maskPoint(other));
    stage.driver().stepFrames(2);
    stage.board->selectTool(2);
    stage.wait(0.3f);
    EXPECT_EQ(stage.eventNames(), std::vector<std::string>{"hit"});
    EXPECT_EQ(other->getState(), HiddenObjectState::Revealed);
}

TEST_F(BoardPlayTest, ATouchThatDoesNotMoveStampsOnceExceptTheNeedle) {
    struct Case {
        int missTool;
        int mendTool;
        size_t passes;
    };
    // A blot under a still knife is stamped once; a cut under a still needle gets no stitch.
    for (const Case& c : {Case{3, 4, 1}, Case{4, 5, 0}}) {
        SCOPED_TRACE("mending tool " + std::to_string(c.mendTool));
        boardtest::freshProfile(5, "USA", "HarborDawn");
        stage.open("USA/HarborDawn");
        stage.board->selectTool(c.missTool);
        const Vec2 start = bareCanvas(stage);
        stage.stroke(stage.world(start), stage.world(start + Vec2(40, 0)));
        ASSERT_EQ(stage.level()->getDamageList().size(), 1u);
        EraseableGameObject* damage = stage.level()->getDamageList().front();
        const int dirty = damage->getGrid().countDirty();
        stage.board->selectTool(c.mendTool);
        stage.events.clear();
        const size_t before = EraseableGameObject::getStrokePassCount();
        const Vec2 centre = stage.centreOf(damage);
        stage.driver().touchBegan(centre);
        stage.driver().stepFrames(1);
        stage.driver().touchEnded(centre);
        stage.driver().stepFrames(1);
        EXPECT_EQ(EraseableGameObject::getStrokePassCount() - before, c.passes);
        if (c.passes == 0) {
            EXPECT_EQ(damage->getGrid().countDirty(), dirty) << "no cell changes";
        }
        EXPECT_TRUE(stage.events.empty()) << "a touch on damage is no miss";
        EXPECT_TRUE(damage->isActive());
        stage.close();
    }
}

TEST_F(BoardPlayTest, AKnifeStrokeBegunOffThePictureCutsInsideIt) {
    boardtest::freshProfile(5, "USA", "HarborDawn");
    stage.open("USA/HarborDawn");
    stage.board->selectTool(4);
    // From the left margin of the screen (off the picture) to a bare spot near the picture's left edge.
    const Vec2 end = stage.world(Vec2(30, 300));
    ASSERT_TRUE(stage.board->isInsidePicture(end));
    if (stage.board->findDamageAt(end) == nullptr) {
        stage.stroke(Vec2(5, end.y), end);
    }
    ASSERT_EQ(stage.board->pictureRecord().damage.size(), 1u);
    const DamageRecord record = stage.board->pictureRecord().damage[0];
    const Rect picture = stage.level()->getChildByName("background")->getBoundingBox();
    EXPECT_TRUE(picture.containsPoint(Vec2(record.x, record.y))) << record.x << ", " << record.y;
    ASSERT_EQ(stage.level()->getDamageList().size(), 1u);
    EXPECT_GE(stage.level()->getDamageList().front()->getContentSize().width, 1.0f);
}

TEST_F(BoardPlayTest, TheIntroLevelRecordsMissesButShowsNoDamageAndTeachesTheDefectsInTurn) {
    boardtest::freshProfile(-1, "", "");
    stage.open("demo/Vesquino");
    ASSERT_EQ(stage.level()->getItems().size(), 3u);
    stage.board->selectTool(3);
    const Vec2 start = bareCanvas(stage);
    stage.stroke(stage.world(start), stage.world(start + Vec2(20, 0)));
    EXPECT_EQ(stage.eventNames(), std::vector<std::string>{"miss"});
    EXPECT_TRUE(stage.level()->getDamageList().empty());
    EXPECT_EQ(stage.board->pictureRecord().damage.size(), 1u) << "the miss is recorded all the same";

    const DefectKind expected[] = {DefectKind::Blot, DefectKind::Scrape, DefectKind::Dirt};
    const char* order[] = {"kestrova", "headphones", "teacup"};
    for (int i = 0; i < 3; ++i) {
        HiddenObject* item = stage.item(order[i]);
        ASSERT_NE(item, nullptr) << order[i];
        reveal(item);
        ASSERT_EQ(item->getState(), HiddenObjectState::Revealed) << order[i];
        EXPECT_EQ(item->getKind(), expected[i]) << order[i];
        EXPECT_EQ(item->getPercent(), HiddenObject::kPercentIntro);
        restore(item);
        ASSERT_EQ(item->getState(), HiddenObjectState::Restored) << order[i];
        stage.wait(0.5f);
    }
    EXPECT_EQ(stage.board->getItemsRestored(), 3);
}

TEST_F(BoardPlayTest, IdleCallbackRunsOnceAfterFifteenQuietSeconds) {
    boardtest::freshProfile(5, "USA", "HarborDawn");
    stage.open("USA/HarborDawn");
    auto tick = [&](float seconds) {
        for (int i = 0; i < static_cast<int>(seconds * 10); ++i) {
            stage.board->update(0.1f);
        }
    };
    tick(14.8f);
    EXPECT_TRUE(stage.events.empty());
    tick(0.3f);
    EXPECT_EQ(stage.eventNames(), std::vector<std::string>{"idle"});
    tick(30.0f);
    EXPECT_EQ(stage.events.size(), 1u);
    stage.board->selectTool(1);
    stage.driver().tap(Vec2(2, 2));  // off the picture: refused, but a touch all the same
    stage.driver().stepFrames(1);
    tick(15.1f);
    EXPECT_EQ(stage.events.size(), 2u);
}

TEST_F(BoardPlayTest, AHintPointsAtARemainingItemThroughAHoleAndGoesAtTheNextTouch) {
    boardtest::freshProfile(5, "demo", "Vesquino");
    stage.open("demo/Vesquino");
    auto pixel = [&](const Vec2& p) {
        RefPtr<cocos2d::Image> image = stage.driver().readPixels(Rect(p.x, 810.0f - p.y, 1, 1));
        const cocos2d::Color4B c = image->getPixel(0, 0);
        return c.r + c.g + c.b;
    };
    const Vec2 far = stage.world(Vec2(20, 20));
    const int farBefore = pixel(far);
    stage.board->setHintsLeft(1);
    stage.board->useHint();
    stage.driver().stepFrames(2);
    ASSERT_EQ(stage.eventNames(), std::vector<std::string>{"hint"});
    // The overlay darkens the picture but for the hole over the target.
    stage.board->hideHintOverlay();
    stage.wait(0.5f);
    std::vector<std::pair<Vec2, int>> centres;
    for (auto& [name, item] : stage.level()->getItems()) {
        const Vec2 centre = stage.level()->convertToWorldSpace(item->getPosition());
        centres.emplace_back(centre, pixel(centre));
    }
    stage.events.clear();
    stage.board->setHintsLeft(1);
    stage.board->useHint();
    stage.wait(1.0f);
    ASSERT_EQ(stage.eventNames(), std::vector<std::string>{"hint"});
    bool checked = false;
    for (const auto& [centre, before] : centres) {
        if (centre.distance(stage.events[0].position) < 0.5f) {
            EXPECT_NEAR(pixel(centre), before, before / 5 + 10) << "the hole stays clear";
            checked = true;
        }
    }
    EXPECT_TRUE(checked) << "the hint points at an item's centre";
    EXPECT_LT(pixel(far), farBefore * 2 / 3) << "the rest is darkened";
    EXPECT_EQ(stage.board->getHintsLeft(), 0);
    EXPECT_EQ(stage.board->getHintsUsed(), 2);
    ASSERT_TRUE(stage.board->isHintShowing());
    stage.board->setHintsLeft(1);
    stage.board->useHint();
    EXPECT_EQ(stage.board->getHintsLeft(), 1) << "not while a hint shows";
    stage.board->setHintsLeft(0);
    stage.board->useHint();
    EXPECT_EQ(stage.board->getHintsUsed(), 2) << "no hints left";
    stage.wait(0.3f);
    stage.driver().tap(Vec2(2, 2));
    stage.driver().stepFrames(1);
    EXPECT_FALSE(stage.board->isHintShowing());

    // The hole: the target's box in world coordinates, 40 points wider on every side.
    HiddenObject* item = stage.item("teacup");
    const Rect box = item->getBoundingBox();
    const Rect hole = stage.board->hintHole(item);
    const Vec2 corner = stage.world(box.origin);
    EXPECT_FLOAT_EQ(hole.getMinX(), corner.x - 40);
    EXPECT_FLOAT_EQ(hole.getMinY(), corner.y - 40);
    EXPECT_FLOAT_EQ(hole.getMaxX(), corner.x + box.size.width + 40);
    EXPECT_FLOAT_EQ(hole.getMaxY(), corner.y + box.size.height + 40);
}

TEST_F(BoardPlayTest, APictureAreaWithoutASizeCentresThePictureAllTheSame) {
    for (bool sized : {true, false}) {
        SCOPED_TRACE(sized ? "sized area" : "area without a size");
        boardtest::freshProfile(5, "USA", "HarborDawn");
        stage.open("USA/HarborDawn", sized);
        const Vec2 centre = stage.world(Vec2(480, 300));
        EXPECT_NEAR(centre.x, 640.0f, 0.01);
        EXPECT_NEAR(centre.y, 405.0f, 0.01);
        EXPECT_TRUE(stage.board->isInsidePicture(Vec2(161, 106)));
        EXPECT_FALSE(stage.board->isInsidePicture(Vec2(159, 106)));
        EXPECT_FALSE(stage.board->isInsidePicture(Vec2(641, 706)));
        // A pan with the board's fixed scale leaves the picture where it is.
        stage.board->selectTool(2);
        stage.stroke(Vec2(300, 300), Vec2(500, 420));
        EXPECT_EQ(stage.area->getPosition(), Vec2::ZERO);
        stage.close();
    }
}

TEST_F(BoardPlayTest, DamageOffThePictureIsCutToItOrNotMadeAtAll) {
    boardtest::freshProfile(5, "USA", "HarborDawn");
    stage.open("USA/HarborDawn");
    cocos2d::SpriteFrame* frame =
        cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName("blot_1.png");
    ASSERT_NE(frame, nullptr);
    const float w = frame->getOriginalSize().width;
    const float h = frame->getOriginalSize().height;
    // Centred 10 points inside the right edge: the part past the edge goes, the rest stays in place.
    EraseableGameObject* clipped = createBlot(stage.board, Vec2(950, 300), 1, 1, false);
    ASSERT_NE(clipped, nullptr);
    const int d = static_cast<int>(w / 2 - 10);
    EXPECT_FLOAT_EQ(clipped->getContentSize().width, static_cast<int>(w) - d);
    EXPECT_FLOAT_EQ(clipped->getContentSize().height, static_cast<int>(h));
    const Rect box = clipped->getBoundingBox();
    EXPECT_NEAR(box.getMinX(), 950 - w / 2, 1.0) << "the kept part stays where it was";
    EXPECT_NEAR(box.getMaxX(), 960, 1.0);
    // Wholly off the picture: nothing is made and nothing is left on the level.
    const size_t before = stage.level()->getDamageList().size();
    const ssize_t children = stage.level()->getChildrenCount();
    EXPECT_EQ(createBlot(stage.board, Vec2(-500, 300), 1, 2, false), nullptr);
    EXPECT_EQ(createCut(stage.board, Vec2(480, 2000), 2, 3, false), nullptr);
    EXPECT_EQ(createScrape(stage.board, Vec2(480, 300), 0, 4, false), nullptr) << "no variant 0";
    EXPECT_EQ(stage.level()->getDamageList().size(), before);
    EXPECT_EQ(stage.level()->getChildrenCount(), children);
}

TEST_F(BoardPlayTest, ABoardThatGoesTakesItsLevelToolAndHintAlong) {
    boardtest::freshProfile(5, "USA", "HarborDawn");
    stage.open("USA/HarborDawn");
    HiddenObject* item = stage.item("rowboat");
    ASSERT_NE(item, nullptr);
    reveal(item);
    stage.board->selectTool(toolFor(item->getKind()));
    stage.board->setHintsLeft(2);
    stage.board->useHint();
    stage.wait(0.3f);
    ASSERT_TRUE(stage.board->isHintShowing());
    // Each of these is held here too; once the board is gone this must be the last hold.
    RefPtr<cocos2d::Sprite> firstHint(stage.board->getHintOverlay());
    stage.driver().tap(Vec2(2, 2));
    stage.wait(0.3f);
    ASSERT_FALSE(stage.board->isHintShowing());
    EXPECT_EQ(firstHint->getParent(), nullptr) << "faded out and removed at the touch";
    EXPECT_EQ(firstHint->getReferenceCount(), 1u);
    stage.board->useHint();
    stage.wait(0.3f);
    ASSERT_TRUE(stage.board->isHintShowing());
    RefPtr<cocos2d::Sprite> lastHint(stage.board->getHintOverlay());
    RefPtr<NodeLevel> level(stage.level());
    RefPtr<CBaseState> tool(stage.board->getState());
    RefPtr<HiddenObject> revealed(item);
    const std::string folder = "Scenes/USA/HarborDawn";
    cocos2d::TextureCache* textures = cocos2d::Director::getInstance()->getTextureCache();
    ASSERT_NE(textures->getTextureForKey(folder + "/masks_atlas.png"), nullptr);

    stage.close();
    stage.driver().stepFrames(2);
    EXPECT_EQ(level->getReferenceCount(), 1u) << "the level node";
    EXPECT_EQ(tool->getReferenceCount(), 1u) << "the current tool state";
    // The level node holds its children until it goes itself.
    level = nullptr;
    EXPECT_EQ(lastHint->getReferenceCount(), 1u) << "the hint still showing";
    EXPECT_EQ(revealed->getReferenceCount(), 1u) << "a revealed item with its render texture";
    for (const char* image : {"/background.jpg", "/textures_atlas.png", "/masks_atlas.png"}) {
        EXPECT_EQ(textures->getTextureForKey(folder + image), nullptr) << image;
    }
}

TEST_F(BoardPlayTest, ABoardWithoutCallbacksPlaysOn) {
    boardtest::freshProfile(5, "USA", "HarborDawn");
    stage.open("USA/HarborDawn");
    stage.board->setOnItemHit(nullptr);
    stage.board->setOnItemErased(nullptr);
    stage.board->setOnDamageFixed(nullptr);
    stage.board->setOnMiss(nullptr);
    stage.board->setOnHintShown(nullptr);
    stage.board->setOnToolChange(nullptr);
    stage.board->setOnIdle(nullptr);
    HiddenObject* item = stage.item("rowboat");
    reveal(item);
    ASSERT_EQ(item->getState(), HiddenObjectState::Revealed);
    restore(item);
    EXPECT_EQ(item->getState(), HiddenObjectState::Restored);
    stage.board->selectTool(3);
    const Vec2 start = bareCanvas(stage);
    stage.stroke(stage.world(start), stage.world(start + Vec2(20, 0)));
    EXPECT_EQ(stage.board->getMistakes(), 1);
    stage.board->setHintsLeft(2);
    stage.board->useHint();
    stage.wait(0.5f);
    for (int i = 0; i < 200; ++i) {
        stage.board->update(0.1f);
    }
    stage.board->endPlay();
    EXPECT_TRUE(stage.events.empty());
}

TEST_F(BoardPlayTest, DebugSolvePaysTheFullPriceAndDebugEraseSparesTheCurrentItem) {
    Profile& profile = boardtest::freshProfile(5, "USA", "HarborDawn");
    boardtest::addPackPicture(profile, "USA", "HarborDawn", 25000);
    profile.world.pictures["HarborDawn"].earnedTotal = 9000;
    stage.open("USA/HarborDawn");
    EXPECT_FLOAT_EQ(stage.board->getEarned(), 9000.0f);

    HiddenObject* item = stage.item("rowboat");
    reveal(item);
    ASSERT_EQ(stage.board->getCurrentItem(), item);
    stage.board->eraseHintTarget();
    stage.wait(0.5f);
    EXPECT_EQ(stage.board->getItemsRestored(), 0) << "nothing is erased while an item is being erased";
    EXPECT_EQ(stage.board->getCurrentItem(), item);
    restore(item);
    stage.wait(0.5f);
    ASSERT_EQ(stage.board->getCurrentItem(), nullptr);
    stage.board->eraseHintTarget();
    EXPECT_EQ(stage.board->getItemsRestored(), 2);
    stage.wait(0.5f);
    EXPECT_EQ(stage.level()->getItems().size(), 23u);

    stage.board->solveAll();
    EXPECT_EQ(stage.board->getItemsRestored(), stage.board->getItemsOnLevel());
    EXPECT_FLOAT_EQ(stage.board->getEarned(), 25000.0f);
    EXPECT_EQ(stage.board->pictureRecord().restoredHistory.size(), 23u);
}

}  // namespace
