#include "platform/sdl/TerminationSignals.h"

#include <SDL.h>

#include <csignal>
#include <initializer_list>

namespace cocos2d {
namespace {

volatile std::sig_atomic_t gSignal = 0;

extern "C" void onTerminationSignal(int signal) {
    gSignal = signal;
}

}  // namespace

void installTerminationSignalHandlers() {
    static bool installed = false;
    if (installed) {
        return;
    }
    installed = true;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, nullptr);
}

int pendingTerminationSignal() {
    return gSignal;
}

}  // namespace cocos2d
