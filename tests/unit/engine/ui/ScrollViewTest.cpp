#include <cmath>
#include <string>
#include <vector>

#include "engine/scene/Node.h"
#include "engine/ui/Button.h"
#include "engine/ui/ScrollView.h"
#include "WidgetFixture.h"

namespace {

using cocos2d::Node;
using cocos2d::Size;
using cocos2d::Vec2;
using cocos2d::ui::Button;
using cocos2d::ui::ScrollView;
using cocos2d::ui::Widget;

// Counts what goes through scrollChildren, as a subclass that marks "moved" there would see it.
class CountingScrollView : public ScrollView {
public:
    static CountingScrollView* create() {
        auto* view = new CountingScrollView();
        view->init();
        view->autorelease();
        return view;
    }
    bool scrollChildren(float dx, float dy) override {
        const bool moved = ScrollView::scrollChildren(dx, dy);
        if (moved) {
            ++moves;
            travelled += Vec2(dx, dy);
        }
        return moved;
    }
    void glideTo(const Vec2& destination, float time, bool attenuated) {
        startAutoScrollChildrenWithDestination(destination, time, attenuated);
    }
    int moves = 0;
    Vec2 travelled;
};

class ScrollViewTest : public enginetest::WidgetFixture {
protected:
    void SetUp() override {
        WidgetFixture::SetUp();
        view = CountingScrollView::create();
        view->setDirection(ScrollView::Direction::HORIZONTAL);
        view->setPosition(100, 100);
        view->setContentSize(Size(400, 200));          // the world rectangle (100..500, 100..300)
        view->setInnerContainerSize(Size(1000, 200));  // x between -600 and 0
        view->setInertiaScrollEnabled(false);
        view->setBounceEnabled(false);
        scene->addChild(view);
        step();
    }

    // A drag in steps of `stepX` points, one frame apart, then the release.
    void drag(Vec2 from, float stepX, int steps, float stepY = 0.0f) {
        began(from);
        step();
        for (int i = 1; i <= steps; ++i) {
            moved(from + Vec2(stepX * i, stepY * i));
            step();
        }
        ended(from + Vec2(stepX * steps, stepY * steps));
    }
    float x() const { return view->getInnerContainerPosition().x; }

