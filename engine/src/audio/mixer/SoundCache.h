#pragma once

#include <functional>
#include <future>
#include <memory>
#include <string>
#include <unordered_map>

#include "audio/mixer/DecodeWorker.h"
#include "audio/mixer/MixerDevice.h"
#include "audio/mixer/MixerSound.h"

namespace cocos2d::audio {

// The files made ready so far, by path, including those that failed (so each failure is logged
// once) and those still loading on the worker. Main thread.
class SoundCache {
public:
    // Chunks are measured in the device's format, so the device must be open before a load.
    explicit SoundCache(const MixerDevice& device) : _device(device) {}
    SoundCache(const SoundCache&) = delete;
    SoundCache& operator=(const SoundCache&) = delete;
    // Drops loads not yet started before the sounds are freed.
    ~SoundCache();

    // The ready sound, loading it now or waiting for its load on the worker. Null when the file
    // cannot be played.
    std::shared_ptr<MixerSound> get(const std::string& path);
    // Loads on the worker unless already cached; `done` runs later on the main thread.
    void preload(const std::string& path, std::function<void(bool)> done);
    // Waits for a load in flight, then forgets the file.
    void remove(const std::string& path);
    void clear();

private:
    using Pending = std::shared_future<std::shared_ptr<MixerSound>>;

    Pending startLoad(const std::string& path);

    const MixerDevice& _device;
    std::unordered_map<std::string, Pending> _entries;
    // Declared last so that it stops, dropping jobs, before the entries go.
    std::unique_ptr<DecodeWorker> _worker;
};

}  // namespace cocos2d::audio
