#pragma once

#include "engine/events/Event.h"
#include "engine/math/Vec2.h"

namespace cocos2d {

class EventMouse : public Event {
public:
    enum class MouseEventType { MOUSE_NONE, MOUSE_DOWN, MOUSE_UP, MOUSE_MOVE, MOUSE_SCROLL };
    enum class MouseButton {
        BUTTON_UNSET = -1,
        BUTTON_LEFT = 0,
        BUTTON_RIGHT = 1,
        BUTTON_MIDDLE = 2,
        BUTTON_4 = 3,
        BUTTON_5 = 4
    };

    explicit EventMouse(MouseEventType mouseEventCode) : Event(Type::MOUSE), _mouseEventType(mouseEventCode) {}

    MouseEventType getMouseEventType() const { return _mouseEventType; }
    void setMouseEventType(MouseEventType type) { _mouseEventType = type; }

    // Design coordinates, y up.
    void setCursorPosition(float x, float y) {
        _previous = _location;
        _location = Vec2(x, y);
    }
    Vec2 getLocation() const { return _location; }
    Vec2 getPreviousLocation() const { return _previous; }
    Vec2 getDelta() const { return _location - _previous; }
    float getCursorX() const { return _location.x; }
    float getCursorY() const { return _location.y; }

    void setMouseButton(MouseButton button) { _button = button; }
    MouseButton getMouseButton() const { return _button; }

    void setScrollData(float scrollX, float scrollY) {
        _scrollX = scrollX;
        _scrollY = scrollY;
    }
    float getScrollX() const { return _scrollX; }
    float getScrollY() const { return _scrollY; }

private:
    MouseEventType _mouseEventType;
    MouseButton _button = MouseButton::BUTTON_UNSET;
    Vec2 _location;
    Vec2 _previous;
    float _scrollX = 0.0f;
    float _scrollY = 0.0f;
};

}  // namespace cocos2d
