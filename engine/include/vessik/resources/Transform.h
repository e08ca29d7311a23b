#pragma once

namespace vk {

// How a sprite frame is flipped when drawn.
enum Transform : int {
    NONE = 0,
    VERTICAL,   // rows bottom to top
    HORIZONTAL, // columns right to left
    BOTH,       // a half turn
};

} // namespace vk
