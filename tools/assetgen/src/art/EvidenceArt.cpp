// The clues of the cabinet, each on its own index card (the card is the touch area), and the
// mascot's look for each: Tobbin the cat holding up that clue.
#include <cmath>

#include "art/Art.h"
#include "art/SceneKit.h"
#include "art/Theme.h"
#include "core/Draw.h"

namespace assetgen {

using namespace theme;

namespace {

bool isClue(const std::string& k) {
    static const char* kinds[] = {"ticket", "letter", "key", "compass", "brooch", "photo", "map",
                                  "seal", "ring", "glove", "button", "feather", "stamp"};
    for (const char* n : kinds) {
        if (k == n) return true;
    }
    return false;
}

// The clue itself, drawn in a box of size s x s centred on (cx, cy).
void clue(cairo_t* cr, const std::string& kind, double cx, double cy, double s, Rng& rng) {
    double u = s / 20;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    auto outline = [&](double w = 0.3) {
        cairo_set_line_width(cr, w * u);
        setColor(cr, kInk, 0.8);
        cairo_stroke(cr);
    };
    if (kind == "ticket") {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, -0.12);
        cairo_rectangle(cr, -9 * u, -4.5 * u, 18 * u, 9 * u);
        fillLinear(cr, 0, -5 * u, 0, 5 * u, {{0, Rgb::hex(0xF2D8A0)}, {1, Rgb::hex(0xD8B070)}}, true);
        outline();
        std::vector<double> dash = {u * 0.8, u * 0.6};
        cairo_set_dash(cr, dash.data(), 2, 0);
        strokeLine(cr, 4 * u, -4.5 * u, 4 * u, 4.5 * u, 0.3 * u, kInk);
        cairo_set_dash(cr, nullptr, 0, 0);
        for (int i = 0; i < 3; ++i) strokeLine(cr, -7 * u, (-2 + 2 * i) * u, 2 * u, (-2 + 2 * i) * u, 0.6 * u, kWine, 0.8);
        cairo_restore(cr);
    } else if (kind == "letter") {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, 0.08);
        cairo_rectangle(cr, -7 * u, -9 * u, 14 * u, 18 * u);
        setColor(cr, Rgb::hex(0xFAF4E4));
        cairo_fill_preserve(cr);
        outline();
        for (int i = 0; i < 8; ++i) {
            double w = (i == 7 ? 6 : rng.range(9, 12)) * u;
            strokeLine(cr, -5.5 * u, (-7 + 2 * i) * u, -5.5 * u + w, (-7 + 2 * i) * u, 0.35 * u, Rgb::hex(0x2A3A6A), 0.8);
        }
        cairo_restore(cr);
    } else if (kind == "key") {
        cairo_arc(cr, cx - 5 * u, cy, 3.5 * u, 0, 2 * M_PI);
        cairo_arc_negative(cr, cx - 5 * u, cy, 1.8 * u, 2 * M_PI, 0);
        fillLinear(cr, cx - 9 * u, 0, cx + 9 * u, 0, {{0, kGoldLight}, {1, kGoldDark}});
        cairo_rectangle(cr, cx - 1.6 * u, cy - 0.8 * u, 10 * u, 1.6 * u);
        cairo_rectangle(cr, cx + 5 * u, cy + 0.8 * u, 1.4 * u, 2.6 * u);
        cairo_rectangle(cr, cx + 7.4 * u, cy + 0.8 * u, 1.4 * u, 1.8 * u);
        fillLinear(cr, cx, 0, cx + 9 * u, 0, {{0, kGoldLight}, {1, kGoldDark}});
    } else if (kind == "compass") {
        ellipsePath(cr, cx, cy, 8 * u, 8 * u);
        fillLinear(cr, cx - 8 * u, cy - 8 * u, cx + 8 * u, cy + 8 * u, {{0, kGoldLight}, {1, kGoldDark}});
        ellipsePath(cr, cx, cy, 6.6 * u, 6.6 * u);
        setColor(cr, kCream);
        cairo_fill(cr);
        polygon(cr, {{cx, cy - 5.5 * u}, {cx + 1.2 * u, cy}, {cx, cy + 5.5 * u}, {cx - 1.2 * u, cy}});
        setColor(cr, kWine);
        cairo_fill(cr);
        polygon(cr, {{cx, cy}, {cx + 1.2 * u, cy}, {cx, cy + 5.5 * u}, {cx - 1.2 * u, cy}});
        setColor(cr, kInk);
        cairo_fill(cr);
        ellipsePath(cr, cx, cy - 9 * u, 1.5 * u, 1.2 * u);
        cairo_set_line_width(cr, 0.6 * u);
        setColor(cr, kGoldDark);
        cairo_stroke(cr);
    } else if (kind == "brooch") {
        // A magpie brooch: a little black-and-white bird set in gold.
        ellipsePath(cr, cx, cy, 8 * u, 6 * u);
        fillLinear(cr, cx - 8 * u, cy - 6 * u, cx + 8 * u, cy + 6 * u, {{0, kGoldLight}, {1, kGoldDark}});
        ellipsePath(cr, cx - 0.5 * u, cy + 0.5 * u, 4 * u, 2.4 * u);
        setColor(cr, Rgb::hex(0x1E2028));
        cairo_fill(cr);
        polygon(cr, {{cx + 2.5 * u, cy}, {cx + 7 * u, cy - 2.5 * u}, {cx + 7 * u, cy - 1 * u}, {cx + 3 * u, cy + 1.5 * u}});
        setColor(cr, Rgb::hex(0x2A3A5A));
        cairo_fill(cr);
        ellipsePath(cr, cx - 4 * u, cy - 1.5 * u, 1.6 * u, 1.6 * u);
        setColor(cr, Rgb::hex(0x1E2028));
        cairo_fill(cr);
        ellipsePath(cr, cx - 0.8 * u, cy + 1.2 * u, 2 * u, 1 * u);
        setColor(cr, Rgb::hex(0xF4F4F0));
        cairo_fill(cr);
    } else if (kind == "photo") {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, -0.06);
        cairo_rectangle(cr, -9 * u, -7 * u, 18 * u, 14 * u);
        setColor(cr, Rgb::hex(0xF4EEDC));
        cairo_fill(cr);
        cairo_rectangle(cr, -8 * u, -6 * u, 16 * u, 10 * u);
        fillLinear(cr, 0, -6 * u, 0, 4 * u, {{0, Rgb::hex(0x8A7A64)}, {1, Rgb::hex(0x4A3E30)}});
        // An easel holding a painting, in sepia.
        strokeLine(cr, 0, -5 * u, -3 * u, 4 * u, 0.5 * u, Rgb::hex(0x2A2018));
        strokeLine(cr, 0, -5 * u, 3 * u, 4 * u, 0.5 * u, Rgb::hex(0x2A2018));
        cairo_rectangle(cr, -3.5 * u, -4 * u, 7 * u, 5 * u);
        setColor(cr, Rgb::hex(0xC8B898));
        cairo_fill(cr);
        cairo_restore(cr);
    } else if (kind == "map") {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        for (int i = 0; i < 4; ++i) {
            double x0 = -9 * u + i * 4.5 * u;
            polygon(cr, {{x0, -6 * u + (i % 2) * u}, {x0 + 4.5 * u, -6 * u + ((i + 1) % 2) * u}, {x0 + 4.5 * u, 6 * u + ((i + 1) % 2) * u},
                         {x0, 6 * u + (i % 2) * u}});
            setColor(cr, i % 2 ? Rgb::hex(0xE8D8B0) : Rgb::hex(0xF4E8C8));
            cairo_fill(cr);
        }
        for (int i = 0; i < 4; ++i) {
            cairo_rectangle(cr, -7 * u + i * 4 * u, -2 * u + (i % 2) * 2 * u, 2 * u, 2 * u);
            setColor(cr, Rgb::hex(0xC82A2A));
            cairo_fill(cr);
        }
        cairo_restore(cr);
    } else if (kind == "seal") {
        blobPath(cr, cx, cy, 7.5 * u, 7.2 * u, 0.12, rng, 14);
        fillRadial(cr, cx - 2 * u, cy - 2 * u, 1, 9 * u, {{0, Rgb::hex(0xD84A3A)}, {1, kWine}});
        ellipsePath(cr, cx, cy, 5 * u, 5 * u);
        cairo_set_line_width(cr, 0.6 * u);
        setColor(cr, darken(kWine, 0.4));
        cairo_stroke(cr);
        polygon(cr, {{cx - 2.5 * u, cy}, {cx + 2.5 * u, cy - 1.5 * u}, {cx + 1 * u, cy + 1 * u}});
        setColor(cr, darken(kWine, 0.4));
        cairo_fill(cr);
    } else if (kind == "ring") {
        ellipsePath(cr, cx, cy + 1.5 * u, 6.5 * u, 5.5 * u);
        cairo_set_line_width(cr, 2 * u);
        setColor(cr, kGold);
        cairo_stroke(cr);
        roundedRect(cr, cx - 3 * u, cy - 7 * u, 6 * u, 4.5 * u, u);
        fillLinear(cr, 0, cy - 7 * u, 0, cy - 2.5 * u, {{0, kGoldLight}, {1, kGoldDark}});
        polygon(cr, {{cx - 1.5 * u, cy - 4.5 * u}, {cx + 1.5 * u, cy - 5.5 * u}, {cx + 0.5 * u, cy - 4 * u}});
        setColor(cr, kInk);
        cairo_fill(cr);
    } else if (kind == "glove") {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, -0.3);
        Rgb c = Rgb::hex(0xE8DCC4);
        roundedRect(cr, -4.5 * u, -1 * u, 9 * u, 10 * u, 2 * u);
        setColor(cr, c);
        cairo_fill(cr);
        for (int i = 0; i < 4; ++i) {
            roundedRect(cr, -4.5 * u + i * 2.3 * u, -8 * u + std::abs(i - 1.5) * u, 2 * u, 8 * u, u);
            cairo_fill(cr);
        }
        roundedRect(cr, -8 * u, 0, 4.5 * u, 2.2 * u, u);
        cairo_fill(cr);
        // Paint stains on it.
        const unsigned stains[] = {0x3A6AB8, 0xC83A3A, 0xF2C030};
        for (int i = 0; i < 3; ++i) {
            blobPath(cr, rng.range(-3, 3) * u, rng.range(-4, 6) * u, 1.6 * u, 1.2 * u, 0.3, rng, 8);
            setColor(cr, Rgb::hex(stains[i]));
            cairo_fill(cr);
        }
        cairo_restore(cr);
    } else if (kind == "button") {
        ellipsePath(cr, cx, cy, 7 * u, 7 * u);
        fillRadial(cr, cx - 2 * u, cy - 2 * u, 1, 8 * u, {{0, Rgb::hex(0x8A5A3A)}, {1, Rgb::hex(0x4A2E1A)}});
        ellipsePath(cr, cx, cy, 5.2 * u, 5.2 * u);
        cairo_set_line_width(cr, 0.5 * u);
        setColor(cr, Rgb::hex(0x2A1A10));
        cairo_stroke(cr);
        for (int i = 0; i < 4; ++i) {
            ellipsePath(cr, cx + (i % 2 ? 1.6 : -1.6) * u, cy + (i < 2 ? -1.6 : 1.6) * u, 0.8 * u, 0.8 * u);
            setColor(cr, Rgb::hex(0x1A0E08));
            cairo_fill(cr);
        }
    } else if (kind == "feather") {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, 0.6);
        cairo_move_to(cr, 0, -10 * u);
        cairo_curve_to(cr, 4 * u, -5 * u, 3.5 * u, 4 * u, 0, 8 * u);
        cairo_curve_to(cr, -3.5 * u, 4 * u, -4 * u, -5 * u, 0, -10 * u);
        fillLinear(cr, -4 * u, 0, 4 * u, 0, {{0, Rgb::hex(0x1E2028)}, {0.5, Rgb::hex(0x2A3A6A)}, {1, Rgb::hex(0x1E2028)}});
        strokeLine(cr, 0, -10 * u, 0, 10 * u, 0.4 * u, Rgb::hex(0xD8D8D8));
        cairo_restore(cr);
    } else if (kind == "stamp") {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, 0.1);
        double w = 7 * u, h = 8.5 * u;
        cairo_rectangle(cr, -w, -h, 2 * w, 2 * h);
        setColor(cr, Rgb::hex(0xF8F4EA));
        cairo_fill(cr);
        for (int i = 0; i <= 8; ++i) {
            for (int side = -1; side <= 1; side += 2) {
                ellipsePath(cr, -w + i * w / 4, side * h, 0.6 * u, 0.6 * u);
                ellipsePath(cr, side * w, -h + i * h / 4, 0.6 * u, 0.6 * u);
                cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
                cairo_fill(cr);
                cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
            }
        }
        cairo_rectangle(cr, -w + 1.5 * u, -h + 1.5 * u, 2 * w - 3 * u, 2 * h - 3 * u);
        setColor(cr, Rgb::hex(0x3A6A8A));
        cairo_fill(cr);
        polygon(cr, {{-3 * u, 2 * u}, {3 * u, -1 * u}, {1 * u, 3 * u}});
        setColor(cr, kCream);
        cairo_fill(cr);
        cairo_restore(cr);
    }
}

