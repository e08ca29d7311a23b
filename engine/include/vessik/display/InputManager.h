#pragma once

#include <vessik/export.h>

#include <vessik/core/Manager.h>
#include <vessik/core/Recording.h>
#include <vessik/display/EventKeyboard.h>
#include <vessik/display/EventMouse.h>
#include <vessik/display/Keyboard.h>
#include <vessik/display/Mouse.h>
#include <vessik/display/TerminalKeys.h>

#include <functional>
#include <string>
#include <vector>

namespace sf {
class Event;
} // namespace sf

namespace vk {

class TerminalScreen;

// Turns what happens in the display manager's window into keyboard and mouse
// events ("vk-keyboard", "vk-mouse") for the objects registered here. Mouse
// positions arrive in character cells. Closing the window ends the game.
// When the display is a terminal, the keys are decoded from its bytes
// (TerminalKeys, which documents when a held key counts as released), and a
// signal asking to quit ends the game.
class VK_API InputManager : public Manager {
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

    // Delivers one input to the objects, and to the sink; false when it was
    // the window closing, which sets game over.
    bool deliver(const Recording::Input &input) const;

    // Every input delivered goes to the sink as well (a recording); an empty
    // function for none.
    void setSink(std::function<void(const Recording::Input &)> sink) { m_sink = std::move(sink); }

    // While a source is set, each pass delivers the inputs the source gives
    // for the step instead of the window's (a replay). The window is still
    // drained: closing it still ends the game, and a key pressed in it calls
    // `on_key` instead of reaching the objects. Empty functions for none.
    void setSource(std::function<std::vector<Recording::Input>()> source, std::function<void()> on_key = {});

    // The keyboard event for a key press or release, its action left
    // undefined for the caller.
    [[nodiscard]] EventKeyboard toEventKeyboard(const sf::Event &event) const;

  private:
    InputManager();
    void getTerminalInput(TerminalScreen &terminal);

    TerminalKeys m_terminal_keys;

    bool m_has_focus = true;
    // Drains the window during a replay; false when it was closed.
    bool drainDuringReplay() const;

    std::function<void(const Recording::Input &)> m_sink;
    std::function<std::vector<Recording::Input>()> m_source;
    std::function<void()> m_on_key;
};

// The engine key an SFML key code stands for; UNDEFINED_KEY for every code
// the engine does not tell apart.
[[nodiscard]] VK_API Keyboard::Key keyFromSFML(int sfml_key);

// A readable name of an SFML key code ("Up", "Numpad7"), for the log.
[[nodiscard]] VK_API const char *sfmlKeyName(int sfml_key);

} // namespace vk
