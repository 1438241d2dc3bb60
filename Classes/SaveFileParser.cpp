#include "SaveFileParser.h"

#include <cinttypes>
#include <memory>

#include "engine/base/Log.h"

#include "CInputStream.h"

bool parseSaveFile(Core::CInputStream& in, UserData& out, const char* source) {
    const int32_t version = in.readInt32();
    if (in.failed() || version != kSaveFormatVersion) {
        cocos2d::logAt(cocos2d::LogLevel::Warning, "UserDataIO: \"%s\" has version %" PRId32 ", not %" PRId32,
                       source, version, kSaveFormatVersion);
        return false;
    }
    // The serialisers share their stream; this pointer borrows the caller's.
    const std::shared_ptr<Core::CInputStream> shared(&in, [](Core::CInputStream*) {});
    UserData parsed;
    parsed.read(shared);
    if (in.failed()) {
        cocos2d::logAt(cocos2d::LogLevel::Warning,
                       "UserDataIO: \"%s\" is damaged: a count or length runs past its end", source);
        return false;
    }
    out = std::move(parsed);
    return true;
}
