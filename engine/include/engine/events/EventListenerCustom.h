#pragma once

#include <functional>
#include <string>

#include "engine/events/EventListener.h"

namespace cocos2d {

class EventCustom;

class EventListenerCustom : public EventListener {
public:
    static EventListenerCustom* create(const std::string& eventName, const std::function<void(EventCustom*)>& callback);

    bool checkAvailable() override { return static_cast<bool>(_onCustomEvent); }
    const std::string& getEventName() const { return _eventName; }
    void invoke(EventCustom* event) const { _onCustomEvent(event); }

private:
    EventListenerCustom() : EventListener(Type::CUSTOM) {}
    std::string _eventName;
    std::function<void(EventCustom*)> _onCustomEvent;
};

}  // namespace cocos2d
