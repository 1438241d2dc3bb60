#include <SDL_keyboard.h>
#include <SDL_keycode.h>

#include <gtest/gtest.h>

#include "platform/sdl/KeyTable.h"

namespace {

using cocos2d::keytable::fromSdl;
using cocos2d::keytable::toSdl;
using Key = cocos2d::EventKeyboard::KeyCode;

TEST(KeyTableTest, SdlKeysMapToTheEngineCodesTheGameDoesArithmeticOn) {
    struct Case {
        SDL_Keycode sdl;
        int code;
    };
    const Case cases[] = {
        {SDLK_ESCAPE, 6},     {SDLK_BACKSPACE, 7},  {SDLK_TAB, 8},         {SDLK_LALT, 16},
        {SDLK_RALT, 17},      {SDLK_RETURN, 35},    {SDLK_KP_ENTER, 35},   {SDLK_F1, 47},
        {SDLK_F2, 48},        {SDLK_F3, 49},        {SDLK_F12, 58},        {SDLK_SPACE, 59},
        {SDLK_END, 23},       {SDLK_LEFT, 26},      {SDLK_DOWN, 29},       {SDLK_0, 68},
        {SDLK_9, 77},         {SDLK_a, 124},        {SDLK_k, 134},         {SDLK_z, 149},
        {SDLK_LEFTBRACKET, 119}, {SDLK_BACKSLASH, 120}, {SDLK_RIGHTBRACKET, 121}, {SDLK_KP_0, 36},
        {SDLK_LSHIFT, 12},    {SDLK_RCTRL, 15},     {SDLK_UNKNOWN, 0},     {SDLK_VOLUMEUP, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(SDL_GetKeyName(c.sdl));
        EXPECT_EQ(static_cast<int>(fromSdl(c.sdl)), c.code);
    }
}

TEST(KeyTableTest, EveryEmittedCodeStaysBelow283AndOnlyLettersLandOnLetterCharacters) {
    for (int sdl : {SDLK_ESCAPE, SDLK_F12, SDLK_LEFTBRACKET, SDLK_RIGHTBRACKET, SDLK_BACKSLASH, SDLK_BACKQUOTE,
                    SDLK_EQUALS, SDLK_KP_9, SDLK_PAUSE, SDLK_MENU, SDLK_a, SDLK_z, SDLK_SEMICOLON, SDLK_QUOTE}) {
        const int code = static_cast<int>(fromSdl(sdl));
        EXPECT_LT(code, 283);
        if (code >= 93) {
            const char c = static_cast<char>((code - 27) & 0xFF);
            const bool isLetterKey = sdl >= SDLK_a && sdl <= SDLK_z;
            EXPECT_EQ(c >= 'a' && c <= 'z', isLetterKey) << SDL_GetKeyName(sdl);
            EXPECT_FALSE(c >= 'A' && c <= 'Z') << "capitals are never emitted";
        }
    }
}

TEST(KeyTableTest, TheReverseTableRoundTrips) {
    for (Key k : {Key::KEY_ESCAPE, Key::KEY_KP_ENTER, Key::KEY_A, Key::KEY_Z, Key::KEY_F3, Key::KEY_ALT,
                  Key::KEY_RIGHT_ALT, Key::KEY_BACKSPACE, Key::KEY_END, Key::KEY_5}) {
        EXPECT_EQ(fromSdl(toSdl(k)), k);
    }
    EXPECT_EQ(toSdl(Key::KEY_CAPITAL_A), 0) << "never emitted, so no key produces it";
}

}  // namespace
