#pragma once

#include "engine/actions/Action.h"

namespace cocos2d {

// Scales the target from its scale when the action starts to the given one, per axis. An ease that
// leaves [0, 1] carries it past either end.
class ScaleTo : public ActionInterval {
public:
    static ScaleTo* create(float duration, float scale);
    static ScaleTo* create(float duration, float scaleX, float scaleY);

    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    ScaleTo() = default;

    float _endX = 1.0f;
    float _endY = 1.0f;
    float _startX = 1.0f;
    float _startY = 1.0f;
};

}  // namespace cocos2d
