#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <zlib.h>

#include "CMemoryOutputStream.h"
#include "SaveFileParser.h"
#include "SaveTestSupport.h"
#include "Settings.h"
#include "UserData.h"
#include "UserDataIO.h"
#include "UserDataIOFiles.h"
#include "WideString.h"

namespace {

using Bytes = std::vector<uint8_t>;
using savetest::TempFolder;

Profile namedProfile(const std::u16string& name, int32_t money) {
    Profile profile;
    Settings::getInstance().initNewProfile(profile);
    profile.name = name;
    profile.money = money;
    return profile;
}

// A store of one player "Ann" whose money tells which copy was loaded.
UserData storeWithMoney(int32_t money) {
    UserData store;
    store.profiles[u"Ann"] = namedProfile(u"Ann", money);
    store.currentUserName = u"Ann";
    return store;
}

void saveStore(const UserData& store, const std::string& folder) {
    UserData::getInstance() = store;
    ASSERT_TRUE(UserDataIO::saveUserData(folder));
}

int32_t loadedMoney() {
    return Settings::getInstance().getCurrentUser().money;
}

// The primary holds the store with money primary and the secondary, left from the save before, the
// one with money secondary; both pass their checksums.
void saveCopiesWithMoney(const TempFolder& f, int32_t primary, int32_t secondary) {
    saveStore(storeWithMoney(secondary), f.path());
    std::filesystem::rename(f.file("UserDataSecondary.bin"), f.file("secondary.keep"));
    std::filesystem::rename(f.file("CheckSumSecondary.cs"), f.file("secondary-sum.keep"));
    saveStore(storeWithMoney(primary), f.path());
    std::filesystem::rename(f.file("secondary.keep"), f.file("UserDataSecondary.bin"));
    std::filesystem::rename(f.file("secondary-sum.keep"), f.file("CheckSumSecondary.cs"));
}

std::string checksumText(const Bytes& bytes) {
    return std::to_string(::crc32(::crc32(0L, Z_NULL, 0), bytes.data(), static_cast<uInt>(bytes.size())));
}

class UserDataIOTest : public ::testing::Test {
protected:
    void SetUp() override { savetest::resetGameState(); }
    void TearDown() override { savetest::resetGameState(); }

    TempFolder folder;
};

TEST_F(UserDataIOTest, Crc32IsTheStandardChecksum) {
    const std::string check = "123456789";
    EXPECT_EQ(UserDataIO::crc32(reinterpret_cast<const uint8_t*>(check.data()), 9), 3421780262u);
    EXPECT_EQ(UserDataIO::crc32(nullptr, 0), 0u);
    EXPECT_EQ(UserDataIO::computeFileCrc(folder.file("missing").c_str()), 0u);
    savetest::writeFileText(folder.file("check.txt"), check);
    EXPECT_EQ(UserDataIO::computeFileCrc(folder.file("check.txt").c_str()), 3421780262u);
}

TEST_F(UserDataIOTest, ASaveWritesTwoIdenticalCopiesEachWithItsDecimalChecksum) {
    const UserData store = storeWithMoney(500);
    saveStore(store, folder.path());
    auto expected = std::make_shared<Core::CMemoryOutputStream>();
    expected->writeInt32(kSaveFormatVersion);
    store.write(expected);

    const Bytes primary = savetest::readFileBytes(folder.file("UserData.bin"));
    const Bytes secondary = savetest::readFileBytes(folder.file("UserDataSecondary.bin"));
    EXPECT_EQ(primary, expected->bytes());
    EXPECT_EQ(secondary, primary);
    EXPECT_EQ(savetest::readFileText(folder.file("CheckSum.cs")), checksumText(primary));
    EXPECT_EQ(savetest::readFileText(folder.file("CheckSumSecondary.cs")), checksumText(primary));
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        names.insert(entry.path().filename().string());
    }
    EXPECT_EQ(names, (std::set<std::string>{"CheckSum.cs", "CheckSumSecondary.cs", "UserData.bin",
                                            "UserDataSecondary.bin"}));
}

