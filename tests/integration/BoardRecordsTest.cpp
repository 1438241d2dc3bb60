#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "BoardTestStage.h"
#include "PictureProgress.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"
#include "gameBoard/BoardPricing.h"

namespace {

namespace fs = std::filesystem;
using boardtest::Stage;
using cocos2d::Rect;
using cocos2d::Vec2;

class BoardRecordsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        boardtest::useResources();
        boardtest::useTemporaryDataHome("board-records");
    }

    void SetUp() override { std::srand(11); }

    void TearDown() override {
        stage.close();
        Settings::destroyInstance();
    }

    Stage stage;
};

std::vector<std::string> harborItems() {
    return {"lanternpost", "barrels",     "crates",    "anchor",  "bollard",    "dog",      "basket",
            "ropecoil",    "bucket",      "rowboat",   "buoy",    "canoe",      "sailboat", "duck",
            "swan",        "floatbarrel", "steamship", "yawl",    "lighthouse", "gull",     "gulltwo",
            "gullthree",   "balloon",     "moon",      "lifering"};
}

TEST_F(BoardRecordsTest, ItemCountsAndTheSurplusTakenIntoTheHistory) {
    struct Case {
        const char* what;
        int storyLevel;
        int state;
        int historyNames;
        size_t inPlay;
        int itemsOnLevel;
        int totalItems;
        size_t historyAfter;
    };
    const Case cases[] = {
        {"story level 2, first play", 2, 0, 0, 20, 20, 20, 5},
        {"story level 2, replay after an end", 2, 1, 12, 13, 13, 20, 12},
        {"story level 2, first play left early", 2, 0, 12, 13, 13, 20, 12},
        {"story level 0, first play", 0, 0, 0, 10, 10, 10, 15},
        {"story level 5", 5, 0, 0, 25, 25, 25, 0},
        {"story level 5 with a history", 5, 3, 20, 5, 5, 25, 20},
        {"every item restored before", 5, 3, 25, 25, 25, 25, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Profile& profile = boardtest::freshProfile(c.storyLevel, "USA", "HarborDawn");
        PictureProgress& record = profile.world.pictures["HarborDawn"];
        record.state = c.state;
        const std::vector<std::string> names = harborItems();
        for (int i = 0; i < c.historyNames; ++i) {
            record.restoredHistory.insert(names[static_cast<size_t>(i)]);
        }
        stage.open("USA/HarborDawn");
        EXPECT_EQ(stage.level()->getItems().size(), c.inPlay);
        EXPECT_EQ(stage.board->getItemsOnLevel(), c.itemsOnLevel);
        EXPECT_EQ(stage.board->getTotalItems(), c.totalItems);
        const PictureProgress& after = stage.board->pictureRecord();
        EXPECT_EQ(after.restoredHistory.size(), c.historyAfter);
        EXPECT_EQ(after.finished, c.historyNames == 25);
        // No item in play is named in the history; together they make up the picture.
        for (auto& [name, item] : stage.level()->getItems()) {
            EXPECT_EQ(after.restoredHistory.count(name), 0u) << name;
            EXPECT_EQ(item->getParent(), stage.level());
        }
        if (c.historyNames < 25) {
            EXPECT_EQ(after.restoredHistory.size() + stage.level()->getItems().size(), 25u);
        }
        stage.close();
    }
}

TEST_F(BoardRecordsTest, AHistoryOfEveryItemWithDamageLeftKeepsThemAllOut) {
    Profile& profile = boardtest::freshProfile(5, "USA", "HarborDawn");
    PictureProgress& record = profile.world.pictures["HarborDawn"];
    for (const std::string& name : harborItems()) {
        record.restoredHistory.insert(name);
    }
    record.damage.push_back(DamageRecord{3, 480, 300, 3, 1});
    stage.open("USA/HarborDawn");
    EXPECT_TRUE(stage.level()->getItems().empty());
    EXPECT_EQ(stage.level()->getDamageList().size(), 1u);
    EXPECT_FALSE(stage.board->pictureRecord().finished);
    EXPECT_EQ(stage.board->getItemsOnLevel(), 0);
}

TEST_F(BoardRecordsTest, SavedDamageIsRecreatedWithFreshIdsAndBadRecordsAreDropped) {
    Profile& profile = boardtest::freshProfile(5, "USA", "PrairieWind");
    PictureProgress& record = profile.world.pictures["PrairieWind"];
    record.damage = {
        DamageRecord{7, 200, 150, 3, 1},    // blot
        DamageRecord{9, 700, 450, 4, 3},    // cut
        DamageRecord{12, 400, 500, 2, 2},   // scrape
        DamageRecord{13, 300, 300, 9, 1},   // no such tool: kept, nothing made
        DamageRecord{14, 5000, 300, 3, 1},  // off the picture
        DamageRecord{15, -20, 40, 2, 1},    // off the picture
        DamageRecord{16, 300, 300, 4, 0},   // no such variant
        DamageRecord{17, 300, 300, 2, 7},   // no such variant
    };
    std::vector<std::string>& log = stage.driver().captureLog();
    stage.open("USA/PrairieWind");
    const std::vector<std::string> lines = log;
    stage.driver().stopCapturingLog();

    const auto& damage = stage.level()->getDamageList();
    ASSERT_EQ(damage.size(), 3u);
    const DefectKind kinds[] = {DefectKind::Blot, DefectKind::Cut, DefectKind::Scrape};
    const Vec2 places[] = {{200, 150}, {700, 450}, {400, 500}};
    int i = 0;
    for (EraseableGameObject* object : damage) {
        EXPECT_EQ(object->getKind(), kinds[i]);
        EXPECT_EQ(object->getTag(), i + 1);
        EXPECT_NEAR(object->getPositionX(), places[i].x, 1.0);
        EXPECT_NEAR(object->getPositionY(), places[i].y, 1.0);
        EXPECT_FLOAT_EQ(object->getOpacity(), 255) << "saved damage shows at once";
        ++i;
    }
    const std::vector<DamageRecord>& after = stage.board->pictureRecord().damage;
    ASSERT_EQ(after.size(), 4u);
    EXPECT_EQ(after[0], (DamageRecord{1, 200, 150, 3, 1}));
    EXPECT_EQ(after[1], (DamageRecord{2, 700, 450, 4, 3}));
    EXPECT_EQ(after[2], (DamageRecord{3, 400, 500, 2, 2}));
    EXPECT_EQ(after[3], (DamageRecord{4, 300, 300, 9, 1}));
    const auto dropped = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("Saved damage") == 0 && line.find("dropped") != std::string::npos;
    });
    EXPECT_EQ(dropped, 4);

    // The next miss takes the next id.
    stage.board->selectTool(3);
    stage.stroke(stage.world(Vec2(100, 560)), stage.world(Vec2(130, 560)));
    ASSERT_EQ(stage.board->pictureRecord().damage.size(), 5u);
    EXPECT_EQ(stage.board->pictureRecord().damage.back().id, 9);
}

