#pragma once

#include <cstdint>

#include "UserData.h"

namespace Core {
class CInputStream;
}

// The version every save file starts with.
inline constexpr int32_t kSaveFormatVersion = 3;

// Reads a whole save file, version first, into out. Written for hostile bytes: false, with one log
// line naming source and out untouched, when the version is not 3 or the data ends inside the store
// or holds a count or length larger than what is left.
bool parseSaveFile(Core::CInputStream& in, UserData& out, const char* source);
