#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Driver.h"
#include "WaitFor.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/platform/GLViewImpl.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/GLProgramState.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::Color4B;
using cocos2d::Director;
using cocos2d::Image;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Sprite;
using cocos2d::Texture2D;
using cocos2d::Vec2;

// Writes a PNG of w x h pixels, each given by `pixel(x, y)` as straight RGBA, into the test folder.
std::string writePng(const std::string& name, int w, int h, const std::function<Color4B(int, int)>& pixel) {
    std::vector<unsigned char> rgba(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Color4B c = pixel(x, y);
            unsigned char* p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
            p[3] = c.a;
        }
    }
    Image image;
    EXPECT_TRUE(image.initWithRawData(rgba.data(), rgba.size(), w, h, false));
    const std::string path = testing::Driver::scratchPath(name);
    EXPECT_TRUE(image.saveToFile(path));
    return path;
}

// The mean colour of a rectangle of the last frame (drawable pixels from the top-left).
Color4B meanColour(const Rect& r) {
    RefPtr<Image> image = testing::Driver::get().readPixels(r);
    if (!image) {
        return Color4B(0, 0, 0, 0);
    }
    long sum[4] = {0, 0, 0, 0};
    const int n = image->getWidth() * image->getHeight();
    for (int y = 0; y < image->getHeight(); ++y) {
        for (int x = 0; x < image->getWidth(); ++x) {
            const Color4B c = image->getPixel(x, y);
            sum[0] += c.r;
            sum[1] += c.g;
            sum[2] += c.b;
            sum[3] += c.a;
        }
    }
    return Color4B(static_cast<GLubyte>(sum[0] / n), static_cast<GLubyte>(sum[1] / n),
                   static_cast<GLubyte>(sum[2] / n), static_cast<GLubyte>(sum[3] / n));
}

void expectColour(const Color4B& actual, int r, int g, int b, int tolerance, const std::string& what) {
    EXPECT_NEAR(actual.r, r, tolerance) << what;
    EXPECT_NEAR(actual.g, g, tolerance) << what;
    EXPECT_NEAR(actual.b, b, tolerance) << what;
}

class SpriteDrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        scene = cocos2d::Scene::create();
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(1);
        ASSERT_EQ(Director::getInstance()->getRunningScene(), scene);
    }
    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".png"));
        }
        driver().stopCapturingLog();
    }
    static testing::Driver& driver() { return testing::Driver::get(); }
    cocos2d::Scene* scene = nullptr;
};

