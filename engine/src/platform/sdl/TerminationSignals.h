#pragma once

namespace cocos2d {

// SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C, a closed terminal) end the program the way entering the
// background does: the application's background hook runs (the game saves there), then the director
// ends. SDL would otherwise turn them into a window-close request, which the game answers with a
// confirmation nobody can see.
void installTerminationSignalHandlers();

// The signal received since start-up, or 0. Safe to call at any time.
int pendingTerminationSignal();

}  // namespace cocos2d
