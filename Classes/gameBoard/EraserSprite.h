#pragma once

#include <string>

#include "engine/scene/Sprite.h"

// One stamp of a brush drawn into an erasable object's render texture. It is always queued, whatever
// part of the screen it would fall on, since it lands in the texture rather than on the screen.
class EraserSprite : public cocos2d::Sprite {
public:
    static EraserSprite* create(const std::string& fileName);

    void draw(cocos2d::Renderer* renderer, const cocos2d::Mat4& transform, uint32_t flags) override;

protected:
    EraserSprite() = default;
};
