#pragma once

#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/base/Ref.h"

namespace cocos2d {

// The repeat count of a timer that never stops by itself.
constexpr unsigned int CC_REPEAT_FOREVER = UINT_MAX - 1;

// Drives per-frame updates and timers. One tick runs, in this order: the system updates (the action
// manager), update entries by priority (scheduling order at equal priority), then timers in scheduling
// order. Scheduling and unscheduling are safe from inside any callback, including for the entry that
// is running; a new entry first runs in the next tick. A target is an opaque pointer (usually a Node).
class Scheduler : public Ref {
public:
    using Callback = std::function<void(float)>;

    // The priority below which entries run before every node update.
    static constexpr int PRIORITY_SYSTEM = INT_MIN;
    static constexpr int PRIORITY_NON_SYSTEM_MIN = INT_MIN + 1;

    static Scheduler* create();
    ~Scheduler() override;

    void update(float dt);

    // A timer: first fires when `delay` has passed (or `interval` when delay is 0), then every
    // `interval`, at most once per tick, repeat + 1 times in all (forever with CC_REPEAT_FOREVER).
    // Re-scheduling a key of the same target restarts that timer with the new values.
    void schedule(const Callback& callback, void* target, float interval, unsigned int repeat, float delay,
                  bool paused, const std::string& key);
    void schedule(const Callback& callback, void* target, float interval, bool paused, const std::string& key);
    void unschedule(const std::string& key, void* target);
    bool isScheduled(const std::string& key, const void* target) const;

    // The per-frame update of a target; a second call replaces the first.
    void scheduleUpdate(const Callback& callback, void* target, int priority, bool paused);
    void unscheduleUpdate(void* target);

    // Removes the update and every timer of the target.
    void unscheduleAllForTarget(void* target);
    void unscheduleAll();

    void pauseTarget(void* target);
    void resumeTarget(void* target);
    bool isTargetPaused(const void* target) const;

    // Multiplies every dt handed to callbacks.
    void setTimeScale(float scale) { _timeScale = scale; }
    float getTimeScale() const { return _timeScale; }

    // Queues a function for the main thread; safe from any thread. The director runs the queue once
    // per frame, even while paused, in order of arrival.
    void runOnMainThread(std::function<void()> function);
    // Runs what has been queued so far (functions queued meanwhile wait for the next call).
    void runMainThreadQueue();
    size_t pendingMainThreadFunctions() const;

private:
    struct UpdateEntry;
    struct TimerEntry;

    Scheduler() = default;
    void collectGarbage();
    void setPausedFlag(void* target, bool paused);

    std::vector<std::shared_ptr<UpdateEntry>> _updates;
    std::vector<std::shared_ptr<TimerEntry>> _timers;
    std::vector<std::shared_ptr<UpdateEntry>> _newUpdates;
    std::vector<std::shared_ptr<TimerEntry>> _newTimers;
    std::unordered_map<const void*, bool> _pausedTargets;
    uint64_t _sequence = 0;
    bool _inTick = false;
    float _timeScale = 1.0f;

    mutable std::mutex _queueMutex;
    std::vector<std::function<void()>> _mainThreadQueue;
};

}  // namespace cocos2d
