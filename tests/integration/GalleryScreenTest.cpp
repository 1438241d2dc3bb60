#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "DebugKeySequence.h"
#include "Driver.h"
#include "GalleryTestStage.h"
#include "PixelChecks.h"
#include "RunningScreen.h"
#include "ScreenTestSupport.h"
#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"
#include "engine/scene/Scene.h"
#include "nodes/MuseumStatistic.h"
#include "nodes/PictureDetails.h"
#include "nodes/PictureFrame.h"
#include "ui/CabinetScreen.h"
#include "ui/ChatScreen.h"
#include "ui/Controls/ScrollViewSnap.h"
#include "ui/EvidenceAddingScreen.h"
#include "ui/GalleryScreen.h"
#include "ui/GameScreen.h"
#include "ui/MapScreen.h"
#include "ui/PopupScreenBase.h"
#include "ui/TutorialScreen.h"

namespace {

using screentest::childOf;

namespace fs = std::filesystem;
using cocos2d::Node;
using cocos2d::Vec2;

// The two USA frames stand 1.2 frame widths apart, the first on the centre.
constexpr float kStep = 340.0f * 1.2f;

class GalleryScreenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gallerytest::useResources("gallery"); }

    void SetUp() override {
        Profile& profile = gallerytest::freshPlayer("USA");
        unlockCountry("USA");
        setCountryState("USA", static_cast<int32_t>(CountryState::Opened));
        profile.currentPicture = PictureKey{"USA", "HarborDawn"};
        profile.money = 0;
        log = &testing::Driver::get().captureLog();
    }

    void TearDown() override {
        if (HasFailure()) {
            testing::Driver::get().saveScreenshot(testing::Driver::outputPath(
                std::string("GalleryScreen_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                ".png"));
        }
        testing::Driver::get().stopCapturingLog();
        // The screen goes with its scene (and saves) before the player does.
        gallerytest::openScene();
        testing::Driver::get().stepFrames(1);
        Settings::destroyInstance();
    }

    GalleryScreen* open() {
        cocos2d::Scene* scene = cocos2d::Scene::create();
        gallery = GalleryScreen::create();
        if (gallery == nullptr) {
            return nullptr;
        }
        scene->addChild(gallery);
        cocos2d::Director::getInstance()->replaceScene(scene);
        testing::Driver::get().stepFrames(2);
        return gallery;
    }

    static void forgetTutorial(int number) {
        std::vector<int32_t>& shown = Settings::getInstance().getCurrentUser().shownTutorials;
        shown.erase(std::remove(shown.begin(), shown.end(), number), shown.end());
    }

    int effects(const std::string& name) const {
        return static_cast<int>(std::count(log->begin(), log->end(), "playEffect " + name));
    }

    float listX() const { return gallery->getPictureList()->getInnerContainerPosition().x; }

    GalleryScreen* gallery = nullptr;
    std::vector<std::string>* log = nullptr;
};

TEST_F(GalleryScreenTest, TheCountrysPicturesStandInTheListAndTheInputIsFreeOnceItIsBuilt) {
    Settings::getInstance().getCurrentUser().world.countries["USA"].listPosition = -100;
    ASSERT_NE(open(), nullptr);
    EXPECT_NE(gallery->getChildByName("background_1"), nullptr);
    EXPECT_EQ(GalleryScreen::backgroundNameOf("Austria"), "background_7");
    EXPECT_EQ(GalleryScreen::backgroundNameOf("demo"), "");

    std::vector<Node*> items = gallery->getPictureList()->getItems();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0]->getName(), "HarborDawn");
    EXPECT_EQ(items[1]->getName(), "PrairieWind");
    EXPECT_EQ(items[0]->getTag(), 0);
    EXPECT_EQ(items[1]->getTag(), 1);
    EXPECT_FLOAT_EQ(items[1]->getPositionX() - items[0]->getPositionX(), kStep);
    EXPECT_FLOAT_EQ(gallery->getPictureList()->getInnerContainerSize().width, 640.0f + kStep + 640.0f);
    EXPECT_TRUE(dynamic_cast<PictureFrame*>(items[1])->isLocked());
    EXPECT_TRUE(screentest::hasLine(*log, "list pos restored from saved"));
    EXPECT_FALSE(gallery->isInputLocked());

    Node* ui = gallery->getUiRoot();
    EXPECT_EQ(dynamic_cast<cocos2d::Label*>(ui->getChildByName("Statistics")->getChildByName("label"))->getString(),
              "Museum");
    EXPECT_EQ(dynamic_cast<cocos2d::Label*>(ui->getChildByName("progres")->getChildByName("prograsLabel"))
                  ->getString(),
              "$0");
    EXPECT_NE(ui->getChildByName("avatarSprite"), nullptr);
    EXPECT_FALSE(ui->getChildByName("newEvidancePlace")->isVisible());
    testing::Driver::get().saveScreenshot(testing::Driver::outputPath("GalleryScreen_usa.png"));
}

