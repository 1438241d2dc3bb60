// Cost of the audio calls the game makes most: an effect started and stopped, a volume step of a
// running fade (one per frame per fading sound), and the first play of a file that is not cached.
// Runs the real mixer on SDL's dummy driver.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/audio/AudioEngine.h"
#include "engine/platform/FileUtils.h"

namespace {

using cocos2d::experimental::AudioEngine;

void putLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// The resource root of the run: the game names its sounds relative to it, as "audio/x.mp3".
const std::filesystem::path& root() {
    static const std::filesystem::path path = std::filesystem::temp_directory_path() / "kestrova-audio-bench";
    return path;
}

// A mono 16-bit sine of `seconds` at 22.05 kHz, the shape of a typical effect. Returns its name.
std::string writeWav(const std::string& name, double seconds) {
    const int rate = 22050;
    const auto frames = static_cast<std::uint32_t>(seconds * rate);
    std::string out = "RIFF";
    putLe(out, 36 + frames * 2, 4);
    out += "WAVEfmt ";
    putLe(out, 16, 4);
    putLe(out, 1, 2);
    putLe(out, 1, 2);
    putLe(out, rate, 4);
    putLe(out, rate * 2, 4);
    putLe(out, 2, 2);
    putLe(out, 16, 2);
    out += "data";
    putLe(out, frames * 2, 4);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double value = 16000.0 * std::sin(2.0 * M_PI * 440.0 * i / rate);
        putLe(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value))), 2);
    }
    const std::string relative = "audio/" + name;
    std::filesystem::create_directories(root() / "audio");
    std::ofstream(root() / relative, std::ios::binary)
        .write(out.data(), static_cast<std::streamsize>(out.size()));
    return relative;
}

void BM_PlayAndStopCachedEffect(benchmark::State& state) {
    const std::string path = writeWav("effect.wav", 0.5);
    AudioEngine::play2d(path, false, 0.0f);  // decoded once, cached
    for (auto _ : state) {
        const int id = AudioEngine::play2d(path);
        if (id == AudioEngine::INVALID_AUDIO_ID) {
            state.SkipWithError("play2d refused the effect");
            break;
        }
        AudioEngine::stop(id);
    }
    AudioEngine::end();
}
BENCHMARK(BM_PlayAndStopCachedEffect);

void BM_VolumeStepOfARunningFade(benchmark::State& state) {
    const std::string path = writeWav("loop.wav", 0.5);
    const int id = AudioEngine::play2d(path, true, 0.0f);
    float volume = 0.0f;
    for (auto _ : state) {
        volume = volume >= 1.0f ? 0.0f : volume + 0.01f;
        AudioEngine::setVolume(id, volume);
    }
    AudioEngine::end();
}
BENCHMARK(BM_VolumeStepOfARunningFade);

void BM_FirstPlayOfAnUncachedEffect(benchmark::State& state) {
    const double seconds = static_cast<double>(state.range(0)) / 1000.0;
    const std::string path = writeWav("uncached.wav", seconds);
    for (auto _ : state) {
        if (AudioEngine::play2d(path, false, 0.0f) == AudioEngine::INVALID_AUDIO_ID) {
            state.SkipWithError("play2d refused the effect");
            break;
        }
        state.PauseTiming();
        AudioEngine::uncache(path);
        state.ResumeTiming();
    }
    AudioEngine::end();
}
BENCHMARK(BM_FirstPlayOfAnUncachedEffect)->Arg(200)->Arg(2000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    cocos2d::FileUtils::getInstance()->setResourceRoot(root().string() + "/");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(root(), ec);
    return 0;
}
