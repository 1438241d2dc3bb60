#include "engine/actions/Spawn.h"

#include <algorithm>
#include <new>

#include "actions/ActionProgress.h"
#include "actions/MakeAction.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"

namespace cocos2d {

using actionprogress::kEpsilon;

Spawn* Spawn::createWithList(const std::vector<FiniteTimeAction*>& actions) {
    const auto end = std::find(actions.begin(), actions.end(), nullptr);
    if (std::any_of(end, actions.end(), [](FiniteTimeAction* a) { return a != nullptr; })) {
        // Only the terminating null is expected: an action in the list failed to be created.
        log("Spawn: a null action inside the list; the actions after it are left out");
    }
    const std::vector<FiniteTimeAction*> list(actions.begin(), end);
    return actionprogress::makeAction(new (std::nothrow) Spawn(),
                                      [&](Spawn* s) { return s->initWithActions(list); });
}

Spawn* Spawn::create(const Vector<FiniteTimeAction*>& actions) {
    return createWithList(std::vector<FiniteTimeAction*>(actions.begin(), actions.end()));
}

Spawn* Spawn::createWithTwoActions(FiniteTimeAction* first, FiniteTimeAction* second) {
    return createWithList({first, second});
}

bool Spawn::initWithActions(const std::vector<FiniteTimeAction*>& actions) {
    if (actions.empty()) {
        return false;
    }
    float longest = 0.0f;
    for (FiniteTimeAction* action : actions) {
        _actions.pushBack(action);
        longest = std::max(longest, action->getDuration());
    }
    _running.assign(actions.size(), false);
    return ActionInterval::initWithDuration(longest);
}

void Spawn::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    ++_run;
    const uint32_t run = _run;
    for (size_t i = 0; i < _actions.size(); ++i) {
        _running[i] = true;
        _actions.at(i)->startWithTarget(target);
        if (run != _run) {
            return;
        }
    }
}

void Spawn::stop() {
    ++_run;
    for (size_t i = 0; i < _actions.size(); ++i) {
        if (_running[i]) {
            _running[i] = false;
            _actions.at(i)->stop();
        }
    }
    ActionInterval::stop();
}

void Spawn::update(float t) {
    if (!_target) {
        return;
    }
    const uint32_t run = _run;
    RefPtr<Spawn> keep(this);
    const float time = t * _duration;
    for (size_t i = 0; i < _actions.size(); ++i) {
        if (!_running[i]) {
            continue;
        }
        FiniteTimeAction* child = _actions.at(i);
        const float duration = child->getDuration();
        const bool shorter = duration < _duration;
        if (duration <= 0.0f || (shorter && time >= duration - kEpsilon)) {
            // Ends before the spawn does: its end state, then its stop, once.
            child->update(1.0f);
            if (run != _run) {
                return;
            }
            if (_running[i]) {
                _running[i] = false;
                child->stop();
                if (run != _run) {
                    return;
                }
            }
            continue;
        }
        child->update(actionprogress::childProgress(time / duration, t));
        if (run != _run) {
            return;
        }
    }
}

}  // namespace cocos2d