TEST_F(GalleryScreenTest, APlayThatEarnedCentresItsPictureAndFliesACoinToTheBar) {
    Profile& profile = Settings::getInstance().getCurrentUser();
    gallerytest::picture("PrairieWind").state = 1;
    gallerytest::picture("PrairieWind").lastGain = 500;
    gallerytest::picture("PrairieWind").earnedTotal = 500;
    profile.money = 500;
    ASSERT_NE(open(), nullptr);
    EXPECT_TRUE(screentest::hasLine(*log, "list pos extraPoints"));
    EXPECT_FLOAT_EQ(listX(), -kStep);
    EXPECT_EQ(profile.world.countries["USA"].listPosition, static_cast<int32_t>(-kStep));
    EXPECT_EQ(gallerytest::picture("PrairieWind").lastGain, 0);

    testing::Driver::get().stepFrames(20);
    EXPECT_EQ(effects("FlyStars"), 1);
    testing::Driver::get().stepFrames(150);
    auto* label = dynamic_cast<cocos2d::Label*>(gallery->getUiRoot()->getChildByName("progres")->getChildByName(
        "prograsLabel"));
    EXPECT_EQ(label->getString(), "$500");
    // The coin is gone once it reached the bar.
    int coins = 0;
    for (Node* child : gallery->getUiRoot()->getChildren()) {
        coins += child->getName() == "OnePictureCoin" ? 1 : 0;
    }
    EXPECT_EQ(coins, 0);
    EXPECT_FALSE(gallery->isInputLocked());
}

TEST_F(GalleryScreenTest, AnUnlockAfterAGainWaitsForTheCoinThenGlidesToTheNewPicture) {
    Profile& profile = Settings::getInstance().getCurrentUser();
    gallerytest::picture("HarborDawn").state = 1;
    gallerytest::picture("HarborDawn").lastGain = 300;
    unlockPicture("PrairieWind");
    ASSERT_NE(open(), nullptr);
    EXPECT_TRUE(gallery->isInputLocked());
    EXPECT_FALSE(gallery->getPictureList()->isEnabled());
    EXPECT_FLOAT_EQ(listX(), 0.0f);
    auto* frame = dynamic_cast<PictureFrame*>(gallery->getPictureList()->getItems()[1]);
    ASSERT_NE(frame->getChildByName("levelclosed"), nullptr);

    testing::Driver::get().stepFrames(72 + 44);
    EXPECT_TRUE(screentest::hasLine(*log, "list pos in UnlockAnimation"));
    EXPECT_TRUE(profile.world.lastUnlockedPicture.empty());
    EXPECT_TRUE(gallery->getPictureList()->isEnabled());
    EXPECT_NEAR(listX(), -kStep, 1.0f);
    // Remembered as the glide ends, truncated.
    EXPECT_NEAR(profile.world.countries["USA"].listPosition, listX(), 1.0f);
    EXPECT_TRUE(gallery->isInputLocked());
    testing::Driver::get().stepFrames(64);
    EXPECT_FALSE(gallery->isInputLocked());
    EXPECT_EQ(frame->getChildByName("levelclosed"), nullptr);
}

TEST_F(GalleryScreenTest, AnUnlockWithoutAGainOpensAtOnceSavesAndKeepsTheSavedPosition) {
    Profile& profile = Settings::getInstance().getCurrentUser();
    unlockPicture("PrairieWind");
    profile.world.countries["USA"].listPosition = -50;
    const fs::path save = fs::path(cocos2d::FileUtils::getInstance()->getWritablePath()) / "UserData.bin";
    fs::remove(save);
    ASSERT_NE(open(), nullptr);
    EXPECT_TRUE(screentest::hasLine(*log, "list pos canMoveToLastOpened"));
    EXPECT_TRUE(profile.world.lastUnlockedPicture.empty());
    EXPECT_TRUE(fs::exists(save));
    EXPECT_FLOAT_EQ(listX(), -50.0f);
    EXPECT_FALSE(gallery->isInputLocked());
    EXPECT_EQ(effects("unlock_picture"), 1);
}

TEST_F(GalleryScreenTest, ASavedPositionOutsideTheListIsBroughtBackOntoIt) {
    // The position comes from the save file; whatever it holds, the pictures stay on screen.
    struct Case {
        int32_t saved;
        bool atStart;
    };
    const Case cases[] = {{99999, true}, {1, true}, {-99999, false}, {INT32_MIN, false}};
    for (const Case& c : cases) {
        Settings::getInstance().getCurrentUser().world.countries["USA"].listPosition = c.saved;
        ASSERT_NE(open(), nullptr) << c.saved;
        ScrollViewSnap* list = gallery->getPictureList();
        const float lowest =
            std::min(0.0f, list->getContentSize().width - list->getInnerContainerSize().width);
        EXPECT_FLOAT_EQ(listX(), c.atStart ? 0.0f : lowest) << c.saved;
        EXPECT_LT(lowest, 0.0f) << "the list should be longer than the screen";
    }
}

