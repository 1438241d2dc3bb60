#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "SaveTestSupport.h"
#include "Settings.h"
#include "UserData.h"
#include "UserDataIO.h"
#include "UserDataIOFiles.h"

namespace {

using Bytes = std::vector<uint8_t>;
using savetest::TempFolder;

const std::vector<std::string> kSaveFiles = {"UserData.bin", "CheckSum.cs", "UserDataSecondary.bin",
                                             "CheckSumSecondary.cs"};

// A deterministic store whose money says which save wrote it; big enough that a save takes a while.
UserData storeNumbered(int32_t number) {
    UserData store;
    Profile profile;
    profile.name = u"Ann";
    profile.money = number;
    profile.minigameLevels = {0, 1, 2, 3, 4};
    for (int country = 0; country < 7; ++country) {
        for (int picture = 0; picture < 40; ++picture) {
            PictureProgress record;
            record.path = "Country" + std::to_string(country) + "/picture_" + std::to_string(picture);
            record.earnedTotal = number;
            record.damage = {DamageRecord{1, 10, 20, 2, 1}, DamageRecord{2, 30, 40, 3, 2}};
            record.restoredHistory = {"item_1", "item_2", "item_3"};
            profile.world.pictures[record.path] = record;
        }
    }
    store.profiles[profile.name] = profile;
    store.currentUserName = profile.name;
    return store;
}

std::vector<Bytes> saveFileContents(const TempFolder& folder) {
    std::vector<Bytes> contents;
    for (const std::string& name : kSaveFiles) {
        contents.push_back(savetest::readFileBytes(folder.file(name)));
    }
    return contents;
}

bool hasTemporaryFile(const TempFolder& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        if (entry.path().extension() == ".tmp") {
            return true;
        }
    }
    return false;
}

// Loads the folder as at launch and returns the current player's money.
int32_t loadMoney(const TempFolder& folder) {
    savetest::resetGameState();
    UserDataIO::loadUserData(folder.path());
    return Settings::getInstance().getCurrentUser().money;
}

// As if the last save point were a minute ago: the files' times then tell the next save's copies
// from the earlier ones even where the file system keeps coarse times.
void ageSaveFiles(const TempFolder& folder) {
    const auto then = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(1);
    for (const std::string& name : kSaveFiles) {
        std::error_code error;
        std::filesystem::last_write_time(folder.file(name), then, error);
    }
}

// Runs body in a child process and returns its exit status (-1 when it did not exit normally).
int runInChild(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class SaveCrashSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        savetest::resetGameState();
        UserData::getInstance() = storeNumbered(111);
        ASSERT_TRUE(UserDataIO::saveUserData(folder.path()));
        before = saveFileContents(folder);
    }
    void TearDown() override { savetest::resetGameState(); }

    TempFolder folder;
    std::vector<Bytes> before;
};

// The file size limit makes the write of the new data fail after its first 4 KiB, as a full disk
// would. The other copy, as large, cannot fit either, so the save stops there with one line that says
// the game is not saved. (The game ignores SIGXFSZ, which would otherwise end it there.)
TEST_F(SaveCrashSafetyTest, AWriteThatFailsPartWayLeavesBothPreviousPairsLoadable) {
    const int status = runInChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        UserData::getInstance() = storeNumbered(222);
        savetest::LogCapture log;
        const bool saved = UserDataIO::saveUserData(folder.path());
        if (saved) {
            return 10;
        }
        if (log.problems.size() != 1) {
            return 20;
        }
        const std::string& line = log.problems.front();
        const bool says = line.find("UserDataSecondary.bin\": File too large") != std::string::npos &&
                          line.find("the game is not saved") != std::string::npos;
        return says ? 0 : 30;
    });
    EXPECT_EQ(status, 0) << "10: the save reported success; 20: not one line; 30: the line does not say why and "
                            "what it means";
    EXPECT_EQ(saveFileContents(folder), before);
    EXPECT_FALSE(hasTemporaryFile(folder));
    savetest::LogCapture log;
    EXPECT_EQ(loadMoney(folder), 111);
    EXPECT_TRUE(log.contains("reading ok"));
}

