#pragma once

#include "engine/base/RefPtr.h"
#include "engine/scene/Scene.h"

namespace cocos2d {

// A scene that hands the stage from one scene to another over a duration. Run it through
// replaceScene, pushScene or runWithScene; it is the running scene while it lasts, and input to the
// scene graph is blocked meanwhile.
//
// At its start (the director's safe point) the outgoing scene gets onExitTransitionDidStart and keeps
// running, so its actions and timers still fire; the incoming scene gets onEnter. The time runs on the
// scheduler (Director::pause freezes it; a duration of 0 ends at the first tick). At the end the
// outgoing scene gets onExit, and after a replace also cleanup and its release; the incoming scene
// takes the transition's place on the stack, then gets onEnterTransitionDidFinish.
class TransitionScene : public Scene {
public:
    ~TransitionScene() override;

    Scene* getInScene() const { return _inScene.get(); }
    // (ours) The scene being left or covered; null before the start and after the end.
    Scene* getOutScene() const { return _outScene.get(); }
    float getDuration() const { return _duration; }
    // (ours) 0 at the start, 1 at the end.
    float getProgress() const;

    bool isTransition() const override { return true; }
    void takeOutgoingScene(Scene* outgoing, bool leavesStack) override;
    std::vector<Node*> getEventTrees() override;
    void onEnter() override;
    // Only when the transition is cut short (the director ends): both scenes leave the stage with it.
    void onExit() override;
    void cleanup() override;
    void update(float dt) override;

protected:
    TransitionScene() = default;
    bool initWithDuration(float duration, Scene* scene);

private:
    void finish();

    RefPtr<Scene> _inScene;
    RefPtr<Scene> _outScene;
    bool _outLeavesStack = false;
    float _duration = 0.0f;
    float _elapsed = 0.0f;
    bool _finished = false;
};

}  // namespace cocos2d