TEST_F(GalleryScreenTest, TappingPicturesOpensDetailsOrExplainsTheLock) {
    forgetTutorial(12);
    gallerytest::picture("HarborDawn").state = 1;
    ASSERT_NE(open(), nullptr);
    std::vector<Node*> items = gallery->getPictureList()->getItems();

    gallery->onPictureTapped(gallery->getPictureList(), items[1]);
    TutorialScreen* tutorial = childOf<TutorialScreen>(gallery);
    ASSERT_NE(tutorial, nullptr);
    EXPECT_EQ(tutorial->getTutorialId(), 12);
    tutorial->removeFromParent();
    gallery->onPictureTapped(gallery->getPictureList(), items[1]);
    EXPECT_EQ(childOf<TutorialScreen>(gallery), nullptr);
    EXPECT_EQ(childOf<PopupScreenBase>(gallery), nullptr);

    // A picture with a level that is not finished offers Play.
    gallery->onPictureTapped(gallery->getPictureList(), items[0]);
    PopupScreenBase* container = childOf<PopupScreenBase>(gallery);
    ASSERT_NE(container, nullptr);
    auto* details = childOf<PictureDetails>(container);
    ASSERT_NE(details, nullptr);
    EXPECT_NE(details->getChildByName("Play"), nullptr);
    EXPECT_EQ(Settings::getInstance().getCurrentUser().currentPicture, (PictureKey{"USA", "HarborDawn"}));
    // The details container leaves the input as it was.
    EXPECT_FALSE(gallery->isInputLocked());
    container->removeFromParent();

    // A finished one shows its story instead.
    gallerytest::picture("HarborDawn").finished = true;
    gallery->onPictureTapped(gallery->getPictureList(), items[0]);
    details = childOf<PictureDetails>(childOf<PopupScreenBase>(gallery));
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->getChildByName("Play"), nullptr);
    EXPECT_EQ(details->getChildByTag(2), nullptr);
    EXPECT_TRUE(details->getChildByTag(3)->isVisible());
    EXPECT_NE(details->getChildByName("setWallpaper"), nullptr);
}

TEST_F(GalleryScreenTest, TheStatisticsPanelHoldsTheInputUntilItCloses) {
    ASSERT_NE(open(), nullptr);
    gallery->onStatisticsButton(nullptr);
    PopupScreenBase* container = childOf<PopupScreenBase>(gallery);
    ASSERT_NE(container, nullptr);
    auto* panel = childOf<MuseumStatistic>(container);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(gallery->isInputLocked());
    // Locked: a second press and the other buttons do nothing.
    gallery->onStatisticsButton(nullptr);
    gallery->onMapButton(nullptr);
    int containers = 0;
    for (Node* child : gallery->getChildren()) {
        containers += dynamic_cast<PopupScreenBase*>(child) != nullptr ? 1 : 0;
    }
    EXPECT_EQ(containers, 1);
    testing::Driver::get().stepFrames(2);
    EXPECT_EQ(cocos2d::Director::getInstance()->getRunningScene(), gallery->getParent());
    panel->onClose();
    EXPECT_FALSE(gallery->isInputLocked());
}

TEST_F(GalleryScreenTest, TheArrowsStepThroughTheListEvenWhileInputIsLocked) {
    ASSERT_NE(open(), nullptr);
    testing::Driver::get().stepFrames(30);
    ASSERT_EQ(gallery->getPictureList()->getCurrentIndex(), 0);
    gallery->onArrowLeft(nullptr);
    EXPECT_EQ(effects("gallery_scroll"), 0);
    gallery->showPopup(false);
    ASSERT_TRUE(gallery->isInputLocked());
    gallery->onArrowRight(nullptr);
    EXPECT_EQ(effects("gallery_scroll"), 1);
    testing::Driver::get().stepFrames(60);
    EXPECT_EQ(gallery->getPictureList()->getCurrentIndex(), 1);
    gallery->onArrowRight(nullptr);
    EXPECT_EQ(effects("gallery_scroll"), 1);
    gallery->onArrowLeft(nullptr);
    EXPECT_EQ(effects("gallery_scroll"), 2);
}

// Relative luminance of a screen colour (sRGB).
double luminance(const cocos2d::Color4B& c) {
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b);
}

