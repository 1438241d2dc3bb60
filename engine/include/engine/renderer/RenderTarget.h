#pragma once

#include "engine/base/GLTypes.h"
#include "engine/math/Rect.h"

namespace cocos2d {

// Where a batch of commands is drawn: a framebuffer, the pixel viewport in it, and the world rectangle
// (design units) that the viewport shows. The screen shows the design area in the letterboxed
// viewport; a render texture shows (0..w, 0..h) on its own pixels.
struct RenderTarget {
    GLuint framebuffer = 0;
    int viewportX = 0;
    int viewportY = 0;
    int viewportWidth = 0;
    int viewportHeight = 0;
    Rect world;
    // Clear the bars outside the viewport (screen only) and the viewport itself before drawing.
    bool clearOnBegin = false;
    float clearColor[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    int framebufferWidth = 0;
    int framebufferHeight = 0;
};

}  // namespace cocos2d
