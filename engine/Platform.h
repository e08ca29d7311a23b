#pragma once

#include <cstddef>
#include <cstdint>

// The few operating-system services the engine needs, behind one small
// interface so that the rest of the engine stays portable.
namespace vk::platform {

// Microseconds from a monotonic clock: never jumps with the calendar, so a
// step can never measure a negative time.
[[nodiscard]] std::int64_t nowMicroseconds() noexcept;

// Sleeps the calling thread for at least `milliseconds` (nothing when <= 0).
void sleepMilliseconds(int milliseconds) noexcept;

// Requests and releases of a 1 ms timer resolution. POSIX sleeps are already
// that precise, so both succeed and return 0.
int timeBeginPeriod(unsigned milliseconds) noexcept;
int timeEndPeriod(unsigned milliseconds) noexcept;

// The value the timer calls return when a resolution cannot be granted.
inline constexpr int TIMERR_NOCANDO = 97;

// Copies the working directory into `buffer`; false when it does not fit or
// cannot be read.
bool currentDirectory(char *buffer, std::size_t size) noexcept;

// Opens a connection to the graphics display (the X server that DISPLAY
// names) and holds it until releaseGraphicsDisplay(); false when the display
// cannot be reached. The graphics library ends the process when it cannot
// reach one, so the display manager asks this first. The library also opens
// and closes connections of its own while it makes a window; the one held
// keeps the server from ever having no client meanwhile, for a server that
// resets when its last client leaves hangs up on whoever connects during the
// reset.
[[nodiscard]] bool holdGraphicsDisplay() noexcept;
// Closes the connection holdGraphicsDisplay() opened, if there is one.
void releaseGraphicsDisplay() noexcept;

} // namespace vk::platform
