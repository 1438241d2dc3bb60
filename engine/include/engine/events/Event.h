#pragma once

#include "engine/base/Ref.h"

namespace cocos2d {

class Node;

class Event : public Ref {
public:
    enum class Type { TOUCH, KEYBOARD, ACCELERATION, MOUSE, FOCUS, GAME_CONTROLLER, CUSTOM };

    Type getType() const { return _type; }
    // No later listener gets this event.
    void stopPropagation() { _stopped = true; }
    bool isStopped() const { return _stopped; }
    // The node of the listener being called (null for fixed-priority listeners).
    Node* getCurrentTarget() const { return _currentTarget; }

    // Set by the dispatcher.
    void setCurrentTarget(Node* target) { _currentTarget = target; }
    void resetStopped() { _stopped = false; }

protected:
    explicit Event(Type type) : _type(type) {}

private:
    Type _type;
    bool _stopped = false;
    Node* _currentTarget = nullptr;
};

}  // namespace cocos2d
