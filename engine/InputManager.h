#pragma once

#include "EventKeyboard.h"
#include "EventMouse.h"
#include "Keyboard.h"
#include "Manager.h"
#include "Mouse.h"

#include <string>

namespace sf {
class Event;
} // namespace sf

namespace vk {

// Turns what happens in the display manager's window into keyboard and mouse
// events ("vk-keyboard", "vk-mouse") for the objects registered here. Mouse
// positions arrive in character cells. Closing the window ends the game.
class InputManager : public Manager {
  public:
    static InputManager &getInstance();

    // Only keyboard and mouse events are served.
    [[nodiscard]] bool isValid(std::string event_type) const override;
    ~InputManager() override;
    // Turns key repeat off, so that a held key gives one press; -1 while the
    // display manager is not started (except in headless mode).
    int startUp() override;
    // Turns key repeat back on.
    void shutDown() override;

    // One polling pass: the window's queued events in arrival order, then
    // the held mouse buttons, then the held keys.
    void getInput();

    // Delivers what one window event means; false when it was the window
    // closing, which sets game over and ends the pass.
    bool handleWindowEvent(const sf::Event &event);

    // Whether the window has the keyboard: false from the window's report
    // that it lost the focus until the report that it has it again; true
    // after startUp() and where there is no window.
    [[nodiscard]] bool hasFocus() const noexcept { return m_has_focus; }

    // The keyboard event for a key press or release, its action left
    // undefined for the caller.
    [[nodiscard]] EventKeyboard toEventKeyboard(const sf::Event &event) const;

  private:
    InputManager();

    bool m_has_focus = true;
};

// The engine key an SFML key code stands for; UNDEFINED_KEY for every code
// the engine does not tell apart.
[[nodiscard]] Keyboard::Key keyFromSFML(int sfml_key);

// A readable name of an SFML key code ("Up", "Numpad7"), for the log.
[[nodiscard]] const char *sfmlKeyName(int sfml_key);

} // namespace vk
