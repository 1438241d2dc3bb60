#pragma once

#include <cstdint>

// The game and level chosen in the selection popup, handed through the host to the game. The popup
// writes both before it creates the host; the host writes the level each time it starts a game; the
// games' level loaders and MinigameBase::win read them.
extern int32_t currentMinigameKind;
extern int32_t currentMinigameLevel;
