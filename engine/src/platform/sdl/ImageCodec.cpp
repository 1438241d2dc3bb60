#include "platform/sdl/ImageCodec.h"

#include <SDL.h>
#include <SDL_image.h>

#include <atomic>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>

#include <jpeglib.h>
#include <jerror.h>

namespace cocos2d {
namespace imagecodec {
namespace {

// Until a GL context says otherwise: the size every desktop GL of the last decade takes.
constexpr int kDefaultMaxSide = 16384;
// Decoded RGBA bytes of one image: room for 8192 x 8192, far beyond any picture of the game, and
// little enough that a hostile header cannot take the machine's memory.
constexpr uint64_t kMaxDecodedBytes = uint64_t{256} << 20;

std::atomic<int>& maxSideSlot() {
    static std::atomic<int> side{kDefaultMaxSide};
    return side;
}

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

bool isPng(const unsigned char* data, size_t length) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return length >= sizeof kSignature && std::memcmp(data, kSignature, sizeof kSignature) == 0;
}

bool isJpeg(const unsigned char* data, size_t length) {
    return length >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

uint32_t bigEndian32(const unsigned char* bytes) {
    return (static_cast<uint32_t>(bytes[0]) << 24) | (static_cast<uint32_t>(bytes[1]) << 16) |
           (static_cast<uint32_t>(bytes[2]) << 8) | static_cast<uint32_t>(bytes[3]);
}

// The size a PNG's header chunk gives, which the format puts first after the signature.
bool pngSize(const unsigned char* data, size_t length, uint64_t& width, uint64_t& height, std::string& error) {
    if (length < 24 || std::memcmp(data + 12, "IHDR", 4) != 0) {
        error = "the PNG has no header chunk";
        return false;
    }
    width = bigEndian32(data + 16);
    height = bigEndian32(data + 20);
    return true;
}

// Walks the chunks after the signature: each must lie wholly inside the file, up to the end chunk.
// The PNG reader behind SDL_image does not notice a read past the end of its data: a chunk claiming
// more bytes than the file holds is inflated from stale buffers, which takes minutes on a small file.
bool pngChunksFit(const unsigned char* data, size_t length, std::string& error) {
    constexpr uint32_t kMaxChunkLength = 0x7FFFFFFFu;  // the format's own limit
    size_t at = 8;
    while (length - at >= 12) {
        const uint32_t chunkLength = bigEndian32(data + at);
        if (chunkLength > kMaxChunkLength) {
            error = "a PNG chunk claims " + std::to_string(chunkLength) + " bytes";
            return false;
        }
        if (chunkLength > length - at - 12) {
            break;
        }
        if (std::memcmp(data + at + 4, "IEND", 4) == 0) {
            return true;
        }
        at += 12 + static_cast<size_t>(chunkLength);
    }
    error = "the file ends before the PNG data does (the file is truncated)";
    return false;
}

// Refuses a size that no texture could take or whose pixels would take more memory than any picture
// of the game, before anything is allocated for it.
bool sizeIsAcceptable(uint64_t width, uint64_t height, std::string& error) {
    if (width == 0 || height == 0) {
        error = "image has no pixels";
        return false;
    }
    const uint64_t maxSide = static_cast<uint64_t>(maxSideSlot().load());
    if (width > maxSide || height > maxSide) {
        error = "its header claims " + std::to_string(width) + "x" + std::to_string(height) +
                " pixels, more than the largest texture (" + std::to_string(maxSide) + " pixels a side)";
        return false;
    }
    if (width * height * 4 > kMaxDecodedBytes) {
        error = "its header claims " + std::to_string(width) + "x" + std::to_string(height) +
                " pixels, more than " + std::to_string(kMaxDecodedBytes >> 20) + " MiB decoded";
        return false;
    }
    return true;
}

// libjpeg reports fatal errors by calling error_exit, which must not return: it jumps back into
// decodeJpeg. Warnings (damaged data it can step over) are only remembered: the end of the data
// coming early, and the first of any other.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
    char warning[JMSG_LENGTH_MAX];
    bool endedEarly;
};

void jpegErrorExit(j_common_ptr info) {
    JpegErrors* errors = reinterpret_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->escape, 1);
}

void jpegEmitMessage(j_common_ptr info, int level) {
    if (level >= 0) {
        return;  // trace messages
    }
    JpegErrors* errors = reinterpret_cast<JpegErrors*>(info->err);
    if (info->err->msg_code == JWRN_JPEG_EOF) {
        errors->endedEarly = true;
    } else if (errors->warning[0] == '\0') {
        (*info->err->format_message)(info, errors->warning);
    }
}

void cmykToRgba(unsigned char* row, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x) {
        unsigned char* p = row + static_cast<size_t>(x) * 4;
        // Adobe writes CMYK inverted (255 is no ink), as nearly every CMYK JPEG does.
        const unsigned c = inverted ? p[0] : 255u - p[0];
        const unsigned m = inverted ? p[1] : 255u - p[1];
        const unsigned y = inverted ? p[2] : 255u - p[2];
        const unsigned k = inverted ? p[3] : 255u - p[3];
        p[0] = static_cast<unsigned char>(c * k / 255);
        p[1] = static_cast<unsigned char>(m * k / 255);
        p[2] = static_cast<unsigned char>(y * k / 255);
        p[3] = 255;
    }
}

