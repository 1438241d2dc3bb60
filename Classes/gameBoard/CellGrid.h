#pragma once

#include <cstdint>
#include <vector>

// A coarse grid over an erasable object that counts how much opaque picture is left. Column c and row
// r cover the object's points [c * cellSize, (c + 1) * cellSize) and [r * cellSize, ...) in its node
// space, row 0 at the bottom. A cell is clean when it was transparent to begin with or has been rubbed.
class CellGrid {
public:
    // Builds from w x h RGBA bytes whose rows run from the top of the object's picture. A rotated frame
    // arrives as stored in its sheet (h x w bytes, turned 90 degrees clockwise). Pixels past the
    // image (an object narrower or lower than two cells) count as transparent.
    void build(const uint8_t* rgba, int w, int h, bool rotated, int cellSize, int percent);

    // Cleans the cells of the brush's square around (x, y). True only when some cell changed and no
    // more than allowed opaque cells remain; an object without opaque cells is done at once.
    bool mark(float x, float y, float brushWidth, float brushHeight);
    // Cleans what the brush sweeps along the stroke from (x0, y0) to (x1, y1): the brush square around
    // every cell the stroke passes through, so that a stroke rubs the same cells however it was cut
    // into moves. Points lie in the object's node space at or above its origin. The same done test
    // as mark().
    bool markAlong(float x0, float y0, float x1, float y1, float brushWidth, float brushHeight);

    int getCols() const { return _cols; }
    int getRows() const { return _rows; }
    int getArea() const { return _area; }
    int getAllowed() const { return _allowed; }
    int getCellSize() const { return _cellSize; }
    // Opaque cells not yet rubbed.
    int countDirty() const;
    bool isClean(int col, int row) const;
    bool isBuilt() const { return _built; }

    // The cell edge's opaque threshold: a fifth of full alpha over the cell.
    static double opaqueThreshold(int cellSize) { return cellSize * cellSize * 255.0 * 0.2; }
    static int allowedFor(int area, int percent) { return static_cast<int>((100 - percent) * area / 100.0); }

private:
    // Cleans the cells of columns cx - rx .. cx + rx and rows cy - ry .. cy + ry that lie in the grid;
    // true when one changed.
    bool cleanSquare(int cx, int cy, int rx, int ry);
    bool doneAfter(bool changed) const { return changed && countDirty() <= _allowed; }

    // columns of rows: _clean[col][row]
    std::vector<std::vector<bool>> _clean;
    int _cols = 0;
    int _rows = 0;
    int _area = 0;
    int _allowed = 0;
    int _cellSize = 10;
    bool _built = false;
};
