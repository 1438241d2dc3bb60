#pragma once

#include <cairo.h>

#include "art/Art.h"
#include "core/Draw.h"

namespace assetgen {

// Pieces that scenes and their objects share, so that an object drawn on its own matches the
// background it stands in front of.

// A soft cumulus or a streak of cloud lit from one side.
void cloud(cairo_t* cr, double cx, double cy, double w, double h, const Rgb& lit, const Rgb& shade, Rng& rng,
           double alpha = 1.0, int puffs = 9);
// A long thin streak of cloud, lit from below (dawn and dusk skies).
void cloudStreak(cairo_t* cr, double cx, double cy, double w, double h, const Rgb& lit, const Rgb& shade, Rng& rng,
                 double alpha = 0.8);
// A band of hills: the silhouette from x0 to x1 around height y with the given roughness,
// filled down to `bottom`.
void hills(cairo_t* cr, double x0, double x1, double y, double amplitude, double bottom, const Rgb& top,
           const Rgb& low, std::uint64_t seed, double scale = 180.0);
// Horizontal ripples over water between y0 and y1: light and dark dashes, closer near the horizon.
void ripples(cairo_t* cr, double x0, double x1, double y0, double y1, const Rgb& light, const Rgb& dark, Rng& rng,
             double density = 1.0);
// A reflection: darkened, wavering vertical streaks of a colour under an object on water.
void reflection(cairo_t* cr, double x0, double x1, double y, double depth, const Rgb& c, Rng& rng, double alpha = 0.5);
// A ground shadow ellipse under a standing object.
void groundShadow(cairo_t* cr, double cx, double cy, double rx, double ry, const Look& look, double alpha = 0.35);
// A cylinder standing upright (barrels, buckets, posts): body from y0 to y1, centre cx,
// radius r, ellipse depth e for the rims; lit from the look's side.
void cylinder(cairo_t* cr, double cx, double y0, double y1, double r, double e, const Rgb& c, const Look& look);
// Tufts of grass along a ground line.
void grassTufts(cairo_t* cr, double x0, double x1, double y, double height, const Rgb& c, Rng& rng, double density = 1.0);
// A simple tree: trunk and a crown of leafy blobs.
void tree(cairo_t* cr, double cx, double baseY, double height, const Rgb& leaf, const Rgb& trunk, const Look& look,
          Rng& rng);

}  // namespace assetgen
