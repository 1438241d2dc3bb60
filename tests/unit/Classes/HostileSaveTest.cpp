#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "CMemoryInputStream.h"
#include "CMemoryOutputStream.h"
#include "SaveFileParser.h"
#include "SaveTestSupport.h"
#include "Settings.h"
#include "UserData.h"
#include "UserDataIO.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::vector<std::filesystem::path> hostileFiles() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(savetest::dataPath("saves/hostile"))) {
        files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

UserData goodStore() {
    UserData store;
    Profile profile;
    profile.name = u"Kept";
    profile.money = 200;
    profile.minigameLevels = {0, 0, 0, 0, 0};
    store.profiles[profile.name] = profile;
    store.currentUserName = profile.name;
    return store;
}

Bytes goodStoreBytes() {
    auto out = std::make_shared<Core::CMemoryOutputStream>();
    out->writeInt32(kSaveFormatVersion);
    goodStore().write(out);
    return out->bytes();
}

class HostileSaveTest : public ::testing::Test {
protected:
    void SetUp() override { savetest::resetGameState(); }
    void TearDown() override { savetest::resetGameState(); }
};

TEST_F(HostileSaveTest, TheFixturesAreThere) {
    EXPECT_GE(hostileFiles().size(), 10u);
}

// Parsed from memory: refused with one line, the target untouched.
TEST_F(HostileSaveTest, EveryHostileFileIsRefusedByTheParser) {
    for (const auto& path : hostileFiles()) {
        SCOPED_TRACE(path.filename().string());
        const Bytes bytes = savetest::readFileBytes(path.string());
        UserData target = goodStore();
        savetest::LogCapture log;
        Core::CMemoryInputStream in(bytes.data(), bytes.size());
        EXPECT_FALSE(parseSaveFile(in, target, path.filename().c_str()));
        EXPECT_EQ(target, goodStore());
        EXPECT_EQ(log.problems.size(), 1u);
    }
}

// As the primary copy with a matching checksum: refused with one line, the good secondary loads.
TEST_F(HostileSaveTest, AHostilePrimaryWithAMatchingChecksumFallsBackToTheSecondary) {
    for (const auto& path : hostileFiles()) {
        SCOPED_TRACE(path.filename().string());
        savetest::TempFolder folder;
        UserData::getInstance() = goodStore();
        UserDataIO::saveUserData(folder.path());
        std::filesystem::copy_file(path, folder.file("UserData.bin"),
                                   std::filesystem::copy_options::overwrite_existing);
        UserDataIO::writeChecksumFile(folder.file("UserData.bin").c_str(),
                                      folder.file("CheckSum.cs").c_str());

        savetest::resetGameState();
        savetest::LogCapture log;
        UserDataIO::loadUserData(folder.path());
        EXPECT_TRUE(log.contains("reading secondary userdata success!"));
        ASSERT_EQ(log.problems.size(), 1u);
        EXPECT_NE(log.problems.front().find(folder.file("UserData.bin")), std::string::npos);
        EXPECT_EQ(UserData::getInstance(), goodStore());

        // The next save writes the store that loaded into both copies: nothing is lost.
        ASSERT_TRUE(UserDataIO::saveUserData(folder.path()));
        EXPECT_EQ(savetest::readFileBytes(folder.file("UserData.bin")), goodStoreBytes());
        EXPECT_EQ(savetest::readFileBytes(folder.file("UserDataSecondary.bin")), goodStoreBytes());
    }
}

