#pragma once

#include <cstdint>
#include <memory>

namespace Core {
class CInputStream;
class COutputStream;
}  // namespace Core

// One level of one minigame kind.
struct MinigameLevel {
    int32_t kind = 0;
    int32_t level = 0;

    static constexpr uint32_t kMinSavedBytes = 8;

    void write(const std::shared_ptr<Core::COutputStream>& out) const;
    void read(const std::shared_ptr<Core::CInputStream>& in);

    bool operator==(const MinigameLevel&) const = default;
};
