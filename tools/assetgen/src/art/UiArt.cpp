// Interface art: panels, buttons, bars, bubbles, cursors, stars, the flask and the HUD parts.
#include <cmath>

#include "art/Art.h"
#include "art/Theme.h"
#include "art/Tools.h"
#include "core/Draw.h"
#include "core/Fonts.h"
#include "core/Image.h"

namespace assetgen {

using namespace theme;

namespace {

// A brass band following a rounded rectangle, `t` px wide, lit from the top-left.
void brassRim(cairo_t* cr, double x, double y, double w, double h, double r, double t) {
    roundedRect(cr, x, y, w, h, r);
    roundedRect(cr, x + t, y + t, w - 2 * t, h - 2 * t, std::max(1.0, r - t));
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    fillLinear(cr, x, y, x + w * 0.3, y + h,
               {{0, kGoldLight}, {0.35, kGold}, {0.6, kGoldDark}, {0.8, kGold}, {1, kGoldLight}});
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    roundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, r);
    cairo_set_line_width(cr, 1.0);
    setColor(cr, darken(kGoldDark, 0.4), 0.9);
    cairo_stroke(cr);
    roundedRect(cr, x + t - 0.5, y + t - 0.5, w - 2 * t + 1, h - 2 * t + 1, std::max(1.0, r - t));
    setColor(cr, darken(kGoldDark, 0.3), 0.8);
    cairo_stroke(cr);
}

// Paper with soft stains and fibres.
void parchmentFill(cairo_t* cr, double x, double y, double w, double h, double r, Rng& rng, const Rgb& base) {
    roundedRect(cr, x, y, w, h, r);
    fillRadial(cr, x + w / 2, y + h / 2, 0, std::max(w, h) * 0.7,
               {{0, lighten(base, 0.25)}, {0.7, base}, {1, darken(base, 0.12)}}, true);
    cairo_save(cr);
    cairo_clip(cr);
    int stains = static_cast<int>(w * h / 9000) + 3;
    for (int i = 0; i < stains; ++i) {
        double cx = x + rng.unit() * w, cy = y + rng.unit() * h;
        double rad = rng.range(0.04, 0.16) * std::min(w, h) + 6;
        softEllipse(cr, cx, cy, rad, rad * rng.range(0.6, 1.2), darken(base, 0.25), 0.08);
    }
    int fibres = static_cast<int>(w * h / 600);
    for (int i = 0; i < fibres; ++i) {
        double cx = x + rng.unit() * w, cy = y + rng.unit() * h;
        double a = rng.range(0, M_PI), l = rng.range(3, 12);
        strokeLine(cr, cx, cy, cx + std::cos(a) * l, cy + std::sin(a) * l, 0.6, darken(base, 0.3), 0.12);
    }
    cairo_restore(cr);
}

void woodFill(cairo_t* cr, double x, double y, double w, double h, double r, Rng& rng, const Rgb& base) {
    roundedRect(cr, x, y, w, h, r);
    fillLinear(cr, x, y, x, y + h, {{0, lighten(base, 0.18)}, {0.5, base}, {1, darken(base, 0.3)}}, true);
    cairo_save(cr);
    cairo_clip(cr);
    std::uint64_t seed = rng.next();
    for (double yy = y; yy < y + h; yy += 2.5) {
        double wob = 0;
        cairo_move_to(cr, x, yy);
        for (double xx = x; xx <= x + w; xx += 8) {
            wob = (fbm(xx / 60.0, yy / 9.0, seed, 3) - 0.5) * 6.0;
            cairo_line_to(cr, xx, yy + wob);
        }
        cairo_set_line_width(cr, rng.range(0.6, 1.6));
        setColor(cr, rng.chance(0.5) ? darken(base, 0.35) : lighten(base, 0.15), rng.range(0.08, 0.22));
        cairo_stroke(cr);
    }
    // Top sheen.
    roundedRect(cr, x, y, w, h * 0.45, r);
    fillLinear(cr, x, y, x, y + h * 0.45, {{0, {1, 1, 1}, 0.16}, {1, {1, 1, 1}, 0.0}});
    cairo_restore(cr);
}

void dropShadow(cairo_t* cr, double x, double y, double w, double h, double r, double spread, double alpha) {
    for (int i = 0; i < 6; ++i) {
        double k = spread * (1.0 - i / 6.0);
        roundedRect(cr, x - k * 0.5, y - k * 0.2, w + k, h + k, r + k);
        setColor(cr, {0, 0, 0}, alpha / 6.0);
        cairo_fill(cr);
    }
}

void glyphWithShadow(cairo_t* cr, const std::string& glyph, double cx, double cy, double size, const Rgb& c) {
    drawGlyph(cr, glyph, cx + 1.5, cy + 2, size, 0, 0, 0);
    cairo_push_group(cr);
    drawGlyph(cr, glyph, cx + 1.5, cy + 2, size, 0, 0, 0);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, 0.0);
    drawGlyph(cr, glyph, cx, cy, size, c.r, c.g, c.b);
}

// --- panels ---------------------------------------------------------------------------------

void artPanel(ArtContext& a) {
    std::string style = a.args.text("style", "parchment");
    double r = a.args.number("radius", 26);
    double t = a.args.number("border", 10);
    double m = a.args.number("margin", 6);
    cairo_t* cr = a.cr;
    double x = m, y = m, w = a.w - 2 * m, h = a.h - 2 * m;
    dropShadow(cr, x, y + 3, w, h, r, m * 1.6, 0.35);
    if (style == "wood") woodFill(cr, x, y, w, h, r, a.rng, kWalnut);
    else if (style == "dark") woodFill(cr, x, y, w, h, r, a.rng, kWalnutDark);
    else parchmentFill(cr, x, y, w, h, r, a.rng, a.args.color("color", kParchment));
    brassRim(cr, x, y, w, h, r, t);
    // A fine inner line and studs at the corners.
    double in = t + 6;
    roundedRect(cr, x + in, y + in, w - 2 * in, h - 2 * in, std::max(2.0, r - in));
    cairo_set_line_width(cr, 1.2);
    setColor(cr, style == "parchment" ? kParchmentDark : kGold, 0.8);
    cairo_stroke(cr);
    if (a.args.flag("studs", true)) {
        for (int i = 0; i < 4; ++i) {
            double sx = (i % 2 == 0) ? x + t / 2 + r * 0.3 : x + w - t / 2 - r * 0.3;
            double sy = (i < 2) ? y + t / 2 + r * 0.3 : y + h - t / 2 - r * 0.3;
            ellipsePath(cr, sx, sy, t * 0.45, t * 0.45);
            fillRadial(cr, sx - t * 0.15, sy - t * 0.15, 0, t * 0.55, {{0, kCream}, {0.4, kGoldLight}, {1, kGoldDark}});
        }
    }
}

