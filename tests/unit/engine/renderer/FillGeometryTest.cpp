#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/renderer/RenderTarget.h"
#include "engine/renderer/Vertex.h"
#include "renderer/CoverGrid.h"
#include "renderer/FillGeometry.h"
#include "renderer/TexelMap.h"

// Where a draw can land and where it certainly lands, in whole pixels, checked against the rule the
// rasterizer follows: a pixel is drawn when its centre is inside the primitive.
namespace {

using cocos2d::Rect;
using cocos2d::RenderTarget;
using cocos2d::V2F_C4B_T2F;
using cocos2d::Vec2;
using cocos2d::fill::CoverGrid;
using cocos2d::fill::PixelBox;

const uint32_t kQuadIndices[6] = {0, 1, 2, 1, 3, 2};

RenderTarget screen(float worldW, float worldH, int viewX, int viewY, int viewW, int viewH, int fbW, int fbH) {
    RenderTarget t;
    t.world = Rect(0, 0, worldW, worldH);
    t.viewportX = viewX;
    t.viewportY = viewY;
    t.viewportWidth = viewW;
    t.viewportHeight = viewH;
    t.framebufferWidth = fbW;
    t.framebufferHeight = fbH;
    return t;
}

// A quad as addQuad queues it (bl, br, tl, tr), a rectangle turned by `quarterTurns` right angles
// about its centre, with texture coordinates u0..u1, v1..v0 from bottom to top.
std::vector<V2F_C4B_T2F> quad(float x0, float y0, float x1, float y1, int quarterTurns = 0, float u0 = 0,
                              float v0 = 0, float u1 = 1, float v1 = 1) {
    Vec2 corners[4] = {Vec2(x0, y0), Vec2(x1, y0), Vec2(x0, y1), Vec2(x1, y1)};
    const Vec2 centre((x0 + x1) / 2, (y0 + y1) / 2);
    for (int t = 0; t < quarterTurns; ++t) {
        for (Vec2& c : corners) {
            const Vec2 d = c - centre;
            c = centre + Vec2(-d.y, d.x);
        }
    }
    std::vector<V2F_C4B_T2F> v(4);
    const float u[4] = {u0, u1, u0, u1};
    const float w[4] = {v1, v1, v0, v0};
    for (int i = 0; i < 4; ++i) {
        v[i].vertices = corners[i];
        v[i].texCoords = {u[i], w[i]};
        v[i].colors = cocos2d::Color4B::WHITE;
    }
    return v;
}

// Pixel centres inside the (axis-aligned) world rectangle, by the mapping of the target.
std::set<std::pair<int, int>> centresInside(const RenderTarget& t, float x0, float y0, float x1, float y1) {
    std::set<std::pair<int, int>> inside;
    const double sx = t.viewportWidth / t.world.size.width;
    const double sy = t.viewportHeight / t.world.size.height;
    const double px0 = t.viewportX + x0 * sx;
    const double px1 = t.viewportX + x1 * sx;
    const double py0 = t.viewportY + y0 * sy;
    const double py1 = t.viewportY + y1 * sy;
    for (int y = t.viewportY; y < t.viewportY + t.viewportHeight; ++y) {
        for (int x = t.viewportX; x < t.viewportX + t.viewportWidth; ++x) {
            if (x + 0.5 > px0 && x + 0.5 < px1 && y + 0.5 > py0 && y + 0.5 < py1) {
                inside.insert({x, y});
            }
        }
    }
    return inside;
}

bool boxHolds(const PixelBox& box, int x, int y) {
    return x >= box.x0 && x < box.x1 && y >= box.y0 && y < box.y1;
}

TEST(FillGeometryTest, TheReachHoldsEveryCoveredPixelAndTheCoverOnlyCoveredOnes) {
    struct Case {
        const char* what;
        RenderTarget target;
        float x0, y0, x1, y1;
        int turns;
    };
    const Case cases[] = {
        {"whole pixels", screen(64, 48, 0, 0, 64, 48, 64, 48), 10, 5, 30, 20, 0},
        {"half pixels", screen(64, 48, 0, 0, 64, 48, 64, 48), 10.5f, 5.5f, 30.5f, 20.5f, 0},
        {"just off the centres", screen(64, 48, 0, 0, 64, 48, 64, 48), 10.49f, 5.51f, 30.51f, 20.49f, 0},
        {"turned a right angle", screen(64, 48, 0, 0, 64, 48, 64, 48), 10.25f, 5, 40.75f, 20, 1},
        {"turned twice", screen(64, 48, 0, 0, 64, 48, 64, 48), 3.3f, 7.7f, 33.3f, 27.7f, 2},
        {"scaled down into a letterbox", screen(128, 96, 6, 4, 50, 37, 64, 48), 21.3f, 11, 97.9f, 60.2f, 0},
        {"reaching past the viewport", screen(64, 48, 0, 0, 64, 48, 64, 48), -20.2f, -3, 50, 70.6f, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<V2F_C4B_T2F> v = quad(c.x0, c.y0, c.x1, c.y1, c.turns);
        const PixelBox reach = cocos2d::fill::reachOf(c.target, v.data(), v.size());
        const PixelBox cover = cocos2d::fill::coverOf(c.target, v.data(), v.size(), kQuadIndices, 6);
        // A right-angle turn about the centre keeps the rectangle when it is turned an even number of
        // times; an odd one swaps its sides about the centre.
        float x0 = c.x0, y0 = c.y0, x1 = c.x1, y1 = c.y1;
        if (c.turns % 2 == 1) {
            const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2, hw = (x1 - x0) / 2, hh = (y1 - y0) / 2;
            x0 = cx - hh;
            x1 = cx + hh;
            y0 = cy - hw;
            y1 = cy + hw;
        }
        const auto inside = centresInside(c.target, x0, y0, x1, y1);
        ASSERT_FALSE(cover.empty());
        for (const auto& [x, y] : inside) {
            EXPECT_TRUE(boxHolds(reach, x, y)) << x << ", " << y << " is drawn but out of reach";
        }
        for (int y = cover.y0; y < cover.y1; ++y) {
            for (int x = cover.x0; x < cover.x1; ++x) {
                EXPECT_TRUE(inside.count({x, y})) << x << ", " << y << " counted covered but not drawn";
            }
        }
        // Tight, too: at most a pixel wider than what is drawn on each side.
        EXPECT_LE(reach.area(), (cover.x1 - cover.x0 + 4) * static_cast<long long>(cover.y1 - cover.y0 + 4));
    }
}

// GL promises only 4 bits of subpixel precision (GL_SUBPIXEL_BITS): a rasterizer may move each vertex
// anywhere on a grid of 1/16 of a pixel around where it lies, and a centre on an edge may go either way.
// Quads whose corners sweep across a pixel in steps of 1/64: what counts as covered is drawn, and what
// may be drawn is in reach, whichever way each corner snaps.
TEST(FillGeometryTest, TheCoverAndTheReachHoldOnTheCoarsestSubpixelGrid) {
    const RenderTarget targets[] = {screen(64, 48, 0, 0, 64, 48, 64, 48), screen(128, 96, 6, 4, 50, 37, 64, 48)};
    constexpr double kGrid = 16.0;
    for (const RenderTarget& t : targets) {
        const double sx = t.viewportWidth / t.world.size.width;
        const double sy = t.viewportHeight / t.world.size.height;
        for (int step = 0; step < 64; ++step) {
            for (int turns : {0, 1}) {
                SCOPED_TRACE("step " + std::to_string(step) + ", turns " + std::to_string(turns));
                // Corners in pixels, swept by step / 64 (the far ones the other way), back to world.
                const double shift = step / 64.0;
                const auto worldX = [&](double px) { return static_cast<float>((px - t.viewportX) / sx); };
                const auto worldY = [&](double py) { return static_cast<float>((py - t.viewportY) / sy); };
                const std::vector<V2F_C4B_T2F> v =
                    quad(worldX(10.0 + shift), worldY(8.0 + shift), worldX(31.0 - shift), worldY(30.0 - shift), turns);
                double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
                for (const V2F_C4B_T2F& vertex : v) {
                    const double px = t.viewportX + vertex.vertices.x * sx;
                    const double py = t.viewportY + vertex.vertices.y * sy;
                    minX = std::min(minX, px);
                    minY = std::min(minY, py);
                    maxX = std::max(maxX, px);
                    maxY = std::max(maxY, py);
                }
                // The snapped edges as far in and as far out as the grid lets them go.
                const auto down = [](double p) { return std::floor(p * kGrid) / kGrid; };
                const auto up = [](double p) { return std::ceil(p * kGrid) / kGrid; };
                const PixelBox reach = cocos2d::fill::reachOf(t, v.data(), v.size());
                const PixelBox cover = cocos2d::fill::coverOf(t, v.data(), v.size(), kQuadIndices, 6);
                ASSERT_FALSE(cover.empty());
                for (int y = 0; y < t.framebufferHeight; ++y) {
                    for (int x = 0; x < t.framebufferWidth; ++x) {
                        const double cx = x + 0.5;
                        const double cy = y + 0.5;
                        const bool surely = cx > up(minX) && cx < down(maxX) && cy > up(minY) && cy < down(maxY);
                        const bool maybe = cx >= down(minX) && cx <= up(maxX) && cy >= down(minY) && cy <= up(maxY);
                        if (boxHolds(cover, x, y)) {
                            ASSERT_TRUE(surely) << x << ", " << y << " counted covered but may not be drawn";
                        }
                        if (maybe) {
                            ASSERT_TRUE(boxHolds(reach, x, y)) << x << ", " << y << " may be drawn but is out of reach";
                        }
                    }
                }
            }
        }
    }
}

TEST(FillGeometryTest, OnlyQuadsAlongTheAxesCoverAnything) {
    const RenderTarget t = screen(64, 48, 0, 0, 64, 48, 64, 48);
    std::vector<V2F_C4B_T2F> tilted = quad(10, 10, 30, 30);
    tilted[3].vertices.x += 0.5f;  // no longer a parallelogram
    EXPECT_TRUE(cocos2d::fill::coverOf(t, tilted.data(), 4, kQuadIndices, 6).empty());
    std::vector<V2F_C4B_T2F> turned = quad(10, 10, 30, 30);
    for (V2F_C4B_T2F& vertex : turned) {
        const Vec2 d = vertex.vertices - Vec2(20, 20);
        vertex.vertices = Vec2(20, 20) + Vec2(d.x * 0.8f - d.y * 0.6f, d.x * 0.6f + d.y * 0.8f);
    }
    EXPECT_TRUE(cocos2d::fill::coverOf(t, turned.data(), 4, kQuadIndices, 6).empty());
    const std::vector<V2F_C4B_T2F> straight = quad(10, 10, 30, 30);
    const uint32_t otherOrder[6] = {0, 2, 1, 1, 2, 3};
    EXPECT_TRUE(cocos2d::fill::coverOf(t, straight.data(), 4, otherOrder, 6).empty());
    EXPECT_EQ(cocos2d::fill::coverOf(t, straight.data(), 4, kQuadIndices, 6), (PixelBox{10, 10, 30, 30}));
}

// The reach of a texture's shown texels: every pixel whose linear sample can take a texel of the
// rectangle is inside it, by the texture's wrap mode along each axis.
TEST(FillGeometryTest, TheReachOfShownTexelsHoldsEveryPixelThatSamplesThem) {
    constexpr GLenum kClamp = 0x812F;   // GL_CLAMP_TO_EDGE
    constexpr GLenum kRepeat = 0x2901;  // GL_REPEAT
    const RenderTarget t = screen(100, 80, 0, 0, 100, 80, 100, 80);
    struct Case {
        const char* what;
        std::vector<V2F_C4B_T2F> v;
        Rect shown;
        int w, h;
        GLenum wrapS, wrapT;
        bool narrowed;
    };
    const Case cases[] = {
        {"a band at the top, drawn 1:1", quad(0, 0, 100, 80), Rect(0, 0, 100, 16), 100, 80, kClamp, kClamp, true},
        {"a corner, scaled up", quad(5.5f, 3.25f, 95.5f, 73.25f), Rect(40, 30, 10, 20), 50, 40, kClamp, kClamp,
         true},
        {"turned a right angle", quad(10, 10, 90, 70, 1), Rect(2, 3, 5, 6), 16, 16, kClamp, kClamp, true},
        {"a frame of a sheet", quad(20, 20, 60, 40, 0, 0.25f, 0.5f, 0.75f, 0.75f), Rect(70, 70, 20, 10), 128, 128,
         kClamp, kClamp, true},
        {"coordinates past 1 across: only the rows narrow", quad(0, 0, 100, 80, 0, 0.4f, 0, 1.7f, 1),
         Rect(10, 0, 20, 8), 64, 64, kRepeat, kClamp, true},
        // Inside 0..1, but the samples next to the top edge blend in the bottom rows.
        {"the bottom rows, repeating", quad(2, 3, 98, 77), Rect(0, 56, 64, 8), 64, 64, kRepeat, kRepeat, false},
        {"the left columns, repeating", quad(2, 3, 98, 77), Rect(0, 0, 8, 64), 64, 64, kRepeat, kRepeat, false},
        {"the top of the left columns, repeating across only", quad(2, 3, 98, 77), Rect(0, 0, 8, 32), 64, 64, kRepeat,
         kClamp, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PixelBox box;
        ASSERT_TRUE(cocos2d::fill::reachOfTexels(t, c.v.data(), 4, kQuadIndices, 6, c.shown, c.w, c.h,
                                                 c.wrapS == kClamp, c.wrapT == kClamp, &box));
        cocos2d::fill::QuadMapping m;
        ASSERT_TRUE(cocos2d::fill::mapQuad(t, c.v.data(), 4, kQuadIndices, 6, &m));
        const double det = m.m00 * m.m11 - m.m01 * m.m10;
        // Linear sampling takes the texels i and i + 1 around u * w - 0.5, each wrapped to the texture.
        const auto touches = [](double s, int extent, GLenum wrap, float lo, float hi) {
            for (int i : {static_cast<int>(std::floor(s)), static_cast<int>(std::floor(s)) + 1}) {
                const int texel = wrap == kClamp ? std::clamp(i, 0, extent - 1) : ((i % extent) + extent) % extent;
                if (texel >= lo && texel < hi) {
                    return true;
                }
            }
            return false;
        };
        int samplers = 0;
        for (int y = 0; y < 80; ++y) {
            for (int x = 0; x < 100; ++x) {
                const double dx = x + 0.5 - m.p0.x;
                const double dy = y + 0.5 - m.p0.y;
                const double u = m.u0 + (m.m11 * dx - m.m01 * dy) / det;
                const double v = m.v0 + (m.m00 * dy - m.m10 * dx) / det;
                if (u < m.uLo || u > m.uHi || v < m.vLo || v > m.vHi) {
                    continue;  // outside the quad
                }
                if (touches(u * c.w - 0.5, c.w, c.wrapS, c.shown.getMinX(), c.shown.getMaxX()) &&
                    touches(v * c.h - 0.5, c.h, c.wrapT, c.shown.getMinY(), c.shown.getMaxY())) {
                    ++samplers;
                    EXPECT_TRUE(boxHolds(box, x, y)) << x << ", " << y << " samples a shown texel";
                }
            }
        }
        EXPECT_GT(samplers, 0);
        const PixelBox whole = cocos2d::fill::reachOf(t, c.v.data(), 4);
        EXPECT_EQ(box.area() < whole.area(), c.narrowed);
    }
}

TEST(FillGeometryTest, SubtractingLeavesDisjointBoxesOfExactlyTheRest) {
    const PixelBox a{0, 0, 20, 10};
    const PixelBox cuts[] = {{5, 2, 8, 6}, {-5, -5, 3, 30}, {0, 0, 20, 10}, {30, 30, 40, 40}, {10, 5, 25, 15}};
    for (const PixelBox& b : cuts) {
        std::vector<PixelBox> rest;
        cocos2d::fill::subtract(a, b, rest);
        for (int y = -10; y < 20; ++y) {
            for (int x = -10; x < 30; ++x) {
                int holders = 0;
                for (const PixelBox& r : rest) {
                    holders += boxHolds(r, x, y) ? 1 : 0;
                }
                EXPECT_EQ(holders, boxHolds(a, x, y) && !boxHolds(b, x, y) ? 1 : 0) << x << ", " << y;
            }
        }
    }
}

TEST(CoverGridTest, OnlyWholeCellsCountAndTheFramebufferEdgeCutsTheLastOnes) {
    CoverGrid grid(PixelBox{0, 0, 100, 50});  // 13 x 7 cells, the last ones cut
    grid.cover(PixelBox{3, 3, 30, 20});      // whole cells: x 8..24, y 8..16
    EXPECT_TRUE(grid.covers(PixelBox{8, 8, 24, 16}));
    EXPECT_FALSE(grid.covers(PixelBox{7, 8, 24, 16}));
    EXPECT_FALSE(grid.covers(PixelBox{8, 8, 25, 16}));
    EXPECT_EQ(grid.largestCovered(PixelBox{0, 0, 100, 50}), (PixelBox{8, 8, 24, 16}));
    EXPECT_EQ(grid.largestCovered(PixelBox{10, 0, 100, 50}), (PixelBox{16, 8, 24, 16})) << "whole cells of the box";

    grid.cover(PixelBox{90, 40, 100, 50});  // the cut corner cell holds pixels 96..100 x 48..50
    EXPECT_TRUE(grid.covers(PixelBox{96, 48, 100, 50}));
    EXPECT_FALSE(grid.covers(PixelBox{96, 48, 101, 50})) << "past the framebuffer";

    grid.cover(PixelBox{0, 0, 100, 50});
    EXPECT_TRUE(grid.covers(PixelBox{0, 0, 100, 50}));
    grid.clear();
    EXPECT_FALSE(grid.covers(PixelBox{8, 8, 16, 16}));
    EXPECT_TRUE(grid.largestCovered(PixelBox{0, 0, 100, 50}).empty());
}

TEST(CoverGridTest, TheLargestCoveredRectangleJoinsNeighbouringCovers) {
    CoverGrid grid(PixelBox{0, 0, 128, 128});
    grid.cover(PixelBox{16, 16, 64, 96});
    grid.cover(PixelBox{64, 16, 112, 96});  // side by side: one rectangle
    grid.cover(PixelBox{0, 100, 8, 128});
    EXPECT_EQ(grid.largestCovered(PixelBox{0, 0, 128, 128}), (PixelBox{16, 16, 112, 96}));
}

// Texels are learnt at upload: opaque, the shown rectangle, and which blocks of 8 x 8 are opaque.
TEST(TexelMapTest, UploadedPixelsTellOpacityShownTexelsAndOpaqueBlocks) {
    const int w = 36;  // four whole blocks across and a partial one
    const int h = 20;  // two whole blocks down and a partial one
    std::vector<unsigned char> rgba(static_cast<size_t>(w) * h * 4, 0);
    auto set = [&](int x, int y, unsigned char a) {
        unsigned char* p = rgba.data() + (static_cast<size_t>(y) * w + x) * 4;
        p[0] = p[1] = p[2] = a;
        p[3] = a;
    };
    for (int y = 2; y < 18; ++y) {
        for (int x = 5; x < 30; ++x) {
            set(x, y, 255);
        }
    }
    set(12, 9, 128);
    const cocos2d::fill::TexelMap map(rgba.data(), w, h);
    EXPECT_FALSE(map.opaque());
    EXPECT_EQ(map.shown(), Rect(5, 2, 25, 16));
    // Blocks (8 x 8): x 0..8 is cut by the clear columns 0..5, the block at x 8..16, y 8..16 holds the
    // translucent texel.
    EXPECT_TRUE(map.opaqueBlocks(2, 1, 3, 2));
    EXPECT_FALSE(map.opaqueBlocks(1, 1, 2, 2));
    EXPECT_FALSE(map.opaqueBlocks(0, 1, 1, 2));
    int first = 0;
    int end = 0;
    EXPECT_TRUE(map.blocksAlong(17.0, 23.5, true, &first, &end));
    EXPECT_EQ(first, 2);
    EXPECT_EQ(end, 3);
    EXPECT_FALSE(map.blocksAlong(-0.5, 4.0, true, &first, &end)) << "before the texture";
    EXPECT_FALSE(map.blocksAlong(30.0, 35.0, true, &first, &end)) << "the partial block is not kept";

    const std::vector<unsigned char> solid(static_cast<size_t>(w) * h * 4, 255);
    const cocos2d::fill::TexelMap opaque(solid.data(), w, h);
    EXPECT_TRUE(opaque.opaque());
    EXPECT_EQ(opaque.shown(), Rect(0, 0, w, h));

    const cocos2d::fill::TexelMap unknown(nullptr, w, h);
    EXPECT_FALSE(unknown.opaque());
    EXPECT_EQ(unknown.shown(), Rect(0, 0, w, h));
    EXPECT_FALSE(unknown.opaqueBlocks(0, 0, 1, 1));

    const std::vector<unsigned char> clear(static_cast<size_t>(w) * h * 4, 0);
    EXPECT_EQ(cocos2d::fill::TexelMap(clear.data(), w, h).shown(), Rect::ZERO);
}

TEST(FillGeometryTest, TexelSpansFollowTheTextureAxisUnderEachPixelAxis) {
    const RenderTarget t = screen(200, 200, 0, 0, 200, 200, 200, 200);
    struct Case {
        const char* what;
        std::vector<V2F_C4B_T2F> v;
    };
    const Case cases[] = {
        {"straight, scaled", quad(20, 30, 180, 110, 0, 0.1f, 0.2f, 0.6f, 0.7f)},
        {"turned", quad(40, 40, 160, 100, 1, 0.0f, 0.25f, 0.5f, 0.75f)},
        {"turned back", quad(40, 40, 160, 100, 3, 0.2f, 0.0f, 0.9f, 0.5f)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cocos2d::fill::QuadMapping m;
        ASSERT_TRUE(cocos2d::fill::mapQuad(t, c.v.data(), 4, kQuadIndices, 6, &m));
        ASSERT_TRUE(m.alongAxes());
        const double det = m.m00 * m.m11 - m.m01 * m.m10;
        for (bool pixelX : {true, false}) {
            double lo = 0;
            double hi = 0;
            bool alongX = false;
            m.texelSpan(60, 68, pixelX, 256, 128, &lo, &hi, &alongX);
            // Every pixel centre of the span, at any place across, samples within the span.
            for (int p = 60; p < 68; ++p) {
                for (int across = 50; across < 100; across += 7) {
                    const double x = (pixelX ? p : across) + 0.5 - m.p0.x;
                    const double y = (pixelX ? across : p) + 0.5 - m.p0.y;
                    const double u = m.u0 + (m.m11 * x - m.m01 * y) / det;
                    const double v = m.v0 + (m.m00 * y - m.m10 * x) / det;
                    const double texel = alongX ? u * 256 : v * 128;
                    EXPECT_GE(texel - 0.5, lo);
                    EXPECT_LE(texel + 0.5, hi);
                }
            }
        }
    }
}

}  // namespace
