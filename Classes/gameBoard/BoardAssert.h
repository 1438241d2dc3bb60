#pragma once

#include <cstdlib>

#include "engine/base/Log.h"

// An internal invariant of the board, kept in released builds: a broken one is a programming error,
// logged with its text and the source file, then the game stops.
#define BOARD_ASSERT(condition, text)                                                                \
    do {                                                                                             \
        if (!(condition)) {                                                                          \
            cocos2d::logAt(cocos2d::LogLevel::Error, "Assertion failed: %s (%s:%d)", text, __FILE__, \
                           __LINE__);                                                                \
            std::abort();                                                                            \
        }                                                                                            \
    } while (false)
