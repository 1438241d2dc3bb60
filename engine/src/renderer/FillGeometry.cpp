#include "renderer/FillGeometry.h"

#include <algorithm>
#include <cmath>

namespace cocos2d {
namespace fill {
namespace {

// Rasterizers snap positions to a grid of subpixels before they test pixel centres, and GL promises
// only 4 bits of it (GL_SUBPIXEL_BITS is at least 4): a vertex may move up to 1/16 of a pixel, so a
// centre that close to an edge may fall either way. The 1/256 beyond is for the float arithmetic of the
// vertex stage and the viewport transform.
constexpr double kSnap = 1.0 / 16.0 + 1.0 / 256.0;
// Far beyond any framebuffer, but safe to turn into an int.
constexpr double kFar = 1.0e7;

using Point = QuadMapping::Point;

bool toPixels(const RenderTarget& target, const Vec2& world, Point* out) {
    const double ww = target.world.size.width;
    const double wh = target.world.size.height;
    if (!(ww > 0.0) || !(wh > 0.0) || !std::isfinite(world.x) || !std::isfinite(world.y)) {
        return false;
    }
    out->x = target.viewportX + (world.x - target.world.getMinX()) * target.viewportWidth / ww;
    out->y = target.viewportY + (world.y - target.world.getMinY()) * target.viewportHeight / wh;
    out->x = std::clamp(out->x, -kFar, kFar);
    out->y = std::clamp(out->y, -kFar, kFar);
    return true;
}

// Pixels whose centre may lie in [lo, hi].
void reachAlong(double lo, double hi, int* first, int* end) {
    *first = static_cast<int>(std::ceil(lo - 0.5 - kSnap));
    *end = static_cast<int>(std::floor(hi - 0.5 + kSnap)) + 1;
}

bool isQuadPattern(size_t count, const uint32_t* indices, size_t indexCount) {
    static const uint32_t kPattern[6] = {0, 1, 2, 1, 3, 2};
    return count == 4 && indices && indexCount == 6 && std::equal(indices, indices + 6, kPattern);
}

bool near(double a, double b, double tolerance) {
    return std::fabs(a - b) <= tolerance;
}

}  // namespace

PixelBox PixelBox::intersection(const PixelBox& o) const {
    PixelBox r{std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)};
    return r.empty() ? PixelBox{} : r;
}

bool PixelBox::contains(const PixelBox& o) const {
    return o.empty() || (o.x0 >= x0 && o.y0 >= y0 && o.x1 <= x1 && o.y1 <= y1);
}

PixelBox viewportBox(const RenderTarget& target) {
    return PixelBox{target.viewportX, target.viewportY, target.viewportX + target.viewportWidth,
                    target.viewportY + target.viewportHeight};
}

PixelBox framebufferBox(const RenderTarget& target) {
    if (target.framebufferWidth <= 0 || target.framebufferHeight <= 0) {
        return viewportBox(target);
    }
    return PixelBox{0, 0, target.framebufferWidth, target.framebufferHeight};
}

PixelBox scissorBox(const RenderTarget& target, const Rect& worldClip) {
    if (!(target.world.size.width > 0.0f) || !(target.world.size.height > 0.0f)) {
        return viewportBox(target);
    }
    // In float, as the scissor has always been computed, so that a clip cuts the same pixels.
    const float sx = target.viewportWidth / target.world.size.width;
    const float sy = target.viewportHeight / target.world.size.height;
    const float x0 = target.viewportX + (worldClip.getMinX() - target.world.getMinX()) * sx;
    const float y0 = target.viewportY + (worldClip.getMinY() - target.world.getMinY()) * sy;
    const float x1 = target.viewportX + (worldClip.getMaxX() - target.world.getMinX()) * sx;
    const float y1 = target.viewportY + (worldClip.getMaxY() - target.world.getMinY()) * sy;
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) {
        return viewportBox(target);
    }
    const auto toInt = [](float v) { return static_cast<int>(std::clamp<double>(v, -kFar, kFar)); };
    PixelBox box{toInt(std::floor(x0)), toInt(std::floor(y0)), toInt(std::ceil(x1)), toInt(std::ceil(y1))};
    box.x1 = std::max(box.x1, box.x0);
    box.y1 = std::max(box.y1, box.y0);
    return box;
}

