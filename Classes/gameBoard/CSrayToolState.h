#pragma once

#include "gameBoard/CBaseState.h"

// The reagent spray: a tap on the picture drops reagent, and 0.2 s later the drop either reveals the
// hidden item under it or counts a miss.
class CSrayToolState : public CBaseState {
public:
    static constexpr float kDropDelay = 0.2f;

    static CSrayToolState* create();

    void onTouchesBegan(const std::vector<cocos2d::Touch*>&, cocos2d::Event*) override {}
    void onTouchesMoved(const std::vector<cocos2d::Touch*>&, cocos2d::Event*) override {}
    void onTouchesEnded(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event) override;
    void onTouchesCancelled(const std::vector<cocos2d::Touch*>&, cocos2d::Event*) override {}

    void playDropAnimation(const cocos2d::Vec2& location);
    void dropHitBoard(const cocos2d::Vec2& location);

protected:
    CSrayToolState() : CBaseState(ToolState::Sray, "") {}
};
