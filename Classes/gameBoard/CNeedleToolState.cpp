#include "gameBoard/CNeedleToolState.h"

#include <new>

#include "engine/base/Log.h"
#include "engine/events/Touch.h"
#include "gameBoard/GameBoard.h"

CNeedleToolState* CNeedleToolState::create() {
    auto* state = new (std::nothrow) CNeedleToolState();
    if (state != nullptr) {
        state->autorelease();
    }
    return state;
}

void CNeedleToolState::stroke(cocos2d::Touch* touch) {
    if (_board->isMoveOnPicture(touch) && _board->fixDamage(touch, DefectKind::Cut)) {
        _fixed = true;
    }
}

void CNeedleToolState::onTouchesBegan(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
    if (_board == nullptr || touches.empty()) {
        return;
    }
    _board->setRestoredThisTouch(false);
    _fixed = false;
    if (touches.size() == 1) {
        stroke(touches.front());
    }
    stopSound(true);
}

void CNeedleToolState::onTouchesMoved(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
    if (_board == nullptr) {
        return;
    }
    playToolSound();
    if (touches.size() == 1) {
        stroke(touches.front());
    }
}

void CNeedleToolState::onTouchesEnded(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
    if (_board == nullptr || touches.empty()) {
        return;
    }
    const cocos2d::Vec2 end = touches.front()->getLocation();
    if (!(_fixed) && _board->findDamageAt(end) == nullptr && _board->isInsidePicture(end)) {
        reportStrokeMiss(end, end);
    }
    cocos2d::log("CNeedleToolState::onTouchesEnded");
    stopSound(true);
    if (_board->isRestoredThisTouch()) {
        _board->notifyToolChange(static_cast<int>(ToolState::Sray));
    }
}
