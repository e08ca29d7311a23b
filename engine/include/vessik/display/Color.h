#pragma once

#include <vessik/export.h>

#include <string>

namespace vk {

// The eight terminal colours every character is drawn in. CUSTOM marks an
// object that carries its own red, green and blue bytes.
enum Color : int {
    BLACK = 0,
    RED,
    GREEN,
    YELLOW,
    BLUE,
    MAGENTA,
    CYAN,
    WHITE,
    CUSTOM,
};

// The engine's default colour.
inline constexpr Color COLOR_DEFAULT = WHITE;

// Writes the colour's RGB bytes for BLACK to WHITE; leaves them alone for
// CUSTOM and for unknown values (the latter logged at level 5).
VK_API void colorToRGB(Color color, unsigned char &r, unsigned char &g, unsigned char &b);

// "Black" ... "White"; "Unknown color" for CUSTOM and any other value.
VK_API std::string toString(Color color);

// The colour whose lower-case file name ("black" ... "white") is exactly
// `name`; -1 when there is none.
VK_API int colorFromName(const std::string &name);

} // namespace vk
