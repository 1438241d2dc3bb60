// The story slides: a backdrop, any registered art laid over it as layers (characters, objects,
// whole scenes in frames) and the speech bubbles the slide's labels are written into. Also the
// bird cage that closes the story.
#include <cmath>

#include "art/Art.h"
#include "art/SceneKit.h"
#include "art/Theme.h"
#include "art/ThingKit.h"
#include "core/Draw.h"

namespace assetgen {

using namespace theme;

namespace {

// --- backdrops --------------------------------------------------------------------------------

// The little museum on its headland by the sea, at night, one window lit.
void nightMuseum(cairo_t* cr, double W, double H, Rng& rng, bool dawn) {
    cairo_rectangle(cr, 0, 0, W, H);
    if (dawn) fillLinear(cr, 0, 0, 0, H * 0.62, {{0, Rgb::hex(0x5A8AC8)}, {0.6, Rgb::hex(0xF4C890)}, {1, Rgb::hex(0xFCE4B0)}});
    else fillLinear(cr, 0, 0, 0, H * 0.62, {{0, Rgb::hex(0x0E1630)}, {0.7, Rgb::hex(0x2A3660)}, {1, Rgb::hex(0x4A4A70)}});
    if (!dawn) {
        for (int i = 0; i < 160; ++i) {
            ellipsePath(cr, rng.range(0, W), rng.range(0, H * 0.5), 1.2, 1.2);
            setColor(cr, Rgb::hex(0xF8F4E0), rng.range(0.3, 0.9));
            cairo_fill(cr);
        }
        softEllipse(cr, W * 0.8, H * 0.16, 120, 120, Rgb::hex(0xE8E8C8), 0.35);
        ellipsePath(cr, W * 0.8, H * 0.16, 40, 40);
        setColor(cr, Rgb::hex(0xF8F4DC));
        cairo_fill(cr);
    } else {
        softEllipse(cr, W * 0.75, H * 0.6, 300, 200, Rgb::hex(0xFFF0C0), 0.7);
    }
    double sea = H * 0.62;
    cairo_rectangle(cr, 0, sea, W, H - sea);
    if (dawn) fillLinear(cr, 0, sea, 0, H, {{0, Rgb::hex(0xE8C8A0)}, {1, Rgb::hex(0x3A5A8A)}});
    else fillLinear(cr, 0, sea, 0, H, {{0, Rgb::hex(0x3A4A70)}, {1, Rgb::hex(0x0E1630)}});
    ripples(cr, 0, W, sea + 2, H, dawn ? Rgb::hex(0xFFF0D0) : Rgb::hex(0xC8C8B0), Rgb::hex(0x0A1020), rng, 1.2);
    // The headland and the museum: a columned front under a pediment.
    Rgb rock = dawn ? Rgb::hex(0x7A6A5A) : Rgb::hex(0x1E2030);
    cairo_move_to(cr, -5, H + 5);
    cairo_line_to(cr, -5, H * 0.56);
    cairo_curve_to(cr, W * 0.2, H * 0.5, W * 0.45, H * 0.52, W * 0.58, H * 0.7);
    cairo_curve_to(cr, W * 0.62, H * 0.8, W * 0.66, H * 0.9, W * 0.7, H + 5);
    cairo_close_path(cr);
    setColor(cr, rock);
    cairo_fill(cr);
    Rgb stone = dawn ? Rgb::hex(0xF4E8D4) : Rgb::hex(0x5A5E7A);
    double mx = W * 0.1, my = H * 0.52, mw = W * 0.36, mh = H * 0.2;
    cairo_rectangle(cr, mx, my - mh, mw, mh);
    setColor(cr, stone);
    cairo_fill(cr);
    polygon(cr, {{mx - 14, my - mh}, {mx + mw / 2, my - mh - 70}, {mx + mw + 14, my - mh}});
    setColor(cr, darken(stone, 0.1));
    cairo_fill(cr);
    for (int i = 0; i < 6; ++i) {
        double cx = mx + 20 + i * (mw - 40) / 5;
        cairo_rectangle(cr, cx - 7, my - mh + 8, 14, mh - 8);
        setColor(cr, lighten(stone, 0.15));
        cairo_fill(cr);
    }
    for (int i = 0; i < 5; ++i) {
        double cx = mx + 20 + (i + 0.5) * (mw - 40) / 5;
        cairo_rectangle(cr, cx - 12, my - mh * 0.7, 24, mh * 0.5);
        bool lit = !dawn && i == 3;
        setColor(cr, lit ? Rgb::hex(0xFFD070) : darken(stone, 0.4));
        cairo_fill(cr);
        if (lit) softEllipse(cr, cx, my - mh * 0.45, 60, 50, Rgb::hex(0xFFD070), 0.35);
    }
}

// A gallery wall with its dado and floor; paintings come as layers.
void galleryWall(cairo_t* cr, double W, double H, const Rgb& wall) {
    cairo_rectangle(cr, 0, 0, W, H);
    fillLinear(cr, 0, 0, 0, H * 0.72, {{0, darken(wall, 0.25)}, {0.5, wall}, {1, darken(wall, 0.15)}});
    cairo_rectangle(cr, 0, H * 0.66, W, 14);
    setColor(cr, kGold);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, H * 0.72, W, H * 0.28);
    fillLinear(cr, 0, H * 0.72, 0, H, {{0, Rgb::hex(0x8A5A34)}, {1, Rgb::hex(0x4A2E1A)}});
    for (int i = 0; i < 20; ++i) strokeLine(cr, W / 2 + (i - 10) * 60, H * 0.72, W / 2 + (i - 10) * 220, H, 1.5, Rgb::hex(0x3A2414), 0.5);
}

// A wooden desk seen from above.
void desk(cairo_t* cr, double W, double H, Rng& rng) {
    cairo_rectangle(cr, 0, 0, W, H);
    fillLinear(cr, 0, 0, W, H, {{0, Rgb::hex(0x8A5A34)}, {1, Rgb::hex(0x5A3A22)}});
    std::uint64_t seed = rng.next();
    for (double y = 0; y < H; y += 4) {
        cairo_move_to(cr, 0, y);
        for (double x = 0; x <= W; x += 16) cairo_line_to(cr, x, y + (fbm(x / 140.0, y / 30.0, seed, 3) - 0.5) * 10);
        cairo_set_line_width(cr, rng.range(0.8, 2.2));
        setColor(cr, rng.chance(0.5) ? Rgb::hex(0x4A2E1A) : Rgb::hex(0xA87A50), rng.range(0.1, 0.25));
        cairo_stroke(cr);
    }
    softEllipse(cr, W * 0.5, H * 0.45, W * 0.5, H * 0.45, Rgb::hex(0xFFE8B0), 0.25);
}

// An old map on parchment: coasts, a compass rose and dotted routes between seven pins.
void oldMap(cairo_t* cr, double W, double H, Rng& rng) {
    cairo_rectangle(cr, 0, 0, W, H);
    fillRadial(cr, W / 2, H / 2, 0, W * 0.7, {{0, Rgb::hex(0xF4E8C8)}, {0.8, kParchment}, {1, Rgb::hex(0xB89A68)}});
    for (int i = 0; i < 5; ++i) {
        blobPath(cr, rng.range(W * 0.1, W * 0.9), rng.range(H * 0.2, H * 0.8), rng.range(120, 260), rng.range(80, 180), 0.35, rng, 16);
        setColor(cr, Rgb::hex(0xC8B080), 0.6);
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 2);
        setColor(cr, Rgb::hex(0x7A5A3A), 0.6);
        cairo_stroke(cr);
    }
    std::vector<Pt> pins;
    for (int i = 0; i < 7; ++i) pins.push_back({W * (0.12 + 0.12 * i), H * (0.35 + 0.25 * std::sin(i * 1.3))});
    cairo_set_dash(cr, std::vector<double>{8, 8}.data(), 2, 0);
    smoothPath(cr, pins, false);
    cairo_set_line_width(cr, 3);
    setColor(cr, kWine, 0.8);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    for (const Pt& p : pins) {
        ellipsePath(cr, p.x, p.y - 14, 10, 10);
        setColor(cr, kWine);
        cairo_fill(cr);
        polygon(cr, {{p.x - 6, p.y - 10}, {p.x, p.y + 4}, {p.x + 6, p.y - 10}});
        cairo_fill(cr);
    }
    double cx = W * 0.88, cy = H * 0.8;
    for (int i = 0; i < 8; ++i) {
        double ang = i * M_PI / 4, r = i % 2 ? 30 : 60;
        polygon(cr, {{cx, cy}, {cx + std::cos(ang - 0.2) * 14, cy + std::sin(ang - 0.2) * 14}, {cx + std::cos(ang) * r, cy + std::sin(ang) * r},
                     {cx + std::cos(ang + 0.2) * 14, cy + std::sin(ang + 0.2) * 14}});
        setColor(cr, i % 2 ? kGoldDark : kInk, 0.8);
        cairo_fill(cr);
    }
}

