#pragma once

#include <functional>

namespace cocos2d {
class Scheduler;
}

namespace cocos2d::audio {

// Hands work from the mixer's audio thread and the decode worker to the main thread, through the
// scheduler's main-thread queue, which the director runs at the start of every frame (also while
// paused). The posted functions must not assume that the backend which posted them still exists:
// they look up what they need when they run.

// Main thread: the scheduler to post to while a backend is open (retained), or null when closed.
// Nothing else posts while it changes: it is set before a backend opens and cleared after it closed.
void setMainThreadScheduler(Scheduler* scheduler);

// Any thread. Dropped when no scheduler is set.
void postToMainThread(std::function<void()> function);

}  // namespace cocos2d::audio
