#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Driver.h"
#include "engine/base/Director.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerKeyboard.h"
#include "engine/events/EventListenerMouse.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/events/EventMouse.h"
#include "engine/events/Touch.h"
#include "engine/platform/Application.h"
#include "engine/platform/GLViewImpl.h"
#include "engine/platform/TextInput.h"
#include "engine/scene/Scene.h"

namespace {

using cocos2d::Director;
using cocos2d::Event;
using cocos2d::EventKeyboard;
using cocos2d::Vec2;
using Key = EventKeyboard::KeyCode;
using Log = std::vector<std::string>;

// An application that records its hooks in the order they come.
class HookApp : public cocos2d::Application {
public:
    bool applicationDidFinishLaunching() override {
        launched = true;
        return true;
    }
    void applicationDidEnterBackground() override { log.push_back("background"); }
    void applicationWillEnterForeground() override { log.push_back("foreground"); }
    void onFocusLost() override { log.push_back("focus lost"); }
    void onFocusResumed() override { log.push_back("focus resumed"); }
    void onCloseRequest() override {
        log.push_back("close");
        if (discardClose) {
            if (auto* view = dynamic_cast<cocos2d::GLViewImpl*>(Director::getInstance()->getOpenGLView())) {
                view->discardCloseWindow();
            }
        }
    }
    void onWindowResized() override {
        const cocos2d::Size frame = Director::getInstance()->getOpenGLView()->getFrameSize();
        log.push_back("resized " + std::to_string(static_cast<int>(frame.width)));
    }

    Log log;
    bool launched = false;
    bool discardClose = true;
};

class PlatformEventsTest : public ::testing::Test {
protected:
    void SetUp() override {
        driver().stepFrames(1);
        scene = cocos2d::Scene::create();
        Director::getInstance()->replaceScene(scene);
        ASSERT_TRUE(driver().launch(app));
        driver().stepFrames(1);
        keys = cocos2d::EventListenerKeyboard::create();
        keys->onKeyPressed = [this](Key k, Event*) { app.log.push_back("press " + std::to_string(int(k))); };
        keys->onKeyReleased = [this](Key k, Event*) { app.log.push_back("release " + std::to_string(int(k))); };
        dispatcher()->addEventListenerWithFixedPriority(keys, 1);
    }
    void TearDown() override {
        dispatcher()->removeEventListener(keys);
        driver().focusGained();
        driver().stepFrames(1);
    }
    static testing::Driver& driver() { return testing::Driver::get(); }
    static cocos2d::EventDispatcher* dispatcher() { return Director::getInstance()->getEventDispatcher(); }

