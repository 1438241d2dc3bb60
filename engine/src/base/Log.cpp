#include "engine/base/Log.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <utility>
#include <vector>

namespace cocos2d {
namespace {

std::mutex& sinkMutex() {
    static std::mutex m;
    return m;
}

LogSink& currentSink() {
    static LogSink sink;
    return sink;
}

std::string formatEntry(const char* format, va_list args) {
    if (format == nullptr) {
        return {};
    }
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed <= 0) {
        return {};
    }
    std::vector<char> buffer(static_cast<size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    std::string line(buffer.data(), static_cast<size_t>(needed));
    if (!line.empty() && line.back() == '\n') {
        line.pop_back();
    }
    return line;
}

void emit(LogLevel level, std::string line) {
    std::lock_guard<std::mutex> lock(sinkMutex());
    if (currentSink()) {
        currentSink()(level, line);
        return;
    }
    line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), stderr);
}

}  // namespace

void log(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string line = formatEntry(format, args);
    va_end(args);
    emit(LogLevel::Info, std::move(line));
}

void logAt(LogLevel level, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string line = formatEntry(format, args);
    va_end(args);
    emit(level, std::move(line));
}

void setLogSink(LogSink sink) {
    std::lock_guard<std::mutex> lock(sinkMutex());
    currentSink() = std::move(sink);
}

}  // namespace cocos2d
