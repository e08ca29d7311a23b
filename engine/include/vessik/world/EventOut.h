#pragma once

#include <vessik/export.h>

#include <vessik/core/Event.h>

namespace vk {

// Sent directly to an object whose box has just left the world boundary.
class VK_API EventOut : public Event {
  public:
    EventOut();
};

} // namespace vk
