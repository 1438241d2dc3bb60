#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

    static std::string readFile(const fs::path& path) {
        std::ifstream in(path);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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

TEST_F(DesktopServicesTest, CopyOverwritesAndCreatesAMissingFolder) {
    const fs::path source = root / "wall.jpg";
    std::ofstream(source) << "new";
    const fs::path target = root / "home" / "existing.jpg";
    std::ofstream(target) << "old contents";
    EXPECT_EQ(DesktopServices::copyFile(source.string(), target.string()), target.string());
    EXPECT_EQ(readFile(target), "new");

    // A fresh account has no pictures folder yet: it is made, parents and all.
    const fs::path missing = root / "home" / "Pictures" / "Museum" / "wall.jpg";
    EXPECT_EQ(DesktopServices::copyFile(source.string(), missing.string()), missing.string());
    EXPECT_EQ(readFile(missing), "new");
}

TEST_F(DesktopServicesTest, ACopyThatCannotBeMadeGivesNothingAndOneLine) {
    const fs::path source = root / "wall.jpg";
    std::ofstream(source) << "new";
    // A file stands where the folder should be.
    std::ofstream(root / "home" / "Pictures") << "not a folder";
    struct Case {
        const char* what;
        fs::path source;
        fs::path destination;
    };
    const Case cases[] = {
        {"the folder is a file", source, root / "home" / "Pictures" / "wall.jpg"},
        {"below a file", source, root / "home" / "Pictures" / "deeper" / "wall.jpg"},
        {"no source", root / "absent.jpg", root / "home" / "wall.jpg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> lines;
        cocos2d::setLogSink([&](cocos2d::LogLevel, const std::string& line) { lines.push_back(line); });
        EXPECT_EQ(DesktopServices::copyFile(c.source.string(), c.destination.string()), "");
        EXPECT_EQ(lines.size(), 1u);
        cocos2d::setLogSink({});
    }
    EXPECT_EQ(readFile(root / "home" / "Pictures"), "not a folder");
}

TEST_F(DesktopServicesTest, TheFileAddressEscapesEverythingButUnreservedCharactersAndSlashes) {
    struct Case {
        std::string path;
        std::string uri;
    };
    const Case cases[] = {
        {"/home/ann/Pictures/Kestrova_HarborDawn.jpg", "file:///home/ann/Pictures/Kestrova_HarborDawn.jpg"},
        {"/home/ann/My Pictures/a b.jpg", "file:///home/ann/My%20Pictures/a%20b.jpg"},
        {"/tmp/100%/#1?x=y&z.jpg", "file:///tmp/100%25/%231%3Fx%3Dy%26z.jpg"},
        {"/tmp/it's [a] ~ok-_.jpg", "file:///tmp/it%27s%20%5Ba%5D%20~ok-_.jpg"},
        {"/home/z\xc3\xb6" "e/Bilder/x.jpg", "file:///home/z%C3%B6e/Bilder/x.jpg"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DesktopServices::fileUri(c.path), c.uri) << c.path;
    }
}

TEST_F(DesktopServicesTest, WithoutADesktopEachAttemptSaysSoInOneLineNamingThePicture) {
    setenv("PATH", (root / "empty-bin").c_str(), 1);
    const fs::path image = root / "wall.jpg";
    std::ofstream(image) << "jpeg";
    std::vector<std::string> lines;
    cocos2d::setLogSink([&](cocos2d::LogLevel, const std::string& line) { lines.push_back(line); });
    EXPECT_FALSE(DesktopServices::setDesktopWallpaper(image.string()));
    EXPECT_FALSE(DesktopServices::setDesktopWallpaper(image.string()));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "DesktopServices: no desktop accepted the wallpaper; the picture is saved as " +
                            image.string());
    EXPECT_EQ(lines[1], lines[0]);
    lines.clear();
    EXPECT_FALSE(DesktopServices::setDesktopWallpaper(""));
    EXPECT_FALSE(DesktopServices::setDesktopWallpaper((root / "absent.jpg").string()));
    EXPECT_EQ(lines.size(), 2u);
}

// The desktop's own settings tool, with GLib's key-file store in the test's folder standing in for
// the session's: what the desktop would read is read back from there.
class DesktopWallpaperSettingsTest : public DesktopServicesTest {
protected:
    void SetUp() override {
        DesktopServicesTest::SetUp();
        save("GSETTINGS_BACKEND");
        if (std::system("gsettings writable org.gnome.desktop.background picture-uri >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "no gsettings with the GNOME background schema here";
        }
        setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    }

    static std::string get(const std::string& key) {
        const std::string command = "gsettings get org.gnome.desktop.background " + key + " 2>/dev/null";
        std::string out;
        if (FILE* pipe = ::popen(command.c_str(), "r")) {
            char buffer[512];
            while (std::fgets(buffer, sizeof(buffer), pipe) != nullptr) {
                out += buffer;
            }
            ::pclose(pipe);
        }
        while (!out.empty() && out.back() == '\n') {
            out.pop_back();
        }
        return out;
    }
};

TEST_F(DesktopWallpaperSettingsTest, TheDesktopGetsTheEscapedAddressStretched) {
    setenv("GSETTINGS_BACKEND", "keyfile", 1);
    const fs::path folder = root / "My Pictures #2";
    fs::create_directories(folder);
    const fs::path image = folder / "Kestrova_HarborDawn.jpg";
    std::ofstream(image) << "jpeg";
    std::vector<std::string> lines;
    cocos2d::setLogSink([&](cocos2d::LogLevel, const std::string& line) { lines.push_back(line); });
    EXPECT_TRUE(DesktopServices::setDesktopWallpaper(image.string()));
    EXPECT_TRUE(lines.empty());
    const std::string uri = DesktopServices::fileUri(image.string());
    EXPECT_NE(uri.find("My%20Pictures%20%232/"), std::string::npos) << uri;
    EXPECT_EQ(get("picture-uri"), "'" + uri + "'");
    EXPECT_EQ(get("picture-options"), "'stretched'");
}

TEST_F(DesktopWallpaperSettingsTest, ASettingNoOtherProcessCanSeeIsNotTakenForAccepted) {
    // Without a session's store gsettings keeps values in its own memory and still succeeds.
    setenv("GSETTINGS_BACKEND", "memory", 1);
    const fs::path image = root / "wall.jpg";
    std::ofstream(image) << "jpeg";
    std::vector<std::string> lines;
    cocos2d::setLogSink([&](cocos2d::LogLevel, const std::string& line) { lines.push_back(line); });
    EXPECT_FALSE(DesktopServices::setDesktopWallpaper(image.string()));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("no desktop accepted the wallpaper"), std::string::npos) << lines[0];
}

}  // namespace
