#include "PackCountry.h"

#include "CInputStream.h"
#include "COutputStream.h"

void PackCountry::write(const std::shared_ptr<Core::COutputStream>& out) const {
    out->writeString(path);
    out->writeCount(pictures.size());
    for (const PackPicture& picture : pictures) {
        picture.write(out);
    }
    out->writeInt32(unlockOrder);
}

void PackCountry::read(const std::shared_ptr<Core::CInputStream>& in) {
    in->readString(path);
    pictures.clear();
    const int32_t count = in->readCount(PackPicture::kMinSavedBytes);
    for (int32_t i = 0; i < count && !in->failed(); ++i) {
        pictures.emplace_back().read(in);
    }
    unlockOrder = in->readInt32();
}
