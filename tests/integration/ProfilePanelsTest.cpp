#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Driver.h"
#include "LookContrast.h"
#include "RunningScreen.h"
#include "ScreenTestSupport.h"
#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/events/EventKeyboard.h"
#include "engine/platform/GLView.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/Button.h"
#include "engine/ui/TextFieldTTF.h"

#include "GameSound.h"
#include "Profile.h"
#include "Settings.h"
#include "TextTable.h"
#include "UserData.h"
#include "nodes/ChooseUserScreen.h"
#include "nodes/NewUserPopup.h"
#include "ui/FactoryClasses.h"
#include "ui/GameScreen.h"
#include "ui/IntroScene.h"
#include "ui/LoadingScreen.h"
#include "ui/MapScreen.h"
#include "ui/NodeFromJson.h"
#include "ui/TopLayer.h"

namespace {

using cocos2d::Director;
using cocos2d::Vec2;
using testing::runningScreen;
using KeyCode = cocos2d::EventKeyboard::KeyCode;

// The chooser and the name popup in a container over a white scene, with the always-on-top layer
// installed for their confirmations.
class ProfilePanelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        screentest::useStagedResources();
        screentest::loadEnglishTexts();
        registerFactoryClasses();
        UserData::getInstance() = UserData{};
        GameSound::destroyInstance();
        Director::getInstance()->replaceScene(cocos2d::Scene::create());
        driver().stepFrames(70);
        white.open();
        top = TopLayer::create();
        ASSERT_NE(top, nullptr);
        Director::getInstance()->setNotificationNode(top);
        top->onEnter();
        driver().stepFrames(1);
    }

    void TearDown() override {
        if (top == nullptr) {
            return;
        }
        top->onExit();
        top = nullptr;
        Director::getInstance()->setNotificationNode(nullptr);
        if (cocos2d::GLView* view = Director::getInstance()->getOpenGLView()) {
            view->setCursorVisible(true);
        }
    }

    // Players by name and story level; the first is current.
    void players(const std::vector<std::pair<std::u16string, int>>& list) {
        Settings& settings = Settings::getInstance();
        for (auto it = list.rbegin(); it != list.rend(); ++it) {
            settings.createUser(it->first);
            settings.getCurrentUser().storyLevel = it->second;
        }
    }

    ChooseUserScreen* openChooser() {
        // Centred on the visible area, as the options' popup container stands.
        container = cocos2d::Node::create();
        container->setPosition(visibleCenter());
        white.scene->addChild(container);
        NodeFromJson loader("ui/OptionsScreen");
        auto* chooser = dynamic_cast<ChooseUserScreen*>(loader.createNode("ChooseUser"));
        EXPECT_NE(chooser, nullptr);
        container->addChild(chooser);
        driver().stepFrames(1);
        return chooser;
    }

    static cocos2d::ui::Button* button(cocos2d::Node* chooser, int slot, const char* name) {
        return dynamic_cast<cocos2d::ui::Button*>(chooser->getChildByTag(slot)->getChildByName(name));
    }

    static Vec2 centreOf(cocos2d::Node* node) {
        const cocos2d::Size size = node->getContentSize();
        return node->convertToWorldSpace(Vec2(size.width / 2.0f, size.height / 2.0f));
    }

    void answer(const char* yesOrNo) {
        ASSERT_TRUE(top->isConfirmationOpen());
        for (cocos2d::Node* child : top->getConfirmationLayer()->getChildren()) {
            if (cocos2d::Node* b = child->getChildByName(yesOrNo)) {
                driver().tap(centreOf(b));
                driver().stepFrames(2);
                return;
            }
        }
        FAIL() << "no " << yesOrNo;
    }

    static NewUserPopup* popupIn(cocos2d::Node* parent) {
        for (cocos2d::Node* child : parent->getChildren()) {
            if (auto* popup = dynamic_cast<NewUserPopup*>(child)) {
                return popup;
            }
        }
        return nullptr;
    }

    void type(const std::string& text) {
        for (char ch : text) {
            driver().text(std::string(1, ch));
        }
        driver().stepFrames(1);
    }

    void pressEnter() {
        driver().key(KeyCode::KEY_KP_ENTER, true);
        driver().key(KeyCode::KEY_KP_ENTER, false);
        driver().stepFrames(1);
    }

    testing::Driver& driver() { return testing::Driver::get(); }

    screentest::WhiteScene white;
    TopLayer* top = nullptr;
    cocos2d::Node* container = nullptr;
};

