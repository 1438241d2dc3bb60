// Outdoor scenes of the European collections: a foggy river bridge, a rose garden, a river
// picnic, tulip fields, a canal at dusk, a sunflower road, a wheat harvest, an orange grove,
// a plaza at noon and an Alpine lake. Each reads its colours and composition from the recipe.
#include <cmath>

#include "art/Art.h"
#include "art/SceneKit.h"
#include "core/Draw.h"

namespace assetgen {

namespace {

std::vector<Stop> stopsOf(const RecipeNode& a, const char* key, std::vector<Stop> fallback) {
    std::vector<Rgb> cols = a.colors(key);
    if (cols.empty()) return fallback;
    std::vector<Stop> stops;
    for (std::size_t i = 0; i < cols.size(); ++i) {
        stops.push_back({cols.size() == 1 ? 0.0 : static_cast<double>(i) / (cols.size() - 1), cols[i]});
    }
    return stops;
}

void sky(cairo_t* cr, double W, double hz, const std::vector<Stop>& stops) {
    cairo_rectangle(cr, 0, 0, W, hz + 4);
    fillLinear(cr, 0, 0, 0, hz, stops);
}

void clouds(cairo_t* cr, double W, double hz, int n, const Rgb& lit, const Rgb& shade, Rng& rng, double alpha = 0.9) {
    for (int i = 0; i < n; ++i) {
        double cx = rng.range(-40, W + 40), cy = hz * rng.range(0.12, 0.6);
        double w = rng.range(120, 260), h = rng.range(30, 60);
        cloud(cr, cx, cy, w, h, lit, shade, rng, alpha, 9);
    }
}

// A house front: walls, a roof of the given kind ("gable", "step" for a stepped Dutch gable,
// "flat", "hip"), windows and a door.
void house(cairo_t* cr, double x, double base, double w, double h, const Rgb& wall, const Rgb& roof, const std::string& kind,
           const Look& look, const Rgb& window = Rgb::hex(0x3A4050)) {
    double top = base - h;
    cairo_rectangle(cr, x, top, w, h);
    fillLinear(cr, x, 0, x + w, 0, {{0, look.lit(wall, 0.15)}, {1, look.dark(wall, 0.2)}});
    if (kind == "gable") {
        polygon(cr, {{x - 3, top}, {x + w / 2, top - h * 0.5}, {x + w + 3, top}});
        setColor(cr, look.tone(roof));
        cairo_fill(cr);
    } else if (kind == "step") {
        double sw = w / 6;
        polygon(cr, {{x, top}, {x, top - h * 0.2}, {x + sw, top - h * 0.2}, {x + sw, top - h * 0.4}, {x + 2 * sw, top - h * 0.4},
                     {x + 2 * sw, top - h * 0.6}, {x + 4 * sw, top - h * 0.6}, {x + 4 * sw, top - h * 0.4}, {x + 5 * sw, top - h * 0.4},
                     {x + 5 * sw, top - h * 0.2}, {x + w, top - h * 0.2}, {x + w, top}});
        fillLinear(cr, x, 0, x + w, 0, {{0, look.lit(wall, 0.15)}, {1, look.dark(wall, 0.2)}});
    } else if (kind == "hip") {
        polygon(cr, {{x - 4, top}, {x + w * 0.2, top - h * 0.3}, {x + w * 0.8, top - h * 0.3}, {x + w + 4, top}});
        setColor(cr, look.tone(roof));
        cairo_fill(cr);
    } else {
        cairo_rectangle(cr, x - 2, top - 4, w + 4, 4);
        setColor(cr, look.dark(wall, 0.3));
        cairo_fill(cr);
    }
    int cols = std::max(1, static_cast<int>(w / 22));
    int rows = std::max(1, static_cast<int>(h / 26));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            double wx = x + (c + 0.5) * w / cols - 4, wy = top + 6 + r * (h - 8) / rows;
            if (r == rows - 1 && c == cols / 2) {
                cairo_rectangle(cr, wx - 1, base - h * 0.3 / rows - 8, 10, h * 0.3 / rows + 8);
            } else {
                cairo_rectangle(cr, wx, wy, 8, std::min(12.0, (h - 8) / rows - 5));
            }
            setColor(cr, look.tone(window));
            cairo_fill(cr);
        }
    }
}

// A range of mountains with snow on the peaks: one silhouette of peaks and valleys, lit from the
// left, each peak's right-hand slope in shade down to a ridge that runs from the summit to the
// foot, and snow that follows both slopes down from the summit.
void mountains(cairo_t* cr, double x0, double x1, double base, double height, const Rgb& rock, const Rgb& snow, Rng& rng,
               const Look& look) {
    double x = x0;
    std::vector<Pt> peaks;
    while (x < x1) {
        peaks.push_back({x, base - height * rng.range(0.45, 1.0)});
        x += rng.range(90, 170);
    }
    peaks.push_back({x1, base - height * rng.range(0.3, 0.6)});
    std::vector<Pt> valleys;
    for (std::size_t i = 0; i + 1 < peaks.size(); ++i) {
        Pt a = peaks[i], b = peaks[i + 1];
        double vy = std::min(std::max(a.y, b.y) + height * rng.range(0.25, 0.45), base - height * 0.1);
        valleys.push_back({(a.x + b.x) / 2 + rng.range(-0.15, 0.15) * (b.x - a.x), vy});
    }
    cairo_move_to(cr, x0, base);
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        cairo_line_to(cr, peaks[i].x, peaks[i].y);
        if (i < valleys.size()) cairo_line_to(cr, valleys[i].x, valleys[i].y);
    }
    cairo_line_to(cr, x1, base);
    cairo_close_path(cr);
    fillLinear(cr, 0, base - height, 0, base, {{0, look.lit(rock, 0.25)}, {0.5, look.tone(rock)}, {1, look.dark(rock, 0.65)}});
    for (std::size_t i = 0; i < valleys.size(); ++i) {
        Pt p = peaks[i], v = valleys[i];
        double run = v.x - p.x;
        polygon(cr, {p, v, {v.x + run * 0.1, base}, {p.x + run * rng.range(0.3, 0.5), base}});
        setColor(cr, look.dark(rock, 0.35), 0.6);
        cairo_fill(cr);
    }
    auto along = [](Pt from, Pt to, double drop) {
        double t = to.y > from.y ? std::min(0.6, drop / (to.y - from.y)) : 0.0;
        return Pt{from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t};
    };
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        Pt p = peaks[i];
        Pt leftFoot = i > 0 ? valleys[i - 1] : Pt{x0 - 60, base};
        Pt rightFoot = i < valleys.size() ? valleys[i] : Pt{x1 + 60, base};
        double drop = height * rng.range(0.14, 0.22);
        Pt l = along(p, leftFoot, drop), r = along(p, rightFoot, drop * rng.range(0.8, 1.1));
        Pt m1 = {r.x + (l.x - r.x) * 0.3, std::min(l.y, r.y) - drop * 0.25};
        Pt m2 = {r.x + (l.x - r.x) * 0.6, std::max(l.y, r.y) - drop * 0.05};
        polygon(cr, {p, r, m1, m2, l});
        setColor(cr, look.tone(snow), 0.95);
        cairo_fill(cr);
        polygon(cr, {p, r, m1});
        setColor(cr, look.dark(snow, 0.3), 0.5);
        cairo_fill(cr);
    }
}

