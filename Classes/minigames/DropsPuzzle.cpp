#include "minigames/DropsPuzzle.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>

#include "engine/2d/ParticleSystemQuad.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/ScaleTo.h"
#include "engine/actions/Sequence.h"
#include "engine/base/Log.h"
#include "engine/scene/Sprite.h"

#include "GameSound.h"
#include "MinigameKind.h"
#include "minigames/CurrentMinigame.h"
#include "minigames/MinigameLevels.h"
#include "minigames/MinigameResources.h"
#include "ui/NodeFromJson.h"

namespace {

const char* const kCatchSound = "Minigames/DP_catch";
const char* const kFallSound = "Minigames/DP_falls";
const char* const kCatchParticles = "particles/reagentdrop.plist";

const std::string& folder() {
    static const std::string name = minigameFolder(static_cast<int32_t>(MinigameKind::DropsPuzzle));
    return name;
}

cocos2d::Node* missing(const std::string& element) {
    cocos2d::log("DropsPuzzle: %s/ccnode.json has no \"%s\"", folder().c_str(), element.c_str());
    return nullptr;
}

}  // namespace

DropsPuzzle* DropsPuzzle::create() {
    auto* game = new (std::nothrow) DropsPuzzle();
    if (game != nullptr && game->init()) {
        game->autorelease();
        return game;
    }
    delete game;
    return nullptr;
}

DropsPuzzle::DropsPuzzle() {
    GameSound::getInstance().preloadEffect(kCatchSound);
    GameSound::getInstance().preloadEffect(kFallSound);
}

DropsPuzzle::~DropsPuzzle() {
    cocos2d::log("~DropsPuzzle");
    _laneDrops.fill(nullptr);
    _loader.reset();
    if (!isRestart()) {
        releaseMinigameResources(MinigameResources{folder(),
                                                   {kCatchSound, kFallSound},
                                                   {"/UI_atlas.xml"},
                                                   {"/UI_atlas.png", "/background.jpg"},
                                                   {}});
    }
}

bool DropsPuzzle::init() {
    if (!MinigameBase::init()) {
        return false;
    }
    _loader = std::make_unique<NodeFromJson>(folder());
    _background = _loader->createNode("background");
    if (_background != nullptr) {
        addChild(_background);
    }
    _ui = _loader->createNode("UI");
    if (_ui == nullptr) {
        missing("UI");
        return false;
    }
    addChild(_ui);
    _dropsLayer = _ui->getChildByName("drops_layer");
    _cart = _ui->getChildByName("cart");
    _cartBack = _dropsLayer != nullptr ? _dropsLayer->getChildByName("cart_back") : nullptr;
    if (_dropsLayer == nullptr) {
        missing("drops_layer");
        return false;
    }
    if (_cart == nullptr || _cartBack == nullptr) {
        missing(_cart == nullptr ? "cart" : "cart_back");
        return false;
    }
    for (int lane = 0; lane < kLaneCount; ++lane) {
        for (const char* prefix : {"drop_", "spot_"}) {
            const std::string name = prefix + std::to_string(lane);
            if (_dropsLayer->getChildByName(name) == nullptr) {
                missing(name);
                return false;
            }
        }
    }
    _cartBackOffset = _cart->getPositionX() - _cartBack->getPositionX();

    _level = DropsPuzzleLevel::read(currentMinigameLevel);
    setupLanes();

    setState(MinigameState::Playing);
    _pressed = false;
    _dragging = false;
    _misses = 0;
    _fallClock = 0.0f;
    _timeLeft = _level.time;
    _cartMinX = _cart->getPositionX() - kCartTravel;
    _cartMaxX = _cart->getPositionX() + kCartTravel;
    _laneColors = {cocos2d::Color4F(cocos2d::Color4B(88, 188, 80, 255)),
                   cocos2d::Color4F(cocos2d::Color4B(220, 145, 41, 255)),
                   cocos2d::Color4F(cocos2d::Color4B(212, 57, 38, 255)),
                   cocos2d::Color4F(cocos2d::Color4B(54, 146, 231, 255))};
    setInputLocked(false);
    return true;
}

void DropsPuzzle::setupLanes() {
    for (int lane = 0; lane < kLaneCount; ++lane) {
        const auto index = static_cast<size_t>(lane);
        cocos2d::Node* drop = _dropsLayer->getChildByName("drop_" + std::to_string(lane));
        // The template hangs from its top centre, where every new drop of the lane will hang.
        drop->setAnchorPoint(cocos2d::Vec2(0.5f, 1.0f));
        drop->setPositionY(drop->getPositionY() + drop->getBoundingBox().size.height / 2.0f);
        drop->setVisible(false);
        _dropHomes[index] = drop->getPosition();
        _laneDrops[index] = nullptr;
        _laneStates[index] = LaneState::Idle;

        cocos2d::Node* spot = _dropsLayer->getChildByName("spot_" + std::to_string(lane));
        spot->setVisible(false);
        _spotPlaces[index] = spot->getPosition();

        _laneTimers[index] = firstDropDelay();
    }
}

