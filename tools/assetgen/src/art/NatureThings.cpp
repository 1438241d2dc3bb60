// Objects of fields, gardens and mountains: birds, flowering plants, trees of the south and the
// north, harvest things and village structures.
#include <cmath>

#include "art/Art.h"
#include "art/SceneKit.h"
#include "art/ThingKit.h"
#include "core/Draw.h"

namespace assetgen {

using namespace kit;

namespace {

// A bird by kind: "pigeon" and "robin" sit, "stork" and "heron" stand on long legs, "goose" walks.
void thingBird(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    std::string kind = a.args.text("kind", "pigeon");
    bool wader = kind == "stork" || kind == "heron";
    bool magpie = kind == "magpie";
    if (!wader && !magpie && kind != "pigeon" && kind != "robin" && kind != "goose") {
        a.args.fail("kind must be pigeon, robin, magpie, stork, heron or goose");
    }
    Rgb body = a.args.color("color", kind == "stork" ? Rgb::hex(0xF4F0EA)
                                   : kind == "heron" ? Rgb::hex(0x9AA0A8)
                                   : kind == "goose" ? Rgb::hex(0xF2EEE6)
                                   : kind == "robin" ? Rgb::hex(0x7A6048)
                                   : magpie          ? Rgb::hex(0x1E2028)
                                                     : Rgb::hex(0x8A8E9A));
    Rgb beak = kind == "stork" ? Rgb::hex(0xD8402A) : kind == "goose" ? Rgb::hex(0xE8902A) : Rgb::hex(0x3A3030);
    cairo_save(cr);
    flipIf(cr, a.args.flag("flip", false), W);
    groundShadow(cr, W * 0.5, H - 3, W * 0.35, 3, a.look);
    double bodyY = wader ? H * 0.42 : H * 0.62, bodyRx = W * (wader ? 0.28 : 0.32), bodyRy = H * (wader ? 0.13 : 0.22);
    double bx = W * 0.48;
    if (wader) {
        Rgb leg = kind == "stork" ? Rgb::hex(0xD8502A) : Rgb::hex(0x6A6050);
        strokeLine(cr, bx - 3, bodyY + bodyRy * 0.6, bx - 5, H - 3, 1.8, a.look.tone(leg));
        strokeLine(cr, bx + 5, bodyY + bodyRy * 0.6, bx + 9, H - 3, 1.8, a.look.tone(leg));
    } else {
        strokeLine(cr, bx, bodyY + bodyRy * 0.8, bx - 2, H - 3, 1.5, a.look.tone(kind == "goose" ? beak : Rgb::hex(0xC86A5A)));
        strokeLine(cr, bx + 5, bodyY + bodyRy * 0.8, bx + 6, H - 3, 1.5, a.look.tone(Rgb::hex(0xC86A5A)));
    }
    // Tail to the right, body, neck and head to the left.
    polygon(cr, {{bx + bodyRx * 0.6, bodyY - bodyRy * 0.3}, {W * 0.98, bodyY + bodyRy * (wader ? 0.4 : 0.1)}, {bx + bodyRx * 0.5, bodyY + bodyRy * 0.6}});
    flat(cr, a.look, kind == "stork" ? Rgb::hex(0x2A2A2E) : darken(body, 0.25));
    if (magpie) {
        // The long, glossy tail.
        polygon(cr, {{bx + bodyRx * 0.5, bodyY - bodyRy * 0.2}, {W * 1.0, bodyY - bodyRy * 1.2}, {W * 1.0, bodyY - bodyRy * 0.6},
                     {bx + bodyRx * 0.6, bodyY + bodyRy * 0.4}});
        flat(cr, a.look, Rgb::hex(0x2A3A5A));
    }
    ellipsePath(cr, bx, bodyY, bodyRx, bodyRy);
    solid(cr, a.look, bx - bodyRx, bx + bodyRx, body, 0.8);
    if (kind == "stork") {
        ellipsePath(cr, bx + bodyRx * 0.3, bodyY + bodyRy * 0.2, bodyRx * 0.7, bodyRy * 0.6);
        flat(cr, a.look, Rgb::hex(0x2A2A2E));
    }
    double hx, hy, hr;
    if (wader || kind == "goose") {
        hx = W * 0.18;
        hy = wader ? H * 0.12 : H * 0.22;
        hr = W * 0.07;
        cairo_move_to(cr, bx - bodyRx * 0.7, bodyY - bodyRy * 0.2);
        cairo_curve_to(cr, W * 0.2, bodyY - bodyRy, W * 0.28, hy + (bodyY - hy) * 0.4, hx, hy);
        cairo_set_line_width(cr, W * 0.07);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        setColor(cr, a.look.tone(body));
        cairo_stroke(cr);
    } else {
        hx = bx - bodyRx * 0.75;
        hy = bodyY - bodyRy * 0.85;
        hr = W * 0.13;
    }
    ellipsePath(cr, hx, hy, hr, hr);
    solid(cr, a.look, hx - hr, hx + hr, kind == "pigeon" ? darken(body, 0.1) : body, 0.6);
    double beakLen = wader ? W * 0.2 : W * 0.1;
    polygon(cr, {{hx - hr * 0.6, hy - hr * 0.2}, {hx - hr * 0.6 - beakLen, hy + hr * 0.15}, {hx - hr * 0.5, hy + hr * 0.35}});
    flat(cr, a.look, beak);
    ellipsePath(cr, hx - hr * 0.2, hy - hr * 0.15, 1.4, 1.4);
    flat(cr, a.look, Rgb::hex(0x101010));
    if (magpie) {
        ellipsePath(cr, bx - bodyRx * 0.1, bodyY + bodyRy * 0.25, bodyRx * 0.55, bodyRy * 0.5);
        flat(cr, a.look, Rgb::hex(0xF4F4F0));
        ellipsePath(cr, bx + bodyRx * 0.2, bodyY - bodyRy * 0.3, bodyRx * 0.4, bodyRy * 0.25);
        flat(cr, a.look, Rgb::hex(0xF4F4F0));
    }
    if (kind == "robin") {
        ellipsePath(cr, bx - bodyRx * 0.55, bodyY - bodyRy * 0.1, bodyRx * 0.4, bodyRy * 0.55);
        flat(cr, a.look, Rgb::hex(0xD8582A));
    }
    if (kind == "pigeon") {
        ellipsePath(cr, hx + hr * 0.3, hy + hr * 1.1, hr * 0.8, hr * 0.5);
        flat(cr, a.look, Rgb::hex(0x6A8A7A), 0.7);
    }
    cairo_restore(cr);
}

// A flowering plant by kind: "rose" (a rounded bush), "tulip" (a clump of upright blooms),
// "lavender" (a tuft of spikes), "geranium" (a pot of red heads); "pot" plants it in a pot.
void thingFlowers(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    std::string kind = a.args.text("kind", "rose");
    std::vector<Rgb> cols = a.args.colors("colors");
    if (cols.empty()) cols = {Rgb::hex(0xD8344A), Rgb::hex(0xF07A8A)};
    Rgb leaf = a.args.color("leaf", Rgb::hex(0x3E6A30));
    bool pot = a.args.flag("pot", false);
    double ground = pot ? H * 0.7 : H - 3;
    Rng r = a.rng.fork("bloom");
    groundShadow(cr, W / 2, H - 3, W * 0.45, 4, a.look);
    if (kind == "rose") {
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 0; i < 14; ++i) {
                double px = W * r.range(0.15, 0.85), py = ground - (ground - H * 0.12) * r.range(0.15, 0.85);
                blobPath(cr, px, py, W * 0.16, H * 0.13, 0.25, r, 9);
                setColor(cr, pass == 0 ? a.look.dark(leaf, 0.3) : a.look.tone(leaf));
                cairo_fill(cr);
            }
        }
        for (int i = 0; i < 11; ++i) {
            double px = W * r.range(0.16, 0.84), py = ground - (ground - H * 0.1) * r.range(0.25, 0.95);
            double rr = std::min(W, H) * r.range(0.06, 0.09);
            Rgb c = cols[static_cast<std::size_t>(i) % cols.size()];
            ellipsePath(cr, px, py, rr, rr);
            fillRadial(cr, px - rr * 0.3, py - rr * 0.3, 0.5, rr * 1.2, {{0, a.look.lit(c, 0.3)}, {1, a.look.dark(c, 0.35)}});
            cairo_arc(cr, px, py, rr * 0.5, 0, 1.5 * M_PI);
            edge(cr, a.look.dark(c, 0.5), 0.8, 0.7);
        }
    } else if (kind == "tulip" || kind == "lavender") {
        int n = kind == "tulip" ? 7 : 16;
        for (int i = 0; i < n; ++i) {
            double bx = W * (0.15 + 0.7 * (i + 0.5) / n) + r.range(-3, 3);
            double top = H * r.range(0.08, 0.3);
            double lean = r.range(-6, 6);
            strokeLine(cr, W / 2 + (bx - W / 2) * 0.3, ground, bx + lean, top + 6, kind == "tulip" ? 2 : 1.2, a.look.tone(leaf));
            Rgb c = cols[static_cast<std::size_t>(i) % cols.size()];
            if (kind == "tulip") {
                ellipsePath(cr, bx + lean - 6, ground - H * 0.18, 4, H * 0.14);
                flat(cr, a.look, leaf);
                double tw = W * 0.06, th = H * 0.1;
                cairo_move_to(cr, bx + lean - tw, top);
                cairo_line_to(cr, bx + lean - tw * 0.4, top + th * 0.35);
                cairo_line_to(cr, bx + lean, top - 1);
                cairo_line_to(cr, bx + lean + tw * 0.4, top + th * 0.35);
                cairo_line_to(cr, bx + lean + tw, top);
                cairo_curve_to(cr, bx + lean + tw, top + th * 1.3, bx + lean - tw, top + th * 1.3, bx + lean - tw, top);
                cairo_close_path(cr);
                solid(cr, a.look, bx + lean - tw, bx + lean + tw, c, 0.6);
            } else {
                for (int k = 0; k < 6; ++k) {
                    ellipsePath(cr, bx + lean * (1 - k * 0.05), top + 6 + k * 4, 2.4, 2.8);
                    setColor(cr, a.look.lit(c, 0.05 * k));
                    cairo_fill(cr);
                }
            }
        }
    } else if (kind == "geranium") {
        for (int i = 0; i < 8; ++i) {
            blobPath(cr, W * r.range(0.2, 0.8), ground - H * r.range(0.05, 0.35), W * 0.16, H * 0.1, 0.3, r, 8);
            flat(cr, a.look, leaf);
        }
        for (int i = 0; i < 6; ++i) {
            double px = W * r.range(0.2, 0.8), py = ground - H * r.range(0.25, 0.55);
            for (int k = 0; k < 6; ++k) {
                ellipsePath(cr, px + r.range(-5, 5), py + r.range(-4, 4), 3.2, 3.2);
                flat(cr, a.look, cols[static_cast<std::size_t>(k) % cols.size()]);
            }
        }
    } else {
        a.args.fail("kind must be rose, tulip, lavender or geranium");
    }
    if (pot) {
        Rgb pc = a.args.color("potColor", Rgb::hex(0xB8643A));
        polygon(cr, {{W * 0.2, H * 0.68}, {W * 0.8, H * 0.68}, {W * 0.7, H - 3}, {W * 0.3, H - 3}});
        solid(cr, a.look, W * 0.2, W * 0.8, pc);
        cairo_rectangle(cr, W * 0.17, H * 0.66, W * 0.66, H * 0.06);
        solid(cr, a.look, W * 0.17, W * 0.83, lighten(pc, 0.1));
    }
}

