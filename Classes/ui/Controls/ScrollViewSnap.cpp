#include "ui/Controls/ScrollViewSnap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#include "engine/actions/ActionEase.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/Sequence.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/events/Touch.h"
#include "engine/math/Rect.h"
#include "engine/scene/Node.h"
#include "engine/ui/Layout.h"

#include "ui/NodeFromJson.h"

namespace {

// A move step, or the travel from where the touch began, longer than this (squared, in points)
// makes the touch a drag.
constexpr float kTapMoveLimitSquared = 45.0f;
constexpr float kSnapSeconds = 0.5f;

// The whole-number part's magnitude: the distances the list compares.
int wholeDistance(float offset) {
    return std::abs(static_cast<int>(offset));
}

}  // namespace

ScrollViewSnap* ScrollViewSnap::create() {
    auto* list = new (std::nothrow) ScrollViewSnap();
    if (list != nullptr && list->init()) {
        list->autorelease();
        return list;
    }
    delete list;
    return nullptr;
}

ScrollViewSnap::ScrollViewSnap() : _centre(visibleCenter()) {
    setClippingType(ClippingType::SCISSOR);
}

ScrollViewSnap::~ScrollViewSnap() = default;

std::vector<cocos2d::Node*> ScrollViewSnap::getItems() const {
    std::vector<cocos2d::Node*> items;
    for (cocos2d::Node* child : getChildren()) {
        items.push_back(child);
    }
    return items;
}

cocos2d::Node* ScrollViewSnap::getCurrentItem() const {
    return _currentItem && _currentItem->getParent() == _innerContainer ? _currentItem.get() : nullptr;
}

int ScrollViewSnap::getCurrentIndex() const {
    const cocos2d::Node* current = getCurrentItem();
    return current != nullptr ? current->getTag() : -1;
}

cocos2d::Vec2 ScrollViewSnap::getScrollPosition() const {
    return getInnerContainerPosition();
}

void ScrollViewSnap::setScrollPosition(const cocos2d::Vec2& position) {
    setInnerContainerPosition(position);
    _moved = true;
}

void ScrollViewSnap::jumpToScrollPosition(const cocos2d::Vec2& position) {
    _innerContainer->setPosition(position);
    setInnerContainerPosition(position);
    _moved = true;
}

void ScrollViewSnap::animateToScrollPosition(const cocos2d::Vec2& position, float seconds) {
    // The call runs as an action of the inner container, which dies with the list.
    _innerContainer->runAction(
        cocos2d::Sequence::create(cocos2d::EaseSineOut::create(cocos2d::MoveTo::create(seconds, position)),
                                  cocos2d::CallFunc::create([this, position] {
                                      setInnerContainerPosition(position);
                                      _moved = true;
                                  }),
                                  nullptr));
}

float ScrollViewSnap::offsetFromCentre(const cocos2d::Node* item) const {
    return item->getPositionX() + getInnerContainerPosition().x - _centre.x +
           cocos2d::Director::getInstance()->getVisibleOrigin().x;
}

void ScrollViewSnap::scrollByItems(int delta) {
    const cocos2d::Node* current = getCurrentItem();
    if (current == nullptr || current->getTag() < 0) {
        return;
    }
    cocos2d::Node* target = getChildByTag(current->getTag() + delta);
    if (target == nullptr) {
        return;
    }
    _currentItem = target;
    const float dx = offsetFromCentre(target);
    startAutoScrollChildrenWithDestination(_innerContainer->getPosition() - cocos2d::Vec2(dx, 0.0f),
                                           kSnapSeconds, true);
}

void ScrollViewSnap::removeAllChildrenWithCleanup(bool cleanup) {
    ScrollView::removeAllChildrenWithCleanup(cleanup);
    _currentItem = nullptr;
}

