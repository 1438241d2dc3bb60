#include "nodes/RestoreToolSelector.h"

#include <cstdio>
#include <new>

#include "Settings.h"
#include "StringHelpers.h"
#include "engine/2d/Label.h"
#include "engine/actions/ActionEase.h"
#include "engine/actions/BezierTo.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeOut.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/RepeatForever.h"
#include "engine/actions/RotateTo.h"
#include "engine/actions/Sequence.h"
#include "engine/actions/Spawn.h"
#include "engine/base/Log.h"
#include "engine/ui/Widget.h"
#include "GameSound.h"

using cocos2d::Vec2;
using cocos2d::ui::Widget;

namespace {

constexpr int kFirstButtonTag = 1;
constexpr int kLastButtonTag = 9;
constexpr int kSprayTag = 1;
constexpr float kFlight = 0.8f;
constexpr float kTurn = -60.0f;
constexpr float kFadeStart = 0.72f;
constexpr float kFade = 0.08f;
constexpr float kJumpOut = 0.15f;
constexpr float kJumpBack = 0.25f;
constexpr float kJumpX = -30.0f;

cocos2d::FiniteTimeAction* flight(const Vec2& to, const Vec2& from, float turnTo,
                                  cocos2d::FiniteTimeAction* extra) {
    cocos2d::ccBezierConfig path;
    path.endPosition = to;
    path.controlPoint_1 = from + Vec2(-10.0f, 0.0f);
    path.controlPoint_2 = from + Vec2(-150.0f, 100.0f);
    cocos2d::Spawn* together =
        extra != nullptr
            ? cocos2d::Spawn::create(cocos2d::EaseOut::create(cocos2d::BezierTo::create(kFlight, path), 1.0f),
                                     cocos2d::RotateTo::create(kFlight, turnTo), extra)
            : cocos2d::Spawn::create(cocos2d::EaseOut::create(cocos2d::BezierTo::create(kFlight, path), 1.0f),
                                     cocos2d::RotateTo::create(kFlight, turnTo));
    return cocos2d::EaseIn::create(together, 1.0f);
}

}  // namespace

RestoreToolSelector* RestoreToolSelector::create() {
    auto* selector = new (std::nothrow) RestoreToolSelector();
    if (selector != nullptr && selector->init()) {
        selector->autorelease();
        return selector;
    }
    delete selector;
    return nullptr;
}

RestoreToolSelector::~RestoreToolSelector() {
    cocos2d::log("=== %s ===\n", "RestoreToolSelector::~RestoreToolSelector");
}

int RestoreToolSelector::toolForDefect(int defectKind) {
    switch (defectKind) {
        case 0:
            return 1;
        case 1:
            return 2;
        case 2:
            return 4;
        case 3:
            return 3;
        case 4:
            return 5;
        default:
            return -1;
    }
}

void RestoreToolSelector::initWithJson(const rapidjson::Value& element) {
    FactoryNode::initWithJson(element);
    // Decorations move under their buttons: walk a copy of the children.
    const cocos2d::Vector<cocos2d::Node*> children = getChildren();
    for (cocos2d::Node* child : children) {
        const int tag = child->getTag();
        auto* button = dynamic_cast<Widget*>(child);
        if (tag < kFirstButtonTag || tag > kLastButtonTag || button == nullptr) {
            continue;
        }
        _buttons[tag] = button;
        _counts[tag] = 0;
        setupButtonCounter(button);
        button->addClickEventListener([this](cocos2d::Ref* sender) { onButtonClicked(sender); });
        if (cocos2d::Node* objects = button->getChildByName("objects")) {
            if (cocos2d::Node* glow = objects->getChildByTag(1)) {
                glow->setVisible(false);
            }
        }
        if (cocos2d::Node* decoration = getChildByTag(tag + kDecorationOffset)) {
            const Vec2 world = convertToWorldSpace(decoration->getPosition());
            decoration->retain();
            decoration->removeFromParentAndCleanup(false);
            button->addChild(decoration, -1);
            decoration->setPosition(button->convertToNodeSpace(world));
            decoration->release();
        }
    }
}

void RestoreToolSelector::setupButtonCounter(Widget* button) {
    cocos2d::Node* objects = button->getChildByName("objects");
    if (objects == nullptr) {
        return;
    }
    const int count = getCount(button->getTag());
    if (auto* number = dynamic_cast<cocos2d::Label*>(objects->getChildByName("number"))) {
        number->setString(intToString(count));
        number->setVisible(count > 0);
    }
    if (cocos2d::Node* back = objects->getChildByName("numberBack")) {
        back->setVisible(count > 0);
    }
}

