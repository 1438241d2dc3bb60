#pragma once

#include "engine/actions/Action.h"
#include "engine/base/GLTypes.h"

namespace cocos2d {

// Fades the target's opacity from its value when the action starts to the given one. The opacity
// stays within 0..255 when an ease overshoots.
class FadeTo : public ActionInterval {
public:
    static FadeTo* create(float duration, GLubyte opacity);

    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    FadeTo() = default;
    bool initWithOpacity(float duration, GLubyte opacity);

    GLubyte _toOpacity = 0;
    GLubyte _fromOpacity = 0;
};

}  // namespace cocos2d
