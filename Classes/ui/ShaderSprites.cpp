#include "ShaderSprites.h"

#include <string>

#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/math/Size.h"
#include "engine/math/Vec2.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/GLProgram.h"
#include "engine/renderer/GLProgramState.h"
#include "engine/renderer/RenderTexture.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Sprite.h"

namespace {

using cocos2d::GLProgramState;
using cocos2d::Vec2;

constexpr const char* kBlurShader = "Shaders/example_Blur.fsh";
constexpr const char* kMaskShader = "Shaders/alphaRect.fsh";
constexpr float kBlurRadius = 6.0f;
constexpr float kBlurSamples = 6.0f;

// The program state of a fragment shader of the resource tree over the engine's vertex shader; null
// when it cannot be built (the engine has logged why), and the sprite then draws as it would anyway.
GLProgramState* programState(const char* fragmentFile) {
    cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
    const std::string source = files->getStringFromFile(files->fullPathForFilename(fragmentFile));
    cocos2d::GLProgram* program =
        cocos2d::GLProgram::createWithByteArrays(cocos2d::ccPositionTextureColor_noMVP_vert, source.c_str(),
                                                 fragmentFile);
    return program != nullptr ? GLProgramState::getOrCreateWithGLProgram(program) : nullptr;
}

GLProgramState* blurState(const Vec2& quarter) {
    GLProgramState* state = programState(kBlurShader);
    if (state != nullptr) {
        state->setUniformVec2("resolution", quarter);
        state->setUniformFloat("blurRadius", kBlurRadius);
        state->setUniformFloat("sampleNum", kBlurSamples);
    }
    return state;
}

// Draws the sprite into a new render texture of width x height.
cocos2d::RenderTexture* renderInto(cocos2d::Sprite* sprite, int width, int height) {
    cocos2d::RenderTexture* target = cocos2d::RenderTexture::create(width, height);
    if (target == nullptr) {
        return nullptr;
    }
    target->begin();
    sprite->visit();
    target->end();
    return target;
}

// The result: a sprite of the render texture's texture, upright as it is, at four times the size,
// with the caller's extra reference.
cocos2d::Sprite* retainedResult(cocos2d::RenderTexture* target) {
    cocos2d::Sprite* result = cocos2d::Sprite::createWithTexture(target->getSprite()->getTexture());
    if (result == nullptr) {
        return nullptr;
    }
    result->setScale(4.0f);
    result->retain();
    return result;
}

// The quarter of the texture's content size, or false (one line) when there is nothing to quarter.
bool quarterOf(cocos2d::Texture2D* texture, const char* what, Vec2& quarter) {
    if (texture == nullptr) {
        cocos2d::log("%s: no texture", what);
        return false;
    }
    const cocos2d::Size& size = texture->getContentSize();
    quarter = Vec2(size.width / 4.0f, size.height / 4.0f);
    if (!(quarter.x >= 1.0f && quarter.y >= 1.0f)) {
        cocos2d::log("%s: texture of %g x %g is too small", what, static_cast<double>(size.width),
                     static_cast<double>(size.height));
        return false;
    }
    return true;
}

}  // namespace

cocos2d::Sprite* createBlurredSprite(cocos2d::Texture2D* texture) {
    Vec2 q;
    if (!quarterOf(texture, "createBlurredSprite", q)) {
        return nullptr;
    }
    cocos2d::Sprite* sprite = cocos2d::Sprite::createWithTexture(texture);
    if (sprite == nullptr) {
        return nullptr;
    }
    sprite->setPosition(q.x / 2.0f, q.x / 2.0f);
    sprite->setScale(0.25f);
    if (GLProgramState* state = blurState(q)) {
        sprite->setGLProgramState(state);
    }
    // A square from the width: a landscape picture lies centred in it.
    const int side = static_cast<int>(q.x);
    cocos2d::RenderTexture* target = renderInto(sprite, side, side);
    return target != nullptr ? retainedResult(target) : nullptr;
}

cocos2d::Sprite* createHoleMaskSprite(cocos2d::Texture2D* texture, const cocos2d::Vec4& hole) {
    Vec2 q;
    if (!quarterOf(texture, "createHoleMaskSprite", q)) {
        return nullptr;
    }
    const int width = static_cast<int>(q.x);
    const int height = static_cast<int>(q.y);

    cocos2d::Sprite* masked = cocos2d::Sprite::createWithTexture(texture);
    if (masked == nullptr) {
        return nullptr;
    }
    masked->setPosition(q.x / 2.0f, q.y / 2.0f);
    masked->setScale(0.25f);
    if (GLProgramState* mask = programState(kMaskShader)) {
        mask->setUniformVec4("holePos",
                             cocos2d::Vec4(hole.x / 4.0f, hole.y / 4.0f, hole.z / 4.0f, hole.w / 4.0f));
        mask->setUniformVec2("resolution", q);
        masked->setGLProgramState(mask);
    }
    cocos2d::RenderTexture* first = renderInto(masked, width, height);
    if (first == nullptr) {
        return nullptr;
    }

    cocos2d::Sprite* blurred = cocos2d::Sprite::createWithTexture(first->getSprite()->getTexture());
    if (blurred == nullptr) {
        return nullptr;
    }
    blurred->setPosition(q.x / 2.0f, q.y / 2.0f);
    blurred->setFlippedY(true);
    if (GLProgramState* state = blurState(q)) {
        blurred->setGLProgramState(state);
    }
    cocos2d::RenderTexture* second = renderInto(blurred, width, height);
    return second != nullptr ? retainedResult(second) : nullptr;
}
