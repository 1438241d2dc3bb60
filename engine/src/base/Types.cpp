#include "engine/base/Types.h"

#include <algorithm>
#include <cmath>

namespace cocos2d {
namespace {

GLubyte toByte(float v) {
    return static_cast<GLubyte>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

constexpr GLenum kZero = 0;
constexpr GLenum kOne = 1;
constexpr GLenum kSrcAlpha = 0x0302;
constexpr GLenum kOneMinusSrcAlpha = 0x0303;

}  // namespace

Color3B::Color3B(const Color4B& c) : r(c.r), g(c.g), b(c.b) {}
Color3B::Color3B(const Color4F& c) : r(toByte(c.r)), g(toByte(c.g)), b(toByte(c.b)) {}
Color4B::Color4B(const Color4F& c) : r(toByte(c.r)), g(toByte(c.g)), b(toByte(c.b)), a(toByte(c.a)) {}

const Color3B Color3B::WHITE(255, 255, 255);
const Color3B Color3B::YELLOW(255, 255, 0);
const Color3B Color3B::BLUE(0, 0, 255);
const Color3B Color3B::GREEN(0, 255, 0);
const Color3B Color3B::RED(255, 0, 0);
const Color3B Color3B::MAGENTA(255, 0, 255);
const Color3B Color3B::BLACK(0, 0, 0);
const Color3B Color3B::ORANGE(255, 127, 0);
const Color3B Color3B::GRAY(166, 166, 166);

const Color4B Color4B::WHITE(255, 255, 255, 255);
const Color4B Color4B::BLACK(0, 0, 0, 255);
const Color4B Color4B::RED(255, 0, 0, 255);
const Color4B Color4B::GREEN(0, 255, 0, 255);
const Color4B Color4B::BLUE(0, 0, 255, 255);
const Color4B Color4B::GRAY(166, 166, 166, 255);

const Color4F Color4F::WHITE(1.0f, 1.0f, 1.0f, 1.0f);
const Color4F Color4F::BLACK(0.0f, 0.0f, 0.0f, 1.0f);

const BlendFunc BlendFunc::DISABLE = {kOne, kZero};
const BlendFunc BlendFunc::ALPHA_PREMULTIPLIED = {kOne, kOneMinusSrcAlpha};
const BlendFunc BlendFunc::ALPHA_NON_PREMULTIPLIED = {kSrcAlpha, kOneMinusSrcAlpha};
const BlendFunc BlendFunc::ADDITIVE = {kSrcAlpha, kOne};

}  // namespace cocos2d
