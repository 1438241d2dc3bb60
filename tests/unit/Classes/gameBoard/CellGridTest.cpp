#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "gameBoard/CellGrid.h"

namespace {

// w x h RGBA bytes, rows from the top, alpha from the function (x, y from the top).
std::vector<uint8_t> picture(int w, int h, const std::function<int(int, int)>& alpha) {
    std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            rgba[(static_cast<size_t>(y) * w + x) * 4 + 3] = static_cast<uint8_t>(alpha(x, y));
        }
    }
    return rgba;
}

TEST(CellGridTest, GridSizeIsWholeCellsWithAtLeastTwoEachWay) {
    struct Case {
        int w, h, cell, cols, rows;
    };
    for (const Case& c : {Case{200, 100, 10, 20, 10}, Case{15, 15, 10, 2, 2}, Case{45, 95, 10, 4, 9},
                          Case{90, 61, 30, 3, 2}, Case{5, 300, 30, 2, 10}}) {
        CellGrid grid;
        const auto rgba = picture(c.w, c.h, [](int, int) { return 255; });
        grid.build(rgba.data(), c.w, c.h, false, c.cell, 60);
        EXPECT_EQ(grid.getCols(), c.cols) << c.w << "x" << c.h;
        EXPECT_EQ(grid.getRows(), c.rows) << c.w << "x" << c.h;
    }
}

TEST(CellGridTest, ACellIsOpaqueFromAFifthOfFullAlpha) {
    // One 10 x 10 cell's alpha sum: exactly 5100 is opaque, 5099 is not.
    struct Case {
        int sum;
        int area;
    };
    for (const Case& c : {Case{5100, 1}, Case{5099, 0}, Case{25500, 1}, Case{0, 0}}) {
        // Spread the sum over the cell's 100 pixels of a 20 x 20 object; the other cells stay clear.
        const auto rgba = picture(20, 20, [&](int x, int y) {
            if (x >= 10 || y >= 10) {
                return 0;
            }
            const int index = y * 10 + x;
            return c.sum / 100 + (index < c.sum % 100 ? 1 : 0);
        });
        CellGrid grid;
        grid.build(rgba.data(), 20, 20, false, 10, 60);
        EXPECT_EQ(grid.getArea(), c.area) << c.sum;
    }
    EXPECT_DOUBLE_EQ(CellGrid::opaqueThreshold(10), 5100.0);
}

TEST(CellGridTest, AllowedIsTheShareLeftOverTruncated) {
    struct Case {
        int area, percent, allowed;
    };
    for (const Case& c :
         {Case{50, 60, 20}, Case{50, 85, 7}, Case{40, 70, 12}, Case{40, 85, 6}, Case{0, 60, 0}}) {
        EXPECT_EQ(CellGrid::allowedFor(c.area, c.percent), c.allowed) << c.area << " at " << c.percent;
    }
}

TEST(CellGridTest, GridRowZeroIsTheBottomOfThePicture) {
    // An uneven picture: only its top-left cell is opaque. In the grid that is column 0 of the top row.
    const auto rgba = picture(30, 20, [](int x, int y) { return x < 10 && y < 10 ? 255 : 0; });
    CellGrid grid;
    grid.build(rgba.data(), 30, 20, false, 10, 60);
    ASSERT_EQ(grid.getArea(), 1);
    EXPECT_FALSE(grid.isClean(0, 1));
    EXPECT_TRUE(grid.isClean(0, 0));
    EXPECT_TRUE(grid.isClean(2, 1));
}

TEST(CellGridTest, ACellCoversThePictureUnderItWhenTheHeightIsNoWholeNumberOfCells) {
    // A 60 x 40 cut on 30-point cells (two rows, the upper one reaching past the picture) whose
    // opaque band lies at node heights 14 to 24: the bottom row covers it, and a stitch along the band
    // mends it.
    const auto rgba = picture(60, 40, [](int, int y) { return y >= 15 && y <= 25 ? 255 : 0; });
    CellGrid grid;
    grid.build(rgba.data(), 60, 40, false, 30, 60);
    ASSERT_EQ(grid.getArea(), 2);
    EXPECT_FALSE(grid.isClean(0, 0));
    EXPECT_FALSE(grid.isClean(1, 0));
    EXPECT_TRUE(grid.isClean(0, 1));
    EXPECT_FALSE(grid.mark(10.0f, 20.0f, 14.0f, 14.0f)) << "one of two cells left, allowed none";
    EXPECT_TRUE(grid.mark(45.0f, 20.0f, 14.0f, 14.0f));
    EXPECT_EQ(grid.countDirty(), 0);
}

TEST(CellGridTest, ARotatedFrameIsReadTransposed) {
    // The object is 30 x 20 with its top-left cell opaque; stored turned clockwise it is 20 x 30, and
    // the opaque block lies at the top right of the stored image.
    const auto stored = picture(20, 30, [](int x, int y) { return x >= 10 && y < 10 ? 255 : 0; });
    CellGrid grid;
    grid.build(stored.data(), 30, 20, true, 10, 60);
    EXPECT_EQ(grid.getCols(), 3);
    EXPECT_EQ(grid.getRows(), 2);
    ASSERT_EQ(grid.getArea(), 1);
    EXPECT_FALSE(grid.isClean(0, 1));
}

