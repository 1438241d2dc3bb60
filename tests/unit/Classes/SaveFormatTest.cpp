#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CMemoryInputStream.h"
#include "CMemoryOutputStream.h"
#include "SaveFileParser.h"
#include "SaveTestSupport.h"
#include "UserData.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The profile of tests/data/saves/one_profile.hex, field by field.
Profile fixtureProfile() {
    Profile p;
    p.reservedShortListMap[7] = {0x0102};
    p.reservedCounterMapA["a"] = 5;
    p.reservedPairList = {{1, -1}};
    p.reservedNameSet = {"n"};
    p.evidence.reservedNames = {"r"};
    p.evidence.entries["ev"] = EvidenceEntry{"ev", static_cast<int32_t>(EvidenceState::New)};
    p.shownChats = {1};
    p.reservedCounterMapB["b"] = 300;
    p.reservedBytes = {1, 2, 3, 4, 5, 6, 7, 8};
    p.customCursor = true;
    p.cursorName = "cursor_0";

    PackPicture picture;
    picture.authorId = "au";
    picture.evidence = "ev";
    picture.path = "p1";
    picture.itemChance = 0.5f;
    picture.museumId = "m";
    picture.possibleItems = "i";
    picture.coins = 100;
    picture.unlockOrder = 2;
    picture.year = "1889";
    PackCountry country;
    country.path = "USA";
    country.pictures = {picture};
    country.unlockOrder = 1;
    PackInfo pack;
    pack.countries = {country};
    pack.messages = {PackMessage{"msg", "cur", "USA"}};
    pack.packVersion = "1.0";
    p.packs = {pack};

    p.reservedFlagA = false;
    p.reservedValueA = 0x11223344;
    p.progressIndex = -1;
    p.fullscreen = true;
    p.reservedFlagB = true;
    p.cageUnlocked = false;
    p.minigameAvailability[4] = true;
    p.newestEvidence = "ev";
    p.reservedValueB = 2;
    p.storyLevel = 3;
    p.reservedFlagC = true;
    p.currentPicture = PictureKey{"USA", "p1"};
    p.reservedStringPairs = {{"x", "y"}};
    p.minigameOrder = {MinigameLevel{4, 7}};
    p.minigameLevels = {9};
    p.money = 1234;
    p.musicVolume = 0.4f;
    p.name = u"Ann";
    p.reservedTitle = u"Kestrova";
    p.collectionGoal = 99;
    p.soundVolume = 1.0f;

    CountryProgress countryProgress;
    countryProgress.collectionPrice = 99;
    countryProgress.path = "USA";
    countryProgress.listPosition = 12;
    countryProgress.state = static_cast<int32_t>(CountryState::Opened);
    p.world.countries["USA"] = countryProgress;
    p.world.minigameWins = {MinigameLevel{1, 2}};
    PictureProgress pictureProgress;
    pictureProgress.finished = true;
    pictureProgress.earnedTotal = 50;
    pictureProgress.dropsUsed = 7;
    pictureProgress.lastGain = 20;
    pictureProgress.firstStars = 2;
    pictureProgress.flies = 1;
    pictureProgress.priceRate = 3;
    pictureProgress.maxArea = 400;
    pictureProgress.minArea = 16;
    pictureProgress.restoredCount = 5;
    pictureProgress.reservedPair = {5, 0};
    pictureProgress.path = "p1";
    pictureProgress.damage = {DamageRecord{1, 100, 200, 3, 2}};
    pictureProgress.mistakes = 4;
    pictureProgress.earnedPart = -6;
    pictureProgress.reservedRolls = {3};
    pictureProgress.time = 12.5f;
    pictureProgress.restoredHistory = {"item_1"};
    pictureProgress.bestStars = 3;
    pictureProgress.state = 2;
    p.world.pictures["p1"] = pictureProgress;
    p.world.lastOpenedPicture = "p1";
    p.world.lastUnlockedPicture = "p1";
    p.shownTutorials = {12};
    return p;
}

Bytes saveFileBytes(const UserData& store) {
    auto out = std::make_shared<Core::CMemoryOutputStream>();
    out->writeInt32(kSaveFormatVersion);
    store.write(out);
    return out->bytes();
}

bool parse(const Bytes& bytes, UserData& out) {
    Core::CMemoryInputStream in(bytes.data(), bytes.size());
    return parseSaveFile(in, out, "test");
}

