#include "2d/ParticleFile.h"

#include <cmath>

#include "base/PropertyList.h"

namespace cocos2d {
namespace particlefile {
namespace {

// Far beyond anything a particle effect uses; keeps arithmetic finite.
constexpr double kLimit = 1e6;

bool isBlendFactor(double v) {
    // Range first: converting a double beyond int's range is undefined.
    if (!(v >= 0.0 && v <= 0x8004) || v != std::floor(v)) {
        return false;
    }
    const int f = static_cast<int>(v);
    // GL_ZERO, GL_ONE, GL_SRC_COLOR..GL_SRC_ALPHA_SATURATE, GL_CONSTANT_COLOR..GL_ONE_MINUS_CONSTANT_ALPHA
    return f == 0 || f == 1 || (f >= 0x0300 && f <= 0x0308) || (f >= 0x8001 && f <= 0x8004);
}

class Reader {
public:
    Reader(const plist::Value& dict, std::string& error) : _dict(dict), _error(error) {}

    // A number from <real> or <integer>; absent keeps `out`.
    bool number(const char* key, float& out, double low = -kLimit, double high = kLimit) {
        const plist::Value* v = _dict.find(key);
        if (!v) {
            return true;
        }
        double d = 0;
        if ((v->type != plist::Value::Type::Real && v->type != plist::Value::Type::Integer) ||
            !plist::toNumber(v->text, d) || d < low || d > high) {
            return fail(key, "is not a number in range");
        }
        out = static_cast<float>(d);
        return true;
    }

    bool integer(const char* key, int& out, int low, int high) {
        const plist::Value* v = _dict.find(key);
        if (!v) {
            return true;
        }
        double d = 0;
        if ((v->type != plist::Value::Type::Integer && v->type != plist::Value::Type::Real) ||
            !plist::toNumber(v->text, d) || d != std::floor(d) || d < low || d > high) {
            return fail(key, "is not a whole number in range");
        }
        out = static_cast<int>(d);
        return true;
    }

    bool point(const char* key, Vec2& out) {
        const plist::Value* v = _dict.find(key);
        if (!v) {
            return true;
        }
        double p[2];
        if (v->type != plist::Value::Type::String || !plist::toNumbers(v->text, 2, p) ||
            std::fabs(p[0]) > kLimit || std::fabs(p[1]) > kLimit) {
            return fail(key, "is not {x,y}");
        }
        out = Vec2(static_cast<float>(p[0]), static_cast<float>(p[1]));
        return true;
    }

    // Components 0..1; a variance may be negative.
    bool colour(const char* key, Color4F& out, double low) {
        const plist::Value* v = _dict.find(key);
        if (!v) {
            return true;
        }
        double c[4];
        if (v->type != plist::Value::Type::String || !plist::toNumbers(v->text, 4, c)) {
            return fail(key, "is not {r,g,b,a}");
        }
        for (double component : c) {
            if (component < low || component > 1.0) {
                return fail(key, "has a component outside 0..1");
            }
        }
        out = Color4F(static_cast<float>(c[0]), static_cast<float>(c[1]), static_cast<float>(c[2]),
                      static_cast<float>(c[3]));
        return true;
    }

    bool blend(const char* key, GLenum& out) {
        const plist::Value* v = _dict.find(key);
        if (!v) {
            return true;
        }
        double d = 0;
        if ((v->type != plist::Value::Type::Integer && v->type != plist::Value::Type::Real) ||
            !plist::toNumber(v->text, d) || !isBlendFactor(d)) {
            return fail(key, "is not a GL blend factor");
        }
        out = static_cast<GLenum>(d);
        return true;
    }

    bool fail(const char* key, const char* what) {
        _error = std::string("'") + key + "' " + what;
        return false;
    }

private:
    const plist::Value& _dict;
    std::string& _error;
};

}  // namespace

bool read(const std::string& xml, ParticleSystem::Settings& s, std::string& texture, std::string& error) {
    plist::Value root;
    if (!plist::parse(xml, root, error)) {
        return false;
    }
    if (root.type != plist::Value::Type::Dict) {
        error = "the root is not a dict";
        return false;
    }
    const plist::Value* name = root.find("texture");
    if (!name || name->type != plist::Value::Type::String || name->text.empty()) {
        error = "'texture' is missing";
        return false;
    }
    texture = name->text;

    Reader r(root, error);
    int mode = 0;
    int positionType = 0;
    const bool ok =
        r.integer("maxParticles", s.maxParticles, 1, ParticleSystem::kMaxParticles) &&
        r.number("emissionRate", s.emissionRate, 0.0, 1e5) && r.number("duration", s.duration) &&
        r.integer("emitterMode", mode, 0, 1) && r.integer("positionType", positionType, 0, 2) &&
        r.number("life", s.life, 0.0, 1e4) && r.number("lifeVar", s.lifeVar, -1e4, 1e4) &&
        r.number("angle", s.angle) && r.number("angleVar", s.angleVar) &&
        r.number("startSize", s.startSize, 0.0, 1e4) && r.number("startSizeVar", s.startSizeVar, -1e4, 1e4) &&
        r.number("endSize", s.endSize, -1.0, 1e4) && r.number("endSizeVar", s.endSizeVar, -1e4, 1e4) &&
        r.number("startSpin", s.startSpin) && r.number("startSpinVar", s.startSpinVar) &&
        r.number("endSpin", s.endSpin) && r.number("endSpinVar", s.endSpinVar) &&
        r.colour("startColor", s.startColor, 0.0) && r.colour("startColorVar", s.startColorVar, -1.0) &&
        r.colour("endColor", s.endColor, 0.0) && r.colour("endColorVar", s.endColorVar, -1.0) &&
        r.point("posVar", s.posVar) && r.point("gravity", s.gravity) && r.number("speed", s.speed) &&
        r.number("speedVar", s.speedVar) && r.number("radialAccel", s.radialAccel) &&
        r.number("radialAccelVar", s.radialAccelVar) && r.number("tangentialAccel", s.tangentialAccel) &&
        r.number("tangentialAccelVar", s.tangentialAccelVar) && r.number("startRadius", s.startRadius) &&
        r.number("startRadiusVar", s.startRadiusVar) && r.number("endRadius", s.endRadius) &&
        r.number("endRadiusVar", s.endRadiusVar) && r.number("rotatePerSecond", s.rotatePerSecond) &&
        r.number("rotatePerSecondVar", s.rotatePerSecondVar) && r.blend("blendSrc", s.blendFunc.src) &&
        r.blend("blendDst", s.blendFunc.dst);
    if (!ok) {
        return false;
    }
    // Any negative duration means forever.
    if (s.duration < 0.0f) {
        s.duration = ParticleSystem::DURATION_INFINITY;
    }
    s.emitterMode = mode == 1 ? ParticleSystem::Mode::RADIUS : ParticleSystem::Mode::GRAVITY;
    s.positionType = positionType == 2   ? ParticleSystem::PositionType::GROUPED
                     : positionType == 1 ? ParticleSystem::PositionType::RELATIVE
                                         : ParticleSystem::PositionType::FREE;
    return true;
}

}  // namespace particlefile
}  // namespace cocos2d
