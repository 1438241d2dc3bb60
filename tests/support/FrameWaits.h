#pragma once

// Frames until something happens in the game. Pictures decode on a thread of their own; while it still
// has some to hand over, the frames carry no game time, so however long a busy machine takes to
// decode, the game sees the same frames.

#include <functional>
#include <string>

namespace testing {

// Frames of 1/60 s until `done` holds, at most `gameSeconds` of game time. False, with a failure naming
// `what`, when it does not come.
bool stepUntil(const std::string& what, const std::function<bool()>& done, float gameSeconds);

// Frames without game time until the decoder thread has handed over every picture it was given.
bool awaitPictures();

// `frames` frames of 1/60 s, each once the decoder thread has handed over every picture it was given.
bool settleFrames(int frames);

// A readable name of a type, for what a wait names.
std::string typeName(const char* mangled);

}  // namespace testing
