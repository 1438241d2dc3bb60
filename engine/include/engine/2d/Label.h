#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/2d/LabelProtocol.h"
#include "engine/base/RefPtr.h"
#include "engine/base/Types.h"
#include "engine/math/Rect.h"
#include "engine/math/Size.h"
#include "engine/math/Vec2.h"
#include "engine/scene/Node.h"

namespace cocos2d {

class Texture2D;

namespace ttf {
struct Font;
}

// A TrueType font file and a size in points (points equal pixels).
struct TTFConfig {
    std::string fontFilePath;
    float fontSize = 12.0f;
    int outlineSize = 0;

    TTFConfig(const std::string& filePath = "", float size = 12.0f, int outline = 0)
        : fontFilePath(filePath), fontSize(size), outlineSize(outline) {}
};

// Text drawn with a TrueType font (SDL2_ttf). Layout is synchronous: the content size is right as soon
// as setString (or any layout setting) returns. The glyphs are rendered white into one texture for
// the whole string, again only when the string or the style changes, and tinted by the node's colour
// and opacity and the text colour when drawn. Faces are shared per (file, size), so glyphs are cached.
//
// Layout: "\n" breaks the line. A width wraps at spaces, and inside a word only when the word alone is
// wider than the line. Dimensions (0, 0) size the label to its text; a width with height 0 grows
// downwards with the text; a height gives a fixed box in which the vertical alignment applies.
// Invalid UTF-8 shows as the replacement character.
class Label : public Node, public LabelProtocol {
public:
    // Null and one log line when the font cannot be loaded.
    static Label* createWithTTF(const std::string& text, const std::string& fontFilePath, float fontSize,
                                const Size& dimensions = Size::ZERO,
                                TextHAlignment hAlignment = TextHAlignment::LEFT,
                                TextVAlignment vAlignment = TextVAlignment::TOP);
    static Label* createWithTTF(const TTFConfig& ttfConfig, const std::string& text,
                                TextHAlignment hAlignment = TextHAlignment::LEFT, int maxLineWidth = 0);
    // Bitmap fonts are not supported: one log line and null.
    static Label* createWithBMFont(const std::string& bmfontFilePath, const std::string& text,
                                   TextHAlignment hAlignment = TextHAlignment::LEFT, int maxLineWidth = 0,
                                   const Vec2& imageOffset = Vec2::ZERO);
    ~Label() override;

    bool initWithTTF(const std::string& text, const std::string& fontFilePath, float fontSize,
                     const Size& dimensions, TextHAlignment hAlignment, TextVAlignment vAlignment);

    void setString(const std::string& text) override;
    const std::string& getString() const override { return _text; }
    // Lines after wrapping.
    int getStringNumLines() const { return static_cast<int>(_lines.size()); }

    // False, keeping the current font, when the new one cannot be loaded (one log line).
    virtual bool setTTFConfig(const TTFConfig& ttfConfig);
    const TTFConfig& getTTFConfig() const { return _ttfConfig; }

    void setDimensions(float width, float height);
    const Size& getDimensions() const { return _dimensions; }
    void setWidth(float width) { setDimensions(width, _dimensions.height); }
    void setHeight(float height) { setDimensions(_dimensions.width, height); }
    void setMaxLineWidth(float maxLineWidth) { setDimensions(maxLineWidth, _dimensions.height); }

    void setAlignment(TextHAlignment hAlignment) { setAlignment(hAlignment, _vAlignment); }
    void setAlignment(TextHAlignment hAlignment, TextVAlignment vAlignment);
    void setHorizontalAlignment(TextHAlignment hAlignment) { setAlignment(hAlignment, _vAlignment); }
    void setVerticalAlignment(TextVAlignment vAlignment) { setAlignment(_hAlignment, vAlignment); }
    TextHAlignment getHorizontalAlignment() const { return _hAlignment; }
    TextVAlignment getVerticalAlignment() const { return _vAlignment; }

    // Distance between baselines; the font's own line skip until set.
    float getLineHeight() const;
    void setLineHeight(float height);

    // Multiplies the node colour; white by default.
    virtual void setTextColor(const Color4B& color);
    const Color4B& getTextColor() const { return _textColor; }

    // A copy of the text under it, moved by `offset` points ((2, -2) is right and down). The blur is
    // ignored.
    void enableShadow(const Color4B& shadowColor = Color4B::BLACK, const Size& offset = Size(2, -2),
                      int blurRadius = 0);
    void disableShadow();
    // A ring of `outlineSize` pixels round the glyphs, drawn under the fill and over the shadow.
    void enableOutline(const Color4B& outlineColor, int outlineSize);
    void disableOutline();
    bool isShadowEnabled() const { return _shadowEnabled; }
    const Color4B& getShadowColor() const { return _shadowColor; }
    const Size& getShadowOffset() const { return _shadowOffset; }
    int getOutlineSize() const { return _outlineEnabled ? _ttfConfig.outlineSize : 0; }

    void setBlendFunc(const BlendFunc& blendFunc) { _blendFunc = blendFunc; }
    const BlendFunc& getBlendFunc() const { return _blendFunc; }

    void draw(Renderer* renderer, const Mat4& transform, uint32_t flags) override;

    // (ours) The rendered glyph texture (null for empty text); renders it first when out of date.
    Texture2D* getTextTexture();

protected:
    Label();

    struct Line {
        std::string text;
        int x = 0;    // left edge, node space
        int top = 0;  // top edge, node space (y up)
        int width = 0;
    };
    // A texture and the rectangle it covers in node space.
    struct Bitmap {
        RefPtr<Texture2D> texture;
        Rect rect;
    };

    bool loadFonts(const TTFConfig& config, bool log);
    void layout();
    void wrapParagraph(const std::string& paragraph, float maxWidth, std::vector<std::string>& out) const;
    void renderIfNeeded();
    Bitmap renderBitmap(const ttf::Font& font, int grow) const;
    void addQuad(Renderer* renderer, const Mat4& transform, const Bitmap& bitmap, const Vec2& offset,
                 const Color4B& premultiplied);

    std::string _text;   // as given
    std::string _shown;  // valid UTF-8, line ends normalised
    TTFConfig _ttfConfig;
    std::shared_ptr<ttf::Font> _font;
    std::shared_ptr<ttf::Font> _outlineFont;
    Size _dimensions;
    TextHAlignment _hAlignment = TextHAlignment::LEFT;
    TextVAlignment _vAlignment = TextVAlignment::TOP;
    float _lineHeight = 0.0f;
    bool _lineHeightSet = false;
    Color4B _textColor = Color4B::WHITE;
    bool _shadowEnabled = false;
    Color4B _shadowColor = Color4B::BLACK;
    Size _shadowOffset;
    bool _outlineEnabled = false;
    Color4B _outlineColor = Color4B::WHITE;
    BlendFunc _blendFunc = BlendFunc::ALPHA_PREMULTIPLIED;

    std::vector<Line> _lines;
    bool _textureDirty = true;
    Bitmap _fill;
    Bitmap _outline;
};

}  // namespace cocos2d
