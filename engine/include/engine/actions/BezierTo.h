#pragma once

#include "engine/actions/Action.h"
#include "engine/base/Types.h"
#include "engine/math/Vec2.h"

namespace cocos2d {

// Moves the target along a cubic Bezier curve from where it stands when the action starts, through
// the configuration's control points (absolute positions in the parent's space), to its end position.
class BezierTo : public ActionInterval {
public:
    static BezierTo* create(float duration, const ccBezierConfig& config);

    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    BezierTo() = default;

    ccBezierConfig _config;
    Vec2 _start;
};

}  // namespace cocos2d
