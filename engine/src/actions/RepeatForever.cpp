#include "engine/actions/RepeatForever.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "actions/ActionProgress.h"
#include "actions/MakeAction.h"

namespace cocos2d {
namespace {

// A round far shorter than a step would otherwise stall the frame; past this many rounds in one
// step the rest of the time is taken modulo the round.
constexpr int kMaxRoundsPerStep = 1000;

}  // namespace

using actionprogress::kEpsilon;

RepeatForever* RepeatForever::create(ActionInterval* action) {
    return actionprogress::makeAction(new (std::nothrow) RepeatForever(),
                                      [&](RepeatForever* r) { return r->initWithAction(action); });
}

bool RepeatForever::initWithAction(ActionInterval* action) {
    if (!action) {
        return false;
    }
    _inner = action;
    return ActionInterval::initWithDuration(action->getDuration());
}

void RepeatForever::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    ++_run;
    _roundTime = 0.0f;
    _innerRunning = true;
    _inner->startWithTarget(target);
}

void RepeatForever::stop() {
    ++_run;
    if (_innerRunning) {
        _innerRunning = false;
        _inner->stop();
    }
    ActionInterval::stop();
}

void RepeatForever::step(float dt) {
    if (!_target || !_innerRunning) {
        return;
    }
    const uint32_t run = _run;
    RefPtr<RepeatForever> keep(this);
    _elapsed += dt;
    _roundTime += dt;
    const float round = _inner->getDuration();
    int rounds = 0;
    // A round too short to measure ends once per step.
    const bool instant = round <= kEpsilon;
    while (instant || _roundTime >= round - kEpsilon) {
        _inner->update(1.0f);
        if (run != _run || !_innerRunning) {
            return;
        }
        _innerRunning = false;
        _inner->stop();
        if (run != _run) {
            return;
        }
        _innerRunning = true;
        _inner->startWithTarget(_target);
        if (run != _run) {
            return;
        }
        if (instant) {
            return;
        }
        _roundTime = std::max(0.0f, _roundTime - round);
        if (++rounds >= kMaxRoundsPerStep) {
            _roundTime = std::fmod(_roundTime, round);
            break;
        }
    }
    _inner->update(std::clamp(_roundTime / round, 0.0f, 1.0f));
}

}  // namespace cocos2d
