#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Driver.h"
#include "FrameWaits.h"
#include "ScreenTestSupport.h"
#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/platform/GL.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/TransitionFade.h"

#include "CountryProgress.h"
#include "DataPackReader.h"
#include "GameSound.h"
#include "Profile.h"
#include "ProgressQueries.h"
#include "Settings.h"
#include "TextTable.h"
#include "UserData.h"
#include "nodes/CountryListItemNode.h"
#include "ui/ChatScreen.h"
#include "ui/Controls/ScrollViewSnap.h"
#include "ui/FactoryClasses.h"
#include "ui/GalleryScreen.h"
#include "ui/LoadingScreen.h"
#include "ui/MapScreen.h"
#include "ui/NodeFromJson.h"
#include "ui/TutorialScreen.h"

namespace {

using cocos2d::Director;
using cocos2d::Vec2;

constexpr int kLocked = static_cast<int>(CountryState::Locked);
constexpr int kUnlocked = static_cast<int>(CountryState::Unlocked);
constexpr int kShown = static_cast<int>(CountryState::Shown);
constexpr int kOpened = static_cast<int>(CountryState::Opened);
constexpr int kCompleted = static_cast<int>(CountryState::Completed);

const std::vector<std::string> kCountriesInOrder = {"USA",     "UnitedKingdom", "France", "Netherlands",
                                                    "Ukraine", "Spain",         "Austria"};

// A player with the staged content pack, on the map as the other screens open it.
class MapScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        screentest::useStagedResources();
        screentest::loadEnglishTexts();
        TextTable::getInstance().loadTexts("Scenes", "en", false);
        registerFactoryClasses();
        // The map and the gallery it opens save into this process's own folder.
        ::setenv("XDG_DATA_HOME", testing::Driver::scratchPath("xdg-map").c_str(), 1);
        UserData::getInstance() = UserData{};
        GameSound::destroyInstance();
        Settings& settings = Settings::getInstance();
        settings.createUser(u"Ann");
        Profile& ann = settings.getCurrentUser();
        DataPackReader::getInstance().load("Scenes", "en", ann);
        ann.storyLevel = 0;
        ann.shownTutorials.push_back(MapScreen::kMapTutorial);
        ann.currentPicture = PictureKey{"USA", "HarborDawn"};
        setCountryState("USA", kOpened);
        Director::getInstance()->replaceScene(cocos2d::Scene::create());
        driver().stepFrames(70);
    }

    MapScreen* open() {
        cocos2d::Scene* scene = cocos2d::Scene::create();
        MapScreen* map = MapScreen::create();
        EXPECT_NE(map, nullptr);
        scene->addChild(map);
        Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(1.0f, scene));
        driver().stepFrames(70);
        return map;
    }

    static std::vector<CountryListItemNode*> items(MapScreen* map) {
        std::vector<CountryListItemNode*> out;
        for (cocos2d::Node* node : map->getCountryList()->getItems()) {
            out.push_back(dynamic_cast<CountryListItemNode*>(node));
        }
        return out;
    }

    static CountryListItemNode* item(MapScreen* map, const std::string& name) {
        for (CountryListItemNode* i : items(map)) {
            if (i != nullptr && i->getName() == name) {
                return i;
            }
        }
        return nullptr;
    }

    // The list position that centres an item, as the screen lays it out.
    static Vec2 centring(const CountryListItemNode* item) {
        const Vec2 c = visibleCenter();
        const Vec2 o = Director::getInstance()->getVisibleOrigin();
        return Vec2(c.x - item->getPositionX() - o.x, 0.0f);
    }

    template <typename T>
    static T* childOfType(cocos2d::Node* parent) {
        for (cocos2d::Node* child : parent->getChildren()) {
            if (auto* found = dynamic_cast<T*>(child)) {
                return found;
            }
        }
        return nullptr;
    }

    testing::Driver& driver() { return testing::Driver::get(); }
};

