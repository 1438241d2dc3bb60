#pragma once

#include "engine/actions/FadeTo.h"

namespace cocos2d {

// Fades from the target's current opacity up to 255.
class FadeIn : public FadeTo {
public:
    static FadeIn* create(float duration);

protected:
    FadeIn() = default;
};

}  // namespace cocos2d
