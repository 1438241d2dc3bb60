#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/platform/Application.h"
#include "engine/platform/FileUtils.h"

#include "DataPackReader.h"
#include "MinigameKind.h"
#include "ProgressQueries.h"
#include "SaveTestSupport.h"
#include "ScopedEnv.h"
#include "Settings.h"
#include "UserData.h"
#include "UserDataIO.h"
#include "WideString.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { savetest::resetGameState(); }
    void TearDown() override { savetest::resetGameState(); }

    Settings& settings() { return Settings::getInstance(); }
    UserData& store() { return UserData::getInstance(); }
};

TEST_F(SettingsTest, CreateUserGivesTheNewPlayerValuesAndMakesItCurrent) {
    settings().createUser(u"Ann");
    EXPECT_EQ(store().currentUserName, u"Ann");
    const Profile& p = settings().getCurrentUser();
    EXPECT_EQ(p.name, u"Ann");
    EXPECT_EQ(p.reservedTitle, u"Kestrova");
    EXPECT_EQ(p.cursorName, "cursor_0");
    EXPECT_EQ(p.storyLevel, -1);
    EXPECT_EQ(p.money, 0);
    EXPECT_EQ(p.progressIndex, -1);
    EXPECT_TRUE(p.customCursor);
    EXPECT_TRUE(p.fullscreen);
    EXPECT_FLOAT_EQ(p.musicVolume, 0.4f);
    EXPECT_FLOAT_EQ(p.soundVolume, 1.0f);
    EXPECT_EQ(p.minigameLevels, (std::vector<int32_t>{0, 0, 0, 0, 0}));
    EXPECT_EQ(p.minigameOrder.size(), 74u);
    EXPECT_TRUE(p.currentPicture.country.empty());
}

TEST_F(SettingsTest, CreatingAnExistingNameReplacesThatPlayersProgress) {
    settings().createUser(u"Ann");
    settings().getCurrentUser().money = 500;
    settings().getCurrentUser().shownTutorials = {1, 2};
    settings().createUser(u"Bob");
    settings().createUser(u"Ann");
    EXPECT_EQ(store().profiles.size(), 2u);
    EXPECT_EQ(settings().getCurrentUser().money, 0);
    EXPECT_TRUE(settings().getCurrentUser().shownTutorials.empty());
}

TEST_F(SettingsTest, TheMinigameOrderHoldsEachKindsLevelsInOrder) {
    std::srand(3);
    std::vector<MinigameLevel> order;
    settings().initMinigameOrder(order);
    ASSERT_EQ(order.size(), 74u);
    std::array<int32_t, kMinigameKindCount> next{};
    for (const MinigameLevel& entry : order) {
        ASSERT_GE(entry.kind, 0);
        ASSERT_LT(entry.kind, kMinigameKindCount);
        EXPECT_EQ(entry.level, next[static_cast<size_t>(entry.kind)]++);
    }
    EXPECT_EQ(next, (std::array<int32_t, kMinigameKindCount>{8, 8, 8, 0, 50}));
    // Shuffled: not all of one kind first.
    EXPECT_FALSE(order.front().kind == 0 && order[7].kind == 0 && order[8].kind == 1);
}

TEST_F(SettingsTest, TheCurrentUserIsInsertedWithTheConstructorsValuesWhenMissing) {
    store().currentUserName = u"Nobody";
    const Profile& p = settings().getCurrentUser();
    EXPECT_EQ(p, Profile{});
    EXPECT_EQ(p.storyLevel, 0);
    EXPECT_FALSE(p.fullscreen);
    EXPECT_EQ(store().profiles.count(u"Nobody"), 1u);
}

TEST_F(SettingsTest, DeleteUserRemovesNamedPlayersOnly) {
    settings().createUser(u"");
    settings().createUser(u"Ann");
    settings().createUser(u"Bob");
    EXPECT_FALSE(settings().deleteUser(u""));
    EXPECT_FALSE(settings().deleteUser(u"Carl"));
    EXPECT_TRUE(settings().deleteUser(u"Bob"));
    EXPECT_FALSE(settings().userExists(u"Bob"));
    EXPECT_EQ(store().currentUserName, u"Bob");
    EXPECT_EQ(store().profiles.size(), 2u);
    // The current name now names nobody: the next lookup makes a blank profile under it.
    EXPECT_EQ(settings().getCurrentUser().storyLevel, 0);
    EXPECT_TRUE(settings().userExists(u"Bob"));
}

