#include <new>

#include "engine/events/EventListenerCustom.h"
#include "engine/events/EventListenerKeyboard.h"
#include "engine/events/EventListenerMouse.h"
#include "engine/events/EventListenerTouch.h"

namespace cocos2d {
namespace {

template <typename T>
T* finishCreate(T* listener) {
    if (listener) {
        listener->autorelease();
    }
    return listener;
}

}  // namespace

EventListenerTouchOneByOne* EventListenerTouchOneByOne::create() {
    return finishCreate(new (std::nothrow) EventListenerTouchOneByOne());
}

EventListenerTouchAllAtOnce* EventListenerTouchAllAtOnce::create() {
    return finishCreate(new (std::nothrow) EventListenerTouchAllAtOnce());
}

EventListenerMouse* EventListenerMouse::create() {
    return finishCreate(new (std::nothrow) EventListenerMouse());
}

EventListenerKeyboard* EventListenerKeyboard::create() {
    return finishCreate(new (std::nothrow) EventListenerKeyboard());
}

EventListenerCustom* EventListenerCustom::create(const std::string& eventName,
                                                 const std::function<void(EventCustom*)>& callback) {
    auto* listener = new (std::nothrow) EventListenerCustom();
    if (listener) {
        listener->_eventName = eventName;
        listener->_onCustomEvent = callback;
    }
    return finishCreate(listener);
}

}  // namespace cocos2d
