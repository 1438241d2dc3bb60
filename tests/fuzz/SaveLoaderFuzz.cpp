// Any bytes as a save file: the parser must refuse or accept them without crashing, hanging or
// allocating without bound, and whatever it accepts must save and parse back as accepted.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "engine/base/Log.h"

#include "CMemoryInputStream.h"
#include "CMemoryOutputStream.h"
#include "SaveFileParser.h"
#include "UserData.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    cocos2d::setLogSink([](cocos2d::LogLevel, const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Core::CMemoryInputStream in(data, size);
    UserData store;
    if (!parseSaveFile(in, store, "fuzz")) {
        return 0;
    }
    auto out = std::make_shared<Core::CMemoryOutputStream>();
    out->writeInt32(kSaveFormatVersion);
    store.write(out);
    Core::CMemoryInputStream again(out->bytes().data(), out->bytes().size());
    UserData reread;
    if (!parseSaveFile(again, reread, "fuzz again") || reread.profiles.size() != store.profiles.size()) {
        std::abort();
    }
    return 0;
}
