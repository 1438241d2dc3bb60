#include "platform/sdl/EventPump.h"

#include <vector>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventKeyboard.h"
#include "engine/events/EventMouse.h"
#include "engine/events/EventTouch.h"
#include "engine/platform/Application.h"
#include "engine/platform/GLViewImpl.h"
#include "engine/platform/TextInput.h"
#include "platform/sdl/KeyTable.h"
#include "platform/sdl/TerminationSignals.h"

namespace cocos2d {
namespace {

EventDispatcher* dispatcher() {
    return Director::getInstance()->getEventDispatcher();
}

EventMouse::MouseButton buttonFor(Uint8 sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT:
            return EventMouse::MouseButton::BUTTON_LEFT;
        case SDL_BUTTON_RIGHT:
            return EventMouse::MouseButton::BUTTON_RIGHT;
        case SDL_BUTTON_MIDDLE:
            return EventMouse::MouseButton::BUTTON_MIDDLE;
        case SDL_BUTTON_X1:
            return EventMouse::MouseButton::BUTTON_4;
        case SDL_BUTTON_X2:
            return EventMouse::MouseButton::BUTTON_5;
        default:
            return EventMouse::MouseButton::BUTTON_UNSET;
    }
}

}  // namespace

void EventPump::pollAll() {
    if (const int signal = pendingTerminationSignal(); signal != 0 && !_terminating) {
        _terminating = true;
        log("Application: signal %d received; saving and ending", signal);
        if (Application* app = Application::getInstance()) {
            app->applicationDidEnterBackground();
        }
        Director::getInstance()->end();
        return;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        handle(event);
    }
    if (_resized) {
        // The viewport first, then the hook, at most once per frame.
        _resized = false;
        _view->refreshFrameSize();
        if (Application* app = Application::getInstance()) {
            app->onWindowResized();
        }
    }
}

void EventPump::handle(const SDL_Event& event) {
    switch (event.type) {
        case SDL_WINDOWEVENT:
            onWindowEvent(event.window);
            break;
        case SDL_QUIT:
            requestClose();
            break;
        case SDL_KEYDOWN:
            onKey(event.key, true);
            break;
        case SDL_KEYUP:
            onKey(event.key, false);
            break;
        case SDL_TEXTINPUT:
            if (TextInputReceiver* receiver = TextInput::getAttached()) {
                receiver->insertText(event.text.text);
            }
            break;
        case SDL_MOUSEMOTION:
            onMouseMotion(event.motion);
            break;
        case SDL_MOUSEBUTTONDOWN:
            onMouseButton(event.button, true);
            break;
        case SDL_MOUSEBUTTONUP:
            onMouseButton(event.button, false);
            break;
        case SDL_MOUSEWHEEL:
            onMouseWheel(event.wheel);
            break;
        case SDL_FINGERDOWN:
        case SDL_FINGERMOTION:
        case SDL_FINGERUP:
            onFinger(event.tfinger);
            break;
        default:
            break;
    }
}

void EventPump::onWindowEvent(const SDL_WindowEvent& event) {
    Application* app = Application::getInstance();
    switch (event.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST:
            focusLost();
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (!_minimized) {
                focusGained();
            }
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            if (_minimized) {
                break;
            }
            focusLost();
            _minimized = true;
            if (app) {
                app->applicationDidEnterBackground();
            }
            break;
        case SDL_WINDOWEVENT_RESTORED:
            if (!_minimized) {
                break;
            }
            _minimized = false;
            Director::getInstance()->resetFrameClock();
            if (app) {
                app->applicationWillEnterForeground();
            }
            if (_view->hasInputFocus()) {
                focusGained();
            }
            break;
        case SDL_WINDOWEVENT_CLOSE:
            requestClose();
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESIZED:
            _resized = true;
            break;
        default:
            break;
    }
}

void EventPump::focusLost() {
    if (!_focused) {
        return;
    }
    _focused = false;
    releaseHeldKeys();
    cancelTouches();
    if (Application* app = Application::getInstance()) {
        app->onFocusLost();
    }
}

void EventPump::focusGained() {
    if (_focused) {
        return;
    }
    _focused = true;
    if (Application* app = Application::getInstance()) {
        app->onFocusResumed();
    }
}

void EventPump::requestClose() {
    if (_closePending) {
        return;  // the window-close and quit events of one request
    }
    _closePending = true;
    if (Application* app = Application::getInstance()) {
        app->onCloseRequest();
    }
    if (_closePending) {
        _closePending = false;
        Director::getInstance()->end();
    }
}

void EventPump::releaseHeldKeys() {
    const std::set<EventKeyboard::KeyCode> held = _heldKeys;
    _heldKeys.clear();
    for (EventKeyboard::KeyCode code : held) {
        _releasedByFocusLoss.insert(code);
        EventKeyboard release(code, false);
        dispatcher()->dispatchEvent(&release);
    }
}

void EventPump::cancelTouches() {
    if (_mouseTouch) {
        _mouseTouch.reset();
    }
    _fingers.clear();
    dispatcher()->cancelAllTouches();
}

