#include "LookContrast.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "engine/renderer/Image.h"

namespace testing {

namespace {

double linear(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double labF(double t) {
    return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0;
}

using Matrix4 = std::array<std::array<double, 4>, 4>;

// Solves m x = v in place (Gauss-Jordan with pivoting); false when m is singular.
bool solve(Matrix4& m, std::array<double, 4>& v) {
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r) {
            if (std::abs(m[r][c]) > std::abs(m[pivot][c])) {
                pivot = r;
            }
        }
        if (std::abs(m[pivot][c]) < 1e-9) {
            return false;
        }
        std::swap(m[c], m[pivot]);
        std::swap(v[c], v[pivot]);
        for (int r = 0; r < 4; ++r) {
            if (r == c) {
                continue;
            }
            const double f = m[r][c] / m[c][c];
            for (int k = c; k < 4; ++k) {
                m[r][k] -= f * m[c][k];
            }
            v[r] -= f * v[c];
        }
    }
    for (int c = 0; c < 4; ++c) {
        v[c] /= m[c][c];
    }
    return true;
}

double channel(const Lab& c, int i) {
    return i == 0 ? c.L : (i == 1 ? c.a : c.b);
}

}  // namespace

double contrastRatio(const unsigned char* rgb1, const unsigned char* rgb2) {
    auto luminance = [](const unsigned char* rgb) {
        return 0.2126 * linear(rgb[0] / 255.0) + 0.7152 * linear(rgb[1] / 255.0) + 0.0722 * linear(rgb[2] / 255.0);
    };
    const double a = luminance(rgb1);
    const double b = luminance(rgb2);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

Lab toLab(const unsigned char* rgb) {
    const double r = linear(rgb[0] / 255.0), g = linear(rgb[1] / 255.0), b = linear(rgb[2] / 255.0);
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    const double fx = labF(x), fy = labF(y), fz = labF(z);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

double deltaE(const Lab& p, const Lab& q) {
    return std::sqrt((p.L - q.L) * (p.L - q.L) + (p.a - q.a) * (p.a - q.a) + (p.b - q.b) * (p.b - q.b));
}

LabPatch::LabPatch(const cocos2d::Image& image, int x, int y, int w, int h, const std::vector<bool>& inside,
                   int radius)
    : _w(w), _h(h), _inside(inside), _grid(static_cast<size_t>(w) * h) {
    const int n = (2 * radius + 1) * (2 * radius + 1);
    const unsigned char* pixels = image.getData();
    const int stride = image.getWidth();
    for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) {
            const size_t at = static_cast<size_t>(row) * w + col;
            if (!_inside[at]) {
                continue;
            }
            int sum[3] = {0, 0, 0};
            for (int dy = -radius; dy <= radius; ++dy) {
                for (int dx = -radius; dx <= radius; ++dx) {
                    const unsigned char* p =
                        pixels + (static_cast<size_t>(y + row + dy) * stride + (x + col + dx)) * 4;
                    for (int c = 0; c < 3; ++c) {
                        sum[c] += p[c];
                    }
                }
            }
            const unsigned char mean[3] = {static_cast<unsigned char>(sum[0] / n),
                                           static_cast<unsigned char>(sum[1] / n),
                                           static_cast<unsigned char>(sum[2] / n)};
            _grid[at] = toLab(mean);
            _samples.push_back(_grid[at]);
        }
    }
}

Lab LabPatch::mean() const {
    Lab sum;
    for (const Lab& c : _samples) {
        sum.L += c.L;
        sum.a += c.a;
        sum.b += c.b;
    }
    const double n = static_cast<double>(std::max<size_t>(1, _samples.size()));
    return {sum.L / n, sum.a / n, sum.b / n};
}

double LabPatch::streakiness() const {
    auto in = [this](int col, int row) {
        return col >= 0 && row >= 0 && col < _w && row < _h && _inside[static_cast<size_t>(row) * _w + col];
    };
    auto at = [this](int col, int row) { return _grid[static_cast<size_t>(row) * _w + col]; };
    double across = 0.0, along = 0.0;
    for (int row = 0; row < _h; ++row) {
        for (int col = 0; col < _w; ++col) {
            if (in(col, row) && in(col + 1, row) && in(col, row + 1)) {
                along += deltaE(at(col, row), at(col + 1, row));
                across += deltaE(at(col, row), at(col, row + 1));
            }
        }
    }
    return across + along > 0.0 ? (across - along) / (across + along) : 0.0;
}

double Added::total() const {
    return std::hypot(shift, pattern);
}

Added addedBy(const LabPatch& over, const LabPatch& under) {
    Added added;
    const std::vector<Lab>& to = over.samples();
    const std::vector<Lab>& from = under.samples();
    if (from.empty() || from.size() != to.size()) {
        return added;
    }
    const double n = static_cast<double>(from.size());
    const Lab meanFrom = under.mean(), meanTo = over.mean();
    added.shift = deltaE(meanTo, meanFrom);
    auto predictors = [&meanFrom](const Lab& c) {
        return std::array<double, 4>{1.0, c.L - meanFrom.L, c.a - meanFrom.a, c.b - meanFrom.b};
    };
    // Least squares of each channel of the look on (1, L, a, b) under it; a small ridge keeps the fit
    // defined over a flat colour.
    Matrix4 normal{};
    for (const Lab& c : from) {
        const std::array<double, 4> p = predictors(c);
        for (int r = 0; r < 4; ++r) {
            for (int k = 0; k < 4; ++k) {
                normal[r][k] += p[r] * p[k];
            }
        }
    }
    for (int d = 1; d < 4; ++d) {
        normal[d][d] += n * 1e-3;
    }
    double residual = 0.0;
    for (int i = 0; i < 3; ++i) {
        Matrix4 m = normal;
        std::array<double, 4> v{};
        for (size_t s = 0; s < from.size(); ++s) {
            const std::array<double, 4> p = predictors(from[s]);
            for (int r = 0; r < 4; ++r) {
                v[r] += p[r] * channel(to[s], i);
            }
        }
        if (!solve(m, v)) {
            continue;
        }
        for (size_t s = 0; s < from.size(); ++s) {
            const std::array<double, 4> p = predictors(from[s]);
            const double fitted = v[0] * p[0] + v[1] * p[1] + v[2] * p[2] + v[3] * p[3];
            const double d = channel(to[s], i) - fitted;
            residual += d * d / n;
        }
    }
    added.pattern = std::sqrt(residual);
    return added;
}

}  // namespace testing
