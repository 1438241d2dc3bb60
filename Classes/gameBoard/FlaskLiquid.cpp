#include "gameBoard/FlaskLiquid.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "engine/2d/ParticleSystemQuad.h"
#include "engine/2d/ProgressTimer.h"
#include "engine/2d/ProgressTo.h"
#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/Sequence.h"
#include "engine/base/Log.h"
#include "engine/math/Rect.h"
#include "engine/math/Vec2.h"

#include "GameSound.h"

namespace {

constexpr const char* kFillerName = "dropFiller";
constexpr const char* kFrameName = "ramka";
constexpr const char* kParticleFile = "particles/particle_liquid.plist";
constexpr const char* kWarningSound = "time_end";

}  // namespace

FlaskLiquid* FlaskLiquid::create() {
    auto* flask = new (std::nothrow) FlaskLiquid();
    if (flask == nullptr) {
        return nullptr;
    }
    if (!flask->init()) {
        delete flask;
        return nullptr;
    }
    flask->autorelease();
    return flask;
}

FlaskLiquid::FlaskLiquid() : _soundId(GameSound::getInvalidAudioId()) {}

FlaskLiquid::~FlaskLiquid() {
    stopWarning();
}

void FlaskLiquid::initWithJson(const rapidjson::Value& element) {
    FactoryNode::initWithJson(element);
    if (cocos2d::ProgressTimer* filler = getFiller()) {
        filler->setBarChangeRate(cocos2d::Vec2(0.0f, 1.0f));
    }
    if (cocos2d::Node* frame = getChildByName(kFrameName)) {
        frame->setLocalZOrder(kFrameZOrder);
    }
}

cocos2d::ProgressTimer* FlaskLiquid::getFiller() const {
    return dynamic_cast<cocos2d::ProgressTimer*>(getChildByName(kFillerName));
}

void FlaskLiquid::setup(int32_t initialDrops, int32_t maxDrops, float seconds) {
    _maxDrops = maxDrops;
    _stopped = false;
    if (maxDrops < 1) {
        cocos2d::log("FlaskLiquid: capacity of %d drops, the flask shows empty", maxDrops);
    }
    if (!(seconds > 0.0f) || !std::isfinite(seconds)) {
        // A capacity spread over no time would drain the whole flask on the first frame.
        cocos2d::log("FlaskLiquid: drain time of %f s, the flask does not drain with time", seconds);
        _drainPerSecond = 0.0f;
    } else {
        _drainPerSecond = static_cast<float>(maxDrops) / seconds;
    }
    _available = static_cast<float>(initialDrops);
}

void FlaskLiquid::start() {
    _stopped = true;
    if (cocos2d::ProgressTimer* filler = getFiller()) {
        filler->setPercentage(0.0f);
        const int percent = static_cast<int>(getPercent());
        cocos2d::log("liquid percent on start: %d", percent);
        filler->stopActionByTag(kStartActionTag);
        filler->stopActionByTag(kEmptyActionTag);
        cocos2d::Action* rise =
            filler->runAction(cocos2d::ProgressTo::create(kFillSeconds, static_cast<float>(percent)));
        rise->setTag(kStartActionTag);
    }
    stopActionByTag(kStartActionTag);
    cocos2d::Action* run =
        runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kFillSeconds),
                                            cocos2d::CallFunc::create([this] { onFillDone(); }), nullptr));
    run->setTag(kStartActionTag);
}

void FlaskLiquid::onFillDone() {
    _stopped = false;
    _surface = getChildByTag(kSurfaceTag);
    if (_surface == nullptr) {
        return;
    }
    _surface->setCascadeOpacityEnabled(true);
    for (const int tag : {kFirstParticlesTag, kSecondParticlesTag}) {
        // A second start must not leave a pair behind that the empty animation would not take away.
        _surface->removeChildByTag(tag);
        cocos2d::ParticleSystemQuad* particles = cocos2d::ParticleSystemQuad::create(kParticleFile);
        if (particles == nullptr) {
            continue;
        }
        particles->setPosition(cocos2d::Vec2::ZERO);
        _surface->addChild(particles, 0, tag);
    }
}

