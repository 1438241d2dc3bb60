#pragma once

#include <string>

namespace cocos2d {

// Where typed text goes. Platform text input is on only while a receiver is attached. Enter is never
// text: it arrives only as the key code KEY_KP_ENTER through keyboard listeners.
class TextInputReceiver {
public:
    virtual ~TextInputReceiver() = default;
    // UTF-8 text as the platform composed it (one character or more).
    virtual void insertText(const std::string& utf8) = 0;
    // Backspace was pressed while attached.
    virtual void deleteBackward() = 0;
};

class TextInput {
public:
    // Replaces any attached receiver and turns platform text input on.
    static void attach(TextInputReceiver* receiver);
    // Detaches the receiver (if it is the attached one) and turns platform text input off.
    static void detach(TextInputReceiver* receiver);
    static TextInputReceiver* getAttached();
};

}  // namespace cocos2d
