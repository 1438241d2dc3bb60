#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/platform/FileUtils.h"

#include "DataPackReader.h"
#include "ProgressQueries.h"
#include "SaveTestSupport.h"
#include "Settings.h"
#include "UserData.h"

namespace {

PackPicture picture(const std::string& path, int32_t order, int32_t coins) {
    PackPicture p;
    p.path = path;
    p.unlockOrder = order;
    p.coins = coins;
    return p;
}

PackCountry country(const std::string& path, int32_t order, std::vector<PackPicture> pictures) {
    PackCountry c;
    c.path = path;
    c.unlockOrder = order;
    c.pictures = std::move(pictures);
    return c;
}

// Two packs: USA (u1, u2) and France (f1, f2) with two messages, then Spain (s1). The chain runs
// u1, u2, f1, f2, s1. The player has opened USA and played u1; the rest is locked.
class ProgressQueriesTest : public ::testing::Test {
protected:
    void SetUp() override {
        savetest::resetGameState();
        Profile player;
        player.name = u"P";
        player.money = 40;
        player.progressIndex = 0;
        PackInfo first;
        first.countries = {country("USA", 0, {picture("u1", 0, 50), picture("u2", 1, 50)}),
                           country("France", 1, {picture("f1", 2, 1000), picture("f2", 3, 1)})};
        first.messages = {PackMessage{"m0", "curator", "USA"}, PackMessage{"m1", "curator", "France"}};
        PackInfo second;
        second.countries = {country("Spain", 2, {picture("s1", 4, 1)})};
        player.packs = {first, second};
        for (const auto& [path, state] :
             std::vector<std::pair<std::string, int32_t>>{{"USA", 2}, {"France", -1}, {"Spain", -1}}) {
            player.world.countries[path] = CountryProgress{"", 0, path, 0, state};
        }
        for (const auto& [path, state] : std::vector<std::pair<std::string, int32_t>>{
                 {"u1", 1}, {"u2", -1}, {"f1", -1}, {"f2", -1}, {"s1", -1}}) {
            PictureProgress record;
            record.path = path;
            record.state = state;
            player.world.pictures[path] = record;
        }
        UserData::getInstance().profiles[u"P"] = player;
        UserData::getInstance().currentUserName = u"P";
    }
    void TearDown() override { savetest::resetGameState(); }

