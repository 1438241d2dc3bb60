#include "minigames/ConveyorPuzzle.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "engine/2d/Label.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeOut.h"
#include "engine/actions/MoveBy.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/RemoveSelf.h"
#include "engine/actions/Repeat.h"
#include "engine/actions/ScaleTo.h"
#include "engine/actions/Sequence.h"
#include "engine/actions/Spawn.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/scene/Sprite.h"

#include "GameSound.h"
#include "MinigameKind.h"
#include "Profile.h"
#include "Settings.h"
#include "minigames/ConveyorPuzzleRules.h"
#include "minigames/CurrentMinigame.h"
#include "minigames/MinigameLevels.h"
#include "minigames/MinigameResources.h"
#include "ui/NodeFromJson.h"

namespace {

constexpr const char* kBeltSound = "Minigames/CP_conveyor";
constexpr const char* kCorrectSound = "Minigames/CP_correct";
constexpr const char* kWrongSound = "Minigames/CP_wrong";
constexpr const char* kCoinSound = "Minigames/CP_coint";

constexpr int kBeltCopies = 21;
constexpr float kBeltShift = 70.0f;
constexpr float kFlyAway = 500.0f;
constexpr float kFlyTime = 0.3f;
constexpr float kResultDelay = 0.5f;

std::string folder() {
    return minigameFolder(static_cast<int32_t>(MinigameKind::ConveyorPuzzle));
}

// A pulse of the demonstration: up to 1.2 and back, three times.
cocos2d::Action* pulse() {
    return cocos2d::Repeat::create(
        cocos2d::Sequence::create(cocos2d::ScaleTo::create(0.2f, 1.2f), cocos2d::ScaleTo::create(0.2f, 1.0f)),
        3);
}

float halfWidth(const cocos2d::Node* node) {
    return node->getBoundingBox().size.width * 0.5f;
}

}  // namespace

ConveyorPuzzle* ConveyorPuzzle::create() {
    auto* game = new (std::nothrow) ConveyorPuzzle();
    if (game != nullptr && game->init()) {
        game->autorelease();
        return game;
    }
    delete game;
    return nullptr;
}

ConveyorPuzzle::~ConveyorPuzzle() {
    cocos2d::log("~ConveyorPuzzle");
    // The belt's loop would play on into the next game, restart or not.
    stopBeltSound();
    _items.clear();
    if (!isRestart()) {
        releaseMinigameResources(MinigameResources{folder(),
                                                   {},
                                                   {"/Items_atlas.xml", "/UI_atlas.xml"},
                                                   {"/background.jpg", "/UI_atlas.png", "/Items_atlas.png"},
                                                   {}});
    }
}

void ConveyorPuzzle::preloadSounds() {
    GameSound::getInstance().preloadEffect(kWrongSound);
    GameSound::getInstance().preloadEffect(kCorrectSound);
}

void ConveyorPuzzle::unloadSounds() {
    GameSound::getInstance().uncacheEffect(kWrongSound);
    GameSound::getInstance().uncacheEffect(kCorrectSound);
}

