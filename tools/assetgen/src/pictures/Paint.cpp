#include "pictures/Paint.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/Draw.h"

namespace assetgen {

BrushStyle BrushStyle::read(const RecipeNode& n) {
    BrushStyle s;
    s.size = n.number("size", s.size);
    s.layers = n.integer("layers", s.layers);
    s.length = n.number("length", s.length);
    s.spacing = n.number("spacing", s.spacing);
    s.alpha = n.number("alpha", s.alpha);
    s.threshold = n.number("threshold", s.threshold);
    s.flowAngle = n.number("flowAngle", s.flowAngle);
    s.flowWeight = n.number("flowWeight", s.flowWeight);
    s.curl = n.number("curl", s.curl);
    s.jitterLight = n.number("jitterLight", s.jitterLight);
    s.jitterHue = n.number("jitterHue", s.jitterHue);
    s.jitterSat = n.number("jitterSat", s.jitterSat);
    s.grain = n.number("grain", s.grain);
    s.varnish = n.number("varnish", s.varnish);
    s.varnishColor = n.color("varnishColor", s.varnishColor);
    s.vignette = n.number("vignette", s.vignette);
    s.sweep = n.number("sweep", s.sweep);
    s.bristle = n.number("bristle", s.bristle);
    n.finish();
    if (s.size < 1 || s.size > 80) n.fail("\"size\" must lie in 1..80");
    if (s.layers < 1 || s.layers > 5) n.fail("\"layers\" must lie in 1..5");
    if (s.spacing < 0.2) n.fail("\"spacing\" must be at least 0.2");
    return s;
}

namespace {

// Straight colour planes of an image, for fast sampling.
struct Planes {
    int w = 0, h = 0;
    std::vector<float> r, g, b, a, lum;

