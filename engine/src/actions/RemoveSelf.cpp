#include "engine/actions/RemoveSelf.h"

#include <new>

#include "engine/scene/Node.h"

namespace cocos2d {

RemoveSelf* RemoveSelf::create(bool cleanup) {
    auto* action = new (std::nothrow) RemoveSelf();
    if (!action) {
        return nullptr;
    }
    action->_cleanup = cleanup;
    action->autorelease();
    return action;
}

void RemoveSelf::update(float) {
    if (_target) {
        _target->removeFromParentAndCleanup(_cleanup);
    }
}

}  // namespace cocos2d
