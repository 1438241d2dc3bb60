#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "Profile.h"
#include "minigames/MinigameLevels.h"
#include "../SaveTestSupport.h"

namespace {

TEST(MinigameLevelsTest, AWinAdvancesTheLevelAndWrapsPastTheKindsLastLevel) {
    struct Case {
        int32_t kind;
        int32_t level;
        int32_t next;
    };
    const std::vector<Case> cases = {
        {0, 0, 1},
        {1, 6, 7},
        {1, 7, 0},
        {3, 7, 0},
        {2, 3, 4},
        {4, 7, 8},
        {4, 88, 89},
        {4, 89, 0},
        // Not a level of the kind (a damaged save): play goes on at level 0.
        {1, 8, 0},
        {1, -3, 0},
        {4, 90, 0},
        {0, INT_MAX, 0},
        {2, INT_MIN, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nextMinigameLevel(c.kind, c.level), c.next) << "kind " << c.kind << " level " << c.level;
    }
}

TEST(MinigameLevelsTest, KindsNameTheirFoldersAndLevelFiles) {
    struct Case {
        int32_t kind;
        int32_t level;
        int32_t count;
        const char* folder;
        const char* path;
    };
    const std::vector<Case> cases = {
        {0, 0, 8, "Minigames/TwoMatch", "minigamelevels/TwoMatch_0.xml"},
        {1, 7, 8, "Minigames/ColorMatch", "minigamelevels/ColorMatch_7.xml"},
        {2, 3, 8, "Minigames/DropsPuzzle", "minigamelevels/DropsPuzzle_3.xml"},
        {3, 5, 8, "Minigames/ConveyorPuzzle", "minigamelevels/ConveyorPuzzle_5.xml"},
        {4, 42, 90, "Minigames/JigsawPuzzle", "minigamelevels/JigsawPuzzle.xml"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(minigameLevelCount(c.kind), c.count);
        EXPECT_EQ(minigameFolder(c.kind), c.folder);
        EXPECT_EQ(minigameLevelPath(c.kind, c.level), c.path);
        EXPECT_TRUE(isMinigameLevel(c.kind, c.count - 1));
        EXPECT_FALSE(isMinigameLevel(c.kind, c.count));
        EXPECT_FALSE(isMinigameLevel(c.kind, -1));
    }
    EXPECT_EQ(minigameLevelCount(5), 0);
    EXPECT_EQ(minigameLevelCount(-1), 0);
    EXPECT_STREQ(minigameName(5), "");
}

TEST(MinigameLevelsTest, TheProfilesNextLevelIsAlwaysOneOfTheKindsLevels) {
    Profile profile;
    profile.minigameLevels = {7, 3, -2, 8, 89};
    savetest::LogCapture log;
    EXPECT_EQ(minigameLevelOf(profile, 0), 7);
    EXPECT_EQ(minigameLevelOf(profile, 1), 3);
    EXPECT_EQ(minigameLevelOf(profile, 4), 89);
    EXPECT_TRUE(log.lines.empty());
    EXPECT_EQ(minigameLevelOf(profile, 2), 0);
    EXPECT_EQ(minigameLevelOf(profile, 3), 0);
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{
                  "Minigame DropsPuzzle: saved level -2 is not one of its levels, playing level 0",
                  "Minigame ConveyorPuzzle: saved level 8 is not one of its levels, playing level 0"}));
    EXPECT_EQ(minigameLevelOf(profile, 5), 0);
    // The stored numbers stay as they were: the next win stores a good one.
    EXPECT_EQ(profile.minigameLevels, (std::vector<int32_t>{7, 3, -2, 8, 89}));
}

TEST(MinigameLevelsTest, AShortLevelListReadsAsZeroAndGrowsWhenALevelIsStored) {
    Profile profile;  // the constructor's empty list, as a profile made from a dangling name has
    EXPECT_EQ(minigameLevelOf(profile, 4), 0);
    setMinigameLevel(profile, 3, 6);
    EXPECT_EQ(profile.minigameLevels, (std::vector<int32_t>{0, 0, 0, 6, 0}));
    profile.minigameLevels = {1, 2};
    setMinigameLevel(profile, 1, 5);
    EXPECT_EQ(profile.minigameLevels, (std::vector<int32_t>{1, 5, 0, 0, 0}));
    setMinigameLevel(profile, 7, 1);  // no such kind: nothing is stored
    EXPECT_EQ(profile.minigameLevels, (std::vector<int32_t>{1, 5, 0, 0, 0}));
    EXPECT_EQ(minigameLevelOf(profile, 1), 5);
}

}  // namespace
