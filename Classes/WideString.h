#pragma once

#include <string>

// Player names are 16-bit units. Narrow text becomes one unit per byte, zero-extended, so a byte
// above 127 survives a save and a reload; back again each unit keeps its low 8 bits.
std::u16string widen(const std::string& text);
std::string narrow(const std::u16string& text);
