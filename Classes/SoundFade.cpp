#include "SoundFade.h"

#include <new>

#include "GameSound.h"

SoundFade* SoundFade::create(int audioId, float duration, float toVolume, bool pauseAtEnd) {
    auto* fade = new (std::nothrow) SoundFade();
    if (fade == nullptr) {
        return nullptr;
    }
    if (!fade->initFade(audioId, duration, toVolume, pauseAtEnd)) {
        delete fade;
        return nullptr;
    }
    fade->autorelease();
    return fade;
}

bool SoundFade::initFade(int audioId, float duration, float toVolume, bool pauseAtEnd) {
    if (!initWithDuration(duration)) {
        return false;
    }
    _audioId = audioId;
    _to = toVolume;
    _pauseAtEnd = pauseAtEnd;
    _from = GameSound::getInstance().getSoundVolume();
    return true;
}

void SoundFade::update(float t) {
    GameSound::getInstance().setVolume(_audioId, _from + (_to - _from) * t);
}

void SoundFade::stop() {
    if (_pauseAtEnd) {
        GameSound::getInstance().pauseSound(_audioId);
    }
    ActionInterval::stop();
}
