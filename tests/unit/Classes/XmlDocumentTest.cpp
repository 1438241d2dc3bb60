#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "XmlDocument.h"

#include "../RepeatedText.h"

namespace {

TEST(XmlDocumentTest, NestingUpToTheBoundParsesAndDeeperIsRefusedBeforeParsing) {
    const int bound = XmlDocument::kMaxDepth;
    const std::string refusal = "elements nested deeper than " + std::to_string(bound) + " levels";
    XmlDocument document;
    const std::string atBound = repeated("<a>", bound) + repeated("</a>", bound);
    EXPECT_TRUE(document.parse(atBound)) << document.error();
    EXPECT_NE(document.root("a"), nullptr);
    EXPECT_FALSE(document.parse(repeated("<a>", bound) + repeated("</a>", bound - 1)));  // unclosed
    EXPECT_EQ(document.error(), "unexpected end of data");

    struct Case {
        const char* what;
        std::string text;
    };
    const Case deep[] = {
        {"one level past the bound", repeated("<a>", bound + 1) + repeated("</a>", bound + 1)},
        {"200000 levels", repeated("<a>", 200000)},
        // Levels the parser reaches behind tokens that a rougher count would take otherwise.
        {"behind a quote in an element name", "<a\"b>" + repeated("<a>", 200000)},
        {"behind a document type's brackets", "<!DOCTYPE d [ > <!-- ]>" + repeated("<a>", 200000)},
        {"behind an end tag's name", "<r><a></a\"'>" + repeated("<a>", 200000)},
    };
    for (const Case& c : deep) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(document.parse(c.text));
        EXPECT_EQ(document.error(), refusal);
        EXPECT_EQ(document.root("a"), nullptr);
    }
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
