// Art of the five minigames: the safe door and its parts, tiles, the conveyor's belt, gun and
// pointing hand, the drop catcher's cart and splashes, the colour board, its pots and smears.
#include <algorithm>
#include <cmath>

#include "art/Art.h"
#include "art/SceneKit.h"
#include "art/Theme.h"
#include "art/ThingKit.h"
#include "core/Draw.h"

namespace assetgen {

using namespace theme;

namespace {

Rgb steel(double t) { return mix(Rgb::hex(0x4A5058), Rgb::hex(0xC8CED6), t); }

void rivet(cairo_t* cr, double x, double y, double r) {
    ellipsePath(cr, x, y, r, r);
    fillRadial(cr, x - r * 0.3, y - r * 0.3, 0, r * 1.2, {{0, steel(1)}, {1, steel(0.1)}});
}

// --- the safe ---------------------------------------------------------------------------------

// The safe's door face with its 7 x 5 slots. Slot (c, r) is centred at
// (68 + 104c, 488 - 104r) of a 760 x 560 face, row 0 at the bottom.
void artSafeDoor(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h, sx = W / 760, sy = H / 560;
    roundedRect(cr, 2, 2, W - 4, H - 4, 18);
    fillLinear(cr, 0, 0, W, H, {{0, steel(0.7)}, {0.5, steel(0.45)}, {1, steel(0.25)}});
    roundedRect(cr, 8, 8, W - 16, H - 16, 14);
    cairo_set_line_width(cr, 3);
    setColor(cr, steel(0.9), 0.7);
    cairo_stroke(cr);
    for (double x : {14.0, W - 14}) {
        for (double y : {14.0, H - 14}) rivet(cr, x, y, 5);
    }
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 7; ++c) {
            double cx = (68 + 104 * c) * sx, cy = (488 - 104 * r) * sy;
            roundedRect(cr, cx - 48 * sx, cy - 48 * sy, 96 * sx, 96 * sy, 10);
            fillLinear(cr, 0, cy - 48 * sy, 0, cy + 48 * sy, {{0, steel(0.1)}, {1, steel(0.35)}});
            roundedRect(cr, cx - 48 * sx, cy - 48 * sy, 96 * sx, 96 * sy, 10);
            cairo_set_line_width(cr, 2);
            setColor(cr, steel(0.85), 0.6);
            cairo_stroke(cr);
        }
    }
}

// The door handle: a bar on two mounts, 243 x 100.
void artSafeHandle(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    for (double x : {W * 0.18, W * 0.82}) {
        ellipsePath(cr, x, H * 0.5, H * 0.3, H * 0.3);
        fillRadial(cr, x - 4, H * 0.42, 1, H * 0.34, {{0, steel(1)}, {1, steel(0.2)}});
    }
    roundedRect(cr, W * 0.12, H * 0.36, W * 0.76, H * 0.28, H * 0.14);
    fillLinear(cr, 0, H * 0.36, 0, H * 0.64, {{0, kGoldLight}, {0.5, kGold}, {1, kGoldDark}});
}

// A bolt (pintle) that slides out of the door's edge.
void artPintle(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    roundedRect(cr, 1, 2, W - 2, H - 4, (H - 4) / 2);
    fillLinear(cr, 0, 2, 0, H - 2, {{0, steel(1)}, {0.5, steel(0.55)}, {1, steel(0.15)}});
    cairo_rectangle(cr, W * 0.7, 2, 4, H - 4);
    setColor(cr, steel(0.1), 0.6);
    cairo_fill(cr);
}