void artPlaque(ArtContext& a) {
    double r = a.args.number("radius", 18);
    cairo_t* cr = a.cr;
    double m = 4;
    dropShadow(cr, m, m + 2, a.w - 2 * m, a.h - 2 * m, r, 6, 0.4);
    woodFill(cr, m, m, a.w - 2 * m, a.h - 2 * m, r, a.rng, a.args.color("color", kWalnut));
    brassRim(cr, m, m, a.w - 2 * m, a.h - 2 * m, r, a.args.number("border", 5));
}

// --- buttons -----------------------------------------------------------------------------

void buttonFace(cairo_t* cr, double x, double y, double w, double h, double r, const Rgb& c, bool pressed) {
    roundedRect(cr, x, y, w, h, r);
    if (pressed) fillLinear(cr, x, y, x, y + h, {{0, darken(c, 0.3)}, {1, c}}, true);
    else fillLinear(cr, x, y, x, y + h, {{0, lighten(c, 0.3)}, {0.5, c}, {1, darken(c, 0.3)}}, true);
    cairo_new_path(cr);
    if (!pressed) {
        roundedRect(cr, x + 4, y + 3, w - 8, h * 0.42, std::max(2.0, r - 4));
        fillLinear(cr, x, y, x, y + h * 0.45, {{0, {1, 1, 1}, 0.42}, {1, {1, 1, 1}, 0.04}});
    }
}

void artButton(ArtContext& a) {
    cairo_t* cr = a.cr;
    Rgb c = a.args.color("color", kTeal);
    std::string state = a.args.text("state", "normal");
    double r = a.args.number("radius", std::min(a.h * 0.38, 26.0));
    std::string icon = a.args.text("icon", "");
    double iconSize = a.args.number("iconSize", a.h * 0.5);
    double iconX = a.args.number("iconX", a.w / 2);
    bool pressed = state == "pressed";
    if (state == "disabled") c = mix(c, Rgb::hex(0x8A8580), 0.75);
    double m = 4, t = std::max(3.0, a.h * 0.07);
    dropShadow(cr, m, m + 2, a.w - 2 * m, a.h - 2 * m - 2, r, 4, pressed ? 0.15 : 0.35);
    roundedRect(cr, m, m, a.w - 2 * m, a.h - 2 * m - 2, r);
    fillLinear(cr, 0, m, 0, a.h - m, {{0, kGoldLight}, {0.5, kGold}, {1, kGoldDark}});
    buttonFace(cr, m + t, m + t, a.w - 2 * (m + t), a.h - 2 * (m + t) - 2, r - t, c, pressed);
    roundedRect(cr, m + 0.5, m + 0.5, a.w - 2 * m - 1, a.h - 2 * m - 3, r);
    cairo_set_line_width(cr, 1);
    setColor(cr, darken(kGoldDark, 0.5), 0.9);
    cairo_stroke(cr);
    if (!icon.empty()) {
        if (!isGlyph(icon)) a.args.fail("unknown icon \"" + icon + "\"");
        glyphWithShadow(cr, icon, iconX, a.h / 2 - 1 + (pressed ? 1 : 0), iconSize,
                        state == "disabled" ? Rgb::hex(0xDDD6CC) : kCream);
    }
}

// A round medallion button holding a glyph or a tool.
void artMedallion(ArtContext& a) {
    cairo_t* cr = a.cr;
    Rgb c = a.args.color("color", kTeal);
    std::string state = a.args.text("state", "normal");
    std::string icon = a.args.text("icon", "");
    std::string tool = a.args.text("tool", "");
    double cx = a.w / 2, cy = a.h / 2;
    double R = std::min(a.w, a.h) / 2 - 4;
    bool selected = state == "selected";
    if (selected) R += 2;
    softEllipse(cr, cx + 1, cy + 4, R + 2, R + 2, {0, 0, 0}, selected ? 0.25 : 0.45);
    ellipsePath(cr, cx, cy, R, R);
    if (selected) {
        // The chosen tool: a bright, warm rim that reads at a glance.
        fillLinear(cr, cx - R, cy - R, cx + R * 0.4, cy + R,
                   {{0, Rgb::hex(0xFFFBE0)}, {0.4, Rgb::hex(0xFFE27A)}, {0.75, kGold}, {1, Rgb::hex(0xFFF0B0)}});
    } else {
        fillLinear(cr, cx - R, cy - R, cx + R * 0.4, cy + R,
                   {{0, kGoldLight}, {0.45, kGold}, {0.75, kGoldDark}, {1, kGold}});
    }
    double ri = R * 0.84;
    ellipsePath(cr, cx, cy, ri, ri);
    Rgb face = selected ? lighten(c, 0.35) : c;
    fillRadial(cr, cx - ri * 0.3, cy - ri * 0.35, ri * 0.1, ri * 1.25,
               {{0, lighten(face, 0.35)}, {0.6, face}, {1, darken(face, 0.4)}});
    ellipsePath(cr, cx, cy, ri, ri);
    cairo_set_line_width(cr, 1.2);
    setColor(cr, darken(kGoldDark, 0.4), 0.8);
    cairo_stroke(cr);
    if (!tool.empty()) {
        if (!isToolKind(tool)) a.args.fail("unknown tool \"" + tool + "\"");
        double L = ri * 1.9;
        cairo_save(cr);
        // Tip towards the bottom-left, body up to the right.
        cairo_translate(cr, cx - L * 0.36, cy + L * 0.36);
        cairo_rotate(cr, -M_PI / 4);
        cairo_translate(cr, 2, 3);
        cairo_push_group(cr);
        drawTool(cr, tool, L);
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, 0.35);
        cairo_translate(cr, -2, -3);
        drawTool(cr, tool, L);
        cairo_restore(cr);
    } else if (!icon.empty()) {
        if (!isGlyph(icon)) a.args.fail("unknown icon \"" + icon + "\"");
        glyphWithShadow(cr, icon, cx, cy, ri * 1.1, kCream);
    }
    // Glass sheen over the top half.
    cairo_save(cr);
    ellipsePath(cr, cx, cy - ri * 0.35, ri * 0.78, ri * 0.5);
    fillLinear(cr, 0, cy - ri * 0.85, 0, cy, {{0, {1, 1, 1}, selected ? 0.45 : 0.32}, {1, {1, 1, 1}, 0}});
    cairo_restore(cr);
}

