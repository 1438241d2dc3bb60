#pragma once

#include <cstdint>
#include <string>

class MinigameLevelFile;

// One level of the jigsaw, from the one file "minigamelevels/JigsawPuzzle.xml" that holds them all:
//
//   <Levels>
//     <Level number="0" width="3" height="2" pipesize="0"
//     picturename="Scenes/USA/HarborDawn/background.jpg"/>
//     ...
//   </Levels>
//
// The first child element named "Level" and every element after it, whatever its name, is a level;
// the one whose "number" is the level asked for supplies it, the last one when several do. Sizes are
// read as numbers and truncated. A level that is missing, or whose grid or picture cannot be played,
// takes the defaults for what is unusable, with one log line: a grid of at most kMaxSide cells a side
// and at least two cells (a single cell can never be swapped into place), and the demo picture.
struct JigsawPuzzleLevel {
    static constexpr int32_t kDefaultColumns = 3;
    static constexpr int32_t kDefaultRows = 2;
    static constexpr int32_t kMaxSide = 20;
    // No texture the game uses is larger; anything above is no size at all.
    static constexpr int32_t kMaxPipeSize = 4096;
    static constexpr const char* kDefaultPicture = "Scenes/demo/Vesquino/background.jpg";

    // Rows and columns of the grid.
    int32_t height = kDefaultRows;
    int32_t width = kDefaultColumns;
    // Side of a tile in texture pixels; 0 computes it from the picture.
    int32_t pipeSize = 0;
    // The level asked for.
    int32_t number = 0;
    // The picture's path in the resource tree.
    std::string pictureName = kDefaultPicture;
    // Whether the file held the level.
    bool found = false;

    static JigsawPuzzleLevel defaults(int32_t number);
    static JigsawPuzzleLevel read(int32_t number);
    // The record of a file already loaded (or that failed to load); path names it in log lines.
    static JigsawPuzzleLevel fromFile(const MinigameLevelFile& file, int32_t number, const std::string& path);
    static std::string path();
};
