#include <vessik/core/LogManager.h>

#include <vessik/core/Config.h>
#include <vessik/core/GameManager.h>

#include <cstdarg>
#include <cstdlib>
#include <ctime>

namespace vk {

LogManager::LogManager() { setType("LogManager"); }

LogManager::~LogManager() {
    if (m_p_f)
        std::fclose(m_p_f);
}

LogManager &LogManager::getInstance() {
    static LogManager log_manager;
    return log_manager;
}

int LogManager::startUp() {
    if (isStarted()) {
        writeLog("%s::startup(): Warning! %s already started.", getType().c_str(), getType().c_str());
        return -1;
    }

    const char *p_env = std::getenv("VESSIK_LOG");
    const std::string file_name = p_env ? std::string(p_env) : Config::getInstance().getLogfile();
    m_p_f = std::fopen(file_name.c_str(), "w");
    if (!m_p_f) {
        writeLog("LogManager::startup(): Warning! Unable to open file '%s'.", file_name.c_str());
        return -1;
    }
    // verbosity can be raised from outside for a run that needs more detail
    if (const char *p_level = std::getenv("VESSIK_LOG_LEVEL"))
        m_log_level = std::atoi(p_level);
    Manager::startUp();
    writeLog(5, "LogManager::startUp(): successfully started.");
    return 0;
}

void LogManager::shutDown() {
    Manager::shutDown();
    writeLog(5, "LogManager::shutDown(): successfully stopped.");
    if (m_p_f) {
        std::fclose(m_p_f);
        m_p_f = nullptr;
    }
    // the verbosity, from VESSIK_LOG_LEVEL or set, lasts one run of the log
    m_log_level = 0;
}

int LogManager::writeLog(int log_level, const char *fmt, ...) const {
    if (log_level > m_log_level)
        return 0;
    va_list args;
    va_start(args, fmt);
    const int result = writeLine(fmt, args);
    va_end(args);
    return result;
}

int LogManager::writeLog(const char *fmt, ...) const {
    va_list args;
    va_start(args, fmt);
    const int result = writeLine(fmt, args);
    va_end(args);
    return result;
}

int LogManager::writeLine(const char *fmt, va_list args) const {
    std::FILE *p_f = m_p_f ? m_p_f : stderr;
    bool failed = false;
    if (m_log_time_string && std::fprintf(p_f, "%s ", getTimeString()) < 0)
        failed = true;
    if (m_log_step_count && std::fprintf(p_f, "%4d ", GameManager::getInstance().getStepCount()) < 0)
        failed = true;
    const int written = std::vfprintf(p_f, fmt, args);
    if (written < 0)
        failed = true;
    if (std::fputc('\n', p_f) == EOF)
        failed = true;
    if (m_do_flush)
        std::fflush(p_f);
    return failed ? -1 : written;
}

const char *getTimeString() {
    static char time_str[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (now == static_cast<std::time_t>(-1) || !localtime_r(&now, &local)) {
        std::snprintf(time_str, sizeof time_str, "(time error)");
        return time_str;
    }
    std::snprintf(time_str, sizeof time_str, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return time_str;
}

} // namespace vk
