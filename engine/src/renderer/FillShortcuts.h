#pragma once

#include <cstddef>

#include "engine/base/Types.h"
#include "engine/renderer/Vertex.h"

namespace cocos2d {
namespace fill {

// What is known of a draw's fragments before it runs. With the default program a fragment is the
// texel times the interpolated vertex colour, so equal vertex colours bound every fragment.
enum class Source {
    Unknown,
    Clear,      // every channel 0: vertex colour (0, 0, 0, 0)
    AlphaZero,  // alpha 0, colour unknown: vertex alpha 0 with a colour that is not premultiplied
    Opaque,     // alpha 1: vertex alpha 255 over a texture whose every texel has alpha 255
};

// The source of a draw with the default program (`defaultProgram` false gives Unknown: a custom shader
// may ignore the vertex colour).
Source classify(const V2F_C4B_T2F* vertices, size_t count, bool opaqueTexture, bool defaultProgram);

// Whether src * S + dst * D (the engine always blends with GL_FUNC_ADD) equals dst for every channel of
// every pixel: the draw changes nothing and need not run. S's term vanishes when the source is 0 or S
// is 0 with it; D must be 1.
bool leavesTargetUnchanged(const BlendFunc& blend, Source source);

// Whether src * S + dst * D equals src, whatever dst is: S is 1 and D is 0. Such a draw gives the same
// pixels with blending off, and hides everything drawn under it.
bool replacesTarget(const BlendFunc& blend, Source source);


}  // namespace fill
}  // namespace cocos2d
