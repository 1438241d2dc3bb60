// Characters and creatures: curator portraits, the mascots, the fly and its swatter.
#include <cmath>

#include "art/Art.h"
#include "art/Theme.h"
#include "core/Draw.h"

namespace assetgen {

using namespace theme;

namespace {

void outlined(cairo_t* cr, const Rgb& c, double width, double alpha = 0.85) {
    cairo_set_line_width(cr, width);
    setColor(cr, c, alpha);
    cairo_stroke(cr);
}

// --- people -----------------------------------------------------------------------------------

struct Face {
    double cx, cy, rx, ry;
};

void drawEye(cairo_t* cr, double x, double y, double s, const Rgb& iris, double lookX) {
    ellipsePath(cr, x, y, s * 1.15, s * 0.8);
    setColor(cr, Rgb::hex(0xFFFDF8));
    cairo_fill_preserve(cr);
    outlined(cr, Rgb::hex(0x3A2418), s * 0.22);
    ellipsePath(cr, x + lookX * s * 0.25, y + s * 0.05, s * 0.6, s * 0.6);
    setColor(cr, iris);
    cairo_fill(cr);
    ellipsePath(cr, x + lookX * s * 0.25, y + s * 0.05, s * 0.3, s * 0.3);
    setColor(cr, Rgb::hex(0x120A06));
    cairo_fill(cr);
    ellipsePath(cr, x + lookX * s * 0.25 - s * 0.2, y - s * 0.18, s * 0.17, s * 0.17);
    setColor(cr, {1, 1, 1});
    cairo_fill(cr);
}

void artAvatar(ArtContext& a) {
    cairo_t* cr = a.cr;
    const RecipeNode& g = a.args;
    Rgb skin = g.color("skin", Rgb::hex(0xF1C7A4));
    Rgb hair = g.color("hair", Rgb::hex(0x5A3A22));
    Rgb outfit = g.color("outfit", kTeal);
    Rgb accent = g.color("accent", kGold);
    Rgb iris = g.color("eyes", Rgb::hex(0x4A6E8A));
    std::string hairStyle = g.text("hairStyle", "short");
    std::vector<std::string> extras = g.texts("extras");
    bool has = false;
    auto extra = [&](const char* e) {
        for (const auto& x : extras) {
            if (x == e) return true;
        }
        return false;
    };
    (void)has;
    double W = a.w, H = a.h;
    Face f{W * 0.5, H * 0.42, W * 0.25, H * 0.235};

    // Hair that falls behind the shoulders.
    if (hairStyle == "long") {
        cairo_move_to(cr, f.cx - f.rx * 1.2, f.cy - f.ry * 0.3);
        cairo_curve_to(cr, f.cx - f.rx * 1.6, f.cy + f.ry * 1.2, f.cx - f.rx * 1.3, H * 0.86, f.cx - f.rx * 0.9, H * 0.9);
        cairo_line_to(cr, f.cx + f.rx * 0.9, H * 0.9);
        cairo_curve_to(cr, f.cx + f.rx * 1.3, H * 0.86, f.cx + f.rx * 1.6, f.cy + f.ry * 1.2, f.cx + f.rx * 1.2, f.cy - f.ry * 0.3);
        cairo_close_path(cr);
        fillLinear(cr, 0, f.cy - f.ry, 0, H, {{0, lighten(hair, 0.15)}, {1, darken(hair, 0.35)}}, true);
        outlined(cr, darken(hair, 0.5), 1.5);
    }
    // Shoulders and coat.
    cairo_move_to(cr, W * 0.02, H);
    cairo_curve_to(cr, W * 0.04, H * 0.8, W * 0.2, H * 0.72, W * 0.38, H * 0.69);
    cairo_line_to(cr, W * 0.62, H * 0.69);
    cairo_curve_to(cr, W * 0.8, H * 0.72, W * 0.96, H * 0.8, W * 0.98, H);
    cairo_close_path(cr);
    fillLinear(cr, 0, H * 0.68, W, H, {{0, lighten(outfit, 0.2)}, {0.5, outfit}, {1, darken(outfit, 0.35)}}, true);
    outlined(cr, darken(outfit, 0.55), 1.6);
    // Neck and shirt collar.
    cairo_rectangle(cr, f.cx - f.rx * 0.42, f.cy + f.ry * 0.6, f.rx * 0.84, H * 0.2);
    fillLinear(cr, 0, f.cy, 0, H * 0.75, {{0, darken(skin, 0.2)}, {1, skin}});
    polygon(cr, {{f.cx - f.rx * 0.75, H * 0.7}, {f.cx, H * 0.84}, {f.cx + f.rx * 0.75, H * 0.7}, {f.cx + f.rx * 0.42, H * 0.66},
                 {f.cx, H * 0.76}, {f.cx - f.rx * 0.42, H * 0.66}});
    setColor(cr, Rgb::hex(0xF8F4EA));
    cairo_fill_preserve(cr);
    outlined(cr, Rgb::hex(0x8C8070), 1.2);
    if (extra("bowtie")) {
        polygon(cr, {{f.cx, H * 0.78}, {f.cx - 16, H * 0.73}, {f.cx - 16, H * 0.84}});
        polygon(cr, {{f.cx, H * 0.78}, {f.cx + 16, H * 0.73}, {f.cx + 16, H * 0.84}});
        setColor(cr, accent);
        cairo_fill(cr);
        ellipsePath(cr, f.cx, H * 0.78, 4, 4);
        setColor(cr, darken(accent, 0.3));
        cairo_fill(cr);
    }
    if (extra("scarf")) {
        cairo_move_to(cr, f.cx - f.rx * 0.9, H * 0.68);
        cairo_curve_to(cr, f.cx - f.rx * 0.3, H * 0.78, f.cx + f.rx * 0.3, H * 0.78, f.cx + f.rx * 0.9, H * 0.68);
        cairo_line_to(cr, f.cx + f.rx * 0.6, H * 0.76);
        cairo_line_to(cr, f.cx + f.rx * 0.2, H * 0.98);
        cairo_line_to(cr, f.cx - f.rx * 0.1, H * 0.97);
        cairo_line_to(cr, f.cx + f.rx * 0.1, H * 0.8);
        cairo_curve_to(cr, f.cx - f.rx * 0.3, H * 0.8, f.cx - f.rx * 0.7, H * 0.76, f.cx - f.rx * 0.9, H * 0.68);
        cairo_close_path(cr);
        fillLinear(cr, 0, H * 0.68, 0, H, {{0, lighten(accent, 0.2)}, {1, darken(accent, 0.2)}}, true);
        outlined(cr, darken(accent, 0.5), 1.2);
    }
    if (extra("brooch")) {
        ellipsePath(cr, W * 0.3, H * 0.82, 6, 7);
        fillRadial(cr, W * 0.3 - 2, H * 0.82 - 2, 0, 8, {{0, kGoldLight}, {1, kGoldDark}});
    }
    // Ears.
    for (int s = -1; s <= 1; s += 2) {
        ellipsePath(cr, f.cx + s * f.rx * 0.98, f.cy + f.ry * 0.1, f.rx * 0.18, f.ry * 0.22);
        setColor(cr, darken(skin, 0.08));
        cairo_fill_preserve(cr);
        outlined(cr, darken(skin, 0.45), 1.2);
        if (extra("earrings")) {
            ellipsePath(cr, f.cx + s * f.rx * 1.0, f.cy + f.ry * 0.42, 3.5, 3.5);
            setColor(cr, accent);
            cairo_fill(cr);
        }
    }
    // Head.
    ellipsePath(cr, f.cx, f.cy, f.rx, f.ry);
    fillRadial(cr, f.cx - f.rx * 0.3, f.cy - f.ry * 0.3, f.rx * 0.2, f.ry * 1.3,
               {{0, lighten(skin, 0.2)}, {0.7, skin}, {1, darken(skin, 0.18)}}, true);
    outlined(cr, darken(skin, 0.5), 1.6);
    // Cheeks, nose, mouth.
    softEllipse(cr, f.cx - f.rx * 0.52, f.cy + f.ry * 0.28, f.rx * 0.2, f.ry * 0.12, Rgb::hex(0xE8837A), 0.35);
    softEllipse(cr, f.cx + f.rx * 0.52, f.cy + f.ry * 0.28, f.rx * 0.2, f.ry * 0.12, Rgb::hex(0xE8837A), 0.35);
    cairo_move_to(cr, f.cx + 1, f.cy + f.ry * 0.02);
    cairo_curve_to(cr, f.cx + f.rx * 0.1, f.cy + f.ry * 0.2, f.cx + f.rx * 0.08, f.cy + f.ry * 0.3, f.cx - f.rx * 0.04, f.cy + f.ry * 0.3);
    outlined(cr, darken(skin, 0.45), 1.6);
    double smile = g.number("smile", 1.0);
    cairo_move_to(cr, f.cx - f.rx * 0.3, f.cy + f.ry * 0.5);
    cairo_curve_to(cr, f.cx - f.rx * 0.1, f.cy + f.ry * (0.5 + 0.12 * smile), f.cx + f.rx * 0.1,
                   f.cy + f.ry * (0.5 + 0.12 * smile), f.cx + f.rx * 0.3, f.cy + f.ry * 0.5);
    outlined(cr, Rgb::hex(0x8A3A34), 2.2);
    if (extra("beard")) {
        cairo_move_to(cr, f.cx - f.rx * 0.95, f.cy + f.ry * 0.05);
        cairo_curve_to(cr, f.cx - f.rx * 0.9, f.cy + f.ry * 1.25, f.cx + f.rx * 0.9, f.cy + f.ry * 1.25, f.cx + f.rx * 0.95, f.cy + f.ry * 0.05);
        cairo_curve_to(cr, f.cx + f.rx * 0.6, f.cy + f.ry * 0.55, f.cx - f.rx * 0.6, f.cy + f.ry * 0.55, f.cx - f.rx * 0.95, f.cy + f.ry * 0.05);
        cairo_close_path(cr);
        fillLinear(cr, 0, f.cy, 0, f.cy + f.ry * 1.2, {{0, hair}, {1, darken(hair, 0.3)}}, true);
        outlined(cr, darken(hair, 0.5), 1.2);
    }
    if (extra("moustache") || extra("beard")) {
        for (int s = -1; s <= 1; s += 2) {
            cairo_move_to(cr, f.cx, f.cy + f.ry * 0.36);
            cairo_curve_to(cr, f.cx + s * f.rx * 0.2, f.cy + f.ry * 0.25, f.cx + s * f.rx * 0.45, f.cy + f.ry * 0.32,
                           f.cx + s * f.rx * 0.5, f.cy + f.ry * 0.5);
            cairo_curve_to(cr, f.cx + s * f.rx * 0.35, f.cy + f.ry * 0.42, f.cx + s * f.rx * 0.15, f.cy + f.ry * 0.45, f.cx, f.cy + f.ry * 0.45);
            cairo_close_path(cr);
            setColor(cr, darken(hair, 0.1));
            cairo_fill(cr);
        }
    }
    // Eyes and brows.
    double ey = f.cy - f.ry * 0.12, es = f.rx * 0.16;
    drawEye(cr, f.cx - f.rx * 0.4, ey, es, iris, 0.3);
    drawEye(cr, f.cx + f.rx * 0.4, ey, es, iris, 0.3);
    for (int s = -1; s <= 1; s += 2) {
        cairo_move_to(cr, f.cx + s * f.rx * 0.22, ey - es * 1.8);
        cairo_curve_to(cr, f.cx + s * f.rx * 0.35, ey - es * 2.4, f.cx + s * f.rx * 0.55, ey - es * 2.3, f.cx + s * f.rx * 0.65, ey - es * 1.6);
        outlined(cr, darken(hair, 0.2), 2.6, 1.0);
    }
    if (extra("glasses")) {
        for (int s = -1; s <= 1; s += 2) {
            ellipsePath(cr, f.cx + s * f.rx * 0.4, ey, es * 1.9, es * 1.6);
            setColor(cr, {1, 1, 1}, 0.12);
            cairo_fill_preserve(cr);
            outlined(cr, Rgb::hex(0x3A2A1E), 2.2, 1.0);
        }
        strokeLine(cr, f.cx - f.rx * 0.4 + es * 1.9, ey, f.cx + f.rx * 0.4 - es * 1.9, ey, 2, Rgb::hex(0x3A2A1E));
    }
    // Hair on top.
    if (hairStyle != "bald") {
        cairo_move_to(cr, f.cx - f.rx * 1.05, f.cy + f.ry * 0.05);
        if (hairStyle == "curly") {
            cairo_new_path(cr);
            for (int i = 0; i < 11; ++i) {
                double ang = M_PI + i * M_PI / 10;
                ellipsePath(cr, f.cx + std::cos(ang) * f.rx * 0.95, f.cy - f.ry * 0.2 + std::sin(ang) * f.ry * 0.85,
                            f.rx * 0.3, f.ry * 0.26);
            }
        } else {
            cairo_curve_to(cr, f.cx - f.rx * 1.2, f.cy - f.ry * 1.3, f.cx + f.rx * 1.2, f.cy - f.ry * 1.35, f.cx + f.rx * 1.05,
                           f.cy + f.ry * 0.05);
            cairo_curve_to(cr, f.cx + f.rx * 0.95, f.cy - f.ry * 0.45, f.cx + f.rx * 0.3, f.cy - f.ry * 0.75, f.cx - f.rx * 0.2,
                           f.cy - f.ry * 0.62);
            cairo_curve_to(cr, f.cx - f.rx * 0.6, f.cy - f.ry * 0.5, f.cx - f.rx * 0.9, f.cy - f.ry * 0.3, f.cx - f.rx * 1.05,
                           f.cy + f.ry * 0.05);
            cairo_close_path(cr);
        }
        fillLinear(cr, 0, f.cy - f.ry * 1.2, 0, f.cy, {{0, lighten(hair, 0.25)}, {1, darken(hair, 0.2)}}, true);
        outlined(cr, darken(hair, 0.5), 1.4);
        if (hairStyle == "bun") {
            ellipsePath(cr, f.cx, f.cy - f.ry * 1.12, f.rx * 0.42, f.ry * 0.3);
            fillLinear(cr, 0, f.cy - f.ry * 1.4, 0, f.cy - f.ry * 0.8, {{0, lighten(hair, 0.25)}, {1, darken(hair, 0.2)}}, true);
            outlined(cr, darken(hair, 0.5), 1.4);
        }
    }
    if (extra("hat")) {
        ellipsePath(cr, f.cx, f.cy - f.ry * 0.82, f.rx * 1.45, f.ry * 0.2);
        setColor(cr, darken(accent, 0.25));
        cairo_fill_preserve(cr);
        outlined(cr, darken(accent, 0.6), 1.4);
        cairo_move_to(cr, f.cx - f.rx * 0.8, f.cy - f.ry * 0.85);
        cairo_curve_to(cr, f.cx - f.rx * 0.85, f.cy - f.ry * 1.7, f.cx + f.rx * 0.85, f.cy - f.ry * 1.7, f.cx + f.rx * 0.8, f.cy - f.ry * 0.85);
        cairo_close_path(cr);
        fillLinear(cr, f.cx - f.rx, 0, f.cx + f.rx, 0, {{0, lighten(accent, 0.1)}, {1, darken(accent, 0.35)}}, true);
        outlined(cr, darken(accent, 0.6), 1.4);
        cairo_rectangle(cr, f.cx - f.rx * 0.8, f.cy - f.ry * 1.05, f.rx * 1.6, f.ry * 0.15);
        setColor(cr, darken(outfit, 0.2));
        cairo_fill(cr);
    }
}

// --- mascots -----------------------------------------------------------------------------------

// Tobbin, the museum's tabby cat with a monocle and a bow tie.
void artCat(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb fur = a.args.color("fur", Rgb::hex(0xD99A52));
    Rgb stripe = darken(fur, 0.45);
    double cx = W * 0.5, cy = H * 0.45, rx = W * 0.34, ry = H * 0.24;
    // Body.
    ellipsePath(cr, cx, H * 0.92, W * 0.42, H * 0.28);
    fillRadial(cr, cx - 10, H * 0.8, 5, W * 0.5, {{0, lighten(fur, 0.2)}, {1, darken(fur, 0.2)}}, true);
    outlined(cr, darken(fur, 0.6), 1.6);
    ellipsePath(cr, cx, H * 0.9, W * 0.2, H * 0.2);
    setColor(cr, Rgb::hex(0xF6E7CF));
    cairo_fill(cr);
    // Ears.
    for (int s = -1; s <= 1; s += 2) {
        polygon(cr, {{cx + s * rx * 0.95, cy - ry * 0.2}, {cx + s * rx * 0.85, cy - ry * 1.45}, {cx + s * rx * 0.2, cy - ry * 0.8}});
        setColor(cr, fur);
        cairo_fill_preserve(cr);
        outlined(cr, darken(fur, 0.6), 1.6);
        polygon(cr, {{cx + s * rx * 0.8, cy - ry * 0.45}, {cx + s * rx * 0.78, cy - ry * 1.15}, {cx + s * rx * 0.38, cy - ry * 0.78}});
        setColor(cr, Rgb::hex(0xF0A8A0));
        cairo_fill(cr);
    }
    // Head with stripes.
    ellipsePath(cr, cx, cy, rx, ry);
    fillRadial(cr, cx - rx * 0.3, cy - ry * 0.4, 4, rx * 1.2, {{0, lighten(fur, 0.25)}, {1, darken(fur, 0.15)}}, true);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    for (int i = -1; i <= 1; ++i) {
        cairo_move_to(cr, cx + i * rx * 0.22, cy - ry);
        cairo_line_to(cr, cx + i * rx * 0.16, cy - ry * 0.45);
        cairo_set_line_width(cr, 5);
        setColor(cr, stripe, 0.7);
        cairo_stroke(cr);
    }
    for (int s = -1; s <= 1; s += 2) {
        for (int i = 0; i < 2; ++i) {
            cairo_move_to(cr, cx + s * rx, cy + ry * (0.05 + 0.25 * i));
            cairo_line_to(cr, cx + s * rx * 0.7, cy + ry * (0.1 + 0.22 * i));
            cairo_set_line_width(cr, 4);
            setColor(cr, stripe, 0.7);
            cairo_stroke(cr);
        }
    }
    cairo_restore(cr);
    outlined(cr, darken(fur, 0.6), 1.8);
    // Muzzle.
    ellipsePath(cr, cx - rx * 0.22, cy + ry * 0.42, rx * 0.3, ry * 0.26);
    ellipsePath(cr, cx + rx * 0.22, cy + ry * 0.42, rx * 0.3, ry * 0.26);
    setColor(cr, Rgb::hex(0xF8EBD8));
    cairo_fill(cr);
    polygon(cr, {{cx - rx * 0.12, cy + ry * 0.22}, {cx + rx * 0.12, cy + ry * 0.22}, {cx, cy + ry * 0.36}});
    setColor(cr, Rgb::hex(0xD86A6E));
    cairo_fill(cr);
    for (int s = -1; s <= 1; s += 2) {
        for (int i = 0; i < 3; ++i) {
            strokeLine(cr, cx + s * rx * 0.35, cy + ry * (0.4 + 0.1 * i), cx + s * rx * 1.15, cy + ry * (0.3 + 0.16 * i), 1.2,
                       Rgb::hex(0x4A3424), 0.7);
        }
    }
    // Eyes: green, one behind a monocle.
    for (int s = -1; s <= 1; s += 2) {
        double ex = cx + s * rx * 0.42, ey = cy - ry * 0.1;
        ellipsePath(cr, ex, ey, rx * 0.2, ry * 0.24);
        setColor(cr, Rgb::hex(0x9CCB4A));
        cairo_fill_preserve(cr);
        outlined(cr, Rgb::hex(0x2A2010), 1.6, 1.0);
        ellipsePath(cr, ex + 1, ey, rx * 0.06, ry * 0.19);
        setColor(cr, Rgb::hex(0x120C06));
        cairo_fill(cr);
        ellipsePath(cr, ex - 3, ey - 4, 2.4, 2.4);
        setColor(cr, {1, 1, 1});
        cairo_fill(cr);
    }
    double mx = cx + rx * 0.42, my = cy - ry * 0.1;
    ellipsePath(cr, mx, my, rx * 0.3, rx * 0.3);
    setColor(cr, {1, 1, 1}, 0.15);
    cairo_fill_preserve(cr);
    outlined(cr, kGold, 3, 1.0);
    cairo_move_to(cr, mx + rx * 0.2, my + rx * 0.23);
    cairo_curve_to(cr, mx + rx * 0.4, my + ry * 0.9, mx + rx * 0.1, H * 0.72, mx - rx * 0.1, H * 0.78);
    outlined(cr, kGoldDark, 1.2);
    // Bow tie.
    double by = H * 0.72;
    polygon(cr, {{cx, by}, {cx - 20, by - 9}, {cx - 20, by + 10}});
    polygon(cr, {{cx, by}, {cx + 20, by - 9}, {cx + 20, by + 10}});
    setColor(cr, kWine);
    cairo_fill(cr);
    ellipsePath(cr, cx, by, 5, 5);
    setColor(cr, darken(kWine, 0.4));
    cairo_fill(cr);
}

// Orvel, the studio owl with a brush, on a brass plate with the game's name.
void artOwl(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    double s = std::min(W * 0.9, H) / 300.0;
    double cx = W * 0.5, base = H * 0.97;
    Rgb plume = a.args.color("plume", Rgb::hex(0x8A6240));
    // A perch: the rail of an easel.
    roundedRect(cr, cx - 150 * s, base - 26 * s, 300 * s, 22 * s, 8 * s);
    fillLinear(cr, 0, base - 26 * s, 0, base - 4 * s, {{0, kWalnutLight}, {1, kWalnutDark}}, true);
    outlined(cr, darken(kWalnutDark, 0.4), 1.5);
    double bx = cx, by = base - 120 * s;
    // Body.
    ellipsePath(cr, bx, by, 82 * s, 100 * s);
    fillRadial(cr, bx - 25 * s, by - 30 * s, 10 * s, 120 * s, {{0, lighten(plume, 0.3)}, {1, darken(plume, 0.35)}}, true);
    outlined(cr, darken(plume, 0.6), 2);
    ellipsePath(cr, bx, by + 25 * s, 52 * s, 62 * s);
    setColor(cr, Rgb::hex(0xF0DDBC));
    cairo_fill(cr);
    for (int row = 0; row < 4; ++row) {
        for (int i = -2; i <= 2; ++i) {
            double fx = bx + i * 18 * s + (row % 2) * 9 * s, fy = by + (row * 18 - 2) * s;
            if (std::fabs(fx - bx) > 44 * s) continue;
            cairo_arc(cr, fx, fy, 7 * s, 0.15 * M_PI, 0.85 * M_PI);
            outlined(cr, Rgb::hex(0xB08A5E), 1.6);
        }
    }
    // Wings.
    for (int side = -1; side <= 1; side += 2) {
        cairo_move_to(cr, bx + side * 70 * s, by - 40 * s);
        cairo_curve_to(cr, bx + side * 100 * s, by, bx + side * 95 * s, by + 60 * s, bx + side * 60 * s, by + 90 * s);
        cairo_curve_to(cr, bx + side * 70 * s, by + 30 * s, bx + side * 60 * s, by - 10 * s, bx + side * 70 * s, by - 40 * s);
        cairo_close_path(cr);
        fillLinear(cr, 0, by - 40 * s, 0, by + 90 * s, {{0, darken(plume, 0.1)}, {1, darken(plume, 0.45)}}, true);
        outlined(cr, darken(plume, 0.6), 1.6);
    }
    // Head tufts and the face disc.
    for (int side = -1; side <= 1; side += 2) {
        polygon(cr, {{bx + side * 40 * s, by - 88 * s}, {bx + side * 70 * s, by - 132 * s}, {bx + side * 70 * s, by - 76 * s}});
        setColor(cr, darken(plume, 0.2));
        cairo_fill_preserve(cr);
        outlined(cr, darken(plume, 0.6), 1.6);
    }
    for (int side = -1; side <= 1; side += 2) {
        double ex = bx + side * 32 * s, ey = by - 58 * s;
        ellipsePath(cr, ex, ey, 30 * s, 30 * s);
        setColor(cr, Rgb::hex(0xF6E6C8));
        cairo_fill_preserve(cr);
        outlined(cr, darken(plume, 0.4), 1.6);
        ellipsePath(cr, ex, ey, 19 * s, 19 * s);
        fillRadial(cr, ex, ey, 2 * s, 19 * s, {{0, Rgb::hex(0xFFD24A)}, {1, Rgb::hex(0xD58A14)}});
        ellipsePath(cr, ex + 2 * s, ey + 1 * s, 9 * s, 9 * s);
        setColor(cr, Rgb::hex(0x140C06));
        cairo_fill(cr);
        ellipsePath(cr, ex - 3 * s, ey - 5 * s, 4 * s, 4 * s);
        setColor(cr, {1, 1, 1});
        cairo_fill(cr);
    }
    polygon(cr, {{bx - 9 * s, by - 40 * s}, {bx + 9 * s, by - 40 * s}, {bx, by - 20 * s}});
    setColor(cr, Rgb::hex(0xE2A23A));
    cairo_fill_preserve(cr);
    outlined(cr, Rgb::hex(0x7A4A10), 1.2);
    // A brush held under the wing, tip dipped in teal.
    cairo_save(cr);
    cairo_translate(cr, bx + 60 * s, by + 40 * s);
    cairo_rotate(cr, -1.0);
    roundedRect(cr, 0, -5 * s, 110 * s, 10 * s, 5 * s);
    fillLinear(cr, 0, -5 * s, 0, 5 * s, {{0, Rgb::hex(0xC8503C)}, {1, Rgb::hex(0x7A2418)}}, true);
    outlined(cr, Rgb::hex(0x4A1408), 1.2);
    cairo_rectangle(cr, 108 * s, -6 * s, 18 * s, 12 * s);
    setColor(cr, kGold);
    cairo_fill(cr);
    cairo_move_to(cr, 126 * s, -6 * s);
    cairo_curve_to(cr, 140 * s, -7 * s, 150 * s, -2 * s, 158 * s, 0);
    cairo_curve_to(cr, 150 * s, 2 * s, 140 * s, 7 * s, 126 * s, 6 * s);
    cairo_close_path(cr);
    setColor(cr, kReagent);
    cairo_fill(cr);
    cairo_restore(cr);
    // Feet on the perch.
    for (int side = -1; side <= 1; side += 2) {
        for (int t = -1; t <= 1; ++t) {
            ellipsePath(cr, bx + side * 28 * s + t * 7 * s, base - 28 * s, 4 * s, 7 * s);
            setColor(cr, Rgb::hex(0xE2A23A));
            cairo_fill(cr);
        }
    }
}

// --- the fly and its swatter --------------------------------------------------------------------

// A house fly seen from above; its head is at the bottom-left corner, where its eyes sit.
void artFly(ArtContext& a) {
    cairo_t* cr = a.cr;
    int phase = a.args.integer("phase", 0);
    double W = a.w, H = a.h;
    // Axis from the head (bottom-left) to the tail (top-right), in image coordinates.
    cairo_save(cr);
    cairo_translate(cr, 12, H - 12);
    cairo_rotate(cr, -M_PI / 4);
    // Now +x runs from the head towards the tail.
    static const double spread[4] = {0.55, 0.95, 1.35, 0.9};
    static const double wingAlpha[4] = {0.55, 0.45, 0.5, 0.4};
    double sp = spread[phase & 3];
    for (int side = -1; side <= 1; side += 2) {
        for (int i = 0; i < 3; ++i) {
            double lx = W * (0.12 + 0.08 * i);
            cairo_move_to(cr, lx, 0);
            cairo_line_to(cr, lx + W * (0.02 - 0.06 * (i - 1)), side * H * 0.18);
            cairo_line_to(cr, lx + W * (0.0 - 0.1 * (i - 1)), side * H * 0.25);
            cairo_set_line_width(cr, 1.6);
            setColor(cr, Rgb::hex(0x1A1412));
            cairo_stroke(cr);
        }
    }
    for (int side = -1; side <= 1; side += 2) {
        cairo_save(cr);
        cairo_translate(cr, W * 0.22, 0);
        cairo_rotate(cr, side * sp);
        ellipsePath(cr, W * 0.26, 0, W * 0.27, H * 0.1);
        fillLinear(cr, 0, -H * 0.1, 0, H * 0.1,
                   {{0, Rgb::hex(0xE8F2FF), wingAlpha[phase & 3]}, {1, Rgb::hex(0x9FB3C8), wingAlpha[phase & 3]}}, true);
        cairo_set_line_width(cr, 1);
        setColor(cr, Rgb::hex(0x4C5A6A), 0.7);
        cairo_stroke(cr);
        strokeLine(cr, W * 0.04, 0, W * 0.46, 0, 0.7, Rgb::hex(0x4C5A6A), 0.5);
        cairo_restore(cr);
    }
    ellipsePath(cr, W * 0.42, 0, W * 0.2, H * 0.13);
    fillRadial(cr, W * 0.38, -H * 0.05, 1, W * 0.22, {{0, Rgb::hex(0x5A6E56)}, {1, Rgb::hex(0x161A14)}}, true);
    cairo_set_line_width(cr, 1.2);
    setColor(cr, Rgb::hex(0x0A0A08));
    cairo_stroke(cr);
    for (int i = 0; i < 3; ++i) {
        cairo_arc(cr, W * (0.36 + 0.08 * i), 0, H * 0.12, -0.9, 0.9);
        setColor(cr, Rgb::hex(0x2A3228), 0.8);
        cairo_stroke(cr);
    }
    ellipsePath(cr, W * 0.16, 0, W * 0.11, H * 0.11);
    fillRadial(cr, W * 0.14, -H * 0.04, 1, W * 0.13, {{0, Rgb::hex(0x4A4A48)}, {1, Rgb::hex(0x121210)}}, true);
    setColor(cr, Rgb::hex(0x0A0A08));
    cairo_stroke(cr);
    // The head, with the big eyes at its front.
    ellipsePath(cr, 0, 0, W * 0.17, H * 0.17);
    fillRadial(cr, -W * 0.03, -H * 0.05, 1, W * 0.18, {{0, Rgb::hex(0x3A3A38)}, {1, Rgb::hex(0x0E0E0C)}});
    cairo_restore(cr);
    // Eye whites at the bottom-left corner; the separate eye sprite lays the pupils over them.
    for (int i = 0; i < 2; ++i) {
        double ex = 6 + 9 * i, ey = H - 6;
        ellipsePath(cr, ex, ey, 5.8, 5.8);
        setColor(cr, Rgb::hex(0xFFFFFF));
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 1.2);
        setColor(cr, Rgb::hex(0x101010));
        cairo_stroke(cr);
    }
}

void artFlyEyes(ArtContext& a) {
    for (int i = 0; i < 2; ++i) {
        double ex = 6 + 9 * i, ey = a.h - 6;  // pupils centred on the whites while the eyes rest
        ellipsePath(a.cr, ex, ey, 2.6, 2.6);
        setColor(a.cr, Rgb::hex(0x0A0A0A));
        cairo_fill(a.cr);
    }
}

// A wire fly swatter: the head's centre lies 180 px above the handle end (the image's bottom).
void artSwatter(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    double hcx = W / 2, hcy = H - 180;
    double hw = W * 0.45, hh = 58;
    // Handle.
    roundedRect(cr, W / 2 - 6, hcy + hh - 6, 12, H - (hcy + hh) + 4, 5);
    fillLinear(cr, W / 2 - 6, 0, W / 2 + 6, 0, {{0, Rgb::hex(0xD4964E)}, {0.5, Rgb::hex(0xA8642A)}, {1, Rgb::hex(0x6E3A14)}}, true);
    outlined(cr, Rgb::hex(0x3A1E08), 1.2);
    roundedRect(cr, W / 2 - 8, H - 44, 16, 40, 6);
    setColor(cr, kWine);
    cairo_fill(cr);
    // Mesh head.
    roundedRect(cr, hcx - hw, hcy - hh, 2 * hw, 2 * hh, 18);
    setColor(cr, Rgb::hex(0x3F8A5A), 0.55);
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    for (double x = hcx - hw; x < hcx + hw; x += 7) strokeLine(cr, x, hcy - hh, x, hcy + hh, 1.0, Rgb::hex(0x1E4A2E), 0.8);
    for (double y = hcy - hh; y < hcy + hh; y += 7) strokeLine(cr, hcx - hw, y, hcx + hw, y, 1.0, Rgb::hex(0x1E4A2E), 0.8);
    cairo_restore(cr);
    cairo_set_line_width(cr, 5);
    setColor(cr, Rgb::hex(0x2C6E44));
    cairo_stroke(cr);
}

void artClap(ArtContext& a) {
    cairo_t* cr = a.cr;
    double cx = a.w / 2, cy = a.h / 2, R = std::min(a.w, a.h) / 2 - 2;
    for (int i = 0; i < 16; ++i) {
        double ang = i * M_PI / 8;
        double r0 = R * 0.45, r1 = R * (i % 2 == 0 ? 1.0 : 0.75);
        cairo_move_to(cr, cx + std::cos(ang - 0.08) * r0, cy + std::sin(ang - 0.08) * r0);
        cairo_line_to(cr, cx + std::cos(ang) * r1, cy + std::sin(ang) * r1);
        cairo_line_to(cr, cx + std::cos(ang + 0.08) * r0, cy + std::sin(ang + 0.08) * r0);
        cairo_close_path(cr);
    }
    setColor(cr, Rgb::hex(0xFFF1A6), 0.95);
    cairo_fill(cr);
    ellipsePath(cr, cx, cy, R * 0.5, R * 0.5);
    fillRadial(cr, cx, cy, 0, R * 0.5, {{0, {1, 1, 1}, 0.9}, {1, {1, 1, 0.8}, 0}});
}

void artSwatterShadow(ArtContext& a) {
    softEllipse(a.cr, a.w / 2, a.h / 2, a.w / 2 - 2, a.h / 2 - 2, {0, 0, 0}, 0.45);
}

// What is left of a swatted fly: a dark splat with two dazed eyes on top.
void artFlyBlot(ArtContext& a) {
    cairo_t* cr = a.cr;
    double cx = a.w / 2, cy = a.h / 2, R = std::min(a.w, a.h) * 0.3;
    blobPath(cr, cx, cy, R, R * 0.85, 0.3, a.rng, 16);
    fillRadial(cr, cx - 5, cy - 5, 2, R * 1.2, {{0, Rgb::hex(0x4A4238)}, {1, Rgb::hex(0x16120E)}});
    for (int i = 0; i < 6; ++i) {
        double ang = i * M_PI / 3 + a.rng.range(-0.3, 0.3);
        double len = R * a.rng.range(1.1, 1.5);
        strokeLine(cr, cx + std::cos(ang) * R * 0.7, cy + std::sin(ang) * R * 0.7, cx + std::cos(ang) * len,
                   cy + std::sin(ang) * len, 1.6, Rgb::hex(0x1A1412), 0.9);
    }
    for (int side = -1; side <= 1; side += 2) {
        ellipsePath(cr, cx + side * R * 0.9, cy - R * 0.2, R * 0.5, R * 0.16);
        setColor(cr, Rgb::hex(0xC6D6E6), 0.6);
        cairo_fill(cr);
    }
}

void artFlyBlotEyes(ArtContext& a) {
    cairo_t* cr = a.cr;
    for (int i = 0; i < 2; ++i) {
        double ex = a.w * (0.27 + 0.46 * i), ey = a.h / 2;
        ellipsePath(cr, ex, ey, a.h / 2 - 1, a.h / 2 - 1);
        setColor(cr, {1, 1, 1});
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 1);
        setColor(cr, Rgb::hex(0x101010));
        cairo_stroke(cr);
        // Dazed: little crosses for pupils.
        double k = a.h * 0.2;
        strokeLine(cr, ex - k, ey - k, ex + k, ey + k, 1.4, Rgb::hex(0x101010));
        strokeLine(cr, ex + k, ey - k, ex - k, ey + k, 1.4, Rgb::hex(0x101010));
    }
}

}  // namespace

void registerCharacterArt(ArtRegistry& r) {
    r.add("avatar", artAvatar);
    r.add("cat", artCat);
    r.add("owl", artOwl);
    r.add("fly", artFly);
    r.add("fly_eyes", artFlyEyes);
    r.add("swatter", artSwatter);
    r.add("clap", artClap);
    r.add("swatter_shadow", artSwatterShadow);
    r.add("fly_blot", artFlyBlot);
    r.add("fly_blot_eyes", artFlyBlotEyes);
}

}  // namespace assetgen
