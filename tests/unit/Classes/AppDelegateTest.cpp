#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/base/Director.h"
#include "engine/events/EventKeyboard.h"

#include "AppDelegate.h"
#include "DebugKeySequence.h"
#include "SaveTestSupport.h"
#include "Settings.h"

namespace {

using KeyCode = cocos2d::EventKeyboard::KeyCode;

class AppDelegateKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        savetest::resetGameState();
        cocos2d::Director::destroyInstance();
        Settings::getInstance().createUser(u"Ann");
    }
    void TearDown() override {
        cocos2d::Director::destroyInstance();
        savetest::resetGameState();
    }

    void press(KeyCode code) {
        cocos2d::EventKeyboard event(code, true);
        app.onKeyPressed(code, &event);
    }
    void release(KeyCode code) {
        cocos2d::EventKeyboard event(code, false);
        app.onKeyReleased(code, &event);
    }
    // Each key pressed and released in turn, as typing does.
    void type(const std::vector<KeyCode>& keys) {
        for (const KeyCode key : keys) {
            press(key);
            release(key);
        }
    }

    AppDelegate app;
};

const std::vector<KeyCode> kSequence = {KeyCode::KEY_K, KeyCode::KEY_L, KeyCode::KEY_O, KeyCode::KEY_M,
                                        KeyCode::KEY_B, KeyCode::KEY_E, KeyCode::KEY_R};

std::vector<KeyCode> withInserted(std::vector<KeyCode> keys, size_t at, KeyCode key) {
    keys.insert(keys.begin() + static_cast<std::ptrdiff_t>(at), key);
    return keys;
}

TEST_F(AppDelegateKeysTest, TheReleasedKeysFeedTheDebugKeySequence) {
    struct Case {
        const char* what;
        std::vector<KeyCode> keys;
        bool toggles;
    };
    const std::vector<Case> cases = {
        {"letter keys", kSequence, true},
        {"with Shift held", withInserted(kSequence, 0, KeyCode::KEY_SHIFT), true},
        // The capital codes feed code - 27: KEY_CAPITAL_J gives 'K', and so on.
        {"capital codes",
         {KeyCode::KEY_CAPITAL_J, KeyCode::KEY_CAPITAL_K, KeyCode::KEY_CAPITAL_N, KeyCode::KEY_CAPITAL_L,
          KeyCode::KEY_CAPITAL_A, KeyCode::KEY_CAPITAL_D, KeyCode::KEY_CAPITAL_Q},
         true},
        {"a wrong letter", withInserted(kSequence, 3, KeyCode::KEY_X), false},
        {"the first letter again in the middle", withInserted(kSequence, 2, KeyCode::KEY_K), false},
        {"a bracket", withInserted(kSequence, 4, KeyCode::KEY_LEFT_BRACKET), false},
        // Digits, Space and arrows lie below the first fed code and leave the match as it was.
        {"a digit", withInserted(kSequence, 4, KeyCode::KEY_7), true},
        {"Space and an arrow",
         withInserted(withInserted(kSequence, 1, KeyCode::KEY_SPACE), 5, KeyCode::KEY_UP_ARROW), true},
        {"Esc", withInserted(kSequence, 6, KeyCode::KEY_ESCAPE), true},
        {"six letters", std::vector<KeyCode>(kSequence.begin(), kSequence.end() - 1), false},
    };
    DebugKeySequence& sequence = DebugKeySequence::getInstance();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        type({KeyCode::KEY_X});  // a fresh attempt
        const bool before = sequence.isDebugMode();
        type(c.keys);
        EXPECT_EQ(sequence.isDebugMode(), before != c.toggles);
        EXPECT_EQ(cocos2d::Director::getInstance()->isDisplayStats(), sequence.isDebugMode());
    }
    // Typed twice in a row, the mode is back where it was.
    type({KeyCode::KEY_X});
    const bool before = sequence.isDebugMode();
    type(kSequence);
    type(kSequence);
    EXPECT_EQ(sequence.isDebugMode(), before);
}

// Alt+Enter toggles full screen on the press of Enter, each press once; nothing else does.
TEST_F(AppDelegateKeysTest, AltAndEnterToggleFullScreen) {
    struct Step {
        bool down;
        KeyCode key;
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
        int toggles;
    };
    const Step altDown{true, KeyCode::KEY_ALT};
    const Step altUp{false, KeyCode::KEY_ALT};
    const Step enterDown{true, KeyCode::KEY_KP_ENTER};
    const Step enterUp{false, KeyCode::KEY_KP_ENTER};
    const std::vector<Case> cases = {
        {"Alt+Enter", {altDown, enterDown, enterUp, altUp}, 1},
        {"right Alt",
         {{true, KeyCode::KEY_RIGHT_ALT}, enterDown, enterUp, {false, KeyCode::KEY_RIGHT_ALT}},
         1},
        {"Enter alone", {enterDown, enterUp}, 0},
        {"Alt released first", {altDown, altUp, enterDown, enterUp}, 0},
        {"Enter twice while Alt is held", {altDown, enterDown, enterUp, enterDown, enterUp, altUp}, 2},
        {"Esc leaves Alt held",
         {altDown, {true, KeyCode::KEY_ESCAPE}, {false, KeyCode::KEY_ESCAPE}, enterDown},
         1},
        {"Enter on release only", {altDown, enterUp, altUp}, 0},
        {"Alt pressed with Enter held", {enterDown, altDown, enterUp, altUp}, 0},
    };
    Profile& ann = Settings::getInstance().getCurrentUser();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        release(KeyCode::KEY_ALT);
        ann.fullscreen = true;
        Settings::getInstance().applyProfileSettings();
        for (const Step& step : c.steps) {
            step.down ? press(step.key) : release(step.key);
        }
        EXPECT_EQ(ann.fullscreen, c.toggles % 2 == 0);
        EXPECT_EQ(Settings::getInstance().isFullscreen(), ann.fullscreen);
    }
}

}  // namespace
