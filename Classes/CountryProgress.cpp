#include "CountryProgress.h"

#include "CInputStream.h"
#include "COutputStream.h"

void CountryProgress::write(const std::shared_ptr<Core::COutputStream>& out) const {
    out->writeString(name);
    out->writeInt32(collectionPrice);
    out->writeString(path);
    out->writeInt32(listPosition);
    out->writeInt32(state);
}

void CountryProgress::read(const std::shared_ptr<Core::CInputStream>& in) {
    in->readString(name);
    collectionPrice = in->readInt32();
    in->readString(path);
    listPosition = in->readInt32();
    state = in->readInt32();
}
