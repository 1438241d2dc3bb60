#include "gameBoard/CellGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kMinCells = 2;

}  // namespace

void CellGrid::build(const uint8_t* rgba, int w, int h, bool rotated, int cellSize, int percent) {
    _cellSize = std::max(1, cellSize);
    w = std::max(0, w);
    h = std::max(0, h);
    _cols = std::max(kMinCells, w / _cellSize);
    _rows = std::max(kMinCells, h / _cellSize);
    _clean.assign(static_cast<size_t>(_cols), std::vector<bool>(static_cast<size_t>(_rows), true));
    _area = 0;
    // The alpha of the object's pixel (x, y), y counted from the top.
    auto alphaAt = [&](int x, int y) -> int {
        if (rgba == nullptr || x < 0 || y < 0 || x >= w || y >= h) {
            return 0;
        }
        // Stored turned clockwise: the stored row is the object's column, and the stored column runs
        // from the object's bottom up.
        const size_t index = rotated ? (static_cast<size_t>(x) * h + (h - 1 - y)) * 4 + 3
                                     : (static_cast<size_t>(y) * w + x) * 4 + 3;
        return rgba[index];
    };
    const double threshold = opaqueThreshold(_cellSize);
    for (int row = 0; row < _rows; ++row) {
        for (int col = 0; col < _cols; ++col) {
            long sum = 0;
            // Grid row 0 is the object's bottom, counted in its node space like the strokes that mark
            // it; the image's rows run from its top, so an object whose height is not a whole number
            // of cells still has each cell over the picture it covers.
            for (int nodeY = row * _cellSize; nodeY < (row + 1) * _cellSize; ++nodeY) {
                for (int x = col * _cellSize; x < (col + 1) * _cellSize; ++x) {
                    sum += alphaAt(x, h - 1 - nodeY);
                }
            }
            if (static_cast<double>(sum) >= threshold) {
                _clean[static_cast<size_t>(col)][static_cast<size_t>(row)] = false;
                ++_area;
            }
        }
    }
    _allowed = allowedFor(_area, percent);
    _built = true;
}

bool CellGrid::mark(float x, float y, float brushWidth, float brushHeight) {
    if (_built && _area == 0) {
        return true;
    }
    const int cx = static_cast<int>(x / static_cast<float>(_cellSize));
    const int cy = static_cast<int>(y / static_cast<float>(_cellSize));
    return doneAfter(cleanSquare(cx, cy, static_cast<int>(brushWidth / 2) / _cellSize,
                                 static_cast<int>(brushHeight / 2) / _cellSize));
}

bool CellGrid::markAlong(float x0, float y0, float x1, float y1, float brushWidth, float brushHeight) {
    if (_built && _area == 0) {
        return true;
    }
    const int rx = static_cast<int>(brushWidth / 2) / _cellSize;
    const int ry = static_cast<int>(brushHeight / 2) / _cellSize;
    const float size = static_cast<float>(_cellSize);
    // Walks the cells the stroke passes through, from the cell of its start to the cell of its end,
    // crossing one column or row line at a time in the order the stroke meets them.
    int cx = static_cast<int>(std::floor(x0 / size));
    int cy = static_cast<int>(std::floor(y0 / size));
    const int endX = static_cast<int>(std::floor(x1 / size));
    const int endY = static_cast<int>(std::floor(y1 / size));
    const float dx = x1 - x0;
    const float dy = y1 - y0;
    const int stepX = endX > cx ? 1 : -1;
    const int stepY = endY > cy ? 1 : -1;
    int columnsLeft = std::abs(endX - cx);
    int rowsLeft = std::abs(endY - cy);
    // The fraction of the stroke at which it meets the next column line and the next row line.
    float nextX = columnsLeft == 0 ? 2.0f : ((cx + (stepX > 0 ? 1 : 0)) * size - x0) / dx;
    float nextY = rowsLeft == 0 ? 2.0f : ((cy + (stepY > 0 ? 1 : 0)) * size - y0) / dy;
    const float deltaX = columnsLeft == 0 ? 0.0f : size / std::fabs(dx);
    const float deltaY = rowsLeft == 0 ? 0.0f : size / std::fabs(dy);
    bool changed = cleanSquare(cx, cy, rx, ry);
    while (columnsLeft > 0 || rowsLeft > 0) {
        if (rowsLeft == 0 || (columnsLeft > 0 && nextX < nextY)) {
            cx += stepX;
            nextX += deltaX;
            --columnsLeft;
        } else if (columnsLeft == 0 || nextY < nextX) {
            cy += stepY;
            nextY += deltaY;
            --rowsLeft;
        } else {
            // Through a corner of four cells: the two beside it count as touched too.
            changed = cleanSquare(cx + stepX, cy, rx, ry) || changed;
            changed = cleanSquare(cx, cy + stepY, rx, ry) || changed;
            cx += stepX;
            cy += stepY;
            nextX += deltaX;
            nextY += deltaY;
            --columnsLeft;
            --rowsLeft;
        }
        changed = cleanSquare(cx, cy, rx, ry) || changed;
    }
    return doneAfter(changed);
}

bool CellGrid::cleanSquare(int cx, int cy, int rx, int ry) {
    bool changed = false;
    for (int col = std::max(0, cx - rx); col <= cx + rx && col < _cols; ++col) {
        for (int row = std::max(0, cy - ry); row <= cy + ry && row < _rows; ++row) {
            auto cell = _clean[static_cast<size_t>(col)][static_cast<size_t>(row)];
            if (!cell) {
                cell = true;
                changed = true;
            }
        }
    }
    return changed;
}

int CellGrid::countDirty() const {
    int dirty = 0;
    for (const auto& column : _clean) {
        dirty += static_cast<int>(std::count(column.begin(), column.end(), false));
    }
    return dirty;
}

bool CellGrid::isClean(int col, int row) const {
    if (col < 0 || col >= _cols || row < 0 || row >= _rows) {
        return true;
    }
    return _clean[static_cast<size_t>(col)][static_cast<size_t>(row)];
}
