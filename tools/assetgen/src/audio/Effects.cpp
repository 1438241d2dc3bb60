#include "audio/Effects.h"

#include <algorithm>

namespace assetgen::audio {

namespace {

using Kind = Biquad::Kind;

double noise(Rng& rng) { return rng.range(-1.0, 1.0); }

Signal click(const RecipeNode& n, Rng& rng) {
    double pitch = n.number("pitch", 1400), len = n.number("length", 0.08);
    Signal s = silence(len);
    Biquad bp(Kind::BandPass, pitch * 2.2, 2.0);
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = timeOf(i);
        double v = 0.6 * std::sin(2 * M_PI * pitch * t) * expDecay(t, 0.012) +
                   0.5 * bp.process(static_cast<float>(noise(rng))) * expDecay(t, 0.006) +
                   0.5 * std::sin(2 * M_PI * 170 * t) * expDecay(t, 0.02);
        s[i] = static_cast<float>(v);
    }
    return s;
}

// A short melody or chord: notes are MIDI numbers, played `step` apart; "chord" plays all at once.
Signal notes(const RecipeNode& n, Rng& rng) {
    std::vector<double> ns = n.numbers("notes");
    if (ns.empty()) n.fail("\"notes\" must list MIDI note numbers");
    std::string timbre = n.text("timbre", "bell");
    double step = n.number("step", 0.08), decay = n.number("decay", 0.35), len = n.number("length", 0.8);
    double ratio = n.number("ratio", 3.5), index = n.number("index", 1.2), wet = n.number("reverb", 0.2);
    bool chord = n.flag("chord", false);
    Signal out = silence(len);
    for (std::size_t k = 0; k < ns.size(); ++k) {
        double f = midiToHz(ns[k]);
        double at = chord ? 0.0 : k * step;
        double remain = std::max(0.05, len - at);
        Signal v;
        if (timbre == "bell") {
            v = bell(f, remain, ratio, index, decay);
        } else if (timbre == "pluck") {
            v = pluck(f, remain, 0.5, rng);
            for (std::size_t i = 0; i < v.size(); ++i) v[i] *= static_cast<float>(expDecay(timeOf(i), decay * 2.0));
        } else if (timbre == "buzz" || timbre == "organ" || timbre == "sine") {
            v = silence(remain);
            Osc o(timbre == "buzz" ? Osc::Shape::Saw : timbre == "organ" ? Osc::Shape::Square : Osc::Shape::Sine);
            Osc o2(Osc::Shape::Sine);
            Biquad lp(Kind::LowPass, timbre == "buzz" ? 1400 : 2400, 0.8);
            double noteLen = chord ? remain : std::min(remain, step * 1.1 + decay);
            for (std::size_t i = 0; i < v.size(); ++i) {
                double t = timeOf(i);
                double vib = 1.0 + 0.006 * std::sin(2 * M_PI * 5.5 * t);
                double env = adsr(t, 0.01, 0.05, 0.7, std::min(0.12, noteLen * 0.4), noteLen);
                double x = lp.process(o.next(f * vib)) * 0.7 + o2.next(f * 2) * 0.15;
                v[i] = static_cast<float>(x * env);
            }
        } else {
            n.fail("timbre must be bell, pluck, buzz, organ or sine");
        }
        mixInto(out, v, at, 1.0 / std::sqrt(static_cast<double>(chord ? ns.size() : 1)));
    }
    out.resize(silence(len).size());
    if (wet > 0) {
        reverb(out, 0.4, 0.4, wet);
        out.resize(silence(len).size());
    }
    return out;
}

Signal whoosh(const RecipeNode& n, Rng& rng) {
    double from = n.number("from", 400), to = n.number("to", 2400), len = n.number("length", 0.45);
    Signal s = silence(len);
    Biquad bp(Kind::BandPass, from, 1.5);
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = timeOf(i) / len;
        if (i % 32 == 0) bp.set(Kind::BandPass, from * std::pow(to / from, t), 1.5);
        double env = std::sin(M_PI * std::min(1.0, t * 1.1)) * (t < 0.9 ? 1.0 : (1 - t) * 10);
        s[i] = static_cast<float>(bp.process(static_cast<float>(noise(rng))) * env * 2.0);
    }
    return s;
}

