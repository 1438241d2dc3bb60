#include <functional>
#include <string>
#include <vector>

#include "engine/base/RefPtr.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventKeyboard.h"
#include "engine/events/EventListenerKeyboard.h"
#include "engine/events/EventListenerMouse.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/events/EventMouse.h"
#include "engine/events/EventTouch.h"
#include "engine/events/Touch.h"
#include "engine/scene/Layer.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"
#include "../HeadlessEngine.h"

namespace {

using cocos2d::Event;
using cocos2d::EventDispatcher;
using cocos2d::EventKeyboard;
using cocos2d::EventListenerKeyboard;
using cocos2d::EventListenerTouchAllAtOnce;
using cocos2d::EventListenerTouchOneByOne;
using cocos2d::EventTouch;
using cocos2d::Node;
using cocos2d::RefPtr;
using cocos2d::Scene;
using cocos2d::Touch;
using cocos2d::Vec2;

// A stand-in for a transition: the director defers changes and blocks input while it runs.
class FakeTransition : public Scene {
public:
    static FakeTransition* create() {
        auto* t = new FakeTransition();
        t->init();
        t->autorelease();
        return t;
    }
    bool isTransition() const override { return true; }
};

class EventDispatcherTest : public enginetest::HeadlessEngine {
protected:
    void SetUp() override {
        HeadlessEngine::SetUp();
        scene = Scene::create();
        director()->runWithScene(scene);
        step();
        dispatcher = director()->getEventDispatcher();
    }

    Node* addNode(Node* parent, const std::string& name, int z = 0) {
        Node* n = Node::create();
        n->setName(name);
        parent->addChild(n, z);
        return n;
    }

    // A one-by-one listener on `node` that logs "<name> began/moved/ended/cancelled".
    EventListenerTouchOneByOne* oneByOne(Node* node, const std::string& name, bool claims, bool swallows) {
        auto* l = EventListenerTouchOneByOne::create();
        l->setSwallowTouches(swallows);
        l->onTouchBegan = [this, name, claims](Touch*, Event*) {
            log.push_back(name + " began");
            return claims;
        };
        l->onTouchMoved = [this, name](Touch*, Event*) { log.push_back(name + " moved"); };
        l->onTouchEnded = [this, name](Touch*, Event*) { log.push_back(name + " ended"); };
        l->onTouchCancelled = [this, name](Touch*, Event*) { log.push_back(name + " cancelled"); };
        dispatcher->addEventListenerWithSceneGraphPriority(l, node);
        return l;
    }

    EventListenerTouchAllAtOnce* allAtOnce(Node* node, const std::string& name) {
        auto* l = EventListenerTouchAllAtOnce::create();
        l->onTouchesBegan = [this, name](const std::vector<Touch*>&, Event*) { log.push_back(name + " began"); };
        l->onTouchesMoved = [this, name](const std::vector<Touch*>&, Event*) { log.push_back(name + " moved"); };
        l->onTouchesEnded = [this, name](const std::vector<Touch*>&, Event*) { log.push_back(name + " ended"); };
        dispatcher->addEventListenerWithSceneGraphPriority(l, node);
        return l;
    }

    void touch(EventTouch::EventCode code, Vec2 at = Vec2(10, 10)) {
        if (code == EventTouch::EventCode::BEGAN) {
            current = Touch::create(0, at);
        } else {
            current->setTouchInfo(0, at.x, at.y);
        }
        EventTouch event;
        event.setEventCode(code);
        event.setTouches({current.get()});
        dispatcher->dispatchEvent(&event);
    }
    void tap() {
        touch(EventTouch::EventCode::BEGAN);
        touch(EventTouch::EventCode::ENDED);
    }
    void key(EventKeyboard::KeyCode code, bool pressed) {
        EventKeyboard event(code, pressed);
        dispatcher->dispatchEvent(&event);
    }

