#pragma once

#include <cstdlib>
#include <iterator>
#include <utility>

// Fisher-Yates shuffle driven by the C library's rand, so that the one seed set at start-up governs
// every shuffle of the game.
template <std::random_access_iterator Iterator>
void shuffleWithRand(Iterator first, Iterator last) {
    const auto count = last - first;
    for (auto i = count - 1; i > 0; --i) {
        const auto j = static_cast<decltype(i)>(std::rand() % (i + 1));
        using std::swap;
        swap(first[i], first[j]);
    }
}