TEST_F(SettingsTest, UserNamesLeaveOutTheEmptyNameAndSortByCodeUnits) {
    for (const char16_t* name : {u"bob", u"", u"Ann", u"\u00C9mile", u"Zed"}) {
        settings().createUser(name);
    }
    std::vector<std::u16string> names = {u"kept"};
    settings().getUserNames(names, true);
    EXPECT_EQ(names, (std::vector<std::u16string>{u"kept", u"Ann", u"Zed", u"bob", u"\u00C9mile"}));
    std::vector<std::u16string> unsorted;
    settings().getUserNames(unsorted, false);
    EXPECT_EQ(unsorted.size(), 4u);
    EXPECT_TRUE(settings().userExists(u""));
    EXPECT_FALSE(settings().userExists(u"ann"));
}

TEST_F(SettingsTest, EnsureDefaultUserOnlyFillsAnEmptyStore) {
    settings().ensureDefaultUser();
    ASSERT_EQ(store().profiles.size(), 1u);
    EXPECT_TRUE(store().currentUserName.empty());
    EXPECT_EQ(settings().getCurrentUser().storyLevel, -1);

    savetest::resetGameState();
    settings().createUser(u"Ann");
    settings().ensureDefaultUser();
    EXPECT_EQ(store().profiles.size(), 1u);
    EXPECT_EQ(store().currentUserName, u"Ann");
}

TEST_F(SettingsTest, ShownListsAndEvidence) {
    settings().createUser(u"Ann");
    Profile& p = settings().getCurrentUser();
    p.shownTutorials = {3, 666};
    EXPECT_TRUE(settings().isTutorialShown(666));
    EXPECT_FALSE(settings().isTutorialShown(4));
    p.shownChats = {2};
    EXPECT_FALSE(settings().isMapChatShown(2));
    p.shownChats = {2, 1};
    EXPECT_TRUE(settings().isMapChatShown(0));

    EXPECT_FALSE(settings().addEvidence(""));
    EXPECT_TRUE(settings().addEvidence("letter"));
    EXPECT_FALSE(settings().addEvidence("letter"));
    EXPECT_EQ(p.newestEvidence, "letter");
    EXPECT_EQ(p.evidence.entries.at("letter"), (EvidenceEntry{"letter", 1}));
}

TEST_F(SettingsTest, DebugUnlockAllOpensEverything) {
    settings().createUser(u"Ann");
    Profile& p = settings().getCurrentUser();
    p.world.countries["USA"] = CountryProgress{"", 0, "USA", 0, 3};
    p.world.countries["Spain"] = CountryProgress{"", 0, "Spain", 0, -1};
    for (const auto& [path, state] : std::vector<std::pair<std::string, int32_t>>{{"a", -1}, {"b", 4}}) {
        PictureProgress record;
        record.path = path;
        record.state = state;
        record.finished = state > 0;
        p.world.pictures[path] = record;
    }
    settings().debugUnlockAll();
    EXPECT_EQ(p.world.countries.at("USA").state, 2);
    EXPECT_EQ(p.world.countries.at("Spain").state, 2);
    EXPECT_EQ(p.world.pictures.at("a").state, 0);
    EXPECT_EQ(p.world.pictures.at("b").state, 0);
    EXPECT_EQ(p.currentPicture.country, "USA");
    EXPECT_EQ(p.storyLevel, 5);
    p.storyLevel = 9;
    settings().debugUnlockAll();
    EXPECT_EQ(p.storyLevel, 9);
}

TEST_F(SettingsTest, FontSceneAndReturnPaths) {
    EXPECT_EQ(settings().getFontPath("ArialBold"), "fonts/Arial.ttf");
    EXPECT_EQ(settings().getFontPath("Arial"), "fonts/Arial.ttf");
    EXPECT_EQ(settings().getFontPath("Serif"), "fonts/Serif.ttf");
    EXPECT_EQ(settings().getScenePath("USA/picture_1"), "Scenes/USA/picture_1");
    EXPECT_EQ(settings().formatScenePath("demo"), "Scenes/demo");
    EXPECT_EQ(settings().getReturnScreen(), "");
    settings().setReturnScreen("gallery");
    EXPECT_EQ(settings().getReturnScreen(), "gallery");
}

// Without a desktop view (tools, these tests) the choice is still recorded in both places.
TEST_F(SettingsTest, FullScreenChoicesAreRecordedInTheServiceAndTheProfile) {
    settings().createUser(u"Ann");
    Profile& ann = settings().getCurrentUser();
    ann.fullscreen = false;
    settings().applyProfileSettings();
    EXPECT_FALSE(settings().isFullscreen());

    settings().toggleFullscreen();
    EXPECT_TRUE(ann.fullscreen);
    EXPECT_TRUE(settings().isFullscreen());
    settings().toggleFullscreen();
    EXPECT_FALSE(ann.fullscreen);
    EXPECT_FALSE(settings().isFullscreen());
    EXPECT_FALSE(settings().setFullscreen(true));  // no view changed
    EXPECT_TRUE(ann.fullscreen);
}

