#pragma once

#include <cstdint>
#include <vector>

class MinigameLevelFile;

// One level of the safe door: which rows start with a locked tumbler. In the file every child of
// "Level" is a locked row named by its number (<3/> locks row 3; a run of text reads as row 0).
struct TwoMatchLevel {
    static constexpr int32_t kRows = 5;

    // The level number the record was built for.
    int32_t level = 0;
    // Distinct rows 0 (bottom) to 4 (top) in the file's order.
    std::vector<int32_t> lockedRows;

    // Reads "minigamelevels/TwoMatch_<level>.xml". A file that cannot serve (missing, empty, malformed
    // or without "Level") is reported by the reader and gives the built-in level: row 0 locked.
    static TwoMatchLevel load(int32_t level);
    // The same from a file already read; file.isLoaded() false gives the built-in level.
    static TwoMatchLevel fromFile(int32_t level, const MinigameLevelFile& file);
};