void EventPump::onKey(const SDL_KeyboardEvent& event, bool down) {
    const EventKeyboard::KeyCode code = keytable::fromSdl(event.keysym.sym);
    if (code == EventKeyboard::KeyCode::KEY_NONE) {
        return;
    }
    if (down) {
        if (event.repeat) {
            // One press per physical press for listeners; a held Backspace still deletes text.
            if (code == EventKeyboard::KeyCode::KEY_BACKSPACE) {
                if (TextInputReceiver* receiver = TextInput::getAttached()) {
                    receiver->deleteBackward();
                }
            }
            return;
        }
        _releasedByFocusLoss.erase(code);
        _heldKeys.insert(code);
        EventKeyboard press(code, true);
        dispatcher()->dispatchEvent(&press);
        if (code == EventKeyboard::KeyCode::KEY_BACKSPACE) {
            if (TextInputReceiver* receiver = TextInput::getAttached()) {
                receiver->deleteBackward();
            }
        }
        return;
    }
    if (_releasedByFocusLoss.erase(code) != 0) {
        return;  // already released when focus went
    }
    _heldKeys.erase(code);
    EventKeyboard release(code, false);
    dispatcher()->dispatchEvent(&release);
}

Vec2 EventPump::windowToDesignView(float x, float y) const {
    const Vec2 pixels = _view->windowToFramePixels(Vec2(x, y));
    return _view->framePixelsToDesignView(pixels);
}

Vec2 EventPump::windowToDesign(float x, float y) const {
    return Director::getInstance()->convertToGL(windowToDesignView(x, y));
}

void EventPump::dispatchTouch(int phase, Touch* touch) {
    EventTouch event;
    event.setEventCode(static_cast<EventTouch::EventCode>(phase));
    event.setTouches(std::vector<Touch*>{touch});
    dispatcher()->dispatchEvent(&event);
}

void EventPump::onMouseMotion(const SDL_MouseMotionEvent& event) {
    if (event.which == SDL_TOUCH_MOUSEID) {
        return;  // synthesised from a finger, which has its own events
    }
    const Vec2 location = windowToDesign(static_cast<float>(event.x), static_cast<float>(event.y));
    EventMouse move(EventMouse::MouseEventType::MOUSE_MOVE);
    move.setCursorPosition(_lastMouse.x, _lastMouse.y);
    move.setCursorPosition(location.x, location.y);
    if (event.state & SDL_BUTTON_LMASK) {
        move.setMouseButton(EventMouse::MouseButton::BUTTON_LEFT);
    }
    _lastMouse = location;
    dispatcher()->dispatchEvent(&move);
    if (_mouseTouch) {
        // Every motion while the button is held is one moved touch, never coalesced.
        const Vec2 view = windowToDesignView(static_cast<float>(event.x), static_cast<float>(event.y));
        RefPtr<Touch> touch = _mouseTouch;
        touch->setTouchInfo(0, view.x, view.y);
        dispatchTouch(static_cast<int>(EventTouch::EventCode::MOVED), touch);
    }
}

void EventPump::onMouseButton(const SDL_MouseButtonEvent& event, bool down) {
    if (event.which == SDL_TOUCH_MOUSEID) {
        return;
    }
    const Vec2 location = windowToDesign(static_cast<float>(event.x), static_cast<float>(event.y));
    _lastMouse = location;
    EventMouse mouse(down ? EventMouse::MouseEventType::MOUSE_DOWN : EventMouse::MouseEventType::MOUSE_UP);
    mouse.setCursorPosition(location.x, location.y);
    mouse.setCursorPosition(location.x, location.y);
    mouse.setMouseButton(buttonFor(event.button));
    dispatcher()->dispatchEvent(&mouse);
    if (event.button != SDL_BUTTON_LEFT) {
        return;
    }
    const Vec2 view = windowToDesignView(static_cast<float>(event.x), static_cast<float>(event.y));
    if (down) {
        if (_mouseTouch) {
            return;
        }
        _mouseTouch = Touch::create(0, view);
        RefPtr<Touch> touch = _mouseTouch;
        dispatchTouch(static_cast<int>(EventTouch::EventCode::BEGAN), touch);
    } else if (_mouseTouch) {
        RefPtr<Touch> touch = _mouseTouch;
        _mouseTouch.reset();
        touch->setTouchInfo(0, view.x, view.y);
        dispatchTouch(static_cast<int>(EventTouch::EventCode::ENDED), touch);
    }
}

void EventPump::onMouseWheel(const SDL_MouseWheelEvent& event) {
    if (event.which == SDL_TOUCH_MOUSEID) {
        return;
    }
    EventMouse scroll(EventMouse::MouseEventType::MOUSE_SCROLL);
    scroll.setCursorPosition(_lastMouse.x, _lastMouse.y);
    scroll.setCursorPosition(_lastMouse.x, _lastMouse.y);
    scroll.setScrollData(static_cast<float>(event.x), static_cast<float>(-event.y));
    dispatcher()->dispatchEvent(&scroll);
}

void EventPump::onFinger(const SDL_TouchFingerEvent& event) {
    const Size frame = _view->getFrameSize();
    const Vec2 view = _view->framePixelsToDesignView(Vec2(event.x * frame.width, event.y * frame.height));
    auto found = _fingers.find(event.fingerId);
    if (event.type == SDL_FINGERDOWN) {
        if (found != _fingers.end()) {
            return;
        }
        RefPtr<Touch> touch = Touch::create(_nextFingerId++, view);
        _fingers.emplace(event.fingerId, touch);
        dispatchTouch(static_cast<int>(EventTouch::EventCode::BEGAN), touch);
        return;
    }
    if (found == _fingers.end()) {
        return;
    }
    RefPtr<Touch> touch = found->second;
    touch->setTouchInfo(touch->getID(), view.x, view.y);
    if (event.type == SDL_FINGERUP) {
        _fingers.erase(found);
        if (_fingers.empty()) {
            _nextFingerId = 1;
        }
        dispatchTouch(static_cast<int>(EventTouch::EventCode::ENDED), touch);
    } else {
        dispatchTouch(static_cast<int>(EventTouch::EventCode::MOVED), touch);
    }
}

}  // namespace cocos2d
