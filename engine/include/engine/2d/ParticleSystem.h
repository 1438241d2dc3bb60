#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "engine/base/RefPtr.h"
#include "engine/base/Types.h"
#include "engine/math/Vec2.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Node.h"

namespace cocos2d {

// A particle emitter. Emission starts when the node enters (through its own scheduleUpdate) and pauses
// with the node and with Director::pause. Particles are emitted at the node's origin; their colours
// run from the start to the end colour over their life and are multiplied by the node's displayed
// colour and opacity when drawn.
//
// Position types: FREE (the default) keeps emitted particles where they were emitted in the world, so
// a moving emitter leaves a trail; RELATIVE anchors them in the parent's space, so they follow the
// parent but not the emitter; GROUPED moves them with the emitter.
//
// A system with a duration stops emitting when it is over; with auto-removal on, it removes itself
// from its parent (with cleanup) once no particle is alive. DURATION_INFINITY emits until stopped.
class ParticleSystem : public Node {
public:
    enum class Mode { GRAVITY, RADIUS };
    enum class PositionType { FREE, RELATIVE, GROUPED };

    static constexpr float DURATION_INFINITY = -1.0f;
    // An end size of this keeps each particle at its start size.
    static constexpr float START_SIZE_EQUAL_TO_END_SIZE = -1.0f;
    // The largest pool a file may ask for.
    static constexpr int kMaxParticles = 10000;

    // Every setting of a particle file (see engine/docs/particle-format.md), with its default.
    struct Settings {
        int maxParticles = 50;
        float emissionRate = -1.0f;  // below 0: maxParticles / life
        float duration = DURATION_INFINITY;
        Mode emitterMode = Mode::GRAVITY;
        PositionType positionType = PositionType::FREE;
        float life = 1.0f, lifeVar = 0.0f;
        float angle = 90.0f, angleVar = 0.0f;
        float startSize = 32.0f, startSizeVar = 0.0f, endSize = START_SIZE_EQUAL_TO_END_SIZE,
              endSizeVar = 0.0f;
        float startSpin = 0.0f, startSpinVar = 0.0f, endSpin = 0.0f, endSpinVar = 0.0f;
        Color4F startColor{1, 1, 1, 1}, startColorVar{0, 0, 0, 0}, endColor{1, 1, 1, 0},
            endColorVar{0, 0, 0, 0};
        Vec2 posVar;
        // Gravity mode.
        Vec2 gravity;
        float speed = 100.0f, speedVar = 0.0f;
        float radialAccel = 0.0f, radialAccelVar = 0.0f, tangentialAccel = 0.0f, tangentialAccelVar = 0.0f;
        // Radius mode.
        float startRadius = 0.0f, startRadiusVar = 0.0f, endRadius = 0.0f, endRadiusVar = 0.0f;
        float rotatePerSecond = 0.0f, rotatePerSecondVar = 0.0f;
        BlendFunc blendFunc = BlendFunc::ALPHA_PREMULTIPLIED;
    };

    ~ParticleSystem() override;

    void onEnter() override;
    void onExit() override;
    void update(float dt) override;

    // Emission stops; living particles run out their lives.
    void stopSystem();
    // Every particle goes and emission starts again from the beginning.
    void resetSystem();
    bool isActive() const { return _active; }
    int getParticleCount() const { return static_cast<int>(_particles.size()); }

    void setAutoRemoveOnFinish(bool autoRemove) { _autoRemoveOnFinish = autoRemove; }
    bool isAutoRemoveOnFinish() const { return _autoRemoveOnFinish; }
    void setDuration(float duration);
    float getDuration() const { return _settings.duration; }
    void setEmitterMode(Mode mode) { _settings.emitterMode = mode; }
    Mode getEmitterMode() const { return _settings.emitterMode; }
    void setPositionType(PositionType type) { _settings.positionType = type; }
    PositionType getPositionType() const { return _settings.positionType; }
    void setStartRadius(float radius) { _settings.startRadius = radius; }
    float getStartRadius() const { return _settings.startRadius; }
    void setEndRadius(float radius) { _settings.endRadius = radius; }
    float getEndRadius() const { return _settings.endRadius; }
    void setStartColor(const Color4F& color) { _settings.startColor = color; }
    const Color4F& getStartColor() const { return _settings.startColor; }
    void setEndColor(const Color4F& color) { _settings.endColor = color; }
    const Color4F& getEndColor() const { return _settings.endColor; }
    int getTotalParticles() const { return _settings.maxParticles; }
    float getEmissionRate() const { return _emissionRate; }
    float getLife() const { return _settings.life; }

    void setTexture(Texture2D* texture) { _texture = texture; }
    Texture2D* getTexture() const { return _texture.get(); }
    void setBlendFunc(const BlendFunc& blendFunc) { _settings.blendFunc = blendFunc; }
    const BlendFunc& getBlendFunc() const { return _settings.blendFunc; }

    const Settings& getSettings() const { return _settings; }

protected:
    struct Particle {
        Vec2 pos;       // from the emission point
        Vec2 startPos;  // the emission point: world (FREE), parent space (RELATIVE), unused (GROUPED)
        Color4F color, deltaColor;
        float size = 0, deltaSize = 0;
        float rotation = 0, deltaRotation = 0;
        float timeToLive = 0;
        // Gravity mode.
        Vec2 dir;
        float radialAccel = 0, tangentialAccel = 0;
        // Radius mode.
        float angle = 0, degreesPerSecond = 0, radius = 0, deltaRadius = 0;
    };

    ParticleSystem();
    bool initWithSettings(const Settings& settings, Texture2D* texture);
    void emitParticle();
    float random11();
    // Where a particle is drawn, in the node's space.
    Vec2 drawPosition(const Particle& particle, const Mat4& worldToNode, const Mat4& parentToNode) const;

    Settings _settings;
    float _emissionRate = 0.0f;
    RefPtr<Texture2D> _texture;
    std::vector<Particle> _particles;
    bool _active = true;
    bool _autoRemoveOnFinish = false;
    float _elapsed = 0.0f;
    float _emitCounter = 0.0f;
    std::minstd_rand _random;
};

}  // namespace cocos2d
