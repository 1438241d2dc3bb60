#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Driver.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/math/Vec4.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/GLProgramCache.h"
#include "engine/renderer/GLProgramState.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/RenderTexture.h"
#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"

namespace {

using cocos2d::Color4B;
using cocos2d::Director;
using cocos2d::GLProgram;
using cocos2d::GLProgramCache;
using cocos2d::GLProgramState;
using cocos2d::Image;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Sprite;
using cocos2d::Vec2;
using cocos2d::Vec4;

std::string writeText(const std::string& name, const std::string& text) {
    const std::string path = testing::Driver::scratchPath(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
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

Color4B screenPixel(float x, float y) {
    RefPtr<Image> image = testing::Driver::get().readPixels(Rect(x, 810.0f - y, 1, 1));
    return image ? image->getPixel(0, 0) : Color4B(0, 0, 0, 0);
}

void expectColour(const Color4B& actual, int r, int g, int b, int tolerance, const std::string& what) {
    EXPECT_NEAR(actual.r, r, tolerance) << what;
    EXPECT_NEAR(actual.g, g, tolerance) << what;
    EXPECT_NEAR(actual.b, b, tolerance) << what;
}

// A shader file as the resource tree writes them: no #version, precision only under GL_ES, the
// engine's varyings, its own uniforms of every kind the game sets.
const char* const kTintShader = R"(// Test tint: mixes the node's texel with uniform colours.
#ifdef GL_ES
precision mediump float;
#endif
varying vec4 v_fragmentColor;
varying vec2 v_texCoord;
uniform float level;
uniform vec2 pair;
uniform vec4 colour;
uniform sampler2D second;
void main()
{
    vec4 t = texture2D(CC_Texture0, v_texCoord);
    vec4 s = texture2D(second, vec2(0.5, 0.5));
    gl_FragColor = vec4(colour.r * level, pair.x, s.b, 1.0) * t.a * v_fragmentColor.a;
}
)";

class GLProgramCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        scene = cocos2d::Scene::create();
        scene->addChild(cocos2d::LayerColor::create(Color4B(0, 0, 0, 255), 1280, 810), -10);
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(1);
        white = writePng("prog_white.png", 40, 40, [](int, int) { return Color4B(255, 255, 255, 255); });
    }
    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".png"));
        }
        driver().stopCapturingLog();
    }
    static testing::Driver& driver() { return testing::Driver::get(); }

    // As the game builds a program: the file's text through FileUtils, the built-in vertex shader.
    static GLProgram* programFromFile(const std::string& path) {
        const std::string text = cocos2d::FileUtils::getInstance()->getStringFromFile(path);
        return GLProgram::createWithByteArrays(cocos2d::ccPositionTextureColor_noMVP_vert, text.c_str());
    }

    Sprite* addSprite(const std::string& file, const Vec2& at) {
        Sprite* sprite = Sprite::create(file);
        sprite->setPosition(at);
        scene->addChild(sprite);
        return sprite;
    }

    cocos2d::Scene* scene = nullptr;
    std::string white;
};

TEST_F(GLProgramCacheTest, AShaderFileCompilesOnceAndDrawsWithEveryUniformKind) {
    const std::string file = writeText("tint.fsh", kTintShader);
    GLProgram* first = programFromFile(file);
    GLProgram* second = programFromFile(file);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->getProgram(), second->getProgram()) << "one compile for both";

    // Two nodes with their own states over the same source keep their own values.
    RefPtr<GLProgramState> a = GLProgramState::getOrCreateWithGLProgram(first);
    RefPtr<GLProgramState> b = GLProgramState::getOrCreateWithGLProgram(second);
    ASSERT_NE(a, b);
    const std::string blue =
        writePng("prog_blue.png", 4, 4, [](int, int) { return Color4B(0, 0, 200, 255); });
    for (GLProgramState* state : {a.get(), b.get()}) {
        state->setUniformVec4("colour", Vec4(1, 0, 0, 1));
        state->setUniformVec2("pair", Vec2(0.25f, 0));
        // The second texture leaves the cache and the pool before the draw; the state keeps it.
        state->setUniformTexture("second", Director::getInstance()->getTextureCache()->addImage(blue));
    }
    a->setUniformFloat("level", 1.0f);
    b->setUniformFloat("level", 0.5f);
    Director::getInstance()->getTextureCache()->removeTextureForKey(blue);
    cocos2d::AutoreleasePool::getInstance()->clear();

    addSprite(white, Vec2(400, 400))->setGLProgramState(a);
    addSprite(white, Vec2(800, 400))->setGLProgramState(b);
    driver().stepFrames(1);
    expectColour(screenPixel(400, 400), 255, 64, 200, 2, "first state");
    expectColour(screenPixel(800, 400), 128, 64, 200, 2, "second state");
    // A node without a state draws with the default program.
    addSprite(white, Vec2(600, 200));
    driver().stepFrames(1);
    expectColour(screenPixel(600, 200), 255, 255, 255, 1, "default program");
}

