#pragma once

#include <vector>

namespace cocos2d {
class Image;
}  // namespace cocos2d

// Measures for how a look drawn over a part of the picture reads against what was there, in
// CIELAB units (a difference of about 2 is just visible; 20 and more reads at a glance).
namespace testing {

struct Lab {
    double L = 0.0, a = 0.0, b = 0.0;
};

// An sRGB colour (8-bit channels) in CIELAB, D65 white.
Lab toLab(const unsigned char* rgb);
double deltaE(const Lab& p, const Lab& q);

// How text in one sRGB colour stands out from another, as the web's accessibility guidelines measure
// it: from 1 (the same lightness) to 21 (black on white); they ask 4.5 of body text, 3 of large text.
double contrastRatio(const unsigned char* rgb1, const unsigned char* rgb2);

// The pixels of an image region that a mask selects, each the mean colour of the square of
// (2 radius + 1)^2 pixels around it: single pixels of brushwork are not what the eye reads at a
// glance. The mask is w x h, rows from the top, and must leave those squares inside the image.
class LabPatch {
public:
    LabPatch(const cocos2d::Image& image, int x, int y, int w, int h, const std::vector<bool>& inside,
             int radius = 1);

    const std::vector<Lab>& samples() const { return _samples; }
    Lab mean() const;
    // How much the patch's pattern runs along x: the share of its change that comes from one row
    // to the next rather than from one column to the next, -1 to 1 (0 for an even mottle or a
    // flat colour, near 1 for streaks along x).
    double streakiness() const;

private:
    int _w = 0, _h = 0;
    std::vector<bool> _inside;
    std::vector<Lab> _grid;  // w x h, valid where inside
    std::vector<Lab> _samples;
};

// What a look adds to the patch under it: the shift of the mean colour, and the look's own pattern,
// the part of its pixels that no recolouring of the patch under it explains (the residual of the
// best affine map from the colours under it to its colours). A look that only recolours an item
// (the hat turned brown) adds no pattern, however far its colours move; a crust or scratches of
// their own add their whole texture. Both patches must hold the same pixels.
struct Added {
    double shift = 0.0;
    double pattern = 0.0;
    double total() const;
};
Added addedBy(const LabPatch& over, const LabPatch& under);

}  // namespace testing