void artGlow(ArtContext& a) {
    double cx = a.w / 2, cy = a.h / 2, R = std::min(a.w, a.h) / 2;
    ellipsePath(a.cr, cx, cy, R, R);
    fillRadial(a.cr, cx, cy, R * 0.55, R, {{0, kGoldLight, 0}, {0.35, kGoldLight, 0.85}, {1, kGoldLight, 0}});
}

void artBadge(ArtContext& a) {
    double cx = a.w / 2, cy = a.h / 2, R = std::min(a.w, a.h) / 2 - 1;
    ellipsePath(a.cr, cx, cy, R, R);
    fillLinear(a.cr, 0, 0, 0, a.h, {{0, kGoldLight}, {1, kGoldDark}});
    ellipsePath(a.cr, cx, cy, R - 2.5, R - 2.5);
    fillRadial(a.cr, cx - 3, cy - 4, 1, R, {{0, Rgb::hex(0xE05A4E)}, {1, Rgb::hex(0x8E1F22)}});
}

void artField(ArtContext& a) {
    cairo_t* cr = a.cr;
    double r = a.args.number("radius", 12);
    roundedRect(cr, 1, 1, a.w - 2, a.h - 2, r);
    fillLinear(cr, 0, 0, 0, a.h, {{0, kGoldDark}, {1, kGoldLight}});
    roundedRect(cr, 4, 4, a.w - 8, a.h - 8, r - 3);
    fillLinear(cr, 0, 4, 0, a.h - 4, {{0, Rgb::hex(0xE8DCC0)}, {0.25, kCream}, {1, Rgb::hex(0xFFFBF1)}});
    roundedRect(cr, 4, 4, a.w - 8, 8, r - 3);
    fillLinear(cr, 0, 4, 0, 12, {{0, {0, 0, 0}, 0.18}, {1, {0, 0, 0}, 0}});
}

// --- bars, stars, coins --------------------------------------------------------------------

void artBar(ArtContext& a) {
    cairo_t* cr = a.cr;
    std::string part = a.args.text("part", "back");
    double r = a.h / 2;
    if (part == "back") {
        roundedRect(cr, 1, 1, a.w - 2, a.h - 2, r);
        fillLinear(cr, 0, 0, 0, a.h, {{0, kGoldLight}, {0.5, kGold}, {1, kGoldDark}});
        roundedRect(cr, 4, 4, a.w - 8, a.h - 8, r - 3);
        fillLinear(cr, 0, 4, 0, a.h - 4, {{0, Rgb::hex(0x1E140C)}, {1, Rgb::hex(0x3E2B1C)}});
    } else if (part == "frame") {
        // A rim with a clear window, drawn over a filler.
        roundedRect(cr, 1, 1, a.w - 2, a.h - 2, r);
        roundedRect(cr, 8, 7, a.w - 16, a.h - 14, std::max(2.0, r - 7));
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        fillLinear(cr, 0, 0, 0, a.h, {{0, kGoldLight}, {0.5, kGold}, {1, kGoldDark}});
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        roundedRect(cr, 8, 7, a.w - 16, (a.h - 14) * 0.45, std::max(2.0, r - 7));
        setColor(cr, {1, 1, 1}, 0.12);
        cairo_fill(cr);
    } else {
        Rgb c = a.args.color("color", kReagent);
        roundedRect(cr, 0, 0, a.w, a.h, r);
        fillLinear(cr, 0, 0, 0, a.h, {{0, lighten(c, 0.45)}, {0.45, c}, {1, darken(c, 0.35)}});
        roundedRect(cr, 3, 2, a.w - 6, a.h * 0.35, r * 0.6);
        setColor(cr, {1, 1, 1}, 0.35);
        cairo_fill(cr);
    }
}

void starPath(cairo_t* cr, double cx, double cy, double R, double inner) {
    for (int i = 0; i < 10; ++i) {
        double ang = -M_PI / 2 + i * M_PI / 5;
        double rad = (i % 2 == 0) ? R : R * inner;
        if (i == 0) cairo_move_to(cr, cx + std::cos(ang) * rad, cy + std::sin(ang) * rad);
        else cairo_line_to(cr, cx + std::cos(ang) * rad, cy + std::sin(ang) * rad);
    }
    cairo_close_path(cr);
}

void artStar(ArtContext& a) {
    cairo_t* cr = a.cr;
    bool lit = a.args.flag("lit", true);
    double cx = a.w / 2, cy = a.h / 2 + a.h * 0.03, R = std::min(a.w, a.h) / 2 - 2;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    if (lit) {
        if (a.args.flag("glow", false)) {
            ellipsePath(cr, cx, cy, R + 1, R + 1);
            fillRadial(cr, cx, cy, R * 0.2, R + 1, {{0, kGoldLight, 0.7}, {1, kGoldLight, 0}});
        }
        starPath(cr, cx, cy, R * 0.92, 0.48);
        fillLinear(cr, cx - R, cy - R, cx + R * 0.5, cy + R, {{0, Rgb::hex(0xFFF2B0)}, {0.5, Rgb::hex(0xF5C242)}, {1, Rgb::hex(0xB97A12)}},
                   true);
        cairo_set_line_width(cr, std::max(1.0, R * 0.07));
        setColor(cr, Rgb::hex(0x7A4C08));
        cairo_stroke(cr);
        // Facets.
        for (int i = 0; i < 5; ++i) {
            double ang = -M_PI / 2 + i * 2 * M_PI / 5;
            strokeLine(cr, cx, cy, cx + std::cos(ang) * R * 0.8, cy + std::sin(ang) * R * 0.8, std::max(0.8, R * 0.03),
                       {1, 1, 1}, 0.45);
        }
    } else {
        starPath(cr, cx, cy, R * 0.92, 0.48);
        setColor(cr, Rgb::hex(0x2A1E14), 0.75);
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, std::max(1.0, R * 0.06));
        setColor(cr, Rgb::hex(0x8C6A3C), 0.8);
        cairo_stroke(cr);
    }
}

