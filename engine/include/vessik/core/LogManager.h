#pragma once

#include <vessik/export.h>

#include <vessik/core/Manager.h>

#include <cstdarg>
#include <cstdio>

namespace vk {

// The engine's one text log. Each line is prefixed with the time of day and
// the game-loop step count. Before the file is open, and after it is closed,
// lines go to standard error so that start-up failures are still seen.
class VK_API LogManager : public Manager {
  public:
    static LogManager &getInstance();
    ~LogManager() override;

    // Opens the file named by VESSIK_LOG, or by the configuration's logfile,
    // truncating it, and takes the verbosity from VESSIK_LOG_LEVEL when that
    // is set. 0 on success, -1 otherwise.
    int startUp() override;
    // Closes the file; the verbosity returns to 0.
    void shutDown() override;

    void setFlush(bool do_flush = true) noexcept { m_do_flush = do_flush; }
    [[nodiscard]] bool getFlush() const noexcept { return m_do_flush; }

    // Verbosity: a levelled write above it is dropped before any formatting.
    void setLogLevel(int log_level) noexcept { m_log_level = log_level; }
    [[nodiscard]] int getLogLevel() const noexcept { return m_log_level; }

    // Writes one line unless `log_level` is above the verbosity. Returns the
    // number of message characters, 0 when dropped, -1 on a print error.
    int writeLog(int log_level, const char *fmt, ...) const __attribute__((format(printf, 3, 4)));

    // Writes one line unconditionally.
    int writeLog(const char *fmt, ...) const __attribute__((format(printf, 2, 3)));

  private:
    LogManager();
    int writeLine(const char *fmt, va_list args) const;

    bool m_do_flush = false;
    int m_log_level = 0;
    bool m_log_time_string = true;
    bool m_log_step_count = true;
    std::FILE *m_p_f = nullptr;
};

// The local time of day as "hh:mm:ss", or "(time error)". The text lives in a
// static buffer that the next call overwrites.
VK_API const char *getTimeString();

} // namespace vk