// A conifer by kind: "pine" (tiers of branches), "poplar" and "cypress" (tall flames).
void thingConifer(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    std::string kind = a.args.text("kind", "pine");
    Rgb leaf = a.args.color("color", kind == "pine" ? Rgb::hex(0x2E5A3A) : Rgb::hex(0x3E6A34));
    Rgb trunk = Rgb::hex(0x4A3426);
    Rng r = a.rng.fork("needles");
    groundShadow(cr, W / 2, H - 3, W * 0.4, 4, a.look);
    cairo_rectangle(cr, W / 2 - W * 0.05, H * 0.82, W * 0.1, H * 0.18 - 3);
    flat(cr, a.look, trunk);
    if (kind == "pine") {
        for (int i = 0; i < 6; ++i) {
            double t = i / 5.0;
            double y = H * (0.04 + 0.14 * i), hw = W * (0.14 + 0.34 * t);
            polygon(cr, {{W / 2, y}, {W / 2 + hw, y + H * 0.22}, {W / 2 - hw, y + H * 0.22}});
            sideLit(cr, a.look, W / 2 - hw, W / 2 + hw, leaf);
        }
    } else if (kind == "poplar" || kind == "cypress") {
        double hw = W * (kind == "poplar" ? 0.4 : 0.3);
        for (int pass = 0; pass < 3; ++pass) {
            for (int i = 0; i < 14; ++i) {
                double t = r.unit();
                double y = H * (0.04 + 0.78 * t), w = hw * std::sin(M_PI * (0.15 + 0.85 * t)) * 0.9;
                blobPath(cr, W / 2 + r.range(-w, w) * 0.5, y, w * 0.7, H * 0.07, 0.3, r, 9);
                setColor(cr, pass == 0 ? a.look.dark(leaf, 0.35) : pass == 1 ? a.look.tone(leaf) : a.look.lit(leaf, 0.25));
                cairo_fill(cr);
            }
        }
    } else {
        a.args.fail("kind must be pine, poplar or cypress");
    }
}

