#include "engine/actions/TintTo.h"

#include <new>

#include "actions/ActionProgress.h"
#include "actions/MakeAction.h"
#include "engine/scene/Node.h"

namespace cocos2d {

TintTo* TintTo::create(float duration, GLubyte red, GLubyte green, GLubyte blue) {
    return create(duration, Color3B(red, green, blue));
}

TintTo* TintTo::create(float duration, const Color3B& color) {
    return actionprogress::makeAction(new (std::nothrow) TintTo(), [&](TintTo* a) {
        a->_to = color;
        return a->initWithDuration(duration);
    });
}

void TintTo::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    _from = target->getColor();
}

void TintTo::update(float t) {
    if (!_target) {
        return;
    }
    using actionprogress::lerp;
    using actionprogress::toByte;
    _target->setColor(Color3B(toByte(lerp(_from.r, _to.r, t)), toByte(lerp(_from.g, _to.g, t)),
                              toByte(lerp(_from.b, _to.b, t))));
}

}  // namespace cocos2d
