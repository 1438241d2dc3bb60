#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "minigames/TwoMatchLevel.h"
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

class TwoMatchLevelTest : public LevelFileFixture {};

TEST_F(TwoMatchLevelTest, EveryChildOfTheLevelLocksTheRowItsNameNumbers) {
    struct Case {
        const char* what;
        const char* body;
        std::vector<int32_t> rows;
    };
    const std::vector<Case> cases = {
        {"one row", "<Level><3/></Level>", {3}},
        {"file order", "<Level><4/><0/><2/></Level>", {4, 0, 2}},
        {"every row", "<Level><0/><1/><2/><3/><4/></Level>", {0, 1, 2, 3, 4}},
        {"no row opens the door", "<Level/>", {}},
        {"attributes are not read", "<Level rows=\"3\"><1 row=\"4\"/></Level>", {1}},
        {"text reads as row 0", "<Level>abc</Level>", {0}},
        {"text beside rows", "<Level><2/>x</Level>", {2, 0}},
        {"leading digits", "<Level><3rd/></Level>", {3}},
        {"a name without a number is row 0", "<Level><row/></Level>", {0}},
        {"outside the door", "<Level><5/><-1/><99999999999/><-99999999999/><2/></Level>", {2}},
        {"named twice", "<Level><1/><1/><1/></Level>", {1}},
        {"comments are no rows", "<Level><!-- <4/> --><1/></Level>", {1}},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.what);
        writeResource("minigamelevels/TwoMatch_" + std::to_string(i) + ".xml",
                      std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n") + c.body);
        savetest::LogCapture log;
        const TwoMatchLevel level = TwoMatchLevel::load(static_cast<int32_t>(i));
        EXPECT_EQ(level.level, static_cast<int32_t>(i));
        EXPECT_EQ(level.lockedRows, c.rows);
        EXPECT_TRUE(loadLines(log).empty());
    }
}

TEST_F(TwoMatchLevelTest, AFileThatCannotServeLocksTheBottomRowAfterOneLine) {
    struct Case {
        const char* what;
        bool write;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"missing", false, ""},
        {"empty", true, ""},
        {"malformed", true, "<Level><3/>"},
        {"no Level", true, "<level><3/></level>"},
        {"binary", true, "\x7f\x45\x4c\x46\x02\x01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.write) {
            writeResource("minigamelevels/TwoMatch_6.xml", c.text);
        }
        savetest::LogCapture log;
        const TwoMatchLevel level = TwoMatchLevel::load(6);
        EXPECT_EQ(level.level, 6);
        EXPECT_EQ(level.lockedRows, std::vector<int32_t>{0});
        const std::vector<std::string> lines = loadLines(log);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].rfind("Load minigamelevels/TwoMatch_6.xml list: ", 0), 0u) << lines[0];
    }
}

TEST_F(TwoMatchLevelTest, AHugeFileOfRowsStillYieldsAtMostFiveLocks) {
    std::string body = "<Level>";
    for (int i = 0; i < 200000; ++i) {
        body += "<" + std::to_string(i % 7) + "/>";
    }
    body += "</Level>";
    writeResource("minigamelevels/TwoMatch_1.xml", body);
    EXPECT_EQ(TwoMatchLevel::load(1).lockedRows, (std::vector<int32_t>{0, 1, 2, 3, 4}));
}

TEST(TwoMatchShippedLevelsTest, EveryShippedLevelReadsWithoutALineAndLocksARow) {
    ShippedResources resources;
    for (int32_t n = 0; n < 8; ++n) {
        SCOPED_TRACE(n);
        savetest::LogCapture log;
        const TwoMatchLevel level = TwoMatchLevel::load(n);
        EXPECT_TRUE(log.lines.empty());
        EXPECT_FALSE(level.lockedRows.empty()) << "a level without a lock is won at once";
    }
}

}  // namespace
