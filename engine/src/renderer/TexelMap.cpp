#include "renderer/TexelMap.h"

#include <algorithm>
#include <cmath>

namespace cocos2d {
namespace fill {
namespace {

bool clearAt(const unsigned char* texel) {
    return (texel[0] | texel[1] | texel[2] | texel[3]) == 0;
}

}  // namespace

TexelMap::TexelMap(const unsigned char* rgba, int width, int height)
    : _width(std::max(width, 0)), _height(std::max(height, 0)) {
    _shown = Rect(0.0f, 0.0f, static_cast<float>(_width), static_cast<float>(_height));
    if (!rgba || _width == 0 || _height == 0) {
        return;
    }
    _columns = _width / kBlock;
    _rows = _height / kBlock;
    std::vector<uint8_t> opaqueBlocks(static_cast<size_t>(_columns) * _rows, 1);
    bool opaque = true;
    int minX = _width;
    int minY = -1;
    int maxX = -1;
    int maxY = -1;
    for (int y = 0; y < _height; ++y) {
        const unsigned char* row = rgba + static_cast<size_t>(y) * static_cast<size_t>(_width) * 4;
        int first = 0;
        while (first < _width && clearAt(row + static_cast<size_t>(first) * 4)) {
            ++first;
        }
        if (first < _width) {
            int last = _width - 1;
            while (clearAt(row + static_cast<size_t>(last) * 4)) {
                --last;
            }
            minX = std::min(minX, first);
            maxX = std::max(maxX, last);
            minY = minY < 0 ? y : minY;
            maxY = y;
        }
        const int blockRow = y / kBlock;
        uint8_t* blocks = blockRow < _rows ? opaqueBlocks.data() + static_cast<size_t>(blockRow) * _columns : nullptr;
        for (int x = 0; x < _width; ++x) {
            if (row[static_cast<size_t>(x) * 4 + 3] != 255) {
                opaque = false;
                if (blocks && x / kBlock < _columns) {
                    blocks[x / kBlock] = 0;
                }
            }
        }
    }
    _opaque = opaque;
    const size_t stride = static_cast<size_t>(_columns) + 1;
    _opaqueSums.assign(stride * (static_cast<size_t>(_rows) + 1), 0);
    for (int by = 0; by < _rows; ++by) {
        int32_t rowSum = 0;
        for (int bx = 0; bx < _columns; ++bx) {
            rowSum += opaqueBlocks[static_cast<size_t>(by) * _columns + bx];
            _opaqueSums[(by + 1) * stride + bx + 1] = _opaqueSums[by * stride + bx + 1] + rowSum;
        }
    }
    _shown = maxX < 0 ? Rect::ZERO
                      : Rect(static_cast<float>(minX), static_cast<float>(minY), static_cast<float>(maxX - minX + 1),
                             static_cast<float>(maxY - minY + 1));
}

bool TexelMap::blocksAlong(double lo, double hi, bool alongX, int* first, int* end) const {
    const int extent = alongX ? _width : _height;
    const int blocks = alongX ? _columns : _rows;
    if (!(lo >= 0.0) || !(hi <= extent) || !(lo < hi)) {
        return false;
    }
    *first = static_cast<int>(std::floor(lo / kBlock));
    *end = static_cast<int>(std::ceil(hi / kBlock));
    return *end <= blocks;
}

bool TexelMap::opaqueBlocks(int bx0, int by0, int bx1, int by1) const {
    if (_opaque) {
        return true;
    }
    if (bx0 < 0 || by0 < 0 || bx1 > _columns || by1 > _rows || bx1 <= bx0 || by1 <= by0) {
        return false;
    }
    const size_t stride = static_cast<size_t>(_columns) + 1;
    const auto sum = [&](int bx, int by) { return _opaqueSums[static_cast<size_t>(by) * stride + bx]; };
    const int32_t opaqueCount = sum(bx1, by1) - sum(bx0, by1) - sum(bx1, by0) + sum(bx0, by0);
    return opaqueCount == (bx1 - bx0) * (by1 - by0);
}

}  // namespace fill
}  // namespace cocos2d
