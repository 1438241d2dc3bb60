#pragma once

#include <functional>

#include "engine/actions/Action.h"

namespace cocos2d {

// Calls a function once: on its first step when run on its own, on the step it is reached inside a
// Sequence. The function may stop this action, stop every action of the target, remove or destroy
// the target, or run new actions on it (they start in the next tick).
class CallFunc : public ActionInstant {
public:
    static CallFunc* create(const std::function<void()>& func);

    void update(float t) override;

protected:
    CallFunc() = default;

    std::function<void()> _function;
};

}  // namespace cocos2d
