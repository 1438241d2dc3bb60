#include "engine/scene/TransitionScene.h"

#include <algorithm>
#include <utility>

#include "engine/base/Director.h"
#include "engine/base/Log.h"

namespace cocos2d {
namespace {

// The same end rule as interval actions: done once the elapsed time is within this of the duration.
constexpr float kFinishEpsilon = 1e-5f;

}  // namespace

TransitionScene::~TransitionScene() = default;

bool TransitionScene::initWithDuration(float duration, Scene* scene) {
    if (!scene) {
        log("Transition: no scene to enter");
        return false;
    }
    if (scene->isTransition()) {
        log("Transition: the incoming scene is itself a transition");
        return false;
    }
    if (!Scene::init()) {
        return false;
    }
    _inScene = scene;
    _duration = duration;
    return true;
}

float TransitionScene::getProgress() const {
    if (_finished) {
        return 1.0f;
    }
    if (_duration <= 0.0f) {
        return 0.0f;
    }
    return std::clamp(_elapsed / _duration, 0.0f, 1.0f);
}

void TransitionScene::takeOutgoingScene(Scene* outgoing, bool leavesStack) {
    _outScene = outgoing;
    _outLeavesStack = leavesStack;
}

void TransitionScene::onEnter() {
    Scene::onEnter();
    if (_finished) {
        return;
    }
    if (_outScene) {
        _outScene->onExitTransitionDidStart();
    }
    if (!_inScene->isRunning()) {
        _inScene->onEnter();
    }
    scheduleUpdate();
}

void TransitionScene::update(float dt) {
    if (_finished) {
        return;
    }
    _elapsed += dt;
    if (_duration <= 0.0f || _elapsed >= _duration - kFinishEpsilon) {
        finish();
    }
}

void TransitionScene::finish() {
    _finished = true;
    // The director's stack releases this scene below; the pool keeps it to the end of the frame.
    RefPtr<TransitionScene> keep(this);
    unscheduleUpdate();
    RefPtr<Scene> incoming = _inScene;
    if (_outScene) {
        RefPtr<Scene> outgoing = std::move(_outScene);
        outgoing->onExit();
        if (_outLeavesStack) {
            outgoing->cleanup();
        }
        // A replaced scene is released here: its destructor runs before the incoming one finishes.
    }
    Director::getInstance()->finishTransition(this, incoming);
    Scene::onExit();
    Scene::cleanup();
    incoming->onEnterTransitionDidFinish();
}

void TransitionScene::onExit() {
    Scene::onExit();
    if (_finished) {
        return;
    }
    if (_outScene && _outScene->isRunning()) {
        _outScene->onExit();
    }
    if (_inScene->isRunning()) {
        _inScene->onExitTransitionDidStart();
        _inScene->onExit();
    }
}

void TransitionScene::cleanup() {
    Scene::cleanup();
    if (_finished) {
        return;
    }
    if (_outScene && _outLeavesStack) {
        _outScene->cleanup();
    }
    _inScene->cleanup();
}

std::vector<Node*> TransitionScene::getEventTrees() {
    std::vector<Node*> trees;
    if (_inScene) {
        trees.push_back(_inScene.get());
    }
    if (_outScene) {
        trees.push_back(_outScene.get());
    }
    return trees;
}

}  // namespace cocos2d
