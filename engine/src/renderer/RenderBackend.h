#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/base/Types.h"
#include "engine/math/Rect.h"
#include "engine/renderer/RenderTarget.h"
#include "engine/renderer/Vertex.h"
#include "renderer/FillGeometry.h"

namespace cocos2d {

class GLProgramState;

// The state one draw call shares.
struct BatchState {
    GLuint texture = 0;
    const void* textureKey = nullptr;  // the texture object, so batches split even without GL names
    BlendFunc blend = BlendFunc::ALPHA_PREMULTIPLIED;
    // Off where the blend would give the source's own pixels anyway.
    bool blending = true;
    GLProgramState* programState = nullptr;
    bool clipEnabled = false;
    Rect clip;  // world coordinates of the target
    // The pixels the draw may change: the clip's, or the part of a draw that shows.
    bool scissorEnabled = false;
    fill::PixelBox scissor;
};

// What the renderer draws with. The GL backend registers itself once a context is ready; without one
// the renderer only counts.
class RenderBackend {
public:
    virtual ~RenderBackend() = default;
    // Binds the target's framebuffer and viewport, and clears when the target asks.
    virtual void beginTarget(const RenderTarget& target) = 0;
    // One draw call. Every call re-applies framebuffer, viewport, blend, program and scissor.
    virtual void drawBatch(const RenderTarget& target, const BatchState& state, const V2F_C4B_T2F* vertices,
                           size_t vertexCount, const uint32_t* indices, size_t indexCount) = 0;

    // After the frame's last draw: hands the queued work to the driver. A buffer swap would do it too,
    // but a frame that is never shown (an offscreen pbuffer, or presenting turned off) is never swapped,
    // and the driver would keep every frame's commands queued, growing with each frame.
    virtual void endFrame() = 0;

    // Straight copy of the framebuffer's pixels, bottom row first, into `rgba` (width * height * 4).
    virtual bool readPixels(GLuint framebuffer, int x, int y, int width, int height, unsigned char* rgba) = 0;

    static RenderBackend* current();
    static void setCurrent(RenderBackend* backend);
};

}  // namespace cocos2d
