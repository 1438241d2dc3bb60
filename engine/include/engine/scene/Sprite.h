#pragma once

#include <functional>
#include <string>

#include "engine/base/Types.h"
#include "engine/math/Rect.h"
#include "engine/renderer/Vertex.h"
#include "engine/scene/Node.h"

namespace cocos2d {

class SpriteFrame;
class Texture2D;

// A textured quad. The anchor is (0.5, 0.5); the content size is the frame's original size or the
// rectangle's size. Texture coordinates are the rectangle divided by the texture size, never clamped.
// Colour and opacity tint the texels (premultiplied); the default blend is (GL_ONE,
// GL_ONE_MINUS_SRC_ALPHA). A missing file or frame gives null or false and one log line.
class Sprite : public Node {
public:
    // An untextured sprite: a solid quad of its texture-rectangle size in its colour and opacity.
    static Sprite* create();
    static Sprite* create(const std::string& filename);
    static Sprite* create(const std::string& filename, const Rect& rect);
    static Sprite* createWithTexture(Texture2D* texture);
    static Sprite* createWithTexture(Texture2D* texture, const Rect& rect, bool rotated = false);
    static Sprite* createWithSpriteFrame(SpriteFrame* frame);
    // Looks the frame up in the sprite-frame cache.
    static Sprite* createWithSpriteFrameName(const std::string& frameName);

    bool init() override;
    virtual bool initWithFile(const std::string& filename);
    virtual bool initWithFile(const std::string& filename, const Rect& rect);
    virtual bool initWithTexture(Texture2D* texture);
    virtual bool initWithTexture(Texture2D* texture, const Rect& rect);
    virtual bool initWithTexture(Texture2D* texture, const Rect& rect, bool rotated);
    virtual bool initWithSpriteFrame(SpriteFrame* frame);
    virtual bool initWithSpriteFrameName(const std::string& frameName);

    // Keeps the current rectangle.
    virtual void setTexture(Texture2D* texture);
    virtual void setTexture(const std::string& filename);
    Texture2D* getTexture() const { return _texture; }
    // Sets the content size to the rectangle's size and clears the rotated flag.
    virtual void setTextureRect(const Rect& rect);
    virtual void setTextureRect(const Rect& rect, bool rotated, const Size& untrimmedSize);
    const Rect& getTextureRect() const { return _rect; }
    bool isTextureRectRotated() const { return _rectRotated; }
    virtual void setSpriteFrame(SpriteFrame* frame);
    virtual void setSpriteFrame(const std::string& frameName);
    // A frame over the current texture and rectangle (made on demand).
    SpriteFrame* getSpriteFrame() const;
    bool isFrameDisplayed(SpriteFrame* frame) const;

    // Flips the texture coordinates, not the node.
    void setFlippedX(bool flipped);
    void setFlippedY(bool flipped);
    bool isFlippedX() const { return _flippedX; }
    bool isFlippedY() const { return _flippedY; }

    void setBlendFunc(const BlendFunc& blendFunc) { _blendFunc = blendFunc; }
    const BlendFunc& getBlendFunc() const { return _blendFunc; }

    // The quad's offset inside the content box (trimmed frames).
    const Vec2& getOffsetPosition() const { return _offsetPosition; }
    // The quad in node space with colour and texture coordinates (for subclasses that draw it).
    const V2F_C4B_T2F_Quad& getQuad() const { return _quad; }

    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

    // (ours) How createWithSpriteFrameName and setSpriteFrame(name) find frames: the sprite-frame cache
    // installs its lookup here. Without one, every name is unknown.
    using FrameLookup = SpriteFrame* (*)(const std::string& frameName);
    static void setSpriteFrameLookup(FrameLookup lookup);

    void setOpacityModifyRGB(bool) override {}
    bool isOpacityModifyRGB() const override { return true; }

    ~Sprite() override;

protected:
    Sprite() = default;

    void updateQuadGeometry();
    void updateQuadTexCoords();
    void updateQuadColor();
    Color4B premultipliedColor() const;

    Texture2D* _texture = nullptr;
    Rect _rect;
    bool _rectRotated = false;
    Vec2 _unflippedOffsetPositionFromCenter;
    Vec2 _offsetPosition;
    bool _flippedX = false;
    bool _flippedY = false;
    BlendFunc _blendFunc = BlendFunc::ALPHA_PREMULTIPLIED;
    V2F_C4B_T2F_Quad _quad;
    mutable SpriteFrame* _spriteFrame = nullptr;
};

}  // namespace cocos2d
