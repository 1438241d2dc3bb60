#include "audio/mixer/MixerDevice.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "audio/mixer/RandomStateShield.h"
#include "engine/base/Log.h"

namespace cocos2d::audio {
namespace {

constexpr int kFrequency = 44100;
constexpr int kOutputChannels = 2;
// About 23 ms at 44.1 kHz: short enough that a finish is heard and reported promptly.
constexpr int kChunkFrames = 1024;
constexpr double kPeakScale = 65536.0;

void SDLCALL meterPostMix(void* device, Uint8* stream, int length) {
    static_cast<MixerDevice*>(device)->meter(stream, length);
}

void raiseTo(std::atomic<std::uint32_t>& peak, std::uint32_t value) {
    std::uint32_t seen = peak.load(std::memory_order_relaxed);
    while (value > seen && !peak.compare_exchange_weak(seen, value, std::memory_order_relaxed)) {
    }
}

}  // namespace

bool MixerDevice::open(std::string& error) {
    if (_open) {
        return true;
    }
    const RandomStateShield shield;
    std::string defaultError;
    if (openWithDriver(nullptr, defaultError)) {
        return true;
    }
    // No usable device (no sound card, CI): the dummy driver keeps the mixer and its timing.
    std::string dummyError;
    if (!openWithDriver("dummy", dummyError)) {
        error = "default device: " + defaultError + "; dummy driver: " + dummyError;
        return false;
    }
    logAt(LogLevel::Warning, "AudioEngine: no audio device (%s); playing silently on the dummy driver",
          defaultError.c_str());
    return true;
}

bool MixerDevice::openWithDriver(const char* driver, std::string& error) {
    if (driver) {
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver, SDL_HINT_OVERRIDE);
    }
    const bool initialised = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (driver) {
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    }
    if (!initialised) {
        error = SDL_GetError();
        return false;
    }
    // Someone else holding the audio subsystem keeps its driver through the init above.
    const char* current = SDL_GetCurrentAudioDriver();
    if (driver && (!current || std::strcmp(current, driver) != 0) && SDL_AudioInit(driver) != 0) {
        error = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    // SDL_mixer stores a channel's pause as the tick count at that moment, so a pause given while
    // SDL's clock still reads 0 (right after the first SDL init) would be taken for no pause at all.
    while (SDL_GetTicks() == 0) {
        SDL_Delay(1);
    }
    // MP3 through SDL2_mixer's own decoders; a failure here only shows when an MP3 is played.
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(kFrequency, MIX_DEFAULT_FORMAT, kOutputChannels, kChunkFrames) != 0) {
        error = Mix_GetError();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&frequency, &format, &channels);
    _format = format;
    _bytesPerSecond = static_cast<double>(frequency) * channels * (SDL_AUDIO_BITSIZE(format) / 8);
    current = SDL_GetCurrentAudioDriver();
    _driver = current ? current : "";
    Mix_AllocateChannels(kChannelCount);
    _peak.store(0);
    Mix_SetPostMix(meterPostMix, this);
    _open = true;
    return true;
}

void MixerDevice::close() {
    if (!_open) {
        return;
    }
    const RandomStateShield shield;
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    _open = false;
    _driver.clear();
}

float MixerDevice::takeOutputPeak() {
    return static_cast<float>(_peak.exchange(0) / kPeakScale);
}

void MixerDevice::meter(const std::uint8_t* stream, int length) {
    if (length <= 0) {
        return;
    }
    const auto bytes = static_cast<size_t>(length);
    double peak = 0.0;
    if (_format == AUDIO_S16SYS) {
        for (size_t i = 0; i + 1 < bytes; i += 2) {
            Sint16 sample;
            std::memcpy(&sample, stream + i, sizeof sample);
            peak = std::max(peak, std::abs(static_cast<double>(sample)) / 32768.0);
        }
    } else if (_format == AUDIO_F32SYS) {
        for (size_t i = 0; i + 3 < bytes; i += 4) {
            float sample;
            std::memcpy(&sample, stream + i, sizeof sample);
            peak = std::max(peak, std::fabs(static_cast<double>(sample)));
        }
    }
    raiseTo(_peak, static_cast<std::uint32_t>(std::min(peak, 1.0) * kPeakScale));
}

}  // namespace cocos2d::audio
