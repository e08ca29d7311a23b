#include <vessik/core/EventStep.h>

namespace vk {

EventStep::EventStep(int step_count) : m_step_count(step_count) { setType(STEP_EVENT); }

void EventStep::setStepCount(int step_count) noexcept { m_step_count = step_count; }

int EventStep::getStepCount() const noexcept { return m_step_count; }

} // namespace vk
