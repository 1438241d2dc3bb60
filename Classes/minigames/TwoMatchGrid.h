#pragma once

#include <array>
#include <cstdint>
#include <vector>

// The kinds of the safe door's tiles, 7 columns by 5 rows (row 0 at the bottom), and the rules that
// read them: which two tiles make the order's pair, whether the door still holds such a pair, and how
// emptied rows close up.
class TwoMatchGrid {
public:
    static constexpr int32_t kColumns = 7;
    static constexpr int32_t kRows = 5;
    static constexpr int32_t kKinds = 3;
    // A cell without a tile, and what any cell outside the door reads as.
    static constexpr int32_t kEmpty = -1;

    // A row whose tiles all move down into another row.
    struct RowMove {
        int32_t from;
        int32_t to;
        bool operator==(const RowMove&) const = default;
    };

    TwoMatchGrid();

    int32_t kind(int32_t column, int32_t row) const;
    // Ignored outside the door.
    void set(int32_t column, int32_t row, int32_t kind);
    bool isRowEmpty(int32_t row) const;
    int32_t emptyRowCount() const;

    static bool isInside(int32_t column, int32_t row);
    // Same column and rows one apart, or same row and columns one apart; never diagonal.
    static bool areNeighbours(int32_t column1, int32_t row1, int32_t column2, int32_t row2);
    // The two kinds are the order's in either order; an order of two equal kinds needs both equal.
    static bool isOrderPair(int32_t kind1, int32_t kind2, int32_t order1, int32_t order2);
    // Two present neighbouring tiles whose kinds are the order's pair.
    bool isValidPair(int32_t column1, int32_t row1, int32_t column2, int32_t row2, int32_t order1,
                     int32_t order2) const;
    // Some tile and its right or upper neighbour make the order's pair.
    bool hasValidPair(int32_t order1, int32_t order2) const;

    // Closes the gaps left by empty rows: from the bottom up, each empty row takes the first non-empty
    // row above it. The non-empty rows end at the bottom in their old order, the empty ones at the top.
    // Returns the moves in the order they were made.
    std::vector<RowMove> collapse();

private:
    std::array<std::array<int32_t, kRows>, kColumns> _kinds;
};
