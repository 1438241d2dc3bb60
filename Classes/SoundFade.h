#pragma once

#include "engine/actions/Action.h"

// Moves the volume of one playing sound from a start value to a target over the action's duration.
// The start is the effect volume at the moment the fade is made. With the pause flag the sound is
// paused when the fade stops, whether it ran to its end or was removed early.
class SoundFade : public cocos2d::ActionInterval {
public:
    static SoundFade* create(int audioId, float duration, float toVolume, bool pauseAtEnd);

    virtual bool initFade(int audioId, float duration, float toVolume, bool pauseAtEnd);

    void stop() override;
    void update(float t) override;

    int getAudioId() const { return _audioId; }
    float getFromVolume() const { return _from; }
    float getToVolume() const { return _to; }

protected:
    SoundFade() = default;

    float _to = 0.0f;
    float _from = 0.0f;
    int _audioId = -1;
    bool _pauseAtEnd = false;
};
