#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Driver.h"
#include "EvidenceBook.h"
#include "ScreenTestSupport.h"
#include "Settings.h"
#include "UserData.h"
#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/events/EventKeyboard.h"
#include "engine/scene/Scene.h"

#include "ui/CabinetScreen.h"
#include "ui/GalleryScreen.h"
#include "ui/IntroScene.h"
#include "ui/JsonDocumentCache.h"

namespace {

using cocos2d::Director;
using cocos2d::Node;
using cocos2d::Vec2;
using Key = cocos2d::EventKeyboard::KeyCode;

constexpr int kFramesPerSecond = 60;
const char* const kAllIds[] = {"ticket", "letter", "key",    "compass", "brooch", "photo", "map",
                               "seal",   "ring",   "button", "glove",   "feather", "stamp"};

class CabinetScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        screentest::useStagedResources();
        screentest::loadEnglishTexts();
        // The gallery the cabinet leaves for saves when it goes: into this process's own folder.
        ::setenv("XDG_DATA_HOME", testing::Driver::scratchPath("xdg-cabinet").c_str(), 1);
        UserData::getInstance() = UserData{};
        Settings::getInstance().createUser(u"Ann");
    }

    void TearDown() override {
        cabinet = nullptr;
        JsonDocumentCache::getInstance().clear();
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath(
                std::string("CabinetScreen_") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png"));
        }
        driver().stopCapturingLog();
        Settings::destroyInstance();
    }

    static testing::Driver& driver() { return testing::Driver::get(); }
    void seconds(float s) { driver().stepFrames(static_cast<int>(s * kFramesPerSecond + 0.5f)); }

    void found(const std::string& id, EvidenceState state) {
        Settings::getInstance().getCurrentUser().evidence.entries[id] = {id, static_cast<int32_t>(state)};
    }
    int32_t stateOf(const std::string& id) {
        const EvidenceBook& book = Settings::getInstance().getCurrentUser().evidence;
        const auto it = book.entries.find(id);
        return it == book.entries.end() ? 0 : it->second.state;
    }

    void open(bool ending = false) {
        cocos2d::Scene* scene = cocos2d::Scene::create();
        cabinet = CabinetScreen::create();
        ASSERT_NE(cabinet, nullptr);
        if (ending) {
            cabinet->showCage();
        }
        scene->addChild(cabinet);
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(1);
    }

    Node* ui(const std::string& name) const { return cabinet->getUi()->getChildByName(name); }
    Node* place(const std::string& id) const { return ui("evinence_places")->getChildByName("eplace_" + id); }
    Node* evidence(const std::string& id) const {
        Node* p = place(id);
        return p != nullptr ? p->getChildByName("evidence_" + id) : nullptr;
    }
    Node* look(const std::string& id) const { return ui("TobbinLook")->getChildByName("look_" + id); }

    template <typename T>
    static T* runningScreen() {
        cocos2d::Scene* scene = Director::getInstance()->getRunningScene();
        if (scene == nullptr) {
            return nullptr;
        }
        for (Node* child : scene->getChildren()) {
            if (auto* found = dynamic_cast<T*>(child)) {
                return found;
            }
        }
        return nullptr;
    }

    // The middle of an evidence's touch area on the screen.
    Vec2 touchPoint(const std::string& id) const {
        Node* area = evidence(id)->getChildByTag(6)->getChildByTag(7);
        const cocos2d::Size size = area->getContentSize();
        return area->convertToWorldSpace(Vec2(size.width / 2, size.height / 2));
    }

    void tap(const Vec2& p) {
        driver().tap(p);
        driver().stepFrames(1);
    }

    // Held, so that a cabinet that has left (its scene replaced) can still be asked about it.
    cocos2d::RefPtr<CabinetScreen> cabinet;
};

