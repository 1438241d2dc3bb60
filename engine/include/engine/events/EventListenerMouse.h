#pragma once

#include <functional>

#include "engine/events/EventListener.h"

namespace cocos2d {

class EventMouse;

// Every pointer motion is one move; buttons give down and up. Never swallowed.
class EventListenerMouse : public EventListener {
public:
    static EventListenerMouse* create();

    bool checkAvailable() override { return true; }

    std::function<void(EventMouse*)> onMouseDown;
    std::function<void(EventMouse*)> onMouseUp;
    std::function<void(EventMouse*)> onMouseMove;
    std::function<void(EventMouse*)> onMouseScroll;

private:
    EventListenerMouse() : EventListener(Type::MOUSE) {}
};

}  // namespace cocos2d
