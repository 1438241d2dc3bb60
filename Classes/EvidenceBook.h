#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace Core {
class CInputStream;
class COutputStream;
}  // namespace Core

enum class EvidenceState : int32_t {
    New = 1,  // found, not yet shown in the cabinet
    Seen = 2,
};

struct EvidenceEntry {
    // Equal to its key in the book.
    std::string name;
    // An EvidenceState; 0 only in a record never filled.
    int32_t state = 0;

    bool operator==(const EvidenceEntry&) const = default;
};

// The evidence items a profile has found; an item without an entry has not been found.
struct EvidenceBook {
    std::vector<std::string> reservedNames;
    std::unordered_map<std::string, EvidenceEntry> entries;

    static constexpr uint32_t kMinSavedBytes = 8;

    void write(const std::shared_ptr<Core::COutputStream>& out) const;
    void read(const std::shared_ptr<Core::CInputStream>& in);

    bool operator==(const EvidenceBook&) const = default;
};
