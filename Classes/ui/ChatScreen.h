#pragma once

#include <functional>
#include <string>

#include "engine/base/RefPtr.h"
#include "engine/events/EventKeyboard.h"
#include "engine/math/Vec2.h"
#include "engine/scene/Node.h"
#include "ui/PopupScreenBase.h"

namespace cocos2d {
class Event;
class Touch;
}  // namespace cocos2d

// A curator's speech bubble with one localised message, centred or in the corner layout beside the
// curator's picture. It grows in with a short animation and closes on a touch once it may be closed
// (2 s after it appeared, or at once when the caller says so).
class ChatScreen : public PopupScreenBase {
public:
    static constexpr float kClosableAfterSeconds = 2.0f;

    static ChatScreen* create();
    ~ChatScreen() override;
    bool init() override;

    // key is a full "section.id" text key.
    void showMessage(const std::string& key, bool centred);
    // showMessage with "ProgressMessages." + name.
    void showProgressMessage(const std::string& name, bool centred);

    void setCloseCallback(const std::function<void()>& callback) { _closeCallback = callback; }
    void setClosable(bool closable) { _closable = closable; }
    bool isClosable() const { return _closable; }
    // True (the default): touches are claimed and swallowed; false: they reach what lies below.
    void setBlockTouches(bool blockTouches) { _blockTouches = blockTouches; }
    void removeDimBackground();
    // The chat comes up with a tutorial that lets its tap through to `target`, and says the same: the
    // tap on the target that closes the chat goes on to the target, which makes the click's sound, so
    // that one click does what both ask. Every other touch is handled as always.
    void accompanyTutorial(cocos2d::Node* target) { _tutorialTarget = target; }

    // A touch on a closable chat closes it; the touch is claimed as blockTouches says.
    bool onTouchBegan(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void onTouchEnded(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void onKeyReleased(cocos2d::EventKeyboard::KeyCode keyCode, cocos2d::Event* event) override;

    cocos2d::Node* getMessageNode() const { return _messageNode; }
    const cocos2d::Vec2& getAvatarPosition() const { return _avatarPosition; }

protected:
    ChatScreen() = default;

    bool keepsClosingTouch(cocos2d::Touch* touch) const override;

private:
    void playAppearance();
    bool isOnTutorialTarget(const cocos2d::Touch* touch) const;

    bool _blockTouches = true;
    bool _closable = false;
    std::function<void()> _closeCallback;
    cocos2d::Node* _messageNode = nullptr;
    cocos2d::Vec2 _avatarPosition;
    cocos2d::RefPtr<cocos2d::Node> _tutorialTarget;
};