double contrast(double a, double b) {
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

TEST_F(GalleryScreenTest, TheArrowButtonsStandOutFromEveryWallAtTheirFaintOpacity) {
    const char* const countries[] = {"USA", "UnitedKingdom", "France", "Netherlands", "Ukraine", "Spain", "Austria"};
    for (const char* country : countries) {
        SCOPED_TRACE(country);
        Settings::getInstance().getCurrentUser().currentPicture = PictureKey{country, ""};
        ASSERT_NE(open(), nullptr);
        testing::Driver::get().stepFrames(30);
        testing::Driver::get().saveScreenshot(
            testing::Driver::outputPath(std::string("GalleryScreen_arrows_") + country + ".png"));
        for (const char* name : {"Arrow_left", "Arrow_right"}) {
            SCOPED_TRACE(name);
            Node* arrow = gallery->getUiRoot()->getChildByName(name);
            ASSERT_NE(arrow, nullptr);
            EXPECT_EQ(arrow->getOpacity(), 75);
            const cocos2d::Size size = arrow->getContentSize();
            const Vec2 low = arrow->convertToWorldSpace(Vec2(0, 0));
            const cocos2d::Rect box(low.x, 810.0f - low.y - size.height, size.width, size.height);
            cocos2d::RefPtr<cocos2d::Image> shown = testing::Driver::get().readPixels(box);
            arrow->setVisible(false);
            testing::Driver::get().stepFrames(1);
            cocos2d::RefPtr<cocos2d::Image> wall = testing::Driver::get().readPixels(box);
            arrow->setVisible(true);
            testing::Driver::get().stepFrames(1);
            ASSERT_TRUE(shown && wall);
            // Around the middle of the button: its face (a ring between the glyph and the rim) and its
            // glyph (the darkest tenth of the inner disc), each against the wall under them.
            const double cx = size.width / 2.0, cy = size.height / 2.0, r = std::min(size.width, size.height) / 2.0;
            double faceLum = 0, faceWall = 0;
            int faceCount = 0;
            std::vector<double> inner;
            for (int y = 0; y < shown->getHeight(); ++y) {
                for (int x = 0; x < shown->getWidth(); ++x) {
                    const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / r;
                    if (d >= 0.62 && d <= 0.8) {
                        faceLum += luminance(shown->getPixel(x, y));
                        faceWall += luminance(wall->getPixel(x, y));
                        ++faceCount;
                    } else if (d < 0.5) {
                        inner.push_back(luminance(shown->getPixel(x, y)));
                    }
                }
            }
            ASSERT_GT(faceCount, 0);
            faceLum /= faceCount;
            faceWall /= faceCount;
            std::sort(inner.begin(), inner.end());
            const double glyph = inner[inner.size() / 10];
            // At this opacity even white shows at under 3:1 against a dark wall. A raised face clearly
            // lighter than its wall, with a glyph clearly darker than the face, still reads as a button;
            // a face no lighter than the wall, with a dim glyph, reads as one that is switched off.
            EXPECT_GE(faceLum / faceWall, 1.4) << "the face does not stand off the wall";
            EXPECT_GE(contrast(faceLum, glyph), 1.7) << "the chevron does not stand out from the face";
        }
        gallerytest::openScene();
    }
}

TEST_F(GalleryScreenTest, NewEvidenceComesUpFirstAndTheCabinetMarkerAfterIt) {
    Settings::getInstance().addEvidence("ticket");
    ASSERT_NE(open(), nullptr);
    EvidenceAddingScreen* popup = childOf<EvidenceAddingScreen>(gallery);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(effects("Message1"), 1);
    EXPECT_TRUE(gallery->isInputLocked());
    testing::Driver::get().stepFrames(181);
    testing::Driver::get().tap(Vec2(640, 300));
    testing::Driver::get().stepFrames(65);
    EXPECT_FALSE(gallery->isInputLocked());
    EXPECT_TRUE(gallery->getUiRoot()->getChildByName("newEvidancePlace")->isVisible());
    EXPECT_EQ(childOf<EvidenceAddingScreen>(gallery), nullptr);
}

TEST_F(GalleryScreenTest, TheCuratorSpeaksOnlyOnceTheMoneyPassesTheGoal) {
    struct Case {
        const char* name;
        int aboveGoal;
        bool tutorialShownBefore;
        bool chat;
        bool bounce;
    };
    const Case cases[] = {
        {"money equal to the goal", 0, false, false, false},
        {"one above, first time", 1, false, true, false},
        {"one above, already told", 1, true, false, true},
    };
    for (const Case& c : cases) {
        Profile& profile = Settings::getInstance().getCurrentUser();
        profile.money = profile.collectionGoal + c.aboveGoal;
        if (c.tutorialShownBefore) {
            profile.shownTutorials.push_back(15);
        } else {
            forgetTutorial(15);
        }
        ASSERT_NE(open(), nullptr);
        EXPECT_EQ(gallery->isGoalReached(), c.aboveGoal > 0) << c.name;
        Node* chatPlace = gallery->getUiRoot()->getChildByName("chat_place");
        EXPECT_EQ(childOf<ChatScreen>(chatPlace) != nullptr, c.chat) << c.name;
        EXPECT_EQ(gallery->isInputLocked(), c.chat) << c.name;
        Node* button = gallery->getUiRoot()->getChildByName("Statistics")->getChildByName("btn");
        EXPECT_EQ(button->getNumberOfRunningActions() > 0, c.bounce) << c.name;
        if (c.bounce) {
            // Opening the statistic stops the bounce where the button belongs.
            gallery->onStatisticsButton(nullptr);
            EXPECT_EQ(button->getNumberOfRunningActions(), 0);
            EXPECT_EQ(button->getPosition(), gallery->getStatisticsButtonPosition());
        }
    }
}

TEST_F(GalleryScreenTest, APurchaseThatUnlocksNothingWithEveryEvidenceFoundSetsTheCageFlag) {
    Profile& profile = Settings::getInstance().getCurrentUser();
    for (const char* item : {"ticket", "letter", "key", "compass", "brooch", "photo", "map", "seal", "ring", "glove",
                             "button", "feather", "stamp"}) {
        Settings::getInstance().addEvidence(item);
    }
    profile.newestEvidence.clear();
    ASSERT_TRUE(hasAllEvidence());
    ASSERT_NE(open(), nullptr);
    gallery->onMuseumResult(MuseumStatistic::kNothingPaid);
    EXPECT_FALSE(profile.cageUnlocked);
    gallery->onMuseumResult(MuseumStatistic::kPaidAndUnlocked);
    EXPECT_FALSE(profile.cageUnlocked);
    gallery->onMuseumResult(MuseumStatistic::kPaidNothingUnlocked);
    EXPECT_TRUE(profile.cageUnlocked);
}

TEST_F(GalleryScreenTest, AFinishedGameLeadsFromTheListIntoTheCageUntilTheEndingHasPlayed) {
    const char* const items[] = {"ticket", "letter", "key",   "compass", "brooch",  "photo", "map",
                                 "seal",   "ring",   "glove", "button",  "feather", "stamp"};
    struct Case {
        const char* name;
        size_t evidenceFound;
        bool everyCountryCompleted;
        bool endingPlayed;
        bool cageFlagBefore;
        bool leadsIntoTheCage;
    };
    const Case cases[] = {
        {"the game is finished", 13, true, false, false, true},
        {"finished, the flag saved by a purchase", 13, true, false, true, true},
        {"the ending has played", 13, true, true, true, false},
        {"one evidence missing", 12, true, false, false, false},
        {"a country still to buy", 13, false, false, true, false},
    };
    for (const Case& c : cases) {
        Profile& profile = Settings::getInstance().getCurrentUser();
        profile.evidence.entries.clear();
        for (size_t i = 0; i < c.evidenceFound; ++i) {
            profile.evidence.entries[items[i]] = {items[i], static_cast<int32_t>(EvidenceState::Seen)};
        }
        for (auto& [path, record] : profile.world.countries) {
            record.state = static_cast<int32_t>(CountryState::Completed);
        }
        if (!c.everyCountryCompleted) {
            setCountryState("USA", static_cast<int32_t>(CountryState::Opened));
        }
        std::vector<int32_t>& shown = profile.shownTutorials;
        shown.erase(std::remove(shown.begin(), shown.end(), Profile::kEndingPlayedMarker), shown.end());
        if (c.endingPlayed) {
            profile.markEndingPlayed();
        }
        profile.cageUnlocked = c.cageFlagBefore;
        EXPECT_EQ(GalleryScreen::isEndingDue(), c.leadsIntoTheCage) << c.name;

        ASSERT_NE(open(), nullptr) << c.name;
        EXPECT_EQ(gallery->isInputLocked(), c.leadsIntoTheCage) << c.name;
        testing::Driver::get().stepFrames(72);
        cocos2d::Scene* running = cocos2d::Director::getInstance()->getRunningScene();
        ASSERT_NE(running, nullptr) << c.name;
        auto* cabinet = childOf<CabinetScreen>(running);
        EXPECT_EQ(cabinet != nullptr && cabinet->isCageDue(), c.leadsIntoTheCage) << c.name;
        EXPECT_EQ(childOf<GalleryScreen>(running) != nullptr, !c.leadsIntoTheCage) << c.name;
        EXPECT_EQ(profile.cageUnlocked, c.cageFlagBefore || c.leadsIntoTheCage) << c.name;
    }
}

TEST_F(GalleryScreenTest, AMuseumResultBringsTheProgressChatAndItsCloseTheNewCountryMarker) {
    Profile& profile = Settings::getInstance().getCurrentUser();
    profile.money = getCollectionPrice("USA");
    ASSERT_NE(open(), nullptr);
    ASSERT_TRUE(MuseumStatistic::completeCollection());
    gallery->onMuseumResult(MuseumStatistic::kPaidAndUnlocked);
    ChatScreen* chat = childOf<ChatScreen>(gallery->getUiRoot()->getChildByName("chat_place"));
    ASSERT_NE(chat, nullptr);
    // A bought collection hides the bar.
    EXPECT_FALSE(gallery->getUiRoot()->getChildByName("progres")->isVisible());
    gallery->onProgressChatClosed();
    EXPECT_TRUE(gallery->getUiRoot()->getChildByName("newCountryNotification")->isVisible());
    EXPECT_FALSE(gallery->isInputLocked());
}

// Whether one of the gallery's containers holds the museum statistic.
bool museumShown(GalleryScreen* gallery) {
    for (Node* child : gallery->getChildren()) {
        if (dynamic_cast<PopupScreenBase*>(child) != nullptr && childOf<MuseumStatistic>(child) != nullptr) {
            return true;
        }
    }
    return false;
}

// The middle of a node on the screen.
Vec2 middleOf(const Node* node) {
    const cocos2d::Size size = node->getContentSize();
    return node->convertToWorldSpace(Vec2(size.width / 2.0f, size.height / 2.0f));
}

// The colour at a point with the given nodes shown and with them hidden, the clock standing still.
std::pair<cocos2d::Color4B, cocos2d::Color4B> colourWithAndWithout(const Vec2& point, const std::vector<Node*>& nodes) {
    testing::Driver& driver = testing::Driver::get();
    cocos2d::Director::getInstance()->pause();
    driver.stepFrames(1);
    const cocos2d::Color4B with = testing::colourAt(point);
    for (Node* node : nodes) {
        node->setVisible(false);
    }
    driver.stepFrames(1);
    const cocos2d::Color4B without = testing::colourAt(point);
    for (Node* node : nodes) {
        node->setVisible(true);
    }
    driver.stepFrames(1);
    cocos2d::Director::getInstance()->resume();
    return {with, without};
}

void expectSameColour(const std::pair<cocos2d::Color4B, cocos2d::Color4B>& colours, const std::string& what) {
    const cocos2d::Color4B& a = colours.first;
    const cocos2d::Color4B& b = colours.second;
    EXPECT_LE(std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b), 12)
        << what << ": (" << int(a.r) << ", " << int(a.g) << ", " << int(a.b) << ") against (" << int(b.r) << ", "
        << int(b.g) << ", " << int(b.b) << ")";
}