TEST_F(BoardRecordsTest, DamageMadeInOnePlayIsThereAtTheNext) {
    boardtest::freshProfile(5, "USA", "HarborDawn");
    stage.open("USA/HarborDawn");
    stage.board->selectTool(2);
    stage.stroke(stage.world(Vec2(60, 560)), stage.world(Vec2(90, 560)));
    ASSERT_EQ(stage.level()->getDamageList().size(), 1u);
    const DamageRecord made = stage.board->pictureRecord().damage.at(0);
    stage.close();

    stage.open("USA/HarborDawn");
    ASSERT_EQ(stage.level()->getDamageList().size(), 1u);
    EraseableGameObject* again = stage.level()->getDamageList().front();
    EXPECT_EQ(again->getKind(), DefectKind::Scrape);
    EXPECT_NEAR(again->getPositionX(), made.x, 1.0);
    EXPECT_NEAR(again->getPositionY(), made.y, 1.0);
    EXPECT_EQ(again->getFrameName(), "scrape_" + std::to_string(made.variant) + ".png");
}

TEST_F(BoardRecordsTest, PricesOfTheItemsInPlayAddUpToTheFullPrice) {
    struct Case {
        int storyLevel;
        int fullPrice;
    };
    for (const Case& c : {Case{5, 25000}, Case{2, 25000}, Case{5, 0}}) {
        SCOPED_TRACE("story level " + std::to_string(c.storyLevel) + ", price " +
                     std::to_string(c.fullPrice));
        Profile& profile = boardtest::freshProfile(c.storyLevel, "USA", "HarborDawn");
        boardtest::addPackPicture(profile, "USA", "HarborDawn", c.fullPrice);
        stage.open("USA/HarborDawn");
        EXPECT_EQ(stage.board->getFullPicturePrice(), c.fullPrice);
        std::vector<int32_t> areas;
        for (auto& [name, item] : stage.level()->getItems()) {
            areas.push_back(item->getArea());
        }
        const BoardPricing::Rate rate = BoardPricing::rateFor(areas);
        EXPECT_EQ(stage.board->getPriceRate(), rate.priceRate);
        EXPECT_EQ(stage.board->getMinArea(), rate.minArea);
        EXPECT_EQ(stage.board->getMaxArea(), rate.maxArea);
        const PictureProgress& record = stage.board->pictureRecord();
        EXPECT_EQ(record.priceRate, rate.priceRate);
        int32_t sum = 0;
        for (int32_t area : areas) {
            sum += BoardPricing::itemPrice(c.fullPrice, rate, area);
        }
        EXPECT_LE(sum, c.fullPrice);
        EXPECT_GE(sum, c.fullPrice - static_cast<int32_t>(areas.size()));
        stage.close();
    }
}

