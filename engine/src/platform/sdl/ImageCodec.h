#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace cocos2d {
namespace imagecodec {

// Decodes PNG or JPEG (anything SDL2_image reads) into straight RGBA8, rows top first. Thread-safe.
bool decode(const unsigned char* data, size_t length, std::vector<unsigned char>& rgba, int& width, int& height,
            std::string& error);
// Writes straight RGBA8 (rows top first) as PNG; with `withAlpha` false the alpha channel is dropped.
bool savePng(const std::string& path, const unsigned char* rgba, int width, int height, bool withAlpha,
             std::string& error);
// Writes the colour channels of straight RGBA8 as JPEG.
bool saveJpeg(const std::string& path, const unsigned char* rgba, int width, int height, int quality,
              std::string& error);

}  // namespace imagecodec
}  // namespace cocos2d
