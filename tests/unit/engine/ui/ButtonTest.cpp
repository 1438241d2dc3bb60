#include <string>
#include <vector>

#include "engine/2d/Label.h"
#include "engine/base/Log.h"
#include "engine/platform/FileUtils.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrame.h"
#include "engine/scene/SpriteFrameCache.h"
#include "engine/ui/Button.h"
#include "engine/ui/CheckBox.h"
#include "WidgetFixture.h"

namespace {

using cocos2d::Color3B;
using cocos2d::Size;
using cocos2d::Sprite;
using cocos2d::Vec2;
using cocos2d::ui::Button;
using cocos2d::ui::CheckBox;
using cocos2d::ui::Widget;

std::string fontPath() {
    const std::string staged = std::string(KESTROVA_RESOURCE_DIR) + "/res/fonts/Arial.ttf";
    if (cocos2d::FileUtils::getInstance()->isFileExist(staged)) {
        return staged;
    }
    return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
}

class ButtonTest : public enginetest::WidgetFixture {
protected:
    void SetUp() override {
        WidgetFixture::SetUp();
        addTexture("normal.png", 100, 40);
        addTexture("pressed.png", 100, 40);
        addTexture("disabled.png", 100, 40);
        addTexture("wide.png", 200, 60);
    }

    Button* place(Button* button) {
        button->setPosition(400, 300);
        scene->addChild(button);
        return button;
    }
};

TEST_F(ButtonTest, TheShownImageFollowsTheState) {
    struct Case {
        const char* what;
        bool withPressed;
        bool withDisabled;
        bool pressed;
        bool enabled;
        bool bright;
        const char* shown;  // the texture key's file name
        float scale;
        Color3B tint;
    };
    const Color3B white = Color3B::WHITE;
    const Color3B dim(128, 128, 128);
    const Case cases[] = {
        {"idle", true, true, false, true, true, "normal.png", 1.0f, white},
        {"pressed with a pressed image", true, true, true, true, true, "pressed.png", 1.0f, white},
        {"pressed without one: the normal image zooms", false, false, true, true, true, "normal.png", 0.9f,
         white},
        {"disabled", true, true, false, false, true, "disabled.png", 1.0f, white},
        {"dimmed", true, true, false, true, false, "disabled.png", 1.0f, white},
        {"dimmed and pressed keeps the dimmed look", true, true, true, true, false, "disabled.png", 1.0f,
         white},
        {"dimmed without a disabled image: the normal one darkened", true, false, false, true, false,
         "normal.png", 1.0f, dim},
        {"disabled without a disabled image", false, false, false, false, true, "normal.png", 1.0f, dim},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Button* button = place(Button::create());
        button->loadTextureNormal("normal.png");
        if (c.withPressed) {
            button->loadTexturePressed("pressed.png");
        }
        if (c.withDisabled) {
            button->loadTextureDisabled("disabled.png");
        }
        button->setZoomScale(-0.1f);
        button->setEnabled(c.enabled);
        button->setBright(c.bright);
        if (c.pressed) {
            began(Vec2(400, 300));
        }
        Sprite* shown = button->getShownImage();
        ASSERT_NE(shown, nullptr);
        const std::string& path = shown->getTexture()->getPath();
        EXPECT_EQ(path.substr(path.rfind('/') + 1), c.shown);
        EXPECT_FLOAT_EQ(shown->getScaleX(), c.scale);
        EXPECT_FLOAT_EQ(shown->getScaleY(), c.scale);
        EXPECT_EQ(shown->getColor(), c.tint);
        if (c.pressed) {
            ended(Vec2(400, 300));
        }
        button->removeFromParent();
    }
}

TEST_F(ButtonTest, TheContentSizeFollowsTheNormalImageAndAMissingImageKeepsThePreviousOne) {
    Button* button = place(Button::create("normal.png"));
    EXPECT_EQ(button->getContentSize(), Size(100, 40));
    button->loadTextureNormal("wide.png");
    EXPECT_EQ(button->getContentSize(), Size(200, 60)) << "a reload measures again";
    EXPECT_EQ(button->getAnchorPointInPoints(), Vec2(100, 30));

    auto& lines = captureLog();
    button->loadTextureNormal("no/such/image.png");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("no/such/image.png"), std::string::npos);
    EXPECT_EQ(button->getContentSize(), Size(200, 60));
    ASSERT_NE(button->getShownImage(), nullptr);
    EXPECT_NE(button->getShownImage()->getTexture()->getPath().find("wide.png"), std::string::npos);
}

