#pragma once

#include <string>
#include <unordered_map>

#include "audio/AudioBackend.h"

namespace cocos2d::audio {

// The backend when no audio device opens at all: nothing is decoded or heard. A file that cannot be
// read still fails, so a missing sound is noticed on a machine without sound too.
class NullBackend final : public AudioBackend {
public:
    bool load(const std::string& path) override;
    void loadAsync(const std::string& path, std::function<void(bool)> done) override;
    void unload(const std::string& path) override;
    void unloadAll() override;

    bool startVoice(int audioId, const std::string& path, bool loop, float volume, float& duration) override;
    void stopVoice(int audioId) override {}
    void pauseVoice(int audioId) override {}
    void resumeVoice(int audioId) override {}
    void setVoiceVolume(int audioId, float volume) override {}
    void setVoiceLoop(int audioId, bool loop) override {}
    float voicePosition(int audioId) override { return -1.0f; }

    bool isSilent() const override { return true; }
    float takeOutputPeak() override { return 0.0f; }

private:
    // Whether each file seen so far can be read; a failure is logged once.
    std::unordered_map<std::string, bool> _readable;
};

}  // namespace cocos2d::audio
