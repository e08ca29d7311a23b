#include "TestEnv.h"

#include <vessik/core/Config.h>
#include <vessik/core/LogManager.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace vktest {

namespace fs = std::filesystem;

namespace {

// "hh:mm:ss " and the step count in four columns with its blank.
constexpr std::size_t PREFIX_LENGTH = 9 + 5;

std::string testName() {
    const auto *p_info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = p_info ? std::string(p_info->test_suite_name()) + "." + p_info->name() : "no-test";
    for (char &c : name)
        if (c == '/')
            c = '_';
    return name;
}

} // namespace

TestEnv::TestEnv(const std::string &config_text) {
    m_dir = (fs::temp_directory_path() / ("vk-test-" + testName() + "-" + std::to_string(getpid()))).string();
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
    m_log_path = path("test.log");
    m_config_path = path("vk-config.txt");
    if (!config_text.empty())
        writeFile("vk-config.txt", config_text);
    setenv("VESSIK_LOG", m_log_path.c_str(), 1);
    setenv("VESSIK_CONFIG", m_config_path.c_str(), 1);
    // each test starts from the built-in settings, whatever ran before it in
    // this process
    vk::Config::getInstance().reset();
    vk::LogManager::getInstance().setLogLevel(0);
    // the game keeps its high scores here, never in the user's own folder
    setenv("XDG_DATA_HOME", path("data").c_str(), 1);
    // tests read the log while it is open
    vk::LogManager::getInstance().setFlush(true);
}

TestEnv::~TestEnv() {
    // keep the files of a failed test for a look afterwards
    if (!::testing::Test::HasFailure()) {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }
}

void TestEnv::writeFile(const std::string &name, const std::string &content) const {
    std::ofstream out(path(name), std::ios::binary);
    out << content;
}

std::string TestEnv::readLog() const { return readFile(m_log_path); }

std::vector<std::string> TestEnv::logMessages() const {
    std::vector<std::string> messages;
    std::istringstream in(readLog());
    std::string line;
    while (std::getline(in, line))
        messages.push_back(logMessage(line));
    return messages;
}

bool TestEnv::logHas(const std::string &message) const { return logCount(message) > 0; }

int TestEnv::logCount(const std::string &message) const {
    int count = 0;
    for (const std::string &m : logMessages())
        if (m == message)
            count++;
    return count;
}

std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string logMessage(const std::string &line) { return line.size() >= PREFIX_LENGTH ? line.substr(PREFIX_LENGTH) : ""; }

std::string sourceDir() {
    const char *p_dir = std::getenv("VK_SOURCE_DIR");
    return p_dir ? p_dir : fs::current_path().string();
}

} // namespace vktest
