#include "minigames/MinigameBase.h"

#include "engine/base/Log.h"

#include "MinigameLevel.h"
#include "Profile.h"
#include "Settings.h"
#include "minigames/CurrentMinigame.h"

MinigameBase::~MinigameBase() {
    cocos2d::log("=== %s ===\n", "MinigameBase::~MinigameBase");
}

bool MinigameBase::init() {
    if (!cocos2d::Node::init()) {
        return false;
    }
    _state = MinigameState::Playing;
    _inputLocked = false;
    return true;
}

bool MinigameBase::touchBegan(const cocos2d::Vec2& /*location*/) {
    return true;
}

bool MinigameBase::touchEnded(const cocos2d::Vec2& /*location*/) {
    return true;
}

bool MinigameBase::touchMoved(const cocos2d::Vec2& /*location*/) {
    return true;
}

void MinigameBase::lose() {
    if (isDecided()) {
        return;
    }
    _state = MinigameState::Lost;
    _inputLocked = true;
}

void MinigameBase::loseForGood() {
    if (isDecided()) {
        return;
    }
    lose();
    _lostForGood = true;
}

void MinigameBase::win() {
    if (isDecided()) {
        return;
    }
    _state = MinigameState::Won;
    _inputLocked = true;
    Settings::getInstance().getCurrentUser().world.minigameWins.push_back(
        MinigameLevel{currentMinigameKind, currentMinigameLevel});
}

void MinigameBase::stop() {
    stopAllActions();
    _inputLocked = true;
}

void MinigameBase::preloadSounds() {}

void MinigameBase::unloadSounds() {}

void MinigameBase::setState(MinigameState state) {
    if (state == MinigameState::Won || state == MinigameState::Lost) {
        cocos2d::log("MinigameBase::setState: state %d comes from win or lose only", static_cast<int>(state));
        return;
    }
    if (isDecided()) {
        return;
    }
    _state = state;
}

bool MinigameBase::isDecided() const {
    return _state == MinigameState::Won || _state == MinigameState::Lost;
}
