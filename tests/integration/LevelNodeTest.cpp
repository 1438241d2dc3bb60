#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BoardTestStage.h"
#include "ImageBytes.h"
#include "engine/base/Director.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrameCache.h"
#include "gameBoard/EraseableGameObject.h"
#include "gameBoard/HiddenObject.h"
#include "nodes/LevelNode.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Node;
using cocos2d::Vec2;

// Level folders of our own under a temporary search path: the demo picture's sheets, a plain
// background of the given size, and a description.
class LevelNodeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        boardtest::useResources();
        root = boardtest::privateFolder("level-node");
        fs::remove_all(root);
        cocos2d::FileUtils::getInstance()->addSearchPath(root.string(), true);
    }

    static void TearDownTestSuite() {
        boardtest::useResources();
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    void SetUp() override {
        scene = cocos2d::Scene::create();
        parent = Node::create();
        scene->addChild(parent);
        cocos2d::Director::getInstance()->replaceScene(scene);
        testing::Driver::get().stepFrames(1);
    }

    void TearDown() override {
        if (level != nullptr) {
            level->removeFromParent();
        }
        testing::Driver::get().stepFrames(1);
    }

    static std::string makeLevel(const std::string& name, int backgroundWidth, int backgroundHeight,
                                 const std::string& nodes) {
        const fs::path folder = root / "Scenes" / "probe" / name;
        fs::create_directories(folder);
        const fs::path demo = fs::path(cocos2d::FileUtils::getInstance()->fullPathForFilename(
                                           "Scenes/demo/Vesquino/ccnode.json"))
                                  .parent_path();
        for (const char* file :
             {"textures_atlas.xml", "textures_atlas.png", "masks_atlas.xml", "masks_atlas.png"}) {
            fs::copy_file(demo / file, folder / file, fs::copy_options::overwrite_existing);
        }
        std::vector<unsigned char> rgba(static_cast<size_t>(backgroundWidth) * backgroundHeight * 4, 200);
        cocos2d::Image image;
        EXPECT_TRUE(
            image.initWithRawData(rgba.data(), rgba.size(), backgroundWidth, backgroundHeight, false));
        EXPECT_TRUE(image.saveToFile((folder / "background.jpg").string()));
        std::ofstream(folder / "ccnode.json")
            << R"({"nodes": [{"name": "background", "tex": "background.jpg", "x": 0, "y": 0, "w": )"
            << backgroundWidth << R"(, "h": )" << backgroundHeight << "}" << nodes << "]}";
        cocos2d::FileUtils::getInstance()->purgeCachedEntries();
        return "Scenes/probe/" + name;
    }

    NodeLevel* build(const std::string& folder, int zStart = 1, int zStep = 0) {
        level = NodeLevel::create();
        EXPECT_TRUE(level->initWithLevel(parent, folder, zStart, zStep));
        return level;
    }

    static fs::path root;
    cocos2d::Scene* scene = nullptr;
    Node* parent = nullptr;
    NodeLevel* level = nullptr;
};

fs::path LevelNodeTest::root;

TEST_F(LevelNodeTest, ElementsArePlacedFromTheTopAndTakeTheirOpacities) {
    const std::string folder = makeLevel("placing", 1280, 810, R"(,
        {"name": "top", "tex": "vesquino_teacup.png", "x": 100, "y": 0, "w": 70, "h": 100, "o": 128},
        {"name": "kestrova", "tex": "vesquino_kestrova.png", "restoreitem": 1, "shadow": 1, "x": 400, "y": 296, "w": 112, "h": 144, "o": 0.5},
        {"name": "dim", "tex": "vesquino_headphones.png", "shadow": 1, "x": 10, "y": 10, "w": 170, "h": 118, "o": 300})");
    build(folder);
    EXPECT_EQ(level->getName(), "ispy");
    EXPECT_EQ(level->getContentSize(), cocos2d::Size(1280, 810));
    EXPECT_EQ(level->getAnchorPoint(), Vec2(0.5f, 0.5f));
    Node* top = level->getChildByName("top");
    ASSERT_NE(top, nullptr);
    EXPECT_FLOAT_EQ(top->getPositionY(), 760.0f) << "y 0 with height 100 in an 810-high level";
    EXPECT_FLOAT_EQ(top->getPositionX(), 135.0f);
    EXPECT_EQ(top->getOpacity(), 128) << "a piece takes the value itself";
    // Both "restoreitem" and "shadow": an item.
    ASSERT_EQ(level->getItems().size(), 1u);
    HiddenObject* item = level->getItems().at("kestrova");
    EXPECT_EQ(item->getOpacity(), 127) << "an item takes the fraction of 255";
    EXPECT_FLOAT_EQ(item->getPositionY(), 810.0f - 368.0f);
    EXPECT_EQ(level->getChildByName("dim")->getOpacity(), 300 & 0xFF);
    Node* background = level->getChildByName("background");
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->getPosition(), Vec2(640, 405));
    // Every element at z 1 with a step of 0; the mask sprite stands beside its item.
    for (Node* child : level->getChildren()) {
        EXPECT_EQ(child->getLocalZOrder(), 1) << child->getName();
    }
    ASSERT_NE(item->getMaskSprite(), nullptr);
    EXPECT_EQ(item->getMaskSprite()->getParent(), level);
    EXPECT_EQ(item->getMaskSprite()->getPosition(), item->getPosition());
    EXPECT_FALSE(item->getMaskSprite()->isVisible());
    EXPECT_FLOAT_EQ(item->getMaskSprite()->getScale(), 2.0f);
}

