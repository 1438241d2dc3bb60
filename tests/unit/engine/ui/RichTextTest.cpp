#include <string>
#include <vector>

#include "engine/2d/Label.h"
#include "engine/base/RefPtr.h"
#include "engine/platform/FileUtils.h"
#include "engine/scene/Node.h"
#include "engine/ui/RichText.h"
#include "WidgetFixture.h"

namespace {

using cocos2d::Color3B;
using cocos2d::Label;
using cocos2d::Node;
using cocos2d::RefPtr;
using cocos2d::Size;
using cocos2d::Vec2;
using cocos2d::ui::RichElementCustomNode;
using cocos2d::ui::RichElementText;
using cocos2d::ui::RichText;

std::string fontPath() {
    const std::string staged = std::string(KESTROVA_RESOURCE_DIR) + "/res/fonts/Arial.ttf";
    if (cocos2d::FileUtils::getInstance()->isFileExist(staged)) {
        return staged;
    }
    return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
}

float lineHeightAt(float size) {
    RefPtr<Label> label = Label::createWithTTF("x", fontPath(), size);
    return label ? label->getLineHeight() : -1.0f;
}

// A plain node of a given size standing in for one of the game's labels; its anchor is the centre.
Node* box(float w, float h) {
    Node* n = Node::create();
    n->setContentSize(Size(w, h));
    n->setAnchorPoint(Vec2(0.5f, 0.5f));
    return n;
}

// The bottom-left corner of a node's box in its parent.
Vec2 corner(const Node* n) {
    return n->getBoundingBox().origin;
}

class RichTextTest : public enginetest::WidgetFixture {
protected:
    RichText* fixed(float w, float h) {
        RichText* text = RichText::create();
        text->ignoreContentAdaptWithSize(false);
        text->setContentSize(Size(w, h));
        text->setPosition(400, 400);
        scene->addChild(text);
        return text;
    }
    // The laid-out text labels, in order, with their strings.
    static std::vector<Label*> labelsOf(RichText* text) {
        std::vector<Label*> out;
        for (Node* n : text->getProtectedChildren()) {
            if (auto* label = dynamic_cast<Label*>(n)) {
                out.push_back(label);
            }
        }
        return out;
    }
};

TEST_F(RichTextTest, ALineBreakBetweenTwoTextsLaysOutTwoLinesFromTheTop) {
    RichText* text = fixed(400, 300);
    text->pushBackElement(RichElementText::create(1, Color3B::WHITE, 255, "Harbor at dawn", fontPath(), 24));
    text->pushBackElement(RichElementText::createNewLine(2, fontPath(), 24));
    text->pushBackElement(RichElementText::create(3, Color3B::WHITE, 255, "oil on canvas", fontPath(), 24));
    text->formatText();
    const float lh = lineHeightAt(24);
    ASSERT_EQ(text->getLineHeights(), (std::vector<float>{lh, lh}));
    const auto labels = labelsOf(text);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0]->getString(), "Harbor at dawn");
    EXPECT_EQ(corner(labels[0]), Vec2(0, 300 - lh));
    EXPECT_EQ(corner(labels[1]), Vec2(0, 300 - 2 * lh));
    EXPECT_EQ(text->getContentSize(), Size(400, 300)) << "a set size stays";
}

TEST_F(RichTextTest, BreaksOnEmptyLinesTakeTheLineHeightOfTheirOwnSizeAndOneElementServesEveryBreak) {
    for (const float size : {24.0f, 12.0f}) {
        SCOPED_TRACE(size);
        RichText* text = fixed(500, 400);
        Node* title = box(200, 40);
        Node* author = box(150, 20);
        Node* story = box(300, 60);
        RefPtr<RichElementText> br = RichElementText::createNewLine(3, fontPath(), size);
        text->pushBackElement(RichElementCustomNode::create(1, Color3B::WHITE, 255, title));
        text->pushBackElement(br);
        text->pushBackElement(br);
        text->pushBackElement(RichElementCustomNode::create(2, Color3B::WHITE, 255, author));
        text->pushBackElement(br);
        text->pushBackElement(br);
        text->pushBackElement(RichElementCustomNode::create(3, Color3B::WHITE, 255, story));
        text->formatText();
        const float blank = lineHeightAt(size);
        // Each first break ends its line; each second one makes one blank line.
        EXPECT_EQ(text->getLineHeights(), (std::vector<float>{40, blank, 20, blank, 60}));
        EXPECT_EQ(corner(title), Vec2(0, 400 - 40));
        EXPECT_EQ(corner(author), Vec2(0, 400 - 40 - blank - 20));
        EXPECT_EQ(corner(story), Vec2(0, 400 - 40 - blank - 20 - blank - 60));
        text->removeFromParent();
    }
    EXPECT_GT(lineHeightAt(24), lineHeightAt(12) + 5) << "the two sizes differ";
}