    CountingScrollView* view = nullptr;
};

TEST_F(ScrollViewTest, ADragMovesTheContainerByTheTouchDeltaAlongItsDirectionOnly) {
    drag(Vec2(400, 200), -10, 5, 7);
    EXPECT_FLOAT_EQ(x(), -50.0f);
    EXPECT_FLOAT_EQ(view->getInnerContainerPosition().y, 0.0f);
    EXPECT_EQ(view->moves, 5);
    step(30);
    EXPECT_FLOAT_EQ(x(), -50.0f) << "without inertia it stays where the drag left it";

    view->setDirection(ScrollView::Direction::NONE);
    drag(Vec2(400, 200), -10, 5);
    EXPECT_FLOAT_EQ(x(), -50.0f);
}

TEST_F(ScrollViewTest, WithoutBounceTheContainerStopsAtTheBounds) {
    drag(Vec2(200, 200), 20, 5);
    EXPECT_FLOAT_EQ(x(), 0.0f);
    drag(Vec2(480, 200), -50, 7);  // 350 points wanted, and more
    drag(Vec2(480, 200), -50, 7);
    EXPECT_FLOAT_EQ(x(), -600.0f);
}

TEST_F(ScrollViewTest, PastTheEndBounceHalvesTheDragAndTheReleaseSpringsBackThroughScrollChildren) {
    view->setBounceEnabled(true);
    drag(Vec2(200, 200), 20, 5);  // 100 points past the left end
    EXPECT_FLOAT_EQ(x(), 50.0f);
    EXPECT_TRUE(view->isAutoScrolling());
    const int movesBefore = view->moves;
    step(9);
    EXPECT_GT(x(), 0.0f) << "still on its way after 0.15 s";
    step(10);  // 0.3 s after the release
    EXPECT_FLOAT_EQ(x(), 0.0f);
    EXPECT_FALSE(view->isAutoScrolling());
    EXPECT_GT(view->moves, movesBefore + 5);
    EXPECT_NEAR(view->travelled.x, 0.0f, 1e-3f) << "all the way out and back through scrollChildren";

    // A drag that starts beyond the bound and moves inwards counts fully.
    drag(Vec2(200, 200), 20, 2);
    EXPECT_FLOAT_EQ(x(), 20.0f);
    drag(Vec2(300, 200), -30, 2);
    EXPECT_FLOAT_EQ(x(), -40.0f);
}

TEST_F(ScrollViewTest, InertiaCarriesTheReleaseSpeedAndComesToRest) {
    view->setInertiaScrollEnabled(true);
    drag(Vec2(480, 200), -10, 10);  // 600 points per second
    EXPECT_FLOAT_EQ(x(), -100.0f);
    EXPECT_TRUE(view->isAutoScrolling());
    step(60);
    EXPECT_FALSE(view->isAutoScrolling());
    // Linear decay over 0.5 s from 600 points/s covers 150 points.
    EXPECT_NEAR(x(), -250.0f, 2.0f);

    // A drag held still before the release starts nothing.
    const float rest = x();
    began(Vec2(400, 200));
    step();
    moved(Vec2(380, 200));
    step(12);
    ended(Vec2(380, 200));
    EXPECT_FALSE(view->isAutoScrolling());
    step(30);
    EXPECT_FLOAT_EQ(x(), rest - 20.0f);
}

TEST_F(ScrollViewTest, AnInertialGlideStopsAtTheBoundWithoutBounceAndReturnsWithIt) {
    view->setInertiaScrollEnabled(true);
    view->setInnerContainerPosition(Vec2(-500, 0));
    drag(Vec2(480, 200), -30, 3);  // toward the right end at 1800 points/s
    step(60);
    EXPECT_FLOAT_EQ(x(), -600.0f);

    view->setBounceEnabled(true);
    view->setInnerContainerPosition(Vec2(-500, 0));
    drag(Vec2(480, 200), -30, 3);
    bool wentPast = false;
    for (int i = 0; i < 60; ++i) {
        step();
        wentPast = wentPast || x() < -600.0f;
    }
    EXPECT_TRUE(wentPast);
    EXPECT_FLOAT_EQ(x(), -600.0f);
    EXPECT_FALSE(view->isAutoScrolling());
}

TEST_F(ScrollViewTest, AnAutoScrollReachesItsDestinationExactlyAndDeceleratesWhenAttenuated) {
    view->glideTo(Vec2(-333.3f, 55), 0.5f, true);
    EXPECT_TRUE(view->isAutoScrolling());
    step(15);  // half the time
    EXPECT_LT(x(), -333.3f * 0.75f) << "attenuated: most of the way in the first half";
    step(15);
    EXPECT_EQ(x(), -333.3f);
    EXPECT_EQ(view->getInnerContainerPosition().y, 0.0f) << "only the scrolling axis moves";
    EXPECT_FALSE(view->isAutoScrolling());

    view->glideTo(Vec2(-100, 0), 0.5f, false);
    step(15);
    EXPECT_NEAR(x(), -216.65f, 0.5f) << "linear: half way at half time";
    step(15);
    EXPECT_EQ(x(), -100.0f);

    view->glideTo(Vec2(-5000, 0), 0.2f, true);
    step(12);
    EXPECT_EQ(x(), -600.0f) << "destinations stay inside the bounds";

    const int before = view->moves;
    view->glideTo(Vec2(-50, 0), 0.0f, false);
    EXPECT_EQ(x(), -50.0f) << "no time: at once";
    EXPECT_EQ(view->moves, before + 1);
}

TEST_F(ScrollViewTest, APressStopsAGlide) {
    view->glideTo(Vec2(-400, 0), 1.0f, false);
    step(10);
    began(Vec2(300, 200));
    EXPECT_FALSE(view->isAutoScrolling());
    EXPECT_TRUE(view->isTouching());
    const float held = x();
    step(10);
    EXPECT_FLOAT_EQ(x(), held);
    ended(Vec2(300, 200));
    EXPECT_FALSE(view->isTouching());
}

TEST_F(ScrollViewTest, ChangingTheInnerSizeKeepsTheScrollPosition) {
    view->setInnerContainerPosition(Vec2(-420, 0));
    view->setInnerContainerSize(Size(3000, 200));
    EXPECT_EQ(view->getInnerContainerPosition(), Vec2(-420, 0));
    view->setInnerContainerSize(Size(100, 100));
    EXPECT_EQ(view->getInnerContainerSize(), Size(400, 200)) << "never smaller than the view";
    EXPECT_EQ(view->getInnerContainerPosition(), Vec2(-420, 0));
}

TEST_F(ScrollViewTest, PercentagesMapOntoTheRange) {
    view->jumpToPercentHorizontal(50);
    EXPECT_FLOAT_EQ(x(), -300.0f);
    view->scrollToPercentHorizontal(100, 0.25f, false);
    step(15);
    EXPECT_FLOAT_EQ(x(), -600.0f);
}

TEST_F(ScrollViewTest, ChildrenLiveOnTheInnerContainer) {
    Node* item = Node::create();
    view->addChild(item, 0, 7);
    EXPECT_EQ(item->getParent(), view->getInnerContainer());
    EXPECT_EQ(view->getChildByTag(7), item);
    EXPECT_EQ(view->getChildrenCount(), 1);
    ASSERT_EQ(view->getChildren().size(), 1u);
    view->removeAllChildrenWithCleanup(true);
    EXPECT_EQ(view->getChildrenCount(), 0);
    EXPECT_EQ(view->getInnerContainer()->getParent(), view) << "the container itself stays";
}

TEST_F(ScrollViewTest, OpacityCascadesToTheItems) {
    Node* item = Node::create();
    view->addChild(item);
    view->setOpacity(100);
    EXPECT_EQ(item->getDisplayedOpacity(), 100);
}

class ScrollViewChildTest : public ScrollViewTest {
protected:
    void SetUp() override {
        ScrollViewTest::SetUp();
        addTexture("item.png", 80, 80);
        item = Button::create("item.png");
        item->setPosition(150, 100);  // world (210..290, 160..240) at scroll 0
        view->addChild(item);
        item->addTouchEventListener([this](cocos2d::Ref*, Widget::TouchEventType t) {
            events.push_back(t == Widget::TouchEventType::BEGAN   ? "began"
                             : t == Widget::TouchEventType::MOVED ? "moved"
                             : t == Widget::TouchEventType::ENDED ? "ended"
                                                                  : "canceled");
        });
        item->addClickEventListener([this](cocos2d::Ref*) { events.push_back("click"); });
    }
    Button* item = nullptr;
    std::vector<std::string> events;
};

TEST_F(ScrollViewChildTest, ATapWithoutADragReachesTheChildButton) {
    began(Vec2(250, 200));
    moved(Vec2(253, 201));  // a jitter is no drag
    ended(Vec2(253, 201));
    EXPECT_EQ(events, (std::vector<std::string>{"began", "moved", "ended", "click"}));
    EXPECT_FLOAT_EQ(x(), 0.0f);
}

TEST_F(ScrollViewChildTest, ADragThatStartsOnTheChildScrollsTheViewAndCancelsTheButton) {
    drag(Vec2(250, 200), -15, 6);
    EXPECT_EQ(events, (std::vector<std::string>{"began", "canceled"}));
    EXPECT_FLOAT_EQ(x(), -90.0f) << "from the move that made it a drag on, the view scrolls";
    EXPECT_FALSE(view->isTouching());
}

TEST_F(ScrollViewChildTest, AChildScrolledOutOfTheViewCannotBeTapped) {
    view->setInnerContainerPosition(Vec2(-150, 0));  // the item now covers world x 60..140; the view 100..500
    tap(Vec2(80, 200));
    EXPECT_TRUE(events.empty()) << "the part outside the view is clipped away";
    view->setInnerContainerPosition(Vec2(-100, 0));  // x 110..190
    tap(Vec2(120, 200));
    EXPECT_EQ(events.back(), "click");
}

}  // namespace
