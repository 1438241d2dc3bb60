#include "art/SceneKit.h"

#include <cmath>

namespace assetgen {

void cloud(cairo_t* cr, double cx, double cy, double w, double h, const Rgb& lit, const Rgb& shade, Rng& rng,
           double alpha, int puffs) {
    for (int i = 0; i < puffs; ++i) {
        double t = (puffs == 1) ? 0.5 : static_cast<double>(i) / (puffs - 1);
        double px = cx - w / 2 + w * t + rng.range(-w * 0.05, w * 0.05);
        double bulge = std::sin(t * M_PI);
        double pr = h * (0.35 + 0.45 * bulge) * rng.range(0.8, 1.15);
        double py = cy - pr * 0.3 * bulge + rng.range(-h * 0.08, h * 0.08);
        ellipsePath(cr, px, py, pr * 1.25, pr);
        fillRadial(cr, px - pr * 0.3, py - pr * 0.45, pr * 0.1, pr * 1.3,
                   {{0, lit, alpha}, {0.55, mix(lit, shade, 0.35), alpha}, {1, shade, alpha * 0.85}});
    }
}

void hills(cairo_t* cr, double x0, double x1, double y, double amplitude, double bottom, const Rgb& top,
           const Rgb& low, std::uint64_t seed, double scale) {
    cairo_move_to(cr, x0, bottom);
    for (double x = x0; x <= x1 + 0.1; x += 4) {
        double n = fbm(x / scale, 0.37, seed, 4);
        cairo_line_to(cr, x, y - amplitude * (n - 0.35) * 2.0);
    }
    cairo_line_to(cr, x1, bottom);
    cairo_close_path(cr);
    fillLinear(cr, 0, y - amplitude, 0, bottom, {{0, top}, {1, low}});
}

void ripples(cairo_t* cr, double x0, double x1, double y0, double y1, const Rgb& light, const Rgb& dark, Rng& rng,
             double density) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    double y = y0 + 2;
    while (y < y1) {
        double t = (y - y0) / std::max(1.0, y1 - y0);
        int n = static_cast<int>((x1 - x0) / (40 + 60 * t) * density) + 1;
        for (int i = 0; i < n; ++i) {
            double x = rng.range(x0, x1);
            double len = rng.range(10, 40) * (0.5 + 1.5 * t);
            bool isLight = rng.chance(0.5);
            strokeLine(cr, x, y, x + len, y + rng.range(-0.5, 0.5), 0.8 + 2.2 * t, isLight ? light : dark,
                       rng.range(0.25, 0.6));
        }
        y += 1.2 + 7.0 * t * t + rng.range(0, 1.5);
    }
}

void reflection(cairo_t* cr, double x0, double x1, double y, double depth, const Rgb& c, Rng& rng, double alpha) {
    for (double x = x0; x < x1; x += 3) {
        double d = depth * rng.range(0.5, 1.0);
        double wob = rng.range(-2, 2);
        strokeLine(cr, x + wob, y, x - wob, y + d, 3.2, c, alpha * rng.range(0.6, 1.0));
    }
    // Glints across the mirrored image only: over bare water (or the clear ground of an object's
    // own image) they would show as a pale scribble of their own.
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
    for (double yy = y + 3; yy < y + depth; yy += rng.range(4, 8)) {
        strokeLine(cr, x0 - 2, yy, x1 + 2, yy, 1.2, {1, 1, 1}, 0.12);
    }
    cairo_restore(cr);
}

void groundShadow(cairo_t* cr, double cx, double cy, double rx, double ry, const Look& look, double alpha) {
    softEllipse(cr, cx - look.lightX * rx * 0.25, cy, rx, ry, look.shade, alpha);
}

void cylinder(cairo_t* cr, double cx, double y0, double y1, double r, double e, const Rgb& c, const Look& look) {
    double side = look.fromLeft();
    cairo_move_to(cr, cx - r, y0);
    cairo_line_to(cr, cx - r, y1);
    cairo_curve_to(cr, cx - r, y1 + e * 1.33, cx + r, y1 + e * 1.33, cx + r, y1);
    cairo_line_to(cr, cx + r, y0);
    cairo_close_path(cr);
    Rgb litC = look.lit(c, 0.35), darkC = look.dark(c, 0.55), mid = look.tone(c);
    if (side > 0) fillLinear(cr, cx - r, 0, cx + r, 0, {{0, mid}, {0.25, litC}, {0.6, mid}, {1, darkC}});
    else fillLinear(cr, cx - r, 0, cx + r, 0, {{0, darkC}, {0.4, mid}, {0.75, litC}, {1, mid}});
    ellipsePath(cr, cx, y0, r, e);
    setColor(cr, look.lit(c, 0.15));
    cairo_fill(cr);
}

