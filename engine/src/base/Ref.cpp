#include "engine/base/Ref.h"

#include <cassert>

#include "engine/base/AutoreleasePool.h"

namespace cocos2d {

Ref::~Ref() = default;

void Ref::retain() {
    assert(_referenceCount > 0 && "retain of a destroyed Ref");
    ++_referenceCount;
}

void Ref::release() {
    assert(_referenceCount > 0 && "release of a destroyed Ref");
    if (--_referenceCount == 0) {
        delete this;
    }
}

Ref* Ref::autorelease() {
    AutoreleasePool::getInstance()->addObject(this);
    return this;
}

}  // namespace cocos2d
