#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "Driver.h"
#include "engine/actions/RepeatForever.h"
#include "engine/actions/RotateBy.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/renderer/Image.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"

#include "ui/PopupScreenBase.h"
#include "ui/ScreenBase.h"

namespace {

using cocos2d::Color4B;
using cocos2d::Director;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Vec2;

Color4B colourAt(const Vec2& design) {
    RefPtr<cocos2d::Image> image =
        testing::Driver::get().readPixels(Rect(design.x - 2, 810.0f - design.y - 2, 4, 4));
    return image ? image->getPixel(2, 2) : Color4B(0, 0, 0, 0);
}

class PlainScreen : public ScreenBase {
public:
    static PlainScreen* create() {
        auto* screen = new (std::nothrow) PlainScreen();
        if (screen != nullptr && screen->init()) {
            screen->autorelease();
            return screen;
        }
        delete screen;
        return nullptr;
    }
};

// A popup that says when it is freed.
class WatchedPopup : public PopupScreenBase {
public:
    static WatchedPopup* create(bool* freed) {
        auto* popup = new (std::nothrow) WatchedPopup();
        if (popup != nullptr && popup->init()) {
            popup->_freed = freed;
            popup->autorelease();
            return popup;
        }
        delete popup;
        return nullptr;
    }
    ~WatchedPopup() override {
        if (_freed != nullptr) {
            *_freed = true;
        }
    }

private:
    bool* _freed = nullptr;
};

// A white screen with a touch listener of its own, as a screen's content under a popup would be.
class ScreenBasesTest : public ::testing::Test {
protected:
    void SetUp() override {
        scene = cocos2d::Scene::create();
        screen = PlainScreen::create();
        ASSERT_NE(screen, nullptr);
        scene->addChild(screen);
        cocos2d::LayerColor* white = cocos2d::LayerColor::create(Color4B(255, 255, 255, 255), 1280, 810);
        white->setPosition(-640, -405);
        screen->addChild(white, -1);
        auto* listener = cocos2d::EventListenerTouchOneByOne::create();
        listener->onTouchBegan = [this](cocos2d::Touch*, cocos2d::Event*) {
            ++touchesBelow;
            return true;
        };
        Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener,
                                                                                              white);
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(2);
        ASSERT_EQ(Director::getInstance()->getRunningScene(), scene);
    }

    testing::Driver& driver() { return testing::Driver::get(); }

    cocos2d::Scene* scene = nullptr;
    ScreenBase* screen = nullptr;
    int touchesBelow = 0;
};

TEST_F(ScreenBasesTest, AScreenStandsAtTheCentreOfTheVisibleArea) {
    EXPECT_EQ(screen->getPosition(), Vec2(640, 405));
}

TEST_F(ScreenBasesTest, APopupDimsTheScreenAndSwallowsEveryTouch) {
    driver().tap(Vec2(300, 300));
    driver().stepFrames(1);
    EXPECT_EQ(touchesBelow, 1);
    EXPECT_GT(colourAt(Vec2(100, 700)).r, 250);

    bool freed = false;
    WatchedPopup* popup = WatchedPopup::create(&freed);
    ASSERT_NE(popup, nullptr);
    screen->addChild(popup);
    driver().stepFrames(1);
    // Black at 190 of 255 over white, over the whole visible area.
    for (const Vec2& p : {Vec2(3, 3), Vec2(640, 405), Vec2(1276, 806)}) {
        EXPECT_NEAR(colourAt(p).r, 65, 3) << p.x << "," << p.y;
    }
    for (const Vec2& p : {Vec2(300, 300), Vec2(5, 800), Vec2(1270, 10)}) {
        driver().tap(p);
        driver().stepFrames(1);
    }
    EXPECT_EQ(touchesBelow, 1);
    // Gone before the flag it reports to.
    popup->removeFromParent();
    EXPECT_TRUE(freed);
}

