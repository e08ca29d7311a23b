#include "Pty.h"

#include "TestEnv.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vktest {

Pty::Pty(int columns, int rows) : m_vt(columns, rows) {
    winsize size{};
    size.ws_col = static_cast<unsigned short>(columns);
    size.ws_row = static_cast<unsigned short>(rows);
    if (openpty(&m_master, &m_slave, nullptr, nullptr, &size) == 0)
        fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

Pty::~Pty() {
    if (m_pid > 0 && !exited()) {
        if (m_program > 0)
            kill(m_program, SIGKILL);
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    if (m_master >= 0)
        close(m_master);
    if (m_slave >= 0)
        close(m_slave);
}

bool Pty::spawn(const std::vector<std::string> &argv, const std::string &workdir,
                const std::vector<std::pair<std::string, std::string>> &env, const std::string &error_path) {
    if (m_master < 0 || argv.empty())
        return false;
    std::vector<char *> args;
    for (const std::string &arg : argv)
        args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);
    int pid_pipe[2];
    if (pipe(pid_pipe) != 0)
        return false;
    m_pid = fork();
    if (m_pid == 0) {
        // a session on the terminal, led as a shell leads one: the program
        // runs in a process group of its own in the foreground, so that its
        // keys raise signals, a resize is heard and a suspension stops it
        setsid();
        ioctl(m_slave, TIOCSCTTY, 0);
        const pid_t program = fork();
        if (program == 0) {
            setpgid(0, 0);
            dup2(m_slave, STDIN_FILENO);
            dup2(m_slave, STDOUT_FILENO);
            if (std::freopen(error_path.c_str(), "w", stderr) == nullptr || chdir(workdir.c_str()) != 0)
                _exit(126);
            close(m_master);
            close(m_slave);
            for (const auto &[name, value] : env) {
                if (value.empty())
                    unsetenv(name.c_str());
                else
                    setenv(name.c_str(), value.c_str(), 1);
            }
            execv(args[0], args.data());
            _exit(127);
        }
        setpgid(program, program);
        tcsetpgrp(m_slave, program);
        static_cast<void>(write(pid_pipe[1], &program, sizeof program));
        int status = 0;
        while (waitpid(program, &status, 0) == -1 && errno == EINTR) {
        }
        _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
    }
    close(pid_pipe[1]);
    if (m_pid <= 0 || read(pid_pipe[0], &m_program, sizeof m_program) != static_cast<ssize_t>(sizeof m_program))
        m_program = -1;
    close(pid_pipe[0]);
    return m_program > 0;
}

void Pty::send(const std::string &bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = write(m_master, bytes.data() + done, bytes.size() - done);
        if (count <= 0)
            return;
        done += static_cast<std::size_t>(count);
    }
}

std::size_t Pty::pump() {
    std::size_t total = 0;
    char buffer[65536];
    ssize_t count = 0;
    while ((count = read(m_master, buffer, sizeof buffer)) > 0) {
        m_vt.feed(std::string(buffer, static_cast<std::size_t>(count)));
        total += static_cast<std::size_t>(count);
    }
    m_bytes += total;
    return total;
}

void Pty::resize(int columns, int rows) {
    pump();
    m_vt.resize(columns, rows);
    winsize size{};
    size.ws_col = static_cast<unsigned short>(columns);
    size.ws_row = static_cast<unsigned short>(rows);
    ioctl(m_master, TIOCSWINSZ, &size);
}

termios Pty::modes() const {
    termios modes{};
    tcgetattr(m_slave, &modes);
    return modes;
}

bool Pty::exited() {
    if (m_exited || m_pid <= 0)
        return m_exited;
    int status = 0;
    const pid_t pid = waitpid(m_pid, &status, WNOHANG);
    if (pid != m_pid)
        return false;
    m_exited = true;
    m_exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return m_exited;
}

bool Pty::stopped() const {
    // the state follows the command name, which is in parentheses
    const std::string stat = readFile("/proc/" + std::to_string(m_program) + "/stat");
    const std::size_t end = stat.rfind(')');
    return end != std::string::npos && end + 2 < stat.size() && stat[end + 2] == 'T';
}

StdioOn::StdioOn(int terminal_fd) : m_in(dup(STDIN_FILENO)), m_out(dup(STDOUT_FILENO)) {
    std::fflush(stdout);
    dup2(terminal_fd, STDIN_FILENO);
    dup2(terminal_fd, STDOUT_FILENO);
}

StdioOn::~StdioOn() {
    std::fflush(stdout);
    dup2(m_in, STDIN_FILENO);
    dup2(m_out, STDOUT_FILENO);
    close(m_in);
    close(m_out);
}

} // namespace vktest
