#pragma once

#include <cstdint>

// The life-cycle state of a minigame, polled by its host once per frame. The host reacts to Won and
// Lost only; Waiting and Finishing are the games' own business.
enum class MinigameState : int32_t {
    // The game takes input.
    Playing = 1,
    // Input is refused while a move animates, a demonstration runs or a delayed result is pending.
    Waiting = 2,
    // Final: set by MinigameBase::win only.
    Won = 3,
    // Final: set by MinigameBase::lose only.
    Lost = 4,
    // Decided as won; a call of win follows after a short delay.
    Finishing = 5,
};
