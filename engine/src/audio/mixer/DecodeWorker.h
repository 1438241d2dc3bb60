#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace cocos2d::audio {

// One thread that runs decode jobs in the order they were given. It starts with the first job.
class DecodeWorker {
public:
    DecodeWorker() = default;
    DecodeWorker(const DecodeWorker&) = delete;
    DecodeWorker& operator=(const DecodeWorker&) = delete;
    // Jobs not yet started are dropped; the running one is finished first.
    ~DecodeWorker();

    void post(std::function<void()> job);

private:
    void run();

    std::mutex _mutex;
    std::condition_variable _wake;
    std::deque<std::function<void()>> _jobs;
    bool _stopping = false;
    std::thread _thread;
};

}  // namespace cocos2d::audio
