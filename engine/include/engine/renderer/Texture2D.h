#pragma once

#include <memory>
#include <string>

#include "engine/base/GLTypes.h"
#include "engine/base/Ref.h"
#include "engine/math/Rect.h"
#include "engine/math/Size.h"

namespace cocos2d {

class Image;
class Renderer;

// An RGBA8 texture with premultiplied alpha. Texel row 0 is the image's top row. Sampling defaults to
// linear with clamp-to-edge. Points equal pixels. Without a GL context the size is known but the GL name
// is 0.
class Texture2D : public Ref {
public:
    enum class PixelFormat { AUTO, RGBA8888, RGB888, RGB565, A8, I8, AI88, RGBA4444, RGB5A1, DEFAULT = RGBA8888 };

    struct TexParams {
        GLuint minFilter;
        GLuint magFilter;
        GLuint wrapS;
        GLuint wrapT;
    };

    static Texture2D* create();
    ~Texture2D() override;

    // Uploads the image (already RGBA8 and premultiplied).
    bool initWithImage(Image* image);
    // Uploads width x height RGBA8 pixels, premultiplied, rows top first. `pixels` may be null (the
    // contents are then undefined, for render targets).
    bool initWithData(const void* pixels, int pixelsWide, int pixelsHigh);

    GLuint getName() const { return _name; }
    const Size& getContentSize() const { return _contentSize; }
    Size getContentSizeInPixels() const { return _contentSize; }
    int getPixelsWide() const { return _pixelsWide; }
    int getPixelsHigh() const { return _pixelsHigh; }
    PixelFormat getPixelFormat() const { return PixelFormat::RGBA8888; }
    bool hasPremultipliedAlpha() const { return true; }
    bool hasMipmaps() const { return false; }
    // (ours) Every texel's alpha was 255 in the pixels uploaded (false for a render target's texture,
    // whose contents are drawn later): a quad of it at full opacity hides what is under it.
    bool isOpaque() const { return _opaque; }
    // (ours) The smallest rectangle of texels (x, y from the top-left texel) outside which every uploaded
    // texel is transparent black, so a draw adds nothing there; the whole texture when not known.
    const Rect& getShownTexels() const { return _shownTexels; }

    void setTexParameters(const TexParams& params);
    void setAntiAliasTexParameters();
    void setAliasTexParameters();
    const TexParams& getTexParameters() const { return _params; }

    // (ours) Where the texture came from (its cache key), for diagnostics.
    const std::string& getPath() const { return _path; }
    void setPath(const std::string& path) { _path = path; }

    // (ours) Frees the GL texture now (the context is going away); the object stays valid and empty.
    void releaseGLTexture();

private:
    // What the renderer learns of the uploaded texels, defined inside the engine; the renderer reads it.
    struct Texels;
    friend class Renderer;

    Texture2D() = default;

    GLuint _name = 0;
    int _pixelsWide = 0;
    int _pixelsHigh = 0;
    Size _contentSize;
    // Linear filtering, clamp to edge.
    TexParams _params{0x2601, 0x2601, 0x812F, 0x812F};
    std::string _path;
    bool _opaque = false;
    Rect _shownTexels;
    std::shared_ptr<const Texels> _texels;
};

}  // namespace cocos2d