TEST_F(SpriteDrawingTest, ASpriteLandsOnTheExpectedWindowPixelsUnderShowAllAtTwoWindowSizes) {
    const std::string red = writePng("red20.png", 20, 20, [](int, int) { return Color4B(255, 0, 0, 255); });
    struct Case {
        int w, h;
        Rect inside;   // around the sprite's centre
        Rect outside;  // elsewhere in the design area
        Rect bar;      // a letterbox bar, or an empty rectangle
    };
    const float s = 1080.0f / 810.0f;
    const Case cases[] = {
        {1280, 810, Rect(95, 105, 10, 10), Rect(300, 300, 10, 10), Rect()},
        {1920, 1080, Rect(107 + 100 * s - 5, 110 * s - 5, 10, 10), Rect(900, 500, 10, 10), Rect(20, 500, 40, 40)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        driver().close();
        ASSERT_TRUE(driver().open(c.w, c.h));
        auto* stage = cocos2d::Scene::create();
        stage->addChild(cocos2d::LayerColor::create(Color4B(40, 40, 40, 255), 1280, 810));
        Sprite* sprite = Sprite::create(red);
        ASSERT_NE(sprite, nullptr);
        sprite->setPosition(100, 700);
        stage->addChild(sprite);
        Director::getInstance()->runWithScene(stage);
        driver().stepFrames(1);
        expectColour(meanColour(c.inside), 255, 0, 0, 2, "the sprite");
        expectColour(meanColour(c.outside), 40, 40, 40, 2, "the background");
        if (c.bar.size.width > 0) {
            expectColour(meanColour(c.bar), 0, 0, 0, 0, "the letterbox bar is black");
        }
    }
    driver().close();
    ASSERT_TRUE(driver().open());
    scene = cocos2d::Scene::create();
    Director::getInstance()->runWithScene(scene);
    driver().stepFrames(1);
}

// Neither of the test's surfaces grows on a full-screen request: an offscreen pbuffer keeps its size,
// and a bare X server has no window manager to honour it. SDL still reports the desktop size, so a
// view that believed it drew a desktop-sized frame into the real one, cut off and misplaced.
TEST_F(SpriteDrawingTest, FullScreenThatLeavesTheSurfaceAsItWasDrawsIntoTheSurfaceItHas) {
    const std::string red = writePng("red20fs.png", 20, 20, [](int, int) { return Color4B(255, 0, 0, 255); });
    scene->addChild(cocos2d::LayerColor::create(Color4B(40, 40, 40, 255), 1280, 810));
    Sprite* sprite = Sprite::create(red);
    ASSERT_NE(sprite, nullptr);
    sprite->setPosition(100, 700);
    scene->addChild(sprite);
    cocos2d::GLViewImpl* view = driver().view();
    ASSERT_NE(view, nullptr);

    auto expectDrawnAsAt1280x810 = [&](const std::string& when) {
        EXPECT_EQ(view->getFrameSize().width, 1280.0f) << when;
        EXPECT_EQ(view->getFrameSize().height, 810.0f) << when;
        const Rect& viewport = view->getViewPortRect();
        EXPECT_EQ(viewport.origin, Vec2::ZERO) << when;
        EXPECT_EQ(viewport.size.width, 1280.0f) << when;
        EXPECT_EQ(viewport.size.height, 810.0f) << when;
        // The pointer's window position is the surface's pixel (no HiDPI here), whatever size SDL reports.
        EXPECT_EQ(view->windowToFramePixels(Vec2(100, 110)), Vec2(100, 110)) << when;
        expectColour(meanColour(Rect(95, 105, 10, 10)), 255, 0, 0, 2, when + ": the sprite");
        expectColour(meanColour(Rect(1265, 5, 10, 10)), 40, 40, 40, 2, when + ": the top right corner");
        expectColour(meanColour(Rect(5, 795, 10, 10)), 40, 40, 40, 2, when + ": the bottom left corner");
    };
    view->enterFullscreen();
    driver().stepFrames(2);
    expectDrawnAsAt1280x810("full screen");
    view->exitFullscreen(1280, 810);
    driver().stepFrames(2);
    expectDrawnAsAt1280x810("windowed again");
}

TEST_F(SpriteDrawingTest, HalfTransparencyBlendsAsPremultipliedAlpha) {
    scene->addChild(cocos2d::LayerColor::create(Color4B(0, 0, 255, 255), 1280, 810));
    // Straight (255, 0, 0, 128) on disk: premultiplied at load to (128, 0, 0, 128).
    const std::string half = writePng("half_red.png", 40, 40, [](int, int) { return Color4B(255, 0, 0, 128); });
    Sprite* texelAlpha = Sprite::create(half);
    texelAlpha->setPosition(200, 405);
    scene->addChild(texelAlpha);
    // Opaque red at opacity 128: the vertex colour is premultiplied too.
    const std::string opaque = writePng("red40.png", 40, 40, [](int, int) { return Color4B(255, 0, 0, 255); });
    Sprite* faded = Sprite::create(opaque);
    faded->setOpacity(128);
    faded->setPosition(400, 405);
    scene->addChild(faded);
    driver().stepFrames(1);
    expectColour(meanColour(Rect(190, 395, 20, 20)), 128, 0, 127, 2, "texel alpha");
    expectColour(meanColour(Rect(390, 395, 20, 20)), 128, 0, 127, 2, "opacity");
}

TEST_F(SpriteDrawingTest, AThousandSpritesSharingOneTextureAreDrawnInOneDrawCall) {
    const std::string dot = writePng("dot8.png", 8, 8, [](int, int) { return Color4B(255, 255, 255, 255); });
    for (int i = 0; i < 1000; ++i) {
        Sprite* s = Sprite::create(dot);
        s->setPosition(20.0f + (i % 50) * 25.0f, 20.0f + (i / 50) * 38.0f);
        scene->addChild(s);
    }
    driver().stepFrames(1);
    EXPECT_EQ(Director::getInstance()->getRenderer()->getLastFrameStats().drawCalls, 1u);
    expectColour(meanColour(Rect(18, 810 - 22, 4, 4)), 255, 255, 255, 2, "the first dot");
}

TEST_F(SpriteDrawingTest, FlippingTurnsTheTextureNotTheNode) {
    // Left half red, right half green; top half bright, bottom half dark.
    const std::string quads = writePng("quads.png", 40, 40, [](int x, int y) {
        const GLubyte v = y < 20 ? 255 : 100;
        return x < 20 ? Color4B(v, 0, 0, 255) : Color4B(0, v, 0, 255);
    });
    struct Case {
        bool flipX, flipY;
        int leftTopR, leftTopG;  // the colour that shows at the top-left quarter
    };
    const Case cases[] = {{false, false, 255, 0}, {true, false, 0, 255}, {false, true, 100, 0}, {true, true, 0, 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flipX " << c.flipX << " flipY " << c.flipY);
        scene->removeAllChildren();
        Sprite* s = Sprite::create(quads);
        s->setFlippedX(c.flipX);
        s->setFlippedY(c.flipY);
        s->setPosition(640, 405);
        scene->addChild(s);
        driver().stepFrames(1);
        expectColour(meanColour(Rect(625, 390, 8, 8)), c.leftTopR, c.leftTopG, 0, 3, "top-left quarter");
    }
}

TEST_F(SpriteDrawingTest, AMissingImageGivesNullAndOneLineNamingTheFile) {
    auto& lines = driver().captureLog();
    EXPECT_EQ(Sprite::create("no/such/picture.png"), nullptr);
    const std::string garbage = testing::Driver::scratchPath("garbage.png");
    { std::ofstream(garbage) << "not a picture"; }
    EXPECT_EQ(Sprite::create(garbage), nullptr);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("no/such/picture.png"), std::string::npos);
    EXPECT_NE(lines[1].find("garbage.png"), std::string::npos);
}

TEST_F(SpriteDrawingTest, AsyncLoadsCompleteOnTheMainThreadInRequestOrderAndAMissingFileGivesNullOnce) {
    auto* cache = Director::getInstance()->getTextureCache();
    const std::string a = writePng("async_a.png", 16, 16, [](int, int) { return Color4B(1, 2, 3, 255); });
    Texture2D* cachedAlready = cache->addImage(a);
    ASSERT_NE(cachedAlready, nullptr);
    const std::string b = writePng("async_b.png", 32, 8, [](int, int) { return Color4B(9, 9, 9, 255); });
    std::vector<std::string> order;
    int missingCalls = 0;
    cache->addImageAsync(b, [&](cocos2d::Texture2D* t) {
        order.push_back(t && t->getPixelsWide() == 32 ? "b" : "b failed");
    });
    cache->addImageAsync("no/such/file.png", [&](cocos2d::Texture2D* t) {
        ++missingCalls;
        order.push_back(t ? "missing gave a texture" : "missing null");
    });
    cache->addImageAsync(a, [&](cocos2d::Texture2D* t) { order.push_back(t == cachedAlready ? "a" : "a wrong"); });
    EXPECT_TRUE(order.empty()) << "never inside the call";
    // Frames step without sleeping; the decoder thread gets wall time between them.
    testing::waitFor(
        "the three loads to call back", [&] { return order.size() >= 3; }, [&] { driver().stepFrames(1); });
    driver().stepFrames(2);
    ASSERT_EQ(cache->pendingAsyncLoads(), 0u) << "no completion may outlive this test's callbacks";
    EXPECT_EQ(order, (std::vector<std::string>{"b", "missing null", "a"}));
    EXPECT_EQ(missingCalls, 1);
    EXPECT_NE(cache->getTextureForKey(b), nullptr);
}

TEST_F(SpriteDrawingTest, AnUndecodableAsyncFileCallsBackNullWithOneLineFromTheMainThread) {
    auto* cache = Director::getInstance()->getTextureCache();
    const std::string garbage = testing::Driver::scratchPath("async_garbage.png");
    { std::ofstream(garbage) << "PNG? no"; }
    auto& lines = driver().captureLog();
    int calls = 0;
    cocos2d::Texture2D* result = reinterpret_cast<cocos2d::Texture2D*>(1);
    cache->addImageAsync(garbage, [&](cocos2d::Texture2D* t) {
        ++calls;
        result = t;
    });
    testing::waitFor(
        "the undecodable load to call back", [&] { return calls > 0; }, [&] { driver().stepFrames(1); });
    driver().stepFrames(2);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(result, nullptr);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("async_garbage.png"), std::string::npos);
}

