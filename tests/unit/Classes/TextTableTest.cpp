#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/platform/FileUtils.h"

#include "SaveTestSupport.h"
#include "TextTable.h"

namespace {

// The fixtures of tests/data/texts as the resource root: the folders start, pack and broken.
class TextTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        TextTable::destroyInstance();
        cocos2d::FileUtils::destroyInstance();
        cocos2d::FileUtils::getInstance()->setResourceRoot(savetest::dataPath("texts/"));
    }
    void TearDown() override {
        TextTable::destroyInstance();
        cocos2d::FileUtils::destroyInstance();
    }

    TextTable& table() { return TextTable::getInstance(); }
};

TEST_F(TextTableTest, LookupsIgnoreLetterCaseAndShowTheLowerCasedKeyWhenMissing) {
    savetest::LogCapture log;
    table().loadTexts("start", "en", true);
    EXPECT_TRUE(log.contains("loadTexts"));
    EXPECT_TRUE(log.contains("\t loadTexts ok"));
    EXPECT_TRUE(log.problems.empty());

    struct Case {
        const char* section;
        const char* id;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"Tutorials", "Tutorial-5_Text", "Spray a drop on the picture."},
        {"ui", "exit_game_confirm", "Close the museum for today?"},
        {"UI", "TITLE", "The Museum"},
        {"ui", "caption", "Fish & Chips <fresh>\ndaily"},
        {"ui", "blank", ""},  // an empty text is a text, not a missing one
        {"ui", "menu.back", "Back"},
        {"ui", "NoSuchName", "ui.nosuchname"},
        {"NoSection", "Title", "nosection.title"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(table().getText(c.section, c.id), c.expected) << c.section << "." << c.id;
    }
    EXPECT_EQ(table().lookup("UI.Menu.Back"), "Back");  // the id is everything after the first dot
    EXPECT_EQ(table().lookup("A.B.C"), "a.b.c");
    EXPECT_EQ(table().lookup("NoDotHere"), "nodothere");
    // The element without an id was skipped, whatever its text.
    EXPECT_EQ(table().lookup("ui."), "ui.");
}

TEST_F(TextTableTest, TheLanguageFileIsReadAndAMissingOneFallsBackToEnglish) {
    table().loadTexts("start", "de", true);
    EXPECT_EQ(table().getText("ui", "title"), "Das Museum");
    EXPECT_EQ(table().getText("ui", "exit_game_confirm"), "ui.exit_game_confirm");

    table().loadTexts("start", "fr", true);
    EXPECT_EQ(table().getText("ui", "title"), "The Museum");
}

TEST_F(TextTableTest, PackTextsMergeIntoTheTableAndReplaceRepeatedIds) {
    table().loadTexts("start", "en", true);
    table().loadTexts("pack", "en", false);
    EXPECT_EQ(table().getText("ui", "title"), "The Pack Museum");
    EXPECT_EQ(table().getText("ui", "exit_game_confirm"), "Close the museum for today?");
    EXPECT_EQ(table().lookup("ProgressMessages.Progress_0"), "Welcome, restorer.");

    // The start-up load replaces the whole table again.
    table().loadTexts("start", "en", true);
    EXPECT_EQ(table().getText("ui", "title"), "The Museum");
    EXPECT_EQ(table().lookup("progressmessages.progress_0"), "progressmessages.progress_0");
}

TEST_F(TextTableTest, AMalformedLanguageFileIsLoggedDoesNotFallBackAndKeepsTheTable) {
    table().loadTexts("start", "en", true);
    savetest::LogCapture log;
    table().loadTexts("broken", "de", true);
    ASSERT_EQ(log.lines.size(), 3u);
    EXPECT_EQ(log.lines[0], "loadTexts");
    // The parser's message, after the file it is about.
    EXPECT_EQ(log.lines[1].rfind("LoadTexts: broken/texts-de.xml: ", 0), 0u) << log.lines[1];
    EXPECT_GT(log.lines[1].size(), std::string("LoadTexts: broken/texts-de.xml: ").size());
    EXPECT_EQ(log.lines[2], "\t loadTexts ok");
    // Neither cleared nor filled from the English file next to it.
    EXPECT_EQ(table().getText("ui", "title"), "The Museum");
    EXPECT_EQ(table().getText("ui", "exit_game_confirm"), "Close the museum for today?");
}

TEST_F(TextTableTest, NoFileAtAllEmptiesTheTableOnlyWhenAskedTo) {
    table().loadTexts("start", "en", true);
    savetest::LogCapture log;
    table().loadTexts("nowhere", "en", false);
    EXPECT_EQ(table().getText("ui", "title"), "The Museum");
    EXPECT_TRUE(
        log.contains("LoadTexts: nowhere/texts-en.xml and nowhere/texts-en.xml are missing or empty"));
    table().loadTexts("nowhere", "de", true);
    EXPECT_EQ(table().getText("ui", "title"), "ui.title");
}

}  // namespace
