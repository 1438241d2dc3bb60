#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Driver.h"
#include "ScreenStage.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/platform/GL.h"
#include "engine/platform/GLViewImpl.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/GLProgramState.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"

#include "ui/GalleryScreen.h"
#include "ui/GameScreen.h"
#include "ui/MapScreen.h"

// The renderer leaves out fill that shows nothing (draws at opacity 0, blending where it changes no
// pixel, what opaque draws hide, the clear they paint over). The player must not see one byte of
// difference: each screen of the real game is drawn twice in one held moment, with the shortcuts off
// and on, over a window stained a different colour each time, and the two whole read-backs are compared.
namespace {

using cocos2d::Director;
using cocos2d::RefPtr;

struct TwoPictures {
    RefPtr<cocos2d::Image> off;
    RefPtr<cocos2d::Image> on;
    cocos2d::Renderer::FrameStats onStats;
    cocos2d::Renderer::FrameStats offStats;
};

// Draws a held moment twice, with the shortcuts off and on, and compares the two read-backs whole.
class PictureComparison {
protected:
    static testing::Driver& driver() { return testing::Driver::get(); }

    // A different colour over the whole window before each frame: a pixel the frame leaves as it was
    // shows up in the comparison.
    static void stain(float r, float g, float b) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDisable(GL_SCISSOR_TEST);
        const cocos2d::Size frame = driver().view()->getFrameSize();
        glViewport(0, 0, static_cast<GLsizei>(frame.width), static_cast<GLsizei>(frame.height));
        glClearColor(r, g, b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    // The same moment drawn both ways: the director is paused, so nothing moves between the frames.
    static TwoPictures drawBothWays() {
        cocos2d::Renderer* renderer = Director::getInstance()->getRenderer();
        const cocos2d::Size frame = driver().view()->getFrameSize();
        const cocos2d::Rect window(0, 0, frame.width, frame.height);
        TwoPictures pictures;
        Director::getInstance()->pause();
        renderer->setFillShortcutsEnabled(false);
        stain(0.9f, 0.1f, 0.8f);
        driver().stepFrames(1);
        pictures.off = driver().readPixels(window);
        pictures.offStats = renderer->getLastFrameStats();
        renderer->setFillShortcutsEnabled(true);
        stain(0.1f, 0.9f, 0.3f);
        driver().stepFrames(1);
        pictures.on = driver().readPixels(window);
        pictures.onStats = renderer->getLastFrameStats();
        Director::getInstance()->resume();
        return pictures;
    }

    static void expectSamePicture(const std::string& screen, const TwoPictures& pictures) {
        ASSERT_TRUE(pictures.off && pictures.on);
        const int width = pictures.off->getWidth();
        ASSERT_EQ(pictures.off->getDataLen(), pictures.on->getDataLen());
        const unsigned char* a = pictures.off->getData();
        const unsigned char* b = pictures.on->getData();
        size_t differing = 0;
        size_t first = 0;
        for (size_t i = 0; i < pictures.off->getDataLen(); ++i) {
            if (a[i] != b[i] && differing++ == 0) {
                first = i;
            }
        }
        if (differing > 0) {
            pictures.off->saveToFile(testing::Driver::outputPath("FillShortcuts_" + screen + "_off.png"));
            pictures.on->saveToFile(testing::Driver::outputPath("FillShortcuts_" + screen + "_on.png"));
        }
        const size_t pixel = first / 4;
        EXPECT_EQ(differing, 0u) << screen << ": first difference at pixel (" << pixel % width << ", "
                                 << pixel / width << ") channel " << first % 4;
        // Off, every draw is queued and blended.
        EXPECT_EQ(pictures.offStats.unseen, 0u);
        EXPECT_EQ(pictures.offStats.unblended, 0u);
    }
};

class FillShortcutsPictureTest : public ::testing::Test, protected PictureComparison {
protected:
    void SetUp() override {
        ASSERT_TRUE(stage.launch(KESTROVA_RESOURCE_DIR, testing::Driver::scratchPath("xdg-fill")));
    }

