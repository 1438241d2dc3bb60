#pragma once

#include <utility>

namespace cocos2d::actionprogress {

// The create() road of every action: init on a freshly allocated object, autorelease on success,
// else delete and give null.
template <typename T, typename Init>
T* makeAction(T* action, Init&& init) {
    if (action && std::forward<Init>(init)(action)) {
        action->autorelease();
        return action;
    }
    delete action;
    return nullptr;
}

}  // namespace cocos2d::actionprogress
