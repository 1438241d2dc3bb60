#pragma once

#include <cstdint>
#include <string>

#include "engine/actions/Action.h"

// Counts the number a label shows from one whole value to another, each value written after a fixed
// prefix ("$0" ... "$100"). Runs on any node that is a LabelProtocol. Intermediate values are
// truncated towards the start, so the end value shows only at the end, and it shows exactly.
class ScrollingNumberAction : public cocos2d::ActionInterval {
public:
    static ScrollingNumberAction* create(int32_t startValue, int32_t endValue, float duration,
                                         const std::string& prefix);
    ~ScrollingNumberAction() override;

    void update(float t) override;

    // The value shown at progress t.
    static int32_t valueAt(int32_t startValue, int32_t endValue, float t);

protected:
    ScrollingNumberAction() = default;

private:
    int32_t _startValue = 0;
    int32_t _endValue = 0;
    std::string _prefix;
};
