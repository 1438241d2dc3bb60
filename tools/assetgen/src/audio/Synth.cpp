#include "audio/Synth.h"

#include <algorithm>

namespace assetgen::audio {

namespace {

// PolyBLEP correction for a discontinuity at phase 0 (t and dt in cycles).
double blep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

}  // namespace

float Osc::next(double freq) {
    double dt = std::min(0.49, std::max(0.0, freq / kRate));
    double v = 0.0;
    switch (_shape) {
        case Shape::Sine: v = std::sin(2.0 * M_PI * _phase); break;
        case Shape::Saw: v = 2.0 * _phase - 1.0 - blep(_phase, dt); break;
        case Shape::Square:
        case Shape::Triangle: {
            double sq = (_phase < 0.5 ? 1.0 : -1.0) + blep(_phase, dt) - blep(std::fmod(_phase + 0.5, 1.0), dt);
            if (_shape == Shape::Square) {
                v = sq;
            } else {
                // Integrated square, leaky so it never drifts.
                _tri = dt * sq * 4.0 + (1.0 - dt * 0.05) * _tri;
                v = _tri;
            }
            break;
        }
    }
    _phase += dt;
    if (_phase >= 1.0) _phase -= 1.0;
    return static_cast<float>(v);
}

void Biquad::set(Kind kind, double freq, double q) {
    freq = std::clamp(freq, 10.0, kRate * 0.45);
    double w0 = 2.0 * M_PI * freq / kRate, alpha = std::sin(w0) / (2.0 * q), cw = std::cos(w0);
    double b0, b1, b2, a0 = 1.0 + alpha, a1 = -2.0 * cw, a2 = 1.0 - alpha;
    switch (kind) {
        case Kind::LowPass: b0 = (1 - cw) / 2; b1 = 1 - cw; b2 = (1 - cw) / 2; break;
        case Kind::HighPass: b0 = (1 + cw) / 2; b1 = -(1 + cw); b2 = (1 + cw) / 2; break;
        default: b0 = alpha; b1 = 0; b2 = -alpha; break;
    }
    _b0 = b0 / a0;
    _b1 = b1 / a0;
    _b2 = b2 / a0;
    _a1 = a1 / a0;
    _a2 = a2 / a0;
}

float Biquad::process(float xf) {
    double x = xf;
    double y = _b0 * x + _b1 * _x1 + _b2 * _x2 - _a1 * _y1 - _a2 * _y2;
    _x2 = _x1;
    _x1 = x;
    _y2 = _y1;
    _y1 = y;
    return static_cast<float>(y);
}

void reverb(Signal& s, double roomSize, double damping, double mix) {
    static const int combLen[4] = {1557, 1617, 1491, 1422};
    static const int apLen[2] = {225, 556};
    std::size_t tail = static_cast<std::size_t>(kRate * (0.6 + roomSize * 2.0));
    Signal in = s;
    in.resize(s.size() + tail, 0.0f);
    Signal wet(in.size(), 0.0f);
    double feedback = 0.7 + roomSize * 0.26;
    for (int c = 0; c < 4; ++c) {
        std::vector<float> buf(static_cast<std::size_t>(combLen[c] * (0.8 + roomSize * 0.4)), 0.0f);
        std::size_t idx = 0;
        double low = 0.0;
        for (std::size_t i = 0; i < in.size(); ++i) {
            float out = buf[idx];
            low = out * (1.0 - damping) + low * damping;
            buf[idx] = static_cast<float>(in[i] + low * feedback);
            wet[i] += out * 0.25f;
            if (++idx >= buf.size()) idx = 0;
        }
    }
    for (int a = 0; a < 2; ++a) {
        std::vector<float> buf(static_cast<std::size_t>(apLen[a]), 0.0f);
        std::size_t idx = 0;
        for (std::size_t i = 0; i < wet.size(); ++i) {
            float b = buf[idx];
            float x = wet[i];
            buf[idx] = x + b * 0.5f;
            wet[i] = b - x * 0.5f;
            if (++idx >= buf.size()) idx = 0;
        }
    }
    s.resize(in.size(), 0.0f);
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<float>(in[i] * (1.0 - mix) + wet[i] * mix);
}

Signal pluck(double freq, double seconds, double brightness, Rng& rng) {
    Signal out = silence(seconds);
    std::size_t period = static_cast<std::size_t>(std::max(2.0, kRate / freq));
    std::vector<float> ring(period);
    for (auto& v : ring) v = static_cast<float>(rng.range(-1, 1));
    // Soften the initial burst for a rounder, harp-like attack.
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 1; i < period; ++i) ring[i] = 0.5f * (ring[i] + ring[i - 1]);
    }
    std::size_t idx = 0;
    double decay = 0.996 + 0.0035 * brightness;
    for (std::size_t i = 0; i < out.size(); ++i) {
        std::size_t nxt = (idx + 1) % period;
        float v = ring[idx];
        ring[idx] = static_cast<float>(decay * (v * brightness + (1.0 - brightness) * 0.5 * (v + ring[nxt])));
        out[i] = v;
        idx = nxt;
    }
    return out;
}

