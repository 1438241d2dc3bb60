#include "engine/2d/Label.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "2d/Utf8.h"
#include "engine/base/Log.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"
#include "platform/sdl/TrueTypeFont.h"

namespace cocos2d {
namespace {

constexpr int kMaxPixelSize = 1000;
constexpr int kMaxOutline = 64;
// Larger glyph bitmaps are cut to this size rather than failing the upload.
constexpr int kMaxBitmapSide = 8192;

// "\r\n" and a lone "\r" end a line like "\n".
std::string normaliseLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            out += text[i];
        }
    }
    return out;
}

Color4B premultiply(int r, int g, int b, int a) {
    return Color4B(static_cast<GLubyte>(r * a / 255), static_cast<GLubyte>(g * a / 255),
                   static_cast<GLubyte>(b * a / 255), static_cast<GLubyte>(a));
}

}  // namespace

Label::Label() = default;

Label::~Label() = default;

Label* Label::createWithTTF(const std::string& text, const std::string& fontFilePath, float fontSize,
                            const Size& dimensions, TextHAlignment hAlignment, TextVAlignment vAlignment) {
    auto* label = new (std::nothrow) Label();
    if (label && label->initWithTTF(text, fontFilePath, fontSize, dimensions, hAlignment, vAlignment)) {
        label->autorelease();
        return label;
    }
    delete label;
    return nullptr;
}

Label* Label::createWithTTF(const TTFConfig& ttfConfig, const std::string& text, TextHAlignment hAlignment,
                            int maxLineWidth) {
    Label* label = createWithTTF(text, ttfConfig.fontFilePath, ttfConfig.fontSize,
                                 Size(static_cast<float>(std::max(0, maxLineWidth)), 0.0f), hAlignment,
                                 TextVAlignment::TOP);
    if (label && ttfConfig.outlineSize > 0) {
        label->enableOutline(label->_outlineColor, ttfConfig.outlineSize);
    }
    return label;
}

Label* Label::createWithBMFont(const std::string& bmfontFilePath, const std::string&, TextHAlignment, int,
                               const Vec2&) {
    logAt(LogLevel::Warning, "Label: bitmap fonts are not supported [%s]", bmfontFilePath.c_str());
    return nullptr;
}

bool Label::initWithTTF(const std::string& text, const std::string& fontFilePath, float fontSize,
                        const Size& dimensions, TextHAlignment hAlignment, TextVAlignment vAlignment) {
    if (!Node::init()) {
        return false;
    }
    if (!loadFonts(TTFConfig(fontFilePath, fontSize, 0), true)) {
        return false;
    }
    setAnchorPoint(Vec2(0.5f, 0.5f));
    _dimensions = Size(std::max(0.0f, dimensions.width), std::max(0.0f, dimensions.height));
    _hAlignment = hAlignment;
    _vAlignment = vAlignment;
    _text = text;
    _shown = utf8::sanitize(normaliseLineEnds(text));
    layout();
    return true;
}

bool Label::loadFonts(const TTFConfig& config, bool log) {
    const std::string fullPath = FileUtils::getInstance()->fullPathForFilename(config.fontFilePath);
    if (fullPath.empty()) {
        if (log) {
            logAt(LogLevel::Warning, "Label: font [%s] not found", config.fontFilePath.c_str());
        }
        return false;
    }
    if (!std::isfinite(config.fontSize) || config.fontSize < 0.5f || config.fontSize > kMaxPixelSize) {
        if (log) {
            logAt(LogLevel::Warning, "Label: font size %g of [%s] is not usable",
                  static_cast<double>(config.fontSize), config.fontFilePath.c_str());
        }
        return false;
    }
    const int pixelSize = static_cast<int>(std::lround(config.fontSize));
    const int outline = std::clamp(config.outlineSize, 0, kMaxOutline);
    std::string error;
    std::shared_ptr<ttf::Font> font = ttf::openFont(fullPath, pixelSize, 0, error);
    std::shared_ptr<ttf::Font> outlineFont;
    if (font && outline > 0) {
        outlineFont = ttf::openFont(fullPath, pixelSize, outline, error);
    }
    if (!font || (outline > 0 && !outlineFont)) {
        if (log) {
            logAt(LogLevel::Warning, "Label: cannot load font [%s] at size %d: %s",
                  config.fontFilePath.c_str(), pixelSize, error.c_str());
        }
        return false;
    }
    _font = std::move(font);
    _outlineFont = std::move(outlineFont);
    _ttfConfig = config;
    _ttfConfig.outlineSize = outline;
    _outlineEnabled = outline > 0;
    return true;
}