void artStarSlot(ArtContext& a) {
    cairo_t* cr = a.cr;
    double cx = a.w / 2, cy = a.h / 2, R = std::min(a.w, a.h) / 2 - 1;
    ellipsePath(cr, cx, cy, R, R);
    fillLinear(cr, 0, 0, 0, a.h, {{0, kGoldDark}, {1, kGoldLight}});
    ellipsePath(cr, cx, cy, R - 3, R - 3);
    fillRadial(cr, cx, cy - R * 0.3, 1, R, {{0, Rgb::hex(0x120C08)}, {1, Rgb::hex(0x3A2A1C)}});
    starPath(cr, cx, cy + 1, R * 0.66, 0.48);
    setColor(cr, Rgb::hex(0x6E5330), 0.45);
    cairo_fill(cr);
}

void artCoin(ArtContext& a) {
    cairo_t* cr = a.cr;
    double cx = a.w / 2, cy = a.h / 2, R = std::min(a.w, a.h) / 2 - 1.5;
    softEllipse(cr, cx + 1, cy + 2, R, R, {0, 0, 0}, 0.35);
    ellipsePath(cr, cx, cy, R, R);
    fillLinear(cr, cx - R, cy - R, cx + R, cy + R, {{0, Rgb::hex(0xFFF0A8)}, {0.5, Rgb::hex(0xE8B435)}, {1, Rgb::hex(0x9A6410)}});
    ellipsePath(cr, cx, cy, R * 0.78, R * 0.78);
    cairo_set_line_width(cr, std::max(1.0, R * 0.08));
    setColor(cr, Rgb::hex(0x9A6410), 0.8);
    cairo_stroke(cr);
    cairo_new_path(cr);
    Fonts::textPath(cr, "K", FontKind::SerifBold, R * 1.15, cx, cy + R * 0.4, 0.5);
    setColor(cr, Rgb::hex(0x8A5508), 0.9);
    cairo_fill(cr);
}

// --- the flask ------------------------------------------------------------------------------

// The inside of the tube: a tall rounded shape the liquid and the glass share.
void tubePath(cairo_t* cr, double x, double y, double w, double h) {
    double r = w / 2;
    cairo_move_to(cr, x, y + r * 0.4);
    cairo_line_to(cr, x, y + h - r);
    cairo_arc_negative(cr, x + r, y + h - r, r, M_PI, 0);
    cairo_line_to(cr, x + w, y + r * 0.4);
    cairo_close_path(cr);
}

void artFlaskFill(ArtContext& a) {
    cairo_t* cr = a.cr;
    Rgb c = a.args.color("color", kReagent);
    tubePath(cr, 0, 0, a.w, a.h);
    fillLinear(cr, 0, 0, a.w, 0, {{0, darken(c, 0.35)}, {0.3, lighten(c, 0.2)}, {0.55, c}, {1, darken(c, 0.45)}}, true);
    cairo_save(cr);
    cairo_clip(cr);
    for (int i = 0; i < 26; ++i) {
        double bx = a.rng.range(8, a.w - 8), by = a.rng.range(10, a.h - 10), br = a.rng.range(1.5, 4.5);
        ellipsePath(cr, bx, by, br, br);
        setColor(cr, {1, 1, 1}, 0.25);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, a.w * 0.18, 0, a.w * 0.12, a.h);
    setColor(cr, {1, 1, 1}, 0.18);
    cairo_fill(cr);
    cairo_restore(cr);
}

void artFlaskFrame(ArtContext& a) {
    cairo_t* cr = a.cr;
    // The filler sits at (inset, top) .. (w - inset, top + fillH) of this frame.
    double inset = a.args.number("inset", 15);
    double top = a.args.number("top", 22);
    double fillH = a.args.number("fillHeight", 300);
    double tx = inset - 4, tw = a.w - 2 * inset + 8, ty = top - 6, th = fillH + 10;
    // Glass: faint tint, bright rim.
    tubePath(cr, tx, ty, tw, th);
    setColor(cr, Rgb::hex(0xCFEFF0), 0.12);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 5);
    setColor(cr, Rgb::hex(0xE8FAFF), 0.55);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 1.5);
    setColor(cr, Rgb::hex(0x2B4A4E), 0.9);
    cairo_stroke(cr);
    // Reflections.
    cairo_rectangle(cr, tx + tw * 0.14, ty + 18, tw * 0.09, th - 50);
    setColor(cr, {1, 1, 1}, 0.5);
    cairo_fill(cr);
    cairo_rectangle(cr, tx + tw * 0.72, ty + 30, tw * 0.05, th - 90);
    setColor(cr, {1, 1, 1}, 0.28);
    cairo_fill(cr);
    // Graduation marks.
    for (int i = 1; i < 10; ++i) {
        double yy = ty + th - 12 - i * (th - 30) / 10.0;
        double len = (i % 5 == 0) ? tw * 0.35 : tw * 0.2;
        strokeLine(cr, tx + tw - 4 - len, yy, tx + tw - 4, yy, i % 5 == 0 ? 2.0 : 1.2, Rgb::hex(0x254044), 0.75);
    }
    // Brass collar and stopper on top, brass foot ring at the bottom.
    double cw = tw + 14;
    roundedRect(cr, a.w / 2 - cw / 2, 2, cw, top - 2, 6);
    fillLinear(cr, a.w / 2 - cw / 2, 0, a.w / 2 + cw / 2, 0,
               {{0, kGoldDark}, {0.3, kGoldLight}, {0.6, kGold}, {1, kGoldDark}}, true);
    cairo_set_line_width(cr, 1);
    setColor(cr, darken(kGoldDark, 0.5));
    cairo_stroke(cr);
    strokeLine(cr, a.w / 2 - cw / 2 + 3, top * 0.55, a.w / 2 + cw / 2 - 3, top * 0.55, 1.5, darken(kGoldDark, 0.3), 0.8);
    double fy = ty + th - 6;
    roundedRect(cr, a.w / 2 - cw / 2 + 4, fy, cw - 8, a.h - fy - 2, 6);
    fillLinear(cr, a.w / 2 - cw / 2, 0, a.w / 2 + cw / 2, 0,
               {{0, kGoldDark}, {0.3, kGoldLight}, {0.6, kGold}, {1, kGoldDark}}, true);
    setColor(cr, darken(kGoldDark, 0.5));
    cairo_stroke(cr);
}

// --- speech bubbles and the tutorial arrow ---------------------------------------------------

