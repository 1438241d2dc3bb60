#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace cocos2d {
class RenderTexture;
class Texture2D;
}  // namespace cocos2d

// Reads pixels of the board's textures back from the GPU, through a temporary framebuffer that is
// bound only for the read (the one bound before is bound again). Every read is counted, so tests
// and benchmarks can show that strokes read nothing back.
class PixelReadback {
public:
    struct Counters {
        size_t reads = 0;
        size_t bytes = 0;
    };

    // RGBA bytes of the w x h block at (x, y) of the texture (texel rows, which run from the top of a
    // loaded image). The block is clipped to the texture; what lies outside, and everything when the
    // framebuffer is incomplete, reads as zero. False when the framebuffer was not complete.
    static bool readTexture(const cocos2d::Texture2D* texture, int x, int y, int w, int h,
                            std::vector<uint8_t>& rgba);
    // The whole render texture, rows from the top of what was drawn (its texel rows run from the
    // bottom, so they are turned over).
    static bool readRenderTexture(const cocos2d::RenderTexture* renderTexture, std::vector<uint8_t>& rgba);

    static const Counters& counters() { return _counters; }
    static void resetCounters() { _counters = Counters{}; }

private:
    static Counters _counters;
};
