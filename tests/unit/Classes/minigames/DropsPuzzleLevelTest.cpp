#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "minigames/DropsPuzzleLevel.h"
#include "MinigameTestSupport.h"

namespace {

using minigametest::LevelFileFixture;

class DropsPuzzleLevelTest : public LevelFileFixture {
protected:
    // Writes level 3's file and reads it back, with the log lines of the read.
    DropsPuzzleLevel readLevel(const std::string& text, std::vector<std::string>& lines) {
        writeResource("minigamelevels/DropsPuzzle_3.xml", text);
        savetest::LogCapture log;
        DropsPuzzleLevel level = DropsPuzzleLevel::read(3);
        lines = log.lines;
        return level;
    }

    static void expectDefaults(const DropsPuzzleLevel& level, int number = 3) {
        EXPECT_EQ(level.level, number);
        EXPECT_EQ(level.looseCount, 10);
        EXPECT_FLOAT_EQ(level.time, 30.0f);
        EXPECT_EQ(level.fallTimes, std::vector<float>(4, 1.0f));
        EXPECT_EQ(level.growTimes, std::vector<float>(4, 1.0f));
    }
};

TEST_F(DropsPuzzleLevelTest, AGoodFileGivesEachLaneItsTimesInDocumentOrder) {
    std::vector<std::string> lines;
    const DropsPuzzleLevel level = readLevel(
        "<?xml version=\"1.0\"?>\n<Level time=\"35.5\" loosecount=\"8\">\n"
        "  <Lane falltime=\"1.6\" gentime=\"1.2\"/>\n  <!-- slow lane -->\n"
        "  <Drop gentime=\"1.3\" falltime=\"2.5\"/>\n  <Lane falltime=\"1.5\" gentime=\"1.1\"/>\n"
        "  <Lane falltime=\"0.9\" gentime=\"0.4\"/>\n  <Lane falltime=\"7\" gentime=\"7\"/>\n</Level>\n",
        lines);
    EXPECT_TRUE(lines.empty()) << lines.front();
    EXPECT_EQ(level.level, 3);
    EXPECT_EQ(level.looseCount, 8);
    EXPECT_FLOAT_EQ(level.time, 35.5f);
    // Any element name is a lane; the fifth is not used.
    EXPECT_EQ(level.fallTimes, (std::vector<float>{1.6f, 2.5f, 1.5f, 0.9f}));
    EXPECT_EQ(level.growTimes, (std::vector<float>{1.2f, 1.3f, 1.1f, 0.4f}));
}

TEST_F(DropsPuzzleLevelTest, EveryShippedLevelReadsWithoutALogLine) {
    cocos2d::FileUtils::getInstance()->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
    cocos2d::FileUtils::getInstance()->setSearchPaths({"src", "res"});
    for (int n = 0; n < 8; ++n) {
        SCOPED_TRACE(n);
        savetest::LogCapture log;
        const DropsPuzzleLevel level = DropsPuzzleLevel::read(n);
        EXPECT_TRUE(log.lines.empty()) << log.lines.front();
        EXPECT_EQ(level.level, n);
        EXPECT_GT(level.looseCount, 0);
        EXPECT_GT(level.time, 0.0f);
        for (int lane = 0; lane < 4; ++lane) {
            EXPECT_GT(level.fallTimes[lane], DropsPuzzleLevel::kMinLaneSeconds);
            EXPECT_GT(level.growTimes[lane], DropsPuzzleLevel::kMinLaneSeconds);
        }
    }
}

TEST_F(DropsPuzzleLevelTest, AFileThatCannotServeGivesTheDefaultsAfterOneLoadLine) {
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"empty", ""},
        {"malformed", "<Level time=\"20\" loosecount=\"3\"><Lane falltime=\"2\"</Level>"},
        {"other root", "<Levels time=\"20\" loosecount=\"3\"/>"},
        {"binary", std::string("\0\xff<Level\x01", 9)},
    };
    for (const auto& [what, text] : cases) {
        SCOPED_TRACE(what);
        writeResource("minigamelevels/DropsPuzzle_3.xml", text);
        savetest::LogCapture log;
        const DropsPuzzleLevel level = DropsPuzzleLevel::read(3);
        expectDefaults(level);
        EXPECT_EQ(loadLines(log).size(), 1u);
        EXPECT_EQ(log.lines.size(), 1u);
        EXPECT_EQ(log.lines.front().rfind("Load minigamelevels/DropsPuzzle_3.xml list: ", 0), 0u);
    }
    savetest::LogCapture log;
    expectDefaults(DropsPuzzleLevel::read(7), 7);  // no file at all
    EXPECT_EQ(loadLines(log).size(), 1u);
}

