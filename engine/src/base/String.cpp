#include "engine/base/String.h"

#include <new>

namespace cocos2d {

__String* __String::create(const std::string& text) {
    auto* object = new (std::nothrow) __String(text);
    if (object) {
        object->autorelease();
    }
    return object;
}

}  // namespace cocos2d
