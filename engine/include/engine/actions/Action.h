#pragma once

#include "engine/base/Ref.h"

namespace cocos2d {

class Node;

// The base of every action. The action manager calls startWithTarget when the action is run, then
// step(dt) once per tick until isDone(), then stop(). stop() runs exactly once: on a natural end and
// on every early removal (stopAction, stopActionByTag, stopAllActions, cleanup).
class Action : public Ref {
public:
    static constexpr int INVALID_TAG = -1;

    // Copies and reversals are optional; the defaults give null.
    virtual Action* clone() const { return nullptr; }
    virtual Action* reverse() const { return nullptr; }

    virtual bool isDone() const { return true; }
    virtual void startWithTarget(Node* target);
    // Ends the action; after it, getTarget() is null.
    virtual void stop();
    virtual void step(float dt);
    // t in [0, 1] for interval actions (eases may go beyond).
    virtual void update(float t);

    Node* getTarget() const { return _target; }
    void setTarget(Node* target) { _target = target; }
    Node* getOriginalTarget() const { return _originalTarget; }
    void setOriginalTarget(Node* target) { _originalTarget = target; }
    int getTag() const { return _tag; }
    void setTag(int tag) { _tag = tag; }

protected:
    Action() = default;

    Node* _target = nullptr;
    Node* _originalTarget = nullptr;
    int _tag = INVALID_TAG;
};

// An action with a duration in seconds.
class FiniteTimeAction : public Action {
public:
    float getDuration() const { return _duration; }
    void setDuration(float duration) { _duration = duration; }

    FiniteTimeAction* clone() const override { return nullptr; }
    FiniteTimeAction* reverse() const override { return nullptr; }

protected:
    FiniteTimeAction() = default;
    float _duration = 0.0f;
};

// An action spread over time. Each step adds dt to the elapsed time and calls update(min(1, elapsed /
// duration)); the step on which elapsed reaches duration - 1e-5 s calls update(1) and finishes. A
// duration of 0 or less finishes on its first step.
class ActionInterval : public FiniteTimeAction {
public:
    static constexpr float kFinishEpsilon = 1e-5f;

    bool initWithDuration(float d);
    float getElapsed() const { return _elapsed; }
    // True once the action has been stepped to its end.
    bool isDone() const override;
    void startWithTarget(Node* target) override;
    void step(float dt) override;

    ActionInterval* clone() const override { return nullptr; }
    ActionInterval* reverse() const override { return nullptr; }

protected:
    ActionInterval() = default;

    float _elapsed = 0.0f;
    bool _started = false;
    bool _done = false;
};

// An action that happens at once: its first step calls update(1) and it is done.
class ActionInstant : public FiniteTimeAction {
public:
    bool isDone() const override { return _done; }
    void startWithTarget(Node* target) override;
    void step(float dt) override;

    ActionInstant* clone() const override { return nullptr; }
    ActionInstant* reverse() const override { return nullptr; }

protected:
    ActionInstant() = default;
    bool _done = false;
};

}  // namespace cocos2d
