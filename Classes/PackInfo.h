#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "PackCountry.h"
#include "PackMessage.h"

namespace Core {
class CInputStream;
class COutputStream;
}  // namespace Core

// A content pack read into a profile: its countries with their pictures and its chat messages.
struct PackInfo {
    std::vector<PackCountry> countries;
    std::string reservedName;
    std::vector<PackMessage> messages;
    // The pack's version, which identifies it.
    std::string packVersion;

    static constexpr uint32_t kMinSavedBytes = 10;

    void write(const std::shared_ptr<Core::COutputStream>& out) const;
    void read(const std::shared_ptr<Core::CInputStream>& in);

    bool operator==(const PackInfo&) const = default;
};