void FlaskLiquid::update(float dt) {
    if (_stopped) {
        return;
    }
    _available -= _drainPerSecond * dt;
    refresh();
}

void FlaskLiquid::useDrop() {
    ++_dropsUsed;
    _available -= 1.0f;
    refresh();
}

void FlaskLiquid::addDrops(float amount) {
    _available += amount;
    cocos2d::log("%2.2f drop added, now available = %2.2f", static_cast<double>(amount),
                 static_cast<double>(_available));
    refresh();
}

bool FlaskLiquid::isEmpty() const {
    return _available < 1.0f;
}

float FlaskLiquid::getPercent() const {
    if (_maxDrops < 1) {
        return 0.0f;
    }
    const float percent = 100.0f / static_cast<float>(_maxDrops) * _available;
    if (std::isnan(percent)) {
        return 0.0f;
    }
    return std::clamp(percent, 0.0f, 100.0f);
}

void FlaskLiquid::refresh() {
    cocos2d::ProgressTimer* filler = getFiller();
    if (filler == nullptr) {
        return;
    }
    const float percent = getPercent();
    filler->setPercentage(percent);

    if (percent < kEmptyBelowPercent) {
        playEmptyAnimation();
        if (_onEmpty) {
            // A copy: the owner may replace the callback while it runs.
            const std::function<void()> onEmpty = _onEmpty;
            onEmpty();
        }
    }

    if (_surface != nullptr) {
        const float share = std::clamp(percent / 100.0f, kSurfaceLowest, kSurfaceHighest);
        const float height = filler->getBoundingBox().size.height;
        _surface->setPosition(filler->getPosition() + cocos2d::Vec2(0.0f, share * height - height * 0.5f));
    }

    const bool inWarningBand = percent > kEmptyBelowPercent && percent < kWarningBelowPercent;
    if (inWarningBand) {
        if (_soundId == GameSound::getInvalidAudioId() && !_warningRequested) {
            _warningRequested = true;
            _soundId = GameSound::getInstance().playEffect(kWarningSound, true);
        }
    } else if (percent >= kWarningBelowPercent) {
        // Refilled out of the band: the alarm is over.
        stopWarning();
    }
}

void FlaskLiquid::stopWarning() {
    _warningRequested = false;
    if (_soundId == GameSound::getInvalidAudioId()) {
        return;
    }
    GameSound::getInstance().stopEffect(_soundId, false);
    _soundId = GameSound::getInvalidAudioId();
}

void FlaskLiquid::playEmptyAnimation() {
    stopWarning();
    cocos2d::ProgressTimer* filler = getFiller();
    if (filler == nullptr) {
        return;
    }
    // A level that ends while the flask is still filling: the rise and the fill-done step (the drain
    // and the bubbles) must not come after the flask has run dry.
    stopActionByTag(kStartActionTag);
    filler->stopActionByTag(kStartActionTag);
    filler->stopActionByTag(kEmptyActionTag);
    cocos2d::Action* drain = filler->runAction(cocos2d::ProgressTo::create(kEmptySeconds, 0.0f));
    drain->setTag(kEmptyActionTag);

    if (_surface != nullptr) {
        const float height = filler->getBoundingBox().size.height;
        const cocos2d::Vec2 bottom =
            filler->getPosition() + cocos2d::Vec2(0.0f, -(height * 0.5f * kSurfaceSink));
        cocos2d::Node* surface = _surface;
        surface->stopActionByTag(kEmptyActionTag);
        cocos2d::Action* sink = surface->runAction(cocos2d::Sequence::create(
            cocos2d::MoveTo::create(kEmptySeconds, bottom), cocos2d::CallFunc::create([surface] {
                surface->removeChildByTag(kFirstParticlesTag);
                surface->removeChildByTag(kSecondParticlesTag);
            }),
            nullptr));
        sink->setTag(kEmptyActionTag);
    }
}