TEST_F(MapScreenTest, CountriesStandInUnlockOrderLockedOnesAsSilhouettesAndTheListStartsOnANewOne) {
    setCountryState("UnitedKingdom", kUnlocked);
    setCountryState("France", kUnlocked);
    setCountryState("Netherlands", kCompleted);
    MapScreen* map = open();

    std::vector<std::string> names;
    for (CountryListItemNode* i : items(map)) {
        ASSERT_NE(i, nullptr);
        names.push_back(i->getName());
    }
    EXPECT_EQ(names, kCountriesInOrder);

    // Both unlocked countries are now shown and look open; the list starts on one of them.
    EXPECT_EQ(getCountryState("UnitedKingdom"), kShown);
    EXPECT_EQ(getCountryState("France"), kShown);
    ASSERT_TRUE(map->getNewCountry() == "UnitedKingdom" || map->getNewCountry() == "France")
        << map->getNewCountry();
    EXPECT_EQ(map->getStartScrollPosition(), centring(item(map, map->getNewCountry())));
    EXPECT_EQ(map->getCountryList()->getScrollPosition(), map->getStartScrollPosition());

    struct Look {
        const char* country;
        bool silhouette;
    };
    for (const Look look : {Look{"USA", false}, Look{"UnitedKingdom", false}, Look{"France", false},
                            Look{"Netherlands", false}, Look{"Ukraine", true}, Look{"Austria", true}}) {
        CountryListItemNode* i = item(map, look.country);
        ASSERT_NE(i, nullptr) << look.country;
        EXPECT_EQ(i->isLocked(), look.silhouette) << look.country;
        EXPECT_EQ(i->getChildByTag(MapScreen::kSilhouetteTag) != nullptr, look.silhouette) << look.country;
        EXPECT_EQ(i->getChildByTag(MapScreen::kRibbonTag)->isVisible(), !look.silhouette) << look.country;
        EXPECT_EQ(i->getChildByTag(MapScreen::kIconTag)->isVisible(), !look.silhouette) << look.country;
        auto* caption = dynamic_cast<cocos2d::Label*>(i->getChildByTag(MapScreen::kCaptionTag));
        ASSERT_NE(caption, nullptr);
        EXPECT_EQ(caption->isVisible(), !look.silhouette) << look.country;
        EXPECT_EQ(caption->getString(), TextTable::getInstance().getText("Country", look.country));
        EXPECT_NE(caption->getString(), std::string("country.") + look.country);
        EXPECT_FLOAT_EQ(i->getContentSize().height, 600.0f);
        EXPECT_EQ(i->getLockSize(), cocos2d::Size(400, 560));
        // A locked country shows a padlock on its silhouette and its name, dimmed, on the dark ribbon.
        cocos2d::Node* badge = i->getChildByName(CountryListItemNode::kLockBadgeName);
        auto* lockedName = dynamic_cast<cocos2d::Label*>(i->getChildByName(CountryListItemNode::kLockCaptionName));
        EXPECT_EQ(badge != nullptr && badge->isVisible(), look.silhouette) << look.country;
        EXPECT_EQ(lockedName != nullptr && lockedName->isVisible(), look.silhouette) << look.country;
        if (look.silhouette && badge != nullptr && lockedName != nullptr) {
            EXPECT_EQ(badge->getPosition(), i->getChildByTag(MapScreen::kIconTag)->getPosition()) << look.country;
            EXPECT_EQ(lockedName->getPosition(), caption->getPosition()) << look.country;
            EXPECT_EQ(lockedName->getString(), caption->getString()) << look.country;
            EXPECT_GT(badge->getLocalZOrder(), i->getChildByTag(MapScreen::kSilhouetteTag)->getLocalZOrder());
        }
    }
    // Locked and completed countries keep their states.
    EXPECT_EQ(getCountryState("Ukraine"), kLocked);
    EXPECT_EQ(getCountryState("Netherlands"), kCompleted);
    // The credits panels of the shared description are not on the map.
    EXPECT_EQ(map->getBackgrounds()->getChildByName("Credits"), nullptr);
    driver().saveScreenshot(driver().outputPath("map-screen.png"));
    // The locked countries' dark silhouettes, centred.
    map->getCountryList()->jumpToScrollPosition(centring(item(map, "Ukraine")));
    driver().stepFrames(2);
    driver().saveScreenshot(driver().outputPath("map-screen-locked.png"));
}

