#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace Core {
class CInputStream;
class COutputStream;
}  // namespace Core

enum class CountryState : int32_t {
    Locked = -1,
    Unlocked = 0,   // unlocked, not yet shown on the map
    Shown = 1,      // the map has played its unlock look
    Opened = 2,     // picked on the map at least once, or open from the start
    Completed = 3,  // its collection bought
};

// The player's progress in one country.
struct CountryProgress {
    std::string name;
    int32_t collectionPrice = 0;
    // The country's path, its key in the world's map.
    std::string path;
    // The gallery list's scroll position.
    int32_t listPosition = 0;
    // A CountryState.
    int32_t state = 0;

    static constexpr uint32_t kMinSavedBytes = 14;

    void write(const std::shared_ptr<Core::COutputStream>& out) const;
    void read(const std::shared_ptr<Core::CInputStream>& in);

    bool operator==(const CountryProgress&) const = default;
};
