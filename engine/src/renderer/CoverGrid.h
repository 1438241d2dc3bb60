#pragma once

#include <cstdint>
#include <vector>

#include "renderer/FillGeometry.h"

namespace cocos2d {
namespace fill {

// Which cells of 8 x 8 pixels of a framebuffer later draws replace wholly, gathered from the last draw
// back, and what of a box is left outside them.
class CoverGrid {
public:
    static constexpr int kCell = 8;

    explicit CoverGrid(const PixelBox& framebuffer);

    // Nothing covered (a draw further back may be read by a command in between).
    void clear();
    // The cells wholly inside `box`.
    void cover(const PixelBox& box);
    // The cells wholly inside `box`, as cell indices cx0 <= cx < cx1, cy0 <= cy < cy1.
    void cellsInside(const PixelBox& box, int* cx0, int* cy0, int* cx1, int* cy1) const { inside(box, cx0, cy0, cx1, cy1); }
    PixelBox cellPixels(int cx, int cy) const;
    void coverCell(int cx, int cy) { _covered[static_cast<size_t>(cy) * _columns + cx] = 1; }
    // Every pixel of `box` lies in covered cells.
    bool covers(const PixelBox& box) const;
    // The largest rectangle of covered cells inside `box` (cut to it); empty when there is none.
    PixelBox largestCovered(const PixelBox& box) const;

private:
    // Cells that `box` touches, and those wholly inside it.
    void touched(const PixelBox& box, int* cx0, int* cy0, int* cx1, int* cy1) const;
    void inside(const PixelBox& box, int* cx0, int* cy0, int* cx1, int* cy1) const;

    PixelBox _framebuffer;
    int _columns = 0;
    int _rows = 0;
    std::vector<uint8_t> _covered;
    mutable std::vector<int> _heights;
    mutable std::vector<int> _stack;
};

}  // namespace fill
}  // namespace cocos2d
