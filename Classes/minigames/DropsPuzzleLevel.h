#pragma once

#include <cstdint>
#include <string>
#include <vector>

class MinigameLevelFile;

// One level of the drop catcher, from "minigamelevels/DropsPuzzle_<n>.xml":
//
//   <Level time="30" loosecount="10">
//     <Lane falltime="2.0" gentime="1.6"/>   one child per lane, lanes 0 to 3 in document order
//   </Level>
//
// Every field holds a usable value whatever the file held. A file that cannot serve gives the
// defaults (after the level file's own "Load %s list: %s" line); within a file that serves, each
// missing or unusable number takes its default or its nearest bound, and says so in one log line.
struct DropsPuzzleLevel {
    static constexpr int kLaneCount = 4;
    static constexpr float kDefaultLaneSeconds = 1.0f;
    static constexpr int32_t kDefaultLooseCount = 10;
    static constexpr float kDefaultTime = 30.0f;
    // A drop that falls or grows faster than this cannot be seen, let alone caught; one slower than
    // the upper bound would hold the level open for ever.
    static constexpr float kMinLaneSeconds = 0.1f;
    static constexpr float kMaxLaneSeconds = 30.0f;
    // The level's time is positive (no level is won before it starts) and at most ten minutes.
    static constexpr float kMaxTime = 600.0f;

    // The level number the record was built for.
    int32_t level = 0;
    // Seconds a drop of each lane takes to fall and to grow; always kLaneCount entries.
    std::vector<float> fallTimes;
    std::vector<float> growTimes;
    // Misses that lose the level; 0 loses at once.
    int32_t looseCount = kDefaultLooseCount;
    // Seconds during which new drops start.
    float time = kDefaultTime;

    // The built-in level: four lanes of 1 s, loose count 10, 30 s.
    static DropsPuzzleLevel defaults(int32_t level);
    // Reads the level's file from the resource tree.
    static DropsPuzzleLevel read(int32_t level);
    // The record of a file already loaded (or that failed to load); path names it in log lines.
    static DropsPuzzleLevel fromFile(const MinigameLevelFile& file, int32_t level, const std::string& path);
    // "minigamelevels/DropsPuzzle_<level>.xml".
    static std::string pathFor(int32_t level);
};
