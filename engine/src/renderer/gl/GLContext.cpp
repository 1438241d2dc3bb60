#include "renderer/gl/GLContext.h"

#include <GL/glew.h>

#include <memory>

#include "engine/base/Log.h"
#include "engine/renderer/GLProgram.h"
#include "renderer/gl/GLBackend.h"

namespace cocos2d {
namespace gl {
namespace {

bool& readyFlag() {
    static bool ready = false;
    return ready;
}

std::unique_ptr<GLBackend>& backendSlot() {
    static std::unique_ptr<GLBackend> backend;
    return backend;
}

}  // namespace

bool initialise() {
    if (readyFlag()) {
        return true;
    }
    glewExperimental = GL_TRUE;
    const GLenum status = glewInit();
#ifdef GLEW_ERROR_NO_GLX_DISPLAY
    const bool eglWithoutGlx = status == GLEW_ERROR_NO_GLX_DISPLAY;
#else
    const bool eglWithoutGlx = false;
#endif
    if (status != GLEW_OK && !eglWithoutGlx) {
        logAt(LogLevel::Error, "GL: GLEW initialisation failed: %s",
              reinterpret_cast<const char*>(glewGetErrorString(status)));
        return false;
    }
    glGetError();  // GLEW may leave an error behind on core-less contexts
    if (!glGenFramebuffers || !glCreateProgram) {
        logAt(LogLevel::Error, "GL: the context lacks framebuffer objects or shaders (need OpenGL 2.1 with FBOs)");
        return false;
    }
    readyFlag() = true;
    auto backend = std::make_unique<GLBackend>();
    if (!backend->init()) {
        readyFlag() = false;
        logAt(LogLevel::Error, "GL: the default sprite program could not be built");
        return false;
    }
    RenderBackend::setCurrent(backend.get());
    backendSlot() = std::move(backend);
    return true;
}

void shutdown() {
    if (!readyFlag()) {
        return;
    }
    RenderBackend::setCurrent(nullptr);
    backendSlot().reset();
    GLProgram::purgeCompileCache();
    readyFlag() = false;
}

bool isReady() {
    return readyFlag();
}

int maxTextureSize() {
    if (!isReady()) {
        return 0;
    }
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size;
}

}  // namespace gl
}  // namespace cocos2d
