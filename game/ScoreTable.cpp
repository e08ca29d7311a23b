#include "ScoreTable.h"

#include <vessik/core/LogManager.h>
#include <vessik/core/Recorder.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t MAX_SCORE_DIGITS = 9;
constexpr const char *DATE_PATTERN = "dddd-dd-dd";

bool allDigits(const std::string &text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "1234 2025-06-01", nothing more and nothing less (a score is never below 0
// in play, but one that was is still read back).
bool parseEntry(const std::string &line, ScoreTable::Entry &entry) {
    const std::size_t sign = !line.empty() && line[0] == '-' ? 1 : 0;
    const std::size_t blank = line.find(' ');
    if (blank == std::string::npos || blank - sign > MAX_SCORE_DIGITS)
        return false;
    const std::string score = line.substr(0, blank);
    const std::string date = line.substr(blank + 1);
    if (!allDigits(score.substr(sign)) || date.size() != std::strlen(DATE_PATTERN))
        return false;
    for (std::size_t i = 0; i < date.size(); i++) {
        const bool digit = date[i] >= '0' && date[i] <= '9';
        if (digit != (DATE_PATTERN[i] == 'd') || (date[i] == '-') != (DATE_PATTERN[i] == '-'))
            return false;
    }
    entry = {std::atoi(score.c_str()), date};
    return true;
}

// Reads at most `limit` + 1 bytes of a regular file; an empty string and a
// reason when it cannot be, or when it is longer than `limit`.
bool readBounded(const std::string &path, long limit, std::string &content, std::string &reason) {
    // non-blocking: a FIFO put in the file's place must not hang the game
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        reason = errno == ENOENT ? "no such file" : std::strerror(errno);
        return false;
    }
    struct stat info {};
    bool ok = fstat(fd, &info) == 0;
    if (!ok)
        reason = std::strerror(errno);
    else if (!S_ISREG(info.st_mode)) {
        ok = false;
        reason = "not a regular file";
    } else if (info.st_size > limit) {
        ok = false;
        reason = "larger than " + std::to_string(limit) + " bytes";
    }
    char buffer[256];
    while (ok && static_cast<long>(content.size()) <= limit) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ok = false;
            reason = std::strerror(errno);
        } else if (n == 0) {
            break;
        } else {
            content.append(buffer, static_cast<std::size_t>(n));
        }
    }
    // the file may have grown since it was measured
    if (ok && static_cast<long>(content.size()) > limit) {
        ok = false;
        reason = "larger than " + std::to_string(limit) + " bytes";
    }
    close(fd);
    if (!ok)
        content.clear();
    return ok;
}

bool writeAll(int fd, const std::string &text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::string ScoreTable::defaultPath() {
    // a relative XDG_DATA_HOME is to be ignored, as if it were not set
    const char *p_data = std::getenv("XDG_DATA_HOME");
    if (p_data && p_data[0] == '/')
        return std::string(p_data) + "/swellrun/scores";
    const char *p_home = std::getenv("HOME");
    if (p_home && p_home[0] != '\0')
        return std::string(p_home) + "/.local/share/swellrun/scores";
    return "";
}

bool ScoreTable::isKept() {
    const vk::Recorder &recorder = vk::Recorder::getInstance();
    return !recorder.isRecording() && !recorder.isReplaying();
}

std::string ScoreTable::today() {
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    char text[16] = "0000-00-00";
    if (localtime_r(&now, &local))
        std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

ScoreTable::ScoreTable(std::string path) : m_path(std::move(path)) {}

int ScoreTable::load() {
    m_entries.clear();
    vk::LogManager &log = vk::LogManager::getInstance();
    if (m_path.empty()) {
        log.writeLog("ScoreTable::load(): Warning! Neither XDG_DATA_HOME nor HOME is set: no high scores.");
        return -1;
    }
    std::string content;
    std::string reason;
    if (!readBounded(m_path, MAX_FILE_BYTES, content, reason)) {
        log.writeLog("ScoreTable::load(): High scores '%s' not read (%s). Starting with none.", m_path.c_str(),
                     reason.c_str());
        return -1;
    }

    std::istringstream in(content);
    std::string line;
    int line_number = 0;
    while (std::getline(in, line)) {
        line_number++;
        // a file edited elsewhere may end its lines with CRLF
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        Entry entry;
        if (line_number > SIZE || !parseEntry(line, entry)) {
            m_entries.clear();
            log.writeLog("ScoreTable::load(): High scores '%s' not read (line %d is not a run). Starting with none.",
                         m_path.c_str(), line_number);
            return -1;
        }
        m_entries.push_back(entry);
    }
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const Entry &a, const Entry &b) { return a.score > b.score; });
    log.writeLog(1, "ScoreTable::load(): %d runs from '%s'.", static_cast<int>(m_entries.size()), m_path.c_str());
    return 0;
}

int ScoreTable::save() const {
    vk::LogManager &log = vk::LogManager::getInstance();
    if (m_path.empty()) {
        log.writeLog("ScoreTable::save(): Warning! Neither XDG_DATA_HOME nor HOME is set: the run is not kept.");
        return -1;
    }
    const std::filesystem::path folder = std::filesystem::path(m_path).parent_path();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        log.writeLog("ScoreTable::save(): Warning! Cannot make the folder '%s' (%s): the run is not kept.",
                     folder.c_str(), error.message().c_str());
        return -1;
    }

    std::string text;
    for (const Entry &entry : m_entries)
        text += std::to_string(entry.score) + " " + entry.date + "\n";
    // written in full beside the table and then renamed over it: a reader
    // sees the old table or the new one, never a part of either
    std::string temporary = m_path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        log.writeLog("ScoreTable::save(): Warning! Cannot write in '%s' (%s): the run is not kept.", folder.c_str(),
                     std::strerror(errno));
        return -1;
    }
    const bool written = writeAll(fd, text) && fsync(fd) == 0;
    const int saved_errno = errno;
    const bool closed = close(fd) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), m_path.c_str()) != 0) {
        log.writeLog("ScoreTable::save(): Warning! Cannot write '%s' (%s): the run is not kept.", m_path.c_str(),
                     std::strerror(written ? errno : saved_errno));
        unlink(temporary.c_str());
        return -1;
    }
    return 0;
}

int ScoreTable::rankOf(int score) const {
    const auto ahead =
        std::count_if(m_entries.begin(), m_entries.end(), [&](const Entry &e) { return e.score >= score; });
    return static_cast<int>(std::min<long>(ahead, SIZE)) + 1;
}

int ScoreTable::insert(int score, const std::string &date) {
    const int rank = rankOf(score);
    if (rank > SIZE)
        return 0;
    m_entries.insert(m_entries.begin() + (rank - 1), Entry{score, date});
    if (static_cast<int>(m_entries.size()) > SIZE)
        m_entries.pop_back();
    return rank;
}