bool ConveyorPuzzle::init() {
    if (!MinigameBase::init()) {
        return false;
    }
    const float visibleWidth = cocos2d::Director::getInstance()->getVisibleSize().width;
    _exitX = 0.5f * visibleWidth;

    _loader = std::make_unique<NodeFromJson>(folder());
    _background = _loader->createNode("background");
    _ui = _loader->createNode("UI");
    _belt = _ui != nullptr ? _ui->getChildByName("belt") : nullptr;
    if (_ui == nullptr || _belt == nullptr) {
        cocos2d::log("ConveyorPuzzle: no \"UI\" with a \"belt\" in %s", folder().c_str());
        return false;
    }
    if (_background != nullptr) {
        addChild(_background);
    }
    addChild(_ui);
    // Item pictures and the demonstration's sprites come from these sheets' frames.
    _loader->loadSheet("UI");
    _loader->loadSheet("Items");

    _belt->setPositionX(_belt->getPositionX() - kBeltShift);
    for (int i = 1; i <= kBeltCopies; ++i) {
        cocos2d::Node* segment = _loader->createNode("belt");
        if (segment == nullptr) {
            break;
        }
        segment->setAnchorPoint(cocos2d::Vec2::ZERO);
        segment->setPosition(cocos2d::Vec2(_segmentSpacing * static_cast<float>(i), 0.0f));
        _belt->addChild(segment);
    }
    _beltStartX = _belt->getPositionX();
    _beltSound = GameSound::getInstance().playEffect(kBeltSound, true);

    _counter = dynamic_cast<cocos2d::Label*>(_ui->getChildByName("counter"));

    _level = ConveyorPuzzleLevel::load(currentMinigameLevel);
    _timeLeft = _level.gameTime;
    _mistakes = 0;
    _lastAccepted = -1;
    _lastIllicit = -1;
    _pickedItem = nullptr;
    _spawnX = -0.5f * visibleWidth;
    _coinPending = false;
    if (_level.coin) {
        runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kCoinDelay),
                                            cocos2d::CallFunc::create([this] { _coinPending = true; })));
    }
    spawnItem(true);
    showTimeLeft();

    setState(MinigameState::Waiting);
    setInputLocked(true);
    if (!startConveyorTutorial()) {
        setState(MinigameState::Playing);
        setInputLocked(false);
    }
    return true;
}

void ConveyorPuzzle::showTimeLeft() {
    if (_counter == nullptr) {
        return;
    }
    // The level reader bounds the time, so the whole seconds always fit an int.
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(_timeLeft));
    _counter->setString(text);
}

void ConveyorPuzzle::update(float dt) {
    if (getState() != MinigameState::Playing || isInputLocked()) {
        return;
    }
    if (_timeLeft > 0.0f) {
        _timeLeft = std::max(0.0f, _timeLeft - dt);
        showTimeLeft();
    }

    const float travel = _level.speed * dt;
    float beltX = _belt->getPositionX() + travel;
    while (beltX > _beltStartX + _segmentSpacing) {
        beltX -= _segmentSpacing;
    }
    _belt->setPositionX(beltX);

    for (size_t i = _items.size(); i-- > 0;) {
        cocos2d::Node* item = _items[i];
        const float x = item->getPositionX() + travel;
        if (x < _exitX) {
            item->setPositionX(x);
            continue;
        }
        if (item == _pickedItem) {
            _pickedItem = nullptr;
        }
        const bool sortable = item->getTag() != ConveyorPuzzleRules::kCoinTag;
        _items.erase(_items.begin() + static_cast<std::ptrdiff_t>(i));
        item->removeFromParentAndCleanup(true);
        if (sortable) {
            addMistake();
        }
    }

    if (_timeLeft > 0.0f && (_items.empty() || _items.back()->getPositionX() >= _spawnX)) {
        spawnItem(false);
    }
    // A third mistake in this very frame has decided the level already: an emptied belt after the
    // time is up must not turn that loss into a win.
    if (getState() == MinigameState::Playing) {
        checkTimeUp();
    }
}

cocos2d::Node* ConveyorPuzzle::makeItem(const std::string& name, bool fromDescription) {
    cocos2d::Node* item = nullptr;
    if (!fromDescription) {
        item = cocos2d::Sprite::createWithSpriteFrameName(name + ".png");
    }
    if (item == nullptr) {
        item = _loader->createNode(name);
    }
    return item;
}

void ConveyorPuzzle::spawnItem(bool first) {
    ConveyorPuzzleRules::Item choice;
    if (_coinPending) {
        choice = ConveyorPuzzleRules::Item{"coin", ConveyorPuzzleRules::kCoinTag};
        _coinPending = false;
    } else {
        choice = ConveyorPuzzleRules::drawItem(_level.illicitPercent, _lastAccepted, _lastIllicit);
    }
    cocos2d::Node* item = makeItem(choice.name, first);
    if (item == nullptr) {
        // Without its picture the item could neither be seen nor sorted fairly.
        return;
    }
    item->setTag(choice.tag);
    item->setName(choice.name);
    const float gap = static_cast<float>(std::rand() % 20) + item->getBoundingBox().size.width + 10.0f;
    item->setAnchorPoint(cocos2d::Vec2(0.0f, 0.5f));
    item->setPosition(cocos2d::Vec2(_spawnX - gap, _belt->getPositionY()));
    _ui->addChild(item);
    _items.push_back(item);
}

