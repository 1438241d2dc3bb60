// Objects of the countryside and of the studio: farm buildings and tools, animals, plants and
// the studio's still life.
#include <cmath>

#include "art/Art.h"
#include "art/SceneKit.h"
#include "core/Draw.h"

namespace assetgen {

namespace {

void edge(cairo_t* cr, const Rgb& c, double width = 1.3, double alpha = 0.8) {
    cairo_set_line_width(cr, width);
    setColor(cr, c, alpha);
    cairo_stroke(cr);
}

void sideLit(cairo_t* cr, const Look& look, double x0, double x1, const Rgb& c, bool preserve = false) {
    Rgb l = look.lit(c, 0.3), m = look.tone(c), d = look.dark(c, 0.5);
    if (look.fromLeft() > 0) fillLinear(cr, x0, 0, x1, 0, {{0, l}, {0.45, m}, {1, d}}, preserve);
    else fillLinear(cr, x0, 0, x1, 0, {{0, d}, {0.55, m}, {1, l}}, preserve);
}

void topLit(cairo_t* cr, const Look& look, double y0, double y1, const Rgb& c, bool preserve = false) {
    fillLinear(cr, 0, y0, 0, y1, {{0, look.lit(c, 0.3)}, {0.5, look.tone(c)}, {1, look.dark(c, 0.45)}}, preserve);
}

void flipIf(cairo_t* cr, bool flip, double w) {
    if (flip) {
        cairo_translate(cr, w, 0);
        cairo_scale(cr, -1, 1);
    }
}

void spokedWheel(cairo_t* cr, double cx, double cy, double r, const Rgb& c, const Look& look) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_set_line_width(cr, std::max(2.0, r * 0.16));
    setColor(cr, look.dark(c, 0.35));
    cairo_stroke(cr);
    for (int i = 0; i < 8; ++i) {
        double ang = i * M_PI / 4;
        strokeLine(cr, cx, cy, cx + std::cos(ang) * r, cy + std::sin(ang) * r, std::max(1.0, r * 0.07), look.tone(c));
    }
    ellipsePath(cr, cx, cy, r * 0.18, r * 0.18);
    setColor(cr, look.dark(c, 0.5));
    cairo_fill(cr);
}

// --- in the sky -------------------------------------------------------------------------------

void thingKite(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c1 = a.args.color("color", Rgb::hex(0xC83A34)), c2 = a.args.color("color2", Rgb::hex(0xF2D060));
    double cx = W * 0.62, top = 3, mid = H * 0.3, bot = H * 0.58, hw = W * 0.34;
    // Tail of bows fluttering down to the left.
    cairo_move_to(cr, cx, bot);
    cairo_curve_to(cr, cx - W * 0.1, H * 0.72, cx - W * 0.45, H * 0.7, cx - W * 0.5, H * 0.96);
    cairo_set_line_width(cr, 1.2);
    setColor(cr, Rgb::hex(0x3A2A20));
    cairo_stroke(cr);
    for (int i = 1; i <= 3; ++i) {
        double t = i / 4.0;
        double bx = cx - W * 0.5 * t - 2, by = bot + (H * 0.96 - bot) * t;
        polygon(cr, {{bx, by}, {bx - 5, by - 4}, {bx - 5, by + 4}});
        polygon(cr, {{bx, by}, {bx + 5, by - 4}, {bx + 5, by + 4}});
        setColor(cr, a.look.tone(i % 2 ? c2 : c1));
        cairo_fill(cr);
    }
    polygon(cr, {{cx, top}, {cx + hw, mid}, {cx, bot}, {cx - hw, mid}});
    setColor(cr, a.look.tone(c1));
    cairo_fill(cr);
    polygon(cr, {{cx, top}, {cx + hw, mid}, {cx, mid}});
    polygon(cr, {{cx, bot}, {cx - hw, mid}, {cx, mid}});
    setColor(cr, a.look.tone(c2));
    cairo_fill(cr);
    polygon(cr, {{cx, top}, {cx + hw, mid}, {cx, bot}, {cx - hw, mid}});
    edge(cr, Rgb::hex(0x3A2A20), 1.0);
    strokeLine(cr, cx, top, cx, bot, 1.0, Rgb::hex(0x3A2A20));
    strokeLine(cr, cx - hw, mid, cx + hw, mid, 1.0, Rgb::hex(0x3A2A20));
}

void thingFlock(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", Rgb::hex(0x2A2A30));
    int n = a.args.integer("count", 6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < n; ++i) {
        double bx = W * (0.12 + 0.76 * a.rng.unit()), by = H * (0.25 + 0.55 * a.rng.unit());
        double s = a.rng.range(6, 11), f = a.rng.range(0.3, 1.0);
        cairo_move_to(cr, bx - s, by - s * 0.5 * f);
        cairo_curve_to(cr, bx - s * 0.5, by - s * 0.7 * f, bx - s * 0.2, by - s * 0.2, bx, by);
        cairo_curve_to(cr, bx + s * 0.2, by - s * 0.2, bx + s * 0.5, by - s * 0.7 * f, bx + s, by - s * 0.5 * f);
        cairo_set_line_width(cr, 2.4);
        setColor(cr, a.look.tone(c));
        cairo_stroke(cr);
    }
}

void thingHat(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb straw = a.args.color("color", Rgb::hex(0xE0C070)), band = a.args.color("band", Rgb::hex(0x3A5AA0));
    cairo_save(cr);
    cairo_translate(cr, W / 2, H / 2);
    cairo_rotate(cr, a.args.number("tilt", -0.35));
    ellipsePath(cr, 0, H * 0.12, W * 0.46, H * 0.2);
    topLit(cr, a.look, -H * 0.1, H * 0.3, straw, true);
    edge(cr, a.look.dark(straw, 0.5), 1.0);
    cairo_move_to(cr, -W * 0.24, H * 0.1);
    cairo_curve_to(cr, -W * 0.26, -H * 0.35, W * 0.26, -H * 0.35, W * 0.24, H * 0.1);
    cairo_close_path(cr);
    sideLit(cr, a.look, -W * 0.26, W * 0.26, straw, true);
    edge(cr, a.look.dark(straw, 0.5), 1.0);
    cairo_rectangle(cr, -W * 0.25, -H * 0.02, W * 0.5, H * 0.1);
    setColor(cr, a.look.tone(band));
    cairo_fill(cr);
    cairo_restore(cr);
}

// --- farm structures ---------------------------------------------------------------------------

// A farm wind pump: a tapering lattice tower with a bladed wheel and a tail vane.
void thingWindmill(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb steel = a.args.color("color", Rgb::hex(0x5A5A60)), blade = a.args.color("blades", Rgb::hex(0xD8D0C0));
    double base = H - 4, top = H * 0.3, cx = W / 2;
    double bw = W * 0.3, tw = W * 0.05;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    Rgb st = a.look.tone(steel);
    strokeLine(cr, cx - bw, base, cx - tw, top, 2.2, st);
    strokeLine(cr, cx + bw, base, cx + tw, top, 2.2, st);
    for (int i = 0; i < 5; ++i) {
        double t0 = i / 5.0, t1 = (i + 1) / 5.0;
        double y0 = base + (top - base) * t0, y1 = base + (top - base) * t1;
        double w0 = bw + (tw - bw) * t0, w1 = bw + (tw - bw) * t1;
        strokeLine(cr, cx - w0, y0, cx + w0, y0, 1.2, st);
        strokeLine(cr, cx - w0, y0, cx + w1, y1, 0.9, st, 0.8);
        strokeLine(cr, cx + w0, y0, cx - w1, y1, 0.9, st, 0.8);
    }
    // Tail vane.
    double hy = top - H * 0.02;
    strokeLine(cr, cx, hy, cx + W * 0.42, hy - H * 0.02, 2, st);
    polygon(cr, {{cx + W * 0.28, hy - H * 0.08}, {cx + W * 0.47, hy - H * 0.1}, {cx + W * 0.47, hy + H * 0.05}, {cx + W * 0.28, hy + H * 0.02}});
    sideLit(cr, a.look, cx + W * 0.28, cx + W * 0.47, Rgb::hex(0xB8442E));
    // The wheel.
    double R = std::min(W * 0.42, H * 0.2);
    double wx = cx - W * 0.04, wy = hy;
    int blades = 14;
    for (int i = 0; i < blades; ++i) {
        double ang = i * 2 * M_PI / blades + a.args.number("turn", 0.1);
        double c0 = std::cos(ang - 0.1), s0 = std::sin(ang - 0.1), c1 = std::cos(ang + 0.1), s1 = std::sin(ang + 0.1);
        polygon(cr, {{wx + c0 * R * 0.3, wy + s0 * R * 0.3}, {wx + c0 * R, wy + s0 * R}, {wx + c1 * R, wy + s1 * R},
                     {wx + c1 * R * 0.3, wy + s1 * R * 0.3}});
        setColor(cr, (i % 2) ? a.look.tone(blade) : a.look.dark(blade, 0.2));
        cairo_fill(cr);
    }
    cairo_new_sub_path(cr);
    cairo_arc(cr, wx, wy, R, 0, 2 * M_PI);
    edge(cr, a.look.dark(steel, 0.3), 1.2);
    ellipsePath(cr, wx, wy, R * 0.16, R * 0.16);
    setColor(cr, a.look.dark(steel, 0.4));
    cairo_fill(cr);
}

void thingTelegraphPole(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb wood = a.args.color("color", Rgb::hex(0x6A4A32));
    cairo_rectangle(cr, W * 0.44, H * 0.06, W * 0.12, H * 0.92);
    sideLit(cr, a.look, W * 0.44, W * 0.56, wood);
    for (int i = 0; i < 2; ++i) {
        double y = H * (0.12 + 0.1 * i);
        cairo_rectangle(cr, W * 0.06, y, W * 0.88, H * 0.025);
        setColor(cr, a.look.tone(wood));
        cairo_fill(cr);
        for (int k = 0; k < 4; ++k) {
            double ix = W * (0.12 + 0.25 * k);
            ellipsePath(cr, ix, y - 2, 2.2, 3);
            setColor(cr, a.look.tone(Rgb::hex(0x7AA0A0)));
            cairo_fill(cr);
        }
    }
}

void thingHaystack(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb hay = a.args.color("color", Rgb::hex(0xD8B050));
    groundShadow(cr, W / 2, H - 5, W * 0.5, 5, a.look);
    cairo_move_to(cr, W * 0.02, H - 5);
    cairo_curve_to(cr, W * 0.02, H * 0.3, W * 0.3, H * 0.04, W * 0.5, H * 0.04);
    cairo_curve_to(cr, W * 0.7, H * 0.04, W * 0.98, H * 0.3, W * 0.98, H - 5);
    cairo_close_path(cr);
    sideLit(cr, a.look, 0, W, hay, true);
    cairo_save(cr);
    cairo_clip(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < static_cast<int>(W * H / 30); ++i) {
        double x = a.rng.range(0, W), y = a.rng.range(0, H), len = a.rng.range(4, 10), ang = a.rng.range(-0.8, 0.8) + M_PI / 2;
        strokeLine(cr, x, y, x + std::cos(ang) * len, y + std::sin(ang) * len, 1.0,
                   a.rng.chance(0.5) ? a.look.lit(hay, 0.3) : a.look.dark(hay, 0.35), 0.6);
    }
    cairo_restore(cr);
}

void thingWagon(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb wood = a.args.color("color", Rgb::hex(0x3E6A8A)), wheel = a.args.color("wheels", Rgb::hex(0xA8402E));
    cairo_save(cr);
    flipIf(cr, a.args.flag("flip", false), W);
    groundShadow(cr, W * 0.45, H - 5, W * 0.44, 5, a.look);
    double bx = W * 0.08, by = H * 0.3, bw = W * 0.68, bh = H * 0.32;
    // Load of hay.
    cairo_move_to(cr, bx, by + 4);
    cairo_curve_to(cr, bx + bw * 0.1, by - H * 0.28, bx + bw * 0.9, by - H * 0.28, bx + bw, by + 4);
    cairo_close_path(cr);
    sideLit(cr, a.look, bx, bx + bw, Rgb::hex(0xD8B050));
    cairo_rectangle(cr, bx, by, bw, bh);
    topLit(cr, a.look, by, by + bh, wood, true);
    edge(cr, a.look.dark(wood, 0.6), 1.2);
    for (int i = 1; i < 3; ++i) strokeLine(cr, bx, by + bh * i / 3, bx + bw, by + bh * i / 3, 1, a.look.dark(wood, 0.5), 0.6);
    strokeLine(cr, bx + bw, by + bh * 0.8, W * 0.98, H * 0.72, 2.5, a.look.dark(Rgb::hex(0x6A4A32), 0.2));
    double r = H * 0.22;
    spokedWheel(cr, bx + bw * 0.2, H - 4 - r, r, wheel, a.look);
    spokedWheel(cr, bx + bw * 0.82, H - 4 - r * 0.85, r * 0.85, wheel, a.look);
    cairo_restore(cr);
}

void thingFence(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb wood = a.args.color("color", Rgb::hex(0x8A6A4A));
    int posts = a.args.integer("posts", 3);
    for (int i = 0; i < posts; ++i) {
        double px = W * (0.06 + 0.88 * i / std::max(1, posts - 1)) - 4;
        cairo_rectangle(cr, px, H * 0.08, 8, H * 0.88);
        sideLit(cr, a.look, px, px + 8, wood);
    }
    for (int r = 0; r < 2; ++r) {
        double y0 = H * (0.22 + 0.36 * r);
        polygon(cr, {{W * 0.02, y0}, {W * 0.98, y0 + H * 0.04}, {W * 0.98, y0 + H * 0.16}, {W * 0.02, y0 + H * 0.12}});
        topLit(cr, a.look, y0, y0 + H * 0.16, wood, true);
        edge(cr, a.look.dark(wood, 0.6), 0.8);
    }
    Rng g = a.rng.fork("grass");
    grassTufts(cr, 0, W, H - 2, H * 0.3, a.look.tone(Rgb::hex(0x9A9048)), g, 0.8);
}

void thingScarecrow(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb shirt = a.args.color("shirt", Rgb::hex(0x3E6A9A)), hatC = a.args.color("hat", Rgb::hex(0x5A4030));
    Rgb straw = Rgb::hex(0xE0C070);
    cairo_rectangle(cr, W * 0.46, H * 0.2, W * 0.08, H * 0.78);
    sideLit(cr, a.look, W * 0.46, W * 0.54, Rgb::hex(0x6A4A32));
    strokeLine(cr, W * 0.06, H * 0.38, W * 0.94, H * 0.36, 3, a.look.tone(Rgb::hex(0x6A4A32)));
    polygon(cr, {{W * 0.12, H * 0.33}, {W * 0.88, H * 0.31}, {W * 0.78, H * 0.44}, {W * 0.7, H * 0.72}, {W * 0.3, H * 0.72}, {W * 0.22, H * 0.44}});
    topLit(cr, a.look, H * 0.3, H * 0.72, shirt, true);
    edge(cr, a.look.dark(shirt, 0.6), 1.0);
    cairo_rectangle(cr, W * 0.4, H * 0.45, W * 0.08, H * 0.08);
    setColor(cr, a.look.tone(Rgb::hex(0xC8A040)));
    cairo_fill(cr);
    for (int s = -1; s <= 1; s += 2) {
        for (int k = 0; k < 4; ++k) {
            double x0 = W * 0.5 + s * W * 0.42, y0 = H * 0.36;
            strokeLine(cr, x0, y0, x0 + s * a.rng.range(2, 6), y0 + a.rng.range(2, 9), 1.2, a.look.tone(straw));
        }
    }
    ellipsePath(cr, W * 0.5, H * 0.22, W * 0.16, H * 0.09);
    setColor(cr, a.look.tone(Rgb::hex(0xE8D0A0)));
    cairo_fill(cr);
    ellipsePath(cr, W * 0.44, H * 0.21, 1.8, 1.8);
    ellipsePath(cr, W * 0.56, H * 0.21, 1.8, 1.8);
    setColor(cr, Rgb::hex(0x2A2020));
    cairo_fill(cr);
    ellipsePath(cr, W * 0.5, H * 0.15, W * 0.3, H * 0.035);
    setColor(cr, a.look.tone(hatC));
    cairo_fill(cr);
    roundedRect(cr, W * 0.36, H * 0.04, W * 0.28, H * 0.11, 4);
    sideLit(cr, a.look, W * 0.36, W * 0.64, hatC);
}

void thingWaterPump(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb iron = a.args.color("color", Rgb::hex(0x3E5A4A));
    groundShadow(cr, W / 2, H - 4, W * 0.46, 4, a.look);
    cairo_rectangle(cr, W * 0.3, H - 10, W * 0.4, 8);
    setColor(cr, a.look.tone(Rgb::hex(0x8A8078)));
    cairo_fill(cr);
    roundedRect(cr, W * 0.36, H * 0.25, W * 0.28, H * 0.66, 4);
    sideLit(cr, a.look, W * 0.36, W * 0.64, iron);
    strokeLine(cr, W * 0.62, H * 0.42, W * 0.92, H * 0.5, 4, a.look.tone(iron));
    strokeLine(cr, W * 0.5, H * 0.25, W * 0.08, H * 0.08, 3, a.look.tone(iron));
    ellipsePath(cr, W * 0.5, H * 0.25, W * 0.16, H * 0.04);
    setColor(cr, a.look.lit(iron, 0.2));
    cairo_fill(cr);
}

void thingTrough(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb wood = a.args.color("color", Rgb::hex(0x7A5A3A));
    groundShadow(cr, W / 2, H - 4, W * 0.5, 5, a.look);
    polygon(cr, {{W * 0.02, H * 0.35}, {W * 0.98, H * 0.35}, {W * 0.9, H * 0.82}, {W * 0.1, H * 0.82}});
    topLit(cr, a.look, H * 0.35, H * 0.82, wood, true);
    edge(cr, a.look.dark(wood, 0.6), 1.0);
    ellipsePath(cr, W / 2, H * 0.37, W * 0.46, H * 0.08);
    setColor(cr, a.look.tone(Rgb::hex(0x6A90B0)));
    cairo_fill(cr);
    for (double x : {W * 0.14, W * 0.86}) {
        cairo_rectangle(cr, x - 4, H * 0.8, 8, H * 0.18);
        setColor(cr, a.look.dark(wood, 0.3));
        cairo_fill(cr);
    }
}

void thingMailbox(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb box = a.args.color("color", Rgb::hex(0x6A7078));
    cairo_rectangle(cr, W * 0.42, H * 0.3, W * 0.16, H * 0.68);
    sideLit(cr, a.look, W * 0.42, W * 0.58, Rgb::hex(0x6A4A32));
    cairo_move_to(cr, W * 0.06, H * 0.32);
    cairo_line_to(cr, W * 0.06, H * 0.14);
    cairo_curve_to(cr, W * 0.06, H * 0.02, W * 0.94, H * 0.02, W * 0.94, H * 0.14);
    cairo_line_to(cr, W * 0.94, H * 0.32);
    cairo_close_path(cr);
    topLit(cr, a.look, H * 0.03, H * 0.32, box, true);
    edge(cr, a.look.dark(box, 0.6), 1.0);
    cairo_rectangle(cr, W * 0.82, H * 0.08, W * 0.06, H * 0.16);
    setColor(cr, a.look.tone(Rgb::hex(0xC8362C)));
    cairo_fill(cr);
}

// --- plants ----------------------------------------------------------------------------------

void thingTree(ArtContext& a) {
    Rgb leaf = a.args.color("color", Rgb::hex(0x5E8A3A)), trunk = a.args.color("trunk", Rgb::hex(0x5A4030));
    groundShadow(a.cr, a.w / 2, a.h - 5, a.w * 0.45, 5, a.look);
    Rng r = a.rng.fork("tree");
    tree(a.cr, a.w / 2, a.h - 4, a.h * 0.98, leaf, trunk, a.look, r);
}

void thingSunflowers(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    int n = a.args.integer("count", 3);
    for (int i = 0; i < n; ++i) {
        double fx = W * (0.25 + 0.5 * i / std::max(1, n - 1)) + a.rng.range(-4, 4);
        double fy = H * (0.12 + 0.14 * (i % 2)) + a.rng.range(0, 8);
        double r = std::min(W, H) * 0.14;
        strokeLine(cr, fx, fy, fx + a.rng.range(-6, 6), H - 2, 2.6, a.look.tone(Rgb::hex(0x4A7A2E)));
        for (int s = -1; s <= 1; s += 2) {
            double ly = fy + (H - fy) * a.rng.range(0.3, 0.6);
            ellipsePath(cr, fx + s * r * 0.7, ly, r * 0.7, r * 0.3);
            setColor(cr, a.look.tone(Rgb::hex(0x5A8A34)));
            cairo_fill(cr);
        }
        for (int p = 0; p < 14; ++p) {
            double ang = p * 2 * M_PI / 14;
            ellipsePath(cr, fx + std::cos(ang) * r * 0.95, fy + std::sin(ang) * r * 0.95, r * 0.45, r * 0.18);
            cairo_save(cr);
            cairo_restore(cr);
            setColor(cr, a.look.tone(p % 2 ? Rgb::hex(0xF2C030) : Rgb::hex(0xE8A820)));
            cairo_fill(cr);
        }
        ellipsePath(cr, fx, fy, r * 0.6, r * 0.6);
        fillRadial(cr, fx - r * 0.2, fy - r * 0.2, 1, r * 0.7, {{0, a.look.tone(Rgb::hex(0x7A4A20))}, {1, a.look.tone(Rgb::hex(0x3A2010))}});
    }
}

void thingPumpkin(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", Rgb::hex(0xE07A20));
    groundShadow(cr, W / 2, H - 4, W * 0.48, 4, a.look);
    for (int i = -2; i <= 2; ++i) {
        ellipsePath(cr, W / 2 + i * W * 0.11, H * 0.58, W * (0.22 - std::abs(i) * 0.02), H * 0.36);
        sideLit(cr, a.look, W / 2 + i * W * 0.11 - W * 0.22, W / 2 + i * W * 0.11 + W * 0.22, c, true);
        edge(cr, a.look.dark(c, 0.5), 0.8, 0.6);
    }
    cairo_move_to(cr, W / 2, H * 0.26);
    cairo_curve_to(cr, W * 0.52, H * 0.12, W * 0.6, H * 0.06, W * 0.66, H * 0.08);
    cairo_set_line_width(cr, 3.5);
    setColor(cr, a.look.tone(Rgb::hex(0x5A6A2A)));
    cairo_stroke(cr);
}

// --- animals ---------------------------------------------------------------------------------

void thingChickens(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    int n = a.args.integer("count", 2);
    for (int i = 0; i < n; ++i) {
        double cx = W * (0.3 + 0.42 * i), base = H - 4 - (i % 2) * 4;
        double s = H * 0.3;
        Rgb body = i % 2 ? Rgb::hex(0xF2ECE0) : Rgb::hex(0xA8602E);
        groundShadow(cr, cx, base, s * 0.9, 3, a.look);
        strokeLine(cr, cx - s * 0.15, base - s * 0.5, cx - s * 0.2, base, 1.4, Rgb::hex(0xD89A30));
        strokeLine(cr, cx + s * 0.15, base - s * 0.5, cx + s * 0.2, base, 1.4, Rgb::hex(0xD89A30));
        ellipsePath(cr, cx, base - s * 0.95, s * 0.8, s * 0.55);
        topLit(cr, a.look, base - s * 1.5, base - s * 0.4, body, true);
        edge(cr, a.look.dark(body, 0.5), 0.8, 0.6);
        polygon(cr, {{cx - s * 0.6, base - s * 1.1}, {cx - s * 1.0, base - s * 1.6}, {cx - s * 0.45, base - s * 1.3}});
        setColor(cr, a.look.tone(body));
        cairo_fill(cr);
        ellipsePath(cr, cx + s * 0.62, base - s * 1.5, s * 0.3, s * 0.3);
        setColor(cr, a.look.tone(body));
        cairo_fill(cr);
        polygon(cr, {{cx + s * 0.5, base - s * 1.8}, {cx + s * 0.62, base - s * 2.0}, {cx + s * 0.76, base - s * 1.78}});
        setColor(cr, Rgb::hex(0xC8282C));
        cairo_fill(cr);
        polygon(cr, {{cx + s * 0.9, base - s * 1.55}, {cx + s * 1.1, base - s * 1.45}, {cx + s * 0.9, base - s * 1.38}});
        setColor(cr, Rgb::hex(0xE8A830));
        cairo_fill(cr);
    }
}

void thingRabbit(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb fur = a.args.color("color", Rgb::hex(0x9A7A5A));
    cairo_save(cr);
    flipIf(cr, a.args.flag("flip", false), W);
    groundShadow(cr, W / 2, H - 4, W * 0.42, 4, a.look);
    ellipsePath(cr, W * 0.42, H * 0.66, W * 0.3, H * 0.28);
    topLit(cr, a.look, H * 0.38, H * 0.95, fur, true);
    edge(cr, a.look.dark(fur, 0.5), 0.8, 0.5);
    ellipsePath(cr, W * 0.14, H * 0.66, W * 0.08, H * 0.08);
    setColor(cr, {1, 1, 1}, 0.95);
    cairo_fill(cr);
    ellipsePath(cr, W * 0.68, H * 0.42, W * 0.15, H * 0.16);
    setColor(cr, a.look.tone(fur));
    cairo_fill(cr);
    for (int s = 0; s < 2; ++s) {
        ellipsePath(cr, W * (0.62 + 0.08 * s), H * 0.16, W * 0.05, H * 0.17);
        setColor(cr, a.look.tone(s ? fur : darken(fur, 0.15)));
        cairo_fill(cr);
    }
    ellipsePath(cr, W * 0.73, H * 0.4, 1.6, 1.6);
    setColor(cr, Rgb::hex(0x101010));
    cairo_fill(cr);
    cairo_restore(cr);
}

// --- tools and containers --------------------------------------------------------------------

void thingMilkCans(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb tin = a.args.color("color", Rgb::hex(0xB8C0C8));
    groundShadow(cr, W / 2, H - 4, W * 0.48, 5, a.look);
    for (int i = 0; i < 2; ++i) {
        double cx = W * (0.3 + 0.4 * i), r = W * 0.19, top = H * (0.3 + 0.06 * i);
        cylinder(cr, cx, top + H * 0.2, H - 7, r, r * 0.3, tin, a.look);
        polygon(cr, {{cx - r, top + H * 0.2}, {cx - r * 0.45, top + 2}, {cx + r * 0.45, top + 2}, {cx + r, top + H * 0.2}});
        sideLit(cr, a.look, cx - r, cx + r, tin);
        cylinder(cr, cx, top - H * 0.08, top + 2, r * 0.5, r * 0.15, darken(tin, 0.1), a.look);
    }
}

void thingWheelbarrow(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb wood = a.args.color("color", Rgb::hex(0x8A5A34));
    cairo_save(cr);
    flipIf(cr, a.args.flag("flip", false), W);
    groundShadow(cr, W / 2, H - 4, W * 0.45, 4, a.look);
    strokeLine(cr, W * 0.3, H * 0.6, W * 0.02, H * 0.5, 3, a.look.dark(wood, 0.2));
    strokeLine(cr, W * 0.4, H * 0.62, W * 0.36, H - 4, 2.5, a.look.dark(wood, 0.3));
    polygon(cr, {{W * 0.2, H * 0.25}, {W * 0.92, H * 0.2}, {W * 0.78, H * 0.64}, {W * 0.3, H * 0.66}});
    topLit(cr, a.look, H * 0.2, H * 0.66, wood, true);
    edge(cr, a.look.dark(wood, 0.6), 1.0);
    Rng st = a.rng.fork("stones");
    for (int i = 0; i < 5; ++i) {
        blobPath(cr, W * st.range(0.35, 0.8), H * 0.22, W * 0.07, H * 0.07, 0.2, st, 7);
        setColor(cr, a.look.tone(Rgb::hex(0x8A8078)));
        cairo_fill(cr);
    }
    spokedWheel(cr, W * 0.82, H * 0.74, H * 0.22, Rgb::hex(0x5A4030), a.look);
    cairo_restore(cr);
}

// --- the studio's still life -----------------------------------------------------------------

// The studio's mascot bird: a kestrel figurine in glazed ceramic on a little plinth.
void thingKestrel(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb feather = a.args.color("color", Rgb::hex(0xB8683A)), glaze = a.args.color("plinth", Rgb::hex(0x2E4E6A));
    groundShadow(cr, W / 2, H - 5, W * 0.46, 5, a.look, 0.45);
    cairo_rectangle(cr, W * 0.18, H * 0.82, W * 0.64, H * 0.14);
    sideLit(cr, a.look, W * 0.18, W * 0.82, glaze);
    ellipsePath(cr, W / 2, H * 0.82, W * 0.32, H * 0.03);
    setColor(cr, a.look.lit(glaze, 0.3));
    cairo_fill(cr);
    // Tail, body, folded wing, head.
    polygon(cr, {{W * 0.42, H * 0.62}, {W * 0.22, H * 0.8}, {W * 0.36, H * 0.82}, {W * 0.52, H * 0.68}});
    setColor(cr, a.look.dark(feather, 0.25));
    cairo_fill(cr);
    cairo_move_to(cr, W * 0.5, H * 0.8);
    cairo_curve_to(cr, W * 0.3, H * 0.66, W * 0.36, H * 0.36, W * 0.58, H * 0.3);
    cairo_curve_to(cr, W * 0.76, H * 0.36, W * 0.78, H * 0.66, W * 0.62, H * 0.8);
    cairo_close_path(cr);
    sideLit(cr, a.look, W * 0.3, W * 0.78, feather, true);
    edge(cr, a.look.dark(feather, 0.6), 1.0);
    cairo_move_to(cr, W * 0.62, H * 0.38);
    cairo_curve_to(cr, W * 0.5, H * 0.48, W * 0.4, H * 0.62, W * 0.36, H * 0.76);
    cairo_curve_to(cr, W * 0.5, H * 0.7, W * 0.6, H * 0.56, W * 0.66, H * 0.44);
    cairo_close_path(cr);
    setColor(cr, a.look.tone(Rgb::hex(0x6A7A8A)));
    cairo_fill(cr);
    for (int i = 0; i < 5; ++i) {
        double sx = W * (0.44 + 0.05 * i), sy = H * (0.5 + 0.04 * i);
        ellipsePath(cr, sx, sy, 2.2, 1.6);
        setColor(cr, a.look.dark(feather, 0.6));
        cairo_fill(cr);
    }
    ellipsePath(cr, W * 0.6, H * 0.24, W * 0.15, H * 0.11);
    sideLit(cr, a.look, W * 0.45, W * 0.75, mix(feather, Rgb::hex(0x8A8A9A), 0.5));
    ellipsePath(cr, W * 0.64, H * 0.27, W * 0.08, H * 0.06);
    setColor(cr, a.look.tone(Rgb::hex(0xF2E8D8)));
    cairo_fill(cr);
    polygon(cr, {{W * 0.72, H * 0.22}, {W * 0.82, H * 0.26}, {W * 0.72, H * 0.29}});
    setColor(cr, a.look.tone(Rgb::hex(0xE8B030)));
    cairo_fill(cr);
    ellipsePath(cr, W * 0.65, H * 0.21, 2.6, 2.6);
    setColor(cr, Rgb::hex(0x101010));
    cairo_fill(cr);
    strokeLine(cr, W * 0.63, H * 0.25, W * 0.62, H * 0.33, 1.6, Rgb::hex(0x2A2A30), 0.8);
    // Glaze highlight.
    ellipsePath(cr, W * 0.46, H * 0.46, W * 0.04, H * 0.08);
    setColor(cr, {1, 1, 1}, 0.45);
    cairo_fill(cr);
}

void thingHeadphones(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb shell = a.args.color("color", Rgb::hex(0x2A2A32)), pad = a.args.color("pads", Rgb::hex(0xC83A34));
    groundShadow(cr, W / 2, H - 6, W * 0.48, 6, a.look, 0.45);
    // The band, seen lying on the table in a loose arch.
    cairo_move_to(cr, W * 0.14, H * 0.62);
    cairo_curve_to(cr, W * 0.12, H * 0.0, W * 0.88, H * 0.0, W * 0.86, H * 0.62);
    cairo_set_line_width(cr, H * 0.11);
    setColor(cr, a.look.dark(shell, 0.2));
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, H * 0.06);
    setColor(cr, a.look.lit(shell, 0.2));
    cairo_stroke(cr);
    for (int s = 0; s < 2; ++s) {
        double cx = s ? W * 0.82 : W * 0.18, cy = H * 0.7;
        ellipsePath(cr, cx, cy, W * 0.15, H * 0.24);
        sideLit(cr, a.look, cx - W * 0.15, cx + W * 0.15, shell, true);
        edge(cr, Rgb::hex(0x101014), 1.0);
        ellipsePath(cr, cx + (s ? -1 : 1) * W * 0.05, cy, W * 0.09, H * 0.18);
        sideLit(cr, a.look, cx - W * 0.1, cx + W * 0.1, pad);
        ellipsePath(cr, cx - W * 0.04, cy - H * 0.1, W * 0.03, H * 0.05);
        setColor(cr, {1, 1, 1}, 0.4);
        cairo_fill(cr);
    }
    // The cable trailing off.
    cairo_move_to(cr, W * 0.2, H * 0.92);
    cairo_curve_to(cr, W * 0.35, H * 1.0, W * 0.55, H * 0.85, W * 0.62, H * 0.95);
    cairo_set_line_width(cr, 2);
    setColor(cr, a.look.tone(shell));
    cairo_stroke(cr);
}

