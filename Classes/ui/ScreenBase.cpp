#include "ui/ScreenBase.h"

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/math/Vec2.h"

ScreenBase::~ScreenBase() = default;

bool ScreenBase::init() {
    if (!Layer::init()) {
        cocos2d::log("ScreenBase::init false");
        return false;
    }
    cocos2d::Director* director = cocos2d::Director::getInstance();
    const cocos2d::Size visible = director->getVisibleSize();
    setPosition(director->getVisibleOrigin() + cocos2d::Vec2(visible.width, visible.height) / 2.0f);
    cocos2d::log("ScreenBase::init");
    return true;
}