bool ConveyorPuzzle::touchBegan(const cocos2d::Vec2& location) {
    _lastTouch = location;
    _pressed = true;
    if (getState() != MinigameState::Playing || isInputLocked()) {
        return true;
    }
    _touchStart = location;
    const cocos2d::Vec2 inUi = _ui->convertToNodeSpace(location);
    if (inUi.y >= -kSortBand && inUi.y <= kSortBand) {
        _sortArmed = true;
    }
    return true;
}

bool ConveyorPuzzle::touchEnded(const cocos2d::Vec2& location) {
    _lastTouch = location;
    _pressed = false;
    if (getState() != MinigameState::Playing || isInputLocked() || !_sortArmed) {
        return true;
    }
    _sortArmed = false;
    if (!_items.empty()) {
        _pickedItem = _items.front();
        sortItem();
    }
    return true;
}

void ConveyorPuzzle::sortItem() {
    cocos2d::Node* item = _pickedItem;
    if (item == nullptr) {
        return;
    }
    const ConveyorPuzzleRules::SwipeResult result =
        ConveyorPuzzleRules::judgeSwipe(item->getTag(), _touchStart, _lastTouch);
    if (result == ConveyorPuzzleRules::SwipeResult::TooShort) {
        return;
    }
    _items.erase(std::find(_items.begin(), _items.end(), item));
    const cocos2d::Vec2 direction = (_lastTouch - _touchStart).getNormalized();
    switch (result) {
        case ConveyorPuzzleRules::SwipeResult::Coin:
            GameSound::getInstance().playEffect(kCoinSound, false);
            break;
        case ConveyorPuzzleRules::SwipeResult::Correct:
            GameSound::getInstance().playEffect(kCorrectSound, false);
            break;
        default:
            addMistake();
            break;
    }
    _pickedItem = nullptr;
    item->runAction(cocos2d::FadeOut::create(kFlyTime));
    item->runAction(cocos2d::Sequence::create(
        cocos2d::MoveTo::create(kFlyTime, item->getPosition() + direction * kFlyAway),
        cocos2d::RemoveSelf::create(true)));
}

void ConveyorPuzzle::addMistake() {
    GameSound::getInstance().playEffect(kWrongSound, false);
    ++_mistakes;
    if (_mistakes != kMistakesToLose) {
        return;
    }
    setState(MinigameState::Waiting);
    stopAllActions();
    runAction(
        cocos2d::Sequence::create(cocos2d::DelayTime::create(kResultDelay), cocos2d::CallFunc::create([this] {
                                      stopBeltSound();
                                      lose();
                                  })));
}

void ConveyorPuzzle::checkTimeUp() {
    if (_timeLeft > 0.0f || !_items.empty()) {
        return;
    }
    setState(MinigameState::Finishing);
    // A coin still waiting to come is cancelled with the rest.
    stopAllActions();
    runAction(
        cocos2d::Sequence::create(cocos2d::DelayTime::create(kResultDelay), cocos2d::CallFunc::create([this] {
                                      stopBeltSound();
                                      win();
                                  })));
}

void ConveyorPuzzle::stopBeltSound() {
    if (_beltSound != GameSound::getInvalidAudioId()) {
        GameSound::getInstance().stopEffect(_beltSound, false);
        _beltSound = GameSound::getInvalidAudioId();
    }
}

void ConveyorPuzzle::stop() {
    stopBeltSound();
    MinigameBase::stop();
}

