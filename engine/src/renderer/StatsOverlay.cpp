#include "renderer/StatsOverlay.h"

#include <cstdio>
#include <algorithm>
#include <cstring>

#include "engine/base/Director.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/TextureCache.h"

namespace cocos2d {
namespace {

// A 3 x 5 pixel font for the characters the overlay prints. Each glyph is five rows of three bits,
// top row first, most significant bit on the left.
struct Glyph {
    char c;
    unsigned char rows[5];
};

constexpr Glyph kGlyphs[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 7, 1, 7}},
    {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}}, {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 1, 1}},
    {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}}, {'.', {0, 0, 0, 0, 2}}, {':', {0, 2, 0, 2, 0}},
    {'F', {7, 4, 6, 4, 4}}, {'P', {7, 5, 7, 4, 4}}, {'S', {7, 4, 7, 1, 7}}, {'m', {0, 0, 7, 7, 5}},
    {'s', {0, 3, 6, 1, 6}}, {'d', {1, 1, 7, 5, 7}}, {'r', {0, 0, 6, 4, 4}}, {'a', {0, 6, 3, 5, 7}},
    {'w', {0, 0, 5, 7, 7}}, {'/', {1, 1, 2, 4, 4}}, {'-', {0, 0, 7, 0, 0}},
};

const Glyph* glyphFor(char c) {
    for (const Glyph& g : kGlyphs) {
        if (g.c == c) {
            return &g;
        }
    }
    return nullptr;
}

void drawText(Renderer& renderer, Texture2D* white, const char* text, float x, float y, float pixel) {
    const BlendFunc blend = BlendFunc::ALPHA_PREMULTIPLIED;
    const Color4B color(255, 255, 255, 255);
    for (const char* p = text; *p; ++p, x += 4 * pixel) {
        const Glyph* glyph = glyphFor(*p);
        if (!glyph) {
            continue;
        }
        for (int row = 0; row < 5; ++row) {
            for (int col = 0; col < 3; ++col) {
                if (!(glyph->rows[row] & (4 >> col))) {
                    continue;
                }
                const float x0 = x + col * pixel;
                const float y0 = y + (4 - row) * pixel;
                V2F_C4B_T2F_Quad quad;
                quad.bl.vertices = Vec2(x0, y0);
                quad.br.vertices = Vec2(x0 + pixel, y0);
                quad.tl.vertices = Vec2(x0, y0 + pixel);
                quad.tr.vertices = Vec2(x0 + pixel, y0 + pixel);
                for (V2F_C4B_T2F* v : {&quad.bl, &quad.br, &quad.tl, &quad.tr}) {
                    v->colors = color;
                    v->texCoords = Tex2F{0.5f, 0.5f};
                }
                renderer.addQuad(quad, white, blend, nullptr, 1e9f);
            }
        }
    }
}

}  // namespace

void StatsOverlay::draw(Renderer& renderer, const Size& designSize, float fps, float milliseconds,
                        unsigned int drawCalls) {
    Texture2D* white = Director::getInstance()->getTextureCache()->getWhiteTexture();
    const float pixel = designSize.height > 0.0f ? std::max(2.0f, designSize.height / 270.0f) : 3.0f;
    char line[64];
    // A dark plate under the text keeps it readable over any scene.
    V2F_C4B_T2F_Quad plate;
    const float w = 30 * 4 * pixel;
    const float h = 3 * 7 * pixel + pixel;
    plate.bl.vertices = Vec2(0, 0);
    plate.br.vertices = Vec2(w, 0);
    plate.tl.vertices = Vec2(0, h);
    plate.tr.vertices = Vec2(w, h);
    for (V2F_C4B_T2F* v : {&plate.bl, &plate.br, &plate.tl, &plate.tr}) {
        v->colors = Color4B(0, 0, 0, 160);
        v->texCoords = Tex2F{0.5f, 0.5f};
    }
    renderer.addQuad(plate, white, BlendFunc::ALPHA_PREMULTIPLIED, nullptr, 1e9f);
    std::snprintf(line, sizeof(line), "draws: %u", drawCalls);
    drawText(renderer, white, line, pixel, pixel, pixel);
    std::snprintf(line, sizeof(line), "ms: %.1f", milliseconds);
    drawText(renderer, white, line, pixel, pixel + 7 * pixel, pixel);
    std::snprintf(line, sizeof(line), "FPS: %.1f", fps);
    drawText(renderer, white, line, pixel, pixel + 14 * pixel, pixel);
}

}  // namespace cocos2d
