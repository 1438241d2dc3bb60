#include "engine/math/Rect.h"

#include <algorithm>

namespace cocos2d {

Rect Rect::unionWithRect(const Rect& r) const {
    const float minX = std::min(getMinX(), r.getMinX());
    const float minY = std::min(getMinY(), r.getMinY());
    const float maxX = std::max(getMaxX(), r.getMaxX());
    const float maxY = std::max(getMaxY(), r.getMaxY());
    return Rect(minX, minY, maxX - minX, maxY - minY);
}

Rect Rect::intersection(const Rect& r) const {
    const float minX = std::max(getMinX(), r.getMinX());
    const float minY = std::max(getMinY(), r.getMinY());
    const float maxX = std::min(getMaxX(), r.getMaxX());
    const float maxY = std::min(getMaxY(), r.getMaxY());
    if (maxX <= minX || maxY <= minY) {
        return Rect(minX, minY, 0.0f, 0.0f);
    }
    return Rect(minX, minY, maxX - minX, maxY - minY);
}

}  // namespace cocos2d
