#include "ui/Controls/CPanZoomComponent.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/actions/ActionEase.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/ScaleTo.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/events/Touch.h"
#include "engine/scene/Node.h"

using cocos2d::Node;
using cocos2d::Size;
using cocos2d::Touch;
using cocos2d::Vec2;

namespace {

constexpr size_t kTouchRoom = 10;

}  // namespace

CPanZoomComponent::CPanZoomComponent() = default;

CPanZoomComponent::~CPanZoomComponent() {
    for (Touch* touch : _touches) {
        touch->release();
    }
}

void CPanZoomComponent::setMinScale(float scale) {
    if (scale > 0.0f) {
        _minScale = scale;
    }
}

void CPanZoomComponent::setMaxScale(float scale) {
    if (scale > 0.0f) {
        _maxScale = scale;
    }
}

void CPanZoomComponent::setZoomDuration(float seconds) {
    if (!(seconds > 0.0f)) {
        cocos2d::logAt(cocos2d::LogLevel::Error, "Assertion failed: var > 0 (CPanZoomComponent)");
        std::abort();
    }
    _zoomDuration = seconds;
}

bool CPanZoomComponent::init(Node* target) {
    if (target == nullptr) {
        return false;
    }
    _target = target;
    _touches.reserve(kTouchRoom);
    _minScale = kDefaultMinScale;
    _maxScale = kDefaultMaxScale;
    _optionFlag = false;
    _touchFlag = false;
    _zoomDuration = kDefaultZoomDuration;
    _panEnabled = true;
    _zoomEnabled = true;
    _touchesChanged = true;
    return true;
}

void CPanZoomComponent::onTouchesBegan(const std::vector<Touch*>& touches, cocos2d::Event*) {
    for (Touch* touch : touches) {
        touch->retain();
        _touches.push_back(touch);
    }
    _touchesChanged = true;
    _touchFlag = false;
}

void CPanZoomComponent::onTouchesMoved(const std::vector<Touch*>&, cocos2d::Event*) {
    applyTouches();
}

void CPanZoomComponent::onTouchesEnded(const std::vector<Touch*>& touches, cocos2d::Event*) {
    removeTouches(touches);
}

void CPanZoomComponent::onTouchesCancelled(const std::vector<Touch*>& touches, cocos2d::Event*) {
    removeTouches(touches);
}

void CPanZoomComponent::removeTouches(const std::vector<Touch*>& touches) {
    for (Touch* touch : touches) {
        auto found = std::find(_touches.begin(), _touches.end(), touch);
        if (found != _touches.end()) {
            _touches.erase(found);
            touch->release();
        }
    }
    _touchesChanged = true;
}

Vec2 CPanZoomComponent::positionForScale(const Node* node, const Vec2& p, float scale) {
    const Size& size = node->getContentSize();
    const Vec2& anchor = node->getAnchorPoint();
    const float ds = scale - node->getScale();
    Vec2 position = node->getPosition();
    if (size.width != 0.0f) {
        position.x += (anchor.x - p.x / size.width) * size.width * ds;
    }
    if (size.height != 0.0f) {
        position.y += (anchor.y - p.y / size.height) * size.height * ds;
    }
    return position;
}

Vec2 CPanZoomComponent::clampPosition(const Vec2& position) const {
    if (_target == nullptr || _target->getParent() == nullptr) {
        return position;
    }
    const Size& parentSize = _target->getParent()->getContentSize();
    const cocos2d::Rect box = _target->getBoundingBox();
    const float halfX = (parentSize.width - box.size.width) * 0.5f;
    const float halfY = (parentSize.height - box.size.height) * 0.5f;
    Vec2 clamped = position;
    clamped.x = halfX < 0.0f ? std::max(std::min(clamped.x, -halfX), halfX) : 0.0f;
    clamped.y = halfY < 0.0f ? std::max(std::min(clamped.y, -halfY), halfY) : 0.0f;
    return clamped;
}

void CPanZoomComponent::applyTouches() {
    if (_target == nullptr) {
        return;
    }
    if (_target->getNumberOfRunningActions() > 0) {
        cocos2d::log("numberOfRunningActions() > 0");
        return;
    }
    cocos2d::Director* director = cocos2d::Director::getInstance();
    if (_touches.size() == 1 && _panEnabled && !_touchesChanged) {
        Touch* touch = _touches[0];
        const Vec2 location = director->convertToGL(touch->getLocationInView());
        const Vec2 previous = director->convertToGL(touch->getPreviousLocationInView());
        _target->setPosition(clampPosition(_target->getPosition() + (location - previous)));
    } else if (_touches.size() == 2 && _zoomEnabled && !_touchesChanged) {
        const Vec2 a = director->convertToGL(_touches[0]->getLocationInView());
        const Vec2 b = director->convertToGL(_touches[1]->getLocationInView());
        const Vec2 previousA = director->convertToGL(_touches[0]->getPreviousLocationInView());
        const Vec2 previousB = director->convertToGL(_touches[1]->getPreviousLocationInView());
        const Vec2 middle = (a + b) * 0.5f;
        const float previousDistance = previousA.distance(previousB);
        float scale = _target->getScale();
        if (previousDistance > 0.0f) {
            scale *= a.distance(b) / previousDistance;
        }
        scale = std::max(std::min(scale, _maxScale), _minScale);
        const Vec2 position = positionForScale(_target, middle, scale);
        _target->setScale(scale);
        _target->setPosition(clampPosition(position));
    }
    _touchesChanged = false;
}

void CPanZoomComponent::zoomIn(const Vec2& p) {
    if (_target == nullptr) {
        return;
    }
    const Vec2 position = positionForScale(_target, p, _maxScale);
    _target->stopAllActions();
    _target->runAction(cocos2d::EaseSineOut::create(cocos2d::ScaleTo::create(_zoomDuration, _maxScale)));
    _target->runAction(cocos2d::EaseSineOut::create(cocos2d::MoveTo::create(_zoomDuration, position)));
}

void CPanZoomComponent::zoomInAtTouch(Touch* touch) {
    if (_target == nullptr || touch == nullptr) {
        return;
    }
    zoomIn(_target->convertTouchToNodeSpace(touch));
}

void CPanZoomComponent::zoomOut() {
    cocos2d::log("CPanZoomComponent::zoomOut");
    if (_target == nullptr || _target->getScale() == _minScale) {
        return;
    }
    cocos2d::log("mTarget stopAllActions and scale down");
    _target->stopAllActions();
    const float duration = getZoomOutDuration();
    _target->runAction(cocos2d::EaseSineOut::create(cocos2d::ScaleTo::create(duration, _minScale)));
    _target->runAction(cocos2d::EaseSineOut::create(cocos2d::MoveTo::create(duration, Vec2::ZERO)));
}

float CPanZoomComponent::getZoomOutDuration() const {
    if (_target == nullptr || _maxScale == _minScale) {
        return 0.0f;
    }
    return std::fabs(_target->getScale() - _minScale) / std::fabs(_maxScale - _minScale) * _zoomDuration;
}
