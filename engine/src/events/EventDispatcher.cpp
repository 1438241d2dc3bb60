#include "engine/events/EventDispatcher.h"

#include <algorithm>
#include <new>
#include <unordered_map>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/events/EventCustom.h"
#include "engine/events/EventKeyboard.h"
#include "engine/events/EventListenerCustom.h"
#include "engine/events/EventListenerKeyboard.h"
#include "engine/events/EventListenerMouse.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/events/EventMouse.h"
#include "engine/events/EventTouch.h"
#include "engine/events/Touch.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"

namespace cocos2d {
namespace {

struct DrawRank {
    int tree = 0;     // 0 for the notification node's tree, 1 for the running scene's
    size_t index = 0;  // position in drawing order within the whole traversal
};

// Walks a tree in drawing order (children below z 0, the node, the rest) and numbers every node.
void rankTree(Node* node, int tree, size_t& counter, std::unordered_map<const Node*, DrawRank>& ranks) {
    node->sortAllChildren();
    const auto& children = node->getChildren();
    size_t i = 0;
    for (; i < children.size() && children.at(i)->getLocalZOrder() < 0; ++i) {
        rankTree(children.at(i), tree, counter, ranks);
    }
    ranks[node] = DrawRank{tree, counter++};
    for (; i < children.size(); ++i) {
        rankTree(children.at(i), tree, counter, ranks);
    }
}

}  // namespace

EventDispatcher* EventDispatcher::create() {
    auto* dispatcher = new (std::nothrow) EventDispatcher();
    if (dispatcher) {
        dispatcher->autorelease();
    }
    return dispatcher;
}

EventDispatcher::~EventDispatcher() {
    for (auto& listener : _listeners) {
        listener->setRegistered(false);
        listener->setAssociatedNode(nullptr);
    }
}

void EventDispatcher::addListener(EventListener* listener) {
    listener->setRegistered(true);
    listener->setPaused(false);
    listener->setRegistrationOrder(++_registrationCounter);
    _listeners.emplace_back(listener);
}

void EventDispatcher::addEventListenerWithSceneGraphPriority(EventListener* listener, Node* node) {
    if (!listener || !node) {
        return;
    }
    if (listener->isRegistered()) {
        logAt(LogLevel::Error, "EventDispatcher: listener is already registered");
        return;
    }
    listener->setAssociatedNode(node);
    listener->setFixedPriority(0);
    addListener(listener);
}

void EventDispatcher::addEventListenerWithFixedPriority(EventListener* listener, int fixedPriority) {
    if (!listener) {
        return;
    }
    if (fixedPriority == 0) {
        logAt(LogLevel::Error, "EventDispatcher: fixed priority 0 is reserved for scene-graph listeners");
        return;
    }
    if (listener->isRegistered()) {
        logAt(LogLevel::Error, "EventDispatcher: listener is already registered");
        return;
    }
    listener->setAssociatedNode(nullptr);
    listener->setFixedPriority(fixedPriority);
    addListener(listener);
}

EventListenerCustom* EventDispatcher::addCustomEventListener(const std::string& eventName,
                                                             const std::function<void(EventCustom*)>& callback) {
    EventListenerCustom* listener = EventListenerCustom::create(eventName, callback);
    addEventListenerWithFixedPriority(listener, 1);
    return listener;
}

void EventDispatcher::removeEventListener(EventListener* listener) {
    if (!listener) {
        return;
    }
    for (auto it = _listeners.begin(); it != _listeners.end(); ++it) {
        if (it->get() == listener) {
            RefPtr<EventListener> keep = *it;
            listener->setRegistered(false);
            listener->setAssociatedNode(nullptr);
            _listeners.erase(it);
            for (auto& claims : _touches) {
                auto drop = [listener](const RefPtr<EventListener>& l) { return l.get() == listener; };
                claims.claimants.erase(std::remove_if(claims.claimants.begin(), claims.claimants.end(), drop),
                                       claims.claimants.end());
                claims.allAtOnceWitnesses.erase(
                    std::remove_if(claims.allAtOnceWitnesses.begin(), claims.allAtOnceWitnesses.end(), drop),
                    claims.allAtOnceWitnesses.end());
            }
            return;
        }
    }
}

void EventDispatcher::removeEventListenersForTarget(Node* target, bool recursive) {
    if (!target) {
        return;
    }
    std::vector<EventListener*> matching;
    for (auto& listener : _listeners) {
        if (listener->getAssociatedNode() == target) {
            matching.push_back(listener.get());
        }
    }
    for (EventListener* listener : matching) {
        removeEventListener(listener);
    }
    if (recursive) {
        for (Node* child : target->getChildren()) {
            removeEventListenersForTarget(child, true);
        }
    }
}

void EventDispatcher::removeEventListenersForType(EventListener::Type type) {
    std::vector<EventListener*> matching;
    for (auto& listener : _listeners) {
        if (listener->getType() == type) {
            matching.push_back(listener.get());
        }
    }
    for (EventListener* listener : matching) {
        removeEventListener(listener);
    }
}

void EventDispatcher::removeCustomEventListeners(const std::string& eventName) {
    std::vector<EventListener*> matching;
    for (auto& listener : _listeners) {
        if (listener->getType() == EventListener::Type::CUSTOM &&
            static_cast<EventListenerCustom*>(listener.get())->getEventName() == eventName) {
            matching.push_back(listener.get());
        }
    }
    for (EventListener* listener : matching) {
        removeEventListener(listener);
    }
}

void EventDispatcher::removeAllEventListeners() {
    std::vector<RefPtr<EventListener>> all;
    all.swap(_listeners);
    for (auto& listener : all) {
        listener->setRegistered(false);
        listener->setAssociatedNode(nullptr);
    }
    _touches.clear();
}

void EventDispatcher::pauseEventListenersForTarget(Node* target, bool recursive) {
    if (!target) {
        return;
    }
    for (auto& listener : _listeners) {
        if (listener->getAssociatedNode() == target) {
            listener->setPaused(true);
        }
    }
    if (recursive) {
        for (Node* child : target->getChildren()) {
            pauseEventListenersForTarget(child, true);
        }
    }
}

void EventDispatcher::resumeEventListenersForTarget(Node* target, bool recursive) {
    if (!target) {
        return;
    }
    for (auto& listener : _listeners) {
        if (listener->getAssociatedNode() == target) {
            listener->setPaused(false);
        }
    }
    if (recursive) {
        for (Node* child : target->getChildren()) {
            resumeEventListenersForTarget(child, true);
        }
    }
}

bool EventDispatcher::hasListener(const EventListener* listener) const {
    for (const auto& l : _listeners) {
        if (l.get() == listener) {
            return true;
        }
    }
    return false;
}

size_t EventDispatcher::getListenerCount() const {
    return _listeners.size();
}

bool EventDispatcher::canDeliver(const EventListener* listener) const {
    if (!listener->isRegistered() || !listener->isEnabled() || listener->isPaused()) {
        return false;
    }
    const Node* node = listener->getAssociatedNode();
    return node == nullptr || node->isRunning();
}

std::vector<RefPtr<EventListener>> EventDispatcher::orderedListeners(EventListener::Type type,
                                                                     bool includeSceneGraph) const {
    std::vector<EventListener*> negative;
    std::vector<EventListener*> positive;
    std::vector<EventListener*> sceneGraph;
    for (const auto& listener : _listeners) {
        if (listener->getType() != type) {
            continue;
        }
        if (listener->getAssociatedNode()) {
            if (includeSceneGraph) {
                sceneGraph.push_back(listener.get());
            }
        } else if (listener->getFixedPriority() < 0) {
            negative.push_back(listener.get());
        } else {
            positive.push_back(listener.get());
        }
    }
    auto byPriority = [](const EventListener* a, const EventListener* b) {
        return a->getFixedPriority() < b->getFixedPriority() ||
               (a->getFixedPriority() == b->getFixedPriority() &&
                a->getRegistrationOrder() < b->getRegistrationOrder());
    };
    std::sort(negative.begin(), negative.end(), byPriority);
    std::sort(positive.begin(), positive.end(), byPriority);

    std::vector<std::pair<EventListener*, DrawRank>> ranked;
    if (!sceneGraph.empty()) {
        std::unordered_map<const Node*, DrawRank> ranks;
        size_t counter = 0;
        Director* director = Director::getInstance();
        if (Node* notification = director->getNotificationNode()) {
            rankTree(notification, 0, counter, ranks);
        }
        if (Scene* scene = director->getRunningScene()) {
            int tree = 1;
            for (Node* root : scene->getEventTrees()) {
                rankTree(root, tree++, counter, ranks);
            }
        }
        for (EventListener* listener : sceneGraph) {
            auto it = ranks.find(listener->getAssociatedNode());
            if (it != ranks.end()) {
                ranked.emplace_back(listener, it->second);
            }
        }
        std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
            if (a.second.tree != b.second.tree) {
                return a.second.tree < b.second.tree;
            }
            const float za = a.first->getAssociatedNode()->getGlobalZOrder();
            const float zb = b.first->getAssociatedNode()->getGlobalZOrder();
            if (za != zb) {
                return za > zb;
            }
            if (a.second.index != b.second.index) {
                return a.second.index > b.second.index;
            }
            return a.first->getRegistrationOrder() < b.first->getRegistrationOrder();
        });
    }

    std::vector<RefPtr<EventListener>> result;
    result.reserve(negative.size() + ranked.size() + positive.size());
    for (EventListener* l : negative) {
        result.emplace_back(l);
    }
    for (auto& entry : ranked) {
        result.emplace_back(entry.first);
    }
    for (EventListener* l : positive) {
        result.emplace_back(l);
    }
    return result;
}

