#include "engine/actions/FadeTo.h"

#include <new>

#include "actions/ActionProgress.h"
#include "actions/MakeAction.h"
#include "engine/scene/Node.h"

namespace cocos2d {

FadeTo* FadeTo::create(float duration, GLubyte opacity) {
    return actionprogress::makeAction(new (std::nothrow) FadeTo(),
                                      [&](FadeTo* a) { return a->initWithOpacity(duration, opacity); });
}

bool FadeTo::initWithOpacity(float duration, GLubyte opacity) {
    _toOpacity = opacity;
    return ActionInterval::initWithDuration(duration);
}

void FadeTo::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _fromOpacity = target->getOpacity();
}

void FadeTo::update(float t) {
    if (_target) {
        _target->setOpacity(actionprogress::toByte(actionprogress::lerp(_fromOpacity, _toOpacity, t)));
    }
}

}  // namespace cocos2d