TEST_F(ProfilePanelsTest, TheCurrentPlayerComesFirstThenTheOthersThenEmptySlots) {
    struct Case {
        std::vector<std::pair<std::u16string, int>> players;
        std::vector<std::string> titles;
    };
    const std::string add = TextTable::getInstance().getText("ui", "add_new_player");
    const Case cases[] = {
        {{{u"Cid", 0}, {u"Bob", 0}}, {"Cid", "Bob", add, add}},
        {{{u"Bob", 0}, {u"Ann", 0}, {u"Dee", 0}, {u"Cid", 0}}, {"Bob", "Ann", "Cid", "Dee"}},
        // A fifth player is not shown.
        {{{u"Eve", 0}, {u"Ann", 0}, {u"Bob", 0}, {u"Cid", 0}, {u"Dee", 0}}, {"Eve", "Ann", "Bob", "Cid"}},
    };
    for (const Case& c : cases) {
        UserData::getInstance() = UserData{};
        players(c.players);
        ChooseUserScreen* chooser = openChooser();
        for (int slot = 1; slot <= 4; ++slot) {
            cocos2d::ui::Button* user = button(chooser, slot, "user");
            ASSERT_NE(user, nullptr);
            const std::string& title = c.titles[static_cast<size_t>(slot - 1)];
            EXPECT_EQ(user->getTitleText(), title) << slot;
            const bool empty = title == add;
            const bool current = slot == 1;
            EXPECT_EQ(user->isEnabled(), !current) << slot;
            EXPECT_EQ(user->isBright(), !empty) << slot;
            if (current) {
                // Shown as the chosen one: its own lit plate, not the dimmed look of an empty slot.
                const cocos2d::Sprite* shown = user->getShownImage();
                ASSERT_NE(shown, nullptr);
                EXPECT_EQ(shown->getColor(), cocos2d::Color3B::WHITE);
                EXPECT_NE(shown->getSpriteFrame(), button(chooser, 3, "user")->getShownImage()->getSpriteFrame());
            }
            // A tick marks the current player where the others have their delete buttons.
            EXPECT_EQ(chooser->getChildByTag(slot)->getChildByName("current") != nullptr, current) << slot;
            EXPECT_EQ(button(chooser, slot, "delete") != nullptr, !empty && !current) << slot;
        }
        if (c.titles.size() == 4 && c.titles[1] == "Bob" && c.titles[2] == add) {
            driver().saveScreenshot(driver().outputPath("profile-chooser.png"));
        }
        container->removeFromParent();
    }
}

TEST_F(ProfilePanelsTest, TheCurrentPlayersNameReadsOnItsOwnPlate) {
    players({{u"Cid", 0}, {u"Bob", 0}});
    ChooseUserScreen* chooser = openChooser();
    driver().stepFrames(2);
    cocos2d::ui::Button* user = button(chooser, 1, "user");
    ASSERT_NE(user, nullptr);
    ASSERT_NE(user->getTitleRenderer(), nullptr);
    ASSERT_EQ(user->getTitleText(), "Cid");
    const cocos2d::Color3B ink = user->getTitleRenderer()->getDisplayedColor();
    const unsigned char inkRgb[3] = {ink.r, ink.g, ink.b};
    // The plate's face on either side of the short name, where nothing but the plate is drawn.
    const cocos2d::Size size = user->getContentSize();
    for (const float across : {0.14f, 0.2f, 0.8f, 0.86f}) {
        for (const float up : {0.35f, 0.5f, 0.65f}) {
            const cocos2d::Color4B face =
                screentest::colourAt(user->convertToWorldSpace(Vec2(size.width * across, size.height * up)));
            const unsigned char faceRgb[3] = {face.r, face.g, face.b};
            EXPECT_GE(testing::contrastRatio(inkRgb, faceRgb), 4.5)
                << "the name in " << int(ink.r) << "," << int(ink.g) << "," << int(ink.b) << " on the plate's "
                << int(face.r) << "," << int(face.g) << "," << int(face.b) << " at " << across << ", " << up;
        }
    }
    driver().saveScreenshot(driver().outputPath("profile-chooser-current.png"));
}

