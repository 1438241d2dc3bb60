#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "engine/actions/FadeIn.h"
#include "engine/base/RefPtr.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/RenderTexture.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "renderer/FillShortcuts.h"
#include "../HeadlessEngine.h"

namespace {

using cocos2d::BlendFunc;
using cocos2d::Color4B;
using cocos2d::RefPtr;
using cocos2d::Sprite;
using cocos2d::Texture2D;
using cocos2d::fill::Source;

// glBlendFunc factors.
constexpr GLenum kZero = 0;
constexpr GLenum kOne = 1;
constexpr GLenum kSrcColor = 0x0300;
constexpr GLenum kOneMinusSrcColor = 0x0301;
constexpr GLenum kSrcAlpha = 0x0302;
constexpr GLenum kOneMinusSrcAlpha = 0x0303;
constexpr GLenum kDstAlpha = 0x0304;
constexpr GLenum kOneMinusDstAlpha = 0x0305;
constexpr GLenum kDstColor = 0x0306;
constexpr GLenum kOneMinusDstColor = 0x0307;
constexpr GLenum kSrcAlphaSaturate = 0x0308;
constexpr GLenum kConstantColor = 0x8001;
constexpr GLenum kOneMinusConstantColor = 0x8002;
constexpr GLenum kConstantAlpha = 0x8003;
constexpr GLenum kOneMinusConstantAlpha = 0x8004;

constexpr GLenum kFactors[] = {kZero,          kOne,           kSrcColor,         kOneMinusSrcColor,
                               kSrcAlpha,      kOneMinusSrcAlpha, kDstAlpha,      kOneMinusDstAlpha,
                               kDstColor,      kOneMinusDstColor, kSrcAlphaSaturate, kConstantColor,
                               kOneMinusConstantColor, kConstantAlpha, kOneMinusConstantAlpha};

using Rgba = std::array<float, 4>;

// GL's blend equation (GL_FUNC_ADD), one factor for one channel.
float factor(GLenum f, const Rgba& src, const Rgba& dst, const Rgba& constant, int c) {
    switch (f) {
        case kZero:
            return 0.0f;
        case kOne:
            return 1.0f;
        case kSrcColor:
            return src[c];
        case kOneMinusSrcColor:
            return 1.0f - src[c];
        case kSrcAlpha:
            return src[3];
        case kOneMinusSrcAlpha:
            return 1.0f - src[3];
        case kDstAlpha:
            return dst[3];
        case kOneMinusDstAlpha:
            return 1.0f - dst[3];
        case kDstColor:
            return dst[c];
        case kOneMinusDstColor:
            return 1.0f - dst[c];
        case kSrcAlphaSaturate:
            return c == 3 ? 1.0f : std::min(src[3], 1.0f - dst[3]);
        case kConstantColor:
            return constant[c];
        case kOneMinusConstantColor:
            return 1.0f - constant[c];
        case kConstantAlpha:
            return constant[3];
        case kOneMinusConstantAlpha:
            return 1.0f - constant[3];
        default:
            return 0.5f;
    }
}

Rgba blend(const BlendFunc& b, const Rgba& src, const Rgba& dst, const Rgba& constant) {
    Rgba out{};
    for (int c = 0; c < 4; ++c) {
        out[c] = src[c] * factor(b.src, src, dst, constant, c) + dst[c] * factor(b.dst, src, dst, constant, c);
    }
    return out;
}

// Fragments each source class allows (colours in 0..1, premultiplied or not).
std::vector<Rgba> sourcesOf(Source source) {
    switch (source) {
        case Source::Clear:
            return {{0, 0, 0, 0}};
        case Source::AlphaZero:
            return {{0, 0, 0, 0}, {1, 0.5f, 0.25f, 0}, {0.75f, 1, 1, 0}};
        case Source::Opaque:
            return {{0, 0, 0, 1}, {1, 0.5f, 0.25f, 1}, {1, 1, 1, 1}};
        case Source::Unknown:
            return {{0, 0, 0, 0}, {0.5f, 0.25f, 0.75f, 0.5f}, {1, 1, 1, 1}, {0.25f, 0, 0, 0}};
    }
    return {};
}

const std::vector<Rgba> kDestinations = {{0, 0, 0, 0}, {0.25f, 0.5f, 0.75f, 1}, {1, 1, 1, 0.5f}, {0.5f, 0, 1, 0.25f}};
const std::vector<Rgba> kConstants = {{0, 0, 0, 0}, {1, 1, 1, 1}, {0.5f, 0.25f, 0.75f, 0.5f}};

// Every pair of factors and every source class: what the shortcuts claim must hold for every fragment
// the class allows over every destination and blend colour.
TEST(FillShortcutsTest, TheBlendDecisionsHoldForEveryFactorPair) {
    int skipped = 0;
    int replacing = 0;
    for (GLenum s : kFactors) {
        for (GLenum d : kFactors) {
            const BlendFunc b{s, d};
            for (Source source : {Source::Clear, Source::AlphaZero, Source::Opaque, Source::Unknown}) {
                const bool unchanged = cocos2d::fill::leavesTargetUnchanged(b, source);
                const bool replaces = cocos2d::fill::replacesTarget(b, source);
                skipped += unchanged ? 1 : 0;
                replacing += replaces ? 1 : 0;
                for (const Rgba& src : sourcesOf(source)) {
                    for (const Rgba& dst : kDestinations) {
                        for (const Rgba& constant : kConstants) {
                            const Rgba out = blend(b, src, dst, constant);
                            if (unchanged) {
                                ASSERT_EQ(out, dst) << "blend " << s << ", " << d << " said to change nothing";
                            }
                            if (replaces) {
                                ASSERT_EQ(out, src) << "blend " << s << ", " << d << " said to replace";
                            }
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(skipped, 0);
    EXPECT_GT(replacing, 0);
}

// The blends the game uses, with what each may leave out.
TEST(FillShortcutsTest, TheGamesBlendsAreSkippedOrUnblendedExactlyWhereTheyChangeNothing) {
    struct Case {
        const char* what;
        BlendFunc blend;
        Source source;
        bool unchanged;
        bool replaces;
    };
    const Case cases[] = {
        {"premultiplied at opacity 0", BlendFunc::ALPHA_PREMULTIPLIED, Source::Clear, true, false},
        {"premultiplied blend, straight colour at alpha 0", BlendFunc::ALPHA_PREMULTIPLIED, Source::AlphaZero,
         false, false},
        {"straight alpha at alpha 0", BlendFunc::ALPHA_NON_PREMULTIPLIED, Source::AlphaZero, true, false},
        {"additive at alpha 0", BlendFunc::ADDITIVE, Source::AlphaZero, true, false},
        {"copy at opacity 0 still clears", BlendFunc::DISABLE, Source::Clear, false, true},
        {"mask (dst alpha, zero) at opacity 0 still clears", {kDstAlpha, kZero}, Source::Clear, false, false},
        {"stamp (zero, 1 - src alpha) at opacity 0", {kZero, kOneMinusSrcAlpha}, Source::Clear, true, false},
        {"constant colour at opacity 0", {kConstantColor, kConstantColor}, Source::Clear, false, false},
        {"premultiplied, opaque", BlendFunc::ALPHA_PREMULTIPLIED, Source::Opaque, false, true},
        {"straight alpha, opaque", BlendFunc::ALPHA_NON_PREMULTIPLIED, Source::Opaque, false, true},
        {"additive, opaque", BlendFunc::ADDITIVE, Source::Opaque, false, false},
        {"premultiplied, translucent", BlendFunc::ALPHA_PREMULTIPLIED, Source::Unknown, false, false},
        {"custom shader at opacity 0", BlendFunc::ALPHA_PREMULTIPLIED, Source::Unknown, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(cocos2d::fill::leavesTargetUnchanged(c.blend, c.source), c.unchanged);
        EXPECT_EQ(cocos2d::fill::replacesTarget(c.blend, c.source), c.replaces);
    }
}

TEST(FillShortcutsTest, TheSourceIsKnownOnlyFromEqualVertexColoursUnderTheDefaultProgram) {
    struct Case {
        const char* what;
        std::vector<Color4B> colours;
        bool opaqueTexture;
        bool defaultProgram;
        Source source;
    };
    const Color4B clear(0, 0, 0, 0);
    const Color4B white(255, 255, 255, 255);
    const Case cases[] = {
        {"opacity 0", {clear, clear, clear, clear}, true, true, Source::Clear},
        {"straight colour at alpha 0", {clear, Color4B(255, 0, 0, 0), clear, clear}, true, true,
         Source::AlphaZero},
        {"full opacity, opaque texture", {white, white, Color4B(10, 20, 30, 255), white}, true, true,
         Source::Opaque},
        {"full opacity, texture with alpha", {white, white, white, white}, false, true, Source::Unknown},
        {"one vertex translucent", {white, white, white, Color4B(254, 254, 254, 254)}, true, true,
         Source::Unknown},
        {"one vertex clear", {clear, clear, clear, white}, true, true, Source::Unknown},
        {"custom program at opacity 0", {clear, clear, clear, clear}, true, false, Source::Unknown},
        {"custom program, opaque", {white, white, white, white}, true, false, Source::Unknown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<cocos2d::V2F_C4B_T2F> vertices(c.colours.size());
        for (size_t i = 0; i < vertices.size(); ++i) {
            vertices[i].colors = c.colours[i];
        }
        EXPECT_EQ(cocos2d::fill::classify(vertices.data(), vertices.size(), c.opaqueTexture, c.defaultProgram),
                  c.source);
    }
}

// Textures learn at upload whether every texel is opaque: pictures decoded from the staged files, raw
// pixels, and render targets (drawn later, so never).
class TextureOpacityTest : public enginetest::HeadlessEngine {};

TEST_F(TextureOpacityTest, ATextureIsOpaqueWhenEveryUploadedAlphaIs255) {
    const std::string res = std::string(KESTROVA_RESOURCE_DIR) + "/res/";
    struct File {
        const char* path;
        bool opaque;
    };
    const File files[] = {
        {"ui/Game/game_backdrop.jpg", true},   // JPEG: no alpha channel
        {"ui/Map/map_world.jpg", true},
        {"ui/Map/map_light.png", false},       // a light that fades out
    };
    for (const File& f : files) {
        SCOPED_TRACE(f.path);
        RefPtr<cocos2d::Image> image = cocos2d::Image::create();
        ASSERT_TRUE(image->initWithImageFile(res + f.path));
        RefPtr<Texture2D> texture = Texture2D::create();
        ASSERT_TRUE(texture->initWithImage(image.get()));
        EXPECT_EQ(texture->isOpaque(), f.opaque);
    }

    std::vector<unsigned char> pixels(4 * 4 * 4, 255);
    RefPtr<Texture2D> solid = Texture2D::create();
    solid->initWithData(pixels.data(), 4, 4);
    EXPECT_TRUE(solid->isOpaque());
    pixels[4 * 9 + 3] = 254;
    RefPtr<Texture2D> oneTranslucentTexel = Texture2D::create();
    oneTranslucentTexel->initWithData(pixels.data(), 4, 4);
    EXPECT_FALSE(oneTranslucentTexel->isOpaque());

    RefPtr<cocos2d::RenderTexture> target = cocos2d::RenderTexture::create(8, 8);
    ASSERT_TRUE(target);
    EXPECT_FALSE(target->getSprite()->getTexture()->isOpaque());
}

// The renderer's side, counted without GL: what the screen leaves out and what it draws unblended.
class FillShortcutsRendererTest : public enginetest::HeadlessEngine {
protected:
    void SetUp() override {
        HeadlessEngine::SetUp();
        scene = cocos2d::Scene::create();
        director()->runWithScene(scene);
        step();
    }

    static Texture2D* texture(unsigned char alpha) {
        Texture2D* t = Texture2D::create();
        std::vector<unsigned char> pixels(8 * 8 * 4, alpha);
        t->initWithData(pixels.data(), 8, 8);
        return t;
    }

    Sprite* add(Texture2D* t, GLubyte opacity, const BlendFunc& blend = BlendFunc::ALPHA_PREMULTIPLIED) {
        Sprite* s = Sprite::createWithTexture(t);
        s->setOpacity(opacity);
        s->setBlendFunc(blend);
        s->setPosition(40, 40);
        scene->addChild(s);
        return s;
    }

    cocos2d::Renderer::FrameStats nextFrame() {
        step();
        return director()->getRenderer()->getLastFrameStats();
    }

    cocos2d::Scene* scene = nullptr;
};

TEST_F(FillShortcutsRendererTest, ANodeAtOpacityZeroIssuesNoDrawButItsChildrenDrawByTheirOwn) {
    Texture2D* picture = texture(200);
    Sprite* hidden = add(picture, 0);
    Sprite* child = Sprite::createWithTexture(picture);
    hidden->addChild(child);
    cocos2d::Renderer::FrameStats stats = nextFrame();
    EXPECT_EQ(stats.unseen, 1u);
    EXPECT_EQ(stats.commands, 1u) << "only the child is queued";
    EXPECT_EQ(stats.drawCalls, 1u);

    // With cascading, the child's displayed opacity is 0 as well.
    hidden->setCascadeOpacityEnabled(true);
    stats = nextFrame();
    EXPECT_EQ(stats.unseen, 2u);
    EXPECT_EQ(stats.drawCalls, 0u);

    // A colour layer at opacity 0, too.
    scene->removeAllChildren();
    scene->addChild(cocos2d::LayerColor::create(Color4B(224, 247, 255, 0), 1280, 810));
    stats = nextFrame();
    EXPECT_EQ(stats.unseen, 1u);
    EXPECT_EQ(stats.drawCalls, 0u);
}

TEST_F(FillShortcutsRendererTest, AFadeInFromZeroIsDrawnInEveryFrameItsOpacityIsAboveZero) {
    Sprite* s = add(texture(255), 0);
    s->runAction(cocos2d::FadeIn::create(0.1f));
    int drawnFrames = 0;
    for (int frame = 0; frame < 10; ++frame) {
        const cocos2d::Renderer::FrameStats stats = nextFrame();
        SCOPED_TRACE(frame);
        EXPECT_EQ(stats.drawCalls, s->getDisplayedOpacity() > 0 ? 1u : 0u);
        drawnFrames += static_cast<int>(stats.drawCalls);
    }
    EXPECT_GE(drawnFrames, 9);
    EXPECT_EQ(s->getDisplayedOpacity(), 255);
}

TEST_F(FillShortcutsRendererTest, BlendsThatWriteWhateverTheSourceAlphaAreDrawnAtOpacityZero) {
    add(texture(255), 0, BlendFunc::DISABLE);
    add(texture(255), 0, BlendFunc{kDstAlpha, kZero});
    const cocos2d::Renderer::FrameStats stats = nextFrame();
    EXPECT_EQ(stats.unseen, 0u);
    EXPECT_EQ(stats.drawCalls, 2u);
}

TEST_F(FillShortcutsRendererTest, RenderTexturePassesDrawEverythingQueued) {
    RefPtr<cocos2d::RenderTexture> target = cocos2d::RenderTexture::create(64, 64);
    Sprite* invisible = Sprite::createWithTexture(texture(255));
    invisible->setOpacity(0);
    Sprite* opaque = Sprite::createWithTexture(texture(255));
    cocos2d::Renderer* renderer = director()->getRenderer();
    const cocos2d::Renderer::FrameStats before = renderer->getCurrentFrameStats();
    target->begin();
    invisible->visit();
    opaque->visit();
    target->end();
    const cocos2d::Renderer::FrameStats& after = renderer->getCurrentFrameStats();
    EXPECT_EQ(after.commands - before.commands, 2u);
    EXPECT_EQ(after.unseen, before.unseen);
    EXPECT_EQ(after.unblended, before.unblended);
}

TEST_F(FillShortcutsRendererTest, AnOpaqueQuadAtFullOpacityWithTheDefaultBlendIsDrawnWithoutBlending) {
    struct Case {
        const char* what;
        unsigned char textureAlpha;
        GLubyte opacity;
        BlendFunc blend;
        unsigned int unblended;
    };
    const Case cases[] = {
        {"opaque, full opacity", 255, 255, BlendFunc::ALPHA_PREMULTIPLIED, 1},
        {"opaque, straight alpha blend", 255, 255, BlendFunc::ALPHA_NON_PREMULTIPLIED, 1},
        {"opaque, opacity 254", 255, 254, BlendFunc::ALPHA_PREMULTIPLIED, 0},
        {"texture with alpha", 254, 255, BlendFunc::ALPHA_PREMULTIPLIED, 0},
        {"opaque, additive", 255, 255, BlendFunc::ADDITIVE, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scene->removeAllChildren();
        add(texture(c.textureAlpha), c.opacity, c.blend);
        const cocos2d::Renderer::FrameStats stats = nextFrame();
        EXPECT_EQ(stats.drawCalls, 1u);
        EXPECT_EQ(stats.unblended, c.unblended);
    }
}

TEST_F(FillShortcutsRendererTest, BatchesStayAsTheyWereAndBlendWhenAnyOfTheirQuadsNeedsIt) {
    Texture2D* picture = texture(255);
    add(picture, 255);
    add(picture, 255);
    cocos2d::Renderer::FrameStats stats = nextFrame();
    EXPECT_EQ(stats.drawCalls, 1u);
    EXPECT_EQ(stats.unblended, 1u);

    add(picture, 128);
    stats = nextFrame();
    EXPECT_EQ(stats.drawCalls, 1u) << "the translucent quad joins the batch";
    EXPECT_EQ(stats.unblended, 0u) << "and the batch is blended";
}

// Later draws that replace their pixels hide what is under them; the backdrop's clear goes too.
TEST_F(FillShortcutsRendererTest, ADrawWhollyUnderAnOpaqueOneIsLeftOutAndSoIsTheClear) {
    add(texture(200), 255);
    Sprite* over = Sprite::createWithTexture(texture(255));
    over->setTextureRect(cocos2d::Rect(0, 0, 1280, 810));
    over->setPosition(640, 405);
    scene->addChild(over);
    cocos2d::Renderer::FrameStats stats = nextFrame();
    EXPECT_EQ(stats.unseen, 1u);
    EXPECT_EQ(stats.drawCalls, 1u);
    EXPECT_EQ(stats.unclearedTargets, 1u);

    // Not under a translucent one.
    over->setOpacity(254);
    stats = nextFrame();
    EXPECT_EQ(stats.unseen, 0u);
    EXPECT_EQ(stats.drawCalls, 2u);
    EXPECT_EQ(stats.unclearedTargets, 0u);
}

// Nothing is hidden across a custom command: the game's own GL calls may read or blend with the pixels.
TEST(FillShortcutsCustomCommandTest, NothingIsHiddenAcrossACustomCommand) {
    auto quadOver = [](float x0, float y0, float x1, float y1) {
        cocos2d::V2F_C4B_T2F_Quad q{};
        q.bl.vertices = cocos2d::Vec2(x0, y0);
        q.br.vertices = cocos2d::Vec2(x1, y0);
        q.tl.vertices = cocos2d::Vec2(x0, y1);
        q.tr.vertices = cocos2d::Vec2(x1, y1);
        q.bl.colors = q.br.colors = q.tl.colors = q.tr.colors = Color4B::WHITE;
        return q;
    };
    cocos2d::RenderTarget target;
    target.world = cocos2d::Rect(0, 0, 1280, 810);
    target.viewportWidth = 1280;
    target.viewportHeight = 810;
    target.clearOnBegin = true;
    for (bool custom : {false, true}) {
        SCOPED_TRACE(custom ? "with a custom command between" : "without");
        cocos2d::Renderer renderer;
        renderer.beginFrame(target);
        renderer.addQuad(quadOver(10, 10, 110, 110), nullptr, BlendFunc::ALPHA_PREMULTIPLIED, nullptr, 0);
        if (custom) {
            renderer.addCustomCommand(0, [] {});
        }
        renderer.addQuad(quadOver(0, 0, 1280, 810), nullptr, BlendFunc::ALPHA_PREMULTIPLIED, nullptr, 0);
        renderer.endFrame();
        const cocos2d::Renderer::FrameStats& stats = renderer.getLastFrameStats();
        EXPECT_EQ(stats.unseen, custom ? 0u : 1u);
        EXPECT_EQ(stats.drawCalls, custom ? 2u : 1u);
        EXPECT_EQ(stats.unclearedTargets, custom ? 0u : 1u);
    }
}

TEST_F(FillShortcutsRendererTest, ABackdropAroundAnOpaquePictureIsDrawnOnlyAroundIt) {
    Texture2D* wall = texture(255);
    Sprite* backdrop = Sprite::createWithTexture(wall);
    backdrop->setTextureRect(cocos2d::Rect(0, 0, 1280, 810));
    backdrop->setPosition(640, 405);
    scene->addChild(backdrop);
    Sprite* picture = Sprite::createWithTexture(texture(255));
    picture->setTextureRect(cocos2d::Rect(0, 0, 960, 600));
    picture->setPosition(640, 405);
    scene->addChild(picture);
    cocos2d::Renderer::FrameStats stats = nextFrame();
    EXPECT_EQ(stats.trimmed, 1u);
    EXPECT_EQ(stats.drawCalls, 5u) << "four bands around the picture, and the picture";
    // Every pixel drawn once, but for the picture's edges that cut cells of 8 x 8 pixels.
    EXPECT_GE(stats.fillPixels, 1280ull * 810ull);
    EXPECT_LE(stats.fillPixels, 1280ull * 810ull + 2ull * (960 + 600) * 8);

    // Batched with a neighbour, it is drawn whole as before.
    Sprite* corner = Sprite::createWithTexture(wall);
    corner->setTextureRect(cocos2d::Rect(0, 0, 10, 10));
    corner->setPosition(5, 5);
    scene->addChild(corner, -1);
    stats = nextFrame();
    EXPECT_EQ(stats.trimmed, 0u);
    EXPECT_EQ(stats.drawCalls, 2u);
}

TEST_F(FillShortcutsRendererTest, DrawsOffTheScreenAndTransparentMarginsAreLeftOut) {
    Sprite* away = add(texture(255), 255);
    away->setPosition(-500, 2000);
    // A light that fades out below its top rows: drawn only where its texels are not transparent black.
    std::vector<unsigned char> light(static_cast<size_t>(1280) * 810 * 4, 0);
    std::fill(light.begin(), light.begin() + static_cast<long>(1280 * 160 * 4), 100);
    Texture2D* glow = Texture2D::create();
    glow->initWithData(light.data(), 1280, 810);
    Sprite* top = Sprite::createWithTexture(glow);
    top->setPosition(640, 405);
    scene->addChild(top);
    const cocos2d::Renderer::FrameStats stats = nextFrame();
    EXPECT_EQ(stats.unseen, 1u);
    EXPECT_EQ(stats.trimmed, 1u);
    EXPECT_LT(stats.fillPixels, 1280ull * 170ull);
}

// A texture whose only content is its bottom rows, under an opaque quad over those rows: hidden while
// it clamps to its edge, drawn while it repeats (samples next to its top edge take the bottom rows),
// whenever the wrap mode changes.
TEST_F(FillShortcutsRendererTest, TheWrapModeAtTheDrawDecidesWhetherATexturesClearEdgeCanBeLeftOut) {
    constexpr GLenum kLinear = 0x2601;
    constexpr GLenum kRepeat = 0x2901;
    constexpr GLenum kClampToEdge = 0x812F;
    std::vector<unsigned char> pixels(static_cast<size_t>(64) * 64 * 4, 0);
    std::fill(pixels.begin() + static_cast<long>(64 * 56 * 4), pixels.end(), 255);
    Texture2D* band = Texture2D::create();
    band->initWithData(pixels.data(), 64, 64);
    Sprite* sprite = add(band, 255);
    sprite->setScale(4.0f);
    sprite->setPosition(300, 300);  // 172..428 up, the band up to 204
    Sprite* over = add(texture(255), 255);
    over->setTextureRect(cocos2d::Rect(0, 0, 300, 64));
    over->setPosition(300, 190);
    struct Step {
        GLenum wrapS;
        GLenum wrapT;
        unsigned int unseen;
    };
    const Step steps[] = {{kClampToEdge, kClampToEdge, 1}, {kRepeat, kRepeat, 0}, {kClampToEdge, kRepeat, 0},
                          {kRepeat, kClampToEdge, 1}, {kClampToEdge, kClampToEdge, 1}};
    for (const Step& s : steps) {
        SCOPED_TRACE(std::to_string(s.wrapS) + ", " + std::to_string(s.wrapT));
        band->setTexParameters(Texture2D::TexParams{kLinear, kLinear, s.wrapS, s.wrapT});
        EXPECT_EQ(nextFrame().unseen, s.unseen);
    }
}

TEST_F(FillShortcutsRendererTest, TheOpaquePartOfASheetHidesWhatIsUnderIt) {
    // A 256 x 256 sheet: its left half opaque, its right half translucent.
    std::vector<unsigned char> pixels(static_cast<size_t>(256) * 256 * 4, 255);
    for (int y = 0; y < 256; ++y) {
        for (int x = 128; x < 256; ++x) {
            pixels[(static_cast<size_t>(y) * 256 + x) * 4 + 3] = 128;
        }
    }
    Texture2D* sheet = Texture2D::create();
    sheet->initWithData(pixels.data(), 256, 256);
    EXPECT_FALSE(sheet->isOpaque());
    Sprite* underOpaque = add(texture(200), 255);
    underOpaque->setTextureRect(cocos2d::Rect(0, 0, 40, 40));
    underOpaque->setPosition(100, 100);
    Sprite* underTranslucent = add(texture(200), 255);
    underTranslucent->setTextureRect(cocos2d::Rect(0, 0, 40, 40));
    underTranslucent->setPosition(230, 100);
    Sprite* over = Sprite::createWithTexture(sheet);
    over->setPosition(128, 128);
    scene->addChild(over);
    const cocos2d::Renderer::FrameStats stats = nextFrame();
    EXPECT_EQ(stats.unseen, 1u) << "only the sprite under the opaque half";
}

TEST_F(FillShortcutsRendererTest, TurnedOffEveryDrawIsQueuedAndBlended) {
    add(texture(255), 0);
    add(texture(255), 255);
    director()->getRenderer()->setFillShortcutsEnabled(false);
    const cocos2d::Renderer::FrameStats stats = nextFrame();
    EXPECT_EQ(stats.unseen, 0u);
    EXPECT_EQ(stats.unblended, 0u);
    EXPECT_EQ(stats.commands, 2u);
}

}  // namespace
