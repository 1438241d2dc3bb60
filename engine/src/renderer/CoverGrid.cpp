#include "renderer/CoverGrid.h"

#include <algorithm>

namespace cocos2d {
namespace fill {
namespace {

int floorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

CoverGrid::CoverGrid(const PixelBox& framebuffer) : _framebuffer(framebuffer) {
    if (!framebuffer.empty()) {
        _columns = (framebuffer.x1 - framebuffer.x0 + kCell - 1) / kCell;
        _rows = (framebuffer.y1 - framebuffer.y0 + kCell - 1) / kCell;
    }
    _covered.assign(static_cast<size_t>(_columns) * _rows, 0);
}

void CoverGrid::clear() {
    std::fill(_covered.begin(), _covered.end(), 0);
}

PixelBox CoverGrid::cellPixels(int cx, int cy) const {
    const PixelBox cell{_framebuffer.x0 + cx * kCell, _framebuffer.y0 + cy * kCell,
                        _framebuffer.x0 + (cx + 1) * kCell, _framebuffer.y0 + (cy + 1) * kCell};
    return cell.intersection(_framebuffer);
}

void CoverGrid::touched(const PixelBox& box, int* cx0, int* cy0, int* cx1, int* cy1) const {
    *cx0 = std::clamp(floorDiv(box.x0 - _framebuffer.x0, kCell), 0, _columns);
    *cy0 = std::clamp(floorDiv(box.y0 - _framebuffer.y0, kCell), 0, _rows);
    *cx1 = std::clamp(floorDiv(box.x1 - _framebuffer.x0 + kCell - 1, kCell), 0, _columns);
    *cy1 = std::clamp(floorDiv(box.y1 - _framebuffer.y0 + kCell - 1, kCell), 0, _rows);
}

void CoverGrid::inside(const PixelBox& box, int* cx0, int* cy0, int* cx1, int* cy1) const {
    touched(box, cx0, cy0, cx1, cy1);
    // Only cells whose pixels all lie in the box (a cell cut by the framebuffer's edge counts for its
    // pixels inside).
    const auto columnInside = [&](int cx) {
        const PixelBox c = cellPixels(cx, 0);
        return c.x0 >= box.x0 && c.x1 <= box.x1;
    };
    const auto rowInside = [&](int cy) {
        const PixelBox c = cellPixels(0, cy);
        return c.y0 >= box.y0 && c.y1 <= box.y1;
    };
    while (*cx0 < *cx1 && !columnInside(*cx0)) {
        ++*cx0;
    }
    while (*cx1 > *cx0 && !columnInside(*cx1 - 1)) {
        --*cx1;
    }
    while (*cy0 < *cy1 && !rowInside(*cy0)) {
        ++*cy0;
    }
    while (*cy1 > *cy0 && !rowInside(*cy1 - 1)) {
        --*cy1;
    }
}

void CoverGrid::cover(const PixelBox& box) {
    int cx0 = 0;
    int cy0 = 0;
    int cx1 = 0;
    int cy1 = 0;
    inside(box, &cx0, &cy0, &cx1, &cy1);
    for (int cy = cy0; cy < cy1; ++cy) {
        std::fill(_covered.begin() + static_cast<long>(cy) * _columns + cx0,
                  _covered.begin() + static_cast<long>(cy) * _columns + cx1, 1);
    }
}

bool CoverGrid::covers(const PixelBox& box) const {
    if (box.empty()) {
        return true;
    }
    if (!_framebuffer.contains(box)) {
        return false;
    }
    int cx0 = 0;
    int cy0 = 0;
    int cx1 = 0;
    int cy1 = 0;
    touched(box, &cx0, &cy0, &cx1, &cy1);
    for (int cy = cy0; cy < cy1; ++cy) {
        for (int cx = cx0; cx < cx1; ++cx) {
            if (!_covered[static_cast<size_t>(cy) * _columns + cx]) {
                return false;
            }
        }
    }
    return true;
}

PixelBox CoverGrid::largestCovered(const PixelBox& box) const {
    // Only cells wholly inside the box: the hole is cut out of it exactly.
    int cx0 = 0;
    int cy0 = 0;
    int cx1 = 0;
    int cy1 = 0;
    inside(box, &cx0, &cy0, &cx1, &cy1);
    if (cx1 <= cx0 || cy1 <= cy0) {
        return PixelBox{};
    }
    // The largest rectangle under a histogram of covered runs, one row of cells at a time.
    const int w = cx1 - cx0;
    _heights.assign(static_cast<size_t>(w) + 1, 0);
    _stack.clear();
    long long bestArea = 0;
    int bestX0 = 0;
    int bestX1 = 0;
    int bestY0 = 0;
    int bestY1 = 0;
    for (int cy = cy0; cy < cy1; ++cy) {
        const uint8_t* row = _covered.data() + static_cast<size_t>(cy) * _columns + cx0;
        for (int i = 0; i < w; ++i) {
            _heights[static_cast<size_t>(i)] = row[i] ? _heights[static_cast<size_t>(i)] + 1 : 0;
        }
        _stack.clear();
        for (int i = 0; i <= w; ++i) {
            const int h = _heights[static_cast<size_t>(i)];  // the extra last entry stays 0
            while (!_stack.empty() && _heights[static_cast<size_t>(_stack.back())] >= h) {
                const int height = _heights[static_cast<size_t>(_stack.back())];
                _stack.pop_back();
                const int left = _stack.empty() ? 0 : _stack.back() + 1;
                const long long area = static_cast<long long>(height) * (i - left);
                if (area > bestArea) {
                    bestArea = area;
                    bestX0 = cx0 + left;
                    bestX1 = cx0 + i;
                    bestY0 = cy - height + 1;
                    bestY1 = cy + 1;
                }
            }
            _stack.push_back(i);
        }
    }
    if (bestArea == 0) {
        return PixelBox{};
    }
    const PixelBox first = cellPixels(bestX0, bestY0);
    const PixelBox last = cellPixels(bestX1 - 1, bestY1 - 1);
    return PixelBox{first.x0, first.y0, last.x1, last.y1}.intersection(box);
}

}  // namespace fill
}  // namespace cocos2d
