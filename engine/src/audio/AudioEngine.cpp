#include "engine/audio/AudioEngine.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "audio/AudioBackend.h"
#include "audio/MainThreadQueue.h"
#include "audio/mixer/MixerBackend.h"
#include "audio/null/NullBackend.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/platform/FileUtils.h"

namespace cocos2d::experimental {
namespace {

// Voices of the silent backend never end by themselves; past this many, the oldest sound without
// loop is forgotten (no callback), so a long session without a device does not grow without end.
constexpr size_t kSilentVoiceLimit = 256;

struct Instance {
    std::string path;  // as the caller gave it, for the finish callback
    std::string file;  // the file it resolved to: the cache's key
    float volume = 1.0f;
    bool loop = false;
    AudioState state = AudioState::PLAYING;
    float duration = AudioEngine::TIME_UNKNOWN;
    std::function<void(int, const std::string&)> onFinish;
};

float clampVolume(float volume) {
    if (std::isnan(volume)) {
        return 0.0f;
    }
    return std::clamp(volume, 0.0f, 1.0f);
}

class Engine final : public audio::VoiceListener {
public:
    ~Engine() override { close(); }

    audio::AudioBackend* backend() const { return _backend.get(); }

    audio::AudioBackend& open() {
        if (!_backend) {
            attachToDirector();
            std::string error;
            _backend = audio::MixerBackend::open(*this, error);
            if (!_backend) {
                logAt(LogLevel::Warning, "AudioEngine: no audio device could be opened (%s); sound is off",
                      error.c_str());
                _backend = std::make_unique<audio::NullBackend>();
            }
        }
        return *_backend;
    }

    void openSilent() {
        close();
        attachToDirector();
        _backend = std::make_unique<audio::NullBackend>();
    }

    void close() {
        _instances.clear();
        _backend.reset();
        ++_epoch;
        // Functions already queued stay in the scheduler; they find no voice or a newer epoch.
        audio::setMainThreadScheduler(nullptr);
    }

    // Main thread. A name is looked up along the search paths; one that is not found stays as it is,
    // so the failure names it.
    static std::string resolve(const std::string& path) {
        std::string full = FileUtils::getInstance()->fullPathForFilename(path);
        return full.empty() ? path : full;
    }

    Instance* find(int audioId) {
        auto found = _instances.find(audioId);
        return found == _instances.end() ? nullptr : &found->second;
    }

    int play(const std::string& path, bool loop, float volume) {
        audio::AudioBackend& backend = open();
        const std::string file = resolve(path);
        if (!backend.load(file)) {
            return AudioEngine::INVALID_AUDIO_ID;
        }
        if (_nextId == INT_MAX) {
            logAt(LogLevel::Error, "AudioEngine: [%s] not played: audio ids are used up", path.c_str());
            return AudioEngine::INVALID_AUDIO_ID;
        }
        const int audioId = _nextId++;
        Instance instance;
        instance.path = path;
        instance.file = file;
        instance.volume = clampVolume(volume);
        instance.loop = loop;
        float duration = AudioEngine::TIME_UNKNOWN;
        if (!backend.startVoice(audioId, file, loop, instance.volume, duration)) {
            return AudioEngine::INVALID_AUDIO_ID;
        }
        instance.duration = duration < 0.0f ? AudioEngine::TIME_UNKNOWN : duration;
        if (backend.isSilent()) {
            boundSilentVoices();
        }
        _instances.emplace(audioId, std::move(instance));
        return audioId;
    }

    void stop(int audioId) {
        auto found = _instances.find(audioId);
        if (found == _instances.end()) {
            return;
        }
        _instances.erase(found);
        _backend->stopVoice(audioId);
    }

    void stopAll() {
        std::vector<int> ids;
        ids.reserve(_instances.size());
        for (const auto& entry : _instances) {
            ids.push_back(entry.first);
        }
        _instances.clear();
        for (int audioId : ids) {
            _backend->stopVoice(audioId);
        }
    }

    void setAllPaused(bool paused) {
        const AudioState from = paused ? AudioState::PLAYING : AudioState::PAUSED;
        for (auto& entry : _instances) {
            if (entry.second.state == from) {
                entry.second.state = paused ? AudioState::PAUSED : AudioState::PLAYING;
                if (paused) {
                    _backend->pauseVoice(entry.first);
                } else {
                    _backend->resumeVoice(entry.first);
                }
            }
        }
    }

    void stopFile(const std::string& file) {
        for (auto it = _instances.begin(); it != _instances.end();) {
            if (it->second.file == file) {
                const int audioId = it->first;
                it = _instances.erase(it);
                _backend->stopVoice(audioId);
            } else {
                ++it;
            }
        }
    }

    void preload(const std::string& path, std::function<void(bool)> callback) {
        const std::uint64_t epoch = _epoch;
        open().loadAsync(resolve(path), [this, epoch, callback = std::move(callback)](bool ok) {
            if (epoch == _epoch && callback) {
                callback(ok);
            }
        });
    }