// The museum's two tutorials come with the curator's message and let their tap through to the button
// they point at: one click there closes both and does what the button does, with one click's sound;
// a click anywhere else closes them and does nothing more. Neither the tutorial nor the message dims
// that button or the message.
TEST_F(GalleryScreenTest, OneClickOnTheButtonAMuseumTutorialShowsTakesTheCuratorsMessageAlong) {
    struct Case {
        const char* name;
        int tutorial;
        // The button the tutorial points at; `elsewhere` another one.
        const char* button;
        const char* elsewhere;
        bool onButton;
    };
    const Case cases[] = {
        {"the money past the goal, the museum's button", 15, "Statistics", "Cabinet", true},
        {"the money past the goal, the cabinet's button", 15, "Statistics", "Cabinet", false},
        {"a collection bought, the map's button", 16, "Map", "Cabinet", true},
        {"a collection bought, the cabinet's button", 16, "Map", "Cabinet", false},
    };
    testing::Driver& driver = testing::Driver::get();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Profile& profile = Settings::getInstance().getCurrentUser();
        forgetTutorial(c.tutorial);
        profile.money = c.tutorial == 15 ? profile.collectionGoal + 1 : getCollectionPrice("USA");
        ASSERT_NE(open(), nullptr);
        if (c.tutorial == 16) {
            gallery->onStatisticsButton(nullptr);
            auto* museum = childOf<MuseumStatistic>(childOf<PopupScreenBase>(gallery));
            ASSERT_NE(museum, nullptr);
            museum->onPay(nullptr);
            driver.stepFrames(2);
            ASSERT_FALSE(museumShown(gallery));
        }
        TutorialScreen* tutorial = childOf<TutorialScreen>(gallery);
        ChatScreen* chat = childOf<ChatScreen>(gallery->getUiRoot()->getChildByName("chat_place"));
        ASSERT_NE(tutorial, nullptr);
        ASSERT_NE(chat, nullptr);
        ASSERT_EQ(tutorial->getTutorialId(), c.tutorial);
        cocos2d::RefPtr<TutorialScreen> keptTutorial(tutorial);
        cocos2d::RefPtr<ChatScreen> keptChat(chat);
        // The player reads both, then clicks.
        for (int frame = 0; frame < 180 && !(tutorial->isStepReady() && chat->isClosable()); ++frame) {
            driver.stepFrames(1);
        }
        ASSERT_TRUE(tutorial->isStepReady() && chat->isClosable()) << "the tutorial and the message never took a click";

        Node* statistics = gallery->getUiRoot()->getChildByName("Statistics");
        Node* button = c.tutorial == 15 ? statistics->getChildByName("btn") : gallery->getUiRoot()->getChildByName(c.button);
        Node* other = gallery->getUiRoot()->getChildByName(c.elsewhere);
        ASSERT_NE(button, nullptr);
        ASSERT_NE(other, nullptr);
        expectSameColour(colourWithAndWithout(middleOf(button), {tutorial, chat}), "the button the tutorial shows is dimmed");
        Node* bubble = chat->getMessageNode()->getChildByName("message")->getChildByName("bubble");
        ASSERT_NE(bubble, nullptr);
        expectSameColour(colourWithAndWithout(middleOf(bubble), {tutorial}), "the tutorial dims the curator's message");

        cocos2d::Scene* galleryScene = cocos2d::Director::getInstance()->getRunningScene();
        const int clicks = effects("btnDown");
        driver.tap(middleOf(c.onButton ? button : other));
        driver.stepFrames(3);
        EXPECT_EQ(tutorial->getParent(), nullptr) << "the tutorial did not move on";
        EXPECT_EQ(chat->getParent(), nullptr) << "the curator's message did not close";
        EXPECT_EQ(effects("btnDown") - clicks, 1) << "one click, one click's sound";
        if (!c.onButton) {
            // Elsewhere the click only closes them, as it always did.
            EXPECT_FALSE(museumShown(gallery));
            EXPECT_EQ(cocos2d::Director::getInstance()->getRunningScene(), galleryScene) << "the click left the gallery";
            EXPECT_FALSE(gallery->isInputLocked());
        } else if (c.tutorial == 15) {
            EXPECT_TRUE(museumShown(gallery)) << "one click on the museum's button did not open the museum";
            // The museum holds the input, though the tutorial closed after the click that opened it.
            EXPECT_TRUE(gallery->isInputLocked());
        } else {
            EXPECT_NE(cocos2d::Director::getInstance()->getRunningScene(), galleryScene)
                << "one click on the map's button did not leave for the map";
            EXPECT_NE(testing::stepUntilRunning<MapScreen>(3.0f), nullptr) << "the map did not come";
        }
        gallerytest::openScene();
        driver.stepFrames(1);
    }
}

