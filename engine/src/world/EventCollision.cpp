#include <vessik/world/EventCollision.h>

namespace vk {

EventCollision::EventCollision() { setType(COLLISION_EVENT); }

EventCollision::EventCollision(Object *p_o1, Object *p_o2, Vector position)
    : m_p_obj1(p_o1), m_p_obj2(p_o2), m_pos(position) {
    setType(COLLISION_EVENT);
}

} // namespace vk
