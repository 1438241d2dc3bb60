#include "MinigameLevel.h"

#include "CInputStream.h"
#include "COutputStream.h"

void MinigameLevel::write(const std::shared_ptr<Core::COutputStream>& out) const {
    out->writeInt32(kind);
    out->writeInt32(level);
}

void MinigameLevel::read(const std::shared_ptr<Core::CInputStream>& in) {
    kind = in->readInt32();
    level = in->readInt32();
}
