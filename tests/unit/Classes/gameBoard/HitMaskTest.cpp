#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gameBoard/HiddenObject.h"
#include "gameBoard/HitMask.h"

namespace {

TEST(HitMaskTest, MaskFrameNameInsertsAnUnderscoreBeforeTheExtension) {
    EXPECT_EQ(HiddenObject::maskFrameName("a.png"), "a_.png");
    EXPECT_EQ(HiddenObject::maskFrameName("lamp2.png"), "lamp2_.png");
    EXPECT_EQ(HiddenObject::maskFrameName("vesquino_teacup.png"), "vesquino_teacup_.png");
}

TEST(HitMaskTest, GreyAboveHalfIsAHit) {
    struct Case {
        uint8_t r, g, b;
        bool hit;
    };
    for (const Case& c : {Case{129, 129, 129, true}, Case{128, 128, 128, false}, Case{255, 0, 130, false},
                          Case{255, 0, 133, true}, Case{0, 0, 0, false}}) {
        const std::vector<uint8_t> rgba{c.r, c.g, c.b, 255};
        HitMask mask;
        mask.build(rgba.data(), rgba.size(), 1, 1);
        EXPECT_EQ(mask.hit(cocos2d::Vec2(0.5f, 0.5f)), c.hit)
            << int(c.r) << "," << int(c.g) << "," << int(c.b);
    }
}

TEST(HitMaskTest, EdgesAreOutsideAndRowsCountFromTheTop) {
    // A 4 x 2 mask whose top row is white and bottom row black.
    std::vector<uint8_t> rgba;
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            const uint8_t v = y == 0 ? 255 : 0;
            rgba.insert(rgba.end(), {v, v, v, 255});
        }
    }
    HitMask mask;
    mask.build(rgba.data(), rgba.size(), 4, 2);
    EXPECT_TRUE(mask.hit(cocos2d::Vec2(1.5f, 1.5f)));   // upper half: the top row
    EXPECT_FALSE(mask.hit(cocos2d::Vec2(1.5f, 0.5f)));  // lower half: the bottom row
    EXPECT_FALSE(mask.hit(cocos2d::Vec2(0.0f, 1.5f)));
    EXPECT_FALSE(mask.hit(cocos2d::Vec2(1.5f, 2.0f)));
    EXPECT_FALSE(mask.hit(cocos2d::Vec2(4.0f, 1.5f)));
    EXPECT_FALSE(mask.hit(cocos2d::Vec2(-1.0f, 1.5f)));
}

TEST(HitMaskTest, TooFewBytesGiveAnEmptyMask) {
    const std::vector<uint8_t> rgba(4 * 3, 255);
    HitMask mask;
    mask.build(rgba.data(), rgba.size(), 2, 2);
    EXPECT_EQ(mask.width, 0);
    EXPECT_FALSE(mask.hit(cocos2d::Vec2(0.5f, 0.5f)));
}

}  // namespace
