#include "gameBoard/CEraserToolState.h"

#include <new>

#include "engine/base/Log.h"
#include "engine/events/Touch.h"
#include "gameBoard/GameBoard.h"
#include "gameBoard/HiddenObject.h"

CEraserToolState* CEraserToolState::create() {
    auto* state = new (std::nothrow) CEraserToolState();
    if (state != nullptr) {
        state->autorelease();
    }
    return state;
}

void CEraserToolState::stroke(cocos2d::Touch* touch) {
    if (_board->getCurrentItem() != nullptr && _board->getCurrentItem()->getKind() == DefectKind::Dirt &&
        _board->eraseCurrentItem(touch)) {
        _erased = true;
    }
}

void CEraserToolState::onTouchesBegan(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
    if (_board == nullptr || touches.empty()) {
        return;
    }
    _board->setRestoredThisTouch(false);
    _erased = false;
    if (touches.size() == 1) {
        stroke(touches.front());
    }
    stopSound(true);
}

void CEraserToolState::onTouchesMoved(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
    if (_board == nullptr) {
        return;
    }
    playToolSound();
    if (touches.size() == 1) {
        stroke(touches.front());
    }
}

void CEraserToolState::onTouchesEnded(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
    if (_board == nullptr || touches.empty()) {
        return;
    }
    const cocos2d::Vec2 end = touches.front()->getLocation();
    if (!(_erased) && _board->findDamageAt(end) == nullptr && _board->isInsidePicture(end)) {
        reportStrokeMiss(end, end);
    }
    cocos2d::log("CEraserToolState::onTouchesEnded");
    stopSound(true);
    if (_board->isRestoredThisTouch()) {
        _board->notifyToolChange(static_cast<int>(ToolState::Sray));
    }
}
