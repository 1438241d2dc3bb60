#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "engine/ui/TextFieldDelegate.h"

#include "ui/FactoryNode.h"

namespace cocos2d {
class Label;
class Mat4;
class Renderer;
class TextFieldTTF;
}  // namespace cocos2d

// The name entry for a new player: a prompt, a text field that blinks until the first character, and
// "Yes" and "No". Its answer goes to the result callback: the typed name, or "" for "No".
class NewUserPopup : public FactoryNode, public cocos2d::TextFieldDelegate {
public:
    // A name holds at most this many characters, typed or pasted: a paste is cut to the room left.
    static constexpr int kMaxNameLength = 31;
    static constexpr int kBlinkTag = 55;

    static NewUserPopup* create();
    ~NewUserPopup() override;

    void initWithJson(const rapidjson::Value& element) override;

    void setCallback(const std::function<void(NewUserPopup*, std::string)>& callback) {
        _resultCallback = callback;
    }
    // Removes "No" and moves "Yes" 50 to the right: the player must give a name.
    void hideCancelButton();

    void onYes();
    void onNo();

    bool onTextFieldAttachWithIME(cocos2d::TextFieldTTF* sender) override;
    bool onTextFieldDetachWithIME(cocos2d::TextFieldTTF* sender) override;
    bool onTextFieldInsertText(cocos2d::TextFieldTTF* sender, const char* text, size_t nLen) override;
    bool onTextFieldDeleteBackward(cocos2d::TextFieldTTF* sender, const char* delText, size_t nLen) override;
    bool onVisit(cocos2d::TextFieldTTF* sender, cocos2d::Renderer* renderer, const cocos2d::Mat4& transform,
                 uint32_t flags) override;

    cocos2d::TextFieldTTF* getTextField() const { return _textField; }

protected:
    NewUserPopup() = default;

private:
    // The prompt line shows the text of the section "ui" with this id.
    void showPrompt(const std::string& textId);
    // The typed name is about to change.
    void onNameChanging();

    cocos2d::TextFieldTTF* _textField = nullptr;
    std::function<void(NewUserPopup*, std::string)> _resultCallback;
    // Set once a name was handed on: a second Enter or click while the next scene fades in must not
    // create the player again or start a second intro.
    bool _answered = false;
    // The prompt says that the typed name is already taken.
    bool _nameTaken = false;
};
