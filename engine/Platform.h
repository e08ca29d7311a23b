#pragma once

#include <cstddef>
#include <cstdint>

// The few operating-system services the engine needs, behind one small
// interface so that the rest of the engine stays portable.
namespace vk::platform {

// Microseconds from a monotonic clock: never jumps with the calendar, so a
// step can never measure a negative time.
[[nodiscard]] std::int64_t nowMicroseconds() noexcept;

// Sleeps the calling thread until nowMicroseconds() reaches `deadline`
// (nothing when it has already). Waking at a fixed instant rather than after
// a length of time keeps the time spent before the call out of the error.
void sleepUntilMicroseconds(std::int64_t deadline) noexcept;

// Requests and releases of a 1 ms timer resolution. POSIX sleeps are already
// that precise, so both succeed and return 0.
int timeBeginPeriod(unsigned milliseconds) noexcept;
int timeEndPeriod(unsigned milliseconds) noexcept;

// The value the timer calls return when a resolution cannot be granted.
inline constexpr int TIMERR_NOCANDO = 97;

// Copies the working directory into `buffer`; false when it does not fit or
// cannot be read.
bool currentDirectory(char *buffer, std::size_t size) noexcept;

// Whether the graphics display (the X server that DISPLAY names) can be
// reached. The graphics library ends the process when it cannot reach one,
// so the display manager asks this first.
[[nodiscard]] bool graphicsDisplayReachable() noexcept;

} // namespace vk::platform