// A windowed player hands over to a new one made from the chooser: the new player's full-screen
// choice is applied with it, so the first Alt+Enter switches the view instead of doing nothing.
TEST_F(SettingsTest, ANewPlayerFromTheChooserPlaysWithItsOwnOptions) {
    settings().createUser(u"Ann");
    settings().getCurrentUser().fullscreen = false;
    settings().applyProfileSettings();

    settings().createUserAndStart(u"Bob");
    EXPECT_EQ(store().currentUserName, u"Bob");
    EXPECT_TRUE(settings().getCurrentUser().fullscreen);
    EXPECT_TRUE(settings().isFullscreen());
    settings().toggleFullscreen();
    EXPECT_FALSE(settings().getCurrentUser().fullscreen);
    EXPECT_FALSE(settings().isFullscreen());
    EXPECT_FALSE(store().profiles.at(u"Ann").fullscreen);
}

}  // namespace

namespace {

class SystemLanguageApp : public cocos2d::Application {
public:
    bool applicationDidFinishLaunching() override { return false; }
};

using testing::ScopedEnv;

// A real resource root and a real XDG data folder, both temporary.
class SettingsFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        savetest::resetGameState();
        cocos2d::FileUtils::destroyInstance();
        cocos2d::FileUtils::getInstance()->setResourceRoot(resources.path());
    }
    void TearDown() override {
        savetest::resetGameState();
        cocos2d::FileUtils::destroyInstance();
    }

    Settings& settings() { return Settings::getInstance(); }

    savetest::TempFolder resources;
    savetest::TempFolder data;
    ScopedEnv xdg{"XDG_DATA_HOME", data.path().c_str()};
    ScopedEnv lcAll{"LC_ALL", nullptr};
    ScopedEnv lcMessages{"LC_MESSAGES", nullptr};
    ScopedEnv lang{"LANG", "fr_FR.UTF-8"};
    SystemLanguageApp application;
};

TEST_F(SettingsFilesTest, TheLangFileNamesTheLanguageOnlyWhenItIsExactlyTwoBytes) {
    struct Case {
        const char* content;  // null: no file
        const char* expected;
        float scale;
        const char* line;  // the one line a file that names no language gives; null: none
    };
    const char* noCode =
        "Settings: the language file \"lang\" holds 3 characters, not a two-letter code; "
        "the system language \"fr\" is used";
    const std::vector<Case> cases = {
        {"de", "de", 0.9f, nullptr},
        {"en", "en", 1.0f, nullptr},
        {"de\n", "fr", 0.9f, noCode},
        {"deu", "fr", 0.9f, noCode},
        {"", "fr", 0.9f,
         "Settings: the language file \"lang\" is empty or unreadable; the system language \"fr\" is used"},
        {nullptr, "fr", 0.9f, nullptr},  // the file is optional
        {"EN", "EN", 0.9f, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content != nullptr ? c.content : "(no file)");
        Settings::destroyInstance();
        std::filesystem::remove(resources.file("lang"));
        if (c.content != nullptr) {
            savetest::writeFileText(resources.file("lang"), c.content);
        }
        cocos2d::FileUtils::getInstance()->purgeCachedEntries();
        savetest::LogCapture log;
        EXPECT_STREQ(settings().getLanguage(), c.expected);
        EXPECT_FLOAT_EQ(settings().getTextScale(), c.scale);
        EXPECT_EQ(log.lines,
                  c.line != nullptr ? std::vector<std::string>{c.line} : std::vector<std::string>{});
    }
}

TEST_F(SettingsFilesTest, AnUnreadableLangFileIsToldAndTheSystemLanguageUsed) {
    savetest::writeFileText(resources.file("lang"), "de");
    std::filesystem::permissions(resources.file("lang"), std::filesystem::perms::none);
    const int result = savetest::runAsPlayer([this] {
        savetest::LogCapture log;
        const std::string language = settings().getLanguage();
        const bool told = log.contains(
            "Settings: the language file \"lang\" is empty or unreadable; the system language \"fr\" is "
            "used");
        return language == "fr" && told ? 0 : 1;
    });
    EXPECT_EQ(result, 0);
}

