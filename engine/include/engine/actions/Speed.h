#pragma once

#include "engine/actions/Action.h"
#include "engine/base/RefPtr.h"

namespace cocos2d {

// Steps an interval action by dt times a speed factor; done when the inner action is. A new speed
// applies from the next step.
class Speed : public Action {
public:
    static Speed* create(ActionInterval* action, float speed);

    float getSpeed() const { return _speed; }
    void setSpeed(float speed) { _speed = speed; }
    ActionInterval* getInnerAction() const { return _inner.get(); }

    bool isDone() const override;
    void startWithTarget(Node* target) override;
    void stop() override;
    void step(float dt) override;

protected:
    Speed() = default;
    bool initWithAction(ActionInterval* action, float speed);

private:
    RefPtr<ActionInterval> _inner;
    float _speed = 1.0f;
};

}  // namespace cocos2d
