#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../HeadlessEngine.h"
#include "engine/base/RefPtr.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrame.h"
#include "engine/scene/SpriteFrameCache.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Size;
using cocos2d::Sprite;
using cocos2d::SpriteFrame;
using cocos2d::SpriteFrameCache;
using cocos2d::Vec2;

// One frame entry of a list in the resource tree's format.
std::string frameEntry(const std::string& name, const std::string& rect, bool rotated = false,
                       const std::string& offset = "{0,0}", const std::string& sourceSize = "") {
    std::string xml = "    <key>" + name + "</key>\n    <dict>\n      <key>frame</key><string>" + rect +
                      "</string>\n      <key>offset</key><string>" + offset +
                      "</string>\n      <key>rotated</key>" + (rotated ? "<true/>" : "<false/>") + "\n";
    if (!sourceSize.empty()) {
        xml += "      <key>sourceSize</key><string>" + sourceSize + "</string>\n";
    }
    return xml + "    </dict>\n";
}

std::string frameList(const std::string& entries, const std::string& textureFileName) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n  <key>frames</key>\n  "
        "<dict>\n" +
        entries + "  </dict>\n";
    if (!textureFileName.empty()) {
        xml +=
            "  <key>metadata</key>\n  <dict>\n    <key>format</key><integer>2</integer>\n"
            "    <key>textureFileName</key><string>" +
            textureFileName + "</string>\n  </dict>\n";
    }
    return xml + "</dict>\n</plist>\n";
}

class SpriteFrameCacheTest : public enginetest::HeadlessEngine {
protected:
    void SetUp() override {
        HeadlessEngine::SetUp();
        SpriteFrameCache::destroyInstance();
        root = fs::temp_directory_path() / ("kestrova-frames-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "Sheet");
        writeImage("Sheet/sheet.png", 64, 32);
    }
    void TearDown() override {
        SpriteFrameCache::destroyInstance();
        HeadlessEngine::TearDown();
        fs::remove_all(root);
    }

    std::string path(const std::string& relative) const { return (root / relative).string(); }

    void write(const std::string& relative, const std::string& text) const {
        std::ofstream(path(relative), std::ios::binary) << text;
    }

    void writeImage(const std::string& relative, int w, int h) const {
        std::vector<unsigned char> rgba(static_cast<size_t>(w) * h * 4, 255);
        cocos2d::Image image;
        ASSERT_TRUE(image.initWithRawData(rgba.data(), rgba.size(), w, h, false));
        ASSERT_TRUE(image.saveToFile(path(relative)));
    }

    static SpriteFrameCache* cache() { return SpriteFrameCache::getInstance(); }

    fs::path root;
};

TEST_F(SpriteFrameCacheTest, ListGivesFramesWithRectRotationOffsetAndOriginalSize) {
    write("Sheet/sheet_atlas.xml",
          frameList(frameEntry("plain.png", "{{2,2},{20,10}}") +
                        frameEntry("turned.png", "{{30, 2}, {12, 20}}", true) +
                        frameEntry("trimmed.png", "{{2,14},{10.5,8}}", false, "{3,-2}", "{20,16}"),
                    "sheet.png"));
    cache()->addSpriteFramesWithFile(path("Sheet/sheet_atlas.xml"));
    EXPECT_TRUE(cache()->isSpriteFramesWithFileLoaded(path("Sheet/sheet_atlas.xml")));

    SpriteFrame* plain = cache()->getSpriteFrameByName("plain.png");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->getRect(), Rect(2, 2, 20, 10));
    EXPECT_FALSE(plain->isRotated());
    EXPECT_EQ(plain->getOriginalSize(), Size(20, 10));  // the default: the frame's size

    SpriteFrame* turned = cache()->getSpriteFrameByName("turned.png");
    ASSERT_NE(turned, nullptr);
    EXPECT_TRUE(turned->isRotated());
    EXPECT_EQ(turned->getRect(), Rect(30, 2, 12, 20));

    SpriteFrame* trimmed = cache()->getSpriteFrameByName("trimmed.png");
    ASSERT_NE(trimmed, nullptr);
    EXPECT_EQ(trimmed->getRect(), Rect(2, 14, 10.5f, 8));
    EXPECT_EQ(trimmed->getOffset(), Vec2(3, -2));
    EXPECT_EQ(trimmed->getOriginalSize(), Size(20, 16));

