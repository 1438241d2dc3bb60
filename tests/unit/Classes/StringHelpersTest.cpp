#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "StringHelpers.h"

namespace {

using Pieces = std::vector<std::string>;

TEST(StringHelpersTest, IntToStringGivesDecimalText) {
    EXPECT_EQ(intToString(0), "0");
    EXPECT_EQ(intToString(-42), "-42");
    EXPECT_EQ(intToString(2147483647), "2147483647");
    EXPECT_EQ(intToString(-2147483647 - 1), "-2147483648");
}

TEST(StringHelpersTest, SplitStringKeepsEmptyPiecesAndHonoursTheLimit) {
    struct Case {
        std::string text;
        std::string delimiter;
        int maxSplits;
        Pieces expected;
    };
    const std::vector<Case> cases = {
        {"a/b/c", "/", -1, {"a", "b", "c"}},
        {"a/b/c", "/", 1, {"a", "b/c"}},
        {"a/b/c", "/", 0, {}},
        {"a/b/c", "/", 5, {"a", "b", "c"}},
        {"a//b", "/", -1, {"a", "", "b"}},
        {"a/", "/", -1, {"a", ""}},
        {"/a", "/", -1, {"", "a"}},
        {"", "/", -1, {""}},
        {"shadow_item_2", "_", 1, {"shadow", "item_2"}},
        {"a::b::", "::", -1, {"a", "b", ""}},
        {"abc", "", -1, {"abc"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(splitString(c.text, c.delimiter, c.maxSplits), c.expected)
            << "'" << c.text << "' at '" << c.delimiter << "' with " << c.maxSplits;
    }
}

TEST(StringHelpersTest, RemovePrefixOnlyAtTheStart) {
    EXPECT_EQ(removePrefix("look_3", "look_", ""), "3");
    EXPECT_EQ(removePrefix("xlook_3", "look_", ""), "xlook_3");
    EXPECT_EQ(removePrefix("look_", "look_", ""), "");
    EXPECT_EQ(removePrefix("loo", "look_", ""), "loo");
    EXPECT_EQ(removePrefix("eplace_12", "eplace_", "ignored"), "12");
}

// Bytes above 127 are negative as char: they must pass unchanged, whatever the locale.
TEST(StringHelpersTest, ToLowerCaseChangesOnlyAsciiLetters) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        all.push_back(static_cast<char>(byte));
    }
    const char* previous = std::setlocale(LC_CTYPE, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    std::setlocale(LC_CTYPE, "C.UTF-8");
    const std::string lower = toLowerCase(all);
    std::setlocale(LC_CTYPE, saved.c_str());
    ASSERT_EQ(lower.size(), all.size());
    for (size_t i = 0; i < all.size(); ++i) {
        const char c = all[i];
        const char expected = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
        EXPECT_EQ(lower[i], expected) << "byte " << (i + 1);
    }
    EXPECT_EQ(toLowerCase("Hello_World-42 \xC3\x89"), "hello_world-42 \xC3\x89");
}

}  // namespace
