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

// SIGINT, SIGTERM and SIGHUP ask the program to end instead of ending it:
// the first one only records its number, which the game loop reads once per
// step, so that the step finishes and everything shuts down in order; a
// second one ends the process at once, by that signal's default action. A
// signal that was ignored when catching began stays ignored.
// Catching starts with no signal recorded and replaces the handlers in place
// before; releasing puts them back and keeps what was recorded, so that the
// program can still tell how it was asked to end.
void catchQuitSignals() noexcept;
void releaseQuitSignals() noexcept;
// Whether a quit signal has arrived since catching began; safe to ask from
// anywhere, any time.
[[nodiscard]] bool quitRequested() noexcept;
// The first quit signal that arrived, 0 when none did.
[[nodiscard]] int quitSignal() noexcept;

} // namespace vk::platform
