// Art of the world and menu screens: the map's world and clouds (both tile sideways, since the
// map scrolls their texture rectangles), the country ribbon and emblems, the gallery walls and
// shades, picture frames, locks, markers, pictogram buttons and the cabinet's board and pins.
#include <algorithm>
#include <cmath>

#include "art/Art.h"
#include "art/SceneKit.h"
#include "art/Theme.h"
#include "art/ThingKit.h"
#include "art/Tools.h"
#include "core/Draw.h"

namespace assetgen {

using namespace theme;

namespace {

// Runs a registered art function on a box of this context.
void drawRegistered(ArtContext& a, const std::string& art, double x, double y, double w, double h) {
    ArtFn fn = ArtRegistry::instance().find(art);
    if (!fn) a.args.fail("unknown art \"" + art + "\"");
    cairo_save(a.cr);
    cairo_translate(a.cr, x, y);
    ArtContext ctx{a.cr, w, h, a.args, a.rng, a.look};
    fn(ctx);
    cairo_restore(a.cr);
}

// --- the map ---------------------------------------------------------------------------------

// A painted world on old paper: seas, continents and a graticule. Every shape is drawn again one
// width to the left and right, so the image tiles seamlessly sideways.
void artWorldMap(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    cairo_rectangle(cr, 0, 0, W, H);
    fillLinear(cr, 0, 0, 0, H, {{0, Rgb::hex(0x9CC0C8)}, {0.5, Rgb::hex(0x7AAAB8)}, {1, Rgb::hex(0x9CC0C8)}});
    Rng r = a.rng.fork("land");
    struct Blob {
        double x, y, rx, ry;
        std::uint64_t seed;
    };
    std::vector<Blob> land;
    for (int i = 0; i < 9; ++i) land.push_back({r.range(0, W), r.range(H * 0.18, H * 0.82), r.range(70, 170), r.range(60, 150), r.next()});
    for (int pass = 0; pass < 3; ++pass) {
        for (const Blob& b : land) {
            for (int k = -1; k <= 1; ++k) {
                Rng br(b.seed);
                double grow = pass == 0 ? 14 : pass == 1 ? 0 : -24;
                blobPath(cr, b.x + k * W, b.y, b.rx + grow, b.ry + grow, 0.35, br, 18);
                Rgb c = pass == 0 ? Rgb::hex(0xC8DCD8) : pass == 1 ? Rgb::hex(0xD8C89A) : Rgb::hex(0xB8B07A);
                setColor(cr, c, pass == 0 ? 0.6 : 1.0);
                cairo_fill(cr);
            }
        }
    }
    // Mountains and forests on the land, drawn as little marks.
    for (const Blob& b : land) {
        Rng mr(b.seed ^ 0x9E3779B97F4A7C15ull);
        for (int i = 0; i < 8; ++i) {
            double x = b.x + mr.range(-b.rx * 0.5, b.rx * 0.5), y = b.y + mr.range(-b.ry * 0.4, b.ry * 0.4);
            bool hill = mr.chance(0.5);
            for (int k = -1; k <= 1; ++k) {
                if (hill) {
                    polygon(cr, {{x + k * W - 9, y + 6}, {x + k * W, y - 8}, {x + k * W + 9, y + 6}});
                    setColor(cr, Rgb::hex(0x8A7A5A), 0.8);
                } else {
                    ellipsePath(cr, x + k * W, y, 6, 5);
                    setColor(cr, Rgb::hex(0x6A8A4A), 0.8);
                }
                cairo_fill(cr);
            }
        }
    }
    for (int i = 1; i < 8; ++i) strokeLine(cr, 0, H * i / 8.0, W, H * i / 8.0, 1, Rgb::hex(0x5A7A80), 0.25);
    for (int i = 0; i < 8; ++i) strokeLine(cr, W * i / 8.0, 0, W * i / 8.0, H, 1, Rgb::hex(0x5A7A80), 0.25);
    Rng wr = a.rng.fork("waves");
    for (int i = 0; i < 120; ++i) {
        double x = wr.range(0, W), y = wr.range(0, H);
        for (int k = -1; k <= 1; ++k) {
            cairo_move_to(cr, x + k * W - 6, y);
            cairo_curve_to(cr, x + k * W - 3, y - 3, x + k * W, y - 3, x + k * W + 3, y);
            cairo_set_line_width(cr, 1.2);
            setColor(cr, Rgb::hex(0xE8F4F4), 0.5);
            cairo_stroke(cr);
        }
    }
}

// Drifting clouds on a clear background, tiling sideways like the world under them.
void artCloudLayer(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rng r = a.rng.fork("clouds");
    for (int i = 0; i < 10; ++i) {
        double x = r.range(0, W), y = r.range(H * 0.05, H * 0.95), w = r.range(160, 300), h = r.range(50, 90);
        std::uint64_t seed = r.next();
        for (int k = -1; k <= 1; ++k) {
            Rng cr2(seed);
            cloud(cr, x + k * W, y, w, h, Rgb::hex(0xFFFFFF), Rgb::hex(0xC8D4E0), cr2, 0.8, 9);
        }
    }
}

// Light falling in from the top of the screen. The image may cover the whole window (it is centred
// on it); the light then fades out within "reach" pixels of the top and the rest stays clear.
void artTopLight(ArtContext& a) {
    const double reach = std::min(a.h, a.args.number("reach", a.h));
    cairo_rectangle(a.cr, 0, 0, a.w, reach);
    fillLinear(a.cr, 0, 0, 0, reach, {{0, Rgb::hex(0xFFF8E8), 0.7}, {1, Rgb::hex(0xFFF8E8), 0.0}});
}

// A cloth banner with forked ends, for a country's name.
void artRibbon(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", kWine);
    for (int s = -1; s <= 1; s += 2) {
        double x0 = s < 0 ? 2 : W - 2, x1 = s < 0 ? W * 0.16 : W * 0.84;
        polygon(cr, {{x0, H * 0.3}, {x1, H * 0.3}, {x1, H * 0.92}, {x0, H * 0.92}, {x0 + s * -W * 0.05, H * 0.61}});
        setColor(cr, darken(c, 0.35));
        cairo_fill(cr);
    }
    cairo_move_to(cr, W * 0.12, H * 0.12);
    cairo_curve_to(cr, W * 0.4, H * 0.2, W * 0.6, H * 0.2, W * 0.88, H * 0.12);
    cairo_line_to(cr, W * 0.88, H * 0.74);
    cairo_curve_to(cr, W * 0.6, H * 0.82, W * 0.4, H * 0.82, W * 0.12, H * 0.74);
    cairo_close_path(cr);
    fillLinear(cr, 0, 0, 0, H, {{0, lighten(c, 0.25)}, {0.5, c}, {1, darken(c, 0.3)}}, true);
    cairo_set_line_width(cr, 2);
    setColor(cr, kGold);
    cairo_stroke(cr);
}

// A country's emblem: one of its scenes, painted in a round gilt frame. "over" lights it up.
void artEmblem(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h, cx = W / 2, cy = H / 2, R = std::min(W, H) / 2 - 2;
    bool over = a.args.flag("over", false);
    RecipeNode scene = a.args.object("scene");
    ArtFn fn = ArtRegistry::instance().find(scene.text("art"));
    if (!fn) scene.fail("unknown scene art \"" + scene.text("art") + "\"");
    softEllipse(cr, cx + 2, cy + 4, R, R, {0, 0, 0}, 0.4);
    cairo_save(cr);
    ellipsePath(cr, cx, cy, R * 0.84, R * 0.84);
    cairo_clip(cr);
    double sw = 960, sh = 600, s = (2 * R * 0.84) / sh * a.args.number("zoom", 1.0);
    cairo_translate(cr, cx - sw * s * a.args.number("focusX", 0.5), cy - sh * s * a.args.number("focusY", 0.5));
    cairo_scale(cr, s, s);
    Rng sr = a.rng.fork("scene");
    Look look;
    ArtContext ctx{cr, sw, sh, scene, sr, look};
    fn(ctx);
    scene.finish();
    cairo_restore(cr);
    if (over) {
        ellipsePath(cr, cx, cy, R * 0.84, R * 0.84);
        setColor(cr, Rgb::hex(0xFFF4D0), 0.3);
        cairo_fill(cr);
    }
    ellipsePath(cr, cx, cy, R, R);
    ellipsePath(cr, cx, cy, R * 0.84, R * 0.84);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    fillLinear(cr, cx - R, cy - R, cx + R * 0.5, cy + R,
               {{0, over ? Rgb::hex(0xFFF8D8) : kGoldLight}, {0.45, kGold}, {0.75, kGoldDark}, {1, kGold}});
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    for (double rr : {R - 1, R * 0.84}) {
        ellipsePath(cr, cx, cy, rr, rr);
        cairo_set_line_width(cr, 1.5);
        setColor(cr, darken(kGoldDark, 0.4), 0.9);
        cairo_stroke(cr);
    }
    ellipsePath(cr, cx, cy - R * 0.4, R * 0.6, R * 0.35);
    fillLinear(cr, 0, cy - R * 0.8, 0, cy, {{0, {1, 1, 1}, 0.25}, {1, {1, 1, 1}, 0}});
}

// --- the gallery -----------------------------------------------------------------------------

// A gallery wall: papered in the country's colour with a quiet pattern, a picture rail, a dado
// and the parquet.
void artGalleryWall(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb wall = a.args.color("color", Rgb::hex(0x6E2E32));
    std::string pattern = a.args.text("pattern", "stripes");
    cairo_rectangle(cr, 0, 0, W, H);
    fillLinear(cr, 0, 0, 0, H, {{0, darken(wall, 0.3)}, {0.45, wall}, {1, darken(wall, 0.2)}});
    if (pattern == "stripes") {
        for (double x = 0; x < W; x += 64) {
            cairo_rectangle(cr, x, 0, 26, H * 0.7);
            setColor(cr, lighten(wall, 0.1), 0.35);
            cairo_fill(cr);
        }
    } else if (pattern == "diamonds") {
        for (double y = 40; y < H * 0.7; y += 80) {
            for (double x = (static_cast<int>(y / 80) % 2) * 40; x < W + 40; x += 80) {
                polygon(cr, {{x, y - 18}, {x + 12, y}, {x, y + 18}, {x - 12, y}});
                setColor(cr, lighten(wall, 0.18), 0.4);
                cairo_fill(cr);
            }
        }
    } else if (pattern == "dots") {
        for (double y = 30; y < H * 0.7; y += 56) {
            for (double x = (static_cast<int>(y / 56) % 2) * 28; x < W + 28; x += 56) {
                ellipsePath(cr, x, y, 5, 5);
                setColor(cr, lighten(wall, 0.2), 0.45);
                cairo_fill(cr);
            }
        }
    } else {
        a.args.fail("pattern must be stripes, diamonds or dots");
    }
    softEllipse(cr, W / 2, H * 0.38, W * 0.45, H * 0.36, Rgb::hex(0xFFF0D0), 0.22);
    cairo_rectangle(cr, 0, 40, W, 10);
    fillLinear(cr, 0, 40, 0, 50, {{0, kGoldLight}, {1, kGoldDark}});
    cairo_rectangle(cr, 0, H * 0.7, W, H * 0.1);
    fillLinear(cr, 0, H * 0.7, 0, H * 0.8, {{0, kWalnutLight}, {1, kWalnutDark}});
    cairo_rectangle(cr, 0, H * 0.7 - 6, W, 8);
    setColor(cr, kGold);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, H * 0.8, W, H * 0.2);
    fillLinear(cr, 0, H * 0.8, 0, H, {{0, Rgb::hex(0x9A6A40)}, {1, Rgb::hex(0x5A3A22)}});
    for (int i = 0; i < 24; ++i) strokeLine(cr, W / 2 + (i - 12) * 70, H * 0.8, W / 2 + (i - 12) * 160, H, 1.5, Rgb::hex(0x4A2E1A), 0.45);
}

// The dark edge of the picture list: black fading to clear from left to right.
void artEdgeShade(ArtContext& a) {
    cairo_rectangle(a.cr, 0, 0, a.w, a.h);
    fillLinear(a.cr, 0, 0, a.w, 0, {{0, {0, 0, 0}, a.args.number("strength", 0.6)}, {1, {0, 0, 0}, 0.0}});
}

// A round paging button for the list. The gallery shows it at a faint opacity, so it is built from
// the far ends of the scale: a near-white face with a dark rim and a bold dark chevron, over a soft
// shadow, which still reads as a raised button to press on a dark wall and on a light one.
void artArrow(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    bool left = a.args.text("dir", "left") == "left";
    double cx = W / 2, cy = H / 2, R = std::min(W, H) / 2 - 5;
    cairo_save(cr);
    kit::flipIf(cr, !left, W);
    softEllipse(cr, cx + 1, cy + 5, R + 4, R + 4, {0, 0, 0}, 0.7);
    ellipsePath(cr, cx, cy, R, R);
    setColor(cr, kInk);
    cairo_fill(cr);
    ellipsePath(cr, cx, cy, R - 4, R - 4);
    fillLinear(cr, 0, cy - R, 0, cy + R, {{0, Rgb::hex(0xFFFFFF)}, {0.55, kCream}, {1, kGoldLight}});
    // The light from above: a bright crescent on the upper half of the face.
    cairo_save(cr);
    ellipsePath(cr, cx, cy, R - 4, R - 4);
    cairo_clip(cr);
    ellipsePath(cr, cx, cy - R * 0.55, R * 0.8, R * 0.5);
    setColor(cr, {1, 1, 1}, 0.6);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, cx + R * 0.22, cy - R * 0.5);
    cairo_line_to(cr, cx - R * 0.3, cy);
    cairo_line_to(cr, cx + R * 0.22, cy + R * 0.5);
    cairo_set_line_width(cr, R * 0.3);
    setColor(cr, kInk);
    cairo_stroke(cr);
    cairo_restore(cr);
}

