#include "ProgressQueries.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "CountryProgress.h"
#include "EvidenceBook.h"
#include "PictureProgress.h"
#include "Profile.h"
#include "Settings.h"
#include "StringHelpers.h"

namespace {

constexpr size_t kAllEvidenceCount = 13;
constexpr float kCollectionPriceRate = 0.99f;

Profile& currentProfile() {
    return Settings::getInstance().getCurrentUser();
}

CountryProgress* findCountryRecord(const std::string& countryPath) {
    auto& countries = currentProfile().world.countries;
    const auto found = countries.find(countryPath);
    return found != countries.end() ? &found->second : nullptr;
}

PictureProgress* findPictureRecord(const std::string& picturePath) {
    auto& pictures = currentProfile().world.pictures;
    const auto found = pictures.find(picturePath);
    return found != pictures.end() ? &found->second : nullptr;
}

// Money and counters come from save files that may have been edited; they stop at the int32 limits
// instead of overflowing.
int32_t saturatingAdd(int32_t a, int32_t b) {
    const int64_t sum = static_cast<int64_t>(a) + b;
    return static_cast<int32_t>(
        std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// The version number at the start of a pack's version text; versions that hold none compare equal.
int64_t versionNumber(const PackInfo& pack) {
    return leadingInteger(pack.packVersion);
}

// The profile's packs from the newest version to the oldest. A new version of a pack is appended
// after the one the player began with, so of two equal version numbers the later pack is newer.
std::vector<PackInfo*> packsNewestFirst() {
    std::vector<PackInfo*> packs;
    for (PackInfo& pack : currentProfile().packs) {
        packs.push_back(&pack);
    }
    std::stable_sort(packs.begin(), packs.end(), [](const PackInfo* a, const PackInfo* b) {
        return versionNumber(*a) < versionNumber(*b);
    });
    std::reverse(packs.begin(), packs.end());
    return packs;
}

// Calls visit(pack, country) for each country as the newest pack version that lists it describes
// it, newest packs first, until it returns true. A country only an older version lists is still
// visited, so nothing the player reached disappears with a new version.
template <typename Visit>
void forEachPackCountry(Visit visit) {
    std::vector<const std::string*> seen;
    for (PackInfo* pack : packsNewestFirst()) {
        for (PackCountry& country : pack->countries) {
            const bool known = std::any_of(seen.begin(), seen.end(),
                                           [&](const std::string* path) { return *path == country.path; });
            if (known) {
                continue;
            }
            seen.push_back(&country.path);
            if (visit(*pack, country)) {
                return;
            }
        }
    }
}

// Calls visit(country, picture) for every picture of those countries in order until it returns
// true.
template <typename Visit>
void forEachPackPicture(Visit visit) {
    forEachPackCountry([&](PackInfo&, PackCountry& country) {
        for (PackPicture& picture : country.pictures) {
            if (visit(country, picture)) {
                return true;
            }
        }
        return false;
    });
}

}  // namespace

PackCountry* findPackCountry(const std::string& countryPath) {
    PackCountry* found = nullptr;
    forEachPackCountry([&](PackInfo&, PackCountry& country) {
        found = country.path == countryPath ? &country : nullptr;
        return found != nullptr;
    });
    return found;
}

PackInfo* findPackOfCountry(const std::string& countryPath) {
    PackInfo* found = nullptr;
    forEachPackCountry([&](PackInfo& pack, PackCountry& country) {
        found = country.path == countryPath ? &pack : nullptr;
        return found != nullptr;
    });
    return found;
}

PackPicture* findPackPicture(const PictureKey& key) {
    // The newest version that lists the picture in that country: a picture a new version dropped
    // keeps the description the player played it with.
    for (PackInfo* pack : packsNewestFirst()) {
        for (PackCountry& country : pack->countries) {
            if (country.path != key.country) {
                continue;
            }
            for (PackPicture& picture : country.pictures) {
                if (picture.path == key.picture) {
                    return &picture;
                }
            }
        }
    }
    return nullptr;
}

int32_t getCountryUnlockOrder(const std::string& countryPath) {
    const PackCountry* country = findPackCountry(countryPath);
    return country != nullptr ? country->unlockOrder : -1;
}

int32_t getPictureUnlockOrder(const std::string& picturePath) {
    int32_t order = -1;
    bool found = false;
    forEachPackPicture([&](PackCountry&, PackPicture& picture) {
        found = picture.path == picturePath;
        order = found ? picture.unlockOrder : order;
        return found;
    });
    if (found) {
        return order;
    }
    // A picture a new version dropped keeps the place it had in the chain.
    for (PackInfo* pack : packsNewestFirst()) {
        for (const PackCountry& country : pack->countries) {
            for (const PackPicture& picture : country.pictures) {
                if (picture.path == picturePath) {
                    return picture.unlockOrder;
                }
            }
        }
    }
    return -1;
}

PackMessage* getProgressMessage(const std::string& countryPath, int32_t index) {
    PackInfo* pack = findPackOfCountry(countryPath);
    if (pack == nullptr || index < 0 || static_cast<size_t>(index) >= pack->messages.size()) {
        return nullptr;
    }
    return &pack->messages[static_cast<size_t>(index)];
}

int32_t getCollectionPrice(const std::string& countryPath) {
    const PackCountry* country = findPackCountry(countryPath);
    if (country == nullptr) {
        return 0;
    }
    // Summed wide and clamped: coins come from content files, and an int32 overflow or an
    // out-of-range float conversion would be undefined.
    int64_t sum = 0;
    for (const PackPicture& picture : country->pictures) {
        sum += picture.coins;
    }
    const float price = static_cast<float>(sum) * kCollectionPriceRate;
    constexpr float kLowest = static_cast<float>(std::numeric_limits<int32_t>::min());
    constexpr float kAboveHighest = 2147483648.0f;
    if (!(price > kLowest)) {
        return std::numeric_limits<int32_t>::min();
    }
    if (price >= kAboveHighest) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(price);
}

int32_t getCountryState(const std::string& countryPath) {
    const CountryProgress* record = findCountryRecord(countryPath);
    return record != nullptr ? record->state : -1;
}

bool isCountryLocked(const std::string& countryPath) {
    const CountryProgress* record = findCountryRecord(countryPath);
    return record != nullptr && record->state < 0;
}

bool isCountryCompleted(const std::string& countryPath) {
    const CountryProgress* record = findCountryRecord(countryPath);
    return record != nullptr && record->state == static_cast<int32_t>(CountryState::Completed);
}

bool hasNewCountry() {
    const auto& countries = currentProfile().world.countries;
    return std::any_of(countries.begin(), countries.end(), [](const auto& entry) {
        return entry.second.state == static_cast<int32_t>(CountryState::Shown);
    });
}

bool areAllCountriesCompleted() {
    const auto& countries = currentProfile().world.countries;
    return std::all_of(countries.begin(), countries.end(), [](const auto& entry) {
        return entry.second.state == static_cast<int32_t>(CountryState::Completed);
    });
}

bool isPictureLocked(const std::string& picturePath) {
    const PictureProgress* record = findPictureRecord(picturePath);
    return record != nullptr && record->state < 0;
}

bool areAllPicturesRestored(const std::string& countryPath) {
    const PackCountry* country = findPackCountry(countryPath);
    if (country == nullptr) {
        return true;
    }
    return std::all_of(country->pictures.begin(), country->pictures.end(), [](const PackPicture& picture) {
        const PictureProgress* record = findPictureRecord(picture.path);
        return record != nullptr && record->state >= 1;
    });
}

bool isLastOpenPicture(const std::string& picturePath) {
    const int32_t next = getPictureUnlockOrder(picturePath) + 1;
    bool last = true;
    forEachPackPicture([&](PackCountry& country, PackPicture& picture) {
        if (picture.unlockOrder != next) {
            return false;
        }
        const CountryProgress* record = findCountryRecord(country.path);
        if (record == nullptr || record->state >= 0) {
            last = false;
            return true;
        }
        return false;
    });
    return last;
}

bool hasNewEvidence() {
    const auto& entries = currentProfile().evidence.entries;
    return std::any_of(entries.begin(), entries.end(), [](const auto& entry) {
        return entry.second.state == static_cast<int32_t>(EvidenceState::New);
    });
}

bool hasAllEvidence() {
    return currentProfile().evidence.entries.size() >= kAllEvidenceCount;
}

void setCountryState(const std::string& countryPath, int32_t state) {
    if (CountryProgress* record = findCountryRecord(countryPath)) {
        record->state = state;
    }
}

bool unlockPicture(const std::string& picturePath) {
    PictureProgress* record = findPictureRecord(picturePath);
    if (record == nullptr || record->state >= 0) {
        return false;
    }
    WorldProgress& world = currentProfile().world;
    world.lastUnlockedPicture = picturePath;
    record->state = static_cast<int32_t>(PictureState::Unlocked);
    world.lastOpenedPicture = picturePath;
    return true;
}

void unlockCountry(const std::string& countryPath) {
    CountryProgress* record = findCountryRecord(countryPath);
    if (record == nullptr) {
        return;
    }
    record->state = static_cast<int32_t>(CountryState::Unlocked);
    const int32_t price = getCollectionPrice(countryPath);
    record->collectionPrice = price;
    Profile& profile = currentProfile();
    profile.collectionGoal = saturatingAdd(profile.money, price);
    profile.progressIndex = saturatingAdd(profile.progressIndex, 1);
}

bool unlockNextPicture(const std::string& picturePath) {
    const int32_t next = getPictureUnlockOrder(picturePath) + 1;
    PackCountry* nextCountry = nullptr;
    PackPicture* nextPicture = nullptr;
    forEachPackPicture([&](PackCountry& country, PackPicture& picture) {
        if (picture.unlockOrder != next) {
            return false;
        }
        nextCountry = &country;
        nextPicture = &picture;
        return true;
    });
    if (nextPicture == nullptr) {
        return false;
    }
    const std::string countryPath = nextCountry->path;
    const bool unlocked = unlockPicture(nextPicture->path);
    const CountryProgress* countryRecord = findCountryRecord(countryPath);
    if (countryRecord != nullptr && countryRecord->state < 0) {
        unlockCountry(countryPath);
        return true;
    }
    return unlocked;
}