// The closed door's hinge: a leaf with its three barrels.
void artHinge(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    double leaf = W * 0.6;
    cairo_rectangle(cr, W * 0.5 - leaf / 2, H * 0.08, leaf, H * 0.84);
    fillLinear(cr, 0, 0, W, 0, {{0, steel(0.3)}, {0.5, steel(0.8)}, {1, steel(0.3)}});
    for (int i = 0; i < 3; ++i) {
        double y = H * (0.12 + 0.3 * i);
        roundedRect(cr, W * 0.3, y, W * 0.4, H * 0.16, W * 0.2);
        fillLinear(cr, W * 0.3, 0, W * 0.7, 0, {{0, steel(0.95)}, {1, steel(0.2)}});
    }
    for (int i = 0; i < 4; ++i) rivet(cr, W / 2, H * (0.16 + 0.23 * i), 3);
}

// The safe's door swung open towards the viewer: its inside face in perspective, hinged at `hingeX`
// from `hingeTop` to `hingeBottom` (where the closed door's edge stood), its free edge nearer and so
// taller, with the bolt bar that drives the five rows' bolts, drawn back, and the hinge barrels.
void artSafeDoorOpen(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    double hx = a.args.number("hingeX", W * 0.12);
    double ht = a.args.number("hingeTop", H * 0.03), hb = a.args.number("hingeBottom", H * 0.95);
    double fx = W - 18, ft = 3, fb = H - 3;  // the free edge of the inside face
    double ex = W - 5;                       // the door's thickness shows beyond it
    // A point of the face: `k` of the way from the hinge to the free edge, `t` from top to bottom.
    auto at = [&](double k, double t) {
        double x = hx + (fx - hx) * k;
        double top = ht + (ft - ht) * k, bottom = hb + (fb - hb) * k;
        return Pt{x, top + (bottom - top) * t};
    };
    // The shadow the door throws on what lies behind it.
    polygon(cr, {{hx, ht + 12}, {fx + 12, ft + 16}, {fx + 12, fb}, {hx, hb + 6}});
    setColor(cr, {0, 0, 0}, 0.22);
    cairo_fill(cr);
    polygon(cr, {{fx, ft}, {ex, ft + 4}, {ex, fb - 4}, {fx, fb}});
    fillLinear(cr, fx, 0, ex, 0, {{0, steel(0.6)}, {1, steel(0.2)}});
    polygon(cr, {{hx, ht}, {fx, ft}, {fx, fb}, {hx, hb}});
    fillLinear(cr, hx, 0, fx, 0, {{0, steel(0.2)}, {0.55, steel(0.5)}, {1, steel(0.72)}}, true);
    cairo_set_line_width(cr, 2);
    setColor(cr, steel(0.05), 0.8);
    cairo_stroke(cr);
    // The recessed cover of the lock work, with a rivet at each corner.
    Pt c0 = at(0.14, 0.05), c1 = at(0.8, 0.05), c2 = at(0.8, 0.95), c3 = at(0.14, 0.95);
    polygon(cr, {c0, c1, c2, c3});
    fillLinear(cr, c0.x, 0, c1.x, 0, {{0, steel(0.15)}, {1, steel(0.45)}}, true);
    cairo_set_line_width(cr, 1.5);
    setColor(cr, steel(0.9), 0.5);
    cairo_stroke(cr);
    for (const Pt& p : {at(0.2, 0.08), at(0.74, 0.08), at(0.74, 0.92), at(0.2, 0.92)}) rivet(cr, p.x, p.y, 3);
    // The bolt bar and the five bolts it has drawn back, one per row of tiles (row 0 at the bottom of
    // the 90 px nameplate and the 560 px face, rows 104 px apart).
    Pt b0 = at(0.86, 0.12), b1 = at(0.86, 0.93);
    roundedRect(cr, b0.x - 4, b0.y, 8, b1.y - b0.y, 4);
    fillLinear(cr, b0.x - 4, 0, b0.x + 4, 0, {{0, steel(0.95)}, {1, steel(0.3)}});
    for (int r = 0; r < 5; ++r) {
        double t = (578.0 - 104.0 * r) / 650.0;
        Pt p = at(0.86, t), q = at(1.0, t);
        double hgt = 14 * (1.0 + 0.12 * (q.x - hx) / (fx - hx));
        roundedRect(cr, p.x - 6, p.y - hgt / 2, q.x - p.x + 2, hgt, hgt / 2);
        fillLinear(cr, 0, p.y - hgt / 2, 0, p.y + hgt / 2, {{0, steel(1)}, {0.5, steel(0.6)}, {1, steel(0.2)}});
    }
    // The hinge barrels on the hinge edge.
    for (double t : {0.18, 0.5, 0.82}) {
        Pt p = at(0.0, t);
        roundedRect(cr, p.x - 8, p.y - 34, 16, 68, 8);
        fillLinear(cr, p.x - 8, 0, p.x + 8, 0, {{0, steel(0.95)}, {1, steel(0.2)}});
    }
}

