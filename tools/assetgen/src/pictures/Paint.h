#pragma once

#include <cstdint>

#include "core/Color.h"
#include "core/Image.h"
#include "core/Recipe.h"
#include "core/Rng.h"

namespace assetgen {

// How a picture is turned from a clean drawing into a painting: layers of brush strokes that
// take their colour from the drawing and follow its edges, then the canvas and its varnish.
// Each country's recipes set these to give its own manner.
struct BrushStyle {
    double size = 12.0;        // width of the coarsest stroke, px
    int layers = 3;            // each further layer halves the width and only mends detail
    double length = 2.2;       // stroke length, in stroke widths
    double spacing = 0.8;      // distance between strokes, in stroke widths
    double alpha = 0.85;       // opacity of one stroke
    double threshold = 0.05;   // finer layers paint only where the canvas is this far from the drawing
    double flowAngle = 0.0;    // degrees; the direction strokes take where the drawing has no edge
    double flowWeight = 0.35;  // 0: always along edges; 1: always the flow angle
    double curl = 0.4;         // radians of slow, noise-driven wander of the direction
    double jitterLight = 0.05; // per-stroke colour variation
    double jitterHue = 4.0;
    double jitterSat = 0.05;
    double grain = 0.05;       // canvas weave
    double varnish = 0.0;      // warm yellowing of old varnish
    Rgb varnishColor = Rgb::hex(0xF2D9A0);
    double vignette = 0.0;     // darkening towards the corners
    double sweep = 1.0;        // how much longer strokes grow where the drawing is calm
    double bristle = 0.0;      // strength of the hair traces inside each stroke

    static BrushStyle read(const RecipeNode& node);
};

// Paints strokes sampled from `drawing` over `canvas` (same size). Transparent parts of the
// drawing get no strokes, and with `keepShape` the result is cut back to the drawing's outline,
// so an object keeps exactly the silhouette its hit mask is made from.
void paintStrokes(const Image& drawing, Image& canvas, const BrushStyle& style, Rng& rng, bool keepShape);

// Canvas weave, varnish and vignette, evaluated in picture coordinates: (ox, oy) is where the
// image lies in a picture of pictureW x pictureH, so items and background share one canvas.
void finishCanvas(Image& image, const BrushStyle& style, int ox, int oy, int pictureW, int pictureH,
                  std::uint64_t seed);

// A box blur of the given radius (a few passes give a soft underpainting).
void blur(Image& image, int radius);

}  // namespace assetgen
