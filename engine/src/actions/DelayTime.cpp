#include "engine/actions/DelayTime.h"

#include <new>

#include "actions/MakeAction.h"

namespace cocos2d {

DelayTime* DelayTime::create(float duration) {
    return actionprogress::makeAction(new (std::nothrow) DelayTime(),
                                      [&](DelayTime* a) { return a->initWithDuration(duration); });
}

}  // namespace cocos2d
