#pragma once

#include <vessik/export.h>

#include <vessik/display/Keyboard.h>
#include <vessik/display/Mouse.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vk {

// One thing the terminal reported, decoded: a key going down or up, a mouse
// click or move (in terminal cells, 0-based), or a signal the terminal's own
// line discipline would have raised had the keyboard protocol not taken the
// control keys over.
struct VK_API TerminalInput {
    enum Kind : int { KEY, MOUSE, SIGNAL };
    Kind kind = KEY;
    Keyboard::Key key = Keyboard::UNDEFINED_KEY;
    KeyboardAction key_action = UNDEFINED_KEYBOARD_ACTION;
    MouseAction mouse_action = UNDEFINED_MOUSE_ACTION;
    Mouse::Button button = Mouse::UNDEFINED_MOUSE_BUTTON;
    int column = 0;
    int row = 0;
    int signal = 0;
};

// Turns the bytes a terminal sends into engine keys and mouse input, without
// touching a terminal itself: the caller feeds bytes and the time, and takes
// what they meant.
//
// Terminals report key presses (and the keyboard's auto-repeat) but not
// releases. The hold rule: a key counts as held from its press until no
// repeat of it arrived for FIRST_HOLD_US (longer than the usual auto-repeat
// delays of 250 to 660 ms), or for REPEAT_HOLD_US once it has repeated
// (repeats come every 30 to 50 ms); then its release is reported. A
// terminal that answers the keyboard-protocol query (see QUERY) reports
// real releases; from then on keys are held exactly as long as they are
// down.
//
// A lone Escape byte is told apart from the start of an escape sequence by
// time: it is the Escape key once ESCAPE_TIMEOUT_US pass without the rest of
// a sequence.
class VK_API TerminalKeys {
  public:
    static constexpr std::int64_t ESCAPE_TIMEOUT_US = 50000;
    static constexpr std::int64_t FIRST_HOLD_US = 700000;
    static constexpr std::int64_t REPEAT_HOLD_US = 150000;

    // Asks the terminal whether it can report key releases; one that can
    // answers with its current keyboard flags.
    static constexpr const char *QUERY = "\x1b[?u";
    // Switches those reports on (every key as an escape sequence, with
    // press, repeat and release told apart), and back off.
    static constexpr const char *RELEASES_ON = "\x1b[>11u";
    static constexpr const char *RELEASES_OFF = "\x1b[<u";

    // Decodes what `count` bytes complete; an unfinished sequence waits for
    // more bytes or for the Escape timeout.
    void feed(const char *p_bytes, std::size_t count, std::int64_t now_us);
    // Applies the timeouts: the lone Escape and the releases of the hold rule.
    void update(std::int64_t now_us);
    // Releases every held key and button now, as when the terminal is left.
    void releaseAll();

    // What was decoded since the last call, in order.
    [[nodiscard]] std::vector<TerminalInput> take();

    [[nodiscard]] bool isHeld(Keyboard::Key key) const noexcept;
    [[nodiscard]] bool isButtonHeld(Mouse::Button button) const noexcept;
    // Where the pointer was last reported, in terminal cells.
    [[nodiscard]] int getMouseColumn() const noexcept { return m_mouse_column; }
    [[nodiscard]] int getMouseRow() const noexcept { return m_mouse_row; }

    // Whether the terminal said it can report releases; true once.
    [[nodiscard]] bool takeReleaseOffer() noexcept;
    // Whether releases are the terminal's rather than the hold rule's.
    [[nodiscard]] bool hasReleases() const noexcept { return m_releases; }

  private:
    struct Held {
        bool down = false;
        bool repeated = false;
        std::int64_t last_us = 0;
    };

    // How many bytes at the front of the pending bytes one input takes; 0
    // when they may still be the start of a longer one.
    std::size_t decodeOne(bool final_bytes);
    std::size_t decodeEscape(bool final_bytes);
    void decodeCsi(const std::string &params, char final);
    void decodeMouse(const std::string &params, char final);
    // A key reported by a terminal: `event` 1 press, 2 repeat, 3 release,
    // 0 for a legacy press that follows the hold rule.
    void key(Keyboard::Key key, int event);
    void emitKey(Keyboard::Key key, KeyboardAction action);

    std::string m_pending;
    std::int64_t m_now_us = 0;
    std::int64_t m_last_byte_us = 0;
    std::vector<TerminalInput> m_out;
    std::array<Held, Keyboard::KEY_VALUES> m_held{};
    std::array<bool, 3> m_buttons{};
    int m_mouse_column = 0;
    int m_mouse_row = 0;
    bool m_releases = false;
    bool m_release_offer = false;
};

} // namespace vk
