#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "CountryProgress.h"
#include "MinigameLevel.h"
#include "PictureProgress.h"

namespace Core {
class CInputStream;
class COutputStream;
}  // namespace Core

// A profile's progress through the countries and pictures.
struct WorldProgress {
    // Keyed by the country's path.
    std::unordered_map<std::string, CountryProgress> countries;
    // One entry for every minigame won.
    std::vector<MinigameLevel> minigameWins;
    // Keyed by the picture's path.
    std::unordered_map<std::string, PictureProgress> pictures;
    std::string reservedPictureName;
    // Both hold the path of the picture unlocked last; its frame plays the unlock animation.
    std::string lastOpenedPicture;
    std::string lastUnlockedPicture;

    static constexpr uint32_t kMinSavedBytes = 15;

    void write(const std::shared_ptr<Core::COutputStream>& out) const;
    // Records are filed under their own paths, not under the keys they were saved from.
    void read(const std::shared_ptr<Core::CInputStream>& in);

    bool operator==(const WorldProgress&) const = default;
};
