#pragma once

#include "engine/renderer/Texture2D.h"
#include "renderer/TexelMap.h"

namespace cocos2d {

// A texture's record of its uploaded texels, learnt once at upload (never null once initialised).
struct Texture2D::Texels : fill::TexelMap {
    using fill::TexelMap::TexelMap;
};

}  // namespace cocos2d