TEST_F(SettingsFilesTest, LanguageAndTextScaleStayFixedAfterTheirFirstUse) {
    savetest::writeFileText(resources.file("lang"), "en");
    EXPECT_STREQ(settings().getLanguage(), "en");
    EXPECT_FLOAT_EQ(settings().getTextScale(), 1.0f);
    savetest::writeFileText(resources.file("lang"), "de");
    cocos2d::FileUtils::getInstance()->purgeCachedEntries();
    EXPECT_STREQ(settings().getLanguage(), "en");
    EXPECT_FLOAT_EQ(settings().getTextScale(), 1.0f);
}

TEST_F(SettingsFilesTest, SelectingAnotherPlayerSavesAndTheSameOrAnUnknownOneDoesNothing) {
    const std::string folder = settings().getWritablePath();
    ASSERT_EQ(folder.rfind(data.path(), 0), 0u) << folder;
    ASSERT_EQ(folder.back(), '/');
    settings().createUser(u"Ann");
    settings().getCurrentUser().money = 70;
    settings().createUser(u"Bob");

    EXPECT_FALSE(settings().selectUser(u"Bob", false));
    EXPECT_FALSE(settings().selectUser(u"Carl", false));
    EXPECT_FALSE(std::filesystem::exists(folder + "UserData.bin"));
    EXPECT_EQ(UserData::getInstance().currentUserName, u"Bob");

    EXPECT_TRUE(settings().selectUser(u"Ann", false));
    EXPECT_EQ(settings().getCurrentUser().money, 70);
    const UserData saved = UserData::getInstance();
    savetest::resetGameState();
    UserDataIO::loadUserData();
    EXPECT_EQ(UserData::getInstance(), saved);
    EXPECT_EQ(UserData::getInstance().currentUserName, u"Ann");
}

TEST_F(SettingsFilesTest, SelectingWithApplyTakesOnThePlayersOptions) {
    settings().createUser(u"Ann");
    settings().getCurrentUser().fullscreen = false;
    settings().createUser(u"Bob");
    settings().applyProfileSettings();
    ASSERT_TRUE(settings().isFullscreen());

    EXPECT_TRUE(settings().selectUser(u"Ann", true));
    EXPECT_FALSE(settings().isFullscreen());
    EXPECT_TRUE(settings().selectUser(u"Bob", false));
    EXPECT_FALSE(settings().isFullscreen());  // not applied
}

TEST_F(SettingsFilesTest, ANewProfileGetsTheContentPacks) {
    std::filesystem::create_directories(resources.file("Scenes"));
    for (const char* name : {"packs.xml", "pack.xml", "texts-en.xml"}) {
        std::filesystem::copy_file(savetest::dataPath(std::string("packs/basic/") + name),
                                   resources.file(std::string("Scenes/") + name));
    }
    settings().createUser(u"Ann");
    const Profile& ann = settings().getCurrentUser();
    ASSERT_EQ(ann.packs.size(), 1u);
    EXPECT_EQ(ann.packs[0].packVersion, "7");
    EXPECT_EQ(ann.world.countries.size(), 2u);
    EXPECT_EQ(ann.world.pictures.size(), 3u);
    for (const auto& [path, picture] : ann.world.pictures) {
        EXPECT_EQ(picture.reservedRolls.size(), 1u) << path;
    }

    // From the chooser the packs are read once more and find the pack installed.
    settings().createUserAndStart(u"Bob");
    const Profile& bob = settings().getCurrentUser();
    EXPECT_EQ(bob.packs.size(), 1u);
    for (const auto& [path, picture] : bob.world.pictures) {
        EXPECT_EQ(picture.reservedRolls.size(), 1u) << path;
    }
}

