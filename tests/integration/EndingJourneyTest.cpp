#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "AppDelegate.h"
#include "CountryProgress.h"
#include "DataPackReader.h"
#include "Driver.h"
#include "RunningScreen.h"
#include "ScreenTestSupport.h"
#include "EvidenceBook.h"
#include "GameSound.h"
#include "PictureProgress.h"
#include "Profile.h"
#include "ProgressQueries.h"
#include "Settings.h"
#include "TextTable.h"
#include "UserData.h"
#include "UserDataIO.h"
#include "engine/base/Director.h"
#include "engine/events/EventKeyboard.h"
#include "engine/platform/Application.h"
#include "engine/platform/FileUtils.h"
#include "engine/scene/Scene.h"
#include "nodes/MuseumStatistic.h"
#include "ui/CabinetScreen.h"
#include "ui/ChatScreen.h"
#include "ui/Controls/ScrollViewSnap.h"
#include "ui/CreditsScreen.h"
#include "ui/EvidenceAddingScreen.h"
#include "ui/GalleryScreen.h"
#include "ui/IntroScene.h"
#include "ui/MapScreen.h"
#include "ui/PopupScreenBase.h"
#include "ui/TopLayer.h"

// The end of the game, played on the real launched game from a save near the end: the last evidence
// popup or the last museum purchase, the cabinet with the cage, the closing slideshow and the credits.
// A player who quits (Esc, then Yes, which saves) in the middle of the last evidence popup or of the
// curator's last chat still gets the ending the next time the gallery is entered, and only once.
namespace {

using screentest::childOf;

namespace fs = std::filesystem;
using cocos2d::Director;
using cocos2d::Node;
using cocos2d::Vec2;
using Key = cocos2d::EventKeyboard::KeyCode;
using testing::runningScreen;
using testing::stepUntilRunning;

const char* const kEvidence[] = {"ticket", "letter", "key",    "compass", "brooch",  "photo", "map",
                                 "seal",   "ring",   "glove",  "button",  "feather", "stamp"};

testing::Driver& driver() {
    return testing::Driver::get();
}

// Where the player stands when the save is written.
enum class Stage {
    LastEvidenceAhead,  // the last level is played: its evidence waits for the gallery
    LastPurchaseAhead,  // every evidence is found and the last collection is still to be bought
};

void tapOn(Node* node) {
    ASSERT_NE(node, nullptr);
    const cocos2d::Size size = node->getContentSize();
    driver().tap(node->convertToWorldSpace(Vec2(size.width / 2, size.height / 2)));
    driver().stepFrames(1);
}

class EndingJourneyTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::path(testing::Driver::scratchPath("ending-journey"));
        fs::remove_all(root);
        fs::create_directories(root / "data");
        ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
        cocos2d::Application::setAppName("Kestrova");
        useGameResources();
    }

    void TearDown() override {
        if (HasFailure() && driver().isOpen()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string("EndingJourney_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                ".png"));
        }
        Director::destroyInstance();
        app.reset();
        Settings::destroyInstance();
    }

    static void useGameResources() {
        cocos2d::FileUtils::destroyInstance();
        cocos2d::FileUtils::getInstance()->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
    }

    // A save as the game leaves it near the end, written by the game's own code.
    static void writeSave(Stage stage) {
        UserData::getInstance() = UserData{};
        Settings::destroyInstance();
        cocos2d::FileUtils::getInstance()->setSearchPaths({"src", "res"});
        TextTable::getInstance().loadTexts("texts", "en", true);
        Settings::getInstance().createUser(u"Curator");
        Profile& player = Settings::getInstance().getCurrentUser();
        DataPackReader::getInstance().load("Scenes", "en", player);
        player.fullscreen = false;
        player.customCursor = false;
        player.storyLevel = 14;
        player.shownTutorials = {11, 12, 13, 14, 15, 16, MapScreen::kMapTutorial};
        player.shownChats = {1};
        for (auto& [path, country] : player.world.countries) {
            country.state = static_cast<int32_t>(CountryState::Completed);
            country.collectionPrice = getCollectionPrice(path);
        }
        for (auto& [path, picture] : player.world.pictures) {
            picture.state = 1;
            picture.finished = true;
        }
        player.world.lastUnlockedPicture.clear();
        for (const char* item : kEvidence) {
            player.evidence.entries[item] = {item, static_cast<int32_t>(EvidenceState::Seen)};
        }
        player.currentPicture = PictureKey{"Austria", "AlpineLake"};
        player.progressIndex = 7;
        if (stage == Stage::LastEvidenceAhead) {
            // As the last level's result popup leaves it.
            player.evidence.entries.erase("stamp");
            Settings::getInstance().addEvidence("stamp");
        } else {
            CountryProgress& austria = player.world.countries["Austria"];
            austria.state = static_cast<int32_t>(CountryState::Opened);
            player.progressIndex = 6;
            player.money = austria.collectionPrice + 500;
            player.collectionGoal = austria.collectionPrice;
        }
        ASSERT_TRUE(UserDataIO::saveUserData());
    }

    // What the file holds, read back into a fresh store.
    static Profile readSave() {
        UserData::getInstance() = UserData{};
        UserDataIO::loadUserData(cocos2d::FileUtils::getInstance()->getWritablePath());
        const auto it = UserData::getInstance().profiles.find(u"Curator");
        return it != UserData::getInstance().profiles.end() ? it->second : Profile{};
    }

    // The game started as the binary starts it, on the save in the data folder.
    void launch() {
        Director::destroyInstance();
        app.reset();
        UserData::getInstance() = UserData{};
        Settings::destroyInstance();
        TextTable::destroyInstance();
        GameSound::destroyInstance();
        useGameResources();
        app = std::make_unique<AppDelegate>();
        ASSERT_TRUE(driver().launch(*app));
    }

    // From the map, a tap on the current country's card, which fades to its gallery.
    static bool tapTheCountryOnTheMap() {
        MapScreen* map = stepUntilRunning<MapScreen>(30.0f);
        EXPECT_NE(map, nullptr) << "the launch leads to the map";
        if (map == nullptr) {
            return false;
        }
        driver().stepFrames(30);
        Node* card = map->getCountryList()->getCurrentItem();
        EXPECT_NE(card, nullptr);
        if (card == nullptr) {
            return false;
        }
        EXPECT_EQ(card->getName(), "Austria");
        driver().tap(card->getParent()->convertToWorldSpace(card->getPosition()));
        return true;
    }

    static GalleryScreen* intoTheGallery() {
        return tapTheCountryOnTheMap() ? stepUntilRunning<GalleryScreen>(3.0f) : nullptr;
    }

    // Buys the last collection in the museum; the curator's chat that follows, or null.
    static ChatScreen* buyTheLastCollection(GalleryScreen* gallery) {
        tapOn(gallery->getUiRoot()->getChildByName("Statistics")->getChildByName("btn"));
        driver().stepFrames(20);
        auto* statistic = childOf<MuseumStatistic>(childOf<PopupScreenBase>(gallery));
        EXPECT_NE(statistic, nullptr);
        if (statistic == nullptr) {
            return nullptr;
        }
        tapOn(statistic->getChildByName("pay"));
        driver().stepFrames(20);
        return childOf<ChatScreen>(gallery->getUiRoot()->getChildByName("chat_place"));
    }

    // Esc, then Yes in the confirmation: the game saves and ends.
    static void quitWithEscape() {
        driver().key(Key::KEY_ESCAPE, true);
        driver().key(Key::KEY_ESCAPE, false);
        driver().stepFrames(2);
        auto* top = dynamic_cast<TopLayer*>(Settings::getInstance().getTopLayer());
        ASSERT_NE(top, nullptr);
        Node* window = nullptr;
        for (Node* child : top->getConfirmationLayer()->getChildren()) {
            if (child->getChildByName("Yes") != nullptr) {
                window = child;
            }
        }
        ASSERT_NE(window, nullptr) << "Esc asks whether to quit";
        tapOn(window->getChildByName("Yes"));
        driver().stepFrames(1);
        EXPECT_TRUE(Director::getInstance()->hasEnded());
    }

    // From the gallery on: the cabinet with the cage, the closing slideshow, the credits and back to a
    // gallery that does not lead into the ending again.
    static void expectTheEndingFromTheGallery() {
        // The gallery fades in, then at once on to the cabinet.
        CabinetScreen* cabinet = stepUntilRunning<CabinetScreen>(5.0f);
        ASSERT_NE(cabinet, nullptr) << "the gallery leads into the cabinet";
        EXPECT_TRUE(cabinet->isCageDue());
        EXPECT_TRUE(Settings::getInstance().getCurrentUser().cageUnlocked);
        EXPECT_FALSE(Settings::getInstance().getCurrentUser().isEndingPlayed());

        IntroScene* outro = stepUntilRunning<IntroScene>(8.0f);
        ASSERT_NE(outro, nullptr) << "the cage leads into the closing slideshow";
        EXPECT_EQ(outro->getFrameCount(), 1);
        EXPECT_TRUE(Settings::getInstance().getCurrentUser().isEndingPlayed());

        ASSERT_NE(stepUntilRunning<CreditsScreen>(12.0f), nullptr) << "the credits follow the slideshow";
        driver().stepFrames(90);
        driver().tap(Vec2(640, 405));
        GalleryScreen* gallery = stepUntilRunning<GalleryScreen>(3.0f);
        ASSERT_NE(gallery, nullptr) << "the credits end in the gallery";
        driver().stepFrames(120);
        EXPECT_EQ(runningScreen<GalleryScreen>(), gallery) << "the ending plays once";
        EXPECT_FALSE(gallery->isInputLocked());
        EXPECT_FALSE(GalleryScreen::isEndingDue());
    }

    // After the ending the save holds it as played: the cage stays, nothing leads into it again.
    void expectTheEndingSavedAsPlayed() {
        quitWithEscape();
        const Profile saved = readSave();
        EXPECT_TRUE(saved.cageUnlocked);
        EXPECT_TRUE(saved.isEndingPlayed());
        EXPECT_EQ(saved.evidence.entries.size(), std::size(kEvidence));
    }

    fs::path root;
    std::unique_ptr<AppDelegate> app;
};

