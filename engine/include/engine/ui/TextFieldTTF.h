#pragma once

#include <cstdint>
#include <string>

#include "engine/2d/Label.h"
#include "engine/base/Types.h"
#include "engine/math/Size.h"
#include "engine/platform/TextInput.h"

namespace cocos2d {

class TextFieldDelegate;

// A label the player types into. While the field is empty its placeholder shows, in the placeholder
// colour (grey by default). Attached, it receives the platform's text input: each input event's whole
// UTF-8 text is offered to the delegate and appended unless refused, and Backspace (held down too)
// removes the last character unless refused. Enter is never text: it arrives only as the key code
// KEY_KP_ENTER to keyboard listeners, and the field stays attached. One field is attached at a time.
class TextFieldTTF : public Label, public TextInputReceiver {
public:
    // Null and one log line when the font cannot be loaded. The text is centred vertically in a box
    // of the given dimensions.
    static TextFieldTTF* textFieldWithPlaceHolder(const std::string& placeholder, const Size& dimensions,
                                                  TextHAlignment alignment, const std::string& fontName,
                                                  float fontSize);
    static TextFieldTTF* textFieldWithPlaceHolder(const std::string& placeholder, const std::string& fontName,
                                                  float fontSize);
    ~TextFieldTTF() override;

    // Not retained.
    void setDelegate(TextFieldDelegate* delegate) { _delegate = delegate; }
    TextFieldDelegate* getDelegate() const { return _delegate; }

    // Starts text input into this field (detaching any other), unless the delegate refuses.
    virtual bool attachWithIME();
    // Stops text input, unless the delegate refuses. Leaving the stage stops it regardless.
    virtual bool detachWithIME();
    // (ours)
    bool isAttachedWithIME() const;

    // The typed text (never the placeholder).
    void setString(const std::string& text) override;
    const std::string& getString() const override { return _inputText; }
    // UTF-8 characters of the typed text.
    int getCharCount() const;

    void setPlaceHolder(const std::string& text);
    const std::string& getPlaceHolder() const { return _placeHolder; }
    void setColorSpaceHolder(const Color3B& color);
    void setColorSpaceHolder(const Color4B& color);
    const Color4B& getColorSpaceHolder() const { return _colorSpaceHolder; }
    // The colour of the typed text.
    void setTextColor(const Color4B& color) override;
    const Color4B& getTextColor() const { return _colorText; }

    using Node::visit;
    void visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) override;
    void onExit() override;

    // Text input arriving while attached.
    void insertText(const std::string& utf8) override;
    void deleteBackward() override;

protected:
    TextFieldTTF() = default;

    // Shows the typed text, or the placeholder while there is none.
    void updateShownText();

    TextFieldDelegate* _delegate = nullptr;
    std::string _inputText;
    std::string _placeHolder;
    Color4B _colorSpaceHolder = Color4B(127, 127, 127, 255);
    Color4B _colorText = Color4B::WHITE;
};

}  // namespace cocos2d
