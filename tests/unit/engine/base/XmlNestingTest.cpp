// The nesting walk guards rapidxml's recursion, so it must find every level the parser would descend:
// through every token the parser takes, and past every trick that could hide a level from a walk
// that tokenises differently.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <string>
#include <vector>

#include <rapidxml.hpp>

#include "engine/base/XmlNesting.h"

#include "../../RepeatedText.h"

namespace {

int depthOf(const std::string& text) {
    return cocos2d::xmlElementDepth(text.data(), text.size(), INT_MAX - 1);
}

// The element depth of a tree parsed with the buffer left as it was: the parser descends into an
// element written with a separate end tag ("<a></a>") even when it holds nothing, and not into "<a/>",
// which the tree alone does not tell apart; the text after its last attribute does.
bool hasContents(const rapidxml::xml_node<char>* element) {
    const rapidxml::xml_attribute<char>* last = element->last_attribute();
    const char* after =
        last != nullptr ? last->value() + last->value_size() + 1 : element->name() + element->name_size();
    while (*after == ' ' || *after == '\t' || *after == '\n' || *after == '\r') {
        ++after;
    }
    return *after == '>';
}

int treeDepth(const rapidxml::xml_node<char>* node) {
    int deepest = 0;
    for (const rapidxml::xml_node<char>* child = node->first_node(); child != nullptr;
         child = child->next_sibling()) {
        if (child->type() == rapidxml::node_element && hasContents(child)) {
            deepest = std::max(deepest, 1 + treeDepth(child));
        }
    }
    return deepest;
}

TEST(XmlNestingTest, LevelsAreCountedAsTheParserDescends) {
    struct Case {
        std::string text;
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
        {"\xEF\xBB\xBF<a><b></b></a>", 2},
        {"<a x=\"/>\" y='>'><b></b></a>", 2},                  // quoted '>' and "/>" do not end the tag
        {"<a x=\"'\" y='\"'><b></b></a>", 2},                  // the other quote inside a value
        {"<a x=\"&quot;\"><b></b></a>", 2},                    // an entity is no quote
        {"<?xml version=\"1.0\"?><!-- <b><c> --><a></a>", 1},  // comments and declarations hold no elements
        {"<a><![CDATA[<b><c><d>]]></a>", 1},
        {"<a><?pi <b><c>?></a>", 1},
        {"<!DOCTYPE a [<!ELEMENT a ANY>]><a></a>", 1},
        {"<a><b><c>", 3},                     // unclosed: counted all the same
        {"<a></b></c><a>", 1},                // an end tag closes the innermost element whatever its name
        {"</a><b><c>", 0},                    // the parser stops at an end tag outside any element
        {"x<a><b>", 0},                       // and at text outside any element
        {std::string("<a>\0<b><c>", 10), 1},  // and at the first '\0'
        {"<a \"<b><c><d>", 0},                // a broken start tag stops the parser before its contents
    };
    for (const Case& c : cases) {
        EXPECT_EQ(depthOf(c.text), c.depth) << c.text;
    }
}

TEST(XmlNestingTest, NoTrickHidesALevelTheParserWouldDescend) {
    // After each of these the parser goes on into a hundred thousand levels, which a walk that
    // tokenises otherwise would not see.
    const std::string deep = repeated("<a>", 100000);
    const std::vector<std::string> prefixes = {
        "",
        "<a\"b>",  // a quote is part of an element name
        "<a'b>",
        "<a x=\"1\"y='2'>",
        "<!DOCTYPE d [ > <!-- ]>",        // a document type's brackets hide '>' and comment openers
        "<!DOCTYPE d [ [ ] > ] <!-- ]>",  // and nest
        "<!DOCTYPE d [ \" ]>",            // and quotes
        "<!x <!-- >",                     // an unknown "<!" node ends at its first '>'
        "<!- <!-- >",
        "<a></a<!-- >",            // an end tag's name runs on over '<' and '!'
        "<r><a></a\"'>",           // and over quotes
        "<r><?pi x=\"?>",          // a processing instruction ends at the first "?>"
        "<r><![CDATA[ <!-- ]]]>",  // CDATA ends at the first "]]>"
        "<r><!-- <a x=' --->",     // a comment at the first "-->"
        "<r x='<!--'>",            // an attribute value holds anything but its quote
    };
    for (const std::string& prefix : prefixes) {
        SCOPED_TRACE(prefix);
        // The premise: the parser is still going when the text ends.
        std::string probe = prefix + "<a>";
        rapidxml::xml_document<char> document;
        try {
            document.parse<0>(probe.data());
            ADD_FAILURE() << "parses whole";
        } catch (const rapidxml::parse_error& error) {
            ASSERT_STREQ(error.what(), "unexpected end of data");
        }
        const std::string text = prefix + deep;
        EXPECT_EQ(cocos2d::xmlElementDepth(text.data(), text.size(), 300), 301);
    }
}

TEST(XmlNestingTest, TheCountStopsJustPastTheLimit) {
    const std::string atLimit = repeated("<a>", 32) + repeated("</a>", 32);
    const std::string pastLimit = repeated("<a>", 33);
    EXPECT_EQ(cocos2d::xmlElementDepth(atLimit.data(), atLimit.size(), 32), 32);
    EXPECT_EQ(cocos2d::xmlElementDepth(pastLimit.data(), pastLimit.size(), 32), 33);
    const std::string huge = repeated("<a>", 200000);
    EXPECT_EQ(cocos2d::xmlElementDepth(huge.data(), huge.size(), 32), 33);
}

// Random texts, mostly well formed, salted with the characters that steer the parser: for every one
// it parses, the walk's depth must be the parsed tree's.
TEST(XmlNestingTest, AgreesWithTheParserOnTextsItParses) {
    const std::vector<std::string> opens = {"<a>", "<b x='1'>", "<c y=\"2\" z='&apos;>'>", "<a\"q>", "<d\n>"};
    const std::vector<std::string> closes = {"</a>", "</>", "</b >", "</a<!-->", "</x\"'>"};
    const std::vector<std::string> leaves = {
        "<c/>",       "<e w='/>' />", "text",
        " ",          "\n",           "&amp;",
        "&#65;",      "<!-- <a> -->", "<![CDATA[ <a> ]]>",
        "<?p <a> ?>", "<!x <a>>",     "<!DOCTYPE d [<!x <a>>]>",
    };
    const std::vector<std::string> salt = {"'", "\"", ">", "<", "/", "=", "?", "!", "-", "[", "]", "&"};
    std::mt19937 random(20240611);
    int parsed = 0;
    for (int n = 0; n < 20000; ++n) {
        std::string text;
        int open = 0;
        const int steps = 1 + static_cast<int>(random() % 30);
        for (int i = 0; i < steps; ++i) {
            const unsigned choice = random() % 100;
            if (choice < 3) {
                text += salt[random() % salt.size()];
            } else if (choice < 40 && open < 8) {
                text += opens[random() % opens.size()];
                ++open;
            } else if (choice < 65 && open > 0) {
                text += closes[random() % closes.size()];
                --open;
            } else {
                text += leaves[random() % leaves.size()];
            }
        }
        for (; open > 0; --open) {
            text += "</a>";
        }
        std::string buffer = text;
        rapidxml::xml_document<char> document;
        try {
            document.parse<0>(buffer.data());
        } catch (const rapidxml::parse_error&) {
            continue;
        }
        ++parsed;
        // Parsed again without writing into the text, so that the start tags can be read back.
        std::string raw = text;
        rapidxml::xml_document<char> tree;
        tree.parse<rapidxml::parse_no_string_terminators | rapidxml::parse_no_entity_translation>(raw.data());
        EXPECT_EQ(depthOf(text), treeDepth(&tree)) << text;
    }
    EXPECT_GT(parsed, 5000);  // enough of them parse for the comparison to mean something
}

}  // namespace