TEST_F(GalleryScreenTest, DeveloperKeysWorkOnlyInTheDebugMode) {
    ASSERT_NE(open(), nullptr);
    testing::Driver& driver = testing::Driver::get();
    driver.key(cocos2d::EventKeyboard::KeyCode::KEY_F3, true);
    driver.key(cocos2d::EventKeyboard::KeyCode::KEY_F3, false);
    driver.stepFrames(1);
    EXPECT_FALSE(isCountryCompleted("USA"));

    DebugKeySequence& debug = DebugKeySequence::getInstance();
    for (char c : std::string("KLOMBER")) {
        debug.feedDebugKey(c);
    }
    ASSERT_TRUE(debug.isDebugMode());
    driver.key(cocos2d::EventKeyboard::KeyCode::KEY_F3, true);
    driver.key(cocos2d::EventKeyboard::KeyCode::KEY_F3, false);
    driver.stepFrames(1);
    EXPECT_TRUE(isCountryCompleted("USA"));
    EXPECT_FALSE(isPictureLocked("FoggyBridge"));
    for (char c : std::string("KLOMBER")) {
        debug.feedDebugKey(c);
    }
    EXPECT_FALSE(debug.isDebugMode());
}

TEST_F(GalleryScreenTest, TheFirstVisitAndAFullyPlayedCountryEachExplainThemselvesOnce) {
    struct Case {
        const char* name;
        int storyLevel;
        bool allPlayed;
        int tutorial;
    };
    const Case cases[] = {
        {"first gallery visit", 0, false, 11},
        {"every picture played, goal not passed", 3, true, 14},
        {"later visit", 3, false, 0},
    };
    for (const Case& c : cases) {
        Profile& profile = Settings::getInstance().getCurrentUser();
        profile.storyLevel = c.storyLevel;
        gallerytest::picture("HarborDawn").state = c.allPlayed ? 1 : 0;
        gallerytest::picture("PrairieWind").state = c.allPlayed ? 2 : -1;
        forgetTutorial(11);
        forgetTutorial(14);
        ASSERT_NE(open(), nullptr);
        TutorialScreen* tutorial = childOf<TutorialScreen>(gallery);
        EXPECT_EQ(tutorial != nullptr ? tutorial->getTutorialId() : 0, c.tutorial) << c.name;
        if (c.tutorial != 0) {
            EXPECT_TRUE(Settings::getInstance().isTutorialShown(c.tutorial)) << c.name;
        }
        // Neither tutorial holds the gallery's input.
        EXPECT_FALSE(gallery->isInputLocked()) << c.name;
    }
}