TEST_F(SaveCrashSafetyTest, ACopyThatCannotBeWrittenKeepsItsPairAndTheOtherCopyIsStillWritten) {
    struct Case {
        const char* what;
        std::function<void()> block;
        int32_t expectedLoad;
    };
    // Either way the launch reads the secondary: it holds the newer store.
    const std::vector<Case> cases = {
        {"a folder holds the temporary name",
         [&] { std::filesystem::create_directory(folder.file("UserData.bin.tmp")); }, 222},
        {"a folder holds the data file's name",
         [&] {
             std::filesystem::remove(folder.file("UserData.bin"));
             std::filesystem::create_directory(folder.file("UserData.bin"));
         },
         222},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UserData::getInstance() = storeNumbered(111);
        ASSERT_TRUE(UserDataIO::saveUserData(folder.path()));
        c.block();
        ageSaveFiles(folder);
        const Bytes oldChecksum = savetest::readFileBytes(folder.file("CheckSum.cs"));
        const Bytes oldPrimary = savetest::readFileBytes(folder.file("UserData.bin"));

        UserData::getInstance() = storeNumbered(222);
        savetest::LogCapture log;
        EXPECT_FALSE(UserDataIO::saveUserData(folder.path()));
        EXPECT_EQ(log.problems.size(), 1u);
        EXPECT_EQ(savetest::readFileBytes(folder.file("CheckSum.cs")), oldChecksum);
        EXPECT_EQ(savetest::readFileBytes(folder.file("UserData.bin")), oldPrimary);
        const Bytes secondary = savetest::readFileBytes(folder.file("UserDataSecondary.bin"));
        EXPECT_NE(secondary, before[2]);
        EXPECT_EQ(loadMoney(folder), c.expectedLoad);

        std::filesystem::remove_all(folder.file("UserData.bin.tmp"));
        std::filesystem::remove_all(folder.file("UserData.bin"));
    }
}

// The primary stays unwritable over several save points: each launch reads the store of the last
// one from the secondary, and once the primary can be written again both copies agree.
TEST_F(SaveCrashSafetyTest, WhileThePrimaryCannotBeReplacedEachLaunchReadsTheLastSave) {
    std::filesystem::create_directory(folder.file("UserData.bin.tmp"));
    ageSaveFiles(folder);
    for (const int32_t number : {222, 333, 444}) {
        SCOPED_TRACE(number);
        UserData::getInstance() = storeNumbered(number);
        EXPECT_FALSE(UserDataIO::saveUserData(folder.path()));
        EXPECT_EQ(savetest::readFileBytes(folder.file("UserData.bin")), before[0]);
        savetest::LogCapture log;
        EXPECT_EQ(loadMoney(folder), number);
        EXPECT_TRUE(log.contains("reading secondary userdata success!"));
        EXPECT_EQ(UserData::getInstance(), storeNumbered(number));
    }

    std::filesystem::remove(folder.file("UserData.bin.tmp"));
    UserData::getInstance() = storeNumbered(555);
    EXPECT_TRUE(UserDataIO::saveUserData(folder.path()));
    EXPECT_EQ(savetest::readFileBytes(folder.file("UserData.bin")),
              savetest::readFileBytes(folder.file("UserDataSecondary.bin")));
    savetest::LogCapture log;
    EXPECT_EQ(loadMoney(folder), 555);
    EXPECT_TRUE(log.contains("reading ok"));
}

// How a save run in a child process ended when it was killed after its given file operation.
struct KilledSave {
    // The save finished before it reached that operation.
    bool finished = false;
    // The operation it was killed after, as the file code names it.
    std::string operation;
};

