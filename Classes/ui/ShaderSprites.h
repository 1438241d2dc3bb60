#pragma once

#include "engine/math/Vec4.h"

namespace cocos2d {
class Sprite;
class Texture2D;
}  // namespace cocos2d

// Soft, blurred copies of a texture made on the GPU at a quarter of its size and handed back as a
// sprite drawn at four times that size, so the result covers the area of the texture it came from.
//
// Each returned sprite carries one reference of the caller's on top of the engine's autorelease: it
// stays alive after its parent lets go of it, and releasing it once after removing it from its
// parent frees it. Null, with one log line, for a null texture or one too small to quarter.

// The pause and confirmation backdrop: a square of a quarter of the texture's width, blurred; a
// landscape picture sits centred in it between transparent bands, drawn at about w x w.
cocos2d::Sprite* createBlurredSprite(cocos2d::Texture2D* texture);

// The hint overlay: the texture darkened outside the hole and clear inside it, then blurred, drawn
// at about w x h. The hole is (left, bottom, right, top) in the texture's pixels, y up from its first
// texel row, which for a render texture's texture is the bottom of what was drawn.
cocos2d::Sprite* createHoleMaskSprite(cocos2d::Texture2D* texture, const cocos2d::Vec4& hole);
