#include "gameBoard/CWaitState.h"

#include <new>

#include "engine/base/Log.h"
#include "gameBoard/BoardSound.h"

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
    _soundId = BoardSound::playEffect("tool_wrong");
}