// A round notice marker with an exclamation mark.
void artMarker(ArtContext& a) {
    cairo_t* cr = a.cr;
    double cx = a.w / 2, cy = a.h / 2, R = std::min(a.w, a.h) / 2 - 2;
    ellipsePath(cr, cx, cy, R, R);
    fillRadial(cr, cx - R * 0.3, cy - R * 0.3, 1, R * 1.2, {{0, Rgb::hex(0xF05A4A)}, {1, Rgb::hex(0xA02020)}});
    ellipsePath(cr, cx, cy, R - 1, R - 1);
    cairo_set_line_width(cr, 2.5);
    setColor(cr, kCream);
    cairo_stroke(cr);
    roundedRect(cr, cx - R * 0.13, cy - R * 0.62, R * 0.26, R * 0.8, R * 0.12);
    setColor(cr, kCream);
    cairo_fill(cr);
    ellipsePath(cr, cx, cy + R * 0.45, R * 0.15, R * 0.15);
    cairo_fill(cr);
}

// A pictogram in cream, about `s` across, centred on (cx, cy).
void pictogram(cairo_t* cr, const std::string& kind, double cx, double cy, double s, const RecipeNode& args) {
    Rgb ink = kCream;
    setColor(cr, ink);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    double u = s / 10;
    if (kind == "cabinet") {
        cairo_rectangle(cr, cx - 4 * u, cy - 5 * u, 8 * u, 10 * u);
        cairo_set_line_width(cr, u);
        cairo_stroke(cr);
        strokeLine(cr, cx, cy - 5 * u, cx, cy + 2 * u, u * 0.8, ink);
        strokeLine(cr, cx - 4 * u, cy + 2 * u, cx + 4 * u, cy + 2 * u, u * 0.8, ink);
        ellipsePath(cr, cx - 1.2 * u, cy - 1.5 * u, 0.6 * u, 0.6 * u);
        ellipsePath(cr, cx + 1.2 * u, cy - 1.5 * u, 0.6 * u, 0.6 * u);
        cairo_fill(cr);
        cairo_arc(cr, cx + 2.2 * u, cy - 3 * u, 1.2 * u, 0, 2 * M_PI);
        cairo_set_line_width(cr, 0.6 * u);
        cairo_stroke(cr);
    } else if (kind == "stats") {
        for (int i = 0; i < 3; ++i) {
            double h = (3 + 2.5 * i) * u;
            cairo_rectangle(cr, cx - 4.5 * u + i * 3.2 * u, cy + 4 * u - h, 2.4 * u, h);
            cairo_fill(cr);
        }
    } else if (kind == "picture") {
        cairo_rectangle(cr, cx - 5 * u, cy - 4 * u, 10 * u, 8 * u);
        cairo_set_line_width(cr, u);
        cairo_stroke(cr);
        polygon(cr, {{cx - 4 * u, cy + 3 * u}, {cx - 1 * u, cy - 1 * u}, {cx + 1 * u, cy + 1 * u}, {cx + 2 * u, cy}, {cx + 4 * u, cy + 3 * u}});
        cairo_fill(cr);
        ellipsePath(cr, cx + 2.5 * u, cy - 2 * u, 0.9 * u, 0.9 * u);
        cairo_fill(cr);
    } else if (kind == "twomatch") {
        // A safe's dial.
        cairo_arc(cr, cx, cy, 4.5 * u, 0, 2 * M_PI);
        cairo_set_line_width(cr, u);
        cairo_stroke(cr);
        for (int i = 0; i < 8; ++i) {
            double ang = i * M_PI / 4;
            strokeLine(cr, cx + std::cos(ang) * 2.8 * u, cy + std::sin(ang) * 2.8 * u, cx + std::cos(ang) * 4 * u, cy + std::sin(ang) * 4 * u, 0.6 * u, ink);
        }
        strokeLine(cr, cx, cy, cx + 2 * u, cy - 2 * u, u, ink);
    } else if (kind == "colormatch") {
        const unsigned cols[] = {0xE8342A, 0xF2C030, 0x3A7AD8, 0x4AAA4A};
        for (int i = 0; i < 4; ++i) {
            ellipsePath(cr, cx + (i % 2 ? 2.4 : -2.4) * u, cy + (i < 2 ? -2.4 : 2.4) * u, 2.1 * u, 2.1 * u);
            setColor(cr, Rgb::hex(cols[i]));
            cairo_fill_preserve(cr);
            cairo_set_line_width(cr, 0.5 * u);
            setColor(cr, ink);
            cairo_stroke(cr);
        }
    } else if (kind == "drops") {
        for (int i = 0; i < 3; ++i) {
            double x = cx + (i - 1) * 3.2 * u, y = cy - 2 * u + (i % 2) * 2 * u;
            cairo_move_to(cr, x, y - 2.5 * u);
            cairo_curve_to(cr, x + 2 * u, y, x + 1.5 * u, y + 1.8 * u, x, y + 1.8 * u);
            cairo_curve_to(cr, x - 1.5 * u, y + 1.8 * u, x - 2 * u, y, x, y - 2.5 * u);
            cairo_fill(cr);
        }
        cairo_rectangle(cr, cx - 4.5 * u, cy + 3 * u, 9 * u, 1.6 * u);
        cairo_fill(cr);
    } else if (kind == "conveyor") {
        roundedRect(cr, cx - 5 * u, cy + 1 * u, 10 * u, 3 * u, 1.5 * u);
        cairo_set_line_width(cr, 0.8 * u);
        cairo_stroke(cr);
        for (int i = 0; i < 3; ++i) {
            ellipsePath(cr, cx - 3.2 * u + i * 3.2 * u, cy + 2.5 * u, 0.7 * u, 0.7 * u);
            cairo_fill(cr);
        }
        cairo_rectangle(cr, cx - 3.5 * u, cy - 3.5 * u, 3 * u, 3.5 * u);
        cairo_rectangle(cr, cx + 0.8 * u, cy - 4.5 * u, 3 * u, 4.5 * u);
        cairo_fill(cr);
    } else if (kind == "jigsaw") {
        double k = 2.4 * u;
        cairo_rectangle(cr, cx - 4 * u, cy - 4 * u, 8 * u, 8 * u);
        cairo_set_line_width(cr, 0.8 * u);
        cairo_stroke(cr);
        strokeLine(cr, cx, cy - 4 * u, cx, cy + 4 * u, 0.8 * u, ink);
        strokeLine(cr, cx - 4 * u, cy, cx + 4 * u, cy, 0.8 * u, ink);
        ellipsePath(cr, cx, cy - 2 * u, k * 0.4, k * 0.4);
        ellipsePath(cr, cx + 2 * u, cy, k * 0.4, k * 0.4);
        cairo_fill(cr);
    } else {
        args.fail("pictogram must be cabinet, stats, picture, twomatch, colormatch, drops, conveyor or jigsaw");
    }
}

