#pragma once

#include <SDL.h>

#include <map>
#include <set>

#include "engine/base/RefPtr.h"
#include "engine/events/EventKeyboard.h"
#include "engine/events/Touch.h"
#include "engine/math/Vec2.h"

namespace cocos2d {

class GLViewImpl;

// Turns SDL events into the engine's: window hooks of the Application, keyboard, mouse and touch
// events, text input. Runs on the main thread at the start of a frame.
class EventPump {
public:
    explicit EventPump(GLViewImpl* view) : _view(view) {}

    // Drains SDL's queue. Window hooks run as their events arrive; a resize is applied once after.
    void pollAll();
    void handle(const SDL_Event& event);

    bool isClosePending() const { return _closePending; }
    void discardClose() { _closePending = false; }
    void setFocused(bool focused) { _focused = focused; }

private:
    void onWindowEvent(const SDL_WindowEvent& event);
    void onKey(const SDL_KeyboardEvent& event, bool down);
    void onMouseMotion(const SDL_MouseMotionEvent& event);
    void onMouseButton(const SDL_MouseButtonEvent& event, bool down);
    void onMouseWheel(const SDL_MouseWheelEvent& event);
    void onFinger(const SDL_TouchFingerEvent& event);
    void focusLost();
    void focusGained();
    void requestClose();
    void releaseHeldKeys();
    void cancelTouches();
    void dispatchTouch(int phase, Touch* touch);
    // Window coordinates (SDL's, y down) to design points (y up).
    Vec2 windowToDesign(float x, float y) const;
    Vec2 windowToDesignView(float x, float y) const;

    GLViewImpl* _view;
    bool _focused = true;
    bool _minimized = false;
    bool _closePending = false;
    bool _resized = false;
    bool _terminating = false;
    std::set<EventKeyboard::KeyCode> _heldKeys;
    std::set<EventKeyboard::KeyCode> _releasedByFocusLoss;
    RefPtr<Touch> _mouseTouch;
    std::map<SDL_FingerID, RefPtr<Touch>> _fingers;
    int _nextFingerId = 1;
    Vec2 _lastMouse;
};

}  // namespace cocos2d
