#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace cocos2d {
namespace imagecodec {

// Decodes a PNG or a JPEG into straight RGBA8, rows top first. Thread-safe. The size is read from
// the file's header first: an image wider or higher than the largest texture, or larger decoded
// than a fixed cap, is refused before anything is allocated for it. A JPEG cut short, and any other
// format, are refused too; error then says why. A JPEG whose data is damaged but still gives every
// row (the decoder steps over the damage and fills what is missing grey) is decoded, and `warning`,
// when given, says what is wrong; it is left empty for a sound image.
bool decode(const unsigned char* data, size_t length, std::vector<unsigned char>& rgba, int& width, int& height,
            std::string& error, std::string* warning = nullptr);
// The largest width or height decode takes; the GL view sets it to the context's maximum texture
// size (0 or below restores the default used without a context).
void setMaxTextureSide(int pixels);
int maxTextureSide();

// Writes straight RGBA8 (rows top first) as PNG; with `withAlpha` false the alpha channel is dropped.
bool savePng(const std::string& path, const unsigned char* rgba, int width, int height, bool withAlpha,
             std::string& error);
// Writes the colour channels of straight RGBA8 as JPEG.
bool saveJpeg(const std::string& path, const unsigned char* rgba, int width, int height, int quality,
              std::string& error);

}  // namespace imagecodec
}  // namespace cocos2d
