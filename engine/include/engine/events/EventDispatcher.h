#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/base/Ref.h"
#include "engine/base/RefPtr.h"
#include "engine/events/EventListener.h"

namespace cocos2d {

class Event;
class EventCustom;
class EventListenerCustom;
class EventKeyboard;
class EventMouse;
class EventTouch;
class Node;
class Touch;

// Delivers events to listeners. Order for one event: fixed priorities below 0 (lowest first), then
// scene-graph listeners (the notification node's tree first, then the running scene's; within a tree
// higher global z first, then the node drawn later first; listeners of one node in registration
// order), then fixed priorities above 0. For touches, every one-by-one listener precedes every
// all-at-once listener. A listener added during a dispatch hears from the next event on; one removed
// (or whose node is destroyed) is never called again. While a scene transition runs, touches, mouse
// buttons and scene-graph keyboard listeners get nothing.
class EventDispatcher : public Ref {
public:
    static EventDispatcher* create();
    ~EventDispatcher() override;

    // The listener belongs to the node: it hears only while the node runs, and dies with the node.
    void addEventListenerWithSceneGraphPriority(EventListener* listener, Node* node);
    // The priority must not be 0.
    void addEventListenerWithFixedPriority(EventListener* listener, int fixedPriority);
    EventListenerCustom* addCustomEventListener(const std::string& eventName,
                                                const std::function<void(EventCustom*)>& callback);

    void removeEventListener(EventListener* listener);
    void removeEventListenersForTarget(Node* target, bool recursive = false);
    void removeEventListenersForType(EventListener::Type type);
    void removeCustomEventListeners(const std::string& eventName);
    void removeAllEventListeners();

    // An explicit pause flag of the target's own listeners; onEnter does not clear it.
    void pauseEventListenersForTarget(Node* target, bool recursive = false);
    void resumeEventListenersForTarget(Node* target, bool recursive = false);

    void setEnabled(bool enabled) { _enabled = enabled; }
    bool isEnabled() const { return _enabled; }

    void dispatchEvent(Event* event);
    void dispatchCustomEvent(const std::string& eventName, void* userData = nullptr);

    // Sends a cancel of every touch in progress to the listeners that know it (focus loss).
    void cancelAllTouches();
    bool hasListener(const EventListener* listener) const;
    size_t getListenerCount() const;

private:
    struct TouchClaims {
        RefPtr<Touch> touch;
        std::vector<RefPtr<EventListener>> claimants;  // one-by-one listeners, in dispatch order
        std::vector<RefPtr<EventListener>> allAtOnceWitnesses;
        bool swallowed = false;
    };

    EventDispatcher() = default;
    void addListener(EventListener* listener);
    // The registered listeners of a kind in delivery order, retained for the length of a dispatch.
    std::vector<RefPtr<EventListener>> orderedListeners(EventListener::Type type, bool includeSceneGraph) const;
    bool canDeliver(const EventListener* listener) const;
    void dispatchTouchEvent(EventTouch* event);
    void dispatchMouseEvent(EventMouse* event);
    void dispatchKeyboardEvent(EventKeyboard* event);
    void dispatchCustom(EventCustom* event);
    bool inputBlockedByTransition() const;
    TouchClaims& claimsFor(Touch* touch);
    void forgetTouch(Touch* touch);

    std::vector<RefPtr<EventListener>> _listeners;
    std::vector<TouchClaims> _touches;
    uint64_t _registrationCounter = 0;
    bool _enabled = true;
    bool _deliveringCancels = false;
};

}  // namespace cocos2d