size_t firstDifference(const Bytes& a, const Bytes& b) {
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) {
        ++i;
    }
    return i;
}

TEST(SaveFormatTest, OneProfileIsWrittenByteForByteAsTheHandMadeFixture) {
    UserData store;
    store.profiles[u"Ann"] = fixtureProfile();
    store.currentUserName = u"Ann";
    const Bytes expected = savetest::readHexFixture(savetest::dataPath("saves/one_profile.hex"));
    const Bytes actual = saveFileBytes(store);
    EXPECT_EQ(actual.size(), expected.size());
    EXPECT_EQ(actual, expected) << "first difference at byte " << firstDifference(actual, expected);
}

TEST(SaveFormatTest, TheHandMadeFixtureReadsBackEveryField) {
    const Bytes bytes = savetest::readHexFixture(savetest::dataPath("saves/one_profile.hex"));
    UserData store;
    ASSERT_TRUE(parse(bytes, store));
    EXPECT_EQ(store.currentUserName, u"Ann");
    ASSERT_EQ(store.profiles.size(), 1u);
    ASSERT_EQ(store.profiles.count(u"Ann"), 1u);
    const Profile& read = store.profiles.at(u"Ann");
    const Profile expected = fixtureProfile();
    // Compared part by part first, so that a failure names the part that differs.
    EXPECT_EQ(read.evidence, expected.evidence);
    EXPECT_EQ(read.packs, expected.packs);
    EXPECT_EQ(read.world.countries, expected.world.countries);
    EXPECT_EQ(read.world.pictures, expected.world.pictures);
    EXPECT_EQ(read.world, expected.world);
    EXPECT_EQ(read.money, 1234);
    EXPECT_EQ(std::bit_cast<uint32_t>(read.musicVolume), 0x3ECCCCCDu);
    EXPECT_EQ(read.reservedTitle, u"Kestrova");
    EXPECT_EQ(read, expected);
}

