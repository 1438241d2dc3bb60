#include "audio/mixer/DecodeWorker.h"

#include <SDL2/SDL_thread.h>

#include <utility>

namespace cocos2d::audio {

DecodeWorker::~DecodeWorker() {
    {
        std::lock_guard<std::mutex> lock(_mutex);
        _stopping = true;
    }
    _wake.notify_all();
    if (_thread.joinable()) {
        _thread.join();
    }
}

void DecodeWorker::post(std::function<void()> job) {
    {
        std::lock_guard<std::mutex> lock(_mutex);
        _jobs.push_back(std::move(job));
        if (!_thread.joinable()) {
            _thread = std::thread([this] { run(); });
        }
    }
    _wake.notify_one();
}

void DecodeWorker::run() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock<std::mutex> lock(_mutex);
            _wake.wait(lock, [this] { return _stopping || !_jobs.empty(); });
            if (_stopping) {
                break;
            }
            job = std::move(_jobs.front());
            _jobs.pop_front();
        }
        job();
    }
    // Decoders leave SDL's per-thread error text behind, which SDL frees by itself only for its own
    // threads.
    SDL_TLSCleanup();
}

}  // namespace cocos2d::audio
