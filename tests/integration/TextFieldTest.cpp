#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Driver.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeIn.h"
#include "engine/actions/FadeTo.h"
#include "engine/actions/RepeatForever.h"
#include "engine/actions/Sequence.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerKeyboard.h"
#include "engine/platform/GLViewImpl.h"
#include "engine/renderer/Image.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrameCache.h"
#include "engine/ui/Button.h"
#include "engine/ui/TextFieldDelegate.h"
#include "engine/ui/TextFieldTTF.h"

namespace {

using cocos2d::Color3B;
using cocos2d::Color4B;
using cocos2d::Director;
using cocos2d::Rect;
using cocos2d::RefPtr;
using cocos2d::Size;
using cocos2d::TextFieldTTF;
using cocos2d::Vec2;
using Key = cocos2d::EventKeyboard::KeyCode;

const std::string kFont = std::string(KESTROVA_RESOURCE_DIR) + "/res/fonts/Arial.ttf";
const std::string kSheet = std::string(KESTROVA_RESOURCE_DIR) + "/res/ui/Confirmation/Confirmation_atlas.xml";

// A name prompt as a popup builds it: a panel, a field that blinks until the first character, Yes and
// No buttons, and Enter released confirming. It limits names to 31 characters as the game does.
class NamePrompt : public cocos2d::Node, public cocos2d::TextFieldDelegate {
public:
    static NamePrompt* create() {
        auto* prompt = new NamePrompt();
        prompt->init();
        prompt->autorelease();
        return prompt;
    }
    bool init() override {
        auto* frames = cocos2d::SpriteFrameCache::getInstance();
        frames->addSpriteFramesWithFile(kSheet);
        if (auto* panel = cocos2d::Sprite::createWithSpriteFrameName("cf_panel.png")) {
            addChild(panel, -1);
        }
        if (auto* place = cocos2d::Sprite::createWithSpriteFrameName("cf_field.png")) {
            place->setPosition(0, 20);
            addChild(place, -1);
        }
        field = TextFieldTTF::textFieldWithPlaceHolder("new player", Size(300, 40),
                                                       cocos2d::TextHAlignment::CENTER, kFont, 25);
        field->setPosition(0, 20);
        field->setDelegate(this);
        field->setTextColor(Color4B(87, 74, 2, 255));
        field->attachWithIME();
        addChild(field);
        auto* blink = cocos2d::RepeatForever::create(
            cocos2d::Sequence::create(cocos2d::FadeTo::create(0.3f, 128), cocos2d::DelayTime::create(0.15f),
                                      cocos2d::FadeIn::create(0.3f), cocos2d::DelayTime::create(0.15f)));
        blink->setTag(55);
        field->runAction(blink);
        for (const char* name : {"Yes", "No"}) {
            auto* button =
                cocos2d::ui::Button::create(name == std::string("Yes") ? "cf_btn_yes.png" : "cf_btn_no.png",
                                            "", "", cocos2d::ui::Widget::TextureResType::PLIST);
            button->setTitleFontName(kFont);
            button->setTitleFontSize(22);
            button->setTitleText(name);
            button->setPosition(name == std::string("Yes") ? -90 : 90, -60);
            button->setName(name);
            addChild(button);
        }
        static_cast<cocos2d::ui::Button*>(getChildByName("Yes"))
            ->addClickEventListener([this](cocos2d::Ref*) { onYes(); });
        auto* keys = cocos2d::EventListenerKeyboard::create();
        keys->onKeyReleased = [this](Key code, cocos2d::Event*) {
            if (code == Key::KEY_KP_ENTER) {
                onYes();
            }
        };
        getEventDispatcher()->addEventListenerWithSceneGraphPriority(keys, this);
        return true;
    }
    bool onTextFieldInsertText(TextFieldTTF* sender, const char* text, size_t length) override {
        inserted.emplace_back(text, length);
        if (sender->getCharCount() > 30) {
            return true;
        }
        sender->stopActionByTag(55);
        return false;
    }
    void onYes() {
        if (!field->getString().empty()) {
            confirmed.push_back(field->getString());
        }
    }

