// Whole scenes for the level pictures, drawn clean; the picture job then paints them over.
// Each scene reads its composition from the recipe ("horizon", colours ...), so one scene
// function can serve several pictures of a country.
#include <cmath>

#include "art/Art.h"
#include "art/SceneKit.h"
#include "core/Draw.h"

namespace assetgen {

namespace {

std::vector<Stop> skyStops(const RecipeNode& a, const char* key, std::vector<Stop> fallback) {
    std::vector<Rgb> cols = a.colors(key);
    if (cols.empty()) return fallback;
    std::vector<Stop> stops;
    for (std::size_t i = 0; i < cols.size(); ++i) {
        stops.push_back({cols.size() == 1 ? 0.0 : static_cast<double>(i) / (cols.size() - 1), cols[i]});
    }
    return stops;
}

// --- a harbour at dawn ---------------------------------------------------------------------------

void sceneHarbour(ArtContext& a) {
    cairo_t* cr = a.cr;
    const RecipeNode& g = a.args;
    double W = a.w, H = a.h;
    double hz = g.number("horizon", H * 0.5);
    double sunX = g.number("sunX", W * 0.66), sunR = g.number("sunRadius", 24);
    std::vector<Stop> sky = skyStops(g, "sky", {{0, Rgb::hex(0x56679A)}, {0.45, Rgb::hex(0xC69FB6)},
                                                {0.8, Rgb::hex(0xF4C48C)}, {1, Rgb::hex(0xFCE4AE)}});
    Rgb sunC = g.color("sun", Rgb::hex(0xFFF3C8));
    Rgb far = g.color("far", Rgb::hex(0x8479A0));
    Rgb water = g.color("water", Rgb::hex(0x3F4E78));
    Rgb wood = g.color("wood", Rgb::hex(0x6A4A32));

    // Sky and its glow around the rising sun.
    cairo_rectangle(cr, 0, 0, W, hz + 2);
    fillLinear(cr, 0, 0, 0, hz, sky);
    cairo_rectangle(cr, 0, 0, W, hz + 2);
    fillRadial(cr, sunX, hz - 6, 0, W * 0.45, {{0, sunC, 0.85}, {0.15, Rgb::hex(0xFFE2A0), 0.55}, {1, Rgb::hex(0xFFD090), 0}});
    // Streaks of cloud catching the light from below.
    Rng cr1 = a.rng.fork("clouds");
    for (int i = 0; i < 12; ++i) {
        double cy = hz * cr1.range(0.1, 0.8), cx = cr1.range(0, W);
        double w = cr1.range(W * 0.25, W * 0.5), h = cr1.range(8, 16);
        double t = cy / hz;
        Rgb lit = mix(Rgb::hex(0xFFD6B0), Rgb::hex(0xFFE9C2), t);
        Rgb shade = mix(Rgb::hex(0x6E6A98), Rgb::hex(0xB98FA8), t);
        cloudStreak(cr, cx, cy, w, h, lit, shade, cr1, 0.75);
    }
    ellipsePath(cr, sunX, hz - sunR * 0.35, sunR, sunR);
    fillRadial(cr, sunX, hz - sunR * 0.35, 0, sunR, {{0, {1, 1, 1}}, {0.7, sunC}, {1, sunC, 0.9}});

    // Far shore: hills on the left, a town with a spire on the right.
    hills(cr, -10, W * 0.46, hz - 6, 16, hz + 2, far, mix(far, Rgb::hex(0xE8C8B8), 0.25), a.rng.next(), 140);
    double tx0 = W * 0.62, tx1 = W + 10;
    cairo_move_to(cr, tx0, hz + 2);
    double x = tx0;
    Rng town = a.rng.fork("town");
    while (x < tx1) {
        double bw = town.range(14, 30), bh = town.range(8, 22);
        cairo_line_to(cr, x, hz - bh);
        if (town.chance(0.5)) cairo_line_to(cr, x + bw / 2, hz - bh - town.range(4, 9));
        cairo_line_to(cr, x + bw, hz - bh);
        x += bw;
    }
    cairo_line_to(cr, tx1, hz + 2);
    cairo_close_path(cr);
    setColor(cr, mix(far, Rgb::hex(0xF0C8B0), 0.18));
    cairo_fill(cr);
    double spx = W * 0.8;
    polygon(cr, {{spx - 7, hz - 20}, {spx - 7, hz - 44}, {spx, hz - 72}, {spx + 7, hz - 44}, {spx + 7, hz - 20}});
    setColor(cr, mix(far, Rgb::hex(0xF0C8B0), 0.12));
    cairo_fill(cr);

    // Water: the sky mirrored and darkened, the sun's road, ripples.
    cairo_rectangle(cr, 0, hz, W, H - hz);
    fillLinear(cr, 0, hz, 0, H, {{0, mix(Rgb::hex(0xF6D2A0), water, 0.25)}, {0.25, mix(Rgb::hex(0xC8A0B0), water, 0.45)},
                                 {1, water}});
    Rng rip = a.rng.fork("ripples");
    ripples(cr, 0, W, hz, H, Rgb::hex(0xF8E0C0), darken(water, 0.35), rip, 1.4);
    for (int i = 0; i < 260; ++i) {
        double t = rip.unit();
        double yy = hz + 2 + (H - hz) * t * t;
        double spread = 14 + 120 * t;
        double xx = sunX + rip.gauss() * spread * 0.45;
        double len = rip.range(6, 22) * (0.5 + t);
        strokeLine(cr, xx - len / 2, yy, xx + len / 2, yy, 1.2 + 2.5 * t, Rgb::hex(0xFFEFC0), rip.range(0.4, 0.9));
    }

    // A stone breakwater and a moored ship on the right.
    double by = hz + g.number("breakwater", 26);
    polygon(cr, {{W * 0.55, by}, {W + 5, by - 6}, {W + 5, by + 12}, {W * 0.55, by + 6}});
    fillLinear(cr, 0, by - 6, 0, by + 12, {{0, Rgb::hex(0x9A8A90)}, {1, Rgb::hex(0x4E4558)}});
    Rng shipRng = a.rng.fork("ship");
    reflection(cr, W * 0.56, W + 5, by + 8, 22, Rgb::hex(0x3A3248), shipRng, 0.35);
    if (g.flag("ship", true)) {
        double sx = W * g.number("shipX", 0.66), sw = W * 0.2, sy = by - 4;
        Rgb hull = Rgb::hex(0x3A3040);
        cairo_move_to(cr, sx, sy - 16);
        cairo_line_to(cr, sx + sw, sy - 20);
        cairo_line_to(cr, sx + sw * 0.94, sy);
        cairo_line_to(cr, sx + sw * 0.05, sy);
        cairo_close_path(cr);
        setColor(cr, hull);
        cairo_fill(cr);
        cairo_t* dc = a.detail ? a.detail : cr;
        for (int m = 0; m < 3; ++m) {
            double mx = sx + sw * (0.22 + 0.28 * m), mh = 90 - m * 12;
            strokeLine(dc, mx, sy - 16, mx, sy - 16 - mh, 2.2, hull, 0.9);
            for (int yard = 0; yard < 3; ++yard) {
                double yy = sy - 30 - yard * mh / 3.2, hw = 16 - yard * 4;
                strokeLine(dc, mx - hw, yy, mx + hw, yy, 1.3, hull, 0.85);
                ellipsePath(dc, mx, yy + 2, hw * 0.9, 2.5);
                setColor(dc, Rgb::hex(0xD8C0B8), 0.8);
                cairo_fill(dc);
            }
            strokeLine(dc, mx, sy - 16 - mh, mx + sw * 0.28, sy - 18, 0.7, hull, 0.55);
        }
        strokeLine(dc, sx + sw * 0.22, sy - 106, sx + sw, sy - 22, 0.8, hull, 0.7);
        reflection(cr, sx + 4, sx + sw - 6, sy + 1, 26, Rgb::hex(0x2E2638), shipRng, 0.4);
    }

    // The wooden pier in the foreground on the left, with its pilings in the water.
    if (g.flag("pier", true)) {
        double backY = g.number("pierBack", H * 0.73), backX = g.number("pierBackX", W * 0.31);
        double frontX = g.number("pierFrontX", W * 0.45);
        Rng pier = a.rng.fork("pier");
        for (int i = 0; i < 7; ++i) {
            double t = i / 6.0;
            double px = backX + (frontX - backX) * t, py = backY + (H - backY) * t;
            double pw = 6 + 8 * t;
            cairo_rectangle(cr, px - pw / 2, py - 4, pw, 30 + 40 * t);
            fillLinear(cr, px - pw / 2, 0, px + pw / 2, 0, {{0, Rgb::hex(0x7A5A40)}, {1, Rgb::hex(0x2A1C14)}});
            reflection(cr, px - pw / 2, px + pw / 2, py + 26 + 40 * t, 18 + 20 * t, Rgb::hex(0x2A2030), pier, 0.5);
        }
        polygon(cr, {{-2, backY}, {backX, backY}, {frontX, H + 2}, {-2, H + 2}});
        fillLinear(cr, 0, backY, 0, H, {{0, mix(wood, Rgb::hex(0xE8B890), 0.25)}, {1, darken(wood, 0.3)}});
        cairo_t* dcp = a.detail ? a.detail : cr;
        for (int i = 1; i < 14; ++i) {
            double t = std::pow(i / 14.0, 1.4);
            double yy = backY + (H - backY) * t;
            double xr = backX + (frontX - backX) * t;
            strokeLine(dcp, 0, yy, xr, yy, 0.8 + 1.6 * t, darken(wood, 0.55), 0.55);
            strokeLine(dcp, 0, yy + 1.5 + 2 * t, xr, yy + 1.5 + 2 * t, 0.6 + t, lighten(wood, 0.3), 0.25);
        }
        // Morning light along the planks.
        polygon(cr, {{-2, backY}, {backX, backY}, {frontX, H + 2}, {-2, H + 2}});
        fillLinear(cr, 0, 0, frontX, 0, {{0, {0, 0, 0}, 0.18}, {0.7, Rgb::hex(0xFFD8A8), 0.12}, {1, Rgb::hex(0xFFE0B0), 0.22}});
        strokeLine(cr, backX, backY, frontX, H, 3, Rgb::hex(0xF0C8A0), 0.55);
        // Low rail posts along the edge.
        for (int i = 0; i < 4; ++i) {
            double t = 0.15 + i * 0.27;
            double px = backX + (frontX - backX) * t - 4, py = backY + (H - backY) * t;
            cairo_rectangle(cr, px - 3 - 2 * t, py - 14 - 12 * t, 6 + 4 * t, 14 + 12 * t);
            setColor(cr, Rgb::hex(0x4A3424));
            cairo_fill(cr);
        }
    }
}

// --- the prairie in wind ---------------------------------------------------------------------------

void scenePrairie(ArtContext& a) {
    cairo_t* cr = a.cr;
    const RecipeNode& g = a.args;
    double W = a.w, H = a.h;
    double hz = g.number("horizon", H * 0.52);
    std::vector<Stop> sky = skyStops(g, "sky", {{0, Rgb::hex(0x3F78B8)}, {0.6, Rgb::hex(0x8CB8DC)}, {1, Rgb::hex(0xE2EBE6)}});
    Rgb grass = g.color("grass", Rgb::hex(0xC9A048));
    Rgb grassFar = g.color("grassFar", Rgb::hex(0xA8A468));
    cairo_rectangle(cr, 0, 0, W, hz + 4);
    fillLinear(cr, 0, 0, 0, hz, sky);
    // Towering clouds driven by the wind.
    Rng cl = a.rng.fork("clouds");
    for (int i = 0; i < 6; ++i) {
        double cx = cl.range(-40, W + 40), cy = hz * cl.range(0.2, 0.62);
        double w = cl.range(150, 300), h = cl.range(40, 80) * (1.0 - cy / hz * 0.5);
        cloud(cr, cx, cy, w, h, Rgb::hex(0xFFFDF6), Rgb::hex(0x9AA8C0), cl, 0.95, 10);
        cloud(cr, cx + w * 0.1, cy + h * 0.35, w * 0.9, h * 0.4, Rgb::hex(0xE4E6EA), Rgb::hex(0x8C98B0), cl, 0.9, 7);
    }
    // Distant bluffs and the far fields.
    hills(cr, -10, W + 10, hz - 4, 14, hz + 6, Rgb::hex(0x8E9CB0), Rgb::hex(0xA8AE98), a.rng.next(), 220);
    cairo_rectangle(cr, 0, hz, W, H - hz);
    fillLinear(cr, 0, hz, 0, H, {{0, grassFar}, {0.35, mix(grassFar, grass, 0.7)}, {1, darken(grass, 0.15)}});
    // Rolling swells of grass, lighter on their wind-combed crests.
    for (int band = 0; band < 7; ++band) {
        double t = band / 7.0;
        double yy = hz + 8 + (H - hz) * t * t * 1.05;
        cairo_move_to(cr, -5, H + 5);
        for (double xx = -5; xx <= W + 5; xx += 8) {
            double n = fbm(xx / (160 + 200 * t), band * 1.7, a.rng.next() % 1000, 3);
            cairo_line_to(cr, xx, yy - n * (10 + 30 * t));
        }
        cairo_line_to(cr, W + 5, H + 5);
        cairo_close_path(cr);
        Rgb c = mix(grassFar, grass, 0.5 + 0.5 * t);
        fillLinear(cr, 0, yy - 30, 0, yy + 60, {{0, lighten(c, 0.18), 0.55}, {1, darken(c, 0.1), 0.0}});
    }
    // A farmstead in the middle distance and a road that winds to it.
    double fx = W * g.number("farmX", 0.7), fy = hz + 16;
    cairo_t* fc = a.detail ? a.detail : cr;
    Rgb red = Rgb::hex(0x9A3A2A);
    polygon(fc, {{fx, fy}, {fx, fy - 24}, {fx + 22, fy - 40}, {fx + 44, fy - 24}, {fx + 44, fy}});
    fillLinear(fc, fx, 0, fx + 44, 0, {{0, lighten(red, 0.2)}, {1, darken(red, 0.3)}});
    polygon(fc, {{fx - 4, fy - 23}, {fx + 22, fy - 43}, {fx + 48, fy - 23}, {fx + 44, fy - 22}, {fx + 22, fy - 38}, {fx, fy - 22}});
    setColor(fc, Rgb::hex(0x5A3A2A));
    cairo_fill(fc);
    polygon(fc, {{fx + 50, fy}, {fx + 50, fy - 18}, {fx + 64, fy - 28}, {fx + 78, fy - 18}, {fx + 78, fy}});
    setColor(fc, Rgb::hex(0xE8E0CC));
    cairo_fill(fc);
    cairo_rectangle(fc, fx + 18, fy - 12, 9, 12);
    setColor(fc, Rgb::hex(0x3A2418));
    cairo_fill(fc);
    Rng tr = a.rng.fork("trees");
    Look farLook = a.look;
    farLook.ambientMix = 0.4;
    tree(cr, fx - 16, fy + 2, 46, Rgb::hex(0x5A7A3A), Rgb::hex(0x4A3A2A), farLook, tr);
    tree(cr, fx + 96, fy + 2, 38, Rgb::hex(0x60803E), Rgb::hex(0x4A3A2A), farLook, tr);
    double rx = g.number("roadX", W * 0.35);
    cairo_move_to(cr, rx - 70, H + 4);
    cairo_curve_to(cr, rx - 20, H * 0.85, rx + 140, H * 0.74, fx + 20, fy + 2);
    cairo_line_to(cr, fx + 30, fy + 2);
    cairo_curve_to(cr, rx + 170, H * 0.76, rx + 40, H * 0.86, rx + 40, H + 4);
    cairo_close_path(cr);
    fillLinear(cr, 0, fy, 0, H, {{0, Rgb::hex(0xC8B490)}, {1, Rgb::hex(0xB09060)}});
    // Wind-bent grass blades over everything near.
    Rng gr = a.rng.fork("grass");
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 2600; ++i) {
        double t = gr.unit();
        double yy = hz + 10 + (H - hz) * std::sqrt(t);
        double xx = gr.range(-10, W + 10);
        double len = 4 + 26 * t * t;
        double bend = len * 0.8;
        cairo_move_to(cr, xx, yy);
        cairo_curve_to(cr, xx + bend * 0.2, yy - len * 0.6, xx + bend * 0.6, yy - len * 0.9, xx + bend, yy - len);
        cairo_set_line_width(cr, 0.6 + 1.4 * t);
        Rgb c = shift(grass, gr.range(-10, 10), gr.range(-0.1, 0.05), gr.range(-0.12, 0.14));
        setColor(cr, c, 0.7);
        cairo_stroke(cr);
    }
}

// --- a painter's studio on the lagoon (the demo picture) -------------------------------------------

void sceneStudio(ArtContext& a) {
    cairo_t* cr = a.cr;
    cairo_t* dc = a.detail ? a.detail : a.cr;
    const RecipeNode& g = a.args;
    double W = a.w, H = a.h;
    Rgb wall = g.color("wall", Rgb::hex(0xD8B88A));
    Rgb wood = g.color("table", Rgb::hex(0x8A5A36));
    Rgb runner = g.color("cloth", Rgb::hex(0x2E5E6A));
    double tableY = g.number("tableY", H * 0.55), frontY = H * 0.93;
    // Warm plaster wall with a soft light falling from the window.
    cairo_rectangle(cr, 0, 0, W, tableY + 2);
    fillLinear(cr, 0, 0, W, 0, {{0, darken(wall, 0.3)}, {0.4, wall}, {1, darken(wall, 0.4)}});
    Rng pl = a.rng.fork("plaster");
    for (int i = 0; i < 40; ++i) {
        softEllipse(cr, pl.range(0, W), pl.range(0, tableY), pl.range(30, 90), pl.range(20, 60),
                    pl.chance(0.5) ? lighten(wall, 0.2) : darken(wall, 0.2), 0.12);
    }
    // The window: an arched opening onto the lagoon and a bell tower.
    double wx = W * g.number("windowX", 0.1), ww = W * 0.3, wy = H * 0.07, wh = tableY - wy - 24;
    auto windowPath = [&](cairo_t* c) {
        cairo_move_to(c, wx, wy + wh);
        cairo_line_to(c, wx, wy + ww / 2);
        cairo_arc(c, wx + ww / 2, wy + ww / 2, ww / 2, M_PI, 2 * M_PI);
        cairo_line_to(c, wx + ww, wy + wh);
        cairo_close_path(c);
    };
    cairo_save(cr);
    windowPath(cr);
    cairo_clip_preserve(cr);
    double lag = wy + wh * 0.6;
    fillLinear(cr, 0, wy, 0, lag, {{0, Rgb::hex(0x7FB0D8)}, {1, Rgb::hex(0xE0ECF0)}});
    cairo_rectangle(cr, wx, lag, ww, wy + wh - lag);
    fillLinear(cr, 0, lag, 0, wy + wh, {{0, Rgb::hex(0x6A9AB0)}, {1, Rgb::hex(0x2F5E78)}});
    Rng view = a.rng.fork("view");
    cloud(cr, wx + ww * 0.3, wy + wh * 0.22, ww * 0.5, 22, {1, 1, 1}, Rgb::hex(0xB8C8D8), view, 0.9, 7);
    for (int i = 0; i < 7; ++i) {
        double hx = wx + i * ww / 7, hh = view.range(14, 30);
        cairo_rectangle(cr, hx, lag - hh, ww / 7 + 1, hh);
        setColor(cr, fromHsl({view.range(10, 40), 0.5, view.range(0.6, 0.75)}));
        cairo_fill(cr);
    }
    ripples(cr, wx, wx + ww, lag, wy + wh, Rgb::hex(0xC8E0F0), Rgb::hex(0x1E4A60), view, 1.5);
    cairo_restore(cr);
    // The bell tower across the lagoon, crisp over the brushwork.
    double bx = wx + ww * 0.64;
    cairo_rectangle(dc, bx, lag - wh * 0.42, 16, wh * 0.42);
    fillLinear(dc, bx, 0, bx + 16, 0, {{0, Rgb::hex(0xE8B890)}, {1, Rgb::hex(0xA8704A)}});
    for (int i = 0; i < 3; ++i) {
        cairo_rectangle(dc, bx + 5, lag - wh * (0.38 - 0.1 * i), 6, 8);
        setColor(dc, Rgb::hex(0x5A3A2A), 0.8);
        cairo_fill(dc);
    }
    polygon(dc, {{bx - 3, lag - wh * 0.42}, {bx + 8, lag - wh * 0.52}, {bx + 19, lag - wh * 0.42}});
    setColor(dc, Rgb::hex(0x6A8A5A));
    cairo_fill(dc);
    windowPath(dc);
    cairo_set_line_width(dc, 12);
    setColor(dc, Rgb::hex(0x5A3A24));
    cairo_stroke(dc);
    strokeLine(dc, wx + ww / 2, wy, wx + ww / 2, wy + wh, 6, Rgb::hex(0x5A3A24));
    strokeLine(dc, wx, wy + wh * 0.55, wx + ww, wy + wh * 0.55, 6, Rgb::hex(0x5A3A24));
    // A heavy curtain drawn aside on the left of the window.
    cairo_move_to(cr, wx - 50, -2);
    cairo_curve_to(cr, wx + 30, 40, wx + 20, tableY * 0.6, wx - 10, tableY - 4);
    cairo_line_to(cr, wx - 70, tableY - 4);
    cairo_line_to(cr, wx - 90, -2);
    cairo_close_path(cr);
    fillLinear(cr, wx - 90, 0, wx + 30, 0, {{0, Rgb::hex(0x4A1A22)}, {0.5, Rgb::hex(0x8A2A34)}, {1, Rgb::hex(0x5A1E28)}});
    for (int i = 0; i < 4; ++i) {
        double fx = wx - 80 + i * 22;
        cairo_move_to(dc, fx, 0);
        cairo_curve_to(dc, fx + 20, 60, fx + 15, tableY * 0.6, fx + 4, tableY - 6);
        cairo_set_line_width(dc, 3);
        setColor(dc, Rgb::hex(0x3A1018), 0.45);
        cairo_stroke(dc);
    }
    // Sunlight on the wall beside the window.
    polygon(cr, {{wx + ww, wy + 20}, {W * 0.78, wy + 90}, {W * 0.84, tableY}, {wx + ww + 20, tableY}});
    setColor(cr, Rgb::hex(0xFFE8B8), 0.2);
    cairo_fill(cr);
    // A framed sketch and a shelf of books on the right wall.
    double fx = W * 0.66, fy = H * 0.08;
    cairo_rectangle(cr, fx, fy, 150, 110);
    fillLinear(cr, fx, fy, fx + 150, fy + 110, {{0, Rgb::hex(0xE8C880)}, {1, Rgb::hex(0x8A6428)}});
    cairo_rectangle(cr, fx + 12, fy + 12, 126, 86);
    setColor(cr, Rgb::hex(0xF2E6CC));
    cairo_fill(cr);
    cairo_move_to(dc, fx + 24, fy + 80);
    cairo_curve_to(dc, fx + 50, fy + 40, fx + 80, fy + 70, fx + 126, fy + 30);
    cairo_set_line_width(dc, 1.4);
    setColor(dc, Rgb::hex(0x5A4A38), 0.8);
    cairo_stroke(dc);
    for (int i = 0; i < 18; ++i) {
        double x0 = fx + 24 + view.range(0, 100), y0 = fy + 24 + view.range(0, 60);
        strokeLine(dc, x0, y0, x0 + view.range(-12, 12), y0 + view.range(-6, 6), 0.8, Rgb::hex(0x6A5A48), 0.5);
    }
    double sy = H * 0.36;
    cairo_rectangle(cr, W * 0.6, sy, W * 0.36, 10);
    setColor(cr, Rgb::hex(0x5A3A24));
    cairo_fill(cr);
    double bkx = W * 0.62;
    Rng bk = a.rng.fork("books");
    for (int i = 0; i < 12; ++i) {
        double bw = bk.range(12, 22), bh = bk.range(44, 70);
        Rgb c = fromHsl({bk.range(0, 360), 0.45, bk.range(0.3, 0.5)});
        cairo_rectangle(cr, bkx, sy - bh, bw, bh);
        fillLinear(cr, bkx, 0, bkx + bw, 0, {{0, lighten(c, 0.2)}, {1, darken(c, 0.3)}});
        strokeLine(dc, bkx + 2, sy - bh + 8, bkx + bw - 2, sy - bh + 8, 1.6, Rgb::hex(0xD9B060), 0.7);
        bkx += bw + 1;
        if (bkx > W * 0.94) break;
    }
    // The table top in perspective, with a cloth runner across it, and its front edge.
    cairo_rectangle(cr, 0, tableY, W, frontY - tableY);
    fillLinear(cr, 0, tableY, 0, frontY, {{0, darken(wood, 0.25)}, {1, lighten(wood, 0.1)}});
    double rx0 = W * 0.3, rx1 = W * 0.62;
    cairo_save(dc);
    cairo_rectangle(dc, 0, tableY, W, frontY - tableY);
    polygon(dc, {{rx0, tableY}, {rx1, tableY}, {rx1 + W * 0.05, frontY}, {rx0 - W * 0.05, frontY}});
    cairo_set_fill_rule(dc, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(dc);
    for (int i = -10; i <= 10; ++i) {
        double x0 = W / 2 + i * W * 0.07, x1 = W / 2 + i * W * 0.11;
        strokeLine(dc, x0, tableY, x1, frontY, 1.2, darken(wood, 0.45), 0.35);
    }
    cairo_restore(dc);
    polygon(cr, {{rx0, tableY}, {rx1, tableY}, {rx1 + W * 0.05, frontY}, {rx0 - W * 0.05, frontY}});
    fillLinear(cr, 0, tableY, 0, frontY, {{0, darken(runner, 0.2)}, {1, lighten(runner, 0.15)}});
    for (int k = 0; k < 2; ++k) {
        double t = 0.1 + 0.8 * k;
        strokeLine(dc, rx0 + (rx1 - rx0) * t - W * 0.05 * (1 - 2 * t) * 0, tableY, rx0 - W * 0.05 + (rx1 - rx0 + W * 0.1) * t, frontY, 3,
                   Rgb::hex(0xD9B060), 0.6);
    }
    cairo_rectangle(cr, 0, frontY, W, H - frontY);
    fillLinear(cr, 0, frontY, 0, H, {{0, darken(wood, 0.2)}, {1, darken(wood, 0.55)}});
    strokeLine(dc, 0, frontY, W, frontY, 2.5, lighten(wood, 0.35), 0.7);
    // The still life the items share the table with: a vase of flowers, a jar of brushes,
    // a palette with its dabs of colour and a sketchbook.
    double vx = W * g.number("vaseX", 0.88), vy = tableY + 70;
    groundShadow(cr, vx + 10, vy + 4, 40, 8, a.look, 0.4);
    cylinder(cr, vx, vy - 80, vy, 26, 7, Rgb::hex(0x3A6AA8), a.look);
    Rng fl = a.rng.fork("flowers");
    for (int i = 0; i < 14; ++i) {
        double ang = fl.range(-2.5, -0.6), len = fl.range(60, 120);
        double ex = vx + std::cos(ang) * len * 0.7, ey = vy - 80 + std::sin(ang) * len;
        strokeLine(cr, vx, vy - 76, ex, ey, 2, Rgb::hex(0x4A6A30));
        blobPath(cr, ex, ey, 11, 10, 0.2, fl, 8);
        setColor(cr, fromHsl({fl.chance(0.5) ? fl.range(0, 20) : fl.range(40, 55), 0.75, 0.62}));
        cairo_fill(cr);
        ellipsePath(dc, ex, ey, 3, 3);
        setColor(dc, Rgb::hex(0x5A3A10), 0.9);
        cairo_fill(dc);
    }
    double jx = W * 0.08, jy = tableY + 120;
    groundShadow(cr, jx + 8, jy + 3, 30, 6, a.look, 0.4);
    Rng br = a.rng.fork("brushes");
    for (int i = 0; i < 5; ++i) {
        double ang = -M_PI / 2 + br.range(-0.35, 0.35), len = br.range(70, 100);
        double ex = jx + std::cos(ang) * len, ey = jy - 50 + std::sin(ang) * len;
        strokeLine(dc, jx + br.range(-8, 8), jy - 40, ex, ey, 3, fromHsl({br.range(0, 40), 0.5, 0.4}));
        strokeLine(dc, ex, ey, ex + std::cos(ang) * 10, ey + std::sin(ang) * 10, 4, Rgb::hex(0x3A2A20));
    }
    cylinder(cr, jx, jy - 55, jy, 22, 6, Rgb::hex(0xB8C8C0), a.look);
    double px = W * 0.16, py = H * 0.86;
    cairo_save(cr);
    cairo_translate(cr, px, py);
    cairo_rotate(cr, -0.12);
    ellipsePath(cr, 0, 0, 90, 34);
    fillLinear(cr, 0, -34, 0, 34, {{0, Rgb::hex(0xD8B080)}, {1, Rgb::hex(0x8A6038)}});
    ellipsePath(cr, 46, 6, 12, 8);
    setColor(cr, Rgb::hex(0x5A3A20));
    cairo_fill(cr);
    Rgb dabs[] = {Rgb::hex(0xC8302C), Rgb::hex(0xF2C030), Rgb::hex(0x2E6AA8), Rgb::hex(0xF4F0E8), Rgb::hex(0x3E8A4A)};
    for (int i = 0; i < 5; ++i) {
        ellipsePath(cr, -60 + i * 24, -12 + (i % 2) * 8, 9, 6);
        setColor(cr, dabs[i]);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    double sbx = W * 0.72, sby = H * 0.8;
    polygon(cr, {{sbx, sby}, {sbx + 190, sby - 14}, {sbx + 210, sby + 60}, {sbx + 16, sby + 76}});
    setColor(cr, Rgb::hex(0xF4EAD4));
    cairo_fill(cr);
    strokeLine(dc, sbx + 95, sby - 7, sbx + 112, sby + 68, 1.5, Rgb::hex(0xA89878));
    cairo_move_to(dc, sbx + 120, sby + 40);
    cairo_curve_to(dc, sbx + 140, sby + 10, sbx + 170, sby + 30, sbx + 190, sby + 8);
    cairo_set_line_width(dc, 1.2);
    setColor(dc, Rgb::hex(0x5A4A38), 0.8);
    cairo_stroke(dc);
}

}  // namespace

void registerSceneArt(ArtRegistry& r) {
    r.add("harbour", sceneHarbour);
    r.add("prairie", scenePrairie);
    r.add("studio", sceneStudio);
}

}  // namespace assetgen