TEST_F(EndingJourneyTest, TheLastEvidencePopupLeadsIntoTheCabinetTheCageAndTheClosingSlideshow) {
    writeSave(Stage::LastEvidenceAhead);
    launch();
    GalleryScreen* gallery = intoTheGallery();
    ASSERT_NE(gallery, nullptr);
    ASSERT_NE(childOf<EvidenceAddingScreen>(gallery), nullptr) << "the last evidence comes up";
    driver().stepFrames(185);
    driver().tap(Vec2(640, 300));
    expectTheEndingFromTheGallery();
    expectTheEndingSavedAsPlayed();
}

TEST_F(EndingJourneyTest, QuittingDuringTheLastEvidencePopupStillLeadsIntoTheEndingNextTime) {
    writeSave(Stage::LastEvidenceAhead);
    launch();
    GalleryScreen* gallery = intoTheGallery();
    ASSERT_NE(gallery, nullptr);
    ASSERT_NE(childOf<EvidenceAddingScreen>(gallery), nullptr);
    driver().stepFrames(60);
    quitWithEscape();
    {
        // The popup has shown the item (so it is no longer pending), but the cage never came.
        const Profile saved = readSave();
        EXPECT_TRUE(saved.newestEvidence.empty());
        EXPECT_FALSE(saved.cageUnlocked);
        EXPECT_FALSE(saved.isEndingPlayed());
    }

    launch();
    ASSERT_TRUE(tapTheCountryOnTheMap());
    expectTheEndingFromTheGallery();
    expectTheEndingSavedAsPlayed();
}