void artBubble(ArtContext& a) {
    cairo_t* cr = a.cr;
    std::string tail = a.args.text("tail", "none");
    double r = a.args.number("radius", 34);
    double m = 8;
    double left = (tail == "left") ? 44 : m;
    double x = left, y = m, w = a.w - left - m, h = a.h - 2 * m - 4;
    auto path = [&]() {
        roundedRect(cr, x, y, w, h, r);
        if (tail == "left") {
            // The tail points down-left towards the speaker.
            // Wound the same way as the rounded rectangle, so the union fills without a hole.
            cairo_move_to(cr, x + 30, y + h * 0.78);
            cairo_curve_to(cr, x + 14, y + h * 0.86, x - 10, y + h * 0.92, x - 38, y + h * 0.96);
            cairo_curve_to(cr, x - 28, y + h * 0.86, x - 12, y + h * 0.72, x + 4, y + h * 0.55);
            cairo_close_path(cr);
        }
    };
    // Shadow, then a wide rim under both shapes and the fill over it: the rim shows only
    // around the outside of their union, so bubble and tail read as one outline.
    cairo_save(cr);
    cairo_translate(cr, 2, 4);
    path();
    setColor(cr, {0, 0, 0}, 0.25);
    cairo_fill(cr);
    cairo_restore(cr);
    path();
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 7);
    setColor(cr, kGoldDark);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 5);
    setColor(cr, kGold);
    cairo_stroke_preserve(cr);
    fillLinear(cr, 0, y, 0, y + h, {{0, Rgb::hex(0xFFFCF3)}, {1, Rgb::hex(0xF1E4C8)}});
}

void artTutorialArrow(ArtContext& a) {
    cairo_t* cr = a.cr;
    // Points down-left; its tip is the bottom-left corner of the image.
    double s = std::min(a.w, a.h);
    cairo_save(cr);
    cairo_translate(cr, 0, a.h);
    cairo_rotate(cr, -M_PI / 4);  // +x now runs up-right, away from the tip
    auto shape = [&]() {
        // Along the diagonal: a broad head at the tip, then a short shaft curving gently away. The
        // whole arrow stays inside the square of 0.7 of the image at its tip, which a tutorial keeps
        // free of text in every direction (the text begins 90 of 128 out on both axes); a longer
        // tail would run into the text.
        double head = s * 0.54, hw = s * 0.32, sw = s * 0.13, len = s * 0.88;
        cairo_move_to(cr, 3, 0);
        cairo_line_to(cr, head, -hw);
        cairo_line_to(cr, head * 0.92, -sw);
        cairo_curve_to(cr, len * 0.6, -sw * 1.1, len * 0.85, -sw * 1.5, len, -sw * 1.8);
        cairo_line_to(cr, len, sw * 0.6);
        cairo_curve_to(cr, len * 0.85, sw * 0.8, len * 0.6, sw * 1.0, head * 0.92, sw);
        cairo_line_to(cr, head, hw);
        cairo_close_path(cr);
    };
    cairo_save(cr);
    cairo_translate(cr, 3, 3);
    shape();
    setColor(cr, {0, 0, 0}, 0.3);
    cairo_fill(cr);
    cairo_restore(cr);
    shape();
    fillLinear(cr, 0, -s * 0.3, 0, s * 0.3, {{0, Rgb::hex(0xFFF3B8)}, {0.5, Rgb::hex(0xF2B93A)}, {1, Rgb::hex(0xB5741A)}},
               true);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 3);
    setColor(cr, Rgb::hex(0x5A3508));
    cairo_stroke(cr);
    cairo_restore(cr);
}

// --- cursors -----------------------------------------------------------------------------

void artCursor(ArtContext& a) {
    cairo_t* cr = a.cr;
    double s = std::min(a.w, a.h);
    auto shape = [&]() {
        cairo_move_to(cr, 2, 2);
        cairo_line_to(cr, 2, s * 0.78);
        cairo_line_to(cr, s * 0.24, s * 0.6);
        cairo_line_to(cr, s * 0.38, s * 0.92);
        cairo_line_to(cr, s * 0.52, s * 0.85);
        cairo_line_to(cr, s * 0.39, s * 0.55);
        cairo_line_to(cr, s * 0.66, s * 0.55);
        cairo_close_path(cr);
    };
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_save(cr);
    cairo_translate(cr, 2, 2.5);
    shape();
    setColor(cr, {0, 0, 0}, 0.35);
    cairo_fill(cr);
    cairo_restore(cr);
    shape();
    fillLinear(cr, 0, 0, s, s, {{0, Rgb::hex(0xFFF6D0)}, {0.5, kGoldLight}, {1, kGold}}, true);
    cairo_set_line_width(cr, 2);
    setColor(cr, kInk);
    cairo_stroke(cr);
}

void artToolCursor(ArtContext& a) {
    cairo_t* cr = a.cr;
    std::string tool = a.args.text("tool");
    if (!isToolKind(tool)) a.args.fail("unknown tool \"" + tool + "\"");
    double L = std::hypot(a.w, a.h) * 0.7;
    cairo_save(cr);
    cairo_translate(cr, 2, a.h - 2);  // the hot spot: the bottom-left corner
    cairo_rotate(cr, -M_PI / 4);
    cairo_save(cr);
    cairo_translate(cr, 2, 3);
    cairo_push_group(cr);
    drawTool(cr, tool, L);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, 0.3);
    cairo_restore(cr);
    drawTool(cr, tool, L);
    cairo_restore(cr);
}

void artPauseBadge(ArtContext& a) {
    cairo_t* cr = a.cr;
    double cx = a.w / 2, cy = a.h / 2, R = std::min(a.w, a.h) / 2 - 6;
    softEllipse(cr, cx, cy + 6, R + 4, R + 4, {0, 0, 0}, 0.5);
    ellipsePath(cr, cx, cy, R, R);
    fillLinear(cr, 0, cy - R, 0, cy + R, {{0, kGoldLight}, {0.5, kGold}, {1, kGoldDark}});
    ellipsePath(cr, cx, cy, R * 0.88, R * 0.88);
    fillRadial(cr, cx, cy - R * 0.3, R * 0.1, R, {{0, lighten(kTeal, 0.2)}, {1, darken(kTeal, 0.5)}});
    glyphWithShadow(cr, "pause", cx, cy, R * 1.1, kCream);
}

// --- level damage --------------------------------------------------------------------------

