#include "engine/renderer/Texture2D.h"

#include <GL/glew.h>

#include <memory>
#include <new>

#include "engine/base/Log.h"
#include "engine/renderer/Image.h"
#include "renderer/TextureTexels.h"
#include "renderer/gl/GLContext.h"

namespace cocos2d {

Texture2D* Texture2D::create() {
    auto* texture = new (std::nothrow) Texture2D();
    if (texture) {
        texture->autorelease();
    }
    return texture;
}

Texture2D::~Texture2D() {
    releaseGLTexture();
}

void Texture2D::releaseGLTexture() {
    if (_name != 0 && gl::isReady()) {
        glDeleteTextures(1, &_name);
    }
    _name = 0;
}

bool Texture2D::initWithImage(Image* image) {
    if (!image || image->getWidth() <= 0 || image->getHeight() <= 0) {
        return false;
    }
    return initWithData(image->getData(), image->getWidth(), image->getHeight());
}

bool Texture2D::initWithData(const void* pixels, int pixelsWide, int pixelsHigh) {
    if (pixelsWide <= 0 || pixelsHigh <= 0) {
        return false;
    }
    _pixelsWide = pixelsWide;
    _pixelsHigh = pixelsHigh;
    _contentSize = Size(static_cast<float>(pixelsWide), static_cast<float>(pixelsHigh));
    // Known now or never: the engine uploads whole images only, and a render target's contents are
    // whatever is drawn into it later.
    _texels = std::make_shared<const Texels>(static_cast<const unsigned char*>(pixels), pixelsWide, pixelsHigh);
    _opaque = _texels->opaque();
    _shownTexels = _texels->shown();
    if (!gl::isReady()) {
        return true;
    }
    if (_name == 0) {
        glGenTextures(1, &_name);
    }
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, _name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, pixelsWide, pixelsHigh, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(_params.minFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(_params.magFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(_params.wrapS));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(_params.wrapT));
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    if (glGetError() != GL_NO_ERROR) {
        logAt(LogLevel::Error, "Texture2D: upload of %dx%d [%s] failed", pixelsWide, pixelsHigh, _path.c_str());
        return false;
    }
    return true;
}

void Texture2D::setTexParameters(const TexParams& params) {
    _params = params;
    if (_name == 0 || !gl::isReady()) {
        return;
    }
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, _name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(params.minFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(params.magFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(params.wrapS));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(params.wrapT));
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
}

void Texture2D::setAntiAliasTexParameters() {
    setTexParameters(TexParams{GL_LINEAR, GL_LINEAR, _params.wrapS, _params.wrapT});
}

void Texture2D::setAliasTexParameters() {
    setTexParameters(TexParams{GL_NEAREST, GL_NEAREST, _params.wrapS, _params.wrapT});
}

}  // namespace cocos2d