TEST_F(ProfilePanelsTest, ADeletedPlayerLeavesAnEmptySlotAtOnceAndIsNotSavedYet) {
    players({{u"Ann", 0}, {u"Bob", 0}});
    ChooseUserScreen* chooser = openChooser();
    const std::vector<std::string>& log = driver().captureLog();
    // "No" keeps the player.
    driver().tap(centreOf(button(chooser, 2, "delete")));
    driver().stepFrames(1);
    answer("No");
    EXPECT_TRUE(Settings::getInstance().userExists(u"Bob"));
    ASSERT_NE(button(chooser, 2, "delete"), nullptr);

    driver().tap(centreOf(button(chooser, 2, "delete")));
    driver().stepFrames(1);
    EXPECT_TRUE(screentest::hasLine(log, "show confirmation: 'delete_profile'"));
    answer("Yes");
    EXPECT_FALSE(Settings::getInstance().userExists(u"Bob"));
    EXPECT_EQ(button(chooser, 2, "delete"), nullptr);
    cocos2d::ui::Button* user = button(chooser, 2, "user");
    EXPECT_EQ(user->getTitleText(), TextTable::getInstance().getText("ui", "add_new_player"));
    EXPECT_FALSE(user->isBright());
    EXPECT_EQ(screentest::countLinesStartingWith(log, "UserDataIO::saveUserData"), 0);
    // The emptied slot now adds a player.
    driver().tap(centreOf(user));
    driver().stepFrames(1);
    EXPECT_NE(popupIn(container), nullptr);
    EXPECT_TRUE(screentest::hasLine(log, "new user"));
    driver().stopCapturingLog();
}

TEST_F(ProfilePanelsTest, SwitchingSavesAndLeadsToTheMapOrIntoTheDemoLevel) {
    struct Case {
        int storyLevel;
        bool map;
    };
    for (const Case c : {Case{0, true}, Case{-1, false}}) {
        TearDown();
        SetUp();
        players({{u"Ann", 3}, {u"Bob", c.storyLevel}});
        ChooseUserScreen* chooser = openChooser();
        const std::vector<std::string>& log = driver().captureLog();
        driver().tap(centreOf(button(chooser, 2, "user")));
        driver().stepFrames(1);
        EXPECT_TRUE(screentest::hasLine(log, "show confirmation: 'change_user_confirm'"));
        answer("Yes");
        EXPECT_EQ(UserData::getInstance().currentUserName, u"Bob");
        EXPECT_EQ(screentest::countLinesStartingWith(log, "UserDataIO::saveUserData"), 1);
        driver().stepFrames(70);
        EXPECT_EQ(runningScreen<MapScreen>() != nullptr, c.map) << c.storyLevel;
        GameScreen* level = runningScreen<GameScreen>();
        EXPECT_EQ(level != nullptr, !c.map) << c.storyLevel;
        if (level != nullptr) {
            EXPECT_EQ(level->getLevelPath(), "demo/Vesquino") << "the profile's own demo picture";
        }
        driver().stopCapturingLog();
    }
}

