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

bool graphicsDisplayReachable() noexcept {
    Display *p_display = XOpenDisplay(nullptr);
    if (!p_display)
        return false;
    XCloseDisplay(p_display);
    return true;
}

} // namespace vk::platform
