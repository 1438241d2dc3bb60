// A tap that closes a popup or a bubble over a level belongs to the popup alone: with a tool in the
// player's hand, the level under it neither counts a miss, nor spends a drop, nor makes a sound, in
// the frame of the tap or in the frames after it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "BoardTestStage.h"
#include "Driver.h"
#include "GameSound.h"
#include "LevelScreenFixture.h"
#include "ScreenTestSupport.h"
#include "Settings.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/scene/Scene.h"
#include "gameBoard/FlaskLiquid.h"
#include "gameBoard/GameBoard.h"
#include "minigames/MinigameBase.h"
#include "minigames/MinigameScreen.h"
#include "minigames/MinigamesSelectionScreen.h"
#include "nodes/LevelNode.h"
#include "nodes/OptionsScreen.h"
#include "nodes/RestoreToolSelector.h"
#include "ui/ChatScreen.h"
#include "ui/FactoryClasses.h"
#include "ui/GameScreen.h"
#include "ui/PopupScreenBase.h"
#include "ui/TopLayer.h"
#include "ui/TutorialScreen.h"

namespace {

using cocos2d::Node;
using cocos2d::Vec2;

testing::Driver& driver() {
    return testing::Driver::get();
}

void wait(float seconds) {
    driver().stepFrames(static_cast<int>(seconds * 60.0f) + 1);
}

Vec2 centreOf(const Node* node) {
    const cocos2d::Size size = node->getContentSize();
    return node->convertToWorldSpace(Vec2(size.width / 2.0f, size.height / 2.0f));
}

template <typename T>
T* runningScreen() {
    cocos2d::Scene* running = cocos2d::Director::getInstance()->getRunningScene();
    return running != nullptr ? screentest::childOf<T>(running) : nullptr;
}

// The popup of one case, opened over the level and ready to be closed by a tap.
struct Opened {
    // Where the tap that closes it lands.
    Vec2 tap;
    // Whether it is gone after the tap.
    std::function<bool()> closed;
};

class PopupTapThroughTest : public screentest::LevelScreenFixture {
public:
    // The cases reach the level and the top layer through the fixture.
    using LevelScreenFixture::screen;
    using LevelScreenFixture::top;
    using LevelScreenFixture::bareCanvas;
    using LevelScreenFixture::level;

    static void SetUpTestSuite() { setUpSuite("tap-through"); }

    void TearDown() override {
        driver().stopCapturingLog();
        cocos2d::Director::getInstance()->popToRootScene();
        driver().stepFrames(1);
        LevelScreenFixture::TearDown();
    }

    // A story level of the first picture, past its opening, with every lesson already seen.
    GameScreen* openLevel() {
        playerOn(5, "USA", "HarborDawn").shownTutorials = {8, 9, MinigameScreen::kTwoMatchTutorial};
        if (showLevel() == nullptr) {
            return nullptr;
        }
        // The opening: input opens at 1.4 s.
        wait(1.6f);
        return screen;
    }

    // The spray in the player's hand, as the player takes it from the tool bar.
    void takeSpray() {
        RestoreToolSelector* tools = screen->getToolBar();
        if (tools->getCurrent() != 1) {
            driver().tap(centreOf(tools->getButton(1)));
            driver().stepFrames(2);
        }
        ASSERT_EQ(tools->getCurrent(), 1);
    }

