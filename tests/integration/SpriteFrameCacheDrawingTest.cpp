#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "Driver.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/renderer/Image.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrameCache.h"

namespace {

using cocos2d::Color4B;
using cocos2d::Director;
using cocos2d::Image;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Sprite;
using cocos2d::SpriteFrameCache;
using cocos2d::Vec2;

constexpr int kW = 20;  // the source picture: 20 x 10, one colour per quarter
constexpr int kH = 10;
constexpr float kScale = 4.0f;
const Color4B kBackground(30, 30, 30, 255);

Color4B picture(int x, int y) {  // y down
    if (y < kH / 2) {
        return x < kW / 2 ? Color4B(255, 0, 0, 255) : Color4B(0, 255, 0, 255);
    }
    return x < kW / 2 ? Color4B(0, 0, 255, 255) : Color4B(255, 255, 0, 255);
}

// A 64 x 64 sheet: the picture as it is at (2, 2), turned 90 degrees clockwise at (30, 2) (10 x 20
// pixels of the sheet), and once more as it is at (2, 40) for a trimmed frame.
std::string writeSheet() {
    const int size = 64;
    std::vector<unsigned char> rgba(size * size * 4, 0);
    auto put = [&](int x, int y, const Color4B& c) {
        unsigned char* p = &rgba[(static_cast<size_t>(y) * size + x) * 4];
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
        p[3] = c.a;
    };
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            put(2 + x, 2 + y, picture(x, y));
            // Turning clockwise sends (x, y) to (h - 1 - y, x): the top row becomes the right column.
            put(30 + (kH - 1 - y), 2 + x, picture(x, y));
            put(2 + x, 40 + y, picture(x, y));
        }
    }
    Image image;
    EXPECT_TRUE(image.initWithRawData(rgba.data(), rgba.size(), size, size, false));
    const std::string path = testing::Driver::scratchPath("frames_sheet.png");
    EXPECT_TRUE(image.saveToFile(path));
    return path;
}

std::string writeList() {
    const std::string list = testing::Driver::scratchPath("frames_sheet.xml");
    std::ofstream(list) << R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0">
<dict>
  <key>frames</key>
  <dict>
    <key>plain.png</key>
    <dict><key>frame</key><string>{{2,2},{20,10}}</string><key>rotated</key><false/></dict>
    <key>turned.png</key>
    <dict>
      <key>frame</key><string>{{30,2},{20,10}}</string>
      <key>offset</key><string>{0,0}</string>
      <key>rotated</key><true/>
      <key>sourceSize</key><string>{20,10}</string>
    </dict>
    <key>trimmed.png</key>
    <dict>
      <key>sourceSize</key><string>{40,40}</string>
      <key>rotated</key><false/>
      <key>offset</key><string>{5,-5}</string>
      <key>frame</key><string>{{2,40},{20,10}}</string>
    </dict>
  </dict>
  <key>metadata</key>
  <dict><key>format</key><integer>2</integer><key>textureFileName</key><string>frames_sheet.png</string></dict>
</dict>
</plist>
)";
    return list;
}

Color4B screenPixel(float designX, float designY) {
    RefPtr<Image> image = testing::Driver::get().readPixels(Rect(designX, 810.0f - designY, 1, 1));
    return image ? image->getPixel(0, 0) : Color4B(0, 0, 0, 0);
}

void expectPixel(const Color4B& actual, const Color4B& expected, const std::string& what) {
    EXPECT_NEAR(actual.r, expected.r, 3) << what;
    EXPECT_NEAR(actual.g, expected.g, 3) << what;
    EXPECT_NEAR(actual.b, expected.b, 3) << what;
}

class SpriteFrameCacheDrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        scene = cocos2d::Scene::create();
        scene->addChild(cocos2d::LayerColor::create(kBackground, 1280, 810), -10);
        Director::getInstance()->replaceScene(scene);
        writeSheet();
        SpriteFrameCache::getInstance()->addSpriteFramesWithFile(writeList());
        driver().stepFrames(1);
    }
    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".png"));
        }
        SpriteFrameCache::destroyInstance();
    }
    static testing::Driver& driver() { return testing::Driver::get(); }

    Sprite* place(const std::string& frame, const Vec2& centre) {
        Sprite* sprite = Sprite::createWithSpriteFrameName(frame);
        EXPECT_NE(sprite, nullptr) << frame;
        if (sprite) {
            sprite->setPosition(centre);
            sprite->setScale(kScale);
            scene->addChild(sprite);
        }
        return sprite;
    }

    // Every texel centre of the picture, drawn with its top-left corner at `topLeft`, shows the
    // source image's colour there.
    void expectPicture(const Vec2& topLeft, const std::string& what) {
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                // Only texels inside a quarter: their 4 x 4 screen blocks sample one colour.
                if (x == kW / 2 - 1 || x == kW / 2 || y == kH / 2 - 1 || y == kH / 2 || x == 0 || y == 0 ||
                    x == kW - 1 || y == kH - 1) {
                    continue;
                }
                const float sx = topLeft.x + (x + 0.5f) * kScale;
                const float sy = topLeft.y - (y + 0.5f) * kScale;
                expectPixel(screenPixel(sx, sy), picture(x, y),
                            what + " texel (" + std::to_string(x) + ", " + std::to_string(y) + ")");
            }
        }
    }

    cocos2d::Scene* scene = nullptr;
};

TEST_F(SpriteFrameCacheDrawingTest, RotatedAndPlainFramesDrawTheSourcePictureUpright) {
    place("plain.png", Vec2(300, 400));
    Sprite* turned = place("turned.png", Vec2(700, 400));
    ASSERT_NE(turned, nullptr);
    // A rotated frame keeps its own (unturned) size.
    EXPECT_EQ(turned->getContentSize(), cocos2d::Size(kW, kH));
    driver().stepFrames(1);
    expectPicture(Vec2(300 - kW * kScale / 2, 400 + kH * kScale / 2), "plain");
    expectPicture(Vec2(700 - kW * kScale / 2, 400 + kH * kScale / 2), "turned");
}

TEST_F(SpriteFrameCacheDrawingTest, AnOffsetFrameDrawsItsTrimmedPictureWhereTheOffsetSays) {
    Sprite* trimmed = place("trimmed.png", Vec2(640, 400));
    ASSERT_NE(trimmed, nullptr);
    EXPECT_EQ(trimmed->getContentSize(), cocos2d::Size(40, 40));
    driver().stepFrames(1);
    // The untrimmed 40 x 40 box is centred on the position; the picture's centre sits 5 right and 5
    // down from the box's centre.
    const Vec2 centre = Vec2(640, 400) + Vec2(5, -5) * kScale;
    expectPicture(Vec2(centre.x - kW * kScale / 2, centre.y + kH * kScale / 2), "trimmed");
    // The rest of the box stays background: above the picture and left of it.
    expectPixel(screenPixel(640, 400 + 15 * kScale), kBackground, "above the trimmed picture");
    expectPixel(screenPixel(640 - 15 * kScale, 400), kBackground, "left of the trimmed picture");
}

}  // namespace
