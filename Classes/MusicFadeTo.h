#pragma once

#include "SoundFade.h"

// A sound fade whose start volume is given rather than taken from the effect volume: the music's
// fade-in from almost silent and its fade-out to silence.
class MusicFadeTo : public SoundFade {
public:
    static MusicFadeTo* create(int audioId, float duration, float fromVolume, float toVolume,
                               bool pauseAtEnd);

    virtual bool initFadeFrom(int audioId, float duration, float fromVolume, float toVolume, bool pauseAtEnd);

protected:
    MusicFadeTo() = default;
};
