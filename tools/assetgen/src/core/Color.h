#pragma once

#include <algorithm>
#include <cmath>
#include <string>

namespace assetgen {

// A colour with components 0..1 (straight, not premultiplied).
struct Rgb {
    double r = 0.0, g = 0.0, b = 0.0;

    static Rgb hex(unsigned v) {
        return {((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0};
    }
    double luma() const { return 0.299 * r + 0.587 * g + 0.114 * b; }
};

inline double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

inline Rgb mix(const Rgb& a, const Rgb& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Rgb lighten(const Rgb& c, double t) { return mix(c, {1, 1, 1}, t); }
inline Rgb darken(const Rgb& c, double t) { return mix(c, {0, 0, 0}, t); }
inline Rgb scale(const Rgb& c, double k) { return {clamp01(c.r * k), clamp01(c.g * k), clamp01(c.b * k)}; }

struct Hsl {
    double h = 0.0, s = 0.0, l = 0.0;  // h in degrees 0..360
};

inline Hsl toHsl(const Rgb& c) {
    double mx = std::max({c.r, c.g, c.b}), mn = std::min({c.r, c.g, c.b});
    Hsl o;
    o.l = (mx + mn) / 2.0;
    double d = mx - mn;
    if (d < 1e-9) return o;
    o.s = o.l > 0.5 ? d / (2.0 - mx - mn) : d / (mx + mn);
    if (mx == c.r) o.h = std::fmod((c.g - c.b) / d + 6.0, 6.0);
    else if (mx == c.g) o.h = (c.b - c.r) / d + 2.0;
    else o.h = (c.r - c.g) / d + 4.0;
    o.h *= 60.0;
    return o;
}

inline Rgb fromHsl(Hsl h) {
    h.h = std::fmod(std::fmod(h.h, 360.0) + 360.0, 360.0);
    h.s = clamp01(h.s);
    h.l = clamp01(h.l);
    double c = (1.0 - std::fabs(2.0 * h.l - 1.0)) * h.s;
    double x = c * (1.0 - std::fabs(std::fmod(h.h / 60.0, 2.0) - 1.0));
    double m = h.l - c / 2.0;
    double r = 0, g = 0, b = 0;
    int sector = static_cast<int>(h.h / 60.0);
    switch (sector) {
        case 0: r = c; g = x; break;
        case 1: r = x; g = c; break;
        case 2: g = c; b = x; break;
        case 3: g = x; b = c; break;
        case 4: r = x; b = c; break;
        default: r = c; b = x; break;
    }
    return {r + m, g + m, b + m};
}

// Shifts hue (degrees), saturation and lightness (both additive).
inline Rgb shift(const Rgb& c, double dh, double ds, double dl) {
    Hsl h = toHsl(c);
    h.h += dh;
    h.s += ds;
    h.l += dl;
    return fromHsl(h);
}

// Parses "#rrggbb"; false when the text is not exactly that.
inline bool parseHexColor(const std::string& text, Rgb& out) {
    if (text.size() != 7 || text[0] != '#') return false;
    unsigned v = 0;
    for (std::size_t i = 1; i < 7; ++i) {
        char ch = text[i];
        unsigned d;
        if (ch >= '0' && ch <= '9') d = static_cast<unsigned>(ch - '0');
        else if (ch >= 'a' && ch <= 'f') d = static_cast<unsigned>(ch - 'a' + 10);
        else if (ch >= 'A' && ch <= 'F') d = static_cast<unsigned>(ch - 'A' + 10);
        else return false;
        v = v * 16 + d;
    }
    out = Rgb::hex(v);
    return true;
}

}  // namespace assetgen
