#pragma once

#include <string>

namespace cocos2d {
namespace StringUtils {

// printf formatting into a string of any length.
std::string format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace StringUtils
}  // namespace cocos2d
