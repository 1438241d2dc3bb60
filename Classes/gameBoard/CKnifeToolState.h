#pragma once

#include "gameBoard/CBaseState.h"

// The knife: cuts blots away, the revealed item's or the player's; a stroke that restores nothing
// leaves a cut halfway along it.
class CKnifeToolState : public CBaseState {
public:
    static CKnifeToolState* create();

    void onTouchesBegan(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event) override;
    void onTouchesMoved(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event) override;
    void onTouchesEnded(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event) override;
    void onTouchesCancelled(const std::vector<cocos2d::Touch*>&, cocos2d::Event*) override {}
    // Halfway from start to end.
    static cocos2d::Vec2 cutPosition(const cocos2d::Vec2& start, const cocos2d::Vec2& end);
    const cocos2d::Vec2& getStart() const { return _start; }
    bool isFixed() const { return _fixed; }
    bool isErased() const { return _erased; }

protected:
    CKnifeToolState() : CBaseState(ToolState::Knife, "tool_scraper") {}

private:
    void stroke(cocos2d::Touch* touch);

    // Where the touch began, in world coordinates.
    cocos2d::Vec2 _start;
    bool _fixed = false;
    bool _erased = false;
};
