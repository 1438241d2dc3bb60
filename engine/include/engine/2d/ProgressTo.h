#pragma once

#include "engine/actions/Action.h"

namespace cocos2d {

class ProgressTimer;

// Moves a ProgressTimer's percentage from its value when the action starts to the given one (the
// timer keeps it within 0..100). On a target that is no ProgressTimer it logs once and does nothing.
class ProgressTo : public ActionInterval {
public:
    static ProgressTo* create(float duration, float percent);

    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    ProgressTo() = default;

    float _to = 0.0f;
    float _from = 0.0f;
    ProgressTimer* _timer = nullptr;
};

}  // namespace cocos2d
