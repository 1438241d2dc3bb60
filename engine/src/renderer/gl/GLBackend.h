#pragma once

#include "renderer/RenderBackend.h"

namespace cocos2d {

class GLProgram;

// Draws batches with OpenGL 2.1: client-side vertex arrays, the default sprite program unless the
// batch names a program state, and the full state re-applied for every draw call.
class GLBackend : public RenderBackend {
public:
    GLBackend();
    ~GLBackend() override;

    bool init();
    void beginTarget(const RenderTarget& target) override;
    void drawBatch(const RenderTarget& target, const BatchState& state, const V2F_C4B_T2F* vertices,
                   size_t vertexCount, const uint32_t* indices, size_t indexCount) override;
    void endFrame() override;
    bool readPixels(GLuint framebuffer, int x, int y, int width, int height, unsigned char* rgba) override;

private:
    GLProgram* _defaultProgram = nullptr;
    unsigned int _whiteTexture = 0;
};

}  // namespace cocos2d
