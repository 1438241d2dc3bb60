#pragma once

#include "engine/actions/Action.h"
#include "engine/math/Vec2.h"

namespace cocos2d {

// Moves the target from where it stands when the action starts to a position. An ease that leaves
// [0, 1] carries it past either end.
class MoveTo : public ActionInterval {
public:
    static MoveTo* create(float duration, const Vec2& position);

    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    MoveTo() = default;

    Vec2 _end;
    Vec2 _start;
};

}  // namespace cocos2d
