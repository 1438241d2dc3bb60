#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "CMemoryInputStream.h"
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
        EXPECT_EQ(log.problems.size(), 1u);
        EXPECT_EQ(UserData::getInstance(), goodStore());
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
