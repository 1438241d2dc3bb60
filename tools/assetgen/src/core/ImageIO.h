#pragma once

#include <string>
#include <vector>

#include "core/Image.h"

namespace assetgen {

// 8-bit RGBA PNG, non-interlaced, straight alpha; no time or text chunks, so bytes are stable.
std::vector<unsigned char> encodePng(const Image& image);
// 8-bit RGB baseline JPEG (alpha dropped over black is never wanted: callers pass opaque images).
std::vector<unsigned char> encodeJpeg(const Image& image, int quality = 90);

}  // namespace assetgen
