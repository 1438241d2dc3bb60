#include "engine/actions/ActionEase.h"

#include <cmath>
#include <new>

#include "actions/MakeAction.h"

namespace cocos2d {
namespace {

constexpr float kHalfPi = 1.57079632679489661923f;
constexpr float kBackOvershoot = 1.70158f;

// t^p keeping the sign, so that a nested overshoot below 0 stays defined for fractional powers.
float signedPow(float t, float p) {
    return t < 0.0f ? -std::pow(-t, p) : std::pow(t, p);
}

}  // namespace

bool ActionEase::initWithAction(ActionInterval* action) {
    if (!action) {
        return false;
    }
    _inner = action;
    return ActionInterval::initWithDuration(action->getDuration());
}

void ActionEase::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _inner->startWithTarget(target);
}

void ActionEase::stop() {
    // Stopped once: the inner action only while this ease runs.
    if (_target) {
        _inner->stop();
    }
    ActionInterval::stop();
}

void ActionEase::update(float t) {
    if (_target) {
        _inner->update(ease(t));
    }
}

EaseIn* EaseIn::create(ActionInterval* action, float rate) {
    return actionprogress::makeAction(new (std::nothrow) EaseIn(), [&](EaseIn* e) {
        e->_rate = rate;
        return e->initWithAction(action);
    });
}

float EaseIn::ease(float t) const {
    return signedPow(t, _rate);
}

EaseOut* EaseOut::create(ActionInterval* action, float rate) {
    return actionprogress::makeAction(new (std::nothrow) EaseOut(), [&](EaseOut* e) {
        e->_rate = rate;
        return rate != 0.0f && e->initWithAction(action);
    });
}

float EaseOut::ease(float t) const {
    return signedPow(t, 1.0f / _rate);
}

EaseBackOut* EaseBackOut::create(ActionInterval* action) {
    return actionprogress::makeAction(new (std::nothrow) EaseBackOut(),
                                      [&](EaseBackOut* e) { return e->initWithAction(action); });
}

float EaseBackOut::ease(float t) const {
    const float s = kBackOvershoot;
    const float u = t - 1.0f;
    return u * u * ((s + 1.0f) * u + s) + 1.0f;
}

EaseBackInOut* EaseBackInOut::create(ActionInterval* action) {
    return actionprogress::makeAction(new (std::nothrow) EaseBackInOut(),
                                      [&](EaseBackInOut* e) { return e->initWithAction(action); });
}

float EaseBackInOut::ease(float t) const {
    const float s = kBackOvershoot * 1.525f;
    if (t < 0.5f) {
        const float u = 2.0f * t;
        return 0.5f * u * u * ((s + 1.0f) * u - s);
    }
    const float u = 2.0f * t - 2.0f;
    return 0.5f * (u * u * ((s + 1.0f) * u + s) + 2.0f);
}

EaseSineOut* EaseSineOut::create(ActionInterval* action) {
    return actionprogress::makeAction(new (std::nothrow) EaseSineOut(),
                                      [&](EaseSineOut* e) { return e->initWithAction(action); });
}

float EaseSineOut::ease(float t) const {
    return t == 1.0f ? 1.0f : std::sin(t * kHalfPi);
}

EaseExponentialOut* EaseExponentialOut::create(ActionInterval* action) {
    return actionprogress::makeAction(new (std::nothrow) EaseExponentialOut(),
                                      [&](EaseExponentialOut* e) { return e->initWithAction(action); });
}

float EaseExponentialOut::ease(float t) const {
    return t == 1.0f ? 1.0f : 1.0f - std::pow(2.0f, -10.0f * t);
}

}  // namespace cocos2d
