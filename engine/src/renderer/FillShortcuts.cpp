#include "renderer/FillShortcuts.h"


namespace cocos2d {
namespace fill {
namespace {

// glBlendFunc factors (the values of GL's own enums; this file issues no GL calls).
constexpr GLenum kZero = 0;
constexpr GLenum kOne = 1;
constexpr GLenum kOneMinusSrcColor = 0x0301;
constexpr GLenum kSrcAlpha = 0x0302;
constexpr GLenum kOneMinusSrcAlpha = 0x0303;

}  // namespace

Source classify(const V2F_C4B_T2F* vertices, size_t count, bool opaqueTexture, bool defaultProgram) {
    if (!defaultProgram || !vertices || count == 0) {
        return Source::Unknown;
    }
    bool clear = true;
    bool alphaZero = true;
    bool alphaFull = true;
    for (size_t i = 0; i < count; ++i) {
        const Color4B& c = vertices[i].colors;
        alphaZero = alphaZero && c.a == 0;
        clear = clear && c.a == 0 && c.r == 0 && c.g == 0 && c.b == 0;
        alphaFull = alphaFull && c.a == 255;
    }
    if (clear) {
        return Source::Clear;
    }
    if (alphaZero) {
        return Source::AlphaZero;
    }
    return alphaFull && opaqueTexture ? Source::Opaque : Source::Unknown;
}

bool leavesTargetUnchanged(const BlendFunc& blend, Source source) {
    switch (source) {
        case Source::Clear:
            // Every source factor times 0 is 0; D is 1 for these with a source of 0.
            return blend.dst == kOne || blend.dst == kOneMinusSrcAlpha || blend.dst == kOneMinusSrcColor;
        case Source::AlphaZero:
            // The colour may be anything: only a factor that is 0 with source alpha 0 removes it, and
            // GL_ONE_MINUS_SRC_COLOR would not be 1. (GL_ONE, GL_ONE_MINUS_SRC_ALPHA) with a colour
            // that is not premultiplied adds the colour, so it is drawn.
            return (blend.src == kZero || blend.src == kSrcAlpha) &&
                   (blend.dst == kOne || blend.dst == kOneMinusSrcAlpha);
        case Source::Opaque:
        case Source::Unknown:
            return false;
    }
    return false;
}

bool replacesTarget(const BlendFunc& blend, Source source) {
    if (blend.src == kOne && blend.dst == kZero) {
        return true;
    }
    if (source != Source::Opaque) {
        return false;
    }
    return (blend.src == kOne || blend.src == kSrcAlpha) && (blend.dst == kZero || blend.dst == kOneMinusSrcAlpha);
}

}  // namespace fill
}  // namespace cocos2d