TEST_F(ButtonTest, AButtonWhoseImageIsMissingLogsOnceAndStillClicksInItsSize) {
    auto& lines = captureLog();
    Button* button = place(Button::create());
    button->setContentSize(Size(80, 80));
    button->loadTextureNormal("missing.png");
    button->loadTexturePressed("missing_pressed.png");
    EXPECT_EQ(lines.size(), 2u) << "one line per missing image";
    int clicks = 0;
    button->addClickEventListener([&](cocos2d::Ref*) { ++clicks; });
    tap(Vec2(430, 330));  // inside 360..440, 260..340
    tap(Vec2(450, 300));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->getShownImage(), nullptr);
    step();
    EXPECT_EQ(lines.size(), 2u) << "drawing logs nothing more";
}

TEST_F(ButtonTest, ImagesComeFromSpriteFramesAsWellAsFiles) {
    auto* frames = cocos2d::SpriteFrameCache::getInstance();
    frames->addSpriteFramesWithFile(std::string(KESTROVA_RESOURCE_DIR) +
                                    "/res/ui/Confirmation/Confirmation_atlas.xml");
    cocos2d::SpriteFrame* yes = frames->getSpriteFrameByName("cf_btn_yes.png");
    ASSERT_NE(yes, nullptr);
    Button* button = place(Button::create());
    button->loadTextureNormal("cf_btn_yes.png", Widget::TextureResType::PLIST);
    button->loadTexturePressed("cf_btn_no.png", Widget::TextureResType::PLIST);
    EXPECT_EQ(button->getContentSize(), yes->getOriginalSize());
    EXPECT_TRUE(button->getShownImage()->isFrameDisplayed(yes));

    auto& lines = captureLog();
    button->loadTextureNormal("cf_no_such_frame.png", Widget::TextureResType::PLIST);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("cf_no_such_frame.png"), std::string::npos);
    EXPECT_TRUE(button->getShownImage()->isFrameDisplayed(yes)) << "the previous frame stays";
    cocos2d::SpriteFrameCache::destroyInstance();
}

TEST_F(ButtonTest, ColourAndOpacityCascadeToTheImages) {
    Button* button = place(Button::create("normal.png"));
    button->setColor(Color3B(220, 220, 220));  // the hover tint
    button->setOpacity(128);
    Sprite* image = button->getShownImage();
    EXPECT_EQ(image->getDisplayedColor(), Color3B(220, 220, 220));
    EXPECT_EQ(image->getDisplayedOpacity(), 128);
    button->setBright(false);  // darkened normal image under the tint
    EXPECT_EQ(image->getDisplayedColor(), Color3B(110, 110, 110));
}

TEST_F(ButtonTest, TheGlobalZReachesTheImagesLoadedBeforeAndAfter) {
    Button* button = place(Button::create("normal.png"));
    button->setGlobalZOrder(10);
    button->loadTextureDisabled("disabled.png");
    button->setEnabled(false);
    EXPECT_FLOAT_EQ(button->getShownImage()->getGlobalZOrder(), 10.0f);
    button->setEnabled(true);
    EXPECT_FLOAT_EQ(button->getShownImage()->getGlobalZOrder(), 10.0f);
}

TEST_F(ButtonTest, ImagesAreNotChildren) {
    Button* button = place(Button::create("normal.png", "pressed.png", "disabled.png"));
    EXPECT_EQ(button->getChildrenCount(), 0);
    cocos2d::Node* part = cocos2d::Node::create();
    part->setName("label");
    button->addChild(part);
    EXPECT_EQ(button->getChildByName("label"), part);
    EXPECT_EQ(button->getChildrenCount(), 1);
}

TEST_F(ButtonTest, TheTitleTakesSettingsGivenBeforeItsFontAndIsCentred) {
    Button* button = place(Button::create("wide.png"));
    auto& lines = captureLog();
    button->setTitleFontSize(22);
    button->setTitleColor(Color3B::GRAY);
    button->setTitleText("Play");
    button->setTitleText("Play again");
    EXPECT_EQ(button->getTitleRenderer(), nullptr);
    ASSERT_EQ(lines.size(), 1u) << "a button without a font says so once";
    EXPECT_NE(lines[0].find("Play"), std::string::npos);

    button->setTitleFontName(fontPath());
    cocos2d::Label* title = button->getTitleRenderer();
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->getString(), "Play again");
    EXPECT_EQ(title->getTTFConfig().fontFilePath, fontPath());
    EXPECT_FLOAT_EQ(title->getTTFConfig().fontSize, 22.0f);
    EXPECT_EQ(title->getColor(), Color3B::GRAY);
    EXPECT_EQ(title->getPosition(), Vec2(100, 30));
    EXPECT_EQ(title->getAnchorPoint(), Vec2(0.5f, 0.5f));
    EXPECT_EQ(button->getChildrenCount(), 0) << "the title is not a child";

    button->setTitleFontName("fonts/none.ttf");
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_EQ(button->getTitleRenderer(), title);
    EXPECT_EQ(button->getTitleFontName(), fontPath()) << "the font that loaded stays";
    button->setTitleFontSize(30);
    EXPECT_FLOAT_EQ(title->getTTFConfig().fontSize, 30.0f);
}

