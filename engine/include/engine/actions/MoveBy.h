#pragma once

#include "engine/actions/Action.h"
#include "engine/math/Vec2.h"

namespace cocos2d {

// Moves the target from where it stands when the action starts by a delta: start + delta * t.
class MoveBy : public ActionInterval {
public:
    static MoveBy* create(float duration, const Vec2& delta);

    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    MoveBy() = default;

    Vec2 _delta;
    Vec2 _start;
};

}  // namespace cocos2d
