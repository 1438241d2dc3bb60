#include "renderer/gl/Framebuffer.h"

#include <GL/glew.h>

#include "renderer/gl/GLContext.h"

namespace cocos2d {
namespace gl {

std::unique_ptr<Framebuffer> Framebuffer::create(GLuint colourTexture, std::string& error) {
    if (!isReady()) {
        error = "no GL context";
        return nullptr;
    }
    std::unique_ptr<Framebuffer> framebuffer(new Framebuffer());
    const GLuint previous = boundFramebuffer();
    glGenFramebuffers(1, &framebuffer->_name);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer->_name);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colourTexture, 0);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    glBindFramebuffer(GL_FRAMEBUFFER, previous);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        error = "framebuffer incomplete (status " + std::to_string(status) + ")";
        return nullptr;
    }
    return framebuffer;
}

Framebuffer::~Framebuffer() {
    if (_name != 0 && isReady()) {
        if (boundFramebuffer() == _name) {
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
        }
        glDeleteFramebuffers(1, &_name);
    }
}

GLuint boundFramebuffer() {
    if (!isReady()) {
        return 0;
    }
    GLint bound = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    return static_cast<GLuint>(bound);
}

void bindFramebuffer(GLuint framebuffer) {
    if (isReady()) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    }
}

}  // namespace gl
}  // namespace cocos2d
