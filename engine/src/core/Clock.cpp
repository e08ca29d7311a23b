#include <vessik/core/Clock.h>

#include "core/Platform.h"

namespace vk {

Clock::Clock() : m_previous_time(platform::nowMicroseconds()) {}

std::int64_t Clock::delta() {
    const std::int64_t now = platform::nowMicroseconds();
    const std::int64_t elapsed = now - m_previous_time;
    m_previous_time = now;
    return elapsed;
}

std::int64_t Clock::split() const { return platform::nowMicroseconds() - m_previous_time; }

void Clock::sleepUntil(std::int64_t split_us) const { platform::sleepUntilMicroseconds(m_previous_time + split_us); }

} // namespace vk
