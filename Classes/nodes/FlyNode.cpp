#include "nodes/FlyNode.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>

#include "engine/actions/ActionEase.h"
#include "engine/actions/Animate.h"
#include "engine/actions/Animation.h"
#include "engine/actions/BezierTo.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeIn.h"
#include "engine/actions/FadeOut.h"
#include "engine/actions/MoveBy.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/RepeatForever.h"
#include "engine/actions/ScaleTo.h"
#include "engine/actions/Sequence.h"
#include "engine/actions/SkewTo.h"
#include "engine/actions/Spawn.h"
#include "engine/actions/Speed.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/StringUtils.h"
#include "engine/base/Types.h"
#include "engine/base/Vector.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerMouse.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/events/EventMouse.h"
#include "engine/events/Touch.h"
#include "engine/math/Size.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrame.h"
#include "engine/scene/SpriteFrameCache.h"

#include "GameSound.h"
#include "ui/NodeFromJson.h"

using cocos2d::Vec2;

namespace {

constexpr const char* kSheet = "fly/fly.plist";
constexpr const char* kSheetImage = "fly/fly.png";
constexpr const char* kEyesFrame = "FlyEyes.png";
constexpr int kWingFrames = 4;
constexpr const char* kPartsFolder = "ui/Game";
constexpr const char* kSwatterName = "fly_swatter";
constexpr const char* kClapName = "fly_swatter_clap_effect";
constexpr const char* kShadowName = "fly_swatter_shadow";
constexpr const char* kBlotName = "fly_blot";
constexpr const char* kBlotEyesName = "fly_blot_eyes";
constexpr const char* kSlapSound = "slap";

const Vec2 kSwatterOffset(30.0f, -177.0f);
// The flight's control points, in the layer's space.
const Vec2 kFlightControl1(200.0f, 0.0f);
const Vec2 kFlightControl2(0.0f, 100.0f);
constexpr float kSwatterStartRotation = -10.0f;
constexpr float kSwatterStartSkewX = 10.0f;
constexpr float kSwatterHoldSeconds = 0.1f;
constexpr float kSwatterFadeSeconds = 0.1f;
constexpr float kClapDelay = 0.18f;
constexpr float kClapGrowSeconds = 1.0f / 15.0f;
constexpr float kClapHoldSeconds = 0.03f;
constexpr float kClapFadeSeconds = 0.03f;
constexpr float kShadowFadeInSeconds = 0.05f;
constexpr float kSlapDelay = 0.1f;

// The visible size in whole units, at least 1, so that rand() mod it is defined.
int visibleWidth() {
    return std::max(1, static_cast<int>(cocos2d::Director::getInstance()->getVisibleSize().width));
}

int visibleHeight() {
    return std::max(1, static_cast<int>(cocos2d::Director::getInstance()->getVisibleSize().height));
}

// A hop component that would carry the fly out past a bound of the visible area, or further out when
// it is already outside, turns the other way: the fly wanders over the screen, never off it.
float keepInside(float position, float hop, float halfExtent) {
    const float end = position + hop;
    if ((end > halfExtent && hop > 0.0f) || (end < -halfExtent && hop < 0.0f)) {
        return -hop;
    }
    return hop;
}

}  // namespace

FlyNode* FlyNode::create() {
    auto* node = new (std::nothrow) FlyNode();
    if (node == nullptr) {
        return nullptr;
    }
    if (!node->init()) {
        delete node;
        return nullptr;
    }
    node->autorelease();
    return node;
}

FlyNode::~FlyNode() {
    _onSwat = nullptr;
}

