#pragma once

#include <cstdint>

enum class HiddenObjectState : int32_t {
    // Not yet hit: the only state a drop can hit.
    Hidden = 0,
    // Its defect chosen, being erased.
    Revealed = 1,
    // Erased and fading out.
    Restored = 2,
};
