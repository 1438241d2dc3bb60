#pragma once

#include <cairo.h>

#include <cstdint>

#include "core/Color.h"

namespace assetgen {

// An RGBA picture held as a Cairo image surface (ARGB32, premultiplied, as Cairo draws).
// Move-only; the writers turn it into straight-alpha PNG or RGB JPEG.
class Image {
public:
    Image() = default;
    Image(int width, int height);  // fully transparent
    ~Image();
    Image(Image&& other) noexcept;
    Image& operator=(Image&& other) noexcept;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    bool valid() const { return _surface != nullptr; }
    int width() const { return _width; }
    int height() const { return _height; }
    cairo_surface_t* surface() const { return _surface; }

    // Direct pixel access; call flush() before reading what Cairo drew and markDirty() after
    // writing pixels by hand.
    std::uint32_t* row(int y);
    const std::uint32_t* row(int y) const;
    void flush() const;
    void markDirty();

    Image copy() const;
    Image crop(int x, int y, int w, int h) const;
    // Resampled to the given size with Cairo's best filter.
    Image scaled(int w, int h) const;

    // Straight-alpha reads and writes of one pixel (bounds are the caller's business).
    void getPixel(int x, int y, Rgb& color, double& alpha) const;
    void fill(const Rgb& color, double alpha = 1.0);

private:
    cairo_surface_t* _surface = nullptr;
    int _width = 0;
    int _height = 0;
};

// A Cairo context on an image, released at the end of the scope.
class Pen {
public:
    explicit Pen(Image& image) : _cr(cairo_create(image.surface())) {}
    ~Pen() { cairo_destroy(_cr); }
    Pen(const Pen&) = delete;
    Pen& operator=(const Pen&) = delete;
    operator cairo_t*() const { return _cr; }
    cairo_t* get() const { return _cr; }

private:
    cairo_t* _cr;
};

// Pixel helpers on packed ARGB32 values.
inline std::uint32_t packPremultiplied(double r, double g, double b, double a) {
    auto c = [](double v) { return static_cast<std::uint32_t>(clamp01(v) * 255.0 + 0.5); };
    std::uint32_t A = c(a);
    auto p = [&](double v) {
        std::uint32_t x = static_cast<std::uint32_t>(clamp01(v) * clamp01(a) * 255.0 + 0.5);
        return x > A ? A : x;
    };
    return (A << 24) | (p(r) << 16) | (p(g) << 8) | p(b);
}

}  // namespace assetgen