void Label::setString(const std::string& text) {
    if (text == _text) {
        return;
    }
    _text = text;
    _shown = utf8::sanitize(normaliseLineEnds(text));
    layout();
}

bool Label::setTTFConfig(const TTFConfig& ttfConfig) {
    if (!loadFonts(ttfConfig, true)) {
        return false;
    }
    layout();
    return true;
}

void Label::setDimensions(float width, float height) {
    const Size dimensions(std::max(0.0f, width), std::max(0.0f, height));
    if (dimensions != _dimensions) {
        _dimensions = dimensions;
        layout();
    }
}

void Label::setAlignment(TextHAlignment hAlignment, TextVAlignment vAlignment) {
    if (hAlignment != _hAlignment || vAlignment != _vAlignment) {
        _hAlignment = hAlignment;
        _vAlignment = vAlignment;
        layout();
    }
}

float Label::getLineHeight() const {
    if (_lineHeightSet) {
        return _lineHeight;
    }
    return _font ? static_cast<float>(ttf::metrics(*_font).lineSkip) : 0.0f;
}

void Label::setLineHeight(float height) {
    if (!std::isfinite(height) || height < 0.0f) {
        return;
    }
    _lineHeight = height;
    _lineHeightSet = true;
    layout();
}

void Label::setTextColor(const Color4B& color) {
    _textColor = color;
}

void Label::enableShadow(const Color4B& shadowColor, const Size& offset, int) {
    _shadowEnabled = true;
    _shadowColor = shadowColor;
    _shadowOffset = offset;
}

void Label::disableShadow() {
    _shadowEnabled = false;
}

void Label::enableOutline(const Color4B& outlineColor, int outlineSize) {
    _outlineColor = outlineColor;
    TTFConfig config = _ttfConfig;
    config.outlineSize = std::max(1, outlineSize);
    if (config.outlineSize != _ttfConfig.outlineSize || !_outlineEnabled) {
        if (loadFonts(config, true)) {
            _textureDirty = true;
        }
    }
}

void Label::disableOutline() {
    if (_outlineEnabled) {
        _outlineEnabled = false;
        _outlineFont.reset();
        _ttfConfig.outlineSize = 0;
        _textureDirty = true;
    }
}

void Label::wrapParagraph(const std::string& paragraph, float maxWidth, std::vector<std::string>& out) const {
    if (maxWidth <= 0.0f || ttf::textWidth(*_font, paragraph) <= maxWidth) {
        out.push_back(paragraph);
        return;
    }
    // Runs of spaces and runs of other characters, in order.
    std::vector<std::string> tokens;
    for (size_t i = 0; i < paragraph.size();) {
        const bool space = paragraph[i] == ' ';
        size_t j = i;
        while (j < paragraph.size() && (paragraph[j] == ' ') == space) {
            ++j;
        }
        tokens.push_back(paragraph.substr(i, j - i));
        i = j;
    }
    const auto fits = [&](const std::string& s) { return ttf::textWidth(*_font, s) <= maxWidth; };
    const auto trimmed = [](std::string s) {
        while (!s.empty() && s.back() == ' ') {
            s.pop_back();
        }
        return s;
    };
    std::string line;
    for (const std::string& token : tokens) {
        if (token[0] == ' ') {
            // Spaces open a line only at the paragraph's start (indentation); at a break they go.
            if (!line.empty() || &token == &tokens.front()) {
                line += token;
            }
            continue;
        }
        if (fits(line + token)) {
            line += token;
            continue;
        }
        if (!trimmed(line).empty()) {
            out.push_back(trimmed(line));
            line.clear();
        }
        if (fits(token)) {
            line = token;
            continue;
        }
        // The word alone is too wide: cut it into the longest pieces that fit, one character at least.
        // The last piece starts the next line.
        std::string rest = token;
        while (true) {
            size_t cut = utf8::sequenceLength(rest, 0);
            while (cut < rest.size()) {
                const size_t next = cut + utf8::sequenceLength(rest, cut);
                if (!fits(rest.substr(0, next))) {
                    break;
                }
                cut = next;
            }
            if (cut >= rest.size()) {
                break;
            }
            out.push_back(rest.substr(0, cut));
            rest.erase(0, cut);
        }
        line = rest;
    }
    if (!trimmed(line).empty() || out.empty()) {
        out.push_back(trimmed(line));
    }
}

