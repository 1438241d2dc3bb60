#include "audio/mixer/SoundCache.h"

#include <utility>

#include "audio/MainThreadQueue.h"
#include "engine/base/Log.h"

namespace cocos2d::audio {
namespace {

std::shared_ptr<MixerSound> loadLogged(const std::string& path, double bytesPerSecond) {
    std::string error;
    auto sound = MixerSound::load(path, bytesPerSecond, error);
    if (!sound) {
        logAt(LogLevel::Warning, "AudioEngine: [%s] cannot be played: %s", path.c_str(), error.c_str());
    }
    return sound;
}

}  // namespace

SoundCache::~SoundCache() {
    _worker.reset();
}

std::shared_ptr<MixerSound> SoundCache::get(const std::string& path) {
    auto found = _entries.find(path);
    if (found != _entries.end()) {
        return found->second.get();
    }
    std::promise<std::shared_ptr<MixerSound>> ready;
    ready.set_value(loadLogged(path, _device.bytesPerSecond()));
    Pending pending = ready.get_future().share();
    _entries.emplace(path, pending);
    return pending.get();
}

void SoundCache::preload(const std::string& path, std::function<void(bool)> done) {
    Pending pending;
    auto found = _entries.find(path);
    if (found != _entries.end()) {
        pending = found->second;
    } else {
        pending = startLoad(path);
        _entries.emplace(path, pending);
    }
    if (!_worker) {
        _worker = std::make_unique<DecodeWorker>();
    }
    // Queued behind the load itself, so it only waits when the load is the job just before it.
    _worker->post([pending, done = std::move(done)]() mutable {
        const bool ok = pending.get() != nullptr;
        postToMainThread([done = std::move(done), ok] { done(ok); });
    });
}

SoundCache::Pending SoundCache::startLoad(const std::string& path) {
    auto promise = std::make_shared<std::promise<std::shared_ptr<MixerSound>>>();
    Pending pending = promise->get_future().share();
    if (!_worker) {
        _worker = std::make_unique<DecodeWorker>();
    }
    _worker->post([promise, path, bytesPerSecond = _device.bytesPerSecond()] {
        promise->set_value(loadLogged(path, bytesPerSecond));
    });
    return pending;
}

void SoundCache::remove(const std::string& path) {
    auto found = _entries.find(path);
    if (found == _entries.end()) {
        return;
    }
    found->second.wait();
    _entries.erase(found);
}

void SoundCache::clear() {
    for (auto& entry : _entries) {
        entry.second.wait();
    }
    _entries.clear();
}

}  // namespace cocos2d::audio
