#include "audio/mixer/MixerSound.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "engine/base/Log.h"

namespace cocos2d::audio {
namespace {

constexpr std::uintmax_t kStreamAboveBytes = 1024 * 1024;
constexpr double kStreamAboveSeconds = 10.0;

}  // namespace

std::shared_ptr<MixerSound> MixerSound::load(const std::string& path, double bytesPerSecond,
                                             std::string& error) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) {
        error = "the file cannot be opened";
        return nullptr;
    }
    if (size == 0) {
        error = "the file is empty";
        return nullptr;
    }
    std::shared_ptr<MixerSound> sound(new MixerSound(path, bytesPerSecond));
    // Opening as a stream reads only the header, which tells the length of most files without
    // decoding them; a short one is then decoded whole instead.
    sound->_music = Mix_LoadMUS(path.c_str());
    if (sound->_music) {
        const double seconds = Mix_MusicDuration(sound->_music);
        if (size > kStreamAboveBytes || seconds > kStreamAboveSeconds) {
            sound->_duration = static_cast<float>(seconds);
            return sound;
        }
        Mix_FreeMusic(sound->_music);
        sound->_music = nullptr;
    } else if (size > kStreamAboveBytes) {
        error = Mix_GetError();
        return nullptr;
    }
    if (!sound->decodeChunk(error)) {
        return nullptr;
    }
    return sound;
}

MixerSound::~MixerSound() {
    if (_chunk) {
        Mix_FreeChunk(_chunk);
    }
    if (_music) {
        Mix_FreeMusic(_music);
    }
}

Mix_Chunk* MixerSound::chunk() {
    if (!_chunk && !_chunkFailed) {
        std::string error;
        if (!decodeChunk(error)) {
            _chunkFailed = true;
            logAt(LogLevel::Warning, "AudioEngine: [%s] cannot be decoded: %s", _path.c_str(), error.c_str());
        }
    }
    return _chunk;
}

bool MixerSound::decodeChunk(std::string& error) {
    _chunk = Mix_LoadWAV(_path.c_str());
    if (!_chunk) {
        error = Mix_GetError();
        return false;
    }
    if (!_music && _bytesPerSecond > 0.0) {
        _duration = static_cast<float>(_chunk->alen / _bytesPerSecond);
    }
    return true;
}

}  // namespace cocos2d::audio
