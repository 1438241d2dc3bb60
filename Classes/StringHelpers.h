#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Small helpers on byte strings; no character encoding is assumed.

// Decimal text, a leading '-' for negatives.
std::string intToString(int value);

// The pieces of text between occurrences of delimiter, at most maxSplits + 1 of them (a negative
// maxSplits has no limit, 0 gives no piece at all). Empty pieces are kept. An empty delimiter
// splits nothing: the whole text is the one piece.
std::vector<std::string> splitString(std::string text, std::string delimiter, int maxSplits);

// text without a leading prefix, or text itself when it does not begin with prefix. The third
// argument is not read.
std::string removePrefix(const std::string& text, const std::string& prefix, const std::string& third);

// A copy with the ASCII letters A to Z made lower case; every other byte, those above 127 included,
// is unchanged whatever the process locale.
std::string toLowerCase(const std::string& text);

// The numbers at the start of a text, read as the C conversions atoi and atof read them (leading
// white space, one optional sign, then as many characters as form a number) but whatever the
// process locale and without undefined overflow. Text that does not start with a number gives 0.

// A decimal integer, clamped to the int64 range.
int64_t leadingInteger(std::string_view text);
// The same clamped to the int32 range.
int32_t leadingInt32(std::string_view text);
// A decimal number with an optional fraction and exponent, or "inf" / "nan"; beyond the double
// range it is infinite with its sign, as strtod gives it, and below it 0.
double leadingDecimal(std::string_view text);
