#pragma once

#include "engine/actions/Action.h"
#include "engine/actions/Animation.h"
#include "engine/base/RefPtr.h"

namespace cocos2d {

// Shows an animation's frames on the target sprite over frames x delay x loops. Each step shows the
// frame that the progress falls in, so a step longer than a frame skips frames. The sprite keeps the
// last frame at the end; its original frame is not restored. A target that is not a Sprite is left
// alone.
class Animate : public ActionInterval {
public:
    static Animate* create(Animation* animation);

    Animation* getAnimation() const { return _animation.get(); }

    void update(float t) override;

protected:
    Animate() = default;
    bool initWithAnimation(Animation* animation);

private:
    RefPtr<Animation> _animation;
};

}  // namespace cocos2d