TEST_F(RichTextTest, ItemsGoLeftToRightSitOnTheLineBottomAndWhatDoesNotFitStartsANewLine) {
    RichText* text = fixed(300, 200);
    Node* a = box(120, 30);
    Node* b = box(100, 50);
    Node* c = box(100, 20);  // 320 > 300: to the next line
    for (Node* n : {a, b, c}) {
        text->pushBackElement(RichElementCustomNode::create(0, Color3B::WHITE, 255, n));
    }
    text->formatText();
    EXPECT_EQ(text->getLineHeights(), (std::vector<float>{50, 20}));
    EXPECT_EQ(corner(a), Vec2(0, 150));
    EXPECT_EQ(corner(b), Vec2(120, 150));
    EXPECT_EQ(corner(c), Vec2(0, 130));
    EXPECT_EQ(a->getParent(), text);
    EXPECT_EQ(text->getChildrenCount(), 0) << "laid-out items are not the widget's children";
}

TEST_F(RichTextTest, TextWrapsAtWordBreaksAtTheContentWidth) {
    RichText* text = fixed(220, 400);
    const std::string story = "The varnish had darkened to the colour of tea and hid the harbour lights";
    text->pushBackElement(RichElementText::create(0, Color3B(10, 20, 30), 200, story, fontPath(), 20));
    text->formatText();
    const auto labels = labelsOf(text);
    ASSERT_GE(labels.size(), 3u);
    std::string joined;
    for (Label* label : labels) {
        EXPECT_LE(label->getContentSize().width, 220.0f) << label->getString();
        EXPECT_EQ(label->getString().front() == ' ' || label->getString().back() == ' ', false)
            << "'" << label->getString() << "' breaks at a space";
        EXPECT_EQ(label->getColor(), Color3B(10, 20, 30));
        EXPECT_EQ(label->getOpacity(), 200);
        joined += (joined.empty() ? "" : " ") + label->getString();
    }
    EXPECT_EQ(joined, story) << "no word lost or split";
    EXPECT_EQ(static_cast<size_t>(text->getLineCount()), labels.size());

    // A word longer than a line breaks inside it.
    RichText* narrow = fixed(60, 100);
    narrow->pushBackElement(
        RichElementText::create(0, Color3B::WHITE, 255, "Rembrandtesque", fontPath(), 20));
    narrow->formatText();
    std::string pieces;
    for (Label* label : labelsOf(narrow)) {
        EXPECT_LE(label->getContentSize().width, 60.0f);
        pieces += label->getString();
    }
    EXPECT_EQ(pieces, "Rembrandtesque");
    EXPECT_GE(narrow->getLineCount(), 2);
}

TEST_F(RichTextTest, TheLayoutIsRedoneBeforeTheNextDrawAfterAChange) {
    RichText* text = fixed(300, 200);
    Node* a = box(100, 30);
    text->pushBackElement(RichElementCustomNode::create(0, Color3B::WHITE, 255, a));
    step();
    EXPECT_EQ(corner(a), Vec2(0, 170));
    text->setContentSize(Size(300, 100));
    step();
    EXPECT_EQ(corner(a), Vec2(0, 70));
    Node* b = box(250, 30);
    text->pushBackElement(RichElementCustomNode::create(0, Color3B::WHITE, 255, b));
    step();
    EXPECT_EQ(corner(b), Vec2(0, 40));
    EXPECT_EQ(text->getLineCount(), 2);
}

TEST_F(RichTextTest, NodesTakeTheElementColourAndOpacityAndTheTextsFade) {
    RichText* text = fixed(300, 200);
    Node* a = box(100, 30);
    text->pushBackElement(RichElementCustomNode::create(0, Color3B(146, 47, 68), 255, a));
    text->formatText();
    EXPECT_EQ(a->getColor(), Color3B(146, 47, 68));
    text->setOpacity(100);
    EXPECT_EQ(a->getDisplayedOpacity(), 100) << "cascading reaches the items";
}

TEST_F(RichTextTest, AdaptingItsSizeItDoesNotWrapAndMeasuresItsLines) {
    RichText* text = RichText::create();
    scene->addChild(text);
    text->pushBackElement(RichElementCustomNode::create(0, Color3B::WHITE, 255, box(200, 30)));
    text->pushBackElement(RichElementCustomNode::create(0, Color3B::WHITE, 255, box(300, 10)));
    text->formatText();
    EXPECT_EQ(text->getContentSize(), Size(500, 30));
}

TEST_F(RichTextTest, AFontThatCannotBeLoadedLogsOnceAndTheRestIsLaidOut) {
    auto& lines = captureLog();
    RichText* text = fixed(300, 200);
    Node* a = box(100, 30);
    text->pushBackElement(RichElementText::create(0, Color3B::WHITE, 255, "lost", "fonts/none.ttf", 20));
    text->pushBackElement(RichElementCustomNode::create(0, Color3B::WHITE, 255, a));
    text->formatText();
    step(3);
    text->setContentSize(Size(300, 150));
    step();
    EXPECT_EQ(lines.size(), 1u);
    EXPECT_EQ(corner(a), Vec2(0, 120));
}

}  // namespace