Signal drop(const RecipeNode& n, Rng& rng) {
    double pitch = n.number("pitch", 1200), len = n.number("length", 0.25), fall = n.number("fall", 0.45);
    Signal s = silence(len);
    double phase = 0;
    Biquad lp(Kind::LowPass, 3000, 0.7);
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = timeOf(i);
        double f = pitch * (1.0 - fall * std::min(1.0, t / 0.06)) + 200 * expDecay(t, 0.02);
        phase += f / kRate;
        double v = std::sin(2 * M_PI * phase) * expDecay(t, 0.05) + 0.3 * lp.process(static_cast<float>(noise(rng))) * expDecay(t, 0.01);
        s[i] = static_cast<float>(v);
    }
    return s;
}

Signal splat(const RecipeNode& n, Rng& rng) {
    double len = n.number("length", 0.3), tone = n.number("tone", 900), thump = n.number("thump", 90);
    Signal s = silence(len);
    Biquad lp(Kind::LowPass, tone, 0.9);
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = timeOf(i);
        double v = lp.process(static_cast<float>(noise(rng))) * expDecay(t, len * 0.25) * 1.6 +
                   0.8 * std::sin(2 * M_PI * thump * t * (1.0 - 0.3 * t / len)) * expDecay(t, 0.05);
        s[i] = static_cast<float>(v);
    }
    return s;
}

Signal tear(const RecipeNode& n, Rng& rng) {
    double len = n.number("length", 0.5);
    Signal s = silence(len);
    Biquad bp(Kind::BandPass, 1500, 1.2);
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = timeOf(i) / len;
        if (i % 64 == 0) bp.set(Kind::BandPass, 900 + 2600 * t, 1.2);
        double crackle = rng.chance(0.02 + 0.05 * (1 - t)) ? noise(rng) * 3.0 : 0.0;
        double env = std::min(1.0, t * 20) * std::pow(1 - t, 1.5);
        s[i] = static_cast<float>((bp.process(static_cast<float>(noise(rng))) * 1.5 + crackle * 0.4) * env);
    }
    return s;
}

// Steady rubbing, scraping or brushing: filtered noise pulsing at the stroke rate.
Signal noiseLoop(const RecipeNode& n, Rng& rng) {
    double len = n.number("length", 1.5), freq = n.number("filter", 1800), q = n.number("q", 1.0);
    double rate = n.number("rate", 3.0), depth = n.number("depth", 0.6), grit = n.number("grit", 0.0);
    std::string band = n.text("band", "band");
    Biquad f(band == "low" ? Kind::LowPass : band == "high" ? Kind::HighPass : Kind::BandPass, freq, q);
    Signal s = silence(len + 0.2);
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = timeOf(i);
        double mod = 1.0 - depth * 0.5 * (1.0 + std::cos(2 * M_PI * rate * t));
        double g = (grit > 0 && rng.chance(grit * 0.02)) ? noise(rng) * 2.5 : 0.0;
        s[i] = static_cast<float>(f.process(static_cast<float>(noise(rng) + g)) * mod);
    }
    return s;
}

Signal stitchLoop(const RecipeNode& n, Rng& rng) {
    double len = n.number("length", 1.2), rate = n.number("rate", 5), pitch = n.number("pitch", 2400);
    Signal s = silence(len + 0.2);
    Biquad bp(Kind::BandPass, pitch, 3.0);
    Biquad lp(Kind::LowPass, 600, 0.7);
    double period = 1.0 / rate;
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = timeOf(i);
        double ph = std::fmod(t, period);
        double pull = std::fmod(t + period * 0.5, period);
        double v = bp.process(static_cast<float>(noise(rng))) * expDecay(ph, 0.006) * 2.0 +
                   lp.process(static_cast<float>(noise(rng))) * expDecay(pull, 0.05) * 0.5;
        s[i] = static_cast<float>(v);
    }
    return s;
}

Signal tickLoop(const RecipeNode& n, Rng& rng) {
    double len = n.number("length", 1.0), bpm = n.number("bpm", 120), pitch = n.number("pitch", 1800);
    Signal s = silence(len + 0.2);
    Biquad bp(Kind::BandPass, pitch, 4.0);
    double beat = 60.0 / bpm;
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = timeOf(i);
        double ph = std::fmod(t, beat);
        int which = static_cast<int>(t / beat) % 2;
        double k = bp.process(static_cast<float>(noise(rng))) * expDecay(ph, 0.004) * (which ? 1.6 : 2.2);
        double pulse = std::sin(2 * M_PI * (which ? 55 : 70) * ph) * expDecay(ph, 0.06) * 0.7;
        s[i] = static_cast<float>(k + pulse);
    }
    return s;
}

