#include "TestEnv.h"

#include <vessik/core/Config.h>
#include <vessik/core/LogManager.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <unistd.h>

using vk::LogManager;

namespace {

struct LogManagerTest : ::testing::Test {
    vktest::TestEnv env;
    LogManager &log = LogManager::getInstance();
    void TearDown() override {
        if (log.isStarted())
            log.shutDown();
    }
};

} // namespace

TEST_F(LogManagerTest, LinesCarryTimeAndStepPrefixes) {
    ASSERT_EQ(log.startUp(), 0);
    EXPECT_EQ(log.writeLog("hello %s %d", "world", 42), 14);
    const std::string content = env.readLog();
    EXPECT_TRUE(std::regex_match(content, std::regex("[0-2][0-9]:[0-5][0-9]:[0-5][0-9]    0 hello world 42\n")))
        << content;
}

TEST_F(LogManagerTest, LevelledWritesAboveTheVerbosityAreDropped) {
    ASSERT_EQ(log.startUp(), 0);
    EXPECT_EQ(log.getLogLevel(), 0);
    EXPECT_EQ(log.writeLog(1, "dropped"), 0);
    log.setLogLevel(5);
    EXPECT_EQ(log.writeLog(5, "kept"), 4);
    EXPECT_EQ(log.writeLog(6, "dropped too"), 0);
    EXPECT_EQ(log.writeLog("always"), 6);
    EXPECT_EQ(env.logMessages(), (std::vector<std::string>{"kept", "always"}));
}

TEST_F(LogManagerTest, LevelFromTheEnvironmentApplies) {
    setenv("VESSIK_LOG_LEVEL", "5", 1);
    ASSERT_EQ(log.startUp(), 0);
    unsetenv("VESSIK_LOG_LEVEL");
    EXPECT_EQ(log.getLogLevel(), 5);
    EXPECT_TRUE(env.logHas("LogManager::startUp(): successfully started."));

    // it lasts as long as that run of the log
    log.shutDown();
    ASSERT_EQ(log.startUp(), 0);
    EXPECT_EQ(log.getLogLevel(), 0);
}

TEST_F(LogManagerTest, EnvironmentLogNameWinsOverTheConfiguration) {
    vk::Config::getInstance().loadConfig("logfile:" + env.path("configured.log") + ",");
    ASSERT_EQ(log.startUp(), 0);
    log.writeLog("where am I");
    EXPECT_TRUE(env.logHas("where am I"));
    EXPECT_EQ(vktest::readFile(env.path("configured.log")), "");

    // without the variable the configured name is used
    log.shutDown();
    unsetenv("VESSIK_LOG");
    ASSERT_EQ(log.startUp(), 0);
    log.writeLog("here");
    EXPECT_NE(vktest::readFile(env.path("configured.log")).find("here"), std::string::npos);
}

TEST_F(LogManagerTest, StartingTwiceKeepsTheOpenFile) {
    ASSERT_EQ(log.startUp(), 0);
    log.writeLog("first");
    EXPECT_EQ(log.startUp(), -1);
    log.writeLog("second");
    EXPECT_EQ(env.logMessages(), (std::vector<std::string>{
                                     "first", "LogManager::startup(): Warning! LogManager already started.", "second"}));
}

TEST_F(LogManagerTest, StandardErrorServesBeforeStartAndAfterStop) {
    ::testing::internal::CaptureStderr();
    log.writeLog("before");
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(std::regex_match(err, std::regex("\\d\\d:\\d\\d:\\d\\d    0 before\n"))) << err;

    ASSERT_EQ(log.startUp(), 0);
    log.shutDown();
    ::testing::internal::CaptureStderr();
    log.writeLog("after");
    err = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(std::regex_match(err, std::regex("\\d\\d:\\d\\d:\\d\\d    0 after\n"))) << err;
    EXPECT_FALSE(env.logHas("after"));
}

TEST_F(LogManagerTest, UnwritablePathIsReportedOnStandardError) {
    const std::string bad = env.path("missing/dir/log.txt");
    setenv("VESSIK_LOG", bad.c_str(), 1);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(log.startUp(), -1);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("LogManager::startup(): Warning! Unable to open file '" + bad + "'."), std::string::npos) << err;
    EXPECT_FALSE(log.isStarted());
}

TEST_F(LogManagerTest, FlushedLinesSurviveAnAbruptExit) {
    log.setFlush(true);
    ASSERT_EQ(log.startUp(), 0);
    EXPECT_EXIT(
        {
            log.writeLog("last words");
            _exit(3);
        },
        ::testing::ExitedWithCode(3), "");
    EXPECT_TRUE(env.logHas("last words"));
}

TEST(LogManagerTimeString, HasTheClockFormat) {
    EXPECT_TRUE(std::regex_match(vk::getTimeString(), std::regex("[0-2][0-9]:[0-5][0-9]:[0-5][0-9]")));
}
