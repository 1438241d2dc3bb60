#include <string>
#include <vector>

#include "../HeadlessEngine.h"
#include "engine/2d/Label.h"
#include "engine/2d/LabelProtocol.h"
#include "engine/base/RefPtr.h"
#include "engine/platform/FileUtils.h"

namespace {

using cocos2d::Label;
using cocos2d::LabelProtocol;
using cocos2d::RefPtr;
using cocos2d::Size;
using cocos2d::TextHAlignment;
using cocos2d::TextVAlignment;
using cocos2d::TTFConfig;

// The staged UI font when the resource tree has it, else the Debian font it is copied from.
std::string fontPath() {
    const std::string staged = std::string(KESTROVA_RESOURCE_DIR) + "/res/fonts/Arial.ttf";
    if (cocos2d::FileUtils::getInstance()->isFileExist(staged)) {
        return staged;
    }
    return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
}

class LabelTest : public enginetest::HeadlessEngine {
protected:
    // The width of one unwrapped line of text, measured by a label of its own.
    float widthOf(const std::string& text, float size = 24) {
        RefPtr<Label> line = Label::createWithTTF(text, fontPath(), size);
        return line ? line->getContentSize().width : -1.0f;
    }
};

TEST_F(LabelTest, ContentSizeFollowsTheLaidOutText) {
    RefPtr<Label> label = Label::createWithTTF("Restore", fontPath(), 24);
    ASSERT_TRUE(label);
    const float lineHeight = label->getLineHeight();
    EXPECT_GT(lineHeight, 24.0f * 0.9f);
    EXPECT_LT(lineHeight, 24.0f * 1.6f);
    EXPECT_GT(label->getContentSize().width, 0.0f);
    EXPECT_EQ(label->getContentSize().height, lineHeight);

    // Synchronous: the size is right as soon as setString returns.
    label->setString("Restore\nthe painting");
    EXPECT_EQ(label->getStringNumLines(), 2);
    EXPECT_EQ(label->getContentSize().width, widthOf("the painting"));
    EXPECT_EQ(label->getContentSize().height, 2 * lineHeight);

    label->setString("a\r\nb\rc\n");
    EXPECT_EQ(label->getStringNumLines(), 4);
    EXPECT_EQ(label->getString(), "a\r\nb\rc\n");

    label->setString("");
    EXPECT_EQ(label->getContentSize(), Size::ZERO);

    label->setLineHeight(lineHeight * 0.5f);
    label->setString("x\ny\nz");
    EXPECT_FLOAT_EQ(label->getContentSize().height, 1.5f * lineHeight);
}

TEST_F(LabelTest, WidthWrapsAtWordsAndCutsOnlyWordsTooLongAlone) {
    const float pair = widthOf("aaaa aaaa");
    ASSERT_GT(pair, 0.0f);
    RefPtr<Label> label =
        Label::createWithTTF("aaaa aaaa aaaa aaaa aaaa", fontPath(), 24, Size(pair + 1.0f, 0.0f));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->getStringNumLines(), 3);
    // A width with height 0: the box is that wide and grows downwards with the lines.
    EXPECT_EQ(label->getContentSize().width, pair + 1.0f);
    EXPECT_EQ(label->getContentSize().height, 3 * label->getLineHeight());

    // Spaces at a break are dropped, so they cannot push a fitting word onto a line of its own.
    label->setString("aaaa          aaaa aaaa");
    EXPECT_EQ(label->getStringNumLines(), 2);

    const float five = widthOf("aaaaa");
    label->setDimensions(five + 1.0f, 0.0f);
    label->setString(std::string(20, 'a'));
    EXPECT_EQ(label->getStringNumLines(), 4);
    // A box narrower than one character still gives one character per line, never an endless loop.
    label->setDimensions(1.0f, 0.0f);
    label->setString("abc");
    EXPECT_EQ(label->getStringNumLines(), 3);
    // Multi-byte characters are never split.
    label->setString("\xC3\xA9\xC3\xA9");
    EXPECT_EQ(label->getStringNumLines(), 2);
}

