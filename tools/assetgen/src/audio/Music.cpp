// Generative ambient pieces for the museum: a chord progression voiced by a few gentle
// instruments, entering one by one, with a soft room around them.
#include <algorithm>
#include <map>

#include "audio/Effects.h"

namespace assetgen::audio {

namespace {

int keyOf(const RecipeNode& n) {
    static const std::map<std::string, int> keys = {{"C", 0}, {"C#", 1}, {"Db", 1}, {"D", 2}, {"Eb", 3}, {"E", 4}, {"F", 5},
                                                    {"F#", 6}, {"Gb", 6}, {"G", 7}, {"Ab", 8}, {"A", 9}, {"Bb", 10}, {"B", 11}};
    std::string k = n.text("key");
    auto it = keys.find(k);
    if (it == keys.end()) n.fail("unknown key \"" + k + "\"");
    return it->second;
}

std::vector<int> scaleOf(const RecipeNode& n) {
    std::string m = n.text("mode", "major");
    if (m == "major") return {0, 2, 4, 5, 7, 9, 11};
    if (m == "minor") return {0, 2, 3, 5, 7, 8, 10};
    if (m == "dorian") return {0, 2, 3, 5, 7, 9, 10};
    if (m == "mixolydian") return {0, 2, 4, 5, 7, 9, 10};
    n.fail("mode must be major, minor, dorian or mixolydian");
}

int degreeOf(const RecipeNode& n, const std::string& roman) {
    static const char* names[] = {"i", "ii", "iii", "iv", "v", "vi", "vii"};
    std::string low;
    for (char c : roman) low += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (int d = 0; d < 7; ++d) {
        if (low == names[d]) return d;
    }
    n.fail("chord \"" + roman + "\" is not a roman numeral I..VII");
}

// MIDI note of a scale degree (any integer; wraps into octaves) above the tonic `root`.
int noteAt(const std::vector<int>& scale, int root, int degree) {
    int oct = degree >= 0 ? degree / 7 : -((-degree + 6) / 7);
    int d = degree - oct * 7;
    return root + oct * 12 + scale[static_cast<std::size_t>(d)];
}

struct Track {
    Signal l, r;
    void add(const Signal& s, double at, double gain, double pan) {
        mixInto(l, s, at, gain * std::sqrt(0.5 * (1.0 - pan)));
        mixInto(r, s, at, gain * std::sqrt(0.5 * (1.0 + pan)));
    }
};

Signal padNote(double freq, double seconds, double attack, double cutoff, Rng& rng) {
    Signal s = silence(seconds);
    Osc a(Osc::Shape::Saw, rng.unit()), b(Osc::Shape::Saw, rng.unit()), c(Osc::Shape::Triangle, rng.unit());
    Biquad lp(Biquad::Kind::LowPass, cutoff, 0.7);
    double detune = 1.0 + rng.range(0.002, 0.005);
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = timeOf(i);
        double env = adsr(t, attack, 0.5, 0.8, std::min(1.8, seconds * 0.4), seconds);
        if (i % 64 == 0) lp.set(Biquad::Kind::LowPass, cutoff * (0.7 + 0.3 * std::sin(2 * M_PI * 0.1 * t)), 0.7);
        double v = lp.process(static_cast<float>(0.4 * a.next(freq) + 0.4 * b.next(freq * detune))) + 0.3 * c.next(freq * 0.5);
        s[i] = static_cast<float>(v * env);
    }
    return s;
}

Signal softBass(double freq, double seconds) {
    Signal s = silence(seconds);
    Osc a(Osc::Shape::Sine), b(Osc::Shape::Triangle);
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = timeOf(i);
        double env = adsr(t, 0.04, 0.4, 0.6, 0.5, seconds);
        s[i] = static_cast<float>((0.8 * a.next(freq) + 0.25 * b.next(freq)) * env);
    }
    return s;
}

Signal ePiano(double freq, double seconds) {
    Signal s = silence(seconds);
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = timeOf(i);
        double env = expDecay(t, 1.1) * std::min(1.0, t / 0.004) * std::min(1.0, (seconds - t) * 8);
        double mod = 0.9 * expDecay(t, 0.35) * std::sin(2 * M_PI * freq * t);
        s[i] = static_cast<float>(env * std::sin(2 * M_PI * freq * t + mod) + 0.15 * env * std::sin(4 * M_PI * freq * t));
    }
    return s;
}

Signal flute(double freq, double seconds, Rng& rng) {
    Signal s = silence(seconds);
    Osc o(Osc::Shape::Sine), o2(Osc::Shape::Triangle);
    Biquad breath(Biquad::Kind::BandPass, freq * 2, 2.0);
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = timeOf(i);
        double env = adsr(t, 0.12, 0.2, 0.85, std::min(0.4, seconds * 0.3), seconds);
        double vib = 1.0 + 0.005 * std::sin(2 * M_PI * 5.0 * t) * std::min(1.0, t / 0.5);
        double v = 0.8 * o.next(freq * vib) + 0.12 * o2.next(freq * 2 * vib) +
                   0.12 * breath.process(static_cast<float>(rng.range(-1, 1)));
        s[i] = static_cast<float>(v * env);
    }
    return s;
}

}  // namespace

