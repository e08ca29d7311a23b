#pragma once

#include <string>
#include <vector>

namespace vktest {

// Gives the running test its own scratch folder, log file and configuration
// file (through VESSIK_LOG and VESSIK_CONFIG) and data folder (XDG_DATA_HOME,
// where the game keeps its high scores), so that tests can run in parallel,
// and starts it from the built-in settings at verbosity 0, so that tests can
// share a process in any order.
class TestEnv {
  public:
    // Writes `config_text` as the configuration file (none when empty).
    explicit TestEnv(const std::string &config_text = "");
    ~TestEnv();
    TestEnv(const TestEnv &) = delete;
    TestEnv &operator=(const TestEnv &) = delete;

    [[nodiscard]] const std::string &dir() const { return m_dir; }
    [[nodiscard]] const std::string &logPath() const { return m_log_path; }
    [[nodiscard]] const std::string &configPath() const { return m_config_path; }
    [[nodiscard]] std::string path(const std::string &name) const { return m_dir + "/" + name; }

    void writeFile(const std::string &name, const std::string &content) const;

    // The log file as it is on disk now.
    [[nodiscard]] std::string readLog() const;
    // The log's lines with the time and step prefixes cut off.
    [[nodiscard]] std::vector<std::string> logMessages() const;
    // Whether some log line's message is exactly `message`.
    [[nodiscard]] bool logHas(const std::string &message) const;
    // How many log lines' messages are exactly `message`.
    [[nodiscard]] int logCount(const std::string &message) const;

  private:
    std::string m_dir;
    std::string m_log_path;
    std::string m_config_path;
};

[[nodiscard]] std::string readFile(const std::string &path);

// The message part of a log line: the line without "hh:mm:ss " and "%4d ".
[[nodiscard]] std::string logMessage(const std::string &line);

// The repository's root folder (where sprites/, sounds/ and the font live).
[[nodiscard]] std::string sourceDir();

} // namespace vktest
