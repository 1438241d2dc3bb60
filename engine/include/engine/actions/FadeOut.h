#pragma once

#include "engine/actions/FadeTo.h"

namespace cocos2d {

// Fades from the target's current opacity down to 0.
class FadeOut : public FadeTo {
public:
    static FadeOut* create(float duration);

protected:
    FadeOut() = default;
};

}  // namespace cocos2d
