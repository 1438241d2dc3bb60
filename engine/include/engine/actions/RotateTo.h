#pragma once

#include "engine/actions/Action.h"

namespace cocos2d {

// Turns the target to an angle in degrees the short way round: the turn is the difference from the
// angle at the start normalised into (-180, 180]. It ends on exactly the given angle.
class RotateTo : public ActionInterval {
public:
    static RotateTo* create(float duration, float degrees);

    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    RotateTo() = default;

    float _end = 0.0f;
    float _turn = 0.0f;
};

}  // namespace cocos2d
