#pragma once

namespace vk {

// What the mouse did, as carried by a mouse event.
enum MouseAction : int {
    UNDEFINED_MOUSE_ACTION = -1,
    CLICKED = 0, // a button went down
    PRESSED,     // a button is being held: one event in every step it is down
    MOVED,       // the pointer moved
};

namespace Mouse {

enum Button : int {
    UNDEFINED_MOUSE_BUTTON = -1,
    LEFT = 0,
    RIGHT,
    MIDDLE,
};

} // namespace Mouse

} // namespace vk
