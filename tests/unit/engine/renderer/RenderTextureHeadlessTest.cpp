#include "../HeadlessEngine.h"
#include "engine/base/RefPtr.h"
#include "engine/renderer/RenderTexture.h"
#include "engine/renderer/Renderer.h"
#include "engine/scene/Sprite.h"

namespace {

using cocos2d::RefPtr;
using cocos2d::RenderTexture;

// Game code that draws into render textures runs in unit tests too, where there is no GL context:
// the render texture exists, draws count, nothing is read back.
class RenderTextureHeadlessTest : public enginetest::HeadlessEngine {};

TEST_F(RenderTextureHeadlessTest, WorksAsANodeWithoutAGlContext) {
    RefPtr<RenderTexture> rt = RenderTexture::create(200, 100);
    ASSERT_TRUE(rt);
    EXPECT_EQ(rt->getContentSize(), cocos2d::Size(200, 100));
    EXPECT_EQ(rt->getAnchorPoint(), cocos2d::Vec2(0.5f, 0.5f));
    ASSERT_NE(rt->getSprite(), nullptr);
    EXPECT_TRUE(rt->getSprite()->isFlippedY());
    EXPECT_EQ(rt->getSprite()->getParent(), rt.get());
    EXPECT_EQ(rt->getSprite()->getTexture()->getPixelsWide(), 200);

    cocos2d::Renderer* renderer = director()->getRenderer();
    const unsigned int before = renderer->getCurrentFrameStats().drawCalls;
    cocos2d::Sprite* stamp = cocos2d::Sprite::create();
    stamp->setTextureRect(cocos2d::Rect(0, 0, 10, 10));
    rt->begin();
    EXPECT_TRUE(rt->isDrawing());
    stamp->visit();
    stamp->visit();
    rt->end();
    EXPECT_FALSE(rt->isDrawing());
    EXPECT_EQ(renderer->getCurrentFrameStats().drawCalls - before, 1u);
    EXPECT_EQ(renderer->getRenderTargetDepth(), 0u);

    auto& log = captureLog();
    EXPECT_EQ(rt->readImage(), nullptr);
    EXPECT_FALSE(rt->saveToFile("shot.png", cocos2d::Image::Format::PNG));
    EXPECT_EQ(log.size(), 1u);
    // Unbalanced calls are reported and change nothing.
    log.clear();
    rt->end();
    rt->begin();
    rt->begin();
    rt->end();
    EXPECT_EQ(log.size(), 2u);
    EXPECT_EQ(renderer->getRenderTargetDepth(), 0u);
}

}  // namespace
