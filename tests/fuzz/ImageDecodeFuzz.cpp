// Any bytes as an image file, through the engine's decoding as the texture cache uses it: refused or
// decoded without crashing, and never more pixels than the size limits allow.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/base/Log.h"
#include "engine/renderer/Image.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    cocos2d::setLogSink([](cocos2d::LogLevel, const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    cocos2d::Image image;
    std::string error;
    if (!image.initWithImageData(data, size, "fuzz", &error)) {
        if (error.empty()) {
            std::abort();  // a refusal always says why
        }
        return 0;
    }
    const size_t pixels = static_cast<size_t>(image.getWidth()) * static_cast<size_t>(image.getHeight());
    if (image.getWidth() <= 0 || image.getHeight() <= 0 || pixels > (size_t{64} << 20)) {
        std::abort();
    }
    image.getPixel(image.getWidth() - 1, image.getHeight() - 1);
    return 0;
}
