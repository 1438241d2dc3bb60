#include "Driver.h"

#include <SDL.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TestHome.h"
#include "WaitFor.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/platform/Application.h"
#include "engine/platform/GLViewImpl.h"
#include "engine/renderer/Renderer.h"
#include "platform/sdl/KeyTable.h"

namespace testing {

using cocos2d::Director;
using cocos2d::GLViewImpl;
using cocos2d::Vec2;

namespace {

constexpr float kFrame = 1.0f / 60.0f;

#ifndef KESTROVA_TEST_OUTPUT_ROOT
#define KESTROVA_TEST_OUTPUT_ROOT "test-output"
#endif

}  // namespace

Driver& Driver::get() {
    static Driver driver;
    return driver;
}

GLViewImpl* Driver::view() const {
    return dynamic_cast<GLViewImpl*>(Director::getInstance()->getOpenGLView());
}

bool Driver::isOpen() const {
    return view() != nullptr;
}

bool Driver::open(int width, int height) {
    if (isOpen()) {
        return true;
    }
    // Audio, when someone opens it, goes to SDL's dummy driver.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (openWith("offscreen", width, height)) {
        return true;
    }
    if (!ensureXServer()) {
        return false;
    }
    return openWith("x11", width, height);
}

bool Driver::openWith(const std::string& videoDriver, int width, int height) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, videoDriver.c_str());
    // The engine handles termination signals itself, as the game binary does.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        return false;
    }
    GLViewImpl* view = GLViewImpl::createWithRect("Kestrova test", cocos2d::Rect(0, 0, width, height));
    if (!view) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        return false;
    }
    view->setPresentEnabled(false);
    SDL_GL_SetSwapInterval(0);
    view->setDesignResolutionSize(1280, 810, cocos2d::ResolutionPolicy::SHOW_ALL);
    Director::getInstance()->setOpenGLView(view);
    _videoDriver = videoDriver;
    return true;
}

