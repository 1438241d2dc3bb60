#pragma once

#include <cstdint>

// The current profile's story level; below 0 while the intro level is being played.
int32_t currentStoryLevel();
bool isIntroLevel();