// A tile of the pair game: a brass plate with symbol 0 (crown), 1 (key) or 2 (star).
void artTile(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    int symbol = a.args.integer("symbol", 0);
    const unsigned faces[] = {0x7B2331, 0x2E6B66, 0x35557E};
    if (symbol < 0 || symbol > 2) a.args.fail("symbol must be 0, 1 or 2");
    roundedRect(cr, 3, 3, W - 6, H - 6, 12);
    fillLinear(cr, 0, 0, W, H, {{0, kGoldLight}, {0.5, kGold}, {1, kGoldDark}});
    roundedRect(cr, 9, 9, W - 18, H - 18, 8);
    Rgb face = Rgb::hex(faces[symbol]);
    fillRadial(cr, W * 0.4, H * 0.35, 2, W * 0.6, {{0, lighten(face, 0.3)}, {1, darken(face, 0.3)}});
    double cx = W / 2, cy = H / 2, s = W * 0.3;
    setColor(cr, kCream);
    if (symbol == 0) {
        polygon(cr, {{cx - s, cy + s * 0.6}, {cx - s, cy - s * 0.4}, {cx - s * 0.5, cy + s * 0.05}, {cx, cy - s * 0.7},
                     {cx + s * 0.5, cy + s * 0.05}, {cx + s, cy - s * 0.4}, {cx + s, cy + s * 0.6}});
        cairo_fill(cr);
    } else if (symbol == 1) {
        cairo_arc(cr, cx - s * 0.45, cy, s * 0.42, 0, 2 * M_PI);
        cairo_set_line_width(cr, s * 0.2);
        cairo_stroke(cr);
        cairo_rectangle(cr, cx - s * 0.05, cy - s * 0.1, s * 1.05, s * 0.2);
        cairo_rectangle(cr, cx + s * 0.65, cy + s * 0.1, s * 0.18, s * 0.3);
        cairo_fill(cr);
    } else {
        for (int i = 0; i < 10; ++i) {
            double ang = -M_PI / 2 + i * M_PI / 5, rad = i % 2 ? s * 0.42 : s;
            if (i == 0) cairo_move_to(cr, cx + std::cos(ang) * rad, cy + std::sin(ang) * rad);
            else cairo_line_to(cr, cx + std::cos(ang) * rad, cy + std::sin(ang) * rad);
        }
        cairo_close_path(cr);
        cairo_fill(cr);
    }
}

// The glowing ring round a chosen tile.
void artTileSelection(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    for (int i = 0; i < 4; ++i) {
        roundedRect(cr, 2 + i * 1.5, 2 + i * 1.5, W - 4 - 3 * i, H - 4 - 3 * i, 14);
        cairo_set_line_width(cr, 3);
        setColor(cr, Rgb::hex(0xFFF0A0), 0.9 - 0.2 * i);
        cairo_stroke(cr);
    }
}

// --- the conveyor ---------------------------------------------------------------------------

