#include "engine/events/Touch.h"

#include <new>

#include "engine/base/Director.h"

namespace cocos2d {

Touch* Touch::create(int id, const Vec2& locationInView) {
    auto* touch = new (std::nothrow) Touch();
    if (touch) {
        touch->setTouchInfo(id, locationInView.x, locationInView.y);
        touch->autorelease();
    }
    return touch;
}

void Touch::setTouchInfo(int id, float viewX, float viewY) {
    _id = id;
    _previousPoint = _point;
    _point = Vec2(viewX, viewY);
    if (!_started) {
        _started = true;
        _startPoint = _point;
        _previousPoint = _point;
    }
}

Vec2 Touch::getLocation() const {
    return Director::getInstance()->convertToGL(_point);
}

Vec2 Touch::getPreviousLocation() const {
    return Director::getInstance()->convertToGL(_previousPoint);
}

Vec2 Touch::getStartLocation() const {
    return Director::getInstance()->convertToGL(_startPoint);
}

}  // namespace cocos2d
