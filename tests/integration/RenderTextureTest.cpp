#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Driver.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/base/Scheduler.h"
#include "engine/platform/FileUtils.h"
#include "engine/platform/GL.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/GLProgramState.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/RenderTexture.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::BlendFunc;
using cocos2d::Color4B;
using cocos2d::Director;
using cocos2d::Image;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::RenderTexture;
using cocos2d::Sprite;
using cocos2d::Vec2;

constexpr int kW = 64;
constexpr int kH = 48;

// The source picture: every row and every column differs, so a flip or a shift shows.
Color4B source(int x, int y) {  // y down, straight alpha
    return Color4B(static_cast<GLubyte>(x * 4), static_cast<GLubyte>(y * 5), 128, 255);
}

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

// Compares every pixel of `actual` (rows top first) with `expected`; reports the first few misses.
void expectImage(const Image* actual, const std::function<Color4B(int, int)>& expected, int tolerance,
                 const std::string& what) {
    ASSERT_NE(actual, nullptr) << what;
    ASSERT_EQ(actual->getWidth(), kW) << what;
    ASSERT_EQ(actual->getHeight(), kH) << what;
    int misses = 0;
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const Color4B a = actual->getPixel(x, y);
            const Color4B e = expected(x, y);
            if (std::abs(a.r - e.r) > tolerance || std::abs(a.g - e.g) > tolerance ||
                std::abs(a.b - e.b) > tolerance || std::abs(a.a - e.a) > tolerance) {
                if (++misses <= 5) {
                    ADD_FAILURE() << what << " at (" << x << ", " << y << "): got (" << int(a.r) << ", "
                                  << int(a.g) << ", " << int(a.b) << ", " << int(a.a) << "), expected ("
                                  << int(e.r) << ", " << int(e.g) << ", " << int(e.b) << ", " << int(e.a)
                                  << ")";
                }
            }
        }
    }
    EXPECT_EQ(misses, 0) << what;
}

// What the game does to read a render texture back: its own framebuffer over the texture and
// glReadPixels, which gives the rows from the bottom of the drawing.
std::vector<unsigned char> glReadBack(GLuint texture, int w, int h) {
    std::vector<unsigned char> rgba(static_cast<size_t>(w) * h * 4, 0);
    GLint previous = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
    glDeleteFramebuffers(1, &framebuffer);
    return rgba;
}

class RenderTextureTest : public ::testing::Test {
protected:
    void SetUp() override {
        scene = cocos2d::Scene::create();
        scene->addChild(cocos2d::LayerColor::create(Color4B(0, 0, 0, 255), 1280, 810), -10);
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(1);
        picture = writePng("rt_source.png", kW, kH, source);
    }
    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".png"));
        }
        driver().stopCapturingLog();
    }
    static testing::Driver& driver() { return testing::Driver::get(); }

    // A render texture of the picture's size holding the picture.
    RenderTexture* filledWithPicture() {
        RenderTexture* rt = RenderTexture::create(kW, kH);
        EXPECT_NE(rt, nullptr);
        if (!rt) {
            return nullptr;
        }
        Sprite* sprite = Sprite::create(picture);
        sprite->setPosition(kW / 2.0f, kH / 2.0f);
        rt->begin();
        sprite->visit();
        rt->end();
        return rt;
    }

    cocos2d::Scene* scene = nullptr;
    std::string picture;
};

