#include "engine/actions/ActionManager.h"

#include <algorithm>
#include <new>

#include "engine/actions/Action.h"
#include "engine/base/RefPtr.h"
#include "engine/scene/Node.h"

namespace cocos2d {

struct ActionManager::Entry {
    Action* action = nullptr;  // retained while the entry lives
    Node* target = nullptr;    // not retained
    uint64_t addedInTick = 0;
    bool removed = false;
};

ActionManager* ActionManager::create() {
    auto* manager = new (std::nothrow) ActionManager();
    if (manager) {
        manager->autorelease();
    }
    return manager;
}

ActionManager::~ActionManager() {
    for (auto& entry : _entries) {
        if (!entry->removed) {
            entry->removed = true;
            entry->action->release();
        }
    }
}

void ActionManager::addAction(Action* action, Node* target, bool paused) {
    if (!action || !target) {
        return;
    }
    auto entry = std::make_shared<Entry>();
    entry->action = action;
    entry->target = target;
    entry->addedInTick = _inUpdate ? _tickNumber : 0;
    action->retain();
    _pausedTargets[target] = paused;
    _entries.push_back(entry);
    action->startWithTarget(target);
}

void ActionManager::finish(Entry& entry, bool callStop) {
    if (entry.removed) {
        return;
    }
    entry.removed = true;
    RefPtr<Action> keep(entry.action);
    entry.action->release();
    if (callStop) {
        entry.action->stop();
    }
}

void ActionManager::removeAction(Action* action) {
    for (size_t i = 0; i < _entries.size(); ++i) {
        auto entry = _entries[i];
        if (!entry->removed && entry->action == action) {
            finish(*entry, true);
            break;
        }
    }
    collectGarbage();
}

void ActionManager::removeAllActionsFromTarget(Node* target) {
    std::vector<std::shared_ptr<Entry>> matching;
    for (auto& entry : _entries) {
        if (!entry->removed && entry->target == target) {
            matching.push_back(entry);
        }
    }
    for (auto& entry : matching) {
        finish(*entry, true);
    }
    collectGarbage();
}

void ActionManager::removeActionByTag(int tag, Node* target) {
    for (size_t i = 0; i < _entries.size(); ++i) {
        auto entry = _entries[i];
        if (!entry->removed && entry->target == target && entry->action->getTag() == tag) {
            finish(*entry, true);
            break;
        }
    }
    collectGarbage();
}

void ActionManager::removeAllActionsByTag(int tag, Node* target) {
    std::vector<std::shared_ptr<Entry>> matching;
    for (auto& entry : _entries) {
        if (!entry->removed && entry->target == target && entry->action->getTag() == tag) {
            matching.push_back(entry);
        }
    }
    for (auto& entry : matching) {
        finish(*entry, true);
    }
    collectGarbage();
}

void ActionManager::removeAllActions() {
    std::vector<std::shared_ptr<Entry>> all = _entries;
    for (auto& entry : all) {
        finish(*entry, true);
    }
    collectGarbage();
}

void ActionManager::dropAllActionsFromTarget(Node* target) {
    for (auto& entry : _entries) {
        if (!entry->removed && entry->target == target) {
            finish(*entry, false);
        }
    }
    _pausedTargets.erase(target);
    collectGarbage();
}

Action* ActionManager::getActionByTag(int tag, const Node* target) const {
    for (const auto& entry : _entries) {
        if (!entry->removed && entry->target == target && entry->action->getTag() == tag) {
            return entry->action;
        }
    }
    return nullptr;
}

ssize_t ActionManager::getNumberOfRunningActionsInTarget(const Node* target) const {
    ssize_t count = 0;
    for (const auto& entry : _entries) {
        if (!entry->removed && entry->target == target) {
            ++count;
        }
    }
    return count;
}

ssize_t ActionManager::getNumberOfRunningActions() const {
    ssize_t count = 0;
    for (const auto& entry : _entries) {
        if (!entry->removed) {
            ++count;
        }
    }
    return count;
}

void ActionManager::pauseTarget(Node* target) {
    _pausedTargets[target] = true;
}

void ActionManager::resumeTarget(Node* target) {
    _pausedTargets[target] = false;
}

bool ActionManager::isTargetPaused(const Node* target) const {
    auto it = _pausedTargets.find(target);
    return it != _pausedTargets.end() && it->second;
}

void ActionManager::collectGarbage() {
    if (_inUpdate) {
        return;
    }
    _entries.erase(std::remove_if(_entries.begin(), _entries.end(), [](const auto& e) { return e->removed; }),
                   _entries.end());
}

void ActionManager::update(float dt) {
    ++_tickNumber;
    const bool outer = !_inUpdate;
    _inUpdate = true;
    const size_t count = _entries.size();
    for (size_t i = 0; i < count && i < _entries.size(); ++i) {
        std::shared_ptr<Entry> entry = _entries[i];
        if (entry->removed || entry->addedInTick == _tickNumber || isTargetPaused(entry->target)) {
            continue;
        }
        // Keep both alive through the step: a callback may remove or destroy the target.
        RefPtr<Node> target(entry->target);
        RefPtr<Action> action(entry->action);
        action->step(dt);
        if (!entry->removed && action->isDone()) {
            finish(*entry, true);
        }
    }
    if (outer) {
        _inUpdate = false;
        collectGarbage();
    }
}

}  // namespace cocos2d
