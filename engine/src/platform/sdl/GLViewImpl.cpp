#include "engine/platform/GLViewImpl.h"

#include <SDL.h>

#include <new>
#include <string>
#include <vector>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/platform/FileUtils.h"
#include "platform/sdl/EventPump.h"
#include "platform/sdl/TerminationSignals.h"
#include "platform/sdl/ImageCodec.h"
#include "renderer/gl/Drawable.h"
#include "renderer/gl/GLContext.h"

namespace cocos2d {

struct GLViewImpl::Backend {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    bool fullscreen = false;
    int windowedWidth = 1280;
    int windowedHeight = 810;
    bool textInput = false;
    bool present = true;
    std::string iconPath;
    std::unique_ptr<EventPump> pump;

    ~Backend() {
        if (context) {
            SDL_GL_DeleteContext(context);
        }
        if (window) {
            SDL_DestroyWindow(window);
        }
    }
};

namespace {

bool ensureVideo() {
    installTerminationSignalHandlers();
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        return true;
    }
    // A close of the only window is a close request of ours, not an SDL_QUIT.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_MOUSE_TOUCH_EVENTS, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        logAt(LogLevel::Error, "GLView: cannot initialise video: %s", SDL_GetError());
        return false;
    }
    return true;
}

}  // namespace

GLViewImpl::GLViewImpl() : _backend(std::make_unique<Backend>()) {}

GLViewImpl::~GLViewImpl() {
    end();
}

GLViewImpl* GLViewImpl::createWithRect(const std::string& viewName, const Rect& rect, float frameZoomFactor) {
    auto* view = new (std::nothrow) GLViewImpl();
    const float zoom = frameZoomFactor > 0.0f ? frameZoomFactor : 1.0f;
    const Rect scaled(rect.origin, Size(rect.size.width * zoom, rect.size.height * zoom));
    if (view && view->initWindow(viewName, scaled, false)) {
        view->autorelease();
        return view;
    }
    delete view;
    return nullptr;
}

GLViewImpl* GLViewImpl::createWithFullScreen(const std::string& viewName) {
    auto* view = new (std::nothrow) GLViewImpl();
    if (view && view->initWindow(viewName, Rect(0, 0, 1280, 810), true)) {
        view->autorelease();
        return view;
    }
    delete view;
    return nullptr;
}

bool GLViewImpl::initWindow(const std::string& viewName, const Rect& rect, bool fullscreen) {
    _viewName = viewName;
    if (!ensureVideo()) {
        return false;
    }
    const GLContextAttrs attrs = GLView::getGLContextAttrs();
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, attrs.redBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, attrs.greenBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, attrs.blueBits);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, attrs.alphaBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, attrs.depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, attrs.stencilBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

    const int width = rect.size.width > 0 ? static_cast<int>(rect.size.width) : 1280;
    const int height = rect.size.height > 0 ? static_cast<int>(rect.size.height) : 810;
    _backend->windowedWidth = width;
    _backend->windowedHeight = height;
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE;
    if (fullscreen) {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    _backend->window = SDL_CreateWindow(viewName.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                        height, flags);
    if (!_backend->window) {
        logAt(LogLevel::Error, "GLView: cannot create the window: %s", SDL_GetError());
        return false;
    }
    _backend->context = SDL_GL_CreateContext(_backend->window);
    if (!_backend->context) {
        logAt(LogLevel::Error, "GLView: cannot create an OpenGL 2.1 context: %s", SDL_GetError());
        return false;
    }
    SDL_GL_MakeCurrent(_backend->window, _backend->context);
    if (!gl::initialise()) {
        return false;
    }
    // Images are decoded off the main thread, where no GL call may be made: the limit is kept there.
    imagecodec::setMaxTextureSide(gl::maxTextureSize());
    // Vsync when the driver offers it; the frame loop sleeps for the rest.
    SDL_GL_SetSwapInterval(1);
    _backend->fullscreen = fullscreen;
    _backend->pump = std::make_unique<EventPump>(this);
    _backend->pump->setFocused(true);
    // Text input starts off; a text field turns it on while attached.
    SDL_StopTextInput();
    refreshFrameSize();
    return true;
}