TEST_F(RenderTextureTest, ANewRenderTextureIsTransparentAndBadSizesGiveNull) {
    // Dirty the GPU memory a fresh texture may reuse.
    for (int i = 0; i < 3; ++i) {
        RefPtr<RenderTexture> old = RenderTexture::create(kW, kH);
        old->beginWithClear(1, 0, 1, 1);
        old->end();
    }
    RefPtr<RenderTexture> rt = RenderTexture::create(kW, kH, cocos2d::Texture2D::PixelFormat::RGBA8888);
    ASSERT_TRUE(rt);
    RefPtr<Image> pixels = rt->readImage();
    expectImage(
        pixels, [](int, int) { return Color4B(0, 0, 0, 0); }, 0, "a new render texture");
    EXPECT_EQ(rt->getSprite()->getTexture()->getPixelsWide(), kW);

    for (auto size : std::vector<std::pair<int, int>>{{0, 10}, {10, 0}, {-5, 10}, {1 << 20, 4}}) {
        auto& log = driver().captureLog();
        EXPECT_EQ(RenderTexture::create(size.first, size.second), nullptr);
        EXPECT_EQ(log.size(), 1u) << size.first << " x " << size.second;
    }
}

TEST_F(RenderTextureTest, ContentsMatchTheSourceImageWithRowsFromTheBottomInTheTexture) {
    RefPtr<RenderTexture> rt = filledWithPicture();
    ASSERT_TRUE(rt);
    // Read back as an upright image, it is the source picture.
    RefPtr<Image> upright = rt->readImage();
    expectImage(upright, source, 1, "upright read-back");
    // The game's own read-back gets texel row 0 = the bottom row of the picture.
    const std::vector<unsigned char> raw = glReadBack(rt->getSprite()->getTexture()->getName(), kW, kH);
    for (int row : {0, 1, kH / 2, kH - 1}) {
        const unsigned char* p = &raw[static_cast<size_t>(row) * kW * 4 + 10 * 4];
        const Color4B expected = source(10, kH - 1 - row);
        EXPECT_NEAR(p[0], expected.r, 1) << "texel row " << row;
        EXPECT_NEAR(p[1], expected.g, 1) << "texel row " << row;
    }
}

TEST_F(RenderTextureTest, ItsOwnSpriteShowsUprightAndAPlainSpriteOfItsTextureUpsideDown) {
    RenderTexture* rt = filledWithPicture();
    ASSERT_NE(rt, nullptr);
    rt->setPosition(300, 400);
    scene->addChild(rt);
    Sprite* plain = Sprite::createWithTexture(rt->getSprite()->getTexture());
    plain->setPosition(700, 400);
    scene->addChild(plain);
    driver().stepFrames(1);
    // The window is 1280 x 810, so design points are window pixels.
    RefPtr<Image> own = driver().readPixels(Rect(300 - kW / 2, 810 - 400 - kH / 2, kW, kH));
    expectImage(own, source, 1, "the render texture's sprite on screen");
    RefPtr<Image> turned = driver().readPixels(Rect(700 - kW / 2, 810 - 400 - kH / 2, kW, kH));
    expectImage(
        turned, [](int x, int y) { return source(x, kH - 1 - y); }, 1, "a plain sprite of its texture");
}

TEST_F(RenderTextureTest, AnEraseStampLeavesTransparencyRightAfterEnd) {
    RefPtr<RenderTexture> rt = filledWithPicture();
    ASSERT_TRUE(rt);
    const std::string brush =
        writePng("rt_brush.png", 8, 8, [](int, int) { return Color4B(255, 255, 255, 255); });
    // Stamp centres in the render texture's points (y up): one near the top-left corner, one near the
    // bottom-right one, so a flip or an offset moves the holes.
    const std::vector<Vec2> stamps = {Vec2(8, 40), Vec2(52, 12)};
    auto* renderer = Director::getInstance()->getRenderer();
    const unsigned int callsBefore = renderer->getCurrentFrameStats().drawCalls;
    rt->begin();
    for (const Vec2& at : stamps) {
        Sprite* stamp = Sprite::create(brush);
        stamp->setPosition(at);
        stamp->setBlendFunc(BlendFunc{GL_ZERO, GL_ONE_MINUS_SRC_ALPHA});
        stamp->visit();
    }
    rt->end();
    EXPECT_EQ(renderer->getCurrentFrameStats().drawCalls - callsBefore, 1u) << "stamps of one brush batch";
    RefPtr<Image> after = rt->readImage();
    const auto stamped = [&](int x, int y) {  // (x, y) from the top-left
        for (const Vec2& at : stamps) {
            const float px = x + 0.5f;
            const float py = kH - y - 0.5f;
            if (px > at.x - 4 && px < at.x + 4 && py > at.y - 4 && py < at.y + 4) {
                return true;
            }
        }
        return false;
    };
    expectImage(
        after, [&](int x, int y) { return stamped(x, y) ? Color4B(0, 0, 0, 0) : source(x, y); }, 1,
        "after the stamps");
}

