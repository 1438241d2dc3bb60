// A store that is on disk but cannot be loaded: the game starts with a default profile, and its
// first save moves the files aside instead of writing over them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "SaveTestSupport.h"
#include "Settings.h"
#include "UserData.h"
#include "UserDataIO.h"

namespace {

using Bytes = std::vector<uint8_t>;
using savetest::TempFolder;

const std::vector<std::string> kSaveFiles = {"UserData.bin", "CheckSum.cs", "UserDataSecondary.bin",
                                             "CheckSumSecondary.cs"};
constexpr const char* kDirectory = "(a folder)";

UserData storeOfTwo() {
    UserData store;
    for (const auto& [name, money] : {std::pair<std::u16string, int32_t>{u"Ann", 500}, {u"Bob", 600}}) {
        Profile profile;
        profile.name = name;
        profile.money = money;
        profile.minigameLevels = {0, 1, 2, 3, 4};
        store.profiles[name] = profile;
    }
    store.currentUserName = u"Ann";
    return store;
}

void saveStore(const UserData& store, const TempFolder& folder) {
    UserData::getInstance() = store;
    ASSERT_TRUE(UserDataIO::saveUserData(folder.path()));
}

// What each save file's name holds: its bytes, kDirectory, or nothing for a missing one.
std::map<std::string, std::string> contents(const TempFolder& folder, const std::string& suffix) {
    std::map<std::string, std::string> found;
    for (const std::string& name : kSaveFiles) {
        const std::string path = folder.file(name + suffix);
        if (std::filesystem::is_directory(path)) {
            found[name] = kDirectory;
        } else if (std::filesystem::exists(path)) {
            found[name] = savetest::readFileText(path);
        }
    }
    return found;
}

void flipMiddleByte(const std::string& path) {
    Bytes bytes = savetest::readFileBytes(path);
    bytes[bytes.size() / 2] ^= 0x10;
    savetest::writeFileBytes(path, bytes);
}

std::vector<std::string> readLines(const std::string& path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> linesContaining(const std::vector<std::string>& lines, const std::string& part) {
    std::vector<std::string> found;
    for (const std::string& line : lines) {
        if (line.find(part) != std::string::npos) {
            found.push_back(line);
        }
    }
    return found;
}

// Launches on the folder and saves once, as a player whose files bind it by their permissions;
// the log lines go to logFile. Bit 1 of the result: not the default profile; bit 2: the save
// failed.
int launchAndSave(const TempFolder& folder, const std::string& logFile,
                  const std::function<void()>& beforeSave = {}) {
    return savetest::runAsPlayer([&] {
        int result = 0;
        {
            savetest::LogCapture log;
            savetest::resetGameState();
            UserDataIO::loadUserData(folder.path());
            const UserData& store = UserData::getInstance();
            if (store.profiles.size() != 1 || !store.currentUserName.empty()) {
                result |= 1;
            }
            if (beforeSave) {
                beforeSave();
            }
            if (!UserDataIO::saveUserData(folder.path())) {
                result |= 2;
            }
            std::ofstream out(logFile);
            for (const std::string& line : log.lines) {
                out << line << "\n";
            }
        }
        return result;
    });
}

class UnloadableStoreTest : public ::testing::Test {
protected:
    void SetUp() override { savetest::resetGameState(); }
    void TearDown() override { savetest::resetGameState(); }

    TempFolder logs;
    std::string logFile() const { return logs.file("log"); }
};

TEST_F(UnloadableStoreTest, AStoreThatDidNotLoadIsKeptAsideBeforeTheFirstSave) {
    struct Case {
        const char* what;
        std::function<void(const TempFolder&)> damage;
        const char* reason;  // a part of the line that reports why a file was not read, or null
    };
    const std::vector<Case> cases = {
        {"one byte flipped in each copy",
         [](const TempFolder& f) {
             flipMiddleByte(f.file("UserData.bin"));
             flipMiddleByte(f.file("UserDataSecondary.bin"));
         },
         nullptr},
        {"both copies truncated",
         [](const TempFolder& f) {
             for (const char* name : {"UserData.bin", "UserDataSecondary.bin"}) {
                 std::filesystem::resize_file(f.file(name), std::filesystem::file_size(f.file(name)) / 2);
             }
         },
         nullptr},
        {"both copies unreadable",
         [](const TempFolder& f) {
             for (const char* name : {"UserData.bin", "UserDataSecondary.bin"}) {
                 ::chmod(f.file(name).c_str(), 0);
             }
         },
         "UserData.bin\" cannot be read: Permission denied"},
        {"both checksum files are folders",
         [](const TempFolder& f) {
             for (const char* name : {"CheckSum.cs", "CheckSumSecondary.cs"}) {
                 std::filesystem::remove(f.file(name));
                 std::filesystem::create_directory(f.file(name));
             }
         },
         "CheckSum.cs\" cannot be read: Is a directory"},
        {"both copies of a later format version",
         [](const TempFolder& f) {
             for (const auto& [data, sum] :
                  {std::pair<const char*, const char*>{"UserData.bin", "CheckSum.cs"},
                   {"UserDataSecondary.bin", "CheckSumSecondary.cs"}}) {
                 Bytes bytes = savetest::readFileBytes(f.file(data));
                 bytes[0] = 4;
                 savetest::writeFileBytes(f.file(data), bytes);
                 UserDataIO::writeChecksumFile(f.file(data).c_str(), f.file(sum).c_str());
             }
         },
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        saveStore(storeOfTwo(), folder);
        c.damage(folder);
        const auto damaged = contents(folder, "");
        ASSERT_EQ(damaged.size(), 4u);

        ASSERT_EQ(launchAndSave(folder, logFile()), 0) << "1: not the default profile; 2: the save failed";
        const std::vector<std::string> lines = readLines(logFile());
        EXPECT_FALSE(linesContaining(lines, "reading secondary userdata failed!").empty());
        if (c.reason != nullptr) {
            EXPECT_FALSE(linesContaining(lines, c.reason).empty()) << c.reason;
        }
        const std::vector<std::string> kept = linesContaining(lines, "kept aside");
        ASSERT_EQ(kept.size(), 1u);
        for (const std::string& name : kSaveFiles) {
            EXPECT_NE(kept[0].find(folder.file(name + ".unloadable")), std::string::npos) << kept[0];
        }

        // Every file as it was, under its new name; the new save beside it loads.
        EXPECT_EQ(contents(folder, ".unloadable"), damaged);
        savetest::resetGameState();
        savetest::LogCapture log;
        UserDataIO::loadUserData(folder.path());
        EXPECT_TRUE(log.contains("reading ok"));
        EXPECT_EQ(UserData::getInstance().profiles.size(), 1u);
    }
}

TEST_F(UnloadableStoreTest, OnlyAStoreThatDidNotLoadIsKeptAside) {
    struct Case {
        const char* what;
        std::function<void(const TempFolder&)> prepare;
        bool defaultProfile;
    };
    const std::vector<Case> cases = {
        {"a first start with no files", [](const TempFolder&) {}, true},
        {"the primary alone damaged",
         [](const TempFolder& f) {
             saveStore(storeOfTwo(), f);
             flipMiddleByte(f.file("UserData.bin"));
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        c.prepare(folder);
        ASSERT_EQ(launchAndSave(folder, logFile()), c.defaultProfile ? 0 : 1);
        EXPECT_TRUE(linesContaining(readLines(logFile()), "kept aside").empty());
        EXPECT_TRUE(contents(folder, ".unloadable").empty());
        EXPECT_EQ(contents(folder, "").size(), 4u);
    }
}

TEST_F(UnloadableStoreTest, AnotherUnloadableStoreNeverReplacesOneKeptBefore) {
    TempFolder folder;
    saveStore(storeOfTwo(), folder);
    flipMiddleByte(folder.file("UserData.bin"));
    flipMiddleByte(folder.file("UserDataSecondary.bin"));
    const auto first = contents(folder, "");
    ASSERT_EQ(launchAndSave(folder, logFile()), 0);

    // The default profile's own store gets damaged in turn.
    flipMiddleByte(folder.file("UserData.bin"));
    flipMiddleByte(folder.file("UserDataSecondary.bin"));
    const auto second = contents(folder, "");
    ASSERT_EQ(launchAndSave(folder, logFile()), 0);

    EXPECT_EQ(contents(folder, ".unloadable"), first);
    EXPECT_EQ(contents(folder, ".unloadable.2"), second);
    const std::vector<std::string> kept = linesContaining(readLines(logFile()), "kept aside");
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_NE(kept[0].find(folder.file("UserData.bin.unloadable.2")), std::string::npos) << kept[0];
}

// In a folder that takes no rename nothing is written; once it does, the next save keeps the store
// aside and writes.
TEST_F(UnloadableStoreTest, AStoreThatCannotBeMovedAsideIsNotWrittenOver) {
    TempFolder folder;
    saveStore(storeOfTwo(), folder);
    flipMiddleByte(folder.file("UserData.bin"));
    flipMiddleByte(folder.file("UserDataSecondary.bin"));
    const auto damaged = contents(folder, "");
    const int status = launchAndSave(folder, logFile(), [&] {
        ::chmod(folder.path().c_str(), 0500);
        const bool firstSaved = UserDataIO::saveUserData(folder.path());
        ::chmod(folder.path().c_str(), 0700);
        if (firstSaved) {
            ::_exit(3);
        }
    });
    ASSERT_EQ(status, 0) << "3: the save into the read-only folder reported success";
    const std::vector<std::string> lines = readLines(logFile());
    const std::vector<std::string> refused = linesContaining(lines, "cannot move");
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_NE(refused[0].find("Permission denied"), std::string::npos) << refused[0];
    EXPECT_EQ(linesContaining(lines, "kept aside").size(), 1u);
    EXPECT_EQ(contents(folder, ".unloadable"), damaged);
}

}  // namespace
