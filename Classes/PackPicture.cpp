#include "PackPicture.h"

#include "CInputStream.h"
#include "COutputStream.h"

void PackPicture::write(const std::shared_ptr<Core::COutputStream>& out) const {
    out->writeString(authorId);
    out->writeString(evidence);
    out->writeString(path);
    out->writeFloat(itemChance);
    out->writeString(museumId);
    out->writeString(possibleItems);
    out->writeInt32(coins);
    out->writeInt32(unlockOrder);
    out->writeString(year);
}

void PackPicture::read(const std::shared_ptr<Core::CInputStream>& in) {
    in->readString(authorId);
    in->readString(evidence);
    in->readString(path);
    itemChance = in->readFloat();
    in->readString(museumId);
    in->readString(possibleItems);
    coins = in->readInt32();
    unlockOrder = in->readInt32();
    in->readString(year);
}
