// Any bytes as a particle file: the system is made or refused, and a made one runs its first second.

#include <cstddef>
#include <cstdint>

#include "engine/2d/ParticleSystemQuad.h"
#include "engine/base/RefPtr.h"

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::startEngine();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // In the particles folder, so that a file naming one of the game's particle images finds it.
    fuzzsupport::writeResource("particles/fuzz.plist", data, size);
    cocos2d::RefPtr<cocos2d::ParticleSystemQuad> system(cocos2d::ParticleSystemQuad::create("particles/fuzz.plist"));
    if (system) {
        for (int i = 0; i < 30; ++i) {
            system->update(1.0f / 30.0f);
        }
    }
    fuzzsupport::stepFrames(1);
    return 0;
}
