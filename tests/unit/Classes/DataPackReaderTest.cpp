#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/platform/FileUtils.h"

#include "CountryProgress.h"
#include "DataPackReader.h"
#include "PackCountry.h"
#include "PackInfo.h"
#include "PackPicture.h"
#include "PictureProgress.h"
#include "Profile.h"
#include "SaveTestSupport.h"
#include "StringHelpers.h"
#include "TextTable.h"

namespace {

// The fixtures of tests/data/packs as the resource root, one folder per case.
class DataPackReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        TextTable::destroyInstance();
        cocos2d::FileUtils::destroyInstance();
        cocos2d::FileUtils::getInstance()->setResourceRoot(savetest::dataPath("packs/"));
        std::srand(11);
    }
    void TearDown() override {
        TextTable::destroyInstance();
        cocos2d::FileUtils::destroyInstance();
    }

    void load(const std::string& folder, Profile& profile) {
        DataPackReader::getInstance().load(folder, "en", profile);
    }
};

void expectRollsBetweenOneAndThree(const PictureProgress& record, size_t count) {
    ASSERT_EQ(record.reservedRolls.size(), count) << record.path;
    for (const int32_t roll : record.reservedRolls) {
        EXPECT_GE(roll, 1) << record.path;
        EXPECT_LE(roll, 3) << record.path;
    }
}

TEST_F(DataPackReaderTest, AListWithOneEntryReadsThePackAndTheStartingProgressIntoANewProfile) {
    savetest::LogCapture log;
    Profile profile;
    load("basic", profile);
    EXPECT_TRUE(log.problems.empty());
    EXPECT_EQ(log.lines.front(), "DataPackReader load");
    EXPECT_EQ(log.lines.back(), "\t DataPackReader ok");
    EXPECT_TRUE(log.contains("Loading pack: main"));

    ASSERT_EQ(profile.packs.size(), 1u);
    const PackInfo& pack = profile.packs[0];
    EXPECT_EQ(pack.packVersion, "7");
    EXPECT_TRUE(pack.reservedName.empty());
    ASSERT_EQ(pack.countries.size(), 2u);
    EXPECT_EQ(pack.countries[0].path, "Alpha");
    EXPECT_EQ(pack.countries[0].unlockOrder, 0);
    EXPECT_EQ(pack.countries[1].path, "Beta");
    EXPECT_EQ(pack.countries[1].unlockOrder, 2);

    ASSERT_EQ(pack.countries[0].pictures.size(), 2u);
    ASSERT_EQ(pack.countries[1].pictures.size(), 1u);
    PackPicture dawn;
    dawn.authorId = "author_a";
    dawn.evidence = "ticket";
    dawn.path = "Dawn";
    dawn.itemChance = 0.0f;  // 0.5 truncated
    dawn.museumId = "m_a";
    dawn.possibleItems = "cup,key";
    dawn.coins = 25000;
    dawn.unlockOrder = 0;
    dawn.year = "1884";
    EXPECT_EQ(pack.countries[0].pictures[0], dawn);
    const PackPicture& dusk = pack.countries[0].pictures[1];
    EXPECT_TRUE(dusk.evidence.empty());
    EXPECT_TRUE(dusk.year.empty());  // a missing attribute reads as empty text
    EXPECT_FLOAT_EQ(dusk.itemChance, 40.0f);
    EXPECT_EQ(dusk.coins, 300);  // leading white space, as the C conversion reads it
    const PackPicture& noon = pack.countries[1].pictures[0];
    EXPECT_FLOAT_EQ(noon.itemChance, 12.0f);
    EXPECT_EQ(noon.coins, 12);  // the leading number only
    EXPECT_EQ(noon.unlockOrder, -3);

    ASSERT_EQ(pack.messages.size(), 2u);
    EXPECT_EQ(pack.messages[0], (PackMessage{"Progress_0", "curator", "Alpha"}));
    EXPECT_EQ(pack.messages[1], (PackMessage{"progress_1", "guard", "Beta"}));

    ASSERT_EQ(profile.world.countries.size(), 2u);
    EXPECT_EQ(profile.world.countries.at("Alpha"), (CountryProgress{"", 0, "Alpha", 0, 2}));
    EXPECT_EQ(profile.world.countries.at("Beta"), (CountryProgress{"", 0, "Beta", 0, -1}));

    struct Expected {
        const char* path;
        int32_t state;
    };
    ASSERT_EQ(profile.world.pictures.size(), 3u);
    for (const Expected& e : {Expected{"Dawn", 0}, Expected{"Dusk", -1}, Expected{"Noon", 0}}) {
        const PictureProgress& record = profile.world.pictures.at(e.path);
        EXPECT_EQ(record.path, e.path);
        EXPECT_EQ(record.state, e.state) << e.path;
        EXPECT_EQ(record.bestStars, 0);
        EXPECT_EQ(record.reservedPair, (std::pair<int32_t, int32_t>{5, 0}));
        expectRollsBetweenOneAndThree(record, 1);
    }
}

