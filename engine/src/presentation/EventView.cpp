#include <vessik/presentation/EventView.h>

namespace vk {

EventView::EventView(std::string tag, int value, bool delta) : m_tag(std::move(tag)), m_value(value), m_delta(delta) {
    setType(VIEW_EVENT);
}

void EventView::setTag(std::string tag) { m_tag = std::move(tag); }

} // namespace vk
