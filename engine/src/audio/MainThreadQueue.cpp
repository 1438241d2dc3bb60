#include "audio/MainThreadQueue.h"

#include <mutex>
#include <utility>
#include <vector>

namespace cocos2d::audio {
namespace {

struct Queue {
    std::mutex mutex;
    std::vector<std::function<void()>> functions;
};

Queue& queue() {
    static Queue q;
    return q;
}

}  // namespace

void postToMainThread(std::function<void()> function) {
    Queue& q = queue();
    std::lock_guard<std::mutex> lock(q.mutex);
    q.functions.push_back(std::move(function));
}

void runMainThreadQueue() {
    std::vector<std::function<void()>> batch;
    {
        Queue& q = queue();
        std::lock_guard<std::mutex> lock(q.mutex);
        batch.swap(q.functions);
    }
    // Never run under the lock: a function may post again, or stop sounds whose halt posts.
    for (auto& function : batch) {
        function();
    }
}

void dropMainThreadQueue() {
    std::vector<std::function<void()>> dropped;
    Queue& q = queue();
    {
        std::lock_guard<std::mutex> lock(q.mutex);
        dropped.swap(q.functions);
    }
}

}  // namespace cocos2d::audio