TEST_F(DataPackReaderTest, AProfileHoldingThePacksVersionIsLeftAloneButThePackTextsAreMerged) {
    Profile profile;
    load("basic", profile);
    profile.world.pictures.at("Dusk").state = 3;
    const Profile before = profile;
    TextTable::destroyInstance();

    savetest::LogCapture log;
    load("basic", profile);
    EXPECT_EQ(profile, before);
    EXPECT_TRUE(log.contains("Loading pack: main"));  // the version is still read
    EXPECT_EQ(TextTable::getInstance().lookup("progressmessages.progress_1"), "Beta is open.");
}

TEST_F(DataPackReaderTest, TwoEntriesWithoutThePackAppendItTwiceWithTwoRollsPerPicture) {
    Profile profile;
    load("twice", profile);
    ASSERT_EQ(profile.packs.size(), 2u);
    EXPECT_EQ(profile.packs[0], profile.packs[1]);
    EXPECT_EQ(profile.world.countries.size(), 2u);
    for (const auto& [path, record] : profile.world.pictures) {
        expectRollsBetweenOneAndThree(record, 2);
        EXPECT_EQ(record.reservedPair.first, 5);
    }
}

// A new version lists pictures and countries the player has already played: their progress stays,
// only what is new gets its starting state.
TEST_F(DataPackReaderTest, ANewPackVersionKeepsTheProgressOfAnExistingPlayer) {
    Profile profile;
    load("basic", profile);
    profile.world.countries.at("Alpha").state = static_cast<int32_t>(CountryState::Completed);
    profile.world.countries.at("Beta").state = static_cast<int32_t>(CountryState::Opened);
    PictureProgress& dusk = profile.world.pictures.at("Dusk");
    dusk.state = 2;
    dusk.bestStars = 3;
    dusk.finished = true;
    dusk.reservedPair = {5, 9};
    const Profile before = profile;

    load("newversion", profile);
    ASSERT_EQ(profile.packs.size(), 2u);
    EXPECT_EQ(profile.packs[0], before.packs[0]);
    EXPECT_EQ(profile.packs[1].packVersion, "8");
    EXPECT_EQ(profile.world.countries.at("Alpha"), before.world.countries.at("Alpha"));
    EXPECT_EQ(profile.world.countries.at("Beta"), before.world.countries.at("Beta"));
    EXPECT_EQ(profile.world.countries.at("Gamma").state, static_cast<int32_t>(CountryState::Locked));

    for (const char* path : {"Dawn", "Dusk", "Noon"}) {
        PictureProgress record = profile.world.pictures.at(path);
        ASSERT_EQ(record.reservedRolls.size(), 2u) << path;  // the roll is still appended
        record.reservedRolls.pop_back();
        EXPECT_EQ(record, before.world.pictures.at(path)) << path;
    }
    const PictureProgress& night = profile.world.pictures.at("Night");
    EXPECT_EQ(night.state, static_cast<int32_t>(PictureState::Locked));
    EXPECT_EQ(night.reservedPair.first, 5);
    expectRollsBetweenOneAndThree(night, 1);
}

