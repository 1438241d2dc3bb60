#include "DebugKeySequence.h"

namespace {

constexpr int kFirstFedKeyCode = 93;
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
    }
}

int DebugKeySequence::debugCharForKeyCode(int keyCode) {
    if (keyCode < kFirstFedKeyCode) {
        return -1;
    }
    return (keyCode - kKeyCodeToCharOffset) & 0xFF;
}
