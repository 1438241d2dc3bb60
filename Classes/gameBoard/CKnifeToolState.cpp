#include "gameBoard/CKnifeToolState.h"

#include <new>

#include "engine/base/Log.h"
#include "engine/events/Touch.h"
#include "gameBoard/GameBoard.h"
#include "gameBoard/HiddenObject.h"

CKnifeToolState* CKnifeToolState::create() {
    auto* state = new (std::nothrow) CKnifeToolState();
    if (state != nullptr) {
        state->autorelease();
    }
    return state;
}

cocos2d::Vec2 CKnifeToolState::cutPosition(const cocos2d::Vec2& start, const cocos2d::Vec2& end) {
    return (start + end) * 0.5f;
}

void CKnifeToolState::stroke(cocos2d::Touch* touch) {
    if (!_board->isMoveOnPicture(touch)) {
        return;
    }
    if (_board->fixDamage(touch, DefectKind::Blot)) {
        _fixed = true;
    }
    if (_board->getCurrentItem() != nullptr && _board->getCurrentItem()->getKind() == DefectKind::Blot &&
        _board->eraseCurrentItem(touch)) {
        _erased = true;
    }
}

void CKnifeToolState::onTouchesBegan(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
    if (_board == nullptr || touches.empty()) {
        return;
    }
    _board->setRestoredThisTouch(false);
    _fixed = false;
    _erased = false;
    _start = touches.front()->getLocation();
    if (touches.size() == 1) {
        stroke(touches.front());
    }
    stopSound(true);
}

void CKnifeToolState::onTouchesMoved(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
    if (_board == nullptr) {
        return;
    }
    playToolSound();
    if (touches.size() == 1) {
        stroke(touches.front());
    }
}

void CKnifeToolState::onTouchesEnded(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
    if (_board == nullptr || touches.empty()) {
        return;
    }
    const cocos2d::Vec2 end = touches.front()->getLocation();
    if (!(_fixed || _erased) && _board->findDamageAt(end) == nullptr && _board->isInsidePicture(end)) {
        // A stroke begun off the picture still cuts the picture, at the nearest point of it.
        reportStrokeMiss(end, _board->clampToPicture(cutPosition(_start, end)));
    }
    cocos2d::log("CKnifeToolState::onTouchesEnded");
    stopSound(true);
    if (_board->isRestoredThisTouch()) {
        _board->notifyToolChange(static_cast<int>(ToolState::Sray));
    }
}
