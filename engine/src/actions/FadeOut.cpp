#include "engine/actions/FadeOut.h"

#include <new>

#include "actions/MakeAction.h"

namespace cocos2d {

FadeOut* FadeOut::create(float duration) {
    return actionprogress::makeAction(new (std::nothrow) FadeOut(),
                                      [&](FadeOut* a) { return a->initWithOpacity(duration, 0); });
}

}  // namespace cocos2d