TEST_F(LevelNodeTest, ShadowsBelongToTheItemNamedBeforeTheirUnderscore) {
    const std::string folder = makeLevel("shadows", 960, 600, R"(,
        {"name": "kestrova_shadow", "tex": "vesquino_kestrova.png", "shadow": 1, "x": 400, "y": 300, "w": 112, "h": 144},
        {"name": "kestrova", "tex": "vesquino_kestrova.png", "restoreitem": 1, "x": 400, "y": 296, "w": 112, "h": 144},
        {"name": "teacup", "tex": "vesquino_teacup.png", "restoreitem": 1, "x": 250, "y": 420, "w": 70, "h": 56},
        {"name": "teacupx_shadow", "tex": "vesquino_teacup.png", "shadow": 1, "x": 250, "y": 420, "w": 70, "h": 56},
        {"name": "headphones", "tex": "vesquino_headphones.png", "restoreitem": 1, "x": 560, "y": 396, "w": 170, "h": 118},
        {"name": "headphones", "tex": "vesquino_headphones.png", "shadow": 1, "x": 560, "y": 400, "w": 170, "h": 118})");
    build(folder, 3, 2);
    auto& items = level->getItems();
    ASSERT_EQ(items.size(), 3u);
    ASSERT_NE(items.at("kestrova")->getShadow(), nullptr);
    EXPECT_EQ(items.at("kestrova")->getShadow()->getName(), "kestrova_shadow");
    EXPECT_EQ(items.at("teacup")->getShadow(), nullptr) << "teacupx is another name";
    ASSERT_NE(items.at("headphones")->getShadow(), nullptr)
        << "a shadow without an underscore keys by its name";
    // Each element added after a step: the background at 5, then 7, 9, ... in the description's order.
    EXPECT_EQ(level->getChildByName("background")->getLocalZOrder(), 5);
    EXPECT_EQ(level->getChildByName("kestrova_shadow")->getLocalZOrder(), 7);
    EXPECT_EQ(items.at("kestrova")->getLocalZOrder(), 9);
    EXPECT_EQ(level->nextZOrder(false), 17);
    EXPECT_EQ(level->nextZOrder(true), 19);

    // An item taken out of the picture takes its shadow and its mask sprite along.
    HiddenObject* headphones = items.at("headphones");
    Node* headphonesShadow = headphones->getShadow();
    cocos2d::RefPtr<Node> keepShadow(headphonesShadow);
    cocos2d::RefPtr<Node> keepMask(headphones->getMaskSprite());
    level->removeItem(headphones);
    headphones->removeFromParentAndCleanup(true);
    testing::Driver::get().stepFrames(1);
    EXPECT_EQ(headphonesShadow->getParent(), nullptr);
    EXPECT_EQ(keepMask->getParent(), nullptr);

    // A restored item takes its shadow with it.
    Node* shadow = items.at("kestrova")->getShadow();
    cocos2d::RefPtr<Node> keep(shadow);
    items.at("kestrova")->onRestored();
    EXPECT_EQ(shadow->getParent(), nullptr);
}

// A background whose header claims 65500 x 65500 pixels is refused from its header, at once, in one
// line that names it and says why (the level adds its own line for the texture it could not make).
TEST_F(LevelNodeTest, ABackgroundClaimingAHugeSizeIsRefusedInOneLineNamingIt) {
    const std::string folder = makeLevel("huge", 960, 600, "");
    imagebytes::write(root / "Scenes" / "probe" / "huge" / "background.jpg", imagebytes::jpegClaiming(65500, 65500));
    cocos2d::FileUtils::getInstance()->purgeCachedEntries();
    std::vector<std::string>& log = testing::Driver::get().captureLog();
    level = NodeLevel::create();
    level->initWithLevel(parent, folder, 1, 0);
    testing::Driver::get().stepFrames(1);
    std::vector<std::string> named;
    for (const std::string& line : log) {
        if (line.find("background.jpg") != std::string::npos && line.find("65500") != std::string::npos) {
            named.push_back(line);
        }
    }
    testing::Driver::get().stopCapturingLog();
    ASSERT_EQ(named.size(), 1u) << (named.empty() ? std::string() : named.back());
    EXPECT_NE(named[0].find("Scenes/probe/huge/background.jpg] cannot be decoded: its header claims 65500x65500"),
              std::string::npos)
        << named[0];
}

