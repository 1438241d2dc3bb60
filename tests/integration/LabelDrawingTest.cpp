#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Driver.h"
#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"

namespace {

using cocos2d::Color3B;
using cocos2d::Color4B;
using cocos2d::Director;
using cocos2d::Label;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Size;
using cocos2d::TextHAlignment;
using cocos2d::TextVAlignment;
using cocos2d::Vec2;

constexpr float kDesignHeight = 810.0f;

std::string fontPath() {
    const std::string staged = std::string(KESTROVA_RESOURCE_DIR) + "/res/fonts/Arial.ttf";
    if (cocos2d::FileUtils::getInstance()->isFileExist(staged)) {
        return staged;
    }
    return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
}

// Pixels of the last frame that satisfy a test, within a design rectangle (y up; window 1280 x 810 maps
// design points 1:1 onto pixels).
struct Ink {
    int count = 0;
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;  // design points
    double sumX = 0, sumY = 0;
    Vec2 centre() const { return count ? Vec2(float(sumX / count), float(sumY / count)) : Vec2(); }
};

Ink inkIn(const Rect& design, const std::function<bool(const Color4B&)>& test) {
    const Rect window(design.getMinX(), kDesignHeight - design.getMaxY(), design.size.width,
                      design.size.height);
    RefPtr<cocos2d::Image> image = testing::Driver::get().readPixels(window);
    Ink ink;
    if (!image) {
        return ink;
    }
    for (int y = 0; y < image->getHeight(); ++y) {
        for (int x = 0; x < image->getWidth(); ++x) {
            if (!test(image->getPixel(x, y))) {
                continue;
            }
            const float dx = design.getMinX() + x + 0.5f;
            const float dy = design.getMaxY() - y - 0.5f;
            ++ink.count;
            ink.sumX += dx;
            ink.sumY += dy;
            ink.minX = std::min(ink.minX, dx);
            ink.maxX = std::max(ink.maxX, dx);
            ink.minY = std::min(ink.minY, dy);
            ink.maxY = std::max(ink.maxY, dy);
        }
    }
    return ink;
}

bool reddish(const Color4B& c) {
    return c.r > 150 && c.g < 60 && c.b < 60;
}
bool greenish(const Color4B& c) {
    return c.g > 150 && c.r < 80 && c.b < 80;
}
bool bluish(const Color4B& c) {
    return c.b > 150 && c.r < 60 && c.g < 60;
}
bool notBackground(const Color4B& c) {
    return c.r > 40 || c.g > 40 || c.b > 40;
}

class LabelDrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        scene = cocos2d::Scene::create();
        scene->addChild(cocos2d::LayerColor::create(Color4B(0, 0, 0, 255), 1280, 810), -10);
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(1);
        ASSERT_EQ(Director::getInstance()->getRunningScene(), scene);
    }
    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".png"));
        }
        driver().stopCapturingLog();
    }
    static testing::Driver& driver() { return testing::Driver::get(); }

    // A label with its bottom-left corner at `corner`.
    Label* addLabel(const std::string& text, float size, const Vec2& corner, const Size& box = Size::ZERO,
                    TextHAlignment h = TextHAlignment::LEFT, TextVAlignment v = TextVAlignment::TOP) {
        Label* label = Label::createWithTTF(text, fontPath(), size, box, h, v);
        EXPECT_NE(label, nullptr);
        if (label) {
            label->setAnchorPoint(Vec2::ZERO);
            label->setPosition(corner);
            scene->addChild(label);
        }
        return label;
    }

    cocos2d::Scene* scene = nullptr;
};

TEST_F(LabelDrawingTest, GlyphsShowInTheLabelsColourInsideItsContentSize) {
    Label* label = addLabel("Restore the picture", 36, Vec2(200, 400));
    ASSERT_NE(label, nullptr);
    label->setColor(Color3B(255, 0, 0));
    driver().stepFrames(1);
    const Size size = label->getContentSize();
    const Rect box(200, 400, size.width, size.height);
    const Ink inside = inkIn(box, reddish);
    // Glyphs cover a fair share of the box, spread over most of its width.
    EXPECT_GT(inside.count, size.width * size.height * 0.08f);
    EXPECT_LT(inside.minX, box.getMinX() + 10);
    EXPECT_GT(inside.maxX, box.getMaxX() - 10);
    // Nothing is drawn outside the box, and nothing in another colour.
    const Ink around = inkIn(Rect(150, 350, size.width + 100, size.height + 100), notBackground);
    const Ink inBox = inkIn(box, notBackground);
    EXPECT_EQ(around.count, inBox.count);
    EXPECT_EQ(inkIn(box, [](const Color4B& c) { return c.g > 40 || c.b > 40; }).count, 0);
}

TEST_F(LabelDrawingTest, SetStringRendersTheNewTextAtOnce) {
    Label* label = addLabel("I", 40, Vec2(100, 300));
    driver().stepFrames(1);
    const Ink before = inkIn(Rect(90, 290, 700, 80), notBackground);
    label->setString("IIIIIIIIII");
    driver().stepFrames(1);
    const Ink after = inkIn(Rect(90, 290, 700, 80), notBackground);
    EXPECT_GT(after.count, before.count * 8);
    EXPECT_NEAR(after.maxX - after.minX, label->getContentSize().width, 12.0f);
}

