#pragma once

#include <cstdint>

#include "engine/base/GLTypes.h"
#include "engine/math/Vec2.h"

namespace cocos2d {

struct Color4B;
struct Color4F;

struct Color3B {
    GLubyte r = 0;
    GLubyte g = 0;
    GLubyte b = 0;

    constexpr Color3B() = default;
    constexpr Color3B(GLubyte red, GLubyte green, GLubyte blue) : r(red), g(green), b(blue) {}
    explicit Color3B(const Color4B& color);
    explicit Color3B(const Color4F& color);

    bool operator==(const Color3B& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Color3B& o) const { return !(*this == o); }
    bool equals(const Color3B& o) const { return *this == o; }

    static const Color3B WHITE;
    static const Color3B YELLOW;
    static const Color3B BLUE;
    static const Color3B GREEN;
    static const Color3B RED;
    static const Color3B MAGENTA;
    static const Color3B BLACK;
    static const Color3B ORANGE;
    static const Color3B GRAY;
};

struct Color4B {
    GLubyte r = 0;
    GLubyte g = 0;
    GLubyte b = 0;
    GLubyte a = 0;

    constexpr Color4B() = default;
    constexpr Color4B(GLubyte red, GLubyte green, GLubyte blue, GLubyte alpha)
        : r(red), g(green), b(blue), a(alpha) {}
    Color4B(const Color3B& color, GLubyte alpha) : r(color.r), g(color.g), b(color.b), a(alpha) {}
    explicit Color4B(const Color4F& color);

    bool operator==(const Color4B& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    bool operator!=(const Color4B& o) const { return !(*this == o); }

    static const Color4B WHITE;
    static const Color4B BLACK;
    static const Color4B RED;
    static const Color4B GREEN;
    static const Color4B BLUE;
    static const Color4B GRAY;
};

struct Color4F {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;

    constexpr Color4F() = default;
    constexpr Color4F(float red, float green, float blue, float alpha) : r(red), g(green), b(blue), a(alpha) {}
    explicit Color4F(const Color4B& color)
        : r(color.r / 255.0f), g(color.g / 255.0f), b(color.b / 255.0f), a(color.a / 255.0f) {}
    Color4F(const Color3B& color, float alpha)
        : r(color.r / 255.0f), g(color.g / 255.0f), b(color.b / 255.0f), a(alpha) {}

    bool operator==(const Color4F& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    bool operator!=(const Color4F& o) const { return !(*this == o); }

    static const Color4F WHITE;
    static const Color4F BLACK;
};

// Source and destination factors of glBlendFunc, applied literally by the renderer.
struct BlendFunc {
    GLenum src;
    GLenum dst;

    bool operator==(const BlendFunc& o) const { return src == o.src && dst == o.dst; }
    bool operator!=(const BlendFunc& o) const { return !(*this == o); }
    bool operator<(const BlendFunc& o) const { return src < o.src || (src == o.src && dst < o.dst); }

    // (GL_ONE, GL_ZERO)
    static const BlendFunc DISABLE;
    // (GL_ONE, GL_ONE_MINUS_SRC_ALPHA): the default for premultiplied textures.
    static const BlendFunc ALPHA_PREMULTIPLIED;
    // (GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA)
    static const BlendFunc ALPHA_NON_PREMULTIPLIED;
    // (GL_SRC_ALPHA, GL_ONE)
    static const BlendFunc ADDITIVE;
};

enum class TextHAlignment { LEFT, CENTER, RIGHT };
enum class TextVAlignment { TOP, CENTER, BOTTOM };

// Control points of a cubic Bezier move, all absolute.
struct ccBezierConfig {
    Vec2 endPosition;
    Vec2 controlPoint_1;
    Vec2 controlPoint_2;
};

}  // namespace cocos2d
