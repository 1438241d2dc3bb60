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
    // (ours) Frame size changes are read from the window (after a resize).
    void refreshFrameSize();
    // (ours) Turns platform text input on or off (the text field attaches and detaches).
    void setTextInputEnabled(bool enabled);
    bool isTextInputEnabled() const;

    struct Backend;

private:
    GLViewImpl();
    bool initWindow(const std::string& viewName, const Rect& rect, bool fullscreen);

    std::unique_ptr<Backend> _backend;
};

}  // namespace cocos2d
