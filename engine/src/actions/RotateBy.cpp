#include "engine/actions/RotateBy.h"

#include <new>

#include "actions/MakeAction.h"
#include "engine/scene/Node.h"

namespace cocos2d {

RotateBy* RotateBy::create(float duration, float deltaDegrees) {
    return actionprogress::makeAction(new (std::nothrow) RotateBy(), [&](RotateBy* a) {
        a->_delta = deltaDegrees;
        return a->initWithDuration(duration);
    });
}

void RotateBy::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _start = target->getRotation();
}

void RotateBy::update(float t) {
    if (_target) {
        _target->setRotation(_start + _delta * t);
    }
}

}  // namespace cocos2d
