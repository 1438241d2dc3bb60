#include "gameBoard/CBrushToolState.h"

#include <new>

#include "engine/base/Log.h"
#include "engine/events/Touch.h"
#include "gameBoard/GameBoard.h"
#include "gameBoard/HiddenObject.h"

CBrushToolState* CBrushToolState::create() {
    auto* state = new (std::nothrow) CBrushToolState();
    if (state != nullptr) {
        state->autorelease();
    }
    return state;
}

void CBrushToolState::stroke(cocos2d::Touch* touch) {
    if (!_board->isMoveOnPicture(touch)) {
        return;
    }
    if (_board->fixDamage(touch, DefectKind::Scrape)) {
        _fixed = true;
    }
    if (_board->getCurrentItem() != nullptr && _board->getCurrentItem()->getKind() == DefectKind::Scrape &&
        _board->eraseCurrentItem(touch)) {
        _erased = true;
    }
}

void CBrushToolState::onTouchesBegan(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
    if (_board == nullptr || touches.empty()) {
        return;
    }
    _board->setRestoredThisTouch(false);
    _fixed = false;
    _erased = false;
    if (touches.size() == 1) {
        stroke(touches.front());
    }
    stopSound(true);
}

void CBrushToolState::onTouchesMoved(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
    if (_board == nullptr) {
        return;
    }
    playToolSound();
    if (touches.size() == 1) {
        stroke(touches.front());
    }
}

void CBrushToolState::onTouchesEnded(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
    if (_board == nullptr || touches.empty()) {
        return;
    }
    const cocos2d::Vec2 end = touches.front()->getLocation();
    if (!(_fixed || _erased) && _board->findDamageAt(end) == nullptr && _board->isInsidePicture(end)) {
        reportStrokeMiss(end, end);
    }
    cocos2d::log("CBrushToolState::onTouchesEnded");
    stopSound(true);
    if (_board->isRestoredThisTouch()) {
        _board->notifyToolChange(static_cast<int>(ToolState::Sray));
    }
}