// One period of the conveyor belt: rubber with a cross rib, edges and rollers. The pattern
// repeats exactly every width, so copies laid side by side join seamlessly.
void artBelt(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    cairo_rectangle(cr, 0, H * 0.12, W, H * 0.76);
    fillLinear(cr, 0, H * 0.12, 0, H * 0.88, {{0, Rgb::hex(0x4A4440)}, {0.5, Rgb::hex(0x3A3430)}, {1, Rgb::hex(0x2A2420)}});
    cairo_rectangle(cr, W * 0.42, H * 0.14, W * 0.16, H * 0.72);
    setColor(cr, Rgb::hex(0x5A5450), 0.8);
    cairo_fill(cr);
    for (double y : {0.0, H * 0.88}) {
        cairo_rectangle(cr, 0, y, W, H * 0.12);
        fillLinear(cr, 0, y, 0, y + H * 0.12, {{0, steel(0.9)}, {1, steel(0.3)}});
    }
    for (double y : {H * 0.06, H * 0.94}) rivet(cr, W / 2, y, 4);
}

// The reagent gun that marks the items on the belt.
void artSprayGun(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    roundedRect(cr, W * 0.1, H * 0.3, W * 0.62, H * 0.26, H * 0.1);
    fillLinear(cr, 0, H * 0.3, 0, H * 0.56, {{0, kGoldLight}, {0.5, kGold}, {1, kGoldDark}});
    polygon(cr, {{W * 0.72, H * 0.36}, {W * 0.94, H * 0.4}, {W * 0.94, H * 0.46}, {W * 0.72, H * 0.5}});
    setColor(cr, steel(0.5));
    cairo_fill(cr);
    polygon(cr, {{W * 0.22, H * 0.56}, {W * 0.42, H * 0.56}, {W * 0.36, H * 0.92}, {W * 0.18, H * 0.92}});
    fillLinear(cr, W * 0.18, 0, W * 0.42, 0, {{0, kWalnutLight}, {1, kWalnutDark}});
    ellipsePath(cr, W * 0.42, H * 0.2, W * 0.16, H * 0.14);
    fillRadial(cr, W * 0.38, H * 0.16, 1, W * 0.18, {{0, lighten(kReagent, 0.4)}, {1, darken(kReagent, 0.3)}});
    strokeLine(cr, W * 0.42, H * 0.3, W * 0.42, H * 0.34, 4, steel(0.4));
}

// The gun's tray: a plate with three colour wells.
void artGunPalette(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    roundedRect(cr, 4, H * 0.2, W - 8, H * 0.62, H * 0.2);
    fillLinear(cr, 0, H * 0.2, 0, H * 0.82, {{0, kWalnutLight}, {1, kWalnutDark}});
    const unsigned wells[] = {0x4FC7B5, 0xE8C040, 0xD8503A};
    for (int i = 0; i < 3; ++i) {
        ellipsePath(cr, W * (0.24 + 0.26 * i), H * 0.5, W * 0.1, H * 0.18);
        fillRadial(cr, W * (0.22 + 0.26 * i), H * 0.44, 1, W * 0.12, {{0, lighten(Rgb::hex(wells[i]), 0.4)}, {1, Rgb::hex(wells[i])}});
    }
}

// A pointing hand (the demonstration's finger), fingertip at the top.
void artFinger(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb skin = Rgb::hex(0xF4CCA8);
    roundedRect(cr, W * 0.38, H * 0.04, W * 0.22, H * 0.5, W * 0.11);
    setColor(cr, skin);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 2);
    setColor(cr, Rgb::hex(0x8A5A3A));
    cairo_stroke(cr);
    roundedRect(cr, W * 0.2, H * 0.42, W * 0.62, H * 0.4, W * 0.18);
    setColor(cr, skin);
    cairo_fill_preserve(cr);
    setColor(cr, Rgb::hex(0x8A5A3A));
    cairo_stroke(cr);
    for (int i = 0; i < 3; ++i) strokeLine(cr, W * (0.4 + 0.12 * i), H * 0.5, W * (0.4 + 0.12 * i), H * 0.62, 1.5, Rgb::hex(0x8A5A3A), 0.7);
    cairo_rectangle(cr, W * 0.24, H * 0.8, W * 0.54, H * 0.18);
    setColor(cr, kTeal);
    cairo_fill(cr);
}

