#include "engine/scene/Layer.h"

#include <new>

#include "engine/base/Director.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerKeyboard.h"

namespace cocos2d {

Layer* Layer::create() {
    auto* layer = new (std::nothrow) Layer();
    if (layer && layer->init()) {
        layer->autorelease();
        return layer;
    }
    delete layer;
    return nullptr;
}

Layer::~Layer() {
    if (_keyboardListener) {
        _eventDispatcher->removeEventListener(_keyboardListener);
        _keyboardListener->release();
        _keyboardListener = nullptr;
    }
}

bool Layer::init() {
    if (!Node::init()) {
        return false;
    }
    setIgnoreAnchorPointForPosition(true);
    setAnchorPoint(Vec2(0.5f, 0.5f));
    setContentSize(Director::getInstance()->getWinSize());
    return true;
}

bool Layer::onTouchBegan(Touch*, Event*) {
    return false;
}

void Layer::onTouchMoved(Touch*, Event*) {}

void Layer::onTouchEnded(Touch*, Event*) {}

void Layer::onTouchCancelled(Touch*, Event*) {}

void Layer::onKeyPressed(EventKeyboard::KeyCode, Event*) {}

void Layer::onKeyReleased(EventKeyboard::KeyCode, Event*) {}

void Layer::setKeyboardEnabled(bool enabled) {
    if (enabled == (_keyboardListener != nullptr)) {
        return;
    }
    if (!enabled) {
        _eventDispatcher->removeEventListener(_keyboardListener);
        _keyboardListener->release();
        _keyboardListener = nullptr;
        return;
    }
    _keyboardListener = EventListenerKeyboard::create();
    _keyboardListener->retain();
    _keyboardListener->onKeyPressed = [this](EventKeyboard::KeyCode key, Event* event) { onKeyPressed(key, event); };
    _keyboardListener->onKeyReleased = [this](EventKeyboard::KeyCode key, Event* event) {
        onKeyReleased(key, event);
    };
    _eventDispatcher->addEventListenerWithSceneGraphPriority(_keyboardListener, this);
}

}  // namespace cocos2d