    TextFieldTTF* field = nullptr;
    std::vector<std::string> inserted;
    std::vector<std::string> confirmed;
};

class TextFieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        scene = cocos2d::Scene::create();
        scene->addChild(cocos2d::LayerColor::create(Color4B(30, 60, 90, 255), 1280, 810), -10);
        prompt = NamePrompt::create();
        prompt->setPosition(640, 405);
        scene->addChild(prompt);
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(2);
        ASSERT_EQ(Director::getInstance()->getRunningScene(), scene);
    }
    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string("TextFieldTest_") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png"));
        }
        cocos2d::SpriteFrameCache::destroyInstance();
    }
    static testing::Driver& driver() { return testing::Driver::get(); }
    void press(Key key) {
        driver().key(key, true);
        driver().key(key, false);
    }

    cocos2d::Scene* scene = nullptr;
    NamePrompt* prompt = nullptr;
};

TEST_F(TextFieldTest, TypingAdaThenEnterGivesAdaAndTheFieldStaysAttached) {
    EXPECT_TRUE(driver().view()->isTextInputEnabled());
    driver().text("A");
    driver().text("d");
    driver().text("a");
    driver().stepFrames(1);
    press(Key::KEY_KP_ENTER);
    driver().stepFrames(1);
    EXPECT_EQ(prompt->confirmed, (std::vector<std::string>{"Ada"}));
    EXPECT_EQ(prompt->field->getString(), "Ada") << "no line end was typed";
    EXPECT_EQ(prompt->inserted, (std::vector<std::string>{"A", "d", "a"}));
    EXPECT_TRUE(prompt->field->isAttachedWithIME());
    EXPECT_TRUE(driver().view()->isTextInputEnabled());
    EXPECT_EQ(prompt->field->getActionByTag(55), nullptr) << "the first character stopped the blink";
}

TEST_F(TextFieldTest, APasteArrivesWholeAndBackspaceHeldDownKeepsDeleting) {
    driver().text("Lovelace, Ada");
    driver().stepFrames(1);
    EXPECT_EQ(prompt->inserted, (std::vector<std::string>{"Lovelace, Ada"}));
    driver().key(Key::KEY_BACKSPACE, true);
    driver().keyRepeat(Key::KEY_BACKSPACE);
    driver().keyRepeat(Key::KEY_BACKSPACE);
    driver().key(Key::KEY_BACKSPACE, false);
    driver().stepFrames(1);
    EXPECT_EQ(prompt->field->getString(), "Lovelace, ");
}

TEST_F(TextFieldTest, ThirtyOneCharactersAtMostWhenTypedOneByOne) {
    for (int i = 0; i < 40; ++i) {
        driver().text("x");
    }
    driver().stepFrames(1);
    EXPECT_EQ(prompt->field->getCharCount(), 31);
}

TEST_F(TextFieldTest, LeavingTheStageTurnsTextInputOff) {
    RefPtr<NamePrompt> keep(prompt);
    prompt->removeFromParent();
    EXPECT_FALSE(driver().view()->isTextInputEnabled());
    driver().text("lost");
    driver().stepFrames(1);
    EXPECT_EQ(prompt->field->getString(), "");
}

TEST_F(TextFieldTest, ThePlaceholderIsGreyAndTheTypedTextTakesItsColour) {
    prompt->field->stopActionByTag(55);
    prompt->field->setOpacity(255);
    driver().stepFrames(1);
    // The darkest and the most saturated pixels over the field's box (590..690 covers the text).
    const auto sample = [&] {
        RefPtr<cocos2d::Image> image = driver().readPixels(Rect(490, 810 - 445, 300, 40));
        Color4B strongest(0, 0, 0, 0);
        int best = -1;
        for (int y = 0; image && y < image->getHeight(); ++y) {
            for (int x = 0; x < image->getWidth(); ++x) {
                const Color4B c = image->getPixel(x, y);
                const int score =
                    std::abs(c.r - c.b) + std::abs(c.g - c.b) + std::abs(c.r - c.g) - (c.r + c.g + c.b) / 8;
                if (score > best) {
                    best = score;
                    strongest = c;
                }
            }
        }
        return strongest;
    };
    const Color4B placeholder = sample();
    driver().text("Ada");
    driver().stepFrames(2);
    const Color4B typed = sample();
    // The typed text is a dark olive (87, 74, 2): red above blue. The grey placeholder has no such cast.
    EXPECT_GT(typed.r - typed.b, 40);
    EXPECT_LT(std::abs(placeholder.r - placeholder.b), std::abs(typed.r - typed.b));
}

}  // namespace
