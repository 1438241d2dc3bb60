#pragma once

#include <cmath>
#include <cstdint>
#include <string_view>

namespace assetgen {

// 64-bit FNV-1a: turns names into seeds, so every output has its own stable random stream.
constexpr std::uint64_t hashName(std::string_view text, std::uint64_t seed = 1469598103934665603ull) {
    std::uint64_t h = seed;
    for (char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

// A small deterministic generator (SplitMix64). The same seed gives the same drawing on every
// machine and every run, independent of the C library.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : _state(seed) {}
    Rng(std::string_view name, std::uint64_t salt = 0) : _state(hashName(name) ^ (salt * 0x9E3779B97F4A7C15ull)) {}

    std::uint64_t next() {
        std::uint64_t z = (_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * unit(); }
    // Uniform integer in [lo, hi].
    int irange(int lo, int hi) {
        return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1));
    }
    bool chance(double p) { return unit() < p; }
    // Roughly normal, mean 0 and deviation 1 (sum of uniforms; cheap and bounded).
    double gauss() {
        double s = 0.0;
        for (int i = 0; i < 4; ++i) s += unit();
        return (s - 2.0) * 1.7320508075688772;
    }
    // A child stream for a sub-part, so adding draws in one part does not shift another.
    Rng fork(std::string_view name) { return Rng(hashName(name, next())); }

private:
    std::uint64_t _state;
};

}  // namespace assetgen
