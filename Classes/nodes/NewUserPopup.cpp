#include "nodes/NewUserPopup.h"

#include <new>
#include <string>

#include "engine/2d/Label.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeIn.h"
#include "engine/actions/FadeTo.h"
#include "engine/actions/RepeatForever.h"
#include "engine/actions/Sequence.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventKeyboard.h"
#include "engine/events/EventListenerKeyboard.h"
#include "engine/ui/Button.h"
#include "engine/ui/TextFieldTTF.h"

#include "GameSound.h"
#include "Settings.h"
#include "TextTable.h"
#include "WideString.h"

namespace {

constexpr float kFieldFontSize = 25.0f;

// The bytes of the first count UTF-8 characters of text (all of it when it holds fewer).
size_t utf8PrefixBytes(const std::string& text, int count) {
    size_t i = 0;
    int seen = 0;
    while (i < text.size()) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (seen == count) {
                break;
            }
            ++seen;
        }
        ++i;
    }
    return i;
}

void playButtonSound() {
    GameSound::getInstance().playEffect("btnDown", false);
}

}  // namespace

NewUserPopup* NewUserPopup::create() {
    auto* popup = new (std::nothrow) NewUserPopup();
    if (popup != nullptr && popup->init()) {
        popup->autorelease();
        return popup;
    }
    delete popup;
    return nullptr;
}

NewUserPopup::~NewUserPopup() {
    cocos2d::log("=== %s ===\n", "NewUserPopup::~NewUserPopup");
}

void NewUserPopup::initWithJson(const rapidjson::Value& element) {
    FactoryNode::initWithJson(element);
    const TextTable& texts = TextTable::getInstance();

    if (auto* prompt = dynamic_cast<cocos2d::Label*>(getChildByName("enter_name"))) {
        prompt->setString(texts.getText("ui", "enter_name"));
    }

    if (cocos2d::Node* place = getChildByName("text_place")) {
        const cocos2d::Size placeSize = place->getContentSize();
        _textField = cocos2d::TextFieldTTF::textFieldWithPlaceHolder(
            texts.getText("ui", "new_player_name"), cocos2d::Size(placeSize.width * 0.95f, placeSize.height),
            cocos2d::TextHAlignment::CENTER, Settings::getInstance().getFontPath("Arial"), kFieldFontSize);
        if (_textField != nullptr) {
            _textField->setPosition(place->getPosition());
            _textField->setDelegate(this);
            _textField->setTextColor(cocos2d::Color4B(87, 74, 2, 255));
            _textField->attachWithIME();
            addChild(_textField);
            auto* blink = cocos2d::RepeatForever::create(cocos2d::Sequence::create(
                cocos2d::FadeTo::create(0.3f, 128), cocos2d::DelayTime::create(0.15f),
                cocos2d::FadeIn::create(0.3f), cocos2d::DelayTime::create(0.15f), nullptr));
            blink->setTag(kBlinkTag);
            _textField->runAction(blink);
        }
    }

    if (auto* yes = dynamic_cast<cocos2d::ui::Button*>(getChildByName("Yes"))) {
        yes->addClickEventListener([this](cocos2d::Ref*) { onYes(); });
    }
    if (auto* no = dynamic_cast<cocos2d::ui::Button*>(getChildByName("No"))) {
        no->addClickEventListener([this](cocos2d::Ref*) { onNo(); });
    }

    auto* keyboard = cocos2d::EventListenerKeyboard::create();
    keyboard->onKeyReleased = [this](cocos2d::EventKeyboard::KeyCode code, cocos2d::Event*) {
        if (code == cocos2d::EventKeyboard::KeyCode::KEY_KP_ENTER) {
            onYes();
        }
    };
    cocos2d::Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(keyboard,
                                                                                                   this);
}

void NewUserPopup::hideCancelButton() {
    removeChildByName("No");
    if (cocos2d::Node* yes = getChildByName("Yes")) {
        yes->setPositionX(yes->getPositionX() + 50.0f);
    }
}

void NewUserPopup::onYes() {
    // The answer may remove this popup; it stays alive until the handler is done with it.
    cocos2d::RefPtr<NewUserPopup> keep(this);
    playButtonSound();
    if (_answered || _textField == nullptr || _textField->getString().empty()) {
        return;
    }
    const std::string name = _textField->getString();
    if (Settings::getInstance().userExists(widen(name))) {
        showPrompt("profile_exists");
        return;
    }
    _answered = true;
    if (_resultCallback) {
        _resultCallback(this, name);
    }
}

void NewUserPopup::showPrompt(const std::string& textId) {
    if (auto* prompt = dynamic_cast<cocos2d::Label*>(getChildByName("enter_name"))) {
        prompt->setString(TextTable::getInstance().getText("ui", textId));
    }
    _nameTaken = textId == "profile_exists";
}

void NewUserPopup::onNameChanging() {
    // The refusal was about the name as it stood: once the player edits it, the question comes back.
    if (_nameTaken) {
        showPrompt("enter_name");
    }
}

void NewUserPopup::onNo() {
    cocos2d::RefPtr<NewUserPopup> keep(this);
    playButtonSound();
    if (_answered) {
        return;
    }
    if (_resultCallback) {
        _resultCallback(this, "");
    }
}

bool NewUserPopup::onTextFieldAttachWithIME(cocos2d::TextFieldTTF*) {
    return false;
}

bool NewUserPopup::onTextFieldDetachWithIME(cocos2d::TextFieldTTF*) {
    return false;
}

bool NewUserPopup::onTextFieldInsertText(cocos2d::TextFieldTTF* sender, const char* text, size_t nLen) {
    if (sender == nullptr) {
        return false;
    }
    const int room = kMaxNameLength - sender->getCharCount();
    if (room <= 0) {
        return true;
    }
    sender->stopActionByTag(kBlinkTag);
    sender->setOpacity(255);
    const std::string offered(text != nullptr ? text : "", text != nullptr ? nLen : 0);
    const size_t fits = utf8PrefixBytes(offered, room);
    if (fits > 0) {
        onNameChanging();
    }
    if (fits == offered.size()) {
        return false;
    }
    // A paste longer than the room left: only its first characters go in, cut on a character boundary.
    cocos2d::log("NewUserPopup: a name holds at most %d characters; %zu bytes of the insertion dropped",
                 kMaxNameLength, offered.size() - fits);
    if (fits > 0) {
        sender->insertText(offered.substr(0, fits));
    }
    return true;
}

bool NewUserPopup::onTextFieldDeleteBackward(cocos2d::TextFieldTTF*, const char*, size_t nLen) {
    if (nLen > 0) {
        onNameChanging();
    }
    return false;
}

bool NewUserPopup::onVisit(cocos2d::TextFieldTTF*, cocos2d::Renderer*, const cocos2d::Mat4&, uint32_t) {
    return false;
}
