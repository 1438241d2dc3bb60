#pragma once

#include "gameBoard/CBaseState.h"

// The needle: sews cuts up; a stroke that mends nothing only counts as a miss.
class CNeedleToolState : public CBaseState {
public:
    static CNeedleToolState* create();

    void onTouchesBegan(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event) override;
    void onTouchesMoved(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event) override;
    void onTouchesEnded(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event) override;
    void onTouchesCancelled(const std::vector<cocos2d::Touch*>&, cocos2d::Event*) override {}
    bool isFixed() const { return _fixed; }

protected:
    CNeedleToolState() : CBaseState(ToolState::Needle, "tool_needle") {}

private:
    void stroke(cocos2d::Touch* touch);

    bool _fixed = false;
};
