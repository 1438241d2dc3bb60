#include "engine/actions/ScaleTo.h"

#include <new>

#include "actions/ActionProgress.h"
#include "actions/MakeAction.h"
#include "engine/scene/Node.h"

namespace cocos2d {

ScaleTo* ScaleTo::create(float duration, float scale) {
    return create(duration, scale, scale);
}

ScaleTo* ScaleTo::create(float duration, float scaleX, float scaleY) {
    return actionprogress::makeAction(new (std::nothrow) ScaleTo(), [&](ScaleTo* a) {
        a->_endX = scaleX;
        a->_endY = scaleY;
        return a->initWithDuration(duration);
    });
}

void ScaleTo::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _startX = target->getScaleX();
    _startY = target->getScaleY();
}

void ScaleTo::update(float t) {
    if (_target) {
        _target->setScale(actionprogress::lerp(_startX, _endX, t), actionprogress::lerp(_startY, _endY, t));
    }
}

}  // namespace cocos2d
