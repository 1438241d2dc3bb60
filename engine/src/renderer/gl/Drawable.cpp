#include "renderer/gl/Drawable.h"

// Kept apart from GLEW's header: GL/glx.h brings its own GL declarations.
#include <EGL/egl.h>
#include <GL/glx.h>

namespace cocos2d {
namespace gl {

bool currentDrawableSize(int* width, int* height) {
    int w = 0;
    int h = 0;
    if (eglGetCurrentContext() != EGL_NO_CONTEXT) {
        EGLDisplay display = eglGetCurrentDisplay();
        EGLSurface surface = eglGetCurrentSurface(EGL_DRAW);
        if (display == EGL_NO_DISPLAY || surface == EGL_NO_SURFACE ||
            !eglQuerySurface(display, surface, EGL_WIDTH, &w) || !eglQuerySurface(display, surface, EGL_HEIGHT, &h)) {
            return false;
        }
    } else if (glXGetCurrentContext() != nullptr) {
        Display* display = glXGetCurrentDisplay();
        const GLXDrawable drawable = glXGetCurrentDrawable();
        if (!display || drawable == 0) {
            return false;
        }
        unsigned int uw = 0;
        unsigned int uh = 0;
        glXQueryDrawable(display, drawable, GLX_WIDTH, &uw);
        glXQueryDrawable(display, drawable, GLX_HEIGHT, &uh);
        w = static_cast<int>(uw);
        h = static_cast<int>(uh);
    } else {
        return false;
    }
    if (w <= 0 || h <= 0) {
        return false;
    }
    *width = w;
    *height = h;
    return true;
}

}  // namespace gl
}  // namespace cocos2d
