#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/platform/FileUtils.h"

#include "CountryProgress.h"
#include "DataPackReader.h"
#include "PictureProgress.h"
#include "Profile.h"
#include "SaveTestSupport.h"
#include "TextTable.h"

namespace {

// Garbage that no reader may take for content: each must be refused with its one line.
std::vector<std::string> garbageInputs(const std::string& root) {
    std::vector<std::string> inputs = {
        "<" + root,
        "<" + root + " ",
        "<" + root + "><a><b>",
        "<" + root + "></nothing",
        "<<<<>>>>",
        "</" + root + ">",
        "<" + root + " name=unquoted/>",
        "<" + root + " name=\"never closed/>",
        "<" + root + ">&#xFFFFFFFF;</" + root + ">",
        "<" + root + "><!-- never closed </" + root + ">",
        "<" + root + "><![CDATA[ never closed </" + root + ">",
        "hello, no markup at all",
        "<other/>",
        std::string("\0<", 2) + root + "/>",
        std::string("<") + root + std::string("\0/>", 3),
        "\xEF\xBB\xBF\xFF\xFE<\x80\x81>",
    };
    // Nesting far deeper than any content file, inside the right root and alone.
    std::string deep = "<" + root + ">";
    std::string deepAlone;
    for (int i = 0; i < 200000; ++i) {
        deep += "<a>";
        deepAlone += "<a>";
    }
    inputs.push_back(deep);
    inputs.push_back(deepAlone);
    std::mt19937 random(1234);
    for (int n = 0; n < 20; ++n) {
        std::string bytes(static_cast<size_t>(1 + random() % 2000), '\0');
        for (char& c : bytes) {
            c = static_cast<char>(random() & 0xFF);
        }
        if (n % 2 == 0) {
            bytes = "<" + root + ">" + bytes;  // garbage after a good start
        }
        inputs.push_back(bytes);
    }
    return inputs;
}

// Every cut of a good file short of its root's closing tag.
std::vector<std::string> truncationsOf(const std::string& text, const std::string& root) {
    const size_t end = text.rfind("</" + root + ">") + root.size() + 2;
    std::vector<std::string> cuts;
    for (size_t length = 1; length < end; ++length) {
        cuts.push_back(text.substr(0, length));
    }
    return cuts;
}

bool hasLineStartingWith(const savetest::LogCapture& log, const std::string& start) {
    for (const std::string& line : log.lines) {
        if (line.rfind(start, 0) == 0) {
            return true;
        }
    }
    return false;
}

std::string describe(const std::string& input) {
    return std::to_string(input.size()) + " bytes: " + input.substr(0, 60);
}

class HostileContentFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        TextTable::destroyInstance();
        cocos2d::FileUtils::destroyInstance();
        cocos2d::FileUtils::getInstance()->setResourceRoot(folder.path());
        std::filesystem::create_directories(folder.file("packs"));
        std::filesystem::create_directories(folder.file("texts"));
        std::filesystem::create_directories(folder.file("kept"));
        savetest::writeFileText(folder.file("kept/texts-en.xml"),
                                "<texts><ui><t id=\"kept\">still here</t></ui></texts>");
    }
    void TearDown() override {
        TextTable::destroyInstance();
        cocos2d::FileUtils::destroyInstance();
    }

    void write(const std::string& name, const std::string& bytes) {
        savetest::writeFileText(folder.file(name), bytes);
        cocos2d::FileUtils::getInstance()->purgeCachedEntries();
    }

    // A profile that already holds progress, so a change of any kind shows.
    static Profile playedProfile() {
        Profile profile;
        profile.money = 40;
        profile.world.countries["Alpha"] = CountryProgress{"", 0, "Alpha", 0, 3};
        PictureProgress picture;
        picture.path = "Dawn";
        picture.state = 2;
        picture.bestStars = 3;
        profile.world.pictures["Dawn"] = picture;
        return profile;
    }

    savetest::TempFolder folder;
};

TEST_F(HostileContentFilesTest, ATextFileOfAnyBytesIsLoggedAndLeavesTheTableAsItWas) {
    const std::string good = savetest::readFileText(savetest::dataPath("texts/start/texts-en.xml"));
    ASSERT_FALSE(good.empty());
    std::vector<std::string> inputs = truncationsOf(good, "texts");
    for (const std::string& garbage : garbageInputs("texts")) {
        inputs.push_back(garbage);
    }
    for (const std::string& input : inputs) {
        SCOPED_TRACE(describe(input));
        TextTable::getInstance().loadTexts("kept", "en", true);
        write("texts/texts-en.xml", input);
        savetest::LogCapture log;
        TextTable::getInstance().loadTexts("texts", "en", true);
        EXPECT_TRUE(hasLineStartingWith(log, "LoadTexts: texts/texts-en.xml: "));
        EXPECT_EQ(log.lines.back(), "\t loadTexts ok");
        EXPECT_EQ(TextTable::getInstance().getText("ui", "kept"), "still here");
        EXPECT_EQ(TextTable::getInstance().getText("ui", "exit_game_confirm"), "ui.exit_game_confirm");
    }
}

TEST_F(HostileContentFilesTest, APackFileOfAnyBytesIsLoggedAndLeavesTheProfileAsItWas) {
    write("packs/packs.xml", savetest::readFileText(savetest::dataPath("packs/basic/packs.xml")));
    const std::string good = savetest::readFileText(savetest::dataPath("packs/basic/pack.xml"));
    ASSERT_FALSE(good.empty());
    std::vector<std::string> inputs = truncationsOf(good, "pack");
    for (const std::string& garbage : garbageInputs("pack")) {
        inputs.push_back(garbage);
    }
    const Profile before = playedProfile();
    for (const std::string& input : inputs) {
        SCOPED_TRACE(describe(input));
        write("packs/pack.xml", input);
        Profile profile = before;
        savetest::LogCapture log;
        DataPackReader::getInstance().load("packs", "en", profile);
        EXPECT_EQ(profile, before);
        EXPECT_TRUE(hasLineStartingWith(log, "Load pack failed: "));
        EXPECT_EQ(log.lines.back(), "\t DataPackReader ok");
    }
}

TEST_F(HostileContentFilesTest, APackListOfAnyBytesIsLoggedAndReadsNoPack) {
    write("packs/pack.xml", savetest::readFileText(savetest::dataPath("packs/basic/pack.xml")));
    write("packs/texts-en.xml", "<texts><ui><t id=\"merged\">merged</t></ui></texts>");
    const std::string good = savetest::readFileText(savetest::dataPath("packs/basic/packs.xml"));
    ASSERT_FALSE(good.empty());
    std::vector<std::string> inputs = truncationsOf(good, "packs");
    for (const std::string& garbage : garbageInputs("packs")) {
        inputs.push_back(garbage);
    }
    const Profile before = playedProfile();
    for (const std::string& input : inputs) {
        SCOPED_TRACE(describe(input));
        TextTable::destroyInstance();
        write("packs/packs.xml", input);
        Profile profile = before;
        savetest::LogCapture log;
        DataPackReader::getInstance().load("packs", "en", profile);
        EXPECT_EQ(profile, before);
        EXPECT_TRUE(hasLineStartingWith(log, "Load packs.xml list: "));
        EXPECT_EQ(TextTable::getInstance().getText("ui", "merged"), "ui.merged");
    }
}

}  // namespace
