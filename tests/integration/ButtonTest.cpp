#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Driver.h"
#include "PixelChecks.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/renderer/Image.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/Button.h"
#include "engine/ui/CheckBox.h"

namespace {

using cocos2d::Color4B;
using cocos2d::Director;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Vec2;
using cocos2d::ui::Button;
using cocos2d::ui::Widget;

using testing::colourAt;
using testing::expectColour;
using testing::solidPng;

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        scene = cocos2d::Scene::create();
        scene->addChild(cocos2d::LayerColor::create(Color4B(0, 0, 80, 255), 1280, 810), -10);
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(1);
        ASSERT_EQ(Director::getInstance()->getRunningScene(), scene);
        red = solidPng("button_red.png", 120, 60, Color4B(255, 0, 0, 255));
        green = solidPng("button_green.png", 120, 60, Color4B(0, 255, 0, 255));
        grey = solidPng("button_grey.png", 120, 60, Color4B(90, 90, 90, 255));
    }
    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string("ButtonTest_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                ".png"));
        }
        driver().stopCapturingLog();
    }
    static testing::Driver& driver() { return testing::Driver::get(); }

    Button* addButton(cocos2d::Node* parent, const Vec2& at) {
        Button* button = Button::create(red);
        button->setPosition(at);
        parent->addChild(button);
        return button;
    }
    // A tap as the platform delivers it: press and release in one frame, then one more frame.
    void tap(const Vec2& at) {
        driver().tap(at);
        driver().stepFrames(1);
    }

    cocos2d::Scene* scene = nullptr;
    std::string red, green, grey;
};

TEST_F(ButtonTest, ATapClicksOnceInsideAndNeverOutsideOrUnderAHiddenAncestor) {
    cocos2d::Node* panel = cocos2d::Node::create();
    scene->addChild(panel);
    Button* button = addButton(panel, Vec2(300, 400));  // 240..360 x 370..430
    int clicks = 0;
    button->addClickEventListener([&](cocos2d::Ref*) { ++clicks; });
    driver().stepFrames(1);

    tap(Vec2(300, 400));
    EXPECT_EQ(clicks, 1);
    tap(Vec2(380, 400));
    tap(Vec2(300, 440));
    EXPECT_EQ(clicks, 1) << "taps outside";
    panel->setVisible(false);
    tap(Vec2(300, 400));
    EXPECT_EQ(clicks, 1) << "a hidden ancestor blocks";
    panel->setVisible(true);
    tap(Vec2(358, 372));
    EXPECT_EQ(clicks, 2);
}

TEST_F(ButtonTest, ASecondClickListenerReplacesTheFirst) {
    Button* button = addButton(scene, Vec2(300, 400));
    std::vector<std::string> heard;
    button->addClickEventListener([&](cocos2d::Ref*) { heard.push_back("panel"); });
    button->addClickEventListener([&](cocos2d::Ref*) { heard.push_back("owner"); });
    driver().stepFrames(1);
    tap(Vec2(300, 400));
    EXPECT_EQ(heard, (std::vector<std::string>{"owner"}));
}

TEST_F(ButtonTest, DimmedTheButtonShowsItsDisabledImageAndStillClicks) {
    Button* button = addButton(scene, Vec2(300, 400));
    button->loadTextureDisabled(green);
    Button* plain = addButton(scene, Vec2(700, 400));  // no disabled image
    int clicks = 0;
    button->addClickEventListener([&](cocos2d::Ref*) { ++clicks; });
    driver().stepFrames(1);
    expectColour(colourAt(Vec2(300, 400)), 255, 0, 0);

    button->setBright(false);
    plain->setBright(false);
    driver().stepFrames(1);
    expectColour(colourAt(Vec2(300, 400)), 0, 255, 0);
    expectColour(colourAt(Vec2(700, 400)), 128, 0, 0);  // the normal image darkened
    tap(Vec2(300, 400));
    EXPECT_EQ(clicks, 1);
    expectColour(colourAt(Vec2(300, 400)), 0, 255, 0);
}

