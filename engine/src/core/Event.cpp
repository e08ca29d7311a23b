#include <vessik/core/Event.h>

namespace vk {

void Event::setType(std::string type) { m_event_type = std::move(type); }

std::string Event::getType() const { return m_event_type; }

} // namespace vk