float DropsPuzzle::firstDropDelay() {
    return static_cast<float>(std::rand() % 100) * 3.0f / 100.0f + 0.3f;
}

float DropsPuzzle::nextDropDelay() {
    return 2.0f * static_cast<float>(std::rand() % 1000) / 1000.0f;
}

void DropsPuzzle::update(float dt) {
    if (!takesInput()) {
        return;
    }
    _timeLeft -= dt;
    updateLanes(dt);
    catchDrops();
    checkDropsEnd();
}

void DropsPuzzle::updateLanes(float dt) {
    _fallClock += dt;
    for (int lane = 0; lane < kLaneCount; ++lane) {
        const auto index = static_cast<size_t>(lane);
        switch (_laneStates[index]) {
            case LaneState::Idle:
                if (_timeLeft > 0.0f) {
                    _laneTimers[index] -= dt;
                    if (_laneTimers[index] <= 0.0f) {
                        growDrop(lane);
                    }
                }
                break;
            case LaneState::Ready:
                if (_fallClock >= kFallGap) {
                    dropFall(lane);
                }
                break;
            case LaneState::Growing:
            case LaneState::Falling:
                break;
        }
    }
}

void DropsPuzzle::growDrop(int lane) {
    if (!isLane(lane)) {
        return;
    }
    const auto index = static_cast<size_t>(lane);
    cocos2d::Sprite* drop =
        cocos2d::Sprite::createWithSpriteFrameName("drop_" + std::to_string(lane) + ".png");
    if (drop == nullptr) {
        // Try again after a lane's usual wait rather than on every frame.
        _laneTimers[index] = nextDropDelay() + firstDropDelay();
        return;
    }
    _laneStates[index] = LaneState::Growing;
    _laneDrops[index] = drop;
    _laneTimers[index] = nextDropDelay();
    drop->setTag(lane);
    drop->setAnchorPoint(cocos2d::Vec2(0.5f, 1.0f));
    _dropsLayer->addChild(drop, 3);
    drop->setPosition(_dropHomes[index]);
    drop->setScale(0.0f);
    drop->runAction(cocos2d::Sequence::create(
        cocos2d::ScaleTo::create(_level.growTimes[index], 1.0f),
        cocos2d::CallFunc::create([this, index] { _laneStates[index] = LaneState::Ready; })));
}

void DropsPuzzle::dropFall(int lane) {
    if (!isLane(lane) || _laneDrops[static_cast<size_t>(lane)] == nullptr) {
        return;
    }
    const auto index = static_cast<size_t>(lane);
    _fallClock = 0.0f;
    _laneStates[index] = LaneState::Falling;
    cocos2d::Node* drop = _laneDrops[index];
    const cocos2d::Vec2 landing(_spotPlaces[index].x, _spotPlaces[index].y + kLandingLift);
    drop->runAction(
        cocos2d::Sequence::create(cocos2d::MoveTo::create(_level.fallTimes[index], landing),
                                  cocos2d::CallFunc::create([this, drop, lane] { dropLanded(drop, lane); })));
}

cocos2d::Rect DropsPuzzle::catchZone() const {
    const cocos2d::Rect box = _cartBack->getBoundingBox();
    return cocos2d::Rect(box.origin.x - kCatchSideMargin, box.origin.y - kCatchBelowMargin,
                         box.size.width + 2.0f * kCatchSideMargin, box.size.height + kCatchBelowMargin);
}

void DropsPuzzle::catchDrops() {
    const cocos2d::Rect zone = catchZone();
    for (int lane = kLaneCount - 1; lane >= 0; --lane) {
        cocos2d::Node* drop = _laneDrops[static_cast<size_t>(lane)];
        if (drop == nullptr || !zone.containsPoint(drop->getPosition())) {
            continue;
        }
        removeLaneDrop(lane);
        drop->stopAllActions();
        _dropsLayer->removeChild(drop, true);
        GameSound::getInstance().playEffect(kCatchSound, false);
        cocos2d::ParticleSystemQuad* splash = cocos2d::ParticleSystemQuad::create(kCatchParticles);
        if (splash != nullptr) {
            splash->setStartColor(_laneColors[static_cast<size_t>(lane)]);
            splash->setEndColor(_laneColors[static_cast<size_t>(lane)]);
            splash->setPosition(cocos2d::Vec2(_cartBack->getContentSize().width / 2.0f, 25.0f));
            splash->setAutoRemoveOnFinish(true);
            _cartBack->addChild(splash, 1);
        }
    }
}

