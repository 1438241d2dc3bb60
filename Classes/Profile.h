#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "EvidenceBook.h"
#include "MinigameKind.h"
#include "MinigameLevel.h"
#include "PackInfo.h"
#include "PictureKey.h"
#include "WorldProgress.h"

namespace Core {
class CInputStream;
class COutputStream;
}  // namespace Core

// One player's saved record. The fields stand in the order the save file stores them. Fields named
// reserved are kept, copied and saved so that a file keeps every byte of state; nothing reads them.
// The constructor gives zeros; a new player gets its values from Settings::initNewProfile.
struct Profile {
    std::unordered_map<int32_t, std::vector<uint16_t>> reservedShortListMap;
    std::unordered_map<std::string, int32_t> reservedCounterMapA;
    std::vector<std::pair<int32_t, int32_t>> reservedPairList;
    std::unordered_set<std::string> reservedNameSet;
    EvidenceBook evidence;
    std::vector<int32_t> shownChats;
    std::unordered_map<std::string, int32_t> reservedCounterMapB;
    std::array<uint8_t, 8> reservedBytes{};
    bool customCursor = false;
    std::string cursorName;
    std::vector<PackInfo> packs;
    bool reservedFlagA = false;
    int32_t reservedValueA = 0;
    // Index of the curators' progress message reached.
    int32_t progressIndex = 0;
    bool fullscreen = false;
    bool reservedFlagB = false;
    bool cageUnlocked = false;
    MinigameAvailability minigameAvailability;
    // Name of the evidence item added last.
    std::string newestEvidence;
    int32_t reservedValueB = 0;
    // -1 while the intro and the demo picture are still ahead.
    int32_t storyLevel = 0;
    bool reservedFlagC = false;
    PictureKey currentPicture;
    std::vector<std::pair<std::string, std::string>> reservedStringPairs;
    std::vector<MinigameLevel> minigameOrder;
    // The next level of each minigame kind, indexed by MinigameKind.
    std::vector<int32_t> minigameLevels;
    int32_t money = 0;
    float musicVolume = 0.0f;
    std::u16string name;
    std::u16string reservedTitle;
    // Money needed to buy the collection of the country unlocked last.
    int32_t collectionGoal = 0;
    float soundVolume = 0.0f;
    WorldProgress world;
    std::vector<int32_t> shownTutorials;

    static constexpr uint32_t kMinSavedBytes = 123;

    // Kept in the shown-tutorial list (as the conveyor sorter's one-time demonstration is), so that
    // stored files need no new field: the closing slideshow has started for this player.
    static constexpr int32_t kEndingPlayedMarker = 777;

    bool isEndingPlayed() const {
        return std::find(shownTutorials.begin(), shownTutorials.end(), kEndingPlayedMarker) != shownTutorials.end();
    }
    void markEndingPlayed() {
        if (!isEndingPlayed()) {
            shownTutorials.push_back(kEndingPlayedMarker);
        }
    }

    void write(const std::shared_ptr<Core::COutputStream>& out) const;
    void read(const std::shared_ptr<Core::CInputStream>& in);

    bool operator==(const Profile&) const = default;
};