// A round medallion button (the shared one) with one of the screens' pictograms on it.
void artPictogramButton(ArtContext& a) {
    drawRegistered(a, "medallion", 0, 0, a.w, a.h);
    std::string kind = a.args.text("pictogram");
    double s = std::min(a.w, a.h) * 0.5;
    bool disabled = a.args.text("state", "normal") == "disabled";
    cairo_save(a.cr);
    cairo_push_group(a.cr);
    pictogram(a.cr, kind, a.w / 2, a.h / 2, s, a.args);
    cairo_pop_group_to_source(a.cr);
    cairo_paint_with_alpha(a.cr, disabled ? 0.45 : 1.0);
    cairo_restore(a.cr);
    if (disabled) {
        // Greyed out under a veil, so an unavailable game reads at a glance.
        double R = std::min(a.w, a.h) / 2 - 4;
        ellipsePath(a.cr, a.w / 2, a.h / 2, R, R);
        setColor(a.cr, Rgb::hex(0x5A5650), 0.55);
        cairo_fill(a.cr);
    }
}

// A single glyph on a clear ground (the options' check mark).
void artGlyphMark(ArtContext& a) {
    Rgb c = a.args.color("color", kWine);
    std::string glyph = a.args.text("glyph", "check");
    if (!isGlyph(glyph)) a.args.fail("unknown glyph \"" + glyph + "\"");
    drawGlyph(a.cr, glyph, a.w / 2, a.h / 2, std::min(a.w, a.h) * 0.9, c.r, c.g, c.b);
}