Widget* RestoreToolSelector::getButton(int tag) const {
    auto found = _buttons.find(tag);
    return found == _buttons.end() ? nullptr : found->second;
}

int RestoreToolSelector::getCount(int tag) const {
    auto found = _counts.find(tag);
    return found == _counts.end() ? 0 : found->second;
}

void RestoreToolSelector::onButtonClicked(cocos2d::Ref* sender) {
    auto* node = dynamic_cast<cocos2d::Node*>(sender);
    if (_locked || node == nullptr) {
        return;
    }
    const int tag = node->getTag();
    if (_allowed < 0 || tag == _allowed || tag == kSprayTag) {
        selectTool(tag);
        GameSound::getInstance().playEffect("btnDown", false);
    }
}

void RestoreToolSelector::selectTool(int tag) {
    const int previous = _current;
    if (tag == _current) {
        tag = 0;
    }
    _current = tag;
    updateCursor();
    if (_onSelect) {
        _onSelect(_current);
    }
    if (Widget* pressed = getButton(_current)) {
        pressed->setBright(false);
    }
    if (Widget* released = getButton(previous)) {
        released->setBright(true);
        if (cocos2d::Node* mark = released->getChildByTag(kPressedMarkTag)) {
            mark->removeFromParentAndCleanup(true);
        }
    }
    if (_highlighted == _current) {
        stopActionByTag(kHighlightTag);
        _highlighted = -1;
    }
}

void RestoreToolSelector::updateCursor() {
    Settings& settings = Settings::getInstance();
    if (_current >= 1) {
        char name[32];
        std::snprintf(name, sizeof(name), "cursor_tool_%d", _current);
        cocos2d::log("change cursor -> %s", name);
        _cursorName = name;
        _customCursorOn = true;
        // Switching the custom cursor on shows the player's own; the tool's replaces it after.
        settings.setCustomCursorEnabled(true);
        settings.setCursor(_cursorName);
    } else {
        _cursorName.clear();
        _customCursorOn = settings.getCurrentUser().customCursor;
        settings.setCustomCursorEnabled(_customCursorOn);
    }
}

void RestoreToolSelector::setAllowedTool(int defectKind) {
    if (defectKind != -1) {
        highlightTool(defectKind, 1.0f);
    }
    _allowed = toolForDefect(defectKind);
}

void RestoreToolSelector::highlightTool(int defectKind, float interval) {
    stopActionByTag(kHighlightTag);
    _highlighted = toolForDefect(defectKind);
    cocos2d::Action* nudge = cocos2d::RepeatForever::create(
        cocos2d::Sequence::create(cocos2d::DelayTime::create(interval),
                                  cocos2d::CallFunc::create([this] { jumpButton(_highlighted); })));
    nudge->setTag(kHighlightTag);
    runAction(nudge);
}

void RestoreToolSelector::jumpButton(int tag) {
    Widget* button = getButton(tag);
    if (button == nullptr) {
        return;
    }
    const float y = button->getPositionY();
    button->runAction(cocos2d::Sequence::create(
        cocos2d::EaseIn::create(cocos2d::MoveTo::create(kJumpOut, Vec2(kJumpX, y)), 1.0f),
        cocos2d::EaseBackOut::create(cocos2d::MoveTo::create(kJumpBack, Vec2(0.0f, y)))));
}

void RestoreToolSelector::showTools() {
    stopAllActions();
    _locked = true;
    for (int tag = 1; tag <= static_cast<int>(_buttons.size()); ++tag) {
        Widget* button = getButton(tag);
        if (button == nullptr) {
            continue;
        }
        const Vec2 end = button->getPosition();
        button->setPosition(_home);
        button->setRotation(kTurn);
        button->runAction(flight(end, _home, 0.0f, nullptr));
    }
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kFlight),
                                        cocos2d::CallFunc::create([this] { _locked = false; })));
}

void RestoreToolSelector::hideTools() {
    stopAllActions();
    _locked = true;
    for (int tag = 1; tag <= static_cast<int>(_buttons.size()); ++tag) {
        Widget* button = getButton(tag);
        if (button == nullptr) {
            continue;
        }
        button->runAction(flight(_home, button->getPosition(), kTurn,
                                 cocos2d::Sequence::create(cocos2d::DelayTime::create(kFadeStart),
                                                           cocos2d::FadeOut::create(kFade))));
    }
}
