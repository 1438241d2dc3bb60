#pragma once

#include <cstdint>

#include "engine/base/Ref.h"

namespace cocos2d {

class Node;

// The base of every listener. The dispatcher retains the listeners it holds. A listener hears events
// only while it is registered, enabled, not paused and, for a scene-graph listener, while its node runs.
class EventListener : public Ref {
public:
    enum class Type { UNKNOWN, TOUCH_ONE_BY_ONE, TOUCH_ALL_AT_ONCE, KEYBOARD, MOUSE, ACCELERATION, FOCUS, CUSTOM };

    Type getType() const { return _type; }
    // False when no callback is set that the listener's kind needs.
    virtual bool checkAvailable() = 0;

    void setEnabled(bool enabled) { _enabled = enabled; }
    bool isEnabled() const { return _enabled; }

    // Dispatcher bookkeeping.
    bool isRegistered() const { return _registered; }
    void setRegistered(bool registered) { _registered = registered; }
    bool isPaused() const { return _paused; }
    void setPaused(bool paused) { _paused = paused; }
    Node* getAssociatedNode() const { return _node; }
    void setAssociatedNode(Node* node) { _node = node; }
    int getFixedPriority() const { return _fixedPriority; }
    void setFixedPriority(int priority) { _fixedPriority = priority; }
    uint64_t getRegistrationOrder() const { return _registrationOrder; }
    void setRegistrationOrder(uint64_t order) { _registrationOrder = order; }

protected:
    explicit EventListener(Type type) : _type(type) {}

private:
    Type _type;
    bool _enabled = true;
    bool _registered = false;
    bool _paused = false;
    Node* _node = nullptr;
    int _fixedPriority = 0;
    uint64_t _registrationOrder = 0;
};

}  // namespace cocos2d