// Rows of a crop running to a vanishing point on the horizon, each row drawn with its colour.
void fieldRows(cairo_t* cr, double W, double H, double hz, double vpX, int rows, const std::vector<Rgb>& colors,
               const Rgb& furrow) {
    cairo_rectangle(cr, 0, hz, W, H - hz);
    setColor(cr, furrow);
    cairo_fill(cr);
    double spread = W * 3.2;
    for (int i = 0; i < rows; ++i) {
        double t0 = static_cast<double>(i) / rows, t1 = (i + 0.7) / rows;
        double b0 = vpX - spread / 2 + spread * t0, b1 = vpX - spread / 2 + spread * t1;
        polygon(cr, {{vpX + (b0 - vpX) * 0.02, hz}, {vpX + (b1 - vpX) * 0.02, hz}, {b1, H + 40}, {b0, H + 40}});
        Rgb c = colors[static_cast<std::size_t>(i) % colors.size()];
        fillLinear(cr, 0, hz, 0, H, {{0, mix(c, Rgb::hex(0xC8C8D0), 0.35)}, {0.4, c}, {1, darken(c, 0.1)}});
    }
}

// A stone arch bridge across the view, its arches dark over the water.
void archBridge(cairo_t* cr, double x0, double x1, double deck, double water, int arches, const Rgb& stone, const Look& look) {
    double span = (x1 - x0) / arches;
    cairo_move_to(cr, x0, deck - 10);
    cairo_line_to(cr, x1, deck - 10);
    cairo_line_to(cr, x1, water);
    for (int i = arches - 1; i >= 0; --i) {
        double ax = x0 + span * (i + 0.5);
        cairo_line_to(cr, ax + span * 0.38, water);
        cairo_curve_to(cr, ax + span * 0.38, deck + 4, ax - span * 0.38, deck + 4, ax - span * 0.38, water);
    }
    cairo_line_to(cr, x0, water);
    cairo_close_path(cr);
    fillLinear(cr, 0, deck - 10, 0, water, {{0, look.lit(stone, 0.15)}, {1, look.dark(stone, 0.35)}});
    cairo_rectangle(cr, x0, deck - 16, x1 - x0, 6);
    setColor(cr, look.dark(stone, 0.2));
    cairo_fill(cr);
}

// --- United Kingdom --------------------------------------------------------------------------

void sceneFogBridge(ArtContext& a) {
    cairo_t* cr = a.cr;
    const RecipeNode& g = a.args;
    double W = a.w, H = a.h;
    double hz = g.number("horizon", H * 0.5);
    Rgb fog = g.color("fog", Rgb::hex(0xC8C4B8));
    sky(cr, W, hz, stopsOf(g, "sky", {{0, Rgb::hex(0x9A9A9C)}, {0.7, Rgb::hex(0xCFC6B2)}, {1, Rgb::hex(0xE4D8BC)}}));
    // A pale sun through the fog.
    double sx = g.number("sunX", W * 0.7);
    softEllipse(cr, sx, hz * 0.42, 120, 120, Rgb::hex(0xF8E8C0), 0.6);
    ellipsePath(cr, sx, hz * 0.42, 22, 22);
    setColor(cr, Rgb::hex(0xFBF0D4), 0.8);
    cairo_fill(cr);
    // A town on the far bank: towers and roofs lost in the fog, the farthest palest.
    Rng town = a.rng.fork("town");
    for (int layer = 0; layer < 2; ++layer) {
        double x = -10;
        Rgb c = mix(Rgb::hex(0x6A6A72), fog, layer == 0 ? 0.7 : 0.45);
        while (x < W) {
            double bw = town.range(24, 60), bh = town.range(20, 60) * (layer == 0 ? 1.3 : 1.0);
            cairo_rectangle(cr, x, hz - bh, bw, bh + 2);
            setColor(cr, c);
            cairo_fill(cr);
            if (town.chance(0.25)) {
                double tw = bw * 0.3;
                cairo_rectangle(cr, x + bw * 0.35, hz - bh - 50, tw, 52);
                setColor(cr, c);
                cairo_fill(cr);
                polygon(cr, {{x + bw * 0.35, hz - bh - 50}, {x + bw * 0.35 + tw / 2, hz - bh - 72}, {x + bw * 0.35 + tw, hz - bh - 50}});
                cairo_fill(cr);
            }
            x += bw + town.range(0, 10);
        }
    }
    // The clock tower on the right bank.
    double tx = g.number("towerX", W * 0.86);
    Rgb tower = mix(Rgb::hex(0x5A5650), fog, 0.35);
    cairo_rectangle(cr, tx - 18, hz - 190, 36, 192);
    setColor(cr, tower);
    cairo_fill(cr);
    polygon(cr, {{tx - 22, hz - 190}, {tx, hz - 240}, {tx + 22, hz - 190}});
    cairo_fill(cr);
    ellipsePath(cr, tx, hz - 160, 11, 11);
    setColor(cr, Rgb::hex(0xE8DCB8), 0.8);
    cairo_fill(cr);
    // The river.
    cairo_rectangle(cr, 0, hz, W, H - hz);
    fillLinear(cr, 0, hz, 0, H, {{0, mix(fog, Rgb::hex(0x8A8A88), 0.3)}, {1, g.color("water", Rgb::hex(0x4A5058))}});
    Rng rip = a.rng.fork("ripples");
    ripples(cr, 0, W, hz + 4, H, Rgb::hex(0xE0D8C4), Rgb::hex(0x3A4048), rip, 1.0);
    // The bridge, its lamps and its reflection.
    double deck = g.number("deck", hz + 10);
    Rgb stone = g.color("stone", Rgb::hex(0x8A8478));
    reflection(cr, 0, W, hz + 50, 60, Rgb::hex(0x3A3A40), rip, 0.35);
    archBridge(cr, -20, W * 0.72, deck, hz + 56, 4, stone, a.look);
    cairo_t* dc = a.detail ? a.detail : cr;
    for (int i = 0; i < 7; ++i) {
        double lx = 20 + i * W * 0.72 / 7;
        strokeLine(dc, lx, deck - 16, lx, deck - 40, 1.6, Rgb::hex(0x2A2A2E), 0.9);
        softEllipse(dc, lx, deck - 42, 12, 12, Rgb::hex(0xFFD890), 0.5);
        ellipsePath(dc, lx, deck - 42, 2.5, 3);
        setColor(dc, Rgb::hex(0xFFE8B0));
        cairo_fill(dc);
    }
    // The near embankment along the bottom with its wall.
    double quay = g.number("quay", H * 0.8);
    cairo_rectangle(cr, 0, quay, W, H - quay);
    fillLinear(cr, 0, quay, 0, H, {{0, Rgb::hex(0x8A8070)}, {1, Rgb::hex(0x5A5046)}});
    cairo_rectangle(cr, 0, quay - 8, W, 10);
    setColor(cr, Rgb::hex(0x9A9284));
    cairo_fill(cr);
    for (double x = 0; x < W; x += 46) strokeLine(dc, x, quay + 2, x, H, 0.8, Rgb::hex(0x4A4038), 0.4);
    // Banks of fog drifting over the water.
    Rng fr = a.rng.fork("fog");
    for (int i = 0; i < 9; ++i) {
        double y = hz + fr.range(-40, 80);
        cloudStreak(cr, fr.range(0, W), y, fr.range(260, 480), fr.range(18, 36), fog, mix(fog, Rgb::hex(0x9A9AA0), 0.4), fr, 0.55);
    }
}