// A paint splat in light grey; the board tints it with its blot colour.
void artBlot(ArtContext& a) {
    cairo_t* cr = a.cr;
    double cx = a.w / 2, cy = a.h / 2, R = std::min(a.w, a.h) * 0.34;
    blobPath(cr, cx, cy, R, R * a.rng.range(0.8, 1.0), 0.22, a.rng, 14);
    // A deeper body and a darker rim of thick paint, so the splat stands out on a pale blue sky too.
    fillRadial(cr, cx - R * 0.3, cy - R * 0.3, R * 0.1, R * 1.3,
               {{0, Rgb::hex(0xF4F6F8)}, {0.5, Rgb::hex(0xC8CED6)}, {0.85, Rgb::hex(0x929AA6)}, {1, Rgb::hex(0x6A7380)}});
    int drops = a.rng.irange(4, 7);
    for (int i = 0; i < drops; ++i) {
        double ang = a.rng.range(0, 2 * M_PI), d = R * a.rng.range(1.05, 1.35), rr = R * a.rng.range(0.08, 0.2);
        double dx = cx + std::cos(ang) * d, dy = cy + std::sin(ang) * d;
        dx = std::clamp(dx, rr + 1, a.w - rr - 1);
        dy = std::clamp(dy, rr + 1, a.h - rr - 1);
        ellipsePath(cr, dx, dy, rr, rr);
        fillRadial(cr, dx - rr * 0.3, dy - rr * 0.3, rr * 0.1, rr * 1.2, {{0, Rgb::hex(0xE2E6EA)}, {1, Rgb::hex(0x7A838E)}});
    }
    ellipsePath(cr, cx - R * 0.35, cy - R * 0.4, R * 0.25, R * 0.14);
    setColor(cr, {1, 1, 1}, 0.7);
    cairo_fill(cr);
}

namespace {

// A scrape is paint worn down to bare ground in streaks along the stroke: dark grooves and pale
// worn bands side by side, about half and half, and wide enough to read at a glance. Whatever an
// item's colour, half of the scrape is far from it; and it has no hue of its own (dirt is olive,
// a blot blue).
const Rgb kScrapeGroove = Rgb::hex(0x3A393B);
const Rgb kScrapeBand = Rgb::hex(0xE8E6E0);

double smoothStep(double lo, double hi, double v) {
    double t = clamp01((v - lo) / (hi - lo));
    return t * t * (3 - 2 * t);
}

// The scrape's colours over a w x h area, row by row: streaks along x, each pale where the streak
// field is above its own mean over the 25 x 25 pixels around it, so every part of the area (items
// show the middle of the texture) is about half groove and half pale band.
std::vector<Rgb> scrapeShades(int w, int h, std::uint64_t seed) {
    std::vector<double> streak(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) streak[static_cast<std::size_t>(y) * w + x] = fbm(x / 70.0, y / 2.4, seed, 3);
    }
    // Summed-area table for the local means.
    std::vector<double> sums(static_cast<std::size_t>(w + 1) * (h + 1), 0.0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            sums[static_cast<std::size_t>(y + 1) * (w + 1) + x + 1] = streak[static_cast<std::size_t>(y) * w + x] +
                                                                      sums[static_cast<std::size_t>(y) * (w + 1) + x + 1] +
                                                                      sums[static_cast<std::size_t>(y + 1) * (w + 1) + x] -
                                                                      sums[static_cast<std::size_t>(y) * (w + 1) + x];
        }
    }
    auto sumTo = [&](int x, int y) { return sums[static_cast<std::size_t>(y) * (w + 1) + x]; };
    std::vector<Rgb> shades(streak.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int x0 = std::max(0, x - 12), x1 = std::min(w, x + 13), y0 = std::max(0, y - 12), y1 = std::min(h, y + 13);
            double mean = (sumTo(x1, y1) - sumTo(x0, y1) - sumTo(x1, y0) + sumTo(x0, y0)) / ((x1 - x0) * (y1 - y0));
            double pale = smoothStep(mean - 0.04, mean + 0.04, streak[static_cast<std::size_t>(y) * w + x]);
            double wear = fbm(x / 20.0, y / 20.0, seed + 3, 2);
            shades[static_cast<std::size_t>(y) * w + x] = scale(mix(kScrapeGroove, kScrapeBand, pale), 0.92 + 0.16 * wear);
        }
    }
    return shades;
}

// Fine scratches across the streaks, one for every `every` square pixels, in turn dark and pale.
void drawScratches(cairo_t* cr, double w, double h, double every, Rng& rng) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    int n = static_cast<int>(w * h / every);
    for (int i = 0; i < n; ++i) {
        double l = rng.range(12.0, 48.0);
        double x = rng.range(-l * 0.5, w - l * 0.5), y = rng.range(0, h);
        double tilt = rng.range(-0.08, 0.08) * l;
        strokeLine(cr, x, y, x + l, y + tilt, rng.range(0.7, 1.3), i % 2 == 0 ? kScrapeGroove : kScrapeBand,
                   rng.range(0.6, 0.9));
    }
}

}  // namespace

// A patch of scraped paint, soft at its rim.
void artScrape(ArtContext& a) {
    cairo_t* cr = a.cr;
    std::uint64_t seed = a.rng.next();
    cairo_surface_t* s = cairo_get_target(cr);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    int W = static_cast<int>(a.w), H = static_cast<int>(a.h);
    double rx = a.w * 0.47, ry = a.h * 0.44;
    std::vector<Rgb> shades = scrapeShades(W, H, seed);
    for (int y = 0; y < H; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        for (int x = 0; x < W; ++x) {
            double dx = (x + 0.5 - a.w / 2) / rx, dy = (y + 0.5 - a.h / 2) / ry;
            double alpha = 0.95 * (1.0 - smoothStep(0.8, 1.0, std::sqrt(dx * dx + dy * dy)));
            const Rgb& c = shades[static_cast<std::size_t>(y) * W + x];
            row[x] = packPremultiplied(c.r, c.g, c.b, alpha);
        }
    }
    cairo_surface_mark_dirty(s);
    cairo_save(cr);
    ellipsePath(cr, a.w / 2, a.h / 2, rx * 0.85, ry * 0.85);
    cairo_clip(cr);
    drawScratches(cr, a.w, a.h, 200.0, a.rng);
    cairo_restore(cr);
}