    void TearDown() override {
        Director::getInstance()->getRenderer()->setFillShortcutsEnabled(true);
        Director::getInstance()->resume();
        stage.close();
    }

    testing::ScreenStage stage;
};

TEST_F(FillShortcutsPictureTest, TheSplashIsTheSameWhileItsSecondImageWaitsAndWhileItFadesIn) {
    // The first image is shown at once; the second waits at opacity 0 for 2.5 s.
    driver().stepFrames(10);
    TwoPictures waiting = drawBothWays();
    expectSamePicture("splash", waiting);
    EXPECT_GE(waiting.onStats.unseen, 1u) << "the second image at opacity 0 is not drawn";
    EXPECT_GE(waiting.onStats.unblended, 1u) << "the first image is opaque";
    driver().stepFrames(150);  // into the cross-fade: both images translucent
    expectSamePicture("splash_fading", drawBothWays());
}

TEST_F(FillShortcutsPictureTest, TheMapIsTheSame) {
    ASSERT_NE(stage.showMap(), nullptr);
    TwoPictures pictures = drawBothWays();
    expectSamePicture("map", pictures);
    EXPECT_GE(pictures.onStats.unseen, 1u) << "the tint at opacity 0";
    EXPECT_GE(pictures.onStats.unblended, 1u) << "the world map is opaque";
}

TEST_F(FillShortcutsPictureTest, TheGalleryIsTheSame) {
    ASSERT_NE(stage.showGallery(), nullptr);
    TwoPictures pictures = drawBothWays();
    expectSamePicture("gallery", pictures);
    EXPECT_GE(pictures.onStats.unblended, 1u) << "the background is opaque";
}

TEST_F(FillShortcutsPictureTest, TheLevelWithAStrokeInProgressIsTheSame) {
    GameScreen* level = stage.showLevelWithStroke();
    ASSERT_NE(level, nullptr);
    for (int i = 0; i < 20; ++i) {
        stage.moveStroke();
        driver().stepFrames(1);
    }
    TwoPictures pictures = drawBothWays();
    expectSamePicture("level", pictures);
    EXPECT_GE(pictures.onStats.unblended, 1u) << "the backdrop and the picture are opaque";
}

// The shortcuts' edge cases on the engine alone: quads at fractional places and scales, turned, over a
// sheet opaque in parts, textures with transparent margins and repeating ones, draws at opacity 0 under
// every kind of blend; at the game's design size and at one that letterboxes the picture at a scale
// that is not whole.
class FillShortcutsSceneTest : public ::testing::Test, protected PictureComparison {
protected:
    void TearDown() override {
        Director::getInstance()->getRenderer()->setFillShortcutsEnabled(true);
        Director::getInstance()->resume();
        driver().view()->setDesignResolutionSize(1280, 810, cocos2d::ResolutionPolicy::SHOW_ALL);
        Director::getInstance()->replaceScene(cocos2d::Scene::create());
        driver().stepFrames(2);
    }

