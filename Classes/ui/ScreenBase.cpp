#include "ui/ScreenBase.h"

#include "engine/base/Log.h"

#include "ui/NodeFromJson.h"

ScreenBase::~ScreenBase() = default;

bool ScreenBase::init() {
    if (!Layer::init()) {
        cocos2d::log("ScreenBase::init false");
        return false;
    }
    setPosition(visibleCenter());
    cocos2d::log("ScreenBase::init");
    return true;
}
