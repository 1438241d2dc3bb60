#pragma once

#include <cstdint>
#include <utility>
#include <vector>

// One level of the colour merging board, read from "minigamelevels/ColorMatch_<level>.xml": the root
// "Level" with the attribute "maxcolor" (the number of colours; the target colour is maxcolor - 1) and
// one child per starting pipe, named by its colour plus one (<3/> is a pipe of colour 2).
//
// Every field holds a playable value whatever the file held. A file that cannot be read gives the
// defaults: four colours and two pipes of colour 1. Values outside what the board can show are bounded,
// with one log line for the file: maxcolor into 1 to 10 (the scale has ten smears), starting pipes of
// colours outside 0 to 9 and pipes beyond the sixteenth cell left out.
struct ColorMatchLevel {
    static constexpr int32_t kDefaultMaxColor = 4;
    static constexpr int32_t kMinMaxColor = 1;
    static constexpr int32_t kMaxMaxColor = 10;

    // Reads the file of that level.
    explicit ColorMatchLevel(int32_t level);
    ColorMatchLevel() : ColorMatchLevel(0, kDefaultMaxColor, {2, 2}) {}
    ColorMatchLevel(int32_t level, int32_t maxColor, std::vector<int32_t> startColors)
        : level(level), maxColor(maxColor), startColors(std::move(startColors)) {}

    int32_t level = 0;
    int32_t maxColor = kDefaultMaxColor;
    // The element numbers in file order: colour + 1.
    std::vector<int32_t> startColors;
};
