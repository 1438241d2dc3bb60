#include "MusicFadeTo.h"

#include <new>

MusicFadeTo* MusicFadeTo::create(int audioId, float duration, float fromVolume, float toVolume,
                                 bool pauseAtEnd) {
    auto* fade = new (std::nothrow) MusicFadeTo();
    if (fade == nullptr) {
        return nullptr;
    }
    if (!fade->initFadeFrom(audioId, duration, fromVolume, toVolume, pauseAtEnd)) {
        delete fade;
        return nullptr;
    }
    fade->autorelease();
    return fade;
}

bool MusicFadeTo::initFadeFrom(int audioId, float duration, float fromVolume, float toVolume,
                               bool pauseAtEnd) {
    if (!initFade(audioId, duration, toVolume, pauseAtEnd)) {
        return false;
    }
    _from = fromVolume;
    return true;
}