    // The texture is cached under the list's folder and the metadata name; every frame shares it.
    cocos2d::Texture2D* texture = director()->getTextureCache()->getTextureForKey(path("Sheet/sheet.png"));
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(plain->getTexture(), texture);
    EXPECT_EQ(turned->getTexture(), texture);

    // Sprites find frames by name through the cache; an unknown name is null, never an abort.
    Sprite* sprite = Sprite::createWithSpriteFrameName("trimmed.png");
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getContentSize(), Size(20, 16));
    EXPECT_EQ(cache()->getSpriteFrameByName("missing.png"), nullptr);
    auto& log = captureLog();
    EXPECT_EQ(Sprite::createWithSpriteFrameName("missing.png"), nullptr);
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(SpriteFrameCacheTest, TheImageComesFromTheArgumentTheMetadataOrThePngBesideTheList) {
    writeImage("Sheet/icons.png", 16, 16);
    writeImage("Sheet/bare.png", 16, 16);
    writeImage("Sheet/other.png", 16, 16);
    write("Sheet/icons.xml", frameList(frameEntry("icon_a", "{{0,0},{8,8}}"), "no_such_image.png"));
    write("Sheet/bare.xml", frameList(frameEntry("bare_a", "{{0,0},{8,8}}"), ""));
    write("Sheet/named.xml", frameList(frameEntry("named_a", "{{0,0},{8,8}}"), "other.png"));

    // Two arguments: the image as given, whatever the metadata says.
    cache()->addSpriteFramesWithFile(path("Sheet/icons.xml"), path("Sheet/icons.png"));
    ASSERT_NE(cache()->getSpriteFrameByName("icon_a"), nullptr);
    EXPECT_EQ(cache()->getSpriteFrameByName("icon_a")->getTexture()->getPath(), path("Sheet/icons.png"));
    // One argument without metadata: the list's name with ".png".
    cache()->addSpriteFramesWithFile(path("Sheet/bare.xml"));
    ASSERT_NE(cache()->getSpriteFrameByName("bare_a"), nullptr);
    EXPECT_EQ(cache()->getSpriteFrameByName("bare_a")->getTexture()->getPath(), path("Sheet/bare.png"));
    // One argument with metadata: the metadata name in the list's folder.
    cache()->addSpriteFramesWithFile(path("Sheet/named.xml"));
    ASSERT_NE(cache()->getSpriteFrameByName("named_a"), nullptr);
    EXPECT_EQ(cache()->getSpriteFrameByName("named_a")->getTexture()->getPath(), path("Sheet/other.png"));

    // A metadata image that does not exist: nothing is added or marked loaded, one line names both.
    auto& log = captureLog();
    cache()->addSpriteFramesWithFile(path("Sheet/icons.xml"));
    EXPECT_TRUE(
        cache()->isSpriteFramesWithFileLoaded(path("Sheet/icons.xml")));  // from the two-argument load
    write("Sheet/lost.xml", frameList(frameEntry("lost_a", "{{0,0},{8,8}}"), "no_such_image.png"));
    cache()->addSpriteFramesWithFile(path("Sheet/lost.xml"));
    EXPECT_EQ(cache()->getSpriteFrameByName("lost_a"), nullptr);
    EXPECT_FALSE(cache()->isSpriteFramesWithFileLoaded(path("Sheet/lost.xml")));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("no_such_image.png"), std::string::npos);
    EXPECT_NE(log[0].find("lost.xml"), std::string::npos);
}

TEST_F(SpriteFrameCacheTest, ALoadedListIsNotReadAgainUntilItIsRemoved) {
    write("Sheet/sheet_atlas.xml", frameList(frameEntry("a.png", "{{0,0},{10,10}}"), "sheet.png"));
    cache()->addSpriteFramesWithFile(path("Sheet/sheet_atlas.xml"));
    SpriteFrame* first = cache()->getSpriteFrameByName("a.png");
    ASSERT_NE(first, nullptr);

    // The file changes on disk; a second add reads nothing, so nothing changes.
    write("Sheet/sheet_atlas.xml",
          frameList(frameEntry("a.png", "{{5,5},{10,10}}") + frameEntry("b.png", "{{20,0},{10,10}}"),
                    "sheet.png"));
    cache()->addSpriteFramesWithFile(path("Sheet/sheet_atlas.xml"));
    EXPECT_EQ(cache()->getSpriteFrameByName("a.png"), first);
    EXPECT_EQ(cache()->getSpriteFrameByName("b.png"), nullptr);

    // Removal forgets the list, so the next add reads the new file (a minigame restarting).
    cache()->removeSpriteFramesFromFile(path("Sheet/sheet_atlas.xml"));
    EXPECT_EQ(cache()->getSpriteFrameByName("a.png"), nullptr);
    EXPECT_FALSE(cache()->isSpriteFramesWithFileLoaded(path("Sheet/sheet_atlas.xml")));
    cache()->addSpriteFramesWithFile(path("Sheet/sheet_atlas.xml"));
    ASSERT_NE(cache()->getSpriteFrameByName("a.png"), nullptr);
    EXPECT_EQ(cache()->getSpriteFrameByName("a.png")->getRect(), Rect(5, 5, 10, 10));
    EXPECT_NE(cache()->getSpriteFrameByName("b.png"), nullptr);
}

