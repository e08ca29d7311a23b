#include <vessik/world/EventOut.h>

namespace vk {

EventOut::EventOut() { setType(OUT_EVENT); }

} // namespace vk
