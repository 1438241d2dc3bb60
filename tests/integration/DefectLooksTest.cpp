#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BoardTestStage.h"
#include "LookContrast.h"
#include "engine/base/Director.h"
#include "engine/renderer/Image.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SpriteFrame.h"
#include "engine/scene/SpriteFrameCache.h"
#include "gameBoard/DamageFactory.h"
#include "gameBoard/DefectKind.h"
#include "gameBoard/EraseableGameObject.h"
#include "gameBoard/GameObjectBase.h"
#include "gameBoard/HiddenObject.h"
#include "gameBoard/PixelReadback.h"
#include "nodes/LevelNode.h"

// A revealed defect tells the player which tool it wants: dirt the eraser, a blot the knife, a
// scrape the brush. Each look must read at a glance on every item, whatever its colour, and not be
// taken for another. Every item of every level is revealed with each look on the real renderer and
// compared, in CIELAB, with the item as drawn before.

namespace {

namespace fs = std::filesystem;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Vec2;
using testing::Added;
using testing::Lab;
using testing::LabPatch;

constexpr int kWindowWidth = 1280;
constexpr int kWindowHeight = 810;

// The floors, set from the pictures this test writes under test-output/DefectLooks: the looks that
// read well on every item stand clear above them; the brown grime and the pale scrape that players
// took for the item itself fall below.
// A look stands out from the item under it: its colour shift and its own pattern together.
constexpr double kStandOut = 12.0;
// Dirt and a scrape are patterns of their own: over any item they add a pattern that no recolouring
// of the item explains (a blot is the board's blue paint, whose colour no item has).
constexpr double kOwnPattern = 4.0;
// Two looks over the same item differ in colour or in the run of their pattern (a scrape streaks).
constexpr double kApart = 20.0;
constexpr double kStreakWeight = 40.0;
// Items with fewer covered pixels than this (thin frames and wheels) are measured for how far they
// stand out only: too few pixels to tell a pattern from a recolouring.
constexpr int kPatternPixels = 150;
constexpr int kFewestPixels = 30;

// The three looks, set up as the board sets up an item's defect once it has chosen it.
struct Look {
    DefectKind kind;
    const char* name;
    bool pattern;  // reads by a pattern of its own
};
const std::array<Look, 3> kLooks{{{DefectKind::Dirt, "dirt", true},
                                  {DefectKind::Blot, "blot", false},
                                  {DefectKind::Scrape, "scrape", true}}};

void applyLook(HiddenObject* item, DefectKind kind) {
    item->setKind(kind);
    if (kind == DefectKind::Blot) {
        item->setMaskFrame("blot_tex.png");
        item->setColor(cocos2d::Color3B(85, 186, 230));
        item->setShaderName("");
        item->setBrushName("eraser_knife");
    } else if (kind == DefectKind::Scrape) {
        item->setMaskFrame("scrape_tex.png");
        item->setShaderName("");
    }
}

// One object's pixels on screen: its window rectangle and which of its pixels it covers.
struct ItemPlace {
    std::string name;
    int x = 0, y = 0, w = 0, h = 0;  // window pixels, top-left origin
    std::vector<bool> inside;        // w x h, rows from the top
    int count = 0;
    int radius = 1;                  // of the square each pixel is averaged over
};

// Where a board object lies in the window, and the pixels its frame covers with at least
// `minAlpha` together with all their neighbours, so soft edges and the picture around them do not
// count. An object of lines too thin for that (a telegraph pole) keeps all its covered pixels, each
// measured on its own.
ItemPlace placeOf(const GameObjectBase* object, const std::string& name, int minAlpha) {
    ItemPlace place;
    place.name = name;
    cocos2d::SpriteFrame* sheetFrame =
        cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName(object->getFrameName());
    if (sheetFrame == nullptr) {
        ADD_FAILURE() << object->getFrameName() << " is not loaded";
        return place;
    }
    const Rect box = object->getBoundingBox();
    const Vec2 lowerLeft = object->getParent()->convertToWorldSpace(box.origin);
    place.x = static_cast<int>(std::lround(lowerLeft.x));
    place.y = static_cast<int>(std::lround(kWindowHeight - lowerLeft.y - box.size.height));
    place.w = static_cast<int>(box.size.width);
    place.h = static_cast<int>(box.size.height);
    const Rect& rect = sheetFrame->getRect();
    EXPECT_EQ(place.w, static_cast<int>(rect.size.width)) << name << " is drawn at its own size";
    EXPECT_EQ(place.h, static_cast<int>(rect.size.height)) << name << " is drawn at its own size";
    std::vector<uint8_t> rgba;
    PixelReadback::readTexture(sheetFrame->getTexture(), static_cast<int>(rect.origin.x),
                               static_cast<int>(rect.origin.y), place.w, place.h, rgba);
    auto opaque = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < place.w && y < place.h &&
               rgba[(static_cast<size_t>(y) * place.w + x) * 4 + 3] >= minAlpha;
    };
    auto covered = [&](int radius) {
        place.inside.assign(static_cast<size_t>(place.w) * place.h, false);
        place.count = 0;
        place.radius = radius;
        for (int y = 0; y < place.h; ++y) {
            for (int x = 0; x < place.w; ++x) {
                bool all = place.x + x > 0 && place.y + y > 0 && place.x + x + 1 < kWindowWidth &&
                           place.y + y + 1 < kWindowHeight;
                for (int dy = -radius; dy <= radius && all; ++dy) {
                    for (int dx = -radius; dx <= radius && all; ++dx) {
                        all = opaque(x + dx, y + dy);
                    }
                }
                place.inside[static_cast<size_t>(y) * place.w + x] = all;
                place.count += all ? 1 : 0;
            }
        }
    };
    covered(1);
    if (place.count < kFewestPixels) {
        covered(0);
    }
    return place;
}

