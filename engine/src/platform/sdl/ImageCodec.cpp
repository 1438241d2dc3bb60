#include "platform/sdl/ImageCodec.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>
#include <limits>
#include <memory>
#include <mutex>

namespace cocos2d {
namespace imagecodec {
namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

void ensureImageLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { IMG_Init(IMG_INIT_PNG | IMG_INIT_JPG); });
}

SurfacePtr surfaceFrom(const unsigned char* rgba, int width, int height, bool withAlpha) {
    SurfacePtr surface(SDL_CreateRGBSurfaceWithFormat(0, width, height, withAlpha ? 32 : 24,
                                                      withAlpha ? SDL_PIXELFORMAT_RGBA32 : SDL_PIXELFORMAT_RGB24));
    if (!surface) {
        return nullptr;
    }
    SDL_LockSurface(surface.get());
    auto* dst = static_cast<unsigned char*>(surface->pixels);
    for (int y = 0; y < height; ++y) {
        const unsigned char* srcRow = rgba + static_cast<size_t>(y) * width * 4;
        unsigned char* dstRow = dst + static_cast<size_t>(y) * surface->pitch;
        if (withAlpha) {
            std::memcpy(dstRow, srcRow, static_cast<size_t>(width) * 4);
        } else {
            for (int x = 0; x < width; ++x) {
                dstRow[x * 3 + 0] = srcRow[x * 4 + 0];
                dstRow[x * 3 + 1] = srcRow[x * 4 + 1];
                dstRow[x * 3 + 2] = srcRow[x * 4 + 2];
            }
        }
    }
    SDL_UnlockSurface(surface.get());
    return surface;
}

}  // namespace

bool decode(const unsigned char* data, size_t length, std::vector<unsigned char>& rgba, int& width, int& height,
            std::string& error) {
    if (!data || length == 0) {
        error = "empty file";
        return false;
    }
    if (length > static_cast<size_t>(std::numeric_limits<int>::max())) {
        error = "file too large";
        return false;
    }
    ensureImageLibrary();
    SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(length));
    if (!rw) {
        error = SDL_GetError();
        return false;
    }
    SurfacePtr loaded(IMG_Load_RW(rw, 1));
    if (!loaded) {
        error = IMG_GetError();
        return false;
    }
    SurfacePtr converted(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGBA32, 0));
    if (!converted) {
        error = SDL_GetError();
        return false;
    }
    width = converted->w;
    height = converted->h;
    if (width <= 0 || height <= 0) {
        error = "image has no pixels";
        return false;
    }
    rgba.resize(static_cast<size_t>(width) * height * 4);
    SDL_LockSurface(converted.get());
    const auto* src = static_cast<const unsigned char*>(converted->pixels);
    for (int y = 0; y < height; ++y) {
        std::memcpy(rgba.data() + static_cast<size_t>(y) * width * 4, src + static_cast<size_t>(y) * converted->pitch,
                    static_cast<size_t>(width) * 4);
    }
    SDL_UnlockSurface(converted.get());
    return true;
}

bool savePng(const std::string& path, const unsigned char* rgba, int width, int height, bool withAlpha,
             std::string& error) {
    ensureImageLibrary();
    SurfacePtr surface = surfaceFrom(rgba, width, height, withAlpha);
    if (!surface) {
        error = SDL_GetError();
        return false;
    }
    if (IMG_SavePNG(surface.get(), path.c_str()) != 0) {
        error = IMG_GetError();
        return false;
    }
    return true;
}

bool saveJpeg(const std::string& path, const unsigned char* rgba, int width, int height, int quality,
              std::string& error) {
    ensureImageLibrary();
    SurfacePtr surface = surfaceFrom(rgba, width, height, false);
    if (!surface) {
        error = SDL_GetError();
        return false;
    }
    if (IMG_SaveJPG(surface.get(), path.c_str(), quality) != 0) {
        error = IMG_GetError();
        return false;
    }
    return true;
}

}  // namespace imagecodec
}  // namespace cocos2d
