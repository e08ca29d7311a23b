#include <vessik/display/EventKeyboard.h>

namespace vk {

EventKeyboard::EventKeyboard() { setType(KEYBOARD_EVENT); }

void EventKeyboard::setKey(int key) { m_key_val = key; }

int EventKeyboard::getKey() const { return m_key_val; }

void EventKeyboard::setKeyboardAction(int action) { m_keyboard_action = action; }

int EventKeyboard::getKeyboardAction() const { return m_keyboard_action; }

} // namespace vk