void DropsPuzzle::removeLaneDrop(int lane) {
    const auto index = static_cast<size_t>(lane);
    _laneDrops[index] = nullptr;
    _laneStates[index] = LaneState::Idle;
}

void DropsPuzzle::dropLanded(cocos2d::Node* drop, int lane) {
    if (!isLane(lane)) {
        return;
    }
    const auto index = static_cast<size_t>(lane);
    if (_laneDrops[index] == drop) {
        removeLaneDrop(lane);
    }
    drop->stopAllActions();
    drop->runAction(
        cocos2d::Sequence::create(cocos2d::ScaleTo::create(kLandedShrinkSeconds, 0.0f),
                                  cocos2d::CallFunc::create([drop] { drop->removeFromParent(); })));

    cocos2d::Sprite* spot =
        cocos2d::Sprite::createWithSpriteFrameName("spot_" + std::to_string(lane) + ".png");
    if (spot != nullptr) {
        _dropsLayer->addChild(spot, 1);
        spot->setAnchorPoint(cocos2d::Vec2(0.5f, 0.5f));
        spot->setPosition(_spotPlaces[index]);
        spot->setScale(0.0f);
        spot->runAction(cocos2d::ScaleTo::create(kLandedShrinkSeconds, 1.0f));
    }
    GameSound::getInstance().playEffect(kFallSound, false);
    ++_misses;
}

void DropsPuzzle::checkDropsEnd() {
    if (_misses >= _level.looseCount) {
        setState(MinigameState::Waiting);
        runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kLossDelay),
                                            cocos2d::CallFunc::create([this] { lose(); })));
        return;
    }
    if (_timeLeft > 0.0f || getState() != MinigameState::Playing) {
        return;
    }
    for (const cocos2d::Node* drop : _laneDrops) {
        if (drop != nullptr) {
            return;
        }
    }
    win();
}

bool DropsPuzzle::touchBegan(const cocos2d::Vec2& location) {
    _lastTouch = location;
    _pressed = true;
    if (!takesInput()) {
        return true;
    }
    const cocos2d::Vec2 point = _ui->convertToNodeSpace(location);
    _touchStart = point;
    if (_cart->getBoundingBox().containsPoint(point)) {
        _dragging = true;
        _grabOffset = point.x - _cart->getPositionX();
    }
    return true;
}

bool DropsPuzzle::touchMoved(const cocos2d::Vec2& location) {
    _lastTouch = location;
    if (!_dragging) {
        return true;
    }
    const cocos2d::Vec2 point = _ui->convertToNodeSpace(location);
    const float x = std::clamp(point.x - _grabOffset, _cartMinX, _cartMaxX);
    _cart->setPositionX(x);
    _cartBack->setPositionX(x - _cartBackOffset);
    return true;
}

bool DropsPuzzle::touchEnded(const cocos2d::Vec2& location) {
    _lastTouch = location;
    _pressed = false;
    if (takesInput()) {
        _dragging = false;
    }
    return true;
}

void DropsPuzzle::stop() {
    MinigameBase::stop();
    for (cocos2d::Node* drop : _laneDrops) {
        if (drop != nullptr) {
            drop->stopAllActions();
        }
    }
}

void DropsPuzzle::preloadSounds() {
    GameSound::getInstance().preloadEffect(kCatchSound);
    GameSound::getInstance().preloadEffect(kFallSound);
}

void DropsPuzzle::unloadSounds() {
    GameSound::getInstance().uncacheEffect(kCatchSound);
    GameSound::getInstance().uncacheEffect(kFallSound);
}

DropsPuzzle::LaneState DropsPuzzle::getLaneState(int lane) const {
    return isLane(lane) ? _laneStates[static_cast<size_t>(lane)] : LaneState::Idle;
}

cocos2d::Node* DropsPuzzle::getLaneDrop(int lane) const {
    return isLane(lane) ? _laneDrops[static_cast<size_t>(lane)] : nullptr;
}

float DropsPuzzle::getLaneTimer(int lane) const {
    return isLane(lane) ? _laneTimers[static_cast<size_t>(lane)] : 0.0f;
}

cocos2d::Vec2 DropsPuzzle::getDropHome(int lane) const {
    return isLane(lane) ? _dropHomes[static_cast<size_t>(lane)] : cocos2d::Vec2();
}

cocos2d::Vec2 DropsPuzzle::getSpotPlace(int lane) const {
    return isLane(lane) ? _spotPlaces[static_cast<size_t>(lane)] : cocos2d::Vec2();
}

const cocos2d::Color4F& DropsPuzzle::getLaneColor(int lane) const {
    static const cocos2d::Color4F none;
    return isLane(lane) ? _laneColors[static_cast<size_t>(lane)] : none;
}
