#pragma once

#include <cstddef>
#include <cstdint>

namespace cocos2d {

class Mat4;
class Renderer;
class TextFieldTTF;

// What a text field asks before it acts. Returning true refuses; the defaults allow everything.
class TextFieldDelegate {
public:
    virtual ~TextFieldDelegate() = default;

    virtual bool onTextFieldAttachWithIME(TextFieldTTF* sender);
    virtual bool onTextFieldDetachWithIME(TextFieldTTF* sender);
    // The whole text of one input event (a paste or a composed character arrives in one piece).
    virtual bool onTextFieldInsertText(TextFieldTTF* sender, const char* text, size_t nLen);
    // The last character, about to be removed.
    virtual bool onTextFieldDeleteBackward(TextFieldTTF* sender, const char* delText, size_t nLen);
    // True draws nothing this frame.
    virtual bool onVisit(TextFieldTTF* sender, Renderer* renderer, const Mat4& transform, uint32_t flags);
};

}  // namespace cocos2d
