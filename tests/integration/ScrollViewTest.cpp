#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Driver.h"
#include "PixelChecks.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/renderer/Image.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/Button.h"
#include "engine/ui/ScrollView.h"

namespace {

using cocos2d::Color4B;
using cocos2d::Director;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Size;
using cocos2d::Vec2;
using cocos2d::ui::Button;
using cocos2d::ui::ScrollView;

using testing::colourAt;
using testing::expectColour;
using testing::solidPng;

class ScrollViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        scene = cocos2d::Scene::create();
        scene->addChild(cocos2d::LayerColor::create(Color4B(0, 0, 80, 255), 1280, 810), -10);
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(1);
        ASSERT_EQ(Director::getInstance()->getRunningScene(), scene);

        // A horizontal strip (200..1000, 300..500) over a row of 120 x 120 tiles, one every 200 points.
        view = ScrollView::create();
        view->setDirection(ScrollView::Direction::HORIZONTAL);
        view->setBounceEnabled(true);
        view->setInertiaScrollEnabled(true);
        view->setPosition(200, 300);
        view->setContentSize(Size(800, 200));
        view->setInnerContainerSize(Size(2000, 200));
        const std::string tile = solidPng("scroll_tile.png", 120, 120, Color4B(255, 0, 0, 255));
        for (int i = 0; i < 10; ++i) {
            Button* item = Button::create(tile);
            item->setPosition(100.0f + 200.0f * i, 100);
            item->setTag(i);
            item->addClickEventListener([this, i](cocos2d::Ref*) { tapped.push_back(i); });
            view->addChild(item);
        }
        scene->addChild(view);
        driver().stepFrames(1);
    }
    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string("ScrollViewTest_") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png"));
        }
    }
    static testing::Driver& driver() { return testing::Driver::get(); }

    // A drag of `steps` moves of `dx` points, one frame apart, then the release.
    void drag(const Vec2& from, float dx, int steps) {
        driver().touchBegan(from);
        driver().stepFrames(1);
        for (int i = 1; i <= steps; ++i) {
            driver().touchMoved(from + Vec2(dx * i, 0));
            driver().stepFrames(1);
        }
        driver().touchEnded(from + Vec2(dx * steps, 0));
        driver().stepFrames(1);
    }
    float x() const { return view->getInnerContainerPosition().x; }

    cocos2d::Scene* scene = nullptr;
    ScrollView* view = nullptr;
    std::vector<int> tapped;
};

TEST_F(ScrollViewTest, DraggedPastItsEndItBouncesBack) {
    drag(Vec2(500, 400), 20, 10);  // 200 points to the right of the left end
    EXPECT_GT(x(), 50.0f) << "it follows the drag, resisted";
    EXPECT_LE(x(), 110.0f);
    EXPECT_TRUE(tapped.empty());
    driver().stepFrames(40);
    EXPECT_FLOAT_EQ(x(), 0.0f);
    EXPECT_FALSE(view->isAutoScrolling());
    // The first tile is back at the left of the strip.
    expectColour(colourAt(Vec2(300, 400)), 255, 0, 0, "the first tile");
    expectColour(colourAt(Vec2(400, 400)), 0, 0, 80, "the gap after it");
}

TEST_F(ScrollViewTest, ATapWithoutADragReachesTheChildButton) {
    driver().tap(Vec2(500, 400));  // the second tile: 440..560
    driver().stepFrames(1);
    EXPECT_EQ(tapped, (std::vector<int>{1}));
    EXPECT_FLOAT_EQ(x(), 0.0f);

    drag(Vec2(500, 400), -30, 5);  // a drag that starts on a tile moves the strip and taps nothing
    EXPECT_EQ(tapped, (std::vector<int>{1}));
    EXPECT_LT(x(), -140.0f);
}

TEST_F(ScrollViewTest, TilesAreClippedToTheView) {
    view->setInnerContainerPosition(Vec2(-50, 0));  // the first tile now spans 190..310
    view->getChildByTag(0)->setScaleY(2.0f);        // and 280..520, taller than the view
    driver().stepFrames(1);
    expectColour(colourAt(Vec2(205, 400)), 255, 0, 0, "inside the view");
    expectColour(colourAt(Vec2(195, 400)), 0, 0, 80, "outside the view's left edge");
    expectColour(colourAt(Vec2(250, 495)), 255, 0, 0, "just inside its top edge");
    expectColour(colourAt(Vec2(250, 510)), 0, 0, 80, "above the view");
    expectColour(colourAt(Vec2(250, 290)), 0, 0, 80, "below the view");
    driver().tap(Vec2(195, 400));
    driver().stepFrames(1);
    EXPECT_TRUE(tapped.empty()) << "the clipped part of a tile is not tappable";
}

}  // namespace