void sceneRoseGarden(ArtContext& a) {
    cairo_t* cr = a.cr;
    const RecipeNode& g = a.args;
    double W = a.w, H = a.h;
    double hz = g.number("horizon", H * 0.42);
    sky(cr, W, hz, stopsOf(g, "sky", {{0, Rgb::hex(0x7AA0C8)}, {1, Rgb::hex(0xE4E8E0)}}));
    Rng cl = a.rng.fork("clouds");
    clouds(cr, W, hz, 5, Rgb::hex(0xFFFFFA), Rgb::hex(0xA8B4C4), cl);
    // Far trees and a cottage with a thatched roof on the left.
    hills(cr, -10, W + 10, hz, 18, hz + 30, Rgb::hex(0x6A8A5A), Rgb::hex(0x5A7A4A), a.rng.next(), 160);
    Rng tr = a.rng.fork("trees");
    for (int i = 0; i < 7; ++i) tree(cr, tr.range(W * 0.4, W), hz + 14, tr.range(90, 150), Rgb::hex(0x4A7A3A), Rgb::hex(0x4A3A2A), a.look, tr);
    double cx = g.number("cottageX", 40), cw = 260;
    cairo_rectangle(cr, cx, hz - 40, cw, 110);
    fillLinear(cr, cx, 0, cx + cw, 0, {{0, Rgb::hex(0xF2E8D4)}, {1, Rgb::hex(0xCCBEA4)}});
    polygon(cr, {{cx - 14, hz - 36}, {cx + 40, hz - 110}, {cx + cw - 40, hz - 110}, {cx + cw + 14, hz - 36}});
    fillLinear(cr, 0, hz - 110, 0, hz - 36, {{0, Rgb::hex(0xC8A060)}, {1, Rgb::hex(0x8A6A38)}});
    for (int i = 0; i < 4; ++i) {
        cairo_rectangle(cr, cx + 24 + i * 62, hz - 20, 26, 30);
        setColor(cr, Rgb::hex(0x3A4A5A));
        cairo_fill(cr);
        strokeLine(cr, cx + 37 + i * 62, hz - 20, cx + 37 + i * 62, hz + 10, 1.5, Rgb::hex(0xF4F0E4));
    }
    cairo_rectangle(cr, cx + cw * 0.46, hz + 20, 28, 50);
    setColor(cr, Rgb::hex(0x3E5A3A));
    cairo_fill(cr);
    // Lawn and a gravel path from the front to the door.
    cairo_rectangle(cr, 0, hz + 60, W, H - hz - 60);
    fillLinear(cr, 0, hz + 60, 0, H, {{0, Rgb::hex(0x7AA04A)}, {1, Rgb::hex(0x4E7A34)}});
    cairo_rectangle(cr, 0, hz + 30, W, 34);
    setColor(cr, Rgb::hex(0x6A8A48));
    cairo_fill(cr);
    double px = cx + cw * 0.5 + 14;
    polygon(cr, {{px - 18, hz + 70}, {px + 18, hz + 70}, {W * 0.56, H + 4}, {W * 0.3, H + 4}});
    fillLinear(cr, 0, hz + 70, 0, H, {{0, Rgb::hex(0xD8C8A8)}, {1, Rgb::hex(0xB8A480)}});
    // A clipped hedge along the back of the lawn and rose beds either side of the path.
    cairo_rectangle(cr, cx + cw + 20, hz + 22, W - cx - cw - 20, 44);
    fillLinear(cr, 0, hz + 22, 0, hz + 66, {{0, Rgb::hex(0x4E7A3A)}, {1, Rgb::hex(0x2E4A26)}});
    Rng rs = a.rng.fork("roses");
    for (int i = 0; i < 200; ++i) {
        double t = rs.unit();
        double y = hz + 80 + (H - hz - 80) * t;
        double x = rs.chance(0.5) ? rs.range(0, W * 0.28 - 40 * t) : rs.range(W * 0.6 + 40 * t, W);
        double r = 3 + 6 * t;
        blobPath(cr, x, y, r * 2, r * 1.4, 0.3, rs, 8);
        setColor(cr, Rgb::hex(0x3E6A30), 0.8);
        cairo_fill(cr);
        if (rs.chance(0.5)) {
            ellipsePath(cr, x, y - r * 0.5, r * 0.7, r * 0.7);
            setColor(cr, rs.chance(0.5) ? Rgb::hex(0xD8344A) : Rgb::hex(0xF4A0B0));
            cairo_fill(cr);
        }
    }
    // An arch of climbing roses over the path.
    double ax = g.number("archX", W * 0.31), aw = 150, ay = H * 0.52;
    for (int s = -1; s <= 1; s += 2) strokeLine(cr, ax + s * aw / 2, ay, ax + s * aw / 2, ay + 150, 7, Rgb::hex(0xE8E2D6));
    cairo_arc(cr, ax, ay, aw / 2, M_PI, 2 * M_PI);
    cairo_set_line_width(cr, 7);
    setColor(cr, Rgb::hex(0xE8E2D6));
    cairo_stroke(cr);
    Rng cl2 = a.rng.fork("climbers");
    for (int i = 0; i < 70; ++i) {
        double t = cl2.unit() * 2 - 1;
        double qx, qy;
        if (std::abs(t) < 0.5) {
            double ang = M_PI + (t + 0.5) * M_PI;
            qx = ax + std::cos(ang) * aw / 2;
            qy = ay + std::sin(ang) * aw / 2;
        } else {
            qx = ax + (t < 0 ? -aw / 2 : aw / 2);
            qy = ay + (std::abs(t) - 0.5) * 2 * 150;
        }
        blobPath(cr, qx + cl2.range(-6, 6), qy + cl2.range(-6, 6), 8, 6, 0.3, cl2, 8);
        setColor(cr, Rgb::hex(0x3E6A30), 0.9);
        cairo_fill(cr);
        if (cl2.chance(0.55)) {
            ellipsePath(cr, qx + cl2.range(-6, 6), qy + cl2.range(-6, 6), 4, 4);
            setColor(cr, cl2.chance(0.5) ? Rgb::hex(0xE8344A) : Rgb::hex(0xF8B0C0));
            cairo_fill(cr);
        }
    }
}

// --- France -------------------------------------------------------------------------------

