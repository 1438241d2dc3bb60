// Interior scenes: an attic studio under the roofs with its window open on the town, and a
// concert hall with its stage, boxes and chandeliers.
#include <cmath>

#include "art/Art.h"
#include "art/SceneKit.h"
#include "core/Draw.h"

namespace assetgen {

namespace {

void sceneAttic(ArtContext& a) {
    cairo_t* cr = a.cr;
    const RecipeNode& g = a.args;
    double W = a.w, H = a.h;
    Rgb wall = g.color("wall", Rgb::hex(0xE8D8B8));
    // Walls under the sloping roof, lit from the window.
    cairo_rectangle(cr, 0, 0, W, H);
    fillLinear(cr, 0, 0, W, 0, {{0, darken(wall, 0.25)}, {0.5, wall}, {1, darken(wall, 0.3)}});
    polygon(cr, {{0, 0}, {W * 0.26, 0}, {0, H * 0.36}});
    setColor(cr, darken(wall, 0.4));
    cairo_fill(cr);
    polygon(cr, {{W, 0}, {W * 0.74, 0}, {W, H * 0.36}});
    setColor(cr, darken(wall, 0.45));
    cairo_fill(cr);
    cairo_t* dc = a.detail ? a.detail : cr;
    for (int i = 0; i < 5; ++i) {
        double t = i / 4.0;
        strokeLine(dc, W * 0.26 * t, 0, 0, H * 0.36 * t, 3, Rgb::hex(0x6A4A30), 0.5);
        strokeLine(dc, W - W * 0.26 * t, 0, W, H * 0.36 * t, 3, Rgb::hex(0x6A4A30), 0.5);
    }
    // The big window: rooftops, chimneys and a dome under a summer sky.
    double wx = g.number("windowX", W * 0.3), wy = 40, ww = g.number("windowW", W * 0.4), wh = H * 0.5;
    cairo_save(cr);
    cairo_rectangle(cr, wx, wy, ww, wh);
    cairo_clip(cr);
    cairo_rectangle(cr, wx, wy, ww, wh);
    fillLinear(cr, 0, wy, 0, wy + wh, {{0, Rgb::hex(0x6A9AD0)}, {1, Rgb::hex(0xF0E8D8)}});
    Rng cl = a.rng.fork("clouds");
    for (int i = 0; i < 3; ++i) cloud(cr, wx + cl.range(0, ww), wy + cl.range(20, 90), cl.range(80, 140), 30, Rgb::hex(0xFFFFFA), Rgb::hex(0xB0B8C8), cl, 0.9, 8);
    double dome = wx + ww * 0.7;
    ellipsePath(cr, dome, wy + wh * 0.56, 46, 42);
    setColor(cr, Rgb::hex(0xA8B0B8));
    cairo_fill(cr);
    Rng roofs = a.rng.fork("roofs");
    for (int row = 0; row < 3; ++row) {
        double base = wy + wh * (0.66 + 0.14 * row);
        for (double x = wx - 20; x < wx + ww + 20; x += roofs.range(40, 70)) {
            double rw = roofs.range(40, 80), rh = roofs.range(20, 36);
            Rgb c = row == 2 ? Rgb::hex(0x6A7A8A) : mix(Rgb::hex(0x7A8A9A), Rgb::hex(0xC8C4C0), 0.5 - 0.2 * row);
            polygon(cr, {{x, base}, {x + rw * 0.15, base - rh}, {x + rw * 0.85, base - rh}, {x + rw, base}, {x + rw, base + 40}, {x, base + 40}});
            setColor(cr, c);
            cairo_fill(cr);
            cairo_rectangle(cr, x + 6, base - 4, rw - 12, 44);
            setColor(cr, mix(Rgb::hex(0xE8D8C0), Rgb::hex(0xC8C0B8), 0.2 * row));
            cairo_fill(cr);
            if (roofs.chance(0.6)) {
                cairo_rectangle(cr, x + rw * 0.6, base - rh - 14, 8, 16);
                setColor(cr, Rgb::hex(0xB86A4A));
                cairo_fill(cr);
            }
        }
    }
    cairo_restore(cr);
    // Window frame, mullions, sill and the light falling on the floor.
    cairo_rectangle(cr, wx - 8, wy - 8, ww + 16, wh + 16);
    cairo_rectangle(cr, wx, wy, ww, wh);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    setColor(cr, Rgb::hex(0xF4F0E8));
    cairo_fill(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    strokeLine(dc, wx + ww / 2, wy, wx + ww / 2, wy + wh, 5, Rgb::hex(0xF4F0E8));
    strokeLine(dc, wx, wy + wh * 0.45, wx + ww, wy + wh * 0.45, 4, Rgb::hex(0xF4F0E8));
    double sill = wy + wh + 8;
    cairo_rectangle(cr, wx - 20, sill, ww + 40, 14);
    fillLinear(cr, 0, sill, 0, sill + 14, {{0, Rgb::hex(0xF8F4EC)}, {1, Rgb::hex(0xB8B0A0)}});
    // The floorboards.
    double floor = g.number("floor", H * 0.74);
    cairo_rectangle(cr, 0, floor, W, H - floor);
    fillLinear(cr, 0, floor, 0, H, {{0, Rgb::hex(0x9A6A44)}, {1, Rgb::hex(0x6A4428)}});
    for (int i = 0; i < 16; ++i) strokeLine(dc, W / 2 + (i - 8) * 30, floor, W / 2 + (i - 8) * 150, H, 1, Rgb::hex(0x4A2E1A), 0.5);
    polygon(cr, {{wx, floor}, {wx + ww, floor}, {wx + ww * 1.3, H}, {wx - ww * 0.2, H}});
    setColor(cr, Rgb::hex(0xFFF0C8), 0.18);
    cairo_fill(cr);
    // A long work table along the left wall and shelves on the right.
    double tableY = g.number("table", H * 0.62);
    cairo_rectangle(cr, 0, tableY, W * 0.3, 12);
    fillLinear(cr, 0, tableY, 0, tableY + 12, {{0, Rgb::hex(0xA87A50)}, {1, Rgb::hex(0x6A4A30)}});
    for (double x : {16.0, W * 0.27}) {
        cairo_rectangle(cr, x, tableY + 12, 10, floor - tableY + 30);
        setColor(cr, Rgb::hex(0x5A3A24));
        cairo_fill(cr);
    }
    for (int i = 0; i < 2; ++i) {
        double sy = H * (0.42 + 0.2 * i);
        cairo_rectangle(cr, W * 0.76, sy, W * 0.24, 9);
        fillLinear(cr, 0, sy, 0, sy + 9, {{0, Rgb::hex(0xA87A50)}, {1, Rgb::hex(0x6A4A30)}});
    }
    // A rug in the light.
    ellipsePath(cr, W * 0.52, H * 0.9, W * 0.22, H * 0.07);
    setColor(cr, Rgb::hex(0x9A3A3A), 0.85);
    cairo_fill(cr);
    ellipsePath(cr, W * 0.52, H * 0.9, W * 0.18, H * 0.05);
    cairo_set_line_width(cr, 3);
    setColor(cr, Rgb::hex(0xE8B860), 0.7);
    cairo_stroke(cr);
}

void sceneConcertHall(ArtContext& a) {
    cairo_t* cr = a.cr;
    const RecipeNode& g = a.args;
    double W = a.w, H = a.h;
    Rgb wall = g.color("wall", Rgb::hex(0x8A2A2A)), gilt = Rgb::hex(0xD8A848);
    cairo_rectangle(cr, 0, 0, W, H);
    fillLinear(cr, 0, 0, 0, H, {{0, darken(wall, 0.4)}, {0.5, wall}, {1, darken(wall, 0.5)}});
    cairo_t* dc = a.detail ? a.detail : cr;
    // The painted ceiling and its gilt cornice.
    cairo_rectangle(cr, 0, 0, W, 60);
    fillLinear(cr, 0, 0, 0, 60, {{0, Rgb::hex(0xF0E0C0)}, {1, Rgb::hex(0xC8A878)}});
    for (double x = 20; x < W; x += 80) {
        ellipsePath(cr, x, 28, 30, 16);
        setColor(cr, Rgb::hex(0x8AA8C8), 0.7);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, 0, 58, W, 10);
    fillLinear(cr, 0, 58, 0, 68, {{0, lighten(gilt, 0.3)}, {1, darken(gilt, 0.3)}});
    // Two tiers of boxes on either side, the organ pipes at the back of the stage.
    for (int side = 0; side < 2; ++side) {
        double x0 = side == 0 ? 0 : W * 0.76, x1 = side == 0 ? W * 0.24 : W;
        for (int tier = 0; tier < 2; ++tier) {
            double y = 90 + tier * 110;
            for (int b = 0; b < 3; ++b) {
                double bx = x0 + (x1 - x0) * b / 3.0, bw = (x1 - x0) / 3.0;
                cairo_rectangle(cr, bx + 6, y, bw - 12, 70);
                setColor(cr, Rgb::hex(0x2A0E10));
                cairo_fill(cr);
                cairo_move_to(cr, bx + 6, y + 70);
                cairo_curve_to(cr, bx + 6, y + 96, bx + bw - 6, y + 96, bx + bw - 6, y + 70);
                cairo_close_path(cr);
                fillLinear(cr, 0, y + 70, 0, y + 96, {{0, lighten(gilt, 0.2)}, {1, darken(gilt, 0.35)}});
                strokeLine(dc, bx + 6, y, bx + 6, y + 70, 2, gilt, 0.9);
            }
        }
    }
    double sx0 = W * 0.26, sx1 = W * 0.74;
    for (int i = 0; i < 17; ++i) {
        double t = i / 16.0;
        double x = sx0 + 30 + (sx1 - sx0 - 60) * t, h = 120 + 70 * std::sin(M_PI * t);
        cairo_rectangle(cr, x - 7, 260 - h, 14, h);
        fillLinear(cr, x - 7, 0, x + 7, 0, {{0, Rgb::hex(0xF0E0B0)}, {0.4, Rgb::hex(0xC8B078)}, {1, Rgb::hex(0x7A6A40)}});
    }
    // Red curtains framing the stage.
    for (int s = 0; s < 2; ++s) {
        double x = s == 0 ? sx0 - 10 : sx1 + 10, dir = s == 0 ? 1 : -1;
        cairo_move_to(cr, x - dir * 30, 70);
        cairo_line_to(cr, x + dir * 70, 70);
        cairo_curve_to(cr, x + dir * 20, 200, x + dir * 10, 300, x + dir * 20, H * 0.62);
        cairo_line_to(cr, x - dir * 30, H * 0.62);
        cairo_close_path(cr);
        fillLinear(cr, x - 30, 0, x + 70, 0, {{0, Rgb::hex(0xA82A2A)}, {0.5, Rgb::hex(0xD8403A)}, {1, Rgb::hex(0x7A1A1A)}});
    }
    // The stage floor, its edge and the warm footlights.
    double stage = g.number("stage", H * 0.6);
    polygon(cr, {{sx0 - 60, stage - 40}, {sx1 + 60, stage - 40}, {W * 0.9, stage + 30}, {W * 0.1, stage + 30}});
    fillLinear(cr, 0, stage - 40, 0, stage + 30, {{0, Rgb::hex(0xB8844A)}, {1, Rgb::hex(0x8A5A30)}});
    cairo_rectangle(cr, W * 0.1, stage + 30, W * 0.8, 16);
    setColor(cr, Rgb::hex(0x3A1E14));
    cairo_fill(cr);
    for (int i = 0; i < 12; ++i) softEllipse(cr, W * (0.14 + 0.066 * i), stage + 30, 30, 14, Rgb::hex(0xFFE0A0), 0.5);
    // The stalls: rows of red seats in the front.
    cairo_rectangle(cr, 0, stage + 46, W, H - stage - 46);
    setColor(cr, Rgb::hex(0x3A1E1A));
    cairo_fill(cr);
    for (int row = 0; row < 4; ++row) {
        double y = stage + 64 + row * 34, sw = 26 + row * 4;
        for (double x = 6 + (row % 2) * sw / 2; x < W; x += sw + 4) {
            roundedRect(cr, x, y, sw, 26 + row * 3, 6);
            fillLinear(cr, 0, y, 0, y + 26, {{0, Rgb::hex(0xC83A3A)}, {1, Rgb::hex(0x6A1A1A)}});
        }
    }
}

}  // namespace

void registerInteriorSceneArt(ArtRegistry& r) {
    r.add("attic", sceneAttic);
    r.add("concerthall", sceneConcertHall);
}

}  // namespace assetgen
