#pragma once

#include "engine/actions/Action.h"

namespace cocos2d {

// Removes its target from the target's parent, with or without cleanup, when reached.
class RemoveSelf : public ActionInstant {
public:
    static RemoveSelf* create(bool cleanup = true);

    void update(float t) override;

protected:
    RemoveSelf() = default;

    bool _cleanup = true;
};

}  // namespace cocos2d
