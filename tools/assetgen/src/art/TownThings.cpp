// Objects of towns, gardens and houses: street furniture, tableware, vessels, figures and the
// painter's things. Every one is drawn to fill its own box, standing on its bottom edge.
#include <cmath>

#include "art/Art.h"
#include "art/SceneKit.h"
#include "art/ThingKit.h"
#include "core/Draw.h"

namespace assetgen {

using namespace kit;

namespace {

// --- vessels ---------------------------------------------------------------------------------

// A turned vessel by its profile: jug, vase, bottle, pot (flower pot), jar, amphora, teapot.
// Optional flowers grow out of its mouth.
void thingVessel(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    std::string shape = a.args.text("shape", "vase");
    Rgb c = a.args.color("color", Rgb::hex(0xB8643A));
    Rgb band = a.args.color("band", darken(c, 0.35));
    std::vector<Rgb> flowers = a.args.colors("flowers");
    double top = flowers.empty() ? 0.04 : 0.42;  // share of the height left for flowers
    double y0 = H * top, y1 = H - 3, h = y1 - y0, cx = W / 2;
    // Half-widths along the height (0 = mouth, 1 = foot), as fractions of the box width.
    std::vector<double> prof;
    if (shape == "jug") prof = {0.2, 0.16, 0.26, 0.34, 0.34, 0.28, 0.22};
    else if (shape == "bottle") prof = {0.07, 0.07, 0.08, 0.2, 0.22, 0.22, 0.21};
    else if (shape == "pot") prof = {0.46, 0.42, 0.4, 0.37, 0.34, 0.31, 0.29};
    else if (shape == "jar") prof = {0.3, 0.36, 0.42, 0.43, 0.42, 0.38, 0.3};
    else if (shape == "amphora") prof = {0.16, 0.12, 0.28, 0.4, 0.34, 0.2, 0.12};
    else if (shape == "teapot") prof = {0.12, 0.2, 0.3, 0.34, 0.34, 0.3, 0.24};
    else if (shape == "vase") prof = {0.22, 0.14, 0.22, 0.34, 0.36, 0.28, 0.2};
    else a.args.fail("shape must be jug, bottle, pot, jar, amphora, teapot or vase");
    groundShadow(cr, cx, y1, W * prof.back() * 1.6, 3, a.look, 0.3);
    if (!flowers.empty()) {
        Rng fr = a.rng.fork("flowers");
        for (int i = 0; i < 9; ++i) {
            double ang = -M_PI / 2 + fr.range(-0.9, 0.9);
            double len = H * fr.range(0.28, 0.42);
            double ex = cx + std::cos(ang) * len * 0.9, ey = y0 + 4 + std::sin(ang) * len;
            strokeLine(cr, cx, y0 + 6, ex, ey, 1.4, a.look.tone(Rgb::hex(0x4A7A34)));
            ellipsePath(cr, (cx + ex) / 2 + 3, (y0 + ey) / 2, 4, 2);
            flat(cr, a.look, Rgb::hex(0x5A8A3A));
        }
        for (int i = 0; i < 9; ++i) {
            double ang = -M_PI / 2 + fr.range(-0.9, 0.9);
            double len = H * fr.range(0.28, 0.42);
            double ex = cx + std::cos(ang) * len * 0.9, ey = y0 + 4 + std::sin(ang) * len;
            Rgb f = flowers[static_cast<std::size_t>(i) % flowers.size()];
            double r = W * fr.range(0.08, 0.12);
            for (int p = 0; p < 5; ++p) {
                double pa = p * 2 * M_PI / 5;
                ellipsePath(cr, ex + std::cos(pa) * r * 0.6, ey + std::sin(pa) * r * 0.6, r * 0.55, r * 0.55);
                setColor(cr, a.look.lit(f, 0.1 + 0.1 * (p % 2)));
                cairo_fill(cr);
            }
            ellipsePath(cr, ex, ey, r * 0.35, r * 0.35);
            flat(cr, a.look, Rgb::hex(0xF0D050));
        }
    }
    std::vector<Pt> left, right;
    for (std::size_t i = 0; i < prof.size(); ++i) {
        double y = y0 + h * static_cast<double>(i) / (prof.size() - 1);
        left.push_back({cx - W * prof[i], y});
        right.push_back({cx + W * prof[i], y});
    }
    if (shape == "jug" || shape == "teapot" || shape == "amphora") {
        // Handle on the right (and a spout on the left for the teapot).
        double hx = cx + W * prof[3];
        cairo_move_to(cr, cx + W * prof[1], y0 + h * 0.18);
        cairo_curve_to(cr, hx + W * 0.2, y0 + h * 0.1, hx + W * 0.16, y0 + h * 0.6, hx - 2, y0 + h * 0.62);
        cairo_set_line_width(cr, std::max(2.5, W * 0.06));
        setColor(cr, a.look.dark(c, 0.2));
        cairo_stroke(cr);
        if (shape == "amphora") {
            cairo_move_to(cr, cx - W * prof[1], y0 + h * 0.18);
            cairo_curve_to(cr, cx - W * prof[3] - W * 0.2, y0 + h * 0.1, cx - W * prof[3] - W * 0.16, y0 + h * 0.6,
                           cx - W * prof[3] + 2, y0 + h * 0.62);
            cairo_stroke(cr);
        }
        if (shape == "teapot") {
            polygon(cr, {{cx - W * 0.3, y0 + h * 0.55}, {cx - W * 0.47, y0 + h * 0.2}, {cx - W * 0.43, y0 + h * 0.17},
                         {cx - W * 0.24, y0 + h * 0.4}});
            solid(cr, a.look, cx - W * 0.47, cx - W * 0.24, c);
        }
    }
    std::vector<Pt> outline = left;
    for (auto it = right.rbegin(); it != right.rend(); ++it) outline.push_back(*it);
    smoothPath(cr, outline, true);
    solid(cr, a.look, cx - W * 0.45, cx + W * 0.45, c);
    // Rim and a decorative band.
    ellipsePath(cr, cx, y0 + 1, W * prof[0], std::max(1.5, W * prof[0] * 0.25));
    setColor(cr, a.look.dark(c, 0.5));
    cairo_fill(cr);
    if (shape == "teapot") {
        ellipsePath(cr, cx, y0 - 1, W * 0.06, W * 0.05);
        flat(cr, a.look, band);
    }
    double by = y0 + h * 0.55;
    cairo_save(cr);
    smoothPath(cr, outline, true);
    cairo_clip(cr);
    cairo_rectangle(cr, 0, by, W, std::max(2.0, h * 0.07));
    setColor(cr, a.look.tone(band), 0.85);
    cairo_fill(cr);
    cairo_restore(cr);
}

// A bowl of fruit: oranges, apples or lemons heaped in a shallow bowl.
void thingFruitBowl(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb fruit = a.args.color("fruit", Rgb::hex(0xF08A20)), bowl = a.args.color("color", Rgb::hex(0xD8D0C0));
    groundShadow(cr, W / 2, H - 3, W * 0.45, 3, a.look);
    Rng r = a.rng.fork("fruit");
    double fr = W * 0.14;
    for (int i = 0; i < 7; ++i) {
        double fx = W * (0.22 + 0.56 * r.unit()), fy = H * 0.5 - (i > 3 ? fr * 0.9 : 0) + r.range(-2, 2);
        ellipsePath(cr, fx, fy, fr, fr);
        fillRadial(cr, fx - fr * 0.35, fy - fr * 0.35, 1, fr * 1.2,
                   {{0, a.look.lit(fruit, 0.4)}, {0.6, a.look.tone(fruit)}, {1, a.look.dark(fruit, 0.4)}});
    }
    cairo_move_to(cr, W * 0.06, H * 0.52);
    cairo_curve_to(cr, W * 0.12, H * 0.98, W * 0.88, H * 0.98, W * 0.94, H * 0.52);
    cairo_close_path(cr);
    solid(cr, a.look, W * 0.06, W * 0.94, bowl);
}

// A basket or crate heaped with fruit.
void thingFruitCrate(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb fruit = a.args.color("fruit", Rgb::hex(0xF08A20)), wood = a.args.color("color", Rgb::hex(0xB08850));
    groundShadow(cr, W / 2, H - 3, W * 0.5, 4, a.look);
    Rng r = a.rng.fork("fruit");
    double fr = W * 0.1;
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 5; ++i) {
            double fx = W * (0.14 + 0.18 * i) + r.range(-2, 2) + row * W * 0.08, fy = H * 0.42 - row * fr * 0.9;
            if (fx > W * 0.9) continue;
            ellipsePath(cr, fx, fy, fr, fr);
            fillRadial(cr, fx - fr * 0.35, fy - fr * 0.35, 1, fr * 1.2,
                       {{0, a.look.lit(fruit, 0.4)}, {0.6, a.look.tone(fruit)}, {1, a.look.dark(fruit, 0.4)}});
        }
    }
    for (int s = 0; s < 3; ++s) {
        double y = H * (0.42 + 0.18 * s);
        cairo_rectangle(cr, W * 0.04, y, W * 0.92, H * 0.15);
        solid(cr, a.look, W * 0.04, W * 0.96, s % 2 ? darken(wood, 0.08) : wood);
    }
    for (double x : {W * 0.06, W * 0.88}) {
        cairo_rectangle(cr, x, H * 0.4, W * 0.06, H * 0.58);
        flat(cr, a.look, darken(wood, 0.25));
    }
}

