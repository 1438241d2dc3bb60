#include "NodeBoxes.h"

#include <algorithm>

#include "engine/math/Vec2.h"
#include "engine/scene/Node.h"

namespace testing {

cocos2d::Rect screenBox(const cocos2d::Node* node) {
    const cocos2d::Size size = node->getContentSize();
    const cocos2d::Vec2 corners[] = {node->convertToWorldSpace(cocos2d::Vec2(0, 0)),
                                     node->convertToWorldSpace(cocos2d::Vec2(size.width, 0)),
                                     node->convertToWorldSpace(cocos2d::Vec2(0, size.height)),
                                     node->convertToWorldSpace(cocos2d::Vec2(size.width, size.height))};
    float left = corners[0].x, right = corners[0].x, bottom = corners[0].y, top = corners[0].y;
    for (const cocos2d::Vec2& c : corners) {
        left = std::min(left, c.x);
        right = std::max(right, c.x);
        bottom = std::min(bottom, c.y);
        top = std::max(top, c.y);
    }
    return cocos2d::Rect(left, bottom, right - left, top - bottom);
}

cocos2d::Rect shownBox(const cocos2d::Node* node) {
    bool any = false;
    cocos2d::Rect box;
    for (const cocos2d::Node* child : node->getChildren()) {
        if (!child->isVisible()) {
            continue;
        }
        const cocos2d::Rect part = shownBox(child);
        if (part.size.width <= 0.0f || part.size.height <= 0.0f) {
            continue;
        }
        box = any ? box.unionWithRect(part) : part;
        any = true;
    }
    return any ? box : screenBox(node);
}

bool overlaps(const cocos2d::Rect& a, const cocos2d::Rect& b) {
    return a.getMinX() < b.getMaxX() - 0.5f && b.getMinX() < a.getMaxX() - 0.5f && a.getMinY() < b.getMaxY() - 0.5f &&
           b.getMinY() < a.getMaxY() - 0.5f;
}

}  // namespace testing