TEST_F(BoardRecordsTest, TheHitTestGoesThroughTheHalfSizeMaskOfTheImageFile) {
    boardtest::freshProfile(5, "demo", "Vesquino");
    stage.open("demo/Vesquino");
    cocos2d::Image masks;
    ASSERT_TRUE(masks.initWithImageFile(
        cocos2d::FileUtils::getInstance()->fullPathForFilename("Scenes/demo/Vesquino/masks_atlas.png")));
    for (const char* name : {"kestrova", "headphones", "teacup"}) {
        SCOPED_TRACE(name);
        HiddenObject* item = stage.item(name);
        ASSERT_NE(item, nullptr);
        ASSERT_TRUE(item->hasHitMask());
        cocos2d::SpriteFrame* frame = cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName(
            HiddenObject::maskFrameName(item->getFrameName()));
        ASSERT_NE(frame, nullptr);
        const Rect maskRect = frame->getRect();
        EXPECT_FLOAT_EQ(maskRect.size.width * 2, item->getContentSize().width);
        EXPECT_FLOAT_EQ(maskRect.size.height * 2, item->getContentSize().height);
        const Rect box = item->getBoundingBox();
        int hits = 0;
        int misses = 0;
        // Every 3 points over the item's box and a margin around it.
        for (float y = box.getMinY() - 6; y < box.getMaxY() + 6; y += 3.0f) {
            for (float x = box.getMinX() - 6; x < box.getMaxX() + 6; x += 3.0f) {
                const float lx = (x - box.getMinX()) / 2.0f;
                const float ly = (y - box.getMinY()) / 2.0f;
                bool expected = false;
                if (lx > 0 && ly > 0 && lx < maskRect.size.width && ly < maskRect.size.height) {
                    const cocos2d::Color4B c =
                        masks.getPixel(static_cast<int>(maskRect.origin.x + lx),
                                       static_cast<int>(maskRect.origin.y + maskRect.size.height - ly));
                    expected = (c.r + c.g + c.b) / 3 > 128;
                }
                const Vec2 point = stage.world(Vec2(x, y));
                EXPECT_EQ(item->hitTest(point), expected) << x << ", " << y;
                EXPECT_EQ(stage.board->findItemAt(point) == item, expected) << x << ", " << y;
                (expected ? hits : misses)++;
            }
        }
        EXPECT_GT(hits, 20);
        EXPECT_GT(misses, 20);
    }
}