void Label::layout() {
    _lines.clear();
    _textureDirty = true;
    if (!_font) {
        setContentSize(_dimensions);
        return;
    }
    std::vector<std::string> texts;
    if (!_shown.empty()) {
        size_t start = 0;
        while (true) {
            const size_t end = _shown.find('\n', start);
            wrapParagraph(_shown.substr(start, end == std::string::npos ? std::string::npos : end - start),
                          _dimensions.width, texts);
            if (end == std::string::npos) {
                break;
            }
            start = end + 1;
        }
    }
    const float lineHeight = getLineHeight();
    float widest = 0.0f;
    for (const std::string& text : texts) {
        Line line;
        line.text = text;
        line.width = ttf::textWidth(*_font, text);
        widest = std::max(widest, static_cast<float>(line.width));
        _lines.push_back(std::move(line));
    }
    const float blockHeight = lineHeight * static_cast<float>(_lines.size());
    const float width = _dimensions.width > 0.0f ? _dimensions.width : widest;
    const float height = _dimensions.height > 0.0f ? _dimensions.height : blockHeight;
    float blockTop = height;
    if (_vAlignment == TextVAlignment::CENTER) {
        blockTop = height - (height - blockHeight) / 2.0f;
    } else if (_vAlignment == TextVAlignment::BOTTOM) {
        blockTop = blockHeight;
    }
    for (size_t i = 0; i < _lines.size(); ++i) {
        Line& line = _lines[i];
        float x = 0.0f;
        if (_hAlignment == TextHAlignment::CENTER) {
            x = (width - static_cast<float>(line.width)) / 2.0f;
        } else if (_hAlignment == TextHAlignment::RIGHT) {
            x = width - static_cast<float>(line.width);
        }
        line.x = static_cast<int>(std::lround(x));
        line.top = static_cast<int>(std::lround(blockTop - lineHeight * static_cast<float>(i)));
    }
    setContentSize(Size(width, height));
}

Label::Bitmap Label::renderBitmap(const ttf::Font& font, int grow) const {
    struct Rendered {
        std::vector<unsigned char> coverage;
        int width = 0;
        int height = 0;
        int left = 0;
        int top = 0;
    };
    std::vector<Rendered> rendered;
    int minX = 0, maxX = 0, minY = 0, maxY = 0;
    bool any = false;
    for (const Line& line : _lines) {
        Rendered r;
        std::string error;
        if (!ttf::renderLine(font, line.text, r.coverage, r.width, r.height, error)) {
            logAt(LogLevel::Warning, "Label: cannot render a line with [%s]: %s",
                  _ttfConfig.fontFilePath.c_str(), error.c_str());
            continue;
        }
        if (r.width <= 0 || r.height <= 0) {
            continue;
        }
        r.left = line.x - grow;
        r.top = line.top + grow;
        if (!any) {
            minX = r.left;
            maxX = r.left + r.width;
            minY = r.top - r.height;
            maxY = r.top;
            any = true;
        } else {
            minX = std::min(minX, r.left);
            maxX = std::max(maxX, r.left + r.width);
            minY = std::min(minY, r.top - r.height);
            maxY = std::max(maxY, r.top);
        }
        rendered.push_back(std::move(r));
    }
    Bitmap bitmap;
    if (!any) {
        return bitmap;
    }
    const int width = std::min(maxX - minX, kMaxBitmapSide);
    const int height = std::min(maxY - minY, kMaxBitmapSide);
    // Premultiplied white: every channel is the coverage.
    std::vector<unsigned char> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
    for (const Rendered& r : rendered) {
        const int dx = r.left - minX;
        const int dy = maxY - r.top;  // rows from the bitmap's top
        for (int y = 0; y < r.height; ++y) {
            const int ty = dy + y;
            if (ty < 0 || ty >= height) {
                continue;
            }
            const unsigned char* src =
                r.coverage.data() + static_cast<size_t>(y) * static_cast<size_t>(r.width);
            unsigned char* dst = rgba.data() + static_cast<size_t>(ty) * static_cast<size_t>(width) * 4;
            for (int x = 0; x < r.width; ++x) {
                const int tx = dx + x;
                if (tx < 0 || tx >= width) {
                    continue;
                }
                unsigned char* p = dst + static_cast<size_t>(tx) * 4;
                const unsigned char c = std::max(p[3], src[x]);
                p[0] = p[1] = p[2] = p[3] = c;
            }
        }
    }
    Texture2D* texture = Texture2D::create();
    if (!texture || !texture->initWithData(rgba.data(), width, height)) {
        logAt(LogLevel::Warning, "Label: cannot make the %dx%d texture of a text in [%s]", width, height,
              _ttfConfig.fontFilePath.c_str());
        return bitmap;
    }
    texture->setPath("label:" + _ttfConfig.fontFilePath);
    bitmap.texture = texture;
    bitmap.rect = Rect(static_cast<float>(minX), static_cast<float>(maxY - height), static_cast<float>(width),
                       static_cast<float>(height));
    return bitmap;
}

