#include "core/Image.h"

#include <cstring>
#include <utility>

#include "core/Error.h"

namespace assetgen {

Image::Image(int width, int height) : _width(width), _height(height) {
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192) {
        throw GenError("image size " + std::to_string(width) + "x" + std::to_string(height) + " out of range");
    }
    _surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(_surface) != CAIRO_STATUS_SUCCESS) {
        throw GenError("cannot create a " + std::to_string(width) + "x" + std::to_string(height) + " image");
    }
}

Image::~Image() {
    if (_surface) cairo_surface_destroy(_surface);
}

Image::Image(Image&& other) noexcept
    : _surface(std::exchange(other._surface, nullptr)), _width(other._width), _height(other._height) {}

Image& Image::operator=(Image&& other) noexcept {
    if (this != &other) {
        if (_surface) cairo_surface_destroy(_surface);
        _surface = std::exchange(other._surface, nullptr);
        _width = other._width;
        _height = other._height;
    }
    return *this;
}

std::uint32_t* Image::row(int y) {
    unsigned char* data = cairo_image_surface_get_data(_surface);
    return reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(_surface));
}

const std::uint32_t* Image::row(int y) const {
    unsigned char* data = cairo_image_surface_get_data(_surface);
    return reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) *
                                                             cairo_image_surface_get_stride(_surface));
}

void Image::flush() const { cairo_surface_flush(_surface); }
void Image::markDirty() { cairo_surface_mark_dirty(_surface); }

Image Image::copy() const { return crop(0, 0, _width, _height); }

Image Image::crop(int x, int y, int w, int h) const {
    Image out(w, h);
    Pen cr(out);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, _surface, -x, -y);
    cairo_paint(cr);
    return out;
}

Image Image::scaled(int w, int h) const {
    Image out(w, h);
    Pen cr(out);
    cairo_scale(cr, static_cast<double>(w) / _width, static_cast<double>(h) / _height);
    cairo_set_source_surface(cr, _surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BEST);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    return out;
}

void Image::getPixel(int x, int y, Rgb& color, double& alpha) const {
    std::uint32_t p = row(y)[x];
    unsigned a = p >> 24;
    alpha = a / 255.0;
    if (a == 0) {
        color = {0, 0, 0};
        return;
    }
    color = {((p >> 16) & 0xFF) / static_cast<double>(a), ((p >> 8) & 0xFF) / static_cast<double>(a),
             (p & 0xFF) / static_cast<double>(a)};
}

void Image::fill(const Rgb& color, double alpha) {
    Pen cr(*this);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr, color.r, color.g, color.b, alpha);
    cairo_paint(cr);
}

}  // namespace assetgen