TEST_F(RenderTextureTest, BeginAccumulatesAndClearsKeepTheirPlaceInTheOrder) {
    const std::string red = writePng("rt_red.png", 16, 16, [](int, int) { return Color4B(255, 0, 0, 255); });
    const std::string green =
        writePng("rt_green.png", 16, 16, [](int, int) { return Color4B(0, 255, 0, 255); });
    RefPtr<RenderTexture> rt = RenderTexture::create(kW, kH);
    ASSERT_TRUE(rt);
    auto stampAt = [](const std::string& file, float x, float y) {
        Sprite* s = Sprite::create(file);
        s->setPosition(x, y);
        s->visit();
    };
    rt->begin();
    stampAt(red, 8, 8);
    rt->end();
    rt->begin();  // no clear: the red stays
    stampAt(green, 56, 40);
    rt->end();
    RefPtr<Image> both = rt->readImage();
    EXPECT_EQ(both->getPixel(8, kH - 8), Color4B(255, 0, 0, 255));
    EXPECT_EQ(both->getPixel(56, kH - 40), Color4B(0, 255, 0, 255));

    // A clear between begin and end comes after what was drawn before it and before what follows.
    rt->begin();
    stampAt(red, 56, 40);
    rt->clear(1, 1, 1, 0);
    stampAt(green, 8, 8);
    rt->end();
    RefPtr<Image> cleared = rt->readImage();
    EXPECT_EQ(cleared->getPixel(8, kH - 8), Color4B(0, 255, 0, 255));
    EXPECT_EQ(cleared->getPixel(56, kH - 40), Color4B(255, 255, 255, 0));
    rt->beginWithClear(0, 0, 0, 0);
    rt->end();
    expectImage(
        RefPtr<Image>(rt->readImage()), [](int, int) { return Color4B(0, 0, 0, 0); }, 0, "cleared");
}

TEST_F(RenderTextureTest, ChainedPassesKeepTheirOrderAndTheFlippedSecondPassComesOutUpright) {
    RefPtr<RenderTexture> first = filledWithPicture();
    ASSERT_TRUE(first);
    // The second pass samples the first: a flipped sprite of its texture (a hole-mask chain's shape).
    RefPtr<RenderTexture> second = RenderTexture::create(kW, kH);
    Sprite* pass = Sprite::createWithTexture(first->getSprite()->getTexture());
    pass->setFlippedY(true);
    pass->setPosition(kW / 2.0f, kH / 2.0f);
    second->begin();
    pass->visit();
    second->end();
    expectImage(RefPtr<Image>(second->readImage()), source, 1, "second pass");
    // The result shown as a plain (unflipped) sprite of the second texture is upside down on screen;
    // shown as the chain's callers show it, flipped, it is upright.
    Sprite* result = Sprite::createWithTexture(second->getSprite()->getTexture());
    result->setFlippedY(true);
    result->setPosition(640, 405);
    scene->addChild(result);
    driver().stepFrames(1);
    expectImage(driver().readPixels(Rect(640 - kW / 2, 810 - 405 - kH / 2, kW, kH)), source, 1, "on screen");
}

TEST_F(RenderTextureTest, DrawingFromATimerBetweenFramesWorksAndIgnoresTheWindowSize) {
    driver().resize(1920, 1080);  // letterboxed: the screen's scale is no longer 1
    driver().stepFrames(1);
    RefPtr<Image> fromTimer;
    scene->scheduleOnce(
        [&](float) {
            RefPtr<RenderTexture> rt = filledWithPicture();
            fromTimer = rt ? rt->readImage() : nullptr;
        },
        0.0f, "draw");
    driver().stepFrames(2);
    driver().resize(1280, 810);
    driver().stepFrames(1);
    expectImage(fromTimer, source, 1, "drawn in a timer at 1920 x 1080");
}

