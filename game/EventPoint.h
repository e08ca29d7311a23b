#pragma once

#include <vessik/core/Event.h>

#include <string>

// The game's own event name: points scored by destroying an obstacle.
inline const std::string POINT_EVENT = "point_event";

// Announces points to the score. Sent through the world manager to every
// object interested in POINT_EVENT.
class EventPoint : public vk::Event {
  public:
    explicit EventPoint(int value);

    [[nodiscard]] int getValue() const noexcept { return m_value; }

  private:
    int m_value = 0;
};
