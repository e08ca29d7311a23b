#pragma once

#include <string>
#include <sys/types.h>

namespace vktest {

// The X server of this test process (Xvfb, 1280 x 1024, 24 bits): started on
// a free display number by the first XServer made, and named in DISPLAY by
// each one, so that test processes running in parallel never share a screen,
// a keyboard or a pointer. The graphics library keeps to the first server it
// reaches until the process ends, so the tests of one process take turns on
// one server. It lives until the test process ends, even when a test crashes.
class XServer {
  public:
    // A server started with `reset_when_idle` resets whenever its last client
    // leaves, as one started by xvfb-run does; the option only matters to the
    // process's first XServer.
    explicit XServer(bool reset_when_idle = false);
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    // Whether the server is up and DISPLAY names it.
    [[nodiscard]] bool ok() const noexcept;
    // ":N"
    [[nodiscard]] const std::string &display() const noexcept;
    // Why the server is not up; empty when it is.
    [[nodiscard]] const std::string &error() const noexcept;
};

// Runs a shell command with the test's DISPLAY; its exit status, -1 when it
// could not be run.
int run(const std::string &command);

// Calls `condition` every 5 ms until it holds or `timeout_ms` pass; whether it
// held.
template <typename Condition> bool waitFor(Condition condition, int timeout_ms = 3000);

} // namespace vktest

#include <chrono>
#include <thread>

template <typename Condition> bool vktest::waitFor(Condition condition, int timeout_ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}
