#include "gameBoard/EraseableGameObject.h"

#include <algorithm>
#include <vector>

#include "Constants.h"
#include "engine/base/Log.h"
#include "engine/events/Touch.h"
#include "engine/platform/FileUtils.h"
#include "engine/platform/GL.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/GLProgramState.h"
#include "engine/scene/SpriteFrameCache.h"
#include "gameBoard/EraserSprite.h"
#include "gameBoard/PixelReadback.h"

using cocos2d::BlendFunc;
using cocos2d::Rect;
using cocos2d::Size;
using cocos2d::Sprite;
using cocos2d::Vec2;

namespace {

// A stamp takes away the picture under its own alpha.
const BlendFunc kEraseBlend{GL_ZERO, GL_ONE_MINUS_SRC_ALPHA};
const Vec2 kShaderCenter{0.0f, 20.0f};

}  // namespace

size_t EraseableGameObject::_strokePasses = 0;

EraseableGameObject* EraseableGameObject::createWithSpriteFrameName(const std::string& frameName) {
    return adopt(new (std::nothrow) EraseableGameObject(), frameName);
}

EraseableGameObject::~EraseableGameObject() = default;

std::string EraseableGameObject::brushPath(const std::string& name) {
    return "ui/Game/" + name + ".png";
}

int EraseableGameObject::getArea() {
    if (!_grid.isBuilt()) {
        readPixels();
    }
    return _grid.getArea();
}

bool EraseableGameObject::readPixels() {
    cocos2d::SpriteFrame* frame = cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName(_frameName);
    const cocos2d::Texture2D* texture = frame != nullptr ? frame->getTexture() : getTexture();
    const Rect rect = frame != nullptr ? frame->getRect() : getTextureRect();
    const bool rotated = frame != nullptr ? frame->isRotated() : isTextureRectRotated();
    if (frame != nullptr && (frame->getOffset() != Vec2::ZERO || frame->getOriginalSize() != rect.size)) {
        // The sheets are made untrimmed; a trimmed frame would shift the grid against the picture.
        cocos2d::logAt(cocos2d::LogLevel::Error,
                       "readPixels: frame '%s' is trimmed; its grid covers the stored part",
                       _frameName.c_str());
    }
    const int w = static_cast<int>(rect.size.width);
    const int h = static_cast<int>(rect.size.height);
    std::vector<uint8_t> rgba;
    const bool complete =
        PixelReadback::readTexture(texture, static_cast<int>(rect.origin.x), static_cast<int>(rect.origin.y),
                                   rotated ? h : w, rotated ? w : h, rgba);
    _grid.build(rgba.data(), w, h, rotated, _cellSize, _percent);
    return complete;
}

bool EraseableGameObject::makeBrush() {
    _brush = Sprite::create(brushPath(_brushName));
    if (!_brush) {
        cocos2d::log("EraseableGameObject: brush '%s' missing", brushPath(_brushName).c_str());
        return false;
    }
    return true;
}

bool EraseableGameObject::loadShader() {
    const std::string path = "Shaders/" + _shaderName + ".fsh";
    const std::string source = cocos2d::FileUtils::getInstance()->getStringFromFile(path);
    if (source.empty()) {
        return false;
    }
    cocos2d::GLProgram* program =
        cocos2d::GLProgram::createWithByteArrays(cocos2d::ccPositionTextureColor_noMVP_vert, source.c_str(), path);
    if (program == nullptr) {
        return false;
    }
    cocos2d::GLProgramState* state = cocos2d::GLProgramState::getOrCreateWithGLProgram(program);
    if (state == nullptr) {
        return false;
    }
    state->setUniformVec2("center", kShaderCenter);
    const Size& size = getContentSize();
    state->setUniformVec2("resolution", Vec2(size.width, size.height));
    setGLProgramState(state);
    setColor(kMagentaColor);
    return true;
}

void EraseableGameObject::showRenderTexture(int width, int height) {
    setTexture(_renderTexture->getSprite()->getTexture());
    setTextureRect(Rect(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height)));
    // Texel rows run from the bottom of the drawing.
    setFlippedY(true);
}

