#pragma once

#include <cairo.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "core/Color.h"
#include "core/Rng.h"

namespace assetgen {

struct Pt {
    double x = 0, y = 0;
};

struct Stop {
    double at;
    Rgb color;
    double alpha = 1.0;
};

// Small drawing vocabulary over Cairo shared by every art family.
void setColor(cairo_t* cr, const Rgb& c, double alpha = 1.0);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry);
void polygon(cairo_t* cr, std::initializer_list<Pt> pts);
void polygon(cairo_t* cr, const std::vector<Pt>& pts);
// A smooth curve through the points (Catmull-Rom turned into Béziers).
void smoothPath(cairo_t* cr, const std::vector<Pt>& pts, bool closed);
// An organic closed shape around (cx, cy): an ellipse whose radius wobbles by up to `wobble`.
void blobPath(cairo_t* cr, double cx, double cy, double rx, double ry, double wobble, Rng& rng, int points = 12);

// Fill (and keep) the current path with a gradient.
void fillLinear(cairo_t* cr, double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops,
                bool preserve = false);
void fillRadial(cairo_t* cr, double cx, double cy, double r0, double r1, std::initializer_list<Stop> stops,
                bool preserve = false);
void fillLinear(cairo_t* cr, double x0, double y0, double x1, double y1, const std::vector<Stop>& stops,
                bool preserve = false);
// A soft elliptical shadow or glow (radial fade to nothing).
void softEllipse(cairo_t* cr, double cx, double cy, double rx, double ry, const Rgb& c, double alpha);
void strokeLine(cairo_t* cr, double x0, double y0, double x1, double y1, double width, const Rgb& c,
                double alpha = 1.0);

// Value noise in [0, 1] on a unit lattice, and its fractal sum.
double valueNoise(double x, double y, std::uint64_t seed);
double fbm(double x, double y, std::uint64_t seed, int octaves = 4);

}  // namespace assetgen
