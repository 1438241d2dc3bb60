#pragma once

#include <functional>

#include "engine/events/EventKeyboard.h"
#include "engine/scene/Layer.h"

namespace cocos2d {
class Event;
class Sprite;
class Touch;
}  // namespace cocos2d

// The modal layer: it dims everything under it, swallows every touch that reaches it, and closes with
// a very short fade and an on-close callback. The chat, tutorial and evidence popups derive from it;
// the other modal panels sit inside a bare one and close it through their parent.
class PopupScreenBase : public cocos2d::Layer {
public:
    // Tag of the dim sprite among the popup's children.
    static constexpr int kDimBackgroundTag = 1;
    static constexpr float kCloseFadeSeconds = 0.01f;

    static PopupScreenBase* create();
    ~PopupScreenBase() override;
    bool init() override;

    // Claims (and, the listener swallowing, takes) every touch that reaches the popup.
    bool onTouchBegan(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void onTouchEnded(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void onKeyReleased(cocos2d::EventKeyboard::KeyCode keyCode, cocos2d::Event* event) override;

    void setOnClose(const std::function<void()>& onClose) { _onClose = onClose; }
    // The "btnDown" sound, a 0.01 s fade, then removal with cleanup; the on-close callback runs at once,
    // while the popup is still in its parent. Only the first call acts: a popup closes once.
    void close();
    bool isClosing() const { return _closing; }

    void setCloseSound(bool closeSound) { _closeSound = closeSound; }
    bool hasCloseSound() const { return _closeSound; }
    cocos2d::Sprite* getDimBackground() const { return _dimBackground; }

protected:
    PopupScreenBase() = default;

    // Whether the touch that has just closed the popup stays the popup's, so that no part of it reaches
    // the screen under it. Every popup keeps it unless it says otherwise for that touch.
    virtual bool keepsClosingTouch(cocos2d::Touch* touch) const;

    cocos2d::Sprite* _dimBackground = nullptr;
    std::function<void()> _onClose;
    bool _closeSound = true;

private:
    bool _closing = false;
};
