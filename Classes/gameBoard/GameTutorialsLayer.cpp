#include "gameBoard/GameTutorialsLayer.h"

#include <functional>
#include <new>

#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeIn.h"
#include "engine/actions/FadeTo.h"
#include "engine/actions/RepeatForever.h"
#include "engine/actions/ScaleTo.h"
#include "engine/actions/Sequence.h"
#include "engine/actions/Spawn.h"
#include "engine/actions/TintTo.h"
#include "engine/base/Log.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/Widget.h"

#include "Settings.h"
#include "gameBoard/GameBoard.h"
#include "gameBoard/StoryLevel.h"
#include "nodes/LevelNode.h"
#include "nodes/RestoreToolSelector.h"
#include "ui/ChatScreen.h"
#include "ui/TutorialScreen.h"

using cocos2d::Node;
using cocos2d::Vec2;

namespace {

constexpr const char* kCutMarker = "cut_tutorial";

// A red flush and a small swell, over and over: the HUD's way of pointing at a panel.
cocos2d::Action* pulseForever() {
    auto* tint = cocos2d::Sequence::create(
        cocos2d::TintTo::create(0.25f, 250, 100, 100), cocos2d::DelayTime::create(0.0625f),
        cocos2d::TintTo::create(0.25f, 255, 255, 255), cocos2d::DelayTime::create(0.0625f), nullptr);
    auto* scale = cocos2d::Sequence::create(
        cocos2d::ScaleTo::create(0.25f, 1.05f), cocos2d::DelayTime::create(0.0625f),
        cocos2d::ScaleTo::create(0.25f, 1.0f), cocos2d::DelayTime::create(0.0625f), nullptr);
    return cocos2d::RepeatForever::create(cocos2d::Spawn::create(tint, scale, nullptr));
}

}  // namespace

GameTutorialsLayer* GameTutorialsLayer::create() {
    auto* layer = new (std::nothrow) GameTutorialsLayer();
    if (layer != nullptr && layer->init()) {
        layer->autorelease();
        return layer;
    }
    delete layer;
    return nullptr;
}

GameTutorialsLayer::~GameTutorialsLayer() {
    cocos2d::log("=== %s ===\n", "GameTutorialsLayer::~GameTutorialsLayer");
}

bool GameTutorialsLayer::init() {
    return Layer::init();
}

void GameTutorialsLayer::setup(Node* hudRoot, GameBoard* board, RestoreToolSelector* toolBar) {
    _hudRoot = hudRoot;
    _board = board;
    _toolBar = toolBar;
}

Node* GameTutorialsLayer::hudPanel(int tag) const {
    return _hudRoot != nullptr ? _hudRoot->getChildByTag(tag) : nullptr;
}

Node* GameTutorialsLayer::hudButton(int panelTag, const char* name) const {
    Node* panel = hudPanel(panelTag);
    return panel != nullptr ? panel->getChildByName(name) : nullptr;
}

void GameTutorialsLayer::setHudButtonEnabled(int panelTag, const char* name, bool enabled) {
    if (auto* button = dynamic_cast<cocos2d::ui::Widget*>(hudButton(panelTag, name))) {
        button->setEnabled(enabled);
    }
}

bool GameTutorialsLayer::showTutorial(int id) {
    if (_openTutorial != nullptr) {
        cocos2d::log("avoid to show second tutorial (%d) over existing one (%d)", id, _openTutorial->getTutorialId());
        return false;
    }
    if (Settings::getInstance().isTutorialShown(id)) {
        return false;
    }
    TutorialScreen* tutorial = TutorialScreen::create();
    if (tutorial == nullptr) {
        return false;
    }
    _openTutorial = tutorial;
    addChild(tutorial);
    tutorial->showTutorial(id, std::bind(&GameTutorialsLayer::onTutorialClosed, this));
    if (_openTutorial != tutorial) {
        // A tutorial without steps (a broken file) closed at once: nothing waits for its events.
        return false;
    }
    tutorial->setManualAdvance(true);
    tutorial->setCascadeOpacityEnabled(true);
    tutorial->setOpacity(0);
    tutorial->runAction(cocos2d::FadeIn::create(0.3f));
    cocos2d::log("tutorial (%d) created", id);
    return true;
}

bool GameTutorialsLayer::closeTutorial(int id) {
    cocos2d::log("try to close tutorial %d", id);
    if (_openTutorial == nullptr || _openTutorial->getTutorialId() != id) {
        return false;
    }
    // The popup may run its close callback from inside nextStep: forget it first, so the callback
    // and any tutorial it asks for see no tutorial open.
    TutorialScreen* tutorial = _openTutorial;
    _openTutorial = nullptr;
    if (tutorial->nextStep()) {
        _openTutorial = tutorial;
        return false;
    }
    return true;
}

void GameTutorialsLayer::onTutorialClosed() {
    // Only one tutorial is ever open, and it has just run past its last step.
    _openTutorial = nullptr;
    if (isIntroLevel() && _board != nullptr) {
        _board->lowerForcedItem();
    }
}

void GameTutorialsLayer::startIntroLevel() {
    if (!isIntroLevel()) {
        return;
    }
    showTutorial(kIntroTutorial);
    if (_toolBar != nullptr) {
        _toolBar->setAllowedTool(0);
    }
    if (_board != nullptr) {
        _board->setForcedItem("kestrova");
    }
}

void GameTutorialsLayer::stopHintPulse() {
    if (Node* hint = hudPanel(2)) {
        hint->stopActionByTag(kPulseTag);
    }
}

