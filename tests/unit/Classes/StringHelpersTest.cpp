#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
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

// The one reader of leading numbers in content files, checksum files and UI descriptions: what
// atoi and atof read, with defined results where they overflow.
TEST(StringHelpersTest, LeadingNumbersReadAsTheCConversionsWithoutOverflow) {
    struct IntCase {
        const char* text;
        int64_t value;
        int32_t value32;
    };
    const std::vector<IntCase> ints = {
        {"42", 42, 42},
        {" \t\n 300", 300, 300},
        {"+3", 3, 3},
        {"-7", -7, -7},
        {"+-5", 0, 0},
        {"--5", 0, 0},
        {"-", 0, 0},
        {"12abc", 12, 12},
        {"4.9", 4, 4},
        {"0x10", 0, 0},
        {"abc", 0, 0},
        {"", 0, 0},
        {"4294967295", 4294967295, INT32_MAX},
        {"-2147483649", -2147483649LL, INT32_MIN},
        {"99999999999999999999", INT64_MAX, INT32_MAX},
        {"-99999999999999999999", INT64_MIN, INT32_MIN},
    };
    for (const IntCase& c : ints) {
        EXPECT_EQ(leadingInteger(c.text), c.value) << "'" << c.text << "'";
        EXPECT_EQ(leadingInt32(c.text), c.value32) << "'" << c.text << "'";
    }
    // A view that ends inside a longer number reads only what it holds.
    EXPECT_EQ(leadingInt32(std::string_view("12345", 3)), 123);

    constexpr double kInf = std::numeric_limits<double>::infinity();
    struct DecimalCase {
        const char* text;
        double value;
    };
    const std::vector<DecimalCase> decimals = {
        {"12.7", 12.7},    {" -0.5", -0.5}, {"+2.25s", 2.25}, {"1e3", 1000.0},      {".5", 0.5},
        {"40", 40.0},      {"abc", 0.0},    {"", 0.0},        {"+-1", 0.0},         {"1e999", kInf},
        {"-1e999", -kInf}, {"1e-999", 0.0}, {"inf", kInf},    {"-Infinity", -kInf},
    };
    for (const DecimalCase& c : decimals) {
        EXPECT_EQ(leadingDecimal(c.text), c.value) << "'" << c.text << "'";
    }
    EXPECT_TRUE(std::isnan(leadingDecimal("nan")));

    // A decimal comma locale does not change what a content file means.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {
        EXPECT_EQ(leadingDecimal("1.5"), 1.5);
        EXPECT_EQ(leadingDecimal("1,5"), 1.0);
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