bool FlyNode::init() {
    if (!Layer::init()) {
        return false;
    }
    setName("flyNode");
    scheduleUpdate();

    auto* touches = cocos2d::EventListenerTouchOneByOne::create();
    touches->setSwallowTouches(true);
    touches->onTouchBegan = [this](cocos2d::Touch* touch, cocos2d::Event* event) {
        return onTouchBegan(touch, event);
    };
    touches->onTouchMoved = [this](cocos2d::Touch* touch, cocos2d::Event* event) {
        onTouchMoved(touch, event);
    };
    touches->onTouchEnded = [this](cocos2d::Touch* touch, cocos2d::Event* event) {
        onTouchEnded(touch, event);
    };
    touches->onTouchCancelled = [this](cocos2d::Touch* touch, cocos2d::Event* event) {
        onTouchEnded(touch, event);
    };
    auto* mouse = cocos2d::EventListenerMouse::create();
    mouse->onMouseMove = [this](cocos2d::EventMouse* event) { _mousePosition = event->getLocation(); };
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(touches, this);
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(mouse, this);

    cocos2d::SpriteFrameCache::getInstance()->addSpriteFramesWithFile(kSheet, kSheetImage);

    spawnFly();
    setCascadeOpacityEnabled(true);
    wander();
    GameSound::getInstance().preloadEffect(kSlapSound);
    return true;
}

void FlyNode::spawnFly() {
    _swattable = true;
    cocos2d::SpriteFrameCache* frames = cocos2d::SpriteFrameCache::getInstance();
    cocos2d::SpriteFrame* first = frames->getSpriteFrameByName(cocos2d::StringUtils::format("Fly_%d.png", 0));
    cocos2d::Sprite* fly = first != nullptr ? cocos2d::Sprite::createWithSpriteFrame(first) : nullptr;
    if (fly == nullptr) {
        cocos2d::log("FlyNode: [%s] has no fly frame, no fly is shown", kSheet);
        _fly = nullptr;
        _eyes = nullptr;
        return;
    }
    _fly = fly;
    _eyes = nullptr;
    _eyesRest = Vec2::ZERO;
    if (cocos2d::SpriteFrame* eyesFrame = frames->getSpriteFrameByName(kEyesFrame)) {
        cocos2d::Sprite* eyes = cocos2d::Sprite::createWithSpriteFrame(eyesFrame);
        if (eyes != nullptr) {
            eyes->setAnchorPoint(Vec2::ZERO);
            fly->addChild(eyes);
            _eyes = eyes;
        }
    }
    animateWings();
    fly->setScale(kFlyScale);
    addChild(fly);
    // Above the top edge, anywhere across the screen's width.
    const int width = visibleWidth();
    fly->setPosition(
        Vec2(static_cast<float>(std::rand() % width - width / 2), static_cast<float>(visibleHeight())));
}

void FlyNode::animateWings() {
    if (_fly == nullptr) {
        return;
    }
    cocos2d::Vector<cocos2d::SpriteFrame*> wingFrames;
    for (int i = 0; i < kWingFrames; ++i) {
        cocos2d::SpriteFrame* frame = cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName(
            cocos2d::StringUtils::format("Fly_%d.png", i));
        if (frame != nullptr) {
            wingFrames.pushBack(frame);
        }
    }
    cocos2d::Animation* animation =
        cocos2d::Animation::createWithSpriteFrames(wingFrames, kWingFrameSeconds, 1);
    if (animation == nullptr) {
        _wingSpeed = nullptr;
        return;
    }
    cocos2d::Speed* speed = cocos2d::Speed::create(
        cocos2d::RepeatForever::create(cocos2d::Animate::create(animation)), kWingsFlying);
    _wingSpeed = speed;
    if (speed != nullptr) {
        _fly->runAction(speed);
    }
}

void FlyNode::setWingSpeed(float speed) {
    if (_wingSpeed) {
        _wingSpeed->setSpeed(speed);
    }
}

