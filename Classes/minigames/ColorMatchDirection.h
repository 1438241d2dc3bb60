#pragma once

#include <optional>

#include "engine/math/Vec2.h"

// The four moves of the colour merging board, named by the side the pipes slide towards.
enum class ColorMatchDirection { Up, Down, Left, Right };

// The move a swipe from start to end makes: each difference is truncated towards zero to a whole
// number, the longer axis decides (a tie counts as horizontal), and a swipe shorter than 100 on that
// axis makes none. Only the differences matter, so any one coordinate space serves.
std::optional<ColorMatchDirection> colorMatchSwipe(const cocos2d::Vec2& start, const cocos2d::Vec2& end);
