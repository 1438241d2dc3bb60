#pragma once

// The benchmarks' test picture: alpha 254 everywhere, so every quad of it is blended and drawn whole
// and the renderer's shortcuts for opaque pictures never apply.

#include <cstddef>
#include <vector>

#include "engine/renderer/Texture2D.h"

namespace bench {

inline cocos2d::Texture2D* makeBlendedTexture(int w, int h) {
    std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * 4);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = static_cast<unsigned char>(i / 4 % 251);
        pixels[i + 1] = 120;
        pixels[i + 2] = 200;
        pixels[i + 3] = 254;
    }
    cocos2d::Texture2D* texture = cocos2d::Texture2D::create();
    texture->initWithData(pixels.data(), w, h);
    return texture;
}

}  // namespace bench
