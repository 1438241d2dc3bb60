#include "WideString.h"

std::u16string widen(const std::string& text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (const char c : text) {
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    }
    return wide;
}

std::string narrow(const std::u16string& text) {
    std::string result;
    result.reserve(text.size());
    for (const char16_t unit : text) {
        result.push_back(static_cast<char>(static_cast<unsigned char>(unit & 0xFF)));
    }
    return result;
}