void sceneRiverPicnic(ArtContext& a) {
    cairo_t* cr = a.cr;
    const RecipeNode& g = a.args;
    double W = a.w, H = a.h;
    double hz = g.number("horizon", H * 0.38);
    sky(cr, W, hz, stopsOf(g, "sky", {{0, Rgb::hex(0x6A9AD0)}, {1, Rgb::hex(0xE8EEE8)}}));
    Rng cl = a.rng.fork("clouds");
    clouds(cr, W, hz, 6, Rgb::hex(0xFFFEF6), Rgb::hex(0xB0B8D0), cl);
    // The far bank: poplars and a village with a church.
    Rng tr = a.rng.fork("trees");
    hills(cr, -10, W + 10, hz, 12, hz + 20, Rgb::hex(0x7A9A6A), Rgb::hex(0x6A8A5A), a.rng.next(), 120);
    for (int i = 0; i < 9; ++i) {
        double x = tr.range(0, W), h = tr.range(60, 110);
        ellipsePath(cr, x, hz + 8 - h / 2, h * 0.14, h / 2);
        setColor(cr, mix(Rgb::hex(0x4A7A3A), Rgb::hex(0xA8B8A8), 0.3));
        cairo_fill(cr);
    }
    house(cr, W * 0.62, hz + 12, 60, 34, Rgb::hex(0xF0E4CC), Rgb::hex(0xB8583A), "gable", a.look);
    house(cr, W * 0.69, hz + 12, 44, 28, Rgb::hex(0xE8DCC4), Rgb::hex(0xA84A30), "gable", a.look);
    cairo_rectangle(cr, W * 0.58, hz - 56, 16, 68);
    setColor(cr, Rgb::hex(0xE0D4BC));
    cairo_fill(cr);
    polygon(cr, {{W * 0.58 - 2, hz - 56}, {W * 0.58 + 8, hz - 84}, {W * 0.58 + 18, hz - 56}});
    setColor(cr, Rgb::hex(0x6A6A80));
    cairo_fill(cr);
    // The river, bright with sky, across the middle.
    double rb = g.number("riverBottom", H * 0.62);
    cairo_rectangle(cr, 0, hz + 14, W, rb - hz - 14);
    fillLinear(cr, 0, hz + 14, 0, rb, {{0, Rgb::hex(0xA8C4DC)}, {1, Rgb::hex(0x5A8AB0)}});
    Rng rip = a.rng.fork("ripples");
    ripples(cr, 0, W, hz + 16, rb, Rgb::hex(0xF4F4EA), Rgb::hex(0x3A6A90), rip, 1.6);
    // The near bank: sunlit grass with dappled shade under a big tree on the left.
    cairo_move_to(cr, -5, rb + 10);
    for (double x = -5; x <= W + 5; x += 20) cairo_line_to(cr, x, rb + 6 * std::sin(x / 70.0));
    cairo_line_to(cr, W + 5, H + 5);
    cairo_line_to(cr, -5, H + 5);
    cairo_close_path(cr);
    fillLinear(cr, 0, rb, 0, H, {{0, Rgb::hex(0x9AC05A)}, {1, Rgb::hex(0x5E8A36)}});
    Rng sh = a.rng.fork("shade");
    for (int i = 0; i < 40; ++i) {
        softEllipse(cr, sh.range(0, W * 0.5), sh.range(rb + 20, H), sh.range(20, 60), sh.range(8, 20), Rgb::hex(0x2E4A26), 0.25);
    }
    // The picnic cloth, laid out in the middle of the bank.
    double px = g.number("clothX", W * 0.36), py = g.number("clothY", H * 0.8);
    polygon(cr, {{px - 150, py + 50}, {px + 170, py + 56}, {px + 120, py - 22}, {px - 110, py - 26}});
    setColor(cr, Rgb::hex(0xF4F0E4));
    cairo_fill(cr);
    cairo_t* dc = a.detail ? a.detail : cr;
    for (int i = 0; i < 9; ++i) {
        double t = i / 8.0;
        strokeLine(dc, px - 150 + 40 * t, py + 50 - 76 * t, px + 170 - 50 * t, py + 56 - 78 * t, 3, Rgb::hex(0xC83A3A), 0.55);
        strokeLine(dc, px - 150 + 320 * t, py + 50 + 6 * t, px - 110 + 230 * t, py - 26 + 4 * t, 3, Rgb::hex(0xC83A3A), 0.55);
    }
    Look l = a.look;
    Rng big = a.rng.fork("bigtree");
    tree(cr, 60, H * 0.72, 380, Rgb::hex(0x4E7A34), Rgb::hex(0x4A3A2A), l, big);
}

// --- Netherlands -----------------------------------------------------------------------------

void sceneTulipFields(ArtContext& a) {
    cairo_t* cr = a.cr;
    const RecipeNode& g = a.args;
    double W = a.w, H = a.h;
    double hz = g.number("horizon", H * 0.4);
    sky(cr, W, hz, stopsOf(g, "sky", {{0, Rgb::hex(0x5A8AC8)}, {1, Rgb::hex(0xDCE6EE)}}));
    Rng cl = a.rng.fork("clouds");
    clouds(cr, W, hz, 7, Rgb::hex(0xFFFFFF), Rgb::hex(0x9AA8C0), cl);
    // A far line of farms and trees, and a big windmill on the left.
    Rng tr = a.rng.fork("trees");
    for (int i = 0; i < 14; ++i) {
        double x = tr.range(0, W), h = tr.range(20, 40);
        blobPath(cr, x, hz - h * 0.3, h * 0.8, h * 0.5, 0.3, tr, 9);
        setColor(cr, Rgb::hex(0x5A7A5A));
        cairo_fill(cr);
    }
    house(cr, W * 0.7, hz + 2, 50, 26, Rgb::hex(0xA8523A), Rgb::hex(0x5A3A2A), "step", a.look);
    house(cr, W * 0.77, hz + 2, 36, 22, Rgb::hex(0x9A4A34), Rgb::hex(0x5A3A2A), "gable", a.look);
    cairo_t* dc = a.detail ? a.detail : cr;
    double mx = g.number("millX", W * 0.2), my = hz + 6;
    polygon(cr, {{mx - 34, my}, {mx - 20, my - 120}, {mx + 20, my - 120}, {mx + 34, my}});
    fillLinear(cr, mx - 34, 0, mx + 34, 0, {{0, Rgb::hex(0x6A5A50)}, {1, Rgb::hex(0x3A302A)}});
    polygon(cr, {{mx - 24, my - 118}, {mx, my - 150}, {mx + 24, my - 118}});
    setColor(cr, Rgb::hex(0x3A2E28));
    cairo_fill(cr);
    for (int i = 0; i < 4; ++i) {
        double ang = i * M_PI / 2 + 0.5;
        double ex = mx + std::cos(ang) * 110, ey = my - 126 + std::sin(ang) * 110;
        strokeLine(dc, mx, my - 126, ex, ey, 3, Rgb::hex(0x3A2E28), 0.95);
        double nx = -std::sin(ang) * 14, ny = std::cos(ang) * 14;
        polygon(dc, {{mx + std::cos(ang) * 24, my - 126 + std::sin(ang) * 24}, {ex, ey}, {ex + nx, ey + ny},
                     {mx + std::cos(ang) * 24 + nx, my - 126 + std::sin(ang) * 24 + ny}});
        setColor(dc, Rgb::hex(0xE8E0D0), 0.75);
        cairo_fill(dc);
    }
    // Stripes of tulips running to the horizon, a canal down the right.
    std::vector<Rgb> rows = g.colors("rows");
    if (rows.empty()) rows = {Rgb::hex(0xD8283A), Rgb::hex(0xF2C030), Rgb::hex(0xE85A9A), Rgb::hex(0xF4F0E8), Rgb::hex(0xE86A2A)};
    fieldRows(cr, W, H, hz, g.number("vanish", W * 0.45), 26, rows, Rgb::hex(0x4A6A30));
    Rng bl = a.rng.fork("blooms");
    for (int i = 0; i < 1400; ++i) {
        double t = bl.unit();
        double y = hz + 4 + (H - hz) * t * t;
        double x = bl.range(0, W);
        double r = 0.8 + 3.5 * t * t;
        ellipsePath(cr, x, y, r, r * 1.2);
        setColor(cr, Rgb::hex(0xFFFFFF), 0.12);
        cairo_fill(cr);
    }
    double cx = g.number("canalX", W * 0.84);
    polygon(cr, {{cx, hz + 2}, {cx + 8, hz + 2}, {W + 200, H}, {W + 40, H}});
    fillLinear(cr, 0, hz, 0, H, {{0, Rgb::hex(0xB8CCE0)}, {1, Rgb::hex(0x5A84A8)}});
}