TEST_F(LabelDrawingTest, AlignmentPlacesTheTextInsideAFixedBox) {
    struct Case {
        TextHAlignment h;
        TextVAlignment v;
        Vec2 expectedCentre;  // in the 400 x 300 box, from its bottom-left corner
    };
    const Case cases[] = {
        {TextHAlignment::LEFT, TextVAlignment::TOP, Vec2(0, 300)},
        {TextHAlignment::CENTER, TextVAlignment::CENTER, Vec2(200, 150)},
        {TextHAlignment::RIGHT, TextVAlignment::BOTTOM, Vec2(400, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "h " << int(c.h) << " v " << int(c.v));
        scene->removeChildByName("label");
        Label* label = addLabel("MM", 40, Vec2(300, 200), Size(400, 300), c.h, c.v);
        label->setName("label");
        driver().stepFrames(1);
        const Ink ink = inkIn(Rect(300, 200, 400, 300), notBackground);
        ASSERT_GT(ink.count, 100);
        EXPECT_EQ(inkIn(Rect(250, 150, 500, 400), notBackground).count, ink.count) << "ink outside the box";
        // The ink's centre lies within about a line of the expected corner or middle.
        const Vec2 centre = ink.centre() - Vec2(300, 200);
        EXPECT_NEAR(centre.x, std::clamp(c.expectedCentre.x, 45.0f, 355.0f), 40.0f);
        EXPECT_NEAR(centre.y, std::clamp(c.expectedCentre.y, 25.0f, 275.0f), 30.0f);
    }
}

TEST_F(LabelDrawingTest, ShadowFallsByItsOffsetUnderTheText) {
    Label* label = addLabel("HHHH", 48, Vec2(300, 400));
    label->setTextColor(Color4B(0, 255, 0, 255));
    label->enableShadow(Color4B(0, 0, 255, 255), Size(6, -6));
    driver().stepFrames(1);
    const Rect area(280, 360, 300, 120);
    const Ink text = inkIn(area, greenish);
    const Ink shadow = inkIn(area, bluish);
    ASSERT_GT(text.count, 200);
    ASSERT_GT(shadow.count, 50);
    // Visible shadow lies right of and below the glyphs; the glyphs are drawn over it.
    EXPECT_GT(shadow.maxX, text.maxX + 4);
    EXPECT_LT(shadow.minY, text.minY - 4);
    EXPECT_GT(shadow.centre().x, text.centre().x);
    EXPECT_LT(shadow.centre().y, text.centre().y);
    // The fill keeps its full area: the shadow does not show through it.
    label->disableShadow();
    driver().stepFrames(1);
    EXPECT_NEAR(inkIn(area, greenish).count, text.count, text.count * 0.02);
}

TEST_F(LabelDrawingTest, OutlineRingsTheGlyphsUnderTheFill) {
    Label* plain = addLabel("OO", 48, Vec2(200, 500));
    Label* outlined = addLabel("OO", 48, Vec2(600, 500));
    plain->setTextColor(Color4B(0, 255, 0, 255));
    outlined->setTextColor(Color4B(0, 255, 0, 255));
    outlined->enableOutline(Color4B(255, 0, 0, 255), 3);
    EXPECT_EQ(outlined->getOutlineSize(), 3);
    driver().stepFrames(1);
    const Ink plainFill = inkIn(Rect(180, 480, 200, 100), greenish);
    const Ink fill = inkIn(Rect(580, 480, 200, 100), greenish);
    const Ink ring = inkIn(Rect(580, 480, 200, 100), reddish);
    ASSERT_GT(fill.count, 200);
    EXPECT_GT(ring.count, 100);
    // The fill is not covered by its outline.
    EXPECT_NEAR(fill.count, plainFill.count, plainFill.count * 0.1);
    EXPECT_LT(ring.minX, fill.minX - 1.5f);
    EXPECT_GT(ring.maxX, fill.maxX + 1.5f);
}

TEST_F(LabelDrawingTest, OpacityAndColourTintTheGlyphs) {
    Label* label = addLabel("HHHH", 48, Vec2(300, 400));
    label->setColor(Color3B(0, 0, 255));
    label->setOpacity(128);
    driver().stepFrames(1);
    const Rect box(300, 400, label->getContentSize().width, label->getContentSize().height);
    // The fullest glyph pixels are blue at half strength over black.
    int strongest = 0;
    inkIn(box, [&](const Color4B& c) {
        strongest = std::max<int>(strongest, c.b);
        EXPECT_LE(c.r, 2);
        EXPECT_LE(c.g, 2);
        return false;
    });
    EXPECT_NEAR(strongest, 128, 3);
    label->setOpacity(0);
    driver().stepFrames(1);
    EXPECT_EQ(inkIn(box, notBackground).count, 0);
}

}  // namespace
