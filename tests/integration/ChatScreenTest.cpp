#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Driver.h"
#include "ScreenTestSupport.h"
#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/events/EventDispatcher.h"
#include "engine/math/Size.h"
#include "engine/scene/Node.h"

#include "ui/ChatScreen.h"
#include "ui/PopupScreenBase.h"

namespace {

using cocos2d::Director;
using cocos2d::Vec2;

constexpr int kTwoSeconds = 120;

// A chat added at the centre of a white scene whose own listener counts what reaches it.
class ChatScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        screentest::useStagedResources();
        screentest::loadEnglishTexts();
        white.open();
        chat = ChatScreen::create();
        ASSERT_NE(chat, nullptr);
        chat->setPosition(640, 405);
        chat->setOnClose([this] { order.push_back("onClose"); });
        chat->setCloseCallback([this] { order.push_back("closeCallback"); });
    }

    void show(const std::string& key, bool centred) {
        chat->showMessage(key, centred);
        white.scene->addChild(chat);
        driver().stepFrames(1);
    }

    testing::Driver& driver() { return testing::Driver::get(); }

    screentest::WhiteScene white;
    ChatScreen* chat = nullptr;
    std::vector<std::string> order;
};

TEST_F(ChatScreenTest, TheMessageShowsItsTextAndGrowsFromTheCentreOrTheCurator) {
    struct Case {
        bool centred;
        const char* key;
        const char* text;
    };
    const Case cases[] = {
        {true, "ProgressMessages.progress_1", nullptr},
        {false, "ui.exit_game_confirm", "Close the museum for today?"},
        {true, "nosuch.Missing_Key", "nosuch.missing_key"},
    };
    for (const Case& c : cases) {
        chat = ChatScreen::create();
        chat->setPosition(640, 405);
        chat->showMessage(c.key, c.centred);
        cocos2d::Node* message = chat->getMessageNode()->getChildByName("message");
        ASSERT_NE(message, nullptr);
        const Vec2 start = c.centred ? Vec2::ZERO : chat->getAvatarPosition();
        EXPECT_EQ(message->getPosition(), start) << c.key;
        EXPECT_FLOAT_EQ(message->getScale(), 0.1f) << c.key;
        if (!c.centred) {
            EXPECT_NE(chat->getAvatarPosition(), Vec2::ZERO);
            EXPECT_EQ(chat->getMessageNode()->getChildByName("avatar"), nullptr);
            EXPECT_EQ(chat->getMessageNode()->getChildByTag(1), nullptr);
        }
        auto* text = dynamic_cast<cocos2d::Label*>(message->getChildByName("Text"));
        ASSERT_NE(text, nullptr);
        if (c.text != nullptr) {
            EXPECT_EQ(text->getString(), c.text) << c.key;
        } else {
            EXPECT_FALSE(text->getString().empty());
        }
        white.scene->addChild(chat);
        driver().stepFrames(15);
        EXPECT_FLOAT_EQ(message->getScale(), 1.0f) << c.key;
        if (!c.centred) {
            EXPECT_NE(message->getPosition(), start) << c.key;
        }
        EXPECT_EQ(text->getOpacity(), 255) << c.key;
        chat->removeFromParent();
    }
}

TEST_F(ChatScreenTest, ATouchInTheFirstTwoSecondsIsSwallowedAndClosesNothing) {
    show("ui.exit_game_confirm", true);
    driver().tap(Vec2(100, 100));
    driver().stepFrames(1);
    EXPECT_EQ(white.touches, 0);
    EXPECT_TRUE(order.empty());
    EXPECT_EQ(chat->getParent(), white.scene);
}

