#include "engine/scene/LayerColor.h"

#include <new>

#include "engine/base/Director.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/TextureCache.h"

namespace cocos2d {

LayerColor* LayerColor::create() {
    auto* layer = new (std::nothrow) LayerColor();
    if (layer && layer->init()) {
        layer->autorelease();
        return layer;
    }
    delete layer;
    return nullptr;
}

LayerColor* LayerColor::create(const Color4B& color) {
    const Size size = Director::getInstance()->getWinSize();
    return create(color, size.width, size.height);
}

LayerColor* LayerColor::create(const Color4B& color, float width, float height) {
    auto* layer = new (std::nothrow) LayerColor();
    if (layer && layer->initWithColor(color, width, height)) {
        layer->autorelease();
        return layer;
    }
    delete layer;
    return nullptr;
}

bool LayerColor::init() {
    const Size size = Director::getInstance()->getWinSize();
    return initWithColor(Color4B(0, 0, 0, 0), size.width, size.height);
}

bool LayerColor::initWithColor(const Color4B& color, float width, float height) {
    if (!Layer::init()) {
        return false;
    }
    _realColor = Color3B(color.r, color.g, color.b);
    _realOpacity = color.a;
    updateDisplayedColor(inheritedColor());
    updateDisplayedOpacity(inheritedOpacity());
    setContentSize(Size(width, height));
    return true;
}

void LayerColor::changeWidthAndHeight(float width, float height) {
    setContentSize(Size(width, height));
}

void LayerColor::changeWidth(float width) {
    setContentSize(Size(width, _contentSize.height));
}

void LayerColor::changeHeight(float height) {
    setContentSize(Size(_contentSize.width, height));
}

void LayerColor::draw(Renderer* renderer, const Mat4& transform, uint32_t) {
    // At opacity 0 the renderer drops the quad where it cannot change a pixel.
    const float a = _displayedOpacity / 255.0f;
    const Color4B color(static_cast<GLubyte>(_displayedColor.r * a), static_cast<GLubyte>(_displayedColor.g * a),
                        static_cast<GLubyte>(_displayedColor.b * a), _displayedOpacity);
    V2F_C4B_T2F_Quad quad;
    quad.bl.vertices = transform.transformPoint(Vec2(0, 0));
    quad.br.vertices = transform.transformPoint(Vec2(_contentSize.width, 0));
    quad.tl.vertices = transform.transformPoint(Vec2(0, _contentSize.height));
    quad.tr.vertices = transform.transformPoint(Vec2(_contentSize.width, _contentSize.height));
    for (V2F_C4B_T2F* v : {&quad.bl, &quad.br, &quad.tl, &quad.tr}) {
        v->colors = color;
        v->texCoords = Tex2F{0.5f, 0.5f};
    }
    Texture2D* white = Director::getInstance()->getTextureCache()->getWhiteTexture();
    renderer->addQuad(quad, white, _blendFunc, _glProgramState, _globalZOrder);
}

}  // namespace cocos2d
