#pragma once

#include <cstdint>
#include <unordered_map>

// Indexes a profile's minigame levels and availability and the selection buttons.
enum class MinigameKind : int32_t {
    TwoMatch = 0,
    ColorMatch = 1,
    DropsPuzzle = 2,
    ConveyorPuzzle = 3,
    JigsawPuzzle = 4,
};

inline constexpr int32_t kMinigameKindCount = 5;

// Which minigame kinds may still be played in the current level, keyed by the kind's number.
using MinigameAvailability = std::unordered_map<int32_t, bool>;
