#include "PackInfo.h"

#include "CInputStream.h"
#include "COutputStream.h"

namespace {
constexpr uint32_t kMinMessageBytes = 3;
}

void PackInfo::write(const std::shared_ptr<Core::COutputStream>& out) const {
    out->writeCount(countries.size());
    for (const PackCountry& country : countries) {
        country.write(out);
    }
    out->writeString(reservedName);
    out->writeCount(messages.size());
    for (const PackMessage& message : messages) {
        out->writeString(message.messageId);
        out->writeString(message.speakerId);
        out->writeString(message.toCountryId);
    }
    out->writeString(packVersion);
}

void PackInfo::read(const std::shared_ptr<Core::CInputStream>& in) {
    countries.clear();
    const int32_t countryCount = in->readCount(PackCountry::kMinSavedBytes);
    for (int32_t i = 0; i < countryCount && !in->failed(); ++i) {
        countries.emplace_back().read(in);
    }
    in->readString(reservedName);
    messages.clear();
    const int32_t messageCount = in->readCount(kMinMessageBytes);
    for (int32_t i = 0; i < messageCount && !in->failed(); ++i) {
        PackMessage& message = messages.emplace_back();
        in->readString(message.messageId);
        in->readString(message.speakerId);
        in->readString(message.toCountryId);
    }
    in->readString(packVersion);
}
