#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "minigames/ColorMatchDirection.h"

// The rules of the colour merging board without its look: 4 x 4 cells addressed by column (0 to 3,
// left to right) and row (0 to 3, bottom to top), each empty or holding a pipe of a colour 0 to 9.
// A move slides every pipe as far as it can towards one side; a pipe whose nearest pipe behind it (away
// from that side) has its colour merges with it into one pipe of the next colour. Colour 9 never
// merges. The list of free cells keeps the order in which cells became free, since the random choice
// of a new pipe's cell is an index into it.
class ColorMatchGrid {
public:
    static constexpr int32_t kSide = 4;
    static constexpr int32_t kCells = kSide * kSide;
    static constexpr int32_t kColours = 10;
    static constexpr int32_t kStone = 9;
    static constexpr int32_t kEmpty = -1;

    struct Cell {
        int32_t column = 0;
        int32_t row = 0;
        bool operator==(const Cell&) const = default;
    };

    // One pipe's part in a move. A slide takes the pipe at from to to. A merge takes the standing pipe
    // at from to to, where the moving pipe from partner meets it and both become one pipe of colour.
    struct Step {
        enum class Kind { Slide, Merge };
        Kind kind = Kind::Slide;
        Cell from;
        Cell partner;
        Cell to;
        int32_t colour = kEmpty;
        bool operator==(const Step&) const = default;
    };

    struct MoveResult {
        bool changed = false;
        bool merged = false;
        std::vector<Step> steps;
    };

    ColorMatchGrid();

    // Every cell empty; the free list holds column 0 rows 0 to 3, then column 1 rows 0 to 3, and so on.
    void clear();

    // Puts a pipe into a free cell chosen by randomValue modulo the number of free cells (an index into
    // the free list, whose later entries move up one place). None when no cell is free.
    std::optional<Cell> place(int32_t colour, int randomValue);
    // Puts a pipe into that cell, which must be free (else nothing happens and the result is false).
    bool put(const Cell& cell, int32_t colour);

    // The whole move, applied to the board at once; a move that changes nothing has no steps.
    MoveResult move(ColorMatchDirection direction);

    // No free cell and no two neighbouring pipes that could merge: no move can change anything.
    bool isStuck() const;

    int32_t colourAt(const Cell& cell) const;
    const std::vector<Cell>& freeCells() const { return _freeCells; }
    // The highest colour ever placed on the board, merges included; -1 before the first pipe.
    int32_t topColour() const { return _topColour; }

    static bool isCell(const Cell& cell);
    static size_t indexOf(const Cell& cell) { return static_cast<size_t>(cell.column * kSide + cell.row); }

private:
    // The step-th cell of a line in the order the move visits it: step 0 lies against the side.
    static Cell visited(ColorMatchDirection direction, int32_t line, int32_t step);
    void take(const Cell& cell);
    void occupy(const Cell& cell, int32_t colour);

    std::array<int32_t, kCells> _colours{};
    std::vector<Cell> _freeCells;
    int32_t _topColour = kEmpty;
};
