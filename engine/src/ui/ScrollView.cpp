#include "engine/ui/ScrollView.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "engine/base/RefPtr.h"
#include "engine/events/Touch.h"

namespace cocos2d {
namespace ui {
namespace {

// Past a bound a drag moves the container by this share of the touch delta.
constexpr float kBounceResistance = 0.5f;
constexpr float kBounceBackTime = 0.3f;
// The release speed is measured over this much of the latest moves.
constexpr float kVelocityWindow = 0.1f;
// Inertia slows down linearly and comes to rest after this long.
constexpr float kInertiaTime = 0.5f;
// Slower releases (design points per second) start no inertia.
constexpr float kMinimumInertiaSpeed = 30.0f;
// An inertial glide that left the bounds keeps this share of its speed each frame until it turns back.
constexpr float kOutOfBoundsBrake = 0.6f;
// Movements and distances below this are treated as none.
constexpr float kEpsilon = 1e-4f;

}  // namespace

ScrollView* ScrollView::create() {
    auto* view = new (std::nothrow) ScrollView();
    if (view && view->init()) {
        view->autorelease();
        return view;
    }
    delete view;
    return nullptr;
}

bool ScrollView::init() {
    if (!Layout::init()) {
        return false;
    }
    _innerContainer = Layout::create();
    if (!_innerContainer) {
        return false;
    }
    // The container is the view's real child, so the widgets on it take part in touch dispatch.
    Node::addChild(_innerContainer, 1);
    setClippingEnabled(true);
    setTouchEnabled(true);
    return true;
}

// --- size and position ----------------------------------------------------------------------------

void ScrollView::setContentSize(const Size& size) {
    Layout::setContentSize(size);
    if (_innerContainer) {
        setInnerContainerSize(_innerContainer->getContentSize());
    }
}

void ScrollView::setInnerContainerSize(const Size& size) {
    const Size grown(std::max(size.width, _contentSize.width), std::max(size.height, _contentSize.height));
    _innerContainer->setContentSize(grown);
}

const Size& ScrollView::getInnerContainerSize() const {
    return _innerContainer->getContentSize();
}

void ScrollView::setInnerContainerPosition(const Vec2& position) {
    _innerContainer->setPosition(position);
}

const Vec2& ScrollView::getInnerContainerPosition() const {
    return _innerContainer->getPosition();
}

Vec2 ScrollView::minPosition() const {
    const Size& inner = _innerContainer->getContentSize();
    return Vec2(std::min(0.0f, _contentSize.width - inner.width),
                std::min(0.0f, _contentSize.height - inner.height));
}

Vec2 ScrollView::maxPosition() const {
    return Vec2::ZERO;
}

bool ScrollView::scrollsHorizontally() const {
    return _direction == Direction::HORIZONTAL || _direction == Direction::BOTH;
}

bool ScrollView::scrollsVertically() const {
    return _direction == Direction::VERTICAL || _direction == Direction::BOTH;
}

Vec2 ScrollView::clampToBounds(const Vec2& position) const {
    const Vec2 low = minPosition();
    const Vec2 high = maxPosition();
    Vec2 p = position;
    if (scrollsHorizontally()) {
        p.x = std::clamp(p.x, low.x, high.x);
    }
    if (scrollsVertically()) {
        p.y = std::clamp(p.y, low.y, high.y);
    }
    return p;
}

bool ScrollView::isOutOfBounds() const {
    const Vec2 p = getInnerContainerPosition();
    return p.distance(clampToBounds(p)) > kEpsilon;
}

void ScrollView::scrollToPercentHorizontal(float percent, float timeInSec, bool attenuated) {
    const float x = minPosition().x * std::clamp(percent, 0.0f, 100.0f) / 100.0f;
    startAutoScrollChildrenWithDestination(Vec2(x, getInnerContainerPosition().y), timeInSec, attenuated);
}

void ScrollView::scrollToPercentVertical(float percent, float timeInSec, bool attenuated) {
    const float y = minPosition().y * (1.0f - std::clamp(percent, 0.0f, 100.0f) / 100.0f);
    startAutoScrollChildrenWithDestination(Vec2(getInnerContainerPosition().x, y), timeInSec, attenuated);
}

void ScrollView::jumpToPercentHorizontal(float percent) {
    stopAutoScroll();
    const float x = minPosition().x * std::clamp(percent, 0.0f, 100.0f) / 100.0f;
    setInnerContainerPosition(Vec2(x, getInnerContainerPosition().y));
}

void ScrollView::jumpToPercentVertical(float percent) {
    stopAutoScroll();
    const float y = minPosition().y * (1.0f - std::clamp(percent, 0.0f, 100.0f) / 100.0f);
    setInnerContainerPosition(Vec2(getInnerContainerPosition().x, y));
}

// --- children on the inner container --------------------------------------------------------------

void ScrollView::addChild(Node* child) {
    _innerContainer->addChild(child);
}

void ScrollView::addChild(Node* child, int localZOrder) {
    _innerContainer->addChild(child, localZOrder);
}

void ScrollView::addChild(Node* child, int localZOrder, int tag) {
    _innerContainer->addChild(child, localZOrder, tag);
}

void ScrollView::addChild(Node* child, int localZOrder, const std::string& name) {
    _innerContainer->addChild(child, localZOrder, name);
}

void ScrollView::removeChild(Node* child, bool cleanup) {
    _innerContainer->removeChild(child, cleanup);
}

void ScrollView::removeAllChildren() {
    _innerContainer->removeAllChildren();
}

void ScrollView::removeAllChildrenWithCleanup(bool cleanup) {
    _innerContainer->removeAllChildrenWithCleanup(cleanup);
}

Vector<Node*>& ScrollView::getChildren() {
    return _innerContainer->getChildren();
}

const Vector<Node*>& ScrollView::getChildren() const {
    return _innerContainer->getChildren();
}

ssize_t ScrollView::getChildrenCount() const {
    return _innerContainer->getChildrenCount();
}

Node* ScrollView::getChildByTag(int tag) const {
    return _innerContainer->getChildByTag(tag);
}

Node* ScrollView::getChildByName(const std::string& name) const {
    return _innerContainer->getChildByName(name);
}

// --- touches --------------------------------------------------------------------------------------

bool ScrollView::onTouchBegan(Touch* touch, Event* event) {
    if (!Layout::onTouchBegan(touch, event)) {
        return false;
    }
    handlePressLogic(touch);
    return true;
}

void ScrollView::onTouchMoved(Touch* touch, Event*) {
    _touchMovePosition = touch->getLocation();
    handleMoveLogic(touch);
    moveEvent();
}

void ScrollView::onTouchEnded(Touch* touch, Event* event) {
    handleReleaseLogic(touch);
    Layout::onTouchEnded(touch, event);
}

void ScrollView::onTouchCancelled(Touch* touch, Event* event) {
    handleReleaseLogic(touch);
    Layout::onTouchCancelled(touch, event);
}

void ScrollView::handlePressLogic(Touch*) {
    stopAutoScroll();
    _touching = true;
    _pressTime = _clock;
    _samples.clear();
}

float ScrollView::resistedDelta(float position, float delta, float low, float high) const {
    if (!_bounceEnabled) {
        return std::clamp(position + delta, std::min(position, low), std::max(position, high)) - position;
    }
    // The part of the move that stays inside the bounds counts fully, the part beyond them half.
    const float target = position + delta;
    if (delta > 0 && target > high) {
        const float inside = std::max(0.0f, high - position);
        return inside + (delta - inside) * kBounceResistance;
    }
    if (delta < 0 && target < low) {
        const float inside = std::min(0.0f, low - position);
        return inside + (delta - inside) * kBounceResistance;
    }
    return delta;
}

void ScrollView::handleMoveLogic(Touch* touch) {
    if (!_touching) {
        return;
    }
    const Vec2 delta =
        convertToNodeSpace(touch->getLocation()) - convertToNodeSpace(touch->getPreviousLocation());
    const Vec2 position = getInnerContainerPosition();
    const Vec2 low = minPosition();
    const Vec2 high = maxPosition();
    const float dx = scrollsHorizontally() ? resistedDelta(position.x, delta.x, low.x, high.x) : 0.0f;
    const float dy = scrollsVertically() ? resistedDelta(position.y, delta.y, low.y, high.y) : 0.0f;
    _samples.push_back(MoveSample{
        _clock, Vec2(scrollsHorizontally() ? delta.x : 0.0f, scrollsVertically() ? delta.y : 0.0f)});
    scrollChildren(dx, dy);
}

void ScrollView::handleReleaseLogic(Touch*) {
    if (!_touching) {
        return;
    }
    _touching = false;
    if (_bounceEnabled && isOutOfBounds()) {
        _samples.clear();
        startBounceBack();
        return;
    }
    if (_inertiaEnabled) {
        Vec2 moved;
        for (const MoveSample& sample : _samples) {
            if (sample.time > _clock - kVelocityWindow - kEpsilon) {
                moved += sample.delta;
            }
        }
        const float span = std::clamp(_clock - _pressTime, 1.0f / 60.0f, kVelocityWindow);
        const Vec2 velocity = moved * (1.0f / span);
        if (velocity.length() >= kMinimumInertiaSpeed) {
            startInertia(velocity);
        }
    }
    _samples.clear();
}

bool ScrollView::scrollChildren(float deltaX, float deltaY) {
    const float dx = scrollsHorizontally() ? deltaX : 0.0f;
    const float dy = scrollsVertically() ? deltaY : 0.0f;
    if (std::fabs(dx) < kEpsilon && std::fabs(dy) < kEpsilon) {
        return false;
    }
    _innerContainer->setPosition(getInnerContainerPosition() + Vec2(dx, dy));
    return true;
}

// --- automatic movement ---------------------------------------------------------------------------

void ScrollView::onEnter() {
    Layout::onEnter();
    scheduleUpdate();
}

void ScrollView::update(float dt) {
    RefPtr<ScrollView> keep(this);
    _clock += dt;
    if (_autoScrolling) {
        stepAutoScroll(dt);
    } else if (_inertiaScrolling) {
        stepInertia(dt);
    }
}

void ScrollView::startAutoScrollChildrenWithDestination(const Vec2& destination, float timeInSec,
                                                        bool attenuated) {
    stopAutoScroll();
    const Vec2 start = getInnerContainerPosition();
    // Only the scrolling axes move.
    Vec2 target(scrollsHorizontally() ? destination.x : start.x,
                scrollsVertically() ? destination.y : start.y);
    target = clampToBounds(target);
    _autoStart = start;
    _autoDestination = target;
    _autoDuration = std::max(0.0f, timeInSec);
    _autoElapsed = 0.0f;
    _autoAttenuated = attenuated;
    _autoScrolling = true;
    if (_autoDuration <= 0.0f) {
        stepAutoScroll(0.0f);
    }
}

void ScrollView::stopAutoScroll() {
    _autoScrolling = false;
    _inertiaScrolling = false;
}

void ScrollView::stepAutoScroll(float dt) {
    _autoElapsed += dt;
    const float f = _autoDuration > 0.0f ? std::min(1.0f, _autoElapsed / _autoDuration) : 1.0f;
    const float eased = _autoAttenuated ? 1.0f - (1.0f - f) * (1.0f - f) * (1.0f - f) : f;
    const Vec2 wanted = f >= 1.0f ? _autoDestination : _autoStart + (_autoDestination - _autoStart) * eased;
    const Vec2 delta = wanted - getInnerContainerPosition();
    scrollChildren(delta.x, delta.y);
    if (f >= 1.0f) {
        _autoScrolling = false;
        // Lands on the destination exactly, whatever the rounding of the last step.
        _innerContainer->setPosition(_autoDestination);
    }
}

void ScrollView::startInertia(const Vec2& velocity) {
    stopAutoScroll();
    _inertiaVelocity = velocity;
    _inertiaElapsed = 0.0f;
    _inertiaScrolling = true;
}

void ScrollView::stepInertia(float dt) {
    // Linear decay: the distance covered by time t is v0 (t - t^2 / 2T).
    const auto covered = [](float t) { return t - t * t / (2.0f * kInertiaTime); };
    const float before = std::min(_inertiaElapsed, kInertiaTime);
    _inertiaElapsed += dt;
    const float after = std::min(_inertiaElapsed, kInertiaTime);
    const Vec2 delta = _inertiaVelocity * (covered(after) - covered(before));
    const bool finished = _inertiaElapsed >= kInertiaTime;

    if (!_bounceEnabled) {
        // The glide stops at the bound.
        const Vec2 position = getInnerContainerPosition();
        const Vec2 clamped = clampToBounds(position + delta);
        scrollChildren(clamped.x - position.x, clamped.y - position.y);
        if (finished || clamped.distance(position + delta) > kEpsilon) {
            _inertiaScrolling = false;
        }
        return;
    }
    scrollChildren(delta.x, delta.y);
    if (isOutOfBounds()) {
        // Past the bound the glide brakes hard, then springs back.
        _inertiaVelocity = _inertiaVelocity * kOutOfBoundsBrake;
        if (finished || _inertiaVelocity.length() < kMinimumInertiaSpeed) {
            _inertiaScrolling = false;
            startBounceBack();
        }
        return;
    }
    if (finished) {
        _inertiaScrolling = false;
    }
}

void ScrollView::startBounceBack() {
    const Vec2 position = getInnerContainerPosition();
    const Vec2 inside = clampToBounds(position);
    if (position.distance(inside) > kEpsilon) {
        startAutoScrollChildrenWithDestination(inside, kBounceBackTime, true);
    }
}

}  // namespace ui
}  // namespace cocos2d
