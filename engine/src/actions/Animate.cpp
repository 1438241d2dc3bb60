#include "engine/actions/Animate.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "actions/MakeAction.h"
#include "engine/scene/Sprite.h"

namespace cocos2d {

Animate* Animate::create(Animation* animation) {
    return actionprogress::makeAction(new (std::nothrow) Animate(),
                                      [&](Animate* a) { return a->initWithAnimation(animation); });
}

bool Animate::initWithAnimation(Animation* animation) {
    if (!animation) {
        return false;
    }
    _animation = animation;
    return ActionInterval::initWithDuration(animation->getDuration());
}

void Animate::update(float t) {
    auto* sprite = dynamic_cast<Sprite*>(_target);
    const Vector<SpriteFrame*>& frames = _animation->getFrames();
    if (!sprite || frames.empty()) {
        return;
    }
    const long count = static_cast<long>(frames.size());
    const long units = count * static_cast<long>(std::max(1u, _animation->getLoops()));
    // The unit (frame of one loop) that t falls in; the end shows the last frame.
    long unit = static_cast<long>(std::floor(std::clamp(t, 0.0f, 1.0f) * static_cast<float>(units)));
    unit = std::min(unit, units - 1);
    sprite->setSpriteFrame(frames.at(static_cast<size_t>(unit % count)));
}

}  // namespace cocos2d
