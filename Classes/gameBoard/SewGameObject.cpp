#include "gameBoard/SewGameObject.h"

#include <new>

SewGameObject* SewGameObject::createWithSpriteFrameName(const std::string& frameName) {
    return adopt(new (std::nothrow) SewGameObject(), frameName);
}

SewGameObject::SewGameObject() {
    _brushName = "eraser_needle";
    _cellSize = kCutCellSize;
}
