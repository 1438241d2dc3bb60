#include "minigames/MinigameScreen.h"

#include <initializer_list>
#include <new>
#include <string>

#include "engine/2d/Label.h"
#include "engine/actions/ActionEase.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeIn.h"
#include "engine/actions/FadeOut.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/ScaleTo.h"
#include "engine/actions/Sequence.h"
#include "engine/actions/Spawn.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/base/Types.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerKeyboard.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/events/Touch.h"
#include "engine/scene/Layer.h"
#include "engine/scene/Scene.h"
#include "engine/scene/TransitionFade.h"

#include "GameSound.h"
#include "Profile.h"
#include "Settings.h"
#include "TextTable.h"
#include "minigames/ColorMatch.h"
#include "minigames/ConveyorPuzzle.h"
#include "minigames/CurrentMinigame.h"
#include "minigames/DropsPuzzle.h"
#include "minigames/JigsawPuzzle.h"
#include "minigames/MinigameBase.h"
#include "minigames/MinigameLevels.h"
#include "minigames/TwoMatch.h"
#include "ui/ChatScreen.h"
#include "ui/GalleryScreen.h"
#include "ui/NodeFromJson.h"
#include "ui/TutorialScreen.h"

namespace {

constexpr const char* kUiFolder = "ui/Minigames";
constexpr const char* kChatFolder = "ui/Chat";
constexpr const char* kLoseSound = "Minigames/MG_LooseSound";
constexpr const char* kWinSound = "Minigames/MG_WinSound";
constexpr float kLeaveFadeSeconds = 1.0f;
constexpr float kLossTextRise = 600.0f;
constexpr float kLossTextInSeconds = 0.7f;
constexpr float kLossTextHoldSeconds = 0.6f;
constexpr float kLossTextOutSeconds = 0.2f;

MinigameBase* createGame(int32_t kind) {
    switch (kind) {
        case 0:
            return TwoMatch::create();
        case 1:
            return ColorMatch::create();
        case 2:
            return DropsPuzzle::create();
        case 3:
            return ConveyorPuzzle::create();
        case 4:
            return JigsawPuzzle::create();
        default:
            return nullptr;
    }
}

}  // namespace

MinigameScreen* MinigameScreen::create() {
    auto* screen = new (std::nothrow) MinigameScreen();
    if (screen != nullptr && screen->init()) {
        screen->autorelease();
        return screen;
    }
    delete screen;
    return nullptr;
}

MinigameScreen::MinigameScreen() {
    GameSound& sound = GameSound::getInstance();
    sound.preloadEffect(kLoseSound);
    sound.preloadEffect(kWinSound);
}

MinigameScreen::~MinigameScreen() {
    cocos2d::log("=== %s ===\n", "MinigameScreen::~MinigameScreen");
    GameSound& sound = GameSound::getInstance();
    sound.uncacheEffect(kLoseSound);
    sound.uncacheEffect(kWinSound);
    if (_game != nullptr) {
        _game->cleanup();
        _game = nullptr;
    }
    _onFinished = nullptr;
}

bool MinigameScreen::init() {
    if (!ScreenBase::init()) {
        return false;
    }

    {
        NodeFromJson loader(kUiFolder);
        _ui = loader.createNode("UI");
    }
    if (_ui == nullptr) {
        // A broken resource tree: no screen rather than a crash; the launcher stays where it is.
        cocos2d::log("MinigameScreen: %s has no \"UI\"", kUiFolder);
        return false;
    }
    addChild(_ui);

    scheduleUpdate();

    using Handler = void (MinigameScreen::*)(cocos2d::Ref*, cocos2d::ui::Widget::TouchEventType);
    const std::pair<const char*, Handler> buttons[] = {
        {"Skip", &MinigameScreen::onSkipButton},
        {"Reset", &MinigameScreen::onResetButton},
        {"Menu", &MinigameScreen::onMenuButton},
    };
    for (const auto& entry : buttons) {
        const Handler handler = entry.second;
        if (auto* button = dynamic_cast<cocos2d::ui::Widget*>(_ui->getChildByName(entry.first))) {
            button->addTouchEventListener(
                [this, handler](cocos2d::Ref* sender, cocos2d::ui::Widget::TouchEventType type) {
                    (this->*handler)(sender, type);
                });
        }
    }

    addAvatar();

    cocos2d::Node* winAnim = _ui->getChildByName("WinAnim");
    if (winAnim != nullptr) {
        winAnim->setVisible(false);
        _resultTextPosition = winAnim->getPosition();
    }
    if (cocos2d::Node* looseAnim = _ui->getChildByName("LooseAnim")) {
        looseAnim->setVisible(false);
    }

    startMinigame(currentMinigameKind, currentMinigameLevel);

    cocos2d::EventDispatcher* dispatcher = cocos2d::Director::getInstance()->getEventDispatcher();
    auto* touches = cocos2d::EventListenerTouchAllAtOnce::create();
    touches->onTouchesBegan = [this](const std::vector<cocos2d::Touch*>& list, cocos2d::Event* event) {
        handleTouchesBegan(list, event);
    };
    touches->onTouchesMoved = [this](const std::vector<cocos2d::Touch*>& list, cocos2d::Event* event) {
        handleTouchesMoved(list, event);
    };
    touches->onTouchesEnded = [this](const std::vector<cocos2d::Touch*>& list, cocos2d::Event* event) {
        handleTouchesEnded(list, event);
    };
    touches->onTouchesCancelled = touches->onTouchesEnded;
    dispatcher->addEventListenerWithSceneGraphPriority(touches, this);

    auto* keys = cocos2d::EventListenerKeyboard::create();
    keys->onKeyReleased = [this](cocos2d::EventKeyboard::KeyCode code, cocos2d::Event* event) {
        onKeyReleased(code, event);
    };
    dispatcher->addEventListenerWithSceneGraphPriority(keys, this);
    return true;
}