bool ConveyorPuzzle::startConveyorTutorial() {
    _gun = _ui->getChildByName("conveyor_gun");
    _palette = _ui->getChildByName("conveyor_palette");
    Settings& settings = Settings::getInstance();
    if (settings.isTutorialShown(kDemonstrationTutorial)) {
        for (cocos2d::Node* node : {_gun, _palette}) {
            if (node != nullptr) {
                node->setVisible(false);
            }
        }
        return false;
    }
    _demoIllicit = cocos2d::Sprite::createWithSpriteFrameName("illicit_10.png");
    _demoAccepted = cocos2d::Sprite::createWithSpriteFrameName("accepted_3.png");
    _finger = cocos2d::Sprite::createWithSpriteFrameName("finger.png");
    if (_demoIllicit == nullptr || _demoAccepted == nullptr || _finger == nullptr || _gun == nullptr ||
        _palette == nullptr) {
        // Not recorded as shown: a later game with its pictures in place shows it.
        cocos2d::log("ConveyorPuzzle: the demonstration's pictures are missing; playing without it");
        for (cocos2d::Node* node : {_demoIllicit, _demoAccepted, _finger}) {
            if (node != nullptr && node->getParent() != nullptr) {
                node->removeFromParent();
            }
        }
        _demoIllicit = _demoAccepted = _finger = nullptr;
        return false;
    }
    settings.getCurrentUser().shownTutorials.push_back(kDemonstrationTutorial);
    for (cocos2d::Node* item : {_demoIllicit, _demoAccepted}) {
        item->setAnchorPoint(cocos2d::Vec2(0.0f, 0.5f));
        item->setPosition(cocos2d::Vec2(_spawnX - item->getBoundingBox().size.width, _belt->getPositionY()));
        _ui->addChild(item);
    }
    _finger->setAnchorPoint(cocos2d::Vec2(0.0f, 1.0f));
    _finger->setPosition(cocos2d::Vec2(-200.0f, 0.0f));
    _ui->addChild(_finger);
    runDemonstration();
    return true;
}

void ConveyorPuzzle::runDemonstration() {
    using cocos2d::CallFunc;
    using cocos2d::DelayTime;
    using cocos2d::FadeOut;
    using cocos2d::MoveBy;
    using cocos2d::MoveTo;
    using cocos2d::ScaleTo;
    using cocos2d::Sequence;
    using cocos2d::Vec2;

    _demoIllicit->runAction(MoveTo::create(1.0f, _demoIllicit->getPosition() + Vec2(270.0f, 0.0f)));

    // The finger swipes a demonstration item away in the item's sort direction, from its middle.
    auto swipe = [this](cocos2d::Node* item, const Vec2& by, bool fadeAfter) {
        cocos2d::Vector<cocos2d::FiniteTimeAction*> steps;
        steps.pushBack(
            MoveTo::create(0.3f, Vec2(item->getPositionX() + halfWidth(item), item->getPositionY())));
        steps.pushBack(ScaleTo::create(0.2f, 0.8f));
        steps.pushBack(MoveBy::create(0.3f, by));
        steps.pushBack(ScaleTo::create(0.2f, 1.0f));
        if (fadeAfter) {
            steps.pushBack(DelayTime::create(0.1f));
            steps.pushBack(FadeOut::create(0.5f));
        }
        _finger->runAction(Sequence::create(steps));
    };
    auto throwAway = [](cocos2d::Node* item, const Vec2& by) {
        item->runAction(FadeOut::create(0.3f));
        item->runAction(MoveTo::create(0.3f, item->getPosition() + by));
    };

    auto* first = Sequence::create(
        DelayTime::create(1.0f), CallFunc::create([this] { _gun->runAction(pulse()); }),
        DelayTime::create(1.2f),
        CallFunc::create([this, swipe] { swipe(_demoIllicit, Vec2(200.0f, 200.0f), false); }),
        DelayTime::create(0.5f),
        CallFunc::create([this, throwAway] { throwAway(_demoIllicit, Vec2(250.0f, 250.0f)); }),
        DelayTime::create(0.3f), CallFunc::create([this] {
            _demoAccepted->runAction(MoveTo::create(1.0f, _demoAccepted->getPosition() + Vec2(320.0f, 0.0f)));
        }));
    auto* second = Sequence::create(
        DelayTime::create(1.0f), CallFunc::create([this] { _palette->runAction(pulse()); }),
        DelayTime::create(1.2f),
        CallFunc::create([this, swipe] { swipe(_demoAccepted, Vec2(200.0f, -200.0f), true); }),
        DelayTime::create(0.5f),
        CallFunc::create([this, throwAway] { throwAway(_demoAccepted, Vec2(250.0f, -250.0f)); }),
        DelayTime::create(0.3f), CallFunc::create([this] {
            setState(MinigameState::Playing);
            setInputLocked(false);
        }));
    runAction(Sequence::create(first, second));
}
