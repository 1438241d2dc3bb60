#pragma once

#include <cstdint>

// One numbering for the board's tool states, the tool bar's button tags, the tool cursors and the
// tool recorded in each saved damage.
enum class ToolState : int32_t {
    None = 0,
    Sray = 1,
    Eraser = 2,
    Brush = 3,
    Knife = 4,
    Needle = 5,
    Wait = 6,
};