TEST_F(ButtonTest, PressedWithoutAPressedImageItShrinksAndWithOneItSwaps) {
    Button* zooming = addButton(scene, Vec2(300, 400));
    zooming->setZoomScale(-0.1f);
    Button* swapping = addButton(scene, Vec2(700, 400));
    swapping->loadTexturePressed(green);
    driver().stepFrames(1);
    // 3 points inside the right edge: covered at full size, bare at 0.9 (the edge moves in by 6).
    const Vec2 nearEdge(357, 400);
    expectColour(colourAt(nearEdge, 1), 255, 0, 0);
    driver().touchBegan(Vec2(300, 400));
    driver().stepFrames(1);
    expectColour(colourAt(nearEdge, 1), 0, 0, 80);
    expectColour(colourAt(Vec2(300, 400)), 255, 0, 0);
    driver().touchEnded(Vec2(300, 400));
    driver().stepFrames(1);
    expectColour(colourAt(nearEdge, 1), 255, 0, 0);

    driver().touchBegan(Vec2(700, 400));
    driver().stepFrames(1);
    expectColour(colourAt(Vec2(757, 400), 1), 0, 255, 0, "the pressed image at full size");
    driver().touchEnded(Vec2(700, 400));
    driver().stepFrames(1);
    expectColour(colourAt(Vec2(700, 400)), 255, 0, 0);
}

TEST_F(ButtonTest, ChildrenBelowZeroDrawUnderTheImageAndTheOthersOverIt) {
    Button* button = addButton(scene, Vec2(400, 400));
    cocos2d::Sprite* under = cocos2d::Sprite::create(green);  // 120 x 60, at the button's centre
    under->setPosition(60, 30);
    under->setScale(1.5f, 0.5f);  // sticks out left and right of the image
    button->addChild(under, -1);
    cocos2d::Sprite* over = cocos2d::Sprite::create(grey);
    over->setPosition(60, 30);
    over->setScale(0.25f);
    button->addChild(over);
    driver().stepFrames(1);
    expectColour(colourAt(Vec2(400, 400)), 90, 90, 90, "the z 0 part over the image");
    expectColour(colourAt(Vec2(340 + 20, 400)), 255, 0, 0, "the z -1 part hidden by the image");
    expectColour(colourAt(Vec2(340 - 20, 400)), 0, 255, 0, "the z -1 part where the image is not");
}

TEST_F(ButtonTest, AGlobalZOfTenDrawsOverALaterSibling) {
    Button* yes = addButton(scene, Vec2(400, 400));
    yes->loadTextureNormal(green);
    yes->setGlobalZOrder(10);
    cocos2d::Sprite* overlay = cocos2d::Sprite::create(grey);  // added later, global z 0
    overlay->setPosition(400, 400);
    overlay->setScale(3.0f);
    scene->addChild(overlay, 5);
    driver().stepFrames(1);
    expectColour(colourAt(Vec2(400, 400)), 0, 255, 0);
    expectColour(colourAt(Vec2(400, 450)), 90, 90, 90);

    // It hears first as well: its tap does not reach a listener of the overlay drawn above it.
    int clicks = 0;
    yes->addClickEventListener([&](cocos2d::Ref*) { ++clicks; });
    Button* cover = Button::create(grey);
    cover->setPosition(400, 400);
    cover->setScale(3.0f);
    int coverClicks = 0;
    cover->addClickEventListener([&](cocos2d::Ref*) { ++coverClicks; });
    scene->addChild(cover, 6);
    driver().stepFrames(1);
    tap(Vec2(400, 400));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(coverClicks, 0);
}

TEST_F(ButtonTest, AMissingImageLogsOnceAndTheButtonStillWorksAsAHitArea) {
    auto& lines = driver().captureLog();
    Button* button = Button::create("ui/no_such_button.png");
    ASSERT_NE(button, nullptr);
    button->setContentSize(cocos2d::Size(100, 100));
    button->setPosition(400, 400);
    scene->addChild(button);
    int clicks = 0;
    button->addClickEventListener([&](cocos2d::Ref*) { ++clicks; });
    driver().stepFrames(3);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("ui/no_such_button.png"), std::string::npos);
    expectColour(colourAt(Vec2(400, 400)), 0, 0, 80, "nothing drawn");
    tap(Vec2(440, 440));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(lines.size(), 1u);
}

TEST_F(ButtonTest, ACheckBoxTapTogglesItsCrossOnScreen) {
    auto* box = cocos2d::ui::CheckBox::create();
    box->loadTextureBackGround(grey);
    box->loadTextureFrontCross(solidPng("cross.png", 40, 40, Color4B(255, 255, 0, 255)));
    box->setPosition(400, 400);
    scene->addChild(box);
    std::vector<int> events;
    box->addEventListener(
        [&](cocos2d::Ref*, cocos2d::ui::CheckBox::EventType t) { events.push_back(static_cast<int>(t)); });
    box->setSelected(true);
    driver().stepFrames(1);
    expectColour(colourAt(Vec2(400, 400)), 255, 255, 0);
    EXPECT_TRUE(events.empty());
    tap(Vec2(400, 400));
    expectColour(colourAt(Vec2(400, 400)), 90, 90, 90);
    EXPECT_EQ(events, (std::vector<int>{1}));
}

}  // namespace
