#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Profile.h"
#include "Settings.h"
#include "UserData.h"
#include "UserDataIO.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

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
    explicit GameProcess(const fs::path& root) : _log(root / "game.log") {
        fs::create_directories(root / "home");
        fs::create_directories(root / "data");
        _pid = ::fork();
        if (_pid == 0) {
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
    // Waits up to timeout for the end; true when it ended.
    bool waitForEnd(std::chrono::milliseconds timeout) {
        const auto until = Clock::now() + timeout;
        while (running() && Clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return _exited;
    }
    bool logContains(const std::string& text) const { return readText(_log).find(text) != std::string::npos; }

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
        // Three seconds of running: well past the launch, into the splash screen's frames.
        const auto until = Clock::now() + std::chrono::seconds(3);
        while (Clock::now() < until && game.running()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ASSERT_TRUE(game.running()) << "the game ended by itself:\n" << game.log();
        EXPECT_TRUE(game.logContains("UserDataIO::loadUserData"));
        EXPECT_TRUE(game.logContains("reading secondary userdata failed!"));

        ASSERT_EQ(::kill(game.pid(), SIGTERM), 0);
        ASSERT_TRUE(game.waitForEnd(std::chrono::seconds(20))) << game.log();
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

}  // namespace
