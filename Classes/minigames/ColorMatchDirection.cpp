#include "minigames/ColorMatchDirection.h"

#include <cmath>

namespace {

constexpr float kMinSwipe = 100.0f;

}  // namespace

std::optional<ColorMatchDirection> colorMatchSwipe(const cocos2d::Vec2& start, const cocos2d::Vec2& end) {
    const float dx = std::fabs(std::trunc(end.x - start.x));
    const float dy = std::fabs(std::trunc(end.y - start.y));
    if (dx < dy) {
        if (dy >= kMinSwipe) {
            return start.y < end.y ? ColorMatchDirection::Up : ColorMatchDirection::Down;
        }
        return std::nullopt;
    }
    if (dx >= kMinSwipe) {
        return start.x < end.x ? ColorMatchDirection::Right : ColorMatchDirection::Left;
    }
    return std::nullopt;
}
