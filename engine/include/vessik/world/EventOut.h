#pragma once

#include <vessik/core/Event.h>

namespace vk {

// Sent directly to an object whose box has just left the world boundary.
class EventOut : public Event {
  public:
    EventOut();
};

} // namespace vk
