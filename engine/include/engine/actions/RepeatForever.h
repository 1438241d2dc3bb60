#pragma once

#include <cstdint>

#include "engine/actions/Action.h"
#include "engine/base/RefPtr.h"

namespace cocos2d {

// Runs an action again and again and is never done. Each round restarts the inner action with the
// time left over; a step longer than a round completes every round it covers.
class RepeatForever : public ActionInterval {
public:
    static RepeatForever* create(ActionInterval* action);

    ActionInterval* getInnerAction() const { return _inner.get(); }

    bool isDone() const override { return false; }
    void startWithTarget(Node* target) override;
    void stop() override;
    void step(float dt) override;
    void update(float t) override {}

protected:
    RepeatForever() = default;
    bool initWithAction(ActionInterval* action);

private:
    RefPtr<ActionInterval> _inner;
    float _roundTime = 0.0f;
    bool _innerRunning = false;
    // Changes on every start and stop: a callback inside that stops this action ends the step.
    uint32_t _run = 0;
};

}  // namespace cocos2d
