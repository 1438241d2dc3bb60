#pragma once

#include <cstdint>

#include "engine/actions/Action.h"
#include "engine/base/RefPtr.h"

namespace cocos2d {

// Runs an action a number of times; the duration is the inner duration times the count. Each round
// restarts the inner action (it captures its start values again) with the time left over from the
// round before.
class Repeat : public ActionInterval {
public:
    static Repeat* create(FiniteTimeAction* action, unsigned int times);

    void startWithTarget(Node* target) override;
    void stop() override;
    void update(float t) override;

protected:
    Repeat() = default;
    bool initWithAction(FiniteTimeAction* action, unsigned int times);

private:
    // update(1) then stop(); false when this repeat was stopped (or restarted) meanwhile.
    bool finishRound();

    RefPtr<FiniteTimeAction> _inner;
    unsigned int _times = 0;
    unsigned int _round = 0;
    bool _innerRunning = false;
    // Changes on every start and stop: a callback inside that stops this repeat ends the step.
    uint32_t _run = 0;
};

}  // namespace cocos2d