// One look over one item.
struct LookOnItem {
    Lab mean;
    Added added;
    double streak = 0.0;
};

// An item (or a spot of the picture) and its looks, measured on the pixels inside it, with its
// pictures: as drawn, then under each look (w x h RGBA each, rows from the top).
struct Measured {
    std::string level, item;
    int count = 0;
    Lab before;
    std::vector<LookOnItem> looks;
    int w = 0, h = 0;
    std::vector<std::vector<unsigned char>> pictures;
};

double apart(const LookOnItem& p, const LookOnItem& q) {
    return std::hypot(testing::deltaE(p.mean, q.mean), kStreakWeight * (p.streak - q.streak));
}

std::vector<std::string> levelFolders() {
    std::vector<std::string> folders;
    const fs::path scenes = fs::path(KESTROVA_RESOURCE_DIR) / "res" / "Scenes";
    for (const fs::directory_entry& country : fs::directory_iterator(scenes)) {
        if (!country.is_directory()) {
            continue;
        }
        for (const fs::directory_entry& picture : fs::directory_iterator(country.path())) {
            if (fs::exists(picture.path() / "ccnode.json")) {
                folders.push_back("Scenes/" + country.path().filename().string() + "/" +
                                  picture.path().filename().string());
            }
        }
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

std::vector<unsigned char> crop(const cocos2d::Image& frame, const ItemPlace& place) {
    std::vector<unsigned char> pixels(static_cast<size_t>(place.w) * place.h * 4);
    for (int y = 0; y < place.h; ++y) {
        const unsigned char* from = frame.getData() + (static_cast<size_t>(place.y + y) * frame.getWidth() + place.x) * 4;
        std::copy(from, from + place.w * 4, pixels.begin() + static_cast<std::ptrdiff_t>(y) * place.w * 4);
    }
    return pixels;
}

// A sheet of places, one row each: as drawn, then under each look, side by side at twice the size.
void writeSheet(const std::string& path, const std::vector<const Measured*>& rows) {
    constexpr int kScale = 2, kGap = 8;
    int cellW = 0, height = kGap;
    for (const Measured* row : rows) {
        cellW = std::max(cellW, row->w * kScale);
        height += row->h * kScale + kGap;
    }
    const size_t columns = rows.empty() ? 0 : rows.front()->pictures.size();
    const int width = kGap + static_cast<int>(columns) * (cellW + kGap);
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4, 40);
    int top = kGap;
    for (const Measured* row : rows) {
        for (size_t column = 0; column < columns; ++column) {
            const int left = kGap + static_cast<int>(column) * (cellW + kGap);
            for (int y = 0; y < row->h * kScale; ++y) {
                for (int x = 0; x < row->w * kScale; ++x) {
                    const unsigned char* p =
                        row->pictures[column].data() + (static_cast<size_t>(y / kScale) * row->w + x / kScale) * 4;
                    unsigned char* q = pixels.data() + (static_cast<size_t>(top + y) * width + left + x) * 4;
                    std::copy(p, p + 3, q);
                }
            }
        }
        top += row->h * kScale + kGap;
    }
    for (size_t i = 3; i < pixels.size(); i += 4) {
        pixels[i] = 255;
    }
    RefPtr<cocos2d::Image> sheet(cocos2d::Image::create());
    sheet->initWithRawData(pixels.data(), pixels.size(), width, height, false);
    fs::create_directories(fs::path(path).parent_path());
    sheet->saveToFile(path, true);
}

double chroma(const Lab& c) {
    return std::hypot(c.a, c.b);
}

// How far a colour is from a middle brown: a warm hue (orange to yellow) at middling lightness and
// colour.
double brownDistance(const Lab& c) {
    const double hue = std::atan2(c.b, c.a) * 180.0 / M_PI;
    const double warm = hue < 35.0 ? 35.0 - hue : (hue > 85.0 ? hue - 85.0 : 0.0);
    return std::abs(c.L - 42.0) + std::abs(chroma(c) - 25.0) + warm;
}

// "Scenes/USA/HarborDawn" -> "USA_HarborDawn".
std::string sheetName(const std::string& folder) {
    std::string name = folder.substr(std::string("Scenes/").size());
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
}

// How far a colour is from a middle grey.
double greyDistance(const Lab& c) {
    return chroma(c) + std::abs(c.L - 55.0) * 0.3;
}

// One place measured: as drawn before, then under each look.
Measured measure(const std::string& level, const ItemPlace& place, const cocos2d::Image& before,
                 const std::vector<RefPtr<cocos2d::Image>>& after) {
    Measured m;
    m.level = level;
    m.item = place.name;
    m.count = place.count;
    m.w = place.w;
    m.h = place.h;
    const LabPatch under(before, place.x, place.y, place.w, place.h, place.inside, place.radius);
    m.before = under.mean();
    m.pictures.push_back(crop(before, place));
    for (const RefPtr<cocos2d::Image>& frame : after) {
        const LabPatch over(*frame, place.x, place.y, place.w, place.h, place.inside, place.radius);
        m.looks.push_back({over.mean(), testing::addedBy(over, under), over.streakiness()});
        m.pictures.push_back(crop(*frame, place));
    }
    return m;
}

// Every look stands out from what it covers, the pattern looks add a pattern of their own, and no
// two looks at one place are alike. The weakest places of each look are printed and drawn into
// test-output/DefectLooks/<prefix>weakest_<look>.png.
void checkLooks(const std::vector<Measured>& all, const std::vector<Look>& looks, const std::string& prefix) {
    ASSERT_FALSE(all.empty());
    for (const Measured& m : all) {
        const std::string where = m.level + " " + m.item;
        for (size_t k = 0; k < looks.size(); ++k) {
            const Added& added = m.looks[k].added;
            EXPECT_GE(added.total(), kStandOut)
                << looks[k].name << " on " << where << ": shift " << added.shift << ", pattern " << added.pattern;
            if (looks[k].pattern && m.count >= kPatternPixels) {
                EXPECT_GE(added.pattern, kOwnPattern)
                    << looks[k].name << " on " << where << " only recolours it: pattern " << added.pattern;
            }
            for (size_t j = k + 1; j < looks.size(); ++j) {
                EXPECT_GE(apart(m.looks[k], m.looks[j]), kApart)
                    << looks[k].name << " and " << looks[j].name << " on " << where << ": colours "
                    << testing::deltaE(m.looks[k].mean, m.looks[j].mean) << " apart, streaks " << m.looks[k].streak
                    << " and " << m.looks[j].streak;
            }
        }
    }
    for (size_t k = 0; k < looks.size(); ++k) {
        std::vector<const Measured*> order;
        double pattern = 1e9;
        for (const Measured& m : all) {
            order.push_back(&m);
            if (m.count >= kPatternPixels) {
                pattern = std::min(pattern, m.looks[k].added.pattern);
            }
        }
        std::sort(order.begin(), order.end(), [k](const Measured* p, const Measured* q) {
            return p->looks[k].added.total() < q->looks[k].added.total();
        });
        order.resize(std::min<size_t>(order.size(), 6));
        writeSheet(testing::Driver::outputPath("DefectLooks/" + prefix + "weakest_" + looks[k].name + ".png"), order);
        std::printf("%s%-6s stands out by %.1f at least (%s %s), its own pattern %.1f at least\n", prefix.c_str(),
                    looks[k].name, order.front()->looks[k].added.total(), order.front()->level.c_str(),
                    order.front()->item.c_str(), pattern);
        for (size_t j = k + 1; j < looks.size(); ++j) {
            double least = 1e9;
            for (const Measured& m : all) {
                least = std::min(least, apart(m.looks[k], m.looks[j]));
            }
            std::printf("%s%-6s and %-6s %.1f apart at least\n", prefix.c_str(), looks[k].name, looks[j].name, least);
        }
    }
}

class DefectLooksTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        boardtest::useResources();
        boardtest::useTemporaryDataHome("defect-looks");
    }

    void SetUp() override {
        boardtest::freshProfile(5, "USA", "HarborDawn");
        scene = cocos2d::Scene::create();
        cocos2d::Director* director = cocos2d::Director::getInstance();
        area = cocos2d::Node::create();
        const cocos2d::Size visible = director->getVisibleSize();
        area->setPosition(director->getVisibleOrigin() + Vec2(visible.width, visible.height) * 0.5f);
        scene->addChild(area);
        director->replaceScene(scene);
        cocos2d::SpriteFrameCache::getInstance()->addSpriteFramesWithFile("ui/Game/UI_atlas.xml");
        driver().stepFrames(1);
    }

    void TearDown() override {
        closeLevel();
        Settings::destroyInstance();
    }

    static testing::Driver& driver() { return testing::Driver::get(); }

    NodeLevel* openLevel(const std::string& folder) {
        closeLevel();
        level = NodeLevel::create();
        level->initWithLevel(area, folder, 1, 0);
        driver().stepFrames(1);
        return level;
    }

    void closeLevel() {
        if (level != nullptr) {
            level->removeFromParent();
            level = nullptr;
            driver().stepFrames(1);
        }
    }

    RefPtr<cocos2d::Image> frame() { return driver().readPixels(Rect(0, 0, kWindowWidth, kWindowHeight)); }

    // Where the level's items lie in the window, and their fully opaque pixels.
    std::vector<ItemPlace> places() {
        std::vector<ItemPlace> found;
        for (auto& entry : level->getItems()) {
            found.push_back(placeOf(entry.second, entry.first, 255));
        }
        std::sort(found.begin(), found.end(), [](const ItemPlace& p, const ItemPlace& q) { return p.name < q.name; });
        return found;
    }

    // Every item of the level revealed with one look; the frame as drawn a few frames later.
    RefPtr<cocos2d::Image> revealAll(const std::string& folder, DefectKind kind) {
        openLevel(folder);
        for (auto& entry : level->getItems()) {
            applyLook(entry.second, kind);
            entry.second->reveal();
        }
        driver().stepFrames(3);
        return frame();
    }

    cocos2d::Scene* scene = nullptr;
    cocos2d::Node* area = nullptr;
    NodeLevel* level = nullptr;
};

