#pragma once

#include "gameBoard/CBaseState.h"

// No tool: every touch is refused with a sound.
class CWaitState : public CBaseState {
public:
    static CWaitState* create();

    void onTouchesBegan(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event) override;
    void onTouchesMoved(const std::vector<cocos2d::Touch*>&, cocos2d::Event*) override {}
    void onTouchesEnded(const std::vector<cocos2d::Touch*>&, cocos2d::Event*) override {}
    void onTouchesCancelled(const std::vector<cocos2d::Touch*>&, cocos2d::Event*) override {}

protected:
    CWaitState() : CBaseState(ToolState::Wait, "") {}
};