    // Pixels from a formula: `alpha` gives each texel's alpha, colours are premultiplied by it.
    template <typename Alpha>
    static cocos2d::Texture2D* texture(int w, int h, Alpha alpha) {
        std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * 4);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                unsigned char* p = pixels.data() + (static_cast<size_t>(y) * w + x) * 4;
                const unsigned a = alpha(x, y);
                p[0] = static_cast<unsigned char>((x * 7 + y * 3) % 256 * a / 255);
                p[1] = static_cast<unsigned char>((x * 2 + y * 11) % 256 * a / 255);
                p[2] = static_cast<unsigned char>((x ^ y) % 256 * a / 255);
                p[3] = static_cast<unsigned char>(a);
            }
        }
        cocos2d::Texture2D* t = cocos2d::Texture2D::create();
        t->initWithData(pixels.data(), w, h);
        return t;
    }

    static cocos2d::Sprite* place(cocos2d::Node* parent, cocos2d::Texture2D* t, float x, float y, float scale = 1.0f,
                                  float rotation = 0.0f) {
        cocos2d::Sprite* s = cocos2d::Sprite::createWithTexture(t);
        s->setPosition(x, y);
        s->setScale(scale);
        s->setRotation(rotation);
        parent->addChild(s);
        return s;
    }

    static cocos2d::Scene* edgeCases() {
        cocos2d::Scene* scene = cocos2d::Scene::create();
        auto opaque = [](int, int) { return 255u; };
        place(scene, texture(1280, 810, opaque), 640, 405);
        // Opaque pictures over it: fractional places and scales, turned by right angles and not.
        cocos2d::Texture2D* picture = texture(301, 197, opaque);
        place(scene, picture, 300.3f, 500.7f, 1.37f);
        place(scene, picture, 900.5f, 250.25f, 0.73f, 90.0f);
        place(scene, picture, 1000.1f, 600.9f, 1.0f, 180.0f)->setFlippedX(true);
        place(scene, picture, 250.0f, 200.0f, 0.9f, 33.0f);
        // A sheet: its left half opaque, its right half translucent, drawn scaled and turned.
        cocos2d::Texture2D* sheet = texture(256, 128, [](int x, int) { return x < 128 ? 255u : 140u; });
        place(scene, sheet, 640.4f, 420.6f, 1.3f, 90.0f);
        place(scene, sheet, 700.0f, 120.0f, 1.11f);
        cocos2d::Sprite* part = place(scene, sheet, 1100.0f, 420.0f, 1.6f);
        part->setTextureRect(cocos2d::Rect(20.5f, 10.0f, 150.0f, 90.0f));
        // Transparent margins: a glow in the middle of a clear texture, scaled; and the same repeating.
        cocos2d::Texture2D* glow = texture(200, 160, [](int x, int y) {
            return (x >= 60 && x < 140 && y >= 50 && y < 90) ? static_cast<unsigned>(40 + x) : 0u;
        });
        place(scene, glow, 500.2f, 300.6f, 2.3f);
        cocos2d::Sprite* repeating = place(scene, glow, 640.0f, 700.0f, 1.0f);
        glow->setTexParameters(cocos2d::Texture2D::TexParams{GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT});
        repeating->setTextureRect(cocos2d::Rect(-130.5f, 20.0f, 600.0f, 120.0f));
        // At opacity 0: a premultiplied sprite (nothing), a copy (clears), a mask and an additive one.
        cocos2d::Texture2D* solid = texture(120, 90, opaque);
        place(scene, solid, 150.0f, 650.0f)->setOpacity(0);
        cocos2d::Sprite* copy = place(scene, solid, 330.0f, 650.0f);
        copy->setOpacity(0);
        copy->setBlendFunc(cocos2d::BlendFunc::DISABLE);
        cocos2d::Sprite* mask = place(scene, solid, 510.0f, 650.0f);
        mask->setOpacity(0);
        mask->setBlendFunc(cocos2d::BlendFunc{GL_DST_ALPHA, GL_ZERO});
        cocos2d::Sprite* additive = place(scene, solid, 690.0f, 650.0f);
        additive->setOpacity(0);
        additive->setBlendFunc(cocos2d::BlendFunc::ADDITIVE);
        scene->addChild(cocos2d::LayerColor::create(cocos2d::Color4B(224, 247, 255, 0), 1280, 810));
        // Translucent on top of everything, and a tint at full opacity on an opaque picture.
        place(scene, texture(400, 100, [](int x, int) { return static_cast<unsigned>(x % 200 + 20); }), 640, 60);
        cocos2d::Sprite* tinted = place(scene, picture, 1150.0f, 150.0f, 0.5f);
        tinted->setColor(cocos2d::Color3B(200, 120, 40));
        return scene;
    }
};