bool EventDispatcher::inputBlockedByTransition() const {
    return Director::getInstance()->isSceneTransitionRunning();
}

void EventDispatcher::dispatchEvent(Event* event) {
    if (!_enabled || !event) {
        return;
    }
    RefPtr<Event> keep(event);
    switch (event->getType()) {
        case Event::Type::TOUCH:
            dispatchTouchEvent(static_cast<EventTouch*>(event));
            break;
        case Event::Type::MOUSE:
            dispatchMouseEvent(static_cast<EventMouse*>(event));
            break;
        case Event::Type::KEYBOARD:
            dispatchKeyboardEvent(static_cast<EventKeyboard*>(event));
            break;
        case Event::Type::CUSTOM:
            dispatchCustom(static_cast<EventCustom*>(event));
            break;
        default:
            break;
    }
    event->setCurrentTarget(nullptr);
}

void EventDispatcher::dispatchCustomEvent(const std::string& eventName, void* userData) {
    EventCustom event(eventName);
    event.setUserData(userData);
    dispatchEvent(&event);
}

EventDispatcher::TouchClaims& EventDispatcher::claimsFor(Touch* touch) {
    for (auto& claims : _touches) {
        if (claims.touch.get() == touch) {
            return claims;
        }
    }
    _touches.push_back(TouchClaims{});
    _touches.back().touch = touch;
    return _touches.back();
}