// --- bubbles -------------------------------------------------------------------------------

// A speech bubble or caption box: cream paper, ink outline, a tail towards the speaker.
void bubble(cairo_t* cr, double x, double y, double w, double h, const std::string& tail, double tailX) {
    double r = std::min(34.0, h * 0.3);
    for (int i = 0; i < 5; ++i) {
        roundedRect(cr, x - i + 4, y - i + 6, w + 2 * i, h + 2 * i, r + i);
        setColor(cr, {0, 0, 0}, 0.05);
        cairo_fill(cr);
    }
    cairo_new_path(cr);
    roundedRect(cr, x, y, w, h, r);
    double tx = x + w * tailX;
    if (tail == "down") {
        cairo_move_to(cr, tx - 22, y + h - 2);
        cairo_line_to(cr, tx - 40, y + h + 50);
        cairo_line_to(cr, tx + 18, y + h - 2);
        cairo_close_path(cr);
    } else if (tail == "up") {
        cairo_move_to(cr, tx - 22, y + 2);
        cairo_line_to(cr, tx - 36, y - 50);
        cairo_line_to(cr, tx + 18, y + 2);
        cairo_close_path(cr);
    }
    setColor(cr, kCream, 0.96);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 3);
    setColor(cr, kInk, 0.85);
    cairo_stroke(cr);
    if (tail == "down" || tail == "up") {
        // Hide the outline where the tail joins the box.
        double jy = tail == "down" ? y + h : y;
        cairo_move_to(cr, tx - 19, jy);
        cairo_line_to(cr, tx + 15, jy);
        cairo_set_line_width(cr, 4);
        setColor(cr, kCream);
        cairo_stroke(cr);
    }
}

