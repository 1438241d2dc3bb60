#pragma once

#include <functional>
#include <string>

namespace cocos2d::audio {

// What a backend tells the engine about its voices, always on the main thread.
class VoiceListener {
public:
    virtual ~VoiceListener() = default;
    // The voice of a sound without loop played to its end by itself.
    virtual void voiceEnded(int audioId) = 0;
};

// A way of making sound. The engine keeps ids, states and callbacks; a backend only starts and
// controls one voice per id and reports the voices that end by themselves.
class AudioBackend {
public:
    virtual ~AudioBackend() = default;

    // Makes the file ready to play, waiting for a preload still in flight. False when it cannot be
    // played; the backend logs that once per file until it is unloaded.
    virtual bool load(const std::string& path) = 0;
    // The same on a worker; `done` runs later, on the main thread.
    virtual void loadAsync(const std::string& path, std::function<void(bool)> done) = 0;
    // The engine has stopped the file's voices before either call.
    virtual void unload(const std::string& path) = 0;
    virtual void unloadAll() = 0;

    // Starts a loaded file. False (with a log line) when no voice is free. `duration` receives the
    // length in seconds, or a negative value when it is unknown.
    virtual bool startVoice(int audioId, const std::string& path, bool loop, float volume,
                            float& duration) = 0;
    virtual void stopVoice(int audioId) = 0;
    virtual void pauseVoice(int audioId) = 0;
    virtual void resumeVoice(int audioId) = 0;
    virtual void setVoiceVolume(int audioId, float volume) = 0;
    virtual void setVoiceLoop(int audioId, bool loop) = 0;
    // Seconds into the sound, or a negative value when unknown.
    virtual float voicePosition(int audioId) = 0;

    // Voices of a silent backend never end, so the engine bounds how many it keeps.
    virtual bool isSilent() const = 0;
    virtual float takeOutputPeak() = 0;
};

}  // namespace cocos2d::audio