TEST(CellGridTest, MarkingCleansTheBrushSquareAroundThePointOnly) {
    const auto rgba = picture(100, 100, [](int, int) { return 255; });
    CellGrid grid;
    grid.build(rgba.data(), 100, 100, false, 10, 60);
    ASSERT_EQ(grid.getArea(), 100);
    // A 40 x 40 brush at (55, 25) cleans columns 3..7 and rows 0..4: a 5 x 5 square.
    grid.mark(55.0f, 25.0f, 40.0f, 40.0f);
    EXPECT_EQ(grid.countDirty(), 75);
    EXPECT_TRUE(grid.isClean(3, 0));
    EXPECT_TRUE(grid.isClean(7, 4));
    EXPECT_FALSE(grid.isClean(2, 2));
    EXPECT_FALSE(grid.isClean(8, 2));
    EXPECT_FALSE(grid.isClean(5, 5));
    // Near the corner the square is cut by the grid's edge.
    grid.mark(-3.0f, 95.0f, 40.0f, 40.0f);
    EXPECT_EQ(grid.countDirty(), 75 - 3 * 3);
}

TEST(CellGridTest, AStrokeCleansTheSameCellsWhateverMovesItIsCutInto) {
    const auto rgba = picture(200, 120, [](int, int) { return 255; });
    struct Line {
        const char* what;
        float x0, y0, x1, y1;
        float brush;
    };
    const Line lines[] = {{"a row", 0, 55, 200, 55, 40},
                          {"a shallow slope", 3, 17, 190, 61, 40},
                          {"a steep slope", 150, 0, 120, 119, 14},
                          {"right to left, downwards", 198, 100, 7, 2, 40},
                          {"through a corner of four cells", 10, 10, 60, 60, 14},
                          {"along a column line", 40, 5, 40, 110, 14}};
    for (const Line& line : lines) {
        SCOPED_TRACE(line.what);
        CellGrid whole;
        whole.build(rgba.data(), 200, 120, false, 10, 60);
        whole.markAlong(line.x0, line.y0, line.x1, line.y1, line.brush, line.brush);
        EXPECT_LT(whole.countDirty(), whole.getArea());
        for (int pieces : {2, 7, 64}) {
            CellGrid cut;
            cut.build(rgba.data(), 200, 120, false, 10, 60);
            for (int i = 0; i < pieces; ++i) {
                const float t0 = static_cast<float>(i) / pieces;
                const float t1 = static_cast<float>(i + 1) / pieces;
                cut.markAlong(line.x0 + (line.x1 - line.x0) * t0, line.y0 + (line.y1 - line.y0) * t0,
                              line.x0 + (line.x1 - line.x0) * t1, line.y0 + (line.y1 - line.y0) * t1,
                              line.brush, line.brush);
            }
            for (int col = 0; col < whole.getCols(); ++col) {
                for (int row = 0; row < whole.getRows(); ++row) {
                    EXPECT_EQ(cut.isClean(col, row), whole.isClean(col, row))
                        << pieces << " pieces, cell " << col << "," << row;
                }
            }
        }
    }
    // A 14-point brush covers only the cells the stroke passes through: the diagonal through the
    // corners at (20, 20) .. (50, 50) touches the cells beside each corner as well.
    CellGrid grid;
    grid.build(rgba.data(), 200, 120, false, 10, 60);
    grid.markAlong(15, 15, 55, 55, 14, 14);
    EXPECT_TRUE(grid.isClean(1, 1) && grid.isClean(5, 5));
    EXPECT_TRUE(grid.isClean(2, 1) && grid.isClean(1, 2)) << "beside the corner (20, 20)";
    EXPECT_FALSE(grid.isClean(3, 1));
    EXPECT_EQ(grid.countDirty(), grid.getArea() - 5 - 2 * 4);
    // A stroke that did not move cleans the square around its point, as marking that point does.
    CellGrid still;
    still.build(rgba.data(), 200, 120, false, 10, 60);
    CellGrid point;
    point.build(rgba.data(), 200, 120, false, 10, 60);
    EXPECT_EQ(still.markAlong(55, 25, 55, 25, 40, 40), point.mark(55, 25, 40, 40));
    EXPECT_EQ(still.countDirty(), point.countDirty());
}

TEST(CellGridTest, DoneOnlyWhenAStrokeChangesACellAndFewEnoughRemain) {
    // 4 x 1 opaque cells of a 40 x 20 object (the bottom row stays clear), percent 60: allowed 1.
    const auto rgba = picture(40, 20, [](int, int y) { return y < 10 ? 255 : 0; });
    CellGrid grid;
    grid.build(rgba.data(), 40, 20, false, 10, 60);
    ASSERT_EQ(grid.getArea(), 4);
    ASSERT_EQ(grid.getAllowed(), 1);
    // A 10-point brush marks one cell at a time.
    EXPECT_FALSE(grid.mark(5.0f, 15.0f, 10.0f, 10.0f));
    EXPECT_FALSE(grid.mark(15.0f, 15.0f, 10.0f, 10.0f));
    EXPECT_TRUE(grid.mark(25.0f, 15.0f, 10.0f, 10.0f));
    // The same cells again change nothing: never done, however few remain.
    EXPECT_FALSE(grid.mark(25.0f, 15.0f, 10.0f, 10.0f));
    EXPECT_FALSE(grid.mark(5.0f, 5.0f, 10.0f, 10.0f));
}

TEST(CellGridTest, AnObjectWithoutOpaqueCellsIsDoneAtItsFirstStroke) {
    const auto rgba = picture(40, 40, [](int, int) { return 0; });
    CellGrid grid;
    grid.build(rgba.data(), 40, 40, false, 10, 60);
    ASSERT_EQ(grid.getArea(), 0);
    EXPECT_TRUE(grid.mark(200.0f, 200.0f, 10.0f, 10.0f));
}

TEST(CellGridTest, NoPixelsCountAsTransparent) {
    CellGrid grid;
    grid.build(nullptr, 40, 40, false, 10, 60);
    EXPECT_EQ(grid.getCols(), 4);
    EXPECT_EQ(grid.getArea(), 0);
}

}  // namespace