TEST_F(GalleryScreenTest, LeavingTheGallerySavesOnce) {
    ASSERT_NE(open(), nullptr);
    const fs::path save = fs::path(cocos2d::FileUtils::getInstance()->getWritablePath()) / "UserData.bin";
    fs::remove(save);
    gallerytest::openScene();
    testing::Driver::get().stepFrames(2);
    EXPECT_TRUE(fs::exists(save));
    EXPECT_EQ(std::count(log->begin(), log->end(), "=== GalleryScreen::~GalleryScreen ==="), 1);
}

TEST_F(GalleryScreenTest, EachWayOutFadesToItsScreenAndRemembersTheListPosition) {
    enum class Lands { Map, Cabinet, CabinetWithCage, Level };
    struct Case {
        const char* name;
        Lands lands;
        bool savesListPosition;
    };
    // The developer's map key skips the list position.
    const Case cases[] = {
        {"Map button", Lands::Map, true},
        {"Cabinet button", Lands::Cabinet, true},
        {"debug F1", Lands::CabinetWithCage, true},
        {"debug F2", Lands::Map, false},
        {"Play in the details", Lands::Level, true},
    };
    testing::Driver& driver = testing::Driver::get();
    DebugKeySequence& debug = DebugKeySequence::getInstance();
    auto toggleDebug = [&debug] {
        for (char c : std::string("KLOMBER")) {
            debug.feedDebugKey(c);
        }
    };
    auto pressKey = [&driver](cocos2d::EventKeyboard::KeyCode key) {
        driver.key(key, true);
        driver.key(key, false);
        driver.stepFrames(1);
    };
    for (const Case& c : cases) {
        Settings::getInstance().setReturnScreen("map");
        Settings::getInstance().getCurrentUser().world.countries["USA"].listPosition = 0;
        ASSERT_NE(open(), nullptr) << c.name;
        // Not a place the list can stand at: leaving must write the real one.
        Settings::getInstance().getCurrentUser().world.countries["USA"].listPosition = 99999;
        switch (c.lands) {
            case Lands::Map:
            case Lands::CabinetWithCage:
                if (std::string(c.name).rfind("debug", 0) == 0) {
                    toggleDebug();
                    ASSERT_TRUE(debug.isDebugMode());
                    pressKey(c.lands == Lands::Map ? cocos2d::EventKeyboard::KeyCode::KEY_F2
                                                   : cocos2d::EventKeyboard::KeyCode::KEY_F1);
                    toggleDebug();
                } else {
                    gallery->onMapButton(nullptr);
                }
                break;
            case Lands::Cabinet:
                gallery->onCabinetButton(nullptr);
                break;
            case Lands::Level: {
                gallery->onPictureTapped(gallery->getPictureList(), gallery->getPictureList()->getItems()[0]);
                auto* details = childOf<PictureDetails>(childOf<PopupScreenBase>(gallery));
                ASSERT_NE(details, nullptr);
                ASSERT_NE(details->getChildByName("Play"), nullptr);
                gallery->playPicture(nullptr);
                break;
            }
        }
        EXPECT_EQ(Settings::getInstance().getCurrentUser().world.countries["USA"].listPosition != 99999,
                  c.savesListPosition)
            << c.name;
        driver.stepFrames(72);
        cocos2d::Scene* running = cocos2d::Director::getInstance()->getRunningScene();
        ASSERT_NE(running, nullptr) << c.name;
        EXPECT_EQ(childOf<GalleryScreen>(running), nullptr) << c.name;
        switch (c.lands) {
            case Lands::Map:
                EXPECT_NE(childOf<MapScreen>(running), nullptr) << c.name;
                break;
            case Lands::Cabinet:
            case Lands::CabinetWithCage: {
                auto* cabinet = childOf<CabinetScreen>(running);
                ASSERT_NE(cabinet, nullptr) << c.name;
                EXPECT_EQ(cabinet->isCageDue(), c.lands == Lands::CabinetWithCage) << c.name;
                if (c.lands == Lands::CabinetWithCage) {
                    EXPECT_EQ(Settings::getInstance().getReturnScreen(), "gallery");
                }
                break;
            }
            case Lands::Level:
                EXPECT_NE(childOf<GameScreen>(running), nullptr) << c.name;
                break;
        }
    }
}

}  // namespace