// A game update brings version 8 of the pack: the player current at launch gets it then, another
// player when selected, with the progress each had.
TEST_F(SettingsFilesTest, APlayerSelectedAfterAPackUpdateGetsTheNewVersion) {
    const auto installPack = [&](const char* fixture) {
        std::filesystem::create_directories(resources.file("Scenes"));
        for (const char* name : {"packs.xml", "pack.xml"}) {
            std::filesystem::copy_file(savetest::dataPath(std::string("packs/") + fixture + "/" + name),
                                       resources.file(std::string("Scenes/") + name),
                                       std::filesystem::copy_options::overwrite_existing);
        }
        cocos2d::FileUtils::getInstance()->purgeCachedEntries();
    };
    installPack("basic");
    settings().createUser(u"Ann");
    settings().getCurrentUser().world.pictures.at("Dusk").state = 2;
    settings().createUser(u"Bob");
    settings().save();

    installPack("newversion");
    savetest::resetGameState();
    UserDataIO::loadUserData();
    DataPackReader::getInstance().load("Scenes", settings().getLanguage(), settings().getCurrentUser());
    ASSERT_EQ(settings().getCurrentUser().name, u"Bob");
    EXPECT_EQ(settings().getCurrentUser().packs.size(), 2u);
    EXPECT_EQ(UserData::getInstance().profiles.at(u"Ann").packs.size(), 1u);

    ASSERT_TRUE(settings().selectUser(u"Ann", false));
    const Profile& ann = settings().getCurrentUser();
    ASSERT_EQ(ann.packs.size(), 2u);
    EXPECT_EQ(ann.packs[1].packVersion, "8");
    EXPECT_EQ(ann.world.pictures.at("Dusk").state, 2);
    EXPECT_EQ(ann.world.pictures.at("Night").state, -1);
    ASSERT_NE(findPackPicture(PictureKey{"Beta", "Night"}), nullptr);
    EXPECT_EQ(getCollectionPrice("Beta"), 8921);

    // The selection saved the new version with the player.
    savetest::resetGameState();
    UserDataIO::loadUserData();
    EXPECT_EQ(UserData::getInstance().profiles.at(u"Ann").packs.size(), 2u);

    // Selecting again finds the version installed and adds nothing.
    ASSERT_TRUE(settings().selectUser(u"Bob", false));
    ASSERT_TRUE(settings().selectUser(u"Ann", false));
    EXPECT_EQ(settings().getCurrentUser().packs.size(), 2u);
}

// The exported wallpaper goes into the XDG pictures folder, made when missing, else into "Wallpaper/"
// under the current directory, made when missing too.
TEST_F(SettingsFilesTest, AWallpaperIsCopiedToThePicturesFolderElseIntoTheWallpaperFolder) {
    savetest::TempFolder config;
    savetest::TempFolder pictures;
    savetest::TempFolder workingFolder;
    savetest::TempFolder exports;
    ScopedEnv xdgConfig{"XDG_CONFIG_HOME", config.path().c_str()};
    savetest::writeFileText(exports.file("Kestrova_Dawn.jpg"), "jpeg bytes");
    const std::filesystem::path previousFolder = std::filesystem::current_path();
    std::filesystem::current_path(workingFolder.path());

    const auto usePictures = [&](const std::string& folder) {
        savetest::writeFileText(config.file("user-dirs.dirs"), "XDG_PICTURES_DIR=\"" + folder + "\"\n");
    };
    const std::u16string exportFolder = widen(exports.path());

    usePictures(pictures.path());
    std::u16string copy = settings().copyToPictures(u"Kestrova_Dawn.jpg", exportFolder);
    EXPECT_EQ(copy, widen(pictures.path() + "Kestrova_Dawn.jpg"));
    EXPECT_EQ(savetest::readFileText(narrow(copy)), "jpeg bytes");

    // A fresh account without a pictures folder gets one.
    usePictures(pictures.path() + "missing");
    copy = settings().copyToPictures(u"Kestrova_Dawn.jpg", exportFolder);
    EXPECT_EQ(copy, widen(pictures.path() + "missing/Kestrova_Dawn.jpg"));
    EXPECT_EQ(savetest::readFileText(narrow(copy)), "jpeg bytes");

    // A pictures folder that cannot be made, for a file stands in its place.
    savetest::writeFileText(pictures.file("blocked"), "not a folder");
    usePictures(pictures.path() + "blocked");
    copy = settings().copyToPictures(u"Kestrova_Dawn.jpg", exportFolder);
    EXPECT_EQ(copy, u"Wallpaper/Kestrova_Dawn.jpg");
    EXPECT_EQ(savetest::readFileText(workingFolder.file("Wallpaper/Kestrova_Dawn.jpg")), "jpeg bytes");
    EXPECT_EQ(savetest::readFileText(pictures.file("blocked")), "not a folder");

    EXPECT_EQ(settings().copyToPictures(u"NoSuchExport.jpg", exportFolder), u"");
    std::filesystem::current_path(previousFolder);
}

TEST_F(SettingsFilesTest, SaveWritesBothCopiesIntoTheWritableFolder) {
    settings().createUser(u"Ann");
    settings().save();
    const std::string folder = settings().getWritablePath();
    for (const char* name :
         {"UserData.bin", "CheckSum.cs", "UserDataSecondary.bin", "CheckSumSecondary.cs"}) {
        EXPECT_TRUE(std::filesystem::is_regular_file(folder + name)) << name;
    }
}

}  // namespace
