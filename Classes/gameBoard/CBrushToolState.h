#pragma once

#include "gameBoard/CBaseState.h"

// The brush: paints over scrapes, the revealed item's or the player's; a stroke that restores nothing
// leaves a blot where it ends.
class CBrushToolState : public CBaseState {
public:
    static CBrushToolState* create();

    void onTouchesBegan(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event) override;
    void onTouchesMoved(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event) override;
    void onTouchesEnded(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event) override;
    void onTouchesCancelled(const std::vector<cocos2d::Touch*>&, cocos2d::Event*) override {}
    bool isFixed() const { return _fixed; }
    bool isErased() const { return _erased; }

protected:
    CBrushToolState() : CBaseState(ToolState::Brush, "tool_painting") {}

private:
    void stroke(cocos2d::Touch* touch);

    bool _fixed = false;
    bool _erased = false;
};