void MinigameScreen::addAvatar() {
    cocos2d::Node* place = _ui->getChildByName("avatarPlace");
    if (place == nullptr) {
        return;
    }
    const std::string name =
        "avatar_" + Settings::getInstance().getCurrentUser().currentPicture.country + "_small";
    NodeFromJson loader(kChatFolder);
    cocos2d::Node* avatar = loader.createNode(name);
    if (avatar == nullptr) {
        cocos2d::log("courator image not found: '%s'", name.c_str());
        return;
    }
    _ui->addChild(avatar);
    // The guide fits inside the bottom bar, beside the buttons, so that no board is hidden behind it.
    if (const cocos2d::Node* bar = _ui->getChildByName("bar")) {
        const float room = bar->getBoundingBox().getMaxY() - place->getBoundingBox().getMinY();
        const float high = avatar->getContentSize().height;
        if (room > 0.0f && high > room) {
            avatar->setScale(room / high);
        }
    }
    // Lower-left corners of avatar and place together, whatever their anchors.
    avatar->setPosition(place->getPosition() + avatar->getAnchorPointInPoints() * avatar->getScale() -
                        place->getAnchorPointInPoints());
}

void MinigameScreen::startMinigame(int32_t kind, int32_t level) {
    if (_game != nullptr) {
        _game->cleanup();
        removeChild(_game, true);
        _game = nullptr;
    }
    _kind = kind;
    _level = level;
    currentMinigameLevel = level;
    // The new game never saw the tracked touch begin; its end must not reach it.
    _touchId = kNoTouch;
    _touching = false;

    if (kind == 0 && !Settings::getInstance().isTutorialShown(kTwoMatchTutorial)) {
        if (TutorialScreen* tutorial = TutorialScreen::create()) {
            tutorial->showTutorial(kTwoMatchTutorial, [] {});
            addChild(tutorial, kTutorialZOrder);
        }
        Settings::getInstance().save();
    }

    _game = createGame(kind);
    if (_game == nullptr) {
        // Nothing to play: the frame stays, and Menu or Backspace leave.
        cocos2d::log("MinigameScreen: no minigame of kind %d level %d", kind, level);
    } else {
        addChild(_game);
        _game->setLocalZOrder(kGameZOrder);
        _ui->setLocalZOrder(kUiZOrder);
    }
    _ended = false;
}

void MinigameScreen::update(float dt) {
    if (_ended || _game == nullptr) {
        return;
    }
    _game->update(dt);
    switch (_game->getState()) {
        case MinigameState::Lost:
            onLost();
            break;
        case MinigameState::Won:
            onWon();
            break;
        default:
            break;
    }
}

void MinigameScreen::onLost() {
    _ended = true;
    if (_game->isLostForGood()) {
        strand();
        return;
    }
    showLossText(false);
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kRestartDelaySeconds),
                                        cocos2d::CallFunc::create([this] { restartMinigame(); }), nullptr));
}

void MinigameScreen::strand() {
    // The same level would be lost again the moment it started, every 1.5 s for as long as the player
    // watched: the loss stays, Skip and Reset go dim, and the player leaves with Menu or Backspace.
    _stranded = true;
    showLossText(true);
    for (const char* name : {"Skip", "Reset"}) {
        if (auto* button = dynamic_cast<cocos2d::ui::Widget*>(_ui->getChildByName(name))) {
            button->setEnabled(false);
            button->setBright(false);
        }
    }
}

void MinigameScreen::showLossText(bool hold) {
    GameSound::getInstance().playEffect(kLoseSound, false);
    auto* label = dynamic_cast<cocos2d::Label*>(_ui->getChildByName("LooseAnim"));
    if (label == nullptr) {
        return;
    }
    label->stopAllActions();
    label->setString(TextTable::getInstance().getText("minigames", "loose_text"));
    label->setVisible(true);
    label->setPosition(_resultTextPosition + cocos2d::Vec2(0.0f, kLossTextRise));
    label->enableOutline(cocos2d::Color4B::BLACK, 4);
    label->setScale(2.0f);
    // It fades in every time, not only after an earlier loss has faded it out.
    label->setOpacity(0);
    cocos2d::EaseBackInOut* arrive = cocos2d::EaseBackInOut::create(cocos2d::Spawn::create(
        cocos2d::MoveTo::create(kLossTextInSeconds, _resultTextPosition),
        cocos2d::FadeIn::create(kLossTextInSeconds), cocos2d::ScaleTo::create(kLossTextInSeconds, 1.0f), nullptr));
    if (hold) {
        label->runAction(arrive);
        return;
    }
    label->runAction(cocos2d::Sequence::create(
        arrive, cocos2d::DelayTime::create(kLossTextHoldSeconds), cocos2d::FadeOut::create(kLossTextOutSeconds),
        cocos2d::CallFunc::create([label] { label->setVisible(false); }), nullptr));
}

