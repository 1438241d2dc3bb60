#include "engine/scene/Sprite.h"

#include <new>
#include <utility>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/SpriteFrame.h"

namespace cocos2d {
namespace {

Sprite::FrameLookup& frameLookup() {
    static Sprite::FrameLookup lookup = nullptr;
    return lookup;
}

SpriteFrame* findFrame(const std::string& name) {
    SpriteFrame* frame = frameLookup() ? frameLookup()(name) : nullptr;
    if (!frame) {
        logAt(LogLevel::Warning, "Sprite: no sprite frame named '%s'", name.c_str());
    }
    return frame;
}

template <typename Init>
Sprite* makeSprite(Sprite* sprite, Init&& init) {
    if (sprite && init(sprite)) {
        sprite->autorelease();
        return sprite;
    }
    delete sprite;
    return nullptr;
}

}  // namespace

void Sprite::setSpriteFrameLookup(FrameLookup lookup) {
    frameLookup() = lookup;
}

Sprite* Sprite::create() {
    return makeSprite(new (std::nothrow) Sprite(), [](Sprite* s) { return s->init(); });
}

Sprite* Sprite::create(const std::string& filename) {
    return makeSprite(new (std::nothrow) Sprite(), [&](Sprite* s) { return s->initWithFile(filename); });
}

Sprite* Sprite::create(const std::string& filename, const Rect& rect) {
    return makeSprite(new (std::nothrow) Sprite(), [&](Sprite* s) { return s->initWithFile(filename, rect); });
}

Sprite* Sprite::createWithTexture(Texture2D* texture) {
    return makeSprite(new (std::nothrow) Sprite(), [&](Sprite* s) { return s->initWithTexture(texture); });
}

Sprite* Sprite::createWithTexture(Texture2D* texture, const Rect& rect, bool rotated) {
    return makeSprite(new (std::nothrow) Sprite(),
                      [&](Sprite* s) { return s->initWithTexture(texture, rect, rotated); });
}

Sprite* Sprite::createWithSpriteFrame(SpriteFrame* frame) {
    return makeSprite(new (std::nothrow) Sprite(), [&](Sprite* s) { return s->initWithSpriteFrame(frame); });
}

Sprite* Sprite::createWithSpriteFrameName(const std::string& frameName) {
    SpriteFrame* frame = findFrame(frameName);
    if (!frame) {
        return nullptr;
    }
    return createWithSpriteFrame(frame);
}

Sprite::~Sprite() {
    if (_spriteFrame) {
        _spriteFrame->release();
    }
    if (_texture) {
        _texture->release();
    }
}

bool Sprite::init() {
    return initWithTexture(nullptr, Rect::ZERO, false);
}

bool Sprite::initWithFile(const std::string& filename) {
    if (filename.empty()) {
        logAt(LogLevel::Warning, "Sprite: empty file name");
        return false;
    }
    Texture2D* texture = Director::getInstance()->getTextureCache()->addImage(filename);
    if (!texture) {
        return false;  // the cache has logged the file
    }
    return initWithTexture(texture);
}

bool Sprite::initWithFile(const std::string& filename, const Rect& rect) {
    Texture2D* texture = Director::getInstance()->getTextureCache()->addImage(filename);
    if (!texture) {
        return false;
    }
    return initWithTexture(texture, rect, false);
}

bool Sprite::initWithTexture(Texture2D* texture) {
    if (!texture) {
        logAt(LogLevel::Warning, "Sprite: no texture");
        return false;
    }
    return initWithTexture(texture, Rect(Vec2::ZERO, texture->getContentSize()), false);
}

bool Sprite::initWithTexture(Texture2D* texture, const Rect& rect) {
    return initWithTexture(texture, rect, false);
}

bool Sprite::initWithTexture(Texture2D* texture, const Rect& rect, bool rotated) {
    if (!Node::init()) {
        return false;
    }
    setAnchorPoint(Vec2(0.5f, 0.5f));
    _flippedX = _flippedY = false;
    _blendFunc = BlendFunc::ALPHA_PREMULTIPLIED;
    _unflippedOffsetPositionFromCenter = Vec2::ZERO;
    setTexture(texture);
    setTextureRect(rect, rotated, rect.size);
    return true;
}

bool Sprite::initWithSpriteFrame(SpriteFrame* frame) {
    if (!frame) {
        logAt(LogLevel::Warning, "Sprite: no sprite frame");
        return false;
    }
    if (!initWithTexture(frame->getTexture(), frame->getRect(), frame->isRotated())) {
        return false;
    }
    setSpriteFrame(frame);
    return true;
}

bool Sprite::initWithSpriteFrameName(const std::string& frameName) {
    SpriteFrame* frame = findFrame(frameName);
    return frame && initWithSpriteFrame(frame);
}

void Sprite::setTexture(Texture2D* texture) {
    if (!texture) {
        // Untextured: a solid quad drawn with the white texture.
        texture = Director::getInstance()->getTextureCache()->getWhiteTexture();
    }
    if (texture == _texture) {
        return;
    }
    if (texture) {
        texture->retain();
    }
    if (_texture) {
        _texture->release();
    }
    _texture = texture;
    updateQuadTexCoords();
}

void Sprite::setTexture(const std::string& filename) {
    Texture2D* texture = Director::getInstance()->getTextureCache()->addImage(filename);
    if (texture) {
        setTexture(texture);
    }
}

void Sprite::setTextureRect(const Rect& rect) {
    setTextureRect(rect, false, rect.size);
}

void Sprite::setTextureRect(const Rect& rect, bool rotated, const Size& untrimmedSize) {
    _rectRotated = rotated;
    setContentSize(untrimmedSize);
    _rect = rect;
    updateQuadGeometry();
    updateQuadTexCoords();
}

void Sprite::updateQuadGeometry() {
    Vec2 offset = _unflippedOffsetPositionFromCenter;
    if (_flippedX) {
        offset.x = -offset.x;
    }
    if (_flippedY) {
        offset.y = -offset.y;
    }
    _offsetPosition.x = offset.x + (_contentSize.width - _rect.size.width) / 2.0f;
    _offsetPosition.y = offset.y + (_contentSize.height - _rect.size.height) / 2.0f;
    const float x1 = _offsetPosition.x;
    const float y1 = _offsetPosition.y;
    const float x2 = x1 + _rect.size.width;
    const float y2 = y1 + _rect.size.height;
    _quad.bl.vertices = Vec2(x1, y1);
    _quad.br.vertices = Vec2(x2, y1);
    _quad.tl.vertices = Vec2(x1, y2);
    _quad.tr.vertices = Vec2(x2, y2);
}

void Sprite::updateQuadTexCoords() {
    if (!_texture) {
        return;
    }
    const TextureCache* cache = Director::getInstance()->getTextureCache();
    if (_texture == const_cast<TextureCache*>(cache)->getWhiteTexture()) {
        for (V2F_C4B_T2F* v : {&_quad.bl, &_quad.br, &_quad.tl, &_quad.tr}) {
            v->texCoords = Tex2F{0.5f, 0.5f};
        }
        return;
    }
    const float w = static_cast<float>(_texture->getPixelsWide());
    const float h = static_cast<float>(_texture->getPixelsHigh());
    if (w <= 0.0f || h <= 0.0f) {
        return;
    }
    // Texel row 0 is the image's top row, so v grows downwards like the rectangle's y.
    const float sheetW = _rectRotated ? _rect.size.height : _rect.size.width;
    const float sheetH = _rectRotated ? _rect.size.width : _rect.size.height;
    const float left = _rect.origin.x / w;
    const float right = (_rect.origin.x + sheetW) / w;
    const float top = _rect.origin.y / h;
    const float bottom = (_rect.origin.y + sheetH) / h;
    Tex2F tl{left, top}, tr{right, top}, bl{left, bottom}, br{right, bottom};
    if (_rectRotated) {
        // Stored turned 90 degrees clockwise: the frame's top row is the stored region's right column.
        tl = Tex2F{right, top};
        tr = Tex2F{right, bottom};
        bl = Tex2F{left, top};
        br = Tex2F{left, bottom};
    }
    if (_flippedX) {
        std::swap(tl, tr);
        std::swap(bl, br);
    }
    if (_flippedY) {
        std::swap(tl, bl);
        std::swap(tr, br);
    }
    _quad.tl.texCoords = tl;
    _quad.tr.texCoords = tr;
    _quad.bl.texCoords = bl;
    _quad.br.texCoords = br;
}

void Sprite::setSpriteFrame(SpriteFrame* frame) {
    if (!frame) {
        return;
    }
    if (frame != _spriteFrame) {
        frame->retain();
        if (_spriteFrame) {
            _spriteFrame->release();
        }
        _spriteFrame = frame;
    }
    _unflippedOffsetPositionFromCenter = frame->getOffset();
    Texture2D* texture = frame->getTexture();
    if (texture) {
        setTexture(texture);
    }
    setTextureRect(frame->getRect(), frame->isRotated(), frame->getOriginalSize());
}

void Sprite::setSpriteFrame(const std::string& frameName) {
    if (SpriteFrame* frame = findFrame(frameName)) {
        setSpriteFrame(frame);
    }
}

SpriteFrame* Sprite::getSpriteFrame() const {
    if (_spriteFrame && _spriteFrame->getTexture() == _texture && _spriteFrame->getRect() == _rect &&
        _spriteFrame->isRotated() == _rectRotated) {
        return _spriteFrame;
    }
    SpriteFrame* frame = SpriteFrame::create(_texture, _rect, _rectRotated, _unflippedOffsetPositionFromCenter,
                                             _contentSize);
    if (frame) {
        frame->retain();
        if (_spriteFrame) {
            _spriteFrame->release();
        }
        _spriteFrame = frame;
    }
    return _spriteFrame;
}

bool Sprite::isFrameDisplayed(SpriteFrame* frame) const {
    return frame && frame->getTexture() == _texture && frame->getRect() == _rect;
}

void Sprite::setFlippedX(bool flipped) {
    if (_flippedX != flipped) {
        _flippedX = flipped;
        updateQuadGeometry();
        updateQuadTexCoords();
    }
}

void Sprite::setFlippedY(bool flipped) {
    if (_flippedY != flipped) {
        _flippedY = flipped;
        updateQuadGeometry();
        updateQuadTexCoords();
    }
}

Color4B Sprite::premultipliedColor() const {
    const unsigned a = _displayedOpacity;
    return Color4B(static_cast<GLubyte>(_displayedColor.r * a / 255), static_cast<GLubyte>(_displayedColor.g * a / 255),
                   static_cast<GLubyte>(_displayedColor.b * a / 255), static_cast<GLubyte>(a));
}

void Sprite::updateQuadColor() {
    const Color4B color = premultipliedColor();
    _quad.bl.colors = _quad.br.colors = _quad.tl.colors = _quad.tr.colors = color;
}

void Sprite::draw(Renderer* renderer, const Mat4& transform, uint32_t) {
    if (!_texture || _rect.size.width == 0.0f || _rect.size.height == 0.0f) {
        return;
    }
    updateQuadColor();
    V2F_C4B_T2F_Quad world = _quad;
    world.bl.vertices = transform.transformPoint(_quad.bl.vertices);
    world.br.vertices = transform.transformPoint(_quad.br.vertices);
    world.tl.vertices = transform.transformPoint(_quad.tl.vertices);
    world.tr.vertices = transform.transformPoint(_quad.tr.vertices);
    renderer->addQuad(world, _texture, _blendFunc, _glProgramState, _globalZOrder);
}

}  // namespace cocos2d
