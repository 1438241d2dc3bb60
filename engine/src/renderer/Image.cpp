#include "engine/renderer/Image.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <new>

#include "engine/base/Log.h"
#include "engine/platform/FileUtils.h"
#include "platform/sdl/ImageCodec.h"

namespace cocos2d {
namespace {

void premultiply(std::vector<unsigned char>& rgba) {
    for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
        const unsigned a = rgba[i + 3];
        if (a == 255) {
            continue;
        }
        rgba[i + 0] = static_cast<unsigned char>((rgba[i + 0] * a + 127) / 255);
        rgba[i + 1] = static_cast<unsigned char>((rgba[i + 1] * a + 127) / 255);
        rgba[i + 2] = static_cast<unsigned char>((rgba[i + 2] * a + 127) / 255);
    }
}

std::vector<unsigned char> unpremultiplied(const std::vector<unsigned char>& rgba) {
    std::vector<unsigned char> out(rgba);
    for (size_t i = 0; i + 3 < out.size(); i += 4) {
        const unsigned a = out[i + 3];
        if (a == 0 || a == 255) {
            continue;
        }
        for (int c = 0; c < 3; ++c) {
            out[i + c] = static_cast<unsigned char>(std::min(255u, (out[i + c] * 255u + a / 2) / a));
        }
    }
    return out;
}

}  // namespace

Image* Image::create() {
    auto* image = new (std::nothrow) Image();
    if (image) {
        image->autorelease();
    }
    return image;
}

bool Image::initWithImageFile(const std::string& path) {
    std::string fullPath = path;
    if (path.empty() || path[0] != '/') {
        fullPath = FileUtils::getInstance()->fullPathForFilename(path);
    }
    if (fullPath.empty()) {
        logAt(LogLevel::Warning, "Image: [%s] not found", path.c_str());
        return false;
    }
    std::ifstream in(fullPath, std::ios::binary);
    if (!in) {
        logAt(LogLevel::Warning, "Image: [%s] not found", path.c_str());
        return false;
    }
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return initWithImageData(bytes.data(), bytes.size(), path);
}

bool Image::initWithImageData(const unsigned char* data, size_t length, const std::string& name,
                              std::string* errorOut) {
    std::vector<unsigned char> rgba;
    int width = 0;
    int height = 0;
    std::string error;
    std::string damage;
    if (!imagecodec::decode(data, length, rgba, width, height, error, &damage)) {
        if (errorOut) {
            *errorOut = "Image: [" + name + "] cannot be decoded: " + error;
        } else {
            logAt(LogLevel::Warning, "Image: [%s] cannot be decoded: %s", name.c_str(), error.c_str());
        }
        return false;
    }
    if (!damage.empty()) {
        const std::string line =
            "Image: [" + name + "] is damaged and shows only what could be decoded: " + damage;
        if (errorOut) {
            *errorOut = line;
        } else {
            logAt(LogLevel::Warning, "%s", line.c_str());
        }
    }
    premultiply(rgba);
    _pixels.swap(rgba);
    _width = width;
    _height = height;
    return true;
}

bool Image::initWithRawData(const unsigned char* rgba, size_t length, int width, int height, bool premultiplied) {
    if (!rgba || width <= 0 || height <= 0 || length < static_cast<size_t>(width) * height * 4) {
        logAt(LogLevel::Warning, "Image: raw data of %zu bytes does not hold %dx%d pixels", length, width, height);
        return false;
    }
    _pixels.assign(rgba, rgba + static_cast<size_t>(width) * height * 4);
    if (!premultiplied) {
        premultiply(_pixels);
    }
    _width = width;
    _height = height;
    return true;
}

Color4B Image::getPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= _width || y >= _height) {
        return Color4B(0, 0, 0, 0);
    }
    const size_t i = (static_cast<size_t>(y) * _width + x) * 4;
    return Color4B(_pixels[i], _pixels[i + 1], _pixels[i + 2], _pixels[i + 3]);
}

void Image::flipVertically() {
    const size_t row = static_cast<size_t>(_width) * 4;
    for (int y = 0; y < _height / 2; ++y) {
        std::swap_ranges(_pixels.begin() + static_cast<long>(y * row), _pixels.begin() + static_cast<long>((y + 1) * row),
                         _pixels.begin() + static_cast<long>((_height - 1 - y) * row));
    }
}

Image::Format Image::formatForPath(const std::string& path) {
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    auto endsWith = [&lower](const std::string& suffix) {
        return lower.size() >= suffix.size() && lower.compare(lower.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    if (endsWith(".png")) {
        return Format::PNG;
    }
    if (endsWith(".jpg") || endsWith(".jpeg")) {
        return Format::JPG;
    }
    return Format::UNKNOWN;
}

bool Image::saveToFile(const std::string& path, bool isToRGB) const {
    if (_pixels.empty()) {
        logAt(LogLevel::Warning, "Image: nothing to save to [%s]", path.c_str());
        return false;
    }
    const std::vector<unsigned char> straight = unpremultiplied(_pixels);
    std::string error;
    bool ok = false;
    switch (formatForPath(path)) {
        case Format::PNG:
            ok = imagecodec::savePng(path, straight.data(), _width, _height, !isToRGB, error);
            break;
        case Format::JPG:
            ok = imagecodec::saveJpeg(path, straight.data(), _width, _height, 90, error);
            break;
        case Format::UNKNOWN:
            error = "unknown file extension";
            break;
    }
    if (!ok) {
        logAt(LogLevel::Warning, "Image: cannot save [%s]: %s", path.c_str(), error.c_str());
    }
    return ok;
}

}  // namespace cocos2d
