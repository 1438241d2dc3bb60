#pragma once

#include <SDL2/SDL_mixer.h>

#include <memory>
#include <string>
#include <utility>

namespace cocos2d::audio {

// One file made ready to play. Short sounds are decoded whole into a chunk for the channels; long
// ones (over 1 MiB, or over 10 s) are opened as a stream for SDL2_mixer's single music stream.
class MixerSound {
public:
    // Null, with the reason in `error`, when the file is missing or cannot be decoded. Safe on a
    // worker thread while the device plays.
    static std::shared_ptr<MixerSound> load(const std::string& path, double bytesPerSecond,
                                            std::string& error);

    MixerSound(const MixerSound&) = delete;
    MixerSound& operator=(const MixerSound&) = delete;
    ~MixerSound();

    bool isStream() const { return _music != nullptr; }
    Mix_Music* music() const { return _music; }
    // A stream is decoded into a chunk only when it must play while the music stream is busy.
    // Null when that fails (logged once). Main thread.
    Mix_Chunk* chunk();
    // Seconds; negative when the decoder cannot tell.
    float duration() const { return _duration; }

private:
    MixerSound(std::string path, double bytesPerSecond)
        : _path(std::move(path)), _bytesPerSecond(bytesPerSecond) {}
    bool decodeChunk(std::string& error);

    std::string _path;
    double _bytesPerSecond;
    Mix_Chunk* _chunk = nullptr;
    Mix_Music* _music = nullptr;
    float _duration = -1.0f;
    bool _chunkFailed = false;
};

}  // namespace cocos2d::audio
