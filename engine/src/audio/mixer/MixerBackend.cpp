#include "audio/mixer/MixerBackend.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <atomic>
#include <cmath>
#include <utility>

#include "audio/MainThreadQueue.h"
#include "engine/base/Log.h"

namespace cocos2d::audio {
namespace {

// What the finished hooks read on the audio thread: the token of the playback each channel and the
// stream carry. Written on the main thread before a playback starts, cleared when it is released.
std::array<std::atomic<std::uint64_t>, MixerDevice::kChannelCount> g_channelTokens{};
std::atomic<std::uint64_t> g_streamToken{0};
// Never reset, so a token posted before an end() cannot match a voice of a later backend.
std::atomic<std::uint64_t> g_nextToken{1};
// The open backend; main thread only.
MixerBackend* g_active = nullptr;

void SDLCALL channelFinished(int channel) {
    if (channel < 0 || channel >= MixerDevice::kChannelCount) {
        return;
    }
    const std::uint64_t token = g_channelTokens[static_cast<size_t>(channel)].load();
    if (token != 0) {
        postToMainThread([token] { MixerBackend::playbackFinished(token); });
    }
}

void SDLCALL streamFinished() {
    const std::uint64_t token = g_streamToken.load();
    if (token != 0) {
        postToMainThread([token] { MixerBackend::playbackFinished(token); });
    }
}

int mixVolume(float volume) {
    return static_cast<int>(std::lround(volume * MIX_MAX_VOLUME));
}

}  // namespace

std::unique_ptr<MixerBackend> MixerBackend::open(VoiceListener& listener, std::string& error) {
    std::unique_ptr<MixerBackend> backend(new MixerBackend(listener));
    if (!backend->_device.open(error)) {
        return nullptr;
    }
    for (auto& token : g_channelTokens) {
        token.store(0);
    }
    g_streamToken.store(0);
    g_active = backend.get();
    Mix_ChannelFinished(channelFinished);
    Mix_HookMusicFinished(streamFinished);
    return backend;
}

MixerBackend::~MixerBackend() {
    if (g_active == this) {
        g_active = nullptr;
    }
    if (_device.isOpen()) {
        Mix_ChannelFinished(nullptr);
        Mix_HookMusicFinished(nullptr);
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
    }
    for (auto& token : g_channelTokens) {
        token.store(0);
    }
    g_streamToken.store(0);
    // The members go next: the cache drops loads not yet started, frees the sounds, then the device
    // closes.
}

void MixerBackend::playbackFinished(std::uint64_t token) {
    if (g_active) {
        g_active->onPlaybackFinished(token);
    }
}

bool MixerBackend::load(const std::string& path) {
    return _cache.get(path) != nullptr;
}

void MixerBackend::loadAsync(const std::string& path, std::function<void(bool)> done) {
    _cache.preload(path, std::move(done));
}

void MixerBackend::unload(const std::string& path) {
    _cache.remove(path);
}

void MixerBackend::unloadAll() {
    _cache.clear();
}

bool MixerBackend::startVoice(int audioId, const std::string& path, bool loop, float volume,
                              float& duration) {
    std::shared_ptr<MixerSound> sound = _cache.get(path);
    if (!sound) {
        return false;
    }
    Voice voice;
    voice.path = path;
    voice.sound = std::move(sound);
    voice.volume = volume;
    voice.loop = loop;
    if (!startPlayback(audioId, voice, loop, 0.0)) {
        return false;
    }
    duration = voice.sound->duration();
    _voices.emplace(audioId, std::move(voice));
    return true;
}

bool MixerBackend::startPlayback(int audioId, Voice& voice, bool loop, double position) {
    const int loops = loop ? -1 : 0;
    if (voice.sound->isStream() && streamIsFree()) {
        // Halt whatever the stream still holds while the hook finds no token, so that its end can
        // never be taken for the new playback's.
        g_streamToken.store(0);
        Mix_HaltMusic();
        // A stream that played on a channel while the stream was busy gives its channel back.
        if (voice.channel >= 0) {
            const auto slot = static_cast<size_t>(voice.channel);
            g_channelTokens[slot].store(0);
            Mix_HaltChannel(voice.channel);
            _channelVoice[slot] = 0;
            voice.channel = -1;
        }
        const std::uint64_t token = claimToken(audioId, voice);
        g_streamToken.store(token);
        Mix_VolumeMusic(mixVolume(voice.volume));
        if (Mix_PlayMusic(voice.sound->music(), loops) != 0) {
            logAt(LogLevel::Warning, "AudioEngine: [%s] cannot be streamed: %s", voice.path.c_str(),
                  Mix_GetError());
            g_streamToken.store(0);
            _voiceByToken.erase(token);
            voice.token = 0;
            return false;
        }
        if (position > 0.0) {
            Mix_SetMusicPosition(position);
        }
        _streamVoice = audioId;
        voice.onStream = true;
    } else {
        Mix_Chunk* chunk = voice.sound->chunk();
        if (!chunk) {
            return false;
        }
        const int channel = voice.channel >= 0 ? voice.channel : freeChannel();
        if (channel < 0) {
            logAt(LogLevel::Warning, "AudioEngine: [%s] not played: all %d channels are busy",
                  voice.path.c_str(), MixerDevice::kChannelCount);
            return false;
        }
        const auto slot = static_cast<size_t>(channel);
        const std::uint64_t token = claimToken(audioId, voice);
        g_channelTokens[slot].store(token);
        Mix_Volume(channel, mixVolume(voice.volume));
        if (Mix_PlayChannel(channel, chunk, loops) < 0) {
            logAt(LogLevel::Warning, "AudioEngine: [%s] cannot be played: %s", voice.path.c_str(),
                  Mix_GetError());
            g_channelTokens[slot].store(0);
            _voiceByToken.erase(token);
            voice.token = 0;
            _channelVoice[slot] = 0;
            voice.channel = -1;
            return false;
        }
        _channelVoice[slot] = audioId;
        voice.channel = channel;
        voice.onStream = false;
        position = 0.0;
    }
    voice.playingLoop = loop;
    voice.paused = false;
    voice.pausedFor = Clock::duration::zero();
    voice.startedAt =
        Clock::now() - std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(position));
    return true;
}