TEST_F(RenderTextureTest, StampsReachEveryCornerOfATextureLargerThanTheWindow) {
    // 1600 x 1000 against a 1280 x 810 window: stamps beyond the window's extent, and one under a
    // parent standing far off screen, must all land; nothing drawn into a render texture is culled.
    constexpr int w = 1600;
    constexpr int h = 1000;
    RefPtr<RenderTexture> rt = RenderTexture::create(w, h);
    ASSERT_TRUE(rt);
    const std::string brush =
        writePng("rt_big_brush.png", 8, 8, [](int, int) { return Color4B(255, 255, 255, 255); });
    RefPtr<cocos2d::Node> farAway = cocos2d::Node::create();
    farAway->setPosition(-3000, 5000);
    const std::vector<Vec2> stamps = {Vec2(1590, 990), Vec2(1590, 10), Vec2(10, 990), Vec2(10, 10)};
    rt->beginWithClear(0.5f, 0.5f, 0.5f, 1.0f);
    for (const Vec2& at : stamps) {
        Sprite* stamp = Sprite::create(brush);
        stamp->setPosition(at);
        stamp->setBlendFunc(BlendFunc{GL_ZERO, GL_ONE_MINUS_SRC_ALPHA});
        stamp->visit();
    }
    Sprite* underFarParent = Sprite::create(brush);
    underFarParent->setPosition(3000 + 1400, -5000 + 900);  // (1400, 900) in the texture
    underFarParent->setBlendFunc(BlendFunc{GL_ZERO, GL_ONE_MINUS_SRC_ALPHA});
    farAway->addChild(underFarParent);
    underFarParent->visit();
    rt->end();
    RefPtr<Image> image = rt->readImage();
    ASSERT_TRUE(image);
    ASSERT_EQ(image->getWidth(), w);
    ASSERT_EQ(image->getHeight(), h);
    const auto at = [&](float x, float y) {
        return image->getPixel(static_cast<int>(x), h - 1 - static_cast<int>(y));
    };
    for (const Vec2& p : stamps) {
        EXPECT_EQ(at(p.x, p.y).a, 0) << "stamp at (" << p.x << ", " << p.y << ")";
    }
    EXPECT_EQ(at(1400, 900).a, 0) << "stamp under the far parent";
    EXPECT_EQ(at(800, 500).a, 255) << "the clear between the stamps";
    EXPECT_EQ(at(1400, 880).a, 255) << "the far parent's stamp is where its transform says";
}

TEST_F(RenderTextureTest, CascadingOpacityReachesItsSprite) {
    const std::string white =
        writePng("rt_white.png", kW, kH, [](int, int) { return Color4B(255, 255, 255, 255); });
    RenderTexture* rt = RenderTexture::create(kW, kH);
    Sprite* fill = Sprite::create(white);
    fill->setPosition(kW / 2.0f, kH / 2.0f);
    rt->begin();
    fill->visit();
    rt->end();
    rt->setCascadeOpacityEnabled(true);
    rt->setOpacity(128);
    rt->setPosition(640, 405);
    scene->addChild(rt);
    driver().stepFrames(1);
    RefPtr<Image> shown = driver().readPixels(Rect(640 - 8, 810 - 405 - 8, 16, 16));
    ASSERT_TRUE(shown);
    EXPECT_NEAR(shown->getPixel(8, 8).r, 128, 2);
}