TEST_F(DropsPuzzleLevelTest, MissingLanesAndAttributesTakeTheirDefaultsWithALine) {
    std::vector<std::string> lines;
    // Two lanes, the second without a grow time, and text between the lanes.
    DropsPuzzleLevel level = readLevel(
        "<Level time=\"12\" loosecount=\"4\">junk<Lane falltime=\"2\" gentime=\"3\"/>more"
        "<Lane falltime=\"2.5\"/></Level>",
        lines);
    EXPECT_EQ(level.fallTimes, (std::vector<float>{2.0f, 2.5f, 1.0f, 1.0f}));
    EXPECT_EQ(level.growTimes, (std::vector<float>{3.0f, 1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(level.looseCount, 4);
    EXPECT_FLOAT_EQ(level.time, 12.0f);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("lane 1 has no \"gentime\""), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("2 of 4 lanes"), std::string::npos) << lines[1];

    // No lanes, no attributes of the level.
    level = readLevel("<Level/>", lines);
    expectDefaults(level);
    EXPECT_EQ(lines.size(), 3u);
}

TEST_F(DropsPuzzleLevelTest, HostileNumbersAreBoundedSoTheLevelCanBePlayedAndEnds) {
    struct Case {
        const char* time;
        const char* looseCount;
        const char* fall;
        const char* grow;
        float expectedTime;
        int expectedLoose;
        float expectedFall;
        float expectedGrow;
        size_t lines;
    };
    // Each unusable number is one line: the level's own, and one per lane for a lane's.
    const std::vector<Case> cases = {
        // Within bounds: kept as they are.
        {"0.5", "1", "0.1", "30", 0.5f, 1, 0.1f, 30.0f, 0},
        // A level won before it starts: the default time. A count of 0 is a level lost at once.
        {"0", "0", "0", "-3", 30.0f, 0, 0.1f, 0.1f, 1 + 4 + 4},
        {"-5", "-7", "1e-30", "-0", 30.0f, 0, 0.1f, 0.1f, 1 + 1 + 4 + 4},
        // A level that would never end; a number beyond a float is no number.
        {"1e30", "99999999999", "1e30", "3.5e38", 600.0f, 2147483647, 30.0f, 1.0f, 1 + 4 + 4},
        {"nan", "nan", "inf", "-inf", 30.0f, 0, 1.0f, 1.0f, 1 + 4 + 4},
        {"1e999", "12abc", "abc", "", 30.0f, 12, 0.1f, 0.1f, 1 + 4 + 4},
        {"600.5", "-99999999999", "30.01", "0.05", 600.0f, 0, 30.0f, 0.1f, 1 + 1 + 4 + 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.time) + " " + c.looseCount + " " + c.fall + " " + c.grow);
        std::string lanes;
        for (int i = 0; i < 4; ++i) {
            lanes += std::string("<Lane falltime=\"") + c.fall + "\" gentime=\"" + c.grow + "\"/>";
        }
        std::vector<std::string> lines;
        const DropsPuzzleLevel level = readLevel(std::string("<Level time=\"") + c.time + "\" loosecount=\"" +
                                                     c.looseCount + "\">" + lanes + "</Level>",
                                                 lines);
        EXPECT_FLOAT_EQ(level.time, c.expectedTime);
        EXPECT_EQ(level.looseCount, c.expectedLoose);
        EXPECT_EQ(level.fallTimes, std::vector<float>(4, c.expectedFall));
        EXPECT_EQ(level.growTimes, std::vector<float>(4, c.expectedGrow));
        EXPECT_EQ(lines.size(), c.lines);
    }
}

}  // namespace