bool GLViewImpl::isOpenGLReady() {
    return _backend->context != nullptr && gl::isReady();
}

void GLViewImpl::end() {
    if (!_backend->window) {
        return;
    }
    gl::shutdown();
    _backend.reset(new Backend());
}

void GLViewImpl::setPresentEnabled(bool enabled) {
    _backend->present = enabled;
}

void GLViewImpl::swapBuffers() {
    if (_backend->window && _backend->present) {
        SDL_GL_SwapWindow(_backend->window);
    }
}

void GLViewImpl::setIMEKeyboardState(bool open) {
    setTextInputEnabled(open);
}

void GLViewImpl::setTextInputEnabled(bool enabled) {
    if (enabled == _backend->textInput) {
        return;
    }
    _backend->textInput = enabled;
    if (enabled) {
        SDL_StartTextInput();
    } else {
        SDL_StopTextInput();
    }
}

bool GLViewImpl::isTextInputEnabled() const {
    return _backend->textInput;
}

void GLViewImpl::setCursorVisible(bool visible) {
    GLView::setCursorVisible(visible);
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void GLViewImpl::setFrameSize(float width, float height) {
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    if (w <= 0 || h <= 0) {
        return;
    }
    _backend->windowedWidth = w;
    _backend->windowedHeight = h;
    if (!_backend->window) {
        GLView::setFrameSize(width, height);
        return;
    }
    if (!_backend->fullscreen) {
        SDL_SetWindowSize(_backend->window, w, h);
        refreshFrameSize();
    }
}

void GLViewImpl::refreshFrameSize() {
    if (!_backend->window) {
        return;
    }
    // The surface itself says how big it is. SDL's figure is what it asked for, which after a full-screen
    // switch without a window manager (or on an offscreen surface) is not what we draw into.
    int w = 0;
    int h = 0;
    if (!gl::currentDrawableSize(&w, &h)) {
        SDL_GL_GetDrawableSize(_backend->window, &w, &h);
        if (w <= 0 || h <= 0) {
            SDL_GetWindowSize(_backend->window, &w, &h);
        }
    }
    if (w <= 0 || h <= 0) {
        return;
    }
    GLView::setFrameSize(static_cast<float>(w), static_cast<float>(h));
}

float GLViewImpl::windowToPixelRatioX() const {
    // The HiDPI factor as SDL sees it: both figures come from SDL, so they agree even when its absolute
    // size is off, and mouse positions (in SDL's window units) land where the surface shows them.
    int ww = 0;
    int wh = 0;
    int dw = 0;
    int dh = 0;
    SDL_GetWindowSize(_backend->window, &ww, &wh);
    SDL_GL_GetDrawableSize(_backend->window, &dw, &dh);
    return ww > 0 && dw > 0 ? static_cast<float>(dw) / static_cast<float>(ww) : 1.0f;
}

float GLViewImpl::windowToPixelRatioY() const {
    int ww = 0;
    int wh = 0;
    int dw = 0;
    int dh = 0;
    SDL_GetWindowSize(_backend->window, &ww, &wh);
    SDL_GL_GetDrawableSize(_backend->window, &dw, &dh);
    return wh > 0 && dh > 0 ? static_cast<float>(dh) / static_cast<float>(wh) : 1.0f;
}

Vec2 GLViewImpl::windowToFramePixels(const Vec2& windowPoint) const {
    if (!_backend->window) {
        return windowPoint;
    }
    return Vec2(windowPoint.x * windowToPixelRatioX(), windowPoint.y * windowToPixelRatioY());
}

Vec2 GLViewImpl::framePixelsToWindow(const Vec2& framePixels) const {
    if (!_backend->window) {
        return framePixels;
    }
    return Vec2(framePixels.x / windowToPixelRatioX(), framePixels.y / windowToPixelRatioY());
}

unsigned int GLViewImpl::getWindowId() const {
    return _backend->window ? SDL_GetWindowID(_backend->window) : 0;
}

bool GLViewImpl::hasInputFocus() const {
    return _backend->window && (SDL_GetWindowFlags(_backend->window) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void GLViewImpl::discardCloseWindow() {
    if (_backend->pump) {
        _backend->pump->discardClose();
    }
}

bool GLViewImpl::isClosePending() const {
    return _backend->pump && _backend->pump->isClosePending();
}

void GLViewImpl::enterFullscreen() {
    if (!_backend->window || _backend->fullscreen) {
        return;
    }
    if (SDL_SetWindowFullscreen(_backend->window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        logAt(LogLevel::Warning, "GLView: cannot enter full screen: %s", SDL_GetError());
        return;
    }
    _backend->fullscreen = true;
    refreshFrameSize();
}

void GLViewImpl::exitFullscreen(int width, int height) {
    if (!_backend->window) {
        return;
    }
    if (_backend->fullscreen) {
        SDL_SetWindowFullscreen(_backend->window, 0);
        _backend->fullscreen = false;
    }
    if (width > 0 && height > 0) {
        _backend->windowedWidth = width;
        _backend->windowedHeight = height;
    }
    SDL_SetWindowSize(_backend->window, _backend->windowedWidth, _backend->windowedHeight);
    const int display = SDL_GetWindowDisplayIndex(_backend->window);
    SDL_SetWindowPosition(_backend->window, SDL_WINDOWPOS_CENTERED_DISPLAY(display < 0 ? 0 : display),
                          SDL_WINDOWPOS_CENTERED_DISPLAY(display < 0 ? 0 : display));
    refreshFrameSize();
    if (!_backend->iconPath.empty()) {
        setIcon(_backend->iconPath);
    }
}

bool GLViewImpl::isFullscreen() const {
    return _backend->fullscreen;
}

int GLViewImpl::getFullscreenWidth() {
    SDL_DisplayMode mode;
    const int display = _backend->window ? SDL_GetWindowDisplayIndex(_backend->window) : 0;
    if (SDL_GetDesktopDisplayMode(display < 0 ? 0 : display, &mode) != 0) {
        return static_cast<int>(_frameSize.width);
    }
    return mode.w;
}

int GLViewImpl::getFullscreenHeight() {
    SDL_DisplayMode mode;
    const int display = _backend->window ? SDL_GetWindowDisplayIndex(_backend->window) : 0;
    if (SDL_GetDesktopDisplayMode(display < 0 ? 0 : display, &mode) != 0) {
        return static_cast<int>(_frameSize.height);
    }
    return mode.h;
}

void GLViewImpl::setIcon(const std::string& imagePath) {
    if (!_backend->window) {
        return;
    }
    const std::string full = FileUtils::getInstance()->fullPathForFilename(imagePath);
    if (full.empty()) {
        logAt(LogLevel::Warning, "GLView: icon [%s] not found", imagePath.c_str());
        return;
    }
    // Through the engine's decoder, which refuses a header that claims more than any texture.
    const std::string bytes = FileUtils::getInstance()->getStringFromFile(full);
    std::vector<unsigned char> rgba;
    int width = 0;
    int height = 0;
    std::string error;
    if (!imagecodec::decode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), rgba, width,
                            height, error)) {
        logAt(LogLevel::Warning, "GLView: icon [%s] cannot be decoded: %s", imagePath.c_str(), error.c_str());
        return;
    }
    SDL_Surface* icon =
        SDL_CreateRGBSurfaceWithFormatFrom(rgba.data(), width, height, 32, width * 4, SDL_PIXELFORMAT_RGBA32);
    if (!icon) {
        logAt(LogLevel::Warning, "GLView: icon [%s] cannot be decoded: %s", imagePath.c_str(), SDL_GetError());
        return;
    }
    SDL_SetWindowIcon(_backend->window, icon);
    SDL_FreeSurface(icon);
    _backend->iconPath = imagePath;
}

void GLViewImpl::pollEvents() {
    if (_backend->pump) {
        _backend->pump->pollAll();
    }
}

}  // namespace cocos2d
