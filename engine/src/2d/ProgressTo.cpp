#include "engine/2d/ProgressTo.h"

#include <new>

#include "engine/2d/ProgressTimer.h"
#include "engine/base/Log.h"

namespace cocos2d {

ProgressTo* ProgressTo::create(float duration, float percent) {
    auto* action = new (std::nothrow) ProgressTo();
    if (action && action->initWithDuration(duration)) {
        action->_to = percent;
        action->autorelease();
        return action;
    }
    delete action;
    return nullptr;
}

void ProgressTo::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _timer = dynamic_cast<ProgressTimer*>(target);
    if (!_timer) {
        logAt(LogLevel::Warning, "ProgressTo: the target is not a ProgressTimer; nothing moves");
        return;
    }
    _from = _timer->getPercentage();
}

void ProgressTo::update(float t) {
    // The target is the one the action started with, or null once it stopped.
    if (_timer && _target == _timer) {
        _timer->setPercentage(_from + (_to - _from) * t);
    }
}

}  // namespace cocos2d
