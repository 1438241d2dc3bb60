#include "engine/actions/MoveBy.h"

#include <new>

#include "actions/MakeAction.h"
#include "engine/scene/Node.h"

namespace cocos2d {

MoveBy* MoveBy::create(float duration, const Vec2& delta) {
    return actionprogress::makeAction(new (std::nothrow) MoveBy(), [&](MoveBy* a) {
        a->_delta = delta;
        return a->initWithDuration(duration);
    });
}

void MoveBy::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _start = target->getPosition();
}

void MoveBy::update(float t) {
    if (_target) {
        _target->setPosition(_start + _delta * t);
    }
}

}  // namespace cocos2d
