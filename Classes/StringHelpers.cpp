#include "StringHelpers.h"

#include <cstdio>

std::string intToString(int value) {
    char buffer[100];
    std::snprintf(buffer, sizeof(buffer), "%d", value);
    return buffer;
}

std::vector<std::string> splitString(std::string text, std::string delimiter, int maxSplits) {
    std::vector<std::string> pieces;
    if (maxSplits == 0) {
        return pieces;
    }
    if (delimiter.empty()) {
        pieces.push_back(std::move(text));
        return pieces;
    }
    size_t start = 0;
    int splitsLeft = maxSplits;
    size_t found = text.find(delimiter, start);
    while (found != std::string::npos && (maxSplits < 0 || splitsLeft > 0)) {
        pieces.push_back(text.substr(start, found - start));
        start = found + delimiter.size();
        --splitsLeft;
        found = text.find(delimiter, start);
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

std::string removePrefix(const std::string& text, const std::string& prefix, const std::string&) {
    if (text.compare(0, prefix.size(), prefix) == 0) {
        return text.substr(prefix.size());
    }
    return text;
}

std::string toLowerCase(const std::string& text) {
    std::string lower = text;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}