TEST(SaveFormatTest, AnEmptyStoreIsNineBytes) {
    const Bytes expected = {0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(saveFileBytes(UserData{}), expected);
    UserData store;
    store.profiles[u"old"] = Profile{};
    store.currentUserName = u"old";
    ASSERT_TRUE(parse(expected, store));
    EXPECT_TRUE(store.profiles.empty());
    EXPECT_TRUE(store.currentUserName.empty());
}

// The lower bounds the reader uses to refuse impossible counts must never exceed a record's real
// smallest size, or valid saves would be refused.
TEST(SaveFormatTest, EmptyRecordsWriteExactlyTheirSmallestSize) {
    struct Case {
        const char* record;
        std::function<void(const std::shared_ptr<Core::COutputStream>&)> write;
        uint32_t minBytes;
    };
    const std::vector<Case> cases = {
        {"Profile", [](const auto& out) { Profile{}.write(out); }, Profile::kMinSavedBytes},
        {"EvidenceBook", [](const auto& out) { EvidenceBook{}.write(out); }, EvidenceBook::kMinSavedBytes},
        {"PackInfo", [](const auto& out) { PackInfo{}.write(out); }, PackInfo::kMinSavedBytes},
        {"PackCountry", [](const auto& out) { PackCountry{}.write(out); }, PackCountry::kMinSavedBytes},
        {"PackPicture", [](const auto& out) { PackPicture{}.write(out); }, PackPicture::kMinSavedBytes},
        {"WorldProgress", [](const auto& out) { WorldProgress{}.write(out); }, WorldProgress::kMinSavedBytes},
        {"CountryProgress", [](const auto& out) { CountryProgress{}.write(out); },
         CountryProgress::kMinSavedBytes},
        {"PictureProgress", [](const auto& out) { PictureProgress{}.write(out); },
         PictureProgress::kMinSavedBytes},
        {"MinigameLevel", [](const auto& out) { MinigameLevel{}.write(out); }, MinigameLevel::kMinSavedBytes},
    };
    for (const Case& c : cases) {
        auto out = std::make_shared<Core::CMemoryOutputStream>();
        c.write(out);
        EXPECT_EQ(out->bytes().size(), c.minBytes) << c.record;
    }
}

// Several elements in every container, float bit patterns and raw bytes survive a write and a read.
TEST(SaveFormatTest, AFullStoreReadsBackEqual) {
    UserData store;
    for (int i = 0; i < 3; ++i) {
        Profile p = fixtureProfile();
        p.name = u"Player" + std::u16string(1, static_cast<char16_t>(u'A' + i));
        p.money = 1000 * i;
        p.reservedShortListMap[i] = {1, 2, 0xFFFF};
        p.reservedNameSet.insert("extra" + std::to_string(i));
        p.evidence.entries["second"] = EvidenceEntry{"second", 2};
        p.packs.push_back(p.packs.front());
        p.packs.back().packVersion = "2.0";
        p.minigameAvailability[0] = false;
        p.minigameLevels = {0, 1, 2, 3, 4};
        p.world.pictures["p2"] = p.world.pictures["p1"];
        p.world.pictures["p2"].path = "p2";
        p.world.pictures["p2"].restoredHistory.insert("item_2");
        p.world.countries["France"] = CountryProgress{"", 5, "France", 0, -1};
        p.reservedBytes = {0xFF, 0x00, 0x80, 0x7F, 0x01, 0xFE, 0x10, 0x20};
        p.musicVolume = -0.0f;
        p.soundVolume = std::bit_cast<float>(0x00000001u);
        store.profiles[p.name] = p;
    }
    store.currentUserName = u"PlayerB";
    UserData read;
    ASSERT_TRUE(parse(saveFileBytes(store), read));
    EXPECT_EQ(read, store);
    for (const auto& [name, profile] : read.profiles) {
        EXPECT_EQ(std::bit_cast<uint32_t>(profile.musicVolume), 0x80000000u);
        EXPECT_EQ(std::bit_cast<uint32_t>(profile.soundVolume), 0x00000001u);
    }
}

TEST(SaveFormatTest, RecordsAreFiledUnderTheirOwnNamesAndPathsEvidenceUnderItsKey) {
    UserData store;
    Profile p = fixtureProfile();
    p.name = u"Rob";
    p.world.countries.clear();
    p.world.countries["saved-key"] = CountryProgress{"", 1, "Spain", 0, 0};
    p.world.pictures.clear();
    PictureProgress picture;
    picture.path = "Spain/p3";
    p.world.pictures["other-key"] = picture;
    p.evidence.entries.clear();
    p.evidence.entries["kept-key"] = EvidenceEntry{"its-name", 1};
    store.profiles[u"Bob"] = p;
    UserData read;
    ASSERT_TRUE(parse(saveFileBytes(store), read));
    ASSERT_EQ(read.profiles.count(u"Rob"), 1u);
    EXPECT_EQ(read.profiles.count(u"Bob"), 0u);
    const Profile& rob = read.profiles.at(u"Rob");
    EXPECT_EQ(rob.world.countries.count("Spain"), 1u);
    EXPECT_EQ(rob.world.pictures.count("Spain/p3"), 1u);
    ASSERT_EQ(rob.evidence.entries.count("kept-key"), 1u);
    EXPECT_EQ(rob.evidence.entries.at("kept-key").name, "its-name");
}

TEST(SaveFormatTest, ALaterProfileOfTheSameNameReplacesAnEarlierOne) {
    auto out = std::make_shared<Core::CMemoryOutputStream>();
    out->writeInt32(kSaveFormatVersion);
    out->writeInt32(2);
    Profile first = fixtureProfile();
    first.money = 1;
    first.write(out);
    Profile second = fixtureProfile();
    second.money = 2;
    second.write(out);
    out->writeWString(u"Ann");
    UserData read;
    ASSERT_TRUE(parse(out->bytes(), read));
    ASSERT_EQ(read.profiles.size(), 1u);
    EXPECT_EQ(read.profiles.at(u"Ann").money, 2);
}

TEST(SaveFormatTest, ACopiedProfileIsIndependentOfTheStore) {
    UserData store;
    store.profiles[u"Ann"] = fixtureProfile();
    const Profile copy = store.profiles.at(u"Ann");
    store.profiles.at(u"Ann").money = 5;
    store.profiles.at(u"Ann").world.pictures.at("p1").damage.clear();
    store.profiles.at(u"Ann").packs.front().countries.front().pictures.front().coins = 1;
    EXPECT_EQ(copy, fixtureProfile());
}

}  // namespace