// A loaf of round festive bread with a plaited top.
void thingLoaf(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", Rgb::hex(0xC8843A));
    groundShadow(cr, W / 2, H - 3, W * 0.48, 3, a.look);
    ellipsePath(cr, W / 2, H * 0.62, W * 0.46, H * 0.34);
    fillRadial(cr, W * 0.4, H * 0.45, 1, W * 0.5, {{0, a.look.lit(c, 0.35)}, {0.7, a.look.tone(c)}, {1, a.look.dark(c, 0.45)}});
    for (int i = 0; i < 6; ++i) {
        double ang = i * M_PI / 3;
        ellipsePath(cr, W / 2 + std::cos(ang) * W * 0.22, H * 0.56 + std::sin(ang) * H * 0.14, W * 0.12, H * 0.08);
        setColor(cr, a.look.lit(c, 0.2), 0.8);
        cairo_fill(cr);
    }
    ellipsePath(cr, W / 2, H * 0.56, W * 0.1, H * 0.08);
    setColor(cr, a.look.lit(c, 0.3));
    cairo_fill(cr);
}

// --- street and garden furniture ---------------------------------------------------------------

// A parasol or umbrella: a striped canopy on a pole; "closed" folds it, "tilt" leans it.
void thingParasol(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    std::vector<Rgb> cols = a.args.colors("colors");
    if (cols.empty()) cols = {Rgb::hex(0xC83A3A), Rgb::hex(0xF4EEDC)};
    bool handheld = a.args.flag("handheld", false);
    cairo_save(cr);
    cairo_translate(cr, W / 2, H / 2);
    cairo_rotate(cr, a.args.number("tilt", 0));
    double cw = W * 0.46, ch = H * (handheld ? 0.3 : 0.24), top = -H * 0.46;
    strokeLine(cr, 0, top, 0, H * 0.48, handheld ? 2 : 3, a.look.tone(Rgb::hex(0x6A5A4A)));
    if (handheld) {
        cairo_arc(cr, -4, H * 0.45, 4, 0, M_PI);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    }
    int n = 8;
    for (int i = 0; i < n; ++i) {
        double x0 = -cw + 2 * cw * i / n, x1 = -cw + 2 * cw * (i + 1) / n;
        cairo_move_to(cr, 0, top);
        cairo_line_to(cr, x0, top + ch);
        cairo_curve_to(cr, x0 + (x1 - x0) * 0.3, top + ch - 4, x0 + (x1 - x0) * 0.7, top + ch - 4, x1, top + ch);
        cairo_close_path(cr);
        Rgb c = cols[static_cast<std::size_t>(i) % cols.size()];
        double t = (i + 0.5) / n;
        setColor(cr, (a.look.fromLeft() > 0) == (t < 0.5) ? a.look.lit(c, 0.2) : a.look.dark(c, 0.25));
        cairo_fill(cr);
    }
    ellipsePath(cr, 0, top, 2.5, 2.5);
    flat(cr, a.look, Rgb::hex(0xC9A040));
    cairo_restore(cr);
}

