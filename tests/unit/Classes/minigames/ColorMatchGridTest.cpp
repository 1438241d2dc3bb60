#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "minigames/ColorMatchDirection.h"
#include "minigames/ColorMatchGrid.h"

namespace {

using Cell = ColorMatchGrid::Cell;
using Rows = std::array<const char*, 4>;
using D = ColorMatchDirection;

// Four rows, the top row (3) first, columns 0 to 3 left to right: '.' is an empty cell, a digit the
// colour of a pipe.
ColorMatchGrid gridOf(const Rows& rows) {
    ColorMatchGrid grid;
    for (int32_t row = 0; row < 4; ++row) {
        for (int32_t column = 0; column < 4; ++column) {
            const char c = rows[static_cast<size_t>(3 - row)][column];
            if (c != '.') {
                EXPECT_TRUE(grid.put(Cell{column, row}, c - '0'));
            }
        }
    }
    return grid;
}

std::string picture(const ColorMatchGrid& grid) {
    std::string text;
    for (int32_t row = 3; row >= 0; --row) {
        for (int32_t column = 0; column < 4; ++column) {
            const int32_t colour = grid.colourAt(Cell{column, row});
            text += colour == ColorMatchGrid::kEmpty ? '.' : static_cast<char>('0' + colour);
        }
        text += row > 0 ? "/" : "";
    }
    return text;
}

std::string picture(const Rows& rows) {
    return std::string(rows[0]) + "/" + rows[1] + "/" + rows[2] + "/" + rows[3];
}

TEST(ColorMatchGridTest, MovesSlideAndMergeAsTheRulesSay) {
    struct Case {
        const char* what;
        Rows before;
        D direction;
        Rows after;
        bool changed;
        bool merged;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"four alike down: two pairs",       {"1...", "1...", "1...", "1..."}, D::Down,
                                             {"....", "....", "2...", "2..."}, true, true},
        {"four alike up: two pairs",         {"1...", "1...", "1...", "1..."}, D::Up,
                                             {"2...", "2...", "....", "...."}, true, true},
        {"a merged pipe does not merge again", {"....", "....", "....", "223."}, D::Left,
                                             {"....", "....", "....", "33.."}, true, true},
        {"stones never merge, they only slide", {"....", "....", "....", "99.."}, D::Right,
                                             {"....", "....", "....", "..99"}, true, false},
        {"stones against the side: nothing", {"....", "....", "....", "99.."}, D::Left,
                                             {"....", "....", "....", "99.."}, false, false},
        {"only the nearest pipe behind counts", {"....", "....", "....", "121."}, D::Left,
                                             {"....", "....", "....", "121."}, false, false},
        {"1 2 1 slides whole",               {"....", "....", "....", "121."}, D::Right,
                                             {"....", "....", "....", ".121"}, true, false},
        {"against the side, no pair: nothing", {"....", "3...", "2...", "1..."}, D::Left,
                                             {"....", "3...", "2...", "1..."}, false, false},
        {"a gap between a pair",             {"....", "....", "....", ".1.1"}, D::Left,
                                             {"....", "....", "....", "2..."}, true, true},
        {"the first pair from the side merges", {"....", "....", "....", "111."}, D::Left,
                                             {"....", "....", "....", "21.."}, true, true},
        {"right merges from the right",      {"....", "....", "....", "111."}, D::Right,
                                             {"....", "....", "....", "..12"}, true, true},
        {"two pairs in a row",               {"....", "....", "....", "1122"}, D::Left,
                                             {"....", "....", "....", "23.."}, true, true},
        {"a pair across a gap behind a lone pipe", {"....", "....", "....", "1.11"}, D::Left,
                                             {"....", "....", "....", "21.."}, true, true},
        {"colour 0 pairs",                   {"....", "....", "....", "0000"}, D::Right,
                                             {"....", "....", "....", "..11"}, true, true},
        {"eight to nine",                    {"8...", "8...", "....", "...."}, D::Down,
                                             {"....", "....", "....", "9..."}, true, true},
        {"every column on its own",          {"1.2.", "..2.", "1...", "...3"}, D::Up,
                                             {"2.33", "....", "....", "...."}, true, true},
        {"every row on its own",             {"4..4", "..55", "....", "5.6."}, D::Right,
                                             {"...5", "...6", "....", "..56"}, true, true},
        {"an empty board never changes",     {"....", "....", "....", "...."}, D::Down,
                                             {"....", "....", "....", "...."}, false, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ColorMatchGrid grid = gridOf(c.before);
        const ColorMatchGrid::MoveResult result = grid.move(c.direction);
        EXPECT_EQ(picture(grid), picture(c.after));
        EXPECT_EQ(result.changed, c.changed);
        EXPECT_EQ(result.merged, c.merged);
        EXPECT_EQ(result.steps.empty(), !c.changed);
        int32_t pipes = 0;
        for (int32_t i = 0; i < ColorMatchGrid::kCells; ++i) {
            pipes += grid.colourAt(Cell{i / 4, i % 4}) != ColorMatchGrid::kEmpty ? 1 : 0;
        }
        EXPECT_EQ(grid.freeCells().size(), static_cast<size_t>(ColorMatchGrid::kCells - pipes));
    }
}

TEST(ColorMatchGridTest, AMoveListsEachPipesPartForTheAnimation) {
    ColorMatchGrid grid = gridOf({"1...", "1...", "1...", "1..."});
    const auto result = grid.move(D::Down);
    using Kind = ColorMatchGrid::Step::Kind;
    ASSERT_EQ(result.steps.size(), 2u);
    // Row 0 stands and row 1 moves into it; row 2 stands and slides to row 1 where row 3 meets it.
    EXPECT_EQ(result.steps[0], (ColorMatchGrid::Step{Kind::Merge, Cell{0, 0}, Cell{0, 1}, Cell{0, 0}, 2}));
    EXPECT_EQ(result.steps[1], (ColorMatchGrid::Step{Kind::Merge, Cell{0, 2}, Cell{0, 3}, Cell{0, 1}, 2}));

    ColorMatchGrid slide = gridOf({"....", "....", "....", "..3."});
    const auto slid = slide.move(D::Left);
    ASSERT_EQ(slid.steps.size(), 1u);
    EXPECT_EQ(slid.steps[0].kind, Kind::Slide);
    EXPECT_EQ(slid.steps[0].from, (Cell{2, 0}));
    EXPECT_EQ(slid.steps[0].to, (Cell{0, 0}));
}

TEST(ColorMatchGridTest, FreedCellsJoinTheEndOfTheFreeListWhichTheRandomChoiceIndexes) {
    ColorMatchGrid grid;
    ASSERT_EQ(grid.freeCells().size(), 16u);
    EXPECT_EQ(grid.freeCells()[0], (Cell{0, 0}));
    EXPECT_EQ(grid.freeCells()[1], (Cell{0, 1}));
    EXPECT_EQ(grid.freeCells()[4], (Cell{1, 0}));
    EXPECT_EQ(grid.freeCells()[15], (Cell{3, 3}));

    // Entry 9 of the list is column 2 row 1; the later entries move up one place.
    EXPECT_EQ(grid.place(1, 9), (Cell{2, 1}));
    EXPECT_EQ(grid.freeCells()[9], (Cell{2, 2}));
    // 33 modulo the 15 free cells is entry 3: column 0 row 3.
    EXPECT_EQ(grid.place(1, 33), (Cell{0, 3}));

    // Left along row 1: (2,1) slides to (0,1). The cell it left joins the end; the cell it took leaves.
    const auto result = grid.move(D::Left);
    EXPECT_TRUE(result.changed);
    const std::vector<Cell>& free = grid.freeCells();
    ASSERT_EQ(free.size(), 14u);
    EXPECT_EQ(free.back(), (Cell{2, 1}));
    EXPECT_EQ(std::count(free.begin(), free.end(), Cell{0, 1}), 0);
    // Down column 0: row 1 stands, row 3 is its partner; both meet in row 0. The moving pipe's cell
    // joins the list first, then the standing one's.
    const auto merge = grid.move(D::Down);
    EXPECT_TRUE(merge.merged);
    EXPECT_EQ(picture(grid), "..../..../..../2...");
    const std::vector<Cell>& merged = grid.freeCells();
    ASSERT_EQ(merged.size(), 15u);
    EXPECT_EQ(merged[12], (Cell{2, 1}));
    EXPECT_EQ(merged[13], (Cell{0, 3}));
    EXPECT_EQ(merged[14], (Cell{0, 1}));
    EXPECT_EQ(grid.topColour(), 2);
    // The next pipe's cell is an index into that order: 13 is column 0 row 3.
    EXPECT_EQ(grid.place(0, 13), (Cell{0, 3}));
    EXPECT_EQ(grid.freeCells()[13], (Cell{0, 1}));
}

TEST(ColorMatchGridTest, PlacingNeedsAFreeCellAndRaisesTheTopColour) {
    ColorMatchGrid grid;
    EXPECT_EQ(grid.topColour(), -1);
    for (int i = 0; i < 16; ++i) {
        ASSERT_TRUE(grid.place(i == 7 ? 5 : 0, 0));
    }
    EXPECT_EQ(grid.topColour(), 5);
    EXPECT_FALSE(grid.place(0, 0));
    EXPECT_FALSE(grid.put(Cell{1, 1}, 3));
    EXPECT_FALSE(grid.put(Cell{4, 0}, 3));
    grid.clear();
    EXPECT_EQ(grid.topColour(), -1);
    EXPECT_EQ(grid.freeCells().size(), 16u);
}

TEST(ColorMatchGridTest, ABoardIsStuckOnlyWhenFullWithoutAPairThatCouldMerge) {
    struct Case {
        const char* what;
        Rows rows;
        bool stuck;
    };
    const std::vector<Case> cases = {
        {"checkerboard", {"0101", "1010", "0101", "1010"}, true},
        {"stones side by side", {"0199", "1099", "0101", "1010"}, true},
        {"a vertical pair", {"0101", "1010", "0101", "0010"}, false},
        {"a horizontal pair", {"0101", "1010", "0111", "1010"}, false},
        {"one free cell", {"0101", "1010", "010.", "1010"}, false},
        {"empty", {"....", "....", "....", "...."}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(gridOf(c.rows).isStuck(), c.stuck) << c.what;
    }
}

TEST(ColorMatchSwipeTest, TheLongerAxisOfTheTruncatedSwipeDecidesFromOneHundredOn) {
    struct Case {
        cocos2d::Vec2 start;
        cocos2d::Vec2 end;
        std::optional<D> move;
    };
    const std::vector<Case> cases = {
        {{0, 0}, {99, 0}, std::nullopt},
        {{0, 0}, {100, 0}, D::Right},
        {{0, 0}, {99.9f, 0}, std::nullopt},  // truncated to 99
        {{0, 0}, {-99.9f, 0}, std::nullopt},
        {{0, 0}, {-100, 0}, D::Left},
        {{0, 0}, {0, 100}, D::Up},
        {{0, 0}, {0, -100}, D::Down},
        {{0, 0}, {0, 99}, std::nullopt},
        {{0, 0}, {120, 120}, D::Right},  // a tie is horizontal
        {{0, 0}, {-120, 120}, D::Left},
        {{0, 0}, {100, 100.9f}, D::Right},  // 100 and 100 after truncation
        {{0, 0}, {100, 101}, D::Up},
        {{0, 0}, {50, -150}, D::Down},
        {{500, 300}, {380, 310}, D::Left},
        {{10.5f, 10.5f}, {10.5f, 10.5f}, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(colorMatchSwipe(c.start, c.end), c.move)
            << "(" << c.start.x << "," << c.start.y << ") to (" << c.end.x << "," << c.end.y << ")";
    }
}

}  // namespace
