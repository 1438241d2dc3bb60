#pragma once

#include <memory>
#include <string>

#include "engine/platform/GLView.h"

namespace cocos2d {

// The desktop view: an SDL2 window with an OpenGL 2.1 compatibility context (GLSL 1.20), GLEW
// initialised. Creation failure gives null and one log line.
class GLViewImpl : public GLView {
public:
    static GLViewImpl* createWithRect(const std::string& viewName, const Rect& rect, float frameZoomFactor = 1.0f);
    // Desktop full screen (no mode change) on the window's display.
    static GLViewImpl* createWithFullScreen(const std::string& viewName);
    ~GLViewImpl() override;

    bool isOpenGLReady() override;
    void end() override;
    void swapBuffers() override;
    void setIMEKeyboardState(bool open) override;
    void setCursorVisible(bool visible) override;
    void setFrameSize(float width, float height) override;

    // Only meaningful inside Application::onCloseRequest: the pending close is dropped and the window
    // stays open.
    void discardCloseWindow();
    bool isClosePending() const;

    void enterFullscreen();
    // A window of that size, centred on its display.
    void exitFullscreen(int width, int height);
    bool isFullscreen() const;
    // The desktop mode of the window's display.
    int getFullscreenWidth();
    int getFullscreenHeight();

    // (ours) The window icon, from an image of the resource tree.
    void setIcon(const std::string& imagePath);

    // (ours) Polls the platform's events: window hooks and input dispatch, at the start of a frame.
    void pollEvents();
    // (ours) Reads the frame size from the surface the context draws into (after a resize or a
    // full-screen switch).
    void refreshFrameSize();
    // (ours) Turns platform text input on or off (the text field attaches and detaches).
    void setTextInputEnabled(bool enabled);
    bool isTextInputEnabled() const;
    // (ours) Whether the window has the keyboard focus right now.
    bool hasInputFocus() const;
    // (ours) Window coordinates (y down, as input events give them) to drawable pixels (y down).
    Vec2 windowToFramePixels(const Vec2& windowPoint) const;
    Vec2 framePixelsToWindow(const Vec2& framePixels) const;
    // (ours) With presenting off, swapBuffers leaves the frame in the back buffer (tests read it there).
    void setPresentEnabled(bool enabled);
    // (ours) The platform window's id, for tests that inject window events.
    unsigned int getWindowId() const;

    struct Backend;

private:
    GLViewImpl();
    bool initWindow(const std::string& viewName, const Rect& rect, bool fullscreen);
    // Drawable pixels per window unit, as SDL reports both (HiDPI).
    float windowToPixelRatioX() const;
    float windowToPixelRatioY() const;

    std::unique_ptr<Backend> _backend;
};

}  // namespace cocos2d