// A park bench of slats on cast-iron legs.
void thingBench(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb wood = a.args.color("color", Rgb::hex(0x7A5434)), iron = a.args.color("iron", Rgb::hex(0x2E2E30));
    groundShadow(cr, W / 2, H - 3, W * 0.5, 4, a.look);
    for (double x : {W * 0.1, W * 0.86}) {
        polygon(cr, {{x, H * 0.1}, {x + W * 0.04, H * 0.1}, {x + W * 0.05, H - 2}, {x - W * 0.01, H - 2}});
        flat(cr, a.look, iron);
    }
    for (int i = 0; i < 3; ++i) {
        cairo_rectangle(cr, W * 0.04, H * (0.12 + 0.11 * i), W * 0.92, H * 0.07);
        solid(cr, a.look, 0, W, wood);
    }
    polygon(cr, {{W * 0.02, H * 0.56}, {W * 0.98, H * 0.56}, {W * 0.94, H * 0.66}, {W * 0.06, H * 0.66}});
    solid(cr, a.look, 0, W, lighten(wood, 0.1));
}

// A bistro chair with a round seat and bent back.
void thingChair(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", Rgb::hex(0x3A3A3A)), seat = a.args.color("seat", Rgb::hex(0xA87A4A));
    cairo_save(cr);
    flipIf(cr, a.args.flag("flip", false), W);
    groundShadow(cr, W / 2, H - 3, W * 0.45, 3, a.look);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (double x : {W * 0.2, W * 0.75}) strokeLine(cr, x, H * 0.58, x + (x < W / 2 ? -W * 0.06 : W * 0.06), H - 3, 2.4, a.look.tone(c));
    strokeLine(cr, W * 0.72, H * 0.56, W * 0.8, H * 0.05, 2.6, a.look.tone(c));
    strokeLine(cr, W * 0.5, H * 0.58, W * 0.56, H - 3, 2, a.look.dark(c, 0.3));
    cairo_move_to(cr, W * 0.8, H * 0.08);
    cairo_curve_to(cr, W * 1.0, H * 0.12, W * 0.98, H * 0.4, W * 0.76, H * 0.42);
    cairo_set_line_width(cr, 2.4);
    setColor(cr, a.look.tone(c));
    cairo_stroke(cr);
    ellipsePath(cr, W * 0.46, H * 0.56, W * 0.38, H * 0.07);
    solid(cr, a.look, W * 0.08, W * 0.84, seat);
    cairo_restore(cr);
}

// A small round café table with a cup or two and a glass.
void thingCafeTable(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb top = a.args.color("color", Rgb::hex(0xE8E0D0)), iron = a.args.color("iron", Rgb::hex(0x2E2E30));
    groundShadow(cr, W / 2, H - 3, W * 0.4, 4, a.look);
    strokeLine(cr, W / 2, H * 0.4, W / 2, H - 6, 3, a.look.tone(iron));
    polygon(cr, {{W * 0.3, H - 2}, {W * 0.7, H - 2}, {W * 0.56, H - 8}, {W * 0.44, H - 8}});
    flat(cr, a.look, iron);
    ellipsePath(cr, W / 2, H * 0.4, W * 0.46, H * 0.09);
    topLit(cr, a.look, H * 0.3, H * 0.5, top, true);
    edge(cr, a.look.dark(top, 0.5), 1.0, 0.6);
    // A cup on its saucer and a glass of something red.
    ellipsePath(cr, W * 0.36, H * 0.37, W * 0.1, H * 0.03);
    flat(cr, a.look, Rgb::hex(0xF4F0E8));
    cairo_rectangle(cr, W * 0.3, H * 0.27, W * 0.12, H * 0.1);
    solid(cr, a.look, W * 0.3, W * 0.42, Rgb::hex(0xF4F0E8), 0.8);
    polygon(cr, {{W * 0.58, H * 0.2}, {W * 0.68, H * 0.2}, {W * 0.65, H * 0.31}, {W * 0.61, H * 0.31}});
    flat(cr, a.look, Rgb::hex(0x9A2A3A), 0.85);
    strokeLine(cr, W * 0.63, H * 0.31, W * 0.63, H * 0.37, 1.2, a.look.tone(Rgb::hex(0xD8E0E4)));
}

// A red pillar post box with its cap and slot.
void thingPillarBox(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", Rgb::hex(0xC0282A));
    groundShadow(cr, W / 2, H - 3, W * 0.45, 3, a.look);
    cylinder(cr, W / 2, H * 0.2, H - 6, W * 0.36, W * 0.08, c, a.look);
    cairo_move_to(cr, W * 0.1, H * 0.22);
    cairo_curve_to(cr, W * 0.1, H * 0.02, W * 0.9, H * 0.02, W * 0.9, H * 0.22);
    cairo_close_path(cr);
    solid(cr, a.look, W * 0.1, W * 0.9, c);
    cairo_rectangle(cr, W * 0.3, H * 0.32, W * 0.4, H * 0.04);
    flat(cr, a.look, Rgb::hex(0x1A1010));
    cairo_rectangle(cr, W * 0.12, H - 10, W * 0.76, 5);
    flat(cr, a.look, darken(c, 0.4));
}

