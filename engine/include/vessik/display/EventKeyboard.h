#pragma once

#include <vessik/export.h>

#include <vessik/core/Event.h>

namespace vk {

// A key pressed, released or held, delivered by the input manager to every
// object interested in "vk-keyboard". -1 means no key and no action.
class VK_API EventKeyboard : public Event {
  public:
    EventKeyboard();

    virtual void setKey(int key);
    [[nodiscard]] virtual int getKey() const;
    virtual void setKeyboardAction(int action);
    [[nodiscard]] virtual int getKeyboardAction() const;

  private:
    int m_key_val = -1;
    int m_keyboard_action = -1;
};

} // namespace vk
