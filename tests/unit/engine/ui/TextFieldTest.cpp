#include <string>
#include <vector>

#include "engine/base/RefPtr.h"
#include "engine/platform/FileUtils.h"
#include "engine/platform/TextInput.h"
#include "engine/ui/TextFieldDelegate.h"
#include "engine/ui/TextFieldTTF.h"
#include "WidgetFixture.h"

namespace {

using cocos2d::Color3B;
using cocos2d::Color4B;
using cocos2d::RefPtr;
using cocos2d::Size;
using cocos2d::TextFieldTTF;
using cocos2d::TextHAlignment;
using cocos2d::TextInput;

std::string fontPath() {
    const std::string staged = std::string(KESTROVA_RESOURCE_DIR) + "/res/fonts/Arial.ttf";
    if (cocos2d::FileUtils::getInstance()->isFileExist(staged)) {
        return staged;
    }
    return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
}

// Records every question and refuses what it is told to.
class RecordingDelegate : public cocos2d::TextFieldDelegate {
public:
    bool onTextFieldAttachWithIME(TextFieldTTF*) override {
        log.push_back("attach?");
        return refuseAttach;
    }
    bool onTextFieldDetachWithIME(TextFieldTTF*) override {
        log.push_back("detach?");
        return refuseDetach;
    }
    bool onTextFieldInsertText(TextFieldTTF* field, const char* text, size_t length) override {
        log.push_back("insert " + std::string(text, length));
        return field->getCharCount() > maxChars;
    }
    bool onTextFieldDeleteBackward(TextFieldTTF*, const char* text, size_t length) override {
        log.push_back("delete " + std::string(text, length));
        return refuseDelete;
    }
    std::vector<std::string> log;
    bool refuseAttach = false;
    bool refuseDetach = false;
    bool refuseDelete = false;
    int maxChars = 30;
};

class TextFieldTest : public enginetest::WidgetFixture {
protected:
    void SetUp() override {
        WidgetFixture::SetUp();
        field = TextFieldTTF::textFieldWithPlaceHolder("Your name", Size(300, 40), TextHAlignment::CENTER,
                                                       fontPath(), 25);
        ASSERT_NE(field, nullptr);
        field->setDelegate(&delegate);
        field->setTextColor(Color4B(87, 74, 2, 255));
        scene->addChild(field);
    }
    void TearDown() override {
        TextInput::detach(TextInput::getAttached());
        WidgetFixture::TearDown();
    }
    // Text as the platform delivers it to whatever is attached.
    static void type(const std::string& text) {
        if (auto* receiver = TextInput::getAttached()) {
            receiver->insertText(text);
        }
    }
    static void backspace() {
        if (auto* receiver = TextInput::getAttached()) {
            receiver->deleteBackward();
        }
    }

