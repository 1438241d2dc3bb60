#include "engine/actions/RotateTo.h"

#include <cmath>
#include <new>

#include "actions/MakeAction.h"
#include "engine/scene/Node.h"

namespace cocos2d {

RotateTo* RotateTo::create(float duration, float degrees) {
    return actionprogress::makeAction(new (std::nothrow) RotateTo(), [&](RotateTo* a) {
        a->_end = degrees;
        return a->initWithDuration(duration);
    });
}

void RotateTo::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    float turn = std::fmod(_end - target->getRotation(), 360.0f);
    if (turn > 180.0f) {
        turn -= 360.0f;
    } else if (turn <= -180.0f) {
        turn += 360.0f;
    }
    _turn = turn;
}

void RotateTo::update(float t) {
    // Measured back from the end: the start is the same angle on screen (up to whole turns), and the
    // last step lands on the value asked for rather than on start + turn.
    if (_target) {
        _target->setRotation(_end - _turn * (1.0f - t));
    }
}

}  // namespace cocos2d