    PopupScreenBase* container() const { return screentest::childOf<PopupScreenBase>(screen); }
};

TEST_F(PopupTapThroughTest, ATapThatClosesAPopupNeverReachesTheLevelUnderIt) {
    struct Case {
        const char* popup;
        std::function<Opened(PopupTapThroughTest&)> open;
    };
    const Case cases[] = {
        {"a curator's message over the level",
         [](PopupTapThroughTest& t) {
             ChatScreen* chat = ChatScreen::create();
             chat->showMessage("tutorials.tutorial-15_1", true);
             t.screen->addChild(chat, 5);
             wait(2.2f);
             cocos2d::RefPtr<ChatScreen> kept(chat);
             return Opened{t.bareCanvas(), [kept] { return kept->getParent() == nullptr; }};
         }},
        {"the curator's praise in the score panel, which lets play go on",
         [](PopupTapThroughTest& t) {
             Node* place = t.screen->getHudRoot()->getChildByTag(1)->getChildByName("chat_place");
             ChatScreen* chat = ChatScreen::create();
             chat->showMessage("tutorials.tutorial-40_1", false);
             chat->removeDimBackground();
             chat->setBlockTouches(false);
             place->addChild(chat);
             wait(2.2f);
             cocos2d::RefPtr<ChatScreen> kept(chat);
             return Opened{t.bareCanvas(), [kept] { return kept->getParent() == nullptr; }};
         }},
        {"a lesson the player taps away",
         [](PopupTapThroughTest& t) {
             TutorialScreen* lesson = TutorialScreen::create();
             lesson->showTutorial(13, [] {});
             t.screen->addChild(lesson, 5);
             wait(2.2f);
             cocos2d::RefPtr<TutorialScreen> kept(lesson);
             return Opened{t.bareCanvas(), [kept] { return kept->getParent() == nullptr; }};
         }},
        {"the pause overlay, whose first tap after the return only wakes the game",
         [](PopupTapThroughTest& t) {
             t.top->showPause();
             driver().stepFrames(2);
             t.top->hidePause();
             driver().stepFrames(2);
             TopLayer* layer = t.top;
             return Opened{t.bareCanvas(), [layer] { return !layer->willSwallowNextTouch(); }};
         }},
        {"the exit confirmation's No",
         [](PopupTapThroughTest& t) {
             t.top->showConfirmation("exit_level_confirm", [] {});
             driver().stepFrames(2);
             Node* no = nullptr;
             for (Node* child : t.top->getConfirmationLayer()->getChildren()) {
                 no = no != nullptr ? no : child->getChildByName("No");
             }
             TopLayer* layer = t.top;
             return Opened{no != nullptr ? centreOf(no) : Vec2(), [layer] { return !layer->isConfirmationOpen(); }};
         }},
        {"the options panel's close button",
         [](PopupTapThroughTest& t) {
             t.screen->onOptionsButton();
             driver().stepFrames(2);
             auto* options = screentest::childOf<OptionsScreen>(t.container());
             Node* close = options != nullptr ? options->getChildByName("CloseButton") : nullptr;
             PopupTapThroughTest* self = &t;
             return Opened{close != nullptr ? centreOf(close) : Vec2(),
                           [self] { return self->container() == nullptr; }};
         }},
        {"the bubble after a won minigame",
         [](PopupTapThroughTest& t) {
             t.screen->getBoard()->setHintsLeft(0);
             Settings::getInstance().getCurrentUser().minigameAvailability[1] = true;
             t.screen->updateHintCounter();
             t.screen->onMinigamesButton();
             driver().stepFrames(2);
             auto* selection = screentest::childOf<MinigamesSelectionScreen>(t.container());
             if (selection != nullptr) {
                 selection->launchMinigame(1);
             }
             driver().stepFrames(3);
             MinigameScreen* minigame = runningScreen<MinigameScreen>();
             if (minigame != nullptr) {
                 minigame->getGame()->win();
             }
             wait(0.5f);
             GameScreen* level = t.screen;
             return Opened{t.bareCanvas(), [level] { return runningScreen<GameScreen>() == level; }};
         }},
    };

    // The whole tap inside one frame, and a tap whose end comes in a later frame than its start.
    const bool heldStyles[] = {false, true};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.popup);
        ASSERT_NE(openLevel(), nullptr);
        for (const bool held : heldStyles) {
            SCOPED_TRACE(held ? "a tap held over a frame" : "a tap within one frame");
            takeSpray();
            const Opened opened = c.open(*this);
            // Under a popup the level may put the tool away; the tap must not reach it either way.
            const int32_t mistakes = screen->getBoard()->getMistakes();
            const int32_t drops = screen->getFlask()->getDropsUsed();
            std::vector<std::string>& log = driver().captureLog();

            driver().touchBegan(opened.tap);
            if (held) {
                driver().stepFrames(1);
            }
            driver().touchEnded(opened.tap);
            // Long enough for a drop to fall and for any later frame to act on the touch.
            wait(1.0f);

            EXPECT_TRUE(opened.closed()) << "the tap did not close it";
            EXPECT_EQ(screen->getBoard()->getMistakes(), mistakes) << "the level counted a miss";
            EXPECT_EQ(screen->getFlask()->getDropsUsed(), drops) << "the level spent a drop";
            for (const std::string& line : log) {
                if (line.rfind("playEffect ", 0) == 0) {
                    EXPECT_EQ(line, "playEffect btnDown") << "a sound that is not the popup's";
                }
                EXPECT_EQ(line.find("onTouchesBegan"), std::string::npos) << "the level heard the touch: " << line;
            }
            driver().stopCapturingLog();
        }
        if (HasFailure()) {
            driver().saveScreenshot(testing::Driver::outputPath("PopupTapThrough_failed.png"));
        }
        cocos2d::Director::getInstance()->popToRootScene();
        driver().stepFrames(1);
    }
}

}  // namespace