TEST_F(CabinetScreenTest, WithNothingFoundTheBoardIsBareAndNothingHappensLater) {
    open();
    EXPECT_TRUE(cabinet->getEvidences().empty());
    EXPECT_TRUE(cabinet->getLooks().empty());
    EXPECT_EQ(ui("TobbinLook")->getChildrenCount(), 0);
    EXPECT_EQ(ui("Evidences")->getChildrenCount(), 0);
    for (const char* id : kAllIds) {
        ASSERT_NE(place(id), nullptr) << id;
        EXPECT_EQ(place(id)->getChildByName("pin"), nullptr) << id;
        EXPECT_EQ(evidence(id), nullptr) << id;
        // The message container stays with its place; nothing is there to open it.
        EXPECT_NE(place(id)->getChildByName("message_container"), nullptr) << id;
    }
    EXPECT_FALSE(ui("message_place")->isVisible());
    EXPECT_FALSE(ui("cage")->isVisible());
    std::vector<std::string>& log = driver().captureLog();
    seconds(1.5f);
    tap(Vec2(150, 650));
    EXPECT_EQ(cabinet->getOpenIndex(), -1);
    EXPECT_FALSE(ui("cage")->isVisible());
    EXPECT_EQ(screentest::countLinesStartingWith(log, "playEffect"), 0);
}

TEST_F(CabinetScreenTest, NewEvidenceIsPinnedGreetedLatestLookFirstAndSeenOnTheNextVisit) {
    found("ticket", EvidenceState::New);
    found("map", EvidenceState::New);
    found("key", EvidenceState::Seen);
    open();
    // Marked Seen as soon as the board is built, in memory.
    EXPECT_EQ(stateOf("ticket"), static_cast<int32_t>(EvidenceState::Seen));
    EXPECT_EQ(stateOf("map"), static_cast<int32_t>(EvidenceState::Seen));
    ASSERT_EQ(cabinet->getEvidences().size(), 3u);
    ASSERT_EQ(cabinet->getLooks().size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(cabinet->getEvidences()[i]->getName(),
                  "evidence_" + cabinet->getLooks()[i]->getName().substr(5));
    }
    for (const char* id : {"ticket", "map", "key"}) {
        Node* e = evidence(id);
        ASSERT_NE(e, nullptr) << id;
        EXPECT_EQ(e->getTag(), 2) << id;
        EXPECT_EQ(e->getLocalZOrder(), 1) << id;
        EXPECT_EQ(e->getPosition(), Vec2(-6, 6)) << id;
        EXPECT_FLOAT_EQ(e->getScale(), 0.35f) << id;
        EXPECT_NE(place(id)->getChildByName("pin"), nullptr) << id;
    }
    EXPECT_EQ(place("seal")->getChildByName("pin"), nullptr);
    EXPECT_EQ(look("seal"), nullptr);
    EXPECT_EQ(look("key")->getOpacity(), 255);
    EXPECT_EQ(look("ticket")->getOpacity(), 0);
    EXPECT_EQ(look("map")->getOpacity(), 0);

    // At 0.7 s the later look in the description ("map") fades in first, lifted above the others.
    seconds(0.95f);
    EXPECT_GT(look("map")->getOpacity(), 60);
    EXPECT_GT(look("map")->getLocalZOrder(), look("key")->getLocalZOrder() + 20);
    EXPECT_EQ(look("ticket")->getOpacity(), 0);
    seconds(1.0f);
    EXPECT_EQ(look("map")->getOpacity(), 255);
    EXPECT_GT(look("ticket")->getOpacity(), 60);
    seconds(1.5f);
    EXPECT_EQ(look("ticket")->getOpacity(), 255);
    EXPECT_FLOAT_EQ(look("ticket")->getScale(), 1.0f);
    EXPECT_FLOAT_EQ(look("ticket")->getRotation(), 0.0f);
    EXPECT_EQ(look("ticket")->getLocalZOrder(), 0);
    EXPECT_TRUE(cabinet->getNewLooks().empty());
    driver().saveScreenshot(testing::Driver::outputPath("CabinetScreen_board.png"));

    open();
    EXPECT_TRUE(cabinet->getNewLooks().empty());
    EXPECT_EQ(look("ticket")->getOpacity(), 255);
    EXPECT_EQ(look("map")->getOpacity(), 255);
}

