#include "engine/actions/Sequence.h"

#include <algorithm>
#include <new>

#include "actions/ActionProgress.h"
#include "actions/MakeAction.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"

namespace cocos2d {

using actionprogress::kEpsilon;

Sequence* Sequence::createWithList(const std::vector<FiniteTimeAction*>& actions) {
    const auto end = std::find(actions.begin(), actions.end(), nullptr);
    if (std::any_of(end, actions.end(), [](FiniteTimeAction* a) { return a != nullptr; })) {
        // Only the terminating null is expected: an action in the list failed to be created.
        log("Sequence: a null action inside the list; the actions after it are left out");
    }
    const std::vector<FiniteTimeAction*> list(actions.begin(), end);
    return actionprogress::makeAction(new (std::nothrow) Sequence(),
                                      [&](Sequence* s) { return s->initWithActions(list); });
}

Sequence* Sequence::create(const Vector<FiniteTimeAction*>& actions) {
    return createWithList(std::vector<FiniteTimeAction*>(actions.begin(), actions.end()));
}

Sequence* Sequence::createWithTwoActions(FiniteTimeAction* first, FiniteTimeAction* second) {
    return createWithList({first, second});
}

bool Sequence::initWithActions(const std::vector<FiniteTimeAction*>& actions) {
    if (actions.empty()) {
        return false;
    }
    float total = 0.0f;
    for (FiniteTimeAction* action : actions) {
        _actions.pushBack(action);
        _starts.push_back(total);
        total += std::max(0.0f, action->getDuration());
    }
    _stages.assign(actions.size(), Stage::Waiting);
    return ActionInterval::initWithDuration(total);
}

void Sequence::startWithTarget(Node* target) {
    ActionInterval::startWithTarget(target);
    ++_run;
    std::fill(_stages.begin(), _stages.end(), Stage::Waiting);
    _current = 0;
    startChild(0);
}

void Sequence::startChild(size_t index) {
    _stages[index] = Stage::Running;
    _actions.at(index)->startWithTarget(_target);
}

bool Sequence::finishChild(size_t index) {
    const uint32_t run = _run;
    RefPtr<FiniteTimeAction> child(_actions.at(index));
    child->update(1.0f);
    if (run != _run || _stages[index] != Stage::Running) {
        return false;
    }
    _stages[index] = Stage::Finished;
    child->stop();
    return run == _run;
}

void Sequence::stop() {
    ++_run;
    for (size_t i = 0; i < _stages.size(); ++i) {
        if (_stages[i] == Stage::Running) {
            _stages[i] = Stage::Finished;
            _actions.at(i)->stop();
        }
    }
    ActionInterval::stop();
}

void Sequence::update(float t) {
    if (!_target || _stages[_current] == Stage::Finished) {
        return;
    }
    const uint32_t run = _run;
    RefPtr<Sequence> keep(this);
    const float time = t * _duration;
    const size_t last = _actions.size() - 1;
    // Close every child whose end the time has reached, starting the next in the same step.
    while (_current < last) {
        const float duration = _actions.at(_current)->getDuration();
        if (duration > 0.0f && time < _starts[_current] + duration - kEpsilon) {
            break;
        }
        if (!finishChild(_current)) {
            return;
        }
        ++_current;
        startChild(_current);
        if (run != _run) {
            return;
        }
    }
    FiniteTimeAction* child = _actions.at(_current);
    const float duration = child->getDuration();
    if (duration <= 0.0f) {
        finishChild(_current);
        return;
    }
    child->update(actionprogress::childProgress((time - _starts[_current]) / duration, t));
}

}  // namespace cocos2d