    explicit Planes(const Image& img) : w(img.width()), h(img.height()) {
        img.flush();
        std::size_t n = static_cast<std::size_t>(w) * h;
        r.resize(n);
        g.resize(n);
        b.resize(n);
        a.resize(n);
        lum.resize(n);
        for (int y = 0; y < h; ++y) {
            const std::uint32_t* row = img.row(y);
            for (int x = 0; x < w; ++x) {
                std::uint32_t p = row[x];
                float A = static_cast<float>(p >> 24) / 255.0f;
                std::size_t i = static_cast<std::size_t>(y) * w + x;
                a[i] = A;
                if (A > 0) {
                    r[i] = static_cast<float>((p >> 16) & 0xFF) / 255.0f / A;
                    g[i] = static_cast<float>((p >> 8) & 0xFF) / 255.0f / A;
                    b[i] = static_cast<float>(p & 0xFF) / 255.0f / A;
                } else {
                    r[i] = g[i] = b[i] = 0;
                }
                lum[i] = (0.299f * r[i] + 0.587f * g[i] + 0.114f * b[i]) * A;
            }
        }
    }
    std::size_t idx(int x, int y) const {
        x = std::clamp(x, 0, w - 1);
        y = std::clamp(y, 0, h - 1);
        return static_cast<std::size_t>(y) * w + x;
    }
    // Mean colour and alpha over a square of half-size `rad` (sampled on a coarse grid).
    void mean(int cx, int cy, int rad, Rgb& c, double& alpha) const {
        double sr = 0, sg = 0, sb = 0, sa = 0;
        int n = 0;
        int step = std::max(1, rad / 2);
        for (int dy = -rad; dy <= rad; dy += step) {
            for (int dx = -rad; dx <= rad; dx += step) {
                std::size_t i = idx(cx + dx, cy + dy);
                sr += r[i] * a[i];
                sg += g[i] * a[i];
                sb += b[i] * a[i];
                sa += a[i];
                ++n;
            }
        }
        alpha = sa / n;
        if (sa > 1e-6) c = {sr / sa, sg / sa, sb / sa};
        else c = {0, 0, 0};
    }
};

}  // namespace

void paintStrokes(const Image& drawing, Image& canvas, const BrushStyle& style, Rng& rng, bool keepShape) {
    Planes src(drawing);
    const int w = src.w, h = src.h;
    std::uint64_t flowSeed = rng.next();
    double flow = style.flowAngle * M_PI / 180.0;

    for (int layer = 0; layer < style.layers; ++layer) {
        double width = style.size / std::pow(2.0, layer);
        if (width < 1.2) break;
        double spacing = std::max(1.0, width * style.spacing);
        int rad = std::max(1, static_cast<int>(width * 0.35));
        Planes now(canvas);

        struct Stroke {
            double x0, y0, x1, y1, cx, cy;
            Rgb c;
            double a;
        };
        std::vector<Stroke> strokes;
        for (double gy = spacing * 0.5; gy < h; gy += spacing) {
            for (double gx = spacing * 0.5; gx < w; gx += spacing) {
                double px = gx + rng.range(-0.5, 0.5) * spacing;
                double py = gy + rng.range(-0.5, 0.5) * spacing;
                int ix = std::clamp(static_cast<int>(px), 0, w - 1);
                int iy = std::clamp(static_cast<int>(py), 0, h - 1);
                Rgb c;
                double a;
                src.mean(ix, iy, rad, c, a);
                if (a < 0.55) continue;
                if (layer > 0) {
                    Rgb cc;
                    double ca;
                    now.mean(ix, iy, rad, cc, ca);
                    double diff = std::fabs(cc.r - c.r) + std::fabs(cc.g - c.g) + std::fabs(cc.b - c.b);
                    if (diff < style.threshold * 3.0) continue;
                }
                // Edge direction: along the contour, perpendicular to the luminance gradient.
                int o = std::max(1, static_cast<int>(width * 0.6));
                double gxv = src.lum[src.idx(ix + o, iy)] - src.lum[src.idx(ix - o, iy)];
                double gyv = src.lum[src.idx(ix, iy + o)] - src.lum[src.idx(ix, iy - o)];
                double mag = std::sqrt(gxv * gxv + gyv * gyv);
                double wander = (fbm(px / 90.0, py / 90.0, flowSeed, 2) - 0.5) * 2.0 * style.curl;
                double ex = std::cos(flow + wander), ey = std::sin(flow + wander);
                double weight = style.flowWeight;
                if (mag > 0.02) {
                    double tx = -gyv / mag, ty = gxv / mag;
                    if (tx * ex + ty * ey < 0) {
                        tx = -tx;
                        ty = -ty;
                    }
                    double k = std::min(1.0, mag * 6.0) * (1.0 - weight);
                    ex = ex * (1.0 - k) + tx * k;
                    ey = ey * (1.0 - k) + ty * k;
                    double n = std::sqrt(ex * ex + ey * ey);
                    if (n > 1e-6) {
                        ex /= n;
                        ey /= n;
                    }
                }
                double len = width * style.length * rng.range(0.6, 1.3);
                // Long, sweeping strokes where the drawing is calm; short ones across strong
                // edges, so shapes keep their outline.
                double calm = 1.0 - std::min(1.0, mag * 8.0);
                len *= 1.0 + style.sweep * calm;
                if (mag > 0.15 && layer == 0) len *= 0.6;
                double jk = 0.5 + 0.5 * (1.0 - calm);
                Rgb jc = shift(c, rng.gauss() * style.jitterHue * jk, rng.gauss() * style.jitterSat * jk,
                               rng.gauss() * style.jitterLight * jk);
                double bend = rng.range(-0.25, 0.25) * len;
                strokes.push_back({px - ex * len / 2, py - ey * len / 2, px + ex * len / 2, py + ey * len / 2,
                                   px - ey * bend, py + ex * bend, jc, style.alpha * rng.range(0.75, 1.0)});
            }
        }
        // Paint in a shuffled order so no grid shows.
        for (std::size_t i = strokes.size(); i > 1; --i) {
            std::size_t j = static_cast<std::size_t>(rng.next() % i);
            std::swap(strokes[i - 1], strokes[j]);
        }
        Pen cr(canvas);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_width(cr, width);
        for (const Stroke& st : strokes) {
            cairo_move_to(cr, st.x0, st.y0);
            cairo_curve_to(cr, st.cx, st.cy, st.cx, st.cy, st.x1, st.y1);
            cairo_set_line_width(cr, width);
            setColor(cr, st.c, st.a);
            cairo_stroke(cr);
            if (style.bristle > 0) {
                // A few hairs of the brush leave a lighter and a darker trace inside the stroke.
                double nx = -(st.y1 - st.y0), ny = st.x1 - st.x0;
                double nl = std::sqrt(nx * nx + ny * ny);
                if (nl > 1e-6) {
                    nx = nx / nl * width * 0.22;
                    ny = ny / nl * width * 0.22;
                    cairo_set_line_width(cr, std::max(0.8, width * 0.18));
                    cairo_move_to(cr, st.x0 + nx, st.y0 + ny);
                    cairo_curve_to(cr, st.cx + nx, st.cy + ny, st.cx + nx, st.cy + ny, st.x1 + nx, st.y1 + ny);
                    setColor(cr, lighten(st.c, 0.12), st.a * style.bristle);
                    cairo_stroke(cr);
                    cairo_move_to(cr, st.x0 - nx, st.y0 - ny);
                    cairo_curve_to(cr, st.cx - nx, st.cy - ny, st.cx - nx, st.cy - ny, st.x1 - nx, st.y1 - ny);
                    setColor(cr, darken(st.c, 0.1), st.a * style.bristle);
                    cairo_stroke(cr);
                }
            }
        }
    }
    if (keepShape) {
        Pen cr(canvas);
        cairo_set_operator(cr, CAIRO_OPERATOR_DEST_IN);
        cairo_set_source_surface(cr, drawing.surface(), 0, 0);
        cairo_paint(cr);
    }
}

void finishCanvas(Image& image, const BrushStyle& style, int ox, int oy, int pictureW, int pictureH,
                  std::uint64_t seed) {
    image.flush();
    const double cxp = pictureW / 2.0, cyp = pictureH / 2.0;
    const double maxd = std::sqrt(cxp * cxp + cyp * cyp);
    for (int y = 0; y < image.height(); ++y) {
        std::uint32_t* row = image.row(y);
        int gy = y + oy;
        for (int x = 0; x < image.width(); ++x) {
            std::uint32_t p = row[x];
            unsigned A = p >> 24;
            if (A == 0) continue;
            int gx = x + ox;
            double a = A / 255.0;
            double r = ((p >> 16) & 0xFF) / 255.0 / a;
            double g = ((p >> 8) & 0xFF) / 255.0 / a;
            double b = (p & 0xFF) / 255.0 / a;
            // Weave: crossing threads of about 3 px with a little irregularity.
            double wx = std::sin(gx * 2.0 * M_PI / 3.2), wy = std::sin(gy * 2.0 * M_PI / 3.4);
            double weave = 0.5 * wx * wy + 0.35 * (valueNoise(gx / 1.6, gy / 1.6, seed) - 0.5) +
                           0.5 * (valueNoise(gx / 23.0, gy / 19.0, seed + 1) - 0.5);
            double k = 1.0 + style.grain * weave;
            if (style.vignette > 0) {
                double dx = gx - cxp, dy = gy - cyp;
                double d = std::sqrt(dx * dx + dy * dy) / maxd;
                k *= 1.0 - style.vignette * d * d;
            }
            r *= k;
            g *= k;
            b *= k;
            if (style.varnish > 0) {
                r = r + (r * style.varnishColor.r - r) * style.varnish;
                g = g + (g * style.varnishColor.g - g) * style.varnish;
                b = b + (b * style.varnishColor.b - b) * style.varnish;
            }
            row[x] = packPremultiplied(r, g, b, a);
        }
    }
    image.markDirty();
}

void blur(Image& image, int radius) {
    if (radius <= 0) return;
    image.flush();
    const int w = image.width(), h = image.height();
    std::vector<std::uint32_t> tmp(static_cast<std::size_t>(w) * h);
    auto pass = [&](bool horizontal) {
        for (int line = 0; line < (horizontal ? h : w); ++line) {
            int len = horizontal ? w : h;
            std::vector<unsigned> sum(4, 0);
            auto px = [&](int i) -> std::uint32_t {
                i = std::clamp(i, 0, len - 1);
                return horizontal ? image.row(line)[i] : image.row(i)[line];
            };
            for (int i = -radius; i <= radius; ++i) {
                std::uint32_t p = px(i);
                for (int c = 0; c < 4; ++c) sum[c] += (p >> (8 * c)) & 0xFF;
            }
            unsigned n = static_cast<unsigned>(2 * radius + 1);
            for (int i = 0; i < len; ++i) {
                std::uint32_t out = 0;
                for (int c = 0; c < 4; ++c) out |= ((sum[c] + n / 2) / n) << (8 * c);
                std::size_t at = horizontal ? static_cast<std::size_t>(line) * w + i : static_cast<std::size_t>(i) * w + line;
                tmp[at] = out;
                std::uint32_t add = px(i + radius + 1), sub = px(i - radius);
                for (int c = 0; c < 4; ++c) sum[c] += ((add >> (8 * c)) & 0xFF) - ((sub >> (8 * c)) & 0xFF);
            }
        }
        for (int y = 0; y < h; ++y) std::copy_n(&tmp[static_cast<std::size_t>(y) * w], w, image.row(y));
    };
    pass(true);
    pass(false);
    image.markDirty();
}

}  // namespace assetgen
