#pragma once

#include <vessik/export.h>

#include <string>

namespace vk {

// What happened to a key, as carried by a keyboard event.
enum KeyboardAction : int {
    UNDEFINED_KEYBOARD_ACTION = -1,
    KEY_PRESSED = 0, // went down: one event per physical press
    KEY_RELEASED,    // went up
    KEY_DOWN,        // is being held: one event in every step it is down
};

namespace Keyboard {

// The keys the engine tells apart. Values 73 and 76 are reserved: they have
// no name and no input produces them (76 still has a character, '`').
enum Key : int {
    UNDEFINED_KEY = -1,
    SPACE = 0,
    ENTER,
    ESCAPE,
    TAB,
    LEFT_ARROW,
    RIGHT_ARROW,
    UP_ARROW,
    DOWN_ARROW,
    PAUSE,
    MINUS, // numeric keypad
    PLUS,  // numeric keypad
    TILDE,
    PERIOD,
    COMMA,
    SLASH,
    EQUAL,
    BACKSLASH,
    MULTIPLY, // numeric keypad
    QUOTE,
    SEMICOLON,
    LEFT_CONTROL,
    RIGHT_CONTROL,
    LEFT_SHIFT,
    RIGHT_SHIFT,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12,
    A,
    B,
    C,
    D,
    E,
    F,
    G,
    H,
    I,
    J,
    K,
    L,
    M,
    N,
    O,
    P,
    Q,
    R,
    S,
    T,
    U,
    V,
    W,
    X,
    Y,
    Z,
    NUM_1, // main row
    NUM_2,
    NUM_3,
    NUM_4,
    NUM_5,
    NUM_6,
    NUM_7,
    NUM_8,
    NUM_9,
    NUM_0,
    BACKSPACE,
    LEFT_BRACKET = 74,
    RIGHT_BRACKET,
};

// One past the largest key value, the reserved 76 included.
inline constexpr int KEY_VALUES = 77;

} // namespace Keyboard

// The key's character as a one-character string ("A", "1", "-", " "...);
// empty for keys without one and for values outside the enumeration.
VK_API std::string toString(Keyboard::Key key);

} // namespace vk