TEST_F(DefectLooksTest, EachLookStandsOutOnEveryItemAndFromTheOtherLooks) {
    const std::vector<Look> looks(kLooks.begin(), kLooks.end());
    std::vector<Measured> all;
    for (const std::string& folder : levelFolders()) {
        SCOPED_TRACE(folder);
        openLevel(folder);
        ASSERT_TRUE(level->isBuilt());
        const std::vector<ItemPlace> items = places();
        RefPtr<cocos2d::Image> before = frame();
        std::vector<RefPtr<cocos2d::Image>> after;
        for (const Look& look : looks) {
            after.push_back(revealAll(folder, look.kind));
        }
        closeLevel();

        std::vector<Measured> measured;
        for (const ItemPlace& place : items) {
            if (place.count >= kFewestPixels) {
                measured.push_back(measure(folder, place, *before, after));
            }
        }
        ASSERT_FALSE(measured.empty());

        // A sheet to look at: the level's darkest, greyest, brownest and palest items.
        auto pick = [&measured](auto better) {
            const Measured* best = &measured.front();
            for (const Measured& m : measured) {
                best = better(m, *best) ? &m : best;
            }
            return best;
        };
        const std::vector<const Measured*> rows{
            pick([](const Measured& p, const Measured& q) { return p.before.L < q.before.L; }),
            pick([](const Measured& p, const Measured& q) { return greyDistance(p.before) < greyDistance(q.before); }),
            pick([](const Measured& p, const Measured& q) { return brownDistance(p.before) < brownDistance(q.before); }),
            pick([](const Measured& p, const Measured& q) { return p.before.L > q.before.L; })};
        const std::string name = sheetName(folder);
        writeSheet(testing::Driver::outputPath("DefectLooks/" + name + ".png"), rows);
        for (size_t k = 0; k < looks.size(); ++k) {
            after[k]->saveToFile(testing::Driver::outputPath("DefectLooks/" + name + "_" + looks[k].name + ".png"), true);
        }
        all.insert(all.end(), std::make_move_iterator(measured.begin()), std::make_move_iterator(measured.end()));
    }
    checkLooks(all, looks, "");
}

