#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "engine/base/Log.h"
#include "engine/services/DesktopServices.h"

namespace {

namespace fs = std::filesystem;
using cocos2d::DesktopServices;

// HOME, XDG_CONFIG_HOME and PATH pointed into a fresh folder for each test.
class DesktopServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("kestrova-desktop-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "home" / ".config");
        save("HOME");
        save("XDG_CONFIG_HOME");
        save("PATH");
        setenv("HOME", (root / "home").c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
    }
    void TearDown() override {
        cocos2d::setLogSink({});
        for (auto& [name, value] : saved) {
            if (value.first) {
                setenv(name.c_str(), value.second.c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
        fs::remove_all(root);
    }
    void save(const std::string& name) {
        const char* v = std::getenv(name.c_str());
        saved.emplace_back(name, std::make_pair(v != nullptr, v ? std::string(v) : std::string()));
    }
    void userDirs(const fs::path& configDir, const std::string& contents) {
        fs::create_directories(configDir);
        std::ofstream(configDir / "user-dirs.dirs") << contents;
    }

    fs::path root;
    std::vector<std::pair<std::string, std::pair<bool, std::string>>> saved;
};

TEST_F(DesktopServicesTest, PicturesFolderComesFromUserDirsElseHomePictures) {
    const std::string home = (root / "home").string();
    struct Case {
        const char* what;
        std::string file;  // "" for no file
        std::string expected;
    };
    const Case cases[] = {
        {"no file", "", home + "/Pictures"},
        {"home-relative", "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n", home + "/Bilder"},
        {"absolute with a trailing slash", "# comment\nXDG_PICTURES_DIR=\"/srv/pics/\"\n", "/srv/pics"},
        {"relative values are invalid", "XDG_PICTURES_DIR=\"Pictures\"\n", home + "/Pictures"},
        {"only other keys", "XDG_MUSIC_DIR=\"$HOME/Music\"\n", home + "/Pictures"},
        {"disabled (set to home)", "XDG_PICTURES_DIR=\"$HOME/\"\n", home + "/Pictures"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(root / "home" / ".config" / "user-dirs.dirs");
        if (!c.file.empty()) {
            userDirs(root / "home" / ".config", c.file);
        }
        EXPECT_EQ(DesktopServices::getPicturesFolder(), c.expected);
    }
    userDirs(root / "xdg", "XDG_PICTURES_DIR=\"/from/xdg\"\n");
    setenv("XDG_CONFIG_HOME", (root / "xdg").c_str(), 1);
    EXPECT_EQ(DesktopServices::getPicturesFolder(), "/from/xdg");
}

TEST_F(DesktopServicesTest, CopyOverwritesAndFailsIntoAMissingFolderWithoutCreatingIt) {
    const fs::path source = root / "wall.jpg";
    std::ofstream(source) << "new";
    const fs::path target = root / "home" / "existing.jpg";
    std::ofstream(target) << "old contents";
    EXPECT_EQ(DesktopServices::copyFile(source.string(), target.string()), target.string());
    std::ifstream in(target);
    std::string copied((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(copied, "new");

    std::vector<std::string> lines;
    cocos2d::setLogSink([&](cocos2d::LogLevel, const std::string& line) { lines.push_back(line); });
    const fs::path missing = root / "Wallpaper" / "wall.jpg";
    EXPECT_EQ(DesktopServices::copyFile(source.string(), missing.string()), "");
    EXPECT_FALSE(fs::exists(root / "Wallpaper"));
    EXPECT_EQ(lines.size(), 1u);
}

TEST_F(DesktopServicesTest, WallpaperWithoutADesktopReturnsFalseAndLogsOnce) {
    setenv("PATH", (root / "empty-bin").c_str(), 1);
    const fs::path image = root / "wall.jpg";
    std::ofstream(image) << "jpeg";
    std::vector<std::string> lines;
    cocos2d::setLogSink([&](cocos2d::LogLevel, const std::string& line) { lines.push_back(line); });
    EXPECT_FALSE(DesktopServices::setDesktopWallpaper(image.string()));
    EXPECT_FALSE(DesktopServices::setDesktopWallpaper(image.string()));
    EXPECT_EQ(lines.size(), 1u);
    EXPECT_FALSE(DesktopServices::setDesktopWallpaper(""));
}

}  // namespace
