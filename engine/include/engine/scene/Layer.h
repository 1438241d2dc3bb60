#pragma once

#include "engine/events/EventKeyboard.h"
#include "engine/scene/Node.h"

namespace cocos2d {

class Event;
class EventListenerKeyboard;
class Touch;

// A full-size container: content size the design size, anchor (0.5, 0.5) ignored for position. It
// registers no listener by itself; the touch and key virtuals are for the game to bind.
class Layer : public Node {
public:
    static Layer* create();
    bool init() override;

    virtual bool onTouchBegan(Touch* touch, Event* event);
    virtual void onTouchMoved(Touch* touch, Event* event);
    virtual void onTouchEnded(Touch* touch, Event* event);
    virtual void onTouchCancelled(Touch* touch, Event* event);
    virtual void onKeyPressed(EventKeyboard::KeyCode keyCode, Event* event);
    virtual void onKeyReleased(EventKeyboard::KeyCode keyCode, Event* event);

    // Adds (true) or removes (false) a scene-graph keyboard listener calling the key virtuals.
    virtual void setKeyboardEnabled(bool enabled);
    bool isKeyboardEnabled() const { return _keyboardListener != nullptr; }

    ~Layer() override;

protected:
    Layer() = default;

    EventListenerKeyboard* _keyboardListener = nullptr;
};

}  // namespace cocos2d