TEST_F(SpriteFrameCacheTest, TheFirstFrameOfANameWinsAndStaysWithItsList) {
    write("Sheet/first.xml", frameList(frameEntry("shared.png", "{{0,0},{10,10}}") +
                                           frameEntry("only_first.png", "{{10,0},{4,4}}"),
                                       "sheet.png"));
    write("Sheet/second.xml", frameList(frameEntry("shared.png", "{{30,0},{20,20}}") +
                                            frameEntry("only_second.png", "{{50,0},{4,4}}"),
                                        "sheet.png"));
    cache()->addSpriteFramesWithFile(path("Sheet/first.xml"));
    cache()->addSpriteFramesWithFile(path("Sheet/second.xml"));
    ASSERT_NE(cache()->getSpriteFrameByName("shared.png"), nullptr);
    EXPECT_EQ(cache()->getSpriteFrameByName("shared.png")->getRect(), Rect(0, 0, 10, 10));

    // Removing the second list leaves the first list's frame of the shared name.
    cache()->removeSpriteFramesFromFile(path("Sheet/second.xml"));
    EXPECT_EQ(cache()->getSpriteFrameByName("only_second.png"), nullptr);
    ASSERT_NE(cache()->getSpriteFrameByName("shared.png"), nullptr);
    EXPECT_EQ(cache()->getSpriteFrameByName("shared.png")->getRect(), Rect(0, 0, 10, 10));
    cache()->removeSpriteFramesFromFile(path("Sheet/first.xml"));
    EXPECT_EQ(cache()->getSpriteFrameByName("shared.png"), nullptr);
    EXPECT_EQ(cache()->getSpriteFrameCount(), 0u);
    // Removing a list that was never loaded does nothing.
    cache()->removeSpriteFramesFromFile(path("Sheet/never.xml"));
}

TEST_F(SpriteFrameCacheTest, RemovingUnusedFramesKeepsHeldOnesAndForgetsEveryList) {
    write("Sheet/sheet_atlas.xml",
          frameList(frameEntry("held.png", "{{0,0},{10,10}}") + frameEntry("loose.png", "{{10,0},{10,10}}"),
                    "sheet.png"));
    cache()->addSpriteFramesWithFile(path("Sheet/sheet_atlas.xml"));
    RefPtr<Sprite> sprite = Sprite::createWithSpriteFrameName("held.png");
    ASSERT_TRUE(sprite);
    SpriteFrame* held = cache()->getSpriteFrameByName("held.png");
    step();  // drain the autorelease pool: only the cache and the sprite hold frames now

    cache()->removeUnusedSpriteFrames();
    EXPECT_EQ(cache()->getSpriteFrameByName("held.png"), held);
    EXPECT_EQ(cache()->getSpriteFrameByName("loose.png"), nullptr);
    EXPECT_FALSE(cache()->isSpriteFramesWithFileLoaded(path("Sheet/sheet_atlas.xml")));

    // The texture leaves the texture cache; the frames and the sprite keep theirs.
    director()->getTextureCache()->removeAllTextures();
    EXPECT_NE(held->getTexture(), nullptr);
    EXPECT_GE(held->getTexture()->getReferenceCount(), 1u);

    // Loading again reads the file and adds only the missing name.
    cache()->addSpriteFramesWithFile(path("Sheet/sheet_atlas.xml"));
    EXPECT_EQ(cache()->getSpriteFrameByName("held.png"), held);
    EXPECT_NE(cache()->getSpriteFrameByName("loose.png"), nullptr);
    // The forgotten list's frames still belong to it.
    cache()->removeSpriteFramesFromFile(path("Sheet/sheet_atlas.xml"));
    EXPECT_EQ(cache()->getSpriteFrameCount(), 0u);
    EXPECT_EQ(sprite->getSpriteFrame(), held);
}

