#include "engine/actions/Speed.h"

#include <new>

#include "actions/MakeAction.h"

namespace cocos2d {

Speed* Speed::create(ActionInterval* action, float speed) {
    return actionprogress::makeAction(new (std::nothrow) Speed(),
                                      [&](Speed* s) { return s->initWithAction(action, speed); });
}

bool Speed::initWithAction(ActionInterval* action, float speed) {
    if (!action) {
        return false;
    }
    _inner = action;
    _speed = speed;
    return true;
}

bool Speed::isDone() const {
    return _inner->isDone();
}

void Speed::startWithTarget(Node* target) {
    Action::startWithTarget(target);
    _inner->startWithTarget(target);
}

void Speed::stop() {
    if (_target) {
        _inner->stop();
    }
    Action::stop();
}

void Speed::step(float dt) {
    if (_target) {
        _inner->step(dt * _speed);
    }
}

}  // namespace cocos2d
