#pragma once

#include <string>
#include <vector>

#include "core/Image.h"

namespace assetgen {

// One frame of a sprite sheet: its exact name (with ".png", also in JPEG sheets) and its
// untrimmed, unrotated rectangle in the sheet image (top-left origin, y down).
struct SheetFrame {
    std::string name;
    int x = 0, y = 0, w = 0, h = 0;
};

struct SheetEntry {
    std::string name;
    Image image;
};

struct PackedSheet {
    Image image;
    std::vector<SheetFrame> frames;  // in the order of the entries given
};

// Packs frames into one image with 2 px of transparent padding around each, choosing the
// smallest power-of-two sheet that holds them (at most maxSize on either side). Placement
// depends only on the sizes and names, so the same entries always give the same sheet.
PackedSheet packSheet(std::vector<SheetEntry> entries, int maxSize, const std::string& sheetName);

// The frame list (XML property list, format 2) that the engine's sprite-frame cache reads:
// per frame its rectangle, offset {0,0}, rotated false, sourceColorRect {{0,0},size} and
// sourceSize = size; metadata with the sheet size and the image file name.
std::string frameListXml(const std::vector<SheetFrame>& frames, int sheetWidth, int sheetHeight,
                         const std::string& textureFileName);

}  // namespace assetgen
