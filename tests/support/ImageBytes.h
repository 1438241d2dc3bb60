#pragma once

// Image files made in the test from a few bytes, so that no large or damaged picture is kept in the
// repository: small real PNGs and JPEGs written by the engine's own encoder, and copies whose header
// claims another size than the pixels they hold.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/renderer/Image.h"

namespace imagebytes {

using Bytes = std::vector<uint8_t>;

// A width x height picture of busy pixels (so that its JPEG holds plenty of coded data), encoded by the
// engine as the path's extension says.
inline Bytes encoded(int width, int height, const std::string& extension) {
    std::vector<unsigned char> rgba(static_cast<size_t>(width) * height * 4);
    uint32_t state = 12345;
    for (size_t i = 0; i < rgba.size(); ++i) {
        state = state * 1103515245u + 12345u;
        rgba[i] = (i % 4 == 3) ? 255 : static_cast<unsigned char>(state >> 24);
    }
    cocos2d::Image image;
    image.initWithRawData(rgba.data(), rgba.size(), width, height, false);
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("kestrova-image-" + std::to_string(::getpid()) + extension);
    image.saveToFile(path.string(), extension == ".jpg");
    std::ifstream file(path, std::ios::binary);
    Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return bytes;
}

inline Bytes jpeg(int width, int height) {
    return encoded(width, height, ".jpg");
}

inline Bytes png(int width, int height) {
    return encoded(width, height, ".png");
}

// A 16 x 16 JPEG whose frame header says width x height (each at most 65535).
inline Bytes jpegClaiming(int width, int height) {
    Bytes bytes = jpeg(16, 16);
    for (size_t i = 2; i + 9 < bytes.size(); ++i) {
        // The baseline frame header: FF C0, its length (2), the sample precision (1), height, width.
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
            bytes[i + 5] = static_cast<uint8_t>(height >> 8);
            bytes[i + 6] = static_cast<uint8_t>(height & 0xFF);
            bytes[i + 7] = static_cast<uint8_t>(width >> 8);
            bytes[i + 8] = static_cast<uint8_t>(width & 0xFF);
            break;
        }
    }
    return bytes;
}

inline uint32_t crc32(const uint8_t* data, size_t length) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

inline void putBigEndian(Bytes& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (24 - 8 * i));
    }
}

// A 16 x 16 PNG whose header chunk says width x height, with that chunk's checksum made right, so
// that only the size is wrong.
inline Bytes pngClaiming(uint32_t width, uint32_t height) {
    Bytes bytes = png(16, 16);
    putBigEndian(bytes, 16, width);
    putBigEndian(bytes, 20, height);
    putBigEndian(bytes, 29, crc32(bytes.data() + 12, 17));
    return bytes;
}

// A copy of a PNG whose first data chunk claims `length` bytes; the bytes themselves are unchanged.
inline Bytes withDataChunkLength(Bytes bytes, uint32_t length) {
    for (size_t at = 8; at + 8 <= bytes.size();) {
        const uint32_t chunk = (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) |
                               (uint32_t{bytes[at + 2]} << 8) | uint32_t{bytes[at + 3]};
        if (bytes[at + 4] == 'I' && bytes[at + 5] == 'D' && bytes[at + 6] == 'A' && bytes[at + 7] == 'T') {
            putBigEndian(bytes, at, length);
            break;
        }
        at += 12 + static_cast<size_t>(chunk);
    }
    return bytes;
}

inline void write(const std::filesystem::path& path, const Bytes& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace imagebytes