    void voiceEnded(int audioId) override {
        auto found = _instances.find(audioId);
        if (found == _instances.end()) {
            return;
        }
        auto onFinish = std::move(found->second.onFinish);
        const std::string path = std::move(found->second.path);
        _instances.erase(found);
        if (onFinish) {
            onFinish(audioId, path);
        }
    }

private:
    // The director's frame runs the finish callbacks, and its teardown closes the sound.
    void attachToDirector() {
        Director* director = Director::getInstance();
        audio::setMainThreadScheduler(director->getScheduler());
        if (!_teardownRegistered) {
            _teardownRegistered = true;
            director->addTeardownHandler([this] {
                _teardownRegistered = false;
                close();
            });
        }
    }

    void boundSilentVoices() {
        size_t withoutLoop = 0;
        for (const auto& entry : _instances) {
            withoutLoop += entry.second.loop ? 0 : 1;
        }
        for (auto it = _instances.begin(); withoutLoop >= kSilentVoiceLimit && it != _instances.end();) {
            if (!it->second.loop) {
                it = _instances.erase(it);
                --withoutLoop;
            } else {
                ++it;
            }
        }
    }

    std::unique_ptr<audio::AudioBackend> _backend;
    // Ordered by id, which is also the order of starting.
    std::map<int, Instance> _instances;
    int _nextId = 1;
    // Changes at each close, so a preload callback of a closed backend is dropped.
    std::uint64_t _epoch = 0;
    // Whether the current director will close the sound when it ends.
    bool _teardownRegistered = false;
};

Engine& engine() {
    static Engine instance;
    return instance;
}

}  // namespace

bool AudioEngine::lazyInit() {
    // Called before main by the game's static audio service. The device waits for the first real
    // use; the engine's state is made now, inside that service's construction, so that it is torn
    // down after the service at exit and the service may still call in from its destructor.
    engine();
    return true;
}

void AudioEngine::end() {
    engine().close();
}

int AudioEngine::play2d(const std::string& filePath, bool loop, float volume) {
    return engine().play(filePath, loop, volume);
}

void AudioEngine::stop(int audioId) {
    engine().stop(audioId);
}

void AudioEngine::stopAll() {
    engine().stopAll();
}

void AudioEngine::pause(int audioId) {
    Engine& e = engine();
    Instance* instance = e.find(audioId);
    if (instance && instance->state == AudioState::PLAYING) {
        instance->state = AudioState::PAUSED;
        e.backend()->pauseVoice(audioId);
    }
}

void AudioEngine::pauseAll() {
    engine().setAllPaused(true);
}

void AudioEngine::resume(int audioId) {
    Engine& e = engine();
    Instance* instance = e.find(audioId);
    if (instance && instance->state == AudioState::PAUSED) {
        instance->state = AudioState::PLAYING;
        e.backend()->resumeVoice(audioId);
    }
}

void AudioEngine::resumeAll() {
    engine().setAllPaused(false);
}

void AudioEngine::setVolume(int audioId, float volume) {
    Engine& e = engine();
    Instance* instance = e.find(audioId);
    if (instance) {
        instance->volume = clampVolume(volume);
        e.backend()->setVoiceVolume(audioId, instance->volume);
    }
}

float AudioEngine::getVolume(int audioId) {
    const Instance* instance = engine().find(audioId);
    return instance ? instance->volume : 0.0f;
}

void AudioEngine::setLoop(int audioId, bool loop) {
    Engine& e = engine();
    Instance* instance = e.find(audioId);
    if (instance && instance->loop != loop) {
        instance->loop = loop;
        e.backend()->setVoiceLoop(audioId, loop);
    }
}

bool AudioEngine::isLoop(int audioId) {
    const Instance* instance = engine().find(audioId);
    return instance && instance->loop;
}

float AudioEngine::getDuration(int audioId) {
    const Instance* instance = engine().find(audioId);
    return instance ? instance->duration : TIME_UNKNOWN;
}

float AudioEngine::getCurrentTime(int audioId) {
    Engine& e = engine();
    if (!e.find(audioId)) {
        return TIME_UNKNOWN;
    }
    const float position = e.backend()->voicePosition(audioId);
    return position < 0.0f ? TIME_UNKNOWN : position;
}

AudioState AudioEngine::getState(int audioId) {
    const Instance* instance = engine().find(audioId);
    return instance ? instance->state : AudioState::ERROR;
}

void AudioEngine::setFinishCallback(int audioId,
                                    const std::function<void(int, const std::string&)>& callback) {
    Instance* instance = engine().find(audioId);
    if (instance) {
        instance->onFinish = callback;
    }
}

void AudioEngine::preload(const std::string& filePath) {
    engine().preload(filePath, nullptr);
}

void AudioEngine::preload(const std::string& filePath, std::function<void(bool isSuccess)> callback) {
    engine().preload(filePath, std::move(callback));
}

void AudioEngine::uncache(const std::string& filePath) {
    Engine& e = engine();
    if (!e.backend()) {
        return;
    }
    const std::string file = Engine::resolve(filePath);
    e.stopFile(file);
    e.backend()->unload(file);
}

void AudioEngine::uncacheAll() {
    Engine& e = engine();
    if (!e.backend()) {
        return;
    }
    e.stopAll();
    e.backend()->unloadAll();
}

void AudioEngine::openSilent() {
    engine().openSilent();
}

float AudioEngine::takeOutputPeak() {
    audio::AudioBackend* backend = engine().backend();
    return backend ? backend->takeOutputPeak() : 0.0f;
}

}  // namespace cocos2d::experimental
