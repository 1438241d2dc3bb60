#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/Rng.h"

namespace assetgen::audio {

constexpr int kRate = 44100;

using Signal = std::vector<float>;

inline Signal silence(double seconds) { return Signal(static_cast<std::size_t>(seconds * kRate + 0.5), 0.0f); }
inline double timeOf(std::size_t i) { return static_cast<double>(i) / kRate; }

// Band-limited oscillators, keeping their phase between calls.
class Osc {
public:
    enum class Shape { Sine, Triangle, Saw, Square };
    explicit Osc(Shape shape, double phase = 0.0) : _shape(shape), _phase(phase) {}
    float next(double freq);

private:
    Shape _shape;
    double _phase;
    double _tri = 0.0;
};

// Biquad filters (RBJ cookbook), one channel.
class Biquad {
public:
    enum class Kind { LowPass, HighPass, BandPass };
    Biquad(Kind kind, double freq, double q) { set(kind, freq, q); }
    void set(Kind kind, double freq, double q);
    float process(float x);

private:
    double _b0 = 1, _b1 = 0, _b2 = 0, _a1 = 0, _a2 = 0;
    double _x1 = 0, _x2 = 0, _y1 = 0, _y2 = 0;
};

// A Schroeder-style room: four combs into two all-passes; mix is the wet share.
void reverb(Signal& s, double roomSize, double damping, double mix);

// Envelopes.
inline double adsr(double t, double a, double d, double sLevel, double r, double length) {
    if (t < 0) return 0;
    double env;
    if (t < a) env = t / a;
    else if (t < a + d) env = 1.0 - (1.0 - sLevel) * (t - a) / d;
    else env = sLevel;
    double rel = length - r;
    if (t > rel) env *= std::max(0.0, 1.0 - (t - rel) / r);
    return env;
}
inline double expDecay(double t, double tau) { return t < 0 ? 0 : std::exp(-t / tau); }

// A plucked string (Karplus-Strong) of the given pitch and length.
Signal pluck(double freq, double seconds, double brightness, Rng& rng);
// A bell or glockenspiel tone: frequency modulation with a decaying index.
Signal bell(double freq, double seconds, double ratio, double index, double decay);

// Adds `src` into `dst` at `offset` seconds with a gain (dst grows when needed).
void mixInto(Signal& dst, const Signal& src, double offset, double gain);
// Scales so the peak is `peak` (0..1).
void normalize(Signal& s, double peak);
// Short fades at both ends so the sound starts and stops at silence.
void fadeEnds(Signal& s, double inSeconds, double outSeconds);
// Makes a loop seamless: crossfades its last `overlap` seconds into its start and trims them,
// then rotates it so it begins at a rising zero crossing.
void makeLoop(Signal& s, double overlap);

inline double midiToHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

}  // namespace assetgen::audio