void MinigameScreen::onWon() {
    const int32_t next = nextMinigameLevel(_kind, _level);
    _ended = true;
    setMinigameLevel(Settings::getInstance().getCurrentUser(), _kind, next);
    _level = next;
    Settings::getInstance().save();
    GameSound::getInstance().playEffect(kWinSound, false);
    showWinChat();
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kLeaveAfterWinSeconds),
                                        cocos2d::CallFunc::create([this] { exitMinigames(); }), nullptr));
}

void MinigameScreen::showWinChat() {
    cocos2d::Node* place = _ui->getChildByName("chat_place");
    if (place == nullptr) {
        return;
    }
    ChatScreen* chat = ChatScreen::create();
    if (chat == nullptr) {
        return;
    }
    chat->showMessage("minigames.win_congratulation", false);
    chat->setClosable(true);
    chat->setCloseCallback([this] {
        stopAllActions();
        exitMinigames();
    });
    chat->removeDimBackground();
    place->addChild(chat);
}

void MinigameScreen::restartMinigame() {
    if (_game != nullptr) {
        _game->setRestart(true);
    }
    startMinigame(_kind, _level);
}

void MinigameScreen::exitMinigames() {
    if (_leaving) {
        return;
    }
    _leaving = true;
    // Nothing drives the game any more: a result it reaches now would start a restart or a second win.
    _ended = true;
    if (_game != nullptr) {
        _game->stop();
    }
    if (_onFinished) {
        const bool won = !_skipped && _game != nullptr && _game->getState() == MinigameState::Won;
        // The launcher may drop what holds this screen; it lives until the pop.
        cocos2d::RefPtr<MinigameScreen> keep(this);
        std::function<void(bool)> onFinished = _onFinished;
        onFinished(won);
        cocos2d::Director::getInstance()->popToRootScene();
        return;
    }
    cocos2d::Layer* next = GalleryScreen::create();
    if (next == nullptr) {
        cocos2d::log("MinigameScreen: no screen to return to");
        return;
    }
    cocos2d::Scene* scene = cocos2d::Scene::create();
    scene->addChild(next);
    cocos2d::Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(kLeaveFadeSeconds, scene));
}

void MinigameScreen::onSkipButton(cocos2d::Ref*, cocos2d::ui::Widget::TouchEventType) {
    // A game already decided keeps its own result: a Skip pressed in the frame it was won or lost must
    // neither turn a real win into a skipped one nor stay behind for the level started after a loss.
    if (_ended || _game == nullptr || _game->isDecided()) {
        return;
    }
    _skipped = true;
    _game->win();
}

void MinigameScreen::onResetButton(cocos2d::Ref*, cocos2d::ui::Widget::TouchEventType type) {
    if (_ended || type != cocos2d::ui::Widget::TouchEventType::ENDED) {
        return;
    }
    restartMinigame();
}

void MinigameScreen::onMenuButton(cocos2d::Ref*, cocos2d::ui::Widget::TouchEventType type) {
    if ((_ended && !_stranded) || type != cocos2d::ui::Widget::TouchEventType::ENDED) {
        return;
    }
    exitMinigames();
}

void MinigameScreen::onKeyReleased(cocos2d::EventKeyboard::KeyCode keyCode, cocos2d::Event* event) {
    Layer::onKeyReleased(keyCode, event);
    if ((_ended && !_stranded) || keyCode != cocos2d::EventKeyboard::KeyCode::KEY_BACKSPACE) {
        return;
    }
    exitMinigames();
}

void MinigameScreen::handleTouchesBegan(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
    if (_ended || _touching || touches.empty() || _game == nullptr) {
        return;
    }
    cocos2d::Touch* touch = touches.front();
    _touchId = touch->getID();
    _touching = true;
    _game->touchBegan(touch->getLocation());
}

void MinigameScreen::handleTouchesMoved(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
    if (_ended || !_touching || _game == nullptr) {
        return;
    }
    for (cocos2d::Touch* touch : touches) {
        if (touch->getID() == _touchId) {
            _game->touchMoved(touch->getLocation());
            return;
        }
    }
}

void MinigameScreen::handleTouchesEnded(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
    if (_ended || !_touching || _game == nullptr) {
        return;
    }
    for (cocos2d::Touch* touch : touches) {
        if (touch->getID() == _touchId) {
            _touching = false;
            _touchId = kNoTouch;
            _game->touchEnded(touch->getLocation());
            return;
        }
    }
}
