#include <vector>

#include "engine/base/RefPtr.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "../HeadlessEngine.h"

namespace {

using cocos2d::BlendFunc;
using cocos2d::Renderer;
using cocos2d::Scene;
using cocos2d::Sprite;
using cocos2d::Texture2D;

// A quad that shows on a 100 x 100 screen: white and of some size (the screen leaves out draws that change
// no pixel).
cocos2d::V2F_C4B_T2F_Quad whiteQuad() {
    cocos2d::V2F_C4B_T2F_Quad quad{};
    quad.bl.vertices = cocos2d::Vec2(10, 10);
    quad.br.vertices = cocos2d::Vec2(40, 10);
    quad.tl.vertices = cocos2d::Vec2(10, 40);
    quad.tr.vertices = cocos2d::Vec2(40, 40);
    quad.bl.colors = quad.br.colors = quad.tl.colors = quad.tr.colors = cocos2d::Color4B::WHITE;
    return quad;
}

cocos2d::RenderTarget screenOf100() {
    cocos2d::RenderTarget target;
    target.world = cocos2d::Rect(0, 0, 100, 100);
    target.viewportWidth = target.viewportHeight = 100;
    return target;
}

class RendererBatchingTest : public enginetest::HeadlessEngine {
protected:
    void SetUp() override {
        HeadlessEngine::SetUp();
        scene = Scene::create();
        director()->runWithScene(scene);
        step();
    }
    Texture2D* texture(int size) {
        Texture2D* t = Texture2D::create();
        std::vector<unsigned char> pixels(static_cast<size_t>(size) * size * 4, 255);
        t->initWithData(pixels.data(), size, size);
        return t;
    }
    unsigned int drawCallsOfNextFrame() {
        step();
        return director()->getRenderer()->getLastFrameStats().drawCalls;
    }
    Scene* scene = nullptr;
};

TEST_F(RendererBatchingTest, AThousandSpritesSharingATextureAreOneDrawCall) {
    Texture2D* shared = texture(8);
    for (int i = 0; i < 1000; ++i) {
        Sprite* s = Sprite::createWithTexture(shared);
        s->setPosition(static_cast<float>(i % 40) * 30, static_cast<float>(i / 40) * 30);
        scene->addChild(s);
    }
    EXPECT_EQ(drawCallsOfNextFrame(), 1u);
    EXPECT_EQ(director()->getRenderer()->getLastFrameStats().vertices, 4000u);
}

TEST_F(RendererBatchingTest, AdjacentCommandsJoinOnlyWithEqualTextureBlendAndClip) {
    cocos2d::RefPtr<Texture2D> a = texture(4);
    cocos2d::RefPtr<Texture2D> b = texture(4);
    struct Case {
        const char* what;
        std::vector<int> textures;  // 0 = a, 1 = b
        std::vector<bool> customBlend;
        unsigned int drawCalls;
    };
    const Case cases[] = {
        {"a a a", {0, 0, 0}, {false, false, false}, 1},
        {"a b a", {0, 1, 0}, {false, false, false}, 3},
        {"a a b b", {0, 0, 1, 1}, {false, false, false, false}, 2},
        {"a a(blend) a", {0, 0, 0}, {false, true, false}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scene->removeAllChildren();
        for (size_t i = 0; i < c.textures.size(); ++i) {
            Sprite* s = Sprite::createWithTexture(c.textures[i] == 0 ? a.get() : b.get());
            if (c.customBlend[i]) {
                s->setBlendFunc(BlendFunc::DISABLE);
            }
            scene->addChild(s);
        }
        EXPECT_EQ(drawCallsOfNextFrame(), c.drawCalls);
    }
}

TEST_F(RendererBatchingTest, GlobalZSortsAcrossTheFrameAndCanJoinSplitBatches) {
    Texture2D* a = texture(4);
    Texture2D* b = texture(4);
    // a b a in scene order; lifting b above everything leaves a a | b.
    scene->addChild(Sprite::createWithTexture(a));
    Sprite* middle = Sprite::createWithTexture(b);
    scene->addChild(middle);
    scene->addChild(Sprite::createWithTexture(a));
    EXPECT_EQ(drawCallsOfNextFrame(), 3u);
    middle->setGlobalZOrder(10);
    EXPECT_EQ(drawCallsOfNextFrame(), 2u);
}

TEST_F(RendererBatchingTest, ClipRectanglesTravelWithCommandsAndSplitBatches) {
    Renderer renderer;
    const cocos2d::RenderTarget target = screenOf100();
    const cocos2d::V2F_C4B_T2F_Quad quad = whiteQuad();
    renderer.beginFrame(target);
    renderer.addQuad(quad, nullptr, BlendFunc::ALPHA_PREMULTIPLIED, nullptr, 0);
    renderer.pushClipRect(cocos2d::Rect(0, 0, 50, 50));
    renderer.pushClipRect(cocos2d::Rect(25, 25, 50, 50));
    renderer.addQuad(quad, nullptr, BlendFunc::ALPHA_PREMULTIPLIED, nullptr, 0);
    renderer.popClipRect();
    renderer.addQuad(quad, nullptr, BlendFunc::ALPHA_PREMULTIPLIED, nullptr, 0);
    renderer.popClipRect();
    renderer.addQuad(quad, nullptr, BlendFunc::ALPHA_PREMULTIPLIED, nullptr, 0);
    renderer.endFrame();
    EXPECT_EQ(renderer.getLastFrameStats().drawCalls, 4u);
    EXPECT_FALSE(renderer.isClipping());
}

TEST_F(RendererBatchingTest, RenderTargetsFlushAtTheirEndAndRenderOutsideAFrameDoesNothing) {
    Renderer renderer;
    renderer.render();
    EXPECT_EQ(renderer.getCurrentFrameStats().drawCalls, 0u);
    const cocos2d::RenderTarget screen = screenOf100();
    const cocos2d::RenderTarget offscreen = screenOf100();
    const cocos2d::V2F_C4B_T2F_Quad quad = whiteQuad();
    renderer.beginFrame(screen);
    renderer.addQuad(quad, nullptr, BlendFunc::ALPHA_PREMULTIPLIED, nullptr, 0);
    renderer.beginRenderTarget(offscreen);
    renderer.addQuad(quad, nullptr, BlendFunc::ALPHA_PREMULTIPLIED, nullptr, 0);
    renderer.endRenderTarget();
    EXPECT_EQ(renderer.getCurrentFrameStats().drawCalls, 1u) << "the render target drew at its end";
    EXPECT_EQ(renderer.getQueuedCommandCount(), 1u) << "the screen's command still waits";
    renderer.endFrame();
    EXPECT_EQ(renderer.getLastFrameStats().drawCalls, 2u);
}

TEST_F(RendererBatchingTest, LayerColorAndUntexturedSpritesDrawWithTheWhiteTexture) {
    scene->addChild(cocos2d::LayerColor::create(cocos2d::Color4B(255, 0, 0, 128), 100, 100));
    Sprite* solid = Sprite::create();
    solid->setTextureRect(cocos2d::Rect(0, 0, 50, 50));
    scene->addChild(solid);
    EXPECT_EQ(solid->getContentSize(), cocos2d::Size(50, 50));
    EXPECT_EQ(drawCallsOfNextFrame(), 1u);
}

}  // namespace

namespace {

TEST(RendererClipTest, ARenderTargetBegunInsideAClipHasItsOwnClipStack) {
    cocos2d::Renderer renderer;
    cocos2d::RenderTarget screen;
    screen.world = cocos2d::Rect(0, 0, 1280, 810);
    renderer.beginFrame(screen);
    renderer.pushClipRect(cocos2d::Rect(100, 100, 50, 50));
    EXPECT_TRUE(renderer.isClipping());
    cocos2d::RenderTarget texture;
    texture.world = cocos2d::Rect(0, 0, 200, 200);
    renderer.beginRenderTarget(texture);
    EXPECT_FALSE(renderer.isClipping()) << "the screen's clip is in other coordinates";
    renderer.endRenderTarget();
    EXPECT_TRUE(renderer.isClipping());
    renderer.popClipRect();
    renderer.endFrame();
}

}  // namespace
