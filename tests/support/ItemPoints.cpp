#include "ItemPoints.h"

#include <cstdlib>

#include "engine/scene/Sprite.h"
#include "gameBoard/HiddenObject.h"
#include "gameBoard/HitMask.h"

namespace testing {

cocos2d::Vec2 maskPoint(const HiddenObject* item) {
    const HitMask* mask = item->getHitMask();
    if (mask == nullptr || item->getMaskSprite() == nullptr) {
        const cocos2d::Size size = item->getContentSize();
        return item->convertToWorldSpace(cocos2d::Vec2(size.width / 2.0f, size.height / 2.0f));
    }
    int best = -1;
    cocos2d::Vec2 point;
    for (int row = 0; row < mask->height; ++row) {
        for (int col = 0; col < mask->width; ++col) {
            if (mask->grey[static_cast<size_t>(row) * mask->width + col] <= 200) {
                continue;
            }
            const int d = std::abs(col - mask->width / 2) + std::abs(row - mask->height / 2);
            if (best < 0 || d < best) {
                best = d;
                point = cocos2d::Vec2(col + 0.5f, mask->height - row - 0.5f);
            }
        }
    }
    return item->getMaskSprite()->convertToWorldSpace(point);
}

}  // namespace testing
