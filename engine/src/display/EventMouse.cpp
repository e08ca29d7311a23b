#include <vessik/display/EventMouse.h>

namespace vk {

EventMouse::EventMouse() { setType(MSE_EVENT); }

} // namespace vk