// A fruit tree: the shared tree with fruit hung in its crown.
void thingFruitTree(ArtContext& a) {
    Rgb leaf = a.args.color("color", Rgb::hex(0x3E6A30)), fruit = a.args.color("fruit", Rgb::hex(0xF08A20));
    groundShadow(a.cr, a.w / 2, a.h - 5, a.w * 0.45, 5, a.look);
    Rng r = a.rng.fork("tree");
    tree(a.cr, a.w / 2, a.h - 4, a.h * 0.98, leaf, Rgb::hex(0x5A4030), a.look, r);
    double crownY = a.h - 4 - a.h * 0.98 * 0.62, crownR = a.h * 0.98 * 0.36;
    for (int i = 0; i < 16; ++i) {
        double ang = r.range(0, 2 * M_PI), d = crownR * std::sqrt(r.unit()) * 0.75;
        double fx = a.w / 2 + std::cos(ang) * d * 1.1, fy = crownY + std::sin(ang) * d * 0.8;
        double fr = std::max(2.5, crownR * 0.07);
        ellipsePath(a.cr, fx, fy, fr, fr);
        fillRadial(a.cr, fx - fr * 0.3, fy - fr * 0.3, 0.3, fr * 1.2, {{0, a.look.lit(fruit, 0.4)}, {1, a.look.dark(fruit, 0.3)}});
    }
}

