#pragma once

#include "engine/base/RefPtr.h"
#include "engine/events/EventKeyboard.h"
#include "engine/events/EventListenerKeyboard.h"
#include "engine/platform/Application.h"

namespace cocos2d {
class Event;
}  // namespace cocos2d

// The application: the launch sequence that brings the services up in a fixed order and shows the
// first scene, the window and life-cycle events, and the keyboard listener that serves the whole
// program (Esc, Alt+Enter, the debug key sequence).
class AppDelegate : public cocos2d::Application {
public:
    AppDelegate();
    ~AppDelegate() override;

    // False only when no OpenGL view could be created; then nothing after the view's step has run.
    bool applicationDidFinishLaunching() override;
    // Pauses the game and saves: one of the save points.
    void applicationDidEnterBackground() override;
    // Only logs: focus resumed does the resuming.
    void applicationWillEnterForeground() override;
    void initGLContextAttrs() override;

    void onFocusLost() override;
    void onFocusResumed() override;
    // The window's close button: the close is discarded and the player is asked to confirm.
    void onCloseRequest() override;
    void onWindowResized() override;

    // Alt (left or right) down; Enter while Alt is held toggles full screen.
    void onKeyPressed(cocos2d::EventKeyboard::KeyCode keyCode, cocos2d::Event* event);
    // Esc asks to exit; character keys feed the debug key sequence; Alt up.
    void onKeyReleased(cocos2d::EventKeyboard::KeyCode keyCode, cocos2d::Event* event);

private:
    // Music and the playing effects stop with the game while the window is away, so a looping tool
    // sound whose fade froze with the director does not play on.
    void pauseAudio();
    void resumeAudio();

    bool _altDown = false;
    cocos2d::RefPtr<cocos2d::EventListenerKeyboard> _keyboardListener;
};
