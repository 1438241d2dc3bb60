#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Driver.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/renderer/Image.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"

#include "ui/Controls/ScrollViewSnap.h"

namespace {

using cocos2d::Color3B;
using cocos2d::Color4B;
using cocos2d::Director;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Size;
using cocos2d::Vec2;

constexpr int kItems = 5;
constexpr float kSpacing = 300.0f;
const Vec2 kCentre(640.0f, 405.0f);

const Color3B kItemColours[kItems] = {Color3B(255, 0, 0), Color3B(0, 255, 0), Color3B(0, 0, 255),
                                      Color3B(255, 255, 0), Color3B(0, 255, 255)};

Color4B colourAt(const Vec2& design) {
    RefPtr<cocos2d::Image> image =
        testing::Driver::get().readPixels(Rect(design.x - 2, 810.0f - design.y - 2, 4, 4));
    return image ? image->getPixel(2, 2) : Color4B(0, 0, 0, 0);
}

// A list over the whole visible area holding five 200 x 150 items, one every 300 points, the first on
// the centre. Items are laid out as the UI loader lays out its containers: origin at the centre of
// their frame, content the frame's size.
class ScrollViewSnapTest : public ::testing::Test {
protected:
    void SetUp() override {
        scene = cocos2d::Scene::create();
        scene->addChild(cocos2d::LayerColor::create(Color4B(20, 20, 20, 255), 1280, 810), -10);
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(1);
        ASSERT_EQ(Director::getInstance()->getRunningScene(), scene);

        list = ScrollViewSnap::create();
        ASSERT_NE(list, nullptr);
        list->setDirection(cocos2d::ui::ScrollView::Direction::HORIZONTAL);
        list->setBounceEnabled(false);
        list->setInertiaScrollEnabled(false);
        list->setContentSize(Size(1280, 810));
        list->setInnerContainerSize(Size(1280 + kSpacing * (kItems - 1), 810));
        for (int i = 0; i < kItems; ++i) {
            cocos2d::Node* item = cocos2d::Node::create();
            item->setContentSize(Size(200, 150));
            item->setPosition(kCentre.x + kSpacing * i, kCentre.y);
            cocos2d::Sprite* face = cocos2d::Sprite::create();
            face->setTextureRect(Rect(0, 0, 200, 150));
            face->setColor(kItemColours[i]);
            item->addChild(face);
            list->addChild(item, 0, i);
            items.push_back(item);
        }
        list->setItemTapCallback([this](ScrollViewSnap* from, cocos2d::Node* item) {
            EXPECT_EQ(from, list);
            tapped.push_back(item->getTag());
        });
        scene->addChild(list);
        list->jumpToScrollPosition(Vec2::ZERO);
        driver().stepFrames(2);
    }

    testing::Driver& driver() { return testing::Driver::get(); }

    // A slow drag (moves of 5 points a frame), held still long enough that no speed is left.
    void drag(const Vec2& from, float dx) {
        driver().touchBegan(from);
        driver().stepFrames(1);
        const int steps = static_cast<int>(std::abs(dx) / 5.0f);
        for (int i = 1; i <= steps; ++i) {
            driver().touchMoved(from + Vec2(dx * i / steps, 0));
            driver().stepFrames(1);
        }
        driver().stepFrames(10);
        driver().touchEnded(from + Vec2(dx, 0));
    }

    void settle() { driver().stepFrames(45); }