bool Driver::ensureXServer() {
    const char* display = std::getenv("DISPLAY");
    if (display && *display) {
        return true;
    }
    for (int n = 90; n < 140; ++n) {
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
        const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
        if (std::filesystem::exists(socket) || std::filesystem::exists(lock)) {
            continue;
        }
        const std::string name = ":" + std::to_string(n);
        const pid_t pid = fork();
        if (pid == 0) {
            execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1920x1080x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        if (pid < 0) {
            return false;
        }
        // Until its socket is there, or it died (the number was taken after all: try the next one).
        bool died = false;
        pollUntil([&] {
            died = died || waitpid(pid, nullptr, WNOHANG) == pid;
            return died || std::filesystem::exists(socket);
        });
        if (!died && std::filesystem::exists(socket)) {
            _xServerPid = pid;
            setenv("DISPLAY", name.c_str(), 1);
            return true;
        }
        if (!died) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    return false;
}

void Driver::stopXServer() {
    if (_xServerPid > 0) {
        kill(_xServerPid, SIGTERM);
        waitpid(_xServerPid, nullptr, 0);
        _xServerPid = -1;
        unsetenv("DISPLAY");
    }
}

void Driver::close() {
    stopCapturingLog();
    Director::destroyInstance();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    stopXServer();
}

bool Driver::launch(cocos2d::Application& app) {
    app.initGLContextAttrs();
    return app.applicationDidFinishLaunching();
}

void Driver::stepFrames(int n) {
    for (int i = 0; i < n; ++i) {
        if (GLViewImpl* v = view()) {
            v->pollEvents();
        }
        Director::getInstance()->stepFrame(kFrame);
    }
}

void Driver::idleFrame() {
    if (GLViewImpl* v = view()) {
        v->pollEvents();
    }
    Director::getInstance()->stepFrame(0.0f);
}

void Driver::pushMouseButton(const Vec2& designPoint, bool down) {
    GLViewImpl* v = view();
    if (!v) {
        return;
    }
    const Vec2 window = v->framePixelsToWindow(v->designToFramePixels(designPoint));
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = v->getWindowId();
    event.button.which = 0;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = static_cast<Sint32>(window.x);
    event.button.y = static_cast<Sint32>(window.y);
    SDL_PushEvent(&event);
}

void Driver::pushMotion(const Vec2& designPoint) {
    GLViewImpl* v = view();
    if (!v) {
        return;
    }
    const Vec2 window = v->framePixelsToWindow(v->designToFramePixels(designPoint));
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = v->getWindowId();
    event.motion.which = 0;
    event.motion.state = _leftHeld ? SDL_BUTTON_LMASK : 0;
    event.motion.x = static_cast<Sint32>(window.x);
    event.motion.y = static_cast<Sint32>(window.y);
    SDL_PushEvent(&event);
}

void Driver::touchBegan(const Vec2& designPoint) {
    pushMotion(designPoint);
    _leftHeld = true;
    pushMouseButton(designPoint, true);
}

void Driver::touchMoved(const Vec2& designPoint) {
    pushMotion(designPoint);
}

void Driver::touchEnded(const Vec2& designPoint) {
    _leftHeld = false;
    pushMouseButton(designPoint, false);
}

void Driver::tap(const Vec2& designPoint) {
    touchBegan(designPoint);
    touchEnded(designPoint);
}

void Driver::mouseMove(const Vec2& designPoint) {
    pushMotion(designPoint);
}

void Driver::pushFinger(unsigned int type, long fingerId, const Vec2& designPoint) {
    GLViewImpl* v = view();
    if (!v) {
        return;
    }
    const Vec2 frame = v->designToFramePixels(designPoint);
    const cocos2d::Size size = v->getFrameSize();
    SDL_Event event{};
    event.type = type;
    event.tfinger.touchId = 1;
    event.tfinger.fingerId = static_cast<SDL_FingerID>(fingerId);
    event.tfinger.x = frame.x / size.width;
    event.tfinger.y = frame.y / size.height;
    event.tfinger.pressure = 1.0f;
    SDL_PushEvent(&event);
}

void Driver::fingerDown(long fingerId, const Vec2& designPoint) {
    pushFinger(SDL_FINGERDOWN, fingerId, designPoint);
}

void Driver::fingerMoved(long fingerId, const Vec2& designPoint) {
    pushFinger(SDL_FINGERMOTION, fingerId, designPoint);
}

void Driver::fingerUp(long fingerId, const Vec2& designPoint) {
    pushFinger(SDL_FINGERUP, fingerId, designPoint);
}

void Driver::key(cocos2d::EventKeyboard::KeyCode code, bool down) {
    GLViewImpl* v = view();
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = v ? v->getWindowId() : 0;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = 0;
    event.key.keysym.sym = cocos2d::keytable::toSdl(code);
    event.key.keysym.scancode = SDL_GetScancodeFromKey(event.key.keysym.sym);
    SDL_PushEvent(&event);
}

void Driver::keyRepeat(cocos2d::EventKeyboard::KeyCode code) {
    GLViewImpl* v = view();
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.windowID = v ? v->getWindowId() : 0;
    event.key.state = SDL_PRESSED;
    event.key.repeat = 1;
    event.key.keysym.sym = cocos2d::keytable::toSdl(code);
    event.key.keysym.scancode = SDL_GetScancodeFromKey(event.key.keysym.sym);
    SDL_PushEvent(&event);
}

void Driver::text(const std::string& utf8) {
    GLViewImpl* v = view();
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    event.text.windowID = v ? v->getWindowId() : 0;
    const size_t n = std::min(utf8.size(), sizeof(event.text.text) - 1);
    utf8.copy(event.text.text, n);
    event.text.text[n] = '\0';
    SDL_PushEvent(&event);
}

void Driver::pushWindowEvent(int windowEvent, int data1, int data2) {
    GLViewImpl* v = view();
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = v ? v->getWindowId() : 0;
    event.window.event = static_cast<Uint8>(windowEvent);
    event.window.data1 = data1;
    event.window.data2 = data2;
    SDL_PushEvent(&event);
}

void Driver::focusLost() {
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
}

void Driver::focusGained() {
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
}

void Driver::minimize() {
    pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
}

void Driver::restore() {
    pushWindowEvent(SDL_WINDOWEVENT_RESTORED);
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
}

void Driver::closeRequest() {
    pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
}

void Driver::resize(int width, int height) {
    if (GLViewImpl* v = view()) {
        v->setFrameSize(static_cast<float>(width), static_cast<float>(height));
    }
    pushWindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, width, height);
}

cocos2d::RefPtr<cocos2d::Image> Driver::readPixels(const cocos2d::Rect& windowPixels) {
    GLViewImpl* v = view();
    if (!v) {
        return nullptr;
    }
    const int frameHeight = static_cast<int>(v->getFrameSize().height);
    const int x = static_cast<int>(windowPixels.origin.x);
    const int w = static_cast<int>(windowPixels.size.width);
    const int h = static_cast<int>(windowPixels.size.height);
    const int y = frameHeight - static_cast<int>(windowPixels.origin.y) - h;
    return cocos2d::RefPtr<cocos2d::Image>(Director::getInstance()->getRenderer()->readFramebuffer(0, x, y, w, h));
}

bool Driver::saveScreenshot(const std::string& path) {
    GLViewImpl* v = view();
    if (!v) {
        return false;
    }
    const cocos2d::Size frame = v->getFrameSize();
    cocos2d::RefPtr<cocos2d::Image> image = readPixels(cocos2d::Rect(0, 0, frame.width, frame.height));
    return image && image->saveToFile(path, true);
}

std::vector<std::string>& Driver::captureLog() {
    _log.clear();
    cocos2d::setLogSink([this](cocos2d::LogLevel, const std::string& line) { _log.push_back(line); });
    return _log;
}

void Driver::stopCapturingLog() {
    cocos2d::setLogSink({});
}

std::string Driver::scratchPath(const std::string& fileName) {
    const std::filesystem::path path = std::filesystem::path(scratchFolder()) / fileName;
    std::filesystem::create_directories(path.parent_path());
    return path.string();
}

std::string Driver::outputPath(const std::string& fileName) {
    std::filesystem::create_directories(KESTROVA_TEST_OUTPUT_ROOT);
    return std::string(KESTROVA_TEST_OUTPUT_ROOT) + "/" + fileName;
}

}  // namespace testing