TEST_F(DataPackReaderTest, MissingOrMalformedFilesAreLoggedAndLeaveTheProfileAsItWas) {
    struct Case {
        const char* folder;
        const char* expectedLine;  // the start of the line that reports it
        bool textsMerged;
    };
    const std::vector<Case> cases = {
        {"nopackfile", "Load pack failed: ", true},
        {"brokenpack", "Load pack failed: ", true},
        {"brokenlist", "Load packs.xml list: ", false},
        {"nowhere", "Load packs.xml list: ", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        TextTable::destroyInstance();
        Profile profile;
        profile.money = 12;
        profile.world.countries["Alpha"] = CountryProgress{"", 0, "Alpha", 0, 3};
        const Profile before = profile;

        savetest::LogCapture log;
        load(c.folder, profile);
        EXPECT_EQ(profile, before);
        bool reported = false;
        for (const std::string& line : log.lines) {
            reported = reported || line.rfind(c.expectedLine, 0) == 0;
        }
        EXPECT_TRUE(reported);
        EXPECT_EQ(log.lines.back(), "\t DataPackReader ok");
        EXPECT_EQ(TextTable::getInstance().lookup("progressmessages.progress_0") == "Welcome to the map.",
                  c.textsMerged);
    }
}

// A number outside what it can mean is not used: it reads as the attribute missing would, with one
// line naming the file, the element, the attribute and the value. At the bounds it is taken.
TEST_F(DataPackReaderTest, NumbersOutOfRangeAreRefusedWithOneLineAndReadAsMissing) {
    struct Case {
        const char* attributes;  // of a picture
        int32_t coins;
        int32_t unlockOrder;
        float itemChance;
        const char* line;  // what follows the picture's name in its line; null: no line
    };
    const std::vector<Case> cases = {
        {R"(coins="55000" unlockorder="13" itemchance="40")", 55000, 13, 40.0f, nullptr},
        {R"(coins="1000000" unlockorder="1000000" itemchance="100")", 1000000, 1000000, 100.0f, nullptr},
        {R"(coins="0" unlockorder="-1000000" itemchance="0")", 0, -1000000, 0.0f, nullptr},
        {R"(coins="2147483647")", 0, 0, 0.0f,
         R"(coins="2147483647" is out of range (0 to 1000000); not used)"},
        {R"(coins="1000001")", 0, 0, 0.0f, R"(coins="1000001" is out of range (0 to 1000000); not used)"},
        {R"(coins="-5")", 0, 0, 0.0f, R"(coins="-5" is out of range (0 to 1000000); not used)"},
        {R"(coins="99999999999999999999999")", 0, 0, 0.0f,
         R"(coins="99999999999999999999999" is out of range (0 to 1000000); not used)"},
        {R"(unlockorder="2147483647")", 0, 0, 0.0f,
         R"(unlockorder="2147483647" is out of range (-1000000 to 1000000); not used)"},
        {R"(unlockorder="-1000001")", 0, 0, 0.0f,
         R"(unlockorder="-1000001" is out of range (-1000000 to 1000000); not used)"},
        {R"(itemchance="100.5")", 0, 0, 0.0f, R"(itemchance="100.5" is out of range (0 to 100); not used)"},
        {R"(itemchance="-1")", 0, 0, 0.0f, R"(itemchance="-1" is out of range (0 to 100); not used)"},
        {R"(itemchance="1e999")", 0, 0, 0.0f, R"(itemchance="1e999" is out of range (0 to 100); not used)"},
        {R"(itemchance="nan")", 0, 0, 0.0f, R"(itemchance="nan" is out of range (0 to 100); not used)"},
    };
    std::string pictures;
    for (size_t i = 0; i < cases.size(); ++i) {
        pictures += "<picture path=\"P" + std::to_string(i) + "\" " + cases[i].attributes + "/>";
    }
    savetest::TempFolder folder;
    cocos2d::FileUtils::getInstance()->setResourceRoot(folder.path());
    std::filesystem::create_directories(folder.file("packs"));
    savetest::writeFileText(folder.file("packs/packs.xml"), R"(<packs><pack name="main"/></packs>)");
    savetest::writeFileText(
        folder.file("packs/pack.xml"),
        R"(<pack packVersion="1"><countries><country path="A" unlockorder="9000000000">)" + pictures +
            "</country></countries></pack>");
    savetest::LogCapture log;
    Profile profile;
    load("packs", profile);

    ASSERT_EQ(profile.packs.size(), 1u);
    const PackCountry& country = profile.packs[0].countries.at(0);
    EXPECT_EQ(country.unlockOrder, 0);
    EXPECT_TRUE(log.contains(
        R"(packs/pack.xml: country "A": unlockorder="9000000000" is out of range (-1000000 to 1000000); not used)"));
    EXPECT_EQ(profile.world.countries.at("A").state, static_cast<int32_t>(CountryState::Opened));
    ASSERT_EQ(country.pictures.size(), cases.size());
    size_t refusals = 1;
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.attributes);
        const PackPicture& picture = country.pictures[i];
        EXPECT_EQ(picture.coins, c.coins);
        EXPECT_EQ(picture.unlockOrder, c.unlockOrder);
        EXPECT_FLOAT_EQ(picture.itemChance, c.itemChance);
        if (c.line != nullptr) {
            ++refusals;
            EXPECT_TRUE(log.contains("packs/pack.xml: picture \"P" + std::to_string(i) + "\": " + c.line));
        }
    }
    size_t lines = 0;
    for (const std::string& line : log.lines) {
        lines += line.find("out of range") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(lines, refusals);
}