PixelBox reachOf(const RenderTarget& target, const V2F_C4B_T2F* vertices, size_t count) {
    const PixelBox viewport = viewportBox(target);
    if (!vertices || count == 0) {
        return PixelBox{};
    }
    double minX = kFar;
    double minY = kFar;
    double maxX = -kFar;
    double maxY = -kFar;
    for (size_t i = 0; i < count; ++i) {
        Point p{};
        if (!toPixels(target, vertices[i].vertices, &p)) {
            return viewport;
        }
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
    PixelBox box;
    reachAlong(minX, maxX, &box.x0, &box.x1);
    reachAlong(minY, maxY, &box.y0, &box.y1);
    return box.intersection(viewport);
}

PixelBox coverOf(const RenderTarget& target, const V2F_C4B_T2F* vertices, size_t count, const uint32_t* indices,
                 size_t indexCount) {
    if (!isQuadPattern(count, indices, indexCount)) {
        return PixelBox{};
    }
    Point p[4];
    for (int i = 0; i < 4; ++i) {
        if (!toPixels(target, vertices[i].vertices, &p[i])) {
            return PixelBox{};
        }
    }
    // A parallelogram whose sides run along the axes: bl-br and bl-tl are one horizontal and one
    // vertical (either way round, for quads turned by right angles), tr closes it.
    constexpr double kTolerance = 1.0e-3;
    const bool sidesAlong = (near(p[0].y, p[1].y, kTolerance) && near(p[0].x, p[2].x, kTolerance)) ||
                            (near(p[0].x, p[1].x, kTolerance) && near(p[0].y, p[2].y, kTolerance));
    if (!sidesAlong || !near(p[3].x, p[1].x + p[2].x - p[0].x, kTolerance) ||
        !near(p[3].y, p[1].y + p[2].y - p[0].y, kTolerance)) {
        return PixelBox{};
    }
    double minX = p[0].x;
    double minY = p[0].y;
    double maxX = p[0].x;
    double maxY = p[0].y;
    for (const Point& q : p) {
        minX = std::min(minX, q.x);
        minY = std::min(minY, q.y);
        maxX = std::max(maxX, q.x);
        maxY = std::max(maxY, q.y);
    }
    // Centres strictly inside, by more than the snapping and the tolerance allowed above.
    const double margin = kSnap + kTolerance;
    PixelBox box{static_cast<int>(std::floor(minX + margin - 0.5)) + 1,
                 static_cast<int>(std::floor(minY + margin - 0.5)) + 1,
                 static_cast<int>(std::ceil(maxX - margin - 0.5)), static_cast<int>(std::ceil(maxY - margin - 0.5))};
    return box.intersection(viewportBox(target));
}

bool mapQuad(const RenderTarget& target, const V2F_C4B_T2F* vertices, size_t count, const uint32_t* indices,
             size_t indexCount, QuadMapping* out) {
    if (!isQuadPattern(count, indices, indexCount)) {
        return false;
    }
    Point p[4];
    for (int i = 0; i < 4; ++i) {
        if (!toPixels(target, vertices[i].vertices, &p[i]) || !std::isfinite(vertices[i].texCoords.u) ||
            !std::isfinite(vertices[i].texCoords.v)) {
            return false;
        }
    }
    const Tex2F& t0 = vertices[0].texCoords;
    const Tex2F& t1 = vertices[1].texCoords;
    const Tex2F& t2 = vertices[2].texCoords;
    const Tex2F& t3 = vertices[3].texCoords;
    constexpr double kTolerance = 1.0e-3;
    if (!near(p[3].x, p[1].x + p[2].x - p[0].x, kTolerance) || !near(p[3].y, p[1].y + p[2].y - p[0].y, kTolerance) ||
        !near(t3.u, t1.u + t2.u - t0.u, 1.0e-6) || !near(t3.v, t1.v + t2.v - t0.v, 1.0e-6)) {
        return false;
    }
    const double du1 = t1.u - t0.u;
    const double dv1 = t1.v - t0.v;
    const double du2 = t2.u - t0.u;
    const double dv2 = t2.v - t0.v;
    const double det = du1 * dv2 - du2 * dv1;
    if (std::fabs(det) < 1.0e-12) {
        return false;
    }
    // pixel = p0 + M (t - t0), M = [p1 - p0, p2 - p0] [t1 - t0, t2 - t0]^-1.
    const double ax = p[1].x - p[0].x;
    const double ay = p[1].y - p[0].y;
    const double bx = p[2].x - p[0].x;
    const double by = p[2].y - p[0].y;
    out->p0 = p[0];
    out->u0 = t0.u;
    out->v0 = t0.v;
    out->m00 = (ax * dv2 - bx * dv1) / det;
    out->m01 = (bx * du1 - ax * du2) / det;
    out->m10 = (ay * dv2 - by * dv1) / det;
    out->m11 = (by * du1 - ay * du2) / det;
    out->uLo = std::min({t0.u, t1.u, t2.u, t3.u});
    out->uHi = std::max({t0.u, t1.u, t2.u, t3.u});
    out->vLo = std::min({t0.v, t1.v, t2.v, t3.v});
    out->vHi = std::max({t0.v, t1.v, t2.v, t3.v});
    return true;
}

bool QuadMapping::insideUnitSquare() const {
    return uLo >= 0.0 && uHi <= 1.0 && vLo >= 0.0 && vHi <= 1.0;
}

bool QuadMapping::alongAxes() const {
    constexpr double kTiny = 1.0e-6;
    const bool straight = std::fabs(m01) <= kTiny * std::fabs(m00) && std::fabs(m10) <= kTiny * std::fabs(m11);
    const bool turned = std::fabs(m00) <= kTiny * std::fabs(m01) && std::fabs(m11) <= kTiny * std::fabs(m10);
    return straight || turned;
}

void QuadMapping::texelSpan(double lo, double hi, bool pixelX, int width, int height, double* texelLo,
                            double* texelHi, bool* alongX) const {
    // Along the axes: a pixel axis follows one texture axis alone.
    const bool straight = std::fabs(m00) > std::fabs(m01);
    double origin = pixelX ? p0.x : p0.y;
    double scale = 0.0;
    double start = 0.0;
    int extent = 0;
    if (pixelX) {
        *alongX = straight;
        scale = straight ? m00 : m01;
        start = straight ? u0 : v0;
        extent = straight ? width : height;
    } else {
        *alongX = !straight;
        scale = straight ? m11 : m10;
        start = straight ? v0 : u0;
        extent = straight ? height : width;
    }
    const double a = (start + (lo + 0.5 - origin) / scale) * extent;
    const double b = (start + (hi - 0.5 - origin) / scale) * extent;
    // A linear sample takes the texels within one texel of its point.
    *texelLo = std::min(a, b) - 1.0;
    *texelHi = std::max(a, b) + 1.0;
}

// The pixel-space box of the image of a coordinate rectangle.
namespace {

void imageOf(const QuadMapping& m, double uLo, double uHi, double vLo, double vHi, double* minX, double* minY,
             double* maxX, double* maxY) {
    *minX = *minY = kFar;
    *maxX = *maxY = -kFar;
    for (double u : {uLo, uHi}) {
        for (double v : {vLo, vHi}) {
            const Point q = m.at(u, v);
            *minX = std::min(*minX, q.x);
            *minY = std::min(*minY, q.y);
            *maxX = std::max(*maxX, q.x);
            *maxY = std::max(*maxY, q.y);
        }
    }
    *minX = std::clamp(*minX, -kFar, kFar);
    *minY = std::clamp(*minY, -kFar, kFar);
    *maxX = std::clamp(*maxX, -kFar, kFar);
    *maxY = std::clamp(*maxY, -kFar, kFar);
}

}  // namespace

bool clampsToEdge(GLenum wrap) {
    // GL_CLAMP_TO_EDGE (GL's own value; this file issues no GL calls). Other modes repeat, or blend
    // with a border colour at the edges.
    return wrap == 0x812F;
}

bool reachOfTexels(const RenderTarget& target, const V2F_C4B_T2F* vertices, size_t count, const uint32_t* indices,
                   size_t indexCount, const Rect& texels, int width, int height, bool clampsU, bool clampsV,
                   PixelBox* out) {
    QuadMapping m;
    if (width <= 0 || height <= 0 || !out || !mapQuad(target, vertices, count, indices, indexCount, &m)) {
        return false;
    }
    double uLo = m.uLo;
    double uHi = m.uHi;
    double vLo = m.vLo;
    double vHi = m.vHi;
    // Samples a texel around the texels can still take from them. Clamped inside 0..1, that is all a
    // sample takes; repeating, a sample next to one edge takes texels of the other as well.
    if (clampsU && uLo >= 0.0 && uHi <= 1.0) {
        uLo = std::max(uLo, (texels.getMinX() - 1.0) / width);
        uHi = std::min(uHi, (texels.getMaxX() + 1.0) / width);
    }
    if (clampsV && vLo >= 0.0 && vHi <= 1.0) {
        vLo = std::max(vLo, (texels.getMinY() - 1.0) / height);
        vHi = std::min(vHi, (texels.getMaxY() + 1.0) / height);
    }
    if (uLo > uHi || vLo > vHi || texels.size.width <= 0.0f || texels.size.height <= 0.0f) {
        *out = PixelBox{};
        return true;
    }
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;
    imageOf(m, uLo, uHi, vLo, vHi, &minX, &minY, &maxX, &maxY);
    PixelBox box;
    reachAlong(minX, maxX, &box.x0, &box.x1);
    reachAlong(minY, maxY, &box.y0, &box.y1);
    *out = box.intersection(viewportBox(target));
    return true;
}

void subtract(const PixelBox& a, const PixelBox& b, std::vector<PixelBox>& out) {
    const PixelBox i = a.intersection(b);
    if (i.empty()) {
        if (!a.empty()) {
            out.push_back(a);
        }
        return;
    }
    const PixelBox pieces[4] = {
        {a.x0, a.y0, a.x1, i.y0},  // below
        {a.x0, i.y1, a.x1, a.y1},  // above
        {a.x0, i.y0, i.x0, i.y1},  // left
        {i.x1, i.y0, a.x1, i.y1},  // right
    };
    for (const PixelBox& piece : pieces) {
        if (!piece.empty()) {
            out.push_back(piece);
        }
    }
}

}  // namespace fill
}  // namespace cocos2d
