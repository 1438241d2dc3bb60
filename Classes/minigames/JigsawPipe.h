#pragma once

#include <cstdint>

#include "engine/scene/Sprite.h"

// One square tile of the jigsaw: a piece of the picture's texture that knows the cell where it
// belongs.
class JigsawPipe : public cocos2d::Sprite {
public:
    static JigsawPipe* create();

    int32_t homeColumn = 0;
    int32_t homeRow = 0;

protected:
    JigsawPipe() = default;
};
