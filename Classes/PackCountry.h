#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "PackPicture.h"

namespace Core {
class CInputStream;
class COutputStream;
}  // namespace Core

// A country as a content pack describes it.
struct PackCountry {
    std::string path;
    std::vector<PackPicture> pictures;
    int32_t unlockOrder = 0;

    static constexpr uint32_t kMinSavedBytes = 9;

    void write(const std::shared_ptr<Core::COutputStream>& out) const;
    void read(const std::shared_ptr<Core::CInputStream>& in);

    bool operator==(const PackCountry&) const = default;
};
