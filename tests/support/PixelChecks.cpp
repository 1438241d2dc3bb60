#include "PixelChecks.h"

#include <gtest/gtest.h>

#include <vector>

#include "Driver.h"
#include "engine/base/RefPtr.h"
#include "engine/math/Rect.h"
#include "engine/renderer/Image.h"

namespace testing {

using cocos2d::Color4B;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Vec2;

std::string solidPng(const std::string& name, int w, int h, const Color4B& colour) {
    std::vector<unsigned char> rgba(static_cast<size_t>(w) * h * 4);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgba[i] = colour.r;
        rgba[i + 1] = colour.g;
        rgba[i + 2] = colour.b;
        rgba[i + 3] = colour.a;
    }
    cocos2d::Image image;
    EXPECT_TRUE(image.initWithRawData(rgba.data(), rgba.size(), w, h, false));
    const std::string path = testing::Driver::scratchPath(name);
    EXPECT_TRUE(image.saveToFile(path));
    return path;
}

Color4B colourAt(const Vec2& design, int half) {
    RefPtr<cocos2d::Image> image = testing::Driver::get().readPixels(
        Rect(design.x - half, 810.0f - design.y - half, 2.0f * half, 2.0f * half));
    if (!image) {
        return Color4B(0, 0, 0, 0);
    }
    long sum[3] = {0, 0, 0};
    const int n = image->getWidth() * image->getHeight();
    for (int y = 0; y < image->getHeight(); ++y) {
        for (int x = 0; x < image->getWidth(); ++x) {
            const Color4B c = image->getPixel(x, y);
            sum[0] += c.r;
            sum[1] += c.g;
            sum[2] += c.b;
        }
    }
    return Color4B(static_cast<GLubyte>(sum[0] / n), static_cast<GLubyte>(sum[1] / n),
                   static_cast<GLubyte>(sum[2] / n), 255);
}

void expectColour(const Color4B& actual, int r, int g, int b, const std::string& what) {
    EXPECT_NEAR(actual.r, r, 3) << what;
    EXPECT_NEAR(actual.g, g, 3) << what;
    EXPECT_NEAR(actual.b, b, 3) << what;
}

}  // namespace testing