TEST_F(FillShortcutsSceneTest, EveryEdgeCaseLooksTheSameOnTheGamesWindowAndALetterboxedOne) {
    Director::getInstance()->replaceScene(edgeCases());
    driver().stepFrames(2);
    TwoPictures pictures = drawBothWays();
    expectSamePicture("scene", pictures);
    EXPECT_GE(pictures.onStats.unseen, 3u) << "the backdrop's hidden parts, opacity 0";
    EXPECT_GE(pictures.onStats.trimmed, 1u);
    EXPECT_EQ(pictures.onStats.unclearedTargets, 1u) << "the backdrop covers the window";

    // A wider design than the window: the picture is scaled by 1280 / 1400, with bars above and below.
    driver().view()->setDesignResolutionSize(1400, 810, cocos2d::ResolutionPolicy::SHOW_ALL);
    driver().stepFrames(2);
    TwoPictures letterboxed = drawBothWays();
    expectSamePicture("scene_letterboxed", letterboxed);
    EXPECT_EQ(letterboxed.onStats.unclearedTargets, 0u) << "the bars beside the picture are cleared";
}

// A texture that repeats is sampled across its edges even where its coordinates stay inside 0..1:
// linear samples next to one edge blend in the texels of the opposite one. Textures whose only content
// is a band along one edge (the bottom rows, or the left columns), drawn whole at 3 to 6 times their
// size, alone and under an opaque quad over the band and a little more; mirrored and clamped as well.
TEST_F(FillShortcutsSceneTest, ARepeatingTextureShowsTheBandItsEdgeSamplesWrapInto) {
    auto opaque = [](int, int) { return 255u; };
    struct Band {
        GLuint wrap;
        float scale;
        bool covered;
        float left;
        float bottom;
    };
    const Band bands[] = {
        {GL_REPEAT, 6.0f, false, 30, 20},          {GL_REPEAT, 3.0f, true, 444, 20},
        {GL_REPEAT, 4.5f, true, 666, 20},          {GL_MIRRORED_REPEAT, 4.0f, true, 30, 430},
        {GL_CLAMP_TO_EDGE, 4.0f, true, 316, 430},
    };
    for (bool rows : {true, false}) {
        SCOPED_TRACE(rows ? "the bottom rows" : "the left columns");
        cocos2d::Scene* scene = cocos2d::Scene::create();
        place(scene, texture(1280, 810, opaque), 640, 405);
        cocos2d::Texture2D* cover = texture(64, 64, opaque);
        for (const Band& band : bands) {
            cocos2d::Texture2D* t =
                texture(64, 64, [rows](int x, int y) { return (rows ? y >= 56 : x < 8) ? 255u : 0u; });
            t->setTexParameters(cocos2d::Texture2D::TexParams{GL_LINEAR, GL_LINEAR, band.wrap, band.wrap});
            cocos2d::Sprite* s = place(scene, t, band.left, band.bottom, band.scale);
            s->setAnchorPoint(cocos2d::Vec2(0, 0));
            if (band.covered) {
                // The band and 12 pixels around it: all of the sprite that shows, were it clamped.
                const float side = 64.0f * band.scale;
                const float across = side + 24.0f;
                const float along = 8.0f * band.scale + 24.0f;
                cocos2d::Sprite* over = place(scene, cover, band.left - 12.0f, band.bottom - 12.0f);
                over->setAnchorPoint(cocos2d::Vec2(0, 0));
                over->setScaleX((rows ? across : along) / 64.0f);
                over->setScaleY((rows ? along : across) / 64.0f);
            }
        }
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(2);
        expectSamePicture(rows ? "repeating_rows" : "repeating_columns", drawBothWays());
    }
}