void artSlide(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    std::string back = a.args.text("backdrop", "wall");
    Rng rng = a.rng.fork("backdrop");
    if (back == "night") nightMuseum(cr, W, H, rng, false);
    else if (back == "dawn") nightMuseum(cr, W, H, rng, true);
    else if (back == "wall") galleryWall(cr, W, H, a.args.color("wall", Rgb::hex(0x6E2E32)));
    else if (back == "desk") desk(cr, W, H, rng);
    else if (back == "map") oldMap(cr, W, H, rng);
    else a.args.fail("backdrop must be night, dawn, wall, desk or map");
    for (const RecipeNode& layer : a.args.optObjects("layers")) {
        std::string art = layer.text("art");
        ArtFn fn = ArtRegistry::instance().find(art);
        if (!fn) layer.fail("unknown art \"" + art + "\"");
        double lx = layer.number("x"), ly = layer.number("y"), lw = layer.number("w"), lh = layer.number("h");
        Rng lr = a.rng.fork(art + std::to_string(static_cast<int>(lx)) + "," + std::to_string(static_cast<int>(ly)));
        Look look;
        if (auto l = layer.optObject("look")) look = Look::read(*l);
        cairo_save(cr);
        cairo_translate(cr, lx, ly);
        cairo_rectangle(cr, 0, 0, lw, lh);
        cairo_clip(cr);
        ArtContext ctx{cr, lw, lh, layer, lr, look};
        fn(ctx);
        cairo_restore(cr);
        layer.finish();
    }
    for (const RecipeNode& b : a.args.optObjects("bubbles")) {
        bubble(cr, b.number("x"), b.number("y"), b.number("w"), b.number("h"), b.text("tail", "none"), b.number("tailX", 0.3));
        b.finish();
    }
    // A soft vignette holds the eye in the middle.
    cairo_rectangle(cr, 0, 0, W, H);
    fillRadial(cr, W / 2, H / 2, std::min(W, H) * 0.45, std::max(W, H) * 0.75, {{0, {0, 0, 0}, 0}, {1, {0, 0, 0}, 0.35}});
}

