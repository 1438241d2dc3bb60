#pragma once

#include <memory>
#include <string>
#include <vector>

namespace cocos2d {
namespace ttf {

// A TrueType face opened at one pixel size, with an optional outline. SDL2_ttf keeps the glyphs it has
// rendered, so sharing one face per (file, size, outline) caches glyphs across labels. Main thread
// only.
struct Font;

struct FontMetrics {
    int height = 0;  // ascent minus descent: the height of a rendered line
    int ascent = 0;
    int descent = 0;   // negative below the baseline
    int lineSkip = 0;  // the font's recommended distance between baselines
};

// The shared face for (full path, pixel size, outline pixels). Null, with `error` set, when the file
// cannot be opened as a font.
std::shared_ptr<Font> openFont(const std::string& fullPath, int pixelSize, int outline, std::string& error);

FontMetrics metrics(const Font& font);
int outlineOf(const Font& font);

// Advance width in pixels of valid UTF-8 without newlines.
int textWidth(const Font& font, const std::string& utf8);

// Coverage of one line (0..255 per pixel, rows top first), `width` x `height`; an outlined face gives
// the outline shape, 2 x outline larger each way. Empty text gives width 0 and true.
bool renderLine(const Font& font, const std::string& utf8, std::vector<unsigned char>& coverage, int& width,
                int& height, std::string& error);

}  // namespace ttf
}  // namespace cocos2d
