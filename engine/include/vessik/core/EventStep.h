#pragma once

#include <vessik/export.h>

#include <vessik/core/Event.h>

namespace vk {

// Sent once per game-loop step to every object interested in "vk-step".
class VK_API EventStep : public Event {
  public:
    explicit EventStep(int step_count = 0);

    void setStepCount(int step_count) noexcept;
    [[nodiscard]] int getStepCount() const noexcept;

  private:
    int m_step_count = 0;
};

} // namespace vk