TEST_F(ProfilePanelsTest, TheNamePopupOpensInPlaceOfTheChooserAndNoBringsTheChooserBack) {
    players({{u"Ann", 0}});
    ChooseUserScreen* chooser = openChooser();
    driver().tap(centreOf(button(chooser, 2, "user")));
    driver().stepFrames(1);
    NewUserPopup* popup = popupIn(container);
    ASSERT_NE(popup, nullptr);
    EXPECT_FALSE(chooser->isVisible());
    auto* prompt = dynamic_cast<cocos2d::Label*>(popup->getChildByName("enter_name"));
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->getString(), TextTable::getInstance().getText("ui", "enter_name"));
    ASSERT_NE(popup->getTextField(), nullptr);
    EXPECT_EQ(popup->getTextField()->getPlaceHolder(), TextTable::getInstance().getText("ui", "new_player_name"));
    EXPECT_TRUE(popup->getTextField()->isAttachedWithIME());
    driver().saveScreenshot(driver().outputPath("new-player-popup.png"));

    driver().tap(centreOf(popup->getChildByName("No")));
    driver().stepFrames(2);
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_EQ(popupIn(container), nullptr);
    EXPECT_EQ(UserData::getInstance().profiles.size(), 1u);
}

TEST_F(ProfilePanelsTest, TheNameFieldHoldsThirtyOneCharactersHoweverTheyArrive) {
    players({{u"Ann", 0}});
    NodeFromJson loader("ui/Confirmation");
    auto* popup = dynamic_cast<NewUserPopup*>(loader.createNode("EnterNewUser"));
    ASSERT_NE(popup, nullptr);
    popup->setPosition(visibleCenter());
    white.scene->addChild(popup);
    driver().stepFrames(1);
    cocos2d::TextFieldTTF* field = popup->getTextField();
    ASSERT_NE(field, nullptr);
    EXPECT_NE(field->getActionByTag(NewUserPopup::kBlinkTag), nullptr);
    type("A");
    EXPECT_EQ(field->getActionByTag(NewUserPopup::kBlinkTag), nullptr) << "the blink stops at the first character";
    EXPECT_EQ(field->getOpacity(), 255);
    type(std::string(31, 'b'));
    EXPECT_EQ(field->getCharCount(), 31);

    // "\xc3\xa9" is one character (e acute) of two bytes: a cut never splits it.
    struct Case {
        std::string before;
        std::string pasted;
        std::string after;
    };
    const Case cases[] = {
        {std::string(30, 'c'), "defgh", std::string(30, 'c') + "d"},
        {std::string(26, 'c'), "defgh", std::string(26, 'c') + "defgh"},
        {std::string(25, 'c'), "defghijk", std::string(25, 'c') + "defghi"},
        {std::string(31, 'c'), "d", std::string(31, 'c')},
        {std::string(5, 'c'), std::string(30, 'e'), std::string(5, 'c') + std::string(26, 'e')},
        {std::string(29, 'c'), "\xc3\xa9\xc3\xa9\xc3\xa9", std::string(29, 'c') + "\xc3\xa9\xc3\xa9"},
    };
    for (const Case& c : cases) {
        field->setString(c.before);
        driver().text(c.pasted);
        driver().stepFrames(1);
        EXPECT_EQ(field->getString(), c.after) << c.before.size() << " characters, then a paste of " << c.pasted;
        EXPECT_LE(field->getCharCount(), NewUserPopup::kMaxNameLength);
    }
}

TEST_F(ProfilePanelsTest, YesAndEnterAnswerOnlyWithANewNonEmptyName) {
    players({{u"Ann", 0}});
    NodeFromJson loader("ui/Confirmation");
    auto* popup = dynamic_cast<NewUserPopup*>(loader.createNode("EnterNewUser"));
    ASSERT_NE(popup, nullptr);
    std::vector<std::string> answers;
    popup->setCallback([&](NewUserPopup*, std::string name) { answers.push_back(name); });
    popup->setPosition(visibleCenter());
    white.scene->addChild(popup);
    driver().stepFrames(1);

    pressEnter();
    driver().tap(centreOf(popup->getChildByName("Yes")));
    driver().stepFrames(1);
    EXPECT_TRUE(answers.empty()) << "an empty name does nothing";

    type("Ann");
    pressEnter();
    EXPECT_TRUE(answers.empty());
    auto* prompt = dynamic_cast<cocos2d::Label*>(popup->getChildByName("enter_name"));
    EXPECT_EQ(prompt->getString(), TextTable::getInstance().getText("ui", "profile_exists"));

    type("a");
    pressEnter();
    EXPECT_EQ(answers, (std::vector<std::string>{"Anna"}));
    // Once answered, a second Enter or click is not a second player.
    pressEnter();
    driver().tap(centreOf(popup->getChildByName("Yes")));
    driver().stepFrames(1);
    EXPECT_EQ(answers.size(), 1u);
}

