#include "engine/scene/SpriteFrame.h"

#include <new>

#include "engine/renderer/Texture2D.h"

namespace cocos2d {

SpriteFrame* SpriteFrame::create(Texture2D* texture, const Rect& rect) {
    return create(texture, rect, false, Vec2::ZERO, rect.size);
}

SpriteFrame* SpriteFrame::create(Texture2D* texture, const Rect& rect, bool rotated, const Vec2& offset,
                                 const Size& originalSize) {
    auto* frame = new (std::nothrow) SpriteFrame();
    if (!frame) {
        return nullptr;
    }
    frame->setTexture(texture);
    frame->_rect = rect;
    frame->_rotated = rotated;
    frame->_offset = offset;
    frame->_originalSize = originalSize;
    frame->autorelease();
    return frame;
}

SpriteFrame::~SpriteFrame() {
    if (_texture) {
        _texture->release();
    }
}

void SpriteFrame::setTexture(Texture2D* texture) {
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
}

}  // namespace cocos2d