// A bicycle seen from the side, with a basket on the handlebars.
void thingBicycle(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", Rgb::hex(0x2E5A4A));
    cairo_save(cr);
    flipIf(cr, a.args.flag("flip", false), W);
    double r = std::min(W * 0.22, H * 0.34), wy = H - r - 3;
    double bx = W * 0.05 + r, fx = W * 0.95 - r;
    groundShadow(cr, W / 2, H - 3, W * 0.5, 3, a.look);
    for (double x : {bx, fx}) {
        cairo_arc(cr, x, wy, r, 0, 2 * M_PI);
        cairo_set_line_width(cr, 2.6);
        setColor(cr, a.look.tone(Rgb::hex(0x1E1E22)));
        cairo_stroke(cr);
        for (int s = 0; s < 8; ++s) {
            double ang = s * M_PI / 4;
            strokeLine(cr, x, wy, x + std::cos(ang) * r, wy + std::sin(ang) * r, 0.5, a.look.tone(Rgb::hex(0x9A9AA0)), 0.7);
        }
    }
    double px = (bx + fx) / 2 - r * 0.1, seatY = wy - r * 1.2, barY = wy - r * 1.1;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, bx, wy);
    cairo_line_to(cr, px, wy);
    cairo_line_to(cr, px - r * 0.3, seatY);
    cairo_line_to(cr, bx, wy);
    cairo_move_to(cr, px, wy);
    cairo_line_to(cr, fx - r * 0.4, barY);
    cairo_line_to(cr, px - r * 0.25, seatY + r * 0.1);
    cairo_move_to(cr, fx, wy);
    cairo_line_to(cr, fx - r * 0.45, barY - r * 0.3);
    cairo_set_line_width(cr, 3);
    setColor(cr, a.look.tone(c));
    cairo_stroke(cr);
    strokeLine(cr, px - r * 0.55, seatY - 2, px, seatY - 2, 3.5, a.look.tone(Rgb::hex(0x3A2A20)));
    strokeLine(cr, fx - r * 0.6, barY - r * 0.32, fx - r * 0.2, barY - r * 0.36, 2.4, a.look.tone(Rgb::hex(0x2A2A2A)));
    if (a.args.flag("basket", true)) {
        cairo_rectangle(cr, fx - r * 0.35, barY - r * 0.15, r * 0.7, r * 0.5);
        solid(cr, a.look, fx - r * 0.35, fx + r * 0.35, Rgb::hex(0xC89A5A));
        std::vector<Rgb> fl = a.args.colors("flowers");
        for (std::size_t i = 0; i < fl.size(); ++i) {
            ellipsePath(cr, fx - r * 0.2 + i * r * 0.2, barY - r * 0.2, r * 0.13, r * 0.13);
            flat(cr, a.look, fl[i]);
        }
    }
    cairo_restore(cr);
}

// A garden or street lantern: a glass box on a hook or a short post, lit from inside.
void thingLantern(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb metal = a.args.color("color", Rgb::hex(0x2E2A26)), glow = a.args.color("glow", Rgb::hex(0xFFD070));
    bool lit = a.args.flag("lit", true);
    if (lit) softEllipse(cr, W / 2, H * 0.5, W * 0.5, H * 0.32, glow, 0.45);
    strokeLine(cr, W / 2, 2, W / 2, H * 0.2, 1.6, a.look.tone(metal));
    polygon(cr, {{W * 0.3, H * 0.28}, {W * 0.7, H * 0.28}, {W * 0.62, H * 0.2}, {W * 0.38, H * 0.2}});
    flat(cr, a.look, metal);
    cairo_rectangle(cr, W * 0.3, H * 0.28, W * 0.4, H * 0.5);
    if (lit) fillRadial(cr, W / 2, H * 0.52, 1, W * 0.3, {{0, {1, 1, 0.9}}, {1, glow}});
    else flat(cr, a.look, Rgb::hex(0x8A9AA0), 0.7);
    cairo_rectangle(cr, W * 0.3, H * 0.28, W * 0.4, H * 0.5);
    edge(cr, a.look.tone(metal), 2.2, 1.0);
    strokeLine(cr, W / 2, H * 0.28, W / 2, H * 0.78, 1.2, a.look.tone(metal));
    polygon(cr, {{W * 0.26, H * 0.78}, {W * 0.74, H * 0.78}, {W * 0.64, H * 0.86}, {W * 0.36, H * 0.86}});
    flat(cr, a.look, metal);
    if (a.args.flag("post", false)) {
        cairo_rectangle(cr, W * 0.45, H * 0.86, W * 0.1, H * 0.14 - 2);
        flat(cr, a.look, metal);
    }
}

// --- figures -------------------------------------------------------------------------------

// A small painted figure: a person standing, or sitting on the ground, in a painter's shorthand.
void thingFigure(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb cloth = a.args.color("color", Rgb::hex(0x3A5A8A)), skin = a.args.color("skin", Rgb::hex(0xE8B898));
    Rgb hair = a.args.color("hair", Rgb::hex(0x4A3020));
    std::string pose = a.args.text("pose", "standing");
    std::string hat = a.args.text("hat", "none");
    bool dress = a.args.flag("dress", false);
    cairo_save(cr);
    flipIf(cr, a.args.flag("flip", false), W);
    double cx = W * 0.5, headR = std::min(W * 0.16, H * 0.08);
    double headY, hip, foot;
    if (pose == "sitting") {
        headY = H * 0.22;
        hip = H * 0.72;
        foot = H - 3;
        groundShadow(cr, cx, H - 3, W * 0.5, 4, a.look);
        // Legs stretched out to the right.
        polygon(cr, {{cx - W * 0.14, hip - H * 0.06}, {W * 0.95, foot - H * 0.1}, {W * 0.95, foot}, {cx - W * 0.1, foot}});
        solid(cr, a.look, cx - W * 0.2, W, dress ? cloth : darken(cloth, 0.35));
    } else {
        headY = H * 0.1;
        hip = H * 0.58;
        foot = H - 3;
        groundShadow(cr, cx, H - 3, W * 0.4, 3, a.look);
        if (!dress) {
            strokeLine(cr, cx - W * 0.08, hip, cx - W * 0.1, foot, W * 0.13, a.look.tone(darken(cloth, 0.4)));
            strokeLine(cr, cx + W * 0.08, hip, cx + W * 0.1, foot, W * 0.13, a.look.tone(darken(cloth, 0.45)));
        }
    }
    double shoulder = headY + headR * 1.4;
    if (dress) {
        polygon(cr, {{cx - W * 0.14, shoulder}, {cx + W * 0.14, shoulder}, {cx + W * 0.34, pose == "sitting" ? hip + H * 0.1 : foot - 2},
                     {cx - W * 0.34, pose == "sitting" ? hip + H * 0.1 : foot - 2}});
    } else {
        polygon(cr, {{cx - W * 0.18, shoulder}, {cx + W * 0.18, shoulder}, {cx + W * 0.16, hip + H * 0.02}, {cx - W * 0.16, hip + H * 0.02}});
    }
    solid(cr, a.look, cx - W * 0.34, cx + W * 0.34, cloth);
    // Arms.
    strokeLine(cr, cx - W * 0.16, shoulder + 3, cx - W * 0.26, hip - H * 0.06, W * 0.08, a.look.dark(cloth, 0.15));
    strokeLine(cr, cx + W * 0.16, shoulder + 3, cx + W * 0.28, hip - H * 0.1, W * 0.08, a.look.dark(cloth, 0.2));
    ellipsePath(cr, cx, headY + headR * 0.3, headR * 0.45, headR * 0.7);
    flat(cr, a.look, skin);
    ellipsePath(cr, cx, headY, headR, headR * 1.1);
    fillRadial(cr, cx - headR * 0.4, headY - headR * 0.3, 1, headR * 1.3, {{0, a.look.lit(skin, 0.2)}, {1, a.look.dark(skin, 0.3)}});
    cairo_arc(cr, cx, headY - headR * 0.1, headR * 1.02, M_PI * 1.05, M_PI * 1.95);
    cairo_close_path(cr);
    flat(cr, a.look, hair);
    if (hat == "straw" || hat == "bonnet") {
        Rgb hc = a.args.color("hatColor", Rgb::hex(0xE8D090));
        ellipsePath(cr, cx, headY - headR * 0.6, headR * 2.0, headR * 0.4);
        flat(cr, a.look, hc);
        ellipsePath(cr, cx, headY - headR * 0.9, headR * 0.9, headR * 0.6);
        flat(cr, a.look, lighten(hc, 0.1));
    } else if (hat == "top" || hat == "bowler") {
        Rgb hc = a.args.color("hatColor", Rgb::hex(0x1E1E22));
        ellipsePath(cr, cx, headY - headR * 0.6, headR * 1.4, headR * 0.3);
        flat(cr, a.look, hc);
        if (hat == "top") cairo_rectangle(cr, cx - headR * 0.8, headY - headR * 2.2, headR * 1.6, headR * 1.6);
        else cairo_arc(cr, cx, headY - headR * 0.6, headR * 0.9, M_PI, 2 * M_PI);
        flat(cr, a.look, hc);
    } else if (hat == "scarf") {
        cairo_arc(cr, cx, headY, headR * 1.15, M_PI * 0.9, M_PI * 2.1);
        cairo_close_path(cr);
        flat(cr, a.look, a.args.color("hatColor", Rgb::hex(0xC83A3A)));
    } else if (hat != "none") {
        a.args.fail("hat must be none, straw, bonnet, top, bowler or scarf");
    }
    cairo_restore(cr);
}

