// Objects of the concert hall: instruments, stands, the chandelier and the guitar of the plaza.
#include <cmath>

#include "art/Art.h"
#include "art/SceneKit.h"
#include "art/ThingKit.h"
#include "core/Draw.h"

namespace assetgen {

using namespace kit;

namespace {

// The figure-of-eight body shared by the violin family and the guitar, centred on (cx, cy).
void waistedBody(cairo_t* cr, double cx, double cy, double w, double h) {
    cairo_move_to(cr, cx, cy - h / 2);
    cairo_curve_to(cr, cx + w * 0.42, cy - h / 2, cx + w * 0.46, cy - h * 0.12, cx + w * 0.3, cy - h * 0.04);
    cairo_curve_to(cr, cx + w * 0.55, cy + h * 0.06, cx + w * 0.56, cy + h / 2, cx, cy + h / 2);
    cairo_curve_to(cr, cx - w * 0.56, cy + h / 2, cx - w * 0.55, cy + h * 0.06, cx - w * 0.3, cy - h * 0.04);
    cairo_curve_to(cr, cx - w * 0.46, cy - h * 0.12, cx - w * 0.42, cy - h / 2, cx, cy - h / 2);
    cairo_close_path(cr);
}

// A violin or, with "cello", a cello standing on its spike; "guitar" gives the round-holed guitar.
void thingStrings(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    std::string kind = a.args.text("kind", "violin");
    if (kind != "violin" && kind != "cello" && kind != "guitar") a.args.fail("kind must be violin, cello or guitar");
    Rgb wood = a.args.color("color", kind == "guitar" ? Rgb::hex(0xC88A4A) : Rgb::hex(0xA8542A));
    cairo_save(cr);
    cairo_translate(cr, W / 2, H / 2);
    cairo_rotate(cr, a.args.number("tilt", kind == "cello" ? 0.12 : 0.35));
    double L = H * 0.95, bw = std::min(W * 0.9, L * (kind == "guitar" ? 0.42 : 0.36)), bh = L * 0.56;
    double by = L / 2 - bh / 2 - (kind == "cello" ? L * 0.06 : 0);
    if (kind == "cello") strokeLine(cr, 0, by + bh / 2, 0, L / 2, 2, a.look.tone(Rgb::hex(0x5A5A60)));
    // Neck and head.
    cairo_rectangle(cr, -bw * 0.07, -L / 2 + L * 0.08, bw * 0.14, L * 0.42);
    flat(cr, a.look, Rgb::hex(0x2A1E18));
    if (kind == "guitar") {
        cairo_rectangle(cr, -bw * 0.12, -L / 2, bw * 0.24, L * 0.1);
        flat(cr, a.look, darken(wood, 0.4));
    } else {
        cairo_arc(cr, 0, -L / 2 + L * 0.05, bw * 0.09, 0, 2 * M_PI);
        flat(cr, a.look, darken(wood, 0.2));
    }
    waistedBody(cr, 0, by, bw, bh);
    fillRadial(cr, -bw * 0.15, by - bh * 0.2, 1, bh * 0.7, {{0, a.look.lit(wood, 0.35)}, {0.7, a.look.tone(wood)}, {1, a.look.dark(wood, 0.5)}}, true);
    edge(cr, a.look.dark(wood, 0.7), 1.0);
    if (kind == "guitar") {
        ellipsePath(cr, 0, by - bh * 0.08, bw * 0.14, bw * 0.14);
        flat(cr, a.look, Rgb::hex(0x1A1210));
    } else {
        for (int s = -1; s <= 1; s += 2) {
            cairo_move_to(cr, s * bw * 0.18, by - bh * 0.1);
            cairo_curve_to(cr, s * bw * 0.24, by, s * bw * 0.12, by + bh * 0.08, s * bw * 0.18, by + bh * 0.16);
            edge(cr, Rgb::hex(0x1A1210), 1.2, 0.9);
        }
        cairo_rectangle(cr, -bw * 0.08, -L / 2 + L * 0.1, bw * 0.16, L * 0.46);
        flat(cr, a.look, Rgb::hex(0x1A1210));
    }
    for (int s = -1; s <= 1; s += 2) {
        strokeLine(cr, s * bw * 0.03, -L / 2 + L * 0.08, s * bw * 0.04, by + bh * 0.3, 0.5, a.look.tone(Rgb::hex(0xE8E0C8)));
    }
    cairo_rectangle(cr, -bw * 0.14, by + bh * 0.1, bw * 0.28, 3);
    flat(cr, a.look, Rgb::hex(0xE8C890));
    cairo_restore(cr);
}

// A French horn: a coiled brass tube and its flared bell.
void thingHorn(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb brass = a.args.color("color", Rgb::hex(0xD8A840));
    double cx = W * 0.42, cy = H * 0.55, r = std::min(W, H) * 0.3;
    for (int i = 0; i < 3; ++i) {
        cairo_arc(cr, cx, cy, r - i * 5, 0, 2 * M_PI);
        cairo_set_line_width(cr, 3.2);
        setColor(cr, i == 1 ? a.look.lit(brass, 0.3) : a.look.tone(brass));
        cairo_stroke(cr);
    }
    cairo_move_to(cr, cx + r * 0.7, cy - r * 0.7);
    cairo_curve_to(cr, cx + r * 1.1, cy - r * 0.9, W * 0.86, H * 0.3, W * 0.94, H * 0.12);
    cairo_line_to(cr, W * 0.62, H * 0.1);
    cairo_curve_to(cr, W * 0.7, H * 0.2, cx + r * 0.9, cy - r * 0.8, cx + r * 0.6, cy - r * 0.6);
    cairo_close_path(cr);
    fillLinear(cr, W * 0.6, 0, W, 0, {{0, a.look.lit(brass, 0.4)}, {1, a.look.dark(brass, 0.3)}});
    ellipsePath(cr, W * 0.78, H * 0.11, W * 0.16, H * 0.05);
    flat(cr, a.look, darken(brass, 0.45));
    strokeLine(cr, cx - r, cy, cx - r - W * 0.1, cy + r * 0.6, 2.4, a.look.tone(brass));
}

// A kettledrum (timpano) on its stand.
void thingDrum(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb copper = a.args.color("color", Rgb::hex(0xC87A48));
    groundShadow(cr, W / 2, H - 3, W * 0.45, 4, a.look);
    for (double x : {W * 0.22, W * 0.78, W * 0.5}) strokeLine(cr, W / 2, H * 0.7, x, H - 3, 2.2, a.look.tone(Rgb::hex(0x3A3A3A)));
    cairo_move_to(cr, W * 0.06, H * 0.3);
    cairo_curve_to(cr, W * 0.08, H * 0.82, W * 0.92, H * 0.82, W * 0.94, H * 0.3);
    cairo_close_path(cr);
    sideLit(cr, a.look, W * 0.06, W * 0.94, copper);
    ellipsePath(cr, W / 2, H * 0.3, W * 0.44, H * 0.1);
    flat(cr, a.look, Rgb::hex(0xEEE6D4));
    ellipsePath(cr, W / 2, H * 0.3, W * 0.44, H * 0.1);
    edge(cr, a.look.dark(copper, 0.4), 2);
}

// A concert harp: the curved neck, the column and the strings.
void thingHarp(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb gilt = a.args.color("color", Rgb::hex(0xD0A040));
    groundShadow(cr, W / 2, H - 3, W * 0.45, 4, a.look);
    for (int i = 0; i < 14; ++i) {
        double t = (i + 0.5) / 14.0;
        double x = W * (0.2 + 0.6 * t), top = H * (0.12 + 0.16 * std::sin(M_PI * t)) + H * 0.05;
        double bottom = H * (0.9 - 0.72 * t);
        strokeLine(cr, x, top, x, std::max(bottom, top + 6), 0.6, a.look.tone(Rgb::hex(0xF4ECD8)), 0.9);
    }
    cairo_move_to(cr, W * 0.16, H * 0.1);
    cairo_curve_to(cr, W * 0.4, H * 0.0, W * 0.5, H * 0.3, W * 0.9, H * 0.12);
    cairo_set_line_width(cr, 5);
    setColor(cr, a.look.tone(gilt));
    cairo_stroke(cr);
    strokeLine(cr, W * 0.18, H * 0.08, W * 0.2, H - 4, 6, a.look.lit(gilt, 0.2));
    strokeLine(cr, W * 0.2, H * 0.92, W * 0.9, H * 0.12, 5, a.look.dark(gilt, 0.25));
    cairo_rectangle(cr, W * 0.1, H - 10, W * 0.3, 7);
    flat(cr, a.look, gilt);
}

// A music stand holding an open score.
void thingMusicStand(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb metal = a.args.color("color", Rgb::hex(0x2A2A2E));
    groundShadow(cr, W / 2, H - 3, W * 0.4, 3, a.look);
    strokeLine(cr, W / 2, H * 0.4, W / 2, H - 8, 2.2, a.look.tone(metal));
    for (double x : {W * 0.25, W * 0.75}) strokeLine(cr, W / 2, H - 12, x, H - 3, 1.8, a.look.tone(metal));
    polygon(cr, {{W * 0.08, H * 0.08}, {W * 0.92, H * 0.08}, {W * 0.88, H * 0.44}, {W * 0.12, H * 0.44}});
    flat(cr, a.look, metal);
    for (int p = 0; p < 2; ++p) {
        double x0 = W * (0.12 + 0.39 * p);
        polygon(cr, {{x0, H * 0.04}, {x0 + W * 0.37, H * 0.06}, {x0 + W * 0.37, H * 0.4}, {x0, H * 0.4}});
        flat(cr, a.look, Rgb::hex(0xF4EEDC));
        for (int l = 0; l < 4; ++l) {
            double y = H * (0.1 + 0.07 * l);
            strokeLine(cr, x0 + 3, y, x0 + W * 0.37 - 3, y, 0.6, a.look.tone(Rgb::hex(0x5A5050)));
            for (int n = 0; n < 4; ++n) {
                ellipsePath(cr, x0 + 6 + n * W * 0.08, y + (n % 2 ? -1.5 : 1.5), 1.6, 1.2);
                flat(cr, a.look, Rgb::hex(0x1A1010));
            }
        }
    }
}

// A grand piano seen from the side, lid raised.
void thingPiano(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", Rgb::hex(0x1E1A1C));
    groundShadow(cr, W / 2, H - 3, W * 0.5, 5, a.look);
    for (double x : {W * 0.12, W * 0.5, W * 0.86}) {
        cairo_rectangle(cr, x - 3, H * 0.62, 6, H * 0.38 - 3);
        flat(cr, a.look, c);
    }
    polygon(cr, {{W * 0.04, H * 0.5}, {W * 0.96, H * 0.5}, {W * 0.96, H * 0.64}, {W * 0.04, H * 0.64}});
    sideLit(cr, a.look, 0, W, c);
    polygon(cr, {{W * 0.1, H * 0.5}, {W * 0.9, H * 0.04}, {W * 0.94, H * 0.1}, {W * 0.3, H * 0.5}});
    fillLinear(cr, 0, 0, W, 0, {{0, a.look.lit(c, 0.3)}, {1, a.look.tone(c)}});
    strokeLine(cr, W * 0.5, H * 0.5, W * 0.58, H * 0.26, 1.5, a.look.tone(Rgb::hex(0x8A8A8A)));
    cairo_rectangle(cr, W * 0.02, H * 0.5, W * 0.14, H * 0.04);
    flat(cr, a.look, Rgb::hex(0xF4F0E8));
}

// A crystal chandelier hanging from its chain, candles lit.
void thingChandelier(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb gilt = a.args.color("color", Rgb::hex(0xD0A040));
    softEllipse(cr, W / 2, H * 0.6, W * 0.5, H * 0.36, Rgb::hex(0xFFE8B0), 0.4);
    strokeLine(cr, W / 2, 2, W / 2, H * 0.42, 2, a.look.tone(gilt));
    for (int i = 0; i < 5; ++i) {
        double t = (i - 2) / 2.0;
        double x = W / 2 + t * W * 0.38, y = H * 0.62 - std::abs(t) * H * 0.06;
        cairo_move_to(cr, W / 2, H * 0.48);
        cairo_curve_to(cr, W / 2 + t * W * 0.1, H * 0.74, x, H * 0.74, x, y);
        cairo_set_line_width(cr, 2);
        setColor(cr, a.look.tone(gilt));
        cairo_stroke(cr);
        cairo_rectangle(cr, x - 2, y - H * 0.12, 4, H * 0.12);
        flat(cr, a.look, Rgb::hex(0xF8F2E0));
        ellipsePath(cr, x, y - H * 0.15, 2.5, 4);
        flat(cr, a.look, Rgb::hex(0xFFD060));
        for (int d = 0; d < 2; ++d) {
            ellipsePath(cr, x + (d ? 3 : -3) * 0.5, H * 0.7 + d * 5, 1.8, 3);
            setColor(cr, Rgb::hex(0xE8F0FF), 0.9);
            cairo_fill(cr);
        }
    }
    ellipsePath(cr, W / 2, H * 0.5, W * 0.1, H * 0.06);
    flat(cr, a.look, gilt);
    ellipsePath(cr, W / 2, H * 0.82, W * 0.05, H * 0.06);
    setColor(cr, Rgb::hex(0xE8F0FF), 0.9);
    cairo_fill(cr);
}

// A metronome: a wooden pyramid with its swinging rod.
void thingMetronome(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb wood = a.args.color("color", Rgb::hex(0x6A3A22));
    groundShadow(cr, W / 2, H - 3, W * 0.4, 3, a.look);
    polygon(cr, {{W * 0.38, H * 0.06}, {W * 0.62, H * 0.06}, {W * 0.88, H - 3}, {W * 0.12, H - 3}});
    solid(cr, a.look, W * 0.12, W * 0.88, wood);
    polygon(cr, {{W * 0.42, H * 0.16}, {W * 0.58, H * 0.16}, {W * 0.7, H * 0.8}, {W * 0.3, H * 0.8}});
    flat(cr, a.look, Rgb::hex(0xE8DCC0));
    strokeLine(cr, W / 2, H * 0.78, W * 0.62, H * 0.12, 1.6, a.look.tone(Rgb::hex(0x8A8A8A)));
    cairo_rectangle(cr, W * 0.56, H * 0.34, 6, 5);
    flat(cr, a.look, Rgb::hex(0xC9A040));
}

}  // namespace

void registerMusicThingArt(ArtRegistry& r) {
    r.add("strings", thingStrings);
    r.add("horn", thingHorn);
    r.add("drum", thingDrum);
    r.add("harp", thingHarp);
    r.add("musicstand", thingMusicStand);
    r.add("piano", thingPiano);
    r.add("chandelier", thingChandelier);
    r.add("metronome", thingMetronome);
}

}  // namespace assetgen
