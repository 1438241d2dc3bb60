#include "FrameWaits.h"

#include <cxxabi.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include <gtest/gtest.h>

#include "Driver.h"
#include "WaitFor.h"
#include "engine/base/Director.h"
#include "engine/renderer/TextureCache.h"

namespace testing {

namespace {

size_t picturesPending() {
    cocos2d::TextureCache* cache = cocos2d::Director::getInstance()->getTextureCache();
    return cache != nullptr ? cache->pendingAsyncLoads() : 0;
}

bool awaitPicturesOnTheWayTo(const std::string& what) {
    std::string awaited = "the decoder thread to hand over every picture it was given";
    if (!what.empty()) {
        awaited += " (on the way to " + what + ")";
    }
    return waitFor(
        awaited, [] { return picturesPending() == 0; }, [] { Driver::get().idleFrame(); });
}

}  // namespace

bool awaitPictures() {
    return awaitPicturesOnTheWayTo("");
}

bool settleFrames(int frames) {
    for (int stepped = 0; stepped < frames; ++stepped) {
        if (!awaitPictures()) {
            return false;
        }
        Driver::get().stepFrames(1);
    }
    return true;
}

bool stepUntil(const std::string& what, const std::function<bool()>& done, float gameSeconds) {
    const long frames = std::lround(gameSeconds * 60.0f);
    for (long stepped = 0; !done();) {
        if (picturesPending() > 0) {
            if (!awaitPicturesOnTheWayTo(what)) {
                return false;
            }
            continue;
        }
        if (stepped == frames) {
            ADD_FAILURE() << "gave up after " << gameSeconds << " s of game time waiting for " << what;
            return false;
        }
        Driver::get().stepFrames(1);
        ++stepped;
    }
    return true;
}

std::string typeName(const char* mangled) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> readable(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                    std::free);
    return status == 0 && readable ? std::string(readable.get()) : std::string(mangled);
}

}  // namespace testing
