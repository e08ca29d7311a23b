#include "XServer.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vktest {

namespace {

constexpr int START_TIMEOUT_MS = 15000;

// The process's server: its process id, ":N" once it is up, and why it is not.
pid_t g_pid = -1;
std::string g_display;
std::string g_error;

bool running() noexcept { return g_pid > 0 && !g_display.empty() && waitpid(g_pid, nullptr, WNOHANG) == 0; }

void start(bool reset_when_idle) {
    g_pid = -1;
    g_display.clear();
    g_error.clear();
    int fds[2];
    if (pipe(fds) != 0) {
        g_error = "no pipe";
        return;
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) {
        g_error = "fork failed";
        close(fds[0]);
        close(fds[1]);
        return;
    }
    if (pid == 0) {
        // the server ends with the test process: the graphics library keeps
        // talking to it until the very end of the process
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(1);
        close(fds[0]);
        const int null_fd = open("/dev/null", O_RDWR);
        if (null_fd >= 0) {
            dup2(null_fd, 0);
            dup2(null_fd, 1);
            dup2(null_fd, 2);
        }
        char fd_text[16];
        snprintf(fd_text, sizeof fd_text, "%d", fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd_text, "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
               reset_when_idle ? static_cast<char *>(nullptr) : "-noreset", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);

    // Xvfb writes the display number it took, then a newline
    std::string number;
    pollfd pfd{fds[0], POLLIN, 0};
    while (true) {
        if (poll(&pfd, 1, START_TIMEOUT_MS) <= 0)
            break;
        char c = 0;
        const ssize_t n = read(fds[0], &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || c == '\n')
            break;
        number += c;
    }
    close(fds[0]);
    if (number.empty()) {
        g_error = "Xvfb did not start (is it installed?)";
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        return;
    }
    g_pid = pid;
    g_display = ":" + number;
}

} // namespace

XServer::XServer(bool reset_when_idle) {
    if (!running())
        start(reset_when_idle);
    if (ok())
        setenv("DISPLAY", g_display.c_str(), 1);
}

bool XServer::ok() const noexcept { return running(); }

const std::string &XServer::display() const noexcept { return g_display; }

const std::string &XServer::error() const noexcept { return g_error; }

int run(const std::string &command) {
    const int status = std::system(command.c_str());
    if (status == -1 || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace vktest