TEST_F(SpriteDrawingTest, RemovingFromTheCacheDropsOnlyTheCachesReference) {
    auto* cache = Director::getInstance()->getTextureCache();
    const std::string path = writePng("kept.png", 10, 10, [](int, int) { return Color4B(0, 255, 0, 255); });
    Sprite* s = Sprite::create(path);
    s->setPosition(640, 405);
    scene->addChild(s);
    cache->removeAllTextures();
    EXPECT_EQ(cache->getTextureForKey(path), nullptr);
    driver().stepFrames(1);
    expectColour(meanColour(Rect(637, 402, 6, 6)), 0, 255, 0, 2, "the sprite still draws its texture");
}

TEST_F(SpriteDrawingTest, AJpegSavedAndLoadedAgainIsUprightAndOpaque) {
    std::vector<unsigned char> rgba(64 * 32 * 4, 0);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            unsigned char* p = &rgba[(static_cast<size_t>(y) * 64 + x) * 4];
            p[0] = y < 16 ? 250 : 0;  // red top half
            p[2] = y < 16 ? 0 : 250;  // blue bottom half
            p[3] = 255;
        }
    }
    Image image;
    ASSERT_TRUE(image.initWithRawData(rgba.data(), rgba.size(), 64, 32));
    const std::string path = testing::Driver::scratchPath("upright.jpg");
    ASSERT_TRUE(image.saveToFile(path));
    Image loaded;
    ASSERT_TRUE(loaded.initWithImageFile(path));
    EXPECT_EQ(loaded.getWidth(), 64);
    const Color4B top = loaded.getPixel(32, 4);
    const Color4B bottom = loaded.getPixel(32, 28);
    EXPECT_GT(top.r, 200);
    EXPECT_LT(top.b, 50);
    EXPECT_GT(bottom.b, 200);
    EXPECT_EQ(top.a, 255);
}