// A sitting cat, seen from the side with its tail curled round.
void thingHouseCat(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", Rgb::hex(0x3A3230));
    cairo_save(cr);
    flipIf(cr, a.args.flag("flip", false), W);
    groundShadow(cr, W * 0.5, H - 3, W * 0.42, 3, a.look);
    cairo_move_to(cr, W * 0.7, H - 4);
    cairo_curve_to(cr, W * 1.0, H - 4, W * 0.98, H * 0.6, W * 0.84, H * 0.55);
    cairo_set_line_width(cr, W * 0.09);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    setColor(cr, a.look.dark(c, 0.1));
    cairo_stroke(cr);
    cairo_move_to(cr, W * 0.2, H - 3);
    cairo_curve_to(cr, W * 0.12, H * 0.6, W * 0.24, H * 0.36, W * 0.42, H * 0.34);
    cairo_curve_to(cr, W * 0.66, H * 0.36, W * 0.8, H * 0.7, W * 0.76, H - 3);
    cairo_close_path(cr);
    solid(cr, a.look, W * 0.12, W * 0.8, c);
    double hx = W * 0.36, hy = H * 0.26, hr = W * 0.17;
    polygon(cr, {{hx - hr * 0.9, hy - hr * 0.2}, {hx - hr * 0.8, hy - hr * 1.3}, {hx - hr * 0.1, hy - hr * 0.7}});
    flat(cr, a.look, c);
    polygon(cr, {{hx + hr * 0.9, hy - hr * 0.2}, {hx + hr * 0.8, hy - hr * 1.3}, {hx + hr * 0.1, hy - hr * 0.7}});
    flat(cr, a.look, c);
    ellipsePath(cr, hx, hy, hr, hr * 0.85);
    solid(cr, a.look, hx - hr, hx + hr, c);
    for (int s = -1; s <= 1; s += 2) {
        ellipsePath(cr, hx + s * hr * 0.4, hy - hr * 0.05, hr * 0.16, hr * 0.12);
        flat(cr, a.look, Rgb::hex(0xD8C040));
    }
}

// --- the painter's things ----------------------------------------------------------------------

// A studio easel holding a canvas with a painting in progress.
void thingEasel(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb wood = a.args.color("color", Rgb::hex(0x9A6A3E));
    groundShadow(cr, W / 2, H - 3, W * 0.45, 4, a.look);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    strokeLine(cr, W * 0.5, H * 0.03, W * 0.14, H - 3, 4, a.look.tone(wood));
    strokeLine(cr, W * 0.5, H * 0.03, W * 0.86, H - 3, 4, a.look.dark(wood, 0.15));
    strokeLine(cr, W * 0.5, H * 0.1, W * 0.56, H - 3, 3.5, a.look.dark(wood, 0.35));
    double cx0 = W * 0.12, cy0 = H * 0.12, cw = W * 0.76, ch = H * 0.5;
    cairo_rectangle(cr, cx0, cy0, cw, ch);
    setColor(cr, a.look.tone(Rgb::hex(0xF2EAD8)));
    cairo_fill(cr);
    // The painting on it: a sky, a hill and a sun, a few quick strokes.
    Rgb sky = a.args.color("sky", Rgb::hex(0x8AB0D8)), land = a.args.color("land", Rgb::hex(0x6A9A4A));
    cairo_rectangle(cr, cx0 + 3, cy0 + 3, cw - 6, ch * 0.55);
    flat(cr, a.look, sky);
    cairo_move_to(cr, cx0 + 3, cy0 + ch * 0.6);
    cairo_curve_to(cr, cx0 + cw * 0.3, cy0 + ch * 0.4, cx0 + cw * 0.6, cy0 + ch * 0.7, cx0 + cw - 3, cy0 + ch * 0.5);
    cairo_line_to(cr, cx0 + cw - 3, cy0 + ch - 3);
    cairo_line_to(cr, cx0 + 3, cy0 + ch - 3);
    cairo_close_path(cr);
    flat(cr, a.look, land);
    ellipsePath(cr, cx0 + cw * 0.72, cy0 + ch * 0.25, cw * 0.08, cw * 0.08);
    flat(cr, a.look, Rgb::hex(0xF4D060));
    cairo_rectangle(cr, cx0, cy0, cw, ch);
    edge(cr, a.look.dark(wood, 0.3), 2.0);
    cairo_rectangle(cr, W * 0.08, cy0 + ch, W * 0.84, 5);
    flat(cr, a.look, wood);
}

