#pragma once

// The screen the player sees once a scene has faded in, and frames until one is there.

#include <string>
#include <typeinfo>

#include "FrameWaits.h"
#include "engine/base/Director.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"

namespace testing {

// The running scene when it is a T, else its first child that is one; null while a fade runs.
template <typename T>
T* runningScreen() {
    cocos2d::Scene* running = cocos2d::Director::getInstance()->getRunningScene();
    if (running == nullptr || running->isTransition()) {
        return nullptr;
    }
    if (auto* scene = dynamic_cast<T*>(running)) {
        return scene;
    }
    for (cocos2d::Node* child : running->getChildren()) {
        if (auto* screen = dynamic_cast<T*>(child)) {
            return screen;
        }
    }
    return nullptr;
}

// Frames until a T runs, at most `gameSeconds` of game time (FrameWaits.h); null, with a failure
// naming T, when none does.
template <typename T>
T* stepUntilRunning(float gameSeconds) {
    stepUntil(
        "a running " + typeName(typeid(T).name()), [] { return runningScreen<T>() != nullptr; }, gameSeconds);
    return runningScreen<T>();
}

}  // namespace testing
