// Any bytes as a UI description: the loader builds a tree or nothing, its preload walk names files or
// nothing, and a slide of the slideshow built from it shows or stays empty.

#include <cstddef>
#include <cstdint>
#include <new>

#include "engine/base/RefPtr.h"
#include "engine/scene/Node.h"

#include "FuzzSupport.h"
#include "ui/IntroScene.h"
#include "ui/JsonDocumentCache.h"
#include "ui/NodeFromJson.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::startEngine();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // In a real folder of the staged tree, so that the sheets and images the input names are found.
    fuzzsupport::writeResource("ui/Gallery/ccnode.json", data, size);
    JsonDocumentCache::getInstance().clear();
    {
        NodeFromJson loader("ui/Gallery");
        cocos2d::RefPtr<cocos2d::Node> all(loader.createNode(""));
        cocos2d::RefPtr<cocos2d::Node> one(loader.createNode("Bubbles"));
        NodeFromJson::collectTextures("ui/Gallery");
    }
    fuzzsupport::removeResource("ui/Gallery/ccnode.json");

    fuzzsupport::writeResource("intro/frame1/ccnode.json", data, size);
    JsonDocumentCache::getInstance().clear();
    if (auto* slide = new (std::nothrow) IntroLayer("intro/frame1")) {
        slide->init();
        slide->releaseTextures();
        slide->release();
    }
    fuzzsupport::removeResource("intro/frame1/ccnode.json");
    fuzzsupport::stepFrames(1);
    return 0;
}
