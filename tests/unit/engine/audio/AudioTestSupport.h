#pragma once

// Sound files written at test time, log capture and the director's frames, for the audio tests.
// They run the real mixer on SDL's dummy driver, which mixes in real time without a device, under a
// real director over a windowless view, whose frames run the audio callbacks.

#include <dlfcn.h>
#include <lame/lame.h>
#include <stdlib.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/audio/AudioEngine.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/platform/GLView.h"

#include "TestHome.h"
#include "WaitFor.h"

namespace audiotest {

using cocos2d::experimental::AudioEngine;
using cocos2d::experimental::AudioState;

inline void useDummyDriver() {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

// A fresh director; the old one's teardown closes the sound.
inline void startDirector() {
    cocos2d::Director::destroyInstance();
    cocos2d::Director* director = cocos2d::Director::getInstance();
    director->setOpenGLView(cocos2d::GLView::createHeadless(1280, 810));
}

inline void stopDirector() {
    cocos2d::Director::destroyInstance();
}

inline void frame() {
    cocos2d::Director::getInstance()->stepFrame(1.0f / 60.0f);
}

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrova-audio-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "cannot make a temporary folder";
        }
        _path = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(_path, ec);
    }
    std::string file(const std::string& name) const { return (_path / name).string(); }

private:
    std::filesystem::path _path;
};

// 16-bit PCM samples of a 440 Hz sine at `amplitude` of full scale, the same in every channel.
inline std::vector<std::int16_t> sine(double seconds, int rate, int channels, double amplitude) {
    const auto frames = static_cast<size_t>(std::lround(seconds * rate));
    std::vector<std::int16_t> samples(frames * static_cast<size_t>(channels));
    for (size_t i = 0; i < frames; ++i) {
        const double value =
            amplitude * 32767.0 * std::sin(2.0 * M_PI * 440.0 * static_cast<double>(i) / rate);
        for (int c = 0; c < channels; ++c) {
            samples[i * static_cast<size_t>(channels) + static_cast<size_t>(c)] =
                static_cast<std::int16_t>(std::lround(value));
        }
    }
    return samples;
}

inline void putLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

