#pragma once

#include <vector>

#include "engine/scene/Node.h"

namespace cocos2d {

// A root of the scene graph. Its content size is the design size, its anchor (0.5, 0.5), and the
// anchor is ignored for position.
class Scene : public Node {
public:
    static Scene* create();
    bool init() override;

    // (ours) True for a transition scene; the director then defers scene changes and input is blocked.
    virtual bool isTransition() const { return false; }
    // (ours) Called on a transition when the director starts it: `outgoing` is the scene it replaces
    // (leavesStack true) or covers (false). The transition retains it as long as it needs it.
    virtual void takeOutgoingScene(Scene* outgoing, bool leavesStack) {}
    // (ours) The trees whose scene-graph listeners hear events while this scene runs, top first: the
    // scene itself, or for a transition the two scenes it shows (mouse moves still reach them).
    virtual std::vector<Node*> getEventTrees() { return {this}; }

protected:
    Scene() = default;
};

}  // namespace cocos2d
