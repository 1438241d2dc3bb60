#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "audio/AudioBackend.h"
#include "audio/mixer/MixerDevice.h"
#include "audio/mixer/SoundCache.h"

namespace cocos2d::audio {

// Voices on SDL2_mixer: chunks on 32 channels, long files on the music stream when it is free.
//
// SDL2_mixer reports a channel or the stream as finished on its audio thread, and also when we halt
// it ourselves. Each start of a voice gets a playback token that is never reused; the finished hooks
// post the token they find to the main thread, where a token that no longer belongs to a playing
// voice (stopped, restarted) is ignored. So only natural ends reach the engine, once each.
class MixerBackend final : public AudioBackend {
public:
    // Null, with the reasons in `error`, when no device opens (not even SDL's dummy driver).
    static std::unique_ptr<MixerBackend> open(VoiceListener& listener, std::string& error);
    ~MixerBackend() override;

    bool load(const std::string& path) override;
    void loadAsync(const std::string& path, std::function<void(bool)> done) override;
    void unload(const std::string& path) override;
    void unloadAll() override;

    bool startVoice(int audioId, const std::string& path, bool loop, float volume, float& duration) override;
    void stopVoice(int audioId) override;
    void pauseVoice(int audioId) override;
    void resumeVoice(int audioId) override;
    void setVoiceVolume(int audioId, float volume) override;
    void setVoiceLoop(int audioId, bool loop) override;
    float voicePosition(int audioId) override;

    bool isSilent() const override { return false; }
    float takeOutputPeak() override { return _device.takeOutputPeak(); }

    const std::string& driverName() const { return _device.driverName(); }

    // Runs on the main thread for each token a finished hook posted.
    static void playbackFinished(std::uint64_t token);

private:
    using Clock = std::chrono::steady_clock;

    struct Voice {
        std::string path;
        std::shared_ptr<MixerSound> sound;
        float volume = 1.0f;
        bool loop = false;
        // What the current playback was started with; differs from `loop` until a change applies.
        bool playingLoop = false;
        bool paused = false;
        int channel = -1;
        bool onStream = false;
        std::uint64_t token = 0;
        Clock::time_point startedAt;
        Clock::time_point pausedAt;
        Clock::duration pausedFor{};
    };

    explicit MixerBackend(VoiceListener& listener) : _listener(listener), _cache(_device) {}

    void onPlaybackFinished(std::uint64_t token);
    // Starts the voice's sound from `position` seconds: on the stream when it is a stream and the
    // stream is free, else on a free channel (a chunk always starts from 0).
    bool startPlayback(int audioId, Voice& voice, bool loop, double position);
    // Halts what the voice plays, if anything, without letting its finish through.
    void haltPlayback(Voice& voice);
    bool streamIsFree();
    int freeChannel() const;
    std::uint64_t claimToken(int audioId, Voice& voice);
    double elapsedSeconds(const Voice& voice) const;
    void applyLoopToChunk(Voice& voice);

    VoiceListener& _listener;
    MixerDevice _device;
    SoundCache _cache;
    std::unordered_map<int, Voice> _voices;
    std::unordered_map<std::uint64_t, int> _voiceByToken;
    std::array<int, MixerDevice::kChannelCount> _channelVoice{};
    int _streamVoice = 0;
};

}  // namespace cocos2d::audio
