#include "core/Platform.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <iterator>
#include <unistd.h>

#include <X11/Xlib.h>

namespace vk::platform {

namespace {

constexpr int QUIT_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};

// written by the handler, which may run on any of the process's threads
std::atomic<int> g_quit_signal{0};
static_assert(std::atomic<int>::is_always_lock_free, "the quit flag must be safe to set in a signal handler");

struct sigaction g_previous[std::size(QUIT_SIGNALS)];
bool g_catching = false;

// Only async-signal-safe calls in here.
void onQuitSignal(int signal_number) {
    int none = 0;
    if (g_quit_signal.compare_exchange_strong(none, signal_number))
        return;
    // asked twice: the program is not ending by itself, so end it now
    struct sigaction default_action {};
    default_action.sa_handler = SIG_DFL;
    sigemptyset(&default_action.sa_mask);
    sigaction(signal_number, &default_action, nullptr);
    raise(signal_number);
}

} // namespace

std::int64_t nowMicroseconds() noexcept {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

void sleepUntilMicroseconds(std::int64_t deadline) noexcept {
    if (deadline <= nowMicroseconds())
        return;
    const timespec wake{static_cast<time_t>(deadline / 1000000), static_cast<long>(deadline % 1000000) * 1000L};
    // a signal may cut the sleep short: the deadline stays the same
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr) == EINTR)
        continue;
}

int timeBeginPeriod(unsigned) noexcept { return 0; }

int timeEndPeriod(unsigned) noexcept { return 0; }

bool currentDirectory(char *buffer, std::size_t size) noexcept {
    return getcwd(buffer, size) != nullptr;
}

namespace {

Display *g_p_held_display = nullptr;

} // namespace

bool holdGraphicsDisplay() noexcept {
    // DISPLAY may name another server than last time
    releaseGraphicsDisplay();
    g_p_held_display = XOpenDisplay(nullptr);
    return g_p_held_display != nullptr;
}

void releaseGraphicsDisplay() noexcept {
    if (g_p_held_display)
        XCloseDisplay(g_p_held_display);
    g_p_held_display = nullptr;
}

void catchQuitSignals() noexcept {
    g_quit_signal = 0;
    if (g_catching)
        return;
    struct sigaction action {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    // system calls the signal breaks into carry on: only the loop reacts
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(QUIT_SIGNALS); i++) {
        sigaction(QUIT_SIGNALS[i], nullptr, &g_previous[i]);
        // a signal ignored from the start (nohup, a background job) stays
        // ignored: whoever started us asked for that
        if (g_previous[i].sa_handler != SIG_IGN)
            sigaction(QUIT_SIGNALS[i], &action, nullptr);
    }
    g_catching = true;
}

void releaseQuitSignals() noexcept {
    if (!g_catching)
        return;
    for (std::size_t i = 0; i < std::size(QUIT_SIGNALS); i++)
        sigaction(QUIT_SIGNALS[i], &g_previous[i], nullptr);
    g_catching = false;
}

bool quitRequested() noexcept { return g_quit_signal != 0; }

int quitSignal() noexcept { return g_quit_signal; }

} // namespace vk::platform
