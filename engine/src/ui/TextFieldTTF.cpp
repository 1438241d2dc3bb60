#include "engine/ui/TextFieldTTF.h"

#include <new>

#include "engine/base/RefPtr.h"
#include "engine/ui/TextFieldDelegate.h"

namespace cocos2d {

TextFieldTTF* TextFieldTTF::textFieldWithPlaceHolder(const std::string& placeholder, const Size& dimensions,
                                                     TextHAlignment alignment, const std::string& fontName,
                                                     float fontSize) {
    auto* field = new (std::nothrow) TextFieldTTF();
    if (field && field->initWithTTF("", fontName, fontSize, dimensions, alignment, TextVAlignment::CENTER)) {
        field->_placeHolder = placeholder;
        field->updateShownText();
        field->autorelease();
        return field;
    }
    delete field;
    return nullptr;
}

TextFieldTTF* TextFieldTTF::textFieldWithPlaceHolder(const std::string& placeholder,
                                                     const std::string& fontName, float fontSize) {
    return textFieldWithPlaceHolder(placeholder, Size::ZERO, TextHAlignment::LEFT, fontName, fontSize);
}

TextFieldTTF::~TextFieldTTF() {
    TextInput::detach(this);
}

bool TextFieldTTF::isAttachedWithIME() const {
    return TextInput::getAttached() == static_cast<const TextInputReceiver*>(this);
}

bool TextFieldTTF::attachWithIME() {
    if (isAttachedWithIME()) {
        return true;
    }
    if (_delegate && _delegate->onTextFieldAttachWithIME(this)) {
        return false;
    }
    if (auto* other = dynamic_cast<TextFieldTTF*>(TextInput::getAttached())) {
        RefPtr<TextFieldTTF> keep(other);
        other->detachWithIME();
    }
    TextInput::attach(this);
    return true;
}

bool TextFieldTTF::detachWithIME() {
    if (!isAttachedWithIME()) {
        return false;
    }
    if (_delegate && _delegate->onTextFieldDetachWithIME(this)) {
        return false;
    }
    TextInput::detach(this);
    return true;
}

void TextFieldTTF::onExit() {
    TextInput::detach(this);
    Label::onExit();
}

void TextFieldTTF::setString(const std::string& text) {
    _inputText = text;
    updateShownText();
}

int TextFieldTTF::getCharCount() const {
    int count = 0;
    for (const char c : _inputText) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

void TextFieldTTF::setPlaceHolder(const std::string& text) {
    _placeHolder = text;
    updateShownText();
}

void TextFieldTTF::setColorSpaceHolder(const Color3B& color) {
    setColorSpaceHolder(Color4B(color, _colorSpaceHolder.a));
}

void TextFieldTTF::setColorSpaceHolder(const Color4B& color) {
    _colorSpaceHolder = color;
    updateShownText();
}

void TextFieldTTF::setTextColor(const Color4B& color) {
    _colorText = color;
    updateShownText();
}

void TextFieldTTF::updateShownText() {
    if (_inputText.empty()) {
        Label::setString(_placeHolder);
        Label::setTextColor(_colorSpaceHolder);
    } else {
        Label::setString(_inputText);
        Label::setTextColor(_colorText);
    }
}

void TextFieldTTF::visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) {
    if (_delegate && _delegate->onVisit(this, renderer, parentTransform, parentFlags)) {
        return;
    }
    Label::visit(renderer, parentTransform, parentFlags);
}

void TextFieldTTF::insertText(const std::string& utf8) {
    // Enter is a key, never text: line ends that arrive inside a paste are dropped.
    std::string text;
    text.reserve(utf8.size());
    for (const char c : utf8) {
        if (c != '\n' && c != '\r') {
            text.push_back(c);
        }
    }
    if (text.empty()) {
        return;
    }
    RefPtr<TextFieldTTF> keep(this);
    if (_delegate && _delegate->onTextFieldInsertText(this, text.c_str(), text.size())) {
        return;
    }
    _inputText += text;
    updateShownText();
}

void TextFieldTTF::deleteBackward() {
    if (_inputText.empty()) {
        return;
    }
    size_t start = _inputText.size() - 1;
    while (start > 0 && (static_cast<unsigned char>(_inputText[start]) & 0xC0) == 0x80) {
        --start;
    }
    const std::string removed = _inputText.substr(start);
    RefPtr<TextFieldTTF> keep(this);
    if (_delegate && _delegate->onTextFieldDeleteBackward(this, removed.c_str(), removed.size())) {
        return;
    }
    _inputText.erase(start);
    updateShownText();
}

}  // namespace cocos2d