TEST_F(ButtonTest, TheTitleZoomsWithTheImageAndTakesTheHoverTintAndGlobalZ) {
    Button* button = place(Button::create("normal.png"));
    button->setTitleFontName(fontPath());
    button->setTitleText("OK");
    button->setZoomScale(-0.1f);
    button->setGlobalZOrder(10);
    cocos2d::Label* title = button->getTitleRenderer();
    EXPECT_FLOAT_EQ(title->getGlobalZOrder(), 10.0f);
    began(Vec2(400, 300));
    EXPECT_FLOAT_EQ(title->getScale(), 0.9f);
    ended(Vec2(400, 300));
    EXPECT_FLOAT_EQ(title->getScale(), 1.0f);
    button->setTitleColor(Color3B(200, 100, 0));
    button->setColor(Color3B(220, 220, 220));
    EXPECT_EQ(title->getDisplayedColor(), Color3B(172, 86, 0));
    button->setTitleColor(Color3B(100, 100, 100));
    EXPECT_EQ(title->getDisplayedColor(), Color3B(86, 86, 86)) << "a later title colour keeps the tint";
}

class CheckBoxTest : public enginetest::WidgetFixture {
protected:
    void SetUp() override {
        WidgetFixture::SetUp();
        addTexture("box.png", 40, 40);
        addTexture("cross.png", 30, 30);
        box = CheckBox::create();
        box->loadTextureBackGround("box.png");
        box->loadTextureFrontCross("cross.png");
        box->setPosition(100, 100);
        scene->addChild(box);
        box->addEventListener([this](cocos2d::Ref*, CheckBox::EventType type) {
            events.push_back(type == CheckBox::EventType::SELECTED ? "selected" : "unselected");
        });
    }
    bool crossShown() const {
        for (cocos2d::Node* n : box->getProtectedChildren()) {
            auto* s = static_cast<Sprite*>(n);
            if (s->getTexture()->getPath().find("cross.png") != std::string::npos) {
                return s->isVisible();
            }
        }
        return false;
    }
    CheckBox* box = nullptr;
    std::vector<std::string> events;
};

TEST_F(CheckBoxTest, SettingTheStateFromCodeFiresNothingAndATapTogglesThenReports) {
    EXPECT_EQ(box->getContentSize(), Size(40, 40));
    EXPECT_FALSE(crossShown());
    box->setSelected(true);
    box->setSelected(false);
    box->setSelected(true);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(crossShown());

    bool stateInListener = true;
    box->addEventListener([&](cocos2d::Ref*, CheckBox::EventType type) {
        stateInListener = box->isSelected();
        events.push_back(type == CheckBox::EventType::SELECTED ? "selected" : "unselected");
    });
    tap(Vec2(100, 100));
    EXPECT_EQ(events, (std::vector<std::string>{"unselected"}));
    EXPECT_FALSE(stateInListener) << "the listener sees the new state";
    EXPECT_FALSE(crossShown());
    tap(Vec2(100, 100));
    tap(Vec2(200, 200));  // outside: nothing
    EXPECT_EQ(events, (std::vector<std::string>{"unselected", "selected"}));
    EXPECT_TRUE(crossShown());
}

TEST_F(CheckBoxTest, PressedTheImagesZoom) {
    box->setZoomScale(-0.1f);
    began(Vec2(100, 100));
    for (cocos2d::Node* n : box->getProtectedChildren()) {
        EXPECT_FLOAT_EQ(n->getScaleX(), 0.9f);
        EXPECT_EQ(n->getPosition(), Vec2(20, 20)) << "centred on the box";
    }
    ended(Vec2(100, 100));
    for (cocos2d::Node* n : box->getProtectedChildren()) {
        EXPECT_FLOAT_EQ(n->getScaleX(), 1.0f);
    }
}

TEST_F(ButtonTest, ImagesKeepTheirOwnSizeUnlessTheButtonHasASetSize) {
    Button* button = place(Button::create("normal.png", "wide.png"));
    began(Vec2(400, 300));
    EXPECT_EQ(button->getShownImage()->getContentSize(), Size(200, 60));
    EXPECT_FLOAT_EQ(button->getShownImage()->getScaleX(), 1.0f)
        << "a pressed image of its own size is drawn as is";
    ended(Vec2(400, 300));
    button->ignoreContentAdaptWithSize(false);
    button->setContentSize(Size(50, 20));
    EXPECT_FLOAT_EQ(button->getShownImage()->getScaleX(), 0.5f);
    EXPECT_FLOAT_EQ(button->getShownImage()->getScaleY(), 0.5f);
    EXPECT_EQ(button->getShownImage()->getPosition(), Vec2(25, 10));
}

}  // namespace
