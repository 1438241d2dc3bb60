// The restorable objects of the level pictures. Each draws itself to fill its box (origin
// top-left, w x h), standing on the box's bottom edge unless it floats or flies, lit by the
// picture's Look so that it belongs to its scene.
#include <cmath>

#include "art/Art.h"
#include "art/SceneKit.h"
#include "core/Draw.h"

namespace assetgen {

namespace {

void edge(cairo_t* cr, const Rgb& c, double width = 1.4, double alpha = 0.8) {
    cairo_set_line_width(cr, width);
    setColor(cr, c, alpha);
    cairo_stroke(cr);
}

// Shading across a shape between x0 and x1, lit from the look's side.
void sideLit(cairo_t* cr, const Look& look, double x0, double x1, const Rgb& c, bool preserve = false) {
    Rgb l = look.lit(c, 0.3), m = look.tone(c), d = look.dark(c, 0.5);
    if (look.fromLeft() > 0) fillLinear(cr, x0, 0, x1, 0, {{0, l}, {0.45, m}, {1, d}}, preserve);
    else fillLinear(cr, x0, 0, x1, 0, {{0, d}, {0.55, m}, {1, l}}, preserve);
}

void topLit(cairo_t* cr, const Look& look, double y0, double y1, const Rgb& c, bool preserve = false) {
    fillLinear(cr, 0, y0, 0, y1, {{0, look.lit(c, 0.3)}, {0.5, look.tone(c)}, {1, look.dark(c, 0.45)}}, preserve);
}

// --- birds and sky ------------------------------------------------------------------------------

void thingGull(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb body = a.args.color("color", Rgb::hex(0xF4F0EA));
    double flap = a.args.number("flap", 0.5);
    bool flip = a.args.flag("flip", false);
    cairo_save(cr);
    if (flip) {
        cairo_translate(cr, W, 0);
        cairo_scale(cr, -1, 1);
    }
    double cx = W * 0.5, cy = H * 0.55;
    // Wings: a long M shape.
    for (int side = -1; side <= 1; side += 2) {
        double tipY = cy - H * (0.25 + 0.35 * flap);
        cairo_move_to(cr, cx, cy);
        cairo_curve_to(cr, cx + side * W * 0.12, cy - H * 0.35 * flap - 4, cx + side * W * 0.3, tipY, cx + side * W * 0.47, tipY + H * 0.1);
        cairo_curve_to(cr, cx + side * W * 0.3, tipY + H * 0.2, cx + side * W * 0.15, cy - H * 0.05, cx, cy + H * 0.12);
        cairo_close_path(cr);
        topLit(cr, a.look, tipY, cy + H * 0.1, body, true);
        edge(cr, a.look.dark(Rgb::hex(0x6A6A74), 0.3), 1.1, 0.7);
        cairo_move_to(cr, cx + side * W * 0.36, tipY + H * 0.05);
        cairo_line_to(cr, cx + side * W * 0.47, tipY + H * 0.1);
        cairo_set_line_width(cr, 3);
        setColor(cr, Rgb::hex(0x2A2A30), 0.85);
        cairo_stroke(cr);
    }
    ellipsePath(cr, cx, cy + H * 0.05, W * 0.12, H * 0.12);
    topLit(cr, a.look, cy - H * 0.1, cy + H * 0.2, body);
    ellipsePath(cr, cx + W * 0.12, cy, W * 0.06, H * 0.08);
    setColor(cr, a.look.tone(body));
    cairo_fill(cr);
    polygon(cr, {{cx + W * 0.17, cy - H * 0.01}, {cx + W * 0.23, cy + H * 0.03}, {cx + W * 0.17, cy + H * 0.05}});
    setColor(cr, Rgb::hex(0xE8A030));
    cairo_fill(cr);
    cairo_restore(cr);
}

void thingMoon(ArtContext& a) {
    cairo_t* cr = a.cr;
    double R = std::min(a.w, a.h) / 2 - 3, cx = a.w / 2, cy = a.h / 2;
    Rgb c = a.args.color("color", Rgb::hex(0xF6F0DC));
    softEllipse(cr, cx, cy, R + 3, R + 3, c, 0.35);
    cairo_save(cr);
    ellipsePath(cr, cx, cy, R, R);
    ellipsePath(cr, cx + R * 0.5, cy - R * 0.2, R * 0.86, R * 0.86);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr);
    ellipsePath(cr, cx, cy, R, R);
    fillRadial(cr, cx - R * 0.4, cy, 1, R, {{0, {1, 1, 1}}, {1, c}});
    cairo_restore(cr);
}

void thingBalloon(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    std::vector<Rgb> stripes = a.args.colors("colors");
    if (stripes.empty()) stripes = {Rgb::hex(0xC8402E), Rgb::hex(0xF0D070)};
    double cx = W / 2, ry = H * 0.36, rx = W * 0.46, cy = ry + 2;
    auto envelope = [&]() {
        cairo_move_to(cr, cx - rx * 0.35, cy + ry * 0.95);
        cairo_curve_to(cr, cx - rx * 1.25, cy + ry * 0.3, cx - rx * 1.1, cy - ry * 1.1, cx, cy - ry);
        cairo_curve_to(cr, cx + rx * 1.1, cy - ry * 1.1, cx + rx * 1.25, cy + ry * 0.3, cx + rx * 0.35, cy + ry * 0.95);
        cairo_close_path(cr);
    };
    envelope();
    cairo_save(cr);
    cairo_clip(cr);
    int n = 6;
    for (int i = 0; i < n; ++i) {
        double x0 = cx - rx + 2 * rx * i / n;
        cairo_rectangle(cr, x0, 0, 2 * rx / n + 1, H);
        setColor(cr, a.look.tone(stripes[static_cast<std::size_t>(i) % stripes.size()]));
        cairo_fill(cr);
    }
    envelope();
    double side = a.look.fromLeft();
    fillRadial(cr, cx - side * rx * 0.45, cy - ry * 0.4, rx * 0.1, rx * 1.6,
               {{0, {1, 1, 1}, 0.35}, {0.5, {1, 1, 1}, 0.0}, {1, a.look.shade, 0.55}});
    cairo_restore(cr);
    // Ropes and basket.
    double by = H * 0.86;
    strokeLine(cr, cx - rx * 0.33, cy + ry * 0.95, cx - W * 0.1, by, 1, Rgb::hex(0x3A2A20));
    strokeLine(cr, cx + rx * 0.33, cy + ry * 0.95, cx + W * 0.1, by, 1, Rgb::hex(0x3A2A20));
    roundedRect(cr, cx - W * 0.11, by, W * 0.22, H * 0.11, 2);
    sideLit(cr, a.look, cx - W * 0.11, cx + W * 0.11, Rgb::hex(0x9A6A3A));
}

// --- buildings and boats ----------------------------------------------------------------------------

void thingLighthouse(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb white = a.args.color("color", Rgb::hex(0xF2ECE2));
    Rgb band = a.args.color("band", Rgb::hex(0xB8382E));
    double base = H - 4, top = H * 0.2;
    double bw = W * 0.36, tw = W * 0.22;
    // Rocks at the foot.
    Rng rocks = a.rng.fork("rocks");
    for (int i = 0; i < 5; ++i) {
        blobPath(cr, W * rocks.range(0.15, 0.85), base - 4, W * rocks.range(0.12, 0.2), 7, 0.2, rocks, 7);
        topLit(cr, a.look, base - 12, base, Rgb::hex(0x6A6070));
    }
    polygon(cr, {{W / 2 - bw, base - 4}, {W / 2 - tw, top}, {W / 2 + tw, top}, {W / 2 + bw, base - 4}});
    sideLit(cr, a.look, W / 2 - bw, W / 2 + bw, white, true);
    cairo_save(cr);
    cairo_clip(cr);
    for (int i = 0; i < 3; ++i) {
        double y0 = top + (base - top) * (0.18 + 0.28 * i);
        cairo_rectangle(cr, 0, y0, W, (base - top) * 0.12);
        sideLit(cr, a.look, W / 2 - bw, W / 2 + bw, band);
    }
    cairo_restore(cr);
    // Gallery, lamp room with its glow, roof.
    cairo_rectangle(cr, W / 2 - tw * 1.35, top - 4, tw * 2.7, 5);
    setColor(cr, Rgb::hex(0x2A2430));
    cairo_fill(cr);
    cairo_rectangle(cr, W / 2 - tw * 0.85, top - H * 0.09, tw * 1.7, H * 0.09 - 4);
    setColor(cr, Rgb::hex(0xFFE8A0));
    cairo_fill(cr);
    polygon(cr, {{W / 2 - tw * 1.05, top - H * 0.09}, {W / 2, top - H * 0.16}, {W / 2 + tw * 1.05, top - H * 0.09}});
    setColor(cr, Rgb::hex(0x2A2430));
    cairo_fill(cr);
    softEllipse(cr, W / 2, top - H * 0.05, W * 0.45, H * 0.07, Rgb::hex(0xFFF0B0), 0.5);
}

void thingSteamship(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb hull = a.args.color("hull", Rgb::hex(0x2A2A34));
    Rgb house = a.args.color("house", Rgb::hex(0xE8DCC8));
    double wl = H * 0.82;
    // Smoke drifting back.
    for (int i = 0; i < 9; ++i) {
        double t = i / 8.0;
        softEllipse(cr, W * (0.52 - 0.45 * t), H * (0.3 - 0.18 * t), W * (0.06 + 0.06 * t), H * (0.08 + 0.06 * t),
                    mix(Rgb::hex(0x6A6070), Rgb::hex(0xC8B8C0), t), 0.6);
    }
    cairo_move_to(cr, W * 0.02, wl - H * 0.18);
    cairo_line_to(cr, W * 0.98, wl - H * 0.2);
    cairo_line_to(cr, W * 0.9, wl);
    cairo_line_to(cr, W * 0.08, wl);
    cairo_close_path(cr);
    topLit(cr, a.look, wl - H * 0.2, wl, hull);
    cairo_rectangle(cr, W * 0.28, wl - H * 0.34, W * 0.42, H * 0.16);
    topLit(cr, a.look, wl - H * 0.34, wl - H * 0.18, house);
    for (int i = 0; i < 6; ++i) {
        cairo_rectangle(cr, W * (0.31 + 0.065 * i), wl - H * 0.3, W * 0.03, H * 0.05);
        setColor(cr, Rgb::hex(0x3A3444));
        cairo_fill(cr);
    }
    cairo_rectangle(cr, W * 0.47, wl - H * 0.58, W * 0.07, H * 0.25);
    sideLit(cr, a.look, W * 0.47, W * 0.54, Rgb::hex(0xB8402E));
    cairo_rectangle(cr, W * 0.47, wl - H * 0.6, W * 0.07, H * 0.05);
    setColor(cr, Rgb::hex(0x1A1A20));
    cairo_fill(cr);
    strokeLine(cr, W * 0.2, wl - H * 0.19, W * 0.2, wl - H * 0.62, 1.6, hull);
    strokeLine(cr, W * 0.8, wl - H * 0.2, W * 0.8, wl - H * 0.55, 1.6, hull);
    strokeLine(cr, W * 0.2, wl - H * 0.62, W * 0.8, wl - H * 0.55, 0.8, hull, 0.7);
    Rng rr = a.rng.fork("refl");
    reflection(cr, W * 0.1, W * 0.88, wl, H - wl - 1, a.look.dark(hull, 0.2), rr, 0.45);
}

void thingSailboat(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb hull = a.args.color("hull", Rgb::hex(0x5A3A2A));
    Rgb sail = a.args.color("sail", Rgb::hex(0xF4E8D4));
    bool flip = a.args.flag("flip", false);
    cairo_save(cr);
    if (flip) {
        cairo_translate(cr, W, 0);
        cairo_scale(cr, -1, 1);
    }
    double wl = H * 0.86, mx = W * 0.46;
    strokeLine(cr, mx, wl - H * 0.1, mx, H * 0.04, std::max(1.5, W * 0.025), Rgb::hex(0x3A2A20));
    // Main sail and jib, bellied by the breeze.
    cairo_move_to(cr, mx + 2, H * 0.06);
    cairo_curve_to(cr, mx + W * 0.3, H * 0.25, mx + W * 0.42, H * 0.55, mx + W * 0.44, wl - H * 0.16);
    cairo_line_to(cr, mx + 2, wl - H * 0.14);
    cairo_close_path(cr);
    sideLit(cr, a.look, mx, mx + W * 0.45, sail, true);
    edge(cr, a.look.dark(sail, 0.5), 1.0, 0.6);
    cairo_move_to(cr, mx - 2, H * 0.14);
    cairo_curve_to(cr, mx - W * 0.2, H * 0.35, mx - W * 0.32, H * 0.55, mx - W * 0.36, wl - H * 0.17);
    cairo_line_to(cr, mx - 2, wl - H * 0.15);
    cairo_close_path(cr);
    sideLit(cr, a.look, mx - W * 0.36, mx, mix(sail, Rgb::hex(0xE8C8A8), 0.3), true);
    edge(cr, a.look.dark(sail, 0.5), 1.0, 0.6);
    cairo_move_to(cr, W * 0.04, wl - H * 0.14);
    cairo_line_to(cr, W * 0.96, wl - H * 0.15);
    cairo_curve_to(cr, W * 0.88, wl, W * 0.7, wl + 2, W * 0.5, wl + 2);
    cairo_curve_to(cr, W * 0.3, wl + 2, W * 0.12, wl, W * 0.04, wl - H * 0.14);
    cairo_close_path(cr);
    topLit(cr, a.look, wl - H * 0.15, wl, hull);
    strokeLine(cr, W * 0.05, wl - H * 0.13, W * 0.95, wl - H * 0.14, 1.5, Rgb::hex(0xE8D8B8), 0.8);
    Rng rr = a.rng.fork("refl");
    reflection(cr, W * 0.12, W * 0.88, wl + 1, H - wl - 2, a.look.dark(hull, 0.1), rr, 0.45);
    cairo_restore(cr);
}

// An open boat seen from the side: rowboat, canoe or punt.
void thingRowboat(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb hull = a.args.color("hull", Rgb::hex(0x3E6E8A));
    Rgb inside = a.args.color("inside", Rgb::hex(0xC89A60));
    bool oars = a.args.flag("oars", true);
    bool rower = a.args.flag("rower", false);
    bool flip = a.args.flag("flip", false);
    double sheer = a.args.number("sheer", 0.5);  // how high bow and stern rise
    cairo_save(cr);
    if (flip) {
        cairo_translate(cr, W, 0);
        cairo_scale(cr, -1, 1);
    }
    double wl = H * 0.78, top = H * 0.45;
    if (rower) {
        double rx = W * 0.5;
        ellipsePath(cr, rx, top - H * 0.3, H * 0.1, H * 0.11);
        setColor(cr, a.look.tone(Rgb::hex(0xE8B898)));
        cairo_fill(cr);
        polygon(cr, {{rx - H * 0.16, top + 2}, {rx - H * 0.12, top - H * 0.2}, {rx + H * 0.12, top - H * 0.2}, {rx + H * 0.16, top + 2}});
        sideLit(cr, a.look, rx - H * 0.16, rx + H * 0.16, a.args.color("shirt", Rgb::hex(0xB84A3A)));
        ellipsePath(cr, rx, top - H * 0.38, H * 0.13, H * 0.04);
        setColor(cr, Rgb::hex(0x3A2A1A));
        cairo_fill(cr);
    }
    if (oars) {
        strokeLine(cr, W * 0.42, top + 2, W * 0.18, H * 0.95, 2.2, Rgb::hex(0xC8A070));
        strokeLine(cr, W * 0.58, top + 2, W * 0.86, H * 0.95, 2.2, Rgb::hex(0xA88050));
    }
    cairo_move_to(cr, W * 0.02, top - H * 0.2 * sheer);
    cairo_curve_to(cr, W * 0.3, top + 2, W * 0.7, top + 2, W * 0.98, top - H * 0.22 * sheer);
    cairo_curve_to(cr, W * 0.9, wl, W * 0.75, wl + 2, W * 0.5, wl + 2);
    cairo_curve_to(cr, W * 0.25, wl + 2, W * 0.1, wl, W * 0.02, top - H * 0.2 * sheer);
    cairo_close_path(cr);
    topLit(cr, a.look, top - H * 0.2, wl, hull, true);
    edge(cr, a.look.dark(hull, 0.6), 1.2);
    cairo_move_to(cr, W * 0.05, top - H * 0.18 * sheer);
    cairo_curve_to(cr, W * 0.3, top + 4, W * 0.7, top + 4, W * 0.95, top - H * 0.2 * sheer);
    cairo_set_line_width(cr, 3);
    setColor(cr, a.look.tone(inside));
    cairo_stroke(cr);
    Rng rr = a.rng.fork("refl");
    reflection(cr, W * 0.1, W * 0.9, wl + 1, H - wl - 2, a.look.dark(hull, 0.2), rr, 0.4);
    cairo_restore(cr);
}

void thingBuoy(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", Rgb::hex(0xC8402E));
    double wl = H * 0.8;
    strokeLine(cr, W / 2, H * 0.06, W / 2, H * 0.3, 2, Rgb::hex(0x3A3A3A));
    ellipsePath(cr, W / 2, H * 0.06, W * 0.1, W * 0.1);
    setColor(cr, Rgb::hex(0xF0E0A0));
    cairo_fill(cr);
    polygon(cr, {{W * 0.3, H * 0.3}, {W * 0.7, H * 0.3}, {W * 0.86, wl}, {W * 0.14, wl}});
    sideLit(cr, a.look, W * 0.14, W * 0.86, c, true);
    edge(cr, a.look.dark(c, 0.6), 1.0);
    cairo_rectangle(cr, W * 0.22, H * 0.52, W * 0.56, H * 0.1);
    setColor(cr, a.look.tone(Rgb::hex(0xF2ECE0)));
    cairo_fill(cr);
    ellipsePath(cr, W / 2, wl, W * 0.42, H * 0.06);
    setColor(cr, a.look.dark(c, 0.4));
    cairo_fill(cr);
    Rng rr = a.rng.fork("refl");
    reflection(cr, W * 0.2, W * 0.8, wl + 2, H - wl - 2, a.look.dark(c, 0.3), rr, 0.4);
}

// --- water birds ----------------------------------------------------------------------------------

void thingDuck(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    bool swan = a.args.flag("swan", false);
    bool flip = a.args.flag("flip", false);
    Rgb body = a.args.color("color", swan ? Rgb::hex(0xF6F2EA) : Rgb::hex(0x8A6A4A));
    Rgb head = a.args.color("head", swan ? body : Rgb::hex(0x2E6A4A));
    cairo_save(cr);
    if (flip) {
        cairo_translate(cr, W, 0);
        cairo_scale(cr, -1, 1);
    }
    double wl = H * 0.8;
    ellipsePath(cr, W * 0.45, wl - H * 0.16, W * 0.36, H * 0.2);
    topLit(cr, a.look, wl - H * 0.36, wl, body, true);
    edge(cr, a.look.dark(body, 0.6), 1.0, 0.6);
    cairo_move_to(cr, W * 0.12, wl - H * 0.22);
    cairo_line_to(cr, W * 0.02, wl - H * 0.34);
    cairo_line_to(cr, W * 0.16, wl - H * 0.12);
    cairo_close_path(cr);
    setColor(cr, a.look.tone(body));
    cairo_fill(cr);
    double nx = W * 0.72, ny = wl - H * 0.22;
    double hx = W * 0.78, hy = swan ? H * 0.18 : wl - H * 0.5;
    cairo_move_to(cr, nx - W * 0.05, ny);
    if (swan) cairo_curve_to(cr, nx + W * 0.18, ny - H * 0.1, nx - W * 0.1, hy + H * 0.2, hx, hy);
    else cairo_curve_to(cr, nx, ny - H * 0.1, hx - W * 0.04, hy + H * 0.1, hx, hy);
    cairo_set_line_width(cr, swan ? W * 0.09 : W * 0.14);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    setColor(cr, a.look.tone(head));
    cairo_stroke(cr);
    ellipsePath(cr, hx, hy, W * 0.08, H * 0.1);
    setColor(cr, a.look.tone(head));
    cairo_fill(cr);
    polygon(cr, {{hx + W * 0.06, hy - H * 0.02}, {hx + W * 0.19, hy + H * 0.03}, {hx + W * 0.06, hy + H * 0.06}});
    setColor(cr, swan ? Rgb::hex(0xE07A2A) : Rgb::hex(0xE8B030));
    cairo_fill(cr);
    ellipsePath(cr, hx + W * 0.02, hy - H * 0.02, 1.6, 1.6);
    setColor(cr, Rgb::hex(0x101010));
    cairo_fill(cr);
    Rng rr = a.rng.fork("refl");
    reflection(cr, W * 0.12, W * 0.8, wl + 1, H - wl - 2, a.look.dark(body, 0.3), rr, 0.35);
    cairo_restore(cr);
}

// --- things on the quay -----------------------------------------------------------------------------

void barrel(cairo_t* cr, double cx, double y0, double y1, double r, const Rgb& wood, const Look& look) {
    double e = r * 0.3;
    double bulge = r * 0.12;
    cairo_move_to(cr, cx - r, y0);
    cairo_curve_to(cr, cx - r - bulge, y0 + (y1 - y0) * 0.3, cx - r - bulge, y0 + (y1 - y0) * 0.7, cx - r, y1);
    cairo_curve_to(cr, cx - r, y1 + e * 1.3, cx + r, y1 + e * 1.3, cx + r, y1);
    cairo_curve_to(cr, cx + r + bulge, y0 + (y1 - y0) * 0.7, cx + r + bulge, y0 + (y1 - y0) * 0.3, cx + r, y0);
    cairo_close_path(cr);
    sideLit(cr, look, cx - r - bulge, cx + r + bulge, wood, true);
    edge(cr, look.dark(wood, 0.7), 1.2);
    for (int i = 0; i < 4; ++i) {
        double yy = y0 + (y1 - y0) * (i < 2 ? 0.12 + 0.14 * i : 0.74 + 0.14 * (i - 2));
        cairo_move_to(cr, cx - r - bulge * 0.6, yy);
        cairo_curve_to(cr, cx - r, yy + e, cx + r, yy + e, cx + r + bulge * 0.6, yy);
        cairo_set_line_width(cr, 2.2);
        setColor(cr, look.dark(Rgb::hex(0x4A4A50), 0.3));
        cairo_stroke(cr);
    }
    for (int i = -2; i <= 2; ++i) {
        double sx = cx + i * r * 0.38;
        strokeLine(cr, sx, y0 + e * 0.5, sx, y1 + e * 0.5, 0.8, look.dark(wood, 0.6), 0.5);
    }
    ellipsePath(cr, cx, y0, r, e);
    setColor(cr, look.lit(wood, 0.1));
    cairo_fill_preserve(cr);
    edge(cr, look.dark(wood, 0.7), 1.0);
}

void thingBarrels(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb wood = a.args.color("color", Rgb::hex(0x9A6A3E));
    int count = a.args.integer("count", 2);
    bool floating = a.args.flag("floating", false);
    if (floating) {
        double wl = H * 0.72;
        cairo_save(cr);
        cairo_translate(cr, W / 2, wl - H * 0.15);
        cairo_rotate(cr, -1.35);
        barrel(cr, 0, -W * 0.35, W * 0.3, H * 0.32, wood, a.look);
        cairo_restore(cr);
        Rng rr = a.rng.fork("refl");
        reflection(cr, W * 0.12, W * 0.88, wl, H - wl - 2, a.look.dark(wood, 0.3), rr, 0.4);
        return;
    }
    groundShadow(cr, W / 2, H - 5, W * 0.48, 5, a.look);
    if (count >= 2) {
        double r = W * 0.22;
        barrel(cr, W * 0.28, H * 0.34, H - 8, r, wood, a.look);
        barrel(cr, W * 0.7, H * 0.4, H - 6, r * 0.95, mix(wood, Rgb::hex(0x7A5A3A), 0.4), a.look);
    } else {
        barrel(cr, W / 2, H * 0.16, H - 8, W * 0.38, wood, a.look);
    }
}

void crate(cairo_t* cr, double x, double y, double w, double h, double d, const Rgb& wood, const Look& look) {
    // Front face, top and one side in a simple oblique view.
    double side = look.fromLeft();
    double dx = d * 0.8 * (side > 0 ? 1 : -1);
    polygon(cr, {{x, y}, {x + dx, y - d * 0.6}, {x + w + dx, y - d * 0.6}, {x + w, y}});
    setColor(cr, look.lit(wood, 0.25));
    cairo_fill(cr);
    if (side > 0) polygon(cr, {{x + w, y}, {x + w + dx, y - d * 0.6}, {x + w + dx, y + h - d * 0.6}, {x + w, y + h}});
    else polygon(cr, {{x, y}, {x + dx, y - d * 0.6}, {x + dx, y + h - d * 0.6}, {x, y + h}});
    setColor(cr, look.dark(wood, 0.45));
    cairo_fill(cr);
    cairo_rectangle(cr, x, y, w, h);
    topLit(cr, look, y, y + h, wood, true);
    edge(cr, look.dark(wood, 0.7), 1.2);
    for (int i = 1; i < 3; ++i) strokeLine(cr, x, y + h * i / 3, x + w, y + h * i / 3, 1, look.dark(wood, 0.6), 0.6);
    strokeLine(cr, x + 3, y + 3, x + w - 3, y + h - 3, 3, look.dark(wood, 0.3), 0.8);
}

void thingCrates(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb wood = a.args.color("color", Rgb::hex(0xB08850));
    groundShadow(cr, W / 2, H - 4, W * 0.48, 5, a.look);
    double d = W * 0.16;
    crate(cr, W * 0.04, H * 0.45, W * 0.52, H * 0.52, d, wood, a.look);
    crate(cr, W * 0.44, H * 0.52, W * 0.44, H * 0.45, d * 0.8, mix(wood, Rgb::hex(0x8A6A40), 0.4), a.look);
    crate(cr, W * 0.18, H * 0.12, W * 0.4, H * 0.33, d * 0.8, mix(wood, Rgb::hex(0xD0A868), 0.3), a.look);
}

void thingAnchor(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb iron = a.args.color("color", Rgb::hex(0x4A4A52));
    groundShadow(cr, W / 2, H - 5, W * 0.45, 5, a.look);
    cairo_save(cr);
    cairo_translate(cr, W / 2, H / 2);
    cairo_rotate(cr, a.args.number("tilt", -0.25));
    cairo_translate(cr, -W / 2, -H / 2);
    double cx = W / 2;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    auto ironStroke = [&](double width) {
        cairo_set_line_width(cr, width + 2);
        setColor(cr, a.look.dark(iron, 0.7));
        cairo_stroke_preserve(cr);
        cairo_set_line_width(cr, width);
        setColor(cr, a.look.tone(iron));
        cairo_stroke(cr);
    };
    cairo_arc(cr, cx, H * 0.12, W * 0.09, 0, 2 * M_PI);
    ironStroke(W * 0.06);
    cairo_move_to(cr, cx, H * 0.2);
    cairo_line_to(cr, cx, H * 0.85);
    ironStroke(W * 0.1);
    cairo_move_to(cr, cx - W * 0.25, H * 0.3);
    cairo_line_to(cr, cx + W * 0.25, H * 0.3);
    ironStroke(W * 0.08);
    cairo_arc_negative(cr, cx, H * 0.5, H * 0.36, M_PI * 0.92, M_PI * 0.08);
    ironStroke(W * 0.09);
    for (int s = -1; s <= 1; s += 2) {
        double fx = cx + s * H * 0.36 * std::cos(M_PI * 0.08), fy = H * 0.5 + H * 0.36 * std::sin(M_PI * 0.08);
        polygon(cr, {{fx - s * W * 0.02, fy + 4}, {fx + s * W * 0.1, fy - H * 0.14}, {fx + s * W * 0.05, fy + H * 0.04}});
        setColor(cr, a.look.tone(iron));
        cairo_fill(cr);
    }
    cairo_restore(cr);
    // A rope looped through the ring.
    cairo_move_to(cr, W * 0.5, H * 0.12);
    cairo_curve_to(cr, W * 0.1, H * 0.2, W * 0.05, H * 0.7, W * 0.2, H * 0.93);
    cairo_set_line_width(cr, 3);
    setColor(cr, a.look.tone(Rgb::hex(0xC8A878)));
    cairo_stroke(cr);
}

void thingBollard(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb iron = a.args.color("color", Rgb::hex(0x2E2E36));
    groundShadow(cr, W / 2, H - 5, W * 0.46, 5, a.look);
    cylinder(cr, W / 2, H * 0.35, H - 8, W * 0.3, W * 0.1, iron, a.look);
    ellipsePath(cr, W / 2, H * 0.3, W * 0.42, W * 0.14);
    setColor(cr, a.look.lit(iron, 0.2));
    cairo_fill(cr);
    cylinder(cr, W / 2, H * 0.14, H * 0.3, W * 0.22, W * 0.08, iron, a.look);
    cairo_move_to(cr, W * 0.2, H * 0.62);
    cairo_curve_to(cr, W * 0.5, H * 0.7, W * 0.8, H * 0.55, W * 0.95, H * 0.75);
    cairo_set_line_width(cr, 3.5);
    setColor(cr, a.look.tone(Rgb::hex(0xC8A878)));
    cairo_stroke(cr);
}

void thingBucket(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", Rgb::hex(0x8A9098));
    groundShadow(cr, W / 2, H - 4, W * 0.46, 4, a.look);
    double top = H * 0.3, r0 = W * 0.38, r1 = W * 0.3;
    polygon(cr, {{W / 2 - r0, top}, {W / 2 - r1, H - 6}, {W / 2 + r1, H - 6}, {W / 2 + r0, top}});
    sideLit(cr, a.look, W / 2 - r0, W / 2 + r0, c, true);
    edge(cr, a.look.dark(c, 0.6), 1.0);
    ellipsePath(cr, W / 2, top, r0, r0 * 0.3);
    setColor(cr, a.look.dark(c, 0.5));
    cairo_fill(cr);
    ellipsePath(cr, W / 2, top + 2, r0 * 0.85, r0 * 0.2);
    setColor(cr, a.look.tone(a.args.color("water", Rgb::hex(0x6A8AA8))));
    cairo_fill(cr);
    cairo_arc(cr, W / 2, top, r0 * 0.9, M_PI * 1.05, M_PI * 1.95);
    edge(cr, Rgb::hex(0x3A3A40), 1.4);
    strokeLine(cr, W / 2 - r0 * 0.95, top + (H - top) * 0.3, W / 2 + r0 * 0.95, top + (H - top) * 0.3, 1.5, a.look.dark(c, 0.4), 0.6);
}

void thingRopeCoil(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", Rgb::hex(0xC8A878));
    groundShadow(cr, W / 2, H - 6, W * 0.48, 6, a.look);
    for (int i = 0; i < 5; ++i) {
        double k = 1.0 - i * 0.16;
        ellipsePath(cr, W / 2, H * 0.55 - i * H * 0.06, W * 0.46 * k, H * 0.34 * k);
        cairo_set_line_width(cr, H * 0.12);
        setColor(cr, a.look.dark(c, 0.45));
        cairo_stroke_preserve(cr);
        cairo_set_line_width(cr, H * 0.08);
        setColor(cr, a.look.lit(c, 0.1 * i));
        cairo_stroke(cr);
    }
    cairo_move_to(cr, W * 0.9, H * 0.6);
    cairo_curve_to(cr, W * 0.98, H * 0.8, W * 0.9, H * 0.95, W * 0.7, H * 0.92);
    cairo_set_line_width(cr, H * 0.08);
    setColor(cr, a.look.tone(c));
    cairo_stroke(cr);
}

void thingBasket(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", Rgb::hex(0xB88A4A));
    bool fish = a.args.flag("fish", true);
    groundShadow(cr, W / 2, H - 5, W * 0.48, 5, a.look);
    double top = H * 0.42;
    if (fish) {
        Rng fr = a.rng.fork("fish");
        for (int i = 0; i < 5; ++i) {
            double fx = W * fr.range(0.25, 0.75), fy = top - H * fr.range(0.02, 0.15), ang = fr.range(-0.6, 0.6);
            cairo_save(cr);
            cairo_translate(cr, fx, fy);
            cairo_rotate(cr, ang);
            ellipsePath(cr, 0, 0, W * 0.2, H * 0.08);
            topLit(cr, a.look, -H * 0.08, H * 0.08, Rgb::hex(0xA8B8C8));
            polygon(cr, {{W * 0.18, 0}, {W * 0.28, -H * 0.07}, {W * 0.28, H * 0.07}});
            setColor(cr, a.look.tone(Rgb::hex(0x8898A8)));
            cairo_fill(cr);
            cairo_restore(cr);
        }
    }
    polygon(cr, {{W * 0.06, top}, {W * 0.16, H - 6}, {W * 0.84, H - 6}, {W * 0.94, top}});
    sideLit(cr, a.look, W * 0.06, W * 0.94, c, true);
    cairo_save(cr);
    cairo_clip(cr);
    for (double yy = top + 4; yy < H; yy += 6) strokeLine(cr, 0, yy, W, yy, 1.4, a.look.dark(c, 0.5), 0.6);
    for (double xx = 0; xx < W; xx += 8) strokeLine(cr, xx, top, xx + 3, H, 1.0, a.look.lit(c, 0.2), 0.4);
    cairo_restore(cr);
    ellipsePath(cr, W / 2, top, W * 0.44, H * 0.07);
    edge(cr, a.look.dark(c, 0.5), 3);
}

void thingLanternPost(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb wood = a.args.color("color", Rgb::hex(0x5A3E2A));
    groundShadow(cr, W / 2, H - 4, W * 0.45, 4, a.look);
    cairo_rectangle(cr, W * 0.4, H * 0.3, W * 0.2, H * 0.68);
    sideLit(cr, a.look, W * 0.4, W * 0.6, wood);
    strokeLine(cr, W * 0.5, H * 0.3, W * 0.85, H * 0.3, 2.5, wood);
    // The lantern hangs from the arm, its flame still burning at dawn.
    double lx = W * 0.78, ly = H * 0.42;
    softEllipse(cr, lx, ly, W * 0.22, W * 0.22, Rgb::hex(0xFFD880), 0.55);
    polygon(cr, {{lx - W * 0.12, ly - H * 0.06}, {lx + W * 0.12, ly - H * 0.06}, {lx + W * 0.09, ly + H * 0.07}, {lx - W * 0.09, ly + H * 0.07}});
    setColor(cr, Rgb::hex(0xFFE8A8));
    cairo_fill_preserve(cr);
    edge(cr, Rgb::hex(0x2A2420), 1.6, 1.0);
    polygon(cr, {{lx - W * 0.14, ly - H * 0.06}, {lx, ly - H * 0.11}, {lx + W * 0.14, ly - H * 0.06}});
    setColor(cr, Rgb::hex(0x2A2420));
    cairo_fill(cr);
    strokeLine(cr, lx, ly - H * 0.11, lx, H * 0.3, 1.2, Rgb::hex(0x2A2420));
    ellipsePath(cr, W * 0.5, H * 0.3, W * 0.14, W * 0.05);
    setColor(cr, a.look.lit(wood, 0.2));
    cairo_fill(cr);
}

// --- animals on land ------------------------------------------------------------------------------

// A four-legged animal from the side, facing right: dog, cow or horse, by proportions.
void thingQuadruped(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    std::string kind = a.args.text("kind", "dog");
    if (kind != "dog" && kind != "cow" && kind != "horse") a.args.fail("kind must be dog, cow or horse");
    bool dog = kind == "dog", cow = kind == "cow", horse = kind == "horse";
    Rgb coat = a.args.color("color", cow ? Rgb::hex(0xF0E8E0) : horse ? Rgb::hex(0x7A4A2A) : Rgb::hex(0xB88A5A));
    Rgb patch = a.args.color("patch", cow ? Rgb::hex(0x3A2A24) : darken(coat, 0.35));
    bool flip = a.args.flag("flip", false);
    cairo_save(cr);
    if (flip) {
        cairo_translate(cr, W, 0);
        cairo_scale(cr, -1, 1);
    }
    double ground = H - 4;
    double legLen = H * (horse ? 0.42 : dog ? 0.34 : 0.34);
    double bodyH = H * (dog ? 0.28 : cow ? 0.36 : 0.3);
    double x0 = W * 0.12, x1 = W * (dog ? 0.7 : 0.74);
    double top = ground - legLen - bodyH * 0.8;
    double mid = (x0 + x1) / 2;
    groundShadow(cr, mid, ground - 1, W * 0.42, 5, a.look);
    Rgb far = a.look.dark(coat, 0.35), hoof = dog ? a.look.dark(coat, 0.2) : a.look.tone(Rgb::hex(0x2A2420));
    auto leg = [&](double lx, double width, const Rgb& c, double bend) {
        double y0 = top + bodyH * 0.55;
        cairo_move_to(cr, lx - width / 2, y0);
        cairo_curve_to(cr, lx - width * 0.45, y0 + (ground - y0) * 0.5, lx - width * 0.35 + bend, ground - H * 0.08,
                       lx - width * 0.3 + bend, ground - H * 0.04);
        cairo_line_to(cr, lx + width * 0.3 + bend, ground - H * 0.04);
        cairo_curve_to(cr, lx + width * 0.35 + bend, ground - H * 0.08, lx + width * 0.45, y0 + (ground - y0) * 0.5,
                       lx + width / 2, y0);
        cairo_close_path(cr);
        setColor(cr, c);
        cairo_fill(cr);
        roundedRect(cr, lx - width * 0.36 + bend, ground - H * 0.05, width * 0.72 + (dog ? width * 0.2 : 0), H * 0.05, 2);
        setColor(cr, hoof);
        cairo_fill(cr);
    };
    double lw = W * (horse ? 0.055 : cow ? 0.07 : 0.06);
    // Far legs first, a little apart and in shade.
    leg(x1 - W * 0.15, lw, far, -2);
    leg(x0 + W * 0.16, lw, far, 2);
    // Tail.
    cairo_move_to(cr, x0 + 3, top + bodyH * 0.2);
    if (dog) cairo_curve_to(cr, x0 - W * 0.06, top - H * 0.02, x0 - W * 0.1, top - H * 0.12, x0 - W * 0.07, top - H * 0.2);
    else cairo_curve_to(cr, x0 - W * 0.05, top + bodyH * 0.5, x0 - W * 0.05, top + bodyH, x0 - W * 0.03, top + bodyH * 1.5);
    cairo_set_line_width(cr, horse ? W * 0.05 : W * 0.025);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    setColor(cr, horse ? a.look.dark(coat, 0.6) : a.look.tone(coat));
    cairo_stroke(cr);
    if (cow) {
        ellipsePath(cr, x0 - W * 0.03, top + bodyH * 1.5, W * 0.02, H * 0.04);
        setColor(cr, a.look.tone(patch));
        cairo_fill(cr);
    }
    // Body: rump, back, withers, chest and belly in one smooth outline.
    std::vector<Pt> body = {{x0 + W * 0.04, top}, {mid, top + bodyH * 0.04}, {x1 - W * 0.07, top - bodyH * 0.05},
                            {x1 + W * 0.01, top + bodyH * 0.35}, {x1 - W * 0.04, top + bodyH * 0.95},
                            {mid, top + bodyH * (cow ? 1.12 : 1.02)}, {x0 + W * 0.05, top + bodyH * 0.92},
                            {x0 - W * 0.01, top + bodyH * 0.4}};
    smoothPath(cr, body, true);
    fillLinear(cr, 0, top - bodyH * 0.1, 0, top + bodyH * 1.1,
               {{0, a.look.lit(coat, 0.3)}, {0.45, a.look.tone(coat)}, {1, a.look.dark(coat, 0.4)}}, true);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    if (cow) {
        Rng pr = a.rng.fork("patches");
        for (int i = 0; i < 4; ++i) {
            blobPath(cr, pr.range(x0, x1), pr.range(top, top + bodyH), bodyH * 0.32, bodyH * 0.26, 0.3, pr, 8);
            setColor(cr, a.look.tone(patch));
            cairo_fill(cr);
        }
    }
    cairo_restore(cr);
    cairo_set_line_width(cr, 1.0);
    setColor(cr, a.look.dark(coat, 0.7), 0.6);
    cairo_stroke(cr);
    // Near legs over the body's lower edge.
    leg(x1 - W * 0.09, lw, a.look.tone(coat), 0);
    leg(x0 + W * 0.1, lw, a.look.tone(coat), 0);
    // Neck and head.
    double hx, hy, hw, hh, tilt;
    if (dog) { hx = x1 + W * 0.1; hy = top - H * 0.08; hw = W * 0.11; hh = H * 0.13; tilt = 0.15; }
    else if (cow) { hx = x1 + W * 0.1; hy = top + bodyH * 0.25; hw = W * 0.1; hh = H * 0.13; tilt = 0.55; }
    else { hx = x1 + W * 0.1; hy = top - H * 0.2; hw = W * 0.09; hh = H * 0.1; tilt = 0.95; }
    cairo_move_to(cr, x1 - W * 0.12, top + bodyH * 0.05);
    cairo_line_to(cr, hx - hw * 0.6, hy - hh * 0.4);
    cairo_line_to(cr, hx + hw * 0.1, hy + hh * 0.6);
    cairo_line_to(cr, x1 - W * 0.01, top + bodyH * 0.6);
    cairo_close_path(cr);
    setColor(cr, a.look.tone(coat));
    cairo_fill(cr);
    if (horse) {
        cairo_move_to(cr, x1 - W * 0.12, top + bodyH * 0.02);
        cairo_line_to(cr, hx - hw * 0.7, hy - hh * 0.5);
        cairo_set_line_width(cr, W * 0.035);
        setColor(cr, a.look.dark(coat, 0.65));
        cairo_stroke(cr);
    }
    cairo_save(cr);
    cairo_translate(cr, hx, hy);
    cairo_rotate(cr, tilt);
    // Skull and muzzle.
    ellipsePath(cr, 0, 0, hw * 0.7, hh * 0.62);
    fillLinear(cr, 0, -hh, 0, hh, {{0, a.look.lit(coat, 0.25)}, {1, a.look.dark(coat, 0.3)}});
    roundedRect(cr, hw * 0.1, -hh * 0.35, hw * (horse ? 1.1 : 0.85), hh * 0.7, hh * 0.32);
    Rgb muzzle = cow ? Rgb::hex(0xE8B0A8) : dog ? darken(coat, 0.15) : darken(coat, 0.2);
    setColor(cr, a.look.tone(muzzle));
    cairo_fill(cr);
    ellipsePath(cr, hw * (horse ? 1.1 : 0.88), -hh * 0.08, hw * 0.1, hh * 0.1);
    setColor(cr, Rgb::hex(0x1A1410));
    cairo_fill(cr);
    ellipsePath(cr, -hw * 0.05, -hh * 0.22, std::max(1.4, hw * 0.09), std::max(1.4, hw * 0.09));
    setColor(cr, Rgb::hex(0x100C08));
    cairo_fill(cr);
    cairo_restore(cr);
    // Ears (and horns).
    if (dog) {
        cairo_move_to(cr, hx - hw * 0.35, hy - hh * 0.45);
        cairo_curve_to(cr, hx - hw * 0.8, hy - hh * 0.2, hx - hw * 0.75, hy + hh * 0.5, hx - hw * 0.45, hy + hh * 0.55);
        cairo_curve_to(cr, hx - hw * 0.3, hy + hh * 0.2, hx - hw * 0.2, hy - hh * 0.2, hx - hw * 0.35, hy - hh * 0.45);
        setColor(cr, a.look.dark(coat, 0.35));
        cairo_fill(cr);
    } else {
        polygon(cr, {{hx - hw * 0.3, hy - hh * 0.45}, {hx - hw * 0.85, hy - hh * (horse ? 1.1 : 0.6)}, {hx - hw * 0.05, hy - hh * 0.6}});
        setColor(cr, a.look.tone(coat));
        cairo_fill(cr);
        if (cow) {
            cairo_move_to(cr, hx - hw * 0.1, hy - hh * 0.55);
            cairo_curve_to(cr, hx, hy - hh * 0.9, hx + hw * 0.2, hy - hh * 1.0, hx + hw * 0.3, hy - hh * 0.95);
            cairo_set_line_width(cr, 2.4);
            setColor(cr, Rgb::hex(0xE8DCC0));
            cairo_stroke(cr);
        }
    }
    cairo_restore(cr);
}

// A mooring post standing in the water with a life ring hung on it.
void thingLifeRing(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb wood = a.args.color("wood", Rgb::hex(0x5A3E2A));
    double wl = H * 0.86;
    cairo_rectangle(cr, W * 0.38, H * 0.04, W * 0.24, wl - H * 0.04);
    sideLit(cr, a.look, W * 0.38, W * 0.62, wood);
    ellipsePath(cr, W * 0.5, H * 0.04, W * 0.12, W * 0.04);
    setColor(cr, a.look.lit(wood, 0.2));
    cairo_fill(cr);
    double cx = W * 0.5, cy = H * 0.42, R = W * 0.42, r = W * 0.22;
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, R, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, cx, cy, r, 2 * M_PI, 0);
    topLit(cr, a.look, cy - R, cy + R, Rgb::hex(0xF2ECE2), true);
    cairo_save(cr);
    cairo_clip(cr);
    for (int i = 0; i < 4; ++i) {
        double ang = M_PI / 4 + i * M_PI / 2;
        cairo_move_to(cr, cx, cy);
        cairo_arc(cr, cx, cy, R + 2, ang - 0.3, ang + 0.3);
        cairo_close_path(cr);
        setColor(cr, a.look.tone(Rgb::hex(0xC8362C)));
        cairo_fill(cr);
    }
    cairo_restore(cr);
    cairo_arc(cr, cx, cy, R, 0, 2 * M_PI);
    edge(cr, a.look.dark(Rgb::hex(0x8A8078), 0.4), 1.2);
    Rng rr = a.rng.fork("refl");
    reflection(cr, W * 0.36, W * 0.64, wl, H - wl - 1, a.look.dark(wood, 0.3), rr, 0.5);
}

}  // namespace

void registerThingArt(ArtRegistry& r) {
    r.add("gull", thingGull);
    r.add("moon", thingMoon);
    r.add("balloon", thingBalloon);
    r.add("lighthouse", thingLighthouse);
    r.add("steamship", thingSteamship);
    r.add("sailboat", thingSailboat);
    r.add("rowboat", thingRowboat);
    r.add("buoy", thingBuoy);
    r.add("duck", thingDuck);
    r.add("barrels", thingBarrels);
    r.add("crates", thingCrates);
    r.add("anchor", thingAnchor);
    r.add("bollard", thingBollard);
    r.add("bucket", thingBucket);
    r.add("ropecoil", thingRopeCoil);
    r.add("basket", thingBasket);
    r.add("lanternpost", thingLanternPost);
    r.add("quadruped", thingQuadruped);
    r.add("lifering", thingLifeRing);
}

}  // namespace assetgen
