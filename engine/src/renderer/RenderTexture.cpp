#include "engine/renderer/RenderTexture.h"

#include <filesystem>
#include <new>
#include <system_error>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Renderer.h"
#include "engine/scene/Sprite.h"
#include "renderer/gl/Framebuffer.h"
#include "renderer/gl/GLContext.h"

namespace cocos2d {

RenderTexture::RenderTexture() = default;

RenderTexture* RenderTexture::create(int w, int h) {
    return create(w, h, Texture2D::PixelFormat::RGBA8888);
}

RenderTexture* RenderTexture::create(int w, int h, Texture2D::PixelFormat format) {
    if (format != Texture2D::PixelFormat::RGBA8888 && format != Texture2D::PixelFormat::AUTO) {
        logAt(LogLevel::Warning, "RenderTexture: only RGBA8888 is supported; %dx%d made RGBA8888", w, h);
    }
    auto* renderTexture = new (std::nothrow) RenderTexture();
    if (renderTexture && renderTexture->initWithSize(w, h)) {
        renderTexture->autorelease();
        return renderTexture;
    }
    delete renderTexture;
    return nullptr;
}

RenderTexture::~RenderTexture() {
    if (_drawing) {
        end();
    }
}

bool RenderTexture::initWithSize(int w, int h) {
    if (!Node::init()) {
        return false;
    }
    const int maxSide = gl::isReady() ? gl::maxTextureSize() : 16384;
    if (w < 1 || h < 1 || w > maxSide || h > maxSide) {
        logAt(LogLevel::Warning, "RenderTexture: size %dx%d is not usable (sides 1 to %d)", w, h, maxSide);
        return false;
    }
    _width = w;
    _height = h;
    Texture2D* texture = Texture2D::create();
    // No pixels uploaded: the clear below defines them.
    if (!texture || !texture->initWithData(nullptr, w, h)) {
        logAt(LogLevel::Warning, "RenderTexture: cannot make a %dx%d texture", w, h);
        return false;
    }
    texture->setPath("render texture");
    _texture = texture;
    if (gl::isReady()) {
        std::string error;
        _framebuffer = gl::Framebuffer::create(texture->getName(), error);
        if (!_framebuffer) {
            logAt(LogLevel::Warning, "RenderTexture: %dx%d: %s", w, h, error.c_str());
            return false;
        }
    }
    _sprite = Sprite::createWithTexture(texture);
    if (!_sprite) {
        return false;
    }
    _sprite->setFlippedY(true);
    _sprite->setBlendFunc(BlendFunc::ALPHA_PREMULTIPLIED);
    _sprite->setPosition(w / 2.0f, h / 2.0f);
    addChild(_sprite);
    setAnchorPoint(Vec2(0.5f, 0.5f));
    setContentSize(Size(static_cast<float>(w), static_cast<float>(h)));
    beginWithClear(0, 0, 0, 0);
    end();
    return true;
}

RenderTarget RenderTexture::target(bool clear, float r, float g, float b, float a) const {
    RenderTarget t;
    t.framebuffer = _framebuffer ? _framebuffer->getName() : 0;
    t.viewportWidth = t.framebufferWidth = _width;
    t.viewportHeight = t.framebufferHeight = _height;
    t.world = Rect(0, 0, static_cast<float>(_width), static_cast<float>(_height));
    t.clearOnBegin = clear;
    t.clearColor[0] = r;
    t.clearColor[1] = g;
    t.clearColor[2] = b;
    t.clearColor[3] = a;
    return t;
}

void RenderTexture::begin() {
    if (_drawing) {
        logAt(LogLevel::Warning, "RenderTexture: begin while already drawing into it; ignored");
        return;
    }
    _previousFramebuffer = gl::boundFramebuffer();
    Director::getInstance()->getRenderer()->beginRenderTarget(target(false, 0, 0, 0, 0));
    _drawing = true;
}

void RenderTexture::beginWithClear(float r, float g, float b, float a) {
    if (_drawing) {
        logAt(LogLevel::Warning, "RenderTexture: begin while already drawing into it; ignored");
        return;
    }
    _previousFramebuffer = gl::boundFramebuffer();
    Director::getInstance()->getRenderer()->beginRenderTarget(target(true, r, g, b, a));
    _drawing = true;
}

void RenderTexture::clear(float r, float g, float b, float a) {
    Renderer* renderer = Director::getInstance()->getRenderer();
    if (!_drawing) {
        beginWithClear(r, g, b, a);
        end();
        return;
    }
    // Draw what is queued, then go on in a target that starts with the clear.
    renderer->endRenderTarget();
    renderer->beginRenderTarget(target(true, r, g, b, a));
}

void RenderTexture::end() {
    if (!_drawing) {
        logAt(LogLevel::Warning, "RenderTexture: end without begin; ignored");
        return;
    }
    _drawing = false;
    Director::getInstance()->getRenderer()->endRenderTarget();
    gl::bindFramebuffer(_previousFramebuffer);
}

Image* RenderTexture::readImage() const {
    if (!_framebuffer) {
        return nullptr;
    }
    return Director::getInstance()->getRenderer()->readFramebuffer(_framebuffer->getName(), 0, 0, _width,
                                                                   _height);
}

bool RenderTexture::saveToFile(const std::string& fileName, Image::Format format, bool isRGBA,
                               std::function<void(RenderTexture*, const std::string&)> callback) {
    if (format == Image::Format::UNKNOWN || Image::formatForPath(fileName) != format) {
        logAt(LogLevel::Warning,
              "RenderTexture: [%s] does not name a file of the format asked for; nothing saved",
              fileName.c_str());
        return false;
    }
    Image* image = readImage();
    if (!image) {
        logAt(LogLevel::Warning, "RenderTexture: cannot read the pixels back for [%s]", fileName.c_str());
        return false;
    }
    const std::string path = FileUtils::getInstance()->getWritablePath() + fileName;
    // The folder may have been removed while the game runs.
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    if (!image->saveToFile(path, !isRGBA)) {
        return false;  // the image has logged the file
    }
    if (callback) {
        callback(this, path);
    }
    return true;
}

}  // namespace cocos2d