// A tear in the canvas with frayed threads.
void artCut(ArtContext& a) {
    cairo_t* cr = a.cr;
    double cy = a.h / 2;
    std::vector<Pt> top, bot;
    int n = 12;
    for (int i = 0; i <= n; ++i) {
        double x = 8 + (a.w - 16) * i / n;
        double open = std::sin(M_PI * i / n) * a.h * 0.22;
        double j = a.rng.range(-1.5, 1.5);
        top.push_back({x, cy - open + j});
        bot.push_back({x, cy + open * 0.8 + j});
    }
    // Frayed threads around the slit.
    for (int i = 0; i < 40; ++i) {
        double x = a.rng.range(10, a.w - 10);
        double open = std::sin(M_PI * (x - 8) / (a.w - 16)) * a.h * 0.22;
        double side = a.rng.chance(0.5) ? -1 : 1;
        double y0 = cy + side * open * 0.9;
        strokeLine(cr, x, y0, x + a.rng.range(-3, 3), y0 + side * a.rng.range(2, 7), 1.0, Rgb::hex(0xE8DCC2), 0.9);
    }
    cairo_move_to(cr, top[0].x, top[0].y);
    for (const Pt& p : top) cairo_line_to(cr, p.x, p.y);
    for (auto it = bot.rbegin(); it != bot.rend(); ++it) cairo_line_to(cr, it->x, it->y);
    cairo_close_path(cr);
    setColor(cr, Rgb::hex(0x1A120C));
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 2);
    setColor(cr, Rgb::hex(0xF0E6D0), 0.9);
    cairo_stroke(cr);
}

// Mask textures for revealed items, opaque; the board draws them in the item's shape, in place of
// its picture. blot: light, glossy paint with thicker, darker drops, tinted blue by the board;
// scrape: the streaks and scratches of the scrape frames.
void artDamageTexture(ArtContext& a) {
    cairo_t* cr = a.cr;
    std::string kind = a.args.text("kind");
    if (kind != "blot" && kind != "scrape") a.args.fail("damage texture kind must be \"blot\" or \"scrape\"");
    std::uint64_t seed = a.rng.next();
    cairo_surface_t* s = cairo_get_target(cr);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    int W = static_cast<int>(a.w), H = static_cast<int>(a.h);
    std::vector<Rgb> shades = kind == "scrape" ? scrapeShades(W, H, seed) : std::vector<Rgb>{};
    for (int y = 0; y < H; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        for (int x = 0; x < W; ++x) {
            Rgb c;
            if (kind == "blot") {
                double n = fbm(x / 28.0, y / 28.0, seed, 4);
                double drops = fbm(x / 12.0, y / 12.0, seed + 5, 3);
                double v = 0.84 + 0.16 * smoothStep(0.35, 0.65, n) - 0.22 * smoothStep(0.60, 0.66, drops);
                c = {v, v, v};
            } else {
                c = shades[static_cast<std::size_t>(y) * W + x];
            }
            row[x] = packPremultiplied(c.r, c.g, c.b, 1.0);
        }
    }
    cairo_surface_mark_dirty(s);
    if (kind == "scrape") drawScratches(cr, a.w, a.h, 200.0, a.rng);
}

// Where to sew: a soft ring of dashes with little stitches.
void artCutTutor(ArtContext& a) {
    cairo_t* cr = a.cr;
    ellipsePath(cr, a.w / 2, a.h / 2, a.w / 2 - 4, a.h / 2 - 4);
    double dashes[] = {10, 7};
    cairo_set_dash(cr, dashes, 2, 0);
    cairo_set_line_width(cr, 4);
    setColor(cr, kGoldLight, 0.95);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    for (int i = 0; i < 5; ++i) {
        double x = a.w * 0.28 + i * a.w * 0.11;
        strokeLine(cr, x - 5, a.h / 2 - 9, x + 5, a.h / 2 + 9, 2.5, Rgb::hex(0xC8323C), 0.9);
    }
}

void artDrop(ArtContext& a) {
    cairo_t* cr = a.cr;
    Rgb c = a.args.color("color", kReagent);
    double w = a.w, h = a.h;
    cairo_move_to(cr, w / 2, 1);
    cairo_curve_to(cr, w * 0.55, h * 0.3, w - 1, h * 0.5, w - 1, h * 0.68);
    cairo_arc(cr, w / 2, h * 0.68, w / 2 - 1, 0, M_PI);
    cairo_curve_to(cr, 1, h * 0.5, w * 0.45, h * 0.3, w / 2, 1);
    cairo_close_path(cr);
    fillRadial(cr, w * 0.4, h * 0.62, 1, w * 0.7, {{0, lighten(c, 0.5)}, {0.6, c}, {1, darken(c, 0.4)}}, true);
    cairo_set_line_width(cr, 1);
    setColor(cr, darken(c, 0.55));
    cairo_stroke(cr);
    ellipsePath(cr, w * 0.38, h * 0.62, w * 0.12, h * 0.1);
    setColor(cr, {1, 1, 1}, 0.75);
    cairo_fill(cr);
}

// --- the picture border ----------------------------------------------------------------------

// The moulding's profile across its thickness: t = 0 at the outer edge, 1 at the picture.
Rgb mouldingAt(double t) {
    static const Stop stops[] = {{0.0, Rgb::hex(0x4A2E12)}, {0.12, Rgb::hex(0xB98A3A)}, {0.28, Rgb::hex(0xF4D88A)},
                                 {0.42, Rgb::hex(0xA57626)}, {0.55, Rgb::hex(0x6E4A18)}, {0.68, Rgb::hex(0xE0B860)},
                                 {0.82, Rgb::hex(0x8E6422)}, {0.92, Rgb::hex(0x3B2410)}, {1.0, Rgb::hex(0x2A190A)}};
    for (std::size_t i = 1; i < std::size(stops); ++i) {
        if (t <= stops[i].at) {
            double k = (t - stops[i - 1].at) / (stops[i].at - stops[i - 1].at);
            return mix(stops[i - 1].color, stops[i].color, k);
        }
    }
    return stops[std::size(stops) - 1].color;
}

// Horizontal strip; its bottom edge meets the picture. Uniform along x, so it stretches cleanly.
void artMouldingSide(ArtContext& a) {
    cairo_surface_t* s = cairo_get_target(a.cr);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    int W = static_cast<int>(a.w), H = static_cast<int>(a.h);
    for (int y = 0; y < H; ++y) {
        Rgb c = mouldingAt((y + 0.5) / H);
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        for (int x = 0; x < W; ++x) row[x] = packPremultiplied(c.r, c.g, c.b, 1.0);
    }
    cairo_surface_mark_dirty(s);
}

// The top-left corner: the same profile mitred along the diagonal; its bottom-right corner
// touches the picture's corner.
void artMouldingCorner(ArtContext& a) {
    cairo_surface_t* s = cairo_get_target(a.cr);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    int W = static_cast<int>(a.w), H = static_cast<int>(a.h);
    for (int y = 0; y < H; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        for (int x = 0; x < W; ++x) {
            double tx = (x + 0.5) / W, ty = (y + 0.5) / H;
            Rgb c = mouldingAt(std::min(tx, ty));
            // The mitre line catches a little light.
            if (std::fabs(tx - ty) < 0.5 / W) c = lighten(c, 0.15);
            row[x] = packPremultiplied(c.r, c.g, c.b, 1.0);
        }
    }
    cairo_surface_mark_dirty(s);
}

