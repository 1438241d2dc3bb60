#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/base/Director.h"
#include "engine/events/EventKeyboard.h"

#include "DebugKeySequence.h"

namespace {

using KeyCode = cocos2d::EventKeyboard::KeyCode;

KeyCode code(int value) {
    return static_cast<KeyCode>(value);
}

void type(DebugKeySequence& sequence, const std::string& text) {
    for (const char c : text) {
        sequence.feedDebugKey(c);
    }
}

TEST(DebugKeySequenceTest, TypedSequenceTogglesTheDebugModeInEitherCase) {
    struct Case {
        const char* typed;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"klomber", true},
        {"KLOMBER", true},
        {"kLoMbEr", true},
        {"klomberklomber", false},
        {"klomber"
         "klomber"
         "klomber",
         true},
        {"klombe", false},
        {"xklomber", true},
        {"kklomber", false},  // the second k breaks the match and does not start a new one
        {"klkomber", false},  // a wrong letter in the middle resets the match
        {"klomb]er", false},  // a bracket resets it too
        {"klom1ber", false},
        {"klombeklomber", false},  // the k after "klombe" resets and is not tried again
        {"klombexklomber", true},
        {"\xCBklomber", true},  // a byte above 127 is just a wrong character
    };
    for (const Case& c : cases) {
        DebugKeySequence sequence;
        type(sequence, c.typed);
        EXPECT_EQ(sequence.isDebugMode(), c.expected) << c.typed;
    }
}

TEST(DebugKeySequenceTest, KeyCodesFeedTheirCharacterFromTheFirstCapitalLetterOnward) {
    struct Case {
        KeyCode key;
        int expected;
    };
    const std::vector<Case> cases = {
        {KeyCode::KEY_A, 'a'},
        {KeyCode::KEY_K, 'k'},
        {KeyCode::KEY_Z, 'z'},
        {KeyCode::KEY_CAPITAL_A, 'B'},
        {KeyCode::KEY_LEFT_BRACKET, '\\'},
        {KeyCode::KEY_RIGHT_BRACKET, '^'},
        {KeyCode::KEY_LEFT_BRACE, '{'},
        {KeyCode::KEY_TILDE, '~'},
        {code(282), 255},  // kept to 8 bits
        {code(283), 0},
        {code(92), -1},
        {KeyCode::KEY_0, -1},
        {KeyCode::KEY_9, -1},
        {KeyCode::KEY_SPACE, -1},
        {KeyCode::KEY_ESCAPE, -1},
        {KeyCode::KEY_ALT, -1},
        {KeyCode::KEY_KP_ENTER, -1},
        {KeyCode::KEY_F1, -1},
        {KeyCode::KEY_LEFT_ARROW, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DebugKeySequence::debugCharForKeyCode(c.key), c.expected) << static_cast<int>(c.key);
    }
}

// Keys typed as the key-released handler feeds them: k l o m, then a digit and Space (not fed),
// then b e r; the second time with a bracket in the middle.
TEST(DebugKeySequenceTest, TypedKeysToggleTheStatisticsDisplayAndLowCodesAreNotFed) {
    const std::vector<KeyCode> keys = {KeyCode::KEY_K, KeyCode::KEY_L, KeyCode::KEY_O,
                                       KeyCode::KEY_M, KeyCode::KEY_1, KeyCode::KEY_SPACE,
                                       KeyCode::KEY_B, KeyCode::KEY_E, KeyCode::KEY_R};
    const auto press = [](DebugKeySequence& sequence, const std::vector<KeyCode>& typed) {
        for (const KeyCode key : typed) {
            const int c = DebugKeySequence::debugCharForKeyCode(key);
            if (c >= 0) {
                sequence.feedDebugKey(static_cast<char>(c));
            }
        }
    };
    cocos2d::Director::destroyInstance();
    DebugKeySequence sequence;
    press(sequence, keys);
    EXPECT_TRUE(sequence.isDebugMode());
    EXPECT_TRUE(cocos2d::Director::getInstance()->isDisplayStats());

    std::vector<KeyCode> broken = keys;
    broken.insert(broken.begin() + 2, KeyCode::KEY_RIGHT_BRACKET);
    press(sequence, broken);
    EXPECT_TRUE(sequence.isDebugMode());
    press(sequence, keys);
    EXPECT_FALSE(sequence.isDebugMode());
    EXPECT_FALSE(cocos2d::Director::getInstance()->isDisplayStats());
    cocos2d::Director::destroyInstance();
}

}  // namespace
