#pragma once

#include <cstdint>
#include <string>

#include "engine/math/Vec2.h"
#include "engine/scene/Node.h"

class NodeFromJson;

// One pipe of the colour merging board: a node at its cell's centre drawing the picture of its colour,
// "pipe_" followed by the colour.
class ColorMatchPipe : public cocos2d::Node {
public:
    static ColorMatchPipe* create();

    // Stores the cell and the colour and makes the picture: with a loader, the element of that name
    // from the game's description; without one, the sprite frame of that name + ".png", or, when the
    // frame is gone from the cache, the fallback's element. The pipe then stands at position. A pipe
    // whose picture cannot be made has no sprite.
    void setup(const cocos2d::Vec2& position, int32_t column, int32_t row, int32_t colour,
               NodeFromJson* loader, NodeFromJson* fallback = nullptr);
    // The picture of that name, anchored at its centre; null when it cannot be made.
    static cocos2d::Node* makeSprite(const std::string& name, NodeFromJson* loader);

    cocos2d::Node* getSprite() const { return _sprite; }
    int32_t getColumn() const { return _column; }
    int32_t getRow() const { return _row; }
    void setCell(int32_t column, int32_t row);
    int32_t getColour() const { return _colour; }

private:
    ColorMatchPipe() = default;

    cocos2d::Node* _sprite = nullptr;
    int32_t _column = 0;
    int32_t _row = 0;
    int32_t _colour = 0;
};