    Scene* scene = nullptr;
    EventDispatcher* dispatcher = nullptr;
    RefPtr<Touch> current;
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST_F(EventDispatcherTest, TopLayerConfirmationSwallowsATapOverASceneButton) {
    Node* button = addNode(scene, "button");
    oneByOne(button, "button", true, true);
    cocos2d::Layer* top = cocos2d::Layer::create();
    director()->setNotificationNode(top);
    top->onEnter();  // the game enters it by hand
    oneByOne(top, "top", true, true);
    tap();
    EXPECT_EQ(log, (Log{"top began", "top ended"}));
    top->onExit();
}

TEST_F(EventDispatcherTest, AFlyClaimKeepsTheTouchFromTheBoard) {
    Node* board = addNode(scene, "board");
    Node* fly = addNode(scene, "fly", 5);
    allAtOnce(board, "board");
    oneByOne(fly, "fly", true, true);
    tap();
    EXPECT_EQ(log, (Log{"fly began", "fly ended"}));
    log.clear();
    // A fly that does not claim leaves the touch to the board.
    dispatcher->removeEventListenersForTarget(fly);
    oneByOne(fly, "fly", false, true);
    tap();
    EXPECT_EQ(log, (Log{"fly began", "board began", "board ended"}));
}

TEST_F(EventDispatcherTest, AListenerPausedMidTouchNeverSeesTheEnd) {
    Node* node = addNode(scene, "n");
    oneByOne(node, "n", true, false);
    Node* boardNode = addNode(scene, "board");
    allAtOnce(boardNode, "board");
    touch(EventTouch::EventCode::BEGAN);
    dispatcher->pauseEventListenersForTarget(node);
    dispatcher->pauseEventListenersForTarget(boardNode);
    touch(EventTouch::EventCode::MOVED);
    dispatcher->resumeEventListenersForTarget(node);
    dispatcher->resumeEventListenersForTarget(boardNode);
    touch(EventTouch::EventCode::MOVED);
    touch(EventTouch::EventCode::ENDED);
    EXPECT_EQ(log, (Log{"n began", "board began"})) << "claims are dropped by the pause";
    log.clear();
    tap();
    EXPECT_EQ(log, (Log{"n began", "board began", "n ended", "board ended"})) << "a fresh touch reaches both";
}

TEST_F(EventDispatcherTest, AListenerRemovedDuringADispatchIsNotCalled) {
    Node* upper = addNode(scene, "upper", 2);
    Node* lower = addNode(scene, "lower", 1);
    EventListenerTouchOneByOne* lowerListener = oneByOne(lower, "lower", true, false);
    auto* upperListener = EventListenerTouchOneByOne::create();
    upperListener->onTouchBegan = [&](Touch*, Event*) {
        log.push_back("upper began");
        dispatcher->removeEventListener(lowerListener);
        return false;
    };
    dispatcher->addEventListenerWithSceneGraphPriority(upperListener, upper);
    tap();
    EXPECT_EQ(log, (Log{"upper began"}));
}

TEST_F(EventDispatcherTest, AListenerAddedDuringADispatchHearsFromTheNextEvent) {
    Node* node = addNode(scene, "n");
    auto* adder = EventListenerTouchOneByOne::create();
    adder->onTouchBegan = [&](Touch*, Event*) {
        log.push_back("adder began");
        if (log.size() == 1) {
            oneByOne(addNode(scene, "late", 9), "late", true, false);
        }
        return false;
    };
    dispatcher->addEventListenerWithSceneGraphPriority(adder, node);
    tap();
    EXPECT_EQ(log, (Log{"adder began"}));
    log.clear();
    tap();
    EXPECT_EQ(log, (Log{"late began", "adder began", "late ended"}));
}

TEST_F(EventDispatcherTest, ANodeDestroyedInsideADispatchIsNeverCalledAgain) {
    Node* popup = addNode(scene, "popup", 3);
    Node* below = addNode(scene, "below", 1);
    oneByOne(below, "below", true, false);
    auto* l = EventListenerTouchOneByOne::create();
    l->onTouchBegan = [&](Touch*, Event*) {
        log.push_back("popup began");
        return true;
    };
    l->onTouchEnded = [&, popup](Touch*, Event*) {
        log.push_back("popup ended");
        popup->removeFromParent();  // its own window closes
    };
    dispatcher->addEventListenerWithSceneGraphPriority(l, popup);
    step();  // the pool lets go; the parent holds the only reference
    tap();
    tap();
    EXPECT_EQ(log, (Log{"popup began", "below began", "popup ended", "below ended", "below began", "below ended"}));
}

TEST_F(EventDispatcherTest, SceneGraphOrderFollowsDrawingFixedPrioritiesBracketIt) {
    Node* parent = addNode(scene, "parent", 0);
    Node* childAbove = addNode(parent, "childAbove", 1);
    Node* childBelow = addNode(parent, "childBelow", -1);
    Node* laterSibling = addNode(scene, "laterSibling", 0);
    Node* raised = addNode(scene, "raised", -5);
    raised->setGlobalZOrder(10);
    for (Node* n : {parent, childAbove, childBelow, laterSibling, raised}) {
        oneByOne(n, n->getName(), false, false);
    }
    auto fixed = [&](int priority) {
        auto* l = EventListenerTouchOneByOne::create();
        l->onTouchBegan = [this, priority](Touch*, Event*) {
            log.push_back("fixed " + std::to_string(priority));
            return false;
        };
        dispatcher->addEventListenerWithFixedPriority(l, priority);
    };
    fixed(5);
    fixed(-1);
    fixed(1);
    fixed(-7);
    touch(EventTouch::EventCode::BEGAN);
    EXPECT_EQ(log, (Log{"fixed -7", "fixed -1", "raised began", "laterSibling began", "childAbove began",
                        "parent began", "childBelow began", "fixed 1", "fixed 5"}));
}

TEST_F(EventDispatcherTest, OneByOneListenersComeBeforeAllAtOnceOnesWhateverTheDepth) {
    Node* host = addNode(scene, "host", 10);
    Node* game = addNode(scene, "game", 0);
    allAtOnce(host, "host");
    oneByOne(game, "game", true, false);
    tap();
    EXPECT_EQ(log, (Log{"game began", "host began", "game ended", "host ended"}));
}

TEST_F(EventDispatcherTest, StopPropagationEndsTheDispatch) {
    Node* a = addNode(scene, "a", 2);
    Node* b = addNode(scene, "b", 1);
    auto* l = EventListenerTouchOneByOne::create();
    l->onTouchBegan = [&](Touch*, Event* e) {
        log.push_back("a began");
        e->stopPropagation();
        return false;
    };
    dispatcher->addEventListenerWithSceneGraphPriority(l, a);
    oneByOne(b, "b", true, false);
    touch(EventTouch::EventCode::BEGAN);
    EXPECT_EQ(log, (Log{"a began"}));
}

TEST_F(EventDispatcherTest, AListenerOfANodeOffStageGetsNothing) {
    RefPtr<Node> node = Node::create();
    oneByOne(node, "n", true, false);
    tap();
    scene->addChild(node);
    node->removeFromParentAndCleanup(false);
    tap();
    EXPECT_TRUE(log.empty());
    scene->addChild(node);
    tap();
    EXPECT_EQ(log, (Log{"n began", "n ended"})) << "cleanup keeps listeners; they resume with the node";
}

TEST_F(EventDispatcherTest, ExplicitPauseSurvivesReEnteringTheStage) {
    Node* node = addNode(scene, "n");
    oneByOne(node, "n", true, false);
    dispatcher->pauseEventListenersForTarget(node);
    node->onExit();
    node->onEnter();
    tap();
    EXPECT_TRUE(log.empty());
    dispatcher->resumeEventListenersForTarget(node);
    tap();
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(EventDispatcherTest, DuringATransitionTapsReachNobodyButAltReleaseReachesTheFixedListener) {
    Node* button = addNode(scene, "button");
    oneByOne(button, "button", true, true);
    auto* sceneKeys = EventListenerKeyboard::create();
    sceneKeys->onKeyReleased = [&](EventKeyboard::KeyCode, Event*) { log.push_back("scene key"); };
    dispatcher->addEventListenerWithSceneGraphPriority(sceneKeys, button);
    auto* appKeys = EventListenerKeyboard::create();
    appKeys->onKeyReleased = [&](EventKeyboard::KeyCode code, Event*) {
        log.push_back(code == EventKeyboard::KeyCode::KEY_ALT ? "app alt" : "app other");
    };
    dispatcher->addEventListenerWithFixedPriority(appKeys, 1);
    auto* mouse = cocos2d::EventListenerMouse::create();
    mouse->onMouseMove = [&](cocos2d::EventMouse*) { log.push_back("mouse move"); };
    mouse->onMouseDown = [&](cocos2d::EventMouse*) { log.push_back("mouse down"); };
    dispatcher->addEventListenerWithFixedPriority(mouse, 666);

    director()->replaceScene(FakeTransition::create());
    step();
    ASSERT_TRUE(director()->isSceneTransitionRunning());
    tap();
    key(EventKeyboard::KeyCode::KEY_ALT, false);
    cocos2d::EventMouse move(cocos2d::EventMouse::MouseEventType::MOUSE_MOVE);
    dispatcher->dispatchEvent(&move);
    cocos2d::EventMouse down(cocos2d::EventMouse::MouseEventType::MOUSE_DOWN);
    dispatcher->dispatchEvent(&down);
    EXPECT_EQ(log, (Log{"app alt", "mouse move"}));
}

TEST_F(EventDispatcherTest, CancellingAllTouchesReachesTheClaimersOnce) {
    Node* node = addNode(scene, "n");
    oneByOne(node, "n", true, false);
    Node* board = addNode(scene, "board");
    auto* l = allAtOnce(board, "board");
    l->onTouchesCancelled = [this](const std::vector<Touch*>&, Event*) { log.push_back("board cancelled"); };
    touch(EventTouch::EventCode::BEGAN);
    dispatcher->cancelAllTouches();
    dispatcher->cancelAllTouches();
    touch(EventTouch::EventCode::ENDED);
    EXPECT_EQ(log, (Log{"n began", "board began", "n cancelled", "board cancelled"}));
}

TEST_F(EventDispatcherTest, KeyEventsGoToEveryListenerUntilStopped) {
    Node* node = addNode(scene, "n");
    auto* first = EventListenerKeyboard::create();
    first->onKeyPressed = [&](EventKeyboard::KeyCode, Event*) { log.push_back("scene"); };
    dispatcher->addEventListenerWithSceneGraphPriority(first, node);
    auto* second = EventListenerKeyboard::create();
    second->onKeyPressed = [&](EventKeyboard::KeyCode, Event* e) {
        log.push_back("fixed");
        e->stopPropagation();
    };
    dispatcher->addEventListenerWithFixedPriority(second, 1);
    auto* third = EventListenerKeyboard::create();
    third->onKeyPressed = [&](EventKeyboard::KeyCode, Event*) { log.push_back("late"); };
    dispatcher->addEventListenerWithFixedPriority(third, 2);
    key(EventKeyboard::KeyCode::KEY_A, true);
    EXPECT_EQ(log, (Log{"scene", "fixed"}));
}

}  // namespace

namespace {

class KeyLayer : public cocos2d::Layer {
public:
    static KeyLayer* create() {
        auto* l = new KeyLayer();
        l->init();
        l->autorelease();
        return l;
    }
    void onKeyReleased(cocos2d::EventKeyboard::KeyCode code, cocos2d::Event*) override {
        released.push_back(static_cast<int>(code));
    }
    std::vector<int> released;
};

class LayerKeyboardTest : public enginetest::HeadlessEngine {};

TEST_F(LayerKeyboardTest, KeyboardEnabledLayerHearsKeysUntilDisabled) {
    auto* scene = cocos2d::Scene::create();
    director()->runWithScene(scene);
    step();
    KeyLayer* layer = KeyLayer::create();
    scene->addChild(layer);
    auto send = [](EventKeyboard::KeyCode code) {
        EventKeyboard event(code, false);
        director()->getEventDispatcher()->dispatchEvent(&event);
    };
    send(EventKeyboard::KeyCode::KEY_A);
    layer->setKeyboardEnabled(true);
    send(EventKeyboard::KeyCode::KEY_BACKSPACE);
    layer->setKeyboardEnabled(false);
    send(EventKeyboard::KeyCode::KEY_B);
    EXPECT_EQ(layer->released, (std::vector<int>{7}));
}

}  // namespace
