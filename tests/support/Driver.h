#pragma once

#include <string>
#include <vector>

#include "engine/base/RefPtr.h"
#include "engine/events/EventKeyboard.h"
#include "engine/math/Rect.h"
#include "engine/math/Vec2.h"
#include "engine/renderer/Image.h"

namespace cocos2d {
class Application;
class GLViewImpl;
}  // namespace cocos2d

namespace testing {

// Drives the real engine in a test: one GL view per test binary (SDL's offscreen driver with Mesa EGL
// first, Xvfb and X11 as the fallback), frames stepped with dt exactly 1/60 and no sleeping, input and
// window events pushed as SDL events where real ones enter.
class Driver {
public:
    static Driver& get();

    // Opens the view (design resolution 1280 x 810, SHOW_ALL) and hands it to the director.
    bool open(int width = 1280, int height = 810);
    void close();
    bool isOpen() const;
    // "offscreen" or "x11".
    const std::string& videoDriver() const { return _videoDriver; }
    cocos2d::GLViewImpl* view() const;

    // initGLContextAttrs and applicationDidFinishLaunching, without the blocking loop.
    bool launch(cocos2d::Application& app);
    // n frames exactly as the application loop runs them: poll, then one frame of 1/60 s.
    void stepFrames(int n = 1);
    // One frame of no game time: what other threads handed to the main thread (decoded pictures, sound
    // ends) is delivered and drawn, and nothing moves.
    void idleFrame();

    // Design points (y up), left button, touch id 0.
    void touchBegan(const cocos2d::Vec2& designPoint);
    void touchMoved(const cocos2d::Vec2& designPoint);
    void touchEnded(const cocos2d::Vec2& designPoint);
    void tap(const cocos2d::Vec2& designPoint);
    void mouseMove(const cocos2d::Vec2& designPoint);
    // Touch-screen fingers, each its own touch beside the mouse's (engine ids from 1 in press order).
    void fingerDown(long fingerId, const cocos2d::Vec2& designPoint);
    void fingerMoved(long fingerId, const cocos2d::Vec2& designPoint);
    void fingerUp(long fingerId, const cocos2d::Vec2& designPoint);
    void key(cocos2d::EventKeyboard::KeyCode code, bool down);
    // A press that the platform marks as auto-repeat.
    void keyRepeat(cocos2d::EventKeyboard::KeyCode code);
    void text(const std::string& utf8);

    void focusLost();
    void focusGained();
    void minimize();
    void restore();
    void closeRequest();
    void resize(int width, int height);

    // Pixels of the last drawn frame; the rectangle is in drawable pixels from the top-left corner and
    // the image's rows run top-down.
    cocos2d::RefPtr<cocos2d::Image> readPixels(const cocos2d::Rect& windowPixels);
    bool saveScreenshot(const std::string& path);
    // Collects log lines from now until the next call or close.
    std::vector<std::string>& captureLog();
    void stopCapturingLog();

    // Where failing tests write their images: <build>/test-output/ (created on demand).
    static std::string outputPath(const std::string& fileName);
    // A path in this process's own scratch folder (TestHome.h), for fixtures a test writes and reads
    // back; its parent folder is made. Tests run as parallel processes, so shared names under the
    // output folder would race. Removed at exit.
    static std::string scratchPath(const std::string& fileName);

private:
    Driver() = default;
    bool openWith(const std::string& videoDriver, int width, int height);
    bool ensureXServer();
    void pushMouseButton(const cocos2d::Vec2& designPoint, bool down);
    void pushMotion(const cocos2d::Vec2& designPoint);
    void pushFinger(unsigned int type, long fingerId, const cocos2d::Vec2& designPoint);
    void pushWindowEvent(int windowEvent, int data1 = 0, int data2 = 0);
    void stopXServer();

    std::string _videoDriver;
    int _xServerPid = -1;
    bool _leftHeld = false;
    std::vector<std::string> _log;
};

}  // namespace testing