    cocos2d::Scene* scene = nullptr;
    ScrollViewSnap* list = nullptr;
    std::vector<cocos2d::Node*> items;
    std::vector<int> tapped;
};

TEST_F(ScrollViewSnapTest, ADraggedListSettlesOnTheItemNearestTheCentre) {
    struct Case {
        float dx;
        int current;
        const char* why;
    };
    const Case cases[] = {
        {-130.0f, 0, "back to the first: the second is 170 away"},
        {-170.0f, 1, "on to the second: 130 away"},
        {-150.0f, 0, "halfway: the earlier item wins"},
        {-760.0f, 3, "a long drag: the fourth is 140 away"},
        {120.0f, 0, "against the left bound: nothing moves"},
    };
    for (const Case& c : cases) {
        list->jumpToScrollPosition(Vec2::ZERO);
        settle();
        drag(Vec2(640, 405), c.dx);
        settle();
        EXPECT_EQ(list->getCurrentIndex(), c.current) << c.why;
        EXPECT_FLOAT_EQ(list->getScrollPosition().x, -kSpacing * c.current) << c.why;
        EXPECT_FLOAT_EQ(list->getScrollPosition().y, 0.0f) << c.why;
        const Color4B centre = colourAt(kCentre);
        EXPECT_EQ(centre.r, kItemColours[c.current].r) << c.why;
        EXPECT_EQ(centre.g, kItemColours[c.current].g) << c.why;
        EXPECT_EQ(centre.b, kItemColours[c.current].b) << c.why;
    }
    EXPECT_TRUE(tapped.empty());
}

TEST_F(ScrollViewSnapTest, TheSnapGlidesForHalfASecondAndTheTargetIsCurrentFromItsStart) {
    drag(Vec2(640, 405), -200.0f);
    driver().stepFrames(2);
    // Gliding: the target is already current, the list not there yet.
    EXPECT_EQ(list->getCurrentIndex(), 1);
    EXPECT_GT(list->getScrollPosition().x, -kSpacing + 1.0f);
    EXPECT_LT(list->getScrollPosition().x, -200.0f);
    driver().stepFrames(30);
    EXPECT_FLOAT_EQ(list->getScrollPosition().x, -kSpacing);
}

TEST_F(ScrollViewSnapTest, ADragThatBeginsDuringTheGlideEndsWithoutANewSnap) {
    drag(Vec2(640, 405), -200.0f);
    driver().stepFrames(5);
    const float midGlide = list->getScrollPosition().x;
    EXPECT_GT(midGlide, -kSpacing + 1.0f);
    drag(Vec2(640, 405), -40.0f);
    settle();
    EXPECT_NEAR(list->getScrollPosition().x, midGlide - 40.0f, 0.01f);
    EXPECT_EQ(list->getCurrentIndex(), 1);
    // Moved again, it snaps again.
    drag(Vec2(640, 405), -10.0f);
    settle();
    EXPECT_FLOAT_EQ(list->getScrollPosition().x, -kSpacing);
}

TEST_F(ScrollViewSnapTest, OnlyATapOnTheCurrentItemReachesTheCallback) {
    settle();
    ASSERT_EQ(list->getCurrentIndex(), 0);
    struct Case {
        std::vector<Vec2> moves;
        Vec2 at;
        bool reported;
        const char* why;
    };
    const Case cases[] = {
        {{}, Vec2(640, 405), true, "a plain tap on the centred item"},
        {{Vec2(644, 409)}, Vec2(644, 409), true, "a wobble of 5.7 points is still a tap"},
        {{Vec2(645, 405), Vec2(640, 405), Vec2(635, 405)},
         Vec2(640, 405),
         true,
         "small steps that stay near"},
        {{Vec2(647, 406)}, Vec2(647, 406), false, "one step of more than 6.7 points is a drag"},
        {{Vec2(644, 405), Vec2(648, 405), Vec2(652, 405), Vec2(656, 405)},
         Vec2(656, 405),
         false,
         "small steps that add up to a drag"},
        {{Vec2(940, 405)}, Vec2(940, 405), false, "a drag that ends on another item"},
        {{}, Vec2(940, 405), false, "a tap on an item that is not current"},
    };
    for (const Case& c : cases) {
        list->jumpToScrollPosition(Vec2::ZERO);
        settle();
        tapped.clear();
        driver().touchBegan(c.moves.empty() ? c.at : Vec2(640, 405));
        driver().stepFrames(1);
        for (const Vec2& move : c.moves) {
            driver().touchMoved(move);
            driver().stepFrames(1);
        }
        driver().touchEnded(c.at);
        driver().stepFrames(1);
        if (c.reported) {
            ASSERT_EQ(tapped.size(), 1u) << c.why;
            EXPECT_EQ(tapped[0], 0) << c.why;
        } else {
            EXPECT_TRUE(tapped.empty()) << c.why;
        }
    }
}

TEST_F(ScrollViewSnapTest, ScrollingByItemsFollowsTheTags) {
    settle();
    list->scrollByItems(2);
    EXPECT_EQ(list->getCurrentIndex(), 2);
    settle();
    EXPECT_FLOAT_EQ(list->getScrollPosition().x, -2.0f * kSpacing);
    list->scrollByItems(-1);
    settle();
    EXPECT_EQ(list->getCurrentIndex(), 1);
    EXPECT_FLOAT_EQ(list->getScrollPosition().x, -kSpacing);
    // Past the last tag: nothing.
    list->scrollByItems(4);
    settle();
    EXPECT_EQ(list->getCurrentIndex(), 1);
    EXPECT_FLOAT_EQ(list->getScrollPosition().x, -kSpacing);
}

TEST_F(ScrollViewSnapTest, ItemsShrinkWithTheirDistanceOnlyWhenAsked) {
    settle();
    for (cocos2d::Node* item : items) {
        EXPECT_FLOAT_EQ(item->getScale(), 1.0f);
    }
    list->setScaleItems(true);
    list->jumpToScrollPosition(Vec2(-kSpacing, 0));
    settle();
    // 300 away: 1 - 300/2000; 600 and more: the minimum 0.8.
    const float expected[kItems] = {0.85f, 1.0f, 0.85f, 0.8f, 0.8f};
    for (int i = 0; i < kItems; ++i) {
        EXPECT_FLOAT_EQ(items[i]->getScale(), expected[i]) << i;
    }
}

TEST_F(ScrollViewSnapTest, AnEmptyListHasNoCurrentItem) {
    list->removeAllChildrenWithCleanup(true);
    items.clear();
    EXPECT_EQ(list->getCurrentIndex(), -1);
    list->scrollByItems(1);
    drag(Vec2(640, 405), -100.0f);
    settle();
    EXPECT_EQ(list->getCurrentIndex(), -1);
    EXPECT_TRUE(list->getItems().empty());
}

TEST_F(ScrollViewSnapTest, TheCurrentItemIsForgottenHoweverItLeavesTheList) {
    struct Case {
        const char* how;
        std::function<void(ScrollViewSnap*, cocos2d::Node*)> remove;
    };
    const Case cases[] = {
        {"removeChild", [](ScrollViewSnap* l, cocos2d::Node* item) { l->removeChild(item, true); }},
        {"removeFromParent", [](ScrollViewSnap*, cocos2d::Node* item) { item->removeFromParent(); }},
        {"removeAllChildren", [](ScrollViewSnap* l, cocos2d::Node*) { l->removeAllChildren(); }},
    };
    for (const Case& c : cases) {
        list->removeFromParent();
        items.clear();
        SetUp();
        settle();
        ASSERT_EQ(list->getCurrentIndex(), 0) << c.how;
        c.remove(list, list->getCurrentItem());
        driver().stepFrames(1);
        EXPECT_EQ(list->getCurrentIndex(), -1) << c.how;
        EXPECT_EQ(list->getCurrentItem(), nullptr) << c.how;
        list->scrollByItems(1);
        driver().tap(Vec2(640, 405));
        driver().stepFrames(1);
        EXPECT_TRUE(tapped.empty()) << c.how;
    }
}

TEST_F(ScrollViewSnapTest, AnAnimatedRestoreCountsAsAMoveAndSnaps) {
    settle();
    list->animateToScrollPosition(Vec2(-620, 0), 0.3f);
    int frames = 0;
    while (list->getInnerContainer()->getNumberOfRunningActions() > 0 && frames < 60) {
        driver().stepFrames(1);
        ++frames;
    }
    EXPECT_GE(frames, 17);
    EXPECT_FLOAT_EQ(list->getScrollPosition().x, -620.0f);
    settle();
    EXPECT_EQ(list->getCurrentIndex(), 2);
    EXPECT_FLOAT_EQ(list->getScrollPosition().x, -600.0f);
}

}  // namespace
