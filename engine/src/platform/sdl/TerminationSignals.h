#pragma once

namespace cocos2d {

// SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C, a closed terminal) end the program the way entering the
// background does: the application's background hook runs (the game saves there), then the director
// ends. SDL would otherwise turn them into a window-close request, which the game answers with a
// confirmation nobody can see. SIGXFSZ is ignored: a write past the file-size limit (ulimit -f) then
// fails with EFBIG, as on a full disk, and the writer reports it, instead of the signal ending the
// program in the middle of a save.
void installTerminationSignalHandlers();

// The signal received since start-up, or 0. Safe to call at any time.
int pendingTerminationSignal();

}  // namespace cocos2d
