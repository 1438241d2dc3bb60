#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PictureProgress.h"
#include "gameBoard/LevelReward.h"
#include "ui/GameScreen.h"
#include "nodes/LevelStatistic.h"

namespace {

using namespace LevelReward;

Play play(int32_t running, int32_t earned, bool damage, int32_t penalty, int32_t fullPrice, bool flask,
          float percent) {
    Play p;
    p.runningReward = running;
    p.earnedRounded = earned;
    p.hasDamage = damage;
    p.earnedPenalty = penalty;
    p.fullPrice = fullPrice;
    p.hasFlask = flask;
    p.flaskPercent = percent;
    return p;
}

TEST(LevelRewardTest, APaidPlayWritesTheTotalTheGainAndTheWithheldPenalty) {
    struct Case {
        const char* what;
        int32_t earnedTotalBefore;
        Play play;
        int32_t reward;
        int32_t gain;
        int32_t earnedPart;
        int32_t liquidBonus;
    };
    const std::vector<Case> cases{
        {"first play, full flask adds 1 %", 0, play(170, 150, false, 0, 1000, true, 100.0f), 180, 180, 0, 10},
        {"half a flask adds int(5.0)", 0, play(170, 150, false, 0, 1000, true, 50.0f), 175, 175, 0, 5},
        {"damage left withholds its penalty", 0, play(110, 150, true, 60, 1000, false, 0.0f), 110, 110, 60, 0},
        {"a later play pays only the rise", 100, play(300, 250, false, 0, 1000, false, 0.0f), 300, 200, 0, 0},
        // The total is what the play shows even when it is below the old one; the money never drops.
        {"a total below the old one pays 0", 500, play(400, 600, true, 240, 1000, false, 0.0f), 400, 0, 240, 0},
    };
    for (const Case& c : cases) {
        PictureProgress record;
        record.earnedTotal = c.earnedTotalBefore;
        const Settlement s = settle(record, c.play);
        EXPECT_TRUE(s.paid) << c.what;
        EXPECT_EQ(s.reward, c.reward) << c.what;
        EXPECT_EQ(s.gain, c.gain) << c.what;
        EXPECT_EQ(s.liquidBonus, c.liquidBonus) << c.what;
        EXPECT_EQ(record.earnedTotal, c.reward) << c.what;
        EXPECT_EQ(record.lastGain, c.gain) << c.what;
        EXPECT_EQ(record.earnedPart, c.earnedPart) << c.what;
    }
}

TEST(LevelRewardTest, APlayAddingLessThanTwoPaysNothingAndLeavesTheRecord) {
    for (int32_t added : {-50, 0, 1}) {
        PictureProgress record;
        record.earnedTotal = 300;
        record.lastGain = 7;
        record.earnedPart = 9;
        const Settlement s = settle(record, play(900, 300 + added, true, 5, 1000, true, 100.0f));
        EXPECT_FALSE(s.paid) << added;
        EXPECT_EQ(s.reward, 0) << added;
        EXPECT_EQ(s.gain, 0) << added;
        EXPECT_EQ(record.earnedTotal, 300) << added;
        EXPECT_EQ(record.lastGain, 7) << added;
        EXPECT_EQ(record.earnedPart, 9) << added;
    }
    PictureProgress record;
    record.earnedTotal = 300;
    EXPECT_TRUE(settle(record, play(302, 302, false, 0, 1000, false, 0.0f)).paid);
}

TEST(LevelRewardTest, StarsFillAndLightByTheShareOfThePrice) {
    // 34 %: the first star lit, the second filled int(0.7 * 3) = 2 %, the third empty.
    const float p = rewardPercent(340, 1000);
    EXPECT_FLOAT_EQ(p, 34.0f);
    EXPECT_TRUE(isStarLit(1, p, false));
    EXPECT_FALSE(isStarLit(2, p, false));

    // What a star shows while not lit: empty below its step (also after the reward fell back past
    // it), never full above it (on its top, or the third star with damage left).
    struct Fill {
        int star;
        float percent;
        float shown;
    };
    for (const Fill& c : {Fill{2, p, 2.0f}, Fill{3, p, 0.0f}, Fill{1, 10.0f, 30.0f}, Fill{1, 0.0f, 0.0f},
                          Fill{2, 20.0f, 0.0f}, Fill{3, -5.0f, 0.0f}, Fill{1, 33.3f, 99.0f},
                          Fill{3, 100.0f, 99.0f}, Fill{2, 250.0f, 99.0f}}) {
        EXPECT_FLOAT_EQ(partialFill(c.star, c.percent), c.shown) << "star " << c.star << " at " << c.percent;
    }

    // Above 99.9 % the third star needs the damage gone.
    EXPECT_TRUE(isStarLit(3, 100.0f, false));
    EXPECT_FALSE(isStarLit(3, 100.0f, true));
    EXPECT_TRUE(isStarLit(2, 100.0f, true));
    // Exactly on a step is not above it.
    EXPECT_FALSE(isStarLit(1, 33.3f, false));

    // A picture without a price shows nothing rather than dividing by zero.
    EXPECT_FLOAT_EQ(rewardPercent(500, 0), 0.0f);
    EXPECT_FLOAT_EQ(rewardPercent(500, -3), 0.0f);
}

TEST(LevelRewardTest, StarsAndStoryLevelAfterEndedPlays) {
    // First ended play: every lit star counts, the story level steps on (not in the intro).
    PictureProgress record;
    int32_t story = 2;
    recordStars(record, story, 2);
    EXPECT_EQ(story, 3);
    EXPECT_EQ(record.firstStars, 2);
    EXPECT_EQ(record.bestStars, 2);
    int32_t intro = -1;
    PictureProgress introRecord;
    recordStars(introRecord, intro, 1);
    EXPECT_EQ(intro, -1);

    // Later plays: a rise over the best is recorded as the rise, fewer stars change nothing.
    record.state = 1;
    recordStars(record, story, 1);
    EXPECT_EQ(record.firstStars, 2);
    EXPECT_EQ(record.bestStars, 2);
    recordStars(record, story, 3);
    EXPECT_EQ(record.firstStars, 1);
    EXPECT_EQ(record.bestStars, 3);
    EXPECT_EQ(story, 3);
}

TEST(LevelRewardTest, APictureIsFinishedOnlyWholeAndWithoutDamage) {
    struct Case {
        bool damage;
        int32_t restored;
        int32_t onLevel;
        int history;
        int32_t total;
        bool finished;
    };
    const std::vector<Case> cases{
        {false, 10, 10, 10, 10, true},  {true, 10, 10, 10, 10, false}, {false, 9, 10, 10, 10, false},
        {false, 10, 10, 9, 10, false},  {false, 5, 5, 12, 12, true},
    };
    for (const Case& c : cases) {
        PictureProgress record;
        record.state = 2;
        for (int i = 0; i < c.history; ++i) {
            record.restoredHistory.insert("item" + std::to_string(i));
        }
        recordEnd(record, c.damage, c.restored, c.onLevel, c.total);
        EXPECT_EQ(record.state, 3);
        EXPECT_EQ(record.finished, c.finished) << c.damage << " " << c.restored << " " << c.history;
    }
}

TEST(LevelRewardTest, FlaskNumbersByStoryLevel) {
    struct Case {
        int32_t level, total, onLevel, damage;
        int32_t start, max;
        float seconds;
    };
    const std::vector<Case> cases{
        {4, 10, 10, 0, 12, 12, 60.0f},
        {0, 10, 10, 1, 32, 32, 180.0f},
        {2, 20, 10, 3, 35, 62, 360.0f},
        {-1, 3, 3, 0, 11, 11, 54.0f},
        {7, 0, 0, 4, 2, 2, 0.0f},
    };
    for (const Case& c : cases) {
        const GameScreen::FlaskNumbers n = GameScreen::flaskNumbers(c.level, c.total, c.onLevel, c.damage);
        EXPECT_EQ(n.startDrops, c.start) << c.level << "/" << c.total;
        EXPECT_EQ(n.maxDrops, c.max) << c.level << "/" << c.total;
        EXPECT_FLOAT_EQ(n.seconds, c.seconds) << c.level << "/" << c.total;
    }
}

TEST(LevelRewardTest, ResultTimeShowsMinutesAndSeconds) {
    const std::vector<std::pair<float, std::string>> cases{
        {75.5f, "1:15"}, {65.0f, "1:05"}, {9.9f, "0:09"}, {600.0f, "10:00"}, {0.0f, "0:00"}};
    for (const auto& [seconds, text] : cases) {
        EXPECT_EQ(LevelStatistic::formatTime(seconds), text) << seconds;
    }
}

}  // namespace
