#include "SaveFileParser.h"

#include <memory>
#include <string>

#include "engine/base/Log.h"

#include "CInputStream.h"

std::string readSaveFile(Core::CInputStream& in, UserData& out) {
    if (in.bytesLeft() == 0) {
        return "is empty";
    }
    const int32_t version = in.readInt32();
    if (in.failed()) {
        return std::string("is damaged: ") + in.failureReason();
    }
    if (version != kSaveFormatVersion) {
        return "has version " + std::to_string(version) + ", not " + std::to_string(kSaveFormatVersion);
    }
    // The serialisers share their stream; this pointer borrows the caller's.
    const std::shared_ptr<Core::CInputStream> shared(&in, [](Core::CInputStream*) {});
    UserData parsed;
    parsed.read(shared);
    if (in.failed()) {
        return std::string("is damaged: ") + in.failureReason();
    }
    // Saves write the store and nothing after it, so bytes beyond its end mean that a count before
    // them was damaged and the records read are not the ones written.
    if (in.bytesLeft() > 0) {
        return "is damaged: " + std::to_string(in.bytesLeft()) + " bytes follow its last record";
    }
    out = std::move(parsed);
    return {};
}

bool parseSaveFile(Core::CInputStream& in, UserData& out, const char* source) {
    const std::string problem = readSaveFile(in, out);
    if (!problem.empty()) {
        cocos2d::logAt(cocos2d::LogLevel::Warning, "UserDataIO: \"%s\" %s", source, problem.c_str());
        return false;
    }
    return true;
}
