#pragma once

#include "gameBoard/CBaseState.h"

// The eraser: rubs dirt off the revealed item; a stroke that restores nothing leaves a scrape where it
// ends.
class CEraserToolState : public CBaseState {
public:
    static CEraserToolState* create();

    void onTouchesBegan(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event) override;
    void onTouchesMoved(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event) override;
    void onTouchesEnded(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event) override;
    void onTouchesCancelled(const std::vector<cocos2d::Touch*>&, cocos2d::Event*) override {}
    bool isErased() const { return _erased; }

protected:
    CEraserToolState() : CBaseState(ToolState::Eraser, "tool_eraser") {}

private:
    void stroke(cocos2d::Touch* touch);

    bool _erased = false;
};
