#pragma once

#include <string>
#include <sys/types.h>

namespace vktest {

// A private X server (Xvfb, 1280 x 1024, 24 bits) for one test: started on a
// free display number and named in DISPLAY for the test's lifetime, so that
// tests running in parallel never share a screen, a keyboard or a pointer.
// The server lives until the test process ends, even when the test crashes.
class XServer {
  public:
    XServer();
    ~XServer();
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    // Whether the server is up and DISPLAY names it.
    [[nodiscard]] bool ok() const noexcept { return m_pid > 0 && !m_display.empty(); }
    // ":N"
    [[nodiscard]] const std::string &display() const noexcept { return m_display; }
    // Why the server is not up; empty when it is.
    [[nodiscard]] const std::string &error() const noexcept { return m_error; }

  private:
    pid_t m_pid = -1;
    std::string m_display;
    std::string m_error;
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