void sceneCanalDusk(ArtContext& a) {
    cairo_t* cr = a.cr;
    const RecipeNode& g = a.args;
    double W = a.w, H = a.h;
    double hz = g.number("horizon", H * 0.5);
    sky(cr, W, hz, stopsOf(g, "sky", {{0, Rgb::hex(0x2E3A6A)}, {0.5, Rgb::hex(0x9A6A8A)}, {0.85, Rgb::hex(0xF0A060)}, {1, Rgb::hex(0xF8D090)}}));
    Rng cl = a.rng.fork("clouds");
    for (int i = 0; i < 10; ++i) {
        cloudStreak(cr, cl.range(0, W), hz * cl.range(0.2, 0.8), cl.range(200, 380), cl.range(8, 16), Rgb::hex(0xF8B888),
                    Rgb::hex(0x5A4A7A), cl, 0.7);
    }
    // Flat polder to the horizon with windmills in silhouette.
    Rgb sil = g.color("silhouette", Rgb::hex(0x2A2438));
    cairo_rectangle(cr, 0, hz - 6, W, 8);
    setColor(cr, sil);
    cairo_fill(cr);
    cairo_t* dc = a.detail ? a.detail : cr;
    std::vector<double> mills = g.numbers("mills");
    if (mills.empty()) mills = {0.12, 0.5, 0.72};
    for (std::size_t i = 0; i < mills.size(); ++i) {
        double mx = W * mills[i], s = i == 0 ? 1.4 : 0.7 + 0.15 * static_cast<double>(i % 2);
        polygon(cr, {{mx - 20 * s, hz}, {mx - 12 * s, hz - 80 * s}, {mx + 12 * s, hz - 80 * s}, {mx + 20 * s, hz}});
        setColor(cr, sil);
        cairo_fill(cr);
        for (int k = 0; k < 4; ++k) {
            double ang = k * M_PI / 2 + 0.3 * static_cast<double>(i);
            double ex = mx + std::cos(ang) * 70 * s, ey = hz - 84 * s + std::sin(ang) * 70 * s;
            strokeLine(dc, mx, hz - 84 * s, ex, ey, 2.2 * s, sil, 0.95);
            double nx = -std::sin(ang) * 9 * s, ny = std::cos(ang) * 9 * s;
            for (int l = 1; l < 6; ++l) {
                double t = l / 6.0;
                double lx = mx + (ex - mx) * t, ly = hz - 84 * s + (ey - hz + 84 * s) * t;
                strokeLine(dc, lx, ly, lx + nx, ly + ny, 0.9, sil, 0.9);
            }
            strokeLine(dc, mx + (ex - mx) * 0.2 + nx, hz - 84 * s + (ey - hz + 84 * s) * 0.2 + ny, ex + nx, ey + ny, 0.9, sil, 0.9);
        }
    }
    // The canal, taking the sky's colours.
    cairo_rectangle(cr, 0, hz, W, H - hz);
    fillLinear(cr, 0, hz, 0, H, {{0, Rgb::hex(0xE8A070)}, {0.4, Rgb::hex(0x8A6A8A)}, {1, Rgb::hex(0x2E3458)}});
    Rng rip = a.rng.fork("ripples");
    ripples(cr, 0, W, hz + 2, H, Rgb::hex(0xF8C890), Rgb::hex(0x2A2848), rip, 1.3);
    for (std::size_t i = 0; i < mills.size(); ++i) reflection(cr, W * mills[i] - 16, W * mills[i] + 16, hz + 2, 60, sil, rip, 0.45);
    // Gabled houses along the far bank with lit windows, mirrored in the water.
    Rng hs = a.rng.fork("houses");
    double x = -10, bank = hz + 6;
    while (x < W * 0.36) {
        double w = hs.range(46, 70), h = hs.range(70, 100);
        // Drawn as fine detail: the stepped gables keep their crisp silhouette against the sky.
        house(dc, x, bank, w, h, mix(sil, Rgb::hex(0x6A4A4A), 0.5), sil, "step", a.look, Rgb::hex(0xF8C060));
        reflection(cr, x, x + w, bank, h * 0.6, mix(sil, Rgb::hex(0x6A4A4A), 0.3), rip, 0.4);
        x += w + 2;
    }
    cairo_rectangle(dc, -5, bank - 2, W * 0.38, 6);
    setColor(dc, sil);
    cairo_fill(dc);
    // The near towpath along the bottom with its grass.
    double path = g.number("towpath", H * 0.84);
    cairo_move_to(cr, -5, path);
    for (double xx = -5; xx <= W + 5; xx += 24) cairo_line_to(cr, xx, path + 4 * std::sin(xx / 90.0));
    cairo_line_to(cr, W + 5, H + 5);
    cairo_line_to(cr, -5, H + 5);
    cairo_close_path(cr);
    fillLinear(cr, 0, path, 0, H, {{0, Rgb::hex(0x4A4A3A)}, {1, Rgb::hex(0x2A2A26)}});
    Rng gr = a.rng.fork("reeds");
    grassTufts(cr, 0, W, path + 2, 26, Rgb::hex(0x5A5A3A), gr, 0.8);
}

// --- Ukraine -------------------------------------------------------------------------------