TEST_F(LevelNodeTest, RemovingWhatIsNotThereChangesNothing) {
    build(makeLevel("removing", 960, 600, R"(,
        {"name": "teacup", "tex": "vesquino_teacup.png", "restoreitem": 1, "x": 250, "y": 420, "w": 70, "h": 56})"));
    HiddenObject* teacup = level->getItems().at("teacup");
    EraseableGameObject* stranger = EraseableGameObject::createWithSpriteFrameName("vesquino_teacup.png");
    ASSERT_NE(stranger, nullptr);
    EXPECT_FALSE(level->removeDamage(stranger));
    level->addDamage(stranger);
    EXPECT_EQ(stranger->getParent(), level);
    EXPECT_EQ(stranger->getLocalZOrder(), 1);
    EXPECT_TRUE(level->removeDamage(stranger));
    EXPECT_FALSE(level->removeDamage(stranger));
    EXPECT_EQ(stranger->getParent(), level) << "the node stays in the picture";
    EXPECT_TRUE(level->removeItem(teacup));
    EXPECT_FALSE(level->removeItem(teacup));
    EXPECT_EQ(teacup->getParent(), level);
}

TEST_F(LevelNodeTest, CleanupUnloadsTheSheetsAndTheImagesOfTheLevel) {
    const std::string folder = makeLevel("cleanup", 960, 600, R"(,
        {"name": "teacup", "tex": "vesquino_teacup.png", "restoreitem": 1, "x": 250, "y": 420, "w": 70, "h": 56})");
    build(folder);
    cocos2d::SpriteFrameCache* frames = cocos2d::SpriteFrameCache::getInstance();
    cocos2d::TextureCache* textures = cocos2d::Director::getInstance()->getTextureCache();
    cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
    ASSERT_TRUE(frames->isSpriteFramesWithFileLoaded(folder + "/masks_atlas.xml"));
    ASSERT_NE(textures->getTextureForKey(files->fullPathForFilename(folder + "/masks_atlas.png")), nullptr);
    level->removeFromParentAndCleanup(true);
    level = nullptr;
    testing::Driver::get().stepFrames(1);
    EXPECT_FALSE(frames->isSpriteFramesWithFileLoaded(folder + "/textures_atlas.xml"));
    EXPECT_FALSE(frames->isSpriteFramesWithFileLoaded(folder + "/masks_atlas.xml"));
    for (const char* image : {"/background.jpg", "/textures_atlas.png", "/masks_atlas.png"}) {
        EXPECT_EQ(textures->getTextureForKey(files->fullPathForFilename(folder + image)), nullptr) << image;
    }
}

TEST_F(LevelNodeTest, ASecondLevelOfThePictureKeepsTheSheetsWhenTheFirstGoes) {
    const std::string folder = makeLevel("twice", 960, 600, R"(,
        {"name": "teacup", "tex": "vesquino_teacup.png", "restoreitem": 1, "x": 250, "y": 420, "w": 70, "h": 56})");
    NodeLevel* first = build(folder);
    NodeLevel* second = NodeLevel::create();
    ASSERT_TRUE(second->initWithLevel(parent, folder, 1, 0));
    cocos2d::SpriteFrameCache* frames = cocos2d::SpriteFrameCache::getInstance();
    first->removeFromParentAndCleanup(true);
    level = second;
    testing::Driver::get().stepFrames(1);
    EXPECT_TRUE(frames->isSpriteFramesWithFileLoaded(folder + "/textures_atlas.xml"));
    EXPECT_NE(frames->getSpriteFrameByName("vesquino_teacup.png"), nullptr);
    second->cleanup();  // twice in all, as the board and the scene graph both do
    second->removeFromParentAndCleanup(true);
    level = nullptr;
    EXPECT_FALSE(frames->isSpriteFramesWithFileLoaded(folder + "/textures_atlas.xml"));
}

TEST_F(LevelNodeTest, TheShippedPicturesBuildEveryItemWithItsMask) {
    boardtest::useResources();
    cocos2d::FileUtils::getInstance()->addSearchPath(root.string(), true);
    struct Case {
        const char* folder;
        size_t items;
    };
    for (const Case& c : {Case{"Scenes/demo/Vesquino", 3}, Case{"Scenes/USA/HarborDawn", 25},
                          Case{"Scenes/USA/PrairieWind", 25}}) {
        SCOPED_TRACE(c.folder);
        build(c.folder);
        EXPECT_EQ(level->getItems().size(), c.items);
        for (auto& [name, item] : level->getItems()) {
            EXPECT_TRUE(item->hasHitMask()) << name;
            EXPECT_GT(item->getArea(), 0) << name;
        }
        level->removeFromParentAndCleanup(true);
        level = nullptr;
    }
}

}  // namespace
