#pragma once

#include <cairo.h>

#include "art/Art.h"
#include "core/Draw.h"

namespace assetgen::kit {

// Small shading vocabulary the object families share: an outline, fills lit from the
// picture's light side or from above, and a mirror for objects that face the other way.

inline void edge(cairo_t* cr, const Rgb& c, double width = 1.2, double alpha = 0.8) {
    cairo_set_line_width(cr, width);
    setColor(cr, c, alpha);
    cairo_stroke(cr);
}

inline void sideLit(cairo_t* cr, const Look& look, double x0, double x1, const Rgb& c, bool preserve = false) {
    Rgb l = look.lit(c, 0.3), m = look.tone(c), d = look.dark(c, 0.5);
    if (look.fromLeft() > 0) fillLinear(cr, x0, 0, x1, 0, {{0, l}, {0.45, m}, {1, d}}, preserve);
    else fillLinear(cr, x0, 0, x1, 0, {{0, d}, {0.55, m}, {1, l}}, preserve);
}

inline void topLit(cairo_t* cr, const Look& look, double y0, double y1, const Rgb& c, bool preserve = false) {
    fillLinear(cr, 0, y0, 0, y1, {{0, look.lit(c, 0.3)}, {0.5, look.tone(c)}, {1, look.dark(c, 0.45)}}, preserve);
}

// A filled shape lit from the side with a darker outline.
inline void solid(cairo_t* cr, const Look& look, double x0, double x1, const Rgb& c, double line = 1.0) {
    sideLit(cr, look, x0, x1, c, true);
    edge(cr, look.dark(c, 0.6), line, 0.7);
}

inline void flat(cairo_t* cr, const Look& look, const Rgb& c, double alpha = 1.0) {
    setColor(cr, look.tone(c), alpha);
    cairo_fill(cr);
}

inline void flipIf(cairo_t* cr, bool flip, double w) {
    if (flip) {
        cairo_translate(cr, w, 0);
        cairo_scale(cr, -1, 1);
    }
}

}  // namespace assetgen::kit