void EventDispatcher::forgetTouch(Touch* touch) {
    _touches.erase(std::remove_if(_touches.begin(), _touches.end(),
                                  [touch](const TouchClaims& c) { return c.touch.get() == touch; }),
                   _touches.end());
}

void EventDispatcher::dispatchTouchEvent(EventTouch* event) {
    const EventTouch::EventCode code = event->getEventCode();
    const bool finishing = code == EventTouch::EventCode::ENDED || code == EventTouch::EventCode::CANCELLED;
    std::vector<RefPtr<Touch>> touches(event->getTouches().begin(), event->getTouches().end());

    if (!_deliveringCancels && inputBlockedByTransition()) {
        if (finishing) {
            for (auto& touch : touches) {
                forgetTouch(touch.get());
            }
        }
        return;
    }

    const auto oneByOne = orderedListeners(EventListener::Type::TOUCH_ONE_BY_ONE, true);
    const auto allAtOnce = orderedListeners(EventListener::Type::TOUCH_ALL_AT_ONCE, true);

    // One-by-one listeners, touch by touch.
    for (auto& touchRef : touches) {
        Touch* touch = touchRef.get();
        if (event->isStopped()) {
            break;
        }
        if (code == EventTouch::EventCode::BEGAN) {
            forgetTouch(touch);
            claimsFor(touch);
            for (const auto& listenerRef : oneByOne) {
                auto* listener = static_cast<EventListenerTouchOneByOne*>(listenerRef.get());
                if (!canDeliver(listener) || !listener->onTouchBegan) {
                    continue;
                }
                event->setCurrentTarget(listener->getAssociatedNode());
                const bool claimed = listener->onTouchBegan(touch, event);
                if (claimed && listener->isRegistered()) {
                    TouchClaims& claims = claimsFor(touch);
                    claims.claimants.emplace_back(listener);
                    if (listener->isSwallowTouches()) {
                        claims.swallowed = true;
                        break;
                    }
                }
                if (event->isStopped()) {
                    break;
                }
            }
            continue;
        }
        auto found = std::find_if(_touches.begin(), _touches.end(),
                                  [touch](const TouchClaims& c) { return c.touch.get() == touch; });
        if (found == _touches.end()) {
            continue;
        }
        std::vector<RefPtr<EventListener>> claimants = found->claimants;
        for (const auto& listenerRef : claimants) {
            auto* listener = static_cast<EventListenerTouchOneByOne*>(listenerRef.get());
            if (!listener->isRegistered()) {
                continue;
            }
            if (!canDeliver(listener)) {
                // A paused listener loses its claim: the rest of this touch never reaches it.
                TouchClaims& claims = claimsFor(touch);
                claims.claimants.erase(std::remove(claims.claimants.begin(), claims.claimants.end(), listenerRef),
                                       claims.claimants.end());
                continue;
            }
            event->setCurrentTarget(listener->getAssociatedNode());
            switch (code) {
                case EventTouch::EventCode::MOVED:
                    if (listener->onTouchMoved) {
                        listener->onTouchMoved(touch, event);
                    }
                    break;
                case EventTouch::EventCode::ENDED:
                    if (listener->onTouchEnded) {
                        listener->onTouchEnded(touch, event);
                    }
                    break;
                case EventTouch::EventCode::CANCELLED:
                    if (listener->onTouchCancelled) {
                        listener->onTouchCancelled(touch, event);
                    }
                    break;
                default:
                    break;
            }
            if (event->isStopped()) {
                break;
            }
        }
    }

    // All-at-once listeners: the touches nobody swallowed.
    if (!event->isStopped()) {
        for (const auto& listenerRef : allAtOnce) {
            auto* listener = static_cast<EventListenerTouchAllAtOnce*>(listenerRef.get());
            if (!listener->isRegistered()) {
                continue;
            }
            const bool deliverable = canDeliver(listener);
            std::vector<Touch*> mine;
            for (auto& touchRef : touches) {
                Touch* touch = touchRef.get();
                auto found = std::find_if(_touches.begin(), _touches.end(),
                                          [touch](const TouchClaims& c) { return c.touch.get() == touch; });
                if (found == _touches.end() || found->swallowed) {
                    continue;
                }
                auto& witnesses = found->allAtOnceWitnesses;
                const bool witnessed = std::find(witnesses.begin(), witnesses.end(), listenerRef) != witnesses.end();
                if (code == EventTouch::EventCode::BEGAN) {
                    if (deliverable) {
                        witnesses.push_back(listenerRef);
                        mine.push_back(touch);
                    }
                } else if (witnessed) {
                    if (deliverable) {
                        mine.push_back(touch);
                    } else {
                        witnesses.erase(std::remove(witnesses.begin(), witnesses.end(), listenerRef), witnesses.end());
                    }
                }
            }
            if (mine.empty()) {
                continue;
            }
            event->setCurrentTarget(listener->getAssociatedNode());
            switch (code) {
                case EventTouch::EventCode::BEGAN:
                    if (listener->onTouchesBegan) {
                        listener->onTouchesBegan(mine, event);
                    }
                    break;
                case EventTouch::EventCode::MOVED:
                    if (listener->onTouchesMoved) {
                        listener->onTouchesMoved(mine, event);
                    }
                    break;
                case EventTouch::EventCode::ENDED:
                    if (listener->onTouchesEnded) {
                        listener->onTouchesEnded(mine, event);
                    }
                    break;
                case EventTouch::EventCode::CANCELLED:
                    if (listener->onTouchesCancelled) {
                        listener->onTouchesCancelled(mine, event);
                    }
                    break;
            }
            if (event->isStopped()) {
                break;
            }
        }
    }

    if (finishing) {
        for (auto& touch : touches) {
            forgetTouch(touch.get());
        }
    }
}