Signal hum(const RecipeNode& n, Rng& rng) {
    double len = n.number("length", 2.0), base = n.number("pitch", 55), clack = n.number("clack", 4);
    Signal s = silence(len + 0.2);
    Osc o(Osc::Shape::Saw), o2(Osc::Shape::Sine);
    Biquad lp(Kind::LowPass, 400, 0.9), bp(Kind::BandPass, 1200, 2.5);
    double period = 1.0 / clack;
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = timeOf(i);
        double ph = std::fmod(t, period);
        double v = lp.process(o.next(base)) * 0.5 + o2.next(base * 2) * 0.2 +
                   bp.process(static_cast<float>(noise(rng))) * expDecay(ph, 0.015) * 1.5;
        s[i] = static_cast<float>(v);
    }
    return s;
}

Signal clang(const RecipeNode& n, Rng& rng) {
    double len = n.number("length", 1.2), pitch = n.number("pitch", 180);
    Signal s = silence(len);
    static const double partials[] = {1.0, 2.76, 5.4, 8.93, 13.3};
    for (std::size_t k = 0; k < std::size(partials); ++k) {
        Signal b = bell(pitch * partials[k], len, 1.41, 0.6, len * (0.4 / (1 + k * 0.6)));
        mixInto(s, b, 0.0, 0.5 / (1 + k * 0.4));
    }
    Biquad hp(Kind::HighPass, 2500, 0.7);
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = timeOf(i);
        double rattle = (std::fmod(t, 0.045) < 0.004 && t > 0.1 && t < 0.7) ? hp.process(static_cast<float>(noise(rng))) * 0.6 : 0.0;
        s[i] += static_cast<float>(rattle * (1 - t / len));
    }
    reverb(s, 0.6, 0.3, 0.25);
    s.resize(silence(len).size());
    return s;
}

Signal rustle(const RecipeNode& n, Rng& rng) {
    double len = n.number("length", 0.35);
    Signal s = silence(len);
    Biquad hp(Kind::HighPass, 2500, 0.7);
    double env = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        double t = timeOf(i);
        if (rng.chance(0.004)) env = rng.range(0.4, 1.0);
        env *= 0.9992;
        double v = hp.process(static_cast<float>(noise(rng))) * env * std::min(1.0, (len - t) * 10) +
                   std::sin(2 * M_PI * 900 * t) * expDecay(t, 0.01) * 0.6;
        s[i] = static_cast<float>(v);
    }
    return s;
}

Signal pop(const RecipeNode& n, Rng& rng) {
    double pitch = n.number("pitch", 700), len = n.number("length", 0.12);
    int count = n.integer("count", 1);
    double gap = n.number("gap", 0.06);
    Signal s = silence(len + gap * (count - 1));
    for (int c = 0; c < count; ++c) {
        double phase = 0;
        for (std::size_t i = 0; i < silence(len).size(); ++i) {
            double t = timeOf(i);
            phase += pitch * (1.0 - 0.5 * std::min(1.0, t / 0.03)) / kRate;
            double v = std::sin(2 * M_PI * phase) * expDecay(t, 0.025) + noise(rng) * expDecay(t, 0.002) * 0.5;
            s[static_cast<std::size_t>(c * gap * kRate) + i] += static_cast<float>(v * (c == count - 1 ? 1.0 : 0.8));
        }
    }
    return s;
}

}  // namespace

Signal makeEffect(const RecipeNode& n, Rng& rng) {
    std::string kind = n.text("kind");
    Signal s;
    if (kind == "click") s = click(n, rng);
    else if (kind == "notes") s = notes(n, rng);
    else if (kind == "whoosh") s = whoosh(n, rng);
    else if (kind == "drop") s = drop(n, rng);
    else if (kind == "splat") s = splat(n, rng);
    else if (kind == "tear") s = tear(n, rng);
    else if (kind == "noiseloop") s = noiseLoop(n, rng);
    else if (kind == "stitchloop") s = stitchLoop(n, rng);
    else if (kind == "tickloop") s = tickLoop(n, rng);
    else if (kind == "hum") s = hum(n, rng);
    else if (kind == "clang") s = clang(n, rng);
    else if (kind == "rustle") s = rustle(n, rng);
    else if (kind == "pop") s = pop(n, rng);
    else n.fail("unknown sound kind \"" + kind + "\"");
    double peak = n.number("volume", 0.7);
    if (n.flag("loop", false)) {
        makeLoop(s, 0.2);
        normalize(s, peak);
    } else {
        fadeEnds(s, 0.002, 0.01);
        normalize(s, peak);
        s[0] = 0.0f;
        s.back() = 0.0f;
    }
    return s;
}

}  // namespace assetgen::audio