void grassTufts(cairo_t* cr, double x0, double x1, double y, double height, const Rgb& c, Rng& rng, double density) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    int n = static_cast<int>((x1 - x0) * 0.6 * density);
    for (int i = 0; i < n; ++i) {
        double x = rng.range(x0, x1);
        double hgt = height * rng.range(0.4, 1.0);
        double lean = rng.range(-0.5, 0.5) * hgt;
        cairo_move_to(cr, x, y);
        cairo_curve_to(cr, x, y - hgt * 0.5, x + lean * 0.5, y - hgt * 0.8, x + lean, y - hgt);
        cairo_set_line_width(cr, rng.range(0.8, 1.8));
        setColor(cr, shift(c, rng.range(-8, 8), 0, rng.range(-0.08, 0.08)), 0.9);
        cairo_stroke(cr);
    }
}

void tree(cairo_t* cr, double cx, double baseY, double height, const Rgb& leaf, const Rgb& trunk, const Look& look,
          Rng& rng) {
    double tw = height * 0.07;
    cairo_move_to(cr, cx - tw, baseY);
    cairo_curve_to(cr, cx - tw * 0.6, baseY - height * 0.3, cx - tw * 0.4, baseY - height * 0.45, cx - tw * 0.3, baseY - height * 0.55);
    cairo_line_to(cr, cx + tw * 0.3, baseY - height * 0.55);
    cairo_curve_to(cr, cx + tw * 0.4, baseY - height * 0.45, cx + tw * 0.6, baseY - height * 0.3, cx + tw, baseY);
    cairo_close_path(cr);
    fillLinear(cr, cx - tw, 0, cx + tw, 0, {{0, look.lit(trunk, 0.2)}, {1, look.dark(trunk, 0.5)}});
    double crownY = baseY - height * 0.62, crownR = height * 0.36;
    // Branches into the crown, then clusters of leaves: shaded ones first, lit ones on top.
    for (int i = 0; i < 4; ++i) {
        double ang = -M_PI / 2 + rng.range(-0.9, 0.9);
        strokeLine(cr, cx, baseY - height * 0.5, cx + std::cos(ang) * crownR * 0.7, crownY + std::sin(ang) * crownR * 0.5,
                   tw * 0.5, look.dark(trunk, 0.3));
    }
    for (int pass = 0; pass < 3; ++pass) {
        int n = pass == 0 ? 16 : 12;
        for (int i = 0; i < n; ++i) {
            double ang = rng.range(0, 2 * M_PI), d = rng.range(0, crownR * (pass == 2 ? 0.55 : 0.75));
            double px = cx + std::cos(ang) * d * 1.1, py = crownY + std::sin(ang) * d * 0.85;
            // Lit clusters sit towards the light.
            if (pass == 2) {
                px -= look.lightX * crownR * 0.25;
                py -= look.lightY * crownR * 0.2;
            }
            double pr = crownR * rng.range(0.22, 0.38);
            Rgb c = pass == 0 ? look.dark(leaf, 0.4) : pass == 1 ? look.tone(leaf) : look.lit(leaf, 0.3);
            blobPath(cr, px, py, pr, pr * 0.85, 0.25, rng, 9);
            setColor(cr, shift(c, rng.range(-6, 6), 0, rng.range(-0.04, 0.04)));
            cairo_fill(cr);
        }
    }
}

}  // namespace assetgen

namespace assetgen {

void cloudStreak(cairo_t* cr, double cx, double cy, double w, double h, const Rgb& lit, const Rgb& shade, Rng& rng,
                 double alpha) {
    for (int i = 0; i < 5; ++i) {
        double ox = rng.range(-w * 0.2, w * 0.2), oy = rng.range(-h * 0.4, h * 0.4);
        double ww = w * rng.range(0.35, 0.6), hh = h * rng.range(0.35, 0.6);
        cairo_save(cr);
        cairo_translate(cr, cx + ox, cy + oy);
        cairo_scale(cr, ww, hh);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        fillRadial(cr, 0, 0.35, 0, 1, {{0, lit, alpha}, {0.55, mix(lit, shade, 0.5), alpha * 0.6}, {1, shade, 0}});
        cairo_restore(cr);
    }
}

}  // namespace assetgen
