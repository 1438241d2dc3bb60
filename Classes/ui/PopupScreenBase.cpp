#include "ui/PopupScreenBase.h"

#include <new>

#include "engine/actions/CallFunc.h"
#include "engine/actions/FadeOut.h"
#include "engine/actions/Sequence.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/base/Types.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/math/Rect.h"
#include "engine/scene/Sprite.h"

#include "GameSound.h"

namespace {

constexpr GLubyte kDimOpacity = 190;

}  // namespace

PopupScreenBase* PopupScreenBase::create() {
    auto* popup = new (std::nothrow) PopupScreenBase();
    if (popup != nullptr && popup->init()) {
        popup->autorelease();
        return popup;
    }
    delete popup;
    return nullptr;
}

PopupScreenBase::~PopupScreenBase() = default;

bool PopupScreenBase::init() {
    if (!Layer::init()) {
        cocos2d::log("ScreenBase::init false");
        return false;
    }

    auto* listener = cocos2d::EventListenerTouchOneByOne::create();
    listener->setSwallowTouches(true);
    listener->onTouchBegan = [this](cocos2d::Touch* touch, cocos2d::Event* event) {
        const bool wasClosing = _closing;
        const bool claimed = onTouchBegan(touch, event);
        // The touch that closes a popup is the popup's, even one that lets other touches through to
        // the screen under it: claimed and swallowed, no part of it reaches that screen.
        return claimed || (_closing && !wasClosing && keepsClosingTouch(touch));
    };
    listener->onTouchMoved = [](cocos2d::Touch*, cocos2d::Event*) {};
    listener->onTouchEnded = [this](cocos2d::Touch* touch, cocos2d::Event* event) {
        onTouchEnded(touch, event);
    };
    listener->onTouchCancelled = [this](cocos2d::Touch* touch, cocos2d::Event* event) {
        onTouchEnded(touch, event);
    };
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, this);

    // Twice the visible size around the popup's origin: a popup added at (0, 0) to a screen, which
    // stands at the centre, is dimmed all over.
    const cocos2d::Size visible = cocos2d::Director::getInstance()->getVisibleSize();
    _dimBackground = cocos2d::Sprite::create();
    _dimBackground->setTextureRect(cocos2d::Rect(0.0f, 0.0f, 2.0f * visible.width, 2.0f * visible.height));
    _dimBackground->setColor(cocos2d::Color3B::BLACK);
    _dimBackground->setOpacity(kDimOpacity);
    addChild(_dimBackground, 0, kDimBackgroundTag);
    return true;
}

bool PopupScreenBase::onTouchBegan(cocos2d::Touch*, cocos2d::Event*) {
    return true;
}

void PopupScreenBase::onTouchEnded(cocos2d::Touch*, cocos2d::Event*) {}

bool PopupScreenBase::keepsClosingTouch(cocos2d::Touch*) const {
    return true;
}

void PopupScreenBase::onKeyReleased(cocos2d::EventKeyboard::KeyCode, cocos2d::Event*) {}

void PopupScreenBase::close() {
    // Two touches in one frame, or a panel's button and a timer, may both ask: the callbacks of one
    // closing run once.
    if (_closing) {
        return;
    }
    _closing = true;
    if (_closeSound) {
        GameSound::getInstance().playEffect("btnDown", false);
    }
    // Cleanup stops the popup's and its children's actions (a pulsing arrow, a pending timer), which
    // would otherwise keep it alive after its removal.
    runAction(cocos2d::Sequence::create(
        cocos2d::FadeOut::create(kCloseFadeSeconds),
        cocos2d::CallFunc::create([this] { removeFromParentAndCleanup(true); }), nullptr));
    if (_onClose) {
        // The callback may drop the owner's last pointer to this popup; it lives until its removal.
        cocos2d::RefPtr<PopupScreenBase> keep(this);
        std::function<void()> onClose = _onClose;
        onClose();
    }
}
