#include "minigames/CurrentMinigame.h"

int32_t currentMinigameKind = 0;
int32_t currentMinigameLevel = 0;
