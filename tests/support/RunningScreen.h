#pragma once

// The screen the player sees once a scene has faded in, and frames until one is there.

#include <chrono>
#include <thread>

#include "Driver.h"
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

// Frames until a T runs, at most `seconds` of game time. Pictures decode on a thread of their own, so
// each frame also gives it a little real time.
template <typename T>
T* stepUntilRunning(float seconds) {
    for (int frame = 0; frame < static_cast<int>(seconds * 60.0f) && runningScreen<T>() == nullptr; ++frame) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        Driver::get().stepFrames(1);
    }
    return runningScreen<T>();
}

}  // namespace testing
