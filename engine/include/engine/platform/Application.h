#pragma once

#include <string>

namespace cocos2d {

enum class LanguageType {
    ENGLISH,
    CHINESE,
    FRENCH,
    ITALIAN,
    GERMAN,
    SPANISH,
    DUTCH,
    RUSSIAN,
    KOREAN,
    JAPANESE,
    HUNGARIAN,
    PORTUGUESE,
    ARABIC,
    NORWEGIAN,
    POLISH,
    TURKISH,
    UKRAINIAN,
    ROMANIAN,
    BULGARIAN
};

// The application: the subclass's constructor registers the one instance. run() initialises video,
// calls initGLContextAttrs, then applicationDidFinishLaunching (false: one log line, return 1), then
// runs the frame loop at the animation interval until Director::end or an undiscarded close request,
// tears down and returns 0.
//
// The window hooks are called on the main thread from event polling at the start of a frame, once per
// real change: focus lost (after held keys are released and touches cancelled), focus resumed, close
// requested (call GLViewImpl::discardCloseWindow to keep the window), resized (after the viewport is
// recomputed, at most once per frame). Minimising gives onFocusLost (when focused) then
// applicationDidEnterBackground; restoring gives applicationWillEnterForeground then onFocusResumed.
class Application {
public:
    enum class Platform { OS_WINDOWS, OS_LINUX, OS_MAC, OS_ANDROID, OS_IPHONE, OS_IPAD };

    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static Application* getInstance();

    int run();

    virtual bool applicationDidFinishLaunching() = 0;
    virtual void applicationDidEnterBackground() {}
    virtual void applicationWillEnterForeground() {}
    virtual void setAnimationInterval(float interval);
    virtual void initGLContextAttrs() {}
    virtual LanguageType getCurrentLanguage();
    // Two lower-case letters from LC_ALL, LC_MESSAGES or LANG; "en" when unset, "C" or "POSIX".
    virtual const char* getCurrentLanguageCode();
    virtual Platform getTargetPlatform() { return Platform::OS_LINUX; }
    // Opens the URL with xdg-open.
    virtual bool openURL(const std::string& url);

    virtual void onFocusLost() {}
    virtual void onFocusResumed() {}
    virtual void onCloseRequest() {}
    virtual void onWindowResized() {}

    // (ours) The name of the writable folder under the XDG data folder; the executable's name when unset.
    static void setAppName(const std::string& name);
    static std::string getAppName();

private:
    float _animationInterval = 1.0f / 60.0f;
};

}  // namespace cocos2d
