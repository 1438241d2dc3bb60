#include "minigames/TwoMatchPipe.h"

#include <new>

#include "engine/math/Rect.h"

TwoMatchPipe* TwoMatchPipe::create(int32_t kind, cocos2d::Node* tileSprite, cocos2d::Node* selectionSprite) {
    auto* pipe = new (std::nothrow) TwoMatchPipe();
    if (pipe != nullptr && pipe->initWith(kind, tileSprite, selectionSprite)) {
        pipe->autorelease();
        return pipe;
    }
    delete pipe;
    return nullptr;
}

bool TwoMatchPipe::initWith(int32_t kind, cocos2d::Node* tileSprite, cocos2d::Node* selectionSprite) {
    if (!cocos2d::Node::init()) {
        return false;
    }
    _kind = kind;
    _tileSprite = tileSprite;
    _selectionSprite = selectionSprite != nullptr ? selectionSprite : cocos2d::Node::create();
    if (_tileSprite == nullptr || _selectionSprite == nullptr) {
        return false;
    }
    for (cocos2d::Node* picture : {_tileSprite, _selectionSprite}) {
        picture->setAnchorPoint(cocos2d::Vec2(0.5f, 0.5f));
        picture->setPosition(cocos2d::Vec2::ZERO);
        addChild(picture);
    }
    _selectionSprite->setVisible(false);
    return true;
}

void TwoMatchPipe::setCell(int32_t column, int32_t row) {
    _column = column;
    _row = row;
}

void TwoMatchPipe::setSelected(bool selected) {
    _selected = selected;
    _selectionSprite->setVisible(selected);
}

bool TwoMatchPipe::containsWorldPoint(const cocos2d::Vec2& worldPoint) const {
    return _tileSprite->getBoundingBox().containsPoint(convertToNodeSpace(worldPoint));
}
