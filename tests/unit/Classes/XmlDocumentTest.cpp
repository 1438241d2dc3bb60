#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "XmlDocument.h"

namespace {

// The nesting count guards rapidxml's recursion, so it may count too deep but never too shallow.
TEST(XmlDocumentTest, NestingIsCountedAsTheParserDescends) {
    struct Case {
        const char* text;
        int depth;
    };
    const std::vector<Case> cases = {
        {"", 0},
        {"plain text", 0},
        {"<a/>", 0},
        {"<a></a>", 1},
        {"<a><b/><b></b><b x='1'/></a>", 2},
        {"<a><b><c></c></b></a>", 3},
        {"<a>text <b>more</b> text</a>", 2},
        {"<a x=\"/>\" y='>'><b></b></a>", 2},                  // quoted '>' and "/>" do not end the tag
        {"<?xml version=\"1.0\"?><!-- <b><c> --><a></a>", 1},  // comments and declarations hold no elements
        {"<a><![CDATA[<b><c><d>]]></a>", 1},
        {"<!DOCTYPE a [<!ELEMENT a ANY>]><a></a>", 1},
        {"<a><b><c>", 3},  // unclosed: counted all the same
        {"</a></b><a>", 1},
        {"<a \"<b><c><d>", 1},
    };
    for (const Case& c : cases) {
        const std::string text = c.text;
        EXPECT_EQ(maxElementDepth(text.data(), text.size()), c.depth) << text;
    }
}

TEST(XmlDocumentTest, DeepNestingIsRefusedBeforeParsingAndShallowNestingParses) {
    std::string deep;
    std::string shallow;
    for (int i = 0; i < XmlDocument::kMaxDepth + 1; ++i) {
        deep += "<a>";
        if (i < XmlDocument::kMaxDepth) {
            shallow += "<a>";
        }
    }
    std::string shallowClosed = shallow;
    for (int i = 0; i < XmlDocument::kMaxDepth; ++i) {
        shallowClosed += "</a>";
    }
    XmlDocument document;
    EXPECT_FALSE(document.parse(deep));
    EXPECT_EQ(document.error(), "elements nested too deeply");
    EXPECT_EQ(document.root("a"), nullptr);
    EXPECT_TRUE(document.parse(shallowClosed)) << document.error();
    EXPECT_NE(document.root("a"), nullptr);
    EXPECT_FALSE(document.parse(shallow));  // unclosed: rapidxml's own error
    EXPECT_FALSE(document.error().empty());
}

TEST(XmlDocumentTest, RootChildrenAttributesAndValues) {
    XmlDocument document;
    ASSERT_TRUE(
        document.parse("<?xml version=\"1.0\"?><list><e id=\"a&amp;b\">one<x/>two</e> text <f/></list>"));
    EXPECT_EQ(document.root("List"), nullptr);  // names are exact
    const auto* list = document.root("list");
    ASSERT_NE(list, nullptr);
    const auto children = childElements(list);
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(attributeText(children[0], "id"), "a&b");
    EXPECT_EQ(attributeText(children[0], "missing"), "");
    EXPECT_EQ(elementText(children[0]), "one");
    EXPECT_EQ(elementText(children[1]), "");
    EXPECT_TRUE(childElements(nullptr).empty());
}

}  // namespace