TEST_F(ProfilePanelsTest, TheTakenNameLineGoesAsSoonAsTheNameChanges) {
    players({{u"Ann", 0}});
    NodeFromJson loader("ui/Confirmation");
    auto* popup = dynamic_cast<NewUserPopup*>(loader.createNode("EnterNewUser"));
    ASSERT_NE(popup, nullptr);
    popup->setCallback([](NewUserPopup*, std::string) {});
    popup->setPosition(visibleCenter());
    white.scene->addChild(popup);
    driver().stepFrames(1);
    auto* prompt = dynamic_cast<cocos2d::Label*>(popup->getChildByName("enter_name"));
    ASSERT_NE(prompt, nullptr);
    const std::string question = TextTable::getInstance().getText("ui", "enter_name");
    const std::string taken = TextTable::getInstance().getText("ui", "profile_exists");

    // A typed letter and a deleted one both change the name; Enter on the same name changes nothing.
    struct Edit {
        const char* what;
        std::function<void()> change;
    };
    const Edit edits[] = {
        {"a letter typed", [this] { type("x"); }},
        {"a letter deleted",
         [this] {
             driver().key(KeyCode::KEY_BACKSPACE, true);
             driver().key(KeyCode::KEY_BACKSPACE, false);
             driver().stepFrames(1);
         }},
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.what);
        popup->getTextField()->setString("Ann");
        pressEnter();
        ASSERT_EQ(prompt->getString(), taken);
        pressEnter();
        EXPECT_EQ(prompt->getString(), taken);
        edit.change();
        EXPECT_EQ(prompt->getString(), question);
    }
}

TEST_F(ProfilePanelsTest, AFirstStartAsksForANameWithoutNoAndTheNameStartsTheIntro) {
    // The store as a first start leaves it: one nameless player before the intro.
    Settings::getInstance().ensureDefaultUser();
    Settings::getInstance().getCurrentUser().storyLevel = -1;
    cocos2d::Scene* scene = cocos2d::Scene::create();
    LoadingScreen* loading = LoadingScreen::create();
    ASSERT_NE(loading, nullptr);
    scene->addChild(loading);
    Director::getInstance()->replaceScene(scene);
    driver().stepFrames(1);
    ASSERT_TRUE(testing::stepUntil(
        "the loading screen to finish", [loading] { return loading->isFinished(); }, 10.0f));
    auto* popup = dynamic_cast<NewUserPopup*>(loading->getNewUserPopup());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->getChildByName("No"), nullptr);
    // "Yes" stands 50 to the left of the popup's centre in the description (a second popup built
    // to compare would take the keyboard from this one).
    EXPECT_FLOAT_EQ(popup->getChildByName("Yes")->getPositionX(), -50.0f + 50.0f);
    driver().saveScreenshot(driver().outputPath("first-start-name.png"));

    const std::vector<std::string>& log = driver().captureLog();
    type("Zoe");
    pressEnter();
    pressEnter();
    EXPECT_EQ(UserData::getInstance().currentUserName, u"Zoe");
    const Profile& zoe = Settings::getInstance().getCurrentUser();
    EXPECT_EQ(zoe.storyLevel, -1);
    EXPECT_FALSE(zoe.world.countries.empty()) << "the packs are read into the new player";
    EXPECT_EQ(screentest::countLinesStartingWith(log, "UserDataIO::saveUserData"), 0);
    driver().stopCapturingLog();
    driver().stepFrames(70);
    IntroScene* intro = runningScreen<IntroScene>();
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(intro->getFrameCount(), 9);
    EXPECT_EQ(intro->getFrameIndex(), 0);
}

}  // namespace