    HookApp app;
    cocos2d::Scene* scene = nullptr;
    cocos2d::EventListenerKeyboard* keys = nullptr;
};

TEST_F(PlatformEventsTest, KeysArriveWithTheEngineCodesAndAutoRepeatIsDropped) {
    driver().key(Key::KEY_ALT, true);
    driver().key(Key::KEY_KP_ENTER, true);
    driver().keyRepeat(Key::KEY_KP_ENTER);
    driver().keyRepeat(Key::KEY_KP_ENTER);
    driver().key(Key::KEY_KP_ENTER, false);
    driver().key(Key::KEY_ALT, false);
    driver().key(Key::KEY_ESCAPE, false);
    driver().stepFrames(1);
    EXPECT_EQ(app.log, (Log{"press 16", "press 35", "release 35", "release 16", "release 6"}));
}

TEST_F(PlatformEventsTest, FocusLossReleasesHeldKeysAndCancelsTouchesBeforeTheHook) {
    std::vector<std::string> touchLog;
    auto* touches = cocos2d::EventListenerTouchOneByOne::create();
    touches->onTouchBegan = [&](cocos2d::Touch*, Event*) {
        touchLog.push_back("began");
        return true;
    };
    touches->onTouchCancelled = [&](cocos2d::Touch*, Event*) { app.log.push_back("touch cancelled"); };
    touches->onTouchEnded = [&](cocos2d::Touch*, Event*) { app.log.push_back("touch ended"); };
    dispatcher()->addEventListenerWithSceneGraphPriority(touches, scene);
    driver().key(Key::KEY_A, true);
    driver().touchBegan(Vec2(300, 300));
    driver().stepFrames(1);
    app.log.clear();
    driver().focusLost();
    driver().focusLost();  // repeated events fire the hook once
    driver().key(Key::KEY_A, false);  // the platform's own late release is not doubled
    driver().touchEnded(Vec2(300, 300));
    driver().stepFrames(1);
    EXPECT_EQ(app.log, (Log{"release 124", "touch cancelled", "focus lost"}));
    driver().focusGained();
    driver().stepFrames(1);
    EXPECT_EQ(app.log.back(), "focus resumed");
}

TEST_F(PlatformEventsTest, MinimiseAndRestoreMapToBackgroundAndForeground) {
    driver().minimize();
    driver().stepFrames(1);
    driver().restore();
    driver().stepFrames(1);
    EXPECT_EQ(app.log, (Log{"focus lost", "background", "foreground", "focus resumed"}));
}

TEST_F(PlatformEventsTest, CloseRequestWithDiscardKeepsTheWindowAndTheLoopRunning) {
    app.discardClose = true;
    driver().closeRequest();
    driver().stepFrames(1);
    const unsigned int frames = Director::getInstance()->getTotalFrames();
    driver().stepFrames(3);
    EXPECT_EQ(app.log, (Log{"close"}));
    EXPECT_FALSE(Director::getInstance()->isEndRequested());
    EXPECT_EQ(Director::getInstance()->getTotalFrames(), frames + 3);
    EXPECT_TRUE(driver().view()->isOpenGLReady());
}

TEST_F(PlatformEventsTest, ResizeRecomputesTheViewportBeforeTheHookOncePerFrame) {
    driver().resize(1000, 700);
    driver().resize(1000, 700);
    driver().stepFrames(1);
    // The frame size is the surface's own: an offscreen pbuffer keeps its size whatever the window is
    // told, an X window takes the new one.
    const int width = driver().videoDriver() == "offscreen" ? 1280 : 1000;
    EXPECT_EQ(app.log, (Log{"resized " + std::to_string(width)}));
    driver().resize(1280, 810);
    driver().stepFrames(1);
}

TEST_F(PlatformEventsTest, LeftButtonIsTouchZeroAndEveryMotionIsOneMove) {
    std::vector<std::string> log;
    std::vector<Vec2> moves;
    cocos2d::Touch* began = nullptr;
    auto* touches = cocos2d::EventListenerTouchOneByOne::create();
    touches->onTouchBegan = [&](cocos2d::Touch* t, Event*) {
        began = t;
        log.push_back("began id " + std::to_string(t->getID()));
        EXPECT_EQ(t->getPreviousLocation(), t->getLocation());
        return true;
    };
    touches->onTouchMoved = [&](cocos2d::Touch* t, Event*) {
        EXPECT_EQ(t, began) << "one object from began to ended";
        moves.push_back(t->getLocation());
    };
    touches->onTouchEnded = [&](cocos2d::Touch* t, Event*) {
        log.push_back("ended");
        EXPECT_EQ(Director::getInstance()->convertToGL(t->getLocationInView()), t->getLocation());
    };
    dispatcher()->addEventListenerWithSceneGraphPriority(touches, scene);
    int mouseMoves = 0;
    auto* mouse = cocos2d::EventListenerMouse::create();
    mouse->onMouseMove = [&](cocos2d::EventMouse*) { ++mouseMoves; };
    dispatcher()->addEventListenerWithFixedPriority(mouse, 666);

    driver().touchBegan(Vec2(100, 700));
    driver().touchMoved(Vec2(110, 700));
    driver().touchMoved(Vec2(120, 690));
    driver().touchMoved(Vec2(130, 680));
    driver().touchEnded(Vec2(130, 680));
    driver().mouseMove(Vec2(500, 500));
    driver().stepFrames(1);
    EXPECT_EQ(log, (Log{"began id 0", "ended"}));
    ASSERT_EQ(moves.size(), 3u) << "moves within one frame are not coalesced";
    EXPECT_NEAR(moves[2].x, 130, 1.0f);
    EXPECT_NEAR(moves[2].y, 680, 1.0f);
    EXPECT_EQ(mouseMoves, 5);
    dispatcher()->removeEventListener(mouse);
}

class Receiver : public cocos2d::TextInputReceiver {
public:
    void insertText(const std::string& utf8) override { text += utf8; }
    void deleteBackward() override {
        if (!text.empty()) {
            text.pop_back();
        }
    }
    std::string text;
};

TEST_F(PlatformEventsTest, TextGoesToTheAttachedReceiverAndEnterIsOnlyAKey) {
    auto* view = driver().view();
    EXPECT_FALSE(view->isTextInputEnabled()) << "text input is off at start";
    Receiver receiver;
    cocos2d::TextInput::attach(&receiver);
    EXPECT_TRUE(view->isTextInputEnabled());
    driver().text("Ad");
    driver().text("x");
    driver().key(Key::KEY_BACKSPACE, true);
    driver().key(Key::KEY_BACKSPACE, false);
    driver().text("a");
    driver().key(Key::KEY_KP_ENTER, true);
    driver().key(Key::KEY_KP_ENTER, false);
    driver().stepFrames(1);
    EXPECT_EQ(receiver.text, "Ada");
    EXPECT_EQ(app.log, (Log{"press 7", "release 7", "press 35", "release 35"}));
    cocos2d::TextInput::detach(&receiver);
    EXPECT_FALSE(view->isTextInputEnabled());
    driver().text("zzz");
    driver().stepFrames(1);
    EXPECT_EQ(receiver.text, "Ada");
}

}  // namespace
