#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "minigames/ConveyorPuzzleRules.h"

namespace {

using cocos2d::Vec2;
using ConveyorPuzzleRules::judgeSwipe;
using ConveyorPuzzleRules::SwipeResult;
constexpr int32_t kAccepted = ConveyorPuzzleRules::kAcceptedTag;
constexpr int32_t kIllicit = ConveyorPuzzleRules::kIllicitTag;
constexpr int32_t kCoin = ConveyorPuzzleRules::kCoinTag;

TEST(ConveyorPuzzleRulesTest, ASwipeSortsOnlyOnceItHasTravelledAHundredPixelsVertically) {
    struct Case {
        const char* what;
        int32_t tag;
        Vec2 start, end;
        SwipeResult result;
    };
    const Vec2 s(600, 400);
    const std::vector<Case> cases = {
        {"accepted down", kAccepted, s, s + Vec2(0, -100), SwipeResult::Correct},
        {"accepted up", kAccepted, s, s + Vec2(0, 100), SwipeResult::Mistake},
        {"illicit up", kIllicit, s, s + Vec2(0, 100), SwipeResult::Correct},
        {"illicit down", kIllicit, s, s + Vec2(0, -100), SwipeResult::Mistake},
        {"coin down", kCoin, s, s + Vec2(0, -150), SwipeResult::Coin},
        {"coin up", kCoin, s, s + Vec2(0, 150), SwipeResult::Coin},
        {"99 down", kAccepted, s, s + Vec2(0, -99), SwipeResult::TooShort},
        {"99 up", kIllicit, s, s + Vec2(0, 99), SwipeResult::TooShort},
        {"99.9 is truncated to 99", kIllicit, s, s + Vec2(0, 99.9f), SwipeResult::TooShort},
        {"a short coin swipe collects nothing", kCoin, s, s + Vec2(0, 50), SwipeResult::TooShort},
        {"long and sideways", kAccepted, s, s + Vec2(900, -60), SwipeResult::TooShort},
        {"slanted enough", kAccepted, s, s + Vec2(-300, -100.5f), SwipeResult::Correct},
        {"a tap", kAccepted, s, s, SwipeResult::TooShort},
        {"as far as floats go", kIllicit, Vec2(0, -3e38f), Vec2(0, 3e38f), SwipeResult::Correct},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(judgeSwipe(c.tag, c.start, c.end), c.result) << c.what;
    }
}

struct Draws {
    int illicit = 0;
    int accepted = 0;
    bool repeated = false;
    bool namesInRange = true;
};

Draws draw(float percent, int count) {
    Draws d;
    int32_t lastAccepted = -1;
    int32_t lastIllicit = -1;
    std::string previousAccepted;
    std::string previousIllicit;
    for (int i = 0; i < count; ++i) {
        const ConveyorPuzzleRules::Item item =
            ConveyorPuzzleRules::drawItem(percent, lastAccepted, lastIllicit);
        if (item.tag == kIllicit) {
            ++d.illicit;
            d.repeated = d.repeated || item.name == previousIllicit;
            previousIllicit = item.name;
            d.namesInRange = d.namesInRange && lastIllicit >= 0 && lastIllicit < 11 &&
                             item.name == "illicit_" + std::to_string(lastIllicit);
        } else {
            ++d.accepted;
            d.repeated = d.repeated || item.name == previousAccepted;
            previousAccepted = item.name;
            d.namesInRange = d.namesInRange && item.tag == kAccepted && lastAccepted >= 0 &&
                             lastAccepted < 8 && item.name == "accepted_" + std::to_string(lastAccepted);
        }
    }
    return d;
}

TEST(ConveyorPuzzleRulesTest, TheIllicitShareFollowsThePercentageAndNoPictureComesTwiceInARow) {
    struct Case {
        float percent;
        double lowShare, highShare;
    };
    // A roll of 0 to 99 is illicit when it is at most the percentage: 50 gives 51 in 100.
    const std::vector<Case> cases = {
        {50.0f, 0.49, 0.53}, {0.0f, 0.005, 0.015}, {-10.0f, 0.0, 0.0},
        {99.0f, 1.0, 1.0},   {250.0f, 1.0, 1.0},   {20.5f, 0.20, 0.22},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.percent);
        std::srand(11);
        const int count = 40000;
        const Draws d = draw(c.percent, count);
        const double share = static_cast<double>(d.illicit) / count;
        EXPECT_GE(share, c.lowShare);
        EXPECT_LE(share, c.highShare);
        EXPECT_FALSE(d.repeated);
        EXPECT_TRUE(d.namesInRange);
    }
}

}  // namespace