TEST_F(SpriteDrawingTest, ClipRectanglesLimitWhatTheirSubtreeDraws) {
    struct Clipper : cocos2d::Node {
        using Node::visit;
        Rect clip;
        void visit(cocos2d::Renderer* r, const cocos2d::Mat4& t, uint32_t f) override {
            r->pushClipRect(clip);
            Node::visit(r, t, f);
            r->popClipRect();
        }
    };
    auto* clipper = new Clipper();
    clipper->init();
    clipper->autorelease();
    clipper->clip = Rect(0, 0, 640, 810);  // the left half of the design area
    clipper->addChild(cocos2d::LayerColor::create(Color4B(255, 255, 0, 255), 1280, 810));
    scene->addChild(clipper);
    driver().stepFrames(1);
    expectColour(meanColour(Rect(300, 400, 10, 10)), 255, 255, 0, 1, "inside the clip");
    expectColour(meanColour(Rect(900, 400, 10, 10)), 0, 0, 0, 1, "outside the clip");
}

TEST_F(SpriteDrawingTest, AProgramCompilesOnceDrawsItsColourAndReportsBadSources) {
    const char* green = R"(
varying vec4 v_fragmentColor;
varying vec2 v_texCoord;
uniform float u_level;
void main() { gl_FragColor = vec4(0.0, u_level, 0.0, 1.0) * texture2D(CC_Texture0, v_texCoord).a; }
)";
    auto* first = cocos2d::GLProgram::createWithByteArrays(cocos2d::ccPositionTextureColor_noMVP_vert, green);
    auto* second = cocos2d::GLProgram::createWithByteArrays(cocos2d::ccPositionTextureColor_noMVP_vert, green);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second) << "a new object each call";
    EXPECT_EQ(first->getProgram(), second->getProgram()) << "compiled once";
    auto* state = cocos2d::GLProgramState::getOrCreateWithGLProgram(first);
    EXPECT_EQ(state, cocos2d::GLProgramState::getOrCreateWithGLProgram(first));
    EXPECT_NE(state, cocos2d::GLProgramState::getOrCreateWithGLProgram(second));
    auto& lines = driver().captureLog();
    state->setUniformFloat("u_level", 0.5f);
    state->setUniformFloat("no_such_uniform", 1.0f);
    state->setUniformFloat("no_such_uniform", 2.0f);
    EXPECT_EQ(lines.size(), 1u);
    const std::string white = writePng("white40.png", 40, 40, [](int, int) { return Color4B(255, 255, 255, 255); });
    Sprite* s = Sprite::create(white);
    s->setGLProgramState(state);
    s->setPosition(640, 405);
    scene->addChild(s);
    driver().stepFrames(1);
    expectColour(meanColour(Rect(635, 400, 10, 10)), 0, 128, 0, 2, "the shader's colour");

    lines.clear();
    EXPECT_EQ(cocos2d::GLProgram::createWithByteArrays(cocos2d::ccPositionTextureColor_noMVP_vert,
                                                       "void main() { gl_FragColor = oops; }"),
              nullptr);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("oops"), std::string::npos) << "the line carries the compile log: " << lines[0];
}

TEST_F(SpriteDrawingTest, TheStatisticsOverlayDrawsAtTheBottomLeft) {
    driver().stepFrames(1);
    const Color4B before = meanColour(Rect(0, 770, 120, 40));
    Director::getInstance()->setDisplayStats(true);
    driver().stepFrames(2);
    const Color4B after = meanColour(Rect(0, 770, 120, 40));
    Director::getInstance()->setDisplayStats(false);
    EXPECT_EQ(before.r, 0);
    EXPECT_GT(after.r, 10) << "white text over the dark plate";
}

}  // namespace