void FlyNode::wander() {
    _canFlee = true;
    int hopX = std::rand() % kHopRange;
    int hopY = std::rand() % kHopRange;
    if (std::rand() % 2 != 0) {
        hopX = -hopX;
    }
    if (std::rand() % 2 != 0) {
        hopY = -hopY;
    }
    _hop = Vec2(static_cast<float>(hopX), static_cast<float>(hopY));
    const float pause = static_cast<float>(std::rand() % 3 + 1) * 0.5f;
    const float moveSeconds = static_cast<float>(std::rand() % 2 + 1);
    if (_fly == nullptr) {
        return;
    }
    const cocos2d::Size visible = cocos2d::Director::getInstance()->getVisibleSize();
    _hop.x = keepInside(_fly->getPositionX(), _hop.x, visible.width * 0.5f);
    _hop.y = keepInside(_fly->getPositionY(), _hop.y, visible.height * 0.5f);
    _fly->runAction(cocos2d::Sequence::create(
        cocos2d::DelayTime::create(pause), cocos2d::MoveBy::create(moveSeconds, _hop),
        cocos2d::DelayTime::create(pause), cocos2d::CallFunc::create([this] {
            if (std::rand() % 3 == 0) {
                flee();
            } else {
                wander();
            }
        }),
        nullptr));
}

Vec2 FlyNode::randomScreenPoint() const {
    const Vec2 point(static_cast<float>(std::rand() % visibleWidth()),
                     static_cast<float>(std::rand() % visibleHeight()));
    return point - (visibleCenter() - cocos2d::Director::getInstance()->getVisibleOrigin());
}

void FlyNode::flee() {
    _canFlee = false;
    if (_fly == nullptr) {
        return;
    }
    cocos2d::ccBezierConfig path;
    path.endPosition = _fleeTarget;
    path.controlPoint_1 = kFlightControl1;
    path.controlPoint_2 = kFlightControl2;
    _fly->runAction(cocos2d::Sequence::create(cocos2d::ScaleTo::create(kFlightSeconds * 0.5f, kFleeScale),
                                              cocos2d::ScaleTo::create(kFlightSeconds * 0.5f, kFlyScale),
                                              nullptr));
    _fly->runAction(cocos2d::Sequence::create(
        cocos2d::CallFunc::create([this] { _fleeTarget = randomScreenPoint(); }),
        cocos2d::CallFunc::create([this] { setWingSpeed(kWingsFlying); }),
        cocos2d::EaseOut::create(cocos2d::BezierTo::create(kFlightSeconds, path), 1.0f),
        cocos2d::CallFunc::create([this] { setWingSpeed(kWingsResting); }),
        cocos2d::CallFunc::create([this] { wander(); }), nullptr));
}

void FlyNode::update(float /*dt*/) {
    if (_fly == nullptr) {
        return;
    }
    const Vec2 toPointer = _mousePosition - (_fly->getPosition() + visibleCenter());
    if (_canFlee && toPointer.length() < kFleeDistance) {
        _fly->stopAllActions();
        animateWings();
        flee();
    }
    if (_eyes != nullptr) {
        _eyes->setPosition(_eyesRest + toPointer.getNormalized() * kEyeOffset);
    }
}

bool FlyNode::onTouchBegan(cocos2d::Touch* touch, cocos2d::Event* /*event*/) {
    if (!_swattable || _fly == nullptr) {
        return false;
    }
    if (!_fly->getBoundingBox().containsPoint(convertTouchToNodeSpace(touch))) {
        return false;
    }
    swat(touch->getLocation());
    return true;
}

void FlyNode::onTouchMoved(cocos2d::Touch* /*touch*/, cocos2d::Event* /*event*/) {}

void FlyNode::onTouchEnded(cocos2d::Touch* /*touch*/, cocos2d::Event* /*event*/) {}