void sceneSunflowerRoad(ArtContext& a) {
    cairo_t* cr = a.cr;
    const RecipeNode& g = a.args;
    double W = a.w, H = a.h;
    double hz = g.number("horizon", H * 0.42);
    sky(cr, W, hz, stopsOf(g, "sky", {{0, Rgb::hex(0x2E6AC0)}, {1, Rgb::hex(0xB8D4EC)}}));
    Rng cl = a.rng.fork("clouds");
    clouds(cr, W, hz, 6, Rgb::hex(0xFFFFFF), Rgb::hex(0x90A8C8), cl, 0.95);
    // A white hut with a thatched roof and poplars beyond the field.
    Rng tr = a.rng.fork("trees");
    hills(cr, -10, W + 10, hz, 10, hz + 10, Rgb::hex(0x6A8A4A), Rgb::hex(0x5A7A40), a.rng.next(), 200);
    for (int i = 0; i < 6; ++i) {
        double x = W * (0.52 + 0.08 * i) + tr.range(-10, 10), h = tr.range(90, 140);
        ellipsePath(cr, x, hz + 4 - h / 2, h * 0.12, h / 2);
        setColor(cr, Rgb::hex(0x3E6A30));
        cairo_fill(cr);
    }
    double hx = g.number("hutX", W * 0.7), hy = hz + 8;
    cairo_rectangle(cr, hx, hy - 40, 110, 40);
    fillLinear(cr, hx, 0, hx + 110, 0, {{0, Rgb::hex(0xFBF8F0)}, {1, Rgb::hex(0xD8D4CC)}});
    polygon(cr, {{hx - 12, hy - 38}, {hx + 20, hy - 78}, {hx + 90, hy - 78}, {hx + 122, hy - 38}});
    fillLinear(cr, 0, hy - 78, 0, hy - 38, {{0, Rgb::hex(0xC8A060)}, {1, Rgb::hex(0x8A6A38)}});
    for (int i = 0; i < 2; ++i) {
        cairo_rectangle(cr, hx + 18 + i * 54, hy - 30, 18, 16);
        setColor(cr, Rgb::hex(0x3A5A8A));
        cairo_fill(cr);
    }
    // The field of sunflowers: rows of heads, smaller to the back.
    double road = g.number("roadX", W * 0.42);
    cairo_rectangle(cr, 0, hz, W, H - hz);
    fillLinear(cr, 0, hz, 0, H, {{0, Rgb::hex(0x7A9A3A)}, {1, Rgb::hex(0x3E6A24)}});
    Rng sf = a.rng.fork("sunflowers");
    for (int i = 0; i < 1700; ++i) {
        double t = std::sqrt(sf.unit());
        double y = hz + 6 + (H - hz) * t;
        double x = sf.range(-10, W + 10);
        double halfRoad = 6 + 150 * t;
        double rx = road + (W * 0.5 - road) * (1 - t) * 0.0;
        if (std::abs(x - rx) < halfRoad) continue;
        double r = 1.5 + 9 * t * t;
        ellipsePath(cr, x, y, r * 1.2, r);
        setColor(cr, shift(Rgb::hex(0xF2B820), sf.range(-6, 6), 0, sf.range(-0.08, 0.06)));
        cairo_fill(cr);
        ellipsePath(cr, x, y, r * 0.45, r * 0.4);
        setColor(cr, Rgb::hex(0x5A3A18));
        cairo_fill(cr);
    }
    // The dirt road running into the distance.
    polygon(cr, {{road - 4, hz + 2}, {road + 4, hz + 2}, {road + 150, H + 4}, {road - 150, H + 4}});
    fillLinear(cr, 0, hz, 0, H, {{0, Rgb::hex(0xC8B08A)}, {1, Rgb::hex(0xA88A5A)}});
    Rng rr = a.rng.fork("ruts");
    for (int i = 0; i < 60; ++i) {
        double t = rr.unit();
        double y = hz + (H - hz) * t;
        softEllipse(cr, road + rr.range(-120, 120) * t, y, 10 * t + 2, 3 * t + 1, Rgb::hex(0x7A6040), 0.3);
    }
}

void sceneWheatField(ArtContext& a) {
    cairo_t* cr = a.cr;
    const RecipeNode& g = a.args;
    double W = a.w, H = a.h;
    double hz = g.number("horizon", H * 0.36);
    sky(cr, W, hz, stopsOf(g, "sky", {{0, Rgb::hex(0x4A7AB8)}, {1, Rgb::hex(0xF0E4C4)}}));
    Rng cl = a.rng.fork("clouds");
    clouds(cr, W, hz, 5, Rgb::hex(0xFFF8EC), Rgb::hex(0xB0A8B8), cl, 0.9);
    // A village on the rise: white huts and the green domes of a wooden church.
    hills(cr, -10, W + 10, hz, 22, hz + 20, Rgb::hex(0x8A9A5A), Rgb::hex(0x7A8A4A), a.rng.next(), 240);
    Rng vh = a.rng.fork("village");
    for (int i = 0; i < 6; ++i) {
        double x = W * (0.08 + 0.09 * i) + vh.range(-8, 8);
        cairo_rectangle(cr, x, hz - 12, 34, 16);
        setColor(cr, Rgb::hex(0xF4F0E6));
        cairo_fill(cr);
        polygon(cr, {{x - 5, hz - 10}, {x + 17, hz - 28}, {x + 39, hz - 10}});
        setColor(cr, Rgb::hex(0xA88A50));
        cairo_fill(cr);
    }
    double chx = g.number("churchX", W * 0.74);
    cairo_rectangle(cr, chx, hz - 40, 50, 44);
    setColor(cr, Rgb::hex(0xF4F0E6));
    cairo_fill(cr);
    for (int d = 0; d < 3; ++d) {
        double dx = chx + 8 + d * 17, dy = hz - 40 - (d == 1 ? 24 : 10);
        cairo_rectangle(cr, dx - 5, dy, 10, hz - 40 - dy + 2);
        setColor(cr, Rgb::hex(0xE8E4DA));
        cairo_fill(cr);
        ellipsePath(cr, dx, dy, 8, 10);
        setColor(cr, Rgb::hex(0x3E8A5A));
        cairo_fill(cr);
    }
    // Golden wheat, the reaped part in the front with stubble lines.
    double reaped = g.number("reaped", H * 0.62);
    cairo_rectangle(cr, 0, hz + 10, W, reaped - hz - 10);
    fillLinear(cr, 0, hz, 0, reaped, {{0, Rgb::hex(0xE8C060)}, {1, Rgb::hex(0xD8A03A)}});
    Rng wh = a.rng.fork("wheat");
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 2200; ++i) {
        double t = wh.unit();
        double y = hz + 12 + (reaped - hz - 12) * t;
        double x = wh.range(-5, W + 5), len = 3 + 16 * t;
        strokeLine(cr, x, y, x + wh.range(-2, 2), y - len, 0.6 + t, shift(Rgb::hex(0xE8B848), wh.range(-6, 6), 0, wh.range(-0.1, 0.1)), 0.8);
    }
    cairo_rectangle(cr, 0, reaped, W, H - reaped);
    fillLinear(cr, 0, reaped, 0, H, {{0, Rgb::hex(0xD8B870)}, {1, Rgb::hex(0xB8944A)}});
    for (int i = 0; i < 60; ++i) {
        double t = i / 60.0;
        double y = reaped + 4 + (H - reaped) * t * t;
        strokeLine(cr, 0, y, W, y + wh.range(-3, 3), 0.8 + 1.5 * t, Rgb::hex(0xA88440), 0.4);
    }
}

// --- Spain --------------------------------------------------------------------------------

