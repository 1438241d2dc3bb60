#pragma once

#include <cstdint>

// One piece of player-made damage left on a picture.
struct DamageRecord {
    int32_t id = 0;
    // Position on the picture in whole points.
    int32_t x = 0;
    int32_t y = 0;
    // The tool state of the tool that made it.
    int32_t toolId = 0;
    // Which of the damage images, 1 to 3.
    int32_t variant = 0;

    bool operator==(const DamageRecord&) const = default;
};