// As a secondary written after the primary, so that it is read first: refused with one line that
// names it and says that the next save replaces it; the primary loads and nothing is lost.
TEST_F(HostileSaveTest, AHostileSecondaryWrittenLastFallsBackToThePrimary) {
    for (const auto& path : hostileFiles()) {
        SCOPED_TRACE(path.filename().string());
        savetest::TempFolder folder;
        UserData::getInstance() = goodStore();
        UserDataIO::saveUserData(folder.path());
        std::filesystem::copy_file(path, folder.file("UserDataSecondary.bin"),
                                   std::filesystem::copy_options::overwrite_existing);
        UserDataIO::writeChecksumFile(folder.file("UserDataSecondary.bin").c_str(),
                                      folder.file("CheckSumSecondary.cs").c_str());
        const auto primaryTime = std::filesystem::last_write_time(folder.file("UserData.bin"));
        std::filesystem::last_write_time(folder.file("UserDataSecondary.bin"),
                                         primaryTime + std::chrono::seconds(5));

        savetest::resetGameState();
        savetest::LogCapture log;
        UserDataIO::loadUserData(folder.path());
        EXPECT_TRUE(log.contains("reading ok"));
        ASSERT_EQ(log.problems.size(), 1u);
        const std::string& line = log.problems.front();
        EXPECT_NE(line.find(folder.file("UserDataSecondary.bin")), std::string::npos) << line;
        EXPECT_NE(line.find("the next save replaces it"), std::string::npos) << line;
        EXPECT_EQ(UserData::getInstance(), goodStore());

        ASSERT_TRUE(UserDataIO::saveUserData(folder.path()));
        EXPECT_EQ(savetest::readFileBytes(folder.file("UserData.bin")), goodStoreBytes());
        EXPECT_EQ(savetest::readFileBytes(folder.file("UserDataSecondary.bin")), goodStoreBytes());
    }
}

// Both copies hostile: the player starts afresh, and the first save keeps both copies aside.
TEST_F(HostileSaveTest, TwoHostileCopiesAreKeptAsideAtTheNextSave) {
    for (const auto& path : hostileFiles()) {
        SCOPED_TRACE(path.filename().string());
        savetest::TempFolder folder;
        for (const char* name : {"UserData.bin", "UserDataSecondary.bin"}) {
            std::filesystem::copy_file(path, folder.file(name));
        }
        UserDataIO::writeChecksumFile(folder.file("UserData.bin").c_str(), folder.file("CheckSum.cs").c_str());
        UserDataIO::writeChecksumFile(folder.file("UserDataSecondary.bin").c_str(),
                                      folder.file("CheckSumSecondary.cs").c_str());
        const Bytes hostile = savetest::readFileBytes(path.string());

        savetest::resetGameState();
        savetest::LogCapture log;
        UserDataIO::loadUserData(folder.path());
        EXPECT_TRUE(log.contains("reading secondary userdata failed!"));
        ASSERT_TRUE(UserDataIO::saveUserData(folder.path()));
        EXPECT_EQ(savetest::readFileBytes(folder.file("UserData.bin.unloadable")), hostile);
        EXPECT_EQ(savetest::readFileBytes(folder.file("UserDataSecondary.bin.unloadable")), hostile);
    }
}

TEST_F(HostileSaveTest, AGoodFileWithAWrongChecksumIsRefused) {
    savetest::TempFolder folder;
    savetest::writeFileBytes(folder.file("UserData.bin"),
                             savetest::readHexFixture(savetest::dataPath("saves/one_profile.hex")));
    UserDataIO::writeChecksumFile(folder.file("UserData.bin").c_str(), folder.file("CheckSum.cs").c_str());
    const uint32_t right = UserDataIO::readChecksumFile(folder.file("CheckSum.cs").c_str());
    savetest::writeFileText(folder.file("CheckSum.cs"), std::to_string(right + 1));
    savetest::LogCapture log;
    EXPECT_FALSE(
        UserDataIO::loadUserFile(folder.file("UserData.bin").c_str(), folder.file("CheckSum.cs").c_str()));
    EXPECT_EQ(log.problems.size(), 1u);
    EXPECT_TRUE(UserData::getInstance().profiles.empty());

    savetest::writeFileText(folder.file("CheckSum.cs"), std::to_string(right));
    EXPECT_TRUE(
        UserDataIO::loadUserFile(folder.file("UserData.bin").c_str(), folder.file("CheckSum.cs").c_str()));
    EXPECT_EQ(UserData::getInstance().currentUserName, u"Ann");
}

}  // namespace
