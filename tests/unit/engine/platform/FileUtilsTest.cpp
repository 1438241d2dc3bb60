#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

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
        if (const char* xdg = std::getenv("XDG_DATA_HOME")) {
            savedXdg = xdg;
            hadXdg = true;
        }
    }
    void TearDown() override {
        cocos2d::setLogSink({});
        if (hadXdg) {
            setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
        FileUtils::destroyInstance();
        fs::remove_all(root);
    }
    void write(const std::string& rel, const std::string& text) {
        std::ofstream(root / rel, std::ios::binary) << text;
    }

    fs::path root;
    FileUtils* files = nullptr;
    std::string savedXdg;
    bool hadXdg = false;
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

TEST_F(FileUtilsTest, WritablePathFollowsXdgDataHomeEndsInSlashAndExists) {
    cocos2d::Application::setAppName("KestrovaTest");
    const fs::path data = root / "xdg-data";
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    const std::string path = files->getWritablePath();
    EXPECT_EQ(path, (data / "KestrovaTest").string() + "/");
    EXPECT_TRUE(fs::is_directory(path));
    // A relative value is not an XDG base: the home fallback applies.
    setenv("XDG_DATA_HOME", "relative/dir", 1);
    const std::string fallback = files->getWritablePath();
    EXPECT_NE(fallback.find("/.local/share/KestrovaTest/"), std::string::npos);
    EXPECT_EQ(fallback.back(), '/');
    cocos2d::Application::setAppName("");
}

}  // namespace
