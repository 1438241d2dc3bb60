#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace cocos2d::audio {

// The SDL audio subsystem and SDL2_mixer opened on one device: the default one, else SDL's dummy
// driver, which runs the same mixer in real time without a sound card. One at a time per process.
class MixerDevice {
public:
    static constexpr int kChannelCount = 32;

    MixerDevice() = default;
    MixerDevice(const MixerDevice&) = delete;
    MixerDevice& operator=(const MixerDevice&) = delete;
    ~MixerDevice() { close(); }

    // False, with the reasons in `error`, when neither the default device nor the dummy driver opens.
    bool open(std::string& error);
    void close();
    bool isOpen() const { return _open; }

    // The name of the SDL audio driver in use ("dummy" without a sound card).
    const std::string& driverName() const { return _driver; }
    // Bytes of mixed audio per second of sound, for a chunk's length.
    double bytesPerSecond() const { return _bytesPerSecond; }

    // Highest absolute sample (0..1) mixed since the previous call.
    float takeOutputPeak();

    // Called by the mixer on its audio thread with each finished mix buffer.
    void meter(const std::uint8_t* stream, int length);

private:
    // Null: the driver SDL picks itself (SDL_AUDIODRIVER, else the first that works).
    bool openWithDriver(const char* driver, std::string& error);

    bool _open = false;
    std::string _driver;
    double _bytesPerSecond = 0.0;
    std::uint16_t _format = 0;
    // Peak as a fraction of full scale times 2^16, so the audio thread can raise it without a lock.
    std::atomic<std::uint32_t> _peak{0};
};

}  // namespace cocos2d::audio