// A sheaf of wheat tied at the waist, or "stook" for three leaning together.
void thingSheaf(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", Rgb::hex(0xF0D890));
    int n = a.args.flag("stook", false) ? 3 : 1;
    groundShadow(cr, W / 2, H - 3, W * 0.45, 4, a.look);
    Rng r = a.rng.fork("stalks");
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int s = 0; s < n; ++s) {
        double cx = n == 1 ? W / 2 : W * (0.3 + 0.2 * s), lean = n == 1 ? 0 : (s - 1) * W * 0.1;
        double waist = H * 0.5;
        for (int i = 0; i < 34; ++i) {
            double t = (i + 0.5) / 34.0 - 0.5;
            double bx = cx + t * W * (n == 1 ? 0.7 : 0.32), tx = cx + lean + t * W * (n == 1 ? 0.9 : 0.4);
            double ty = H * 0.1 + std::abs(t) * H * 0.18 + r.range(-3, 3);
            cairo_move_to(cr, bx, H - 3);
            cairo_curve_to(cr, cx + t * 6, waist + 8, cx + lean * 0.5 + t * 6, waist - 8, tx, ty);
            cairo_set_line_width(cr, 2.2);
            setColor(cr, a.look.dark(c, 0.45));
            cairo_stroke_preserve(cr);
            cairo_set_line_width(cr, 1.4);
            setColor(cr, shift(a.look.tone(c), r.range(-6, 6), 0, r.range(-0.1, 0.08)));
            cairo_stroke(cr);
            ellipsePath(cr, tx, ty - 3, 1.8, 4.5);
            setColor(cr, a.look.lit(c, 0.2));
            cairo_fill(cr);
        }
        cairo_rectangle(cr, cx - W * 0.08 + lean * 0.4, waist - 3, W * 0.16, 6);
        flat(cr, a.look, darken(c, 0.4));
    }
}

