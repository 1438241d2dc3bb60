#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/base/Ref.h"
#include "engine/base/Types.h"

namespace cocos2d {

// Decoded pixels: RGBA8, rows top first, alpha premultiplied. Decoding (PNG, JPEG) goes through
// SDL2_image. Saving writes PNG un-premultiplied and JPEG without alpha at quality 90.
class Image : public Ref {
public:
    enum class Format { JPG, PNG, UNKNOWN };

    Image() = default;
    static Image* create();

    // A file by full path or by a name FileUtils resolves. One log line naming the file on failure.
    bool initWithImageFile(const std::string& path);
    // An encoded file held in memory; `name` is used in the log line. A damaged picture that still
    // decodes (a JPEG whose data stops early at an end marker, for one) is taken, with a log line that
    // names what is wrong. With `error` given, nothing is logged and that line goes there instead (for
    // decoding off the main thread): the reason of a refusal, or the damage of a picture taken.
    bool initWithImageData(const unsigned char* data, size_t length, const std::string& name = "image data",
                           std::string* error = nullptr);
    // Raw RGBA8 pixels, rows top first; premultiplied unless `premultiplied` is false (then converted).
    bool initWithRawData(const unsigned char* rgba, size_t length, int width, int height, bool premultiplied = true);

    int getWidth() const { return _width; }
    int getHeight() const { return _height; }
    const unsigned char* getData() const { return _pixels.empty() ? nullptr : _pixels.data(); }
    unsigned char* getData() { return _pixels.empty() ? nullptr : _pixels.data(); }
    size_t getDataLen() const { return _pixels.size(); }
    bool hasPremultipliedAlpha() const { return true; }
    // (ours) One pixel as stored (premultiplied); (0, 0) is the top-left corner.
    Color4B getPixel(int x, int y) const;

    // The format follows the extension (.png, else .jpg/.jpeg). `isToRGB` drops alpha for PNG too.
    bool saveToFile(const std::string& path, bool isToRGB = false) const;
    static Format formatForPath(const std::string& path);

    // (ours) Turns the rows over (read-backs come bottom row first).
    void flipVertically();

private:
    int _width = 0;
    int _height = 0;
    std::vector<unsigned char> _pixels;
};

}  // namespace cocos2d
