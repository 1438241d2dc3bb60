#include "art/Tools.h"

#include <cmath>

#include "art/Theme.h"
#include "core/Draw.h"

namespace assetgen {

using namespace theme;

namespace {

void outline(cairo_t* cr, double width, const Rgb& c, double alpha = 0.9) {
    cairo_set_line_width(cr, width);
    setColor(cr, c, alpha);
    cairo_stroke(cr);
}

// A cylinder-like shading across the tool's width (y from -hw to hw).
void bodyFill(cairo_t* cr, double hw, const Rgb& base, bool preserve = true) {
    fillLinear(cr, 0, -hw, 0, hw,
               {{0.0, lighten(base, 0.45)}, {0.3, base}, {0.75, darken(base, 0.25)}, {1.0, darken(base, 0.45)}},
               preserve);
}

void drawSpray(cairo_t* cr, double L) {
    double hw = L * 0.2;
    // Rubber bulb.
    ellipsePath(cr, L * 0.83, 0, L * 0.17, L * 0.17);
    bodyFill(cr, L * 0.17, Rgb::hex(0xB2352E));
    outline(cr, 1.2, darken(kWine, 0.5));
    // Tube from the bulb to the bottle.
    cairo_rectangle(cr, L * 0.6, -L * 0.035, L * 0.1, L * 0.07);
    bodyFill(cr, L * 0.035, Rgb::hex(0x8E2A25));
    cairo_new_path(cr);
    // Glass bottle.
    roundedRect(cr, L * 0.16, -hw, L * 0.46, 2 * hw, hw * 0.7);
    bodyFill(cr, hw, Rgb::hex(0x9FD8D0));
    cairo_save(cr);
    cairo_clip_preserve(cr);
    cairo_rectangle(cr, L * 0.16, -hw * 0.1, L * 0.46, hw * 1.2);
    fillLinear(cr, 0, -hw * 0.1, 0, hw, {{0, kReagent}, {1, darken(kReagent, 0.35)}});
    cairo_restore(cr);
    outline(cr, 1.3, darken(kTeal, 0.4));
    // Glint.
    roundedRect(cr, L * 0.22, -hw * 0.72, L * 0.3, hw * 0.22, hw * 0.1);
    setColor(cr, {1, 1, 1}, 0.6);
    cairo_fill(cr);
    // Brass neck and nozzle; the spray leaves at the origin.
    cairo_rectangle(cr, L * 0.08, -hw * 0.42, L * 0.09, hw * 0.84);
    bodyFill(cr, hw * 0.42, kGold);
    outline(cr, 1.0, kGoldDark);
    polygon(cr, {{0, -hw * 0.12}, {L * 0.09, -hw * 0.26}, {L * 0.09, hw * 0.26}, {0, hw * 0.12}});
    bodyFill(cr, hw * 0.26, kGoldLight);
    outline(cr, 1.0, kGoldDark);
}

void drawEraser(cairo_t* cr, double L) {
    double hw = L * 0.17;
    // Paper sleeve at the back.
    roundedRect(cr, L * 0.4, -hw, L * 0.6, 2 * hw, hw * 0.25);
    bodyFill(cr, hw, Rgb::hex(0x3D6FA8));
    cairo_save(cr);
    cairo_clip_preserve(cr);
    for (int i = 0; i < 3; ++i) {
        double x = L * (0.52 + 0.14 * i);
        cairo_rectangle(cr, x, -hw, L * 0.05, 2 * hw);
    }
    setColor(cr, kCream, 0.85);
    cairo_fill(cr);
    cairo_restore(cr);
    outline(cr, 1.2, Rgb::hex(0x1F3B5E));
    // Rubber; its front edge is slightly bevelled and meets the origin.
    cairo_move_to(cr, L * 0.43, -hw);
    cairo_line_to(cr, L * 0.06, -hw);
    cairo_curve_to(cr, 0, -hw, 0, -hw * 0.6, 0, -hw * 0.3);
    cairo_line_to(cr, 0, hw * 0.3);
    cairo_curve_to(cr, 0, hw * 0.6, 0, hw, L * 0.06, hw);
    cairo_line_to(cr, L * 0.43, hw);
    cairo_close_path(cr);
    bodyFill(cr, hw, Rgb::hex(0xEFA3A0));
    outline(cr, 1.2, Rgb::hex(0x9C4A4A));
    // Worn crumbs on the front face.
    cairo_rectangle(cr, L * 0.02, -hw * 0.8, L * 0.05, hw * 1.6);
    setColor(cr, {1, 1, 1}, 0.35);
    cairo_fill(cr);
}

void drawBrush(cairo_t* cr, double L) {
    // Handle, lacquered and tapering to the end.
    cairo_move_to(cr, L * 0.4, -L * 0.075);
    cairo_curve_to(cr, L * 0.7, -L * 0.09, L * 0.9, -L * 0.06, L, -L * 0.035);
    cairo_line_to(cr, L, L * 0.035);
    cairo_curve_to(cr, L * 0.9, L * 0.06, L * 0.7, L * 0.09, L * 0.4, L * 0.075);
    cairo_close_path(cr);
    bodyFill(cr, L * 0.09, Rgb::hex(0xA3362A));
    outline(cr, 1.1, darken(kWine, 0.5));
    // Brass ferrule.
    polygon(cr, {{L * 0.26, -L * 0.085}, {L * 0.42, -L * 0.08}, {L * 0.42, L * 0.08}, {L * 0.26, L * 0.085}});
    bodyFill(cr, L * 0.085, kGold);
    outline(cr, 1.0, kGoldDark);
    for (int i = 0; i < 2; ++i) strokeLine(cr, L * (0.31 + 0.05 * i), -L * 0.08, L * (0.31 + 0.05 * i), L * 0.08, 0.8, kGoldDark, 0.7);
    // Bristles to a fine point, dipped in paint.
    cairo_move_to(cr, L * 0.27, -L * 0.085);
    cairo_curve_to(cr, L * 0.16, -L * 0.1, L * 0.06, -L * 0.05, 0, 0);
    cairo_curve_to(cr, L * 0.06, L * 0.05, L * 0.16, L * 0.1, L * 0.27, L * 0.085);
    cairo_close_path(cr);
    bodyFill(cr, L * 0.1, Rgb::hex(0xD9B77E));
    cairo_save(cr);
    cairo_clip_preserve(cr);
    cairo_rectangle(cr, 0, -L * 0.2, L * 0.12, L * 0.4);
    setColor(cr, Rgb::hex(0x2E8A7E), 0.95);
    cairo_fill(cr);
    cairo_restore(cr);
    outline(cr, 1.0, Rgb::hex(0x6B4A22));
}

void drawKnife(cairo_t* cr, double L) {
    // Wooden handle with a brass ferrule.
    roundedRect(cr, L * 0.58, -L * 0.075, L * 0.42, L * 0.15, L * 0.07);
    bodyFill(cr, L * 0.075, Rgb::hex(0x7A4A26));
    outline(cr, 1.1, kWalnutDark);
    cairo_rectangle(cr, L * 0.53, -L * 0.06, L * 0.07, L * 0.12);
    bodyFill(cr, L * 0.06, kGold);
    outline(cr, 1.0, kGoldDark);
    // Cranked neck.
    cairo_move_to(cr, L * 0.53, 0);
    cairo_line_to(cr, L * 0.44, L * 0.015);
    cairo_set_line_width(cr, L * 0.03);
    setColor(cr, Rgb::hex(0x6E7378));
    cairo_stroke(cr);
    // The steel blade, a long leaf with its point at the origin.
    cairo_move_to(cr, 0, 0);
    cairo_curve_to(cr, L * 0.12, -L * 0.1, L * 0.34, -L * 0.12, L * 0.45, -L * 0.02);
    cairo_line_to(cr, L * 0.45, L * 0.04);
    cairo_curve_to(cr, L * 0.34, L * 0.1, L * 0.12, L * 0.08, 0, 0);
    cairo_close_path(cr);
    fillLinear(cr, 0, -L * 0.12, 0, L * 0.1,
               {{0, Rgb::hex(0xF4F7FA)}, {0.45, Rgb::hex(0xB9C1C8)}, {1, Rgb::hex(0x6B737B)}}, true);
    outline(cr, 1.0, Rgb::hex(0x3F464D));
    strokeLine(cr, L * 0.04, -L * 0.005, L * 0.4, -L * 0.03, 0.8, {1, 1, 1}, 0.7);
}

void drawNeedle(cairo_t* cr, double L) {
    // Thread through the eye, a loose loop.
    cairo_move_to(cr, L * 0.9, 0);
    cairo_curve_to(cr, L * 1.05, -L * 0.35, L * 0.55, -L * 0.42, L * 0.5, -L * 0.18);
    cairo_curve_to(cr, L * 0.46, -L * 0.02, L * 0.7, L * 0.1, L * 0.98, L * 0.18);
    cairo_set_line_width(cr, std::max(1.5, L * 0.035));
    setColor(cr, Rgb::hex(0xC8323C));
    cairo_stroke(cr);
    // Steel shaft with its point at the origin.
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, L * 0.2, -L * 0.022);
    cairo_line_to(cr, L * 0.95, -L * 0.03);
    cairo_arc(cr, L * 0.95, 0, L * 0.03, -M_PI / 2, M_PI / 2);
    cairo_line_to(cr, L * 0.2, L * 0.022);
    cairo_close_path(cr);
    fillLinear(cr, 0, -L * 0.03, 0, L * 0.03, {{0, Rgb::hex(0xFFFFFF)}, {0.5, Rgb::hex(0xAEB6BE)}, {1, Rgb::hex(0x5C646C)}},
               true);
    outline(cr, 0.8, Rgb::hex(0x3F464D));
    // The eye.
    ellipsePath(cr, L * 0.9, 0, L * 0.035, L * 0.012);
    setColor(cr, Rgb::hex(0x30363C));
    cairo_fill(cr);
}

}  // namespace