    TextFieldTTF* field = nullptr;
    RecordingDelegate delegate;
};

TEST_F(TextFieldTest, ThePlaceholderShowsInGreyWhileTheFieldIsEmpty) {
    EXPECT_EQ(field->getString(), "");
    EXPECT_EQ(field->Label::getString(), "Your name");
    EXPECT_EQ(field->Label::getTextColor(), Color4B(127, 127, 127, 255));
    EXPECT_GT(field->getContentSize().width, 0.0f);
    field->setString("Ada");
    EXPECT_EQ(field->Label::getString(), "Ada");
    EXPECT_EQ(field->Label::getTextColor(), Color4B(87, 74, 2, 255));
    field->setString("");
    field->setColorSpaceHolder(Color3B(200, 10, 10));
    EXPECT_EQ(field->Label::getTextColor(), Color4B(200, 10, 10, 255));
    field->setPlaceHolder("Name?");
    EXPECT_EQ(field->Label::getString(), "Name?");
    EXPECT_TRUE(delegate.log.empty()) << "setting from code asks nobody";
}

TEST_F(TextFieldTest, TypedTextIsOfferedWholeAndAppendedUnlessRefused) {
    ASSERT_TRUE(field->attachWithIME());
    EXPECT_TRUE(field->isAttachedWithIME());
    type("A");
    type("da");
    type("\r\n");  // Enter never becomes text
    type("L\novelace");
    EXPECT_EQ(field->getString(), "AdaLovelace");
    EXPECT_EQ(delegate.log,
              (std::vector<std::string>{"attach?", "insert A", "insert da", "insert Lovelace"}));

    delegate.maxChars = 10;
    type("!");
    EXPECT_EQ(field->getString(), "AdaLovelace") << "refused: the field already holds 11 characters";
    EXPECT_TRUE(field->isAttachedWithIME());
}

TEST_F(TextFieldTest, BackspaceRemovesOneUtf8CharacterUnlessRefused) {
    field->attachWithIME();
    type("Zoë");
    EXPECT_EQ(field->getCharCount(), 3);
    EXPECT_EQ(field->getString().size(), 4u);
    backspace();
    EXPECT_EQ(field->getString(), "Zo");
    EXPECT_EQ(delegate.log.back(), "delete ë");
    delegate.refuseDelete = true;
    backspace();
    EXPECT_EQ(field->getString(), "Zo");
    delegate.refuseDelete = false;
    backspace();
    backspace();
    backspace();  // empty: nothing to ask about
    EXPECT_EQ(field->getString(), "");
    EXPECT_EQ(field->Label::getString(), "Your name");
    EXPECT_EQ(delegate.log.back(), "delete Z");
}

TEST_F(TextFieldTest, OneFieldIsAttachedAtATimeAndTheDelegateMayRefuse) {
    TextFieldTTF* other = TextFieldTTF::textFieldWithPlaceHolder("other", fontPath(), 20);
    scene->addChild(other);
    field->attachWithIME();
    other->attachWithIME();
    EXPECT_FALSE(field->isAttachedWithIME());
    EXPECT_TRUE(other->isAttachedWithIME());
    type("x");
    EXPECT_EQ(field->getString(), "");
    EXPECT_EQ(other->getString(), "x");
    EXPECT_EQ(delegate.log, (std::vector<std::string>{"attach?", "detach?"}));

    delegate.refuseAttach = true;
    EXPECT_FALSE(field->attachWithIME());
    EXPECT_TRUE(other->isAttachedWithIME());
    delegate.refuseAttach = false;
    field->attachWithIME();
    delegate.refuseDetach = true;
    EXPECT_FALSE(field->detachWithIME());
    EXPECT_TRUE(field->isAttachedWithIME());
    delegate.refuseDetach = false;
    EXPECT_TRUE(field->detachWithIME());
    EXPECT_EQ(TextInput::getAttached(), nullptr);
}

TEST_F(TextFieldTest, LeavingTheStageOrDyingStopsTextInput) {
    delegate.refuseDetach = true;  // leaving the stage does not ask
    field->attachWithIME();
    {
        RefPtr<TextFieldTTF> keep(field);
        field->removeFromParent();
        EXPECT_EQ(TextInput::getAttached(), nullptr);
    }
    TextFieldTTF* second = TextFieldTTF::textFieldWithPlaceHolder("", fontPath(), 20);
    second->retain();
    second->attachWithIME();
    EXPECT_NE(TextInput::getAttached(), nullptr);
    step();
    second->release();  // destroyed while attached
    EXPECT_EQ(TextInput::getAttached(), nullptr);
    type("nobody hears this");
}

TEST_F(TextFieldTest, AFontThatCannotBeLoadedGivesNullAndOneLine) {
    auto& lines = captureLog();
    EXPECT_EQ(TextFieldTTF::textFieldWithPlaceHolder("x", Size(100, 20), TextHAlignment::LEFT,
                                                     "fonts/none.ttf", 20),
              nullptr);
    EXPECT_EQ(lines.size(), 1u);
}

}  // namespace
