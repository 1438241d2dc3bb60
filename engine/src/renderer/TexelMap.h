#pragma once

#include <cstdint>
#include <vector>

#include "engine/math/Rect.h"

namespace cocos2d {
namespace fill {

// What a texture's uploaded RGBA8 pixels (rows top first) tell the renderer, learnt once at upload:
// whether every alpha is 255, the smallest rectangle of texels outside which every texel is transparent
// black, and which blocks of 8 x 8 texels are wholly opaque (for sheets whose pictures are opaque in
// parts). Texel rectangles are in texel units with y from the top row.
class TexelMap {
public:
    static constexpr int kBlock = 8;

    // Without pixels (a render target's texture) nothing is known: not opaque, all shown.
    TexelMap(const unsigned char* rgba, int width, int height);

    int width() const { return _width; }
    int height() const { return _height; }
    bool opaque() const { return _opaque; }
    const Rect& shown() const { return _shown; }

    // The blocks holding the texels from `lo` to `hi` along x (or y): false when that reaches past the
    // texture or into its partial blocks at the right and bottom edges, which are not kept.
    bool blocksAlong(double lo, double hi, bool alongX, int* first, int* end) const;
    // Every block of bx0 <= bx < bx1, by0 <= by < by1 is wholly opaque.
    bool opaqueBlocks(int bx0, int by0, int bx1, int by1) const;

private:
    int _width = 0;
    int _height = 0;
    bool _opaque = false;
    Rect _shown;
    int _columns = 0;
    int _rows = 0;
    // Opaque blocks above and left of each block corner: (columns + 1) x (rows + 1) sums.
    std::vector<int32_t> _opaqueSums;
};

}  // namespace fill
}  // namespace cocos2d