void artEvidence(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    std::string kind = a.args.text("kind");
    if (!isClue(kind)) a.args.fail("unknown clue \"" + kind + "\"");
    // The index card, filling the frame: its box is where a touch opens the clue.
    for (int i = 0; i < 5; ++i) {
        cairo_rectangle(cr, 8 - i, 10 - i, W - 14 + 2 * i, H - 16 + 2 * i);
        setColor(cr, {0, 0, 0}, 0.06);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, 4, 4, W - 12, H - 14);
    fillLinear(cr, 0, 0, W, H, {{0, Rgb::hex(0xFFFCF2)}, {1, kParchment}});
    for (int i = 1; i < 8; ++i) strokeLine(cr, 20, 4 + i * (H - 14) / 8, W - 28, 4 + i * (H - 14) / 8, 1, Rgb::hex(0x8AB0C8), 0.35);
    strokeLine(cr, 60, 8, 60, H - 14, 1.5, Rgb::hex(0xD86A6A), 0.5);
    Rng r = a.rng.fork("clue");
    softEllipse(cr, W / 2 + 6, H / 2 + 12, W * 0.32, H * 0.3, {0, 0, 0}, 0.18);
    clue(cr, kind, W / 2, H / 2, std::min(W, H) * 0.78, r);
}

// Tobbin, the museum's cat, proudly showing the clue it keeps.
void artLook(ArtContext& a) {
    cairo_t* cr = a.cr;
    double W = a.w, H = a.h;
    std::string kind = a.args.text("kind");
    if (!isClue(kind)) a.args.fail("unknown clue \"" + kind + "\"");
    ArtFn cat = ArtRegistry::instance().find("cat");
    if (!cat) a.args.fail("the cat art is not registered");
    Look look;
    ArtContext ctx{cr, W, H, a.args, a.rng, look};
    cat(ctx);
    Rng r = a.rng.fork("clue");
    double s = W * 0.42;
    softEllipse(cr, W * 0.5, H * 0.78, s * 0.55, s * 0.5, Rgb::hex(0xFFF4D0), 0.7);
    clue(cr, kind, W * 0.5, H * 0.78, s, r);
    // Paws holding it up.
    for (int side = -1; side <= 1; side += 2) {
        ellipsePath(cr, W * 0.5 + side * s * 0.42, H * 0.86, W * 0.08, H * 0.05);
        setColor(cr, Rgb::hex(0xF6E7CF));
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 1.5);
        setColor(cr, Rgb::hex(0x6A4A2A), 0.8);
        cairo_stroke(cr);
    }
}

}  // namespace

void registerEvidenceArt(ArtRegistry& r) {
    r.add("evidence", artEvidence);
    r.add("look", artLook);
}

}  // namespace assetgen