void Label::renderIfNeeded() {
    if (!_textureDirty) {
        return;
    }
    _textureDirty = false;
    _fill = Bitmap();
    _outline = Bitmap();
    if (!_font || _lines.empty()) {
        return;
    }
    _fill = renderBitmap(*_font, 0);
    if (_outlineEnabled && _outlineFont) {
        _outline = renderBitmap(*_outlineFont, ttf::outlineOf(*_outlineFont));
    }
}

Texture2D* Label::getTextTexture() {
    renderIfNeeded();
    return _fill.texture.get();
}

void Label::addQuad(Renderer* renderer, const Mat4& transform, const Bitmap& bitmap, const Vec2& offset,
                    const Color4B& premultiplied) {
    if (!bitmap.texture || premultiplied.a == 0) {
        return;
    }
    const float x0 = bitmap.rect.getMinX() + offset.x;
    const float y0 = bitmap.rect.getMinY() + offset.y;
    const float x1 = bitmap.rect.getMaxX() + offset.x;
    const float y1 = bitmap.rect.getMaxY() + offset.y;
    V2F_C4B_T2F_Quad quad;
    quad.bl.vertices = transform.transformPoint(Vec2(x0, y0));
    quad.br.vertices = transform.transformPoint(Vec2(x1, y0));
    quad.tl.vertices = transform.transformPoint(Vec2(x0, y1));
    quad.tr.vertices = transform.transformPoint(Vec2(x1, y1));
    // Texel row 0 is the bitmap's top row.
    quad.bl.texCoords = Tex2F{0.0f, 1.0f};
    quad.br.texCoords = Tex2F{1.0f, 1.0f};
    quad.tl.texCoords = Tex2F{0.0f, 0.0f};
    quad.tr.texCoords = Tex2F{1.0f, 0.0f};
    quad.bl.colors = quad.br.colors = quad.tl.colors = quad.tr.colors = premultiplied;
    renderer->addQuad(quad, bitmap.texture.get(), _blendFunc, _glProgramState, _globalZOrder);
}

void Label::draw(Renderer* renderer, const Mat4& transform, uint32_t) {
    renderIfNeeded();
    if (!_fill.texture) {
        return;
    }
    const int opacity = _displayedOpacity;
    if (_shadowEnabled) {
        const Bitmap& shape = _outline.texture ? _outline : _fill;
        addQuad(renderer, transform, shape, Vec2(_shadowOffset.width, _shadowOffset.height),
                premultiply(_shadowColor.r, _shadowColor.g, _shadowColor.b, _shadowColor.a * opacity / 255));
    }
    if (_outline.texture) {
        addQuad(
            renderer, transform, _outline, Vec2::ZERO,
            premultiply(_outlineColor.r, _outlineColor.g, _outlineColor.b, _outlineColor.a * opacity / 255));
    }
    addQuad(renderer, transform, _fill, Vec2::ZERO,
            premultiply(_textColor.r * _displayedColor.r / 255, _textColor.g * _displayedColor.g / 255,
                        _textColor.b * _displayedColor.b / 255, _textColor.a * opacity / 255));
}

}  // namespace cocos2d