// Only plain data lives in this frame, so the jump from error_exit skips no destructor; rgba belongs
// to the caller and is only resized here.
bool decodeJpeg(const unsigned char* data, size_t length, std::vector<unsigned char>& rgba, int& width,
                int& height, std::string& error, std::string& warning) {
    jpeg_decompress_struct info;
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jpegErrorExit;
    errors.manager.emit_message = jpegEmitMessage;
    errors.message[0] = '\0';
    errors.warning[0] = '\0';
    errors.endedEarly = false;
    if (setjmp(errors.escape) != 0) {
        jpeg_destroy_decompress(&info);
        error = errors.message;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(length));
    jpeg_read_header(&info, TRUE);
    if (!sizeIsAcceptable(info.image_width, info.image_height, error)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    const bool inverted = cmyk && info.saw_Adobe_marker;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
    jpeg_start_decompress(&info);
    const size_t rowBytes = static_cast<size_t>(info.output_width) * 4;
    rgba.resize(rowBytes * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = rgba.data() + rowBytes * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
        if (cmyk) {
            cmykToRgba(row, info.output_width, inverted);
        }
    }
    // A file cut short decodes with its missing part grey; it is refused instead, as a cut PNG is.
    if (errors.endedEarly) {
        jpeg_destroy_decompress(&info);
        error = "the file ends before the JPEG data does (the file is truncated)";
        return false;
    }
    jpeg_finish_decompress(&info);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    jpeg_destroy_decompress(&info);
    // Damage that still leaves a whole picture (data that stops at an early end marker, a header
    // claiming more rows than the data holds: the rest comes out grey) is shown, with its reason.
    warning = errors.warning;
    return true;
}

bool decodePng(const unsigned char* data, size_t length, std::vector<unsigned char>& rgba, int& width,
               int& height, std::string& error) {
    uint64_t claimedWidth = 0;
    uint64_t claimedHeight = 0;
    if (!pngSize(data, length, claimedWidth, claimedHeight, error) ||
        !sizeIsAcceptable(claimedWidth, claimedHeight, error) || !pngChunksFit(data, length, error)) {
        return false;
    }
    ensureImageLibrary();
    SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(length));
    if (!rw) {
        error = SDL_GetError();
        return false;
    }
    SurfacePtr loaded(IMG_LoadTyped_RW(rw, 1, "PNG"));
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

}  // namespace

void setMaxTextureSide(int pixels) {
    maxSideSlot().store(pixels > 0 ? pixels : kDefaultMaxSide);
}

int maxTextureSide() {
    return maxSideSlot().load();
}

bool decode(const unsigned char* data, size_t length, std::vector<unsigned char>& rgba, int& width, int& height,
            std::string& error, std::string* warning) {
    if (!data || length == 0) {
        error = "empty file";
        return false;
    }
    if (length > static_cast<size_t>(std::numeric_limits<int>::max())) {
        error = "file too large";
        return false;
    }
    std::vector<unsigned char> pixels;
    int decodedWidth = 0;
    int decodedHeight = 0;
    std::string damage;
    bool ok = false;
    if (isPng(data, length)) {
        ok = decodePng(data, length, pixels, decodedWidth, decodedHeight, error);
    } else if (isJpeg(data, length)) {
        ok = decodeJpeg(data, length, pixels, decodedWidth, decodedHeight, error, damage);
    } else {
        error = "not a PNG or JPEG image";
    }
    if (!ok) {
        return false;
    }
    rgba.swap(pixels);
    width = decodedWidth;
    height = decodedHeight;
    if (warning != nullptr) {
        *warning = damage;
    }
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
