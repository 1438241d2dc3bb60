#pragma once

#include "engine/actions/Action.h"

namespace cocos2d {

// Turns the target by an angle in degrees from its rotation when the action starts.
class RotateBy : public ActionInterval {
public:
    static RotateBy* create(float duration, float deltaDegrees);

    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    RotateBy() = default;

    float _delta = 0.0f;
    float _start = 0.0f;
};

}  // namespace cocos2d
