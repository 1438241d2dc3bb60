#include <functional>
#include <string>
#include <vector>

#include "engine/base/RefPtr.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/scene/Node.h"
#include "engine/ui/Button.h"
#include "engine/ui/Layout.h"
#include "WidgetFixture.h"

namespace {

using cocos2d::Node;
using cocos2d::RefPtr;
using cocos2d::Size;
using cocos2d::Vec2;
using cocos2d::ui::Button;
using cocos2d::ui::Layout;
using cocos2d::ui::Widget;
using Log = std::vector<std::string>;

const char* typeName(Widget::TouchEventType type) {
    switch (type) {
        case Widget::TouchEventType::BEGAN:
            return "began";
        case Widget::TouchEventType::MOVED:
            return "moved";
        case Widget::TouchEventType::ENDED:
            return "ended";
        case Widget::TouchEventType::CANCELED:
            return "canceled";
    }
    return "?";
}

class WidgetTouchTest : public enginetest::WidgetFixture {
protected:
    void SetUp() override {
        WidgetFixture::SetUp();
        log.clear();
        addTexture("btn.png", 100, 40);
        holder = Node::create();
        scene->addChild(holder);
        button = Button::create("btn.png");
        button->setPosition(400, 300);  // covers (350..450, 280..320)
        holder->addChild(button);
        listen(button, "button");
    }

