#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "CMemoryOutputStream.h"
#include "Profile.h"
#include "SaveFileParser.h"
#include "Settings.h"
#include "UserData.h"
#include "UserDataIO.h"
#include "WaitFor.h"

namespace {

namespace fs = std::filesystem;

// A whole game process on a loaded machine: as long as the install test gives it.
constexpr std::chrono::minutes kLoadingDeadline{4};

std::string readText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The game binary as scripts/run.sh starts it: no arguments, its own resource tree, a home and an XDG
// data folder of its own. SDL draws offscreen, or on the X server named by DISPLAY when there is one.
class GameProcess {
public:
    // fileSizeLimit, when not 0, is the largest file in bytes the game may write, as `ulimit -f` sets it.
    explicit GameProcess(const fs::path& root, rlim_t fileSizeLimit = 0) : _log(root / "game.log") {
        fs::create_directories(root / "home");
        fs::create_directories(root / "data");
        _pid = ::fork();
        if (_pid == 0) {
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            if (fileSizeLimit != 0 && ::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
                ::_exit(126);
            }
            ::setenv("HOME", (root / "home").c_str(), 1);
            ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
            ::setenv("XDG_CONFIG_HOME", (root / "home" / ".config").c_str(), 1);
            ::setenv("SDL_AUDIODRIVER", "dummy", 1);
            const char* display = std::getenv("DISPLAY");
            ::setenv("SDL_VIDEODRIVER", display && *display ? "x11" : "offscreen", 1);
            const int log = ::open(_log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(log, STDOUT_FILENO);
            ::dup2(log, STDERR_FILENO);
            ::chdir(root.c_str());
            ::execl(KESTROVA_GAME_BINARY, KESTROVA_GAME_BINARY, static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~GameProcess() {
        if (_pid > 0 && !_exited) {
            ::kill(_pid, SIGKILL);
            ::waitpid(_pid, nullptr, 0);
        }
    }

    // True while the process runs; once it ended, its status is kept.
    bool running() {
        if (_exited) {
            return false;
        }
        if (::waitpid(_pid, &_status, WNOHANG) == _pid) {
            _exited = true;
        }
        return !_exited;
    }
    // Until the process has ended; false, failing the test, when it does not.
    bool waitForEnd() {
        return testing::waitFor("the game to end", [this] { return !running(); });
    }
    // Until the loop has run the splash through to the end of the loading screen, which logs where it
    // leads (as the install test waits for it); false when the game ended first or never got there.
    bool waitForTheLoadingScreensEnd() {
        testing::waitFor(
            "the game to reach the end of its loading screen",
            [this] { return !running() || logContains("loading -> "); }, [] {}, kLoadingDeadline);
        return running() && logContains("loading -> ");
    }
    bool logContains(const std::string& text) const { return readText(_log).find(text) != std::string::npos; }
    // Until the log holds text; false, failing the test, when the game ended first or it never came.
    bool waitForLog(const std::string& text) {
        testing::waitFor("the game to log \"" + text + "\"", [&] { return !running() || logContains(text); });
        return logContains(text);
    }

    pid_t pid() const { return _pid; }
    int status() const { return _status; }
    std::string log() const { return readText(_log); }

private:
    fs::path _log;
    pid_t _pid = -1;
    int _status = 0;
    bool _exited = false;
};

// A first start on a machine without saves: the launch loads (no file passes), opens the window and
// runs the loop until the session ends it; a termination signal then saves the new player and the
// program returns 0. The saved pair reloads as the first-start player.
TEST(GameBinaryTest, AFirstStartRunsTheLoopUntilTerminatedAndThenSavesTheNewPlayer) {
    const fs::path root = fs::temp_directory_path() / ("kestrova-game-binary-" + std::to_string(::getpid()));
    fs::remove_all(root);
    {
        GameProcess game(root);
        ASSERT_GT(game.pid(), 0);
        // Well past the launch: the loop has run the splash and the loading screen.
        ASSERT_TRUE(game.waitForTheLoadingScreensEnd()) << game.log();
        EXPECT_TRUE(game.logContains("UserDataIO::loadUserData"));
        EXPECT_TRUE(game.logContains("reading secondary userdata failed!"));

        ASSERT_EQ(::kill(game.pid(), SIGTERM), 0);
        ASSERT_TRUE(game.waitForEnd()) << game.log();
        ASSERT_TRUE(WIFEXITED(game.status())) << game.log();
        EXPECT_EQ(WEXITSTATUS(game.status()), 0) << game.log();
        EXPECT_TRUE(game.logContains("UserDataIO::saveUserData"));
    }

    const std::string folder = (root / "data" / "Kestrova").string() + "/";
    for (const char* name :
         {"UserData.bin", "CheckSum.cs", "UserDataSecondary.bin", "CheckSumSecondary.cs"}) {
        EXPECT_TRUE(fs::is_regular_file(folder + name)) << name;
    }
    UserData::getInstance() = UserData{};
    UserDataIO::loadUserData(folder);
    ASSERT_EQ(UserData::getInstance().profiles.size(), 1u);
    const Profile& player = Settings::getInstance().getCurrentUser();
    EXPECT_TRUE(player.name.empty());
    EXPECT_TRUE(player.fullscreen);
    EXPECT_EQ(player.storyLevel, -1);
    EXPECT_FLOAT_EQ(player.musicVolume, 0.4f);
    EXPECT_EQ(player.minigameOrder.size(), 74u);

    std::error_code error;
    fs::remove_all(root, error);
}

// Eight players with long histories: a store well past 256 KiB.
UserData largeStore() {
    UserData store;
    for (int number = 0; number < 8; ++number) {
        Profile profile;
        Settings::getInstance().initNewProfile(profile);
        profile.name = u"Player " + std::u16string(1, static_cast<char16_t>(u'A' + number));
        profile.money = 1000 * number;
        profile.storyLevel = 2;
        for (int i = 0; i < 400; ++i) {
            PictureProgress picture;
            picture.path = "USA/picture_" + std::to_string(i);
            picture.restoredHistory = {"item_a", "item_b", "item_c"};
            profile.world.pictures[picture.path] = picture;
        }
        store.profiles[profile.name] = profile;
    }
    store.currentUserName = u"Player C";
    return store;
}

std::vector<uint8_t> saveBytes(const UserData& store) {
    auto out = std::make_shared<Core::CMemoryOutputStream>();
    out->writeInt32(kSaveFormatVersion);
    store.write(out);
    return out->bytes();
}

void writeBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The real game on a folder that holds a player's store from before: it runs, is ended as a
// session ends it (a save point), and leaves the store as the case says.
TEST(GameBinaryTest, AStoreFromBeforeSurvivesARunOfTheGame) {
    const UserData store = largeStore();
    const std::vector<uint8_t> bytes = saveBytes(store);
    ASSERT_GT(bytes.size(), 262144u);
    const auto checksumOf = [&](size_t count) {
        return std::to_string(UserDataIO::crc32(bytes.data(), static_cast<uint32_t>(count)));
    };
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> prepare;
        const char* expectedLine;
        bool keptAside;
    };
    const std::vector<Case> cases = {
        {"written by an earlier release, its checksum covering its first 256 KiB",
         [&](const fs::path& folder) {
             writeBytes(folder / "UserData.bin", bytes);
             writeBytes(folder / "UserDataSecondary.bin", bytes);
             std::ofstream(folder / "CheckSum.cs") << checksumOf(262144);
             std::ofstream(folder / "CheckSumSecondary.cs") << checksumOf(262144);
         },
         "reading ok", false},
        {"both copies damaged",
         [&](const fs::path& folder) {
             std::vector<uint8_t> damaged = bytes;
             damaged[1000] ^= 0x01;
             writeBytes(folder / "UserData.bin", damaged);
             writeBytes(folder / "UserDataSecondary.bin", damaged);
             std::ofstream(folder / "CheckSum.cs") << checksumOf(bytes.size());
             std::ofstream(folder / "CheckSumSecondary.cs") << checksumOf(bytes.size());
         },
         "reading secondary userdata failed!", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path root =
            fs::temp_directory_path() / ("kestrova-game-store-" + std::to_string(::getpid()));
        fs::remove_all(root);
        const fs::path folder = root / "data" / "Kestrova";
        fs::create_directories(folder);
        c.prepare(folder);
        const std::string before = readText(folder / "UserData.bin");
        {
            GameProcess game(root);
            ASSERT_GT(game.pid(), 0);
            ASSERT_TRUE(game.waitForTheLoadingScreensEnd()) << game.log();
            ASSERT_EQ(::kill(game.pid(), SIGTERM), 0);
            ASSERT_TRUE(game.waitForEnd()) << game.log();
            EXPECT_TRUE(game.logContains(c.expectedLine)) << game.log();
            EXPECT_EQ(game.logContains("kept aside"), c.keptAside) << game.log();
        }

        UserData::getInstance() = UserData{};
        Settings::destroyInstance();
        UserDataIO::loadUserData(folder.string() + "/");
        if (c.keptAside) {
            EXPECT_EQ(readText(folder / "UserData.bin.unloadable"), before);
            EXPECT_TRUE(fs::is_regular_file(folder / "CheckSumSecondary.cs.unloadable"));
            EXPECT_EQ(UserData::getInstance().profiles.size(), 1u);
        } else {
            // Every player is still there after the game saved, with every record (the current one
            // has the game's content packs read in besides).
            ASSERT_EQ(UserData::getInstance().profiles.size(), store.profiles.size());
            for (const auto& [name, profile] : store.profiles) {
                ASSERT_EQ(UserData::getInstance().profiles.count(name), 1u);
                const Profile& loaded = UserData::getInstance().profiles.at(name);
                EXPECT_EQ(loaded.money, profile.money);
                for (const auto& [path, picture] : profile.world.pictures) {
                    ASSERT_EQ(loaded.world.pictures.count(path), 1u) << path;
                    EXPECT_EQ(loaded.world.pictures.at(path), picture) << path;
                }
            }
        }
        std::error_code error;
        fs::remove_all(root, error);
    }
}

// A player who starts the game under a file-size limit smaller than the store (`ulimit -f`): the save
// at the end of the session fails as on a full disk, with one line, instead of the limit's signal
// killing the game in the middle of the write; no temporary file is left and the store saved before
// is as it was.
TEST(GameBinaryTest, UnderAFileSizeLimitTheSaveFailsWithOneLineAndTheStoreStaysAsItWas) {
    const std::vector<uint8_t> bytes = saveBytes(largeStore());
    // Room for the game's own log, not for the store.
    constexpr rlim_t kLimit = 64 * 1024;
    ASSERT_GT(bytes.size(), kLimit);
    const fs::path root = fs::temp_directory_path() / ("kestrova-game-limit-" + std::to_string(::getpid()));
    fs::remove_all(root);
    const fs::path folder = root / "data" / "Kestrova";
    fs::create_directories(folder);
    const std::string checksum = std::to_string(UserDataIO::crc32(bytes.data(), static_cast<uint32_t>(bytes.size())));
    writeBytes(folder / "UserData.bin", bytes);
    writeBytes(folder / "UserDataSecondary.bin", bytes);
    std::ofstream(folder / "CheckSum.cs") << checksum;
    std::ofstream(folder / "CheckSumSecondary.cs") << checksum;
    {
        GameProcess game(root, kLimit);
        ASSERT_GT(game.pid(), 0);
        ASSERT_TRUE(game.waitForLog("reading ok"))
            << "the launch never loaded the store:\n" << game.log();
        ASSERT_EQ(::kill(game.pid(), SIGTERM), 0);
        ASSERT_TRUE(game.waitForEnd()) << "the game did not end:\n" << game.log();
        ASSERT_FALSE(WIFSIGNALED(game.status())) << "ended by signal " << WTERMSIG(game.status()) << ":\n"
                                                 << game.log();
        ASSERT_TRUE(WIFEXITED(game.status()));
        EXPECT_EQ(WEXITSTATUS(game.status()), 0) << game.log();
        const std::string log = game.log();
        size_t lines = 0;
        for (size_t at = log.find("UserDataIO: cannot write"); at != std::string::npos;
             at = log.find("UserDataIO: cannot write", at + 1)) {
            ++lines;
        }
        EXPECT_EQ(lines, 1u) << log;
        EXPECT_TRUE(game.logContains("File too large; the game is not saved")) << log;
    }
    for (const auto& entry : fs::directory_iterator(folder)) {
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    }
    const std::string before(bytes.begin(), bytes.end());
    EXPECT_EQ(readText(folder / "UserData.bin"), before);
    EXPECT_EQ(readText(folder / "UserDataSecondary.bin"), before);
    EXPECT_EQ(readText(folder / "CheckSum.cs"), checksum);
    EXPECT_EQ(readText(folder / "CheckSumSecondary.cs"), checksum);
    std::error_code error;
    fs::remove_all(root, error);
}

}  // namespace