void thingTeacup(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb china = a.args.color("color", Rgb::hex(0xF4F0E8)), rim = a.args.color("rim", Rgb::hex(0x3A6AA8));
    groundShadow(cr, W / 2, H - 5, W * 0.48, 4, a.look, 0.4);
    ellipsePath(cr, W / 2, H - 9, W * 0.46, H * 0.12);
    topLit(cr, a.look, H - 16, H - 3, china, true);
    edge(cr, a.look.dark(china, 0.5), 0.8);
    double top = H * 0.3, r = W * 0.3;
    cairo_move_to(cr, W / 2 - r, top);
    cairo_curve_to(cr, W / 2 - r, H * 0.75, W / 2 + r, H * 0.75, W / 2 + r, top);
    cairo_close_path(cr);
    sideLit(cr, a.look, W / 2 - r, W / 2 + r, china, true);
    edge(cr, a.look.dark(china, 0.5), 0.8);
    cairo_new_sub_path(cr);
    cairo_arc(cr, W / 2 + r + 3, top + H * 0.16, H * 0.11, -M_PI / 2, M_PI / 2);
    cairo_set_line_width(cr, 3);
    setColor(cr, a.look.tone(china));
    cairo_stroke(cr);
    ellipsePath(cr, W / 2, top, r, H * 0.08);
    setColor(cr, a.look.tone(Rgb::hex(0x8A4A22)));
    cairo_fill_preserve(cr);
    edge(cr, a.look.tone(rim), 1.6, 1.0);
    // Steam.
    for (int i = 0; i < 2; ++i) {
        double sx = W / 2 - 5 + i * 10;
        cairo_move_to(cr, sx, top - 3);
        cairo_curve_to(cr, sx - 5, top - 10, sx + 5, top - 14, sx, top - 22);
        cairo_set_line_width(cr, 1.6);
        setColor(cr, {1, 1, 1}, 0.5);
        cairo_stroke(cr);
    }
}

}  // namespace

void registerFarmThingArt(ArtRegistry& r) {
    r.add("kite", thingKite);
    r.add("flock", thingFlock);
    r.add("hat", thingHat);
    r.add("windmill", thingWindmill);
    r.add("telegraphpole", thingTelegraphPole);
    r.add("haystack", thingHaystack);
    r.add("wagon", thingWagon);
    r.add("fence", thingFence);
    r.add("scarecrow", thingScarecrow);
    r.add("waterpump", thingWaterPump);
    r.add("trough", thingTrough);
    r.add("mailbox", thingMailbox);
    r.add("tree", thingTree);
    r.add("sunflowers", thingSunflowers);
    r.add("pumpkin", thingPumpkin);
    r.add("chickens", thingChickens);
    r.add("rabbit", thingRabbit);
    r.add("milkcans", thingMilkCans);
    r.add("wheelbarrow", thingWheelbarrow);
    r.add("kestrel", thingKestrel);
    r.add("headphones", thingHeadphones);
    r.add("teacup", thingTeacup);
}

}  // namespace assetgen
