#include "Platform.h"

#include <cerrno>
#include <ctime>
#include <unistd.h>

#include <X11/Xlib.h>

namespace vk::platform {

std::int64_t nowMicroseconds() noexcept {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

void sleepMilliseconds(int milliseconds) noexcept {
    if (milliseconds <= 0)
        return;
    timespec request{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
    timespec remaining{};
    // a signal may cut the sleep short: sleep out what is left
    while (nanosleep(&request, &remaining) == -1 && errno == EINTR)
        request = remaining;
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

} // namespace vk::platform
