#pragma once

#include "engine/actions/Action.h"
#include "engine/base/RefPtr.h"

namespace cocos2d {

// The eases: each wraps an interval action, has its duration, and maps the progress t through its
// curve f before the inner update. Every curve has f(0) = 0 and f(1) = 1; the back eases leave [0, 1]
// in between, which carries moves and scales past their ends (fades and tints clamp).
class ActionEase : public ActionInterval {
public:
    ActionInterval* getInnerAction() const { return _inner.get(); }

    void startWithTarget(Node* target) override;
    void stop() override;
    void update(float t) override;

    // The curve.
    virtual float ease(float t) const = 0;

protected:
    ActionEase() = default;
    bool initWithAction(ActionInterval* action);

    RefPtr<ActionInterval> _inner;
};

// t^rate.
class EaseIn : public ActionEase {
public:
    static EaseIn* create(ActionInterval* action, float rate);
    float ease(float t) const override;

protected:
    EaseIn() = default;
    float _rate = 1.0f;
};

// t^(1/rate).
class EaseOut : public ActionEase {
public:
    static EaseOut* create(ActionInterval* action, float rate);
    float ease(float t) const override;

protected:
    EaseOut() = default;
    float _rate = 1.0f;
};

// Overshoots the end and comes back: s = 1.70158, u = t - 1, u^2((s + 1)u + s) + 1.
class EaseBackOut : public ActionEase {
public:
    static EaseBackOut* create(ActionInterval* action);
    float ease(float t) const override;

protected:
    EaseBackOut() = default;
};

// Dips below the start, then overshoots the end: s = 1.70158 * 1.525; below t = 0.5 with u = 2t,
// u^2((s + 1)u - s) / 2; otherwise with u = 2t - 2, (u^2((s + 1)u + s) + 2) / 2.
class EaseBackInOut : public ActionEase {
public:
    static EaseBackInOut* create(ActionInterval* action);
    float ease(float t) const override;

protected:
    EaseBackInOut() = default;
};

// sin(t * pi / 2).
class EaseSineOut : public ActionEase {
public:
    static EaseSineOut* create(ActionInterval* action);
    float ease(float t) const override;

protected:
    EaseSineOut() = default;
};

// 1 - 2^(-10t), and exactly 1 at t = 1.
class EaseExponentialOut : public ActionEase {
public:
    static EaseExponentialOut* create(ActionInterval* action);
    float ease(float t) const override;

protected:
    EaseExponentialOut() = default;
};

}  // namespace cocos2d