void GameTutorialsLayer::onItemHit(HiddenObject*, const Vec2&) {
    if (isIntroLevel() && _board != nullptr) {
        auto allow = [this](int kind) {
            if (_toolBar != nullptr) {
                _toolBar->setAllowedTool(kind);
            }
        };
        switch (_board->getItemsRestored()) {
            case 0:
                closeTutorial(1);
                showTutorial(2);
                allow(2);
                break;
            case 1:
                closeTutorial(6);
                showTutorial(3);
                allow(3);
                break;
            case 2:
                closeTutorial(5);
                showTutorial(4);
                allow(1);
                break;
            default:
                break;
        }
    }
    stopHintPulse();
    if (Node* hint = hudPanel(2)) {
        hint->setScale(1.0f);
    }
}

void GameTutorialsLayer::onItemErased(HiddenObject*, const Vec2&) {
    if (!isIntroLevel() || _board == nullptr) {
        return;
    }
    switch (_board->getItemsRestored()) {
        case 1:
            showTutorial(6);
            _board->setForcedItem("headphones");
            break;
        case 2:
            _board->setInputPaused(_board, true);
            if (auto* tools = dynamic_cast<RestoreToolSelector*>(
                    _hudRoot != nullptr ? _hudRoot->getChildByName("RestoreTools") : nullptr)) {
                tools->selectTool(1);
            }
            showTutorial(7);
            setHudButtonEnabled(2, "HintBtn", true);
            break;
        case 3:
            closeTutorial(5);
            showCuratorChat();
            setHudButtonEnabled(2, "HintBtn", false);
            setHudButtonEnabled(3, "paletteBtn", true);
            break;
        default:
            break;
    }
}

void GameTutorialsLayer::onHintShown(const Vec2&) {
    if (isIntroLevel() && _board != nullptr && _board->getItemsRestored() == 2) {
        _board->setInputPaused(_board, false);
        closeTutorial(7);
        showTutorial(5);
    }
    stopHintPulse();
}

void GameTutorialsLayer::onToolSelected(int tool) {
    if (isIntroLevel()) {
        switch (tool) {
            case 1:
                closeTutorial(1);
                break;
            case 2:
                closeTutorial(4);
                break;
            case 3:
                closeTutorial(3);
                break;
            case 4:
                closeTutorial(2);
                break;
            default:
                break;
        }
    }
    if (tool == 5 && closeTutorial(kCutTutorial)) {
        NodeLevel* level = _board != nullptr ? _board->getNodeLevel() : nullptr;
        if (Node* marker = level != nullptr ? level->getChildByName(kCutMarker) : nullptr) {
            marker->setOpacity(128);
            marker->runAction(cocos2d::RepeatForever::create(cocos2d::Sequence::create(
                cocos2d::FadeTo::create(0.25f, 255), cocos2d::DelayTime::create(0.125f),
                cocos2d::FadeTo::create(0.25f, 128), cocos2d::DelayTime::create(0.125f), nullptr)));
        }
    }
}

void GameTutorialsLayer::onMiss(const Vec2& position, ToolState tool) {
    if (isIntroLevel()) {
        return;
    }
    if (tool == ToolState::Knife) {
        NodeLevel* level = _board != nullptr ? _board->getNodeLevel() : nullptr;
        if (level != nullptr && showTutorial(kCutTutorial)) {
            if (cocos2d::Sprite* marker = cocos2d::Sprite::createWithSpriteFrameName("cut_tutor.png")) {
                marker->setPosition(level->convertToNodeSpace(position));
                marker->setName(kCutMarker);
                marker->setOpacity(0);
                level->addChild(marker, level->nextZOrder(true));
            } else {
                cocos2d::log("cut tutorial: no frame 'cut_tutor.png'");
            }
        }
    } else if (tool == ToolState::Sray) {
        pulseHintButton();
    }
}

void GameTutorialsLayer::onDamageFixed(EraseableGameObject*, const Vec2&) {
    NodeLevel* level = _board != nullptr ? _board->getNodeLevel() : nullptr;
    if (level != nullptr) {
        level->removeChildByName(kCutMarker);
    }
}

void GameTutorialsLayer::onFlyArrived() {
    if (showTutorial(kFlyTutorial) && _board != nullptr) {
        _board->setInputPaused(_board, true);
    }
}

void GameTutorialsLayer::onFlySwatted() {
    if (closeTutorial(kFlyTutorial) && _board != nullptr) {
        _board->setInputPaused(_board, false);
    }
}

void GameTutorialsLayer::showCuratorChat() {
    if (!showTutorial(kCuratorTutorial)) {
        return;
    }
    Node* score = hudPanel(1);
    Node* place = score != nullptr ? score->getChildByName("chat_place") : nullptr;
    ChatScreen* chat = ChatScreen::create();
    if (chat != nullptr && place != nullptr) {
        chat->showMessage("tutorials.tutorial-40_1", false);
        chat->setCloseCallback(std::bind(&GameTutorialsLayer::onCuratorChatClosed, this));
        chat->removeDimBackground();
        chat->setBlockTouches(false);
        place->addChild(chat);
    }
    if (Node* finish = hudPanel(3)) {
        finish->runAction(pulseForever());
    }
}

void GameTutorialsLayer::onCuratorChatClosed() {
    cocos2d::log("try to close Courator");
}

void GameTutorialsLayer::pulseHintButton() {
    Node* hint = hudPanel(2);
    if (hint == nullptr) {
        return;
    }
    hint->stopActionByTag(kPulseTag);
    cocos2d::Action* pulse = pulseForever();
    pulse->setTag(kPulseTag);
    hint->runAction(pulse);
}

void GameTutorialsLayer::onLevelFinished() {
    if (_openTutorial != nullptr) {
        _openTutorial->close();
        _openTutorial = nullptr;
    }
    Node* score = hudPanel(1);
    if (Node* place = score != nullptr ? score->getChildByName("chat_place") : nullptr) {
        place->removeAllChildren();
    }
}
