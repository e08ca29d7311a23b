#include "inFreshProcess.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

extern char **environ;

namespace vktest {

namespace {

// Names, in the new process, the test whose body runs there.
const char *const CHILD_VARIABLE = "VKTEST_FRESH_PROCESS";

std::string currentTest() {
    const ::testing::TestInfo *p_info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(p_info->test_suite_name()) + "." + p_info->name();
}

[[noreturn]] void runHereAndExit(const std::function<void()> &body) {
    body();
    std::fflush(stdout);
    std::fflush(stderr);
#if defined(__SANITIZE_ADDRESS__)
    // before the exit, where the GL driver's teardown would look like leaks
    __lsan_do_leak_check();
#endif
    _exit(::testing::Test::HasFailure() ? 1 : 0);
}

std::string describe(int status) {
    if (WIFEXITED(status))
        return "exit status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return std::string("signal ") + strsignal(WTERMSIG(status));
    return "status " + std::to_string(status);
}

} // namespace

bool inFreshProcess(const std::function<void()> &body) {
    const std::string test = currentTest();
    if (const char *p_child = std::getenv(CHILD_VARIABLE); p_child && test == p_child)
        runHereAndExit(body);

    char exe[PATH_MAX] = {};
    if (readlink("/proc/self/exe", exe, sizeof exe - 1) <= 0) {
        ADD_FAILURE() << "cannot find this test program: " << std::strerror(errno);
        return false;
    }
    std::string filter = "--gtest_filter=" + test;
    std::string brief = "--gtest_brief=1";
    char *argv[] = {exe, filter.data(), brief.data(), nullptr};
    const std::string name = std::string(CHILD_VARIABLE) + "=";
    std::string marker = name + test;
    std::vector<char *> envp;
    for (char **p_var = environ; *p_var; p_var++)
        if (std::strncmp(*p_var, name.c_str(), name.size()) != 0)
            envp.push_back(*p_var);
    envp.push_back(marker.data());
    envp.push_back(nullptr);

    std::fflush(stdout);
    std::fflush(stderr);
    pid_t pid = 0;
    if (const int error = posix_spawn(&pid, exe, nullptr, nullptr, argv, envp.data()); error != 0) {
        ADD_FAILURE() << "cannot start " << exe << ": " << std::strerror(error);
        return false;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    const bool passed = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    EXPECT_TRUE(passed) << test << " failed in a fresh process: " << describe(status);
    return passed;
}

} // namespace vktest
