#pragma once

#include <string>

// piece, times times over: the deep and long inputs of the readers' tests.
inline std::string repeated(const std::string& piece, int times) {
    std::string text;
    text.reserve(piece.size() * static_cast<size_t>(times > 0 ? times : 0));
    for (int i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}