// A padlock: brass body and steel shackle.
void artPadlock(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    softEllipse(cr, W / 2, H * 0.94, W * 0.4, H * 0.05, {0, 0, 0}, 0.3);
    cairo_arc(cr, W / 2, H * 0.42, W * 0.26, M_PI, 2 * M_PI);
    cairo_line_to(cr, W * 0.76, H * 0.5);
    cairo_set_line_width(cr, W * 0.1);
    setColor(cr, Rgb::hex(0x9AA0A8));
    cairo_stroke(cr);
    cairo_move_to(cr, W * 0.24, H * 0.42);
    cairo_line_to(cr, W * 0.24, H * 0.5);
    cairo_stroke(cr);
    roundedRect(cr, W * 0.1, H * 0.46, W * 0.8, H * 0.48, W * 0.1);
    fillLinear(cr, 0, H * 0.46, W, H * 0.94, {{0, kGoldLight}, {0.5, kGold}, {1, kGoldDark}});
    ellipsePath(cr, W / 2, H * 0.64, W * 0.08, W * 0.08);
    setColor(cr, kInk);
    cairo_fill(cr);
    polygon(cr, {{W * 0.47, H * 0.66}, {W * 0.53, H * 0.66}, {W * 0.55, H * 0.8}, {W * 0.45, H * 0.8}});
    cairo_fill(cr);
}

