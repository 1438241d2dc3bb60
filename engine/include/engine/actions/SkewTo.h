#pragma once

#include "engine/actions/Action.h"

namespace cocos2d {

// Skews the target from its skew when the action starts to the given x and y skews in degrees.
class SkewTo : public ActionInterval {
public:
    static SkewTo* create(float duration, float skewX, float skewY);

    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    SkewTo() = default;

    float _endX = 0.0f;
    float _endY = 0.0f;
    float _startX = 0.0f;
    float _startY = 0.0f;
};

}  // namespace cocos2d