std::uint64_t MixerBackend::claimToken(int audioId, Voice& voice) {
    if (voice.token != 0) {
        _voiceByToken.erase(voice.token);
    }
    voice.token = g_nextToken.fetch_add(1);
    _voiceByToken.emplace(voice.token, audioId);
    return voice.token;
}

bool MixerBackend::streamIsFree() {
    if (_streamVoice == 0) {
        return true;
    }
    // The stream's sound may have ended with its finish still on the way to the main thread: the
    // stream is free, and that voice keeps its token so its finish is still reported.
    if (Mix_PlayingMusic() == 0) {
        auto found = _voices.find(_streamVoice);
        if (found != _voices.end()) {
            found->second.onStream = false;
        }
        _streamVoice = 0;
        return true;
    }
    return false;
}

int MixerBackend::freeChannel() const {
    for (int channel = 0; channel < MixerDevice::kChannelCount; ++channel) {
        if (_channelVoice[static_cast<size_t>(channel)] == 0 && Mix_Playing(channel) == 0) {
            return channel;
        }
    }
    return -1;
}

void MixerBackend::haltPlayback(Voice& voice) {
    // The hook that the halt itself triggers finds no token, and a finish already posted finds no
    // voice for its token.
    if (voice.token != 0) {
        _voiceByToken.erase(voice.token);
        voice.token = 0;
    }
    if (voice.channel >= 0) {
        const auto slot = static_cast<size_t>(voice.channel);
        g_channelTokens[slot].store(0);
        Mix_HaltChannel(voice.channel);
        _channelVoice[slot] = 0;
        voice.channel = -1;
    }
    if (voice.onStream) {
        g_streamToken.store(0);
        Mix_HaltMusic();
        _streamVoice = 0;
        voice.onStream = false;
    }
}

void MixerBackend::stopVoice(int audioId) {
    auto found = _voices.find(audioId);
    if (found == _voices.end()) {
        return;
    }
    haltPlayback(found->second);
    _voices.erase(found);
}

void MixerBackend::onPlaybackFinished(std::uint64_t token) {
    auto byToken = _voiceByToken.find(token);
    if (byToken == _voiceByToken.end()) {
        return;
    }
    const int audioId = byToken->second;
    auto found = _voices.find(audioId);
    if (found == _voices.end()) {
        _voiceByToken.erase(byToken);
        return;
    }
    Voice& voice = found->second;
    // A loop switched on after the start: the sound plays again from the beginning, looping now.
    if (voice.loop) {
        if (voice.onStream) {
            g_streamToken.store(0);
            _streamVoice = 0;
            voice.onStream = false;
        }
        if (startPlayback(audioId, voice, true, 0.0)) {
            return;
        }
    }
    haltPlayback(voice);
    _voices.erase(found);
    // Last: the engine runs the finish callback, which may start or stop other sounds.
    _listener.voiceEnded(audioId);
}

