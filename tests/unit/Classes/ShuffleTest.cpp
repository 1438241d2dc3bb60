#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <vector>

#include "Shuffle.h"

namespace {

TEST(ShuffleTest, APermutationOfTheSameElements) {
    std::srand(7);
    std::vector<int> values(74);
    for (int i = 0; i < 74; ++i) {
        values[static_cast<size_t>(i)] = i / 10;
    }
    std::vector<int> shuffled = values;
    shuffleWithRand(shuffled.begin(), shuffled.end());
    std::sort(shuffled.begin(), shuffled.end());
    EXPECT_EQ(shuffled, values);
}

// Every order of three elements appears, the unchanged one included: a shuffle that could never
// leave an element in place would miss some.
TEST(ShuffleTest, EveryOrderOfThreeAppears) {
    std::set<std::vector<int>> seen;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::srand(seed);
        std::vector<int> values = {1, 2, 3};
        shuffleWithRand(values.begin(), values.end());
        seen.insert(values);
    }
    EXPECT_EQ(seen.size(), 6u);
}

TEST(ShuffleTest, TheSameSeedGivesTheSameOrderAndTinyRangesAreSafe) {
    std::vector<int> first(20), second(20);
    for (int i = 0; i < 20; ++i) {
        first[static_cast<size_t>(i)] = second[static_cast<size_t>(i)] = i;
    }
    std::srand(99);
    shuffleWithRand(first.begin(), first.end());
    std::srand(99);
    shuffleWithRand(second.begin(), second.end());
    EXPECT_EQ(first, second);

    std::vector<int> none;
    shuffleWithRand(none.begin(), none.end());
    std::vector<int> one = {5};
    shuffleWithRand(one.begin(), one.end());
    EXPECT_EQ(one, std::vector<int>{5});
}

}  // namespace
