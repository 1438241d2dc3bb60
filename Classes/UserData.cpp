#include "UserData.h"

#include "CInputStream.h"
#include "COutputStream.h"

UserData& UserData::getInstance() {
    static UserData store;
    return store;
}

void UserData::write(const std::shared_ptr<Core::COutputStream>& out) const {
    out->writeCount(profiles.size());
    for (const auto& [key, profile] : profiles) {
        profile.write(out);
    }
    out->writeWString(currentUserName);
}

void UserData::read(const std::shared_ptr<Core::CInputStream>& in) {
    profiles.clear();
    const int32_t count = in->readCount(Profile::kMinSavedBytes);
    for (int32_t i = 0; i < count && !in->failed(); ++i) {
        Profile profile;
        profile.read(in);
        std::u16string key = profile.name;
        profiles[std::move(key)] = std::move(profile);
    }
    in->readWString(currentUserName);
}
