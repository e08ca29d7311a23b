#pragma once

#include <vessik/export.h>

#include <cstdint>

namespace vk {

// Microsecond timer for the game loop and the path finder's time budget.
class VK_API Clock {
  public:
    // Starts timing from now.
    Clock();

    // Microseconds since the previous delta (or construction); restarts timing.
    std::int64_t delta();

    // Microseconds since the previous delta (or construction); keeps timing.
    [[nodiscard]] std::int64_t split() const;

    // Sleeps until split() reaches `split_us`, to within the system's timer
    // precision; returns at once when it has already.
    void sleepUntil(std::int64_t split_us) const;

  private:
    std::int64_t m_previous_time = 0;
};

} // namespace vk
