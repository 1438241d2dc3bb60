#include <gtest/gtest.h>

#include <vector>

#include "gameBoard/BoardPricing.h"

namespace {

using namespace BoardPricing;

TEST(BoardPricingTest, RateAndPricesFromTheAreas) {
    struct Case {
        std::vector<int32_t> areas;
        int32_t fullPrice;
        Rate rate;
        std::vector<int32_t> prices;
    };
    const std::vector<Case> cases{
        {{10, 40, 100}, 800, {160, 10, 100}, {450, 300, 50}},
        {{100, 10, 40}, 800, {160, 10, 100}, {50, 450, 300}},
        {{50, 50}, 1000, {100, 50, 50}, {500, 500}},
        {{38}, 25000, {38, 38, 38}, {25000}},
        {{10, 40, 100}, 0, {160, 10, 100}, {0, 0, 0}},
        // No opaque cells anywhere: the rate is 0 and every price 0, not a division by zero.
        {{0, 0}, 800, {0, 0, 0}, {0, 0}},
        {{}, 800, {0, 0, 0}, {}},
    };
    for (const Case& c : cases) {
        const Rate rate = rateFor(c.areas);
        EXPECT_EQ(rate.priceRate, c.rate.priceRate);
        EXPECT_EQ(rate.minArea, c.rate.minArea);
        EXPECT_EQ(rate.maxArea, c.rate.maxArea);
        for (size_t i = 0; i < c.areas.size(); ++i) {
            EXPECT_EQ(itemPrice(c.fullPrice, rate, c.areas[i]), c.prices[i]) << "area " << c.areas[i];
        }
    }
}

TEST(BoardPricingTest, PricesAreTruncatedInSinglePrecision) {
    // 1000 / 3 per weight unit: weights 2, 1 (min) and 1 -> 666 and 333.
    const Rate rate = rateFor({1, 2, 3});
    ASSERT_EQ(rate.priceRate, 4);
    EXPECT_EQ(itemPrice(1000, Rate{3, 1, 3}, 1), 666);
    EXPECT_EQ(itemPrice(1000, Rate{3, 1, 3}, 3), 333);
}

TEST(BoardPricingTest, ItemCountsByStoryLevelAndPictureState) {
    struct Case {
        int32_t storyLevel, state, total, inPlay;
        Counts expected;
    };
    const std::vector<Case> cases{
        // First play at story level 2 of a 30-item picture.
        {2, 0, 30, 30, {20, 20}},
        // Played to an end before: every item left, priced as 20.
        {2, 1, 30, 18, {18, 20}},
        // Left early and replayed: the history already holds the surplus; never more than remain.
        {2, 0, 30, 18, {18, 20}},
        // A picture with fewer items than its story level asks for.
        {3, 0, 12, 12, {12, 25}},
        {0, 0, 30, 30, {10, 10}},
        {1, 0, 30, 30, {15, 15}},
        {3, 0, 30, 30, {25, 25}},
        // From story level 4 on, the picture's own counts.
        {4, 0, 30, 30, {30, 30}},
        {5, 2, 30, 12, {12, 30}},
        // The intro level.
        {-1, 0, 3, 3, {3, 3}},
    };
    for (const Case& c : cases) {
        const Counts counts = itemsForLevel(c.storyLevel, c.state, c.total, c.inPlay);
        EXPECT_EQ(counts.itemsOnLevel, c.expected.itemsOnLevel)
            << "L " << c.storyLevel << " state " << c.state;
        EXPECT_EQ(counts.totalItems, c.expected.totalItems) << "L " << c.storyLevel << " state " << c.state;
    }
}

TEST(BoardPricingTest, PenaltyByDamageLeft) {
    struct Case {
        int32_t amount;
        size_t damage;
        int32_t penalty;
    };
    for (const Case& c : {Case{100, 0, 0}, Case{100, 1, 20}, Case{100, 2, 40}, Case{100, 5, 40},
                          Case{100, 6, 60}, Case{99, 1, 19}, Case{7, 9, 4}}) {
        EXPECT_EQ(damagePenalty(c.amount, c.damage), c.penalty) << c.amount << " with " << c.damage;
    }
}

TEST(BoardPricingTest, RewardAddsFliesAndTakesThePenalty) {
    EXPECT_EQ(earnedRounded(99.6f), 100);
    EXPECT_EQ(earnedRounded(99.4f), 99);
    EXPECT_EQ(flyBonus(500, 3), 15);
    EXPECT_EQ(flyBonus(499, 1), 4);
    EXPECT_EQ(reward(99.6f, 500, 3, 1), 95);
    EXPECT_EQ(reward(0.0f, 0, 0, 6), 0);
    EXPECT_EQ(reward(250.0f, 1000, 0, 0), 250);
}

}  // namespace