// The game's shader sprites use the engine's vertex stage with fragment shaders of their own: the
// renderer knows where they land. A program whose vertex stage moves its vertices lands elsewhere:
// here 150 points to the right of where its quad was queued, and an opaque quad hides the queued place.
TEST_F(FillShortcutsSceneTest, AProgramThatMovesItsVerticesIsDrawnWhereItsVertexStagePutsIt) {
    // The engine's vertex stage, but for the place it puts each vertex.
    std::string movedVertices =
        std::string("// moves every vertex 150 points to the right\n") + cocos2d::ccPositionTextureColor_noMVP_vert;
    const std::string queuedPlace = "CC_PMatrix * a_position";
    const size_t at = movedVertices.find(queuedPlace);
    ASSERT_NE(at, std::string::npos);
    movedVertices.replace(at, queuedPlace.size(), "CC_PMatrix * (a_position + vec4(150.0, 0.0, 0.0, 0.0))");
    const char* invertedTexels = R"(// the texel's colour turned over, premultiplied
varying vec4 v_fragmentColor;
varying vec2 v_texCoord;
void main() {
    vec4 c = v_fragmentColor * texture2D(CC_Texture0, v_texCoord);
    gl_FragColor = vec4(c.a - c.rgb, c.a);
}
)";
    RefPtr<cocos2d::GLProgram> moved =
        cocos2d::GLProgram::createWithByteArrays(movedVertices.c_str(), cocos2d::ccPositionTextureColor_noMVP_frag);
    RefPtr<cocos2d::GLProgram> inverted =
        cocos2d::GLProgram::createWithByteArrays(cocos2d::ccPositionTextureColor_noMVP_vert, invertedTexels);
    ASSERT_TRUE(moved && inverted);

    cocos2d::Scene* scene = cocos2d::Scene::create();
    auto opaque = [](int, int) { return 255u; };
    place(scene, texture(1280, 810, opaque), 640, 405);
    cocos2d::Texture2D* picture = texture(140, 150, opaque);
    cocos2d::Texture2D* cover = texture(200, 200, opaque);
    place(scene, picture, 300, 400)->setGLProgramState(cocos2d::GLProgramState::create(moved.get()));
    place(scene, cover, 300, 400);
    place(scene, picture, 800, 400)->setGLProgramState(cocos2d::GLProgramState::create(inverted.get()));
    place(scene, cover, 800, 400);
    Director::getInstance()->replaceScene(scene);
    driver().stepFrames(2);
    const TwoPictures pictures = drawBothWays();
    expectSamePicture("moved_program", pictures);
    EXPECT_EQ(pictures.onStats.unseen, 1u) << "the sprite of the engine's vertex stage, under its cover";
}

// Rasterizers place vertices on a grid of subpixels that may be as coarse as 1/16 of a pixel. Opaque
// quads whose edges lie a small fraction of a pixel inside or outside the centres of the pixels along
// cell borders, each over a sprite a little larger than it.
TEST_F(FillShortcutsSceneTest, EdgesAFractionOfAPixelFromPixelCentresLookTheSame) {
    cocos2d::Scene* scene = cocos2d::Scene::create();
    auto opaque = [](int, int) { return 255u; };
    place(scene, texture(1280, 810, opaque), 640, 405);
    cocos2d::Texture2D* small = texture(8, 8, [](int, int) { return 200u; });
    cocos2d::Texture2D* cover = texture(64, 32, opaque);
    const float offsets[] = {1.0f / 128, 1.0f / 64, 1.0f / 32, 3.0f / 64, 1.0f / 16, 5.0f / 64};
    int i = 0;
    for (float offset : offsets) {
        for (float outward : {1.0f, -1.0f}) {
            // Edges near the centres of the first and last pixels of the cells from 96 + 80 i to
            // 160 + 80 i across and from 400 to 432 up.
            const float x0 = 96.5f + 80.0f * static_cast<float>(i) - outward * offset;
            const float y0 = 400.5f - outward * offset;
            const float x1 = x0 + 63.0f + 2.0f * outward * offset;
            const float y1 = y0 + 31.0f + 2.0f * outward * offset;
            cocos2d::Sprite* under = place(scene, small, (x0 + x1) / 2, (y0 + y1) / 2);
            under->setScaleX((x1 - x0 + 0.6f) / 8.0f);
            under->setScaleY((y1 - y0 + 0.6f) / 8.0f);
            cocos2d::Sprite* over = place(scene, cover, x0, y0);
            over->setAnchorPoint(cocos2d::Vec2(0, 0));
            over->setScaleX((x1 - x0) / 64.0f);
            over->setScaleY((y1 - y0) / 32.0f);
            ++i;
        }
    }
    Director::getInstance()->replaceScene(scene);
    driver().stepFrames(2);
    expectSamePicture("subpixel_edges", drawBothWays());
}

}  // namespace
