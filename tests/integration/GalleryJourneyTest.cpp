#include <gtest/gtest.h>

#include <string>

#include "DataPackReader.h"
#include "Driver.h"
#include "ScreenTestSupport.h"
#include "CountryProgress.h"
#include "EvidenceBook.h"
#include "GalleryTestStage.h"
#include "Settings.h"
#include "TextTable.h"
#include "UserData.h"
#include "UserDataIO.h"
#include "engine/base/Director.h"
#include "engine/platform/FileUtils.h"
#include "engine/scene/Scene.h"
#include "engine/scene/TransitionFade.h"
#include "nodes/CountryListItemNode.h"
#include "nodes/OptionsScreen.h"
#include "ui/CabinetScreen.h"
#include "ui/Controls/ScrollViewSnap.h"
#include "ui/CreditsScreen.h"
#include "ui/GalleryScreen.h"
#include "ui/MapScreen.h"
#include "ui/PopupScreenBase.h"

// A player walks the museum's screens with real taps: from the map into a country's gallery, to the
// cabinet and back, and through the options to the credits and back again. Every hop is a real fade
// between real screens; what the walk leaves in the save is read back from the file.
namespace {

using screentest::childOf;

using cocos2d::Director;
using cocos2d::Node;
using cocos2d::Vec2;

constexpr int kFadeFrames = 72;

class GalleryJourneyTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gallerytest::useResources("journey"); }

    void SetUp() override {
        TextTable::getInstance().loadTexts("Scenes", "en", false);
        Profile& player = gallerytest::freshPlayer("USA");
        DataPackReader::getInstance().load("Scenes", "en", player);
        player.shownTutorials.push_back(MapScreen::kMapTutorial);
        player.currentPicture = PictureKey{"USA", "HarborDawn"};
        gallerytest::country("USA").state = static_cast<int32_t>(CountryState::Opened);
        player.evidence.entries["ticket"] = {"ticket", static_cast<int32_t>(EvidenceState::New)};
    }

    void TearDown() override {
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string("GalleryJourney_") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png"));
        }
        gallerytest::openScene();
        driver().stepFrames(1);
        Settings::destroyInstance();
    }

    static testing::Driver& driver() { return testing::Driver::get(); }

    template <typename T>
    static T* runningScreen() {
        return childOf<T>(Director::getInstance()->getRunningScene());
    }

    // A tap in the middle of a node, where the player sees it, then the fade that may follow.
    static void tapOn(Node* node, int frames) {
        ASSERT_NE(node, nullptr);
        const cocos2d::Size size = node->getContentSize();
        driver().tap(node->convertToWorldSpace(Vec2(size.width / 2, size.height / 2)));
        driver().stepFrames(frames);
    }

    static MapScreen* openMap() {
        cocos2d::Scene* scene = cocos2d::Scene::create();
        MapScreen* map = MapScreen::create();
        if (map == nullptr) {
            return nullptr;
        }
        scene->addChild(map);
        Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(1.0f, scene));
        driver().stepFrames(kFadeFrames);
        return map;
    }

    static GalleryScreen* fromMapIntoTheGallery() {
        MapScreen* map = openMap();
        EXPECT_NE(map, nullptr);
        if (map == nullptr) {
            return nullptr;
        }
        Node* usa = map->getCountryList()->getCurrentItem();
        EXPECT_NE(usa, nullptr);
        if (usa == nullptr) {
            return nullptr;
        }
        EXPECT_EQ(usa->getName(), "USA");
        driver().tap(usa->getParent()->convertToWorldSpace(usa->getPosition()));
        driver().stepFrames(kFadeFrames);
        return runningScreen<GalleryScreen>();
    }
};

TEST_F(GalleryJourneyTest, FromTheMapIntoTheGalleryToTheCabinetAndBackSavesWhatWasSeen) {
    GalleryScreen* gallery = fromMapIntoTheGallery();
    ASSERT_NE(gallery, nullptr);
    ASSERT_FALSE(gallery->getPictureList()->getItems().empty());
    EXPECT_EQ(gallery->getPictureList()->getItems()[0]->getName(), "HarborDawn");
    EXPECT_FALSE(gallery->isInputLocked());

    tapOn(gallery->getUiRoot()->getChildByName("Cabinet"), kFadeFrames);
    EXPECT_EQ(runningScreen<GalleryScreen>(), nullptr);
    CabinetScreen* cabinet = runningScreen<CabinetScreen>();
    ASSERT_NE(cabinet, nullptr);
    EXPECT_FALSE(cabinet->isCageDue());
    // The new evidence is greeted and so seen.
    ASSERT_EQ(cabinet->getEvidences().size(), 1u);
    driver().stepFrames(120);
    EXPECT_EQ(Settings::getInstance().getCurrentUser().evidence.entries["ticket"].state,
              static_cast<int32_t>(EvidenceState::Seen));

    tapOn(cabinet->getUi()->getChildByName("Menu"), kFadeFrames);
    EXPECT_EQ(runningScreen<CabinetScreen>(), nullptr);
    gallery = runningScreen<GalleryScreen>();
    ASSERT_NE(gallery, nullptr);
    EXPECT_EQ(gallery->getPictureList()->getItems()[0]->getName(), "HarborDawn");
    const int32_t listPosition = gallerytest::country("USA").listPosition;

    // Leaving the gallery saves: the file holds where the player stood and what the cabinet showed.
    gallerytest::openScene();
    driver().stepFrames(1);
    UserData::getInstance() = UserData{};
    UserDataIO::loadUserData(cocos2d::FileUtils::getInstance()->getWritablePath());
    const Profile& saved = Settings::getInstance().getCurrentUser();
    EXPECT_EQ(saved.name, u"Tester");
    EXPECT_EQ(saved.currentPicture.country, "USA");
    ASSERT_EQ(saved.evidence.entries.count("ticket"), 1u);
    EXPECT_EQ(saved.evidence.entries.at("ticket").state, static_cast<int32_t>(EvidenceState::Seen));
    EXPECT_EQ(saved.world.countries.at("USA").listPosition, listPosition);
}

TEST_F(GalleryJourneyTest, FromTheGalleryThroughTheOptionsToTheCreditsAndBackToTheGallery) {
    GalleryScreen* gallery = fromMapIntoTheGallery();
    ASSERT_NE(gallery, nullptr);

    tapOn(gallery->getUiRoot()->getChildByName("Options"), 20);
    auto* options = childOf<OptionsScreen>(childOf<PopupScreenBase>(gallery));
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(Settings::getInstance().getReturnScreen(), "gallery");

    tapOn(options->getChildByName("credits"), 40);
    ASSERT_NE(runningScreen<CreditsScreen>(), nullptr);
    EXPECT_EQ(Director::getInstance()->getSceneCount(), 1);

    // Any touch leaves the credits, for the gallery.
    driver().tap(Vec2(640, 405));
    driver().stepFrames(kFadeFrames);
    EXPECT_EQ(runningScreen<CreditsScreen>(), nullptr);
    gallery = runningScreen<GalleryScreen>();
    ASSERT_NE(gallery, nullptr);
    EXPECT_EQ(Director::getInstance()->getSceneCount(), 1);
    EXPECT_FALSE(gallery->isInputLocked());
}

}  // namespace