// A picture frame with a clear window: style 1 gilt, 2 walnut, 3 silver.
void artPictureFrame(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    int style = a.args.integer("style", 1);
    Rgb lo, mid, hi;
    if (style == 1) {
        lo = kGoldDark;
        mid = kGold;
        hi = kGoldLight;
    } else if (style == 2) {
        lo = kWalnutDark;
        mid = kWalnut;
        hi = kWalnutLight;
    } else if (style == 3) {
        lo = Rgb::hex(0x6A6E78);
        mid = Rgb::hex(0xA8AEB8);
        hi = Rgb::hex(0xE8ECF0);
    } else {
        a.args.fail("style must be 1, 2 or 3");
    }
    double b = a.args.number("border", 26);
    for (int i = 0; i < 5; ++i) {
        cairo_rectangle(cr, 4 - i, 6 - i, W - 8 + 2 * i, H - 8 + 2 * i);
        setColor(cr, {0, 0, 0}, 0.05);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, 2, 2, W - 4, H - 4);
    cairo_rectangle(cr, b, b, W - 2 * b, H - 2 * b);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    fillLinear(cr, 0, 0, W * 0.4, H, {{0, hi}, {0.4, mid}, {0.7, lo}, {1, mid}});
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    for (double inset : {2.0, b * 0.45, b - 1}) {
        cairo_rectangle(cr, inset, inset, W - 2 * inset, H - 2 * inset);
        cairo_set_line_width(cr, 1.5);
        setColor(cr, darken(lo, 0.4), 0.8);
        cairo_stroke(cr);
    }
    if (style == 1) {
        for (int i = 0; i < 4; ++i) {
            double x = i % 2 ? W - b / 2 - 2 : b / 2 + 2, y = i < 2 ? b / 2 + 2 : H - b / 2 - 2;
            ellipsePath(cr, x, y, b * 0.32, b * 0.32);
            fillRadial(cr, x - 2, y - 2, 0, b * 0.35, {{0, kCream}, {0.5, kGoldLight}, {1, kGoldDark}});
        }
    }
}

