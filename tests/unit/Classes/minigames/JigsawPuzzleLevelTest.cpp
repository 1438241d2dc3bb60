#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "minigames/JigsawPuzzleLevel.h"
#include "MinigameTestSupport.h"

namespace {

using minigametest::LevelFileFixture;

constexpr const char* kPath = "minigamelevels/JigsawPuzzle.xml";

class JigsawPuzzleLevelTest : public LevelFileFixture {
protected:
    JigsawPuzzleLevel readLevel(const std::string& text, int number, std::vector<std::string>& lines) {
        writeResource(kPath, text);
        savetest::LogCapture log;
        JigsawPuzzleLevel level = JigsawPuzzleLevel::read(number);
        lines = log.lines;
        return level;
    }

    static std::string levels(const std::string& body) {
        return "<?xml version=\"1.0\"?>\n<Levels>" + body + "</Levels>";
    }
};

TEST_F(JigsawPuzzleLevelTest, TheLevelAskedForIsFoundAmongTheLevelsAndTheLastMatchWins) {
    const std::string file = levels(
        "<Note number=\"4\" width=\"9\" height=\"9\" picturename=\"before.png\"/>\n"  // before the first
                                                                                      // Level
        "<Level number=\"3\" width=\"3\" height=\"2\" pipesize=\"0\" picturename=\"a.jpg\"/>\n"
        "text between\n"
        "<Level number=\"4\" width=\"4.9\" height=\"3.99\" pipesize=\"150.7\" picturename=\"b.jpg\"/>\n"
        "<Other number=\"5\" width=\"5\" height=\"3\" pipesize=\"-4\" picturename=\"c.jpg\"/>\n"
        "<Level number=\"3\" width=\"6\" height=\"4\" pipesize=\"0\" picturename=\"d.jpg\"/>\n");
    struct Case {
        int number;
        int width;
        int height;
        int pipeSize;
        const char* picture;
    };
    for (const Case& c :
         {Case{3, 6, 4, 0, "d.jpg"}, Case{4, 4, 3, 150, "b.jpg"}, Case{5, 5, 3, 0, "c.jpg"}}) {
        SCOPED_TRACE(c.number);
        std::vector<std::string> lines;
        const JigsawPuzzleLevel level = readLevel(file, c.number, lines);
        EXPECT_TRUE(lines.empty()) << lines.front();
        EXPECT_TRUE(level.found);
        EXPECT_EQ(level.number, c.number);
        EXPECT_EQ(level.width, c.width);
        EXPECT_EQ(level.height, c.height);
        EXPECT_EQ(level.pipeSize, c.pipeSize);
        EXPECT_EQ(level.pictureName, c.picture);
    }
}

TEST_F(JigsawPuzzleLevelTest, EveryShippedLevelIsThereWithAPictureOfTheTree) {
    cocos2d::FileUtils::getInstance()->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
    cocos2d::FileUtils::getInstance()->setSearchPaths({"src", "res"});
    for (int n = 0; n < 90; ++n) {
        SCOPED_TRACE(n);
        savetest::LogCapture log;
        const JigsawPuzzleLevel level = JigsawPuzzleLevel::read(n);
        EXPECT_TRUE(log.lines.empty()) << log.lines.front();
        EXPECT_TRUE(level.found);
        EXPECT_GE(level.width * level.height, 2);
        EXPECT_TRUE(cocos2d::FileUtils::getInstance()->isFileExist(level.pictureName)) << level.pictureName;
    }
}

TEST_F(JigsawPuzzleLevelTest, AMissingLevelOrAFileThatCannotServeGivesTheDefaultLevel) {
    struct Case {
        const char* what;
        std::string text;
        const char* line;
    };
    const std::vector<Case> cases = {
        {"no such number", levels("<Level number=\"1\" width=\"4\" height=\"4\" picturename=\"x.jpg\"/>"),
         "minigamelevels/JigsawPuzzle.xml: no level 7, playing 3 x 2 tiles of "
         "Scenes/demo/Vesquino/background.jpg"},
        {"no number", levels("<Level width=\"4\" height=\"4\" picturename=\"x.jpg\"/>"), "no level 7"},
        {"only before the first Level",
         levels("<Lvl number=\"7\" width=\"4\" height=\"4\" picturename=\"x.jpg\"/>"), "no level 7"},
        {"no levels", levels(""), "no level 7"},
        {"one Level root", "<Level number=\"7\" width=\"4\" height=\"4\" picturename=\"x.jpg\"/>",
         "Load minigamelevels/JigsawPuzzle.xml list: no element \"Levels\""},
        {"malformed", "<Levels><Level number=\"7\" width=\"4\"",
         "Load minigamelevels/JigsawPuzzle.xml list: "},
        {"empty", "", "Load minigamelevels/JigsawPuzzle.xml list: the file is missing or empty"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> lines;
        const JigsawPuzzleLevel level = readLevel(c.text, 7, lines);
        EXPECT_FALSE(level.found);
        EXPECT_EQ(level.number, 7);
        EXPECT_EQ(level.width, 3);
        EXPECT_EQ(level.height, 2);
        EXPECT_EQ(level.pipeSize, 0);
        EXPECT_EQ(level.pictureName, "Scenes/demo/Vesquino/background.jpg");
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines.front().find(c.line), std::string::npos) << lines.front();
    }
}

TEST_F(JigsawPuzzleLevelTest, HostileSizesGiveAPlayableGridWithOneLineEach) {
    struct Case {
        const char* width;
        const char* height;
        const char* pipeSize;
        const char* picture;
        int expectedWidth;
        int expectedHeight;
        int expectedPipeSize;
        const char* expectedPicture;
        size_t lines;
    };
    const std::vector<Case> cases = {
        {"20", "20", "4096", "p.png", 20, 20, 4096, "p.png", 0},
        {"1", "2", "-1", "p.png", 1, 2, 0, "p.png", 0},
        // A single cell can never be swapped into place.
        {"1", "1", "0", "p.png", 3, 2, 0, "p.png", 1},
        {"0", "5", "0", "p.png", 3, 2, 0, "p.png", 1},
        {"-3", "-3", "0", "p.png", 3, 2, 0, "p.png", 1},
        {"21", "2", "0", "p.png", 3, 2, 0, "p.png", 1},
        {"100000000", "100000000", "1e30", "p.png", 3, 2, 0, "p.png", 2},
        {"nan", "inf", "nan", "p.png", 3, 2, 0, "p.png", 2},
        {"4", "", "4097", "", 3, 2, 0, "Scenes/demo/Vesquino/background.jpg", 3},
        {"0.9", "2", "0", "p.png", 3, 2, 0, "p.png", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.width) + " x " + c.height + " / " + c.pipeSize);
        std::vector<std::string> lines;
        const JigsawPuzzleLevel level = readLevel(
            levels(std::string("<Level number=\"2\" width=\"") + c.width + "\" height=\"" + c.height +
                   "\" pipesize=\"" + c.pipeSize + "\" picturename=\"" + c.picture + "\"/>"),
            2, lines);
        EXPECT_TRUE(level.found);
        EXPECT_EQ(level.width, c.expectedWidth);
        EXPECT_EQ(level.height, c.expectedHeight);
        EXPECT_EQ(level.pipeSize, c.expectedPipeSize);
        EXPECT_EQ(level.pictureName, c.expectedPicture);
        EXPECT_EQ(lines.size(), c.lines) << (lines.empty() ? "" : lines.front());
    }
    // Without the optional tile size, nothing to say.
    std::vector<std::string> lines;
    const JigsawPuzzleLevel level =
        readLevel(levels("<Level number=\"2\" width=\"5\" height=\"3\" picturename=\"p.png\"/>"), 2, lines);
    EXPECT_EQ(level.pipeSize, 0);
    EXPECT_TRUE(lines.empty());
}

}  // namespace
