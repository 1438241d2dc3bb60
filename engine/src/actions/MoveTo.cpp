#include "engine/actions/MoveTo.h"

#include <new>

#include "actions/ActionProgress.h"
#include "actions/MakeAction.h"
#include "engine/scene/Node.h"

namespace cocos2d {

MoveTo* MoveTo::create(float duration, const Vec2& position) {
    return actionprogress::makeAction(new (std::nothrow) MoveTo(), [&](MoveTo* a) {
        a->_end = position;
        return a->initWithDuration(duration);
    });
}

void MoveTo::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _start = target->getPosition();
}

void MoveTo::update(float t) {
    if (_target) {
        _target->setPosition(actionprogress::lerp(_start, _end, t));
    }
}

}  // namespace cocos2d
