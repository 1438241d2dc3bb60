#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/actions/Action.h"
#include "engine/base/RefPtr.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"
#include "../HeadlessEngine.h"

namespace enginetest {

// A running scene with one node on it, for stepping actions at a fixed dt.
class ActionStage : public HeadlessEngine {
protected:
    void SetUp() override {
        HeadlessEngine::SetUp();
        scene = cocos2d::Scene::create();
        director()->runWithScene(scene);
        step();
        node = cocos2d::Node::create();
        scene->addChild(node);
    }

    // Steps until the action has left the manager; the number of steps it took, or -1 past `limit`.
    int stepsUntilDone(cocos2d::Action* action, int limit = 1000, float dt = kFrame) {
        cocos2d::RefPtr<cocos2d::Action> keep(action);
        for (int i = 1; i <= limit; ++i) {
            step(1, dt);
            if (!action->getTarget()) {
                return i;
            }
        }
        return -1;
    }

    cocos2d::Scene* scene = nullptr;
    cocos2d::Node* node = nullptr;
};

// A user-written interval action as the game derives them (the volume fades, the counting label):
// it overrides update and stop only, and records both.
class VolumeFade : public cocos2d::ActionInterval {
public:
    static VolumeFade* create(float duration, float from, float to, std::vector<std::string>* log = nullptr) {
        auto* fade = new VolumeFade();
        fade->initWithDuration(duration);
        fade->_from = from;
        fade->_to = to;
        fade->_log = log;
        fade->autorelease();
        return fade;
    }
    void update(float t) override {
        volume = _from + (_to - _from) * t;
        ++updates;
    }
    void stop() override {
        ++stops;
        if (_log) {
            _log->push_back("fade stop");
        }
        cocos2d::ActionInterval::stop();
    }

    float volume = -1.0f;
    int updates = 0;
    int stops = 0;

private:
    float _from = 0.0f;
    float _to = 0.0f;
    std::vector<std::string>* _log = nullptr;
};

}  // namespace enginetest
