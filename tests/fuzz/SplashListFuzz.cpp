// Any bytes as the splash list: the splash screen builds its images or none, and its first frames run.

#include <cstddef>
#include <cstdint>

#include "engine/base/RefPtr.h"

#include "FuzzSupport.h"
#include "ui/SplashScreen.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::startEngine();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzsupport::writeResource(SplashScreen::kSplashListPath, data, size);
    cocos2d::RefPtr<SplashScreen> screen(SplashScreen::create());
    // Its own update steps the show through the images' times (a list with none leaves at once for
    // the loading screen, which is not what is fuzzed here).
    if (screen && !screen->getEntries().empty()) {
        screen->update(0.25f);
        screen->update(0.25f);
    }
    fuzzsupport::stepFrames(1);
    return 0;
}
