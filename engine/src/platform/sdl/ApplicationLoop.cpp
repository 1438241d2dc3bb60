#include <SDL.h>

#include <chrono>
#include <thread>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/platform/Application.h"
#include "engine/platform/GLViewImpl.h"
#include "platform/sdl/TerminationSignals.h"

namespace cocos2d {

int Application::run() {
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    installTerminationSignalHandlers();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        logAt(LogLevel::Error, "Application: cannot initialise video: %s", SDL_GetError());
        return 1;
    }
    initGLContextAttrs();
    if (!applicationDidFinishLaunching()) {
        logAt(LogLevel::Error, "Application: launch failed; no window could be opened");
        SDL_Quit();
        return 1;
    }
    Director* director = Director::getInstance();
    while (!director->hasEnded()) {
        const auto frameStart = std::chrono::steady_clock::now();
        if (auto* view = dynamic_cast<GLViewImpl*>(director->getOpenGLView())) {
            view->pollEvents();
        }
        if (director->hasEnded()) {
            break;
        }
        director->mainLoop();
        const auto interval = std::chrono::duration<double>(director->getAnimationInterval());
        const auto next = frameStart + std::chrono::duration_cast<std::chrono::steady_clock::duration>(interval);
        std::this_thread::sleep_until(next);
    }
    SDL_Quit();
    return 0;
}

}  // namespace cocos2d
