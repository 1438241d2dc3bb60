#pragma once

#include "engine/actions/Action.h"

namespace cocos2d {

// Does nothing for its duration. A delay of 0 ends on its first step.
class DelayTime : public ActionInterval {
public:
    static DelayTime* create(float duration);

    void update(float t) override {}

protected:
    DelayTime() = default;
};

}  // namespace cocos2d