TEST_F(BoardRecordsTest, AForcedItemIsTheOnlyOneADropFindsForOneHit) {
    boardtest::freshProfile(-1, "", "");
    stage.open("demo/Vesquino");
    stage.board->setForcedItem("nosuchitem");
    EXPECT_EQ(stage.board->getForcedItem(), "");
    stage.board->setForcedItem("headphones");
    HiddenObject* teacup = stage.item("teacup");
    HiddenObject* headphones = stage.item("headphones");
    stage.board->selectTool(1);
    stage.driver().tap(stage.maskPoint(teacup));
    stage.wait(0.3f);
    EXPECT_EQ(stage.eventNames(), std::vector<std::string>{"miss"});
    EXPECT_EQ(teacup->getState(), HiddenObjectState::Hidden);
    stage.driver().tap(stage.maskPoint(headphones));
    stage.wait(0.3f);
    EXPECT_EQ(stage.eventNames(), (std::vector<std::string>{"miss", "hit"}));
    EXPECT_EQ(stage.board->getForcedItem(), "");
    // While an item is current a drop does nothing, not even a miss.
    stage.driver().tap(stage.maskPoint(teacup));
    stage.wait(0.3f);
    EXPECT_EQ(stage.events.size(), 2u);
}

// A level folder of our own under a temporary search path, with the demo picture's sheets.
class BadLevelTest : public BoardRecordsTest {
protected:
    void SetUp() override {
        BoardRecordsTest::SetUp();
        root = boardtest::privateFolder("bad-levels");
        fs::remove_all(root);
        cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
        files->addSearchPath(root.string(), true);
    }
    void TearDown() override {
        BoardRecordsTest::TearDown();
        boardtest::useResources();
        cocos2d::FileUtils::getInstance()->purgeCachedEntries();
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    // Writes Scenes/bad/<name>/ with the demo picture's images and sheets and the given description
    // (none when empty).
    void makeLevel(const std::string& name, const std::string& description) {
        const fs::path folder = root / "Scenes" / "bad" / name;
        fs::create_directories(folder);
        const std::string demo =
            cocos2d::FileUtils::getInstance()->fullPathForFilename("Scenes/demo/Vesquino/ccnode.json");
        const fs::path source = fs::path(demo).parent_path();
        for (const char* file : {"background.jpg", "textures_atlas.xml", "textures_atlas.png",
                                 "masks_atlas.xml", "masks_atlas.png"}) {
            fs::copy_file(source / file, folder / file, fs::copy_options::overwrite_existing);
        }
        if (!description.empty()) {
            std::ofstream(folder / "ccnode.json") << description;
        }
        cocos2d::FileUtils::getInstance()->purgeCachedEntries();
    }

    fs::path root;
};

TEST_F(BadLevelTest, ABrokenDescriptionLogsOneLineAndLeavesTheBoardEmpty) {
    struct Case {
        const char* name;
        std::string description;
        const char* line;
    };
    const Case cases[] = {
        {"missing", "", "no level description"},
        {"malformed", "{\"nodes\": [ {\"name\": \"background\", ", "Parsing JSON document"},
        {"deep", "{\"nodes\": " + std::string(200000, '[') + std::string(200000, ']') + "}",
         "Parsing JSON document 'Scenes/bad/deep/ccnode.json' returned error: 16"},
        {"nonodes", "{\"things\": []}", "no \"nodes\" list"},
        {"notarray", "{\"nodes\": 5}", "no \"nodes\" list"},
        {"firstnotbackground",
         R"({"nodes": [{"name": "kestrova", "tex": "vesquino_kestrova.png", "restoreitem": 1, "x": 0, "y": 0, "w": 10, "h": 10}]})",
         "the first element is not the background"},
        {"backgroundtyped",
         R"({"nodes": [{"name": 7, "tex": "background.jpg", "x": 0, "y": 0, "w": 960, "h": 600}]})",
         "the first element is not the background"},
        {"namedbackground2",
         R"({"nodes": [{"name": "background2", "tex": "background.jpg", "x": 0, "y": 0, "w": 960, "h": 600}]})",
         "no element named \"background\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boardtest::freshProfile(5, "bad", c.name);
        boardtest::freshProfile(5, "bad", c.name)
            .world.pictures[c.name]
            .damage.push_back(DamageRecord{1, 100, 100, 3, 1});
        makeLevel(c.name, c.description);
        std::vector<std::string>& log = stage.driver().captureLog();
        stage.open(std::string("bad/") + c.name);
        const std::vector<std::string> lines = log;
        stage.driver().stopCapturingLog();
        const auto matching = std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(c.line) != std::string::npos;
        });
        EXPECT_EQ(matching, 1) << c.line;
        ASSERT_NE(stage.level(), nullptr);
        EXPECT_FALSE(stage.level()->isBuilt());
        EXPECT_TRUE(stage.level()->getItems().empty());
        EXPECT_EQ(stage.level()->getChildrenCount(), 0);
        // The saved damage waits for a level that loads.
        EXPECT_EQ(stage.board->pictureRecord().damage.size(), 1u);
        // Play on the empty board does nothing.
        for (int tool = 1; tool <= 5; ++tool) {
            stage.board->selectTool(tool);
            stage.stroke(Vec2(600, 400), Vec2(640, 420));
        }
        stage.board->setHintsLeft(1);
        stage.board->useHint();
        stage.wait(0.3f);
        EXPECT_EQ(stage.board->getMistakes(), 0);
        EXPECT_EQ(stage.board->pictureRecord().damage.size(), 1u);
        stage.close();
    }
}