// A ribbon rosette with a tick: the picture is finished.
void artRosette(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h, cx = W / 2, cy = H * 0.4, R = std::min(W, H) * 0.34;
    for (int s = -1; s <= 1; s += 2) {
        polygon(cr, {{cx + s * R * 0.2, cy}, {cx + s * R * 0.9, H - 3}, {cx + s * R * 0.5, H * 0.86}, {cx + s * R * 0.1, H - 3}});
        setColor(cr, kWine);
        cairo_fill(cr);
    }
    for (int i = 0; i < 16; ++i) {
        double ang = i * M_PI / 8;
        ellipsePath(cr, cx + std::cos(ang) * R * 0.8, cy + std::sin(ang) * R * 0.8, R * 0.3, R * 0.3);
        setColor(cr, i % 2 ? kGold : kGoldLight);
        cairo_fill(cr);
    }
    ellipsePath(cr, cx, cy, R * 0.75, R * 0.75);
    fillRadial(cr, cx - R * 0.2, cy - R * 0.2, 1, R, {{0, Rgb::hex(0x4A9A5A)}, {1, Rgb::hex(0x2A5A34)}});
    cairo_move_to(cr, cx - R * 0.35, cy);
    cairo_line_to(cr, cx - R * 0.08, cy + R * 0.3);
    cairo_line_to(cr, cx + R * 0.4, cy - R * 0.3);
    cairo_set_line_width(cr, R * 0.16);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    setColor(cr, kCream);
    cairo_stroke(cr);
}