// A scythe leaning upright, blade at the top.
void thingScythe(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    cairo_save(cr);
    flipIf(cr, a.args.flag("flip", false), W);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    strokeLine(cr, W * 0.3, H - 3, W * 0.55, H * 0.08, 3.5, a.look.tone(Rgb::hex(0x9A7448)));
    strokeLine(cr, W * 0.4, H * 0.55, W * 0.55, H * 0.58, 3, a.look.tone(Rgb::hex(0x8A6438)));
    cairo_move_to(cr, W * 0.55, H * 0.08);
    cairo_curve_to(cr, W * 0.3, H * 0.02, W * 0.1, H * 0.08, W * 0.02, H * 0.22);
    cairo_curve_to(cr, W * 0.14, H * 0.14, W * 0.34, H * 0.1, W * 0.55, H * 0.14);
    cairo_close_path(cr);
    fillLinear(cr, 0, H * 0.02, 0, H * 0.22, {{0, a.look.lit(Rgb::hex(0xC8C8D0), 0.4)}, {1, a.look.dark(Rgb::hex(0x8A8A90), 0.3)}});
    cairo_restore(cr);
}

// A village well: a stone ring under a little roof, with its bucket on the windlass.
void thingWell(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb stone = a.args.color("color", Rgb::hex(0xB8B0A0)), wood = a.args.color("wood", Rgb::hex(0x7A5434));
    groundShadow(cr, W / 2, H - 3, W * 0.45, 4, a.look);
    strokeLine(cr, W * 0.2, H * 0.25, W * 0.2, H * 0.62, 3.5, a.look.tone(wood));
    strokeLine(cr, W * 0.8, H * 0.25, W * 0.8, H * 0.62, 3.5, a.look.dark(wood, 0.2));
    polygon(cr, {{W * 0.5, H * 0.04}, {W * 0.96, H * 0.28}, {W * 0.04, H * 0.28}});
    solid(cr, a.look, W * 0.04, W * 0.96, a.args.color("roof", Rgb::hex(0x8A4A2A)));
    strokeLine(cr, W * 0.2, H * 0.36, W * 0.8, H * 0.36, 2.5, a.look.dark(wood, 0.3));
    strokeLine(cr, W * 0.5, H * 0.36, W * 0.5, H * 0.46, 1, a.look.tone(Rgb::hex(0x3A3030)));
    cylinder(cr, W * 0.5, H * 0.46, H * 0.54, W * 0.06, 2, Rgb::hex(0x8A6A4A), a.look);
    cylinder(cr, W / 2, H * 0.6, H - 8, W * 0.42, H * 0.05, stone, a.look);
    for (int row = 0; row < 3; ++row) {
        double y = H * 0.66 + row * (H * 0.3 - 8) / 3;
        strokeLine(cr, W * 0.08, y, W * 0.92, y, 0.8, a.look.dark(stone, 0.4), 0.6);
    }
}