TEST_F(EndingJourneyTest, TheLastPurchaseAndTheCuratorsChatLeadIntoTheEnding) {
    writeSave(Stage::LastPurchaseAhead);
    launch();
    GalleryScreen* gallery = intoTheGallery();
    ASSERT_NE(gallery, nullptr);
    EXPECT_FALSE(gallery->isInputLocked());
    ASSERT_NE(buyTheLastCollection(gallery), nullptr) << "the curator speaks after the purchase";
    EXPECT_TRUE(Settings::getInstance().getCurrentUser().cageUnlocked);
    driver().stepFrames(130);
    driver().tap(Vec2(640, 405));
    expectTheEndingFromTheGallery();
    expectTheEndingSavedAsPlayed();
}

TEST_F(EndingJourneyTest, QuittingDuringTheCuratorsLastChatStillLeadsIntoTheEndingNextTime) {
    writeSave(Stage::LastPurchaseAhead);
    launch();
    GalleryScreen* gallery = intoTheGallery();
    ASSERT_NE(gallery, nullptr);
    ASSERT_NE(buyTheLastCollection(gallery), nullptr);
    quitWithEscape();
    {
        // The cage flag is saved, but the chat that would have opened the cabinet never closed.
        const Profile saved = readSave();
        EXPECT_TRUE(saved.cageUnlocked);
        EXPECT_EQ(saved.world.countries.at("Austria").state, static_cast<int32_t>(CountryState::Completed));
        EXPECT_FALSE(saved.isEndingPlayed());
    }

    launch();
    ASSERT_TRUE(tapTheCountryOnTheMap());
    expectTheEndingFromTheGallery();
    expectTheEndingSavedAsPlayed();
}

}  // namespace
