#include "GameSound.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/Sequence.h"
#include "engine/audio/AudioEngine.h"
#include "engine/base/Log.h"
#include "engine/base/StringUtils.h"
#include "engine/scene/Node.h"

#include "MusicFadeTo.h"
#include "Settings.h"

using cocos2d::experimental::AudioEngine;
using cocos2d::experimental::AudioState;

namespace {

std::unique_ptr<GameSound>& instanceSlot() {
    static std::unique_ptr<GameSound> instance;
    return instance;
}

}  // namespace

GameSound& GameSound::getInstance() {
    std::unique_ptr<GameSound>& instance = instanceSlot();
    if (!instance) {
        instance = std::make_unique<GameSound>();
    }
    return *instance;
}

void GameSound::destroyInstance() {
    instanceSlot().reset();
}

GameSound::GameSound() : _musicId(AudioEngine::INVALID_AUDIO_ID) {
    AudioEngine::lazyInit();
}

GameSound::~GameSound() = default;

int GameSound::getInvalidAudioId() {
    return AudioEngine::INVALID_AUDIO_ID;
}

std::string GameSound::pathFor(const std::string& name) const {
    return cocos2d::StringUtils::format("%s/%s.%s", _audioFolder.c_str(), name.c_str(),
                                        _audioExtension.c_str());
}

cocos2d::Node* GameSound::actionNode() {
    return Settings::getInstance().getTopLayer();
}

int GameSound::playEffect(const std::string& name, bool loop) {
    cocos2d::log("playEffect %s", name.c_str());
    const int audioId = AudioEngine::play2d(pathFor(name), loop, _soundVolume);
    if (audioId != AudioEngine::INVALID_AUDIO_ID) {
        forgetFinishedEffects();
        _effectIds.push_back(audioId);
    }
    return audioId;
}

void GameSound::forgetFinishedEffects() {
    std::erase_if(_effectIds, [](int id) { return AudioEngine::getState(id) == AudioState::ERROR; });
}

void GameSound::pauseEffects() {
    forgetFinishedEffects();
    for (int id : _effectIds) {
        if (AudioEngine::getState(id) == AudioState::PLAYING) {
            AudioEngine::pause(id);
            _pausedEffectIds.push_back(id);
        }
    }
}

void GameSound::resumeEffects() {
    for (int id : _pausedEffectIds) {
        if (AudioEngine::getState(id) == AudioState::PAUSED) {
            AudioEngine::resume(id);
        }
    }
    _pausedEffectIds.clear();
}

void GameSound::stopEffect(int audioId, bool /*fade*/) {
    cocos2d::log("stop sound %d", audioId);
    AudioEngine::stop(audioId);
}

void GameSound::setVolume(int audioId, float volume) {
    AudioEngine::setVolume(audioId, volume);
}

void GameSound::pauseSound(int audioId) {
    AudioEngine::pause(audioId);
}

void GameSound::preloadEffect(const std::string& name) {
    cocos2d::log("preloadEffect %s", name.c_str());
    AudioEngine::preload(pathFor(name));
}

void GameSound::preloadMusic(const std::string& name) {
    cocos2d::log("preloadMusic %s", name.c_str());
    AudioEngine::preload(pathFor(name));
}

void GameSound::uncacheEffect(const std::string& name) {
    AudioEngine::uncache(pathFor(name));
}

void GameSound::playMusic(const std::string& name, bool loop) {
    cocos2d::log("playMusic %s", name.c_str());
    cocos2d::Node* node = actionNode();
    if (node == nullptr) {
        cocos2d::log("playMusic %s: no notification node to run the music on", name.c_str());
        return;
    }
    // A track still current would play on with no id kept to fade, pause or stop it.
    if (_musicId != AudioEngine::INVALID_AUDIO_ID) {
        AudioEngine::stop(_musicId);
    }
    _musicId = AudioEngine::play2d(pathFor(name), loop, kMusicStartVolume);
    if (_musicId == AudioEngine::INVALID_AUDIO_ID) {
        return;
    }
    AudioEngine::setFinishCallback(_musicId, [](int audioId, const std::string& filePath) {
        GameSound::getInstance().onMusicEndCallback(audioId, filePath);
    });
    node->runAction(MusicFadeTo::create(_musicId, kMusicFadeSeconds, kMusicStartVolume, _musicVolume, false));
    // Tagged like the timer it sets, so that whatever cancels the timer also cancels a timer about to
    // be set for a track that is no longer current.
    auto* setTimer = cocos2d::Sequence::create(
        cocos2d::DelayTime::create(kTrackEndSetDelay),
        cocos2d::CallFunc::create([] { GameSound::getInstance().scheduleTrackEnd(); }), nullptr);
    setTimer->setTag(kTrackEndTag);
    node->runAction(setTimer);
}

