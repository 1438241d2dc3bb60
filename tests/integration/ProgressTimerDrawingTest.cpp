#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Driver.h"
#include "engine/2d/ProgressTimer.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrame.h"

namespace {

using cocos2d::Color3B;
using cocos2d::Color4B;
using cocos2d::Director;
using cocos2d::Image;
using cocos2d::ProgressTimer;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Sprite;
using cocos2d::Vec2;

constexpr int kW = 100;
constexpr int kH = 40;
const Color4B kBackground(0, 0, 0, 255);

Color4B picture(int x, int y) {  // y down
    return Color4B(static_cast<GLubyte>(x * 2 + 40), static_cast<GLubyte>(y * 5 + 20), 200, 255);
}

std::string writePng(const std::string& name, int w, int h, const std::function<Color4B(int, int)>& pixel) {
    std::vector<unsigned char> rgba(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Color4B c = pixel(x, y);
            unsigned char* p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
            p[3] = c.a;
        }
    }
    Image image;
    EXPECT_TRUE(image.initWithRawData(rgba.data(), rgba.size(), w, h, false));
    const std::string path = testing::Driver::scratchPath(name);
    EXPECT_TRUE(image.saveToFile(path));
    return path;
}

class ProgressTimerDrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        scene = cocos2d::Scene::create();
        scene->addChild(cocos2d::LayerColor::create(kBackground, 1280, 810), -10);
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(1);
        file = writePng("progress_bar.png", kW, kH, picture);
    }
    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".png"));
        }
    }
    static testing::Driver& driver() { return testing::Driver::get(); }

    ProgressTimer* addTimer(Sprite* sprite, const Vec2& midpoint, const Vec2& rate, float percentage) {
        ProgressTimer* timer = ProgressTimer::create(sprite);
        EXPECT_NE(timer, nullptr);
        timer->setType(ProgressTimer::Type::BAR);
        timer->setMidpoint(midpoint);
        timer->setBarChangeRate(rate);
        timer->setPercentage(percentage);
        timer->setPosition(640, 405);
        scene->addChild(timer);
        return timer;
    }

    // The timer's box on screen against the picture: `shown(x, y)` says which pixels show it.
    void expectBox(const std::function<bool(int, int)>& shown, const std::function<Color4B(Color4B)>& tint,
                   const std::string& what) {
        RefPtr<Image> box = driver().readPixels(Rect(640 - kW / 2, 810 - 405 - kH / 2, kW, kH));
        ASSERT_TRUE(box);
        int misses = 0;
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                const Color4B expected = shown(x, y) ? tint(picture(x, y)) : kBackground;
                const Color4B actual = box->getPixel(x, y);
                if (std::abs(actual.r - expected.r) > 2 || std::abs(actual.g - expected.g) > 2 ||
                    std::abs(actual.b - expected.b) > 2) {
                    if (++misses <= 3) {
                        ADD_FAILURE() << what << " at (" << x << ", " << y << "): " << int(actual.r) << ","
                                      << int(actual.g) << "," << int(actual.b) << " expected "
                                      << int(expected.r) << "," << int(expected.g) << "," << int(expected.b);
                    }
                }
            }
        }
        EXPECT_EQ(misses, 0) << what;
    }

    cocos2d::Scene* scene = nullptr;
    std::string file;
};

const auto kPlain = [](Color4B c) { return c; };

TEST_F(ProgressTimerDrawingTest, BarsGrowFromTheirMidpointAlongTheirRate) {
    struct Case {
        const char* what;
        Vec2 midpoint, rate;
        float percentage;
        std::function<bool(int, int)> shown;  // x, y from the top-left of the box
    };
    const Case cases[] = {
        {"from the left", Vec2(0, 0), Vec2(1, 0), 25, [](int x, int) { return x < 25; }},
        {"from the bottom", Vec2(0, 0), Vec2(0, 1), 50, [](int, int y) { return y >= 20; }},
        {"from the right", Vec2(1, 0), Vec2(1, 0), 30, [](int x, int) { return x >= 70; }},
        {"full", Vec2(0, 0), Vec2(1, 0), 100, [](int, int) { return true; }},
        {"empty", Vec2(0, 0), Vec2(1, 0), 0, [](int, int) { return false; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scene->removeChildByName("timer");
        Sprite* sprite = Sprite::create(file);
        sprite->setPosition(50, 50);  // never used
        ProgressTimer* timer = addTimer(sprite, c.midpoint, c.rate, c.percentage);
        timer->setName("timer");
        driver().stepFrames(1);
        expectBox(c.shown, kPlain, c.what);
        EXPECT_EQ(timer->getBoundingBox(), Rect(640 - kW / 2, 405 - kH / 2, kW, kH));
    }
}

TEST_F(ProgressTimerDrawingTest, ARotatedFrameFillsInItsUprightOrientation) {
    // The picture turned 90 degrees clockwise, as a rotated sheet frame stores it.
    const std::string turned = writePng("progress_turned.png", kH, kW, [](int x, int y) {
        // stored (x, y) holds the picture's (y, h - 1 - x)
        return picture(y, kH - 1 - x);
    });
    cocos2d::Texture2D* texture = Director::getInstance()->getTextureCache()->addImage(turned);
    ASSERT_NE(texture, nullptr);
    auto* frame =
        cocos2d::SpriteFrame::create(texture, Rect(0, 0, kW, kH), true, Vec2::ZERO, cocos2d::Size(kW, kH));
    Sprite* sprite = Sprite::createWithSpriteFrame(frame);
    addTimer(sprite, Vec2(0, 0), Vec2(1, 0), 40);
    driver().stepFrames(1);
    expectBox([](int x, int) { return x < 40; }, kPlain, "rotated frame, 40 % from the left");
}

TEST_F(ProgressTimerDrawingTest, ColourAndOpacityAreTheSpritesTimesTheTimers) {
    Sprite* sprite = Sprite::create(file);
    sprite->setColor(Color3B(255, 128, 255));
    ProgressTimer* timer = addTimer(sprite, Vec2(0, 0), Vec2(1, 0), 100);
    timer->setColor(Color3B(128, 255, 255));
    timer->setOpacity(128);
    driver().stepFrames(1);
    expectBox([](int, int) { return true; },
              [](Color4B c) {
                  // colour (128, 128, 255) at opacity 128 over black
                  return Color4B(static_cast<GLubyte>(c.r * 128 / 255 * 128 / 255),
                                 static_cast<GLubyte>(c.g * 128 / 255 * 128 / 255),
                                 static_cast<GLubyte>(c.b * 128 / 255), 255);
              },
              "tinted");
}

}  // namespace