// A wooden Alpine chalet with a deep roof and flower boxes.
void thingChalet(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb wood = a.args.color("color", Rgb::hex(0x8A5A34)), plaster = a.args.color("plaster", Rgb::hex(0xF0E8D8));
    groundShadow(cr, W / 2, H - 3, W * 0.5, 4, a.look);
    cairo_rectangle(cr, W * 0.1, H * 0.62, W * 0.8, H * 0.38 - 3);
    solid(cr, a.look, W * 0.1, W * 0.9, plaster);
    cairo_rectangle(cr, W * 0.1, H * 0.32, W * 0.8, H * 0.3);
    solid(cr, a.look, W * 0.1, W * 0.9, wood);
    polygon(cr, {{W * 0.5, H * 0.04}, {W * 1.0, H * 0.36}, {W * 0.94, H * 0.38}, {W * 0.5, H * 0.12}, {W * 0.06, H * 0.38},
                 {W * 0.0, H * 0.36}});
    flat(cr, a.look, darken(wood, 0.35));
    polygon(cr, {{W * 0.5, H * 0.12}, {W * 0.9, H * 0.36}, {W * 0.1, H * 0.36}});
    flat(cr, a.look, wood);
    for (int i = 0; i < 3; ++i) {
        double wx = W * (0.18 + 0.24 * i);
        cairo_rectangle(cr, wx, H * 0.7, W * 0.14, H * 0.14);
        flat(cr, a.look, Rgb::hex(0x3A4A5A));
        cairo_rectangle(cr, wx - 2, H * 0.84, W * 0.14 + 4, H * 0.05);
        flat(cr, a.look, Rgb::hex(0xD83A3A));
        cairo_rectangle(cr, wx, H * 0.42, W * 0.14, H * 0.12);
        flat(cr, a.look, Rgb::hex(0x3A4A5A));
    }
}

// A haystack-like pile of firewood logs, ends showing.
void thingLogPile(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", Rgb::hex(0xC89A6A));
    groundShadow(cr, W / 2, H - 3, W * 0.5, 4, a.look);
    int rows = 3;
    double r = (H - 4) / (rows * 2.0);
    for (int row = 0; row < rows; ++row) {
        int n = static_cast<int>((W - row * r * 2) / (2 * r));
        for (int i = 0; i < n; ++i) {
            double x = row * r + r + i * 2 * r, y = H - 3 - r - row * r * 1.8;
            ellipsePath(cr, x, y, r * 0.95, r * 0.95);
            fillRadial(cr, x, y, 0.5, r, {{0, a.look.lit(c, 0.3)}, {0.8, a.look.tone(c)}, {1, a.look.dark(c, 0.6)}});
            cairo_arc(cr, x, y, r * 0.5, 0, 2 * M_PI);
            edge(cr, a.look.dark(c, 0.3), 0.6, 0.5);
        }
    }
}

// A cow bell on its leather strap (and the Alpine goat's cousin, the bell on a post).
void thingCowBell(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", Rgb::hex(0xC9943A));
    cairo_arc(cr, W / 2, H * 0.2, W * 0.3, M_PI, 2 * M_PI);
    cairo_set_line_width(cr, 5);
    setColor(cr, a.look.tone(Rgb::hex(0x7A3A2A)));
    cairo_stroke(cr);
    polygon(cr, {{W * 0.3, H * 0.22}, {W * 0.7, H * 0.22}, {W * 0.86, H * 0.86}, {W * 0.14, H * 0.86}});
    solid(cr, a.look, W * 0.14, W * 0.86, c);
    ellipsePath(cr, W / 2, H * 0.9, W * 0.1, H * 0.07);
    flat(cr, a.look, darken(c, 0.5));
}

}  // namespace

void registerNatureThingArt(ArtRegistry& r) {
    r.add("bird", thingBird);
    r.add("flowers", thingFlowers);
    r.add("conifer", thingConifer);
    r.add("fruittree", thingFruitTree);
    r.add("sheaf", thingSheaf);
    r.add("scythe", thingScythe);
    r.add("well", thingWell);
    r.add("chalet", thingChalet);
    r.add("logpile", thingLogPile);
    r.add("cowbell", thingCowBell);
}

}  // namespace assetgen