// A painter's palette with dabs of colour and its thumb hole.
void thingPalette(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb wood = a.args.color("color", Rgb::hex(0xC89A60));
    cairo_save(cr);
    cairo_translate(cr, W / 2, H / 2);
    cairo_rotate(cr, a.args.number("tilt", -0.2));
    blobPath(cr, 0, 0, W * 0.44, H * 0.38, 0.06, a.rng, 14);
    fillRadial(cr, -W * 0.1, -H * 0.1, 1, W * 0.5, {{0, a.look.lit(wood, 0.3)}, {1, a.look.dark(wood, 0.3)}});
    ellipsePath(cr, W * 0.22, H * 0.1, W * 0.06, H * 0.07);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    const unsigned dabs[] = {0xF4F0E8, 0xD83A2A, 0xF2C030, 0x3A6AB8, 0x3A8A4A, 0x5A3A2A, 0xE89AB0};
    for (int i = 0; i < 7; ++i) {
        double ang = M_PI * (0.75 + 1.3 * i / 6.0);
        double r = std::min(W, H) * 0.07;
        blobPath(cr, std::cos(ang) * W * 0.3, std::sin(ang) * H * 0.24, r, r * 0.8, 0.3, a.rng, 8);
        flat(cr, a.look, Rgb::hex(dabs[i]));
    }
    cairo_restore(cr);
}

// Jars of brushes and tubes of paint on the table.
void thingBrushJar(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb jar = a.args.color("color", Rgb::hex(0xB8C8C8));
    groundShadow(cr, W / 2, H - 3, W * 0.45, 3, a.look);
    const unsigned tips[] = {0xD83A2A, 0x3A6AB8, 0xF2C030, 0x3A3A3A, 0x3A8A4A};
    for (int i = 0; i < 5; ++i) {
        double bx = W * (0.32 + 0.09 * i), ang = (i - 2) * 0.12;
        double tx = bx + std::sin(ang) * H * 0.6, ty = H * 0.08 + std::abs(i - 2) * 4;
        strokeLine(cr, bx, H * 0.6, tx, ty, 2.2, a.look.tone(Rgb::hex(0xA87A4A)));
        strokeLine(cr, tx, ty, tx - std::sin(ang) * 6, ty + 6, 3.2, a.look.tone(Rgb::hex(tips[i])));
    }
    cairo_rectangle(cr, W * 0.26, H * 0.45, W * 0.48, H * 0.55 - 3);
    solid(cr, a.look, W * 0.26, W * 0.74, jar);
    cairo_rectangle(cr, W * 0.28, H * 0.7, W * 0.44, H * 0.3 - 5);
    flat(cr, a.look, Rgb::hex(0x7A8A9A), 0.5);
}

// A stack of old books lying on their sides.
void thingBooks(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    std::vector<Rgb> cols = a.args.colors("colors");
    if (cols.empty()) cols = {Rgb::hex(0x7B2331), Rgb::hex(0x2E4A6B), Rgb::hex(0x3E6A3A), Rgb::hex(0x8A6A2A)};
    groundShadow(cr, W / 2, H - 3, W * 0.5, 3, a.look);
    int n = a.args.integer("count", 4);
    double bh = (H - 4) / n;
    for (int i = 0; i < n; ++i) {
        double y = H - 3 - bh * (i + 1);
        double inset = a.rng.range(0, W * 0.12), w = W * a.rng.range(0.75, 0.95) - inset;
        Rgb c = cols[static_cast<std::size_t>(i) % cols.size()];
        cairo_rectangle(cr, inset, y + 1, w, bh - 1);
        topLit(cr, a.look, y, y + bh, c, true);
        edge(cr, a.look.dark(c, 0.6), 0.8);
        cairo_rectangle(cr, inset + w - 4, y + 2, 3, bh - 3);
        flat(cr, a.look, Rgb::hex(0xF0E8D0));
        strokeLine(cr, inset + w * 0.2, y + bh * 0.5, inset + w * 0.5, y + bh * 0.5, 1.2, a.look.tone(Rgb::hex(0xD8B050)));
    }
}

// A mantel clock with a round dial.
void thingClock(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb wood = a.args.color("color", Rgb::hex(0x6A3A22));
    groundShadow(cr, W / 2, H - 3, W * 0.45, 3, a.look);
    cairo_move_to(cr, W * 0.08, H - 3);
    cairo_line_to(cr, W * 0.08, H * 0.4);
    cairo_curve_to(cr, W * 0.08, H * 0.02, W * 0.92, H * 0.02, W * 0.92, H * 0.4);
    cairo_line_to(cr, W * 0.92, H - 3);
    cairo_close_path(cr);
    solid(cr, a.look, W * 0.08, W * 0.92, wood);
    double r = W * 0.3, cy = H * 0.4;
    ellipsePath(cr, W / 2, cy, r + 2, r + 2);
    flat(cr, a.look, Rgb::hex(0xC9A040));
    ellipsePath(cr, W / 2, cy, r, r);
    flat(cr, a.look, Rgb::hex(0xF4EEDC));
    for (int i = 0; i < 12; ++i) {
        double ang = i * M_PI / 6;
        strokeLine(cr, W / 2 + std::cos(ang) * r * 0.8, cy + std::sin(ang) * r * 0.8, W / 2 + std::cos(ang) * r * 0.92,
                   cy + std::sin(ang) * r * 0.92, 1, a.look.tone(Rgb::hex(0x2A2020)));
    }
    strokeLine(cr, W / 2, cy, W / 2 + r * 0.5, cy - r * 0.2, 1.6, a.look.tone(Rgb::hex(0x1A1010)));
    strokeLine(cr, W / 2, cy, W / 2 - r * 0.1, cy - r * 0.75, 1.2, a.look.tone(Rgb::hex(0x1A1010)));
}

