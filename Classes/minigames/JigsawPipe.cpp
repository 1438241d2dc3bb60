#include "minigames/JigsawPipe.h"

#include <new>

JigsawPipe* JigsawPipe::create() {
    auto* pipe = new (std::nothrow) JigsawPipe();
    if (pipe != nullptr && pipe->init()) {
        pipe->autorelease();
        return pipe;
    }
    delete pipe;
    return nullptr;
}
