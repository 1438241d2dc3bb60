#include "gameBoard/EraserSprite.h"

#include <new>

#include "engine/renderer/Renderer.h"

EraserSprite* EraserSprite::create(const std::string& fileName) {
    auto* sprite = new (std::nothrow) EraserSprite();
    if (sprite != nullptr && sprite->initWithFile(fileName)) {
        sprite->autorelease();
        return sprite;
    }
    delete sprite;
    return nullptr;
}

void EraserSprite::draw(cocos2d::Renderer* renderer, const cocos2d::Mat4& transform, uint32_t) {
    if (getTexture() == nullptr) {
        return;
    }
    updateQuadColor();
    cocos2d::V2F_C4B_T2F_Quad world = getQuad();
    world.bl.vertices = transform.transformPoint(world.bl.vertices);
    world.br.vertices = transform.transformPoint(world.br.vertices);
    world.tl.vertices = transform.transformPoint(world.tl.vertices);
    world.tr.vertices = transform.transformPoint(world.tr.vertices);
    renderer->addQuad(world, getTexture(), getBlendFunc(), getGLProgramState(), getGlobalZOrder());
}
