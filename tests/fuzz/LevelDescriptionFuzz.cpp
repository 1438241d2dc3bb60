// Any bytes as a level's description, in a real level folder: the level builds its picture, items and
// shadows or stays empty, and cleans up after itself.

#include <cstddef>
#include <cstdint>

#include "engine/base/RefPtr.h"
#include "engine/scene/Node.h"

#include "FuzzSupport.h"
#include "nodes/LevelNode.h"
#include "ui/JsonDocumentCache.h"

namespace {

constexpr const char* kFolder = "Scenes/Netherlands/TulipFields";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::startEngine();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzsupport::writeResource(std::string(kFolder) + "/ccnode.json", data, size);
    JsonDocumentCache::getInstance().clear();
    cocos2d::RefPtr<cocos2d::Node> parent(cocos2d::Node::create());
    if (NodeLevel* level = NodeLevel::create()) {
        level->initWithLevel(parent.get(), kFolder, 0, 1);
        level->nextZOrder(true);
        level->cleanup();
        level->removeFromParent();
    }
    fuzzsupport::stepFrames(1);
    return 0;
}
