#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "minigames/ColorMatchLevel.h"
#include "MinigameTestSupport.h"

namespace {

class ColorMatchLevelTest : public minigametest::LevelFileFixture {};

TEST_F(ColorMatchLevelTest, AGoodFileGivesItsColoursAndStartingPipesInOrder) {
    writeResource(
        "minigamelevels/ColorMatch_6.xml",
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Level maxcolor=\"7\"><1/><2/>\n  <10/><3/></Level>");
    savetest::LogCapture log;
    const ColorMatchLevel level(6);
    EXPECT_TRUE(log.lines.empty());
    EXPECT_EQ(level.level, 6);
    EXPECT_EQ(level.maxColor, 7);
    EXPECT_EQ(level.startColors, (std::vector<int32_t>{1, 2, 10, 3}));
}

TEST_F(ColorMatchLevelTest, AFileThatCannotBeReadGivesTheDefaultsAndOneLine) {
    struct Case {
        const char* what;
        const char* text;  // null: no file
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"missing", nullptr, "the file is missing or empty"},
        {"malformed", "<Level maxcolor=\"5\"><1/><2/>", "unexpected end of data"},
        {"other root", "<Levels maxcolor=\"5\"><1/></Levels>", "no element \"Level\""},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        const int32_t number = static_cast<int32_t>(i);
        const std::string path = "minigamelevels/ColorMatch_" + std::to_string(number) + ".xml";
        if (cases[i].text != nullptr) {
            writeResource(path, cases[i].text);
        }
        savetest::LogCapture log;
        const ColorMatchLevel level(number);
        EXPECT_EQ(log.lines, std::vector<std::string>{"Load " + path + " list: " + cases[i].reason});
        EXPECT_EQ(level.level, number);
        EXPECT_EQ(level.maxColor, 4);
        EXPECT_EQ(level.startColors, (std::vector<int32_t>{2, 2}));
    }
}

TEST_F(ColorMatchLevelTest, HostileNumbersAreBoundedToWhatTheBoardCanShowWithOneLine) {
    std::string many = "<Level maxcolor=\"3\">";
    for (int i = 0; i < 20; ++i) {
        many += "<1/>";
    }
    many += "</Level>";
    struct Case {
        const char* what;
        std::string text;
        int32_t maxColor;
        std::vector<int32_t> start;
        const char* line;  // after "ColorMatch level minigamelevels/ColorMatch_<n>.xml:"
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"huge maxcolor", "<Level maxcolor=\"99999999999\"><1/></Level>", 10, {1},
         " maxcolor 2147483647 is outside 1 to 10, using 10"},
        {"negative maxcolor", "<Level maxcolor=\"-5\"><1/></Level>", 1, {1},
         " maxcolor -5 is outside 1 to 10, using 1"},
        {"text maxcolor", "<Level maxcolor=\"many\"><1/></Level>", 1, {1},
         " maxcolor 0 is outside 1 to 10, using 1"},
        {"no maxcolor", "<Level><2/></Level>", 4, {2},
         " no maxcolor, using 4"},
        {"colours off the scale", "<Level maxcolor=\"5\"><0/><11/><-1/><3/><99999999999/>text</Level>", 5, {3},
         " 5 starting pipes not named 1 to 10 left out"},
        {"more pipes than cells", many, 3, std::vector<int32_t>(16, 1),
         " 4 starting pipes beyond the sixteenth left out"},
        {"all at once", "<Level maxcolor=\"11\"><0/></Level>", 10, {},
         " maxcolor 11 is outside 1 to 10, using 10; 1 starting pipes not named 1 to 10 left out"},
    };
    // clang-format on
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.what);
        const int32_t number = static_cast<int32_t>(i);
        const std::string path = "minigamelevels/ColorMatch_" + std::to_string(number) + ".xml";
        writeResource(path, c.text);
        savetest::LogCapture log;
        const ColorMatchLevel level(number);
        EXPECT_EQ(level.maxColor, c.maxColor);
        EXPECT_EQ(level.startColors, c.start);
        EXPECT_EQ(log.lines, std::vector<std::string>{"ColorMatch level " + path + ":" + c.line});
    }
}

TEST_F(ColorMatchLevelTest, TheLimitsThemselvesAreGoodValues) {
    writeResource("minigamelevels/ColorMatch_1.xml", "<Level maxcolor=\"10\"><10/><1/></Level>");
    writeResource("minigamelevels/ColorMatch_2.xml", "<Level maxcolor=\"1\"></Level>");
    savetest::LogCapture log;
    const ColorMatchLevel top(1);
    const ColorMatchLevel bottom(2);
    EXPECT_TRUE(log.lines.empty());
    EXPECT_EQ(top.maxColor, 10);
    EXPECT_EQ(top.startColors, (std::vector<int32_t>{10, 1}));
    EXPECT_EQ(bottom.maxColor, 1);
    EXPECT_TRUE(bottom.startColors.empty());
}

}  // namespace
