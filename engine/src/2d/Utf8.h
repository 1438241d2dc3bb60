#pragma once

#include <cstddef>
#include <string>

namespace cocos2d {
namespace utf8 {

// The text as valid UTF-8: every byte that does not start a well-formed sequence (overlong forms,
// surrogates and values past U+10FFFF included) and every NUL becomes U+FFFD.
std::string sanitize(const std::string& text);

// Byte length of the code point starting at `pos` of valid UTF-8 (what is left of a truncated one).
size_t sequenceLength(const std::string& text, size_t pos);

}  // namespace utf8
}  // namespace cocos2d
