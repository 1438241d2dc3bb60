#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Driver.h"
#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/renderer/Image.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"
#include "engine/ui/RichText.h"

namespace {

using cocos2d::Color3B;
using cocos2d::Color4B;
using cocos2d::Director;
using cocos2d::Label;
using cocos2d::LayerColor;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Size;
using cocos2d::Vec2;
using cocos2d::ui::RichElementCustomNode;
using cocos2d::ui::RichElementText;
using cocos2d::ui::RichText;

const std::string kFont = std::string(KESTROVA_RESOURCE_DIR) + "/res/fonts/Arial.ttf";

float lineHeightAt(float size) {
    RefPtr<Label> label = Label::createWithTTF("x", kFont, size);
    return label ? label->getLineHeight() : -1.0f;
}

// For each design row y (from `top` down to `bottom`) of the column span x0..x1: whether any pixel
// there is brighter than the background.
std::vector<bool> inkRows(float x0, float x1, int top, int bottom) {
    std::vector<bool> rows;
    RefPtr<cocos2d::Image> image =
        testing::Driver::get().readPixels(Rect(x0, 810.0f - top, x1 - x0, static_cast<float>(top - bottom)));
    if (!image) {
        return rows;
    }
    for (int y = 0; y < image->getHeight(); ++y) {
        bool ink = false;
        for (int x = 0; x < image->getWidth() && !ink; ++x) {
            ink = image->getPixel(x, y).r > 120;
        }
        rows.push_back(ink);
    }
    return rows;
}

// The [first, last] design rows (y up) with ink in the row list that starts at `top`; -1 when none.
std::pair<int, int> inkSpan(const std::vector<bool>& rows, int top, int fromRow, int toRow) {
    int first = -1;
    int last = -1;
    for (int r = fromRow; r < toRow && r < static_cast<int>(rows.size()); ++r) {
        if (rows[r]) {
            if (first < 0) {
                first = top - r;
            }
            last = top - r;
        }
    }
    return {first, last};
}

class RichTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        scene = cocos2d::Scene::create();
        scene->addChild(LayerColor::create(Color4B(20, 20, 40, 255), 1280, 810), -10);
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(1);
        ASSERT_EQ(Director::getInstance()->getRunningScene(), scene);
    }
    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string("RichTextTest_") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png"));
        }
    }
    static testing::Driver& driver() { return testing::Driver::get(); }

    // A rich text whose box is (200..700, 200..600).
    RichText* addRichText() {
        RichText* text = RichText::create();
        text->ignoreContentAdaptWithSize(false);
        text->setContentSize(Size(500, 400));
        text->setPosition(450, 400);
        text->setCascadeOpacityEnabled(true);
        scene->addChild(text);
        return text;
    }

    cocos2d::Scene* scene = nullptr;
};

TEST_F(RichTextTest, ALineBreakLaysOutTwoLinesOfTextAtTheExpectedHeights) {
    RichText* text = addRichText();
    text->pushBackElement(RichElementText::create(1, Color3B::WHITE, 255, "HHHH HHH", kFont, 30));
    text->pushBackElement(RichElementText::createNewLine(2, kFont, 30));
    text->pushBackElement(RichElementText::create(3, Color3B::WHITE, 255, "HHH", kFont, 30));
    driver().stepFrames(1);
    const float lh = lineHeightAt(30);
    ASSERT_GT(lh, 20.0f);
    const int top = 600;
    const std::vector<bool> rows = inkRows(200, 700, top, 200);
    ASSERT_FALSE(rows.empty());
    const int lhRows = static_cast<int>(lh);
    const auto first = inkSpan(rows, top, 0, lhRows);
    const auto second = inkSpan(rows, top, lhRows, 2 * lhRows);
    const auto below = inkSpan(rows, top, 2 * lhRows + 1, static_cast<int>(rows.size()));
    ASSERT_GE(first.first, 0) << "the first line has ink";
    ASSERT_GE(second.first, 0) << "the second line has ink";
    EXPECT_LT(below.first, 0) << "nothing below the two lines";
    // The capitals stand at the same place in their lines: one line height apart.
    EXPECT_NEAR(first.first - second.first, lh, 1.5f);
    EXPECT_NEAR(first.second - second.second, lh, 1.5f);
}

TEST_F(RichTextTest, BreaksOfSizes24And12LeaveBlankLinesOfTheirOwnHeights) {
    RichText* text = addRichText();
    // Three bars of 20 points, each line starting at the left edge.
    LayerColor* bars[3];
    for (LayerColor*& bar : bars) {
        bar = LayerColor::create(Color4B(255, 255, 255, 255), 300, 20);
    }
    RefPtr<RichElementText> big = RichElementText::createNewLine(3, kFont, 24);
    RefPtr<RichElementText> small = RichElementText::createNewLine(3, kFont, 12);
    text->pushBackElement(RichElementCustomNode::create(1, Color3B::WHITE, 255, bars[0]));
    text->pushBackElement(big);
    text->pushBackElement(big);
    text->pushBackElement(RichElementCustomNode::create(2, Color3B::WHITE, 255, bars[1]));
    text->pushBackElement(small);
    text->pushBackElement(small);
    text->pushBackElement(RichElementCustomNode::create(3, Color3B::WHITE, 255, bars[2]));
    driver().stepFrames(1);

    const int top = 600;
    const std::vector<bool> rows = inkRows(210, 290, top, 200);
    std::vector<std::pair<int, int>> spans;  // ink runs, top row and bottom row
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        if (rows[r] && (r == 0 || !rows[r - 1])) {
            spans.emplace_back(top - r, top - r);
        }
        if (rows[r]) {
            spans.back().second = top - r;
        }
    }
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[0].first, top) << "the first bar starts at the top edge";  // rows are named by their top
    const int gapBig = spans[0].second - spans[1].first - 1;
    const int gapSmall = spans[1].second - spans[2].first - 1;
    EXPECT_NEAR(gapBig, lineHeightAt(24), 1.0f);
    EXPECT_NEAR(gapSmall, lineHeightAt(12), 1.0f);
    EXPECT_GT(gapBig, gapSmall + 5);
}

TEST_F(RichTextTest, TheWholeTextFadesWithItsOpacity) {
    RichText* text = addRichText();
    text->pushBackElement(RichElementCustomNode::create(
        1, Color3B::WHITE, 255, LayerColor::create(Color4B(255, 0, 0, 255), 100, 40)));
    text->setOpacity(0);
    driver().stepFrames(1);
    RefPtr<cocos2d::Image> image = driver().readPixels(Rect(220, 810 - 590, 10, 10));
    ASSERT_TRUE(image);
    EXPECT_NEAR(image->getPixel(5, 5).r, 20, 2);
    text->setOpacity(255);
    driver().stepFrames(1);
    image = driver().readPixels(Rect(220, 810 - 590, 10, 10));
    EXPECT_NEAR(image->getPixel(5, 5).r, 255, 2);
}

}  // namespace
