// The engine's property lists (frame lists, particle files) are parsed by a recursive parser and
// converted by a recursive walk: nesting up to the bound is read, anything deeper is refused before
// either sees it, and each reader says so in its one line naming the file.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../HeadlessEngine.h"
#include "base/PropertyList.h"
#include "engine/2d/ParticleSystemQuad.h"
#include "engine/base/RefPtr.h"
#include "engine/scene/SpriteFrameCache.h"

#include "../../RepeatedText.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::plist::kMaxDepth;

// A list whose "frames" is nested in arrays down to `levels` elements, <plist> included.
std::string nestedList(int levels) {
    const int arrays = levels - 3;  // <plist>, <dict> and the innermost <string> make up the rest
    return "<plist><dict><key>frames</key>" + repeated("<array>", arrays) + "<string>x</string>" +
           repeated("</array>", arrays) + "</dict></plist>";
}

struct Deep {
    const char* what;
    std::string text;
};

std::vector<Deep> tooDeep() {
    return {
        {"one level past the bound", nestedList(kMaxDepth + 1)},
        {"200000 levels", "<plist>" + repeated("<array>", 200000)},
        {"behind a quote in an element name", "<plist><a\"b>" + repeated("<array>", 200000)},
        {"behind a document type's brackets", "<!DOCTYPE d [ > <!-- ]><plist>" + repeated("<array>", 200000)},
    };
}

TEST(PropertyListTest, NestingUpToTheBoundIsReadAndDeeperIsRefused) {
    const std::string refusal = "elements nested deeper than " + std::to_string(kMaxDepth) + " levels";
    cocos2d::plist::Value root;
    std::string error;
    ASSERT_TRUE(cocos2d::plist::parse(nestedList(kMaxDepth), root, error)) << error;
    // Converted whole, down to the innermost value.
    const cocos2d::plist::Value* inner = root.find("frames");
    int arrays = 0;
    while (inner != nullptr && inner->type == cocos2d::plist::Value::Type::Array) {
        ++arrays;
        inner = inner->items.empty() ? nullptr : &inner->items.front();
    }
    EXPECT_EQ(arrays, kMaxDepth - 3);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->text, "x");
    for (const Deep& deep : tooDeep()) {
        SCOPED_TRACE(deep.what);
        error.clear();
        EXPECT_FALSE(cocos2d::plist::parse(deep.text, root, error));
        EXPECT_EQ(error, refusal);
    }
}

class PropertyListReadersTest : public enginetest::HeadlessEngine {
protected:
    void SetUp() override {
        HeadlessEngine::SetUp();
        cocos2d::SpriteFrameCache::destroyInstance();
        folder = fs::temp_directory_path() / ("kestrova-plist-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override {
        cocos2d::SpriteFrameCache::destroyInstance();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
        HeadlessEngine::TearDown();
    }

    std::string write(const std::string& name, const std::string& text) const {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    fs::path folder;
};

TEST_F(PropertyListReadersTest, AFrameListOrParticleFileNestedTooDeeplyIsRefusedInItsOneLine) {
    for (const Deep& deep : tooDeep()) {
        SCOPED_TRACE(deep.what);
        const std::string frames = write("deep_atlas.xml", deep.text);
        const std::string particles = write("deep.plist", deep.text);
        auto& log = captureLog();
        cocos2d::SpriteFrameCache::getInstance()->addSpriteFramesWithFile(frames);
        EXPECT_FALSE(cocos2d::SpriteFrameCache::getInstance()->isSpriteFramesWithFileLoaded(frames));
        EXPECT_EQ(
            cocos2d::RefPtr<cocos2d::ParticleSystemQuad>(cocos2d::ParticleSystemQuad::create(particles)),
            nullptr);
        ASSERT_EQ(log.size(), 2u);
        for (const std::string& line : log) {
            EXPECT_NE(line.find("deep"), std::string::npos) << line;
            EXPECT_NE(line.find("nested deeper than " + std::to_string(kMaxDepth)), std::string::npos)
                << line;
        }
    }
}

}  // namespace