void artLogo(ArtContext& a) {
    cairo_t* cr = a.cr;
    std::string text = a.args.text("text", "Kestrova");
    double size = a.args.number("size", a.h * 0.62);
    double fit = Fonts::textWidth(text, FontKind::SerifBold, size);
    if (fit > a.w - 14) size *= (a.w - 14) / fit;
    double cx = a.w / 2, base = a.h * 0.7;
    Fonts::textPath(cr, text, FontKind::SerifBold, size, cx + 2, base + 3, 0.5);
    setColor(cr, {0, 0, 0}, 0.45);
    cairo_fill(cr);
    Fonts::textPath(cr, text, FontKind::SerifBold, size, cx, base, 0.5);
    fillLinear(cr, 0, base - size, 0, base, {{0, Rgb::hex(0xFFF4C4)}, {0.55, kGold}, {1, kGoldDark}}, true);
    cairo_set_line_width(cr, std::max(1.0, size * 0.035));
    setColor(cr, Rgb::hex(0x3B2408));
    cairo_stroke(cr);
    if (a.args.flag("flourish", true)) {
        double w = Fonts::textWidth(text, FontKind::SerifBold, size);
        strokeLine(cr, cx - w / 2, base + size * 0.16, cx + w / 2, base + size * 0.16, std::max(1.0, size * 0.05), kGold, 0.9);
        ellipsePath(cr, cx, base + size * 0.16, size * 0.08, size * 0.08);
        setColor(cr, kGoldLight);
        cairo_fill(cr);
    }
}

// Brush images: their alpha is the strength, opaque in the middle.
void artSoftBrush(ArtContext& a) {
    double core = a.args.number("core", 0.55);
    double cx = a.w / 2, cy = a.h / 2, R = std::min(a.w, a.h) / 2;
    ellipsePath(a.cr, cx, cy, R, R);
    fillRadial(a.cr, cx, cy, 0, R, {{0, {1, 1, 1}, 1}, {core, {1, 1, 1}, 1}, {1, {1, 1, 1}, 0}});
}

void artParticle(ArtContext& a) {
    cairo_t* cr = a.cr;
    std::string kind = a.args.text("kind");
    double cx = a.w / 2, cy = a.h / 2, R = std::min(a.w, a.h) / 2;
    if (kind == "soft") {
        ellipsePath(cr, cx, cy, R, R);
        fillRadial(cr, cx, cy, 0, R, {{0, {1, 1, 1}, 1}, {0.35, {1, 1, 1}, 0.8}, {1, {1, 1, 1}, 0}});
    } else if (kind == "star") {
        ellipsePath(cr, cx, cy, R, R);
        fillRadial(cr, cx, cy, 0, R, {{0, {1, 1, 1}, 0.9}, {0.3, {1, 0.95, 0.7}, 0.35}, {1, {1, 1, 1}, 0}});
        starPath(cr, cx, cy, R * 0.9, 0.35);
        setColor(cr, {1, 1, 0.92});
        cairo_fill(cr);
    } else if (kind == "coin") {
        ellipsePath(cr, cx, cy, R * 0.8, R * 0.8);
        fillLinear(cr, cx - R, cy - R, cx + R, cy + R, {{0, Rgb::hex(0xFFF6C0)}, {0.6, Rgb::hex(0xF0BE3C)}, {1, Rgb::hex(0xA86E12)}});
        ellipsePath(cr, cx - R * 0.25, cy - R * 0.3, R * 0.25, R * 0.15);
        setColor(cr, {1, 1, 1}, 0.8);
        cairo_fill(cr);
    } else if (kind == "bubble") {
        ellipsePath(cr, cx, cy, R * 0.8, R * 0.8);
        fillRadial(cr, cx, cy, R * 0.3, R * 0.8, {{0, {1, 1, 1}, 0.1}, {0.85, {1, 1, 1}, 0.45}, {1, {1, 1, 1}, 0.9}});
        ellipsePath(cr, cx - R * 0.3, cy - R * 0.3, R * 0.2, R * 0.14);
        setColor(cr, {1, 1, 1}, 0.9);
        cairo_fill(cr);
    } else if (kind == "spark") {
        for (int i = 0; i < 4; ++i) {
            double ang = i * M_PI / 4;
            cairo_save(cr);
            cairo_translate(cr, cx, cy);
            cairo_rotate(cr, ang);
            ellipsePath(cr, 0, 0, R * (i % 2 == 0 ? 0.95 : 0.55), R * 0.1);
            setColor(cr, {1, 1, 1}, 0.9);
            cairo_fill(cr);
            cairo_restore(cr);
        }
        ellipsePath(cr, cx, cy, R * 0.4, R * 0.4);
        fillRadial(cr, cx, cy, 0, R * 0.4, {{0, {1, 1, 1}, 1}, {1, {1, 1, 1}, 0}});
    } else {
        a.args.fail("particle kind must be soft, star, coin, bubble or spark");
    }
}

}  // namespace

void registerUiArt(ArtRegistry& r) {
    r.add("panel", artPanel);
    r.add("plaque", artPlaque);
    r.add("button", artButton);
    r.add("medallion", artMedallion);
    r.add("glow", artGlow);
    r.add("badge", artBadge);
    r.add("field", artField);
    r.add("bar", artBar);
    r.add("star", artStar);
    r.add("star_slot", artStarSlot);
    r.add("coin", artCoin);
    r.add("flask_fill", artFlaskFill);
    r.add("flask_frame", artFlaskFrame);
    r.add("bubble", artBubble);
    r.add("tutorial_arrow", artTutorialArrow);
    r.add("cursor", artCursor);
    r.add("tool_cursor", artToolCursor);
    r.add("pause_badge", artPauseBadge);
    r.add("blot", artBlot);
    r.add("scrape", artScrape);
    r.add("cut", artCut);
    r.add("damage_texture", artDamageTexture);
    r.add("cut_tutor", artCutTutor);
    r.add("drop", artDrop);
    r.add("moulding_side", artMouldingSide);
    r.add("moulding_corner", artMouldingCorner);
    r.add("logo", artLogo);
    r.add("soft_brush", artSoftBrush);
    r.add("particle", artParticle);
}

}  // namespace assetgen
