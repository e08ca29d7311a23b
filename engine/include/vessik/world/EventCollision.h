#pragma once

#include <vessik/export.h>

#include <vessik/core/Event.h>
#include <vessik/world/Vector.h>

namespace vk {

class Object;

// Sent directly to both objects of a collision: first to the one that was
// moving, then to the one it ran into. The object pointers are non-owning and
// valid only while the event is being handled.
class VK_API EventCollision : public Event {
  public:
    EventCollision();
    EventCollision(Object *p_o1, Object *p_o2, Vector position);

    void setObject1(Object *p_o1) noexcept { m_p_obj1 = p_o1; }
    [[nodiscard]] Object *getObject1() const noexcept { return m_p_obj1; }
    void setObject2(Object *p_o2) noexcept { m_p_obj2 = p_o2; }
    [[nodiscard]] Object *getObject2() const noexcept { return m_p_obj2; }
    // Where the moving object was going when the collision was found.
    void setPosition(Vector position) noexcept { m_pos = position; }
    [[nodiscard]] Vector getPosition() const noexcept { return m_pos; }

  private:
    Object *m_p_obj1 = nullptr;
    Object *m_p_obj2 = nullptr;
    Vector m_pos;
};

} // namespace vk
