#pragma once

#include <functional>

namespace cocos2d::audio {

// Hands work from the mixer's audio thread and the decode worker to the main thread. Any thread may
// post; only the main thread runs the queue. The posted functions must not assume that the backend
// which posted them still exists: they look up what they need when they run.
void postToMainThread(std::function<void()> function);

// Runs what has been posted so far; functions posted meanwhile wait for the next call.
void runMainThreadQueue();

// Forgets everything not yet run (on end).
void dropMainThreadQueue();

}  // namespace cocos2d::audio
