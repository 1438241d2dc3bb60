#include "engine/ui/Widget.h"

#include <new>

#include "engine/base/RefPtr.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/events/Touch.h"
#include "engine/ui/Layout.h"
#include "engine/ui/ScrollView.h"

namespace cocos2d {
namespace ui {
namespace {

// How far (design points) a touch on a widget inside a scroll view moves before it counts as a drag of
// the scroll view.
constexpr float kDragHandOverDistance = 8.0f;

}  // namespace

Widget* Widget::create() {
    auto* widget = new (std::nothrow) Widget();
    if (widget && widget->init()) {
        widget->autorelease();
        return widget;
    }
    delete widget;
    return nullptr;
}

Widget::Widget() = default;

Widget::~Widget() {
    // The dispatcher drops the node's listeners when the node goes; nothing may call back into a
    // half-destroyed widget before that.
    if (_touchListener) {
        _eventDispatcher->removeEventListener(_touchListener);
        _touchListener->release();
        _touchListener = nullptr;
    }
}

bool Widget::init() {
    if (!ProtectedNode::init()) {
        return false;
    }
    _ignoreSize = true;
    setAnchorPoint(Vec2(0.5f, 0.5f));
    setCascadeColorEnabled(true);
    setCascadeOpacityEnabled(true);
    return true;
}

// --- state ----------------------------------------------------------------------------------------

void Widget::setEnabled(bool enabled) {
    if (_enabled == enabled) {
        return;
    }
    _enabled = enabled;
    if (!enabled) {
        _highlighted = false;
    }
    updateLook();
}

void Widget::setBright(bool bright) {
    if (_bright == bright) {
        return;
    }
    _bright = bright;
    updateLook();
}

void Widget::setHighlighted(bool highlighted) {
    if (_highlighted == highlighted) {
        return;
    }
    _highlighted = highlighted;
    updateLook();
}

void Widget::updateLook() {
    if (!_enabled || !_bright) {
        onPressStateChangedToDisabled();
    } else if (_highlighted) {
        onPressStateChangedToPressed();
    } else {
        onPressStateChangedToNormal();
    }
}

void Widget::setTouchEnabled(bool enabled) {
    if (_touchEnabled == enabled) {
        return;
    }
    _touchEnabled = enabled;
    if (enabled) {
        _touchListener = EventListenerTouchOneByOne::create();
        _touchListener->retain();
        _touchListener->setSwallowTouches(_swallowTouches);
        // Each callback keeps the widget alive while it runs: a handler may remove it.
        _touchListener->onTouchBegan = [this](Touch* touch, Event* event) {
            RefPtr<Widget> keep(this);
            return onTouchBegan(touch, event);
        };
        _touchListener->onTouchMoved = [this](Touch* touch, Event* event) {
            RefPtr<Widget> keep(this);
            onTouchMoved(touch, event);
        };
        _touchListener->onTouchEnded = [this](Touch* touch, Event* event) {
            RefPtr<Widget> keep(this);
            onTouchEnded(touch, event);
        };
        _touchListener->onTouchCancelled = [this](Touch* touch, Event* event) {
            RefPtr<Widget> keep(this);
            onTouchCancelled(touch, event);
        };
        _eventDispatcher->addEventListenerWithSceneGraphPriority(_touchListener, this);
    } else if (_touchListener) {
        _eventDispatcher->removeEventListener(_touchListener);
        _touchListener->release();
        _touchListener = nullptr;
        _highlighted = false;
        _handedTo = nullptr;
        updateLook();
    }
}

void Widget::setSwallowTouches(bool swallow) {
    _swallowTouches = swallow;
    if (_touchListener) {
        _touchListener->setSwallowTouches(swallow);
    }
}

// --- size -----------------------------------------------------------------------------------------

void Widget::ignoreContentAdaptWithSize(bool ignore) {
    _ignoreSize = ignore;
    const Size natural = getVirtualRendererSize();
    Node::setContentSize(ignore && natural != Size::ZERO ? natural : _customSize);
    onSizeChanged();
}

void Widget::setContentSize(const Size& size) {
    _customSize = size;
    const Size natural = getVirtualRendererSize();
    Node::setContentSize(_ignoreSize && natural != Size::ZERO ? natural : size);
    onSizeChanged();
}

void Widget::contentSizeChanged() {
    const Size natural = getVirtualRendererSize();
    if (_ignoreSize && natural != Size::ZERO) {
        Node::setContentSize(natural);
    }
    onSizeChanged();
}

// --- listeners ------------------------------------------------------------------------------------

void Widget::addTouchEventListener(const ccWidgetTouchCallback& callback) {
    _touchEventCallback = callback;
}

void Widget::addClickEventListener(const ccWidgetClickCallback& callback) {
    _clickEventCallback = callback;
}

// --- hit testing ----------------------------------------------------------------------------------

bool Widget::hitTest(const Vec2& worldPoint) const {
    const Vec2 p = convertToNodeSpace(worldPoint);
    return Rect(0, 0, _contentSize.width, _contentSize.height).containsPoint(p);
}

bool Widget::isClippingParentContainsPoint(const Vec2& worldPoint) const {
    for (const Node* n = _parent; n; n = n->getParent()) {
        const auto* layout = dynamic_cast<const Layout*>(n);
        if (layout && layout->isClippingEnabled() && !layout->getClippingRect().containsPoint(worldPoint)) {
            return false;
        }
    }
    return true;
}

bool Widget::areAncestorsTouchable() const {
    for (const Node* n = _parent; n; n = n->getParent()) {
        if (!n->isVisible()) {
            return false;
        }
        const auto* widget = dynamic_cast<const Widget*>(n);
        if (widget && !widget->isEnabled()) {
            return false;
        }
    }
    return true;
}

ScrollView* Widget::scrollViewAncestor() const {
    for (Node* n = _parent; n; n = n->getParent()) {
        if (auto* scrollView = dynamic_cast<ScrollView*>(n)) {
            return scrollView;
        }
    }
    return nullptr;
}

// --- touches --------------------------------------------------------------------------------------

bool Widget::onTouchBegan(Touch* touch, Event*) {
    _handedTo = nullptr;
    if (!_running || !_visible || !_enabled || !_touchEnabled || !areAncestorsTouchable()) {
        return false;
    }
    _touchBeganPosition = touch->getLocation();
    if (!hitTest(_touchBeganPosition) || !isClippingParentContainsPoint(_touchBeganPosition)) {
        return false;
    }
    setHighlighted(true);
    pushDownEvent();
    return true;
}

void Widget::onTouchMoved(Touch* touch, Event*) {
    _touchMovePosition = touch->getLocation();
    if (_handedTo) {
        _handedTo->handleMoveLogic(touch);
        return;
    }
    if (_propagateTouchEvents && _touchMovePosition.distance(_touchBeganPosition) > kDragHandOverDistance) {
        ScrollView* scrollView = scrollViewAncestor();
        if (scrollView && scrollView->isEnabled() && scrollView->isTouchEnabled() &&
            scrollView->getDirection() != ScrollView::Direction::NONE) {
            _handedTo = scrollView;
            setHighlighted(false);
            cancelUpEvent();
            if (_handedTo) {
                _handedTo->handlePressLogic(touch);
                _handedTo->handleMoveLogic(touch);
            }
            return;
        }
    }
    setHighlighted(hitTest(_touchMovePosition) && isClippingParentContainsPoint(_touchMovePosition));
    moveEvent();
}

void Widget::onTouchEnded(Touch* touch, Event*) {
    _touchEndPosition = touch->getLocation();
    if (_handedTo) {
        RefPtr<ScrollView> scrollView = _handedTo;
        _handedTo = nullptr;
        scrollView->handleReleaseLogic(touch);
        return;
    }
    // A widget disabled or hidden while it was held gives no click.
    const bool inside = _enabled && _visible && areAncestorsTouchable() && hitTest(_touchEndPosition) &&
                        isClippingParentContainsPoint(_touchEndPosition);
    setHighlighted(false);
    if (inside) {
        releaseUpEvent();
    } else {
        cancelUpEvent();
    }
}

void Widget::onTouchCancelled(Touch* touch, Event*) {
    _touchEndPosition = touch->getLocation();
    if (_handedTo) {
        RefPtr<ScrollView> scrollView = _handedTo;
        _handedTo = nullptr;
        scrollView->handleReleaseLogic(touch);
        return;
    }
    setHighlighted(false);
    cancelUpEvent();
}

void Widget::pushDownEvent() {
    if (_touchEventCallback) {
        // A copy: the callback may replace itself.
        ccWidgetTouchCallback callback = _touchEventCallback;
        callback(this, TouchEventType::BEGAN);
    }
}

void Widget::moveEvent() {
    if (_touchEventCallback) {
        ccWidgetTouchCallback callback = _touchEventCallback;
        callback(this, TouchEventType::MOVED);
    }
}

void Widget::releaseUpEvent() {
    if (_touchEventCallback) {
        ccWidgetTouchCallback callback = _touchEventCallback;
        callback(this, TouchEventType::ENDED);
    }
    if (_clickEventCallback) {
        ccWidgetClickCallback callback = _clickEventCallback;
        callback(this);
    }
}

void Widget::cancelUpEvent() {
    if (_touchEventCallback) {
        ccWidgetTouchCallback callback = _touchEventCallback;
        callback(this, TouchEventType::CANCELED);
    }
}

}  // namespace ui
}  // namespace cocos2d
