#include "engine/base/Scheduler.h"

#include <algorithm>
#include <new>

namespace cocos2d {
namespace {

// Timers fire when their accumulated time is within this of the due time, so that thirty steps of
// 1/60 reach 0.5 s despite float rounding.
constexpr float kTimeEpsilon = 1e-5f;

}  // namespace

struct Scheduler::UpdateEntry {
    Callback callback;
    void* target = nullptr;
    int priority = 0;
    uint64_t sequence = 0;
    bool dead = false;
};

struct Scheduler::TimerEntry {
    Callback callback;
    void* target = nullptr;
    std::string key;
    float interval = 0.0f;
    float delay = 0.0f;
    unsigned int repeat = 0;
    unsigned int fired = 0;
    float elapsed = 0.0f;
    bool dead = false;
};

Scheduler* Scheduler::create() {
    auto* scheduler = new (std::nothrow) Scheduler();
    if (scheduler) {
        scheduler->autorelease();
    }
    return scheduler;
}

Scheduler::~Scheduler() = default;

void Scheduler::setPausedFlag(void* target, bool paused) {
    _pausedTargets[target] = paused;
}

bool Scheduler::isTargetPaused(const void* target) const {
    auto it = _pausedTargets.find(target);
    return it != _pausedTargets.end() && it->second;
}

void Scheduler::pauseTarget(void* target) {
    setPausedFlag(target, true);
}

void Scheduler::resumeTarget(void* target) {
    setPausedFlag(target, false);
}

void Scheduler::schedule(const Callback& callback, void* target, float interval, bool paused,
                         const std::string& key) {
    schedule(callback, target, interval, CC_REPEAT_FOREVER, 0.0f, paused, key);
}

void Scheduler::schedule(const Callback& callback, void* target, float interval, unsigned int repeat,
                         float delay, bool paused, const std::string& key) {
    unschedule(key, target);
    auto entry = std::make_shared<TimerEntry>();
    entry->callback = callback;
    entry->target = target;
    entry->key = key;
    entry->interval = std::max(0.0f, interval);
    entry->delay = std::max(0.0f, delay);
    entry->repeat = repeat;
    setPausedFlag(target, paused);
    if (_inTick) {
        _newTimers.push_back(std::move(entry));
    } else {
        _timers.push_back(std::move(entry));
    }
}

void Scheduler::unschedule(const std::string& key, void* target) {
    for (auto* list : {&_timers, &_newTimers}) {
        for (auto& entry : *list) {
            if (!entry->dead && entry->target == target && entry->key == key) {
                entry->dead = true;
            }
        }
    }
    if (!_inTick) {
        collectGarbage();
    }
}

bool Scheduler::isScheduled(const std::string& key, const void* target) const {
    for (const auto* list : {&_timers, &_newTimers}) {
        for (const auto& entry : *list) {
            if (!entry->dead && entry->target == target && entry->key == key) {
                return true;
            }
        }
    }
    return false;
}

void Scheduler::scheduleUpdate(const Callback& callback, void* target, int priority, bool paused) {
    unscheduleUpdate(target);
    auto entry = std::make_shared<UpdateEntry>();
    entry->callback = callback;
    entry->target = target;
    entry->priority = priority;
    entry->sequence = ++_sequence;
    setPausedFlag(target, paused);
    if (_inTick) {
        _newUpdates.push_back(std::move(entry));
        return;
    }
    auto pos = std::upper_bound(_updates.begin(), _updates.end(), entry, [](const auto& a, const auto& b) {
        return a->priority < b->priority || (a->priority == b->priority && a->sequence < b->sequence);
    });
    _updates.insert(pos, std::move(entry));
}

void Scheduler::unscheduleUpdate(void* target) {
    for (auto* list : {&_updates, &_newUpdates}) {
        for (auto& entry : *list) {
            if (entry->target == target) {
                entry->dead = true;
            }
        }
    }
    if (!_inTick) {
        collectGarbage();
    }
}

void Scheduler::unscheduleAllForTarget(void* target) {
    unscheduleUpdate(target);
    for (auto* list : {&_timers, &_newTimers}) {
        for (auto& entry : *list) {
            if (entry->target == target) {
                entry->dead = true;
            }
        }
    }
    _pausedTargets.erase(target);
    if (!_inTick) {
        collectGarbage();
    }
}

void Scheduler::unscheduleAll() {
    for (auto& e : _updates) {
        e->dead = true;
    }
    for (auto& e : _newUpdates) {
        e->dead = true;
    }
    for (auto& e : _timers) {
        e->dead = true;
    }
    for (auto& e : _newTimers) {
        e->dead = true;
    }
    _pausedTargets.clear();
    if (!_inTick) {
        collectGarbage();
    }
}

void Scheduler::collectGarbage() {
    auto isDeadUpdate = [](const std::shared_ptr<UpdateEntry>& e) { return e->dead; };
    auto isDeadTimer = [](const std::shared_ptr<TimerEntry>& e) { return e->dead; };
    _updates.erase(std::remove_if(_updates.begin(), _updates.end(), isDeadUpdate), _updates.end());
    _timers.erase(std::remove_if(_timers.begin(), _timers.end(), isDeadTimer), _timers.end());
    _newUpdates.erase(std::remove_if(_newUpdates.begin(), _newUpdates.end(), isDeadUpdate), _newUpdates.end());
    _newTimers.erase(std::remove_if(_newTimers.begin(), _newTimers.end(), isDeadTimer), _newTimers.end());
}

void Scheduler::update(float dt) {
    dt *= _timeScale;
    _inTick = true;

    // Entries are held by shared_ptr copies so that a callback unscheduling itself (or destroying its
    // target) never frees the entry under our feet.
    const size_t updateCount = _updates.size();
    for (size_t i = 0; i < updateCount && i < _updates.size(); ++i) {
        std::shared_ptr<UpdateEntry> entry = _updates[i];
        if (entry->dead || isTargetPaused(entry->target)) {
            continue;
        }
        Callback callback = entry->callback;
        callback(dt);
    }

    const size_t timerCount = _timers.size();
    for (size_t i = 0; i < timerCount && i < _timers.size(); ++i) {
        std::shared_ptr<TimerEntry> entry = _timers[i];
        if (entry->dead || isTargetPaused(entry->target)) {
            continue;
        }
        entry->elapsed += dt;
        const float due = (entry->fired == 0 && entry->delay > 0.0f) ? entry->delay : entry->interval;
        if (entry->elapsed + kTimeEpsilon < due) {
            continue;
        }
        const float passed = entry->elapsed;
        // Carry the overshoot so a steady timer keeps its rhythm, but never bank more than one interval.
        entry->elapsed = std::min(std::max(0.0f, entry->elapsed - due), entry->interval);
        ++entry->fired;
        const bool last = entry->repeat != CC_REPEAT_FOREVER && entry->fired > entry->repeat;
        if (last) {
            entry->dead = true;
        }
        Callback callback = entry->callback;
        callback(passed);
    }

    _inTick = false;
    collectGarbage();
    for (auto& entry : _newUpdates) {
        auto pos = std::upper_bound(_updates.begin(), _updates.end(), entry, [](const auto& a, const auto& b) {
            return a->priority < b->priority || (a->priority == b->priority && a->sequence < b->sequence);
        });
        _updates.insert(pos, entry);
    }
    _newUpdates.clear();
    for (auto& entry : _newTimers) {
        _timers.push_back(entry);
    }
    _newTimers.clear();
}

void Scheduler::runOnMainThread(std::function<void()> function) {
    std::lock_guard<std::mutex> lock(_queueMutex);
    _mainThreadQueue.push_back(std::move(function));
}

void Scheduler::runMainThreadQueue() {
    std::vector<std::function<void()>> batch;
    {
        std::lock_guard<std::mutex> lock(_queueMutex);
        batch.swap(_mainThreadQueue);
    }
    for (auto& function : batch) {
        function();
    }
}

size_t Scheduler::pendingMainThreadFunctions() const {
    std::lock_guard<std::mutex> lock(_queueMutex);
    return _mainThreadQueue.size();
}

}  // namespace cocos2d