// --- the cabinet -----------------------------------------------------------------------------

// The cabinet: a cork board in a wooden case, lamplight from above.
void artCorkBoard(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    cairo_rectangle(cr, 0, 0, W, H);
    fillLinear(cr, 0, 0, W, 0, {{0, kWalnutDark}, {0.5, kWalnut}, {1, kWalnutDark}});
    double m = 60;
    cairo_rectangle(cr, m, m, W - 2 * m, H - 2 * m - 40);
    fillLinear(cr, 0, m, 0, H - m, {{0, Rgb::hex(0xC8965A)}, {1, Rgb::hex(0xA8763E)}});
    Rng r = a.rng.fork("cork");
    for (int i = 0; i < 9000; ++i) {
        ellipsePath(cr, r.range(m, W - m), r.range(m, H - m - 40), r.range(0.6, 1.8), r.range(0.6, 1.8));
        setColor(cr, r.chance(0.5) ? Rgb::hex(0x7A5028) : Rgb::hex(0xE0B478), r.range(0.2, 0.5));
        cairo_fill(cr);
    }
    cairo_rectangle(cr, m, m, W - 2 * m, H - 2 * m - 40);
    cairo_set_line_width(cr, 10);
    setColor(cr, kGold);
    cairo_stroke(cr);
    // Red thread between a few pins, as detectives do.
    for (int i = 0; i < 5; ++i) {
        strokeLine(cr, r.range(m + 40, W - m - 40), r.range(m + 40, H - m - 80), r.range(m + 40, W - m - 40), r.range(m + 40, H - m - 80), 2,
                   Rgb::hex(0xB82A2A), 0.55);
    }
    softEllipse(cr, W / 2, 0, W * 0.5, H * 0.5, Rgb::hex(0xFFE8B0), 0.25);
    cairo_rectangle(cr, 0, H - m - 40, W, m + 40);
    fillLinear(cr, 0, H - m - 40, 0, H, {{0, kWalnutLight}, {1, kWalnutDark}});
}

