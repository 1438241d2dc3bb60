#include "Profile.h"

#include "CInputStream.h"
#include "COutputStream.h"

namespace {
constexpr uint32_t kShortListEntryBytes = 8;
constexpr uint32_t kCounterEntryBytes = 5;
constexpr uint32_t kPairBytes = 8;
constexpr uint32_t kMinNameBytes = 1;
constexpr uint32_t kInt32Bytes = 4;
constexpr uint32_t kAvailabilityEntryBytes = 5;
constexpr uint32_t kStringPairBytes = 2;

void writeCounterMap(const std::shared_ptr<Core::COutputStream>& out,
                     const std::unordered_map<std::string, int32_t>& map) {
    out->writeCount(map.size());
    for (const auto& [key, value] : map) {
        out->writeString(key);
        out->writeInt32(value);
    }
}

void readCounterMap(const std::shared_ptr<Core::CInputStream>& in,
                    std::unordered_map<std::string, int32_t>& map) {
    map.clear();
    const int32_t count = in->readCount(kCounterEntryBytes);
    for (int32_t i = 0; i < count && !in->failed(); ++i) {
        std::string key;
        in->readString(key);
        map[std::move(key)] = in->readInt32();
    }
}

void writeInts(const std::shared_ptr<Core::COutputStream>& out, const std::vector<int32_t>& values) {
    out->writeCount(values.size());
    for (const int32_t value : values) {
        out->writeInt32(value);
    }
}

void readInts(const std::shared_ptr<Core::CInputStream>& in, std::vector<int32_t>& values) {
    values.clear();
    const int32_t count = in->readCount(kInt32Bytes);
    for (int32_t i = 0; i < count && !in->failed(); ++i) {
        values.push_back(in->readInt32());
    }
}

void writeBool(const std::shared_ptr<Core::COutputStream>& out, bool value) {
    out->writeByte(value ? 1 : 0);
}

bool readBool(const std::shared_ptr<Core::CInputStream>& in) {
    return in->readByte() != 0;
}

}  // namespace

void Profile::write(const std::shared_ptr<Core::COutputStream>& out) const {
    out->writeCount(reservedShortListMap.size());
    for (const auto& [key, units] : reservedShortListMap) {
        out->writeInt32(key);
        out->writeCount(units.size());
        for (const uint16_t unit : units) {
            out->writeUInt16(unit);
        }
    }
    writeCounterMap(out, reservedCounterMapA);
    out->writeCount(reservedPairList.size());
    for (const auto& [first, second] : reservedPairList) {
        out->writeInt32(first);
        out->writeInt32(second);
    }
    out->writeCount(reservedNameSet.size());
    for (const std::string& entry : reservedNameSet) {
        out->writeString(entry);
    }
    evidence.write(out);
    writeInts(out, shownChats);
    writeCounterMap(out, reservedCounterMapB);
    out->write(reservedBytes.data(), static_cast<int32_t>(reservedBytes.size()));
    writeBool(out, customCursor);
    out->writeString(cursorName);
    out->writeCount(packs.size());
    for (const PackInfo& pack : packs) {
        pack.write(out);
    }
    writeBool(out, reservedFlagA);
    out->writeInt32(reservedValueA);
    out->writeInt32(progressIndex);
    writeBool(out, fullscreen);
    writeBool(out, reservedFlagB);
    writeBool(out, cageUnlocked);
    out->writeCount(minigameAvailability.size());
    for (const auto& [kind, available] : minigameAvailability) {
        out->writeInt32(kind);
        writeBool(out, available);
    }
    out->writeString(newestEvidence);
    out->writeInt32(reservedValueB);
    out->writeInt32(storyLevel);
    writeBool(out, reservedFlagC);
    out->writeString(currentPicture.country);
    out->writeString(currentPicture.picture);
    out->writeCount(reservedStringPairs.size());
    for (const auto& [first, second] : reservedStringPairs) {
        out->writeString(first);
        out->writeString(second);
    }
    out->writeCount(minigameOrder.size());
    for (const MinigameLevel& entry : minigameOrder) {
        entry.write(out);
    }
    writeInts(out, minigameLevels);
    out->writeInt32(money);
    out->writeFloat(musicVolume);
    out->writeWString(name);
    out->writeWString(reservedTitle);
    out->writeInt32(collectionGoal);
    out->writeFloat(soundVolume);
    world.write(out);
    writeInts(out, shownTutorials);
}

