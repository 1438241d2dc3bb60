#pragma once

#include <cstdint>
#include <string>

#include "UserData.h"

namespace Core {
class CInputStream;
}

// The version every save file starts with.
inline constexpr int32_t kSaveFormatVersion = 3;

// Reads a whole save file, version first, into out. Written for hostile bytes: false, with one log
// line naming source and the reason and out untouched, when it is empty, the version is not 3, the
// data ends inside the store, holds a negative count or a count or length larger than what is left,
// or goes on after the store's last record.
bool parseSaveFile(Core::CInputStream& in, UserData& out, const char* source);

// The same without the log line: "" when out was filled, else why not, worded to follow the file's
// name ("is empty", "has version 2, not 3", "is damaged: a count is negative").
std::string readSaveFile(Core::CInputStream& in, UserData& out);