TEST_F(MapScreenTest, WithoutANewCountryTheListStartsOnTheCurrentCountryOrAtTheFirst) {
    struct Case {
        const char* current;
        const char* startsOn;
    };
    for (const Case c : {Case{"France", "France"}, Case{"nowhere", nullptr}}) {
        SetUp();
        setCountryState("France", kOpened);
        Settings::getInstance().getCurrentUser().currentPicture.country = c.current;
        MapScreen* map = open();
        EXPECT_TRUE(map->getNewCountry().empty());
        const Vec2 expected = c.startsOn != nullptr ? centring(item(map, c.startsOn)) : Vec2::ZERO;
        EXPECT_EQ(map->getStartScrollPosition(), expected) << c.current;
        EXPECT_EQ(map->getCountryList()->getScrollPosition(), expected) << c.current;
    }
}

TEST_F(MapScreenTest, TappingAnOpenCountryOpensItAndMakesItCurrentWhileLockedOnesAreIgnored) {
    struct Case {
        const char* country;
        int before;
        int after;
        bool opens;
    };
    const Case cases[] = {
        {"UnitedKingdom", kShown, kOpened, true},
        {"France", kCompleted, kCompleted, true},
        {"USA", kOpened, kOpened, true},
        {"Spain", kLocked, kLocked, false},
    };
    for (const Case& c : cases) {
        SetUp();
        setCountryState(c.country, c.before);
        // The list starts on the current country: the tapped one.
        Settings::getInstance().getCurrentUser().currentPicture.country = c.country;
        MapScreen* map = open();
        if (!c.opens) {
            Settings::getInstance().getCurrentUser().currentPicture.country = "USA";
        }
        CountryListItemNode* target = item(map, c.country);
        ASSERT_NE(target, nullptr);
        ASSERT_EQ(map->getCountryList()->getCurrentItem(), target) << c.country;
        const std::vector<std::string>& log = driver().captureLog();
        driver().tap(target->getParent()->convertToWorldSpace(target->getPosition()));
        driver().stepFrames(2);
        EXPECT_EQ(getCountryState(c.country), c.after) << c.country;
        EXPECT_EQ(screentest::hasLine(log, std::string("Country pressed = ") + c.country), c.opens) << c.country;
        EXPECT_EQ(screentest::hasLine(log, "TRANSITION from map to gallery"), c.opens) << c.country;
        EXPECT_EQ(Settings::getInstance().getCurrentUser().currentPicture.country, c.opens ? c.country : "USA");
        driver().stopCapturingLog();
        // An open country fades to its gallery in 1.0 s; a locked one leaves the map where it is.
        cocos2d::Node* mapScene = map->getParent();
        driver().stepFrames(72);
        cocos2d::Scene* running = Director::getInstance()->getRunningScene();
        ASSERT_NE(running, nullptr);
        GalleryScreen* gallery = nullptr;
        for (cocos2d::Node* child : running->getChildren()) {
            gallery = gallery != nullptr ? gallery : dynamic_cast<GalleryScreen*>(child);
        }
        EXPECT_EQ(gallery != nullptr, c.opens) << c.country;
        if (!c.opens) {
            EXPECT_EQ(running, mapScene) << c.country;
        }
    }
}