inline std::string wavBytes(double seconds, int rate = 22050, int channels = 1, double amplitude = 0.5) {
    const std::vector<std::int16_t> samples = sine(seconds, rate, channels, amplitude);
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string out = "RIFF";
    putLe(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    putLe(out, 16, 4);
    putLe(out, 1, 2);  // PCM
    putLe(out, static_cast<std::uint32_t>(channels), 2);
    putLe(out, static_cast<std::uint32_t>(rate), 4);
    putLe(out, static_cast<std::uint32_t>(rate * channels * 2), 4);
    putLe(out, static_cast<std::uint32_t>(channels * 2), 2);
    putLe(out, 16, 2);
    out += "data";
    putLe(out, dataBytes, 4);
    for (std::int16_t s : samples) {
        putLe(out, static_cast<std::uint16_t>(s), 2);
    }
    return out;
}

inline std::string writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

inline std::string writeWav(const std::string& path, double seconds, int rate = 22050, int channels = 1,
                            double amplitude = 0.5) {
    return writeFile(path, wavBytes(seconds, rate, channels, amplitude));
}

// An MP3 encoded with LAME, with its info tag so that decoders can drop the encoder's padding.
// LAME is opened at run time: the unit-test binary does not link it.
inline std::string writeMp3(const std::string& path, double seconds, int rate = 44100) {
    void* lib = dlopen("libmp3lame.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
        ADD_FAILURE() << "libmp3lame.so.0 is not installed: " << dlerror();
        return path;
    }
    auto get = [lib](const char* name) { return dlsym(lib, name); };
    auto init = reinterpret_cast<decltype(&lame_init)>(get("lame_init"));
    auto setRate = reinterpret_cast<decltype(&lame_set_in_samplerate)>(get("lame_set_in_samplerate"));
    auto setChannels = reinterpret_cast<decltype(&lame_set_num_channels)>(get("lame_set_num_channels"));
    auto setMode = reinterpret_cast<decltype(&lame_set_mode)>(get("lame_set_mode"));
    auto setBitrate = reinterpret_cast<decltype(&lame_set_brate)>(get("lame_set_brate"));
    auto initParams = reinterpret_cast<decltype(&lame_init_params)>(get("lame_init_params"));
    auto encode = reinterpret_cast<decltype(&lame_encode_buffer)>(get("lame_encode_buffer"));
    auto flush = reinterpret_cast<decltype(&lame_encode_flush)>(get("lame_encode_flush"));
    auto tagFrame = reinterpret_cast<decltype(&lame_get_lametag_frame)>(get("lame_get_lametag_frame"));
    auto close = reinterpret_cast<decltype(&lame_close)>(get("lame_close"));
    if (!init || !setRate || !setChannels || !setMode || !setBitrate || !initParams || !encode || !flush ||
        !tagFrame || !close) {
        ADD_FAILURE() << "libmp3lame lacks a function the test uses";
        dlclose(lib);
        return path;
    }
    std::vector<std::int16_t> samples = sine(seconds, rate, 1, 0.5);
    lame_t lame = init();
    setRate(lame, rate);
    setChannels(lame, 1);
    setMode(lame, MONO);
    setBitrate(lame, 64);
    initParams(lame);
    std::vector<unsigned char> out(samples.size() * 5 / 4 + 7200 + 16384);
    const int written = encode(lame, samples.data(), samples.data(), static_cast<int>(samples.size()),
                               out.data(), static_cast<int>(out.size()));
    const int flushed = flush(lame, out.data() + written, static_cast<int>(out.size()) - written);
    out.resize(static_cast<size_t>(written + flushed));
    // The info tag replaces the placeholder frame LAME wrote first.
    unsigned char tag[8192];
    const size_t tagBytes = tagFrame(lame, tag, sizeof tag);
    if (tagBytes > 0 && tagBytes <= out.size()) {
        std::memcpy(out.data(), tag, tagBytes);
    }
    close(lame);
    dlclose(lib);
    return writeFile(path, std::string(out.begin(), out.end()));
}

// Log lines seen while it lives.
class LogCapture {
public:
    LogCapture() {
        cocos2d::setLogSink([this](cocos2d::LogLevel, const std::string& line) {
            std::lock_guard<std::mutex> lock(_mutex);
            _lines.push_back(line);
        });
    }
    ~LogCapture() { cocos2d::setLogSink({}); }

    int countContaining(const std::string& text) const {
        std::lock_guard<std::mutex> lock(_mutex);
        int count = 0;
        for (const auto& line : _lines) {
            count += line.find(text) != std::string::npos ? 1 : 0;
        }
        return count;
    }
    std::vector<std::string> lines() const {
        std::lock_guard<std::mutex> lock(_mutex);
        return _lines;
    }

private:
    mutable std::mutex _mutex;
    std::vector<std::string> _lines;
};

// Director frames until `done` holds; past the deadline the test fails, naming `what` (WaitFor.h).
inline bool pumpUntil(const std::string& what, const std::function<bool()>& done) {
    return testing::waitFor(what, done, frame);
}

// The loudest output over `seconds`, after dropping what was mixed before, including the chunk (about
// 23 ms) that may still be mixing with the previous settings. Zero also when the audio thread did not
// run at all meanwhile, as on a loaded machine: mixedPeakOver tells the two apart.
inline float peakOver(double seconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    AudioEngine::takeOutputPeak();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    return AudioEngine::takeOutputPeak();
}

// Far below every level a test tells apart from silence, yet never zero while it is being mixed.
constexpr double kProbeLevel = 0.002;

// The loudest output over a window of `seconds` in which the mixer is known to have run: a looping
// probe at kProbeLevel plays meanwhile, and a window without even the probe is measured again. So
// silence measured here is silence, not an audio thread that was not scheduled.
inline float mixedPeakOver(double seconds) {
    static const std::string probe =
        writeWav(testing::scratchFolder() + "/quiet-probe.wav", 1.0, 44100, 2, kProbeLevel);
    // With every channel taken there is no probe; what the test plays is then heard or nothing is.
    const int id = AudioEngine::play2d(probe, true, 1.0f);
    float peak = 0.0f;
    testing::waitFor("the mixer to mix a window of sound", [&] {
        peak = peakOver(seconds);
        return peak > 0.0f;
    });
    AudioEngine::stop(id);
    return peak;
}

// Without frames, until the mixer has stopped sounding anything but the probe: the sounds the test
// started have ended there, and their ends are on the way to the main thread.
inline bool awaitSilence(const std::string& what) {
    return testing::waitFor(what, [] { return mixedPeakOver(0.05) < 2.0 * kProbeLevel; });
}

// Director frames until the mixer has played `seconds` of sound from now on: a silent sound of that
// length, played beside what the test plays, has ended.
inline bool pumpWhileTheMixerPlays(double seconds) {
    const std::string witness = writeWav(
        testing::scratchFolder() + "/witness-" + std::to_string(std::lround(seconds * 1000.0)) + ".wav",
        seconds, 22050, 1, 0.0);
    const int id = AudioEngine::play2d(witness, false, 1.0f);
    bool ended = false;
    AudioEngine::setFinishCallback(id, [&ended](int, const std::string&) { ended = true; });
    return pumpUntil("the mixer to play " + std::to_string(seconds) + " s", [&ended] { return ended; });
}

}  // namespace audiotest
