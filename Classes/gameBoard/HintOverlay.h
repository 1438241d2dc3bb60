#pragma once

#include "engine/math/Rect.h"

namespace cocos2d {
class Sprite;
class Texture2D;
}  // namespace cocos2d

// The hint's overlay over a snapshot of the level (a render texture's texture): the picture darkened
// everywhere but the hole (world coordinates). The sprite comes retained; the caller releases it once
// it has a parent.
cocos2d::Sprite* createHintOverlay(cocos2d::Texture2D* snapshot, const cocos2d::Rect& hole);
