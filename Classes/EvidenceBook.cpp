#include "EvidenceBook.h"

#include "CInputStream.h"
#include "COutputStream.h"

namespace {
constexpr uint32_t kMinNameBytes = 1;
constexpr uint32_t kMinEntryBytes = 6;
}  // namespace

void EvidenceBook::write(const std::shared_ptr<Core::COutputStream>& out) const {
    out->writeCount(reservedNames.size());
    for (const std::string& name : reservedNames) {
        out->writeString(name);
    }
    out->writeCount(entries.size());
    for (const auto& [key, entry] : entries) {
        out->writeString(key);
        out->writeString(entry.name);
        out->writeInt32(entry.state);
    }
}

void EvidenceBook::read(const std::shared_ptr<Core::CInputStream>& in) {
    reservedNames.clear();
    const int32_t nameCount = in->readCount(kMinNameBytes);
    for (int32_t i = 0; i < nameCount && !in->failed(); ++i) {
        in->readString(reservedNames.emplace_back());
    }
    entries.clear();
    const int32_t entryCount = in->readCount(kMinEntryBytes);
    for (int32_t i = 0; i < entryCount && !in->failed(); ++i) {
        std::string key;
        EvidenceEntry entry;
        in->readString(key);
        in->readString(entry.name);
        entry.state = in->readInt32();
        entries[key] = std::move(entry);
    }
}
