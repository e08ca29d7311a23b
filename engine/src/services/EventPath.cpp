#include <vessik/services/EventPath.h>

namespace vk {

EventPath::EventPath() { setType(PATH_EVENT); }

} // namespace vk
