#include "engine/actions/Action.h"

#include <algorithm>

namespace cocos2d {

void Action::startWithTarget(Node* target) {
    _originalTarget = target;
    _target = target;
}

void Action::stop() {
    _target = nullptr;
}

void Action::step(float) {}

void Action::update(float) {}

bool ActionInterval::initWithDuration(float d) {
    _duration = d;
    _elapsed = 0.0f;
    _started = false;
    _done = false;
    return true;
}

bool ActionInterval::isDone() const {
    return _done;
}

void ActionInterval::startWithTarget(Node* target) {
    FiniteTimeAction::startWithTarget(target);
    _elapsed = 0.0f;
    _started = true;
    _done = false;
}

void ActionInterval::step(float dt) {
    _elapsed += dt;
    if (_duration <= 0.0f || _elapsed >= _duration - kFinishEpsilon) {
        _done = true;
        update(1.0f);
        return;
    }
    update(std::min(1.0f, std::max(0.0f, _elapsed / _duration)));
}

void ActionInstant::startWithTarget(Node* target) {
    FiniteTimeAction::startWithTarget(target);
    _done = false;
}

void ActionInstant::step(float) {
    _done = true;
    update(1.0f);
}

}  // namespace cocos2d