TEST_F(ChatScreenTest, AClosableChatClosesOnceOnATouchAndIsFreed) {
    show("ui.exit_game_confirm", false);
    driver().stepFrames(kTwoSeconds);
    EXPECT_TRUE(chat->isClosable());
    cocos2d::EventDispatcher* dispatcher = Director::getInstance()->getEventDispatcher();
    const size_t listeners = dispatcher->getListenerCount();
    const std::vector<std::string>& log = driver().captureLog();
    // Two touches in one frame: the second finds the chat closing.
    driver().touchBegan(Vec2(100, 100));
    driver().touchEnded(Vec2(100, 100));
    driver().touchBegan(Vec2(120, 100));
    driver().touchEnded(Vec2(120, 100));
    driver().stepFrames(3);
    EXPECT_EQ(order, (std::vector<std::string>{"onClose", "closeCallback"}));
    EXPECT_EQ(white.touches, 0);
    EXPECT_TRUE(screentest::hasLine(log, "=== ChatScreen::~ChatScreen ==="));
    driver().stopCapturingLog();
    EXPECT_EQ(dispatcher->getListenerCount(), listeners - 1);
}

TEST_F(ChatScreenTest, AChatThatLetsTouchesThroughKeepsOnlyTheTouchThatClosesIt) {
    chat->setBlockTouches(false);
    show("ui.exit_game_confirm", true);
    // Not yet closable: the screen under it takes the tap.
    driver().tap(Vec2(100, 100));
    driver().stepFrames(2);
    EXPECT_EQ(white.touches, 1);
    EXPECT_TRUE(order.empty());

    // The tap that closes it is the chat's alone, down to its end.
    chat->setClosable(true);
    driver().touchBegan(Vec2(100, 100));
    driver().stepFrames(2);
    driver().touchEnded(Vec2(100, 100));
    driver().stepFrames(2);
    EXPECT_EQ(white.touches, 1);
    EXPECT_EQ(order, (std::vector<std::string>{"onClose", "closeCallback"}));

    // Once it is gone, taps are the screen's again.
    driver().tap(Vec2(100, 100));
    driver().stepFrames(1);
    EXPECT_EQ(white.touches, 2);
}

// A chat that comes up with a tutorial letting its tap through to a button: the closing tap on the
// button goes on to it, without the chat's own click; every other tap stays the chat's.
TEST_F(ChatScreenTest, AChatWithATutorialPassesOnlyTheClosingTapOnTheTutorialsButton) {
    struct Case {
        const char* name;
        Vec2 tap;
        bool closable;
        bool closes;
        bool reachesTheScreen;
        bool chatSounds;
    };
    const Case cases[] = {
        {"on the button", Vec2(120, 700), true, true, true, false},
        {"beside the button", Vec2(300, 700), true, true, false, true},
        {"on the button before the chat may close", Vec2(120, 700), false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        white.touches = 0;
        order.clear();
        chat = ChatScreen::create();
        ASSERT_NE(chat, nullptr);
        chat->setPosition(640, 405);
        chat->setCloseCallback([this] { order.push_back("closeCallback"); });
        cocos2d::Node* button = cocos2d::Node::create();
        button->setContentSize(cocos2d::Size(100, 60));
        button->setPosition(70, 670);
        white.scene->addChild(button);
        chat->accompanyTutorial(button);
        show("ui.exit_game_confirm", false);
        chat->setClosable(c.closable);
        cocos2d::RefPtr<ChatScreen> kept(chat);
        const std::vector<std::string>& log = driver().captureLog();
        driver().tap(c.tap);
        driver().stepFrames(3);
        EXPECT_EQ(kept->getParent() == nullptr, c.closes);
        EXPECT_EQ(order.size(), c.closes ? 1u : 0u);
        EXPECT_EQ(white.touches, c.reachesTheScreen ? 1 : 0);
        EXPECT_EQ(screentest::hasLine(log, "playEffect btnDown"), c.chatSounds);
        driver().stopCapturingLog();
        kept->removeFromParent();
        button->removeFromParent();
    }
}

TEST_F(ChatScreenTest, WithoutItsDimSpriteTheScreenIsNotDarkenedAndTouchesAreHandledAsBefore) {
    show("ui.exit_game_confirm", true);
    EXPECT_LT(screentest::colourAt(Vec2(20, 20)).r, 100);
    chat->removeDimBackground();
    EXPECT_EQ(chat->getChildByTag(PopupScreenBase::kDimBackgroundTag), nullptr);
    driver().stepFrames(1);
    EXPECT_GT(screentest::colourAt(Vec2(20, 20)).r, 250);
    driver().tap(Vec2(20, 20));
    driver().stepFrames(1);
    EXPECT_EQ(white.touches, 0);
}

}  // namespace