void FlyNode::swat(const Vec2& location) {
    const Vec2 at = convertToNodeSpace(location);
    _canFlee = false;
    _swattable = false;
    if (_fly != nullptr) {
        _fly->stopAllActions();
    }

    // One reading of the description for both parts; the blot waits for the slap.
    NodeFromJson parts(kPartsFolder);
    cocos2d::RefPtr<cocos2d::Node> blot(parts.createNode(kBlotName));
    cocos2d::Node* swatter = parts.createNode(kSwatterName);
    if (swatter != nullptr) {
        swatter->setCascadeOpacityEnabled(true);
        swatter->setAnchorPoint(Vec2(0.5f, 0.0f));
        swatter->setPosition(at + kSwatterOffset);
        swatter->setScaleY(0.0f);
        swatter->setRotation(kSwatterStartRotation);
        swatter->setSkewX(kSwatterStartSkewX);
        addChild(swatter, kSwatterZOrder, kSwatterTag);
        swatter->runAction(cocos2d::Sequence::create(
            cocos2d::Spawn::create(cocos2d::ScaleTo::create(kSwatterGrowSeconds, 1.0f, 1.0f),
                                   cocos2d::SkewTo::create(kSwatterGrowSeconds, 0.0f, 0.0f), nullptr),
            cocos2d::CallFunc::create([this, at, blot] { placeBlot(at, blot.get()); }),
            cocos2d::DelayTime::create(kSwatterHoldSeconds), cocos2d::FadeOut::create(kSwatterFadeSeconds),
            cocos2d::CallFunc::create([this] { removeChildByTag(kSwatterTag); }), nullptr));
        if (cocos2d::Node* clap = swatter->getChildByName(kClapName)) {
            clap->setScale(0.0f);
            clap->runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kClapDelay),
                                                      cocos2d::ScaleTo::create(kClapGrowSeconds, 1.0f),
                                                      cocos2d::DelayTime::create(kClapHoldSeconds),
                                                      cocos2d::FadeOut::create(kClapFadeSeconds), nullptr));
        }
        if (cocos2d::Node* shadow = swatter->getChildByName(kShadowName)) {
            shadow->setOpacity(0);
            shadow->runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kClapDelay),
                                                        cocos2d::FadeIn::create(kShadowFadeInSeconds),
                                                        nullptr));
        }
    } else {
        // Without a swatter the blot still comes when the slap would have landed.
        runAction(cocos2d::Sequence::create(
            cocos2d::DelayTime::create(kSwatterGrowSeconds),
            cocos2d::CallFunc::create([this, at, blot] { placeBlot(at, blot.get()); }), nullptr));
    }

    runAction(cocos2d::Sequence::create(
        cocos2d::DelayTime::create(kSlapDelay),
        cocos2d::CallFunc::create([] { GameSound::getInstance().playEffect(kSlapSound, false); }), nullptr));

    if (_onSwat) {
        const std::function<void(const Vec2&)> onSwat = _onSwat;
        onSwat(location);
    }
}

void FlyNode::placeBlot(const Vec2& at, cocos2d::Node* blot) {
    if (_fly != nullptr) {
        _fly->removeFromParent();
        _fly = nullptr;
    }
    _eyes = nullptr;
    _wingSpeed = nullptr;
    if (blot == nullptr) {
        // No blot to show: the next fly comes when the blot would have gone.
        runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kBlotSeconds + kBlotFadeSeconds),
                                            cocos2d::CallFunc::create([this] { respawn(); }), nullptr));
        return;
    }
    _fly = blot;
    blot->setPosition(at);
    addChild(blot);
    _eyes = blot->getChildByName(kBlotEyesName);
    _eyesRest = _eyes != nullptr ? _eyes->getPosition() : Vec2::ZERO;
    blot->runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kBlotSeconds),
                                              cocos2d::FadeOut::create(kBlotFadeSeconds),
                                              cocos2d::CallFunc::create([this] { respawn(); }), nullptr));
}

void FlyNode::respawn() {
    if (_fly != nullptr) {
        _fly->removeFromParent();
        _fly = nullptr;
    }
    _eyes = nullptr;
    spawnFly();
    wander();
}

void FlyNode::flyToCenter(std::function<void()> onArrived) {
    // A swatted fly has no way to the centre: stopping its blot would keep the next fly from coming.
    if (_fly == nullptr || !_swattable) {
        return;
    }
    _fly->stopAllActions();
    _canFlee = false;
    getEventDispatcher()->pauseEventListenersForTarget(this);
    _fly->runAction(cocos2d::Sequence::create(
        cocos2d::MoveTo::create(kToCenterSeconds, Vec2::ZERO), cocos2d::CallFunc::create([onArrived] {
            if (onArrived) {
                onArrived();
            }
        }),
        cocos2d::DelayTime::create(kListenersBackAfterArrival),
        cocos2d::CallFunc::create([this] { getEventDispatcher()->resumeEventListenersForTarget(this); }),
        nullptr));
}