void Profile::read(const std::shared_ptr<Core::CInputStream>& in) {
    reservedShortListMap.clear();
    const int32_t shortListCount = in->readCount(kShortListEntryBytes);
    for (int32_t i = 0; i < shortListCount && !in->failed(); ++i) {
        const int32_t key = in->readInt32();
        std::vector<uint16_t> units;
        const int32_t unitCount = in->readCount(2);
        for (int32_t j = 0; j < unitCount && !in->failed(); ++j) {
            units.push_back(in->readUInt16());
        }
        reservedShortListMap[key] = std::move(units);
    }
    readCounterMap(in, reservedCounterMapA);
    reservedPairList.clear();
    const int32_t pairCount = in->readCount(kPairBytes);
    for (int32_t i = 0; i < pairCount && !in->failed(); ++i) {
        const int32_t first = in->readInt32();
        const int32_t second = in->readInt32();
        reservedPairList.emplace_back(first, second);
    }
    reservedNameSet.clear();
    const int32_t nameCount = in->readCount(kMinNameBytes);
    for (int32_t i = 0; i < nameCount && !in->failed(); ++i) {
        std::string entry;
        in->readString(entry);
        reservedNameSet.insert(std::move(entry));
    }
    evidence.read(in);
    readInts(in, shownChats);
    readCounterMap(in, reservedCounterMapB);
    in->read(reservedBytes.data(), static_cast<int32_t>(reservedBytes.size()));
    customCursor = readBool(in);
    in->readString(cursorName);
    packs.clear();
    const int32_t packCount = in->readCount(PackInfo::kMinSavedBytes);
    for (int32_t i = 0; i < packCount && !in->failed(); ++i) {
        packs.emplace_back().read(in);
    }
    reservedFlagA = readBool(in);
    reservedValueA = in->readInt32();
    progressIndex = in->readInt32();
    fullscreen = readBool(in);
    reservedFlagB = readBool(in);
    cageUnlocked = readBool(in);
    minigameAvailability.clear();
    const int32_t availabilityCount = in->readCount(kAvailabilityEntryBytes);
    for (int32_t i = 0; i < availabilityCount && !in->failed(); ++i) {
        const int32_t kind = in->readInt32();
        minigameAvailability[kind] = readBool(in);
    }
    in->readString(newestEvidence);
    reservedValueB = in->readInt32();
    storyLevel = in->readInt32();
    reservedFlagC = readBool(in);
    in->readString(currentPicture.country);
    in->readString(currentPicture.picture);
    reservedStringPairs.clear();
    const int32_t stringPairCount = in->readCount(kStringPairBytes);
    for (int32_t i = 0; i < stringPairCount && !in->failed(); ++i) {
        auto& [first, second] = reservedStringPairs.emplace_back();
        in->readString(first);
        in->readString(second);
    }
    minigameOrder.clear();
    const int32_t orderCount = in->readCount(MinigameLevel::kMinSavedBytes);
    for (int32_t i = 0; i < orderCount && !in->failed(); ++i) {
        minigameOrder.emplace_back().read(in);
    }
    readInts(in, minigameLevels);
    money = in->readInt32();
    musicVolume = in->readFloat();
    in->readWString(name);
    in->readWString(reservedTitle);
    collectionGoal = in->readInt32();
    soundVolume = in->readFloat();
    world.read(in);
    readInts(in, shownTutorials);
}