TEST_F(GLProgramCacheTest, ABrokenShaderFileGivesNullAndOneLineWithItsLogAndItsOpening) {
    const std::string file =
        writeText("broken.fsh",
                  "// Broken test shader: a type error.\n"
                  "varying vec4 v_fragmentColor;\nvoid main() { gl_FragColor = 1.0; }\n");
    auto& log = driver().captureLog();
    EXPECT_EQ(programFromFile(file), nullptr);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("Broken test shader"), std::string::npos) << log[0];
    EXPECT_NE(log[0].find("error"), std::string::npos) << log[0];
    EXPECT_EQ(log[0].find('\n'), std::string::npos) << "one line";
    // Every hidden item of a level builds its own program from the same file: one report, no retry.
    EXPECT_EQ(programFromFile(file), nullptr);
    EXPECT_EQ(log.size(), 1u) << "a source that failed is reported once";
    // A missing file reads as an empty text: the file utilities name it, the program says it is empty.
    log.clear();
    EXPECT_EQ(GLProgram::createWithByteArrays(cocos2d::ccPositionTextureColor_noMVP_vert, "\n \n"), nullptr);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("fragment shader source is empty"), std::string::npos) << log[0];
    // The game then draws with whatever state it got: none.
    EXPECT_EQ(GLProgramState::getOrCreateWithGLProgram(nullptr), nullptr);
}

TEST_F(GLProgramCacheTest, BuiltInProgramsComeOnceAndAgainAfterTheContextIsReplaced) {
    GLProgramCache* cache = GLProgramCache::getInstance();
    GLProgram* noMvp = cache->getGLProgram(GLProgramCache::SHADER_NAME_POSITION_TEXTURE_COLOR_NO_MVP);
    ASSERT_NE(noMvp, nullptr);
    EXPECT_EQ(cache->getGLProgram(GLProgramCache::SHADER_NAME_POSITION_TEXTURE_COLOR_NO_MVP), noMvp);
    GLProgram* mvp = cache->getGLProgram(GLProgramCache::SHADER_NAME_POSITION_TEXTURE_COLOR);
    ASSERT_NE(mvp, nullptr);
    EXPECT_NE(mvp->getProgram(), noMvp->getProgram());
    EXPECT_EQ(cache->getGLProgram("no such program"), nullptr);
    const std::string file = writeText("tint_cached.fsh", kTintShader);
    cache->addGLProgram(programFromFile(file), "tint");
    EXPECT_NE(cache->getGLProgram("tint"), nullptr);

    // Both vertex shaders place vertices alike, since the model-view is the identity.
    addSprite(white, Vec2(300, 300))->setGLProgramState(GLProgramState::create(mvp));
    driver().stepFrames(1);
    expectColour(screenPixel(300, 300), 255, 255, 255, 1, "with the MVP matrix");

    // A new context (the director tears down with the old one): nothing of the old entries is left,
    // and the built-ins are compiled anew and usable.
    driver().close();
    ASSERT_TRUE(driver().open());
    scene = cocos2d::Scene::create();
    Director::getInstance()->runWithScene(scene);
    driver().stepFrames(1);
    cache = GLProgramCache::getInstance();
    EXPECT_EQ(cache->getGLProgram("tint"), nullptr);
    GLProgram* fresh = cache->getGLProgram(GLProgramCache::SHADER_NAME_POSITION_TEXTURE_COLOR);
    ASSERT_NE(fresh, nullptr);
    Sprite* sprite = Sprite::create(
        writePng("prog_white2.png", 40, 40, [](int, int) { return Color4B(255, 255, 255, 255); }));
    sprite->setPosition(500, 500);
    sprite->setGLProgramState(GLProgramState::create(fresh));
    scene->addChild(sprite);
    driver().stepFrames(1);
    expectColour(screenPixel(500, 500), 255, 255, 255, 1, "a built-in after the context changed");
}