void MixerBackend::pauseVoice(int audioId) {
    auto found = _voices.find(audioId);
    if (found == _voices.end() || found->second.paused) {
        return;
    }
    Voice& voice = found->second;
    if (voice.channel >= 0) {
        Mix_Pause(voice.channel);
    } else if (voice.onStream) {
        Mix_PauseMusic();
    }
    voice.paused = true;
    voice.pausedAt = Clock::now();
}

void MixerBackend::resumeVoice(int audioId) {
    auto found = _voices.find(audioId);
    if (found == _voices.end() || !found->second.paused) {
        return;
    }
    Voice& voice = found->second;
    voice.pausedFor += Clock::now() - voice.pausedAt;
    voice.paused = false;
    if (voice.channel >= 0) {
        Mix_Resume(voice.channel);
        applyLoopToChunk(voice);
    } else if (voice.onStream) {
        Mix_ResumeMusic();
        if (voice.loop != voice.playingLoop) {
            setVoiceLoop(audioId, voice.loop);
        }
    }
}

void MixerBackend::setVoiceVolume(int audioId, float volume) {
    auto found = _voices.find(audioId);
    if (found == _voices.end()) {
        return;
    }
    Voice& voice = found->second;
    voice.volume = volume;
    if (voice.channel >= 0) {
        Mix_Volume(voice.channel, mixVolume(volume));
    } else if (voice.onStream) {
        Mix_VolumeMusic(mixVolume(volume));
    }
}

void MixerBackend::setVoiceLoop(int audioId, bool loop) {
    auto found = _voices.find(audioId);
    if (found == _voices.end()) {
        return;
    }
    Voice& voice = found->second;
    voice.loop = loop;
    if (voice.paused) {
        return;  // applied on resume
    }
    if (voice.channel >= 0) {
        applyLoopToChunk(voice);
    } else if (voice.onStream && voice.playingLoop != loop) {
        // The stream's loop count is fixed at its start: play on from the same place with the new one.
        double position = Mix_GetMusicPosition(voice.sound->music());
        if (position < 0.0) {
            position = elapsedSeconds(voice);
        }
        g_streamToken.store(0);
        _streamVoice = 0;
        voice.onStream = false;
        if (!startPlayback(audioId, voice, loop, position)) {
            haltPlayback(voice);
        }
    }
}

void MixerBackend::applyLoopToChunk(Voice& voice) {
    if (!voice.playingLoop) {
        return;  // a loop switched on now restarts the sound when this pass ends
    }
    if (voice.loop) {
        Mix_ExpireChannel(voice.channel, -1);
        return;
    }
    // Looping on the channel: let the current pass play out, then it ends as a sound without loop.
    const double duration = voice.sound->duration();
    if (duration <= 0.0) {
        Mix_ExpireChannel(voice.channel, 1);
        return;
    }
    const double remaining = duration - std::fmod(elapsedSeconds(voice), duration);
    Mix_ExpireChannel(voice.channel, static_cast<int>(std::ceil(remaining * 1000.0)));
}

double MixerBackend::elapsedSeconds(const Voice& voice) const {
    const Clock::time_point now = voice.paused ? voice.pausedAt : Clock::now();
    return std::chrono::duration<double>(now - voice.startedAt - voice.pausedFor).count();
}

float MixerBackend::voicePosition(int audioId) {
    auto found = _voices.find(audioId);
    if (found == _voices.end()) {
        return -1.0f;
    }
    const Voice& voice = found->second;
    if (voice.onStream) {
        const double position = Mix_GetMusicPosition(voice.sound->music());
        if (position >= 0.0) {
            return static_cast<float>(position);
        }
    }
    const double duration = voice.sound->duration();
    double elapsed = elapsedSeconds(voice);
    if (duration > 0.0) {
        elapsed = voice.playingLoop ? std::fmod(elapsed, duration) : std::min(elapsed, duration);
    }
    return static_cast<float>(elapsed);
}

}  // namespace cocos2d::audio
