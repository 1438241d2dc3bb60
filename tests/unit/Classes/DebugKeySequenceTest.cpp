#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DebugKeySequence.h"

namespace {

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
        {"klomber" "klomber" "klomber", true},
        {"klombe", false},
        {"xklomber", true},
        {"kklomber", false},   // the second k breaks the match and does not start a new one
        {"klkomber", false},   // a wrong letter in the middle resets the match
        {"klomb]er", false},   // a bracket resets it too
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

// The key codes are the engine's: 93 is the first capital letter's, the letter keys are 124 to 149.
TEST(DebugKeySequenceTest, KeyCodesFeedTheirCharacterFromTheFirstCapitalLetterOnward) {
    struct Case {
        int keyCode;
        int expected;
    };
    const std::vector<Case> cases = {
        {124, 'a'}, {134, 'k'}, {149, 'z'},   // KEY_A, KEY_K, KEY_Z
        {93, 'B'},  {118, '['},               // KEY_CAPITAL_A, KEY_CAPITAL_Z
        {119, '\\'}, {121, '^'},              // KEY_LEFT_BRACKET, KEY_RIGHT_BRACKET
        {150, '{'}, {153, '~'},
        {282, 255}, {283, 0},                 // kept to 8 bits
        {92, -1},   {68, -1}, {59, -1}, {6, -1}, {16, -1}, {35, -1},  // unused, KEY_0, Space, Esc, Alt, Enter
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DebugKeySequence::debugCharForKeyCode(c.keyCode), c.expected) << c.keyCode;
    }
}

TEST(DebugKeySequenceTest, KeysWithLowCodesLeaveAMatchInProgressUntouched) {
    // k l o m, then a digit key and Space (not fed), then b e r.
    const std::vector<int> keys = {134, 135, 138, 136, 68, 59, 125, 128, 141};
    DebugKeySequence sequence;
    for (const int key : keys) {
        const int c = DebugKeySequence::debugCharForKeyCode(key);
        if (c >= 0) {
            sequence.feedDebugKey(static_cast<char>(c));
        }
    }
    EXPECT_TRUE(sequence.isDebugMode());
}

}  // namespace
