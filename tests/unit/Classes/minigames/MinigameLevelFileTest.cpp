#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "minigames/MinigameLevelElement.h"
#include "minigames/MinigameLevelFile.h"
#include "MinigameTestSupport.h"

namespace {

using minigametest::LevelFileFixture;

class MinigameLevelFileTest : public LevelFileFixture {};

TEST_F(MinigameLevelFileTest, AGoodFileGivesTheTopElementItsAttributesAndItsChildrenInOrder) {
    writeResource("minigamelevels/TwoMatch_3.xml",
                  "<?xml version=\"1.0\"?>\n<!-- locked rows -->\n"
                  "<Level a=\"1\" b=\"two\" a=\"3\">\n  <3/>\n  <!-- note -->\n  <Lane falltime=\"1.5\"/>\n"
                  "  text\n</Level>\n<Level other=\"x\"/>");
    savetest::LogCapture log;
    MinigameLevelFile file;
    ASSERT_TRUE(file.load("minigamelevels/TwoMatch_3.xml", "Level"));
    EXPECT_TRUE(log.lines.empty());
    const MinigameLevelElement& root = file.root();
    EXPECT_EQ(root.name(), "Level");
    EXPECT_EQ(root.attribute("a"), "1");  // the first of a repeated name
    EXPECT_EQ(root.attribute("b"), "two");
    EXPECT_FALSE(root.hasAttribute("other"));  // the first top element only
    ASSERT_EQ(root.children().size(), 3u);     // comments and whitespace are no children
    EXPECT_EQ(root.children()[0].name(), "3");
    EXPECT_EQ(root.children()[0].nameNumber(), 3);
    EXPECT_EQ(root.children()[1].name(), "Lane");
    EXPECT_FLOAT_EQ(root.children()[1].floatAttribute("falltime", 0.0f), 1.5f);
    EXPECT_EQ(root.children()[2].name(), "");  // a run of text has no name
    EXPECT_EQ(root.children()[2].nameNumber(), 0);
}

TEST_F(MinigameLevelFileTest, AFileThatCannotServeIsReportedInOneLineAndLeavesAnEmptyRoot) {
    std::string deep;
    for (int i = 0; i < 100000; ++i) {
        deep += "<a>";
    }
    struct Case {
        const char* what;
        bool write;
        std::string text;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"missing", false, "", "the file is missing or empty"},
        {"empty", true, "", "the file is missing or empty"},
        {"cut short", true, "<Level maxcolor=\"4\"><1/>", "unexpected end of data"},
        {"unquoted", true, "<Level maxcolor=4/>", "expected ' or \""},
        {"other case", true, "<level maxcolor=\"4\"/>", "no element \"Level\""},
        {"only a declaration", true, "<?xml version=\"1.0\"?>", "no element \"Level\""},
        {"binary", true, "\x01\x02\xff\xfe<", "expected <"},
        {"nested too deeply", true, deep, "elements nested deeper than 256 levels"},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.what);
        const std::string path = "minigamelevels/DropsPuzzle_" + std::to_string(i) + ".xml";
        if (c.write) {
            writeResource(path, c.text);
        }
        savetest::LogCapture log;
        MinigameLevelFile file;
        EXPECT_FALSE(file.load(path, "Level"));
        EXPECT_FALSE(file.isLoaded());
        EXPECT_EQ(loadLines(log), std::vector<std::string>{"Load " + path + " list: " + c.reason});
        EXPECT_TRUE(file.root().name().empty());
        EXPECT_TRUE(file.root().children().empty());
    }
}

TEST(MinigameLevelElementTest, NumbersReadAsTheCLibraryReadsThemButNeverOverflow) {
    struct IntCase {
        const char* text;
        int32_t value;
    };
    const std::vector<IntCase> ints = {
        {"12", 12},
        {"  -7", -7},
        {"+3", 3},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"0x10", 0},
        {"4.9", 4},
        {"2147483647", INT_MAX},
        {"99999999999999999999", INT_MAX},
        {"-99999999999", INT_MIN},
    };
    for (const IntCase& c : ints) {
        EXPECT_EQ(MinigameLevelElement::readInt(c.text), c.value) << c.text;
    }

    struct FloatCase {
        const char* text;
        bool finite;
        float value;
    };
    const std::vector<FloatCase> floats = {
        {"1.5", true, 1.5f},   {"2.25s", true, 2.25f}, {" -0.5", true, -0.5f}, {"abc", true, 0.0f},
        {"", true, 0.0f},      {"1e3", true, 1000.0f}, {"nan", false, 0.0f},   {"-inf", false, 0.0f},
        {"1e39", false, 0.0f}, {"1e999", false, 0.0f},
    };
    for (const FloatCase& c : floats) {
        float value = 123.0f;
        EXPECT_EQ(MinigameLevelElement::readFloat(c.text, value), c.finite) << c.text;
        if (c.finite) {
            EXPECT_FLOAT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(MinigameLevelElementTest, MissingAttributesTakeTheFallbackAndFlagsNeedTheExactText) {
    const MinigameLevelElement level(
        "Level", {{"coin", "true"}, {"upper", "True"}, {"spaced", "true "}, {"speed", "nan"}, {"time", "x"}});
    EXPECT_TRUE(level.flagAttribute("coin"));
    EXPECT_FALSE(level.flagAttribute("upper"));
    EXPECT_FALSE(level.flagAttribute("spaced"));
    EXPECT_FALSE(level.flagAttribute("missing"));
    EXPECT_EQ(level.intAttribute("missing", 10), 10);
    EXPECT_EQ(level.intAttribute("time", 10), 0);  // present: read as atoi reads it
    EXPECT_FLOAT_EQ(level.floatAttribute("speed", 300.0f), 300.0f);
    EXPECT_FLOAT_EQ(level.floatAttribute("time", 30.0f), 0.0f);
    EXPECT_FLOAT_EQ(level.floatAttribute("missing", 30.0f), 30.0f);
}

}  // namespace
