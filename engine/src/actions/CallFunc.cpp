#include "engine/actions/CallFunc.h"

#include <new>

#include "engine/base/RefPtr.h"

namespace cocos2d {

CallFunc* CallFunc::create(const std::function<void()>& func) {
    auto* action = new (std::nothrow) CallFunc();
    if (!action) {
        return nullptr;
    }
    action->_function = func;
    action->autorelease();
    return action;
}

void CallFunc::update(float) {
    if (!_function) {
        return;
    }
    // The function may release the last other owner of this action (stopping the sequence it is in).
    RefPtr<CallFunc> keep(this);
    _function();
}

}  // namespace cocos2d
