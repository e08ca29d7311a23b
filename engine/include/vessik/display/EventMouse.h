#pragma once

#include <vessik/export.h>

#include <vessik/core/Event.h>
#include <vessik/world/Vector.h>

namespace vk {

// A mouse button or movement, delivered by the input manager to every object
// interested in "vk-mouse". -1 means no action and no button.
class VK_API EventMouse : public Event {
  public:
    EventMouse();

    void setMouseAction(int action) noexcept { m_mouse_action = action; }
    [[nodiscard]] int getMouseAction() const noexcept { return m_mouse_action; }
    void setMouseButton(int button) noexcept { m_mouse_button = button; }
    [[nodiscard]] int getMouseButton() const noexcept { return m_mouse_button; }
    void setMousePosition(Vector position) noexcept { m_mouse_xy = position; }
    [[nodiscard]] Vector getMousePosition() const noexcept { return m_mouse_xy; }

  private:
    int m_mouse_action = -1;
    int m_mouse_button = -1;
    Vector m_mouse_xy;
};

} // namespace vk
