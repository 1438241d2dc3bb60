#pragma once

#include <cstdint>

#include "engine/math/Vec2.h"
#include "engine/scene/Node.h"

// One tile of the safe door: its picture ("tile_" + kind) and its selection frame ("Selection"),
// both centred on the tile, and the cell it stands in.
class TwoMatchPipe : public cocos2d::Node {
public:
    // The pictures become children of the tile. Without a tile picture there is no tile (null): it could
    // be neither seen nor hit. A missing selection frame is replaced by an empty node; the tile then
    // plays without showing that it is chosen.
    static TwoMatchPipe* create(int32_t kind, cocos2d::Node* tileSprite, cocos2d::Node* selectionSprite);

    int32_t getKind() const { return _kind; }
    int32_t getColumn() const { return _column; }
    int32_t getRow() const { return _row; }
    void setCell(int32_t column, int32_t row);

    // Shows or hides the selection frame.
    void setSelected(bool selected);
    bool isSelected() const { return _selected; }

    cocos2d::Node* getTileSprite() const { return _tileSprite; }
    cocos2d::Node* getSelectionSprite() const { return _selectionSprite; }
    // Whether the world point falls inside the tile picture's bounding box.
    bool containsWorldPoint(const cocos2d::Vec2& worldPoint) const;

private:
    bool initWith(int32_t kind, cocos2d::Node* tileSprite, cocos2d::Node* selectionSprite);

    cocos2d::Node* _tileSprite = nullptr;
    int32_t _column = 0;
    int32_t _row = 0;
    bool _selected = false;
    int32_t _kind = 0;
    cocos2d::Node* _selectionSprite = nullptr;
};
