#include "WorldProgress.h"

#include "CInputStream.h"
#include "COutputStream.h"

void WorldProgress::write(const std::shared_ptr<Core::COutputStream>& out) const {
    out->writeCount(countries.size());
    for (const auto& [key, country] : countries) {
        country.write(out);
    }
    out->writeCount(minigameWins.size());
    for (const MinigameLevel& win : minigameWins) {
        win.write(out);
    }
    out->writeCount(pictures.size());
    for (const auto& [key, picture] : pictures) {
        picture.write(out);
    }
    out->writeString(reservedPictureName);
    out->writeString(lastOpenedPicture);
    out->writeString(lastUnlockedPicture);
}

void WorldProgress::read(const std::shared_ptr<Core::CInputStream>& in) {
    countries.clear();
    const int32_t countryCount = in->readCount(CountryProgress::kMinSavedBytes);
    for (int32_t i = 0; i < countryCount && !in->failed(); ++i) {
        CountryProgress country;
        country.read(in);
        std::string key = country.path;
        countries[std::move(key)] = std::move(country);
    }
    minigameWins.clear();
    const int32_t winCount = in->readCount(MinigameLevel::kMinSavedBytes);
    for (int32_t i = 0; i < winCount && !in->failed(); ++i) {
        minigameWins.emplace_back().read(in);
    }
    pictures.clear();
    const int32_t pictureCount = in->readCount(PictureProgress::kMinSavedBytes);
    for (int32_t i = 0; i < pictureCount && !in->failed(); ++i) {
        PictureProgress picture;
        picture.read(in);
        std::string key = picture.path;
        pictures[std::move(key)] = std::move(picture);
    }
    in->readString(reservedPictureName);
    in->readString(lastOpenedPicture);
    in->readString(lastUnlockedPicture);
}
