#include "audio/null/NullBackend.h"

#include <fstream>
#include <utility>

#include "audio/MainThreadQueue.h"
#include "engine/base/Log.h"

namespace cocos2d::audio {

bool NullBackend::load(const std::string& path) {
    auto found = _readable.find(path);
    if (found != _readable.end()) {
        return found->second;
    }
    std::ifstream file(path, std::ios::binary);
    const bool readable = file.good() && file.peek() != std::ifstream::traits_type::eof();
    if (!readable) {
        logAt(LogLevel::Warning, "AudioEngine: [%s] cannot be played: %s", path.c_str(),
              file.good() ? "the file is empty" : "the file cannot be opened");
    }
    _readable.emplace(path, readable);
    return readable;
}

void NullBackend::loadAsync(const std::string& path, std::function<void(bool)> done) {
    const bool ok = load(path);
    postToMainThread([done = std::move(done), ok] { done(ok); });
}

void NullBackend::unload(const std::string& path) {
    _readable.erase(path);
}

void NullBackend::unloadAll() {
    _readable.clear();
}

bool NullBackend::startVoice(int audioId, const std::string& path, bool loop, float volume, float& duration) {
    duration = -1.0f;
    return true;
}

}  // namespace cocos2d::audio