bool isToolKind(const std::string& k) {
    return k == "spray" || k == "eraser" || k == "brush" || k == "knife" || k == "needle";
}

void drawTool(cairo_t* cr, const std::string& kind, double length) {
    cairo_save(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    if (kind == "spray") drawSpray(cr, length);
    else if (kind == "eraser") drawEraser(cr, length);
    else if (kind == "brush") drawBrush(cr, length);
    else if (kind == "knife") drawKnife(cr, length);
    else if (kind == "needle") drawNeedle(cr, length);
    cairo_restore(cr);
}

bool isGlyph(const std::string& n) {
    static const char* names[] = {"hint", "puzzle", "gear", "palette", "check", "cross", "pause", "plus",
                                  "minus", "play", "arrow", "menu", "reset", "skip"};
    for (const char* s : names) {
        if (n == s) return true;
    }
    return false;
}

void drawGlyph(cairo_t* cr, const std::string& name, double cx, double cy, double size, double r, double g, double b) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    double s = size / 2.0;
    cairo_set_source_rgb(cr, r, g, b);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    if (name == "hint") {
        // A magnifying glass.
        cairo_arc(cr, -s * 0.18, -s * 0.18, s * 0.52, 0, 2 * M_PI);
        cairo_set_line_width(cr, s * 0.2);
        cairo_stroke(cr);
        cairo_move_to(cr, s * 0.22, s * 0.22);
        cairo_line_to(cr, s * 0.78, s * 0.78);
        cairo_set_line_width(cr, s * 0.28);
        cairo_stroke(cr);
        cairo_arc(cr, -s * 0.18, -s * 0.18, s * 0.4, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, r, g, b, 0.25);
        cairo_fill(cr);
    } else if (name == "puzzle") {
        double k = s * 0.62;
        cairo_move_to(cr, -k, -k);
        cairo_line_to(cr, -k * 0.3, -k);
        cairo_arc(cr, 0, -k, k * 0.32, M_PI, 2 * M_PI);
        cairo_line_to(cr, k, -k);
        cairo_line_to(cr, k, -k * 0.3);
        cairo_arc(cr, k, 0, k * 0.32, -M_PI / 2, M_PI / 2);
        cairo_line_to(cr, k, k);
        cairo_line_to(cr, k * 0.3, k);
        cairo_arc_negative(cr, 0, k, k * 0.32, 0, M_PI);
        cairo_line_to(cr, -k, k);
        cairo_line_to(cr, -k, k * 0.3);
        cairo_arc_negative(cr, -k, 0, k * 0.32, M_PI / 2, -M_PI / 2);
        cairo_close_path(cr);
        cairo_fill(cr);
    } else if (name == "gear") {
        int teeth = 8;
        for (int i = 0; i < teeth * 2; ++i) {
            double a0 = M_PI * i / teeth, a1 = M_PI * (i + 1) / teeth;
            double rad = (i % 2 == 0) ? s * 0.82 : s * 0.62;
            if (i == 0) cairo_move_to(cr, std::cos(a0) * rad, std::sin(a0) * rad);
            cairo_line_to(cr, std::cos(a0) * rad, std::sin(a0) * rad);
            cairo_line_to(cr, std::cos(a1) * rad, std::sin(a1) * rad);
        }
        cairo_close_path(cr);
        cairo_new_sub_path(cr);
        cairo_arc_negative(cr, 0, 0, s * 0.26, 2 * M_PI, 0);
        cairo_fill(cr);
    } else if (name == "palette") {
        cairo_new_sub_path(cr);
        cairo_move_to(cr, s * 0.1, -s * 0.8);
        cairo_curve_to(cr, s * 0.9, -s * 0.8, s * 0.95, s * 0.3, s * 0.55, s * 0.55);
        cairo_curve_to(cr, s * 0.25, s * 0.75, s * 0.15, s * 0.35, -s * 0.15, s * 0.6);
        cairo_curve_to(cr, -s * 0.55, s * 0.95, -s * 0.95, s * 0.4, -s * 0.85, -s * 0.1);
        cairo_curve_to(cr, -s * 0.75, -s * 0.55, -s * 0.4, -s * 0.8, s * 0.1, -s * 0.8);
        cairo_close_path(cr);
        cairo_new_sub_path(cr);
        cairo_arc_negative(cr, s * 0.3, s * 0.2, s * 0.13, 2 * M_PI, 0);
        cairo_fill(cr);
    } else if (name == "check") {
        cairo_move_to(cr, -s * 0.62, s * 0.02);
        cairo_line_to(cr, -s * 0.18, s * 0.5);
        cairo_line_to(cr, s * 0.7, -s * 0.5);
        cairo_set_line_width(cr, s * 0.3);
        cairo_stroke(cr);
    } else if (name == "cross") {
        cairo_move_to(cr, -s * 0.5, -s * 0.5);
        cairo_line_to(cr, s * 0.5, s * 0.5);
        cairo_move_to(cr, s * 0.5, -s * 0.5);
        cairo_line_to(cr, -s * 0.5, s * 0.5);
        cairo_set_line_width(cr, s * 0.3);
        cairo_stroke(cr);
    } else if (name == "pause") {
        roundedRect(cr, -s * 0.55, -s * 0.7, s * 0.38, s * 1.4, s * 0.1);
        roundedRect(cr, s * 0.17, -s * 0.7, s * 0.38, s * 1.4, s * 0.1);
        cairo_fill(cr);
    } else if (name == "plus" || name == "minus") {
        cairo_move_to(cr, -s * 0.6, 0);
        cairo_line_to(cr, s * 0.6, 0);
        if (name == "plus") {
            cairo_move_to(cr, 0, -s * 0.6);
            cairo_line_to(cr, 0, s * 0.6);
        }
        cairo_set_line_width(cr, s * 0.3);
        cairo_stroke(cr);
    } else if (name == "play") {
        polygon(cr, {{-s * 0.4, -s * 0.65}, {s * 0.65, 0}, {-s * 0.4, s * 0.65}});
        cairo_fill(cr);
    } else if (name == "arrow") {
        cairo_move_to(cr, s * 0.3, -s * 0.7);
        cairo_line_to(cr, -s * 0.4, 0);
        cairo_line_to(cr, s * 0.3, s * 0.7);
        cairo_set_line_width(cr, s * 0.32);
        cairo_stroke(cr);
    } else if (name == "menu") {
        for (int i = -1; i <= 1; ++i) {
            cairo_move_to(cr, -s * 0.6, i * s * 0.45);
            cairo_line_to(cr, s * 0.6, i * s * 0.45);
        }
        cairo_set_line_width(cr, s * 0.24);
        cairo_stroke(cr);
    } else if (name == "reset") {
        cairo_arc(cr, 0, 0, s * 0.55, -M_PI * 0.35, M_PI * 1.35);
        cairo_set_line_width(cr, s * 0.24);
        cairo_stroke(cr);
        double a = -M_PI * 0.35;
        double ex = std::cos(a) * s * 0.55, ey = std::sin(a) * s * 0.55;
        polygon(cr, {{ex + s * 0.32, ey - s * 0.12}, {ex - s * 0.1, ey - s * 0.35}, {ex - s * 0.05, ey + s * 0.22}});
        cairo_fill(cr);
    } else if (name == "skip") {
        for (int i = 0; i < 2; ++i) {
            double ox = -s * 0.35 + i * s * 0.55;
            cairo_move_to(cr, ox - s * 0.2, -s * 0.6);
            cairo_line_to(cr, ox + s * 0.35, 0);
            cairo_line_to(cr, ox - s * 0.2, s * 0.6);
        }
        cairo_set_line_width(cr, s * 0.26);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

}  // namespace assetgen