// A domed brass bird cage with its ring and door.
void artBirdCage(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    double cx = a.args.number("cx", W / 2), top = a.args.number("top", H * 0.06), bottom = a.args.number("bottom", H * 0.94);
    double hw = a.args.number("halfWidth", W * 0.42);
    double dome = (bottom - top) * 0.3;
    Rgb brass = kGold;
    int bars = a.args.integer("bars", 15);
    for (int i = 0; i <= bars; ++i) {
        double t = static_cast<double>(i) / bars;
        double x = cx - hw + 2 * hw * t;
        double dx = (x - cx) / hw;
        double domeY = top + dome * (1 - std::sqrt(std::max(0.0, 1 - dx * dx)));
        cairo_move_to(cr, cx, top);
        cairo_curve_to(cr, cx + (x - cx) * 0.3, top, x, domeY - dome * 0.1, x, domeY + dome * 0.4);
        cairo_line_to(cr, x, bottom);
        cairo_set_line_width(cr, std::max(3.0, W * 0.006));
        setColor(cr, mix(kGoldDark, kGoldLight, 0.5 + 0.5 * std::cos(t * M_PI * 2)));
        cairo_stroke(cr);
    }
    for (double y : {top + dome * 0.9, bottom - (bottom - top) * 0.35, bottom - 6}) {
        cairo_rectangle(cr, cx - hw - 6, y - 5, 2 * hw + 12, 12);
        fillLinear(cr, 0, y - 5, 0, y + 7, {{0, kGoldLight}, {0.5, brass}, {1, kGoldDark}});
    }
    cairo_arc(cr, cx, top - 24, 24, 0, 2 * M_PI);
    cairo_set_line_width(cr, 7);
    setColor(cr, brass);
    cairo_stroke(cr);
}

// The desk on its own, as a full-screen backdrop.
void artDeskTop(ArtContext& a) {
    Rng rng = a.rng.fork("desk");
    desk(a.cr, a.w, a.h, rng);
}

