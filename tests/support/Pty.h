#pragma once

#include "Vt.h"

#include <string>
#include <sys/types.h>
#include <termios.h>
#include <utility>
#include <vector>

namespace vktest {

// A pseudo-terminal of a set size with a terminal emulator reading its
// output: a program runs on it (or the test's own standard input and output
// are put on it), the test types bytes and reads the screen.
class Pty {
  public:
    Pty(int columns, int rows);
    ~Pty();
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;

    // Starts `argv` as the terminal's session leader in `workdir`, with the
    // environment changed by `env` (a pair with an empty value unsets) and
    // standard error written to `error_path`; whether it started.
    bool spawn(const std::vector<std::string> &argv, const std::string &workdir,
               const std::vector<std::pair<std::string, std::string>> &env, const std::string &error_path);

    // Types bytes into the terminal.
    void send(const std::string &bytes) const;
    // Passes what the program wrote so far to the emulator; how many bytes.
    std::size_t pump();
    // Pumps until `condition` holds or `timeout_ms` pass; whether it held.
    template <typename Condition> bool waitFor(Condition condition, int timeout_ms);
    // Resizes the terminal (the program hears SIGWINCH) and the emulator.
    void resize(int columns, int rows);

    [[nodiscard]] Vt &screen() noexcept { return m_vt; }
    // Everything the program wrote, as bytes read so far.
    [[nodiscard]] std::size_t bytesRead() const noexcept { return m_bytes; }
    // The terminal's line settings as the program left them.
    [[nodiscard]] termios modes() const;
    [[nodiscard]] int slave() const noexcept { return m_slave; }
    // The program's process id.
    [[nodiscard]] pid_t pid() const noexcept { return m_program; }

    // Whether the program ended; its exit code then, or 128 + signal.
    [[nodiscard]] bool exited();
    [[nodiscard]] int exitCode() const noexcept { return m_exit_code; }
    // Whether the program is stopped (suspended).
    [[nodiscard]] bool stopped() const;

  private:
    int m_master = -1;
    int m_slave = -1;
    // the session's leader, which ends as the program does, and the program
    pid_t m_pid = -1;
    pid_t m_program = -1;
    bool m_exited = false;
    int m_exit_code = -1;
    std::size_t m_bytes = 0;
    Vt m_vt;
};

// Puts the test's standard input and output on a terminal for its lifetime.
class StdioOn {
  public:
    explicit StdioOn(int terminal_fd);
    ~StdioOn();
    StdioOn(const StdioOn &) = delete;
    StdioOn &operator=(const StdioOn &) = delete;

  private:
    int m_in = -1;
    int m_out = -1;
};

} // namespace vktest

#include <chrono>
#include <thread>

template <typename Condition> bool vktest::Pty::waitFor(Condition condition, int timeout_ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (true) {
        pump();
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}