    Profile& player() { return Settings::getInstance().getCurrentUser(); }
    int32_t pictureState(const std::string& path) { return player().world.pictures.at(path).state; }
};

TEST_F(ProgressQueriesTest, CollectionPriceIsNinetyNinePercentTruncated) {
    struct Case {
        std::vector<int32_t> coins;
        int32_t expected;
    };
    const std::vector<Case> cases = {
        {{50, 50}, 99},
        {{1000}, 990},
        {{1}, 0},
        {{}, 0},
        {{101}, 99},
        {{60, 40, 900}, 990},
        {{2147483647, 2147483647}, 2147483647},  // the sum does not wrap around
    };
    for (const Case& c : cases) {
        std::vector<PackPicture> pictures;
        for (const int32_t coins : c.coins) {
            pictures.push_back(picture("x" + std::to_string(pictures.size()), 9, coins));
        }
        player().packs.push_back(PackInfo{{country("Priced", 9, pictures)}, "", {}, "9"});
        EXPECT_EQ(getCollectionPrice("Priced"), c.expected) << c.coins.size() << " pictures";
        player().packs.pop_back();
    }
    EXPECT_EQ(getCollectionPrice("USA"), 99);
}

TEST_F(ProgressQueriesTest, TheChainUnlocksWithinAnOpenCountryAndWaitsAtALockedOne) {
    EXPECT_FALSE(isLastOpenPicture("u1"));
    EXPECT_TRUE(unlockNextPicture("u1"));
    EXPECT_EQ(pictureState("u2"), 0);
    EXPECT_EQ(player().world.lastUnlockedPicture, "u2");
    EXPECT_EQ(player().world.lastOpenedPicture, "u2");
    EXPECT_FALSE(unlockNextPicture("u1"));

    // The next picture lies in locked France: the reward waits for the purchase.
    EXPECT_TRUE(isLastOpenPicture("u2"));
    EXPECT_EQ(pictureState("f1"), -1);
    // The museum purchase unlocks it with its country.
    EXPECT_TRUE(unlockNextPicture("u2"));
    EXPECT_EQ(pictureState("f1"), 0);
    EXPECT_EQ(getCountryState("France"), 0);
    EXPECT_EQ(player().world.countries.at("France").collectionPrice, 990);
    EXPECT_EQ(player().collectionGoal, 40 + 990);
    EXPECT_EQ(player().progressIndex, 1);
    EXPECT_FALSE(isLastOpenPicture("u2"));
}

TEST_F(ProgressQueriesTest, TheLastPictureOfTheChainUnlocksNothing) {
    player().world.countries.at("Spain").state = 2;
    player().world.pictures.at("s1").state = 0;
    const Profile before = player();
    EXPECT_FALSE(unlockNextPicture("s1"));
    EXPECT_TRUE(isLastOpenPicture("s1"));
    EXPECT_EQ(player(), before);
}

TEST_F(ProgressQueriesTest, UnlockingAnOpenedCountryShowsItsUnlockAgain) {
    unlockCountry("USA");
    EXPECT_EQ(getCountryState("USA"), static_cast<int32_t>(CountryState::Unlocked));
    EXPECT_EQ(player().world.countries.at("USA").collectionPrice, 99);
    EXPECT_EQ(player().collectionGoal, 139);
    unlockCountry("Atlantis");
    EXPECT_EQ(player().progressIndex, 1);
}

TEST_F(ProgressQueriesTest, UnlockPictureOnlyOpensALockedRecord) {
    EXPECT_FALSE(unlockPicture("u1"));
    EXPECT_FALSE(unlockPicture("nowhere"));
    EXPECT_TRUE(unlockPicture("s1"));
    EXPECT_FALSE(unlockPicture("s1"));
    EXPECT_EQ(player().world.lastUnlockedPicture, "s1");
}

TEST_F(ProgressQueriesTest, ProgressMessagesAreIndexedWithinTheCountrysPack) {
    struct Case {
        std::string country;
        int32_t index;
        const char* expected;  // null: none
    };
    const std::vector<Case> cases = {
        {"USA", -1, nullptr}, {"USA", 0, "m0"},      {"France", 1, "m1"},
        {"USA", 2, nullptr},  {"Spain", 0, nullptr}, {"Atlantis", 0, nullptr},
    };
    for (const Case& c : cases) {
        const PackMessage* message = getProgressMessage(c.country, c.index);
        if (c.expected == nullptr) {
            EXPECT_EQ(message, nullptr) << c.country << " " << c.index;
        } else {
            ASSERT_NE(message, nullptr) << c.country << " " << c.index;
            EXPECT_EQ(message->messageId, c.expected);
        }
    }
}

TEST_F(ProgressQueriesTest, LookupsFindTheFirstMatchOrNothing) {
    EXPECT_EQ(getCountryUnlockOrder("France"), 1);
    EXPECT_EQ(getCountryUnlockOrder("Atlantis"), -1);
    EXPECT_EQ(getPictureUnlockOrder("s1"), 4);
    EXPECT_EQ(getPictureUnlockOrder("nowhere"), -1);
    EXPECT_EQ(findPackOfCountry("Spain"), &player().packs[1]);
    ASSERT_NE(findPackPicture(PictureKey{"France", "f2"}), nullptr);
    EXPECT_EQ(findPackPicture(PictureKey{"France", "f2"})->coins, 1);
    EXPECT_EQ(findPackPicture(PictureKey{"USA", "f2"}), nullptr);
    EXPECT_EQ(findPackPicture(PictureKey{"Atlantis", "f2"}), nullptr);
}

TEST_F(ProgressQueriesTest, CountryAndPictureQuestions) {
    EXPECT_EQ(getCountryState("Atlantis"), -1);
    EXPECT_FALSE(isCountryLocked("Atlantis"));
    EXPECT_TRUE(isCountryLocked("France"));
    EXPECT_FALSE(isCountryCompleted("USA"));
    EXPECT_FALSE(hasNewCountry());
    setCountryState("France", static_cast<int32_t>(CountryState::Shown));
    setCountryState("Atlantis", 3);
    EXPECT_TRUE(hasNewCountry());
    EXPECT_FALSE(areAllCountriesCompleted());
    for (auto& [path, record] : player().world.countries) {
        record.state = static_cast<int32_t>(CountryState::Completed);
    }
    EXPECT_TRUE(areAllCountriesCompleted());
    EXPECT_TRUE(isCountryCompleted("USA"));
    player().world.countries.clear();
    EXPECT_TRUE(areAllCountriesCompleted());

    EXPECT_TRUE(isPictureLocked("u2"));
    EXPECT_FALSE(isPictureLocked("u1"));
    EXPECT_FALSE(isPictureLocked("nowhere"));
    EXPECT_FALSE(areAllPicturesRestored("USA"));
    player().world.pictures.at("u2").state = 3;
    EXPECT_TRUE(areAllPicturesRestored("USA"));
    player().world.pictures.erase("u2");
    EXPECT_FALSE(areAllPicturesRestored("USA"));
}

TEST_F(ProgressQueriesTest, EvidenceQuestions) {
    EXPECT_FALSE(hasNewEvidence());
    for (int i = 0; i < 12; ++i) {
        const std::string name = "e" + std::to_string(i);
        player().evidence.entries[name] = EvidenceEntry{name, static_cast<int32_t>(EvidenceState::Seen)};
    }
    EXPECT_FALSE(hasAllEvidence());
    EXPECT_FALSE(hasNewEvidence());
    player().evidence.entries["e12"] = EvidenceEntry{"e12", static_cast<int32_t>(EvidenceState::New)};
    EXPECT_TRUE(hasAllEvidence());
    EXPECT_TRUE(hasNewEvidence());
}

// The test packs "basic" (version 7) and "newversion" (version 8, which adds the picture Night to
// Beta, the country Gamma and a third message) read into one player, as a game update does.
class PackVersionQueriesTest : public ::testing::Test {
protected:
    void SetUp() override {
        savetest::resetGameState();
        cocos2d::FileUtils::destroyInstance();
        cocos2d::FileUtils::getInstance()->setResourceRoot(savetest::dataPath("packs/"));
        std::srand(5);
        UserData::getInstance().currentUserName = u"P";
        DataPackReader::getInstance().load("basic", "en", player());
    }
    void TearDown() override {
        savetest::resetGameState();
        cocos2d::FileUtils::destroyInstance();
    }

