#pragma once

#include <functional>
#include <vector>

#include "engine/events/EventListener.h"

namespace cocos2d {

class Event;
class Touch;

// Touches one at a time. onTouchBegan returning true claims the touch: its moves, end and cancel then
// come only to the listeners that claimed it. A swallowing claimer removes the touch from the event for
// every later listener, all-at-once ones included.
class EventListenerTouchOneByOne : public EventListener {
public:
    static EventListenerTouchOneByOne* create();

    bool checkAvailable() override { return static_cast<bool>(onTouchBegan); }
    void setSwallowTouches(bool swallow) { _swallowTouches = swallow; }
    bool isSwallowTouches() const { return _swallowTouches; }

    std::function<bool(Touch*, Event*)> onTouchBegan;
    std::function<void(Touch*, Event*)> onTouchMoved;
    std::function<void(Touch*, Event*)> onTouchEnded;
    std::function<void(Touch*, Event*)> onTouchCancelled;

private:
    EventListenerTouchOneByOne() : EventListener(Type::TOUCH_ONE_BY_ONE) {}
    bool _swallowTouches = false;
};

// All touches of an event not swallowed before it; moves and ends only of touches whose began it saw.
class EventListenerTouchAllAtOnce : public EventListener {
public:
    static EventListenerTouchAllAtOnce* create();

    bool checkAvailable() override {
        return onTouchesBegan || onTouchesMoved || onTouchesEnded || onTouchesCancelled;
    }

    std::function<void(const std::vector<Touch*>&, Event*)> onTouchesBegan;
    std::function<void(const std::vector<Touch*>&, Event*)> onTouchesMoved;
    std::function<void(const std::vector<Touch*>&, Event*)> onTouchesEnded;
    std::function<void(const std::vector<Touch*>&, Event*)> onTouchesCancelled;

private:
    EventListenerTouchAllAtOnce() : EventListener(Type::TOUCH_ALL_AT_ONCE) {}
};

}  // namespace cocos2d