    void listen(Widget* widget, const std::string& name) {
        widget->addTouchEventListener([this, name](cocos2d::Ref*, Widget::TouchEventType type) {
            log.push_back(name + " " + typeName(type));
        });
        widget->addClickEventListener([this, name](cocos2d::Ref*) { log.push_back(name + " click"); });
    }

public:
    Node* holder = nullptr;
    Button* button = nullptr;
    Log log;
};

TEST_F(WidgetTouchTest, AButtonClaimsATapOnlyWhenEveryRuleHolds) {
    struct Case {
        const char* what;
        std::function<void(WidgetTouchTest&)> arrange;
        Vec2 at;
        bool clicks;
    };
    const Case cases[] = {
        {"a tap inside", [](WidgetTouchTest&) {}, Vec2(400, 300), true},
        {"on the edge of its rectangle", [](WidgetTouchTest&) {}, Vec2(350, 280), true},
        {"a tap outside", [](WidgetTouchTest&) {}, Vec2(460, 300), false},
        {"the button hidden", [](WidgetTouchTest& t) { t.button->setVisible(false); }, Vec2(400, 300), false},
        {"a plain ancestor hidden", [](WidgetTouchTest& t) { t.holder->setVisible(false); }, Vec2(400, 300),
         false},
        {"the button disabled", [](WidgetTouchTest& t) { t.button->setEnabled(false); }, Vec2(400, 300),
         false},
        {"touch turned off", [](WidgetTouchTest& t) { t.button->setTouchEnabled(false); }, Vec2(400, 300),
         false},
        {"a widget ancestor disabled",
         [](WidgetTouchTest& t) {
             Layout* panel = Layout::create();
             t.scene->addChild(panel);
             RefPtr<Button> keep(t.button);
             t.button->removeFromParent();
             panel->addChild(t.button);
             panel->setEnabled(false);
         },
         Vec2(400, 300), false},
        {"the button off stage", [](WidgetTouchTest& t) { t.holder->removeFromParentAndCleanup(false); },
         Vec2(400, 300), false},
        {"dimmed, which changes only the look", [](WidgetTouchTest& t) { t.button->setBright(false); },
         Vec2(400, 300), true},
        {"inside the button but outside a clipping ancestor",
         [](WidgetTouchTest& t) {
             Layout* clip = Layout::create();
             clip->setClippingEnabled(true);
             clip->setContentSize(Size(400, 300));  // (0..400, 0..300)
             t.scene->addChild(clip);
             RefPtr<Button> keep(t.button);
             t.button->removeFromParent();
             clip->addChild(t.button);
         },
         Vec2(420, 290), false},
        {"inside the clipping ancestor as well",
         [](WidgetTouchTest& t) {
             Layout* clip = Layout::create();
             clip->setClippingEnabled(true);
             clip->setContentSize(Size(400, 300));
             t.scene->addChild(clip);
             RefPtr<Button> keep(t.button);
             t.button->removeFromParent();
             clip->addChild(t.button);
         },
         Vec2(380, 290), true},
        // Turned 90 degrees the button covers (380..420, 250..350): a point of the unturned rectangle
        // that the turned one leaves out, and one that only the turned one covers.
        {"outside its rotated rectangle", [](WidgetTouchTest& t) { t.button->setRotation(90); },
         Vec2(440, 300), false},
        {"inside its rotated rectangle", [](WidgetTouchTest& t) { t.button->setRotation(90); },
         Vec2(400, 340), true},
        {"scaled up by a plain ancestor", [](WidgetTouchTest& t) { t.holder->setScale(2.0f); },
         Vec2(880, 600), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        c.arrange(*this);
        tap(c.at);
        const Log expected = c.clicks ? Log{"button began", "button ended", "button click"} : Log{};
        EXPECT_EQ(log, expected);
    }
}

TEST_F(WidgetTouchTest, TouchEventsFollowTheFingerAndTheClickComesAfterEnded) {
    began(Vec2(400, 300));
    EXPECT_TRUE(button->isHighlighted());
    moved(Vec2(500, 300));  // out: no longer highlighted
    EXPECT_FALSE(button->isHighlighted());
    moved(Vec2(410, 300));  // back in
    EXPECT_TRUE(button->isHighlighted());
    ended(Vec2(410, 305));
    EXPECT_FALSE(button->isHighlighted());
    EXPECT_EQ(log, (Log{"button began", "button moved", "button moved", "button ended", "button click"}));

    log.clear();
    began(Vec2(400, 300));
    ended(Vec2(600, 300));
    EXPECT_EQ(log, (Log{"button began", "button canceled"})) << "a release outside is a cancel, not a click";

    log.clear();
    began(Vec2(400, 300));
    cancelled(Vec2(400, 300));
    EXPECT_EQ(log, (Log{"button began", "button canceled"}));
    EXPECT_FALSE(button->isHighlighted());
}

TEST_F(WidgetTouchTest, AWidgetDisabledOrHiddenWhileHeldGivesNoClick) {
    began(Vec2(400, 300));
    button->setEnabled(false);
    ended(Vec2(400, 300));
    button->setEnabled(true);
    began(Vec2(400, 300));
    holder->setVisible(false);
    ended(Vec2(400, 300));
    EXPECT_EQ(log, (Log{"button began", "button canceled", "button began", "button canceled"}));
}

TEST_F(WidgetTouchTest, ALaterListenerReplacesTheEarlierOne) {
    int first = 0;
    int second = 0;
    button->addClickEventListener([&](cocos2d::Ref*) { ++first; });
    button->addClickEventListener([&](cocos2d::Ref*) { ++second; });
    Log touches;
    button->addTouchEventListener([&](cocos2d::Ref*, Widget::TouchEventType) { touches.push_back("first"); });
    button->addTouchEventListener(
        [&](cocos2d::Ref*, Widget::TouchEventType t) { touches.push_back(typeName(t)); });
    tap(Vec2(400, 300));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(touches, (Log{"began", "ended"}));
}

TEST_F(WidgetTouchTest, AClaimedTouchIsSwallowedUnlessTheWidgetLetsItThrough) {
    // A listener on a node drawn below the button (an earlier sibling) hears after it.
    Node* board = Node::create();
    scene->addChild(board, -1);
    auto* below = cocos2d::EventListenerTouchOneByOne::create();
    below->onTouchBegan = [this](cocos2d::Touch*, cocos2d::Event*) {
        log.push_back("board began");
        return true;
    };
    director()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(below, board);

    tap(Vec2(400, 300));
    EXPECT_EQ(log, (Log{"button began", "button ended", "button click"}));

    log.clear();
    tap(Vec2(600, 300));
    EXPECT_EQ(log, (Log{"board began"})) << "an unclaimed touch goes on";

    log.clear();
    button->setSwallowTouches(false);
    tap(Vec2(400, 300));
    EXPECT_EQ(log, (Log{"button began", "board began", "button ended", "button click"}));
}

// Sets a flag when it dies: given as a node's user object, it tells when the node is destroyed.
class DeathFlag : public cocos2d::Ref {
public:
    explicit DeathFlag(bool* dead) : _dead(dead) {}
    ~DeathFlag() override { *_dead = true; }

private:
    bool* _dead;
};

TEST_F(WidgetTouchTest, AClickThatRemovesItsOwnContainerKeepsTheButtonAliveUntilItReturns) {
    Layout* window = Layout::create();
    scene->addChild(window);
    Button* yes = Button::create("btn.png");
    yes->setPosition(200, 200);
    window->addChild(yes);
    bool dead = false;
    auto* flag = new DeathFlag(&dead);
    yes->setUserObject(flag);
    flag->release();
    Log seen;
    yes->addTouchEventListener([&](cocos2d::Ref*, Widget::TouchEventType t) { seen.push_back(typeName(t)); });
    yes->addClickEventListener([&](cocos2d::Ref* sender) {
        window->removeFromParent();  // the window, and with it the button, lose their last parent
        EXPECT_FALSE(dead) << "the button is retained around its own callback";
        seen.push_back("click " + static_cast<Button*>(sender)->getName());
    });
    step();  // only the scene graph holds the window and the button now
    tap(Vec2(200, 200));
    EXPECT_EQ(seen, (Log{"began", "ended", "click "}));
    step();  // the pool drains
    EXPECT_TRUE(dead) << "nothing else keeps it";
    tap(Vec2(200, 200));
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(WidgetTouchTest, ATouchListenerMayRemoveTheWidgetOnBegan) {
    button->addTouchEventListener([this](cocos2d::Ref*, Widget::TouchEventType t) {
        log.push_back(typeName(t));
        if (t == Widget::TouchEventType::BEGAN) {
            button->removeFromParent();
        }
    });
    began(Vec2(400, 300));
    step();
    ended(Vec2(400, 300));  // the claim died with the listener
    EXPECT_EQ(log, (Log{"began"}));
}

}  // namespace
