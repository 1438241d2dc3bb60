#include "engine/2d/ParticleSystem.h"

#include <algorithm>
#include <cmath>

#include "engine/base/Log.h"

namespace cocos2d {
namespace {

constexpr float kPi = 3.14159265358979f;

float radians(float degrees) {
    return degrees * kPi / 180.0f;
}

float clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

// Every system draws from its own sequence; seeds follow creation order, so a scripted run repeats.
unsigned int nextSeed() {
    static unsigned int seed = 20261;
    return seed++;
}

}  // namespace

ParticleSystem::ParticleSystem() : _random(nextSeed()) {}

ParticleSystem::~ParticleSystem() = default;

bool ParticleSystem::initWithSettings(const Settings& settings, Texture2D* texture) {
    if (!Node::init()) {
        return false;
    }
    _settings = settings;
    _settings.maxParticles = std::clamp(_settings.maxParticles, 1, kMaxParticles);
    if (_settings.emissionRate >= 0.0f) {
        _emissionRate = _settings.emissionRate;
    } else {
        _emissionRate =
            static_cast<float>(_settings.maxParticles) / (_settings.life > 0.0f ? _settings.life : 1.0f);
    }
    _texture = texture;
    _particles.reserve(static_cast<size_t>(_settings.maxParticles));
    return true;
}

void ParticleSystem::onEnter() {
    Node::onEnter();
    scheduleUpdate();
}

void ParticleSystem::onExit() {
    unscheduleUpdate();
    Node::onExit();
}

void ParticleSystem::setDuration(float duration) {
    _settings.duration = std::isfinite(duration) && duration >= 0.0f ? duration : DURATION_INFINITY;
}

void ParticleSystem::stopSystem() {
    _active = false;
    _emitCounter = 0.0f;
}

void ParticleSystem::resetSystem() {
    _active = true;
    _elapsed = 0.0f;
    _emitCounter = 0.0f;
    _particles.clear();
}

float ParticleSystem::random11() {
    return std::uniform_real_distribution<float>(-1.0f, 1.0f)(_random);
}

void ParticleSystem::emitParticle() {
    const Settings& s = _settings;
    Particle p;
    p.timeToLive = std::max(0.0f, s.life + s.lifeVar * random11());
    p.pos = Vec2(s.posVar.x * random11(), s.posVar.y * random11());
    if (s.positionType == PositionType::FREE) {
        p.startPos = convertToWorldSpace(Vec2::ZERO);
    } else if (s.positionType == PositionType::RELATIVE) {
        p.startPos = getPosition();
    }
    const float life = p.timeToLive > 0.0f ? p.timeToLive : 1.0f;
    const Color4F start(clamp01(s.startColor.r + s.startColorVar.r * random11()),
                        clamp01(s.startColor.g + s.startColorVar.g * random11()),
                        clamp01(s.startColor.b + s.startColorVar.b * random11()),
                        clamp01(s.startColor.a + s.startColorVar.a * random11()));
    const Color4F end(clamp01(s.endColor.r + s.endColorVar.r * random11()),
                      clamp01(s.endColor.g + s.endColorVar.g * random11()),
                      clamp01(s.endColor.b + s.endColorVar.b * random11()),
                      clamp01(s.endColor.a + s.endColorVar.a * random11()));
    p.color = start;
    p.deltaColor = Color4F((end.r - start.r) / life, (end.g - start.g) / life, (end.b - start.b) / life,
                           (end.a - start.a) / life);
    p.size = std::max(0.0f, s.startSize + s.startSizeVar * random11());
    if (s.endSize != START_SIZE_EQUAL_TO_END_SIZE) {
        const float endSize = std::max(0.0f, s.endSize + s.endSizeVar * random11());
        p.deltaSize = (endSize - p.size) / life;
    }
    p.rotation = s.startSpin + s.startSpinVar * random11();
    const float endSpin = s.endSpin + s.endSpinVar * random11();
    p.deltaRotation = (endSpin - p.rotation) / life;
    const float angle = radians(s.angle + s.angleVar * random11());
    if (s.emitterMode == Mode::GRAVITY) {
        const float speed = s.speed + s.speedVar * random11();
        p.dir = Vec2(std::cos(angle), std::sin(angle)) * speed;
        p.radialAccel = s.radialAccel + s.radialAccelVar * random11();
        p.tangentialAccel = s.tangentialAccel + s.tangentialAccelVar * random11();
    } else {
        p.radius = s.startRadius + s.startRadiusVar * random11();
        const float endRadius = s.endRadius + s.endRadiusVar * random11();
        p.deltaRadius = (endRadius - p.radius) / life;
        p.angle = angle;
        p.degreesPerSecond = radians(s.rotatePerSecond + s.rotatePerSecondVar * random11());
        p.pos = Vec2(std::cos(p.angle), std::sin(p.angle)) * p.radius;
    }
    _particles.push_back(p);
}

void ParticleSystem::update(float dt) {
    // Auto-removal below may release the last reference.
    RefPtr<ParticleSystem> keep(this);
    if (!(dt >= 0.0f)) {
        return;
    }
    const size_t capacity = static_cast<size_t>(_settings.maxParticles);
    if (_active && _emissionRate > 0.0f) {
        const float rate = 1.0f / _emissionRate;
        if (_particles.size() < capacity) {
            _emitCounter += dt;
        }
        while (_particles.size() < capacity && _emitCounter >= rate) {
            emitParticle();
            _emitCounter -= rate;
        }
        if (_particles.size() >= capacity) {
            _emitCounter = 0.0f;  // a full pool does not save up emissions
        }
    }
    if (_active) {
        _elapsed += dt;
        if (_settings.duration != DURATION_INFINITY && _elapsed > _settings.duration) {
            stopSystem();
        }
    }

    for (size_t i = 0; i < _particles.size();) {
        Particle& p = _particles[i];
        p.timeToLive -= dt;
        if (p.timeToLive <= 0.0f) {
            p = _particles.back();
            _particles.pop_back();
            continue;
        }
        if (_settings.emitterMode == Mode::GRAVITY) {
            Vec2 radial;
            const float length = std::sqrt(p.pos.x * p.pos.x + p.pos.y * p.pos.y);
            if (length > 0.0f) {
                radial = p.pos * (1.0f / length);
            }
            const Vec2 tangential = Vec2(-radial.y, radial.x) * p.tangentialAccel;
            const Vec2 accel = radial * p.radialAccel + tangential + _settings.gravity;
            p.dir += accel * dt;
            p.pos += p.dir * dt;
        } else {
            p.angle += p.degreesPerSecond * dt;
            p.radius += p.deltaRadius * dt;
            p.pos = Vec2(std::cos(p.angle), std::sin(p.angle)) * p.radius;
        }
        p.color.r += p.deltaColor.r * dt;
        p.color.g += p.deltaColor.g * dt;
        p.color.b += p.deltaColor.b * dt;
        p.color.a += p.deltaColor.a * dt;
        p.size = std::max(0.0f, p.size + p.deltaSize * dt);
        p.rotation += p.deltaRotation * dt;
        ++i;
    }

    if (!_active && _particles.empty() && _autoRemoveOnFinish && _parent) {
        removeFromParentAndCleanup(true);
    }
}

Vec2 ParticleSystem::drawPosition(const Particle& particle, const Mat4& worldToNode,
                                  const Mat4& parentToNode) const {
    switch (_settings.positionType) {
        case PositionType::FREE:
            return worldToNode.transformPoint(particle.startPos) + particle.pos;
        case PositionType::RELATIVE:
            return parentToNode.transformPoint(particle.startPos) + particle.pos;
        case PositionType::GROUPED:
            break;
    }
    return particle.pos;
}

}  // namespace cocos2d
