#pragma once

#include "engine/scene/Layer.h"

// The layer of every full screen: it stands at the centre of the visible area, so the nodes a
// screen builds from its UI description (placed from the centre of their parent's frame) land where
// the description puts them. Derived screens call ScreenBase::init first from their own init.
class ScreenBase : public cocos2d::Layer {
public:
    ~ScreenBase() override;
    bool init() override;

protected:
    ScreenBase() = default;
};
