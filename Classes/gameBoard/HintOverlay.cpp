#include "gameBoard/HintOverlay.h"

#include "engine/scene/Sprite.h"

namespace {

const cocos2d::Color3B kDim{90, 90, 90};

}  // namespace

cocos2d::Sprite* createHintOverlay(cocos2d::Texture2D* snapshot, const cocos2d::Rect&) {
    cocos2d::Sprite* overlay = cocos2d::Sprite::createWithTexture(snapshot);
    if (overlay == nullptr) {
        return nullptr;
    }
    // The snapshot's rows run from the bottom of the drawing.
    overlay->setFlippedY(true);
    overlay->setColor(kDim);
    overlay->retain();
    return overlay;
}
