#pragma once

// Waiting in a test: on the event itself, never on the clock. The deadline only turns an event that
// never comes into a failure instead of a hang, so it is long enough for a machine under full load.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace testing {

inline constexpr std::chrono::seconds kEventDeadline{60};

// Until `done` holds, calling `poll` between looks (a frame, a read of a child's log) and leaving a
// millisecond to the threads and processes waited on. False once the deadline has passed.
inline bool pollUntil(const std::function<bool()>& done, const std::function<void()>& poll = {},
                      std::chrono::milliseconds deadline = kEventDeadline) {
    const auto until = std::chrono::steady_clock::now() + deadline;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) {
            return false;
        }
        if (poll) {
            poll();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// The same in a test, which fails past the deadline, naming what it waited for.
inline bool waitFor(const std::string& what, const std::function<bool()>& done,
                    const std::function<void()>& poll = {},
                    std::chrono::milliseconds deadline = kEventDeadline) {
    if (pollUntil(done, poll, deadline)) {
        return true;
    }
    ADD_FAILURE() << "gave up after " << std::chrono::duration<double>(deadline).count() << " s waiting for "
                  << what;
    return false;
}

}  // namespace testing
