#include "minigames/ColorMatchPipe.h"

#include <new>

#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrameCache.h"

#include "ui/NodeFromJson.h"

ColorMatchPipe* ColorMatchPipe::create() {
    auto* pipe = new (std::nothrow) ColorMatchPipe();
    if (pipe != nullptr && pipe->init()) {
        pipe->autorelease();
        return pipe;
    }
    delete pipe;
    return nullptr;
}

void ColorMatchPipe::setup(const cocos2d::Vec2& position, int32_t column, int32_t row, int32_t colour,
                           NodeFromJson* loader, NodeFromJson* fallback) {
    _colour = colour;
    const std::string name = "pipe_" + std::to_string(colour);
    _sprite = makeSprite(name, loader);
    if (_sprite == nullptr && loader == nullptr && fallback != nullptr) {
        // The frames went with another board's release (a restart destroys the old board late).
        _sprite = makeSprite(name, fallback);
    }
    if (_sprite != nullptr) {
        _sprite->setAnchorPoint(cocos2d::Vec2(0.5f, 0.5f));
        addChild(_sprite);
        _sprite->setPosition(cocos2d::Vec2::ZERO);
    }
    setCell(column, row);
    setPosition(position);
}

cocos2d::Node* ColorMatchPipe::makeSprite(const std::string& name, NodeFromJson* loader) {
    if (loader != nullptr) {
        return loader->createNode(name);
    }
    if (cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName(name + ".png") == nullptr) {
        return nullptr;
    }
    return cocos2d::Sprite::createWithSpriteFrameName(name + ".png");
}

void ColorMatchPipe::setCell(int32_t column, int32_t row) {
    _column = column;
    _row = row;
}
