#pragma once

#include "engine/base/Ref.h"
#include "engine/math/Rect.h"
#include "engine/math/Size.h"
#include "engine/math/Vec2.h"

namespace cocos2d {

class Texture2D;

// A region of a texture. The rectangle is in texture pixels, origin at the top left, y down, and has
// the frame's own (unrotated) size; a rotated frame is stored turned 90 degrees clockwise and so
// occupies h x w pixels of the sheet. The offset moves a trimmed frame's centre from the centre of
// its original size (y up).
class SpriteFrame : public Ref {
public:
    static SpriteFrame* create(Texture2D* texture, const Rect& rect);
    static SpriteFrame* create(Texture2D* texture, const Rect& rect, bool rotated, const Vec2& offset,
                               const Size& originalSize);
    ~SpriteFrame() override;

    const Rect& getRect() const { return _rect; }
    void setRect(const Rect& rect) { _rect = rect; }
    bool isRotated() const { return _rotated; }
    void setRotated(bool rotated) { _rotated = rotated; }
    const Vec2& getOffset() const { return _offset; }
    void setOffset(const Vec2& offset) { _offset = offset; }
    const Size& getOriginalSize() const { return _originalSize; }
    void setOriginalSize(const Size& size) { _originalSize = size; }
    Texture2D* getTexture() const { return _texture; }
    void setTexture(Texture2D* texture);

private:
    SpriteFrame() = default;

    Texture2D* _texture = nullptr;
    Rect _rect;
    bool _rotated = false;
    Vec2 _offset;
    Size _originalSize;
};

}  // namespace cocos2d
