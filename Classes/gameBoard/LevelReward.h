#pragma once

#include <cstdint>

struct PictureProgress;

// The arithmetic of a level's end and of the HUD's stars, apart from the screen that shows them.
namespace LevelReward {

// Each star stands for this share (per cent) of the picture's full price.
constexpr float kStarStep = 33.3f;
// A star that is partly reached fills this many per cent per per cent of the price above its start.
constexpr float kPartialFillFactor = 3.0f;
// A play that adds less than this to the rounded earnings pays nothing.
constexpr int32_t kMinimumGain = 2;

// What the board and the flask know when the level ends.
struct Play {
    // The board's running reward (earnings + fly bonus - damage penalty, never below 0).
    int32_t runningReward = 0;
    int32_t earnedRounded = 0;
    // The damage penalty on the rounded earnings; 0 without damage.
    int32_t earnedPenalty = 0;
    bool hasDamage = false;
    int32_t fullPrice = 0;
    bool hasFlask = false;
    float flaskPercent = 0.0f;
};

// What settling the play changed.
struct Settlement {
    int32_t reward = 0;
    // What the money grows by.
    int32_t gain = 0;
    int32_t liquidBonus = 0;
    // The play added at least the minimum gain and so was paid.
    bool paid = false;
};

// The reward of an unfinished picture's ended play. A paid play writes the withheld penalty, the
// last gain and the new total into the record; an unpaid one leaves them and rewards 0.
Settlement settle(PictureProgress& record, const Play& play);

// The reward as a share of the full price, in per cent; 0 for a picture without a price.
float rewardPercent(int32_t reward, int32_t fullPrice);
// What star 1..3 shows while it is not lit at p per cent: 0 below its step, the share of its step
// reached within it, and never a full star above it (99 at most).
float partialFill(int star, float percent);
// Whether star 1..3 is lit at p per cent: above its step, and the third only with no damage left.
bool isStarLit(int star, float percent, bool hasDamage);

// The stars of an ended play into the record, and the story level's step after a picture's first
// ended play; then one more ended play, and the finished flag when the picture is whole.
void recordStars(PictureProgress& record, int32_t& storyLevel, int32_t litStars);
void recordEnd(PictureProgress& record, bool hasDamage, int32_t itemsRestored, int32_t itemsOnLevel,
               int32_t totalItems);

}  // namespace LevelReward
