#include "engine/platform/GLView.h"

#include <gtest/gtest.h>

#include "engine/base/AutoreleasePool.h"

namespace {

using cocos2d::GLView;
using cocos2d::Rect;
using cocos2d::ResolutionPolicy;
using cocos2d::Vec2;

TEST(GLViewTest, ShowAllLetterboxesTheDesignAreaWithOneScale) {
    struct Case {
        float frameW, frameH;
        Rect viewport;
        float scale;
    };
    const Case cases[] = {
        {1280, 810, Rect(0, 0, 1280, 810), 1.0f},
        {1920, 1080, Rect(107, 0, 1707, 1080), 1080.0f / 810.0f},
        {640, 810, Rect(0, 203, 640, 405), 0.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frameW << "x" << c.frameH);
        GLView* view = GLView::createHeadless(c.frameW, c.frameH);
        view->retain();
        view->setDesignResolutionSize(1280, 810, ResolutionPolicy::SHOW_ALL);
        EXPECT_EQ(view->getViewPortRect(), c.viewport);
        EXPECT_FLOAT_EQ(view->getScaleX(), c.scale);
        EXPECT_FLOAT_EQ(view->getScaleY(), c.scale);
        EXPECT_EQ(view->getVisibleSize(), cocos2d::Size(1280, 810));
        EXPECT_EQ(view->getVisibleOrigin(), Vec2::ZERO);
        view->release();
    }
    cocos2d::AutoreleasePool::getInstance()->clear();
}

TEST(GLViewTest, FramePixelsMapToDesignViewPointsAndBack) {
    GLView* view = GLView::createHeadless(1920, 1080);
    view->retain();
    view->setDesignResolutionSize(1280, 810, ResolutionPolicy::SHOW_ALL);
    const float s = 1080.0f / 810.0f;
    // The top-left corner of the design area, and a point in the middle.
    const Vec2 corner = view->framePixelsToDesignView(Vec2(107, 0));
    EXPECT_NEAR(corner.x, 0, 1e-3f);
    EXPECT_NEAR(corner.y, 0, 1e-3f);
    const Vec2 mid = view->framePixelsToDesignView(Vec2(107 + 640 * s, 405 * s));
    EXPECT_NEAR(mid.x, 640, 1e-2f);
    EXPECT_NEAR(mid.y, 405, 1e-2f);
    const Vec2 back = view->designToFramePixels(Vec2(100, 710));  // design y up: 100 from the top
    EXPECT_NEAR(back.x, 107 + 100 * s, 1e-2f);
    EXPECT_NEAR(back.y, 100 * s, 1e-2f);
    view->release();
    cocos2d::AutoreleasePool::getInstance()->clear();
}

}  // namespace
