#pragma once

#include <stdlib.h>

namespace cocos2d::audio {

// Keeps the C library's random sequence where it was while third-party code runs. Opening a sound
// driver can draw from rand() on this thread (the PulseAudio client does, a varying number of times
// while it looks for a server), which would shift the sequence the game's seed gave it. For the
// shield's lifetime rand() and random() draw from a private state instead; the old state, position
// included, comes back when it ends. With glibc rand() and random() share that state.
class RandomStateShield {
public:
    RandomStateShield() : _previous(initstate(1, _state, sizeof _state)) {}
    ~RandomStateShield() {
        if (_previous != nullptr) {
            setstate(_previous);
        }
    }
    RandomStateShield(const RandomStateShield&) = delete;
    RandomStateShield& operator=(const RandomStateShield&) = delete;

private:
    // The size glibc gives its own default state.
    char _state[128] = {};
    char* _previous;
};

}  // namespace cocos2d::audio
