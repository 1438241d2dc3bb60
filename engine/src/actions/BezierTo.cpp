#include "engine/actions/BezierTo.h"

#include <new>

#include "actions/MakeAction.h"
#include "engine/scene/Node.h"

namespace cocos2d {
namespace {

float cubic(float p0, float p1, float p2, float p3, float t) {
    const float u = 1.0f - t;
    return u * u * u * p0 + 3.0f * u * u * t * p1 + 3.0f * u * t * t * p2 + t * t * t * p3;
}

}  // namespace

BezierTo* BezierTo::create(float duration, const ccBezierConfig& config) {
    return actionprogress::makeAction(new (std::nothrow) BezierTo(), [&](BezierTo* a) {
        a->_config = config;
        return a->initWithDuration(duration);
    });
}

void BezierTo::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _start = target->getPosition();
}

void BezierTo::update(float t) {
    if (!_target) {
        return;
    }
    const ccBezierConfig& c = _config;
    _target->setPosition(Vec2(cubic(_start.x, c.controlPoint_1.x, c.controlPoint_2.x, c.endPosition.x, t),
                              cubic(_start.y, c.controlPoint_1.y, c.controlPoint_2.y, c.endPosition.y, t)));
}

}  // namespace cocos2d
