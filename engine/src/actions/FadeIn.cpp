#include "engine/actions/FadeIn.h"

#include <new>

#include "actions/MakeAction.h"

namespace cocos2d {

FadeIn* FadeIn::create(float duration) {
    return actionprogress::makeAction(new (std::nothrow) FadeIn(),
                                      [&](FadeIn* a) { return a->initWithOpacity(duration, 255); });
}

}  // namespace cocos2d
