#pragma once

#include <cstdint>
#include <string>

#include "engine/events/EventKeyboard.h"

// The typed letters that toggle the debug mode: the engine's statistics display, and the
// developer keys of the gallery and level screens.
class DebugKeySequence {
public:
    static DebugKeySequence& getInstance();

    bool isDebugMode() const { return _enabled; }

    // One typed character. Case is ignored; a character that does not continue the sequence resets
    // the match and is not tried again as its first letter. Completing the sequence toggles the
    // debug mode and the director's statistics display with it.
    void feedDebugKey(char c);

    // The character that releasing the key of this engine key code feeds, or -1 when it feeds none:
    // codes from the first capital letter's (93) upward give (code - 27) in 8 bits, so the letter
    // keys give 'a' to 'z'.
    static int debugCharForKeyCode(cocos2d::EventKeyboard::KeyCode keyCode);

private:
    std::string _sequence = "KLOMBER";
    bool _enabled = false;
    int32_t _position = 0;
};