// --- the drop catcher ------------------------------------------------------------------------

// The cart's front (drawn over the drops) or its back (the catch zone).
void artCart(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    bool back = a.args.flag("back", false);
    if (back) {
        roundedRect(cr, 4, 4, W - 8, H - 8, 10);
        fillLinear(cr, 0, 0, 0, H, {{0, kWalnutDark}, {1, darken(kWalnutDark, 0.3)}});
        ellipsePath(cr, W / 2, H * 0.3, W * 0.42, H * 0.18);
        setColor(cr, kReagent, 0.6);
        cairo_fill(cr);
        return;
    }
    polygon(cr, {{4, H * 0.1}, {W - 4, H * 0.1}, {W * 0.9, H * 0.72}, {W * 0.1, H * 0.72}});
    fillLinear(cr, 0, H * 0.1, 0, H * 0.72, {{0, kWalnutLight}, {1, kWalnut}});
    for (int i = 1; i < 4; ++i) strokeLine(cr, 10, H * (0.1 + 0.15 * i), W - 10, H * (0.1 + 0.15 * i), 2, kWalnutDark, 0.6);
    cairo_rectangle(cr, 2, H * 0.06, W - 4, H * 0.1);
    fillLinear(cr, 0, H * 0.06, 0, H * 0.16, {{0, kGoldLight}, {1, kGoldDark}});
    for (double x : {W * 0.24, W * 0.76}) {
        ellipsePath(cr, x, H * 0.8, H * 0.17, H * 0.17);
        fillRadial(cr, x - 3, H * 0.76, 1, H * 0.2, {{0, steel(0.9)}, {1, steel(0.1)}});
    }
}

// A splash where a missed drop lands.
void artSplat(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", kReagent);
    Rng r = a.rng.fork("splat");
    blobPath(cr, W / 2, H * 0.55, W * 0.36, H * 0.3, 0.3, r, 14);
    fillRadial(cr, W / 2, H * 0.45, 1, W * 0.4, {{0, lighten(c, 0.3)}, {1, darken(c, 0.2)}});
    for (int i = 0; i < 6; ++i) {
        double ang = r.range(0, 2 * M_PI);
        ellipsePath(cr, W / 2 + std::cos(ang) * W * 0.42, H * 0.55 + std::sin(ang) * H * 0.36, 3, 2.5);
        setColor(cr, c);
        cairo_fill(cr);
    }
}

// --- the colour board --------------------------------------------------------------------------

// The board's frame with its 4 x 4 grid of wells, 165 px apart around the centre.
void artColorBoard(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    roundedRect(cr, 2, 2, W - 4, H - 4, 24);
    fillLinear(cr, 0, 0, W, H, {{0, kGoldLight}, {0.4, kGold}, {1, kGoldDark}});
    roundedRect(cr, 12, 12, W - 24, H - 24, 16);
    fillLinear(cr, 0, 0, 0, H, {{0, kWalnut}, {1, kWalnutDark}});
    double step = 165 * W / 680;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            double cx = W / 2 + (c - 1.5) * step, cy = H / 2 + (r - 1.5) * step;
            roundedRect(cr, cx - step * 0.45, cy - step * 0.45, step * 0.9, step * 0.9, 14);
            fillLinear(cr, 0, cy - step * 0.45, 0, cy + step * 0.45, {{0, darken(kWalnutDark, 0.3)}, {1, kWalnut}});
        }
    }
}

// A paint pot of colour N (0..9); colour 9 is a stone that never merges.
Rgb paintColor(int n) {
    const unsigned cols[] = {0xF4F0E8, 0xF2D040, 0xF09030, 0xE0483A, 0xC83A8A, 0x7A4AB8, 0x3A6AD0, 0x3AA8B8, 0x4AA04A, 0x8A8680};
    return Rgb::hex(cols[std::clamp(n, 0, 9)]);
}

