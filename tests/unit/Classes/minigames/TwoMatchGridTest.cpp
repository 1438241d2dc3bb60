#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "minigames/TwoMatchGrid.h"

namespace {

using Move = TwoMatchGrid::RowMove;

// A door drawn as it looks: five rows of seven cells, the top row first; a digit is a tile's kind, a
// dot an empty cell.
TwoMatchGrid door(const std::vector<std::string>& picture) {
    TwoMatchGrid grid;
    for (size_t line = 0; line < picture.size(); ++line) {
        const int32_t row = TwoMatchGrid::kRows - 1 - static_cast<int32_t>(line);
        for (size_t column = 0; column < picture[line].size(); ++column) {
            const char c = picture[line][column];
            grid.set(static_cast<int32_t>(column), row, c == '.' ? TwoMatchGrid::kEmpty : c - '0');
        }
    }
    return grid;
}

std::vector<std::string> picture(const TwoMatchGrid& grid) {
    std::vector<std::string> lines;
    for (int32_t row = TwoMatchGrid::kRows - 1; row >= 0; --row) {
        std::string line;
        for (int32_t column = 0; column < TwoMatchGrid::kColumns; ++column) {
            const int32_t kind = grid.kind(column, row);
            line += kind == TwoMatchGrid::kEmpty ? '.' : static_cast<char>('0' + kind);
        }
        lines.push_back(line);
    }
    return lines;
}

TEST(TwoMatchGridTest, OnlyOrthogonalNeighboursWithTheOrdersKindsMakeAPair) {
    const TwoMatchGrid grid = door({
        ".......",
        ".......",
        "2......",
        "01.....",
        "10.2...",
    });
    struct Case {
        const char* what;
        int32_t c1, r1, c2, r2;
        int32_t order1, order2;
        bool valid;
    };
    const std::vector<Case> cases = {
        {"right neighbour", 0, 0, 1, 0, 1, 0, true},
        {"either order of the kinds", 0, 0, 1, 0, 0, 1, true},
        {"left neighbour", 1, 0, 0, 0, 0, 1, true},
        {"upper neighbour", 0, 0, 0, 1, 0, 1, true},
        {"lower neighbour", 0, 2, 0, 1, 2, 0, true},
        {"diagonal", 0, 0, 1, 1, 1, 1, false},
        {"diagonal of the order's kinds", 1, 0, 0, 1, 0, 0, false},
        {"two apart", 0, 0, 2, 0, 1, 0, false},
        {"wrong kinds", 0, 0, 1, 0, 2, 1, false},
        {"equal order needs equal kinds", 0, 0, 1, 0, 1, 1, false},
        {"the same tile twice", 0, 0, 0, 0, 1, 1, false},
        {"an empty neighbour", 1, 1, 2, 1, 1, 0, false},
        {"across a gap", 1, 0, 3, 0, 0, 2, false},
        {"outside the door", 0, 0, -1, 0, 1, 0, false},
        {"outside the top", 0, 4, 0, 5, 0, 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(grid.isValidPair(c.c1, c.r1, c.c2, c.r2, c.order1, c.order2), c.valid) << c.what;
    }
}

TEST(TwoMatchGridTest, TheDoorHoldsAPairOnlyWhenSomeNeighboursFitTheOrder) {
    struct Case {
        const char* what;
        std::vector<std::string> door;
        int32_t order1, order2;
        bool pair;
    };
    const std::vector<Case> cases = {
        {"a horizontal pair at the top right",
         {".....01", ".......", ".......", ".......", "......."},
         1,
         0,
         true},
        {"a vertical pair at the right edge",
         {"......2", "......2", ".......", ".......", "......."},
         2,
         2,
         true},
        {"only diagonal twins", {".......", ".......", ".......", "2......", ".2....."}, 2, 2, false},
        {"equal kinds never touch", {"0101010", "1010101", "0101010", "1010101", "0101010"}, 0, 0, false},
        {"but the mixed order fits everywhere",
         {"0101010", "1010101", "0101010", "1010101", "0101010"},
         1,
         0,
         true},
        {"the kinds are on the door but apart",
         {"0.1....", ".......", ".......", ".......", "1.0...."},
         0,
         1,
         false},
        {"an empty door", {".......", ".......", ".......", ".......", "......."}, 0, 0, false},
        {"no wrap from the right edge to the next row",
         {".......", ".......", ".......", "2......", "......2"},
         2,
         2,
         false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(door(c.door).hasValidPair(c.order1, c.order2), c.pair) << c.what;
    }
}

TEST(TwoMatchGridTest, EmptiedRowsCloseUpFromTheBottomAndLeaveTheEmptyRowsAtTheTop) {
    struct Case {
        const char* what;
        std::vector<std::string> before;
        std::vector<std::string> after;
        std::vector<Move> moves;
        int32_t emptyRows;
    };
    const std::vector<Case> cases = {
        {"nothing empty",
         {"0000000", "1111111", "2222222", "0.0.0.0", "1......"},
         {"0000000", "1111111", "2222222", "0.0.0.0", "1......"},
         {},
         0},
        {"the bottom row",
         {"4444444", "3333333", "2222222", "1.1.1.1", "......."},
         {".......", "4444444", "3333333", "2222222", "1.1.1.1"},
         {{1, 0}, {2, 1}, {3, 2}, {4, 3}},
         1},
        {"a middle row",
         {"4444444", "3333333", ".......", "1......", "0......"},
         {".......", "4444444", "3333333", "1......", "0......"},
         {{3, 2}, {4, 3}},
         1},
        {"the top row stays where it is",
         {".......", "3333333", "2222222", "1111111", "0000000"},
         {".......", "3333333", "2222222", "1111111", "0000000"},
         {},
         1},
        {"two rows apart",
         {"4444444", ".......", "2222222", ".......", "0000000"},
         {".......", ".......", "4444444", "2222222", "0000000"},
         {{2, 1}, {4, 2}},
         2},
        {"two rows together",
         {"4444444", "3333333", ".......", ".......", "0000000"},
         {".......", ".......", "4444444", "3333333", "0000000"},
         {{3, 1}, {4, 2}},
         2},
        {"partial rows keep their gaps",
         {"..2....", "1......", ".......", "......0", "......."},
         {".......", ".......", "..2....", "1......", "......0"},
         {{1, 0}, {3, 1}, {4, 2}},
         2},
        {"everything gone",
         {".......", ".......", ".......", ".......", "......."},
         {".......", ".......", ".......", ".......", "......."},
         {},
         5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TwoMatchGrid grid = door(c.before);
        EXPECT_EQ(grid.collapse(), c.moves);
        EXPECT_EQ(picture(grid), c.after);
        EXPECT_EQ(grid.emptyRowCount(), c.emptyRows);
        for (int32_t row = 0; row < TwoMatchGrid::kRows; ++row) {
            EXPECT_EQ(grid.isRowEmpty(row), row >= TwoMatchGrid::kRows - c.emptyRows) << row;
        }
    }
}

TEST(TwoMatchGridTest, CellsOutsideTheDoorReadEmptyAndIgnoreWrites) {
    TwoMatchGrid grid;
    for (const auto& [column, row] :
         std::vector<std::pair<int32_t, int32_t>>{{-1, 0}, {7, 0}, {0, -1}, {0, 5}, {INT32_MIN, INT32_MAX}}) {
        grid.set(column, row, 1);
        EXPECT_EQ(grid.kind(column, row), TwoMatchGrid::kEmpty);
    }
    EXPECT_EQ(grid.emptyRowCount(), 5);
    EXPECT_FALSE(TwoMatchGrid::areNeighbours(INT32_MIN, 0, INT32_MAX, 0));
}

}  // namespace
