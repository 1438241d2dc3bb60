#include "engine/actions/Repeat.h"

#include <algorithm>
#include <new>

#include "actions/ActionProgress.h"
#include "actions/MakeAction.h"

namespace cocos2d {

using actionprogress::kEpsilon;

Repeat* Repeat::create(FiniteTimeAction* action, unsigned int times) {
    return actionprogress::makeAction(new (std::nothrow) Repeat(),
                                      [&](Repeat* r) { return r->initWithAction(action, times); });
}

bool Repeat::initWithAction(FiniteTimeAction* action, unsigned int times) {
    if (!action) {
        return false;
    }
    _inner = action;
    _times = times;
    return ActionInterval::initWithDuration(std::max(0.0f, action->getDuration()) *
                                            static_cast<float>(times));
}

void Repeat::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    ++_run;
    _round = 0;
    _innerRunning = false;
    if (_times > 0) {
        _innerRunning = true;
        _inner->startWithTarget(target);
    }
}

void Repeat::stop() {
    ++_run;
    if (_innerRunning) {
        _innerRunning = false;
        _inner->stop();
    }
    ActionInterval::stop();
}

bool Repeat::finishRound() {
    const uint32_t run = _run;
    _inner->update(1.0f);
    if (run != _run || !_innerRunning) {
        return false;
    }
    _innerRunning = false;
    _inner->stop();
    return run == _run;
}

void Repeat::update(float t) {
    if (!_target || !_innerRunning) {
        return;
    }
    const uint32_t run = _run;
    RefPtr<Repeat> keep(this);
    const float round = std::max(0.0f, _inner->getDuration());
    const float time = t * _duration;
    // Close every round whose end the time has reached and restart the inner action for the next.
    while (_round + 1 < _times &&
           (round <= 0.0f || time >= static_cast<float>(_round + 1) * round - kEpsilon)) {
        if (!finishRound()) {
            return;
        }
        ++_round;
        _innerRunning = true;
        _inner->startWithTarget(_target);
        if (run != _run) {
            return;
        }
    }
    if (round <= 0.0f) {
        finishRound();
        return;
    }
    _inner->update(actionprogress::childProgress((time - static_cast<float>(_round) * round) / round, t));
}

}  // namespace cocos2d
