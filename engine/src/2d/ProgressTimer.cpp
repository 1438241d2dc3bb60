#include "engine/2d/ProgressTimer.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "engine/base/Log.h"
#include "engine/renderer/Renderer.h"

namespace cocos2d {
namespace {

float unit(float value) {
    return std::isfinite(value) ? std::clamp(value, 0.0f, 1.0f) : 0.0f;
}

// The shown range [low, high] of one axis, as fractions of the sprite.
void axisRange(float midpoint, float rate, float alpha, float& low, float& high) {
    const float shown = 1.0f - rate + rate * alpha;
    low = midpoint - midpoint * shown;
    high = midpoint + (1.0f - midpoint) * shown;
}

}  // namespace

ProgressTimer* ProgressTimer::create(Sprite* sprite) {
    auto* timer = new (std::nothrow) ProgressTimer();
    if (timer && timer->initWithSprite(sprite)) {
        timer->autorelease();
        return timer;
    }
    delete timer;
    return nullptr;
}

ProgressTimer::~ProgressTimer() = default;

bool ProgressTimer::initWithSprite(Sprite* sprite) {
    if (!sprite) {
        logAt(LogLevel::Warning, "ProgressTimer: no sprite to fill");
        return false;
    }
    if (!Node::init()) {
        return false;
    }
    setAnchorPoint(Vec2(0.5f, 0.5f));
    setSprite(sprite);
    return true;
}

void ProgressTimer::setSprite(Sprite* sprite) {
    _sprite = sprite;
    setContentSize(sprite ? sprite->getContentSize() : Size::ZERO);
}

void ProgressTimer::setMidpoint(const Vec2& midpoint) {
    _midpoint = Vec2(unit(midpoint.x), unit(midpoint.y));
}

void ProgressTimer::setBarChangeRate(const Vec2& rate) {
    _barChangeRate = Vec2(unit(rate.x), unit(rate.y));
}

void ProgressTimer::setPercentage(float percentage) {
    _percentage = std::isfinite(percentage) ? std::clamp(percentage, 0.0f, 100.0f) : 0.0f;
}

void ProgressTimer::draw(Renderer* renderer, const Mat4& transform, uint32_t) {
    if (!_sprite || !_sprite->getTexture()) {
        return;
    }
    const float alpha = _percentage / 100.0f;
    float x0, x1, y0, y1;
    axisRange(_midpoint.x, _barChangeRate.x, alpha, x0, x1);
    axisRange(_midpoint.y, _barChangeRate.y, alpha, y0, y1);
    if (x1 - x0 <= 0.0f || y1 - y0 <= 0.0f) {
        return;
    }
    const V2F_C4B_T2F_Quad& q = _sprite->getQuad();
    // The sprite's quad is a rectangle in its node space; texture coordinates vary linearly across
    // it (also for rotated and flipped frames), so any sub-rectangle is a bilinear blend of corners.
    auto corner = [&](float u, float v) {
        V2F_C4B_T2F out;
        out.vertices =
            q.bl.vertices + (q.br.vertices - q.bl.vertices) * u + (q.tl.vertices - q.bl.vertices) * v;
        out.vertices = transform.transformPoint(out.vertices);
        const float wbl = (1 - u) * (1 - v), wbr = u * (1 - v), wtl = (1 - u) * v, wtr = u * v;
        out.texCoords.u =
            q.bl.texCoords.u * wbl + q.br.texCoords.u * wbr + q.tl.texCoords.u * wtl + q.tr.texCoords.u * wtr;
        out.texCoords.v =
            q.bl.texCoords.v * wbl + q.br.texCoords.v * wbr + q.tl.texCoords.v * wtl + q.tr.texCoords.v * wtr;
        return out;
    };
    V2F_C4B_T2F_Quad quad;
    quad.bl = corner(x0, y0);
    quad.br = corner(x1, y0);
    quad.tl = corner(x0, y1);
    quad.tr = corner(x1, y1);
    const Color3B& own = _sprite->getColor();
    const int a = _sprite->getOpacity() * _displayedOpacity / 255;
    const Color4B colour(static_cast<GLubyte>(own.r * _displayedColor.r / 255 * a / 255),
                         static_cast<GLubyte>(own.g * _displayedColor.g / 255 * a / 255),
                         static_cast<GLubyte>(own.b * _displayedColor.b / 255 * a / 255),
                         static_cast<GLubyte>(a));
    quad.bl.colors = quad.br.colors = quad.tl.colors = quad.tr.colors = colour;
    GLProgramState* state = _sprite->getGLProgramState() ? _sprite->getGLProgramState() : _glProgramState;
    renderer->addQuad(quad, _sprite->getTexture(), _sprite->getBlendFunc(), state, _globalZOrder);
}

}  // namespace cocos2d