// A program as the game builds one from a shader file of the resource tree; null when not staged.
cocos2d::GLProgramState* resourceProgram(const std::string& name) {
    const std::string path = std::string(KESTROVA_RESOURCE_DIR) + "/res/Shaders/" + name;
    cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
    if (!files->isFileExist(path)) {
        return nullptr;
    }
    const std::string text = files->getStringFromFile(path);
    cocos2d::GLProgram* program =
        cocos2d::GLProgram::createWithByteArrays(cocos2d::ccPositionTextureColor_noMVP_vert, text.c_str());
    return program ? cocos2d::GLProgramState::getOrCreateWithGLProgram(program) : nullptr;
}

TEST_F(RenderTextureTest, TheHoleMaskChainOfTheResourceShadersComesOutUprightWithTheHoleInPlace) {
    RefPtr<cocos2d::GLProgramState> mask = resourceProgram("alphaRect.fsh");
    RefPtr<cocos2d::GLProgramState> blur = resourceProgram("example_Blur.fsh");
    if (!mask || !blur) {
        GTEST_SKIP() << "the resource tree is not staged in this build";
    }
    // The snapshot: a 400 x 200 scene, red above, blue below, drawn into a render texture.
    const std::string halves = writePng("rt_halves.png", 400, 200, [](int, int y) {
        return y < 100 ? Color4B(255, 0, 0, 255) : Color4B(0, 0, 255, 255);
    });
    RefPtr<RenderTexture> snapshot = RenderTexture::create(400, 200);
    Sprite* scenePicture = Sprite::create(halves);
    scenePicture->setPosition(200, 100);
    snapshot->beginWithClear(0, 0, 0, 0);
    scenePicture->visit();
    snapshot->end();
    cocos2d::Texture2D* texture = snapshot->getSprite()->getTexture();

    // The chain of the hint overlay: q is the quarter size; the hole is the snapshot's bottom-left
    // quarter (left, bottom, right, top), passed divided by 4.
    const Vec2 q(100, 50);
    mask->setUniformVec4("holePos", cocos2d::Vec4(0, 0, 200 / 4.0f, 100 / 4.0f));
    mask->setUniformVec2("resolution", q);
    blur->setUniformVec2("resolution", q);
    blur->setUniformFloat("blurRadius", 6.0f);
    blur->setUniformFloat("sampleNum", 6.0f);
    Sprite* first = Sprite::createWithTexture(texture);
    first->setPosition(q.x / 2, q.y / 2);
    first->setScale(0.25f);
    first->setGLProgramState(mask);
    RefPtr<RenderTexture> firstPass = RenderTexture::create(100, 50);
    firstPass->begin();
    first->visit();
    firstPass->end();
    Sprite* second = Sprite::createWithTexture(firstPass->getSprite()->getTexture());
    second->setPosition(q.x / 2, q.y / 2);
    second->setFlippedY(true);
    second->setGLProgramState(blur);
    RefPtr<RenderTexture> secondPass = RenderTexture::create(100, 50);
    secondPass->begin();
    second->visit();
    secondPass->end();
    Sprite* result = Sprite::createWithTexture(secondPass->getSprite()->getTexture());
    result->setScale(4.0f);
    result->setPosition(640, 405);
    scene->removeAllChildren();
    scene->addChild(cocos2d::LayerColor::create(Color4B(0, 255, 0, 255), 1280, 810), -10);
    scene->addChild(result);
    driver().stepFrames(1);

    // Quarter centres of the 400 x 200 result centred on (640, 405), in window pixels from the top.
    const auto at = [&](float dx, float dy) {
        RefPtr<Image> pixel = driver().readPixels(Rect(640 + dx, 405 - dy, 1, 1));
        return pixel ? pixel->getPixel(0, 0) : Color4B();
    };
    const Color4B hole = at(-100, -50), topLeft = at(-100, 50), topRight = at(100, 50),
                  bottomRight = at(100, -50);
    EXPECT_GT(hole.g, 240) << "the hole shows the background";
    EXPECT_LT(hole.r + hole.b, 20);
    for (const Color4B& top : {topLeft, topRight}) {
        EXPECT_GT(top.r, top.b + 30) << "red stays on top";
        EXPECT_LT(top.g, 100) << "dimmed, not see-through";
    }
    EXPECT_GT(bottomRight.b, bottomRight.r + 30) << "blue stays below";
}