void sceneOrangeGrove(ArtContext& a) {
    cairo_t* cr = a.cr;
    const RecipeNode& g = a.args;
    double W = a.w, H = a.h;
    double hz = g.number("horizon", H * 0.4);
    sky(cr, W, hz, stopsOf(g, "sky", {{0, Rgb::hex(0x2A6AC8)}, {1, Rgb::hex(0xC8DCEC)}}));
    // Dry hills and a whitewashed village on a slope.
    hills(cr, -10, W + 10, hz - 10, 40, hz + 30, Rgb::hex(0xB89A70), Rgb::hex(0xA88A5A), a.rng.next(), 260);
    Rng vh = a.rng.fork("village");
    for (int i = 0; i < 14; ++i) {
        double x = W * 0.55 + vh.range(0, W * 0.4), y = hz - 20 + vh.range(-14, 24);
        double w = vh.range(20, 40), h = vh.range(14, 26);
        cairo_rectangle(cr, x, y - h, w, h);
        setColor(cr, Rgb::hex(0xFBF8F0));
        cairo_fill(cr);
        cairo_rectangle(cr, x - 2, y - h - 5, w + 4, 6);
        setColor(cr, Rgb::hex(0xC8603A));
        cairo_fill(cr);
        cairo_rectangle(cr, x + w * 0.4, y - h * 0.6, 5, 7);
        setColor(cr, Rgb::hex(0x3A3A4A));
        cairo_fill(cr);
    }
    // The grove: red earth with rows of round orange trees and their shadows.
    cairo_rectangle(cr, 0, hz + 10, W, H - hz - 10);
    fillLinear(cr, 0, hz, 0, H, {{0, Rgb::hex(0xC8885A)}, {1, Rgb::hex(0xA8603A)}});
    Rng tr = a.rng.fork("trees");
    for (int row = 0; row < 5; ++row) {
        double t = row / 4.0;
        double y = hz + 24 + (H * 0.55 - hz) * t * t;
        double size = 24 + 46 * t;
        for (double x = tr.range(-20, 20); x < W + 40; x += size * 2.4) {
            softEllipse(cr, x + size * 0.5, y + 4, size * 1.1, size * 0.25, Rgb::hex(0x5A2A1A), 0.45);
            blobPath(cr, x, y - size * 0.8, size, size * 0.85, 0.2, tr, 11);
            fillRadial(cr, x - size * 0.3, y - size * 1.1, 1, size * 1.2, {{0, Rgb::hex(0x6A9A3A)}, {1, Rgb::hex(0x2E5A24)}});
            for (int f = 0; f < 6; ++f) {
                ellipsePath(cr, x + tr.range(-size * 0.7, size * 0.7), y - size * 0.8 + tr.range(-size * 0.6, size * 0.5), size * 0.08, size * 0.08);
                setColor(cr, Rgb::hex(0xF4902A));
                cairo_fill(cr);
            }
        }
    }
    // A whitewashed farmhouse on the left with an arched door.
    double fx = g.number("farmX", 20);
    cairo_rectangle(cr, fx, H * 0.38, 240, 150);
    fillLinear(cr, fx, 0, fx + 240, 0, {{0, Rgb::hex(0xFFFDF6)}, {1, Rgb::hex(0xDCD6CC)}});
    polygon(cr, {{fx - 10, H * 0.38}, {fx + 40, H * 0.3}, {fx + 200, H * 0.3}, {fx + 250, H * 0.38}});
    fillLinear(cr, 0, H * 0.3, 0, H * 0.38, {{0, Rgb::hex(0xD8703A)}, {1, Rgb::hex(0xA84A2A)}});
    cairo_move_to(cr, fx + 100, H * 0.38 + 150);
    cairo_line_to(cr, fx + 100, H * 0.38 + 90);
    cairo_arc(cr, fx + 120, H * 0.38 + 90, 20, M_PI, 2 * M_PI);
    cairo_line_to(cr, fx + 140, H * 0.38 + 150);
    cairo_close_path(cr);
    setColor(cr, Rgb::hex(0x5A3A2A));
    cairo_fill(cr);
    cairo_rectangle(cr, fx + 30, H * 0.38 + 40, 30, 30);
    cairo_rectangle(cr, fx + 180, H * 0.38 + 40, 30, 30);
    setColor(cr, Rgb::hex(0x2E5A7A));
    cairo_fill(cr);
    // Sun-baked path along the bottom.
    cairo_rectangle(cr, 0, H * 0.86, W, H * 0.14);
    fillLinear(cr, 0, H * 0.86, 0, H, {{0, Rgb::hex(0xE0B888)}, {1, Rgb::hex(0xC89A68)}});
}

void scenePlaza(ArtContext& a) {
    cairo_t* cr = a.cr;
    const RecipeNode& g = a.args;
    double W = a.w, H = a.h;
    double hz = g.number("horizon", H * 0.5);
    sky(cr, W, H * 0.3, stopsOf(g, "sky", {{0, Rgb::hex(0x1E5AB8)}, {1, Rgb::hex(0x8AB8E0)}}));
    // The church with its bell tower in the middle, arcaded houses either side.
    double cx = g.number("churchX", W * 0.5);
    cairo_rectangle(cr, cx - 90, hz - 170, 180, 172);
    fillLinear(cr, cx - 90, 0, cx + 90, 0, {{0, Rgb::hex(0xF0D8B0)}, {1, Rgb::hex(0xC8A880)}});
    polygon(cr, {{cx - 96, hz - 170}, {cx, hz - 230}, {cx + 96, hz - 170}});
    setColor(cr, Rgb::hex(0xE0C49A));
    cairo_fill(cr);
    cairo_rectangle(cr, cx + 40, hz - 250, 48, 90);
    fillLinear(cr, cx + 40, 0, cx + 88, 0, {{0, Rgb::hex(0xF4DCB4)}, {1, Rgb::hex(0xC0A078)}});
    polygon(cr, {{cx + 36, hz - 250}, {cx + 64, hz - 284}, {cx + 92, hz - 250}});
    setColor(cr, Rgb::hex(0xB85A3A));
    cairo_fill(cr);
    cairo_move_to(cr, cx + 52, hz - 210);
    cairo_arc(cr, cx + 64, hz - 222, 12, M_PI, 2 * M_PI);
    cairo_line_to(cr, cx + 76, hz - 196);
    cairo_line_to(cr, cx + 52, hz - 196);
    cairo_close_path(cr);
    setColor(cr, Rgb::hex(0x3A2A24));
    cairo_fill(cr);
    cairo_move_to(cr, cx - 30, hz + 2);
    cairo_line_to(cr, cx - 30, hz - 60);
    cairo_arc(cr, cx, hz - 60, 30, M_PI, 2 * M_PI);
    cairo_line_to(cr, cx + 30, hz + 2);
    cairo_close_path(cr);
    setColor(cr, Rgb::hex(0x4A3428));
    cairo_fill(cr);
    ellipsePath(cr, cx, hz - 120, 18, 18);
    setColor(cr, Rgb::hex(0x7A6A8A));
    cairo_fill(cr);
    std::vector<Rgb> walls = {Rgb::hex(0xF4E0C0), Rgb::hex(0xE8B890), Rgb::hex(0xF8F0E0), Rgb::hex(0xE0C890)};
    for (int side = 0; side < 2; ++side) {
        double x0 = side == 0 ? 0 : cx + 96, x1 = side == 0 ? cx - 96 : W;
        int n = 0;
        for (double x = x0; x < x1; x += 110, ++n) {
            double w = std::min(110.0, x1 - x);
            Rgb wall = walls[static_cast<std::size_t>(n + side) % walls.size()];
            cairo_rectangle(cr, x, hz - 200, w, 202);
            fillLinear(cr, x, 0, x + w, 0, {{0, wall}, {1, darken(wall, 0.12)}});
            cairo_rectangle(cr, x - 2, hz - 206, w + 4, 8);
            setColor(cr, Rgb::hex(0xB86A40));
            cairo_fill(cr);
            for (int k = 0; k < 3; ++k) {
                double wx = x + 12 + k * 32;
                if (wx + 18 > x + w) break;
                cairo_t* wc = a.detail ? a.detail : cr;
                cairo_rectangle(wc, wx, hz - 180, 18, 30);
                cairo_rectangle(wc, wx, hz - 130, 18, 30);
                setColor(wc, Rgb::hex(0x2E5A5A), 0.85);
                cairo_fill(wc);
                cairo_rectangle(wc, wx - 3, hz - 152, 24, 4);
                setColor(wc, Rgb::hex(0x2A2A2A), 0.85);
                cairo_fill(wc);
                cairo_move_to(cr, wx - 4, hz + 2);
                cairo_line_to(cr, wx - 4, hz - 50);
                cairo_arc(cr, wx + 9, hz - 50, 13, M_PI, 2 * M_PI);
                cairo_line_to(cr, wx + 22, hz + 2);
                cairo_close_path(cr);
                setColor(cr, darken(wall, 0.45));
                cairo_fill(cr);
            }
        }
    }
    // The paved square in hard noon light, and the fountain's basin in the middle.
    cairo_rectangle(cr, 0, hz, W, H - hz);
    fillLinear(cr, 0, hz, 0, H, {{0, Rgb::hex(0xE8D0A8)}, {1, Rgb::hex(0xD0B088)}});
    cairo_t* dc = a.detail ? a.detail : cr;
    for (int i = 0; i < 14; ++i) {
        double t = i / 14.0;
        double y = hz + (H - hz) * t * t;
        strokeLine(dc, 0, y, W, y, 0.8, Rgb::hex(0xA88A64), 0.35);
    }
    for (int i = -12; i <= 12; ++i) strokeLine(dc, cx + i * 12, hz, cx + i * 130, H, 0.8, Rgb::hex(0xA88A64), 0.3);
    double fy = g.number("fountainY", hz + 110);
    ellipsePath(cr, cx, fy, 150, 34);
    fillLinear(cr, 0, fy - 34, 0, fy + 34, {{0, Rgb::hex(0xD8C8A8)}, {1, Rgb::hex(0x9A8A70)}});
    ellipsePath(cr, cx, fy - 6, 136, 26);
    fillLinear(cr, 0, fy - 30, 0, fy + 20, {{0, Rgb::hex(0x8AB8D0)}, {1, Rgb::hex(0x4A7AA0)}});
    cairo_rectangle(cr, cx - 10, fy - 80, 20, 70);
    setColor(cr, Rgb::hex(0xC8B898));
    cairo_fill(cr);
    ellipsePath(cr, cx, fy - 80, 40, 10);
    setColor(cr, Rgb::hex(0xD8C8A8));
    cairo_fill(cr);
    for (int s = -1; s <= 1; s += 2) {
        cairo_move_to(dc, cx, fy - 100);
        cairo_curve_to(dc, cx + s * 30, fy - 130, cx + s * 60, fy - 90, cx + s * 70, fy - 20);
        cairo_set_line_width(dc, 2.5);
        setColor(dc, Rgb::hex(0xE8F4FF), 0.75);
        cairo_stroke(dc);
    }
    // Short noon shadows under the arcades.
    cairo_rectangle(cr, 0, hz, W, 14);
    setColor(cr, Rgb::hex(0x5A3A2A), 0.3);
    cairo_fill(cr);
}