void artPaintPot(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    int n = a.args.integer("colorIndex", 0);
    if (n < 0 || n > 9) a.args.fail("colorIndex must be 0..9");
    Rgb c = paintColor(n);
    softEllipse(cr, W / 2, H * 0.86, W * 0.38, H * 0.08, {0, 0, 0}, 0.35);
    if (n == 9) {
        Rng r = a.rng.fork("stone");
        blobPath(cr, W / 2, H * 0.55, W * 0.38, H * 0.32, 0.15, r, 12);
        fillRadial(cr, W * 0.42, H * 0.44, 2, W * 0.45, {{0, Rgb::hex(0xB8B4AC)}, {1, Rgb::hex(0x5A5650)}});
        for (int i = 0; i < 5; ++i) strokeLine(cr, W * r.range(0.3, 0.7), H * r.range(0.35, 0.7), W * r.range(0.3, 0.7), H * r.range(0.35, 0.7), 1.2, Rgb::hex(0x4A4640), 0.6);
        return;
    }
    cylinder(cr, W / 2, H * 0.34, H * 0.8, W * 0.34, H * 0.08, Rgb::hex(0xC8CCD0), Look{});
    ellipsePath(cr, W / 2, H * 0.34, W * 0.3, H * 0.07);
    fillRadial(cr, W * 0.44, H * 0.32, 1, W * 0.32, {{0, lighten(c, 0.35)}, {1, c}});
    // A spill over the rim and a label band in the colour.
    cairo_move_to(cr, W * 0.3, H * 0.36);
    cairo_curve_to(cr, W * 0.28, H * 0.5, W * 0.36, H * 0.52, W * 0.38, H * 0.4);
    setColor(cr, c);
    cairo_fill(cr);
    cairo_rectangle(cr, W * 0.16, H * 0.52, W * 0.68, H * 0.16);
    setColor(cr, c);
    cairo_fill(cr);
    cairo_rectangle(cr, W * 0.16, H * 0.52, W * 0.68, H * 0.16);
    cairo_set_line_width(cr, 1.5);
    setColor(cr, darken(c, 0.4));
    cairo_stroke(cr);
}

// A smear of colour N, the board's remaining-colours marker.
void artSmear(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    int n = a.args.integer("colorIndex", 0);
    if (n < 0 || n > 9) a.args.fail("colorIndex must be 0..9");
    Rgb c = paintColor(n);
    cairo_move_to(cr, W * 0.08, H * 0.6);
    cairo_curve_to(cr, W * 0.2, H * 0.1, W * 0.7, H * 0.05, W * 0.94, H * 0.35);
    cairo_curve_to(cr, W * 0.9, H * 0.8, W * 0.4, H * 0.95, W * 0.08, H * 0.6);
    fillLinear(cr, 0, 0, W, 0, {{0, darken(c, 0.15)}, {0.5, lighten(c, 0.2)}, {1, c}});
    for (int i = 0; i < 4; ++i) strokeLine(cr, W * 0.15, H * (0.35 + 0.1 * i), W * 0.85, H * (0.25 + 0.1 * i), 0.8, darken(c, 0.3), 0.35);
}

}  // namespace

void registerMinigameArt(ArtRegistry& r) {
    r.add("safe_door", artSafeDoor);
    r.add("safe_handle", artSafeHandle);
    r.add("pintle", artPintle);
    r.add("hinge", artHinge);
    r.add("safe_door_open", artSafeDoorOpen);
    r.add("tile", artTile);
    r.add("tile_selection", artTileSelection);
    r.add("belt", artBelt);
    r.add("spray_gun", artSprayGun);
    r.add("gun_palette", artGunPalette);
    r.add("finger", artFinger);
    r.add("cart", artCart);
    r.add("splat", artSplat);
    r.add("color_board", artColorBoard);
    r.add("paint_pot", artPaintPot);
    r.add("smear", artSmear);
}

}  // namespace assetgen