    Profile& player() { return Settings::getInstance().getCurrentUser(); }

    std::vector<std::string> picturesOf(const std::string& countryPath) {
        std::vector<std::string> paths;
        if (const PackCountry* found = findPackCountry(countryPath)) {
            for (const PackPicture& picture : found->pictures) {
                paths.push_back(picture.path);
            }
        }
        return paths;
    }

    const char* messageId(const std::string& countryPath, int32_t index) {
        const PackMessage* message = getProgressMessage(countryPath, index);
        return message != nullptr ? message->messageId.c_str() : "(none)";
    }
};

TEST_F(PackVersionQueriesTest, TheQueriesSeeTheNewestVersionOfThePack) {
    // Version 7 alone.
    EXPECT_EQ(picturesOf("Beta"), (std::vector<std::string>{"Noon"}));
    EXPECT_EQ(findPackPicture(PictureKey{"Beta", "Night"}), nullptr);
    EXPECT_EQ(getCollectionPrice("Beta"), 11);  // 12 coins
    EXPECT_STREQ(messageId("Gamma", 2), "(none)");

    player().world.pictures.at("Noon").state = 2;
    player().world.pictures.at("Dusk").state = 1;
    const WorldProgress before = player().world;
    DataPackReader::getInstance().load("newversion", "en", player());
    ASSERT_EQ(player().packs.size(), 2u);

    // The cases hold for either order of the two versions in the profile: a profile may have been
    // given version 8 first and version 7 by an older game afterwards.
    for (const bool swapped : {false, true}) {
        SCOPED_TRACE(swapped ? "version 8 first" : "version 7 first");
        if (swapped) {
            std::swap(player().packs[0], player().packs[1]);
        }
        EXPECT_EQ(picturesOf("Beta"), (std::vector<std::string>{"Noon", "Night"}));
        const PackPicture* night = findPackPicture(PictureKey{"Beta", "Night"});
        ASSERT_NE(night, nullptr);
        EXPECT_EQ(night->coins, 9000);
        EXPECT_EQ(night->year, "1911");
        EXPECT_EQ(getPictureUnlockOrder("Night"), 4);
        EXPECT_EQ(getCollectionPrice("Beta"), 8921);  // 9012 coins
        EXPECT_EQ(getCountryUnlockOrder("Gamma"), 3);
        EXPECT_EQ(findPackOfCountry("Beta")->packVersion, "8");
        EXPECT_STREQ(messageId("Gamma", 2), "progress_2");
        EXPECT_STREQ(messageId("Alpha", 0), "Progress_0");
        // Night is not played yet, so Beta is not all restored although Noon is.
        EXPECT_FALSE(areAllPicturesRestored("Beta"));
        player().world.pictures.at("Night").state = 1;
        EXPECT_TRUE(areAllPicturesRestored("Beta"));
        player().world.pictures.at("Night").state = -1;
    }
    for (const char* path : {"Dawn", "Dusk", "Noon"}) {
        EXPECT_EQ(player().world.pictures.at(path).state, before.pictures.at(path).state) << path;
    }
    for (const char* path : {"Alpha", "Beta"}) {
        EXPECT_EQ(player().world.countries.at(path), before.countries.at(path)) << path;
    }
}

// What only an older version lists stays reachable: a country or picture a new version drops does
// not vanish from under the player's progress.
TEST_F(PackVersionQueriesTest, WhatOnlyAnOlderVersionListsStaysReachable) {
    // Version 9 lists Beta alone, with Noon replaced by Noon2.
    PackCountry beta = player().packs[0].countries.at(1);
    ASSERT_EQ(beta.path, "Beta");
    beta.pictures.at(0).path = "Noon2";
    beta.pictures.at(0).coins = 100;
    PackInfo newer;
    newer.packVersion = "9";
    newer.countries = {beta};
    player().packs.push_back(newer);

    EXPECT_EQ(picturesOf("Alpha"), (std::vector<std::string>{"Dawn", "Dusk"}));
    EXPECT_EQ(findPackOfCountry("Alpha")->packVersion, "7");
    EXPECT_EQ(picturesOf("Beta"), (std::vector<std::string>{"Noon2"}));
    ASSERT_NE(findPackPicture(PictureKey{"Beta", "Noon"}), nullptr);
    EXPECT_EQ(findPackPicture(PictureKey{"Beta", "Noon"})->coins, 12);
    EXPECT_EQ(getPictureUnlockOrder("Noon"), -3);
    EXPECT_EQ(getCollectionPrice("Beta"), 99);
}

}  // namespace
