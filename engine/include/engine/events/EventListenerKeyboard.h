#pragma once

#include <functional>

#include "engine/events/EventKeyboard.h"
#include "engine/events/EventListener.h"

namespace cocos2d {

class EventListenerKeyboard : public EventListener {
public:
    static EventListenerKeyboard* create();

    bool checkAvailable() override { return onKeyPressed || onKeyReleased; }

    std::function<void(EventKeyboard::KeyCode, Event*)> onKeyPressed;
    std::function<void(EventKeyboard::KeyCode, Event*)> onKeyReleased;

private:
    EventListenerKeyboard() : EventListener(Type::KEYBOARD) {}
};

}  // namespace cocos2d