// A gilt frame holding a small painting.
void thingFrame(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb gilt = a.args.color("color", Rgb::hex(0xC9943A));
    Rgb sky = a.args.color("sky", Rgb::hex(0xA8C0D8)), land = a.args.color("land", Rgb::hex(0x7A8A4A));
    double b = std::min(W, H) * 0.12;
    cairo_rectangle(cr, 2, 2, W - 4, H - 4);
    fillLinear(cr, 0, 0, W, H, {{0, a.look.lit(gilt, 0.4)}, {0.5, a.look.tone(gilt)}, {1, a.look.dark(gilt, 0.4)}});
    cairo_rectangle(cr, 2 + b, 2 + b, W - 4 - 2 * b, (H - 4 - 2 * b) * 0.6);
    flat(cr, a.look, sky);
    cairo_rectangle(cr, 2 + b, 2 + b + (H - 4 - 2 * b) * 0.6, W - 4 - 2 * b, (H - 4 - 2 * b) * 0.4);
    flat(cr, a.look, land);
    cairo_rectangle(cr, 2 + b, 2 + b, W - 4 - 2 * b, H - 4 - 2 * b);
    edge(cr, a.look.dark(gilt, 0.6), 1.5);
}

// A table lamp with a fabric shade, lit.
void thingLamp(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb shade = a.args.color("color", Rgb::hex(0xE8C890)), base = a.args.color("base", Rgb::hex(0x7A5A3A));
    softEllipse(cr, W / 2, H * 0.4, W * 0.5, H * 0.4, Rgb::hex(0xFFE0A0), 0.35);
    groundShadow(cr, W / 2, H - 3, W * 0.35, 3, a.look);
    strokeLine(cr, W / 2, H * 0.45, W / 2, H * 0.86, 3, a.look.tone(base));
    ellipsePath(cr, W / 2, H - 6, W * 0.22, H * 0.05);
    solid(cr, a.look, W * 0.28, W * 0.72, base);
    polygon(cr, {{W * 0.3, H * 0.08}, {W * 0.7, H * 0.08}, {W * 0.9, H * 0.46}, {W * 0.1, H * 0.46}});
    fillLinear(cr, 0, H * 0.08, 0, H * 0.46, {{0, a.look.lit(shade, 0.4)}, {1, a.look.tone(shade)}});
}

// --- garden things --------------------------------------------------------------------------

// A stone bird bath on a pedestal, with a little water and a visiting bird.
void thingBirdBath(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb stone = a.args.color("color", Rgb::hex(0xB8B0A0));
    groundShadow(cr, W / 2, H - 3, W * 0.4, 4, a.look);
    polygon(cr, {{W * 0.3, H - 3}, {W * 0.7, H - 3}, {W * 0.58, H * 0.85}, {W * 0.42, H * 0.85}});
    solid(cr, a.look, W * 0.3, W * 0.7, stone);
    polygon(cr, {{W * 0.42, H * 0.86}, {W * 0.58, H * 0.86}, {W * 0.54, H * 0.42}, {W * 0.46, H * 0.42}});
    solid(cr, a.look, W * 0.42, W * 0.58, stone);
    cairo_move_to(cr, W * 0.06, H * 0.32);
    cairo_curve_to(cr, W * 0.12, H * 0.5, W * 0.88, H * 0.5, W * 0.94, H * 0.32);
    cairo_close_path(cr);
    solid(cr, a.look, W * 0.06, W * 0.94, stone);
    ellipsePath(cr, W / 2, H * 0.33, W * 0.42, H * 0.04);
    flat(cr, a.look, Rgb::hex(0x8AAAC8));
    // A small bird on the rim.
    double bx = W * 0.78, by = H * 0.24;
    ellipsePath(cr, bx, by, W * 0.08, H * 0.06);
    flat(cr, a.look, Rgb::hex(0x7A5A3A));
    ellipsePath(cr, bx - W * 0.06, by - H * 0.05, W * 0.045, W * 0.045);
    flat(cr, a.look, Rgb::hex(0x7A5A3A));
    ellipsePath(cr, bx - W * 0.05, by + H * 0.005, W * 0.04, H * 0.035);
    flat(cr, a.look, Rgb::hex(0xD8582A));
}

// A straw or white-painted beehive on a stand.
void thingBeehive(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", Rgb::hex(0xD8B060));
    groundShadow(cr, W / 2, H - 3, W * 0.45, 3, a.look);
    cairo_rectangle(cr, W * 0.2, H * 0.82, W * 0.6, H * 0.18 - 3);
    flat(cr, a.look, Rgb::hex(0x6A4A30));
    for (int i = 0; i < 5; ++i) {
        double y = H * (0.18 + 0.13 * i), hw = W * (0.2 + 0.05 * i);
        ellipsePath(cr, W / 2, y + H * 0.07, hw, H * 0.085);
        solid(cr, a.look, W / 2 - hw, W / 2 + hw, c, 0.8);
    }
    ellipsePath(cr, W / 2, H * 0.72, W * 0.07, H * 0.05);
    flat(cr, a.look, Rgb::hex(0x2A1A10));
    for (int i = 0; i < 4; ++i) {
        double bx = W * a.rng.range(0.1, 0.9), by = H * a.rng.range(0.05, 0.35);
        ellipsePath(cr, bx, by, 2.2, 1.6);
        flat(cr, a.look, Rgb::hex(0x3A2A10));
    }
}

// A wooden ladder leaning to the right.
void thingLadder(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb wood = a.args.color("color", Rgb::hex(0x9A7448));
    cairo_save(cr);
    flipIf(cr, a.args.flag("flip", false), W);
    groundShadow(cr, W * 0.3, H - 3, W * 0.3, 3, a.look);
    double lx0 = W * 0.1, lx1 = W * 0.45, tx0 = W * 0.55, tx1 = W * 0.9;
    int rungs = 6;
    for (int i = 1; i <= rungs; ++i) {
        double t = static_cast<double>(i) / (rungs + 1);
        strokeLine(cr, lx0 + (tx0 - lx0) * t, H - 3 - (H - 6) * t, lx1 + (tx1 - lx1) * t, H - 3 - (H - 6) * t, 2.5,
                   a.look.dark(wood, 0.2));
    }
    strokeLine(cr, lx0, H - 3, tx0, 3, 4, a.look.tone(wood));
    strokeLine(cr, lx1, H - 3, tx1, 3, 4, a.look.lit(wood, 0.1));
    cairo_restore(cr);
}

