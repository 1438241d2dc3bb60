#include "DebugKeySequence.h"

#include "engine/base/Director.h"

namespace {

constexpr int kFirstFedKeyCode = static_cast<int>(cocos2d::EventKeyboard::KeyCode::KEY_CAPITAL_A);
constexpr int kKeyCodeToCharOffset = 27;

char toUpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

DebugKeySequence& DebugKeySequence::getInstance() {
    static DebugKeySequence sequence;
    return sequence;
}

void DebugKeySequence::feedDebugKey(char c) {
    if (toUpperAscii(c) != _sequence[static_cast<size_t>(_position)]) {
        _position = 0;
        return;
    }
    ++_position;
    if (_position == static_cast<int32_t>(_sequence.size())) {
        _position = 0;
        _enabled = !_enabled;
        cocos2d::Director::getInstance()->setDisplayStats(_enabled);
    }
}

int DebugKeySequence::debugCharForKeyCode(cocos2d::EventKeyboard::KeyCode keyCode) {
    const int code = static_cast<int>(keyCode);
    if (code < kFirstFedKeyCode) {
        return -1;
    }
    return (code - kKeyCodeToCharOffset) & 0xFF;
}