TEST_F(CabinetScreenTest, ATouchEnlargesAnEvidenceWithItsMessageAndTheNextTouchPutsItBack) {
    found("key", EvidenceState::Seen);
    found("photo", EvidenceState::Seen);
    open();
    seconds(0.1f);
    tap(Vec2(1270, 10));
    EXPECT_EQ(cabinet->getOpenIndex(), -1);

    std::vector<std::string>& log = driver().captureLog();
    tap(touchPoint("key"));
    ASSERT_GE(cabinet->getOpenIndex(), 0);
    EXPECT_EQ(cabinet->getEvidences()[cabinet->getOpenIndex()], evidence("key"));
    EXPECT_EQ(screentest::countLinesStartingWith(log, "playEffect evidence_click"), 1);
    EXPECT_NE(look("key")->getActionByTag(CabinetScreen::kPulseTag), nullptr);
    seconds(0.5f);
    Node* key = evidence("key");
    Node* keyPlace = place("key");
    EXPECT_NEAR(key->getScale(), 1.0f, 1e-3f);
    // Full size at the photo mark, three degrees on the screen whatever its place's tilt.
    Node* mark = ui("message_place")->getChildByName("foto_place");
    const Vec2 markWorld = mark->getParent()->convertToWorldSpace(mark->getPosition());
    EXPECT_LT(keyPlace->convertToWorldSpace(key->getPosition()).distance(markWorld), 1.0f);
    EXPECT_NEAR(keyPlace->getRotation() + key->getRotation(), 3.0f, 1e-3f);
    EXPECT_EQ(keyPlace->getLocalZOrder(), 100);
    EXPECT_FALSE(keyPlace->getChildByTag(1)->isVisible());
    Node* message = keyPlace->getChildByName("message_container");
    EXPECT_EQ(message->getOpacity(), 255);
    auto* text = dynamic_cast<cocos2d::Label*>(message->getChildByName("message_label"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->getString(), TextTable::getInstance().getText("Cabinet", "evidence_key_message"));
    EXPECT_EQ(text->getString().find("evidence_key"), std::string::npos);
    driver().saveScreenshot(testing::Driver::outputPath("CabinetScreen_open.png"));

    // A touch on the other evidence only puts this one back.
    tap(touchPoint("photo"));
    EXPECT_EQ(cabinet->getOpenIndex(), -1);
    EXPECT_EQ(look("key")->getActionByTag(CabinetScreen::kPulseTag), nullptr);
    EXPECT_EQ(look("key")->getColor(), cocos2d::Color3B(255, 255, 255));
    seconds(0.5f);
    EXPECT_NEAR(key->getScale(), 0.35f, 1e-3f);
    EXPECT_LT(key->getPosition().distance(Vec2(-6, 6)), 0.01f);
    EXPECT_FLOAT_EQ(key->getRotation(), 0.0f);
    EXPECT_TRUE(keyPlace->getChildByTag(1)->isVisible());
    EXPECT_EQ(keyPlace->getLocalZOrder(), 0);
    EXPECT_EQ(message->getOpacity(), 0);
    EXPECT_EQ(screentest::countLinesStartingWith(log, "playEffect evidence_click"), 2);

    tap(touchPoint("photo"));
    ASSERT_GE(cabinet->getOpenIndex(), 0);
    EXPECT_EQ(cabinet->getEvidences()[cabinet->getOpenIndex()], evidence("photo"));
}

TEST_F(CabinetScreenTest, TheMenuButtonAndBackspaceLeaveForTheGalleryOnce) {
    std::vector<std::string>& log = driver().captureLog();
    open();
    Node* menu = ui("Menu");
    ASSERT_NE(menu, nullptr);
    const cocos2d::Size size = menu->getContentSize();
    tap(menu->convertToWorldSpace(Vec2(size.width / 2, size.height / 2)));
    EXPECT_TRUE(cabinet->hasLeft());
    // A second press while the fade runs changes nothing.
    tap(menu->convertToWorldSpace(Vec2(size.width / 2, size.height / 2)));
    EXPECT_EQ(screentest::countLinesStartingWith(log, "playEffect btnDown"), 1);
    seconds(1.2f);
    EXPECT_NE(runningScreen<GalleryScreen>(), nullptr);
    EXPECT_EQ(runningScreen<CabinetScreen>(), nullptr);
    EXPECT_EQ(Director::getInstance()->getSceneCount(), 1);

    open();
    driver().key(Key::KEY_BACKSPACE, true);
    driver().key(Key::KEY_BACKSPACE, false);
    driver().stepFrames(1);
    EXPECT_TRUE(cabinet->hasLeft());
    seconds(1.2f);
    EXPECT_NE(runningScreen<GalleryScreen>(), nullptr);
}

TEST_F(CabinetScreenTest, TheEndingDropsTheCageAfterTheLooksAndCannotBeLeftMeanwhile) {
    for (const char* id : kAllIds) {
        found(id, EvidenceState::Seen);
    }
    found("stamp", EvidenceState::New);
    // The gallery sets the flag as it leads into the ending.
    Settings::getInstance().getCurrentUser().cageUnlocked = true;
    std::vector<std::string>& log = driver().captureLog();
    open(true);
    Node* cage = ui("cage");
    const Vec2 rest = cage->getPosition();
    EXPECT_TRUE(cabinet->isCageDue());
    EXPECT_FALSE(cage->isVisible());

    // The one new look takes 1.0 s from 0.7 s; then the cage comes in from the right, three times
    // its size.
    seconds(1.6f);
    EXPECT_FALSE(cage->isVisible());
    seconds(0.15f);
    EXPECT_TRUE(cage->isVisible());
    EXPECT_GT(cage->getScale(), 2.0f);
    EXPECT_GT(cage->getPositionX(), rest.x + 100.0f);
    EXPECT_LT(cage->getOpacity(), 128);

    Node* menu = ui("Menu");
    const cocos2d::Size size = menu->getContentSize();
    tap(menu->convertToWorldSpace(Vec2(size.width / 2, size.height / 2)));
    driver().key(Key::KEY_BACKSPACE, true);
    driver().key(Key::KEY_BACKSPACE, false);
    driver().stepFrames(1);
    EXPECT_FALSE(cabinet->hasLeft());

    seconds(0.6f);
    EXPECT_FLOAT_EQ(cage->getScale(), 1.0f);
    EXPECT_EQ(cage->getPosition(), rest);
    EXPECT_EQ(cage->getOpacity(), 255);
    EXPECT_TRUE(screentest::hasLine(log, "playEffect cage"));
    cocos2d::Scene* board = Director::getInstance()->getRunningScene();
    seconds(2.8f);
    EXPECT_FALSE(cabinet->hasLeft());
    EXPECT_EQ(Director::getInstance()->getRunningScene(), board);
    EXPECT_FALSE(Settings::getInstance().getCurrentUser().isEndingPlayed()) << "quitting now brings it back";
    // The closing slideshow fades in over 0.3 s; from its start the ending counts as played.
    seconds(0.3f);
    EXPECT_TRUE(Settings::getInstance().getCurrentUser().isEndingPlayed());
    seconds(0.4f);
    EXPECT_NE(dynamic_cast<IntroScene*>(Director::getInstance()->getRunningScene()), nullptr);
    EXPECT_EQ(Director::getInstance()->getSceneCount(), 1);

    // Later visits show the cage at rest.
    open();
    EXPECT_TRUE(ui("cage")->isVisible());
    seconds(1.0f);
    EXPECT_FLOAT_EQ(ui("cage")->getScale(), 1.0f);
    EXPECT_EQ(ui("cage")->getPosition(), rest);
}

TEST_F(CabinetScreenTest, AfterTheEndingTheCageKeepsTheMenuButtonInSightAndWorking) {
    for (const char* id : kAllIds) {
        found(id, EvidenceState::Seen);
    }
    Settings::getInstance().getCurrentUser().cageUnlocked = true;
    Settings::getInstance().getCurrentUser().markEndingPlayed();
    open();
    Node* cage = ui("cage");
    Node* menu = ui("Menu");
    ASSERT_NE(cage, nullptr);
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(cage->isVisible());
    seconds(1.0f);
    driver().saveScreenshot(testing::Driver::outputPath("CabinetScreen_cage_after_ending.png"));

    // The button looks the same with the cage over the board as without it: nothing of the cage
    // lies over it.
    const cocos2d::Size size = menu->getContentSize();
    std::vector<Vec2> probes;
    for (float fx : {0.15f, 0.5f, 0.85f}) {
        for (float fy : {0.25f, 0.5f, 0.75f}) {
            probes.push_back(menu->convertToWorldSpace(Vec2(size.width * fx, size.height * fy)));
        }
    }
    std::vector<cocos2d::Color4B> caged;
    for (const Vec2& p : probes) {
        caged.push_back(screentest::colourAt(p));
    }
    cage->setVisible(false);
    driver().stepFrames(1);
    for (size_t i = 0; i < probes.size(); ++i) {
        const cocos2d::Color4B bare = screentest::colourAt(probes[i]);
        EXPECT_LE(std::abs(bare.r - caged[i].r) + std::abs(bare.g - caged[i].g) + std::abs(bare.b - caged[i].b), 6)
            << "the cage covers the menu button at (" << probes[i].x << ", " << probes[i].y << ")";
    }
    cage->setVisible(true);
    driver().stepFrames(1);

    tap(menu->convertToWorldSpace(Vec2(size.width / 2, size.height / 2)));
    EXPECT_TRUE(cabinet->hasLeft());
}

TEST_F(CabinetScreenTest, TheDevelopersCageWithoutTheFlagLeavesTheEndingToCome) {
    for (const char* id : kAllIds) {
        found(id, EvidenceState::Seen);
    }
    open(true);
    seconds(5.0f);
    EXPECT_TRUE(cabinet->hasLeft());
    EXPECT_FALSE(Settings::getInstance().getCurrentUser().isEndingPlayed());
    EXPECT_FALSE(Settings::getInstance().getCurrentUser().cageUnlocked);
}

// The staged description without the picture of one evidence, found under the override folder.
std::string descriptionWithoutPicture(const std::string& id) {
    std::ifstream in(std::string(KESTROVA_RESOURCE_DIR) + "/res/ui/Cabinet/ccnode.json");
    std::stringstream text;
    text << in.rdbuf();
    std::string json = text.str();
    const std::string name = "\"evidence_" + id + "\"";
    const size_t at = json.find(name);
    if (at == std::string::npos) {
        return "";
    }
    json.replace(at, name.size(), "\"evidence_" + id + "_gone\"");
    const std::filesystem::path folder = testing::Driver::scratchPath("cabinet-override");
    std::filesystem::create_directories(folder / "ui" / "Cabinet");
    std::ofstream(folder / "ui" / "Cabinet" / "ccnode.json") << json;
    return folder.string() + "/";
}

TEST_F(CabinetScreenTest, ALookWithoutItsPictureIsShownButTouchesStillOpenTheRightEvidence) {
    const std::string overrides = descriptionWithoutPicture("key");
    ASSERT_FALSE(overrides.empty());
    screentest::useStagedResources(overrides);
    JsonDocumentCache::getInstance().clear();
    found("key", EvidenceState::New);
    found("photo", EvidenceState::Seen);
    found("ticket", EvidenceState::Seen);
    open();
    EXPECT_EQ(evidence("key"), nullptr);
    ASSERT_NE(look("key"), nullptr);
    // Only evidence with a picture can be touched; looks and pictures stay paired by index.
    ASSERT_EQ(cabinet->getEvidences().size(), 2u);
    ASSERT_EQ(cabinet->getLooks().size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(cabinet->getEvidences()[i]->getName().substr(9), cabinet->getLooks()[i]->getName().substr(5));
    }
    seconds(1.8f);
    EXPECT_EQ(look("key")->getOpacity(), 255);
    EXPECT_EQ(stateOf("key"), static_cast<int32_t>(EvidenceState::Seen));

    tap(touchPoint("photo"));
    ASSERT_GE(cabinet->getOpenIndex(), 0);
    EXPECT_EQ(cabinet->getEvidences()[cabinet->getOpenIndex()], evidence("photo"));
    EXPECT_NE(look("photo")->getActionByTag(CabinetScreen::kPulseTag), nullptr);
    EXPECT_EQ(look("key")->getActionByTag(CabinetScreen::kPulseTag), nullptr);
    screentest::useStagedResources();
}

}  // namespace
