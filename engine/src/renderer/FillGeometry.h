#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/math/Rect.h"
#include "engine/renderer/RenderTarget.h"
#include "engine/renderer/Vertex.h"

namespace cocos2d {
namespace fill {

// Whole pixels of a framebuffer, x0 <= x < x1 and y0 <= y < y1, rows counted from the bottom as GL's
// scissor counts them.
struct PixelBox {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;

    bool empty() const { return x1 <= x0 || y1 <= y0; }
    long long area() const { return empty() ? 0 : static_cast<long long>(x1 - x0) * (y1 - y0); }
    PixelBox intersection(const PixelBox& o) const;
    bool contains(const PixelBox& o) const;
    bool operator==(const PixelBox& o) const { return x0 == o.x0 && y0 == o.y0 && x1 == o.x1 && y1 == o.y1; }
};

// The target's viewport; and its whole framebuffer (the viewport when the size is not given).
PixelBox viewportBox(const RenderTarget& target);
PixelBox framebufferBox(const RenderTarget& target);

// The pixels a scissor for a clip rectangle in world coordinates lets through: every pixel the
// rectangle reaches into.
PixelBox scissorBox(const RenderTarget& target, const Rect& worldClip);

// Every pixel whose centre the vertices' hull may cover, inside the viewport; a little wide, for the
// rasterizer's snapping of positions. The whole viewport when a position is not a usable number.
PixelBox reachOf(const RenderTarget& target, const V2F_C4B_T2F* vertices, size_t count);

// For a quad as Renderer::addQuad queues it (bl, br, tl, tr; triangles 0 1 2 and 1 3 2) whose edges run
// along the axes: the pixels it certainly covers (centres inside, clear of the edges by more than the
// snapping), inside the viewport. Empty for any other geometry.
PixelBox coverOf(const RenderTarget& target, const V2F_C4B_T2F* vertices, size_t count, const uint32_t* indices,
                 size_t indexCount);

// The affine map from texture coordinates to pixels of a quad as addQuad queues it (both triangles
// share it only for a parallelogram whose coordinates form one too), and the range of its coordinates.
struct QuadMapping {
    struct Point {
        double x = 0.0;
        double y = 0.0;
    };
    Point p0;
    double u0 = 0.0;
    double v0 = 0.0;
    double m00 = 0.0;
    double m01 = 0.0;
    double m10 = 0.0;
    double m11 = 0.0;
    double uLo = 0.0;
    double uHi = 0.0;
    double vLo = 0.0;
    double vHi = 0.0;

    Point at(double u, double v) const {
        return Point{p0.x + m00 * (u - u0) + m01 * (v - v0), p0.y + m10 * (u - u0) + m11 * (v - v0)};
    }
    // The coordinates stay inside 0..1 (no repeat, no clamping at the edges).
    bool insideUnitSquare() const;
    // Texture axes run along the pixel axes (either way round).
    bool alongAxes() const;
    // For a mapping along the axes: the texels (texel units, y from the top row) that linear samples at
    // the centres of the pixels lo <= p < hi along pixel x (or y) take, and which texture axis that is.
    void texelSpan(double lo, double hi, bool pixelX, int width, int height, double* texelLo, double* texelHi,
                   bool* alongX) const;
};

bool mapQuad(const RenderTarget& target, const V2F_C4B_T2F* vertices, size_t count, const uint32_t* indices,
             size_t indexCount, QuadMapping* out);

// Whether a texture wrap mode (GL_TEXTURE_WRAP_S or _T) clamps samples to the texture's edge texels.
bool clampsToEdge(GLenum wrap);

// For a quad as addQuad queues it, whose texture coordinates follow its corners linearly: the pixels
// whose texture samples (linear filtering, so a texel around) can reach the texels inside `texels`
// (texel units, y from the top row) of a width x height texture. False when that cannot be told. An
// axis is narrowed only where the texture clamps to its edge along it (`clampsU`, `clampsV`: the wrap
// modes now) and its coordinates stay inside 0..1: a texture that repeats, mirrored or not, shows its
// copies outside, and next to an edge its samples may take texels from beyond it.
bool reachOfTexels(const RenderTarget& target, const V2F_C4B_T2F* vertices, size_t count, const uint32_t* indices,
                   size_t indexCount, const Rect& texels, int width, int height, bool clampsU, bool clampsV,
                   PixelBox* out);

// a minus b as at most four disjoint boxes, appended to `out`.
void subtract(const PixelBox& a, const PixelBox& b, std::vector<PixelBox>& out);

}  // namespace fill
}  // namespace cocos2d
