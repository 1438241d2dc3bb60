// Full-screen backgrounds: the studio wall behind the picture, the museum hall of the loading
// screen, the splash cards and the window icon.
#include <cmath>

#include "art/Art.h"
#include "art/Theme.h"
#include "core/Draw.h"
#include "core/Fonts.h"
#include "core/Image.h"

namespace assetgen {

using namespace theme;

namespace {

// One damask motif centred on the origin, about `s` px tall.
void damaskMotif(cairo_t* cr, double s) {
    for (int side = -1; side <= 1; side += 2) {
        cairo_move_to(cr, 0, -s * 0.5);
        cairo_curve_to(cr, side * s * 0.28, -s * 0.32, side * s * 0.1, -s * 0.1, side * s * 0.3, s * 0.02);
        cairo_curve_to(cr, side * s * 0.42, s * 0.12, side * s * 0.22, s * 0.3, 0, s * 0.5);
        cairo_curve_to(cr, side * s * 0.08, s * 0.25, side * s * 0.16, s * 0.08, 0, -s * 0.08);
        cairo_close_path(cr);
        ellipsePath(cr, side * s * 0.36, -s * 0.22, s * 0.06, s * 0.06);
        ellipsePath(cr, side * s * 0.24, s * 0.34, s * 0.05, s * 0.05);
    }
    ellipsePath(cr, 0, -s * 0.2, s * 0.07, s * 0.1);
}

void damaskWall(cairo_t* cr, double W, double H, const Rgb& base, double cell, double contrast) {
    cairo_rectangle(cr, 0, 0, W, H);
    setColor(cr, base);
    cairo_fill(cr);
    for (int row = -1; row * cell * 0.6 < H + cell; ++row) {
        for (int col = -1; col * cell < W + cell; ++col) {
            double x = col * cell + (row % 2 ? cell / 2 : 0), y = row * cell * 0.6;
            cairo_save(cr);
            cairo_translate(cr, x, y);
            damaskMotif(cr, cell * 0.55);
            setColor(cr, lighten(base, contrast), 0.55);
            cairo_fill(cr);
            cairo_restore(cr);
        }
    }
}

void artStudioWall(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb base = a.args.color("color", Rgb::hex(0x233B3A));
    damaskWall(cr, W, H, base, a.args.number("cell", 96), 0.07);
    // A warm pool of light behind the picture and a darker rim.
    cairo_rectangle(cr, 0, 0, W, H);
    fillRadial(cr, W / 2, H * 0.45, H * 0.1, W * 0.75,
               {{0, Rgb::hex(0xFFE2A8), 0.28}, {0.5, Rgb::hex(0xFFE2A8), 0.08}, {1, {0, 0, 0}, 0.55}});
    // Wainscot rail along the bottom; `rail` lifts it, as a ledge for what rolls along the wall.
    double ry = H * a.args.number("rail", 0.9);
    cairo_rectangle(cr, 0, ry, W, H - ry);
    fillLinear(cr, 0, ry, 0, H, {{0, kWalnutLight}, {0.15, kWalnut}, {1, kWalnutDark}});
    strokeLine(cr, 0, ry, W, ry, 4, kGold, 0.8);
    strokeLine(cr, 0, ry + 4, W, ry + 4, 1.5, darken(kWalnutDark, 0.4), 0.8);
}

// A little framed landscape for the walls of the hall.
void miniPainting(cairo_t* cr, double x, double y, double w, double h, Rng& rng) {
    double f = std::max(5.0, w * 0.08);
    cairo_rectangle(cr, x - f, y - f, w + 2 * f, h + 2 * f);
    fillLinear(cr, x - f, y - f, x + w, y + h, {{0, kGoldLight}, {0.5, kGold}, {1, kGoldDark}});
    Rgb sky = fromHsl({rng.range(180, 230), 0.45, rng.range(0.55, 0.75)});
    Rgb land = fromHsl({rng.range(60, 130), 0.35, rng.range(0.3, 0.45)});
    cairo_rectangle(cr, x, y, w, h);
    fillLinear(cr, 0, y, 0, y + h, {{0, sky}, {0.55, lighten(sky, 0.3)}, {0.56, land}, {1, darken(land, 0.3)}});
    double hy = y + h * rng.range(0.45, 0.6);
    cairo_move_to(cr, x, hy);
    for (int i = 0; i <= 6; ++i) cairo_line_to(cr, x + w * i / 6.0, hy - rng.range(0, h * 0.25));
    cairo_line_to(cr, x + w, y + h);
    cairo_line_to(cr, x, y + h);
    cairo_close_path(cr);
    setColor(cr, mix(land, sky, 0.35));
    cairo_fill(cr);
    ellipsePath(cr, x + w * rng.range(0.2, 0.8), y + h * 0.25, w * 0.06, w * 0.06);
    setColor(cr, Rgb::hex(0xFFF0C0), 0.85);
    cairo_fill(cr);
}

void artMuseumHall(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    double vx = W / 2, vy = H * 0.46;  // vanishing point
    // Back wall and side walls.
    cairo_rectangle(cr, 0, 0, W, H);
    setColor(cr, Rgb::hex(0x6E2E32));
    cairo_fill(cr);
    double bw = W * 0.34, bh = H * 0.42;
    double bx = vx - bw / 2, by = vy - bh * 0.62;
    for (int side = -1; side <= 1; side += 2) {
        double ex = side < 0 ? 0 : W;
        double nx = side < 0 ? bx : bx + bw;
        polygon(cr, {{ex, 0}, {nx, by}, {nx, by + bh}, {ex, H * 0.86}});
        fillLinear(cr, ex, 0, nx, 0, {{0, Rgb::hex(0x4A1C20)}, {1, Rgb::hex(0x7A3438)}});
    }
    cairo_rectangle(cr, bx, by, bw, bh);
    setColor(cr, Rgb::hex(0x8A4044));
    cairo_fill(cr);
    // Ceiling with a skylight.
    polygon(cr, {{0, 0}, {W, 0}, {bx + bw, by}, {bx, by}});
    fillLinear(cr, 0, 0, 0, by, {{0, Rgb::hex(0xE8DCC4)}, {1, Rgb::hex(0xBFAE90)}});
    polygon(cr, {{W * 0.3, 0}, {W * 0.7, 0}, {vx + bw * 0.25, by}, {vx - bw * 0.25, by}});
    fillLinear(cr, 0, 0, 0, by, {{0, Rgb::hex(0xFFFFF4)}, {1, Rgb::hex(0xDDE8F0)}});
    for (int i = 1; i < 6; ++i) {
        double t = i / 6.0;
        strokeLine(cr, W * 0.3 + t * W * 0.4, 0, vx - bw * 0.25 + t * bw * 0.5, by, 2, Rgb::hex(0x8A7A60), 0.6);
    }
    // Parquet floor.
    polygon(cr, {{0, H * 0.86}, {bx, by + bh}, {bx + bw, by + bh}, {W, H * 0.86}, {W, H}, {0, H}});
    fillLinear(cr, 0, by + bh, 0, H, {{0, Rgb::hex(0x8A5A30)}, {1, Rgb::hex(0x5A3418)}});
    for (int i = -12; i <= 12; ++i) {
        double fx = vx + i * W * 0.1;
        strokeLine(cr, vx + i * bw / 12.0 * 0.5, by + bh, fx, H, 1.2, Rgb::hex(0x3E2410), 0.5);
    }
    for (int j = 1; j < 9; ++j) {
        double t = std::pow(j / 9.0, 1.8);
        double yy = by + bh + (H - by - bh) * t;
        strokeLine(cr, 0, yy, W, yy, 1, Rgb::hex(0x3E2410), 0.35);
    }
    // A runner carpet down the middle.
    polygon(cr, {{vx - bw * 0.12, by + bh}, {vx + bw * 0.12, by + bh}, {vx + W * 0.2, H}, {vx - W * 0.2, H}});
    fillLinear(cr, 0, by + bh, 0, H, {{0, Rgb::hex(0x5A1A22)}, {1, Rgb::hex(0x8A2A34)}});
    // Paintings on the back and side walls.
    Rng rng = a.rng.fork("hall");
    miniPainting(cr, bx + bw * 0.12, by + bh * 0.2, bw * 0.32, bh * 0.38, rng);
    miniPainting(cr, bx + bw * 0.56, by + bh * 0.2, bw * 0.32, bh * 0.38, rng);
    for (int side = -1; side <= 1; side += 2) {
        for (int i = 0; i < 2; ++i) {
            double t0 = 0.12 + i * 0.45, t1 = t0 + 0.3;
            double ex = side < 0 ? 0 : W, nx = side < 0 ? bx : bx + bw;
            auto lerp = [&](double t, double y0, double y1) { return Pt{ex + (nx - ex) * t, y0 + (y1 - y0) * t}; };
            Pt p0 = lerp(t0, H * 0.22, by + bh * 0.2), p1 = lerp(t1, H * 0.22, by + bh * 0.2);
            Pt q0 = lerp(t0, H * 0.55, by + bh * 0.62), q1 = lerp(t1, H * 0.55, by + bh * 0.62);
            polygon(cr, {p0, p1, q1, q0});
            fillLinear(cr, p0.x, p0.y, q1.x, q1.y, {{0, kGoldLight}, {1, kGoldDark}});
            double k = 0.12;
            Pt a0{p0.x + (p1.x - p0.x) * k, p0.y + (q0.y - p0.y) * k + (p1.y - p0.y) * k};
            Pt a1{p1.x - (p1.x - p0.x) * k, p1.y + (q1.y - p1.y) * k - (p1.y - p0.y) * k};
            Pt b1{q1.x - (q1.x - q0.x) * k, q1.y - (q1.y - p1.y) * k - (q1.y - q0.y) * k};
            Pt b0{q0.x + (q1.x - q0.x) * k, q0.y - (q0.y - p0.y) * k + (q1.y - q0.y) * k};
            polygon(cr, {a0, a1, b1, b0});
            Rgb sky = fromHsl({rng.range(20, 220), 0.4, rng.range(0.45, 0.7)});
            fillLinear(cr, 0, a0.y, 0, b0.y, {{0, sky}, {1, darken(sky, 0.4)}});
        }
    }
    // Soft light and vignette.
    cairo_rectangle(cr, 0, 0, W, H);
    fillRadial(cr, vx, vy, H * 0.05, W * 0.7, {{0, Rgb::hex(0xFFF4D8), 0.25}, {0.6, {0, 0, 0}, 0.0}, {1, {0, 0, 0}, 0.5}});
}

// The studio card: the owl on a dark velvet ground with the studio's name.
void artStudioCard(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    cairo_rectangle(cr, 0, 0, W, H);
    fillRadial(cr, W / 2, H * 0.42, 10, W * 0.7, {{0, Rgb::hex(0x2C4A48)}, {1, Rgb::hex(0x0C1414)}});
    std::string name = a.args.text("text", "Orvel Studio");
    Fonts::textPath(cr, name, FontKind::SerifBold, 64, W / 2, H * 0.8, 0.5);
    fillLinear(cr, 0, H * 0.72, 0, H * 0.8, {{0, kGoldLight}, {1, kGold}}, true);
    cairo_set_line_width(cr, 1.5);
    setColor(cr, kGoldDark);
    cairo_stroke(cr);
    Fonts::textPath(cr, a.args.text("subtitle", "presents"), FontKind::Serif, 26, W / 2, H * 0.86, 0.5);
    setColor(cr, kParchment, 0.8);
    cairo_fill(cr);
}

void artTitleCard(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    damaskWall(cr, W, H, Rgb::hex(0x3A1E22), 110, 0.06);
    cairo_rectangle(cr, 0, 0, W, H);
    fillRadial(cr, W / 2, H * 0.45, 20, W * 0.7, {{0, Rgb::hex(0xFFE0A0), 0.3}, {1, {0, 0, 0}, 0.65}});
    std::string title = a.args.text("text", "Kestrova");
    Fonts::textPath(cr, title, FontKind::SerifBold, 150, W / 2 + 5, H * 0.5 + 7, 0.5);
    setColor(cr, {0, 0, 0}, 0.5);
    cairo_fill(cr);
    Fonts::textPath(cr, title, FontKind::SerifBold, 150, W / 2, H * 0.5, 0.5);
    fillLinear(cr, 0, H * 0.36, 0, H * 0.5, {{0, Rgb::hex(0xFFF6CC)}, {0.55, kGold}, {1, kGoldDark}}, true);
    cairo_set_line_width(cr, 3);
    setColor(cr, Rgb::hex(0x3B2408));
    cairo_stroke(cr);
    double tw = Fonts::textWidth(title, FontKind::SerifBold, 150);
    strokeLine(cr, W / 2 - tw / 2, H * 0.55, W / 2 + tw / 2, H * 0.55, 4, kGold, 0.9);
    Fonts::textPath(cr, a.args.text("subtitle", "The Restorer's Museum"), FontKind::Serif, 40, W / 2, H * 0.64, 0.5);
    setColor(cr, kParchment);
    cairo_fill(cr);
}

void artAppIcon(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    roundedRect(cr, 8, 8, W - 16, H - 16, W * 0.18);
    fillLinear(cr, 0, 0, W, H, {{0, kGoldLight}, {0.5, kGold}, {1, kGoldDark}});
    roundedRect(cr, 22, 22, W - 44, H - 44, W * 0.12);
    fillRadial(cr, W * 0.4, H * 0.35, 4, W * 0.7, {{0, Rgb::hex(0x3C7A72)}, {1, Rgb::hex(0x12302E)}});
    Fonts::textPath(cr, "K", FontKind::SerifBold, H * 0.62, W / 2, H * 0.72, 0.5);
    fillLinear(cr, 0, H * 0.25, 0, H * 0.72, {{0, Rgb::hex(0xFFF4C4)}, {1, kGold}}, true);
    cairo_set_line_width(cr, 4);
    setColor(cr, Rgb::hex(0x3B2408));
    cairo_stroke(cr);
}

}  // namespace

void registerBackdropArt(ArtRegistry& r) {
    r.add("studio_wall", artStudioWall);
    r.add("museum_hall", artMuseumHall);
    r.add("studio_card", artStudioCard);
    r.add("title_card", artTitleCard);
    r.add("app_icon", artAppIcon);
}

}  // namespace assetgen