// --- Austria ------------------------------------------------------------------------------

void sceneAlpineLake(ArtContext& a) {
    cairo_t* cr = a.cr;
    const RecipeNode& g = a.args;
    double W = a.w, H = a.h;
    double hz = g.number("horizon", H * 0.5);
    sky(cr, W, hz, stopsOf(g, "sky", {{0, Rgb::hex(0x3A72C0)}, {1, Rgb::hex(0xD8E8F4)}}));
    Rng cl = a.rng.fork("clouds");
    clouds(cr, W, hz * 0.6, 4, Rgb::hex(0xFFFFFF), Rgb::hex(0xA8B8D0), cl, 0.85);
    // Mountains behind, darker ridges in front, pine forest down to the shore.
    Rng mr = a.rng.fork("mountains");
    Look far = a.look;
    mountains(cr, -40, W + 40, hz, g.number("peaks", 230), Rgb::hex(0x8A9AB8), Rgb::hex(0xF8FAFF), mr, far);
    hills(cr, -10, W + 10, hz - 30, 40, hz + 4, Rgb::hex(0x4A6A5A), Rgb::hex(0x3A5A4A), a.rng.next(), 150);
    Rng pf = a.rng.fork("pines");
    for (int i = 0; i < 90; ++i) {
        double x = pf.range(-10, W + 10), h = pf.range(18, 40), y = hz + pf.range(-10, 4);
        polygon(cr, {{x, y - h}, {x + h * 0.3, y}, {x - h * 0.3, y}});
        setColor(cr, shift(Rgb::hex(0x2E4A3A), pf.range(-6, 6), 0, pf.range(-0.05, 0.05)));
        cairo_fill(cr);
    }
    // The still lake mirroring the mountains.
    double shore = g.number("shore", H * 0.78);
    cairo_rectangle(cr, 0, hz, W, shore - hz);
    fillLinear(cr, 0, hz, 0, shore, {{0, Rgb::hex(0x5A7A8A)}, {0.5, Rgb::hex(0x6A9AB8)}, {1, Rgb::hex(0x3A6A8A)}});
    cairo_save(cr);
    cairo_rectangle(cr, 0, hz, W, shore - hz);
    cairo_clip(cr);
    cairo_translate(cr, 0, 2 * hz);
    cairo_scale(cr, 1, -1);
    Rng mr2 = a.rng.fork("mountains");
    cairo_push_group(cr);
    mountains(cr, -40, W + 40, hz, g.number("peaks", 230), Rgb::hex(0x8A9AB8), Rgb::hex(0xF8FAFF), mr2, far);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, 0.35);
    cairo_restore(cr);
    Rng rip = a.rng.fork("ripples");
    ripples(cr, 0, W, hz + 3, shore, Rgb::hex(0xE8F0F4), Rgb::hex(0x2E5A7A), rip, 0.6);
    // A meadow shore in front.
    cairo_move_to(cr, -5, shore);
    for (double x = -5; x <= W + 5; x += 20) cairo_line_to(cr, x, shore - 6 * std::sin(x / 120.0));
    cairo_line_to(cr, W + 5, H + 5);
    cairo_line_to(cr, -5, H + 5);
    cairo_close_path(cr);
    fillLinear(cr, 0, shore, 0, H, {{0, Rgb::hex(0x8AB04A)}, {1, Rgb::hex(0x5A8A34)}});
    Rng fl = a.rng.fork("flowers");
    for (int i = 0; i < 200; ++i) {
        ellipsePath(cr, fl.range(0, W), fl.range(shore + 6, H), 1.6, 1.6);
        setColor(cr, fl.chance(0.5) ? Rgb::hex(0xF8F4E8) : Rgb::hex(0xE8C840), 0.9);
        cairo_fill(cr);
    }
}

}  // namespace

void registerEuropeSceneArt(ArtRegistry& r) {
    r.add("fogbridge", sceneFogBridge);
    r.add("rosegarden", sceneRoseGarden);
    r.add("riverpicnic", sceneRiverPicnic);
    r.add("tulipfields", sceneTulipFields);
    r.add("canaldusk", sceneCanalDusk);
    r.add("sunflowerroad", sceneSunflowerRoad);
    r.add("wheatfield", sceneWheatField);
    r.add("orangegrove", sceneOrangeGrove);
    r.add("plaza", scenePlaza);
    r.add("alpinelake", sceneAlpineLake);
}

}  // namespace assetgen
