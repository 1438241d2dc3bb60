#include "gameBoard/CWaitState.h"

#include <new>

#include "engine/base/Log.h"
#include "GameSound.h"

CWaitState* CWaitState::create() {
    auto* state = new (std::nothrow) CWaitState();
    if (state != nullptr) {
        state->autorelease();
    }
    return state;
}

void CWaitState::onTouchesBegan(const std::vector<cocos2d::Touch*>&, cocos2d::Event*) {
    cocos2d::log("CWaitState::onTouchesBegan");
    stopSound(false);
    _soundId = GameSound::getInstance().playEffect("tool_wrong", false);
}
