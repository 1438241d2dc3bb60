#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "minigames/ConveyorPuzzleLevel.h"
#include "engine/platform/FileUtils.h"

#include "MinigameTestSupport.h"

namespace {

using minigametest::LevelFileFixture;

// The staged resource tree, as the game reads it.
class ShippedResources {
public:
    ShippedResources() {
        cocos2d::FileUtils::destroyInstance();
        cocos2d::FileUtils::getInstance()->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
        cocos2d::FileUtils::getInstance()->setSearchPaths({"src", "res"});
    }
    ~ShippedResources() { cocos2d::FileUtils::destroyInstance(); }
};

class ConveyorPuzzleLevelTest : public LevelFileFixture {};

struct Expected {
    float gameTime;
    float speed;
    float illicitPercent;
    bool coin;
};

void expectLevel(const ConveyorPuzzleLevel& level, const Expected& e) {
    EXPECT_FLOAT_EQ(level.gameTime, e.gameTime);
    EXPECT_FLOAT_EQ(level.speed, e.speed);
    EXPECT_FLOAT_EQ(level.illicitPercent, e.illicitPercent);
    EXPECT_EQ(level.coin, e.coin);
}

TEST_F(ConveyorPuzzleLevelTest, TheLevelsAttributesAreReadAndEachMissingOneTakesItsDefault) {
    struct Case {
        const char* what;
        const char* attributes;
        Expected expected;
    };
    const std::vector<Case> cases = {
        {"all given",
         "gametime=\"45\" speed=\"280\" wrongitemspercent=\"55\" coin=\"true\"",
         {45, 280, 55, true}},
        {"no coin",
         "gametime=\"45\" speed=\"280\" wrongitemspercent=\"55\" coin=\"false\"",
         {45, 280, 55, false}},
        {"coin needs the exact text", "coin=\"TRUE\"", {40, 300, 50, false}},
        {"nothing given", "", {40, 300, 50, true}},
        {"fractions",
         "gametime=\"12.5\" speed=\"99.5\" wrongitemspercent=\"0.5\"",
         {12.5f, 99.5f, 0.5f, true}},
        {"trailing text as atof reads it", "gametime=\"30s\" speed=\"250px\"", {30, 250, 50, true}},
        // Any percentage plays: below 0 only accepted items come, 100 and more only illicit ones.
        {"percent outside 0 to 100", "wrongitemspercent=\"-20\"", {40, 300, -20, true}},
        {"percent above 100", "wrongitemspercent=\"250\"", {40, 300, 250, true}},
        {"the bounds themselves", "gametime=\"3600\" speed=\"2000\"", {3600, 2000, 50, true}},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.what);
        writeResource("minigamelevels/ConveyorPuzzle_" + std::to_string(i) + ".xml",
                      std::string("<?xml version=\"1.0\"?>\n<Level ") + c.attributes + "/>");
        savetest::LogCapture log;
        const ConveyorPuzzleLevel level = ConveyorPuzzleLevel::load(static_cast<int32_t>(i));
        EXPECT_EQ(level.level, static_cast<int32_t>(i));
        expectLevel(level, c.expected);
        EXPECT_TRUE(log.lines.empty()) << log.lines.front();
    }
}

TEST_F(ConveyorPuzzleLevelTest, ATimeOrSpeedTheGameCannotPlayTakesItsDefaultWithOneLine) {
    struct Case {
        const char* attributes;
        Expected expected;
        const char* line;
    };
    const std::vector<Case> cases = {
        {"gametime=\"0\"",
         {40, 300, 50, true},
         "ConveyorPuzzle level 2: gametime 0 is out of range, using 40"},
        {"gametime=\"-5\"",
         {40, 300, 50, true},
         "ConveyorPuzzle level 2: gametime -5 is out of range, using 40"},
        {"gametime=\"1e30\"",
         {40, 300, 50, true},
         "ConveyorPuzzle level 2: gametime 1e+30 is out of range, using 40"},
        {"gametime=\"never\"",
         {40, 300, 50, true},
         "ConveyorPuzzle level 2: gametime 0 is out of range, using 40"},
        {"speed=\"0\"", {40, 300, 50, true}, "ConveyorPuzzle level 2: speed 0 is out of range, using 300"},
        {"speed=\"-300\"",
         {40, 300, 50, true},
         "ConveyorPuzzle level 2: speed -300 is out of range, using 300"},
        {"speed=\"2000.5\"",
         {40, 300, 50, true},
         "ConveyorPuzzle level 2: speed 2000.5 is out of range, using 300"},
        // Not a finite float: the reader gives the default without a line of its own.
        {"speed=\"nan\" gametime=\"inf\"", {40, 300, 50, true}, nullptr},
        {"wrongitemspercent=\"1e999\"", {40, 300, 50, true}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        writeResource("minigamelevels/ConveyorPuzzle_2.xml", std::string("<Level ") + c.attributes + "/>");
        savetest::LogCapture log;
        expectLevel(ConveyorPuzzleLevel::load(2), c.expected);
        if (c.line != nullptr) {
            EXPECT_EQ(log.lines, std::vector<std::string>{c.line});
        } else {
            EXPECT_TRUE(log.lines.empty());
        }
    }
}

TEST_F(ConveyorPuzzleLevelTest, AFileThatCannotServeGivesTheDefaultsAfterOneLine) {
    for (const char* text : {"", "<Level gametime=\"45\"", "<Conveyor gametime=\"45\"/>", "\xff\xfe<\x00"}) {
        SCOPED_TRACE(text);
        writeResource("minigamelevels/ConveyorPuzzle_7.xml", text);
        savetest::LogCapture log;
        const ConveyorPuzzleLevel level = ConveyorPuzzleLevel::load(7);
        EXPECT_EQ(level.level, 7);
        expectLevel(level, {40, 300, 50, true});
        ASSERT_EQ(loadLines(log).size(), 1u);
        EXPECT_EQ(log.lines.size(), 1u);
    }
    savetest::LogCapture log;
    expectLevel(ConveyorPuzzleLevel::load(99), {40, 300, 50, true});
    EXPECT_EQ(loadLines(log),
              std::vector<std::string>{
                  "Load minigamelevels/ConveyorPuzzle_99.xml list: the file is missing or empty"});
}

TEST(ConveyorPuzzleShippedLevelsTest, EveryShippedLevelReadsWithoutALineAndWithinItsBounds) {
    ShippedResources resources;
    for (int32_t n = 0; n < 8; ++n) {
        SCOPED_TRACE(n);
        savetest::LogCapture log;
        const ConveyorPuzzleLevel level = ConveyorPuzzleLevel::load(n);
        EXPECT_TRUE(log.lines.empty());
        EXPECT_GE(level.gameTime, 30.0f) << "long enough for the coin";
        EXPECT_GT(level.speed, 0.0f);
        EXPECT_LE(level.speed, ConveyorPuzzleLevel::kMaxSpeed);
        EXPECT_GT(level.illicitPercent, 0.0f);
        EXPECT_LT(level.illicitPercent, 100.0f);
    }
}

}  // namespace
