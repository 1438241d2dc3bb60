#include "ui/ChatScreen.h"

#include <new>

#include "engine/2d/Label.h"
#include "engine/actions/ActionEase.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeIn.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/ScaleTo.h"
#include "engine/actions/Sequence.h"
#include "engine/actions/Spawn.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/events/Touch.h"
#include "engine/math/Rect.h"
#include "engine/math/Size.h"
#include "engine/scene/Node.h"

#include "TextTable.h"
#include "ui/NodeFromJson.h"

namespace {

constexpr const char* kChatFolder = "ui/Chat";
constexpr int kCornerCuratorTag = 1;
constexpr float kGrowSeconds = 0.15f;
constexpr float kTextDelaySeconds = 0.075f;
constexpr float kTextFadeSeconds = 0.075f;
constexpr float kStartScale = 0.1f;

}  // namespace

ChatScreen* ChatScreen::create() {
    auto* chat = new (std::nothrow) ChatScreen();
    if (chat != nullptr && chat->init()) {
        chat->autorelease();
        return chat;
    }
    delete chat;
    return nullptr;
}

ChatScreen::~ChatScreen() {
    cocos2d::log("=== %s ===\n", "ChatScreen::~ChatScreen");
}

bool ChatScreen::init() {
    return PopupScreenBase::init();
}

void ChatScreen::showMessage(const std::string& key, bool centred) {
    NodeFromJson loader(kChatFolder);
    _messageNode = loader.createNode(centred ? "centerMessage" : "cornerMessage");
    if (_messageNode == nullptr) {
        // Nothing to show; the chat can still be closed as usual.
        _messageNode = cocos2d::Node::create();
    }
    addChild(_messageNode);
    _messageNode->setPosition(0.0f, 0.0f);

    if (!centred) {
        if (cocos2d::Node* avatar = _messageNode->getChildByName("avatar")) {
            _avatarPosition = avatar->getPosition();
            _messageNode->removeChild(avatar, true);
        }
        _messageNode->removeChildByTag(kCornerCuratorTag, true);
    }

    if (cocos2d::Node* message = _messageNode->getChildByName("message")) {
        if (auto* text = dynamic_cast<cocos2d::Label*>(message->getChildByName("Text"))) {
            text->setString(TextTable::getInstance().lookup(key));
        }
    }

    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kClosableAfterSeconds),
                                        cocos2d::CallFunc::create([this] { _closable = true; }), nullptr));
    playAppearance();
}

void ChatScreen::showProgressMessage(const std::string& name, bool centred) {
    showMessage("ProgressMessages." + name, centred);
}

void ChatScreen::playAppearance() {
    cocos2d::Node* message = _messageNode->getChildByName("message");
    if (message == nullptr) {
        return;
    }
    const cocos2d::Vec2 home = message->getPosition();
    message->setPosition(_avatarPosition);
    message->setScale(kStartScale);
    if (cocos2d::Node* text = message->getChildByName("Text")) {
        text->setOpacity(0);
        text->runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kTextDelaySeconds),
                                                  cocos2d::FadeIn::create(kTextFadeSeconds), nullptr));
    }
    message->runAction(cocos2d::EaseBackOut::create(cocos2d::Spawn::create(
        cocos2d::ScaleTo::create(kGrowSeconds, 1.0f), cocos2d::MoveTo::create(kGrowSeconds, home), nullptr)));
}

void ChatScreen::removeDimBackground() {
    removeChildByTag(kDimBackgroundTag, true);
    _dimBackground = nullptr;
}

bool ChatScreen::onTouchBegan(cocos2d::Touch* touch, cocos2d::Event*) {
    if (!_closable || isClosing()) {
        return _blockTouches;
    }
    // A chat closes once: a second touch before its removal finds it no longer closable.
    _closable = false;
    const bool goesOn = isOnTutorialTarget(touch);
    if (goesOn) {
        setCloseSound(false);
    }
    cocos2d::RefPtr<ChatScreen> keep(this);
    close();
    if (_closeCallback) {
        std::function<void()> callback = _closeCallback;
        callback();
    }
    return _blockTouches && !goesOn;
}

bool ChatScreen::keepsClosingTouch(cocos2d::Touch* touch) const {
    return !isOnTutorialTarget(touch);
}

bool ChatScreen::isOnTutorialTarget(const cocos2d::Touch* touch) const {
    const cocos2d::Node* target = _tutorialTarget.get();
    if (target == nullptr || touch == nullptr || !target->isRunning() || !target->isVisible()) {
        return false;
    }
    const cocos2d::Vec2 point = target->convertToNodeSpace(touch->getLocation());
    const cocos2d::Size size = target->getContentSize();
    return cocos2d::Rect(0.0f, 0.0f, size.width, size.height).containsPoint(point);
}

void ChatScreen::onTouchEnded(cocos2d::Touch*, cocos2d::Event*) {}

void ChatScreen::onKeyReleased(cocos2d::EventKeyboard::KeyCode, cocos2d::Event*) {}