Signal bell(double freq, double seconds, double ratio, double index, double decay) {
    Signal out = silence(seconds);
    for (std::size_t i = 0; i < out.size(); ++i) {
        double t = timeOf(i);
        double env = expDecay(t, decay) * std::min(1.0, t / 0.002);
        double mod = index * expDecay(t, decay * 0.4) * std::sin(2 * M_PI * freq * ratio * t);
        out[i] = static_cast<float>(env * std::sin(2 * M_PI * freq * t + mod));
    }
    return out;
}

void mixInto(Signal& dst, const Signal& src, double offset, double gain) {
    std::size_t start = static_cast<std::size_t>(std::max(0.0, offset) * kRate);
    if (dst.size() < start + src.size()) dst.resize(start + src.size(), 0.0f);
    for (std::size_t i = 0; i < src.size(); ++i) dst[start + i] += static_cast<float>(src[i] * gain);
}

void normalize(Signal& s, double peak) {
    float m = 0.0f;
    for (float v : s) m = std::max(m, std::fabs(v));
    if (m < 1e-9f) return;
    float k = static_cast<float>(peak / m);
    for (float& v : s) v *= k;
}

void fadeEnds(Signal& s, double inSeconds, double outSeconds) {
    std::size_t a = std::min(s.size(), static_cast<std::size_t>(inSeconds * kRate));
    std::size_t b = std::min(s.size(), static_cast<std::size_t>(outSeconds * kRate));
    for (std::size_t i = 0; i < a; ++i) s[i] *= static_cast<float>(static_cast<double>(i) / a);
    for (std::size_t i = 0; i < b; ++i) s[s.size() - 1 - i] *= static_cast<float>(static_cast<double>(i) / b);
}

void makeLoop(Signal& s, double overlap) {
    std::size_t n = static_cast<std::size_t>(overlap * kRate);
    if (s.size() < 3 * n || n == 0) return;
    std::size_t len = s.size() - n;
    for (std::size_t i = 0; i < n; ++i) {
        double k = static_cast<double>(i) / n;
        s[i] = static_cast<float>(s[i] * k + s[len + i] * (1.0 - k));
    }
    s.resize(len);
    // Rotate to the rising zero crossing nearest the start; the loop stays seamless.
    // Of all rising crossings, take the quietest spot, so the seam sits where the sound is near 0.
    std::size_t best = 0;
    double bestScore = 1e9;
    for (std::size_t i = 2; i + 2 < s.size(); ++i) {
        if (!(s[i] <= 0.0f && s[i + 1] > 0.0f)) continue;
        double score = std::fabs(s[i - 2]) + std::fabs(s[i - 1]) + std::fabs(s[i]) + std::fabs(s[i + 1]) + std::fabs(s[i + 2]);
        if (score < bestScore) {
            bestScore = score;
            best = i;
        }
    }
    std::rotate(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(best), s.end());
    s[0] = 0.0f;
}

}  // namespace assetgen::audio