class RenderTextureFileTest : public RenderTextureTest {
protected:
    void SetUp() override {
        RenderTextureTest::SetUp();
        const char* previous = std::getenv("XDG_DATA_HOME");
        previousXdg = previous ? previous : "";
        hadXdg = previous != nullptr;
        dataHome =
            fs::temp_directory_path() / ("kestrova-rt-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dataHome);
        ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
        writable = cocos2d::FileUtils::getInstance()->getWritablePath();
    }
    void TearDown() override {
        if (hadXdg) {
            ::setenv("XDG_DATA_HOME", previousXdg.c_str(), 1);
        } else {
            ::unsetenv("XDG_DATA_HOME");
        }
        fs::remove_all(dataHome);
        RenderTextureTest::TearDown();
    }
    fs::path dataHome;
    std::string writable;
    std::string previousXdg;
    bool hadXdg = false;
};

TEST_F(RenderTextureFileTest, AJpegIsWrittenIntoTheWritableFolderAndReadsBackUpright) {
    RefPtr<RenderTexture> rt = filledWithPicture();
    ASSERT_TRUE(rt);
    ASSERT_EQ(writable.rfind(dataHome.string(), 0), 0u) << writable;
    std::string calledWith;
    ASSERT_TRUE(rt->saveToFile("Kestrova_test.jpg", Image::Format::JPG, true,
                               [&](RenderTexture* which, const std::string& path) {
                                   EXPECT_EQ(which, rt.get());
                                   calledWith = path;
                               }));
    EXPECT_EQ(calledWith, writable + "Kestrova_test.jpg") << "the callback runs before saveToFile returns";
    // Read back through SDL2_image, as any viewer would.
    Image decoded;
    ASSERT_TRUE(decoded.initWithImageFile(writable + "Kestrova_test.jpg"));
    expectImage(&decoded, source, 12, "the JPEG");

    // Written again, the file is replaced.
    rt->beginWithClear(0, 0, 0, 1);
    rt->end();
    ASSERT_TRUE(rt->saveToFile("Kestrova_test.jpg", Image::Format::JPG));
    ASSERT_TRUE(decoded.initWithImageFile(writable + "Kestrova_test.jpg"));
    EXPECT_LE(decoded.getPixel(30, 30).g, 3);
}

TEST_F(RenderTextureFileTest, APngKeepsStraightAlphaAndAMismatchedNameWritesNothing) {
    const std::string half =
        writePng("rt_half.png", kW, kH, [](int, int) { return Color4B(200, 100, 0, 128); });
    RefPtr<RenderTexture> rt = RenderTexture::create(kW, kH);
    Sprite* sprite = Sprite::create(half);
    sprite->setPosition(kW / 2.0f, kH / 2.0f);
    rt->begin();
    sprite->visit();
    rt->end();
    ASSERT_TRUE(rt->saveToFile("half.png", Image::Format::PNG));
    // On disk the pixel is straight again: decoding premultiplies, so compare premultiplied values.
    Image decoded;
    ASSERT_TRUE(decoded.initWithImageFile(writable + "half.png"));
    const Color4B c = decoded.getPixel(10, 10);
    EXPECT_NEAR(c.a, 128, 1);
    EXPECT_NEAR(c.r, 100, 2);
    EXPECT_NEAR(c.g, 50, 2);

    auto& log = driver().captureLog();
    EXPECT_FALSE(rt->saveToFile("wrong.png", Image::Format::JPG));
    EXPECT_FALSE(fs::exists(writable + "wrong.png"));
    EXPECT_EQ(log.size(), 1u);

    // The writable folder removed while the game runs: the next save makes it again.
    fs::remove_all(dataHome);
    EXPECT_TRUE(rt->saveToFile("again.png", Image::Format::PNG));
    EXPECT_TRUE(fs::exists(writable + "again.png"));
}

}  // namespace
