#include "StringHelpers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <system_error>

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

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Past the leading white space and one '+', which the C conversions accept and from_chars does not.
// A '+' followed by a '-' is no number for the C conversions either, so it stays.
const char* skipNumberPrefix(const char* first, const char* last) {
    while (first != last && isSpace(*first)) {
        ++first;
    }
    if (first != last && *first == '+' && first + 1 != last && *(first + 1) != '-') {
        ++first;
    }
    return first;
}

}  // namespace

int64_t leadingInteger(std::string_view text) {
    const char* last = text.data() + text.size();
    const char* first = skipNumberPrefix(text.data(), last);
    int64_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range) {
        return *first == '-' ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
    }
    return error == std::errc() ? value : 0;
}

int32_t leadingInt32(std::string_view text) {
    const int64_t value = leadingInteger(text);
    if (value > std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value < std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}

double leadingDecimal(std::string_view text) {
    const char* last = text.data() + text.size();
    const char* first = skipNumberPrefix(text.data(), last);
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a double: which one the exponent's sign tells.
        bool negativeExponent = false;
        for (const char* c = first; c != end; ++c) {
            if ((*c == 'e' || *c == 'E') && c + 1 != end && *(c + 1) == '-') {
                negativeExponent = true;
            }
        }
        const double magnitude = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
        return *first == '-' ? -magnitude : magnitude;
    }
    return error == std::errc() ? value : 0.0;
}