TEST_F(ScreenBasesTest, CloseRunsItsCallbackOnceWhileThePopupIsStillThereThenFreesIt) {
    bool freed = false;
    WatchedPopup* popup = WatchedPopup::create(&freed);
    int calls = 0;
    bool inParentDuringCallback = false;
    popup->setOnClose([&] {
        ++calls;
        inParentDuringCallback = popup->getParent() == screen;
    });
    // A child that runs for ever, as a tutorial's pulsing arrow does: it must not keep the popup alive.
    cocos2d::Sprite* arrow = cocos2d::Sprite::create();
    arrow->setTextureRect(Rect(0, 0, 10, 10));
    arrow->runAction(cocos2d::RepeatForever::create(cocos2d::RotateBy::create(1.0f, 90.0f)));
    popup->addChild(arrow);
    popup->runAction(cocos2d::RepeatForever::create(cocos2d::RotateBy::create(1.0f, 0.0f)));
    screen->addChild(popup);
    driver().stepFrames(1);
    cocos2d::EventDispatcher* dispatcher = Director::getInstance()->getEventDispatcher();
    const size_t listenersWithPopup = dispatcher->getListenerCount();

    popup->close();
    popup->close();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(inParentDuringCallback);
    EXPECT_TRUE(popup->isClosing());
    // A tap in the same frame asks again through the popup's own touch: still once.
    driver().tap(Vec2(640, 405));
    driver().stepFrames(3);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(freed);
    EXPECT_EQ(screen->getChildrenCount(), 1);
    EXPECT_EQ(dispatcher->getListenerCount(), listenersWithPopup - 1);
}

TEST_F(ScreenBasesTest, AClosedPopupStopsWhatItsNodesRunEvenWhileSomeoneStillHoldsIt) {
    bool freed = false;
    RefPtr<WatchedPopup> held(WatchedPopup::create(&freed));
    cocos2d::Sprite* arrow = cocos2d::Sprite::create();
    arrow->setTextureRect(Rect(0, 0, 10, 10));
    arrow->runAction(cocos2d::RepeatForever::create(cocos2d::RotateBy::create(1.0f, 90.0f)));
    held->addChild(arrow);
    int timerCalls = 0;
    held->schedule([&](float) { ++timerCalls; }, 0.5f, "closable");
    screen->addChild(held.get());
    driver().stepFrames(1);
    cocos2d::EventDispatcher* dispatcher = Director::getInstance()->getEventDispatcher();
    const size_t listenersWithPopup = dispatcher->getListenerCount();

    held->close();
    driver().stepFrames(3);
    EXPECT_EQ(held->getParent(), nullptr);
    EXPECT_EQ(arrow->getNumberOfRunningActions(), 0);
    EXPECT_FALSE(held->isScheduled("closable"));
    EXPECT_FALSE(freed);
    held = nullptr;
    EXPECT_TRUE(freed);
    EXPECT_EQ(screen->getChildrenCount(), 1);
    EXPECT_EQ(dispatcher->getListenerCount(), listenersWithPopup - 1);
    // Touches reach the screen again, undimmed.
    driver().tap(Vec2(300, 300));
    driver().stepFrames(1);
    EXPECT_GT(touchesBelow, 0);
    EXPECT_GT(colourAt(Vec2(640, 405)).r, 250);
}

TEST_F(ScreenBasesTest, ABarePopupIsAContainerThatItsPanelCloses) {
    bool closed = false;
    PopupScreenBase* container = PopupScreenBase::create();
    ASSERT_NE(container, nullptr);
    ASSERT_EQ(container->getChildByTag(PopupScreenBase::kDimBackgroundTag), container->getDimBackground());
    EXPECT_EQ(container->getChildren().at(0), container->getDimBackground());
    container->setOnClose([&] { closed = true; });
    cocos2d::Node* panel = cocos2d::Node::create();
    container->setLocalZOrder(1);
    screen->addChild(container);
    container->addChild(panel);
    driver().stepFrames(1);
    static_cast<PopupScreenBase*>(panel->getParent())->close();
    EXPECT_TRUE(closed);
    driver().stepFrames(2);
    EXPECT_EQ(screen->getChildrenCount(), 1);
}

TEST_F(ScreenBasesTest, WithoutItsCloseSoundAPopupClosesAllTheSame) {
    PopupScreenBase* popup = PopupScreenBase::create();
    popup->setCloseSound(false);
    int calls = 0;
    popup->setOnClose([&] { ++calls; });
    screen->addChild(popup);
    driver().stepFrames(1);
    popup->close();
    driver().stepFrames(2);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(screen->getChildrenCount(), 1);
}

}  // namespace
