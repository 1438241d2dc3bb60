#include "gameBoard/GameObjectBase.h"

#include "engine/scene/SpriteFrameCache.h"

GameObjectBase* GameObjectBase::createWithSpriteFrameName(const std::string& frameName) {
    return adopt(new (std::nothrow) GameObjectBase(), frameName);
}

bool GameObjectBase::initWithFrameName(const std::string& frameName) {
    cocos2d::SpriteFrame* frame = cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName(frameName);
    if (frame == nullptr || !initWithSpriteFrame(frame)) {
        return false;
    }
    _frameName = frameName;
    return true;
}
