#pragma once

#include <functional>
#include <memory>
#include <string>

#include "engine/base/RefPtr.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/RenderTarget.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Node.h"

namespace cocos2d {

class Sprite;

namespace gl {
class Framebuffer;
}

// A texture to draw into. Between begin() and end(), visit() of any node tree draws into it under the
// node's parent's world transform, with (0..w, 0..h) mapped onto its pixels whatever the window size,
// sorted by global z and never culled. end() draws everything before it returns, so the texture can
// be read back at once; it then binds the framebuffer that was bound at begin() again. Contents
// persist, and begin() without a clear adds to them. A new render texture is transparent black.
//
// The texel rows run from the bottom of the drawing: a plain sprite of the texture shows it upside
// down, the render texture's own sprite is flipped so it shows upright. As a node it draws that
// sprite (centred on its position) and renders nothing.
class RenderTexture : public Node {
public:
    // A side below 1, or above what the GL context takes, gives null and one log line. Only RGBA8888
    // exists; another format is logged and made RGBA8888.
    static RenderTexture* create(int w, int h);
    static RenderTexture* create(int w, int h, Texture2D::PixelFormat format);
    ~RenderTexture() override;

    virtual void begin();
    virtual void beginWithClear(float r, float g, float b, float a);
    // Between begin and end, what was queued before is drawn first and then cleared; outside, at once.
    virtual void clear(float r, float g, float b, float a);
    virtual void end();
    bool isDrawing() const { return _drawing; }

    // The render texture's child sprite: flipped in y, premultiplied blend; its texture is the colour
    // texture.
    Sprite* getSprite() const { return _sprite; }

    // Writes getWritablePath() + fileName synchronously, overwriting, rows top-down (upright). PNG keeps
    // alpha (un-premultiplied) unless isRGBA is false; JPEG drops it. The file name's extension must
    // match the format. The callback, when given, runs with the full path before this returns, after a
    // successful write.
    bool saveToFile(const std::string& fileName, Image::Format format, bool isRGBA = true,
                    std::function<void(RenderTexture*, const std::string&)> callback = nullptr);

    // (ours) The pixels as they are now, rows top first (upright), premultiplied. Null without GL.
    Image* readImage() const;

    int getPixelsWide() const { return _width; }
    int getPixelsHigh() const { return _height; }

protected:
    RenderTexture();
    bool initWithSize(int w, int h);
    RenderTarget target(bool clear, float r, float g, float b, float a) const;

    int _width = 0;
    int _height = 0;
    RefPtr<Texture2D> _texture;
    std::unique_ptr<gl::Framebuffer> _framebuffer;
    Sprite* _sprite = nullptr;
    bool _drawing = false;
    GLuint _previousFramebuffer = 0;
};

}  // namespace cocos2d