TEST_F(MapScreenTest, TheFirstVisitShowsTheCuratorThenTheMapTutorialAndSavesOnce) {
    struct Case {
        const char* country;
        bool chat;
    };
    for (const Case c : {Case{"USA", true}, Case{"nowhere", false}}) {
        SetUp();
        Profile& ann = Settings::getInstance().getCurrentUser();
        ann.storyLevel = -1;
        ann.shownTutorials.clear();
        ann.currentPicture.country = c.country;
        const std::vector<std::string>& log = driver().captureLog();
        MapScreen* map = open();
        EXPECT_EQ(ann.storyLevel, 0);
        ChatScreen* chat = childOfType<ChatScreen>(map);
        EXPECT_EQ(chat != nullptr, c.chat) << c.country;
        if (chat != nullptr) {
            EXPECT_EQ(childOfType<TutorialScreen>(map), nullptr) << "the tutorial waits for the chat";
            EXPECT_EQ(screentest::countLinesStartingWith(log, "UserDataIO::saveUserData"), 0);
            chat->setClosable(true);
            driver().tap(Vec2(640, 405));
            driver().stepFrames(60);
        }
        EXPECT_NE(childOfType<TutorialScreen>(map), nullptr) << c.country;
        EXPECT_TRUE(Settings::getInstance().isTutorialShown(MapScreen::kMapTutorial)) << c.country;
        EXPECT_EQ(screentest::countLinesStartingWith(log, "UserDataIO::saveUserData"), 1) << c.country;
        driver().stopCapturingLog();
    }
}

TEST_F(MapScreenTest, APlayerWhoHasSeenTheMapGetsNoChatNoTutorialAndNoSave) {
    const std::vector<std::string>& log = driver().captureLog();
    MapScreen* map = open();
    EXPECT_EQ(childOfType<ChatScreen>(map), nullptr);
    EXPECT_EQ(childOfType<TutorialScreen>(map), nullptr);
    EXPECT_EQ(screentest::countLinesStartingWith(log, "UserDataIO::saveUserData"), 0);
    EXPECT_TRUE(screentest::hasLine(log, "MapScreen init -> return TRUE"));
    driver().stopCapturingLog();
}

TEST_F(MapScreenTest, TheMapAndTheCloudsFollowTheListAtAFifthAndTwoSevenths) {
    MapScreen* map = open();
    ScrollViewSnap* list = map->getCountryList();
    const float mapX = map->getBackgroundMap()->getTextureRect().origin.x;
    const float cloudsX = map->getClouds()->getTextureRect().origin.x;
    list->jumpToScrollPosition(list->getScrollPosition() - Vec2(70.0f, 0.0f));
    driver().stepFrames(1);
    EXPECT_NEAR(map->getBackgroundMap()->getTextureRect().origin.x - mapX, 14.0f, 0.01f);
    EXPECT_NEAR(map->getClouds()->getTextureRect().origin.x - cloudsX, 20.0f, 0.01f);
    EXPECT_EQ(map->getBackgroundMap()->getTexture()->getTexParameters().wrapS, static_cast<GLuint>(GL_REPEAT));
}

TEST_F(MapScreenTest, TheLoadingScreenLeadsAPlayerWhoHasStartedToTheMap) {
    cocos2d::Scene* scene = cocos2d::Scene::create();
    LoadingScreen* loading = LoadingScreen::create();
    ASSERT_NE(loading, nullptr);
    scene->addChild(loading);
    Director::getInstance()->replaceScene(scene);
    driver().stepFrames(1);
    ASSERT_TRUE(testing::stepUntil(
        "the loading screen to finish", [loading] { return loading->isFinished(); }, 10.0f));
    driver().stepFrames(30);
    cocos2d::Scene* running = Director::getInstance()->getRunningScene();
    ASSERT_NE(running, nullptr);
    ASSERT_FALSE(running->isTransition());
    EXPECT_NE(childOfType<MapScreen>(running), nullptr);
}

}  // namespace
