#include "platform/sdl/KeyTable.h"

#include <SDL_keycode.h>

#include <unordered_map>

namespace cocos2d {
namespace keytable {
namespace {

using K = EventKeyboard::KeyCode;

struct Entry {
    SDL_Keycode sdl;
    K code;
};

// One entry per SDL key; the first entry of a code is the one toSdl gives.
const Entry kTable[] = {
    {SDLK_PAUSE, K::KEY_PAUSE},
    {SDLK_SCROLLLOCK, K::KEY_SCROLL_LOCK},
    {SDLK_PRINTSCREEN, K::KEY_PRINT},
    {SDLK_CAPSLOCK, K::KEY_CAPS_LOCK},
    {SDLK_NUMLOCKCLEAR, K::KEY_NUM_LOCK},
    {SDLK_ESCAPE, K::KEY_ESCAPE},
    {SDLK_BACKSPACE, K::KEY_BACKSPACE},
    {SDLK_TAB, K::KEY_TAB},
    {SDLK_LSHIFT, K::KEY_SHIFT},
    {SDLK_RSHIFT, K::KEY_RIGHT_SHIFT},
    {SDLK_LCTRL, K::KEY_CTRL},
    {SDLK_RCTRL, K::KEY_RIGHT_CTRL},
    {SDLK_LALT, K::KEY_ALT},
    {SDLK_RALT, K::KEY_RIGHT_ALT},
    {SDLK_LGUI, K::KEY_SUPER},
    {SDLK_RGUI, K::KEY_SUPER},
    {SDLK_MENU, K::KEY_MENU},
    {SDLK_APPLICATION, K::KEY_MENU},
    {SDLK_INSERT, K::KEY_INSERT},
    {SDLK_DELETE, K::KEY_DELETE},
    {SDLK_HOME, K::KEY_HOME},
    {SDLK_END, K::KEY_END},
    {SDLK_PAGEUP, K::KEY_PG_UP},
    {SDLK_PAGEDOWN, K::KEY_PG_DOWN},
    {SDLK_LEFT, K::KEY_LEFT_ARROW},
    {SDLK_RIGHT, K::KEY_RIGHT_ARROW},
    {SDLK_UP, K::KEY_UP_ARROW},
    {SDLK_DOWN, K::KEY_DOWN_ARROW},
    {SDLK_KP_PLUS, K::KEY_KP_PLUS},
    {SDLK_KP_MINUS, K::KEY_KP_MINUS},
    {SDLK_KP_MULTIPLY, K::KEY_KP_MULTIPLY},
    {SDLK_KP_DIVIDE, K::KEY_KP_DIVIDE},
    {SDLK_KP_PERIOD, K::KEY_KP_PERIOD},
    {SDLK_KP_DECIMAL, K::KEY_KP_PERIOD},
    {SDLK_RETURN, K::KEY_KP_ENTER},
    {SDLK_KP_ENTER, K::KEY_KP_ENTER},
    {SDLK_RETURN2, K::KEY_KP_ENTER},
    {SDLK_KP_0, K::KEY_KP_0},
    {SDLK_KP_1, K::KEY_KP_1},
    {SDLK_KP_2, K::KEY_KP_2},
    {SDLK_KP_3, K::KEY_KP_3},
    {SDLK_KP_4, K::KEY_KP_4},
    {SDLK_KP_5, K::KEY_KP_5},
    {SDLK_KP_6, K::KEY_KP_6},
    {SDLK_KP_7, K::KEY_KP_7},
    {SDLK_KP_8, K::KEY_KP_8},
    {SDLK_KP_9, K::KEY_KP_9},
    {SDLK_F1, K::KEY_F1},
    {SDLK_F2, K::KEY_F2},
    {SDLK_F3, K::KEY_F3},
    {SDLK_F4, K::KEY_F4},
    {SDLK_F5, K::KEY_F5},
    {SDLK_F6, K::KEY_F6},
    {SDLK_F7, K::KEY_F7},
    {SDLK_F8, K::KEY_F8},
    {SDLK_F9, K::KEY_F9},
    {SDLK_F10, K::KEY_F10},
    {SDLK_F11, K::KEY_F11},
    {SDLK_F12, K::KEY_F12},
    {SDLK_SPACE, K::KEY_SPACE},
    {SDLK_QUOTE, K::KEY_APOSTROPHE},
    {SDLK_COMMA, K::KEY_COMMA},
    {SDLK_MINUS, K::KEY_MINUS},
    {SDLK_PERIOD, K::KEY_PERIOD},
    {SDLK_SLASH, K::KEY_SLASH},
    {SDLK_SEMICOLON, K::KEY_SEMICOLON},
    {SDLK_EQUALS, K::KEY_EQUAL},
    {SDLK_BACKQUOTE, K::KEY_GRAVE},
    {SDLK_LEFTBRACKET, K::KEY_LEFT_BRACKET},
    {SDLK_BACKSLASH, K::KEY_BACKSLASH},
    {SDLK_RIGHTBRACKET, K::KEY_RIGHT_BRACKET},
};

const std::unordered_map<SDL_Keycode, K>& forward() {
    static const std::unordered_map<SDL_Keycode, K> map = [] {
        std::unordered_map<SDL_Keycode, K> m;
        for (const Entry& e : kTable) {
            m.emplace(e.sdl, e.code);
        }
        return m;
    }();
    return map;
}

}  // namespace

EventKeyboard::KeyCode fromSdl(int sdlKeycode) {
    if (sdlKeycode >= SDLK_a && sdlKeycode <= SDLK_z) {
        return static_cast<K>(static_cast<int>(K::KEY_A) + (sdlKeycode - SDLK_a));
    }
    if (sdlKeycode >= SDLK_0 && sdlKeycode <= SDLK_9) {
        return static_cast<K>(static_cast<int>(K::KEY_0) + (sdlKeycode - SDLK_0));
    }
    const auto& map = forward();
    auto found = map.find(static_cast<SDL_Keycode>(sdlKeycode));
    return found == map.end() ? K::KEY_NONE : found->second;
}

int toSdl(EventKeyboard::KeyCode code) {
    const int value = static_cast<int>(code);
    if (value >= static_cast<int>(K::KEY_A) && value <= static_cast<int>(K::KEY_Z)) {
        return SDLK_a + (value - static_cast<int>(K::KEY_A));
    }
    if (value >= static_cast<int>(K::KEY_0) && value <= static_cast<int>(K::KEY_9)) {
        return SDLK_0 + (value - static_cast<int>(K::KEY_0));
    }
    for (const Entry& e : kTable) {
        if (e.code == code) {
            return e.sdl;
        }
    }
    return 0;
}

}  // namespace keytable
}  // namespace cocos2d
