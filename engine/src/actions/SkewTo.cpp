#include "engine/actions/SkewTo.h"

#include <new>

#include "actions/ActionProgress.h"
#include "actions/MakeAction.h"
#include "engine/scene/Node.h"

namespace cocos2d {

SkewTo* SkewTo::create(float duration, float skewX, float skewY) {
    return actionprogress::makeAction(new (std::nothrow) SkewTo(), [&](SkewTo* a) {
        a->_endX = skewX;
        a->_endY = skewY;
        return a->initWithDuration(duration);
    });
}

void SkewTo::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _startX = target->getSkewX();
    _startY = target->getSkewY();
}

void SkewTo::update(float t) {
    if (_target) {
        _target->setSkewX(actionprogress::lerp(_startX, _endX, t));
        _target->setSkewY(actionprogress::lerp(_startY, _endY, t));
    }
}

}  // namespace cocos2d
