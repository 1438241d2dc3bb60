#pragma once

#include <functional>
#include <string>

namespace cocos2d {

enum class LogLevel { Debug = 0, Info = 1, Warning = 2, Error = 3 };

// One entry per call, printf format. A single trailing "\n" ends the entry and is not doubled.
void log(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The same at an explicit level; the engine's own problem reports use Warning or Error.
void logAt(LogLevel level, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The sink receives each finished entry without its trailing newline. An empty function restores
// the default sink (stderr). Tests install their own to assert on the lines a bad input produces.
using LogSink = std::function<void(LogLevel level, const std::string& line)>;
void setLogSink(LogSink sink);

}  // namespace cocos2d