void makeMusic(const RecipeNode& n, Rng& rng, Signal& left, Signal& right) {
    int tonic = keyOf(n);
    std::vector<int> scale = scaleOf(n);
    double tempo = n.number("tempo", 72), seconds = n.number("seconds", 90);
    int beatsPerChord = n.integer("beatsPerChord", 4);
    std::vector<std::string> romans = n.texts("chords");
    std::vector<std::string> voices = n.texts("voices");
    if (romans.empty()) n.fail("\"chords\" must list the progression");
    if (tempo < 40 || tempo > 160) n.fail("\"tempo\" must lie in 40..160");
    if (seconds < 20 || seconds > 240) n.fail("\"seconds\" must lie in 20..240");
    std::vector<int> degrees;
    for (const auto& r : romans) degrees.push_back(degreeOf(n, r));
    auto has = [&](const char* v) { return std::find(voices.begin(), voices.end(), v) != voices.end(); };
    for (const auto& v : voices) {
        if (v != "pad" && v != "harp" && v != "bass" && v != "bell" && v != "epiano" && v != "flute") {
            n.fail("unknown voice \"" + v + "\"");
        }
    }

    double beat = 60.0 / tempo, chordLen = beat * beatsPerChord;
    int root = 48 + tonic;  // tonic in the octave below middle C
    Track tr;
    tr.l = silence(seconds + 4);
    tr.r = silence(seconds + 4);
    int chords = static_cast<int>((seconds - 4.0) / chordLen);
    int melodyDegree = 7 + rng.irange(0, 4);
    for (int c = 0; c < chords; ++c) {
        double at = c * chordLen;
        int deg = degrees[static_cast<std::size_t>(c) % degrees.size()];
        int cycle = c / static_cast<int>(degrees.size());
        int third = (cycle % 4 == 3) ? 3 : 2;  // a suspended colour now and then
        int tones[4] = {noteAt(scale, root, deg), noteAt(scale, root, deg + third), noteAt(scale, root, deg + 4),
                        noteAt(scale, root, deg + 6)};
        double progress = static_cast<double>(c) / std::max(1, chords);
        if (has("pad")) {
            for (int k = 0; k < 3; ++k) {
                Signal p = padNote(midiToHz(tones[k] + 12), chordLen + 1.2, chordLen * 0.35, 900 + 500 * k, rng);
                tr.add(p, at, 0.12, -0.5 + 0.5 * k);
            }
        }
        if (has("bass") && c >= 1) tr.add(softBass(midiToHz(tones[0] - 12), chordLen * 0.95), at, 0.35, 0.0);
        if (has("epiano") && c >= 2) {
            for (int hit = 0; hit < 2; ++hit) {
                for (int k = 0; k < 3; ++k) {
                    tr.add(ePiano(midiToHz(tones[k] + 12), beat * 2.2), at + hit * chordLen / 2 + k * 0.012, 0.1, -0.3 + 0.3 * k);
                }
            }
        }
        if (has("harp") && c >= 2 && progress < 0.93) {
            int steps = beatsPerChord * 2;
            for (int s = 0; s < steps; ++s) {
                if (rng.chance(0.12)) continue;
                int idx = s % 6;
                int offsets[6] = {0, 2, 4, 7, 9, 11};
                int note = noteAt(scale, root + 12, deg + offsets[idx]);
                Signal p = pluck(midiToHz(note), 2.2, 0.55, rng);
                tr.add(p, at + s * beat / 2, 0.22, -0.6 + 1.2 * idx / 5.0);
            }
        }
        bool melodyTime = progress > 0.2 && progress < 0.88;
        if ((has("bell") || has("flute")) && melodyTime) {
            for (int b = 0; b < beatsPerChord; b += (has("flute") ? 2 : 1)) {
                if (rng.chance(has("flute") ? 0.25 : 0.45)) continue;
                int stepDir = rng.irange(-2, 2);
                melodyDegree = std::clamp(melodyDegree + stepDir, 5, 13);
                // Land on a chord tone on strong beats.
                if (b == 0) {
                    int rel = ((melodyDegree - deg) % 7 + 7) % 7;
                    if (rel != 0 && rel != 2 && rel != 4) melodyDegree += (rel == 1 || rel == 3 || rel == 5) ? -1 : 1;
                }
                int note = noteAt(scale, root + 12, melodyDegree);
                if (has("bell")) tr.add(bell(midiToHz(note), 2.5, 3.5, 1.1, 0.7), at + b * beat, 0.16, 0.25);
                else tr.add(flute(midiToHz(note), beat * 1.9, rng), at + b * beat, 0.2, -0.15);
            }
        }
    }
    reverb(tr.l, 0.75, 0.35, 0.32);
    reverb(tr.r, 0.78, 0.35, 0.32);
    std::size_t total = silence(seconds).size();
    tr.l.resize(total);
    tr.r.resize(total);
    fadeEnds(tr.l, 2.5, 5.0);
    fadeEnds(tr.r, 2.5, 5.0);
    float peak = 0.0f;
    for (std::size_t i = 0; i < total; ++i) peak = std::max({peak, std::fabs(tr.l[i]), std::fabs(tr.r[i])});
    float k = peak > 0 ? 0.6f / peak : 1.0f;
    for (std::size_t i = 0; i < total; ++i) {
        tr.l[i] *= k;
        tr.r[i] *= k;
    }
    left = std::move(tr.l);
    right = std::move(tr.r);
}

}  // namespace assetgen::audio