// The resource tree's shaders, once it is staged into the build.
std::string resourceShader(const std::string& name) {
    const std::string path = std::string(KESTROVA_RESOURCE_DIR) + "/res/Shaders/" + name;
    return cocos2d::FileUtils::getInstance()->isFileExist(path) ? path : "";
}

TEST_F(GLProgramCacheTest, ThePlasmaShaderLeavesTransparentTexelsOfAWhiteClearDark) {
    const std::string plasma = resourceShader("example_Plasma.fsh");
    if (plasma.empty()) {
        GTEST_SKIP() << "the resource tree is not staged in this build";
    }
    // As a hidden item prepares its Dirt look: the render texture cleared to (1, 1, 1, 0), the item's
    // picture drawn into it; here a picture whose left half is transparent.
    const std::string half = writePng("plasma_item.png", 80, 80, [](int x, int) {
        return x < 40 ? Color4B(0, 0, 0, 0) : Color4B(200, 150, 100, 255);
    });
    RefPtr<cocos2d::RenderTexture> rt = cocos2d::RenderTexture::create(80, 80);
    Sprite* item = Sprite::create(half);
    item->setPosition(40, 40);
    rt->beginWithClear(1, 1, 1, 0);
    item->visit();
    rt->end();
    GLProgram* program = programFromFile(plasma);
    ASSERT_NE(program, nullptr);
    GLProgramState* state = GLProgramState::getOrCreateWithGLProgram(program);
    state->setUniformVec2("center", Vec2(0, 20));
    state->setUniformVec2("resolution", Vec2(80, 80));
    Sprite* shown = Sprite::createWithTexture(rt->getSprite()->getTexture(), Rect(0, 0, 80, 80));
    shown->setFlippedY(true);
    shown->setGLProgramState(state);
    shown->setColor(cocos2d::Color3B(255, 0, 255));
    shown->setPosition(640, 405);
    scene->addChild(shown);
    driver().stepFrames(3);
    // Over black: the transparent half stays black, the opaque half shows the grime.
    expectColour(screenPixel(610, 405), 0, 0, 0, 2, "transparent texels");
    const Color4B grime = screenPixel(670, 405);
    EXPECT_GT(grime.r + grime.g + grime.b, 60);
}

// The game passes the engine a shader's text, not its path: the report of a broken file must still
// name it, through the opening comment every file of the tree starts with.
TEST(GLProgramResourceShaderTest, ABrokenCopyOfEachResourceShaderIsReportedByItsFileName) {
    for (const char* name : {"example_Blur.fsh", "alphaRect.fsh", "example_Plasma.fsh"}) {
        SCOPED_TRACE(name);
        const std::string path = resourceShader(name);
        if (path.empty()) {
            GTEST_SKIP() << "the resource tree is not staged in this build";
        }
        const std::string text = cocos2d::FileUtils::getInstance()->getStringFromFile(path);
        ASSERT_NE(GLProgram::createWithByteArrays(cocos2d::ccPositionTextureColor_noMVP_vert, text.c_str()),
                  nullptr)
            << "the shipped file compiles";
        const std::string broken = text + "\nvoid spoiled() { float x = ; }\n";
        auto& log = testing::Driver::get().captureLog();
        EXPECT_EQ(GLProgram::createWithByteArrays(cocos2d::ccPositionTextureColor_noMVP_vert, broken.c_str()),
                  nullptr);
        ASSERT_EQ(log.size(), 1u);
        EXPECT_NE(log[0].find(name), std::string::npos) << log[0];
        testing::Driver::get().stopCapturingLog();
    }
}

}  // namespace