bool EraseableGameObject::prepare() {
    cocos2d::Node* level = getParent();
    cocos2d::Node* background = level != nullptr ? level->getChildByName("background") : nullptr;
    if (background == nullptr) {
        cocos2d::log("EraseableGameObject::prepare: '%s' is not on a level", _frameName.c_str());
        return false;
    }
    // The background is centred in the level node: its position there, measured from the level's anchor,
    // is its top-right corner.
    const Vec2 topRight = level->convertToWorldSpaceAR(background->getPosition());
    auto* backgroundSprite = dynamic_cast<Sprite*>(background);
    const Size backgroundSize =
        backgroundSprite != nullptr ? backgroundSprite->getTextureRect().size : background->getContentSize();
    const float right = topRight.x;
    const float top = topRight.y;
    const float left = right - backgroundSize.width;
    const float bottom = top - backgroundSize.height;

    const float rotation = getRotation();
    setRotation(0.0f);
    Sprite* picture = Sprite::createWithSpriteFrameName(_frameName);
    if (picture == nullptr) {
        return false;
    }
    Vec2 anchor = getAnchorPointInPoints();
    if (!makeBrush()) {
        return false;
    }

    Sprite* overlay = nullptr;
    if (!_shaderName.empty()) {
        loadShader();
        overlay = Sprite::createWithSpriteFrameName(_frameName);
    } else if (!_maskFrame.empty()) {
        overlay = Sprite::createWithSpriteFrameName(_maskFrame);
        if (overlay != nullptr) {
            const Size& maskSize = overlay->getContentSize();
            const Size& pictureSize = picture->getContentSize();
            if (maskSize.width > 0.0f && maskSize.height > 0.0f) {
                overlay->setScale(std::max(1.0f, pictureSize.width / maskSize.width),
                                  std::max(1.0f, pictureSize.height / maskSize.height));
            }
            picture->setBlendFunc(BlendFunc{GL_ONE, GL_ZERO});
            // The mask shows only where the picture is opaque.
            overlay->setBlendFunc(BlendFunc{GL_DST_ALPHA, GL_ZERO});
        }
    }

    // Clip to the picture: what reaches past the background is cut off, the rest stays where it was.
    const Vec2 lowerLeft = convertToWorldSpace(Vec2::ZERO);
    const Vec2 upperRight = convertToWorldSpace(Vec2(getContentSize().width, getContentSize().height));
    int width = static_cast<int>(getContentSize().width);
    int height = static_cast<int>(getContentSize().height);
    Vec2 position = getPosition();
    if (upperRight.x > right) {
        const int d = static_cast<int>(upperRight.x - right);
        width -= d;
        position.x -= static_cast<float>(d / 2);
    }
    if (upperRight.y > top) {
        const int d = static_cast<int>(upperRight.y - top);
        height -= d;
        position.y -= static_cast<float>(d / 2);
    }
    if (lowerLeft.x < left) {
        const int d = static_cast<int>(left - lowerLeft.x);
        width -= d;
        anchor.x -= static_cast<float>(d);
        position.x += static_cast<float>(d / 2);
    }
    if (lowerLeft.y < bottom) {
        const int d = static_cast<int>(bottom - lowerLeft.y);
        height -= d;
        anchor.y -= static_cast<float>(d);
        position.y += static_cast<float>(d / 2);
    }
    if (width < 1 || height < 1) {
        cocos2d::log("EraseableGameObject::prepare: '%s' lies off the picture", _frameName.c_str());
        return false;
    }
    _renderTexture = cocos2d::RenderTexture::create(width, height);
    if (!_renderTexture) {
        return false;
    }
    setPosition(position);

    _renderTexture->beginWithClear(0.0f, 0.0f, 0.0f, 0.0f);
    picture->setPosition(anchor);
    picture->setRotation(rotation);
    picture->visit();
    if (overlay != nullptr) {
        overlay->setPosition(anchor);
        overlay->setRotation(rotation);
        overlay->setOpacity(255);
        overlay->visit();
    }
    _renderTexture->end();
    showRenderTexture(width, height);

    _percent = kPercentPrepared;
    std::vector<uint8_t> rgba;
    PixelReadback::readRenderTexture(_renderTexture.get(), rgba);
    _grid.build(rgba.data(), width, height, false, _cellSize, _percent);
    return true;
}

std::vector<Vec2> EraseableGameObject::stampPoints(const Vec2& from, const Vec2& to, float spacing,
                                                   bool stampStart, bool stampWhenStill) {
    std::vector<Vec2> points;
    const float distance = from.distance(to);
    if (distance <= 0.0f) {
        if (stampWhenStill) {
            points.push_back(to);
        }
        return points;
    }
    if (stampStart) {
        points.push_back(from);
    }
    spacing = std::max(spacing, 0.5f);
    for (float t = spacing; t < distance; t += spacing) {
        points.push_back(from + (to - from) * (t / distance));
    }
    points.push_back(to);
    return points;
}

bool EraseableGameObject::findCrossing(const Vec2& fromWorld, const Vec2& toWorld, StrokeSpan& span) const {
    const Size& size = getContentSize();
    return spanInBox(Rect(0.0f, 0.0f, size.width, size.height), convertToNodeSpace(fromWorld),
                     convertToNodeSpace(toWorld), span);
}

bool EraseableGameObject::eraseAlong(const Vec2& fromWorld, const Vec2& toWorld, const StrokeSpan& span) {
    const Vec2 start = convertToNodeSpace(fromWorld);
    const Vec2 move = convertToNodeSpace(toWorld) - start;
    // The ends of the stretch, kept on the object where rounding would put them a hair beside it.
    const Size& size = getContentSize();
    auto onObject = [&](float t) {
        const Vec2 p = start + move * t;
        return Vec2(std::clamp(p.x, 0.0f, size.width), std::clamp(p.y, 0.0f, size.height));
    };
    const Vec2 from = onObject(span.from);
    const Vec2 to = onObject(span.to);
    if (from == to && !stampsWhenStill()) {
        return false;
    }
    // Where the move came onto the object from beside it no earlier stroke left a stamp.
    const std::vector<Vec2> points =
        stampPoints(from, to, stampSpacing(), span.from > 0.0f, stampsWhenStill());
    if (_renderTexture && !points.empty()) {
        const std::string path = brushPath(_brushName);
        ++_strokePasses;
        _renderTexture->begin();
        for (const Vec2& point : points) {
            EraserSprite* stamp = EraserSprite::create(path);
            if (stamp == nullptr) {
                break;
            }
            stamp->setPosition(point);
            if (stampsRubOut()) {
                stamp->setBlendFunc(kEraseBlend);
            }
            stamp->visit();
        }
        _renderTexture->end();
    }
    const Size brush = _brush ? _brush->getContentSize() : Size::ZERO;
    return _grid.markAlong(from.x, from.y, to.x, to.y, brush.width, brush.height);
}

bool EraseableGameObject::eraseStroke(cocos2d::Touch* touch) {
    StrokeSpan span;
    if (!findCrossing(touch->getPreviousLocation(), touch->getLocation(), span)) {
        return false;
    }
    return eraseAlong(touch->getPreviousLocation(), touch->getLocation(), span);
}
