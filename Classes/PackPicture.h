#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace Core {
class CInputStream;
class COutputStream;
}  // namespace Core

// A picture as a content pack describes it.
struct PackPicture {
    std::string authorId;
    // The evidence item hidden in the picture, or empty.
    std::string evidence;
    std::string path;
    float itemChance = 0.0f;
    std::string museumId;
    std::string possibleItems;
    // The picture's price.
    int32_t coins = 0;
    int32_t unlockOrder = 0;
    std::string year;

    static constexpr uint32_t kMinSavedBytes = 18;

    void write(const std::shared_ptr<Core::COutputStream>& out) const;
    void read(const std::shared_ptr<Core::CInputStream>& in);

    bool operator==(const PackPicture&) const = default;
};
