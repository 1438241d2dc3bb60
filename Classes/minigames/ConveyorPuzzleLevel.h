#pragma once

#include <cstdint>

class MinigameLevelFile;

// One level of the conveyor sorter, from the attributes of "Level": "gametime" (seconds of spawning),
// "speed" (px per second), "wrongitemspercent" (chance of an illicit item) and "coin" (exactly "true").
struct ConveyorPuzzleLevel {
    static constexpr float kDefaultGameTime = 40.0f;
    static constexpr float kDefaultSpeed = 300.0f;
    static constexpr float kDefaultIllicitPercent = 50.0f;
    // Longer than any level is meant to run; a longer time would never end and cannot be shown.
    static constexpr float kMaxGameTime = 3600.0f;
    // Faster items would cross the screen in a few frames, every one a mistake before it can be seen.
    static constexpr float kMaxSpeed = 2000.0f;

    int32_t level = 0;
    float gameTime = kDefaultGameTime;
    float speed = kDefaultSpeed;
    float illicitPercent = kDefaultIllicitPercent;
    bool coin = true;

    // Reads "minigamelevels/ConveyorPuzzle_<level>.xml". A file that cannot serve is reported by the
    // reader and gives the defaults; a missing attribute takes its default.
    static ConveyorPuzzleLevel load(int32_t level);
    // The same from a file already read. A game time or speed the game cannot play (not above 0, or
    // above its bound) takes its default, with one log line.
    static ConveyorPuzzleLevel fromFile(int32_t level, const MinigameLevelFile& file);
};
