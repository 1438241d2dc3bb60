#include "gameBoard/HitMask.h"

namespace {

constexpr int kHitGrey = 128;

}  // namespace

void HitMask::build(const uint8_t* rgba, size_t length, int w, int h) {
    grey.clear();
    width = 0;
    height = 0;
    if (rgba == nullptr || w <= 0 || h <= 0 || length < static_cast<size_t>(w) * static_cast<size_t>(h) * 4) {
        return;
    }
    width = w;
    height = h;
    grey.resize(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < grey.size(); ++i) {
        const uint8_t* p = rgba + i * 4;
        grey[i] = static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3);
    }
}

bool HitMask::hit(const cocos2d::Vec2& local) const {
    if (!(local.x > 0.0f && local.x < static_cast<float>(width) && local.y > 0.0f &&
          local.y < static_cast<float>(height))) {
        return false;
    }
    const int col = static_cast<int>(local.x);
    const int row = static_cast<int>(static_cast<float>(height) - local.y);
    if (col < 0 || col >= width || row < 0 || row >= height) {
        return false;
    }
    return grey[static_cast<size_t>(row) * width + col] > kHitGrey;
}