TEST_F(LabelTest, FixedBoxKeepsItsSizeWhateverTheText) {
    RefPtr<Label> label = Label::createWithTTF("one\ntwo\nthree\nfour", fontPath(), 20, Size(300, 40),
                                               TextHAlignment::CENTER, TextVAlignment::CENTER);
    ASSERT_TRUE(label);
    EXPECT_EQ(label->getContentSize(), Size(300, 40));
    EXPECT_EQ(label->getDimensions(), Size(300, 40));
    label->setAlignment(TextHAlignment::RIGHT, TextVAlignment::BOTTOM);
    EXPECT_EQ(label->getHorizontalAlignment(), TextHAlignment::RIGHT);
    EXPECT_EQ(label->getVerticalAlignment(), TextVAlignment::BOTTOM);
    EXPECT_EQ(label->getContentSize(), Size(300, 40));
    // Height only: the width follows the text.
    label->setDimensions(0, 40);
    EXPECT_EQ(label->getContentSize(), Size(widthOf("three", 20), 40));
}

TEST_F(LabelTest, InvalidUtf8ShowsReplacementGlyphsInsteadOfFailing) {
    const std::vector<std::string> hostile = {
        std::string("ab\xFF\xFE", 4),       // bytes that never start a character
        std::string("\xC3", 1),             // truncated sequence at the end
        std::string("\xE0\x80\xAF", 3),     // overlong form
        std::string("\xED\xA0\x80", 3),     // surrogate
        std::string("a\0b", 3),             // NUL would cut the text short
        std::string("\xF4\x90\x80\x80", 4)  // past U+10FFFF
    };
    for (const std::string& text : hostile) {
        RefPtr<Label> label = Label::createWithTTF(text, fontPath(), 24);
        ASSERT_TRUE(label);
        EXPECT_EQ(label->getString(), text);
        EXPECT_GT(label->getContentSize().width, 0.0f) << "text of " << text.size() << " bytes";
    }
    // The NUL is shown, not treated as the end: three characters are wider than "a".
    RefPtr<Label> withNul = Label::createWithTTF(std::string("a\0b", 3), fontPath(), 24);
    EXPECT_GT(withNul->getContentSize().width, widthOf("ab"));
}

TEST_F(LabelTest, FontsThatCannotBeLoadedGiveNullAndOneLine) {
    auto& log = captureLog();
    EXPECT_EQ(Label::createWithTTF("x", "fonts/NoSuchFont.ttf", 24), nullptr);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("fonts/NoSuchFont.ttf"), std::string::npos);

    // A file that exists but is no font.
    const std::string notAFont = std::string(KESTROVA_TEST_DATA_DIR) + "/../CMakeLists.txt";
    log.clear();
    EXPECT_EQ(Label::createWithTTF("x", notAFont, 24), nullptr);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("CMakeLists.txt"), std::string::npos);

    for (float size : {0.0f, -3.0f, 1e9f}) {
        log.clear();
        EXPECT_EQ(Label::createWithTTF("x", fontPath(), size), nullptr);
        EXPECT_EQ(log.size(), 1u);
    }

    log.clear();
    EXPECT_EQ(Label::createWithBMFont("fonts/score.fnt", "12"), nullptr);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("bitmap fonts are not supported"), std::string::npos);
}

TEST_F(LabelTest, TtfConfigMovesBetweenLabelsAndABadOneChangesNothing) {
    RefPtr<Label> label = Label::createWithTTF("Play", fontPath(), 30);
    ASSERT_TRUE(label);
    EXPECT_EQ(label->getTTFConfig().fontFilePath, fontPath());
    EXPECT_EQ(label->getTTFConfig().fontSize, 30.0f);

    RefPtr<Label> title = Label::createWithTTF("Play", fontPath(), 12);
    const float small = title->getContentSize().width;
    EXPECT_TRUE(title->setTTFConfig(label->getTTFConfig()));
    EXPECT_GT(title->getContentSize().width, small);
    EXPECT_EQ(title->getContentSize(), label->getContentSize());

    auto& log = captureLog();
    EXPECT_FALSE(title->setTTFConfig(TTFConfig("fonts/missing.ttf", 12)));
    EXPECT_EQ(log.size(), 1u);
    EXPECT_EQ(title->getTTFConfig().fontSize, 30.0f);
    EXPECT_EQ(title->getContentSize(), label->getContentSize());
}

TEST_F(LabelTest, CountingActionsFindTheLabelThroughItsProtocol) {
    RefPtr<Label> label = Label::createWithTTF("0", fontPath(), 24);
    cocos2d::Node* node = label.get();
    auto* protocol = dynamic_cast<LabelProtocol*>(node);
    ASSERT_NE(protocol, nullptr);
    protocol->setString("1250");
    EXPECT_EQ(label->getString(), "1250");
    EXPECT_EQ(label->getContentSize().width, widthOf("1250"));
}

}  // namespace
