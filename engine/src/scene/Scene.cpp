#include "engine/scene/Scene.h"

#include <new>

#include "engine/base/Director.h"

namespace cocos2d {

Scene* Scene::create() {
    auto* scene = new (std::nothrow) Scene();
    if (scene && scene->init()) {
        scene->autorelease();
        return scene;
    }
    delete scene;
    return nullptr;
}

bool Scene::init() {
    if (!Node::init()) {
        return false;
    }
    setIgnoreAnchorPointForPosition(true);
    setAnchorPoint(Vec2(0.5f, 0.5f));
    setContentSize(Director::getInstance()->getWinSize());
    return true;
}

}  // namespace cocos2d
