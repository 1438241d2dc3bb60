#pragma once

#include "engine/math/Size.h"

namespace cocos2d {

class Renderer;

// The statistics overlay at the bottom left: FPS, ms per frame and draw calls, in a built-in bitmap
// font so that it needs no resource file.
class StatsOverlay {
public:
    static void draw(Renderer& renderer, const Size& designSize, float fps, float milliseconds,
                     unsigned int drawCalls);
};

}  // namespace cocos2d
