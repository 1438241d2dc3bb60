#pragma once

#include "engine/base/Types.h"
#include "engine/scene/Layer.h"

namespace cocos2d {

// A solid rectangle from the origin to its content size. Its opacity comes from the colour's alpha.
class LayerColor : public Layer {
public:
    static LayerColor* create();
    static LayerColor* create(const Color4B& color);
    static LayerColor* create(const Color4B& color, float width, float height);

    bool init() override;
    virtual bool initWithColor(const Color4B& color, float width, float height);

    void changeWidthAndHeight(float width, float height);
    void changeWidth(float width);
    void changeHeight(float height);

    const BlendFunc& getBlendFunc() const { return _blendFunc; }
    void setBlendFunc(const BlendFunc& blendFunc) { _blendFunc = blendFunc; }

    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

protected:
    LayerColor() = default;
    BlendFunc _blendFunc = BlendFunc::ALPHA_PREMULTIPLIED;
};

}  // namespace cocos2d
