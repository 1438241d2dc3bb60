// The two shader sprites on a real GL context with the shaders of the staged resource tree: their
// sizes, that they come out upright, that the blur softens, and that the hole is clear where the
// board asks for it (world pixels, y up).

#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Driver.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/math/Vec4.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/RenderTexture.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"

#include "ui/ShaderSprites.h"

namespace {

using cocos2d::Color4B;
using cocos2d::Director;
using cocos2d::LayerColor;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::RenderTexture;
using cocos2d::Sprite;
using cocos2d::Vec2;

Color4B meanColour(const Rect& windowPixels) {
    RefPtr<cocos2d::Image> image = testing::Driver::get().readPixels(windowPixels);
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
    return Color4B(static_cast<GLubyte>(sum[0] / n), static_cast<GLubyte>(sum[1] / n),
                   static_cast<GLubyte>(sum[2] / n), 255);
}

// A 5 x 5 patch around a world point (y up) of the 1280 x 810 window.
Color4B around(float worldX, float worldY) {
    return meanColour(Rect(worldX - 2, 810 - worldY - 2, 5, 5));
}

std::string describe(const Color4B& c) {
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ")";
}

class ShaderSpriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
        files->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
        files->setSearchPaths({"res"});
        scene = cocos2d::Scene::create();
        scene->addChild(LayerColor::create(Color4B(0, 0, 255, 255), 1280, 810), -10);
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(1);
    }
    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".png"));
        }
        driver().stopCapturingLog();
    }
    static testing::Driver& driver() { return testing::Driver::get(); }

    // A 1280 x 810 snapshot as the game takes them: a render texture the scene was drawn into.
    // The top half (y >= 405) is green, the bottom half red; `fill` replaces both when given.
    RefPtr<RenderTexture> snapshot(const Color4B* fill = nullptr) {
        RefPtr<RenderTexture> rt = RenderTexture::create(1280, 810);
        EXPECT_TRUE(rt);
        RefPtr<LayerColor> bottom = LayerColor::create(fill ? *fill : Color4B(255, 0, 0, 255), 1280, 405);
        RefPtr<LayerColor> top = LayerColor::create(fill ? *fill : Color4B(0, 255, 0, 255), 1280, 405);
        top->setPosition(0, 405);
        rt->beginWithClear(0, 0, 0, 0);
        bottom->visit();
        top->visit();
        rt->end();
        return rt;
    }

    cocos2d::Scene* scene = nullptr;
};

TEST_F(ShaderSpriteTest, TheBlurredSnapshotIsASquareOfAQuarterWidthUprightAndSoft) {
    RefPtr<RenderTexture> source = snapshot();
    Sprite* blurred = createBlurredSprite(source->getSprite()->getTexture());
    ASSERT_NE(blurred, nullptr);
    EXPECT_EQ(blurred->getTexture()->getPixelsWide(), 320);
    EXPECT_EQ(blurred->getTexture()->getPixelsHigh(), 320);
    EXPECT_FLOAT_EQ(blurred->getScale(), 4.0f);
    EXPECT_FALSE(blurred->isFlippedY());
    EXPECT_EQ(blurred->getBoundingBox().size, cocos2d::Size(1280, 1280));

    // Centred on the snapshot's area, as the pause overlay places it.
    blurred->setPosition(640, 405);
    scene->addChild(blurred);
    driver().stepFrames(1);
    const Color4B high = around(640, 700);
    const Color4B low = around(640, 110);
    EXPECT_GT(high.g, 200) << "green stays at the top: " << describe(high);
    EXPECT_LT(high.r, 40) << describe(high);
    EXPECT_GT(low.r, 200) << "red stays at the bottom: " << describe(low);
    EXPECT_LT(low.g, 40) << describe(low);
    // A sharp copy would be pure red 6 pixels below the edge; the blur mixes the halves there.
    const Color4B edge = around(640, 399);
    EXPECT_GT(edge.g, 30) << describe(edge);
    EXPECT_GT(edge.r, 30) << describe(edge);
    driver().saveScreenshot(testing::Driver::outputPath("shader_blurred_snapshot.png"));

    // At its own size the square shows the transparent bands above and below the picture.
    blurred->setScale(1.0f);
    blurred->setPosition(160, 160);
    driver().stepFrames(1);
    const Color4B band = around(160, 310);
    EXPECT_EQ(band.b, 255) << "the background shows through the band: " << describe(band);
    EXPECT_GT(around(160, 200).g, 200);
    blurred->removeFromParent();
    blurred->release();
}