// The damage a wrong stroke leaves wears the same looks: a blot (a brush's miss) and a scrape (an
// eraser's) stand out wherever they land on a picture, and from each other.
TEST(DefectDamageLooksTest, BlotsAndScrapesStandOutWhereverTheyLand) {
    boardtest::useResources();
    boardtest::useTemporaryDataHome("defect-damage-looks");
    struct Damage {
        Look look;
        DamageFactory factory;
    };
    const std::vector<Damage> damages{{kLooks[1], createBlot}, {kLooks[2], createScrape}};
    const std::vector<Look> looks{kLooks[1], kLooks[2]};
    std::vector<Measured> all;
    for (const std::string& folder : levelFolders()) {
        SCOPED_TRACE(folder);
        const std::string path = folder.substr(std::string("Scenes/").size());
        const size_t slash = path.find('/');
        boardtest::freshProfile(5, path.substr(0, slash), path.substr(slash + 1));
        boardtest::Stage stage;
        stage.open(path);
        ASSERT_NE(stage.level(), nullptr);
        const cocos2d::Size size = stage.level()->getContentSize();
        std::vector<Vec2> spots;
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 4; ++column) {
                spots.emplace_back(size.width * (column + 0.5f) / 4.0f, size.height * (row + 0.5f) / 2.0f);
            }
        }
        stage.driver().stepFrames(2);
        RefPtr<cocos2d::Image> before = stage.driver().readPixels(Rect(0, 0, kWindowWidth, kWindowHeight));
        std::vector<RefPtr<cocos2d::Image>> after;
        std::vector<std::vector<ItemPlace>> placed;
        for (const Damage& damage : damages) {
            std::vector<EraseableGameObject*> made;
            std::vector<ItemPlace> where;
            for (size_t i = 0; i < spots.size(); ++i) {
                EraseableGameObject* object =
                    damage.factory(stage.board, spots[i], static_cast<int>(i % 3) + 1, static_cast<int>(i) + 1, false);
                ASSERT_NE(object, nullptr);
                made.push_back(object);
                where.push_back(placeOf(object, "spot " + std::to_string(i + 1), 180));
            }
            stage.driver().stepFrames(2);
            after.push_back(stage.driver().readPixels(Rect(0, 0, kWindowWidth, kWindowHeight)));
            after.back()->saveToFile(
                testing::Driver::outputPath("DefectLooks/damage_" + sheetName(folder) + "_" + damage.look.name + ".png"),
                true);
            for (EraseableGameObject* object : made) {
                stage.level()->removeDamage(object);
                object->removeFromParent();
            }
            placed.push_back(std::move(where));
        }
        // A blot and a scrape at one spot cover different pixels: each is measured on the pixels both cover.
        for (size_t i = 0; i < spots.size(); ++i) {
            ItemPlace both = placed[0][i];
            const ItemPlace& other = placed[1][i];
            both.count = 0;
            for (int y = 0; y < both.h; ++y) {
                for (int x = 0; x < both.w; ++x) {
                    const int ox = both.x + x - other.x, oy = both.y + y - other.y;
                    const bool in = ox >= 0 && oy >= 0 && ox < other.w && oy < other.h &&
                                    other.inside[static_cast<size_t>(oy) * other.w + ox];
                    const size_t at = static_cast<size_t>(y) * both.w + x;
                    both.inside[at] = both.inside[at] && in;
                    both.count += both.inside[at] ? 1 : 0;
                }
            }
            if (both.count >= kFewestPixels) {
                all.push_back(measure(folder, both, *before, after));
            }
        }
        stage.close();
        Settings::destroyInstance();
    }
    checkLooks(all, looks, "damage_");
}

}  // namespace
