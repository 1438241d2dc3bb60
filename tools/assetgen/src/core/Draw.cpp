#include "core/Draw.h"

#include <cmath>

namespace assetgen {

void setColor(cairo_t* cr, const Rgb& c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2.0, h / 2.0});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry) {
    if (rx <= 0 || ry <= 0) return;
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void polygon(cairo_t* cr, std::initializer_list<Pt> pts) { polygon(cr, std::vector<Pt>(pts)); }

void polygon(cairo_t* cr, const std::vector<Pt>& pts) {
    if (pts.empty()) return;
    cairo_move_to(cr, pts[0].x, pts[0].y);
    for (std::size_t i = 1; i < pts.size(); ++i) cairo_line_to(cr, pts[i].x, pts[i].y);
    cairo_close_path(cr);
}

void smoothPath(cairo_t* cr, const std::vector<Pt>& p, bool closed) {
    std::size_t n = p.size();
    if (n < 2) return;
    auto at = [&](long i) -> const Pt& {
        if (closed) return p[static_cast<std::size_t>((i % static_cast<long>(n) + static_cast<long>(n)) % static_cast<long>(n))];
        if (i < 0) return p[0];
        if (i >= static_cast<long>(n)) return p[n - 1];
        return p[static_cast<std::size_t>(i)];
    };
    cairo_move_to(cr, p[0].x, p[0].y);
    long segments = closed ? static_cast<long>(n) : static_cast<long>(n) - 1;
    for (long i = 0; i < segments; ++i) {
        const Pt& p0 = at(i - 1);
        const Pt& p1 = at(i);
        const Pt& p2 = at(i + 1);
        const Pt& p3 = at(i + 2);
        cairo_curve_to(cr, p1.x + (p2.x - p0.x) / 6.0, p1.y + (p2.y - p0.y) / 6.0, p2.x - (p3.x - p1.x) / 6.0,
                       p2.y - (p3.y - p1.y) / 6.0, p2.x, p2.y);
    }
    if (closed) cairo_close_path(cr);
}

void blobPath(cairo_t* cr, double cx, double cy, double rx, double ry, double wobble, Rng& rng, int points) {
    std::vector<Pt> pts;
    double phase = rng.range(0, 2 * M_PI);
    for (int i = 0; i < points; ++i) {
        double a = phase + 2 * M_PI * i / points;
        double k = 1.0 + wobble * (rng.unit() * 2.0 - 1.0);
        pts.push_back({cx + std::cos(a) * rx * k, cy + std::sin(a) * ry * k});
    }
    smoothPath(cr, pts, true);
}

static void applyStops(cairo_pattern_t* pat, const Stop* begin, const Stop* end) {
    for (const Stop* s = begin; s != end; ++s) {
        cairo_pattern_add_color_stop_rgba(pat, s->at, s->color.r, s->color.g, s->color.b, s->alpha);
    }
}

static void fillWith(cairo_t* cr, cairo_pattern_t* pat, bool preserve) {
    cairo_set_source(cr, pat);
    if (preserve) cairo_fill_preserve(cr);
    else cairo_fill(cr);
    cairo_pattern_destroy(pat);
}

void fillLinear(cairo_t* cr, double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops,
                bool preserve) {
    cairo_pattern_t* pat = cairo_pattern_create_linear(x0, y0, x1, y1);
    applyStops(pat, stops.begin(), stops.end());
    fillWith(cr, pat, preserve);
}

void fillLinear(cairo_t* cr, double x0, double y0, double x1, double y1, const std::vector<Stop>& stops,
                bool preserve) {
    cairo_pattern_t* pat = cairo_pattern_create_linear(x0, y0, x1, y1);
    applyStops(pat, stops.data(), stops.data() + stops.size());
    fillWith(cr, pat, preserve);
}

void fillRadial(cairo_t* cr, double cx, double cy, double r0, double r1, std::initializer_list<Stop> stops,
                bool preserve) {
    cairo_pattern_t* pat = cairo_pattern_create_radial(cx, cy, r0, cx, cy, r1);
    applyStops(pat, stops.begin(), stops.end());
    fillWith(cr, pat, preserve);
}

void softEllipse(cairo_t* cr, double cx, double cy, double rx, double ry, const Rgb& c, double alpha) {
    if (rx <= 0 || ry <= 0) return;
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    fillRadial(cr, 0, 0, 0, 1, {{0, c, alpha}, {0.6, c, alpha * 0.55}, {1, c, 0}});
    cairo_restore(cr);
}

void strokeLine(cairo_t* cr, double x0, double y0, double x1, double y1, double width, const Rgb& c, double alpha) {
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_set_line_width(cr, width);
    setColor(cr, c, alpha);
    cairo_stroke(cr);
}

static double lattice(long ix, long iy, std::uint64_t seed) {
    std::uint64_t h = seed ^ (static_cast<std::uint64_t>(ix) * 0x9E3779B97F4A7C15ull) ^
                      (static_cast<std::uint64_t>(iy) * 0xC2B2AE3D27D4EB4Full);
    h = (h ^ (h >> 31)) * 0xBF58476D1CE4E5B9ull;
    h = (h ^ (h >> 29)) * 0x94D049BB133111EBull;
    h ^= h >> 32;
    return static_cast<double>(h & 0xFFFFFF) / 16777215.0;
}

double valueNoise(double x, double y, std::uint64_t seed) {
    double fx = std::floor(x), fy = std::floor(y);
    long ix = static_cast<long>(fx), iy = static_cast<long>(fy);
    double tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    double a = lattice(ix, iy, seed), b = lattice(ix + 1, iy, seed);
    double c = lattice(ix, iy + 1, seed), d = lattice(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double fbm(double x, double y, std::uint64_t seed, int octaves) {
    double sum = 0, amp = 0.5, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * valueNoise(x, y, seed + static_cast<std::uint64_t>(i) * 7919);
        norm += amp;
        x *= 2.03;
        y *= 2.03;
        amp *= 0.5;
    }
    return sum / norm;
}

}  // namespace assetgen