void EventDispatcher::cancelAllTouches() {
    std::vector<RefPtr<Touch>> active;
    for (auto& claims : _touches) {
        active.push_back(claims.touch);
    }
    for (auto& touch : active) {
        auto* event = new (std::nothrow) EventTouch();
        if (!event) {
            return;
        }
        event->setEventCode(EventTouch::EventCode::CANCELLED);
        event->setTouches({touch.get()});
        // Focus loss may come during a transition: the claimers must still hear the cancel.
        _deliveringCancels = true;
        dispatchTouchEvent(event);
        _deliveringCancels = false;
        forgetTouch(touch.get());
        event->release();
    }
}

void EventDispatcher::dispatchMouseEvent(EventMouse* event) {
    const EventMouse::MouseEventType type = event->getMouseEventType();
    if (type != EventMouse::MouseEventType::MOUSE_MOVE && inputBlockedByTransition()) {
        return;
    }
    const auto listeners = orderedListeners(EventListener::Type::MOUSE, true);
    for (const auto& listenerRef : listeners) {
        auto* listener = static_cast<EventListenerMouse*>(listenerRef.get());
        if (!canDeliver(listener)) {
            continue;
        }
        event->setCurrentTarget(listener->getAssociatedNode());
        switch (type) {
            case EventMouse::MouseEventType::MOUSE_DOWN:
                if (listener->onMouseDown) {
                    listener->onMouseDown(event);
                }
                break;
            case EventMouse::MouseEventType::MOUSE_UP:
                if (listener->onMouseUp) {
                    listener->onMouseUp(event);
                }
                break;
            case EventMouse::MouseEventType::MOUSE_MOVE:
                if (listener->onMouseMove) {
                    listener->onMouseMove(event);
                }
                break;
            case EventMouse::MouseEventType::MOUSE_SCROLL:
                if (listener->onMouseScroll) {
                    listener->onMouseScroll(event);
                }
                break;
            default:
                break;
        }
        if (event->isStopped()) {
            break;
        }
    }
}

