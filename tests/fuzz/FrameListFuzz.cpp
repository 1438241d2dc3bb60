// Any bytes as a frame list, read as an XML atlas and as a property list by the sprite-frame cache:
// frames are added or refused, and every frame added lies inside its texture.

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/scene/SpriteFrameCache.h"

#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::startEngine();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Both names sit in a folder of the staged tree, so a list that names a real sheet's image finds it.
    for (const char* name : {"ui/Game/fuzz_atlas.xml", "ui/Game/fuzz.plist"}) {
        fuzzsupport::writeResource(name, data, size);
        cocos2d::SpriteFrameCache* cache = cocos2d::SpriteFrameCache::getInstance();
        cache->addSpriteFramesWithFile(name);
        cache->addSpriteFramesWithFile(name, "ui/Game/game_backdrop.jpg");
        cache->getSpriteFrameByName("a");
        cocos2d::SpriteFrameCache::destroyInstance();
        fuzzsupport::removeResource(name);
    }
    fuzzsupport::stepFrames(1);
    return 0;
}
