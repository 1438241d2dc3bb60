#pragma once

#include <string>

#include "engine/base/Ref.h"
#include "engine/math/Rect.h"
#include "engine/math/Size.h"
#include "engine/math/Vec2.h"

namespace cocos2d {

enum class ResolutionPolicy { EXACT_FIT, NO_BORDER, SHOW_ALL, FIXED_HEIGHT, FIXED_WIDTH, UNKNOWN };

struct GLContextAttrs {
    int redBits = 8;
    int greenBits = 8;
    int blueBits = 8;
    int alphaBits = 8;
    int depthBits = 24;
    int stencilBits = 8;
};

// The view: the frame (drawable pixels), the design resolution and the letterboxed viewport that
// shows the whole design area with one uniform scale (SHOW_ALL; bars are cleared black). The base
// class has no window; GLViewImpl opens one.
class GLView : public Ref {
public:
    // Applied to the window created next.
    static void setGLContextAttrs(GLContextAttrs& attrs);
    static GLContextAttrs getGLContextAttrs();

    // (ours) A view with no window: geometry only, for headless tests and tools.
    static GLView* createHeadless(float frameWidth, float frameHeight);

    ~GLView() override;

    virtual bool isOpenGLReady() { return false; }
    virtual void end() {}
    virtual void swapBuffers() {}
    virtual void setIMEKeyboardState(bool) {}
    virtual void setCursorVisible(bool visible) { _cursorVisible = visible; }
    bool isCursorVisible() const { return _cursorVisible; }

    // The window size in pixels. While full screen, the size is remembered for the next exit.
    virtual void setFrameSize(float width, float height);
    // The drawable size in pixels.
    virtual Size getFrameSize() const { return _frameSize; }

    // The game calls it again after a resize or a full-screen change.
    virtual void setDesignResolutionSize(float width, float height, ResolutionPolicy policy);
    const Size& getDesignResolutionSize() const { return _designResolutionSize; }
    ResolutionPolicy getResolutionPolicy() const { return _policy; }

    // With SHOW_ALL: the design size and (0, 0).
    Size getVisibleSize() const;
    Vec2 getVisibleOrigin() const;
    Rect getVisibleRect() const;

    float getScaleX() const { return _scaleX; }
    float getScaleY() const { return _scaleY; }
    // The viewport in drawable pixels, origin at the bottom left.
    const Rect& getViewPortRect() const { return _viewPortRect; }

    // (ours) Drawable pixels, y down from the top of the frame, to design points y down from the top of
    // the design area (the touch "location in view").
    Vec2 framePixelsToDesignView(const Vec2& framePixels) const;
    // (ours) The reverse of the above followed by a flip: a design point (y up) to frame pixels (y down).
    Vec2 designToFramePixels(const Vec2& designPoint) const;

    const std::string& getViewName() const { return _viewName; }

protected:
    GLView() = default;
    void updateDesignResolution();

    std::string _viewName;
    Size _frameSize;
    Size _designResolutionSize;
    ResolutionPolicy _policy = ResolutionPolicy::UNKNOWN;
    Rect _viewPortRect;
    float _scaleX = 1.0f;
    float _scaleY = 1.0f;
    bool _cursorVisible = true;
};

}  // namespace cocos2d