// A pair of wooden clogs, painted.
void thingClogs(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", Rgb::hex(0xE8C060)), paint = a.args.color("paint", Rgb::hex(0xC83A2A));
    groundShadow(cr, W / 2, H - 3, W * 0.5, 3, a.look);
    for (int i = 0; i < 2; ++i) {
        double ox = i * W * 0.08, oy = i * H * 0.3;
        cairo_move_to(cr, W * 0.06 + ox, H * 0.55 + oy * 0.3);
        cairo_curve_to(cr, W * 0.06 + ox, H * 0.15 + oy, W * 0.5 + ox, H * 0.2 + oy, W * 0.92, H * 0.5 + oy * 0.6);
        cairo_curve_to(cr, W * 0.98, H * 0.64 + oy * 0.5, W * 0.9, H * 0.7 + oy * 0.3, W * 0.7, H * 0.66 + oy * 0.4);
        cairo_line_to(cr, W * 0.1 + ox, H * 0.66 + oy * 0.4);
        cairo_close_path(cr);
        solid(cr, a.look, W * 0.06, W * 0.95, c);
        ellipsePath(cr, W * 0.24 + ox, H * 0.36 + oy * 0.8, W * 0.12, H * 0.08);
        flat(cr, a.look, Rgb::hex(0x3A2A1A));
        ellipsePath(cr, W * 0.6 + ox * 0.5, H * 0.44 + oy * 0.7, W * 0.05, H * 0.05);
        flat(cr, a.look, paint);
    }
}

// Wheels of cheese stacked, one cut open.
void thingCheese(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb rind = a.args.color("color", Rgb::hex(0xE8A830)), in = Rgb::hex(0xF8E090);
    groundShadow(cr, W / 2, H - 3, W * 0.5, 3, a.look);
    int n = a.args.integer("count", 3);
    double wh = (H - 6) / n;
    for (int i = 0; i < n; ++i) {
        double y = H - 4 - wh * (i + 1), inset = i * W * 0.06;
        cylinder(cr, W / 2, y + wh * 0.2, y + wh * 0.8, W * 0.46 - inset, wh * 0.2, rind, a.look);
    }
    double cy = H - 4 - wh * n + wh * 0.2;
    polygon(cr, {{W / 2, cy}, {W / 2 + W * 0.3, cy + wh * 0.1}, {W / 2 + W * 0.28, cy - wh * 0.08}});
    flat(cr, a.look, in);
}

// A butterfly seen from above, wings spread.
void thingButterfly(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", Rgb::hex(0xF0A030));
    cairo_save(cr);
    cairo_translate(cr, W / 2, H / 2);
    cairo_rotate(cr, a.args.number("tilt", 0.2));
    for (int s = -1; s <= 1; s += 2) {
        ellipsePath(cr, s * W * 0.22, -H * 0.14, W * 0.24, H * 0.26);
        flat(cr, a.look, c);
        ellipsePath(cr, s * W * 0.18, H * 0.18, W * 0.16, H * 0.18);
        flat(cr, a.look, darken(c, 0.15));
        ellipsePath(cr, s * W * 0.28, -H * 0.2, W * 0.06, H * 0.06);
        flat(cr, a.look, Rgb::hex(0x2A2020));
    }
    ellipsePath(cr, 0, 0, W * 0.04, H * 0.3);
    flat(cr, a.look, Rgb::hex(0x2A2020));
    cairo_restore(cr);
}

// A little hedgehog trundling along.
void thingHedgehog(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", Rgb::hex(0x6A5040));
    cairo_save(cr);
    flipIf(cr, a.args.flag("flip", false), W);
    groundShadow(cr, W / 2, H - 3, W * 0.45, 3, a.look);
    for (int i = 0; i < 26; ++i) {
        double ang = M_PI + M_PI * i / 25.0;
        double x0 = W * 0.48 + std::cos(ang) * W * 0.3, y0 = H * 0.68 + std::sin(ang) * H * 0.42;
        strokeLine(cr, W * 0.48, H * 0.7, x0 + std::cos(ang) * 5, y0 + std::sin(ang) * 5, 2.2, a.look.dark(c, 0.3));
    }
    ellipsePath(cr, W * 0.48, H * 0.66, W * 0.34, H * 0.3);
    solid(cr, a.look, W * 0.14, W * 0.82, c);
    polygon(cr, {{W * 0.74, H * 0.52}, {W * 0.98, H * 0.78}, {W * 0.74, H * 0.9}});
    flat(cr, a.look, Rgb::hex(0xC8A080));
    ellipsePath(cr, W * 0.97, H * 0.78, 2.2, 2.2);
    flat(cr, a.look, Rgb::hex(0x1A1010));
    cairo_restore(cr);
}

}  // namespace

void registerTownThingArt(ArtRegistry& r) {
    r.add("vessel", thingVessel);
    r.add("fruitbowl", thingFruitBowl);
    r.add("fruitcrate", thingFruitCrate);
    r.add("loaf", thingLoaf);
    r.add("parasol", thingParasol);
    r.add("bench", thingBench);
    r.add("chair", thingChair);
    r.add("cafetable", thingCafeTable);
    r.add("pillarbox", thingPillarBox);
    r.add("bicycle", thingBicycle);
    r.add("lantern", thingLantern);
    r.add("figure", thingFigure);
    r.add("housecat", thingHouseCat);
    r.add("easel", thingEasel);
    r.add("palette", thingPalette);
    r.add("brushjar", thingBrushJar);
    r.add("books", thingBooks);
    r.add("clock", thingClock);
    r.add("frame", thingFrame);
    r.add("lamp", thingLamp);
    r.add("birdbath", thingBirdBath);
    r.add("beehive", thingBeehive);
    r.add("ladder", thingLadder);
    r.add("clogs", thingClogs);
    r.add("cheese", thingCheese);
    r.add("butterfly", thingButterfly);
    r.add("hedgehog", thingHedgehog);
}

}  // namespace assetgen
