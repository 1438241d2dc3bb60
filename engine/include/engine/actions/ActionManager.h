#pragma once

#include <cstdint>
#include <memory>
#include <sys/types.h>
#include <unordered_map>
#include <vector>

#include "engine/base/Ref.h"

namespace cocos2d {

class Action;
class Node;

// Runs actions on nodes. The manager owns its actions, not their targets: a target is retained only
// for the length of each step, and a node destroyed with actions attached drops them without stop().
// Actions step once per tick in order of addition; one added during a tick first steps in the next.
class ActionManager : public Ref {
public:
    static ActionManager* create();
    ~ActionManager() override;

    // Retains the action and starts it on the target at once (start values are captured now).
    void addAction(Action* action, Node* target, bool paused);
    // Each removal stops the action (stop() runs once) and releases it.
    void removeAction(Action* action);
    void removeAllActionsFromTarget(Node* target);
    // Removes the first action of the target with the tag.
    void removeActionByTag(int tag, Node* target);
    void removeAllActionsByTag(int tag, Node* target);
    void removeAllActions();
    // Drops the target's actions without stop(): for a node that is being destroyed.
    void dropAllActionsFromTarget(Node* target);

    Action* getActionByTag(int tag, const Node* target) const;
    ssize_t getNumberOfRunningActionsInTarget(const Node* target) const;
    ssize_t getNumberOfRunningActions() const;

    void pauseTarget(Node* target);
    void resumeTarget(Node* target);
    bool isTargetPaused(const Node* target) const;

    void update(float dt);

private:
    struct Entry;

    ActionManager() = default;
    void finish(Entry& entry, bool callStop);
    void collectGarbage();

    std::vector<std::shared_ptr<Entry>> _entries;
    std::unordered_map<const Node*, bool> _pausedTargets;
    uint64_t _tickNumber = 0;
    bool _inUpdate = false;
};

}  // namespace cocos2d