// A push pin seen at an angle.
void artPin(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb c = a.args.color("color", Rgb::hex(0xC8342A));
    strokeLine(cr, W * 0.5, H * 0.55, W * 0.5, H - 2, 2, Rgb::hex(0x8A8A90));
    ellipsePath(cr, W / 2, H * 0.5, W * 0.3, H * 0.1);
    setColor(cr, darken(c, 0.3));
    cairo_fill(cr);
    cairo_rectangle(cr, W * 0.32, H * 0.22, W * 0.36, H * 0.28);
    fillLinear(cr, W * 0.32, 0, W * 0.68, 0, {{0, lighten(c, 0.3)}, {1, darken(c, 0.3)}});
    ellipsePath(cr, W / 2, H * 0.2, W * 0.42, H * 0.14);
    fillRadial(cr, W * 0.4, H * 0.16, 1, W * 0.45, {{0, lighten(c, 0.45)}, {1, c}});
}

// A paper card pinned to the board, where a clue belongs.
void artCard(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    for (int i = 0; i < 4; ++i) {
        cairo_rectangle(cr, 6 - i, 8 - i, W - 10 + 2 * i, H - 12 + 2 * i);
        setColor(cr, {0, 0, 0}, 0.06);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, 4, 4, W - 10, H - 12);
    fillLinear(cr, 0, 0, W, H, {{0, kCream}, {1, kParchment}});
    cairo_rectangle(cr, 14, 14, W - 30, H - 32);
    std::vector<double> dash = {6, 5};
    cairo_set_dash(cr, dash.data(), 2, 0);
    cairo_set_line_width(cr, 2);
    setColor(cr, kParchmentDark);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
}

}  // namespace

void registerScreenArt(ArtRegistry& r) {
    r.add("world_map", artWorldMap);
    r.add("cloud_layer", artCloudLayer);
    r.add("top_light", artTopLight);
    r.add("ribbon", artRibbon);
    r.add("emblem", artEmblem);
    r.add("gallery_wall", artGalleryWall);
    r.add("edge_shade", artEdgeShade);
    r.add("arrow_plate", artArrow);
    r.add("marker", artMarker);
    r.add("pictogram_button", artPictogramButton);
    r.add("padlock", artPadlock);
    r.add("glyph_mark", artGlyphMark);
    r.add("picture_frame", artPictureFrame);
    r.add("rosette", artRosette);
    r.add("cork_board", artCorkBoard);
    r.add("pin", artPin);
    r.add("card", artCard);
}

}  // namespace assetgen
