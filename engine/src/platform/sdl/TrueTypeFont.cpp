#include "platform/sdl/TrueTypeFont.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstring>
#include <map>
#include <tuple>

namespace cocos2d {
namespace ttf {

struct Font {
    TTF_Font* face = nullptr;
    int outline = 0;
    FontMetrics metrics;
    ~Font() {
        if (face) {
            TTF_CloseFont(face);
        }
    }
};

namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

using FontKey = std::tuple<std::string, int, int>;

std::map<FontKey, std::shared_ptr<Font>>& fontCache() {
    static std::map<FontKey, std::shared_ptr<Font>> cache;
    return cache;
}

bool ensureLibrary(std::string& error) {
    if (TTF_WasInit() > 0) {
        return true;
    }
    if (TTF_Init() != 0) {
        error = TTF_GetError();
        return false;
    }
    return true;
}

}  // namespace

std::shared_ptr<Font> openFont(const std::string& fullPath, int pixelSize, int outline, std::string& error) {
    const FontKey key(fullPath, pixelSize, outline);
    auto& cache = fontCache();
    auto found = cache.find(key);
    if (found != cache.end()) {
        return found->second;
    }
    if (!ensureLibrary(error)) {
        return nullptr;
    }
    TTF_Font* face = TTF_OpenFont(fullPath.c_str(), pixelSize);
    if (!face) {
        error = TTF_GetError();
        return nullptr;
    }
    auto font = std::make_shared<Font>();
    font->face = face;
    font->outline = outline;
    if (outline > 0) {
        TTF_SetFontOutline(face, outline);
    }
    font->metrics.height = TTF_FontHeight(face);
    font->metrics.ascent = TTF_FontAscent(face);
    font->metrics.descent = TTF_FontDescent(face);
    font->metrics.lineSkip = TTF_FontLineSkip(face);
    cache.emplace(key, font);
    return font;
}

FontMetrics metrics(const Font& font) {
    return font.metrics;
}

int outlineOf(const Font& font) {
    return font.outline;
}

int textWidth(const Font& font, const std::string& utf8) {
    if (utf8.empty()) {
        return 0;
    }
    int w = 0;
    int h = 0;
    if (TTF_SizeUTF8(font.face, utf8.c_str(), &w, &h) != 0) {
        return 0;
    }
    return w;
}

bool renderLine(const Font& font, const std::string& utf8, std::vector<unsigned char>& coverage, int& width,
                int& height, std::string& error) {
    coverage.clear();
    width = 0;
    height = 0;
    if (utf8.empty()) {
        return true;
    }
    const SDL_Color white = {255, 255, 255, 255};
    SurfacePtr rendered(TTF_RenderUTF8_Blended(font.face, utf8.c_str(), white));
    if (!rendered) {
        error = TTF_GetError();
        return false;
    }
    SurfacePtr rgba(SDL_ConvertSurfaceFormat(rendered.get(), SDL_PIXELFORMAT_RGBA32, 0));
    if (!rgba) {
        error = SDL_GetError();
        return false;
    }
    width = rgba->w;
    height = rgba->h;
    coverage.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    SDL_LockSurface(rgba.get());
    const auto* pixels = static_cast<const unsigned char*>(rgba->pixels);
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(rgba->pitch);
        unsigned char* out = coverage.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int x = 0; x < width; ++x) {
            out[x] = row[x * 4 + 3];
        }
    }
    SDL_UnlockSurface(rgba.get());
    return true;
}

}  // namespace ttf
}  // namespace cocos2d