TEST_F(ShaderSpriteTest, TheHoleMaskIsClearInsideTheHoleInWorldPixelsAndDimmedElsewhere) {
    const Color4B white(255, 255, 255, 255);
    RefPtr<RenderTexture> source = snapshot(&white);
    // (left, bottom, right, top) in world pixels, y up, as the board builds it.
    Sprite* overlay =
        createHoleMaskSprite(source->getSprite()->getTexture(), cocos2d::Vec4(400, 200, 560, 320));
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->getTexture()->getPixelsWide(), 320);
    EXPECT_EQ(overlay->getTexture()->getPixelsHigh(), 202);
    EXPECT_EQ(overlay->getBoundingBox().size, cocos2d::Size(1280, 808));

    overlay->setAnchorPoint(Vec2(0, 0));
    overlay->setPosition(0, 0);
    scene->addChild(overlay);
    driver().stepFrames(1);
    driver().saveScreenshot(testing::Driver::outputPath("shader_hole_mask.png"));

    const Color4B hole = around(480, 260);
    EXPECT_LT(hole.r, 10) << "the background shows through the hole: " << describe(hole);
    EXPECT_GT(hole.b, 245) << describe(hole);
    // Darkened white at alpha 0.75 over blue: about (67, 67, 131).
    for (const Vec2 p : {Vec2(100, 700), Vec2(1200, 100), Vec2(480, 550), Vec2(200, 260), Vec2(800, 260)}) {
        const Color4B dim = around(p.x, p.y);
        EXPECT_NEAR(dim.r, 67, 12) << "(" << p.x << ", " << p.y << ") " << describe(dim);
        EXPECT_NEAR(dim.b, 131, 12) << "(" << p.x << ", " << p.y << ") " << describe(dim);
    }
    // The blur softens the hole's edge: halfway between clear and dim right on it.
    const Color4B edge = around(400, 260);
    EXPECT_GT(edge.r, 10) << describe(edge);
    EXPECT_LT(edge.r, 60) << describe(edge);
    overlay->removeFromParent();
    overlay->release();
}

TEST_F(ShaderSpriteTest, TheReturnedSpriteCarriesOneReferenceOfTheCallers) {
    RefPtr<RenderTexture> source = snapshot();
    for (int which = 0; which < 2; ++which) {
        SCOPED_TRACE(which == 0 ? "blurred" : "hole mask");
        Sprite* sprite =
            which == 0 ? createBlurredSprite(source->getSprite()->getTexture())
                       : createHoleMaskSprite(source->getSprite()->getTexture(), cocos2d::Vec4(0, 0, 10, 10));
        ASSERT_NE(sprite, nullptr);
        EXPECT_EQ(sprite->getReferenceCount(), 2u) << "autoreleased, plus the caller's";
        scene->addChild(sprite);
        driver().stepFrames(1);
        EXPECT_EQ(sprite->getReferenceCount(), 2u) << "the parent's and the caller's";
        sprite->removeFromParent();
        EXPECT_EQ(sprite->getReferenceCount(), 1u) << "one release after removal frees it";
        sprite->release();
    }
}

TEST_F(ShaderSpriteTest, NoTextureOrOneTooSmallGivesNullWithOneLine) {
    std::vector<std::string>& log = driver().captureLog();
    EXPECT_EQ(createBlurredSprite(nullptr), nullptr);
    RefPtr<RenderTexture> tiny = RenderTexture::create(3, 3);
    ASSERT_TRUE(tiny);
    EXPECT_EQ(createHoleMaskSprite(tiny->getSprite()->getTexture(), cocos2d::Vec4(0, 0, 1, 1)), nullptr);
    int lines = 0;
    for (const std::string& line : log) {
        lines += line.find("createBlurredSprite") != std::string::npos ||
                         line.find("createHoleMaskSprite") != std::string::npos
                     ? 1
                     : 0;
    }
    EXPECT_EQ(lines, 2);
}

// A shader file that does not compile is named by its file in its one line, whatever its first line
// says; the sprite still comes back and draws with the engine's default program.
TEST_F(ShaderSpriteTest, AShaderThatDoesNotCompileIsNamedByItsFile) {
    char pattern[] = "/tmp/kestrova-shaders-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string root = std::string(pattern) + "/";
    ASSERT_EQ(std::system(("mkdir -p " + root + "res/Shaders").c_str()), 0);
    {
        std::FILE* file = std::fopen((root + "res/Shaders/example_Blur.fsh").c_str(), "w");
        ASSERT_NE(file, nullptr);
        std::fputs("uniform vec2 resolution;\nvoid main() { this is not a shader }\n", file);
        std::fclose(file);
    }
    cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
    files->setResourceRoot(root);
    files->setSearchPaths({"res"});
    files->purgeCachedEntries();
    RefPtr<RenderTexture> rt = snapshot();

    std::vector<std::string>& log = driver().captureLog();
    Sprite* blurred = createBlurredSprite(rt->getSprite()->getTexture());
    std::vector<std::string> named;
    for (const std::string& line : log) {
        if (line.find("failed to compile") != std::string::npos) {
            named.push_back(line);
        }
    }
    ASSERT_EQ(named.size(), 1u);
    EXPECT_NE(named[0].find("[Shaders/example_Blur.fsh]"), std::string::npos) << named[0];
    EXPECT_NE(blurred, nullptr);
    if (blurred != nullptr) {
        blurred->release();
    }
    std::system(("rm -rf " + std::string(pattern)).c_str());
}

}  // namespace
