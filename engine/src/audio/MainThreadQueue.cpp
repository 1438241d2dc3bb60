#include "audio/MainThreadQueue.h"

#include <atomic>
#include <utility>

#include "engine/base/Scheduler.h"

namespace cocos2d::audio {
namespace {

std::atomic<Scheduler*> g_scheduler{nullptr};

}  // namespace

void setMainThreadScheduler(Scheduler* scheduler) {
    Scheduler* previous = g_scheduler.load();
    if (previous == scheduler) {
        return;
    }
    // Retained so that posting stays safe even if the director that owned it is destroyed first.
    if (scheduler) {
        scheduler->retain();
    }
    g_scheduler.store(scheduler);
    if (previous) {
        previous->release();
    }
}

void postToMainThread(std::function<void()> function) {
    if (Scheduler* scheduler = g_scheduler.load()) {
        scheduler->runOnMainThread(std::move(function));
    }
}

}  // namespace cocos2d::audio
