#include "2d/Utf8.h"

namespace cocos2d {
namespace utf8 {
namespace {

const char kReplacement[] = "\xEF\xBF\xBD";

// Length of the well-formed sequence at `pos`, or 0.
size_t wellFormedLength(const std::string& text, size_t pos) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    const size_t left = text.size() - pos;
    if (lead >= 0x01 && lead <= 0x7F) {
        return 1;
    }
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) {
            low = 0xA0;  // no overlong forms
        } else if (lead == 0xED) {
            high = 0x9F;  // no surrogates
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) {
            low = 0x90;
        } else if (lead == 0xF4) {
            high = 0x8F;  // nothing past U+10FFFF
        }
    } else {
        return 0;
    }
    if (left < length) {
        return 0;
    }
    const unsigned char second = byte(pos + 1);
    if (second < low || second > high) {
        return 0;
    }
    for (size_t i = 2; i < length; ++i) {
        const unsigned char c = byte(pos + i);
        if (c < 0x80 || c > 0xBF) {
            return 0;
        }
    }
    return length;
}

}  // namespace

std::string sanitize(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t length = wellFormedLength(text, pos);
        if (length == 0) {
            out += kReplacement;
            ++pos;
        } else {
            out.append(text, pos, length);
            pos += length;
        }
    }
    return out;
}

size_t sequenceLength(const std::string& text, size_t pos) {
    if (pos >= text.size()) {
        return 1;
    }
    const unsigned char lead = static_cast<unsigned char>(text[pos]);
    size_t length = 1;
    if (lead >= 0xF0) {
        length = 4;
    } else if (lead >= 0xE0) {
        length = 3;
    } else if (lead >= 0xC0) {
        length = 2;
    }
    return pos + length > text.size() ? text.size() - pos : length;
}

}  // namespace utf8
}  // namespace cocos2d
