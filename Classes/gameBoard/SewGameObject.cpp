#include "gameBoard/SewGameObject.h"

#include "engine/events/Touch.h"

SewGameObject* SewGameObject::createWithSpriteFrameName(const std::string& frameName) {
    return adopt(new (std::nothrow) SewGameObject(), frameName);
}

SewGameObject::SewGameObject() {
    _brushName = "eraser_needle";
    _cellSize = kCutCellSize;
}

bool SewGameObject::eraseStroke(cocos2d::Touch* touch) {
    const cocos2d::Vec2 current = convertToNodeSpace(touch->getLocation());
    const cocos2d::Vec2 previous = convertToNodeSpace(touch->getPreviousLocation());
    // Stitches keep the stamp's own blend: they are drawn over the cut.
    return stampStroke(previous, current, kStitchSpacing, false, nullptr);
}