// Prices that one by one are fine but together pass what the pack may ask: those past it are not
// used, so that no sum of a pack's prices (a collection, the money it can pay) can overflow.
TEST_F(DataPackReaderTest, PricesPastThePacksTotalAreRefusedWithOneLineEach) {
    // 1003 pictures at the highest price, in two countries.
    std::string countries;
    for (int i = 0; i < 1003; ++i) {
        if (i == 0 || i == 500) {
            countries +=
                std::string(i == 0 ? "" : "</country>") + "<country path=\"C" + std::to_string(i) + "\">";
        }
        countries += "<picture path=\"P" + std::to_string(i) + "\" coins=\"1000000\"/>";
    }
    savetest::TempFolder folder;
    cocos2d::FileUtils::getInstance()->setResourceRoot(folder.path());
    std::filesystem::create_directories(folder.file("packs"));
    savetest::writeFileText(folder.file("packs/packs.xml"), R"(<packs><pack name="main"/></packs>)");
    savetest::writeFileText(folder.file("packs/pack.xml"), R"(<pack packVersion="1"><countries>)" +
                                                               countries + "</country></countries></pack>");
    savetest::LogCapture log;
    Profile profile;
    load("packs", profile);
    ASSERT_EQ(profile.packs.size(), 1u);
    int64_t total = 0;
    int refused = 0;
    for (const PackCountry& country : profile.packs[0].countries) {
        for (const PackPicture& picture : country.pictures) {
            total += picture.coins;
            refused += picture.coins == 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(total, 1000000000);
    EXPECT_EQ(refused, 3);
    EXPECT_TRUE(log.contains(
        R"(packs/pack.xml: picture "P1000": coins="1000000" would bring the pack's prices past 1000000000; not used)"));
    size_t lines = 0;
    for (const std::string& line : log.lines) {
        lines += line.find("would bring the pack's prices past") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(lines, 3u);
}

// Every message of a pack names a text of the section the chat popup looks in.
TEST_F(DataPackReaderTest, EveryPackMessageHasAProgressMessageText) {
    Profile profile;
    load("basic", profile);
    ASSERT_FALSE(profile.packs.empty());
    for (const PackMessage& message : profile.packs[0].messages) {
        const std::string key = "ProgressMessages." + message.messageId;
        EXPECT_NE(TextTable::getInstance().lookup(key), toLowerCase(key)) << key;
    }
}

// The same rule on the game's own resource tree, read through the game's own readers, once the
// build has staged it.
TEST_F(DataPackReaderTest, EveryMessageOfTheShippedPacksHasAProgressMessageText) {
    cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
    files->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
    files->addSearchPath("src");
    files->addSearchPath("res");
    if (!files->isFileExist("Scenes/packs.xml")) {
        GTEST_SKIP() << "no resource tree staged in " << KESTROVA_RESOURCE_DIR;
    }
    TextTable::getInstance().loadTexts("texts", "en", true);
    Profile profile;
    load("Scenes", profile);
    ASSERT_FALSE(profile.packs.empty());
    size_t messages = 0;
    for (const PackInfo& pack : profile.packs) {
        for (const PackMessage& message : pack.messages) {
            const std::string key = "ProgressMessages." + message.messageId;
            EXPECT_NE(TextTable::getInstance().lookup(key), toLowerCase(key)) << key;
            ++messages;
        }
    }
    EXPECT_GT(messages, 0u);
}

}  // namespace