void GameSound::scheduleTrackEnd() {
    const float duration = AudioEngine::getDuration(_musicId);
    cocos2d::log("track #%d duration = %f", _musicId, static_cast<double>(duration));
    // An unknown length sets no timer: the track's finish callback still advances the playlist.
    if (duration <= 0.0f) {
        return;
    }
    cocos2d::Node* node = actionNode();
    if (node == nullptr) {
        return;
    }
    auto* timer = cocos2d::Sequence::create(
        cocos2d::DelayTime::create(duration),
        cocos2d::CallFunc::create([] { GameSound::getInstance().nextTrack(); }), nullptr);
    timer->setTag(kTrackEndTag);
    node->runAction(timer);
}

void GameSound::onMusicEndCallback(int audioId, const std::string& filePath) {
    cocos2d::log("onMusicEndCallback %s", filePath.c_str());
    // A track that is no longer current (replaced while it faded out) has nothing left to advance.
    if (audioId != _musicId) {
        return;
    }
    _musicId = AudioEngine::INVALID_AUDIO_ID;
    if (cocos2d::Node* node = actionNode()) {
        node->stopAllActionsByTag(kTrackEndTag);
    }
    nextTrack();
}

void GameSound::nextTrack() {
    if (!_playlistActive || _playlist.empty()) {
        return;
    }
    cocos2d::Node* node = actionNode();
    if (node == nullptr) {
        return;
    }
    node->stopAllActionsByTag(kTrackEndTag);
    if (_musicId != AudioEngine::INVALID_AUDIO_ID) {
        const int fadedId = _musicId;
        node->runAction(cocos2d::Sequence::create(
            MusicFadeTo::create(fadedId, kMusicFadeSeconds, _musicVolume, 0.0f, false),
            cocos2d::CallFunc::create([fadedId] { GameSound::getInstance().finishFadeOut(fadedId); }),
            nullptr));
        return;
    }
    node->runAction(cocos2d::CallFunc::create([] {
        GameSound& sound = GameSound::getInstance();
        sound.rotatePlaylist();
        sound.playMusic(sound._playlist.back(), false);
    }));
}

void GameSound::finishFadeOut(int fadedId) {
    AudioEngine::stop(fadedId);
    // When another track became current while this one faded (its end started the next), that
    // track has already moved the playlist on: stopping it or rotating again would skip one.
    if (_musicId != fadedId) {
        return;
    }
    _musicId = AudioEngine::INVALID_AUDIO_ID;
    rotatePlaylist();
    playMusic(_playlist.back(), false);
}

void GameSound::rotatePlaylist() {
    if (_playlist.size() > 1) {
        std::string last = std::move(_playlist.back());
        _playlist.pop_back();
        _playlist.insert(_playlist.begin(), std::move(last));
    }
}

void GameSound::addToPlaylist(const std::string& name) {
    // Each track is queued once, however often a level asks for it.
    if (std::find(_playlist.begin(), _playlist.end(), name) != _playlist.end()) {
        return;
    }
    _playlist.push_back(name);
}

void GameSound::startPlaylist() {
    if (_musicId != AudioEngine::INVALID_AUDIO_ID || _playlist.empty()) {
        return;
    }
    playMusic(_playlist.back(), false);
    _playlistActive = true;
}

void GameSound::pauseMusic() {
    if (_musicId != AudioEngine::INVALID_AUDIO_ID) {
        AudioEngine::pause(_musicId);
    }
}

void GameSound::resumeMusic() {
    if (_musicId != AudioEngine::INVALID_AUDIO_ID) {
        AudioEngine::resume(_musicId);
    }
}

void GameSound::setMusicVolume(float volume) {
    _musicVolume = volume;
    cocos2d::log("music volume %f", static_cast<double>(volume));
    if (_musicId != AudioEngine::INVALID_AUDIO_ID) {
        AudioEngine::setVolume(_musicId, volume);
    }
}

void GameSound::setSoundVolume(float volume) {
    _soundVolume = volume;
    cocos2d::log("sound volume %f", static_cast<double>(volume));
}