bool ScrollViewSnap::scrollChildren(float deltaX, float deltaY) {
    const bool scrolled = ScrollView::scrollChildren(deltaX, deltaY);
    if (scrolled) {
        _moved = true;
    }
    return scrolled;
}

void ScrollViewSnap::handlePressLogic(cocos2d::Touch* touch) {
    ScrollView::handlePressLogic(touch);
    _tapPossible = true;
}

void ScrollViewSnap::handleMoveLogic(cocos2d::Touch* touch) {
    // A fast step or a slow drag: pointer events come many a frame, so a drag made of small steps
    // must not end as a tap.
    const cocos2d::Vec2 step = touch->getLocation() - touch->getPreviousLocation();
    const cocos2d::Vec2 travel = touch->getLocation() - touch->getStartLocation();
    if (step.x * step.x + step.y * step.y > kTapMoveLimitSquared ||
        travel.x * travel.x + travel.y * travel.y > kTapMoveLimitSquared) {
        _tapPossible = false;
    }
    ScrollView::handleMoveLogic(touch);
}

void ScrollViewSnap::handleReleaseLogic(cocos2d::Touch* touch) {
    ScrollView::handleReleaseLogic(touch);
    if (!_tapPossible) {
        return;
    }
    _tapPossible = false;
    cocos2d::Node* current = getCurrentItem();
    if (!_itemTapCallback || current == nullptr) {
        return;
    }
    cocos2d::Director* director = cocos2d::Director::getInstance();
    const cocos2d::Vec2 location = director->convertToGL(touch->getLocationInView());
    cocos2d::Rect box = current->getBoundingBox();
    box.origin = box.origin + getInnerContainerPosition() -
                 cocos2d::Vec2(box.size.width, box.size.height) / 2.0f + director->getVisibleOrigin();
    if (box.containsPoint(location)) {
        // The owner may rebuild the list from its callback.
        cocos2d::RefPtr<ScrollViewSnap> keep(this);
        cocos2d::RefPtr<cocos2d::Node> item(current);
        _itemTapCallback(this, item.get());
    }
}

void ScrollViewSnap::scaleItemsByDistance() {
    const float innerX = getInnerContainerPosition().x;
    for (cocos2d::Node* item : getChildren()) {
        const float d = static_cast<float>(wholeDistance(item->getPositionX() + innerX - _centre.x));
        item->setScale(std::max(_minItemScale, 1.0f - std::min(d, _scaleRange) / _scaleRange));
    }
}

void ScrollViewSnap::snapToNearestItem() {
    cocos2d::Node* nearest = nullptr;
    float nearestOffset = 0.0f;
    int nearestDistance = 0;
    for (cocos2d::Node* item : getChildren()) {
        const float dx = offsetFromCentre(item);
        const int d = wholeDistance(dx);
        if (nearest == nullptr || d < nearestDistance) {
            nearest = item;
            nearestOffset = dx;
            nearestDistance = d;
        }
    }
    _currentItem = nearest;
    _settling = false;
    // Only a glide that starts makes the list "snapping": a drag begun during the glide is left where
    // it ends, but one begun after an item that was already centred snaps as usual.
    if (nearest != nullptr && nearestOffset != 0.0f) {
        startAutoScrollChildrenWithDestination(
            getInnerContainerPosition() - cocos2d::Vec2(nearestOffset, 0.0f), kSnapSeconds, true);
        _snapping = true;
    }
}

void ScrollViewSnap::update(float dt) {
    ScrollView::update(dt);
    if (!isEnabled()) {
        return;
    }
    if (isTouching() || isAutoScrolling() || _moved) {
        if (_scaleItems) {
            scaleItemsByDistance();
        }
        _moved = false;
        if (!_snapping) {
            _settling = true;
        }
        return;
    }
    if (_settling) {
        if (_snapping) {
            _snapping = false;
            return;
        }
        if (isTouching()) {
            return;
        }
        snapToNearestItem();
        return;
    }
    _snapping = false;
}
