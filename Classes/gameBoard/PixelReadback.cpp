#include "gameBoard/PixelReadback.h"

#include <algorithm>
#include <cstring>

#include "engine/base/Log.h"
#include "engine/platform/GL.h"
#include "engine/renderer/RenderTexture.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Sprite.h"

PixelReadback::Counters PixelReadback::_counters;

bool PixelReadback::readTexture(const cocos2d::Texture2D* texture, int x, int y, int w, int h,
                                std::vector<uint8_t>& rgba) {
    w = std::max(0, w);
    h = std::max(0, h);
    rgba.assign(static_cast<size_t>(w) * h * 4, 0);
    ++_counters.reads;
    _counters.bytes += rgba.size();
    if (texture == nullptr || texture->getName() == 0 || w == 0 || h == 0) {
        cocos2d::log("PixelReadback: no texture to read");
        return false;
    }
    // Only the part that lies on the texture is read; the rest stays zero.
    const int x0 = std::max(0, x);
    const int y0 = std::max(0, y);
    const int x1 = std::min(texture->getPixelsWide(), x + w);
    const int y1 = std::min(texture->getPixelsHigh(), y + h);

    GLint previous = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture->getName(), 0);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (!complete) {
        cocos2d::log("PixelReadback: framebuffer incomplete for [%s]", texture->getPath().c_str());
    } else if (x1 > x0 && y1 > y0) {
        const int rw = x1 - x0;
        const int rh = y1 - y0;
        std::vector<uint8_t> block(static_cast<size_t>(rw) * rh * 4);
        GLint packAlignment = 4;
        glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x0, y0, rw, rh, GL_RGBA, GL_UNSIGNED_BYTE, block.data());
        glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
        for (int row = 0; row < rh; ++row) {
            std::memcpy(&rgba[(static_cast<size_t>(row + y0 - y) * w + (x0 - x)) * 4],
                        &block[static_cast<size_t>(row) * rw * 4], static_cast<size_t>(rw) * 4);
        }
    }
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
    glDeleteFramebuffers(1, &framebuffer);
    return complete;
}

bool PixelReadback::readRenderTexture(const cocos2d::RenderTexture* renderTexture,
                                      std::vector<uint8_t>& rgba) {
    if (renderTexture == nullptr || renderTexture->getSprite() == nullptr) {
        rgba.clear();
        ++_counters.reads;
        return false;
    }
    const int w = renderTexture->getPixelsWide();
    const int h = renderTexture->getPixelsHigh();
    const bool complete = readTexture(renderTexture->getSprite()->getTexture(), 0, 0, w, h, rgba);
    // Texel row 0 is the bottom of the drawing: turn the rows over so row 0 is its top.
    const size_t stride = static_cast<size_t>(w) * 4;
    std::vector<uint8_t> row(stride);
    for (int top = 0, bottom = h - 1; top < bottom; ++top, --bottom) {
        uint8_t* a = &rgba[static_cast<size_t>(top) * stride];
        uint8_t* b = &rgba[static_cast<size_t>(bottom) * stride];
        std::memcpy(row.data(), a, stride);
        std::memcpy(a, b, stride);
        std::memcpy(b, row.data(), stride);
    }
    return complete;
}