// Saves the store in a child process that kills itself (SIGKILL, as a player's crash or a power cut
// would stop it) right after the save's file operation number `operation`, counted from 1. The kill
// points follow the save's own steps, so a loaded machine moves nothing.
KilledSave saveKilledAfter(const TempFolder& folder, int operation) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        cocos2d::setLogSink([](cocos2d::LogLevel, const std::string&) {});
        int count = 0;
        savefiles::setFileOperationObserver([&](const char* what, const std::string& path) {
            if (++count == operation) {
                const std::string line = std::string(what) + " " + path;
                if (::write(pipeEnds[1], line.data(), line.size()) < 0) {
                    ::_exit(3);
                }
                std::raise(SIGKILL);
            }
        });
        UserDataIO::saveUserData(folder.path());
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    KilledSave result;
    char buffer[512];
    ssize_t n = 0;
    while ((n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
        result.operation.append(buffer, static_cast<size_t>(n));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    result.finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!result.finished && !(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)) {
        result.operation = "(the saving process ended otherwise, status " + std::to_string(status) + ")";
    }
    return result;
}

// The first save after a launch, killed after each of its file operations in turn, from each store a
// launch may find: the next launch always loads the store the first launch loaded or the one that
// was being saved, whole. Damaged copies carry a matching checksum, as an edited file or a fault
// that rewrote the checksum would.
TEST_F(SaveCrashSafetyTest, AFirstSaveKilledAfterAnyFileOperationLeavesTheOldStoreOrTheNew) {
    struct Case {
        const char* what;
        std::function<void(const TempFolder&)> damage;
        bool secondaryNewer;
    };
    const std::vector<Case> cases = {
        {"both copies intact", [](const TempFolder&) {}, false},
        {"the primary with a negative profile count",
         [](const TempFolder& f) { savetest::damageProfileCount(f, "UserData.bin", "CheckSum.cs"); }, false},
        {"the primary with bytes after its last record",
         [](const TempFolder& f) {
             Bytes bytes = savetest::readFileBytes(f.file("UserData.bin"));
             bytes.insert(bytes.end(), {0x01, 0x02, 0x03, 0x04});
             savetest::writeFileBytes(f.file("UserData.bin"), bytes);
             UserDataIO::writeChecksumFile(f.file("UserData.bin").c_str(), f.file("CheckSum.cs").c_str());
         },
         false},
        {"a damaged secondary written after the primary",
         [](const TempFolder& f) {
             savetest::damageProfileCount(f, "UserDataSecondary.bin", "CheckSumSecondary.cs");
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int operations = 0;
        for (int operation = 1;; ++operation) {
            ASSERT_LT(operation, 200) << "the save never finished";
            TempFolder f;
            savetest::resetGameState();
            UserData::getInstance() = storeNumbered(111);
            ASSERT_TRUE(UserDataIO::saveUserData(f.path()));
            c.damage(f);
            ageSaveFiles(f);
            if (c.secondaryNewer) {
                const auto then = std::filesystem::last_write_time(f.file("UserData.bin"));
                std::filesystem::last_write_time(f.file("UserDataSecondary.bin"), then + std::chrono::seconds(30));
            }

            // The launch before the save: it loads past the damaged copy, and the player plays on.
            savetest::resetGameState();
            {
                savetest::LogCapture quiet;
                UserDataIO::loadUserData(f.path());
            }
            const UserData oldStore = UserData::getInstance();
            ASSERT_EQ(oldStore, storeNumbered(111));
            Settings::getInstance().getCurrentUser().money = 222;
            const UserData newStore = UserData::getInstance();

            const KilledSave save = saveKilledAfter(f, operation);
            savetest::resetGameState();
            savetest::LogCapture log;
            UserDataIO::loadUserData(f.path());
            if (save.finished) {
                EXPECT_EQ(UserData::getInstance(), newStore) << "the save ran to its end";
                operations = operation - 1;
                break;
            }
            const bool whole = UserData::getInstance() == oldStore || UserData::getInstance() == newStore;
            EXPECT_TRUE(whole) << "killed after operation " << operation << ", " << save.operation
                               << ": the next launch loaded money "
                               << Settings::getInstance().getCurrentUser().money << ", "
                               << UserData::getInstance().profiles.size() << " profile(s)";
        }
        // Each copy is at least a data file and a checksum file, each created, written, closed and
        // renamed into place.
        EXPECT_GE(operations, 16) << "too few kill points: the observer misses operations";
        std::printf("%s: killed after each of %d file operations\n", c.what, operations);
    }
    savetest::resetGameState();
}

// Reads one save time, in microseconds, that the saving child reports; false when the child is gone.
bool readReportedSaveTime(int fd, int64_t& micros) {
    size_t got = 0;
    auto* into = reinterpret_cast<char*>(&micros);
    while (got < sizeof micros) {
        const ssize_t n = ::read(fd, into + got, sizeof micros - got);
        if (n <= 0) {
            return false;
        }
        got += static_cast<size_t>(n);
    }
    return true;
}

// A player's process killed at any moment of a save: the next launch finds either the store of the
// last finished save or that of the one under way, whole, never a damaged one or the default.
// The kill points follow the saving process itself, not the clock alone: it reports each save it
// finishes and how long it took, and each kill waits for 0, 1 or 2 of them and then for a moment
// spread over one save. A slow or loaded machine then moves the kill points with the saves.
TEST_F(SaveCrashSafetyTest, AProcessKilledAtManyPointsOfASaveLoopAlwaysReloadsAWholeStore) {
    constexpr int kKills = 150;
    int32_t loaded = 111;
    int killsDuringAWrite = 0;
    const auto saveStart = std::chrono::steady_clock::now();
    UserData::getInstance() = storeNumbered(loaded);
    ASSERT_TRUE(UserDataIO::saveUserData(folder.path()));
    int64_t saveMicros =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - saveStart)
            .count();
    for (int kill = 0; kill < kKills; ++kill) {
        int reports[2];
        ASSERT_EQ(::pipe(reports), 0);
        const int32_t first = loaded + 1;
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(reports[0]);
            cocos2d::setLogSink([](cocos2d::LogLevel, const std::string&) {});
            for (int32_t number = first;; ++number) {
                const auto start = std::chrono::steady_clock::now();
                UserData::getInstance() = storeNumbered(number);
                UserDataIO::saveUserData(folder.path());
                const int64_t micros = std::chrono::duration_cast<std::chrono::microseconds>(
                                           std::chrono::steady_clock::now() - start)
                                           .count();
                if (::write(reports[1], &micros, sizeof micros) != sizeof micros) {
                    ::_exit(1);
                }
            }
        }
        ::close(reports[1]);
        bool childReported = true;
        for (int finished = 0; finished < kill % 3 && childReported; ++finished) {
            childReported = readReportedSaveTime(reports[0], saveMicros);
        }
        if (childReported) {
            std::this_thread::sleep_for(
                std::chrono::microseconds((kill * 397L) % std::max<int64_t>(saveMicros, 1000)));
        }
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ::close(reports[0]);
        ASSERT_TRUE(childReported) << "the saving process stopped by itself before kill " << kill;
        if (hasTemporaryFile(folder)) {
            ++killsDuringAWrite;
        }

        savetest::LogCapture log;
        const int32_t money = loadMoney(folder);
        ASSERT_FALSE(log.contains("reading secondary userdata failed!")) << "kill " << kill;
        ASSERT_GE(money, loaded) << "kill " << kill;
        ASSERT_EQ(UserData::getInstance(), storeNumbered(money)) << "kill " << kill;
        loaded = money;
    }
    EXPECT_GT(loaded, 111);
    EXPECT_GT(killsDuringAWrite, 0);
    std::printf("kills: %d, of which during a write: %d, saves finished: %d\n", kKills, killsDuringAWrite,
                loaded - 111);
}

}  // namespace
