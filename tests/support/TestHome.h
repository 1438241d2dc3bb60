#pragma once

#include <string>

namespace testing {

// Gives this test process a home of its own before anything looks for one: a fresh folder under the
// system's temporary folder, removed again when the process exits. HOME and the XDG data, config,
// cache and state folders point into it, so no test, nor any program a test starts, puts saves,
// settings, caches or exported pictures into the user's own folders. (HOME alone is not enough: Mesa
// keeps its shader cache under the account's own home when XDG_CACHE_HOME is unset.) Every test
// binary's main calls it first; a test that checks the default folders sets HOME (and unsets the XDG
// variables) itself.
void useOwnHome();

// This process's scratch folder, beside that home and removed with it; made on first use.
const std::string& scratchFolder();

}  // namespace testing