void EventDispatcher::dispatchKeyboardEvent(EventKeyboard* event) {
    const auto listeners = orderedListeners(EventListener::Type::KEYBOARD, !inputBlockedByTransition());
    for (const auto& listenerRef : listeners) {
        auto* listener = static_cast<EventListenerKeyboard*>(listenerRef.get());
        if (!canDeliver(listener)) {
            continue;
        }
        event->setCurrentTarget(listener->getAssociatedNode());
        if (event->isPressed()) {
            if (listener->onKeyPressed) {
                listener->onKeyPressed(event->getKeyCode(), event);
            }
        } else if (listener->onKeyReleased) {
            listener->onKeyReleased(event->getKeyCode(), event);
        }
        if (event->isStopped()) {
            break;
        }
    }
}

void EventDispatcher::dispatchCustom(EventCustom* event) {
    const auto listeners = orderedListeners(EventListener::Type::CUSTOM, true);
    for (const auto& listenerRef : listeners) {
        auto* listener = static_cast<EventListenerCustom*>(listenerRef.get());
        if (!canDeliver(listener) || listener->getEventName() != event->getEventName()) {
            continue;
        }
        event->setCurrentTarget(listener->getAssociatedNode());
        listener->invoke(event);
        if (event->isStopped()) {
            break;
        }
    }
}

}  // namespace cocos2d