TEST_F(BadLevelTest, ElementsWithUnknownFramesOrWrongTypesAreSkippedWithALineEach) {
    makeLevel("partial", R"({"nodes": [
        {"name": "background", "tex": "background.jpg", "x": 0, "y": 0, "w": 960, "h": 600},
        {"name": "kestrova", "tex": "vesquino_kestrova.png", "restoreitem": 1, "x": 400, "y": 296, "w": 112, "h": 144},
        {"name": "ghost", "tex": "no_such_frame.png", "restoreitem": 1, "x": 10, "y": 10, "w": 50, "h": 50},
        {"name": "piece", "tex": "no_such_piece.png", "x": 10, "y": 10, "w": 50, "h": 50},
        {"name": "typed", "tex": "vesquino_teacup.png", "restoreitem": 1, "x": "left", "y": 10, "w": 50, "h": 50},
        "not an object",
        {"name": "far", "tex": "vesquino_teacup.png", "x": 1e300, "y": 10, "w": 50, "h": 50},
        {"name": "bright", "tex": "vesquino_headphones.png", "o": 1e300, "x": 700, "y": 60, "w": 170, "h": 118},
        {"name": "maskless", "tex": "vesquino_teacup_.png", "restoreitem": 1, "x": 100, "y": 100, "w": 35, "h": 28}
    ]})");
    boardtest::freshProfile(5, "bad", "partial");
    std::vector<std::string>& log = stage.driver().captureLog();
    stage.open("bad/partial");
    const std::vector<std::string> lines = log;
    stage.driver().stopCapturingLog();
    auto count = [&](const std::string& text) {
        return std::count_if(lines.begin(), lines.end(),
                             [&](const std::string& line) { return line.find(text) != std::string::npos; });
    };
    EXPECT_EQ(count("Fail to create HO Item: Scenes/bad/partial/no_such_frame.png"), 1);
    EXPECT_EQ(count("Fail to create texture: Scenes/bad/partial/no_such_piece.png"), 1);
    EXPECT_EQ(count("element 4 skipped: \"x\" is not a number"), 1);
    EXPECT_EQ(count("element 5 skipped: not an object"), 1);
    EXPECT_EQ(count("element 6 skipped: \"x\" is out of range"), 1);
    EXPECT_EQ(count("no mask frame 'vesquino_teacup__.png'"), 1);
    ASSERT_TRUE(stage.level()->isBuilt());
    EXPECT_EQ(stage.level()->getItems().size(), 2u);
    EXPECT_NE(stage.item("kestrova"), nullptr);
    // An opacity too large to hold keeps its low byte, which is 0.
    ASSERT_NE(stage.level()->getChildByName("bright"), nullptr);
    EXPECT_EQ(stage.level()->getChildByName("bright")->getOpacity(), 0);
    // An item without its mask frame is still found by a drop, anywhere on its box.
    HiddenObject* maskless = stage.item("maskless");
    ASSERT_NE(maskless, nullptr);
    EXPECT_FALSE(maskless->hasHitMask());
    EXPECT_EQ(stage.board->findItemAt(stage.centreOf(maskless)), maskless);
    EXPECT_EQ(stage.board->findItemAt(stage.world(Vec2(600, 40))), nullptr);
}

}  // namespace
