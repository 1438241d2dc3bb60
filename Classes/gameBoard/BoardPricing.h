#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The arithmetic of a picture's prices and of a play's reward, apart from the board that uses it.
namespace BoardPricing {

struct Rate {
    int32_t priceRate = 0;
    int32_t minArea = 0;
    int32_t maxArea = 0;
};

// An item's price weight: the smaller the item, the more it weighs, and never less than minArea.
int32_t weight(int32_t area, int32_t minArea, int32_t maxArea);
// The sum of the weights over the areas, with the bounds taken from the areas; all 0 for none.
Rate rateFor(std::vector<int32_t> areas);
// The integer part of (fullPrice / priceRate) * weight in single precision; 0 when the rate is 0.
int32_t itemPrice(int32_t fullPrice, const Rate& rate, int32_t area);

struct Counts {
    int32_t itemsOnLevel = 0;
    int32_t totalItems = 0;
};
// Story levels 0 to 3 price the picture as (L + 2) * 5 items, and a picture's first play restores
// that many, never more than are left in play. From story level 4 on, every item left is played.
Counts itemsForLevel(int32_t storyLevel, int32_t pictureState, int32_t totalItems, int32_t itemsInPlay);

// Integer part of amount * 0.2 with one damage object left, * 0.4 with 2 to 5, * 0.6 with 6 or more.
int32_t damagePenalty(int32_t amount, size_t damageCount);
int32_t earnedRounded(float earned);
int32_t flyBonus(int32_t fullPrice, int32_t fliesKilled);
int32_t reward(float earned, int32_t fullPrice, int32_t fliesKilled, size_t damageCount);

}  // namespace BoardPricing