// A letter on the desk: an opened envelope with a wax seal, the folded page above it.
void artLetter(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    cairo_save(cr);
    cairo_translate(cr, W / 2, H / 2);
    cairo_rotate(cr, a.args.number("tilt", -0.08));
    double w = W * 0.8, h = H * 0.62;
    roundedRect(cr, -w / 2 + 30, -h / 2 - h * 0.42, w - 60, h * 0.9, 4);
    setColor(cr, kCream);
    cairo_fill(cr);
    for (int i = 0; i < 6; ++i) {
        double y = -h / 2 - h * 0.32 + i * 16;
        strokeLine(cr, -w / 2 + 60, y, w / 2 - 60 - (i == 5 ? w * 0.3 : 0), y, 2, kInk, 0.5);
    }
    roundedRect(cr, -w / 2, -h / 2 + h * 0.1, w, h * 0.9, 6);
    fillLinear(cr, 0, -h / 2, 0, h / 2, {{0, kParchment}, {1, kParchmentDark}});
    polygon(cr, {{-w / 2, -h / 2 + h * 0.1}, {0, h * 0.18}, {w / 2, -h / 2 + h * 0.1}});
    setColor(cr, darken(kParchment, 0.08));
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.5);
    setColor(cr, kParchmentDark);
    cairo_stroke(cr);
    ellipsePath(cr, 0, h * 0.16, h * 0.14, h * 0.14);
    fillRadial(cr, -h * 0.04, h * 0.12, 1, h * 0.16, {{0, Rgb::hex(0xC83A3A)}, {1, kWine}});
    ellipsePath(cr, 0, h * 0.16, h * 0.07, h * 0.07);
    cairo_set_line_width(cr, 2);
    setColor(cr, darken(kWine, 0.4));
    cairo_stroke(cr);
    cairo_restore(cr);
}

// The museum's cabinet of clues: glazed doors over drawers, a few clues behind the glass.
void artCabinet(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    Rgb wood = a.args.color("color", kWalnut);
    cairo_rectangle(cr, W * 0.04, H * 0.04, W * 0.92, H * 0.94);
    fillLinear(cr, 0, 0, W, 0, {{0, lighten(wood, 0.15)}, {1, darken(wood, 0.35)}});
    polygon(cr, {{0, H * 0.06}, {W * 0.5, 0}, {W, H * 0.06}});
    setColor(cr, darken(wood, 0.2));
    cairo_fill(cr);
    for (int d = 0; d < 2; ++d) {
        double x = W * (0.1 + 0.42 * d), y = H * 0.1, w = W * 0.38, h = H * 0.56;
        cairo_rectangle(cr, x, y, w, h);
        setColor(cr, Rgb::hex(0x8AA8B8), 0.55);
        cairo_fill(cr);
        for (int shelf = 1; shelf < 3; ++shelf) strokeLine(cr, x, y + h * shelf / 3, x + w, y + h * shelf / 3, 4, darken(wood, 0.2));
        cairo_rectangle(cr, x, y, w, h);
        cairo_set_line_width(cr, 6);
        setColor(cr, kGold);
        cairo_stroke(cr);
        strokeLine(cr, x + w * 0.2, y + 10, x + w * 0.05, y + h * 0.4, 3, {1, 1, 1}, 0.35);
    }
    const unsigned clue[] = {0xC9943A, 0xF4F0E8, 0x7B2331, 0x2E6B66};
    for (int i = 0; i < 4; ++i) {
        double x = W * (0.16 + 0.2 * i), y = H * (0.1 + 0.56 * (1 + i % 2) / 3) - 16;
        ellipsePath(cr, x, y, 14, 10);
        setColor(cr, Rgb::hex(clue[i]));
        cairo_fill(cr);
    }
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 2; ++c) {
            double x = W * (0.1 + 0.42 * c), y = H * (0.7 + 0.13 * r);
            cairo_rectangle(cr, x, y, W * 0.38, H * 0.11);
            setColor(cr, darken(wood, 0.1));
            cairo_fill(cr);
            ellipsePath(cr, x + W * 0.19, y + H * 0.055, 6, 6);
            setColor(cr, kGoldLight);
            cairo_fill(cr);
        }
    }
}

}  // namespace

void registerSlideArt(ArtRegistry& r) {
    r.add("slide", artSlide);
    r.add("birdcage", artBirdCage);
    r.add("letter", artLetter);
    r.add("desk_top", artDeskTop);
    r.add("cabinet", artCabinet);
}

}  // namespace assetgen