// The two copies differ in money (primary 100, secondary 200), so the loaded value tells which one
// was taken.
TEST_F(UserDataIOTest, LoadTakesThePrimaryWhenItPassesElseTheSecondaryElseTheDefault) {
    struct Case {
        const char* what;
        std::function<void(const TempFolder&)> damage;
        int32_t expectedMoney;  // -1: the default profile
        const char* expectedLine;
    };
    const auto writeVersion = [](const TempFolder& f, int32_t version) {
        Bytes bytes = savetest::readFileBytes(f.file("UserData.bin"));
        bytes[0] = static_cast<uint8_t>(version);
        savetest::writeFileBytes(f.file("UserData.bin"), bytes);
        UserDataIO::writeChecksumFile(f.file("UserData.bin").c_str(), f.file("CheckSum.cs").c_str());
    };
    const std::vector<Case> cases = {
        {"primary good", [](const TempFolder&) {}, 100, "reading ok"},
        {"primary one byte flipped",
         [](const TempFolder& f) {
             Bytes bytes = savetest::readFileBytes(f.file("UserData.bin"));
             bytes[bytes.size() / 2] ^= 0x01;
             savetest::writeFileBytes(f.file("UserData.bin"), bytes);
         },
         200, "reading secondary userdata success!"},
        {"primary checksum file missing",
         [](const TempFolder& f) { std::filesystem::remove(f.file("CheckSum.cs")); }, 200,
         "reading secondary userdata success!"},
        {"primary of version 2 with a valid checksum", [&](const TempFolder& f) { writeVersion(f, 2); }, 200,
         "reading secondary userdata success!"},
        {"primary of version 4 with a valid checksum", [&](const TempFolder& f) { writeVersion(f, 4); }, 200,
         "reading secondary userdata success!"},
        {"primary missing, secondary good",
         [](const TempFolder& f) { std::filesystem::remove(f.file("UserData.bin")); }, 200,
         "reading secondary userdata success!"},
        {"both bad",
         [](const TempFolder& f) {
             std::filesystem::remove(f.file("UserData.bin"));
             savetest::writeFileText(f.file("CheckSumSecondary.cs"), "12345");
         },
         -1, "reading secondary userdata failed!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder f;
        saveCopiesWithMoney(f, 100, 200);
        c.damage(f);

        savetest::resetGameState();
        savetest::LogCapture log;
        UserDataIO::loadUserData(f.path());
        EXPECT_TRUE(log.contains(c.expectedLine));
        const UserData& store = UserData::getInstance();
        if (c.expectedMoney >= 0) {
            EXPECT_EQ(store.profiles.size(), 1u);
            EXPECT_EQ(store.currentUserName, u"Ann");
            EXPECT_EQ(loadedMoney(), c.expectedMoney);
        } else {
            Profile expected;
            Settings::getInstance().initNewProfile(expected);
            ASSERT_EQ(store.profiles.size(), 1u);
            EXPECT_TRUE(store.currentUserName.empty());
            Profile loaded = Settings::getInstance().getCurrentUser();
            // The shuffled minigame order is the one part a second new profile does not repeat.
            expected.minigameOrder = loaded.minigameOrder;
            EXPECT_EQ(loaded, expected);
            EXPECT_TRUE(loaded.fullscreen);
            EXPECT_FLOAT_EQ(loaded.musicVolume, 0.4f);
            EXPECT_FLOAT_EQ(loaded.soundVolume, 1.0f);
            EXPECT_EQ(loaded.storyLevel, -1);
        }
    }
}

// Each copy that is there but does not load is named in one line that says why; a secondary that the
// next save will replace by the loaded primary says so as well.
TEST_F(UserDataIOTest, ACopyThatDoesNotLoadIsNamedInOneLineWithItsReason) {
    const auto flipByte = [](const std::string& path) {
        Bytes bytes = savetest::readFileBytes(path);
        bytes[bytes.size() / 2] ^= 0x01;
        savetest::writeFileBytes(path, bytes);
    };
    struct Case {
        const char* what;
        std::function<void(const TempFolder&)> damage;
        std::string expectedProblem;  // after the folder; "" for no problem line at all
    };
    const std::vector<Case> cases = {
        {"both good", [](const TempFolder&) {}, ""},
        {"primary checksum file missing",
         [](const TempFolder& f) { std::filesystem::remove(f.file("CheckSum.cs")); },
         "UserData.bin\" cannot be checked: its checksum file \"{}CheckSum.cs\" is missing"},
        {"primary one byte flipped", [&](const TempFolder& f) { flipByte(f.file("UserData.bin")); },
         "UserData.bin\" does not match its checksum"},
        {"primary empty, with the checksum of nothing",
         [](const TempFolder& f) {
             savetest::writeFileBytes(f.file("UserData.bin"), {});
             savetest::writeFileText(f.file("CheckSum.cs"), "0");
         },
         "UserData.bin\" is empty"},
        {"primary of two bytes, with their checksum",
         [](const TempFolder& f) {
             savetest::writeFileBytes(f.file("UserData.bin"), {0x03, 0x00});
             UserDataIO::writeChecksumFile(f.file("UserData.bin").c_str(), f.file("CheckSum.cs").c_str());
         },
         "UserData.bin\" is damaged: it ends inside a record"},
        {"secondary one byte flipped", [&](const TempFolder& f) { flipByte(f.file("UserDataSecondary.bin")); },
         "UserDataSecondary.bin\" does not match its checksum; the next save replaces it with the store of "
         "\"UserData.bin\""},
        {"secondary checksum file missing",
         [](const TempFolder& f) { std::filesystem::remove(f.file("CheckSumSecondary.cs")); },
         "UserDataSecondary.bin\" cannot be checked: its checksum file \"{}CheckSumSecondary.cs\" is missing; "
         "the next save replaces it with the store of \"UserData.bin\""},
        {"secondary data file missing",
         [](const TempFolder& f) { std::filesystem::remove(f.file("UserDataSecondary.bin")); },
         "UserDataSecondary.bin\" is missing; the next save replaces it with the store of \"UserData.bin\""},
        {"both copies gone", [](const TempFolder& f) {
             for (const char* name : {"UserData.bin", "CheckSum.cs", "UserDataSecondary.bin", "CheckSumSecondary.cs"}) {
                 std::filesystem::remove(f.file(name));
             }
         }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder f;
        saveStore(storeWithMoney(100), f.path());
        c.damage(f);
        savetest::resetGameState();
        savetest::LogCapture log;
        UserDataIO::loadUserData(f.path());
        if (c.expectedProblem.empty()) {
            EXPECT_TRUE(log.problems.empty()) << log.problems.front();
            continue;
        }
        std::string expected = "UserDataIO: \"" + f.path() + c.expectedProblem;
        const size_t marker = expected.find("{}");
        if (marker != std::string::npos) {
            expected.replace(marker, 2, f.path());
        }
        ASSERT_EQ(log.problems.size(), 1u);
        EXPECT_EQ(log.problems.front(), expected);
        EXPECT_EQ(loadedMoney(), 100);
    }
}

TEST_F(UserDataIOTest, AFirstStartWithNoFilesGivesOneEmptyNamedNewProfile) {
    savetest::LogCapture log;
    UserDataIO::loadUserData(folder.path());
    EXPECT_TRUE(log.contains("reading secondary userdata failed!"));
    EXPECT_TRUE(log.problems.empty());
    ASSERT_EQ(UserData::getInstance().profiles.size(), 1u);
    const Profile& profile = Settings::getInstance().getCurrentUser();
    EXPECT_TRUE(profile.name.empty());
    EXPECT_EQ(profile.storyLevel, -1);
    EXPECT_EQ(profile.minigameOrder.size(), 74u);
}

// The checksum covers the whole file, so damage far into a large save is caught too.
TEST_F(UserDataIOTest, DamageBeyondTheFirst256KiBIsDetected) {
    UserData store = storeWithMoney(100);
    Profile& profile = store.profiles.at(u"Ann");
    for (int i = 0; i < 4000; ++i) {
        PictureProgress picture;
        picture.path = "Country/picture_" + std::to_string(i);
        picture.restoredHistory = {"item_a", "item_b"};
        profile.world.pictures[picture.path] = picture;
    }
    saveStore(store, folder.path());
    Bytes bytes = savetest::readFileBytes(folder.file("UserData.bin"));
    ASSERT_GT(bytes.size(), 262144u + 1000u);
    EXPECT_EQ(savetest::readFileText(folder.file("CheckSum.cs")), checksumText(bytes));

    bytes[262144 + 500] ^= 0x40;
    savetest::writeFileBytes(folder.file("UserData.bin"), bytes);
    savetest::resetGameState();
    savetest::LogCapture log;
    UserDataIO::loadUserData(folder.path());
    EXPECT_TRUE(log.contains("reading secondary userdata success!"));
    EXPECT_EQ(UserData::getInstance(), store);
}

// Earlier releases wrote the checksum of a store's first 256 KiB only. A store that large (many
// players with long histories) must still load from either copy, and the next save must keep every
// player, now with the checksum of the whole file.
TEST_F(UserDataIOTest, AStoreLargerThan256KiBWithTheChecksumOfItsStartLoads) {
    UserData store;
    for (int player = 0; player < 12; ++player) {
        const std::u16string name = widen("Player " + std::to_string(player));
        Profile profile = namedProfile(name, 1000 + player);
        for (int i = 0; i < 260; ++i) {
            PictureProgress picture;
            picture.path = "Country" + std::to_string(i % 7) + "/picture_" + std::to_string(i);
            picture.restoredHistory = {"item_a", "item_b", "item_c"};
            picture.damage = {DamageRecord{1, 2, 3, 4, 5}};
            profile.world.pictures[picture.path] = picture;
        }
        store.profiles[name] = profile;
    }
    store.currentUserName = u"Player 3";
    auto out = std::make_shared<Core::CMemoryOutputStream>();
    out->writeInt32(kSaveFormatVersion);
    store.write(out);
    const Bytes bytes = out->bytes();
    ASSERT_GT(bytes.size(), 262144u + 50000u);
    const std::string shortChecksum =
        std::to_string(UserDataIO::crc32(bytes.data(), static_cast<uint32_t>(262144)));
    ASSERT_NE(shortChecksum, checksumText(bytes));

    struct Case {
        const char* what;
        std::string primaryChecksum;
        std::string secondaryChecksum;
        const char* expectedLine;
        bool loads;
    };
    const std::vector<Case> cases = {
        {"both copies with the checksum of their start", shortChecksum, shortChecksum, "reading ok", true},
        {"the primary with neither checksum", "12345", shortChecksum, "reading secondary userdata success!",
         true},
        {"the primary with the whole file's checksum", checksumText(bytes), "1", "reading ok", true},
        {"neither copy with either checksum", "12345", std::to_string(std::stoul(shortChecksum) ^ 1u),
         "reading secondary userdata failed!", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder f;
        savetest::writeFileBytes(f.file("UserData.bin"), bytes);
        savetest::writeFileText(f.file("CheckSum.cs"), c.primaryChecksum);
        savetest::writeFileBytes(f.file("UserDataSecondary.bin"), bytes);
        savetest::writeFileText(f.file("CheckSumSecondary.cs"), c.secondaryChecksum);

        savetest::resetGameState();
        savetest::LogCapture log;
        UserDataIO::loadUserData(f.path());
        EXPECT_TRUE(log.contains(c.expectedLine));
        if (!c.loads) {
            EXPECT_EQ(UserData::getInstance().profiles.size(), 1u);
            continue;
        }
        EXPECT_EQ(UserData::getInstance(), store);

        // A save point keeps every player and writes the whole file's checksum.
        ASSERT_TRUE(UserDataIO::saveUserData(f.path()));
        const Bytes saved = savetest::readFileBytes(f.file("UserData.bin"));
        EXPECT_EQ(savetest::readFileText(f.file("CheckSum.cs")), checksumText(saved));
        EXPECT_EQ(savetest::readFileText(f.file("CheckSumSecondary.cs")), checksumText(saved));
        savetest::resetGameState();
        UserDataIO::loadUserData(f.path());
        EXPECT_EQ(UserData::getInstance(), store);
    }
}

// Both copies pass their checksums but hold different stores when a save could replace only the
// secondary. The money tells which copy was read: primary 100, secondary 200.
TEST_F(UserDataIOTest, WhenBothCopiesPassTheOneWrittenLastIsRead) {
    using Clock = std::filesystem::file_time_type::clock;
    struct Case {
        const char* what;
        int32_t secondaryMoney;
        int secondaryMinutesLater;  // the secondary's last change against the primary's
        bool secondaryOfVersion4;
        int32_t expectedMoney;
        const char* expectedLine;
    };
    const std::vector<Case> cases = {
        {"the secondary written later", 200, 5, false, 200, "reading secondary userdata success!"},
        {"the primary written later", 200, -5, false, 100, "reading ok"},
        {"both written at the same time", 200, 0, false, 100, "reading ok"},
        {"the same store, the secondary written later", 100, 5, false, 100, "reading ok"},
        {"the later secondary of another version", 200, 5, true, 100, "reading ok"},
    };
    const UserData primaryStore = storeWithMoney(100);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder f;
        saveStore(c.secondaryMoney == 100 ? primaryStore : storeWithMoney(c.secondaryMoney), f.path());
        if (c.secondaryOfVersion4) {
            Bytes bytes = savetest::readFileBytes(f.file("UserDataSecondary.bin"));
            bytes[0] = 4;
            savetest::writeFileBytes(f.file("UserDataSecondary.bin"), bytes);
            UserDataIO::writeChecksumFile(f.file("UserDataSecondary.bin").c_str(),
                                          f.file("CheckSumSecondary.cs").c_str());
        }
        std::filesystem::rename(f.file("UserDataSecondary.bin"), f.file("secondary.keep"));
        std::filesystem::rename(f.file("CheckSumSecondary.cs"), f.file("secondary-sum.keep"));
        saveStore(primaryStore, f.path());
        std::filesystem::rename(f.file("secondary.keep"), f.file("UserDataSecondary.bin"));
        std::filesystem::rename(f.file("secondary-sum.keep"), f.file("CheckSumSecondary.cs"));
        const auto now = Clock::now();
        std::filesystem::last_write_time(f.file("UserData.bin"), now - std::chrono::minutes(10));
        std::filesystem::last_write_time(f.file("UserDataSecondary.bin"),
                                         now - std::chrono::minutes(10 - c.secondaryMinutesLater));

        savetest::resetGameState();
        savetest::LogCapture log;
        UserDataIO::loadUserData(f.path());
        EXPECT_TRUE(log.contains(c.expectedLine));
        EXPECT_EQ(loadedMoney(), c.expectedMoney);
    }
}

// Whichever copies load, a launch reads each file of the store once and parses each copy at most
// once, and so does a save that decides which copy to replace last.
TEST_F(UserDataIOTest, ALaunchAndASaveReadEachSaveFileOnce) {
    struct Case {
        const char* what;
        std::function<void(const TempFolder&)> prepare;
    };
    const std::vector<Case> cases = {
        {"both copies alike", [](const TempFolder&) {}},
        {"a damaged primary",
         [](const TempFolder& f) { savetest::damageProfileCount(f, "UserData.bin", "CheckSum.cs"); }},
        {"a damaged secondary written after the primary",
         [](const TempFolder& f) {
             savetest::damageProfileCount(f, "UserDataSecondary.bin", "CheckSumSecondary.cs");
             std::filesystem::last_write_time(
                 f.file("UserDataSecondary.bin"),
                 std::filesystem::last_write_time(f.file("UserData.bin")) + std::chrono::seconds(5));
         }},
        {"a newer secondary",
         [](const TempFolder& f) {
             saveCopiesWithMoney(f, 100, 200);
             std::filesystem::last_write_time(
                 f.file("UserDataSecondary.bin"),
                 std::filesystem::last_write_time(f.file("UserData.bin")) + std::chrono::seconds(5));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder f;
        saveStore(storeWithMoney(100), f.path());
        c.prepare(f);
        std::map<std::string, int> reads;
        savefiles::setFileOperationObserver([&](const char* operation, const std::string& path) {
            if (std::string(operation) == "read") {
                ++reads[path.substr(f.path().size())];
            }
        });
        savetest::resetGameState();
        savetest::LogCapture log;
        UserDataIO::loadUserData(f.path());
        const std::map<std::string, int> once = {
            {"CheckSum.cs", 1}, {"CheckSumSecondary.cs", 1}, {"UserData.bin", 1}, {"UserDataSecondary.bin", 1}};
        EXPECT_EQ(reads, once) << "by the launch";
        reads.clear();
        UserDataIO::saveUserData(f.path());
        EXPECT_EQ(reads, once) << "by the save";
        savefiles::setFileOperationObserver({});
    }
}

TEST_F(UserDataIOTest, ACurrentNameWithoutAProfileFallsBackToTheFirstNamedPlayer) {
    struct Case {
        std::vector<std::u16string> names;
        std::u16string expected;
    };
    const std::vector<Case> cases = {
        {{u"Bob", u"Al", u""}, u"Al"},
        {{u""}, u""},
        {{u"Zed"}, u"Zed"},
    };
    for (const Case& c : cases) {
        TempFolder f;
        UserData store;
        for (const std::u16string& name : c.names) {
            store.profiles[name] = namedProfile(name, 7);
        }
        store.currentUserName = u"Ghost";
        saveStore(store, f.path());
        savetest::resetGameState();
        savetest::LogCapture log;
        UserDataIO::loadUserData(f.path());
        EXPECT_EQ(UserData::getInstance().currentUserName, c.expected);
        EXPECT_EQ(UserData::getInstance().profiles.size(), c.names.size());
        EXPECT_EQ(log.problems.size(), 1u);
    }
}

TEST_F(UserDataIOTest, ANonAsciiNameSurvivesSaveAndLoad) {
    const std::u16string name = widen("Zo\xC3\xAB");
    UserData store;
    store.profiles[name] = namedProfile(name, 3);
    store.profiles[u"Adam"] = namedProfile(u"Adam", 4);
    store.currentUserName = name;
    saveStore(store, folder.path());
    savetest::resetGameState();
    UserDataIO::loadUserData(folder.path());
    EXPECT_TRUE(Settings::getInstance().userExists(name));
    EXPECT_EQ(UserData::getInstance().currentUserName, name);
    EXPECT_EQ(narrow(Settings::getInstance().getCurrentUser().name), "Zo\xC3\xAB");
    std::vector<std::u16string> names;
    Settings::getInstance().getUserNames(names, true);
    EXPECT_EQ(names, (std::vector<std::u16string>{u"Adam", name}));
}

TEST_F(UserDataIOTest, ChecksumFilesReadTheirLeadingDecimalNumber) {
    struct Case {
        const char* text;  // null: no file
        uint32_t expected;
    };
    const std::vector<Case> cases = {
        {"3421780262", 3421780262u},
        {"0", 0},
        {"  42\n", 42},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"4294967295", 0xFFFFFFFFu},
        {"4294967296", 0},
        {"99999999999999999999999999999999999999", 0},
        {nullptr, 0},
    };
    for (const Case& c : cases) {
        const std::string path = folder.file("sum.cs");
        std::filesystem::remove(path);
        if (c.text != nullptr) {
            savetest::writeFileText(path, c.text);
        }
        EXPECT_EQ(UserDataIO::readChecksumFile(path.c_str()), c.expected) << (c.text ? c.text : "(missing)");
    }
}

}  // namespace
