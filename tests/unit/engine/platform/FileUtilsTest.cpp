#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ScopedEnv.h"
#include "engine/base/Log.h"
#include "engine/platform/Application.h"
#include "engine/platform/FileUtils.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::FileUtils;

// A resource tree in a fresh temporary folder, and FileUtils pointed at it.
class FileUtilsTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("kestrova-files-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "src" / "ui" / "Game");
        fs::create_directories(root / "res" / "ui" / "Game");
        fs::create_directories(root / "res" / "texts");
        write("src/ui/Game/ccnode.json", "from src");
        write("res/ui/Game/ccnode.json", "from res");
        write("res/texts/texts-en.xml", "<texts/>");
        write("lang", "de");
        FileUtils::destroyInstance();
        files = FileUtils::getInstance();
        files->setResourceRoot(root.string());
        files->addSearchPath("src");
        files->addSearchPath("res");
    }
    void TearDown() override {
        cocos2d::setLogSink({});
        FileUtils::destroyInstance();
        fs::remove_all(root);
    }
    void write(const std::string& rel, const std::string& text) {
        std::ofstream(root / rel, std::ios::binary) << text;
    }

    fs::path root;
    FileUtils* files = nullptr;
};

TEST_F(FileUtilsTest, LookupGoesRootThenSearchPathsInOrder) {
    struct Case {
        const char* name;
        std::string expected;  // relative to the root, "" for not found
    };
    const Case cases[] = {
        {"lang", "lang"},
        {"ui/Game/ccnode.json", "src/ui/Game/ccnode.json"},
        {"ui/Game//ccnode.json", "src/ui/Game/ccnode.json"},
        {"texts/texts-en.xml", "res/texts/texts-en.xml"},
        {"texts/texts-EN.xml", ""},
        {"ui/Game", ""},
        {"missing.png", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string expected = c.expected.empty() ? "" : (root / c.expected).string();
        EXPECT_EQ(files->fullPathForFilename(c.name), expected);
        EXPECT_EQ(files->isFileExist(c.name), !c.expected.empty());
    }
    const std::string absolute = (root / "res/texts/texts-en.xml").string();
    EXPECT_EQ(files->fullPathForFilename(absolute), absolute);
}

TEST_F(FileUtilsTest, MissingFileGivesEmptyContentsAndOneLineNamingIt) {
    std::vector<std::string> lines;
    cocos2d::setLogSink([&](cocos2d::LogLevel, const std::string& line) { lines.push_back(line); });
    EXPECT_EQ(files->getStringFromFile("ui/Map/ccnode.json"), "");
    EXPECT_TRUE(files->getDataFromFile("ui/Map/ccnode.json").isNull());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "FileUtils: [ui/Map/ccnode.json] not found");
    EXPECT_EQ(files->getStringFromFile("lang"), "de");
    EXPECT_EQ(files->getDataFromFile("ui/Game/ccnode.json").toString(), "from src");
}

// The XDG data folder when XDG_DATA_HOME names an absolute one; else (unset, or relative, which the XDG
// rules ignore) ~/.local/share. Either ends in a slash and is made.
TEST_F(FileUtilsTest, WritablePathFollowsXdgDataHomeElseTheHomeFolderEndsInSlashAndExists) {
    cocos2d::Application::setAppName("KestrovaTest");
    const testing::ScopedEnv home{"HOME", (root / "home").c_str()};
    const std::string xdgData = (root / "xdg-data").string();
    struct Case {
        const char* what;
        const char* xdgDataHome;
        fs::path expected;
    };
    const Case cases[] = {
        {"absolute", xdgData.c_str(), root / "xdg-data" / "KestrovaTest"},
        {"unset", nullptr, root / "home" / ".local" / "share" / "KestrovaTest"},
        {"relative", "relative/dir", root / "home" / ".local" / "share" / "KestrovaTest"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const testing::ScopedEnv xdg{"XDG_DATA_HOME", c.xdgDataHome};
        const std::string path = files->getWritablePath();
        EXPECT_EQ(path, c.expected.string() + "/");
        EXPECT_TRUE(fs::is_directory(path));
    }
    cocos2d::Application::setAppName("");
}

}  // namespace