TEST_F(SpriteFrameCacheTest, AMalformedListAddsNothingAndLogsOneLineNamingTheFile) {
    const std::string good = frameEntry("ok.png", "{{0,0},{8,8}}");
    struct Case {
        const char* what;
        std::string text;
    };
    std::string deep = "<plist><dict><key>frames</key>";
    for (int i = 0; i < 100000; ++i) {
        deep += "<array>";
    }
    const Case cases[] = {
        {"empty file", ""},
        {"truncated", frameList(good, "sheet.png").substr(0, 120)},
        {"not XML", "\x89PNG\r\n\x1a\n\0\0\0garbage"},
        {"another root", "<dict><key>frames</key><dict/></dict>"},
        {"no frames", "<plist><dict><key>metadata</key><dict/></dict></plist>"},
        {"frames not a dict", "<plist><dict><key>frames</key><string>x</string></dict></plist>"},
        {"key without value", "<plist><dict><key>frames</key></dict></plist>"},
        {"value without key", "<plist><dict><string>x</string></dict></plist>"},
        {"unknown element", "<plist><dict><key>frames</key><frame/></dict></plist>"},
        {"deep nesting", deep},
        {"mismatched tags", "<plist><dict><key>frames</key><dict></plist></dict>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SpriteFrameCache::destroyInstance();
        write("Sheet/bad.xml", c.text);
        auto& log = captureLog();
        cache()->addSpriteFramesWithFile(path("Sheet/bad.xml"), path("Sheet/sheet.png"));
        EXPECT_EQ(cache()->getSpriteFrameCount(), 0u);
        EXPECT_FALSE(cache()->isSpriteFramesWithFileLoaded(path("Sheet/bad.xml")));
        ASSERT_EQ(log.size(), 1u);
        EXPECT_NE(log[0].find("bad.xml"), std::string::npos);
    }
    // A missing list: one line too.
    auto& log = captureLog();
    cache()->addSpriteFramesWithFile(path("Sheet/absent.xml"));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("absent.xml"), std::string::npos);
}

TEST_F(SpriteFrameCacheTest, BadFramesAreSkippedWithOneLineAndTheRestLoads) {
    // The sheet is 64 x 32.
    const std::string bad[] = {
        frameEntry("short.png", "{{1,2},{3}}"),
        frameEntry("words.png", "{{a,b},{c,d}}"),
        frameEntry("nan.png", "{{nan,0},{4,4}}"),
        frameEntry("huge.png", "{{0,0},{1e300,4}}"),
        frameEntry("negative.png", "{{-1,0},{4,4}}"),
        frameEntry("empty.png", "{{0,0},{0,4}}"),
        frameEntry("outside.png", "{{60,0},{8,8}}"),
        frameEntry("turned_outside.png", "{{0,20},{16,8}}",
                   true),  // unturned it would fit; turned it is 16 high
        frameEntry("bad_offset.png", "{{0,0},{4,4}}", false, "{1}"),
        frameEntry("bad_source.png", "{{0,0},{4,4}}", false, "{0,0}", "{0,-4}"),
        "    <key>no_rect.png</key>\n    <dict><key>offset</key><string>{0,0}</string></dict>\n",
        "    <key>not_dict.png</key><string>{{0,0},{4,4}}</string>\n",
    };
    std::string entries = frameEntry("good.png", "{{0,0},{8,8}}");
    for (const std::string& entry : bad) {
        entries += entry;
    }
    entries += frameEntry("edge.png", "{{56,24},{8,8}}");
    write("Sheet/mixed.xml", frameList(entries, "sheet.png"));
    auto& log = captureLog();
    cache()->addSpriteFramesWithFile(path("Sheet/mixed.xml"));
    EXPECT_NE(cache()->getSpriteFrameByName("good.png"), nullptr);
    EXPECT_NE(cache()->getSpriteFrameByName("edge.png"), nullptr);
    EXPECT_EQ(cache()->getSpriteFrameCount(), 2u);
    EXPECT_TRUE(cache()->isSpriteFramesWithFileLoaded(path("Sheet/mixed.xml")));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("mixed.xml"), std::string::npos);
    EXPECT_NE(log[0].find("12 frame"), std::string::npos);
}

}  // namespace
